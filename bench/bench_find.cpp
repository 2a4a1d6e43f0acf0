// The memory search: bytes per second of a search that finds nothing over the
// whole 16 MB map (RAM full of varied bytes, the ROM, the I/O pages and the
// unmapped areas), and the same search over 2 GB of addresses, which looks at
// 16 MB of them since memory repeats.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "BenchTiming.h"
#include "bus/Memory.h"
#include "debugger/DebuggerCore.h"

using namespace korva;

namespace {

// Runs a command line; printed is its answer without line breaks.
double Timed(const char* line, std::string& printed) {
  const auto t0 = std::chrono::steady_clock::now();
  const std::string text = Execute(line);
  const double seconds = SecondsSince(t0);
  printed.clear();
  for (char c : text)
    if (c != '\r' && c != '\n') printed += c;
  return seconds;
}

}  // namespace

int main() {
  BuildMemoryMap();
  uint32_t x = 12345;
  for (MemoryCell& c : RamArray)
    if (c.Device == DcRam) {
      x = x * 1103515245u + 12345u;
      c.Data = static_cast<uint16_t>(x >> 16);
    }
  Execute("DFC 1 0x4B 0x6F 0x72 0x76 0x61 0x21 0x00 0xFF");  // "Korva!" and two bytes nowhere in memory
  std::string printed;
  const double bytes = Timed("F.B 0 $FFFFFF 1", printed);
  std::printf("find F.B 0 $FFFFFF: %.3f s, %.0f MB/s (aim: under 1 s); %s\n", bytes, 16.0 / bytes, printed.c_str());
  const double wide = Timed("F 0 $7FFFFFFF 1", printed);
  std::printf("find F 0 $7FFFFFFF (word steps): %.3f s; %s\n", wide, printed.c_str());
  return 0;
}
