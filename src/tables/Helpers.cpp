#include "tables/Helpers.h"

#include <cmath>

#include "tables/TextFormat.h"

namespace korva {

int16_t DefaultRadix = 0;

namespace {

int32_t RoundToLong(double v) {
  if (std::isnan(v)) return 0;
  v = std::nearbyint(v);  // the default rounding mode: halves to even
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(v);
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Value of one digit in the given radix: hexadecimal digits in radix 16, decimal
// digits in every radix (a digit beyond the radix is not refused); -1 otherwise.
int DigitValue(char c, int radix) {
  if (c >= '0' && c <= '9') return c - '0';
  if (radix == 16) {
    const char u = Upper(c);
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  }
  return -1;
}

}  // namespace

VBool IsBetween(std::optional<double> value, double boundA, double boundB) {
  if (!value || std::isnan(*value)) return False;
  const int32_t a = RoundToLong(boundA), b = RoundToLong(boundB);
  const double lo = a < b ? a : b, hi = a < b ? b : a;
  return ToVBool(*value >= lo && *value <= hi);
}

std::string GetExtension(std::string_view fileName) {
  const size_t slash = fileName.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

std::string RemoveChars(std::string_view text, std::string_view chars) {
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (chars.find(c) == std::string_view::npos) out += c;
  return out;
}

std::string KeepAlphaNum(std::string_view text) {
  std::string out;
  for (char c : text)
    if (IsAsciiAlnum(c)) out += c;
  return out;
}

std::string KeepAlphaNumVar(std::string_view text) {
  std::string out;
  for (char c : text)
    if (IsAsciiAlnum(c)) out += Upper(c);
  return out;
}

std::string FormatNumber3(uint8_t value) {
  std::string s = std::to_string(value);
  return std::string(3 - s.size(), ' ') + s;
}

std::optional<double> ParseNumber(std::string& text) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.size() != text.size()) text = std::string(trimmed);
  return ParseNumber(std::string_view(text));
}

std::optional<double> ParseNumber(std::string_view text) {
  const std::string_view t = TrimBlanks(text);
  const size_t n = t.size();
  if (n == 0) return std::nullopt;
  const char c0 = Upper(t[0]);
  const char c1 = n > 1 ? Upper(t[1]) : '\0';

  int radix;
  size_t first;  // index of the first digit
  if ((c0 == '&' && c1 == 'H') || (c0 == '0' && c1 == 'X')) {
    radix = 16, first = 2;
  } else if (c0 == '0' && c1 == 'D') {
    radix = 10, first = 2;
  } else if (c0 == '0' && c1 == 'B') {
    radix = 2, first = 2;
  } else if (c0 == '$') {
    radix = 16, first = 1;
  } else if (c0 == '0') {
    // Octal; a lone "0" is its own digit.
    radix = 8, first = n > 1 ? 1 : 0;
  } else {
    switch (DefaultRadix) {
      case 0: case 10: radix = 10; break;
      case 2: case 8: case 16: radix = DefaultRadix; break;
      default: return std::nullopt;
    }
    first = 0;
  }

  // A size suffix is recognised in radix 10 and 16 only; elsewhere the letter is
  // simply not a digit and the text is not a number.
  size_t end = n;
  double multiplier = 1.0;
  if (n >= 2 && (radix == 10 || radix == 16)) {
    switch (Upper(t[n - 1])) {
      case 'K': multiplier = 1024.0, end = n - 1; break;
      case 'M': multiplier = 1048576.0, end = n - 1; break;
      case 'G': multiplier = 1073741824.0, end = n - 1; break;
      default: break;
    }
  }
  if (end <= first) return std::nullopt;

  double acc = 0.0;
  for (size_t i = first; i < end; ++i) {
    const int d = DigitValue(t[i], radix);
    if (d < 0) return std::nullopt;
    acc = acc * radix + d;
  }
  acc *= multiplier;
  if (!std::isfinite(acc)) return std::nullopt;
  return acc;
}

double ValToVariant(std::string_view text, int maxLen) {
  if (!IsNumberText(text, maxLen)) return 0.0;
  // IsNumberText has checked: an optional sign and decimal digits only.
  double v = 0.0;
  size_t i = 0;
  bool negative = false;
  if (text[0] == '+' || text[0] == '-') negative = text[0] == '-', i = 1;
  for (; i < text.size(); ++i) v = v * 10 + (text[i] - '0');
  return negative ? -v : v;
}

VBool CheckTextBoxEmpty(TextBoxMarks& box, VBool ok) {
  box.ForeColor = ok ? ColorBlack : ColorRed;
  box.BackColor = box.Text.empty() ? ColorRed : ColorWhite;
  return ToVBool(box.ForeColor == ColorRed || box.BackColor == ColorRed);
}

VBool CheckTextBoxRange(TextBoxMarks& box, int32_t hardLo, int32_t hardHi, int32_t softLo, int32_t softHi) {
  // Compared as a real number, so that a value beyond the 32-bit range is simply
  // outside the hard range rather than wrapped into it.
  const double value = ParseNumber(std::string_view(box.Text)).value_or(0.0);
  if (value < hardLo || value > hardHi)
    box.ForeColor = ColorRed;
  else if (value < softLo || value > softHi)
    box.ForeColor = ColorBlue;
  else
    box.ForeColor = ColorBlack;
  box.BackColor = box.Text.empty() ? ColorRed : ColorWhite;
  return ToVBool(box.ForeColor == ColorRed || box.BackColor == ColorRed);
}

}  // namespace korva
