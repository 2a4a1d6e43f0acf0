// General helpers used all over the machine: bit fields, wrap-around arithmetic,
// range tests, packed BCD, text filters, number parsing and the number input box.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "tables/FixedTables.h"
#include "tables/Types.h"

namespace korva {

// ---- Bits and arithmetic ----

// Bits min(bitA, bitB)..max(bitA, bitB) of the low 16 bits of value, shifted down.
// Bit numbers are taken modulo 16.
inline uint16_t BitField(uint32_t value, int bitA, int bitB) {
  const int a = bitA & 15, b = bitB & 15;
  const int lo = a < b ? a : b, hi = a < b ? b : a;
  return static_cast<uint16_t>(((value & 0xFFFF) >> lo) & static_cast<uint32_t>(MaskTable[hi - lo + 1]));
}

constexpr VBool BitsChanged(uint8_t oldValue, uint8_t newValue, uint8_t mask) {
  return ToVBool(((oldValue ^ newValue) & mask) != 0);
}
// The byte with bit (bit AND 7) set when flag is nonzero, cleared when it is 0.
constexpr uint8_t SetBitValue(int bit, int flag, uint8_t value) {
  const uint8_t m = static_cast<uint8_t>(1u << (bit & 7));
  return flag ? static_cast<uint8_t>(value | m) : static_cast<uint8_t>(value & ~m);
}
// Bit k is set when bk is nonzero; the first argument is bit 7.
constexpr uint8_t MakeByteFromBits(int b7, int b6, int b5, int b4, int b3, int b2, int b1, int b0) {
  return static_cast<uint8_t>((b7 ? 0x80 : 0) | (b6 ? 0x40 : 0) | (b5 ? 0x20 : 0) | (b4 ? 0x10 : 0) |
                              (b3 ? 0x08 : 0) | (b2 ? 0x04 : 0) | (b1 ? 0x02 : 0) | (b0 ? 0x01 : 0));
}
// 4 when the byte has an even number of 1 bits, else 0 (the consoles turn it into
// the parity bit 7 by multiplying by 32).
constexpr uint8_t EvenParityFlag(uint8_t value) {
  uint8_t v = value;
  v ^= static_cast<uint8_t>(v >> 4);
  v ^= static_cast<uint8_t>(v >> 2);
  v ^= static_cast<uint8_t>(v >> 1);
  return (v & 1) ? 0 : 4;
}
constexpr int16_t IsNonZero(uint16_t value) { return value != 0 ? 1 : 0; }
constexpr int32_t MaxLong(int32_t a, int32_t b) { return a > b ? a : b; }
constexpr int32_t MinLong(int32_t a, int32_t b) { return a < b ? a : b; }

// Wrap-around sums: the result is the sum modulo 2^32 (2^16) and never overflows.
constexpr uint16_t AddWordWrap(uint16_t a, uint16_t b) { return static_cast<uint16_t>(a + b); }
constexpr int32_t AddLongWrap(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
constexpr int32_t AddLong3Wrap(int32_t a, int32_t b, int32_t c) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b) + static_cast<uint32_t>(c));
}
constexpr int32_t AddLong4Wrap(int32_t a, int32_t b, int32_t c, int32_t d) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b) + static_cast<uint32_t>(c) +
                              static_cast<uint32_t>(d));
}
constexpr int32_t SubLongWrap(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// False for an empty value; otherwise true when value lies between the two bounds
// (in either order, both inclusive), each bound first rounded to a 32-bit integer
// (halves to even, clamped to the 32-bit range).
VBool IsBetween(std::optional<double> value, double boundA, double boundB);

// ---- Packed BCD (real-time clock) ----
constexpr VBool IsBcdByte(uint8_t value) { return ToVBool((value >> 4) <= 9 && (value & 15) <= 9); }
constexpr uint8_t BcdToBinary(uint8_t value) {
  return IsBcdByte(value) ? static_cast<uint8_t>((value >> 4) * 10 + (value & 15)) : 0;
}
// Defined for 0..99; larger values keep only their two low decimal digits.
constexpr uint8_t BinaryToBcd(uint8_t value) {
  return static_cast<uint8_t>((value % 10) + 16 * ((value / 10) % 10));
}

// ---- Text ----

// The file name's extension from its last "." on, dot included; empty when the
// name (after its last folder separator) has no ".".
std::string GetExtension(std::string_view fileName);
std::string RemoveChars(std::string_view text, std::string_view chars);
// Keeps only the letters A-Z, a-z and the digits, each in its own case.
std::string KeepAlphaNum(std::string_view text);
// Keeps only A-Z, a-z and 0-9 and upper-cases the letters (profile names).
std::string KeepAlphaNumVar(std::string_view text);
// Decimal, right-justified in three characters.
std::string FormatNumber3(uint8_t value);
inline std::string BoolText(int flag) { return flag ? "True" : "False"; }

// ---- User input ----

// The radix of numbers typed without a prefix: 0 or 10 decimal, 2, 8 or 16.
extern int16_t DefaultRadix;

// A number typed by the user, or nothing when the text is not a number.
// Prefixes (any case): "&H", "0X", "$" hexadecimal; "0D" decimal; "0B" binary;
// "0" followed by more characters octal; otherwise DefaultRadix. In radix 10 and 16
// a last character "K", "M" or "G" multiplies by 2^10, 2^20 or 2^30. A decimal
// digit is accepted whatever the radix ("09" is 9), hexadecimal digits in radix 16.
// Blanks around the text are ignored; the first form trims the caller's text too.
std::optional<double> ParseNumber(std::string& text);
std::optional<double> ParseNumber(std::string_view text);

// The value of text when IsNumberText accepts it with at most maxLen digits, else 0.
double ValToVariant(std::string_view text, int maxLen);

// Validation marks of a text box: the window copies the box's text in, calls a
// check and applies the two colours (Windows RGB values) to the box.
constexpr uint32_t ColorBlack = 0x000000;
constexpr uint32_t ColorRed = 0x0000FF;
constexpr uint32_t ColorBlue = 0xFF0000;
constexpr uint32_t ColorWhite = 0xFFFFFF;
struct TextBoxMarks {
  std::string Text;
  uint32_t ForeColor = ColorBlack;
  uint32_t BackColor = ColorWhite;
};
// Text black when ok, else red; background white when the box holds text, red when
// it is empty. True when either mark is red.
VBool CheckTextBoxEmpty(TextBoxMarks& box, VBool ok);
// Text red outside hardLo..hardHi, else blue outside softLo..softHi, else black (an
// empty or unparsable text counts as 0); background as CheckTextBoxEmpty. True when
// either mark is red.
VBool CheckTextBoxRange(TextBoxMarks& box, int32_t hardLo, int32_t hardHi, int32_t softLo, int32_t softHi);

}  // namespace korva
