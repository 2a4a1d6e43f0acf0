// Instruction fetch and decode: the instruction count, the device poll
// countdowns, and the debugger's counted runs, breakpoints and address history.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

class classCircusL;

// Poll pacing: an interval I polls on every (I + 1)-th fetch; a negative interval on every fetch.
// Every fetch counts each countdown down by one and runs the poll whose
// countdown goes below 0, reloading it from its interval; the disk-controller
// countdown counts only while a command awaits completion.
extern int32_t Mvme400PollInterval, Sn2661PollInterval, RwinPollInterval;

namespace fetch_detail {
// The countdowns are kept as one: Ticks counts the fetches down to the nearest
// expiry, and each countdown is stored as it was at the last look (when Ticks
// was Span), so its value is the stored one minus the Span - Ticks fetches
// since. A fetch therefore only decrements Ticks; when Ticks goes below 0 some
// countdown may run out at this fetch, and RunDuePolls counts them all as the
// fetch would have one by one.
struct PollPacing {
  int32_t Ticks;  // fetches until a countdown may run out, minus 1
  int32_t Span;   // Ticks at the last look
  int32_t Mvme400, Sn2661, Rwin;  // the countdowns at the last look
  VBool RwinPending;
};
extern PollPacing Pacing;

// The fetches since the last look; the stored countdowns minus these are the countdowns.
inline uint32_t FetchesSinceLook() { return static_cast<uint32_t>(Pacing.Span) - static_cast<uint32_t>(Pacing.Ticks); }
// The instruction count at the last look: the count is this plus the fetches
// since, so the fetch counts instructions by its step of Ticks alone.
extern uint32_t InstructionsAtLook;
// Bring the stored countdowns and the instruction count up to date (a look), so
// that one can be changed.
void LookAtCountdowns();
// Ticks from the countdowns after a look or a change.
void ArmPollTicks();
// The fetch that took Ticks below 0: count every countdown down and run the due polls.
void RunDuePolls();

// One countdown, read and written by its own name as if it were counted down at every fetch.
template <int32_t PollPacing::*Stored, bool WhileRwinPending>
class PollCountdown {
 public:
  operator int32_t() const {
    if (WhileRwinPending && !Pacing.RwinPending) return Pacing.*Stored;
    return static_cast<int32_t>(static_cast<uint32_t>(Pacing.*Stored) - FetchesSinceLook());
  }
  int32_t operator=(int32_t value) const {
    LookAtCountdowns();
    Pacing.*Stored = value;
    ArmPollTicks();
    return value;
  }
};

// RwinCmdPending: the disk-controller countdown starts and stops with it.
class RwinPendingFlag {
 public:
  operator VBool() const { return Pacing.RwinPending; }
  VBool operator=(VBool value) const {
    LookAtCountdowns();
    Pacing.RwinPending = value;
    ArmPollTicks();
    return value;
  }
};
}  // namespace fetch_detail

// Instructions fetched, modulo 2^30, read and set by its own name.
struct InstructionCounter {
  operator uint32_t() const { return (fetch_detail::InstructionsAtLook + fetch_detail::FetchesSinceLook()) & 0x3FFFFFFFu; }
  uint32_t operator=(uint32_t value) const {
    fetch_detail::InstructionsAtLook = value - fetch_detail::FetchesSinceLook();
    return value & 0x3FFFFFFFu;
  }
};
inline constexpr InstructionCounter InstructionCount{};

// Countdowns to the next poll of the MVME400 boards and of the keyboard UART.
inline constexpr fetch_detail::PollCountdown<&fetch_detail::PollPacing::Mvme400, false> Mvme400PollCount{};
inline constexpr fetch_detail::PollCountdown<&fetch_detail::PollPacing::Sn2661, false> Sn2661PollCount{};
// A disk-controller command awaits completion: set with RwinPollCount := RwinPollInterval
// by the controller when it starts a command, cleared by its DoCmdComplete.
inline constexpr fetch_detail::RwinPendingFlag RwinCmdPending{};
inline constexpr fetch_detail::PollCountdown<&fetch_detail::PollPacing::Rwin, true> RwinPollCount{};

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
