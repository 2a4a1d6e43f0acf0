// The MC146818-type real-time clock with its CMOS RAM: 64 byte registers.
//
// Stand-in: the registers are plain storage; the clock does not run.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class class1468hc18 {
 public:
  uint8_t Reg(uint32_t index);
  void Reg(uint32_t index, uint8_t v);
  // Clears the interrupt enables (PIE, AIE, UIE), SQWE and the flags (IRQF, PF, AF, UF).
  void Reset();

  DeviceProbe Probe;

 private:
  uint8_t regs_[64] = {};
};

extern class1468hc18 Rtc;

}  // namespace korva
