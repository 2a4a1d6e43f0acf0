// CRT key definition (.kbd) files of any shape: a load takes the whole file or changes nothing.
#include "CrtFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  constexpr int kStrings = (NavigationKeyRows + EditingKeyRows) * KeyModifiers;
  return fuzz::FuzzKeyFile(data, size, KeysMagic, kStrings, LoadKeysFile,
                           [](CrtDefinition& expected, const CrtDefinition& loaded) {
                             expected.NavigationKeys = loaded.NavigationKeys;
                             expected.EditingKeys = loaded.EditingKeys;
                           });
}
