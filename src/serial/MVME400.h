// The MVME400 dual serial card: a PIA (port A and B data-direction/data and
// control registers) and two serial channels, as eight byte registers.
//
// Stand-in: the PIA registers are stored; nothing is received and transmitted
// bytes go nowhere.
#pragma once
#include <cstdint>
#include "serial/PiaRegisters.h"

namespace korva {

class classMVME400 : public PiaRegisters {
 public:
  // 0 or 1: selects the card's cable ports, interrupt sources and lamp.
  void CardNumber(int16_t number) { cardNumber_ = number; }
  int16_t CardNumber() const { return cardNumber_; }

  // The PIA registers come from PiaRegisters; then the two serial channels.
  uint8_t RxDataA();
  uint8_t RxDataB();
  uint8_t StatusA();
  uint8_t StatusB();
  void TxDataA(uint8_t v);
  void TxDataB(uint8_t v);
  void ControlA(uint8_t v);
  void ControlB(uint8_t v);

  // Periodic service: transmitter-empty and receive interrupts, break and
  // line-change timers.
  void DoTxEandRxE();
  // Card reset: its PIA and both serial channels.
  void Reset();

  uint32_t PollCount = 0;  // DoTxEandRxE calls

 private:
  int16_t cardNumber_ = 0;
};

extern classMVME400 MVME400C0;
extern classMVME400 MVME400C1;

}  // namespace korva
