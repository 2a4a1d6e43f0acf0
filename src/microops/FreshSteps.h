// Two-word transfers entered at their first access with that access prepared by
// the same call (step 1 of the routine, not a resume).
//
// Such a call has set every status-word latch itself, and nothing between two of
// its accesses changes them: the bus cycle leaves them as they are when it is no
// rerun, and a window event met inside a device access only latches what it
// would change until the control-store word is over. So the second word moves
// only the address (and for a write the data) instead of unpacking the same
// status word again. A resumed step finds its latches as the fault frame put
// them, and keeps going through the helpers of cpu/AccessSteps.h, which prepare
// the second word in full.
#pragma once
#include <cstdint>
#include "cpu/AccessSteps.h"

namespace korva {

// Steps `first` and `first + 1`: a long from the instruction stream at CpuPC.
[[gnu::always_inline]] inline bool FreshFetchLong(uint8_t first, uint32_t& value) {
  if (!StepFetchWord(first)) return false;
  CpuTempWord = AccInstIn;
  CpuPC += 2;
  AccAddress = CpuPC;
  if (!StepFetchWord(static_cast<uint8_t>(first + 1))) return false;
  CpuPC += 2;
  value = MakeLong(CpuTempWord, AccInstIn);
  return true;
}

// Steps `first` and `first + 1`: the long at `address`, read as two words.
[[gnu::always_inline]] inline bool FreshReadLong(uint8_t first, uint32_t address, uint32_t& value) {
  if (!StepReadWord(first)) return false;
  CpuTempWord = AccDataIn;
  AccAddress = address + 2;
  if (!StepReadWord(static_cast<uint8_t>(first + 1))) return false;
  value = MakeLong(CpuTempWord, AccDataIn);
  return true;
}

// Steps 1-3 of a routine that is one long transfer: as the AccessSteps.h
// routines of the same names, with the second word of a fresh call moving only
// its address and data.
[[gnu::always_inline]] inline bool FetchLongSteps(uint32_t& value) {
  switch (mcStage) {
    case 1:
      PrepareFetchAccess();
      return FreshFetchLong(2, value);
    case 2:
    case 3:
      return StepsFetchLong(2, value);
    default:
      McrMicrocodeFault();
      return false;
  }
}

[[gnu::always_inline]] inline bool ReadLongSteps(uint32_t address, uint32_t& value) {
  switch (mcStage) {
    case 1:
      PrepareAccess(address, kSswDataRead);
      return FreshReadLong(2, address, value);
    case 2:
    case 3:
      return StepsReadLong(2, address, value);
    default:
      McrMicrocodeFault();
      return false;
  }
}

// A7 is lowered once, in step 1; `value` is read after that (pushing A7 pushes
// the lowered value) and its low word after the first write.
[[gnu::always_inline]] inline bool PushLongSteps(const uint32_t& value) {
  switch (mcStage) {
    case 1:
      CpuAReg[7] -= 4;
      PrepareWriteAccess(CpuAReg[7], HiWord(value));
      if (!StepWriteWord(2)) return false;
      AccAddress = CpuAReg[7] + 2;
      AccDataOut = LoWord(value);
      return StepWriteWord(3);
    case 2:
    case 3:
      return PushLongRoutine(value);
    default:
      McrMicrocodeFault();
      return false;
  }
}

}  // namespace korva
