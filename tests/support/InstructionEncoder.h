// A small encoder of MC68000-family instructions into machine words, for tests
// that write guest code at run time (the random blocks of tests/unit/cpu).
// It covers the forms those tests use and checks nothing beyond the field
// widths: the caller picks operands the instruction accepts.
//
//   using namespace korva::test::m68k;
//   InstructionEncoder code(0x10000);
//   const uint32_t loop = code.Pc();
//   code.Move(Size::Long, Ea::Post(0), Ea::Pre(1));   // MOVE.L (A0)+,-(A1)
//   code.Dbcc(Cond::False, 2, loop);                   // DBRA D2,loop
//   for (uint16_t w : code.Words()) ...                // the words from code.Origin() on
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace korva::test::m68k {

enum class Size : uint8_t { Byte = 0, Word = 1, Long = 2 };
inline uint32_t Bytes(Size s) { return s == Size::Byte ? 1u : s == Size::Word ? 2u : 4u; }

// Condition codes of Bcc, DBcc and Scc.
enum class Cond : uint8_t { True, False, Hi, Ls, Cc, Cs, Ne, Eq, Vc, Vs, Pl, Mi, Ge, Lt, Gt, Le };

// An effective address: its mode and register fields and what its extension
// words hold. PC-relative forms keep their target, measured when encoded.
struct Ea {
  enum Kind : uint8_t { DReg, AReg, Ind, PostInc, PreDec, Disp, Index, AbsW, AbsL, PcDisp, PcIndex, Imm };
  Kind K = DReg;
  uint8_t Reg = 0;
  int32_t Disp16 = 0;       // Disp, PcDisp (as target for PcDisp: see Target)
  int8_t Disp8 = 0;         // Index, PcIndex
  bool IndexIsA = false;    // Index, PcIndex: the index register is An
  uint8_t IndexReg = 0;
  bool IndexLong = false;   // .L index, else .W (sign-extended)
  uint8_t Scale = 0;        // 0-3: index times 1, 2, 4, 8 (CPU32)
  uint32_t Value = 0;       // AbsW, AbsL address; Imm value; PcDisp / PcIndex target

  static Ea D(int n) { return {DReg, static_cast<uint8_t>(n)}; }
  static Ea A(int n) { return {AReg, static_cast<uint8_t>(n)}; }
  static Ea Indirect(int n) { return {Ind, static_cast<uint8_t>(n)}; }
  static Ea Post(int n) { return {PostInc, static_cast<uint8_t>(n)}; }
  static Ea Pre(int n) { return {PreDec, static_cast<uint8_t>(n)}; }
  static Ea Displaced(int n, int16_t d) {
    Ea e{Disp, static_cast<uint8_t>(n)};
    e.Disp16 = d;
    return e;
  }
  static Ea Indexed(int n, int8_t d, bool indexIsA, int x, bool indexLong, uint8_t scale = 0) {
    Ea e{Index, static_cast<uint8_t>(n)};
    e.Disp8 = d;
    e.IndexIsA = indexIsA;
    e.IndexReg = static_cast<uint8_t>(x);
    e.IndexLong = indexLong;
    e.Scale = scale;
    return e;
  }
  static Ea AbsShort(uint16_t address) {
    Ea e{AbsW};
    e.Value = address;
    return e;
  }
  static Ea AbsLong(uint32_t address) {
    Ea e{AbsL};
    e.Value = address;
    return e;
  }
  // d16(PC) reaching `target`.
  static Ea PcRelative(uint32_t target) {
    Ea e{PcDisp};
    e.Value = target;
    return e;
  }
  // d8(PC,Xn): `target` is the address without the index (the extension word's
  // address plus d8); the index is added by the processor.
  static Ea PcIndexed(uint32_t target, bool indexIsA, int x, bool indexLong) {
    Ea e{PcIndex};
    e.Value = target;
    e.IndexIsA = indexIsA;
    e.IndexReg = static_cast<uint8_t>(x);
    e.IndexLong = indexLong;
    return e;
  }
  static Ea Immediate(uint32_t v) {
    Ea e{Imm};
    e.Value = v;
    return e;
  }

  uint16_t Mode() const;
  uint16_t RegField() const;
  // The six-bit mode and register field of an opcode.
  uint16_t Field() const { return static_cast<uint16_t>(Mode() << 3 | RegField()); }
  bool IsMemory() const { return K != DReg && K != AReg && K != Imm; }
};

class InstructionEncoder {
 public:
  explicit InstructionEncoder(uint32_t origin) : origin_(origin) {}
  uint32_t Origin() const { return origin_; }
  // The address of the next word.
  uint32_t Pc() const { return origin_ + 2 * static_cast<uint32_t>(words_.size()); }
  const std::vector<uint16_t>& Words() const { return words_; }
  // The word at `address` (written before), for patching a branch.
  void Patch(uint32_t address, uint16_t word) { words_[(address - origin_) / 2] = word; }
  uint16_t At(uint32_t address) const { return words_[(address - origin_) / 2]; }
  // Drops the words from `address` on (an instruction given up).
  void Truncate(uint32_t address) { words_.resize((address - origin_) / 2); }

  void Word(uint16_t w) { words_.push_back(w); }
  void Long(uint32_t v) {
    Word(static_cast<uint16_t>(v >> 16));
    Word(static_cast<uint16_t>(v));
  }
  // An opcode whose low six bits are ea's field, then ea's extension words.
  void OpWithEa(uint16_t opcode, const Ea& ea, Size size = Size::Word);
  // The extension words of ea (an immediate of `size`).
  void Extension(const Ea& ea, Size size);

  // ---- Moves ----
  void Move(Size s, const Ea& src, const Ea& dst);  // MOVE and MOVEA (dst An)
  void Moveq(int8_t value, int dn);
  void Movem(Size s, bool toRegisters, uint16_t mask, const Ea& ea);  // mask as the instruction holds it
  void Movep(Size s, bool toMemory, int dn, int an, int16_t d);
  void Lea(const Ea& ea, int an);
  void Pea(const Ea& ea);
  void Exg(bool xIsA, int x, bool yIsA, int y);
  void Swap(int dn) { Word(static_cast<uint16_t>(0x4840 | dn)); }
  void Ext(Size s, int dn);  // EXT.W (Word), EXT.L (Long), EXTB.L (Byte)
  void Link(int an, int16_t d);
  void Unlk(int an) { Word(static_cast<uint16_t>(0x4E58 | an)); }

  // ---- Arithmetic and logic. `line` is the opcode's top nibble: 0x8 OR, 0x9
  // SUB, 0xB CMP/EOR, 0xC AND, 0xD ADD.
  void ToDn(uint16_t line, Size s, const Ea& src, int dn);      // op <ea>,Dn
  void FromDn(uint16_t line, Size s, int dn, const Ea& dst);    // op Dn,<ea> (EOR with line 0xB)
  void ToAn(uint16_t line, Size s, const Ea& src, int an);      // ADDA, SUBA, CMPA (.W or .L)
  // ORI 0x0000, ANDI 0x0200, SUBI 0x0400, ADDI 0x0600, EORI 0x0A00, CMPI 0x0C00.
  void Immediate(uint16_t base, Size s, uint32_t value, const Ea& dst);
  void Quick(bool sub, uint8_t value, Size s, const Ea& dst);  // ADDQ / SUBQ #1-8
  // NEGX 0x4000, CLR 0x4200, NEG 0x4400, NOT 0x4600, TST 0x4A00.
  void Unary(uint16_t base, Size s, const Ea& ea);
  // ADDX (line 0xD), SUBX (0x9); with memory: -(Ay),-(Ax).
  void Extended(uint16_t line, Size s, bool memory, int y, int x);
  // ABCD (0xC), SBCD (0x8).
  void Bcd(uint16_t line, bool memory, int y, int x);
  void Nbcd(const Ea& ea) { OpWithEa(0x4800, ea); }
  void Cmpm(Size s, int ay, int ax);
  // Shifts and rotates: kind 0 AS, 1 LS, 2 ROX, 3 RO; left or right.
  void ShiftRegister(uint8_t kind, bool left, Size s, bool countInRegister, int count, int dn);
  void ShiftMemory(uint8_t kind, bool left, const Ea& ea);
  // Bit operations: 0 BTST, 1 BCHG, 2 BCLR, 3 BSET.
  void BitDynamic(uint8_t op, int dn, const Ea& ea);
  void BitStatic(uint8_t op, uint8_t bit, const Ea& ea);
  // MULU, MULS, DIVU, DIVS .W.
  void MulDivWord(bool divide, bool isSigned, const Ea& src, int dn);
  // CPU32 MULU.L / MULS.L (dh = -1 for the 32-bit product) and DIVU.L / DIVS.L
  // (dr = dq for the 32-bit quotient, else DIVxL.L or the 64-bit dividend).
  void MulLong(bool isSigned, const Ea& src, int dl, int dh);
  void DivLong(bool isSigned, bool dividend64, const Ea& src, int dq, int dr);
  void Scc(Cond c, const Ea& ea) { OpWithEa(static_cast<uint16_t>(0x50C0 | static_cast<uint16_t>(c) << 8), ea); }
  void Tas(const Ea& ea) { OpWithEa(0x4AC0, ea); }
  void ChkWord(const Ea& src, int dn) { OpWithEa(static_cast<uint16_t>(0x4180 | dn << 9), src); }
  // CPU32 CHK2 / CMP2.
  void Chk2Cmp2(bool chk, Size s, const Ea& bounds, bool isA, int reg);

  // ---- Program flow ----
  void Dbcc(Cond c, int dn, uint32_t target);
  // Bcc.S to a target not yet known: returns the address to give PatchBranch.
  uint32_t BranchShortForward(Cond c);
  void PatchBranch(uint32_t at, uint32_t target);
  void Trap(uint8_t n) { Word(static_cast<uint16_t>(0x4E40 | (n & 15))); }
  void Trapv() { Word(0x4E76); }
  void Nop() { Word(0x4E71); }
  void Stop(uint16_t sr) {
    Word(0x4E72);
    Word(sr);
  }
  void Rte() { Word(0x4E73); }
  void BraShort(int8_t d) { Word(static_cast<uint16_t>(0x6000 | static_cast<uint8_t>(d))); }

  // ---- Status and control ----
  void MoveToCcr(const Ea& src) { OpWithEa(0x44C0, src); }
  void MoveToSr(const Ea& src) { OpWithEa(0x46C0, src); }
  void MoveFromSr(const Ea& dst) { OpWithEa(0x40C0, dst); }
  void MoveFromCcr(const Ea& dst) { OpWithEa(0x42C0, dst); }
  // ORI 0x0000, ANDI 0x0200, EORI 0x0A00 to CCR (toSr false) or SR.
  void ImmediateToStatus(uint16_t base, bool toSr, uint16_t value);
  void MoveUsp(bool toUsp, int an) { Word(static_cast<uint16_t>((toUsp ? 0x4E60 : 0x4E68) | an)); }
  // MOVEC; control register 0x000 SFC, 0x001 DFC, 0x800 USP, 0x801 VBR.
  void Movec(bool toControl, bool isA, int reg, uint16_t control);
  void Moves(Size s, bool toMemory, bool isA, int reg, const Ea& ea);

 private:
  uint32_t origin_;
  std::vector<uint16_t> words_;
};

}  // namespace korva::test::m68k
