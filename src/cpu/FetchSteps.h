// The steps of the instruction fetch, inline: mcrFetchDecode and its debug twin
// are built of them, and the main loop runs the normal fetch in place when the
// control-store word calls it, saving a call on every instruction.
#pragma once
#include "board/Uart2661.h"
#include "cpu/AccessSteps.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Microroutines.h"
#include "disk/RWIN.h"
#include "serial/MVME400.h"
#include "tables/Queues.h"

namespace korva {

namespace fetch_detail {

// Items 1-4 of both fetches: the instruction count and the device polls, all
// paced by one countdown (see PollPacing), which also carries the count.
[[gnu::always_inline]] inline void CountAndPoll() {
  if (--Pacing.Ticks < 0) [[unlikely]] RunDuePolls();
}

// The opcode word in AccInstIn decoded: mcPC at its chain (mcStage is 1 after it).
template <bool AtStepOne = false>
[[gnu::always_inline]] inline void Decode() {
  const uint16_t opcode = AccInstIn;
  const OpMapEntry& e = OpMap[static_cast<size_t>(opcode)];
  CpuOpcode.Set(opcode, e);
  CpuPC += 2;
  CpuTracePending = CpuT;
  mcPC = CpuS ? e.SupervisorStart : e.UserStart;
  if constexpr (!AtStepOne) mcStage = 1;
}

// Step 2: read the opcode word and decode it.
[[gnu::always_inline]] inline void FetchOpcode() {
  if (!StepFetchWord(2)) return;
  Decode();
}

// Step 1 prepares the fetch at CpuPC, the address of the instruction (entered
// in the trace table when the debugger keeps one); step 2 fetches and decodes.
template <bool Debug>
[[gnu::always_inline]] inline void FetchSteps() {
  switch (mcStage) {
    case 1:
      CpuInstrAddr = CpuPC;
      if (Debug && TraceTableEnabled) TraceTable.InsertData(static_cast<int32_t>(CpuPC));
      PrepareFetchAccess();
      [[fallthrough]];
    case 2:
      FetchOpcode();
      return;
    default:
      McrMicrocodeFault();
      return;
  }
}

}  // namespace fetch_detail

// The normal fetch as the fused chains run it between two instructions. An
// opcode word answered inline (RAM or ROM through the repeat table) needs no
// access latches: nothing reads them before the next access prepares its own,
// and a fault frame is only built from the access that faulted. So such a fetch
// stores its address alone; any other goes through the whole fetch, which
// prepares the latches first.
//
// QuickFetchDecode is that inline fetch at step 1, after the count: false, with
// nothing changed, when the word is not answered inline.
[[gnu::always_inline]] inline bool QuickFetchDecode() {
  const uint32_t pc = CpuPC;
  // The repeat entry of the program space picked by CpuS, which is 0 or all ones
  // (it is set only through the status register, as True or False).
  // The table's address is taken afresh here, out of the compiler's sight:
  // otherwise it keeps the one a routine of the chain took in a register
  // through the chain, which costs a saved register where the chain makes calls.
  const unsigned char* user;
#if defined(__x86_64__) || defined(__i386__)
  asm("lea %1, %0" : "=r"(user) : "m"(Mmu.ProgramReadRepeatUser()));
#else
  user = reinterpret_cast<const unsigned char*>(&Mmu.ProgramReadRepeatUser());
#endif
  const auto* r = reinterpret_cast<const classMMU::RepeatEntry*>(
      user + (static_cast<uint16_t>(CpuS) & classMMU::SupervisorRepeatDistance()));
  if ((pc & 0xFFFF01u) != r->Page) return false;
  const MemoryCell& cell =
      *reinterpret_cast<const MemoryCell*>(reinterpret_cast<const unsigned char*>(r->Cells) + (pc & 0xFEu) * 2);
  if (!ReadsFromCell(cell)) return false;
  ClearFaultFlagSet();
  const uint16_t value = cell.Data;
  CpuInstrAddr = pc;
  AccAddress = pc;
  AccInstIn = value;
  fetch_detail::Decode<true>();  // the step is 1 already
  return true;
}

// The fetch after the count: inline when it can, else the whole fetch.
[[gnu::always_inline]] inline void FetchDecodeAfterCount() {
  if (mcStage == 1 && QuickFetchDecode()) [[likely]]
    return;
  fetch_detail::FetchSteps<false>();
}

[[gnu::always_inline]] inline void FetchDecodeInChain() {
  fetch_detail::CountAndPoll();
  FetchDecodeAfterCount();
}

// mcrFetchDecode: count, poll, fetch the opcode word and point mcPC at its chain.
[[gnu::always_inline]] inline void FetchDecodeSteps() {
  fetch_detail::CountAndPoll();
  fetch_detail::FetchSteps<false>();
}

}  // namespace korva
