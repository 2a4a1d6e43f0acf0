#include "terminal/ColorScheme.h"

#include <cerrno>
#include <vector>

#include "host/CodePage.h"
#include "host/Host.h"
#include "host/UserFiles.h"
#include "shell/FileDialog.h"
#include "terminal/DefinitionFile.h"

namespace korva {

namespace {

constexpr const char* kNames[ColorSchemes] = {"Custom", "White", "ANSI", "Inverse", "Green", "Amber"};

constexpr std::array<uint32_t, 16> kAnsi = {
    Rgb(0, 0, 0),       Rgb(0, 0, 143),     Rgb(0, 143, 0),   Rgb(0, 143, 143),
    Rgb(143, 0, 0),     Rgb(143, 0, 143),   Rgb(143, 143, 0), Rgb(144, 144, 144),
    Rgb(96, 96, 96),    Rgb(0, 0, 240),     Rgb(0, 240, 0),   Rgb(0, 240, 240),
    Rgb(240, 0, 0),     Rgb(240, 0, 240),   Rgb(240, 240, 0), Rgb(255, 255, 255),
};

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void PutLe32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

std::string ErrorText(const FileError& e) {
  return GeneratedErrorText(e.Number, e.Description);
}

void ShowReadProblem(const FileError& e) {
  Host().MessageBox("Colors File Problem\r" + ErrorText(e), "Error", MsgButtons::OK, MsgIcon::None);
}

// The extension test of both file commands; a refused path is shown.
bool ColorsExtension(const std::string& path) {
  std::string ext = path.size() >= 4 ? path.substr(path.size() - 4) : path;
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (ext == ".clr") return true;
  Host().MessageBox("Not a proper file Extension\r\n" + Utf8ToCp1252(path) + "\r\nMust be .CLR", "Refuse", MsgButtons::OKCancel,
                    MsgIcon::Exclamation);
  return false;
}

}  // namespace

const char* ColorSchemeName(int code) { return code >= 0 && code < ColorSchemes ? kNames[code] : kNames[0]; }

void BuildColorScheme(int code, ColorPalette& palette, uint32_t& cursorColor) {
  if (code < 1 || code > 5) return;
  for (uint32_t i = 1; i <= 15; ++i) {
    const uint32_t up = 16 * i + 15;
    switch (code) {
      case 1: palette[i] = Rgb(up, up, up); break;
      case 2: palette[i] = kAnsi[i]; break;
      case 3: palette[i] = Rgb(16 * (15 - i), 16 * (15 - i), 16 * (15 - i)); break;
      case 4: palette[i] = Rgb(0, up, 0); break;
      case 5: palette[i] = Rgb(up, 12 * i + 15, 0); break;
    }
  }
  palette[0] = code == 3 ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
  switch (code) {
    case 1: cursorColor = Rgb(255, 255, 255); break;
    case 2: cursorColor = Rgb(255, 0, 0); break;
    case 3: cursorColor = Rgb(0, 0, 0); break;
    case 4: cursorColor = Rgb(0, 255, 0); break;
    case 5: cursorColor = palette[15]; break;
  }
}

bool WriteColorsFile(const std::string& path, const ColorPalette& palette, uint32_t cursorColor) {
  std::vector<uint8_t> b;
  b.reserve(ColorsFileSize);
  PutLe32(b, ColorsFileMagic);
  for (uint32_t c : palette) PutLe32(b, c & 0xFFFFFFu);
  PutLe32(b, cursorColor & 0xFFFFFFu);
  if (auto e = ReplaceFile(path, b)) {
    Host().MessageBox(ErrorText(*e), "Error Writing Colors File", MsgButtons::OK, MsgIcon::None);
    return false;
  }
  return true;
}

bool ReadColorsFile(const std::string& path, ColorPalette& palette, uint32_t& cursorColor) {
  // The record's bytes alone: a FIFO or a device is refused unopened.
  const FileRead file = ReadUserFile(path, ColorsFileSize);
  if (file.Missing) {
    ShowReadProblem(HostFileError(ENOENT));
    return false;
  }
  if (file.Problem) {
    ShowReadProblem(ProblemError(path, *file.Problem));
    return false;
  }
  const auto* b = reinterpret_cast<const uint8_t*>(file.Bytes.data());
  const size_t n = file.Bytes.size();
  if (n < 4 || Le32(b) != ColorsFileMagic) {
    Host().MessageBox("File is NOT a Colors File", "Error Opening File", MsgButtons::OK, MsgIcon::None);
    return false;
  }
  if (n < ColorsFileSize) {
    ShowReadProblem(PastEnd());
    return false;
  }
  for (size_t i = 0; i < 16; ++i) palette[i] = Le32(b + 4 + 4 * i) & 0xFFFFFFu;
  cursorColor = Le32(b + 68) & 0xFFFFFFu;
  return true;
}

int32_t ColorConfig::ScreenColors(int index, int32_t value) {
  if (index < 0 || index > 15) return 0;
  if (value == -1) return static_cast<int32_t>(palette_[static_cast<size_t>(index)]);
  palette_[static_cast<size_t>(index)] = static_cast<uint32_t>(value);
  return 0;
}

void ColorConfig::SelectColorScheme(int code) {
  if (code >= 1 && code <= 5) {
    ColorsCode = static_cast<int16_t>(code);
    ColorsName = kNames[code];
  } else {
    ColorsCode = 0;
    if (code == -1) ColorsName = kNames[0];
  }
  BuildColorScheme(ColorsCode, palette_, CursorColor);
}

void ColorConfig::EditColor(int k, uint32_t color) {
  color &= 0xFFFFFFu;
  if (k >= 0 && k <= 15)
    palette_[static_cast<size_t>(k)] = color;
  else if (k == 16)
    CursorColor = color;
  else
    return;
  SelectColorScheme(-1);
}

void ColorConfig::SaveColorsFile() {
  const std::string path = OpenSaveDialog("", "Save", "CLR", 0, "Default");
  if (path.empty() || !ColorsExtension(path)) return;
  WriteColorsFile(path, palette_, CursorColor);
}

void ColorConfig::LoadColorsFile() {
  const std::string path = OpenSaveDialog("", "Open", "CLR", 0, "Default");
  if (path.empty() || !ColorsExtension(path)) return;
  ColorPalette p = palette_;
  uint32_t cursor = CursorColor;
  if (!ReadColorsFile(path, p, cursor)) return;
  palette_ = p;
  CursorColor = cursor;
  ColorsName = Utf8ToCp1252(CommonDialog1.FileTitle);
  SelectColorScheme(-2);
}

}  // namespace korva
