// Instruction fetch and decode (mcrFetchDecode and mcrFetchDecodeDebug). The
// fetch marks the instruction boundary: it counts the instruction, paces the device polls, reads
// the opcode word and points mcPC at the opcode's chain in the control store.
// The debug twin adds counted runs, breakpoints and the address history; the
// control store calls it only while the debugger window is loaded.
#include "cpu/FetchDecode.h"
#include "board/Uart2661.h"
#include "cpu/AccessSteps.h"
#include "cpu/MainLoop.h"
#include "cpu/Microroutines.h"
#include "disk/RWIN.h"
#include "serial/MVME400.h"
#include "tables/Queues.h"

namespace korva {

uint32_t InstructionCount = 0;
int32_t Mvme400PollInterval = 511, Mvme400PollCount = 511;
int32_t Sn2661PollInterval = 4095, Sn2661PollCount = 4095;
VBool RwinCmdPending = False;
int32_t RwinPollInterval = 127, RwinPollCount = 127;
BreakPoint BreakPoints[4] = {};
VBool BreakPointsEnabled = False;
VBool TraceTableEnabled = False;

void ResetFetchState() {
  InstructionCount = 0;
  Mvme400PollInterval = Mvme400PollCount = 511;
  Sn2661PollInterval = Sn2661PollCount = 4095;
  RwinCmdPending = False;
  RwinPollInterval = RwinPollCount = 127;
  for (BreakPoint& b : BreakPoints) b = BreakPoint{0, False, False};
  BreakPointsEnabled = False;
  TraceTableEnabled = False;
}

void ClearBreakpointSkips() {
  for (BreakPoint& b : BreakPoints) b.Skip = False;
}

classCircusL TraceTable;

namespace {

// Count down; true when the countdown ran out (and has been reloaded).
// Unsigned arithmetic: a countdown at its most negative value wraps instead of overflowing.
inline bool CountDown(int32_t& count, int32_t interval) {
  count = static_cast<int32_t>(static_cast<uint32_t>(count) - 1u);
  if (count >= 0) return false;
  count = interval;
  return true;
}

// Items 1-4 of both fetches: the instruction count and the device polls.
[[gnu::always_inline]] inline void CountAndPoll() {
  InstructionCount = (InstructionCount + 1) & 0x3FFFFFFF;
  if (CountDown(Mvme400PollCount, Mvme400PollInterval)) {
    MVME400C0.DoTxEandRxE();
    MVME400C1.DoTxEandRxE();
  }
  if (CountDown(Sn2661PollCount, Sn2661PollInterval)) Uart2661.DoTxEandRxE();
  if (RwinCmdPending && CountDown(RwinPollCount, RwinPollInterval)) Rwin.DoCmdComplete();
}

// Step 2: read the opcode word and decode it.
[[gnu::always_inline]] inline void FetchOpcode() {
  if (!StepFetchWord(2)) return;
  CpuOpcode = AccInstIn;
  CpuPC += 2;
  CpuTracePending = CpuT;
  const OpMapEntry& e = OpMap[CpuOpcode];
  mcPC = CpuS ? e.SupervisorStart : e.UserStart;
  mcStage = 1;
}

// The debugger stops the processor before this fetch; the fetch runs again, from
// its first item, when the processor is started again.
void StopAtFetch() {
  SetCpuRunning(False);
  RefreshRegsRequest = True;
  RefreshWatchRequest = True;
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

}  // namespace

void mcrFetchDecode() {
  CountAndPoll();
  FetchSteps<false>();
}

void mcrFetchDecodeDebug() {
  CountAndPoll();
  if (CountedRun) {
    StepCount = static_cast<int32_t>(static_cast<uint32_t>(StepCount) - 1u);
    if (StepCount < 0) {
      StopAtFetch();
      return;
    }
  }
  if (BreakPointsEnabled) {
    for (BreakPoint& b : BreakPoints) {
      if (!b.Enabled) continue;
      if (b.Skip) {
        b.Skip = False;
        continue;
      }
      if (((b.Address ^ CpuPC) & 0xFFFFFF) == 0) {
        StopAtFetch();
        b.Skip = True;
        return;
      }
    }
  }
  FetchSteps<true>();
}

}  // namespace korva
