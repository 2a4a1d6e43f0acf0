// Speed of the debugger's memory commands over 1 MB, typed as a user would
// (the output is the debugger's own, cut at its limit): bytes per second of
// BF.B and of DM.B through the cell array and through the bus.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "bus/Memory.h"
#include "debugger/DebuggerCore.h"

using namespace korva;

namespace {

double SecondsFor(const std::string& line) {
  const auto t0 = std::chrono::steady_clock::now();
  CommandLine = line;
  CommandKey('\r');
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double>(t1 - t0).count();
}

}  // namespace

int main() {
  for (MemoryCell& c : RamArray) c = MemoryCell{0, DcRam, 0};
  ResetDebuggerState();
  constexpr double Bytes = 0x100000;
  struct Run {
    const char* name;
    const char* ura;
    const char* line;
  };
  const Run runs[] = {
      {"BF.B 1 MB, cell array", "URA 1", "BF.B $100000 $55 $100000"},
      {"BF.B 1 MB, bus", "URA 0", "BF.B $100000 $55 $100000"},
      {"DM.B 1 MB, cell array", "URA 1", "DM.B $100000 $100000"},
      {"DM.B 1 MB, bus", "URA 0", "DM.B $100000 $100000"},
  };
  std::printf("debugger memory commands (1 MB each, best of 3)\n");
  for (const Run& r : runs) {
    Execute(r.ura);
    double best = 1e9;
    for (int i = 0; i < 3; ++i) best = std::min(best, SecondsFor(r.line));
    std::printf("  %-24s %8.3f s  %8.1f MB/s\n", r.name, best, Bytes / best / 1e6);
  }
  return 0;
}
