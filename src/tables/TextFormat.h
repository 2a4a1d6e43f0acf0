// Text helpers of the debugger shared by the whole machine: fixed-width hex texts,
// the memory-watch line, the command-line tokenizer with its character classes,
// range tests of typed numbers and the display text of one byte.
// Texts are bytes in the Windows-1252 code page.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "tables/Types.h"

namespace korva {

// Upper-case hexadecimal, zero-padded to 2, 4 and 8 digits.
std::string HexByte(uint32_t value);  // the low 8 bits
std::string HexWord(uint16_t value);
std::string HexLong(uint32_t value);
// Without leading zeros ("0" for 0).
std::string HexLongTrim(uint32_t value);

// ---- Command-line tokenizer (positions are 1-based) ----

// The run of letters, digits and special characters other than "," at position;
// position is left on the first character not taken. No leading blanks are skipped.
std::string GetToken(int32_t& position, std::string_view line);
// The run of white space at position (possibly empty); position is left after it.
std::string GetWord(int32_t& position, std::string_view line);
// "," when the character at position is a comma (position advances), else "".
std::string GetField(int32_t& position, std::string_view line);

// Character classes of one-character texts.
VBool IsDelimiter(std::string_view ch);      // ","
VBool IsWhiteSpace(std::string_view ch);     // blank, tab, CR, LF, or CR LF
VBool IsSpecialChar(std::string_view ch);    // ASCII punctuation ! to /, : to @, [ to `, { to ~
VBool IsAlphaNumeric(std::string_view ch);   // 0-9, a-z, A-Z

// ---- Typed numbers ----
VBool FitsLong(double value);  // -2147483648 .. 4294967295
VBool FitsWord(double value);  // -32768 .. 65535
VBool FitsByte(double value);  // -128 .. 255
// The 32-bit two's-complement pattern of value (rounded, halves to even); values
// from 2^31 on wrap to negative patterns; values outside -2^31 .. 2^32 give 0.
int32_t DoubleToLong(double value);
// True when text is a decimal number of 1 to maxDigits digits with an optional
// leading "+" or "-".
VBool IsNumberText(std::string_view text, int maxDigits);

// Display text of one byte: printable characters as themselves, control
// characters by name ("<tab>"), bytes 128-255 as their Windows-1252 character (or
// "<8D>" for the seven values without one). In dump mode every unshowable byte is ".".
std::string ByteDisplayText(int32_t value, VBool sevenBit, VBool dump);

// ---- Debugger bookkeeping ----

// The smallest nonzero per-opcode count of OpText, at most 200000000 (200000000
// when every count is 0).
int32_t MinOpcodeCount();
// The largest per-opcode count of OpText, compared as signed numbers, from 0.
int32_t MaxOpcodeCount();

}  // namespace korva
