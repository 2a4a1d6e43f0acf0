#include "support/InstructionEncoder.h"

#include <cassert>

namespace korva::test::m68k {

uint16_t Ea::Mode() const {
  switch (K) {
    case DReg: return 0;
    case AReg: return 1;
    case Ind: return 2;
    case PostInc: return 3;
    case PreDec: return 4;
    case Disp: return 5;
    case Index: return 6;
    default: return 7;
  }
}

uint16_t Ea::RegField() const {
  switch (K) {
    case AbsW: return 0;
    case AbsL: return 1;
    case PcDisp: return 2;
    case PcIndex: return 3;
    case Imm: return 4;
    default: return Reg & 7;
  }
}

namespace {
// The brief extension word of the indexed modes.
uint16_t BriefWord(const Ea& ea, int8_t d) {
  return static_cast<uint16_t>((ea.IndexIsA ? 0x8000 : 0) | (ea.IndexReg & 7) << 12 | (ea.IndexLong ? 0x0800 : 0) |
                               (ea.Scale & 3) << 9 | static_cast<uint8_t>(d));
}
}  // namespace

void InstructionEncoder::Extension(const Ea& ea, Size size) {
  switch (ea.K) {
    case Ea::Disp: Word(static_cast<uint16_t>(ea.Disp16)); break;
    case Ea::Index: Word(BriefWord(ea, ea.Disp8)); break;
    case Ea::AbsW: Word(static_cast<uint16_t>(ea.Value)); break;
    case Ea::AbsL: Long(ea.Value); break;
    case Ea::PcDisp: {
      const int32_t d = static_cast<int32_t>(ea.Value - Pc());
      assert(d >= -32768 && d <= 32767);
      Word(static_cast<uint16_t>(d));
      break;
    }
    case Ea::PcIndex: {
      const int32_t d = static_cast<int32_t>(ea.Value - Pc());
      assert(d >= -128 && d <= 127);
      Word(BriefWord(ea, static_cast<int8_t>(d)));
      break;
    }
    case Ea::Imm:
      if (size == Size::Long)
        Long(ea.Value);
      else
        Word(static_cast<uint16_t>(size == Size::Byte ? ea.Value & 0xFF : ea.Value));
      break;
    default: break;
  }
}

void InstructionEncoder::OpWithEa(uint16_t opcode, const Ea& ea, Size size) {
  Word(static_cast<uint16_t>(opcode | ea.Field()));
  Extension(ea, size);
}

void InstructionEncoder::Move(Size s, const Ea& src, const Ea& dst) {
  const uint16_t sizeBits = s == Size::Byte ? 1 : s == Size::Word ? 3 : 2;
  Word(static_cast<uint16_t>(sizeBits << 12 | dst.RegField() << 9 | dst.Mode() << 6 | src.Field()));
  Extension(src, s);
  Extension(dst, s);
}

void InstructionEncoder::Moveq(int8_t value, int dn) {
  Word(static_cast<uint16_t>(0x7000 | dn << 9 | static_cast<uint8_t>(value)));
}

void InstructionEncoder::Movem(Size s, bool toRegisters, uint16_t mask, const Ea& ea) {
  Word(static_cast<uint16_t>(0x4880 | (toRegisters ? 0x0400 : 0) | (s == Size::Long ? 0x40 : 0) | ea.Field()));
  Word(mask);
  Extension(ea, s);
}

void InstructionEncoder::Movep(Size s, bool toMemory, int dn, int an, int16_t d) {
  const uint16_t opmode = static_cast<uint16_t>(4 | (toMemory ? 2 : 0) | (s == Size::Long ? 1 : 0));
  Word(static_cast<uint16_t>(0x0008 | dn << 9 | opmode << 6 | an));
  Word(static_cast<uint16_t>(d));
}

void InstructionEncoder::Lea(const Ea& ea, int an) { OpWithEa(static_cast<uint16_t>(0x41C0 | an << 9), ea); }
void InstructionEncoder::Pea(const Ea& ea) { OpWithEa(0x4840, ea); }

void InstructionEncoder::Exg(bool xIsA, int x, bool yIsA, int y) {
  // Data with data, address with address, or data (x) with address (y).
  const uint16_t mode = !xIsA && !yIsA ? 0x08 : xIsA && yIsA ? 0x09 : 0x11;
  Word(static_cast<uint16_t>(0xC100 | x << 9 | mode << 3 | y));
}

void InstructionEncoder::Ext(Size s, int dn) {
  Word(static_cast<uint16_t>((s == Size::Word ? 0x4880 : s == Size::Long ? 0x48C0 : 0x49C0) | dn));
}

void InstructionEncoder::Link(int an, int16_t d) {
  Word(static_cast<uint16_t>(0x4E50 | an));
  Word(static_cast<uint16_t>(d));
}

void InstructionEncoder::ToDn(uint16_t line, Size s, const Ea& src, int dn) {
  OpWithEa(static_cast<uint16_t>(line << 12 | dn << 9 | static_cast<uint16_t>(s) << 6), src, s);
}

void InstructionEncoder::FromDn(uint16_t line, Size s, int dn, const Ea& dst) {
  OpWithEa(static_cast<uint16_t>(line << 12 | dn << 9 | (4 + static_cast<uint16_t>(s)) << 6), dst, s);
}

void InstructionEncoder::ToAn(uint16_t line, Size s, const Ea& src, int an) {
  OpWithEa(static_cast<uint16_t>(line << 12 | an << 9 | (s == Size::Long ? 7 : 3) << 6), src, s);
}

void InstructionEncoder::Immediate(uint16_t base, Size s, uint32_t value, const Ea& dst) {
  Word(static_cast<uint16_t>(base | static_cast<uint16_t>(s) << 6 | dst.Field()));
  Extension(Ea::Immediate(value), s);
  Extension(dst, s);
}

void InstructionEncoder::Quick(bool sub, uint8_t value, Size s, const Ea& dst) {
  OpWithEa(static_cast<uint16_t>(0x5000 | (value & 7) << 9 | (sub ? 0x100 : 0) | static_cast<uint16_t>(s) << 6), dst);
}

void InstructionEncoder::Unary(uint16_t base, Size s, const Ea& ea) {
  OpWithEa(static_cast<uint16_t>(base | static_cast<uint16_t>(s) << 6), ea, s);
}

void InstructionEncoder::Extended(uint16_t line, Size s, bool memory, int y, int x) {
  Word(static_cast<uint16_t>(line << 12 | x << 9 | 0x100 | static_cast<uint16_t>(s) << 6 | (memory ? 8 : 0) | y));
}

void InstructionEncoder::Bcd(uint16_t line, bool memory, int y, int x) {
  Word(static_cast<uint16_t>(line << 12 | x << 9 | 0x100 | (memory ? 8 : 0) | y));
}

void InstructionEncoder::Cmpm(Size s, int ay, int ax) {
  Word(static_cast<uint16_t>(0xB108 | ax << 9 | static_cast<uint16_t>(s) << 6 | ay));
}

void InstructionEncoder::ShiftRegister(uint8_t kind, bool left, Size s, bool countInRegister, int count, int dn) {
  Word(static_cast<uint16_t>(0xE000 | (count & 7) << 9 | (left ? 0x100 : 0) | static_cast<uint16_t>(s) << 6 |
                             (countInRegister ? 0x20 : 0) | (kind & 3) << 3 | dn));
}

void InstructionEncoder::ShiftMemory(uint8_t kind, bool left, const Ea& ea) {
  OpWithEa(static_cast<uint16_t>(0xE0C0 | (kind & 3) << 9 | (left ? 0x100 : 0)), ea);
}

void InstructionEncoder::BitDynamic(uint8_t op, int dn, const Ea& ea) {
  OpWithEa(static_cast<uint16_t>(0x0100 | dn << 9 | (op & 3) << 6), ea);
}

void InstructionEncoder::BitStatic(uint8_t op, uint8_t bit, const Ea& ea) {
  Word(static_cast<uint16_t>(0x0800 | (op & 3) << 6 | ea.Field()));
  Word(bit);
  Extension(ea, Size::Byte);
}

void InstructionEncoder::MulDivWord(bool divide, bool isSigned, const Ea& src, int dn) {
  OpWithEa(static_cast<uint16_t>((divide ? 0x80C0 : 0xC0C0) | (isSigned ? 0x100 : 0) | dn << 9), src);
}

void InstructionEncoder::MulLong(bool isSigned, const Ea& src, int dl, int dh) {
  Word(static_cast<uint16_t>(0x4C00 | src.Field()));
  Word(static_cast<uint16_t>(dl << 12 | (isSigned ? 0x800 : 0) | (dh >= 0 ? 0x400 | dh : 0)));
  Extension(src, Size::Long);
}

void InstructionEncoder::DivLong(bool isSigned, bool dividend64, const Ea& src, int dq, int dr) {
  Word(static_cast<uint16_t>(0x4C40 | src.Field()));
  Word(static_cast<uint16_t>(dq << 12 | (isSigned ? 0x800 : 0) | (dividend64 ? 0x400 : 0) | dr));
  Extension(src, Size::Long);
}

void InstructionEncoder::Chk2Cmp2(bool chk, Size s, const Ea& bounds, bool isA, int reg) {
  Word(static_cast<uint16_t>(0x00C0 | static_cast<uint16_t>(s) << 9 | bounds.Field()));
  Word(static_cast<uint16_t>((isA ? 0x8000 : 0) | reg << 12 | (chk ? 0x800 : 0)));
  Extension(bounds, s);
}

void InstructionEncoder::Dbcc(Cond c, int dn, uint32_t target) {
  Word(static_cast<uint16_t>(0x50C8 | static_cast<uint16_t>(c) << 8 | dn));
  Word(static_cast<uint16_t>(target - Pc()));
}

uint32_t InstructionEncoder::BranchShortForward(Cond c) {
  const uint32_t at = Pc();
  Word(static_cast<uint16_t>(0x6000 | static_cast<uint16_t>(c) << 8));
  return at;
}

void InstructionEncoder::PatchBranch(uint32_t at, uint32_t target) {
  const int32_t d = static_cast<int32_t>(target - (at + 2));
  assert(d > 0 && d <= 127);
  Patch(at, static_cast<uint16_t>(words_[(at - origin_) / 2] | static_cast<uint8_t>(d)));
}

void InstructionEncoder::ImmediateToStatus(uint16_t base, bool toSr, uint16_t value) {
  Word(static_cast<uint16_t>(base | (toSr ? 0x7C : 0x3C)));
  Word(toSr ? value : static_cast<uint16_t>(value & 0xFF));
}

void InstructionEncoder::Movec(bool toControl, bool isA, int reg, uint16_t control) {
  Word(toControl ? 0x4E7B : 0x4E7A);
  Word(static_cast<uint16_t>((isA ? 0x8000 : 0) | reg << 12 | (control & 0xFFF)));
}

void InstructionEncoder::Moves(Size s, bool toMemory, bool isA, int reg, const Ea& ea) {
  Word(static_cast<uint16_t>(0x0E00 | static_cast<uint16_t>(s) << 6 | ea.Field()));
  Word(static_cast<uint16_t>((isA ? 0x8000 : 0) | reg << 12 | (toMemory ? 0x800 : 0)));
  Extension(ea, s);
}

}  // namespace korva::test::m68k
