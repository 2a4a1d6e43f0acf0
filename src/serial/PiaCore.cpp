#include "serial/PiaCore.h"

#include "bus/Exceptions.h"
#include "tables/TextFormat.h"

namespace korva {

uint8_t PiaControlFlags::Byte() const {
  const VBool bits[8] = {C1Enable, C1Rising, DataSelect, C2Bit3, C2Bit4, C2Output, Irq2, Irq1};
  uint8_t v = 0;
  for (int i = 0; i < 8; ++i)
    if (bits[i]) v |= static_cast<uint8_t>(1u << i);
  return v;
}

std::string PiaControlFlags::Bits() const {
  const uint8_t v = Byte();
  std::string s;
  for (int i = 7; i >= 0; --i) s += (v >> i) & 1 ? '1' : '0';
  return s;
}

void classPiaCore::SetLine(int side, uint8_t line) {
  SideState& s = side_[side];
  if (line < 1 || line > 4 || line == s.Line) return;
  const int source = Source(side);
  const bool pending = source > 0 && Exceptions.IsIocIP(s.Line, source);
  if (pending) Exceptions.ClrIocIP(s.Line, source);
  s.Line = line;
  if (pending) Exceptions.SetIocIP(s.Line, source);
}

// Recomputed at every change of a flag or an enable, so that clearing one
// flag keeps the request of the other, and masking an enable withdraws it.
void classPiaCore::UpdateRequest(int side) {
  const int source = Source(side);
  if (source <= 0) return;
  const PiaControlFlags& cr = side_[side].Cr;
  if ((cr.Irq1 && cr.C1Enable) || (cr.Irq2 && cr.C2Bit3))
    Exceptions.SetIocIP(side_[side].Line, source);
  else
    Exceptions.ClrIocIP(side_[side].Line, source);
}

void classPiaCore::SetIrq1(int side) {
  side_[side].Cr.Irq1 = True;
  UpdateRequest(side);
}

void classPiaCore::SetIrq2(int side) {
  side_[side].Cr.Irq2 = True;
  UpdateRequest(side);
}

void classPiaCore::ClearIrqFlags(int side) {
  side_[side].Cr.Irq1 = side_[side].Cr.Irq2 = False;
  UpdateRequest(side);
}

void classPiaCore::ControlWrite(int side, uint8_t v) {
  PiaControlFlags& cr = side_[side].Cr;
  const VBool output = ToVBool(v & 0x20);
  if (output != cr.C2Output) {
    cr.C2Output = output;
    cr.Irq2 = False;
  }
  const VBool oldBit3 = cr.C2Bit3;
  cr.C2Bit3 = ToVBool(v & 0x08);
  cr.C2Bit4 = ToVBool(v & 0x10);
  if (cr.C2Output && cr.C2Bit4 && oldBit3 && !cr.C2Bit3) ManualC2Low(side);
  cr.DataSelect = ToVBool(v & 0x04);
  cr.C1Rising = ToVBool(v & 0x02);
  cr.C1Enable = ToVBool(v & 0x01);
  UpdateRequest(side);
}

void classPiaCore::ResetControl(int side) {
  PiaControlFlags& cr = side_[side].Cr;
  cr.C1Enable = cr.C1Rising = cr.DataSelect = cr.C2Bit3 = cr.C2Bit4 = cr.C2Output = False;
  ClearIrqFlags(side);
}

std::string classPiaCore::DumpSide(int side, uint8_t input) const {
  const SideState& s = side_[side];
  const char x = side == A ? 'A' : 'B';
  std::string t;
  t += std::string("CR") + x + " = " + s.Cr.Bits() + "\r\n";
  t += std::string("DDR") + x + " = 0x" + HexByte(s.DDR) + "\r\n";
  t += std::string("OR") + x + "  = 0x" + HexByte(s.OR) + "\r\n";
  t += std::string("IR") + x + "  = 0x" + HexByte(input) + "\r\n";
  t += std::string("PIA IRQ") + x + " = 0x" + HexByte(s.Line) + "\r\n";
  return t;
}

}  // namespace korva
