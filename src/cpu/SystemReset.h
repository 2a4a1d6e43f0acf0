// System and power-on reset: the device reset order, the I/O-channel reset shared
// with the RESET instruction and the reset micro-routine that loads the stack
// pointer and program counter.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

// Reset of the whole machine (the main window's power-on reset and reset buttons):
// devices, breakpoint skips, then the processor restarts at the reset micro-routine.
void SystemReset(VBool powerOn);
// The device part of a reset, in the board's order.
void ResetDevices(VBool powerOn);
// I/O-channel interrupt sources and the VMEbus boards (system control module reset
// and the RESET instruction).
void ResetIoChannel();
// SR := 0x2700 (supervisor, no trace, mask 7), VBR := 0.
void mcrResetSR();

}  // namespace korva
