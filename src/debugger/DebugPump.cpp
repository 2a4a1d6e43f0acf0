#include "debugger/DebugPump.h"

#include <chrono>

namespace korva {

int64_t SteadyClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t (*DebugPumpClock)() = &SteadyClockMs;

}  // namespace korva
