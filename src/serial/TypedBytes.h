// What the TTY and CRT console windows do to a typed byte before it goes into
// the port's receive queue: the Ctrl rule of a typed character and the 7-bit
// and parity step.
#pragma once
#include <cstdint>

#include "tables/Types.h"

namespace korva {

// Unchanged in 8-bit mode (ascii False); in 7-bit mode bit 7 by parity: 0 Zero,
// 1 One, 2 Even (the byte's 1 bits even), 3 Odd; any other parity gives 0.
uint8_t ApplyParity(uint8_t b, VBool ascii, int16_t parity);

// A character typed with Ctrl held: "A"-"_" give 1-31, "`"-"~" give 0-30
// (Ctrl+a gives 1, as Ctrl+A does); every other character is unchanged.
constexpr int32_t CtrlTypedByte(int32_t c, bool ctrlDown) {
  if (ctrlDown && c >= 65 && c <= 95) return c - 64;
  if (ctrlDown && c >= 96 && c <= 126) return c - 96;
  return c;
}

}  // namespace korva
