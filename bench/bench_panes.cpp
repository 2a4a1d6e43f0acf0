// The debugger's redraw at every stop of a STEP loop: the register pane and two
// memory watches of 255 bytes (16 lines each), as the main loop does while the
// processor is stopped; once more with the instruction at the PC listed too.
//   bench: panes_ms=X panes_track_ms=Y   (milliseconds per redraw)
#include <chrono>
#include <cstdio>

#include "BenchHost.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/Startup.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Panes.h"
#include "host/Host.h"

using namespace korva;

namespace {
double MsPerRedraw(int rounds) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    CpuPC = 0x10000 + 2 * static_cast<uint32_t>(i & 255);
    DisplayRegisters();
    LoadMemoryWatch(0);
    LoadMemoryWatch(1);
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count() / rounds;
}
}  // namespace

int main() {
  BenchHost host("bench_panes");
  SetHost(&host);
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
  for (uint32_t a = 0x10000; a < 0x10400; a += 2) CellOf(a).Data = static_cast<uint16_t>(0x5280 + (a & 0x0E));
  Mmu.ResetMMU();
  BuildCpuTables(Cpu68010);
  ResetDebuggerState();
  InstallDebugger();
  CpuAReg[0] = 0x10100;
  Execute("SMW0 $10000 255");
  Execute("SDMW1 A0 255");
  constexpr int kRounds = 20000;
  MsPerRedraw(1000);  // warm
  const double plain = MsPerRedraw(kRounds);
  Execute("TTR 1");
  const double track = MsPerRedraw(kRounds);
  std::printf("panes: %d redraws, %zu and %zu characters in the watches\n", kRounds, WatchPaneText[0].size(),
              WatchPaneText[1].size());
  std::printf("bench: panes_ms=%.4f panes_track_ms=%.4f\n", plain, track);
  SetHost(nullptr);
  return WatchPaneLines[0] == 16 && WatchPaneLines[1] == 16 ? 0 : 1;
}
