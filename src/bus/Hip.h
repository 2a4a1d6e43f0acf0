// The highest pending unmasked interrupt, published by the interrupt controller
// (classExceptions::UpdateHIP) and read by the end of every instruction.
#pragma once
#include <cstdint>
#include <cstring>

namespace korva {

// What the end of every instruction looks at, side by side so that one load
// looks at both: the processor's pending trace (CpuTracePending, 0 or True) and
// HipPending.
struct alignas(4) PendingAtEnd {
  int16_t Trace;
  uint16_t Hip;
};
extern PendingAtEnd EndOfInstructionPending;
// Whether a trace or an interrupt is pending, the two read as one word.
[[gnu::always_inline]] inline bool PendingAtEndOfInstruction() {
  uint32_t both;
  std::memcpy(&both, &EndOfInstructionPending, sizeof both);
  return both != 0;
}

inline uint16_t& HipPending = EndOfInstructionPending.Hip;  // 0 / 0xFFFF: some entry is pending and unmasked
extern int16_t HipEntry;         // its entry number, -1 when none
extern uint16_t HipLevel;        // its level, 0 when none
extern uint16_t HipKind;         // its kind, 0 when none
extern uint16_t HipVector;       // its vector, 0 when none
extern int32_t HipVectorAddress; // its vector address, 0 when none

}  // namespace korva
