// Fixed tables built once at start-up: colour palettes, powers of two, masks and
// the display-throttle steps. All but PhosphorPalette are constant afterwards.
#pragma once
#include <array>
#include <cstdint>

namespace korva {

// Entry k = 2^k (entry 31 = 0x80000000): the bit masks of the bit instructions.
extern std::array<uint32_t, 32> BitTable;
// Entry k = 2^k - 1 (entry 0 = 0, entry 32 all ones): field masks and throttle intervals.
extern std::array<int32_t, 33> MaskTable;
// Host colours 0x00BBGGRR of the graphics planes, indexed by the machine's
// colour code (bit 0 red, bit 1 blue, bit 2 green).
extern std::array<uint32_t, 8> GraphicsPalette;
// Brightness levels 0-7 of the monochrome screen: green or white phosphor.
extern std::array<uint32_t, 8> PhosphorPalette;
// Display-throttle steps, indexed by the display throttle bar's position 0-15.
extern std::array<int32_t, 16> DisplayThrottleTable;

// The tables already hold their values when the program starts (they are
// constant-initialised, PhosphorPalette with the green levels), so nothing that
// runs before start-up finishes reads zeros; the builders write the same values
// again.
void InitColorTable2();  // the second eight-colour table nothing reads: does nothing
void InitColorTable();
void InitBitTable();
void InitMaskTable();
void InitDisplayThrottleTable();

void SetWhitePhosphor();
void SetGreenPhosphor();

}  // namespace korva
