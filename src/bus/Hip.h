// The highest pending unmasked interrupt, published by the interrupt controller
// (classExceptions::UpdateHIP) and read by the end of every instruction.
#pragma once
#include <cstdint>

namespace korva {

extern uint16_t HipPending;      // 0 / 0xFFFF: some entry is pending and unmasked
extern int16_t HipEntry;         // its entry number, -1 when none
extern uint16_t HipLevel;        // its level, 0 when none
extern uint16_t HipKind;         // its kind, 0 when none
extern uint16_t HipVector;       // its vector, 0 when none
extern int32_t HipVectorAddress; // its vector address, 0 when none

}  // namespace korva
