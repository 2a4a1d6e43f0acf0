// The emulator's simple sector disk controller (F1A300-F1A31F): 16-bit registers at
// even offsets, index = address AND 31; only word writes reach them.
//
// Stand-in: the registers are plain storage; no command runs.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classSimpleDiskController : public ProbedRegisterFile<uint16_t, 32> {};

extern classSimpleDiskController SimpleDC;

}  // namespace korva
