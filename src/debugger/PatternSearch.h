// The debugger's memory search: byte patterns with don't-care bits, built from
// search terms (hex bytes such as 0x4? or 4?h, binary bytes such as 0b1??0
// or 1?0b, and character strings where "?" matches anything), kept in sixteen
// find criteria, and searched for in physical memory.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "debugger/DebuggerCore.h"

namespace korva {

// One find criterion: pattern byte i matches a memory byte m when
// (m AND Masks[i]) = (Values[i] AND Masks[i]).
struct FindCriterion {
  uint32_t Count = 0;  // pattern bytes, 0-255
  std::array<uint8_t, 256> Values{};
  std::array<uint8_t, 256> Masks{};
  // The terms as typed, slot k from command argument k (0 and 1 stay empty);
  // an invalid term followed by "(Err)".
  std::array<std::string, CommandArgSlots> Terms;
};

constexpr int FindCriteriaCount = 16;
constexpr uint32_t MaxPatternBytes = 255;
extern FindCriterion FindCriteria[FindCriteriaCount];

// The last search, for find-next: the hit (-1 none), its range, criterion and size.
extern int32_t LastFindAddress;
extern int32_t LastFindStart;
extern int32_t LastFindEnd;
extern int16_t LastFindCriteria;
extern int16_t LastFindSize;

// Term kinds.
constexpr int16_t TermHex = 0;
constexpr int16_t TermBinary = 1;
constexpr int16_t TermChars = 2;
constexpr int16_t TermInvalid = -1;

// The kind of a term: trimmed and lower-cased, then "0x.." (at most 2 digits)
// and "..h" (at most 2) are hex, "0b.." (at most 8) and "..b" (at most 8)
// binary, in that order, anything else characters. Digits may be "?"; a term
// that starts or ends like a number but has other digits is invalid.
int16_t ValidateSearchTerm(std::string_view term);

// Value and mask of a valid hex or binary term; "?" digits are don't-care bits.
void HexTermToByte(std::string_view term, uint8_t& value, uint8_t& mask);
void BinaryTermToByte(std::string_view term, uint8_t& value, uint8_t& mask);

// Appends the pattern bytes of term (of the given kind) to c, at most up to
// MaxPatternBytes; an invalid term adds nothing.
void AppendTermBytes(FindCriterion& c, std::string_view term, int16_t kind);

// The first address from start to end (stepping by size 1, 2 or 4) where the
// whole pattern matches, or -1. Bytes are read as the processor's physical
// reads see memory, but no device register is ever read: a byte of a device
// never matches, and unmapped memory reads as 0. At most 16 MB of start
// addresses are looked at (memory repeats beyond). The fault flags are left
// as they were.
int32_t SearchMemory(int32_t start, int32_t end, int16_t size, const FindCriterion& criteria);

// Criteria and last-find state back to their start-up values.
void ResetFindState();

}  // namespace korva
