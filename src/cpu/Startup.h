// The one start-up path of the emulated machine: the processor's tables built
// for a model (Main, the benchmarks and the tests all build them here), the
// model switch, and the reset of every global to the state a fresh program
// starts from (the test machine's reset, so that no state carries over from
// one test to the next).
#pragma once
#include "cpu/CpuState.h"

namespace korva {

// The control store loaded and patched for `model`, the opcode map, the
// disassembly templates and the extension-word table built for it and the
// current MovePhysEn, and the normal fetch selected.
void BuildCpuTables(CpuModel model);

// Switch to `model`: the decode tables rebuilt for it and the control store
// patched (between two words when a word is executing).
void SelectCpuModel(CpuModel model);

// The serial and parallel boards told their numbers (Main's start-up order).
void NumberBoards();

// Every global of the machine back to its start-up value: access latches,
// fault flags and resume point, the interrupt controller with its mask flag,
// the MMU, the processor's registers, internal flags and run control, the fetch
// counters and breakpoints, the MOVPHY option (off, its opcodes unmapped), the
// tables for the MC68010 and every device. Memory and the host hooks are left
// to the caller.
void ResetMachineState();

// Each device object back to its start-up state; one line per device.
void ResetDeviceObjects();

}  // namespace korva
