#include "tables/TextFormat.h"

#include <cmath>

namespace korva {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string Hex(uint32_t value, int digits) {
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) s[static_cast<size_t>(i)] = kHexDigits[value & 15];
  return s;
}

bool IsAlnumChar(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpecialCharCode(char c) {
  return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}
bool IsWhiteChar(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Character at a 1-based position, or nothing past either end of the line.
bool CharAt(int32_t position, std::string_view line, char& c) {
  if (position < 1 || static_cast<size_t>(position) > line.size()) return false;
  c = line[static_cast<size_t>(position) - 1];
  return true;
}

// Names of the control characters 0-31.
constexpr const char* kControlNames[32] = {
    "<nul>", "<soh>", "<stx>", "<etx>", "<eot>", "<enq>", "<ack>", "<bel>", "<bs>",  "<tab>", "<lf>",
    "<vt>",  "<ff>",  "<cr>",  "<so>",  "<si>",  "<dle>", "<dc1>", "<dc2>", "<dc3>", "<dc4>", "<nak>",
    "<syn>", "<etb>", "<can>", "<em>",  "<sub>", "<esc>", "<fs>",  "<gs>",  "<rs>",  "<us>",
};

// The bytes 128-255 that the display has no character for.
bool HasNoGlyph(uint32_t b) {
  switch (b) {
    case 0x81: case 0x8D: case 0x8E: case 0x8F: case 0x90: case 0x9D: case 0x9E: return true;
    default: return false;
  }
}

}  // namespace

std::string HexByte(uint32_t value) { return Hex(value & 0xFF, 2); }
std::string HexWord(uint16_t value) { return Hex(value, 4); }
std::string HexLong(uint32_t value) { return Hex(value, 8); }

std::string HexLongTrim(uint32_t value) {
  std::string s = Hex(value, 8);
  const size_t nz = s.find_first_not_of('0');
  return nz == std::string::npos ? "0" : s.substr(nz);
}

std::string GetToken(int32_t& position, std::string_view line) {
  std::string token;
  char c;
  while (CharAt(position, line, c) && (IsAlnumChar(c) || (IsSpecialCharCode(c) && c != ','))) {
    token += c;
    ++position;
  }
  return token;
}

std::string GetWord(int32_t& position, std::string_view line) {
  std::string run;
  char c;
  while (CharAt(position, line, c) && IsWhiteChar(c)) {
    run += c;
    ++position;
  }
  return run;
}

std::string GetField(int32_t& position, std::string_view line) {
  char c;
  if (CharAt(position, line, c) && c == ',') {
    ++position;
    return ",";
  }
  return "";
}

VBool IsDelimiter(std::string_view ch) { return ToVBool(ch == ","); }
VBool IsWhiteSpace(std::string_view ch) { return ToVBool((ch.size() == 1 && IsWhiteChar(ch[0])) || ch == "\r\n"); }
VBool IsSpecialChar(std::string_view ch) { return ToVBool(ch.size() == 1 && IsSpecialCharCode(ch[0])); }
VBool IsAlphaNumeric(std::string_view ch) { return ToVBool(ch.size() == 1 && IsAlnumChar(ch[0])); }

VBool FitsLong(double value) { return ToVBool(value >= -2147483648.0 && value <= 4294967295.0); }
VBool FitsWord(double value) { return ToVBool(value >= -32768.0 && value <= 65535.0); }
VBool FitsByte(double value) { return ToVBool(value >= -128.0 && value <= 255.0); }

int32_t DoubleToLong(double value) {
  if (!(value >= -2147483648.0 && value < 4294967296.0)) return 0;  // NaN included
  // Rounded (halves to even) in 64 bits, then taken modulo 2^32: a value that
  // rounds up to 2^32 gives 0 instead of overflowing.
  const int64_t r = static_cast<int64_t>(std::nearbyint(value));
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(r)));
}

VBool IsNumberText(std::string_view text, int maxDigits) {
  if (text.empty()) return False;
  size_t first = 0;
  if (text[0] == '+' || text[0] == '-') first = 1;
  const size_t digits = text.size() - first;
  if (digits < 1 || maxDigits < 0 || digits > static_cast<size_t>(maxDigits)) return False;
  for (size_t i = first; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return False;
  return True;
}

std::string ByteDisplayText(int32_t value, VBool sevenBit, VBool dump) {
  const uint32_t b = static_cast<uint32_t>(value) & (sevenBit ? 0x7Fu : 0xFFu);
  if (b >= 32 && b <= 126) return std::string(1, static_cast<char>(b));
  if (b >= 128 && !HasNoGlyph(b)) return std::string(1, static_cast<char>(b));
  if (dump) return ".";
  if (b < 32) return kControlNames[b];
  if (b == 127) return "<del>";
  return "<" + HexByte(b) + ">";
}

}  // namespace korva
