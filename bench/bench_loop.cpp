// Guest MIPS of a program run through the main loop (RunMachine) on all-RAM
// memory, until it stops in STOP.
//   bench_loop [n]          MOVE.L #n,D7; loop: ADD.L D1,D2; SUB.L D3,D4; EOR.L D5,D6;
//                           MOVE.L D2,D3; SUBQ.L #1,D7; BNE loop; STOP #$2700
//   bench_loop file.s19     an S-record image started through its reset vectors
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchHost.h"
#include "bus/Loaders.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "host/Host.h"

using namespace korva;

namespace {

void Put(uint32_t& at, uint16_t w) {
  CellOf(at).Data = w;
  at += 2;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string arg = argc > 1 ? argv[1] : "";
  const bool image = arg.find(".s19") != std::string::npos || arg.find(".S19") != std::string::npos;
  const uint32_t iterations = (argc > 1 && !image) ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 0)) : 20000000u;
  BenchHost host("bench_loop");
  SetHost(&host);
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
  Mmu.ResetMMU();
  BuildCpuTables(Cpu68010);
  Cpu.SR(0x2700);
  CpuAReg[7] = 0x8000;
  InstructionCount = 0;
  QuitRequested = False;
  if (image) {
    if (!LoadSrecFile(arg, False, False)) return 2;
    Cpu.Reset(false);
    const auto t0 = std::chrono::steady_clock::now();
    RunMachine();
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("bench_loop %s: %u instructions in %.3f s: %.1f guest MIPS (result %u)\n", arg.c_str(),
                static_cast<uint32_t>(InstructionCount), s, InstructionCount / s / 1e6, CellOf(0xFF0002).Data);
    SetHost(nullptr);
    return CellOf(0xFF0002).Data == 1 ? 0 : 1;
  }
  uint32_t at = 0x1000;
  for (uint16_t w : {uint16_t{0x2E3C}, static_cast<uint16_t>(iterations >> 16), static_cast<uint16_t>(iterations),
                     uint16_t{0xD481}, uint16_t{0x9883}, uint16_t{0xBB86}, uint16_t{0x2602}, uint16_t{0x5387},
                     uint16_t{0x66F4}, uint16_t{0x4E72}, uint16_t{0x2700}})
    Put(at, w);
  Cpu.Execute(0x1000);

  const auto t0 = std::chrono::steady_clock::now();
  RunMachine();
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  const double expected = 6.0 * iterations + 2;
  std::printf("bench_loop: %u instructions in %.3f s: %.1f guest MIPS (D7=%u, expected %.0f instructions)\n",
              static_cast<uint32_t>(InstructionCount), s, InstructionCount / s / 1e6, CpuDReg[7], expected);
  SetHost(nullptr);
  return CpuDReg[7] == 0 ? 0 : 1;
}
