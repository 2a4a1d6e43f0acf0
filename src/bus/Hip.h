// The highest pending unmasked interrupt, published by the interrupt controller
// (classExceptions::UpdateHIP) and read by the end of every instruction.
#pragma once
#include <cstdint>

namespace korva {

// What the end of every instruction looks at: the processor's pending trace
// (CpuTracePending, 0 or True) and HipPending, side by side.
struct alignas(4) PendingAtEnd {
  int16_t Trace;
  uint16_t Hip;
};
extern PendingAtEnd EndOfInstructionPending;
// Whether a trace or an interrupt is pending. The two halves are read apart:
// every opcode fetch has just stored the trace half by itself, and one load of
// both words would wait for that store to reach the cache (a load that spans an
// earlier, smaller store is not served from the store buffer), which costs more
// than the second load saves.
[[gnu::always_inline]] inline bool PendingAtEndOfInstruction() {
  return (EndOfInstructionPending.Trace | EndOfInstructionPending.Hip) != 0;
}

inline uint16_t& HipPending = EndOfInstructionPending.Hip;  // 0 / 0xFFFF: some entry is pending and unmasked
extern int16_t HipEntry;         // its entry number, -1 when none
extern uint16_t HipLevel;        // its level, 0 when none
extern uint16_t HipKind;         // its kind, 0 when none
extern uint16_t HipVector;       // its vector, 0 when none
extern int32_t HipVectorAddress; // its vector address, 0 when none

}  // namespace korva
