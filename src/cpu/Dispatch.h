// Micro-routine dispatcher.
#pragma once
#include <array>
#include <cstdint>

#include "tables/McNames.h"

namespace korva {

using McrFunction = void (*)();
constexpr uint32_t McrTableSize = McrLast + 1;
// The routine of each number (an Mcr); entry 0 is a microcode fault.
extern const std::array<McrFunction, McrTableSize> McrTable;

// Call micro-routine n; a number that names no routine is a microcode fault.
void DispatchMcr(uint32_t n);

}  // namespace korva
