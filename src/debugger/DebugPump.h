// The event pump of the debugger's long loops (listings, frequency walks,
// dumps, fills, searches): window events are processed when 2 ms have passed
// on the host's steady clock since the last time, the clock being looked at
// once every 256 elements, so the Abort button can be clicked while a loop
// runs and the loop itself pays almost nothing for it.
//
//   DebugPump pump;                       // clears DebugAbort
//   for (...) {
//     if (pump.Poll()) break;             // Abort was clicked
//     ... one element ...
//   }
#pragma once
#include <cstdint>

#include "debugger/DebuggerCore.h"
#include "host/Host.h"

namespace korva {

// Milliseconds of a steady clock; tests may point it at a clock of their own.
extern int64_t (*DebugPumpClock)();
int64_t SteadyClockMs();

class DebugPump {
 public:
  static constexpr uint32_t ElementsPerLook = 256;
  static constexpr int64_t IntervalMs = 2;

  DebugPump() : last_(DebugPumpClock()) { DebugAbort = False; }

  // One element of the loop. Returns true once DebugAbort is set.
  bool Poll() {
    if ((++count_ & (ElementsPerLook - 1)) == 0) {
      const int64_t now = DebugPumpClock();
      if (now - last_ >= IntervalMs) {
        last_ = now;
        PumpEvents();
      }
    }
    return DebugAbort != False;
  }

 private:
  int64_t last_;
  uint32_t count_ = 0;
};

}  // namespace korva
