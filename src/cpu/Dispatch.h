// Micro-routine dispatcher and the control store.
#pragma once
#include <cstdint>

namespace korva {

// Call micro-routine n (1-196); any other number is a microcode fault.
void DispatchMcr(uint32_t n);

}  // namespace korva
