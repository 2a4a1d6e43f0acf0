// The disassembler's speed: LIST lines per second over a mixed 64 KB of code
// (the assembler corpus of every MC68010 instruction, repeated), the opcode
// frequency walk FQ 0 $FFFFFE over 16 MB of it, and how soon a click on Abort
// (the debugger's abort flag set by a window event) ends that walk.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "BenchHost.h"
#include "BenchTiming.h"
#include "bus/Memory.h"
#include "cpu/Startup.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Disassembler.h"
#include "host/Host.h"
#include "tables/OpMap.h"
#include "tables/TextFormat.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

// Window events as a user clicking Abort once, clickAfter seconds into the walk.
class AbortHost final : public QuietHost {
 public:
  Clock::time_point Start{}, Clicked{};
  double ClickAfter = 1e9;
  uint64_t Pumps = 0;

  void PumpEvents() override {
    ++Pumps;
    if (!DebugAbort && SecondsSince(Start) >= ClickAfter) {
      Clicked = Clock::now();
      DebugAbort = True;
    }
  }
};

}  // namespace

int main() {
  const std::string corpusPath = std::string(KORVA_BENCH_DIR) + "/disasm_corpus_68010.bin";
  std::ifstream in(corpusPath, std::ios::binary);
  const std::vector<char> corpus((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (corpus.size() < 2) {
    std::fprintf(stderr, "bench_disasm: no corpus at %s\n", corpusPath.c_str());
    return 1;
  }
  BuildCpuTables(Cpu68010);
  // The corpus over the whole of memory, as RAM.
  for (uint32_t i = 0; i < RamCellCount; ++i) {
    const size_t at = (2 * static_cast<size_t>(i)) % (corpus.size() & ~size_t{1});
    RamArray[i] = MemoryCell{static_cast<uint16_t>((static_cast<uint8_t>(corpus[at]) << 8) | static_cast<uint8_t>(corpus[at + 1])),
                             DcRam, 0};
  }
  AbortHost host;
  SetHost(&host);

  // LIST: 255 lines a command, until the listing has passed 64 KB.
  uint64_t lines = 0;
  Clock::time_point t0 = Clock::now();
  for (int pass = 0; pass < 20; ++pass) {
    uint32_t at = 0x10000;
    while (at < 0x20000) {
      Execute("LIST $" + HexLong(at) + " 255");
      lines += 255;
      at = DebugAddress;
    }
  }
  const double listSeconds = SecondsSince(t0);
  std::printf("disassembler LIST: %.0f lines/s over a mixed 64 KB corpus (%llu lines)\n", lines / listSeconds,
              static_cast<unsigned long long>(lines));

  // FQ over all 16 MB.
  Execute("CFQ");
  host.Start = t0 = Clock::now();
  const std::string fq = Execute("FQ 0 $FFFFFE");
  const double fqSeconds = SecondsSince(t0);
  uint64_t counted = 0;
  for (const OpTextEntry& t : OpText) counted += t.Value;
  std::printf("disassembler FQ 0 $FFFFFE: %.2f s, %llu instructions (%.0f/s), %llu pumps; %s\n", fqSeconds,
              static_cast<unsigned long long>(counted), counted / fqSeconds, static_cast<unsigned long long>(host.Pumps),
              fq.substr(2, fq.size() - 4).c_str());

  // Abort clicked 100 ms into the walk.
  host.Pumps = 0;
  host.ClickAfter = 0.1;
  host.Start = Clock::now();
  Execute("FQ 0 $FFFFFE");
  const double latency = SecondsSince(host.Clicked);
  std::printf("disassembler FQ abort: ended %.2f ms after the click (aim: under 50 ms)\n", latency * 1000);
  SetHost(nullptr);
  return 0;
}
