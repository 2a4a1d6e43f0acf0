// Cost of the screen's work: one display-RAM character written through the bus
// in 25 and 50 text rows, a whole-screen merge per merge mode, and the
// regeneration of the graphics layer from the 600-line planes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/Memory.h"
#include "bus/Rom.h"

using namespace korva;

namespace {

// A screen with a font, text shown and every cell filled.
void SetUpText(uint8_t mode) {
  InitScmState();
  InitScreenState();
  SetMemMap(0xF17000, 0xF18FFF, DcDisplayRam);
  for (int g = 0; g < 128; ++g)
    for (int r = 0; r < 12; ++r) ScmCharGenRam[g * 16 + r] = static_cast<uint8_t>(g * 7 + r * 13);
  ScreenMergeMode = 1;
  ScreenMode = mode;
  for (uint32_t i = 0; i < 4000; ++i) Scm.DisplayRam(i, static_cast<uint16_t>(0x4700 | (i & 0x7F)));
}

// One cell written with alternating characters, so that every write redraws it.
void CharWrite(benchmark::State& state, uint8_t mode) {
  SetUpText(mode);
  uint16_t v = 0x4741;
  for (auto _ : state) {
    WriteMemory(0xF17000 + 2 * 81, False, v, False);
    v ^= 0x0003;
  }
  benchmark::DoNotOptimize(ScreenImage[0]);
}
void BM_CharWrite25Rows(benchmark::State& state) { CharWrite(state, 1); }
void BM_CharWrite50Rows(benchmark::State& state) { CharWrite(state, 2); }
BENCHMARK(BM_CharWrite25Rows);
BENCHMARK(BM_CharWrite50Rows);

// The whole 800 x 600 merge in merge mode range(0); range(1) = 1 for monochrome.
void BM_ReMergeScreen(benchmark::State& state) {
  SetUpText(2);
  GraphRedOn = GraphGreenOn = True;
  ScmIVS = True;
  for (int i = 0; i < ScreenPixels; i += 7) ScreenBuffer[i].GraphRGB = 0x00FF00;
  ScreenMergeMode = static_cast<uint8_t>(state.range(0));
  SrSW1 = state.range(1) ? True : False;
  for (auto _ : state) Screen.ReMergeScreen();
  benchmark::DoNotOptimize(ScreenImage[1234]);
  state.SetItemsProcessed(state.iterations() * ScreenPixels);
}
BENCHMARK(BM_ReMergeScreen)->Args({1, 0})->Args({3, 0})->Args({7, 0})->Args({3, 1})->Unit(benchmark::kMicrosecond);

// The three 600-line planes rewritten through the bus. range(0) = 1 flips every
// plane bit between runs, so that every pixel changes; 0 leaves the layer as it is.
void BM_RedrawGraphics(benchmark::State& state) {
  InitScmState();
  InitScreenState();
  SetMemMap(0x030000, 0x05FFFF, DcRam);
  MapGraphicsPlanes1();
  ScmHires = True;
  ScmGoffset = 0x32;
  GraphRedOn = GraphGreenOn = GraphBlueOn = True;
  ScreenMergeMode = 2;
  for (uint32_t a = 0x030000; a < 0x060000; a += 2) CellOf(a).Data = static_cast<uint16_t>(a * 2654435761u >> 7);
  const bool flip = state.range(0) != 0;
  for (auto _ : state) {
    if (flip) {
      state.PauseTiming();
      for (uint32_t a = 0x030000; a < 0x060000; a += 2) CellOf(a).Data = static_cast<uint16_t>(~CellOf(a).Data);
      state.ResumeTiming();
    }
    Screen.RedrawGraphics();
  }
  benchmark::DoNotOptimize(ScreenImage[4321]);
}
BENCHMARK(BM_RedrawGraphics)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
