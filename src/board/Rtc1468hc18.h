// The MC146818-type real-time clock with its CMOS RAM: 64 byte registers.
//
// Stand-in: the registers are plain storage; the clock does not run.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class class1468hc18 : public ProbedRegisterFile<uint8_t, 64> {
 public:
  // Clears the interrupt enables (PIE, AIE, UIE), SQWE and the flags (IRQF, PF, AF, UF).
  void Reset();
};

extern class1468hc18 Rtc;

}  // namespace korva
