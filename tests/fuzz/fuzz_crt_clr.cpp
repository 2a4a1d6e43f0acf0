// Colours (.clr) files of any shape: a read takes the whole record or changes no entry at all.
#include "FuzzFile.h"
#include "support/ScriptedHost.h"
#include "terminal/ColorScheme.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  static ScriptedHost host;
  host.ClearCalls();
  const std::string& path = fuzz::WriteNewScratch(data, size);
  ColorPalette before;
  for (size_t i = 0; i < before.size(); ++i) before[i] = 0x01020304u * static_cast<uint32_t>(i + 1);
  ColorPalette palette = before;
  uint32_t cursor = 0x05060708;
  const bool ok = ReadColorsFile(path, palette, cursor);
  const bool whole = size >= ColorsFileSize && data[0] == 0x34 && data[1] == 0xAB && data[2] == 0x89 && data[3] == 0xCE;
  if (ok != whole) std::abort();
  if (!ok && (palette != before || cursor != 0x05060708)) std::abort();
  if (ok && (cursor >> 24 || palette[0] >> 24)) std::abort();
  if (ok == !host.CallsOf(HostCall::Kind::MessageBox).empty()) std::abort();
  return 0;
}
