// A machine for the benchmarks' small guest loops: plain RAM with serial card
// 0's registers mapped, and a loop's words put in and started.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "serial/MVME400.h"

namespace korva {

// A fresh processor, cable and cards; every cell plain RAM but serial card 0's
// registers at their odd bytes; the MMU and card 0 reset.
inline void SerialCard0Machine() {
  ResetMachineState();
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
  for (uint32_t r = 0; r < 8; ++r) {
    CellOf(0xF1C1C0 + 2 * r).Device = static_cast<uint8_t>(DcMvme400C0 + r);
    CellOf(0xF1C1D0 + 2 * r).Device = static_cast<uint8_t>(DcMvme400C0 + r);
  }
  Mmu.ResetMMU();
  MVME400C0.Reset();
}

// The loop's words at 0x1000 on; the processor starts there in supervisor mode
// with interrupts masked and the stack at 0x8000, no instruction counted yet.
inline void StartGuestLoop(std::initializer_list<uint16_t> words) {
  uint32_t at = 0x1000;
  for (uint16_t w : words) {
    CellOf(at).Data = w;
    at += 2;
  }
  Cpu.SR(0x2700);
  CpuAReg[7] = 0x8000;
  InstructionCount = 0;
  QuitRequested = False;
  Cpu.Execute(0x1000);
}

}  // namespace korva
