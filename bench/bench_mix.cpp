// Guest speed of the emulated machine: bench/mix.s, assembled for MODE 1 (block
// copy), 2 (register ALU loop) and 3 (both) into boot-ROM S-records, runs from a
// power-on reset on the real memory map through RunMachine at the default
// throttle. Beside each run the same loops written in C run natively, and the
// host's event pump is timed.
//
//   bench_mix [folder [mode]]   the folder of mix_mode1.s19 ... mix_mode3.s19
//                               (default: the build's benchdata folder); a mode
//                               runs that mode alone (for profiling)
//
// Ends with one line per mode:
//   bench: mode=M guest_mips=X native_ratio=R pump_share=P%
// native_ratio is the native speed of the loops over their emulated speed.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchHost.h"
#include "bus/Memory.h"
#include "bus/Rom.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/SystemReset.h"
#include "host/Host.h"
#include "shell/PlugFlags.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

// Guest instructions per outer iteration of each mode (see mix.s).
constexpr uint32_t kPerIter[4] = {0, 2058, 8202, 10253};
// Where mix.s keeps its mode and iteration count, and where it reports.
constexpr uint32_t kModeAddress = 0x400, kItersAddress = 0x404, kResultAddress = 0xFF0000;

uint32_t RomLong(uint32_t address) {
  return (static_cast<uint32_t>(RomImage[address / 2]) << 16) | RomImage[address / 2 + 1];
}

// ---- the same loops in C ----
// The asm statements keep every pass, load and store: the compiler may not
// vectorise, merge or drop them.
uint32_t nativeSrc[1024], nativeDst[1024];

void NativeCopy() {
  const uint32_t* a0 = nativeSrc;
  uint32_t* a1 = nativeDst;
  for (int d0 = 1023; d0 >= 0; --d0) {
    *a1++ = *a0++;
    asm volatile("" : "+r"(a0), "+r"(a1) : : "memory");
  }
}

uint32_t NativeAlu() {
  uint32_t d1 = 0, d2 = 0x12345678, d3 = 0, x = 0;
  for (uint32_t d0 = 1023; d0 != 0xFFFFFFFFu; --d0) {
    d1 += d0;                                                  // ADD.L D0,D1
    d2 ^= d1;                                                  // EOR.L D1,D2
    x = d2 >> 31;                                              // LSL.L #1,D2
    d2 <<= 1;
    const uint64_t sum = static_cast<uint64_t>(d2) + d1 + x;  // ADDX.L D1,D2
    d2 = static_cast<uint32_t>(sum);
    x = static_cast<uint32_t>(sum >> 32);
    d3 = d2;                                                   // MOVE.L D2,D3
    d3 = (d3 << 16) | (d3 >> 16);                              // SWAP D3
    d1 = (d1 & 0xFFFF0000u) | ((d1 - d3) & 0xFFFFu);           // SUB.W D3,D1
    asm volatile("" : "+r"(d1), "+r"(d2), "+r"(d3), "+r"(x));
  }
  return d1 ^ d2;
}

// Seconds for one outer iteration of the mode's loops run natively.
double NativeSecondsPerIteration(uint32_t mode) {
  volatile uint32_t sink = 0;
  auto pass = [&] {
    if (mode & 1) NativeCopy();
    if (mode & 2) sink = sink + NativeAlu();
  };
  for (int i = 0; i < 200; ++i) pass();  // warm up
  uint64_t n = 0;
  const Clock::time_point t0 = Clock::now();
  double s = 0;
  do {
    for (int i = 0; i < 1000; ++i) pass();
    n += 1000;
    s = std::chrono::duration<double>(Clock::now() - t0).count();
  } while (s < 0.5);
  return s / static_cast<double>(n);
}

struct Result {
  bool Ok = false;
  double GuestMips = 0, NativeRatio = 0, PumpShare = 0;
};

Result RunMode(const std::string& folder, uint32_t mode) {
  Result r;
  BenchHost host("bench_mix");
  host.RomPath = folder + "/mix_mode" + std::to_string(mode) + ".s19";
  SetHost(&host);

  // Start-up as the program does it, then a power-on reset.
  MemF1EtoFFF = True;  // the long at FF0000 that reports the result
  BuildMemoryMap();
  const uint32_t romMode = RomLong(kModeAddress), iters = RomLong(kItersAddress);
  if (romMode != mode || iters == 0) {
    std::fprintf(stderr, "bench_mix: %s is not the mode %u image (mode %u, %u iterations)\n", host.RomPath.c_str(),
                 mode, romMode, iters);
    SetHost(nullptr);
    return r;
  }
  MovePhysEn = False;
  BuildCpuTables(Cpu68010);
  CpuThrottleMask = 1023;
  QuitRequested = False;
  SystemReset(True);
  InstructionCount = 0;

  const Clock::time_point t0 = Clock::now();
  RunMachine();
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  SetHost(nullptr);

  const uint64_t expected = static_cast<uint64_t>(kPerIter[mode]) * iters + 2;
  const uint16_t result = CellOf(kResultAddress + 2).Data;
  const double native = NativeSecondsPerIteration(mode) * iters;
  r.GuestMips = static_cast<double>(expected) / seconds / 1e6;
  r.NativeRatio = seconds / native;
  r.PumpShare = 100.0 * host.PumpSeconds / seconds;
  // The count of fetches includes the final STOP, which the program's count leaves out.
  r.Ok = !host.InternalError && result == 1 && (InstructionCount == expected || InstructionCount == expected + 1);
  // Every pump follows CpuThrottleMask + 1 control-store words.
  const double words = static_cast<double>(host.Pumps) * (static_cast<double>(CpuThrottleMask) + 1);
  std::printf("mode %u: %u iterations, %u instructions (program count %llu), result %u, %.3f s emulated, "
              "%.4f s native, %.2f control-store words per instruction, %llu pumps taking %.4f s\n",
              mode, iters, InstructionCount, static_cast<unsigned long long>(expected), result, seconds, native,
              words / static_cast<double>(expected), static_cast<unsigned long long>(host.Pumps), host.PumpSeconds);
  if (!r.Ok) std::printf("mode %u: the run did not end as the program does (result 1, exact instruction count)\n", mode);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : KORVA_BENCH_DIR;
  for (uint32_t i = 0; i < 1024; ++i) nativeSrc[i] = i * 2654435761u;
  const uint32_t only = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 0;
  const uint32_t first = only >= 1 && only <= 3 ? only : 1, last = only >= 1 && only <= 3 ? only : 3;
  Result results[4];
  for (uint32_t mode = first; mode <= last; ++mode) results[mode] = RunMode(folder, mode);
  bool ok = true;
  for (uint32_t mode = first; mode <= last; ++mode) {
    std::printf("bench: mode=%u guest_mips=%.1f native_ratio=%.1f pump_share=%.2f%%\n", mode, results[mode].GuestMips,
                results[mode].NativeRatio, results[mode].PumpShare);
    ok = ok && results[mode].Ok;
  }
  return ok ? 0 : 1;
}
