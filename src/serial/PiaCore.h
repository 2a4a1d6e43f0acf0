// The control half of an MC6821 PIA, shared by the parallel board's two
// adapters and the PIA on each serial board: the two control registers as
// eight flags each, the interrupt flags IRQx1 and IRQx2 with their requests,
// the data-direction registers and the output latches. What the ports are
// wired to is the board's own (the derived classes).
#pragma once
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

// A control register, one flag per bit.
struct PiaControlFlags {
  VBool C1Enable = False;    // bit 0: C1 interrupt enable
  VBool C1Rising = False;    // bit 1: C1 edge (1 = rising)
  VBool DataSelect = False;  // bit 2: data (1) or direction (0) register
  VBool C2Bit3 = False;      // bit 3: C2 interrupt enable, or C2 output level
  VBool C2Bit4 = False;      // bit 4: C2 edge, or C2 output mode (1 = manual)
  VBool C2Output = False;    // bit 5: C2 direction (1 = output)
  VBool Irq2 = False;        // bit 6: IRQx2 flag
  VBool Irq1 = False;        // bit 7: IRQx1 flag
  uint8_t Byte() const;
  // "bbbbbbbb", bit 7 first.
  std::string Bits() const;
};

class classPiaCore {
 public:
  enum Side { A = 0, B = 1 };

  // Jumpers: the I/O-channel lines (1-4) of sides A and B. A pending request
  // moves to the new line; a value outside 1-4 keeps the old line.
  uint8_t IRQA() const { return side_[A].Line; }
  void IRQA(uint8_t v) { SetLine(A, v); }
  uint8_t IRQB() const { return side_[B].Line; }
  void IRQB(uint8_t v) { SetLine(B, v); }

  const PiaControlFlags& ControlA() const { return side_[A].Cr; }
  const PiaControlFlags& ControlB() const { return side_[B].Cr; }

 protected:
  explicit classPiaCore(uint8_t defaultLine) {
    side_[A].Line = side_[B].Line = defaultLine;
  }
  classPiaCore(const classPiaCore&) = default;
  classPiaCore& operator=(const classPiaCore&) = default;
  ~classPiaCore() = default;

  struct SideState {
    PiaControlFlags Cr;
    uint8_t DDR = 0;
    uint8_t OR = 0;  // output latch (port A of the parallel adapter: its one data byte)
    uint8_t IR = 0;  // input latch
    uint8_t Line = 1;
  };
  SideState side_[2];

  // The interrupt source id of a side (0: the side raises nothing).
  virtual int Source(int side) const = 0;
  // C2 of side A went low in manual output mode (a control write of bit 3
  // from 1 to 0 with bits 5 and 4 set). Nothing by default.
  virtual void ManualC2Low(int side) { (void)side; }

  // Control write in the steps of the chip: C2 direction (a change clears
  // IRQx2), C2 bits, the manual C2 pulse, then the C1 and select bits. The
  // flags stay.
  void ControlWrite(int side, uint8_t v);
  void SetIrq1(int side);
  void SetIrq2(int side);
  // The data read's clearing of both flags.
  void ClearIrqFlags(int side);
  // Reset of a side's control: bits 0-5 cleared, then IRQx2 and IRQx1.
  void ResetControl(int side);
  // Data register when selected, else the direction register.
  uint8_t& Selected(int side) { return side_[side].Cr.DataSelect ? side_[side].OR : side_[side].DDR; }
  // The request of a side: up while (IRQx1 and its enable) or (IRQx2 and CRx bit 3).
  void UpdateRequest(int side);

  // "CRA = ...", "DDRA = 0x..", "ORA  = 0x..", "IRA  = 0x..", "PIA IRQA = 0x.." with
  // the input byte given (and B likewise), each line ended by CR LF.
  std::string DumpSide(int side, uint8_t input) const;

 private:
  void SetLine(int side, uint8_t line);
};

}  // namespace korva
