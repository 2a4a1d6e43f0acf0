// Micro-routine dispatcher.
#pragma once
#include <cstdint>

namespace korva {

using McrFunction = void (*)();
constexpr uint32_t McrTableSize = 197;
// The routine of each number 1-196; entry 0 is a microcode fault.
extern McrFunction const McrTable[McrTableSize];

// Call micro-routine n (1-196); any other number is a microcode fault.
void DispatchMcr(uint32_t n);

}  // namespace korva
