// Instruction fetch and decode: the instruction count, the device poll
// countdowns, and the debugger's counted runs, breakpoints and address history.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

class classCircusL;

extern uint32_t InstructionCount;  // instructions fetched, modulo 2^30

// Poll pacing: an interval I polls on every (I + 1)-th fetch; a negative interval on every fetch.
extern int32_t Mvme400PollInterval, Mvme400PollCount;
extern int32_t Sn2661PollInterval, Sn2661PollCount;
// A disk-controller command awaits completion: set with RwinPollCount := RwinPollInterval
// by the controller when it starts a command, cleared by its DoCmdComplete.
extern VBool RwinCmdPending;
extern int32_t RwinPollInterval, RwinPollCount;

struct BreakPoint {
  uint32_t Address;  // compared on bits 23-0
  VBool Enabled;
  VBool Skip;        // pass this entry once
};
extern BreakPoint BreakPoints[4];
extern VBool BreakPointsEnabled;  // some breakpoint is enabled

// History of instruction addresses recorded by the debug fetch while enabled.
extern VBool TraceTableEnabled;
extern classCircusL TraceTable;  // 4096 entries, sized by Main

// The count, the poll countdowns, the breakpoints and the history switch to
// their start-up values.
void ResetFetchState();
// Clears the skip-once mark of the four breakpoints (addresses and enables stay).
void ClearBreakpointSkips();

}  // namespace korva
