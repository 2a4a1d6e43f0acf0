// CRT function key definition (.fky) files of any shape: a load takes the whole file or changes nothing.
#include "CrtFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  constexpr int kStrings = FunctionKeyRows * KeyModifiers;
  return fuzz::FuzzKeyFile(data, size, FunctionKeysMagic, kStrings, LoadFunctionKeysFile,
                           [](CrtDefinition& expected, const CrtDefinition& loaded) {
                             expected.FunctionKeys = loaded.FunctionKeys;
                           });
}
