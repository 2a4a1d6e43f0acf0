// Cost of one physical RAM or ROM access through ReadMemory / WriteMemory,
// beside a plain array access of the same shape for scale.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "bus/Memory.h"

using namespace korva;

namespace {

constexpr uint32_t Accesses = 1u << 26;

template <typename F>
double NanosPerAccess(F&& body) {
  body(Accesses / 16);  // warm up
  const auto t0 = std::chrono::steady_clock::now();
  body(Accesses);
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::nano>(t1 - t0).count() / Accesses;
}

volatile uint32_t sink;

}  // namespace

int main() {
  BuildMemoryMap();
  // Walk 256 KB of RAM (010000-04FFFF) or the 64 KB ROM overlay, word by word.
  const double readWord = NanosPerAccess([](uint32_t n) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) sum += ReadMemory(0x010000 + ((i * 2) & 0x3FFFE), False);
    sink = sum;
  });
  const double readByte = NanosPerAccess([](uint32_t n) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) sum += ReadMemory(0x010000 + (i & 0x3FFFF), True);
    sink = sum;
  });
  const double readRom = NanosPerAccess([](uint32_t n) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) sum += ReadMemory((i * 2) & 0xFFFE, False);
    sink = sum;
  });
  const double writeWord = NanosPerAccess([](uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) WriteMemory(0x010000 + ((i * 2) & 0x3FFFE), False, static_cast<uint16_t>(i), False);
  });
  const double writeByte = NanosPerAccess([](uint32_t n) {
    for (uint32_t i = 0; i < n; ++i) WriteMemory(0x010000 + (i & 0x3FFFF), True, static_cast<uint16_t>(i), False);
  });
  std::vector<uint16_t> plain(0x20000);
  const double plainRead = NanosPerAccess([&](uint32_t n) {
    uint32_t sum = 0;
    for (uint32_t i = 0; i < n; ++i) sum += plain[i & 0x1FFFF];
    sink = sum;
  });

  std::printf("memory access, ns per access (%u accesses each)\n", Accesses);
  std::printf("  ReadMemory  RAM word   %6.3f\n", readWord);
  std::printf("  ReadMemory  RAM byte   %6.3f\n", readByte);
  std::printf("  ReadMemory  ROM word   %6.3f\n", readRom);
  std::printf("  WriteMemory RAM word   %6.3f\n", writeWord);
  std::printf("  WriteMemory RAM byte   %6.3f\n", writeByte);
  std::printf("  plain array word read  %6.3f\n", plainRead);
  return 0;
}
