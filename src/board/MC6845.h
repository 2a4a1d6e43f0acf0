// The MC6845 CRT controller: an address register selecting one of R0-R17 and a
// data register reaching the selected one.
//
// Stand-in: the eighteen registers are stored; nothing is redrawn.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classMC6845 {
 public:
  uint8_t Addreg();
  void Addreg(uint8_t v);
  uint8_t Datareg();
  void Datareg(uint8_t v);

  DeviceProbe Probe;

 private:
  uint8_t address_ = 0;
  uint8_t regs_[18] = {};
};

extern classMC6845 Crtc;

}  // namespace korva
