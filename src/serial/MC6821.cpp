#include "serial/MC6821.h"

#include "serial/Consoles.h"
#include "shell/MainFormHooks.h"

namespace korva {

classMC6821 MVME410PIA1;
classMC6821 MVME410PIA2;

int classMC6821::Source(int side) const {
  if (number_ == 1) return side == A ? 12 : 13;
  if (number_ == 2) return side == A ? 14 : 15;
  return 0;
}

void classMC6821::SendToPrinter() {
  if (number_ != 1 && number_ != 2) return;
  // The window takes the byte and acknowledges it (AssertCA1) before it returns.
  if (PrinterConsoleWindow* w = PrinterForms[static_cast<size_t>(PrinterPort())]) w->Outchar(side_[A].OR);
}

void classMC6821::ManualC2Low(int side) {
  if (side == A) SendToPrinter();
}

uint8_t classMC6821::DDRxORA() {
  if (!side_[A].Cr.DataSelect) return side_[A].DDR;
  const uint8_t v = side_[A].OR;
  ClearIrqFlags(A);
  if (side_[A].Cr.C2Output && !side_[A].Cr.C2Bit4) SendToPrinter();  // handshake: the read strobes
  return v;
}

uint8_t classMC6821::ReadPortBInput() const {
  if (number_ != 1 && number_ != 2) return 0;
  PrinterConsoleWindow* w = PrinterForms[static_cast<size_t>(PrinterPort())];
  return w ? static_cast<uint8_t>(w->GetStatus() & 7) : 0;
}

uint8_t classMC6821::DDRxORB() {
  SideState& b = side_[B];
  if (!b.Cr.DataSelect) return b.DDR;
  b.IR = ReadPortBInput();
  const uint8_t v = static_cast<uint8_t>((b.OR & b.DDR) | (b.IR & ~b.DDR));
  ClearIrqFlags(B);
  return v;
}

void classMC6821::DDRxORB(uint8_t v) {
  SideState& b = side_[B];
  if (!b.Cr.DataSelect) {
    b.DDR = v;
    return;
  }
  b.OR = v;
  if (number_ == 1) {
    lamp_ = ToVBool(v & 0x80);
    MainForm->SetFailLights(3, lamp_);
  }
}

void classMC6821::AssertCA2() {
  if (!side_[A].Cr.C2Output) SetIrq2(A);
}

void classMC6821::AssertCB2() {
  if (!side_[B].Cr.C2Output) SetIrq2(B);
}

void classMC6821::Reset() {
  SideState& a = side_[A];
  a.DDR = a.OR = 0;
  a.IR = 0xFF;
  lamp_ = True;
  MainForm->SetFailLights(3, True);
  ResetControl(A);
  SideState& b = side_[B];
  b.DDR = b.OR = b.IR = 0;
  ResetControl(B);
}

std::string classMC6821::GetSetup() const {
  return DumpSide(A, side_[A].IR) + "\r\n" + DumpSide(B, ReadPortBInput());
}

}  // namespace korva
