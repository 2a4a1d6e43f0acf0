// The emulator's CP/M record disk controller (F1A200-F1A21F): 16-bit registers at
// even offsets, index = address AND 31; only word writes reach them.
//
// Stand-in: the registers are plain storage; no command runs.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classCpmDiskController : public ProbedRegisterFile<uint16_t, 32> {};

extern classCpmDiskController CpmDC;

}  // namespace korva
