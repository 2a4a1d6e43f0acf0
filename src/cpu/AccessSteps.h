// Restartable access steps of the micro-routines that make their own bus cycles.
//
// Such a routine numbers its accesses as steps. The access of step k is prepared
// (address, status word, data) by the step before it, or reloaded from the long
// fault frame when RTE resumes the routine at k; step k then performs it. A
// faulted access leaves through EnterBusFault(k) and the helper returns false:
// the routine returns at once. Everything here is inline, so a routine built of
// these helpers compiles to the same code as one written out by hand.
#pragma once
#include <cstdint>
#include "bus/BusCycles.h"
#include "cpu/CpuState.h"
#include "tables/Packing.h"

namespace korva {

// Status words (without the supervisor bit of the function code).
constexpr uint16_t kSswDataRead = 0x1101;
constexpr uint16_t kSswDataWrite = 0x1001;
constexpr uint16_t kSswProgramFetch = 0x2102;

[[gnu::always_inline]] inline void PrepareAccess(uint32_t address, uint16_t ssw) {
  AccAddress = address;
  SetAccSSWInState(ssw);
}
[[gnu::always_inline]] inline void PrepareWriteAccess(uint32_t address, uint16_t data, uint16_t ssw = kSswDataWrite) {
  AccAddress = address;
  AccDataOut = data;
  SetAccSSWInState(ssw);
}
// The next instruction-stream word, at CpuPC.
[[gnu::always_inline]] inline void PrepareFetchAccess() { PrepareAccess(CpuPC, kSswProgramFetch); }

// The end of every access step: false (after diverting) when the access faulted.
[[gnu::always_inline]] inline bool StepSucceeded(uint8_t step) {
  if (!FaultFlag) [[likely]] return true;
  EnterBusFault(step);
  return false;
}
// The fixed-shape steps: an access answered inline succeeds without a look at
// the fault flags, which it has just cleared.
[[gnu::always_inline]] inline bool StepFetchWord(uint8_t step) {
  uint16_t value;
  if (bus_detail::QuickReadWord(value)) [[likely]] {
    AccInstIn = value;
    return true;
  }
  bus_detail::FetchWordCycle();
  return StepSucceeded(step);
}
[[gnu::always_inline]] inline bool StepReadByte(uint8_t step) {
  uint16_t value;
  if (bus_detail::QuickReadByte(value)) [[likely]] {
    AccDataIn = value;
    return true;
  }
  bus_detail::ReadByteCycle();
  return StepSucceeded(step);
}
[[gnu::always_inline]] inline bool StepReadWord(uint8_t step) {
  uint16_t value;
  if (bus_detail::QuickReadWord(value)) [[likely]] {
    AccDataIn = value;
    return true;
  }
  bus_detail::ReadWordCycle();
  return StepSucceeded(step);
}
[[gnu::always_inline]] inline bool StepWriteWord(uint8_t step) {
  if (bus_detail::QuickWriteWord(AccDataOut)) [[likely]] return true;
  bus_detail::WriteWordCycle();
  return StepSucceeded(step);
}
// The general cycle, driven by the whole status word (read-modify-write, byte lanes).
[[gnu::always_inline]] inline bool StepCycle(uint8_t step) {
  BusCycle();
  return StepSucceeded(step);
}

// Steps `first` and `first + 1`: a long from the instruction stream, its first
// fetch prepared. CpuPC moves past each word as it arrives; the high word waits
// in CpuTempWord. Entered at any earlier step, the routine starts with the first
// fetch; resumed at `first + 1`, only the second runs. True with the long in
// `value` when both fetches have succeeded.
[[gnu::always_inline]] inline bool StepsFetchLong(uint8_t first, uint32_t& value) {
  if (mcStage != first + 1) {
    if (!StepFetchWord(first)) return false;
    CpuTempWord = AccInstIn;
    CpuPC += 2;
    PrepareFetchAccess();
  }
  if (!StepFetchWord(static_cast<uint8_t>(first + 1))) return false;
  CpuPC += 2;
  value = MakeLong(CpuTempWord, AccInstIn);
  return true;
}

// Steps `first` and `first + 1`: the long at `address`, its first word's read
// prepared; the second word is read at `address + 2` with status word `ssw`.
// Entered and resumed like StepsFetchLong; `value` is written only when both
// reads have succeeded.
[[gnu::always_inline]] inline bool StepsReadLong(uint8_t first, uint32_t address, uint32_t& value,
                                                 uint16_t ssw = kSswDataRead) {
  if (mcStage != first + 1) {
    if (!StepReadWord(first)) return false;
    CpuTempWord = AccDataIn;
    PrepareAccess(address + 2, ssw);
  }
  if (!StepReadWord(static_cast<uint8_t>(first + 1))) return false;
  value = MakeLong(CpuTempWord, AccDataIn);
  return true;
}

// Two-word transfers entered at their first access, with that access prepared by
// the same call (step 1 of a routine, not a resume). Such a call has set every
// status-word latch itself, and nothing between two of its accesses changes
// them: the bus cycle leaves them as they are when it is no rerun, and a window
// event met inside a device access only latches what it would change until the
// control-store word is over. So the second word moves only the address (and for
// a write the data) instead of setting the same status word again. A resumed
// step finds its latches as the fault frame put them and goes through the
// Steps* helpers above, which prepare the second word in full.

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

// Instruction-stream words answered inline. Like the opcode fetch between
// instructions (cpu/FetchSteps.h), a fresh fetch of the instruction's own words
// that the repeat table answers from RAM or ROM leaves the access latches as
// they were: nothing reads them before the next access prepares its own, and a
// fault frame is built only from the access that faulted. Everything else such
// a fetch leaves (address, data latch, the fault flags cleared) is as before.
[[gnu::always_inline]] inline bool QuickFetchAt(uint32_t address, uint16_t& value) {
  return bus_detail::QuickReadWordIn(address, CpuS, kSswProgramFetch & 3u, value);
}

// ---- Whole routines ----
// The steps of a routine made of one transfer: step 1 prepares the first access.
// Each returns true when the transfer is complete, false when an access faulted
// or mcStage is no step of it (a microcode fault).

// Steps 1-2: one instruction-stream word into AccInstIn, CpuPC moved past it.
[[gnu::always_inline]] inline bool FetchWordRoutine() {
  switch (mcStage) {
    case 1: {
      uint16_t word;
      if (QuickFetchAt(CpuPC, word)) [[likely]] {
        AccAddress = CpuPC;
        AccInstIn = word;
        CpuPC += 2;
        return true;
      }
      PrepareFetchAccess();
      [[fallthrough]];
    }
    case 2:
      if (!StepFetchWord(2)) return false;
      CpuPC += 2;
      return true;
    default:
      McrMicrocodeFault();
      return false;
  }
}

// Steps 1-3: a long from the instruction stream into `value`.
[[gnu::always_inline]] inline bool FetchLongRoutine(uint32_t& value) {
  switch (mcStage) {
    case 1: {
      uint16_t high, low;
      if (QuickFetchAt(CpuPC, high) && QuickFetchAt(CpuPC + 2, low)) [[likely]] {
        CpuTempWord = high;
        AccAddress = CpuPC + 2;
        AccInstIn = low;
        CpuPC += 4;
        value = MakeLong(high, low);
        return true;
      }
      PrepareFetchAccess();
      return FreshFetchLong(2, value);
    }
    case 2:
    case 3:
      return StepsFetchLong(2, value);
    default:
      McrMicrocodeFault();
      return false;
  }
}

// Steps 1-3: the data long at `address` into `value`.
[[gnu::always_inline]] inline bool ReadLongRoutine(uint32_t address, uint32_t& value) {
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

// Steps 1-3: push a long. Step 1 lowers A7 by 4 (once: a resumed step does not
// lower it again), steps 2 and 3 write the high and the low word. `value` is
// read after A7 has been lowered, so pushing A7 pushes the lowered value.
[[gnu::always_inline]] inline bool PushLongRoutine(const uint32_t& value) {
  switch (mcStage) {
    case 1:
      CpuAReg[7] -= 4;
      PrepareWriteAccess(CpuAReg[7], HiWord(value));
      if (!StepWriteWord(2)) return false;
      AccAddress = CpuAReg[7] + 2;
      AccDataOut = LoWord(value);
      return StepWriteWord(3);
    case 2:
      if (!StepWriteWord(2)) return false;
      PrepareWriteAccess(CpuAReg[7] + 2, LoWord(value));
      [[fallthrough]];
    case 3:
      return StepWriteWord(3);
    default:
      McrMicrocodeFault();
      return false;
  }
}

}  // namespace korva
