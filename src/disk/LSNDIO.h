// The emulator's logical-sector disk port (F1A400-F1A41F): four 16-bit
// registers, word accesses only, register (address >> 1) AND 3.
//
// Stand-in: the registers are plain storage; no transfer runs.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classLSNDIO {
 public:
  uint16_t Reg(uint32_t index);
  void Reg(uint32_t index, uint16_t v);

  DeviceProbe Probe;

 private:
  uint16_t regs_[4] = {};
};

extern classLSNDIO LsnDio;

}  // namespace korva
