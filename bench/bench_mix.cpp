// Guest speed of the emulated machine: bench/mix.s, assembled for MODE 1 (block
// copy), 2 (register ALU loop) and 3 (both) into boot-ROM S-records, runs from a
// power-on reset on the real memory map through RunMachine at the default
// throttle. Beside each run the same loops written in C run natively, and the
// host's event pump is timed.
//
//   bench_mix [folder [mode]]   the folder of mix_mode1.s19 ... mix_mode4.s19
//                               (default: the build's benchdata folder); a mode
//                               runs that mode alone (for profiling)
//
// Ends with one line per mode:
//   bench: mode=M guest_mips=X native_ratio=R pump_share=P%
// native_ratio is the native speed of the loops over their emulated speed.
// Mode 4 is bench/os_loop.s: a user program in its own address space with the
// MMU translating, making a system call each iteration; it has no native twin:
//   bench: mode=4 os_mmu guest_mips=X pump_share=P%
// Then mode 3 once more on the debugger's fetch, as while the debugger window
// is open with four breakpoints set (never met) and the trace table on:
//   bench: mode=3 fetch=debugger guest_mips=X share_of_normal=S%
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchHost.h"
#include "native/MixNative.h"
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
#include "tables/Queues.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

// Guest instructions per outer iteration of each mode (see mix.s; mode 4 is
// os_loop.s), and those run once besides (start-up and the end).
constexpr uint32_t kPerIter[5] = {0, 2058, 8202, 10253, 4619};
constexpr uint32_t kOnce[5] = {0, 2, 2, 2, 122};
// Where mix.s keeps its mode and iteration count, and where it reports.
constexpr uint32_t kModeAddress = 0x400, kItersAddress = 0x404, kResultAddress = 0xFF0000;

uint32_t RomLong(uint32_t address) {
  return (static_cast<uint32_t>(RomImage[address / 2]) << 16) | RomImage[address / 2 + 1];
}

struct Result {
  bool Ok = false;
  double GuestMips = 0, NativeRatio = 0, PumpShare = 0;
};

// Four breakpoints where the program never goes, and the trace table on.
void ArmDebuggerFetch() {
  TraceTable.Create(4096);
  for (int i = 0; i < 4; ++i) BreakPoints[i] = BreakPoint{0xFFF000u + 2u * static_cast<uint32_t>(i), True, False};
  BreakPointsEnabled = True;
  TraceTableEnabled = True;
  UseDebuggerMicroOp();
}

void DisarmDebuggerFetch() {
  UseNormalMicroOp();
  for (BreakPoint& b : BreakPoints) b = BreakPoint{0, False, False};
  BreakPointsEnabled = False;
  TraceTableEnabled = False;
}

Result RunMode(const std::string& folder, uint32_t mode, bool debuggerFetch = false) {
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
  if (debuggerFetch) ArmDebuggerFetch();

  const Clock::time_point t0 = Clock::now();
  RunMachine();
  const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
  SetHost(nullptr);
  if (debuggerFetch) DisarmDebuggerFetch();

  const uint64_t expected = static_cast<uint64_t>(kPerIter[mode]) * iters + kOnce[mode];
  const uint16_t result = CellOf(kResultAddress + 2).Data;
  // Mode 4 has no native twin: its point is the MMU and the system calls.
  const double native = mode <= 3 ? NativeSecondsPerIteration(mode) * iters : 0;
  r.GuestMips = static_cast<double>(expected) / seconds / 1e6;
  r.NativeRatio = native > 0 ? seconds / native : 0;
  r.PumpShare = 100.0 * host.PumpSeconds / seconds;
  // The count of fetches includes the final STOP, which the program's count leaves out.
  r.Ok = !host.InternalError && result == 1 && (InstructionCount == expected || InstructionCount == expected + 1);
  // Every pump follows CpuThrottleMask + 1 control-store words.
  const double words = static_cast<double>(host.Pumps) * (static_cast<double>(CpuThrottleMask) + 1);
  std::printf("mode %u%s: %u iterations, %u instructions (program count %llu), result %u, %.3f s emulated, "
              "%.4f s native, %.2f control-store words per instruction, %llu pumps taking %.4f s\n",
              mode, debuggerFetch ? " (debugger fetch)" : "", iters, static_cast<uint32_t>(InstructionCount), static_cast<unsigned long long>(expected), result, seconds, native,
              words / static_cast<double>(expected), static_cast<unsigned long long>(host.Pumps), host.PumpSeconds);
  if (!r.Ok) std::printf("mode %u: the run did not end as the program does (result 1, exact instruction count)\n", mode);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : KORVA_BENCH_DIR;
  FillNativeSource();
  const uint32_t only = argc > 2 ? static_cast<uint32_t>(std::atoi(argv[2])) : 0;
  const uint32_t first = only >= 1 && only <= 3 ? only : 1, last = only == 0 ? 3 : only <= 3 ? only : 0;
  Result results[5];
  for (uint32_t mode = first; mode <= last; ++mode) results[mode] = RunMode(folder, mode);
  bool ok = true;
  for (uint32_t mode = first; mode <= last; ++mode) {
    std::printf("bench: mode=%u guest_mips=%.1f native_ratio=%.1f pump_share=%.2f%%\n", mode, results[mode].GuestMips,
                results[mode].NativeRatio, results[mode].PumpShare);
    ok = ok && results[mode].Ok;
  }
  if (only == 0 || only == 4) {
    results[4] = RunMode(folder, 4);
    std::printf("bench: mode=4 os_mmu guest_mips=%.1f pump_share=%.2f%%\n", results[4].GuestMips, results[4].PumpShare);
    ok = ok && results[4].Ok;
  }
  if (only == 0 || only == 3) {
    const Result debug = RunMode(folder, 3, true);
    std::printf("bench: mode=3 fetch=debugger guest_mips=%.1f share_of_normal=%.0f%%\n", debug.GuestMips,
                results[3].GuestMips > 0 ? 100.0 * debug.GuestMips / results[3].GuestMips : 0.0);
    ok = ok && debug.Ok;
  }
  return ok ? 0 : 1;
}
