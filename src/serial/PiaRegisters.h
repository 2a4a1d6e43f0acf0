// The four registers of a PIA, as the stand-ins keep them: port A and port B,
// each a data-direction/data register and a control register.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class PiaRegisters : public ProbedNamedRegisters<4> {
 public:
  uint8_t DDRxORA() { return Get(0, "DDRxORA"); }
  void DDRxORA(uint8_t v) { Set(0, "DDRxORA", v); }
  uint8_t CRA() { return Get(1, "CRA"); }
  void CRA(uint8_t v) { Set(1, "CRA", v); }
  uint8_t DDRxORB() { return Get(2, "DDRxORB"); }
  void DDRxORB(uint8_t v) { Set(2, "DDRxORB", v); }
  uint8_t CRB() { return Get(3, "CRB"); }
  void CRB(uint8_t v) { Set(3, "CRB", v); }
};

}  // namespace korva
