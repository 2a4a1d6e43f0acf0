#include "serial/PrinterFiles.h"

#include <cmath>

#include "host/CodePage.h"
#include "host/UserFiles.h"

namespace korva {

int32_t PrinterSaveFailure = 0;

std::string PageAsText(const PrinterPage& page) { return page.Text(); }

namespace {

const char* kHex = "0123456789abcdef";

void HexEscape(std::string& out, unsigned char c) {
  out += "\\'";
  out += kHex[c >> 4];
  out += kHex[c & 15];
}

// A font name in the font table: RTF's specials and bytes outside ASCII escaped.
std::string RtfName(const std::string& name) {
  std::string out;
  for (const unsigned char c : name) {
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x80 || c == ';') {
      HexEscape(out, c);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

int HalfPoints(float points) { return static_cast<int>(std::lround(points * 2.0f)); }

}  // namespace

std::string PageAsRtf(const PrinterPage& page, const std::vector<std::string>& extraFonts) {
  // The tables: each font and colour in the order of first use.
  std::vector<std::string> fonts;
  std::vector<uint32_t> colors;
  const auto fontIndex = [&fonts](const std::string& name) {
    for (size_t i = 0; i < fonts.size(); ++i)
      if (fonts[i] == name) return i;
    fonts.push_back(name);
    return fonts.size() - 1;
  };
  const auto colorIndex = [&colors](uint32_t c) {
    for (size_t i = 0; i < colors.size(); ++i)
      if (colors[i] == c) return i + 1;  // entry 0 is the automatic colour
    colors.push_back(c);
    return colors.size();
  };
  const std::vector<PrinterPage::Run>& runs = page.Runs();
  if (runs.empty()) fontIndex(page.Insertion().FontName);
  for (const PrinterPage::Run& r : runs) {
    fontIndex(page.FormatOf(r.Format).FontName);
    colorIndex(page.FormatOf(r.Format).Color);
  }
  for (const std::string& f : extraFonts) fontIndex(f);

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i)
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 " + RtfName(fonts[i]) + ";}";
  out += "}\r\n{\\colortbl ;";
  for (const uint32_t c : colors)
    out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
           std::to_string((c >> 16) & 0xFF) + ";";
  out += "}\r\n\\pard\\plain";

  // What \plain leaves: no attributes, the automatic colour, no offset. The
  // first run names its font and size whatever they are.
  size_t curFont = SIZE_MAX, curColor = 0;
  int curHalf = -1, curOffset = 0;
  bool b = false, i = false, u = false, s = false;
  bool needSpace = true;
  const std::string& text = page.Text();
  size_t pos = 0;
  for (const PrinterPage::Run& r : runs) {
    const PrinterCharFormat& f = page.FormatOf(r.Format);
    const auto word = [&out, &needSpace](const std::string& w) {
      out += w;
      needSpace = true;
    };
    if (const size_t fi = fontIndex(f.FontName); fi != curFont) word("\\f" + std::to_string(curFont = fi));
    if (const int h = HalfPoints(f.Size); h != curHalf) word("\\fs" + std::to_string(curHalf = h));
    if (f.Bold != b) word((b = f.Bold) ? "\\b" : "\\b0");
    if (f.Italic != i) word((i = f.Italic) ? "\\i" : "\\i0");
    if (f.Underline != u) word((u = f.Underline) ? "\\ul" : "\\ulnone");
    if (f.Strike != s) word((s = f.Strike) ? "\\strike" : "\\strike0");
    if (const size_t ci = colorIndex(f.Color); ci != curColor) word("\\cf" + std::to_string(curColor = ci));
    // The offset in half points.
    if (const int o = static_cast<int>(std::lround(f.Offset / 10.0)); o != curOffset) {
      curOffset = o;
      word(o > 0 ? "\\up" + std::to_string(o) : o < 0 ? "\\dn" + std::to_string(-o) : "\\up0");
    }
    const size_t end = pos + r.Length;
    for (; pos < end; ++pos) {
      const auto c = static_cast<unsigned char>(text[pos]);
      if (c == '\r' || c == '\n') {
        if (c == '\r' && pos + 1 < end && text[pos + 1] == '\n') ++pos;
        word("\\par\r\n");
        needSpace = false;
        continue;
      }
      if (c == '\t') {
        word("\\tab");
        continue;
      }
      if (needSpace) {
        out += ' ';
        needSpace = false;
      }
      if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c < 0x20 || c >= 0x80) {
        HexEscape(out, c);
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  out += "\\par\r\n}\r\n";
  return out;
}

std::optional<PrinterFileError> ReplaceFileWith(const std::string& path, const std::string& bytes) {
  ReplaceFaults faults;
  faults.InPlaceOfRename = PrinterSaveFailure;
  PrinterSaveFailure = 0;
  if (const auto problem = ReplaceUserFile(path, bytes.data(), bytes.size(), faults))
    return PrinterFileError{problem->Number, Utf8ToCp1252(path + ": " + problem->Reason)};
  return std::nullopt;
}

}  // namespace korva
