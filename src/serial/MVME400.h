// The MVME400 dual serial card: a PIA (port A and B data-direction/data and
// control registers) and a 7201-type dual serial controller with channels A
// and B, as eight byte registers. Channel A of card 0 is cable port 0, B port
// 1; card 1's channels are ports 2 and 3. The controller has one interrupt
// request per card (source 4 or 8 on the line of the N7201Int jumper); the card
// has no clock of its own: the poll from the CPU loop turns waiting bytes, an
// empty transmitter and breaks into interrupt conditions.
//
// The board's PIA gives the guest the baud-rate switches and the DSR lines,
// turns DSR and RI changes into interrupts (CA1/CB1 carry NOT DSR, CA2/CB2 NOT
// RI of channels A and B) and drives the board's fail lamp (port A bit 4).
#pragma once
#include <cstdint>
#include <string>

#include "serial/Cable.h"
#include "serial/PiaCore.h"

namespace korva {

// One channel of the serial controller. Every field is 0 when the card is made.
struct SerialChannel {
  uint8_t Pointer = 0;   // register the next control write or status read selects
  uint8_t WR0 = 0;       // the last WR0 byte, its command (bits 5-3) and CRC code (7-6)
  uint8_t Command = 0;
  uint8_t CrcCode = 0;
  uint8_t WR[8] = {};    // WR1-WR7 as last written (index 0 unused)
  // Decoded from WR1: external/status, transmit interrupt enables, status
  // affects vector (channel B), receive interrupt mode (0 off).
  VBool ExtIE = False;
  VBool TxIE = False;
  VBool StatusAffectsVector = False;
  uint8_t RxIntMode = 0;
  // Decoded from WR2 of channel A: priority select and vector mode.
  VBool PrioritySelect = False;
  uint8_t VectorMode = 0;
  VBool RxEnable = False;  // WR3 bit 0
  VBool TxEnable = False;  // WR5 bit 3
  VBool TxE = False;       // transmit buffer empty
  VBool TxIntHeld = False;  // Reset Tx Interrupt Pending until the next byte
  VBool RxCondition = False;  // a received byte noticed and not yet read
  VBool ExtCondition = False;
  VBool BreakBit = False;
  VBool BreakStart = False;
  VBool BreakEnd = False;
  int16_t BreakHold = 0;
  uint8_t LastTx = 0;
  VBool IntPending = False;  // RR0 bit 1; only channel A's is ever set
};

class classMVME400 : public classPiaCore, public CableCard {
 public:
  classMVME400() : classPiaCore(4) {}

  // 0 or 1: selects the card's cable ports, interrupt sources and lamp; other
  // values change nothing.
  void CardNumber(int16_t number);
  int16_t CardNumber() const { return cardNumber_; }

  // The PIA's registers: control A and B, port A and B (data when the control
  // register selects it, else direction).
  uint8_t CRA() const { return side_[A].Cr.Byte(); }
  void CRA(uint8_t v) { ControlWrite(A, v); }
  uint8_t CRB() const { return side_[B].Cr.Byte(); }
  void CRB(uint8_t v) { ControlWrite(B, v); }
  uint8_t DDRxORA();
  void DDRxORA(uint8_t v);
  uint8_t DDRxORB();
  void DDRxORB(uint8_t v) { Selected(B) = v; }

  // The serial registers: receive data, status (RR0-RR7 by the pointer),
  // transmit data, control (WR0-WR7 by the pointer).
  uint8_t RxDataA() { return RxData(a_, 0); }
  uint8_t RxDataB() { return RxData(b_, 1); }
  uint8_t StatusA() { return Status(a_, 0); }
  uint8_t StatusB() { return Status(b_, 1); }
  void TxDataA(uint8_t v) { TxData(a_, 0, v); }
  void TxDataB(uint8_t v) { TxData(b_, 1, v); }
  void ControlA(uint8_t v) { Control(a_, 0, v); }
  void ControlB(uint8_t v) { Control(b_, 1, v); }

  // Line changes of the cable's ports, told before the cable stores the new
  // value: DCD and CTS raise an external/status condition; a break starts or
  // ends; DSR and RI are edges on the PIA's C1 and C2 pins.
  void DCDChangedA(VBool) override { ExternalStatus(a_); }
  void DCDChangedB(VBool) override { ExternalStatus(b_); }
  void CTSChangedA(VBool) override { ExternalStatus(a_); }
  void CTSChangedB(VBool) override { ExternalStatus(b_); }
  void BreakChangedA(VBool state) override { BreakChanged(a_, state); }
  void BreakChangedB(VBool state) override { BreakChanged(b_, state); }
  void DSRChangedA(VBool state) override { PinEdge(A, true, state); }
  void DSRChangedB(VBool state) override { PinEdge(B, true, state); }
  void RIChangedA(VBool state) override { PinEdge(A, false, state); }
  void RIChangedB(VBool state) override { PinEdge(B, false, state); }

  // The poll: transmitter-empty and receive conditions, then the break latches,
  // channel A before B.
  void DoTxEandRxE();
  // Card reset: its PIA (lamp on, baud select kept), then channel A, then
  // channel B.
  void Reset();
  // The register dump of the debugger's M400C0 and M400C1 commands. It changes
  // nothing (the vector shown is the one an RR2B read would give now).
  std::string GetSetup() const;

  // Jumpers: interrupt lines (1-4) of the serial controller and of the PIA's
  // sides A and B; a pending request moves to the new line, a value outside
  // 1-4 keeps the old line. Baud-rate indexes of channels A and B (0-7: 110,
  // 300, 1200, 2400, 4800, 7200, 9600, 19200 baud; only the low three bits are kept).
  uint8_t N7201Int() const { return n7201Int_; }
  void N7201Int(uint8_t v);
  uint8_t BaudA() const { return baudA_; }
  void BaudA(uint8_t v) { baudA_ = v & 7; }
  uint8_t BaudB() const { return baudB_; }
  void BaudB(uint8_t v) { baudB_ = v & 7; }

  const SerialChannel& ChannelA() const { return a_; }
  const SerialChannel& ChannelB() const { return b_; }
  // The serial controller's interrupt source id (4 card 0, 8 card 1).
  int SerialSource() const { return cardNumber_ == 1 ? 8 : 4; }
  // The fail lamp's state (port A bit 4 as last written; on after reset).
  VBool Lamp() const { return lamp_; }
  // Port A's input pins now: the chosen baud switch, the lamp, NOT DSR of both ports.
  uint8_t PortAInput() const;

  uint32_t PollCount = 0;  // DoTxEandRxE calls

 protected:
  int Source(int side) const override { return side == A ? (cardNumber_ == 1 ? 9 : 5) : (cardNumber_ == 1 ? 10 : 6); }

 private:
  // DSR (C1) or RI (C2) of a channel changed: its pin is NOT the new state; the
  // edge the control register chooses sets the flag.
  void PinEdge(int side, bool dsr, VBool state);
  void PiaReset();
  uint8_t RR0(const SerialChannel& c, int side) const;
  // The code of the highest pending condition (7: none) and the vector an RR2B
  // read gives with it.
  uint8_t VectorCode() const;
  uint8_t VectorFor(uint8_t code) const;
  std::string DumpChannel(const SerialChannel& c, int side) const;

  int16_t Port(int side) const { return static_cast<int16_t>(cardNumber_ * 2 + side); }
  uint8_t RxData(SerialChannel& c, int side);
  uint8_t Status(SerialChannel& c, int side);
  void TxData(SerialChannel& c, int side, uint8_t v);
  void Control(SerialChannel& c, int side, uint8_t v);
  void WriteRegister(SerialChannel& c, int side, uint8_t reg, uint8_t v);
  void ChannelReset(SerialChannel& c, int side);
  uint8_t Vector();
  void ExternalStatus(SerialChannel& c);
  void BreakChanged(SerialChannel& c, VBool state);
  void PollChannel(SerialChannel& c, int side);
  void PollBreak(SerialChannel& c);

  // A channel wants an interrupt: an enabled receive, external/status or
  // transmit condition.
  static bool HasCondition(const SerialChannel& c);
  void RaiseRequest();
  // Up while either channel has a condition, down otherwise.
  void UpdateRequest();

  SerialChannel a_, b_;
  int16_t cardNumber_ = 0;
  uint8_t n7201Int_ = 4, baudA_ = 6, baudB_ = 6;
  VBool baudSelect_ = False;  // port A bit 3: BaudB on the input pins
  VBool lamp_ = False;
};

extern classMVME400 MVME400C0;
extern classMVME400 MVME400C1;

}  // namespace korva
