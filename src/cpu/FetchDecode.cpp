// Instruction fetch and decode (mcrFetchDecode and mcrFetchDecodeDebug). The
// fetch marks the instruction boundary: it counts the instruction, paces the device polls, reads
// the opcode word and points mcPC at the opcode's chain in the control store.
// The debug twin adds counted runs, breakpoints and the address history; the
// control store calls it only while the debugger window is loaded.
#include "cpu/FetchDecode.h"
#include "board/Uart2661.h"
#include "cpu/FetchSteps.h"
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

// The debugger stops the processor before this fetch; the fetch runs again, from
// its first item, when the processor is started again.
void StopAtFetch() {
  SetCpuRunning(False);
  RefreshRegsRequest = True;
  RefreshWatchRequest = True;
}

}  // namespace

void mcrFetchDecode() { FetchDecodeSteps(); }

void mcrFetchDecodeDebug() {
  fetch_detail::CountAndPoll();
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
  fetch_detail::FetchSteps<true>();
}

}  // namespace korva
