// Fixed tables built once at start-up and constant afterwards.
#pragma once
#include <array>
#include <cstdint>

namespace korva {

// Entry k = 2^k (entry 31 = 0x80000000): the bit masks of the bit instructions.
extern std::array<uint32_t, 32> BitTable;
// Entry k = 2^k - 1 (entry 0 = 0, entry 32 all ones): field masks and throttle intervals.
extern std::array<int32_t, 33> MaskTable;

// Both tables already hold their values when the program starts (they are
// constant-initialised), so nothing that runs before start-up finishes reads
// zeros; the builders write the same values again.
void InitBitTable();
void InitMaskTable();

}  // namespace korva
