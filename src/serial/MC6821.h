// The MC6821 PIA; the MVME410 parallel board carries two of them. PIA 1 drives
// the printer console of port 8, PIA 2 that of port 9: port A carries the
// character, CA2 strobes it, the printer acknowledges on CA1, port B bits 0-2
// read its status. Port B bit 7 of PIA 1 lights the board's fail lamp.
#pragma once
#include <cstdint>
#include <string>

#include "serial/PiaCore.h"

namespace korva {

class classMC6821 : public classPiaCore {
 public:
  classMC6821() : classPiaCore(1) {}

  // 1 or 2: the PIA's number on the board (its printer port 8 or 9, interrupt
  // sources 12/13 or 14/15, the lamp for 1). 0 until start-up numbers it.
  void Number(uint8_t number) { number_ = number; }
  uint8_t Number() const { return number_; }

  // The registers: control A and B, and port A and B (data when the control
  // register selects it, else direction). A port-A data read clears both A
  // flags and, with CA2 in handshake mode, strobes the byte to the printer.
  uint8_t CRA() const { return side_[A].Cr.Byte(); }
  void CRA(uint8_t v) { ControlWrite(A, v); }
  uint8_t CRB() const { return side_[B].Cr.Byte(); }
  void CRB(uint8_t v) { ControlWrite(B, v); }
  uint8_t DDRxORA();
  void DDRxORA(uint8_t v) { Selected(A) = v; }
  uint8_t DDRxORB();
  void DDRxORB(uint8_t v);

  // The peripheral's edges: C1 sets IRQx1; C2 sets IRQx2 while C2 is an input.
  void AssertCA1() { SetIrq1(A); }
  void AssertCB1() { SetIrq1(B); }
  void AssertCA2();
  void AssertCB2();
  // A peripheral driving port A: the port's data byte.
  void SendInputToPortA(uint8_t byte) { side_[A].OR = byte; }
  // The printer's status bits 0-2; 0 without a printer window.
  uint8_t ReadPortBInput() const;

  // Both sides to their reset state, requests withdrawn, the board's lamp on.
  void Reset();
  // The register dump of the debugger's M410 command.
  std::string GetSetup() const;
  // The state last given to the board's fail lamp (PIA 1).
  VBool Lamp() const { return lamp_; }

 protected:
  int Source(int side) const override;
  void ManualC2Low(int side) override;

 private:
  int16_t PrinterPort() const { return number_ == 2 ? 9 : 8; }
  void SendToPrinter();

  uint8_t number_ = 0;
  VBool lamp_ = False;
};

extern classMC6821 MVME410PIA1;
extern classMC6821 MVME410PIA2;

}  // namespace korva
