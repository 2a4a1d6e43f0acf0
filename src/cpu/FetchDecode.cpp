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

int32_t Mvme400PollInterval = 511;
int32_t Sn2661PollInterval = 4095;
int32_t RwinPollInterval = 127;
fetch_detail::PollPacing fetch_detail::Pacing = {511, 511, 511, 4095, 127, False};
uint32_t fetch_detail::InstructionsAtLook = 0;
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

namespace fetch_detail {

void LookAtCountdowns() {
  const uint32_t since = FetchesSinceLook();
  const auto count = [since](int32_t& c) { c = static_cast<int32_t>(static_cast<uint32_t>(c) - since); };
  count(Pacing.Mvme400);
  count(Pacing.Sn2661);
  if (Pacing.RwinPending) count(Pacing.Rwin);
  InstructionsAtLook += since;
  Pacing.Span = Pacing.Ticks;
}

// Ticks := the smallest countdown: no countdown runs out before Ticks goes
// below 0. A countdown below 0 (a negative interval) is due at the next fetch,
// which then looks at all of them.
void ArmPollTicks() {
  int32_t ticks = Pacing.Mvme400 < Pacing.Sn2661 ? Pacing.Mvme400 : Pacing.Sn2661;
  if (Pacing.RwinPending && Pacing.Rwin < ticks) ticks = Pacing.Rwin;
  if (ticks < -1) ticks = -1;
  InstructionsAtLook += FetchesSinceLook();
  Pacing.Ticks = Pacing.Span = ticks;
}

namespace {
// Count down; true when the countdown ran out (and has been reloaded).
// Unsigned arithmetic: a countdown at its most negative value wraps instead of overflowing.
bool CountDown(int32_t& count, int32_t interval) {
  count = static_cast<int32_t>(static_cast<uint32_t>(count) - 1u);
  if (count >= 0) return false;
  count = interval;
  return true;
}
}  // namespace

void RunDuePolls() {
  // The countdowns as they were before this fetch; the polls run with nothing
  // left to settle, so whatever they read or change is the countdowns themselves.
  ++Pacing.Ticks;
  ++InstructionsAtLook;  // this fetch stays counted
  LookAtCountdowns();
  if (CountDown(Pacing.Mvme400, Mvme400PollInterval)) {
    MVME400C0.DoTxEandRxE();
    MVME400C1.DoTxEandRxE();
  }
  if (CountDown(Pacing.Sn2661, Sn2661PollInterval)) Uart2661.DoTxEandRxE();
  if (Pacing.RwinPending && CountDown(Pacing.Rwin, RwinPollInterval)) Rwin.DoCmdComplete();
  ArmPollTicks();
}

}  // namespace fetch_detail

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
