// The MC6821 PIA; the MVME410 parallel card carries two of them.
//
// Stand-in: the four registers are plain storage; no printer is driven.
#pragma once
#include <cstdint>
#include "serial/PiaRegisters.h"

namespace korva {

class classMC6821 : public PiaRegisters {
 public:
  // 1 or 2: the PIA's number on the card (its printer port and interrupt sources).
  void Number(uint8_t number) { number_ = number; }
  uint8_t Number() const { return number_; }

  // Both sides to their power-on state, interrupt requests withdrawn.
  void Reset();

  // Jumpers: interrupt lines of the A and B sides.
  uint8_t IRQA() const { return irqA_; }
  void IRQA(uint8_t v) { irqA_ = v; }
  uint8_t IRQB() const { return irqB_; }
  void IRQB(uint8_t v) { irqB_ = v; }

 private:
  uint8_t number_ = 0;
  uint8_t irqA_ = 1, irqB_ = 1;
};

extern classMC6821 MVME410PIA1;
extern classMC6821 MVME410PIA2;

}  // namespace korva
