// CRT key definition (.kbd) files of any shape: a load takes the whole file or changes nothing.
#include "CrtFuzz.h"
#include "FuzzFile.h"

namespace {

constexpr int kStrings = (korva::NavigationKeyRows + korva::EditingKeyRows) * korva::KeyModifiers;

void LoadOne(const uint8_t* data, size_t size) {
  using namespace korva;
  ScriptedHost& host = fuzz::FreshHost();
  CrtDefinitions = fuzz::MarkedDefinitions();
  const bool loaded = LoadKeysFile(fuzz::WriteNewScratch(data, size), 0);
  if (loaded != fuzz::WholeKeyFile(data, size, KeysMagic, kStrings)) std::abort();
  CrtDefinition expected = fuzz::MarkedDefinitions()[0];
  expected.NavigationKeys = CrtDefinitions[0].NavigationKeys;
  expected.EditingKeys = CrtDefinitions[0].EditingKeys;
  fuzz::CheckLoad(loaded, host, expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadOne(data, size);
  const std::vector<uint8_t> whole = korva::fuzz::KeyFileFrom(data, size, korva::KeysMagic, kStrings);
  LoadOne(whole.data(), whole.size());
  return 0;
}
