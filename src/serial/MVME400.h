// The MVME400 dual serial card: a PIA (port A and B data-direction/data and
// control registers) and two serial channels, as eight byte registers.
//
// Stand-in: the PIA registers are stored; nothing is received and transmitted
// bytes go nowhere.
#pragma once
#include <cstdint>
#include "serial/Cable.h"
#include "serial/PiaRegisters.h"

namespace korva {

class classMVME400 : public PiaRegisters, public CableCard {
 public:
  // Line changes of the cable's ports (channel A or B), told before the cable
  // stores the new value.
  void DCDChangedA(VBool) override {}
  void DCDChangedB(VBool) override {}
  void CTSChangedA(VBool) override {}
  void CTSChangedB(VBool) override {}
  void BreakChangedA(VBool) override {}
  void BreakChangedB(VBool) override {}
  void DSRChangedA(VBool) override {}
  void DSRChangedB(VBool) override {}
  void RIChangedA(VBool) override {}
  void RIChangedB(VBool) override {}

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

  // Jumpers: interrupt lines of the serial controller and of channels A and B,
  // baud-rate indexes of channels A and B (0-7: 110, 300, 1200, 2400, 4800,
  // 7200, 9600, 19200 baud; only the low three bits are kept).
  uint8_t N7201Int() const { return n7201Int_; }
  void N7201Int(uint8_t v) { n7201Int_ = v; }
  uint8_t IRQA() const { return irqA_; }
  void IRQA(uint8_t v) { irqA_ = v; }
  uint8_t IRQB() const { return irqB_; }
  void IRQB(uint8_t v) { irqB_ = v; }
  uint8_t BaudA() const { return baudA_; }
  void BaudA(uint8_t v) { baudA_ = v & 7; }
  uint8_t BaudB() const { return baudB_; }
  void BaudB(uint8_t v) { baudB_ = v & 7; }

  uint32_t PollCount = 0;  // DoTxEandRxE calls

 private:
  int16_t cardNumber_ = 0;
  uint8_t n7201Int_ = 4, irqA_ = 4, irqB_ = 4, baudA_ = 6, baudB_ = 6;
};

extern classMVME400 MVME400C0;
extern classMVME400 MVME400C1;

}  // namespace korva
