// CRT terminal abilities (.tab) files of any shape: a load takes the whole file or changes nothing, and
// a size it applies stays on the screen.
#include <cstdlib>

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
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  Modes modes;
  ResetCrtDefinitions();
  const std::string& path = fuzz::WriteNewScratch(data, size);
  LoadAbilitiesFile(path, 0, &modes);
  return 0;
}
