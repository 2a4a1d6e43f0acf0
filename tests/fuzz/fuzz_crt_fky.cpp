// CRT function key definition (.fky) files of any shape: a load takes the whole file or changes nothing.
#include "CrtFuzz.h"
#include "FuzzFile.h"

namespace {

constexpr int kStrings = korva::FunctionKeyRows * korva::KeyModifiers;

void LoadOne(const uint8_t* data, size_t size) {
  using namespace korva;
  ScriptedHost& host = fuzz::FreshHost();
  CrtDefinitions = fuzz::MarkedDefinitions();
  const bool loaded = LoadFunctionKeysFile(fuzz::WriteNewScratch(data, size), 0);
  if (loaded != fuzz::WholeKeyFile(data, size, FunctionKeysMagic, kStrings)) std::abort();
  CrtDefinition expected = fuzz::MarkedDefinitions()[0];
  expected.FunctionKeys = CrtDefinitions[0].FunctionKeys;
  fuzz::CheckLoad(loaded, host, expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadOne(data, size);
  const std::vector<uint8_t> whole = korva::fuzz::KeyFileFrom(data, size, korva::FunctionKeysMagic, kStrings);
  LoadOne(whole.data(), whole.size());
  return 0;
}
