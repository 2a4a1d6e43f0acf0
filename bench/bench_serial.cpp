// Guest speed of a loop that polls a serial card's status register (RR0 of
// card 0, channel A, as a driver waiting for a byte does) against the same
// loop reading a RAM byte, both through the main loop with the cards' poll at
// the default throttle. The host's event pump is the Qt host's: every register
// read asks it, and it looks at the clock and runs the window events at most
// once per interval.
//
// Ends with:
//   bench: serial_rr0_mips=X ram_byte_mips=Y ratio=R
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "BenchGuest.h"
#include "BenchHost.h"
#include "BenchTiming.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "host/Host.h"
#include "serial/Cable.h"
#include "serial/MVME400.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

// Rate-limited like the Qt host's pump (a clock read per call); ends the run at STOP.
class PollHost final : public QuietHost {
 public:
  void PumpEvents() override {
    const Clock::time_point now = Clock::now();
    if (now - last_ < std::chrono::microseconds(250)) return;
    last_ = now;
    if (CallsAt(mcPC, Mcr::mcrStopWait)) QuitRequested = True;
  }

 private:
  Clock::time_point last_{};
};

constexpr uint32_t kIterations = 20000000;

// MOVE.L #n,D7; loop: MOVE.B (address).L,D0; SUBQ.L #1,D7; BNE loop; STOP #$2700.
double RunLoop(uint32_t address) {
  SerialCard0Machine();
  MVME400C1.Reset();
  MVME400C0.ControlA(3);
  MVME400C0.ControlA(0xC1);  // receiver on: RR0 looks at the cable's queue
  StartGuestLoop({uint16_t{0x2E3C}, static_cast<uint16_t>(kIterations >> 16), static_cast<uint16_t>(kIterations),
                  uint16_t{0x1039}, static_cast<uint16_t>(address >> 16), static_cast<uint16_t>(address),
                  uint16_t{0x5387}, uint16_t{0x66F6}, uint16_t{0x4E72}, uint16_t{0x2700}});
  const Clock::time_point t0 = Clock::now();
  RunMachine();
  const double s = SecondsSince(t0);
  if (CpuDReg[7] != 0) std::fprintf(stderr, "bench_serial: the loop at %06X did not finish\n", address);
  return InstructionCount / s / 1e6;
}

}  // namespace

int main() {
  PollHost host;
  SetHost(&host);
  const double serial = RunLoop(0xF1C1CD);
  const double ram = RunLoop(0x002001);
  std::printf("bench_serial: %u polls of RR0: %.1f guest MIPS; %u RAM byte reads: %.1f guest MIPS\n", kIterations,
              serial, kIterations, ram);
  std::printf("bench: serial_rr0_mips=%.1f ram_byte_mips=%.1f ratio=%.2f\n", serial, ram, serial / ram);
  SetHost(nullptr);
  return 0;
}
