// The colour schemes of a CRT window: its 16-entry palette and cursor colour,
// the six named schemes, the colours file (.clr) and the state of the colours
// dialog (terminal/ui/DialogColors.h), which only shows it.
//
// Colours are 0x00BBGGRR (red + 256 x green + 65536 x blue).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

using ColorPalette = std::array<uint32_t, 16>;

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | g << 8 | b << 16; }

// The schemes: 0 Custom, 1 White, 2 ANSI, 3 Inverse, 4 Green, 5 Amber.
constexpr int ColorSchemes = 6;
const char* ColorSchemeName(int code);  // "Custom" for a code outside 0-5
// Codes 1-5 rewrite the palette and the cursor colour; any other leaves them.
void BuildColorScheme(int code, ColorPalette& palette, uint32_t& cursorColor);

// The colours file: the magic, the 16 entries and the cursor colour, each as
// the bytes red, green, blue, 0.
constexpr uint32_t ColorsFileMagic = 0xCE89AB34;
constexpr size_t ColorsFileSize = 72;
// Writes beside the target and renames over it (through a link, over its
// target, keeping the file's mode); a failure, a read-only or a non-regular
// target is shown in a box titled "Error Writing Colors File" and leaves the
// old file. True when written.
bool WriteColorsFile(const std::string& path, const ColorPalette& palette, uint32_t cursorColor);
// Reads the first 72 bytes of a regular file (the rest is ignored); the palette
// and cursor change only when the whole record was read. A file without the
// magic, or cut short, or unreadable, or not a regular file (a FIFO, a device),
// is shown in a box and changes nothing. True when read.
bool ReadColorsFile(const std::string& path, ColorPalette& palette, uint32_t& cursorColor);

// The colours dialog's members, as the CRT window fills and reads them.
class ColorConfig {
 public:
  int16_t Accepted = 0;     // 1 closed with OK, 0 otherwise
  int16_t CursorType = 0;   // passed through
  VBool CursorFront = False;  // passed through
  uint32_t CursorColor = 0;
  std::string ColorsName;   // Windows-1252
  int16_t ColorsCode = 0;

  // index 0-15; value -1 reads the entry, any other writes it and gives 0.
  int32_t ScreenColors(int index, int32_t value);
  const ColorPalette& Palette() const { return palette_; }

  // 1-5: that scheme; 0: "Custom" chosen, the palette kept; -1: a colour was
  // edited (the name becomes "Custom"); -2: a file was loaded (the name kept).
  void SelectColorScheme(int code);
  // Button k (0-15 an entry, 16 the cursor) got a colour from the colour dialog.
  void EditColor(int k, uint32_t color);
  // "Save Scheme" / "Save File" and "Load Scheme" / "Load File": the file
  // dialog, the extension check, the file.
  void SaveColorsFile();
  void LoadColorsFile();

 private:
  ColorPalette palette_{};
};

}  // namespace korva
