// The loops of mix.s written in C, and their timing: the yardstick of
// bench_mix's native_ratio. This file is compiled at -O2 without link-time
// optimisation whatever the flags of the emulator's own build (bench/CMakeLists.txt),
// so that the yardstick stays the same when those flags change.
#include "native/MixNative.h"

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

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

}  // namespace

void FillNativeSource() {
  for (uint32_t i = 0; i < 1024; ++i) nativeSrc[i] = i * 2654435761u;
}

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
