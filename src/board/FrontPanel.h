// The front-panel display: two hexadecimal digits written by guest software
// through the front-panel window at 000A00-000A05.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"
#include "tables/Types.h"

namespace korva {

class classFrontPanel {
 public:
  // Only index 2 acts: bit 7 is a flag; bits 5-4 = 01 set the low digit to
  // NOT v AND 0xF, 10 the high digit. Other indexes are ignored.
  void Reg(uint32_t index, uint8_t v);
  uint8_t Reg(uint32_t /*index*/) const { return 0; }
  void Reset();  // blanks the display

  // -1 while a digit is blank.
  int16_t LowDigit() const { return low_; }
  int16_t HighDigit() const { return high_; }
  VBool Flag() const { return flag_; }

  DeviceProbe Probe;

 private:
  int16_t low_ = -1;
  int16_t high_ = -1;
  VBool flag_ = False;
};

extern classFrontPanel FrontPanel;

}  // namespace korva
