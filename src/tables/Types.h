// Basic types shared by the whole emulated machine.
#pragma once
#include <cstdint>

namespace korva {

// The machine keeps its booleans as 16-bit values: 0 is false, -1 (0xFFFF) is true.
using VBool = int16_t;
constexpr VBool True = -1;
constexpr VBool False = 0;

inline constexpr VBool ToVBool(bool b) { return b ? True : False; }
// Condition-code flags are unsigned 16-bit booleans: 0 or 0xFFFF.
inline constexpr uint16_t ToFlag(bool b) { return b ? 0xFFFF : 0; }

}  // namespace korva
