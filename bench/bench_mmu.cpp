// Cost of one MMU translation on the paths every bus cycle takes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"

using namespace korva;

namespace {

// Identity after a reset: every access hits descriptor 0 in the read cache.
void BM_TranslateIdentityHit(benchmark::State& state) {
  Mmu.ResetMMU();
  uint32_t logical = 0x1000;
  uint32_t physical = 0;
  for (auto _ : state) {
    Mmu.TranslateAddress(logical, 6, False, physical);
    benchmark::DoNotOptimize(physical);
    logical = (logical + 2) & 0xFFFFFEu;
  }
}
BENCHMARK(BM_TranslateIdentityHit);

// A programmed segment, reads and writes alternating: both caches hit.
void BM_TranslateSegmentHit(benchmark::State& state) {
  Mmu.ResetMMU();
  Mmu.AccessMMU(2 * 1, 1);  // function code 1 -> address space 1
  Mmu.AccessMMU(0x29, 1);   // DP
  const uint8_t acc[] = {0x00, 0x10, 0xFF, 0xF0, 0x02, 0x00, 0x01, 0x01, 0xFF};
  for (uint32_t i = 0; i < sizeof acc; ++i) Mmu.AccessMMU(0x20 + i, acc[i]);
  if (Mmu.AccessMMU(0x3F) != 0) state.SkipWithError("descriptor load refused");
  uint32_t logical = 0x1000;
  uint32_t physical = 0;
  VBool write = False;
  for (auto _ : state) {
    Mmu.TranslateAddress(logical, 1, write, physical);
    benchmark::DoNotOptimize(physical);
    logical = 0x1000 | ((logical + 2) & 0xFFEu);
    write = static_cast<VBool>(~write);
  }
}
BENCHMARK(BM_TranslateSegmentHit);

}  // namespace

BENCHMARK_MAIN();
