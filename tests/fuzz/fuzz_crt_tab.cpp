// CRT terminal abilities (.tab) files of any shape: a load takes the whole file or changes nothing, and
// a size it applies stays on the screen.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "CrtFuzz.h"
#include "FuzzFile.h"
#include "terminal/CrtDefinition.h"

namespace {
struct Modes final : korva::CrtModeSink {
  void SetNoWrap(korva::VBool) override {}
  void SetAutoCR(korva::VBool) override {}
  void SetAutoLF(korva::VBool) override {}
  void SetANSI(korva::VBool) override {}
  void SetASCII(korva::VBool) override {}
  void SetParity(int16_t p) override {
    if (p < 0 || p > 3) std::abort();
  }
  void SetCursorType(int16_t t) override {
    if (t < 0 || t > 5) std::abort();
  }
  void SetCursorFront(korva::VBool) override {}
  void ResizeScreen(int32_t columns, int32_t lines) override {
    if (columns < 1 || columns > korva::CrtMaxColumns || lines < 1 || lines > korva::CrtMaxLines) std::abort();
  }
};

// The size of a whole file of each form; 0 for another magic.
size_t WholeSize(uint32_t magic) {
  using namespace korva;
  return magic == AbilitiesMagic ? 552 : magic == AbilitiesMagic550 ? 550 : magic == AbilitiesMagic536 ? 536 : 0;
}

void LoadOne(const uint8_t* data, size_t size) {
  using namespace korva;
  Modes modes;
  ScriptedHost& host = fuzz::FreshHost();
  CrtDefinitions = fuzz::MarkedDefinitions();
  const bool loaded = LoadAbilitiesFile(fuzz::WriteNewScratch(data, size), 0, &modes);
  const size_t whole = WholeSize(size >= 4 ? fuzz::LE32(data) : 0);
  if (loaded != (whole != 0 && size >= whole)) std::abort();
  // The fields a file holds; the size goes to the window, not to the definition.
  const CrtDefinition& d = CrtDefinitions[0];
  CrtDefinition expected = fuzz::MarkedDefinitions()[0];
  expected.SCC = d.SCC;
  expected.ECC = d.ECC;
  for (int16_t CrtDefinition::*f :
       {&CrtDefinition::GotoSize, &CrtDefinition::GotoSizeXY, &CrtDefinition::GotoOffsetX, &CrtDefinition::GotoOffsetY,
        &CrtDefinition::XYType, &CrtDefinition::GotoValueOffsetX, &CrtDefinition::GotoValueOffsetY,
        &CrtDefinition::NoWrap, &CrtDefinition::ScrollLock, &CrtDefinition::AutoCR, &CrtDefinition::AutoLF,
        &CrtDefinition::ANSI, &CrtDefinition::Ascii, &CrtDefinition::Parity, &CrtDefinition::CursorType,
        &CrtDefinition::CursorFront})
    expected.*f = d.*f;
  fuzz::CheckLoad(loaded, host, expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  LoadOne(data, size);
  // The same input as a whole file: its first byte picks the form, the rest are its fields.
  const uint32_t forms[] = {AbilitiesMagic, AbilitiesMagic550, AbilitiesMagic536};
  const uint32_t magic = forms[size ? data[0] % 3 : 0];
  std::vector<uint8_t> whole;
  fuzz::PutLE32(whole, magic);
  if (size > 1) whole.insert(whole.end(), data + 1, data + std::min(size, WholeSize(magic) - 3));
  whole.resize(WholeSize(magic));
  LoadOne(whole.data(), whole.size());
  return 0;
}
