#include "unit/cpu/vectors/KnownDifferences.h"

#include <cstring>

namespace korva::vectors {

// ---- reading the initial state ----

namespace {
constexpr uint32_t kAddrMask = 0xFFFFFF;  // the MC68000's 24 address lines

uint32_t InstrAddr(const VectorTest& t) { return t.Initial.PC - 4; }
bool Supervisor(const VectorState& s) { return (s.SR & 0x2000) != 0; }
bool Traced(const VectorTest& t) { return (t.Initial.SR & 0x8000) != 0; }
uint32_t InitialA(const VectorTest& t, int r) {
  if (r < 7) return t.Initial.A[r];
  return Supervisor(t.Initial) ? t.Initial.SSP : t.Initial.USP;
}
uint32_t SignExtend16(uint32_t v) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(v))); }
uint32_t SignExtend8(uint32_t v) { return static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(v))); }
uint16_t InitialWord(const VectorTest& t, uint32_t address) {
  const uint32_t a = address & kAddrMask & ~1u;
  const uint32_t pc = InstrAddr(t) & kAddrMask;
  if (a == pc) return static_cast<uint16_t>(t.Initial.Prefetch[0]);
  if (a == ((pc + 2) & kAddrMask)) return static_cast<uint16_t>(t.Initial.Prefetch[1]);
  for (const MemWord& w : t.Initial.Ram)
    if ((w.Address & kAddrMask & ~1u) == a) return w.Word;
  return 0;
}
uint8_t InitialByte(const VectorTest& t, uint32_t a) {
  const uint16_t w = InitialWord(t, a);
  return static_cast<uint8_t>((a & 1) ? w : w >> 8);
}
uint32_t InitialRead(const VectorTest& t, uint32_t a, int size) {
  if (size == 0) return InitialByte(t, a);
  if (size == 1) return InitialWord(t, a);
  return (static_cast<uint32_t>(InitialWord(t, a)) << 16) | InitialWord(t, a + 2);
}
// The (An)+ / -(An) step of a size, 2 for a byte on A7.
uint32_t Step(int reg, int size) { return size == 0 ? (reg == 7 ? 2 : 1) : size == 1 ? 2 : 4; }

// The address of effective-address field mode/reg (memory modes only).
bool InitialAddress(const VectorTest& t, int mode, int reg, int size, uint32_t* address) {
  const uint32_t ext = InstrAddr(t) + 2;  // the first extension word
  auto indexed = [&](uint32_t base) {
    const uint16_t w = InitialWord(t, ext);
    const int r = (w >> 12) & 7;
    uint32_t index = (w & 0x8000) ? InitialA(t, r) : t.Initial.D[r];
    if ((w & 0x0800) == 0) index = SignExtend16(index);
    return base + index + SignExtend8(w);
  };
  switch (mode) {
    case 2: case 3: *address = InitialA(t, reg); return true;
    case 4: *address = InitialA(t, reg) - Step(reg, size); return true;
    case 5: *address = InitialA(t, reg) + SignExtend16(InitialWord(t, ext)); return true;
    case 6: *address = indexed(InitialA(t, reg)); return true;
    case 7:
      switch (reg) {
        case 0: *address = SignExtend16(InitialWord(t, ext)); return true;
        case 1: *address = InitialRead(t, ext, 2); return true;
        case 2: *address = ext + SignExtend16(InitialWord(t, ext)); return true;
        case 3: *address = indexed(ext); return true;
        default: return false;
      }
    default: return false;
  }
}

// The operand of field mode/reg of size 0 byte, 1 word, 2 long, as the
// instruction would read it; false for a mode the decoder does not take.
bool InitialOperand(const VectorTest& t, int mode, int reg, int size, uint32_t* value) {
  const uint32_t sizeMask = size == 0 ? 0xFF : size == 1 ? 0xFFFF : 0xFFFFFFFF;
  const uint32_t ext = InstrAddr(t) + 2;
  uint32_t address = 0;
  if (mode == 0) *value = t.Initial.D[reg] & sizeMask;
  else if (mode == 1) *value = InitialA(t, reg) & sizeMask;
  else if (mode == 7 && reg == 4) *value = size == 2 ? InitialRead(t, ext, 2) : InitialWord(t, ext) & sizeMask;
  else if (InitialAddress(t, mode, reg, size, &address)) *value = InitialRead(t, address, size);
  else return false;
  return true;
}

// ---- conditions and excuses ----

uint16_t Opcode(const VectorTest& t) { return OpcodeOf(t); }

// Word n of the exception frame at the final supervisor stack pointer, or -1.
int FrameWord(const VectorTest& t, const Difference& d) {
  if (d.What != Field::Mem) return -1;
  const uint32_t off = (d.Address - t.Final.SSP) & kAddrMask;
  return (off < 14 && (off & 1) == 0) ? static_cast<int>(off / 2) : -1;
}
bool BitsWithin(const Difference& d, uint32_t bits) { return ((d.Expected ^ d.Got) & ~bits) == 0; }
// The field that holds A7 of the instruction: the stack pointer of its state.
Field A7Field(const VectorTest& t) { return Supervisor(t.Initial) ? Field::SSP : Field::USP; }
Field AField(const VectorTest& t, int reg) {
  return reg == 7 ? A7Field(t) : static_cast<Field>(static_cast<int>(Field::A0) + reg);
}
Field DField(int reg) { return static_cast<Field>(static_cast<int>(Field::D0) + reg); }
// A listed word or a write outside the final memory in [from, from + count).
bool MemIn(const Difference& d, uint32_t from, uint32_t count) {
  return (d.What == Field::Mem || d.What == Field::Write) &&
         ((d.Address - (from & kAddrMask & ~1u)) & kAddrMask) < count;
}
// The SR, or its stacked copy in the frame (word 4 of a group-0 frame, word 0 of
// a short frame), differs at most in bits.
bool SrOrStackedSrWithin(const VectorTest& t, const Difference& d, uint32_t bits) {
  if (d.What == Field::SR) return BitsWithin(d, bits);
  return FrameWord(t, d) == (t.AddressError ? 4 : 0) && BitsWithin(d, bits);
}

bool AddressError(const VectorTest& t) { return t.AddressError; }
bool NoAddressError(const VectorTest& t) { return !t.AddressError; }

// Group-0 frame: status word bits 15-5 and 3, stacked program counter.
bool Group0Frame(const VectorTest& t, const Difference& d) {
  const int w = FrameWord(t, d);
  return (w == 0 && BitsWithin(d, 0xFFE8)) || w == 5 || w == 6;
}

// Registers the opcode addresses through (An)+ or -(An).
bool StepsRegister(uint16_t op, int reg, int* size) {
  const int top = op >> 12;
  if (top >= 1 && top <= 3) {  // MOVE: size in bits 13-12, destination in 11-6
    *size = top == 1 ? 0 : top == 3 ? 1 : 2;
    const int dm = (op >> 6) & 7;
    if ((dm == 3 || dm == 4) && ((op >> 9) & 7) == reg) return true;
  } else {
    *size = (op >> 6) & 3;
    if (*size == 3) *size = 1;
  }
  // ADDX, SUBX, ABCD, SBCD, CMPM memory forms: -(Ay),-(Ax) or (Ay)+,(Ax)+.
  const bool pair = ((op & 0xB138) == 0x9108 && ((op >> 6) & 3) != 3) || (op & 0xB1F8) == 0x8108 ||
                    ((op & 0xF138) == 0xB108 && ((op >> 6) & 3) != 3);
  if (pair) return (op & 7) == reg || ((op >> 9) & 7) == reg;
  const int sm = (op >> 3) & 7;
  return (sm == 3 || sm == 4) && (op & 7) == reg;
}

// The opcode has a long -(An) operand (MOVEM's predecrement form included).
bool LongPredecrement(uint16_t op) {
  if ((op & 0xFFF8) == 0x48E0) return true;                                  // MOVEM.L list,-(An)
  if ((op >> 12) == 2) return ((op >> 6) & 7) == 4 || ((op >> 3) & 7) == 4;  // MOVE.L
  if ((op & 0xB1F8) == 0x9188) return true;                                  // ADDX.L, SUBX.L -(Ay),-(Ax)
  return false;
}

// An address error on an (An)+ or -(An) operand: the register's step, and for a
// long -(An) operand the address of the faulted word.
bool SteppedRegisterAtFault(const VectorTest& t, const Difference& d) {
  const uint16_t op = Opcode(t);
  int size = 0;
  for (int r = 0; r < 8; ++r)
    if (StepsRegister(op, r, &size) && d.What == AField(t, r)) return true;
  const int w = FrameWord(t, d);
  return (w == 1 || w == 2) && LongPredecrement(op);
}

// The read/write bit of the frame (with the group-0 bits) for an instruction
// that reads the operand before writing it on the MC68000.
bool ReadBeforeWrite(const VectorTest& t, const Difference& d) { return FrameWord(t, d) == 0 && BitsWithin(d, 0xFFF8); }
// CLR reads its operand before writing it; the fault comes before the flags are set.
bool ClrReadFirst(const VectorTest& t, const Difference& d) {
  return SrOrStackedSrWithin(t, d, 0x0F) || ReadBeforeWrite(t, d);
}

// MOVE's condition codes and instruction register when the write faults.
bool MoveWriteFault(const VectorTest& t, const Difference& d) {
  if (SrOrStackedSrWithin(t, d, 0x0F)) return true;
  return FrameWord(t, d) == 3 && ((Opcode(t) >> 6) & 7) == 4;
}

// A jump to an odd address: the MC68000 takes the address error inside the jump.
bool TracedIntoOddTarget(const VectorTest& t) { return t.AddressError && Traced(t); }
bool Anything(const VectorTest&, const Difference&) { return true; }
bool JsrPushAtOddTarget(const VectorTest& t, const Difference& d) {
  return d.What == A7Field(t) || MemIn(d, t.Final.SSP - 4, 18) || MemIn(d, InitialA(t, 7) - 4, 4);
}
bool DbccCounterAtOddTarget(const VectorTest& t, const Difference& d) { return d.What == DField(Opcode(t) & 7); }

// Decimal instructions.
bool NonDecimal(uint32_t byte) { return (byte & 0x0F) > 9 || ((byte >> 4) & 0x0F) > 9; }
// Source and destination bytes and the destination's address (memory form) of ABCD, SBCD, NBCD.
struct BcdOperands {
  uint32_t Src = 0, Dst = 0;
  bool Memory = false;
  uint32_t DstAddress = 0;
  int DstReg = 0;
};
bool DecodeBcd(const VectorTest& t, BcdOperands* o) {
  const uint16_t op = Opcode(t);
  if ((op & 0xFFC0) == 0x4800) {  // NBCD <ea>
    const int mode = (op >> 3) & 7, reg = op & 7;
    o->Memory = mode != 0;
    o->DstReg = reg;
    return InitialOperand(t, mode, reg, 0, &o->Dst) && (!o->Memory || InitialAddress(t, mode, reg, 0, &o->DstAddress));
  }
  const int rx = (op >> 9) & 7, ry = op & 7;
  o->DstReg = rx;
  if ((op & 8) == 0) {
    o->Src = t.Initial.D[ry] & 0xFF;
    o->Dst = t.Initial.D[rx] & 0xFF;
    return true;
  }
  o->Memory = true;
  const uint32_t srcAddr = InitialA(t, ry) - Step(ry, 0);
  uint32_t ax = InitialA(t, rx);
  if (rx == ry) ax = srcAddr;
  o->DstAddress = ax - Step(rx, 0);
  o->Src = InitialByte(t, srcAddr);
  o->Dst = InitialByte(t, o->DstAddress);
  return true;
}
bool BcdNonDecimalOperand(const VectorTest& t) {
  BcdOperands o;
  return DecodeBcd(t, &o) && (NonDecimal(o.Src) || NonDecimal(o.Dst));
}
bool BcdUndefinedFlags(const VectorTest& t, const Difference& d) { return SrOrStackedSrWithin(t, d, 0x0A); }
bool BcdNonDecimalResult(const VectorTest& t, const Difference& d) {
  BcdOperands o;
  DecodeBcd(t, &o);
  if (SrOrStackedSrWithin(t, d, 0x1F)) return true;
  if (!o.Memory) return d.What == DField(o.DstReg) && BitsWithin(d, 0xFF);
  return MemIn(d, o.DstAddress, 1);
}

// Divides: the divisor and whether the quotient fits.
enum class DivOutcome { Quotient, Overflow, ZeroDivide, Unknown };
DivOutcome Divide(const VectorTest& t) {
  const uint16_t op = Opcode(t);
  uint32_t divisor = 0;
  if (!InitialOperand(t, (op >> 3) & 7, op & 7, 1, &divisor)) return DivOutcome::Unknown;
  if (divisor == 0) return DivOutcome::ZeroDivide;
  const uint32_t dividend = t.Initial.D[(op >> 9) & 7];
  if ((op & 0x0100) == 0) return dividend / divisor > 0xFFFF ? DivOutcome::Overflow : DivOutcome::Quotient;
  const int64_t q = static_cast<int64_t>(static_cast<int32_t>(dividend)) / static_cast<int16_t>(divisor);
  return (q < -32768 || q > 32767) ? DivOutcome::Overflow : DivOutcome::Quotient;
}
bool DivideOverflows(const VectorTest& t) { return Divide(t) == DivOutcome::Overflow; }
bool OverflowFlags(const VectorTest& t, const Difference& d) { return SrOrStackedSrWithin(t, d, 0x0C); }

bool ChkUndefinedFlags(const VectorTest& t, const Difference& d) { return SrOrStackedSrWithin(t, d, 0x07); }

bool LinkA7Pushed(const VectorTest& t, const Difference& d) { return MemIn(d, InitialA(t, 7) - 4, 4); }
bool UnlkA7(const VectorTest& t, const Difference& d) { return d.What == A7Field(t); }

// MOVEM list,-(An) with An in the list: the words stored for An.
bool MovemStoresAn(const VectorTest& t) {
  const int n = Opcode(t) & 7;
  return (t.Initial.Prefetch[1] >> (7 - n)) & 1;
}
bool MovemAnSlot(const VectorTest& t, const Difference& d) {
  const uint16_t op = Opcode(t);
  const int n = op & 7;
  const uint32_t size = (op & 0x40) ? 4 : 2;
  const uint16_t mask = static_cast<uint16_t>(t.Initial.Prefetch[1]);
  uint32_t stored = 0;  // registers stored down to and including An: A7 first (bit 0)
  for (int k = 0; k <= 7 - n; ++k) stored += (mask >> k) & 1;
  return MemIn(d, InitialA(t, n) - size * stored, size);
}

bool StopPcAfterInstruction(const VectorTest& t, const Difference& d) {
  return d.What == Field::PC && d.Got == t.Final.PC;
}
bool StopLeavesSupervisor(const VectorTest& t) { return (t.Initial.Prefetch[1] & 0x2000) == 0; }
bool StopPrivilegeViolation(const VectorTest& t, const Difference& d) {
  return d.What == Field::SSP || d.What == Field::SR || d.What == Field::PC || MemIn(d, t.Final.SSP - 6, 6);
}

// ---- the table ----

const std::vector<KnownDifference> kTable = {
    {nullptr, 0, 0, AddressError, Group0Frame,
     "Address error frame: bits 15-5 of its status word are undefined (the MC68000 leaves instruction-register bits "
     "there) and bit 3 is set here for every data access; the stacked program counter depends on how far the "
     "MC68000's prefetch had gone"},
    {nullptr, 0, 0, AddressError, SteppedRegisterAtFault,
     "Address error on an (An)+ or -(An) operand: the effective-address calculation steps the register before the "
     "access (the MC68010 frame resumes after it), the MC68000 steps it when the access completes; the MC68000 also "
     "accesses a long -(An) operand of ADDX, SUBX, MOVE and MOVEM low word first, here the high word comes first"},
    {"CLR.w CLR.l", 0, 0, AddressError, ClrReadFirst,
     "CLR on the MC68000 reads the operand before writing it, so its address error is a read taken before the flags "
     "are set; this CLR only writes"},
    {"MOVEfromSR", 0, 0, AddressError, ReadBeforeWrite,
     "MOVE from SR on the MC68000 reads its destination before writing it, so its address error is a read; here it "
     "only writes"},
    {"MOVE.w MOVE.l", 0, 0, AddressError, MoveWriteFault,
     "MOVE whose write faults: the condition codes at the fault and, for a -(An) destination, the instruction "
     "register in the frame depend on the MC68000's microcode order and prefetch; here the flags are set before "
     "the write"},
    {"Bcc BSR DBcc JMP JSR RTS RTR RTE", 0, 0, TracedIntoOddTarget, Anything,
     "Traced jump to an odd address: the MC68000 raises the address error in the jump's own prefetch and takes no "
     "trace; here the target is fetched by the next instruction, so the trace exception comes first and the address "
     "error follows when the trace handler returns"},
    {"JSR", 0, 0, AddressError, JsrPushAtOddTarget,
     "JSR to an odd address: the MC68000 faults before it pushes the return address; here the push is done and the "
     "fetch of the target faults"},
    {"DBcc", 0, 0, AddressError, DbccCounterAtOddTarget,
     "DBcc to an odd address: the MC68000 faults before it writes the decremented counter back"},
    {"ABCD SBCD NBCD", 0, 0, nullptr, BcdUndefinedFlags,
     "Decimal instructions: N and V are undefined on the MC68000; here N is bit 7 of the result and V is unchanged"},
    {"ABCD SBCD NBCD", 0, 0, BcdNonDecimalOperand, BcdNonDecimalResult,
     "Decimal instruction on a digit above 9: result and flags are undefined on the MC68000; here each digit is "
     "corrected once and its low four bits kept"},
    {"DIVS DIVU", 0, 0, DivideOverflows, OverflowFlags,
     "Divide overflow: N and Z are undefined on the MC68000; here they are cleared"},
    {"CHK", 0, 0, nullptr, ChkUndefinedFlags, "CHK: Z, V and C are undefined on the MC68000; here they are unchanged"},
    {"LINK", 0xFFFF, 0x4E57, nullptr, LinkA7Pushed,
     "LINK A7 pushes the already decremented A7; the MC68000 pushes the value before the instruction"},
    {"UNLINK", 0xFFFF, 0x4E5F, NoAddressError, UnlkA7,
     "UNLK A7 leaves A7 at the popped long plus 4; the MC68000 leaves the popped long"},
    {"MOVEM.w MOVEM.l", 0xFFB8, 0x48A0, MovemStoresAn, MovemAnSlot,
     "MOVEM list,-(An) with An in the list stores An as lowered by the registers stored before it (as the MC68020 "
     "does); the MC68000 stores An's value before the instruction"},
    {"STOP", 0, 0, nullptr, StopPcAfterInstruction,
     "STOP: the program counter is the address after the instruction; the MC68000 stops without refilling its "
     "prefetch, so the vector's next-prefetch address is not 4 past it"},
    {"STOP", 0, 0, StopLeavesSupervisor, StopPrivilegeViolation,
     "STOP with an immediate whose S bit is clear takes the privilege-violation exception here (the status load "
     "shared with LPSTOP) and stacks its frame; the MC68000 loads it and stops in user state"},
};

// The file name without ".json.bin" is one of the space-separated names of list.
bool FileListed(const char* list, const char* file) {
  if (!list) return true;
  const char* dot = std::strstr(file, ".json.bin");
  const size_t n = dot ? static_cast<size_t>(dot - file) : std::strlen(file);
  for (const char* p = list; *p;) {
    const char* e = std::strchr(p, ' ');
    const size_t len = e ? static_cast<size_t>(e - p) : std::strlen(p);
    if (len == n && std::strncmp(p, file, n) == 0) return true;
    if (!e) break;
    p = e + 1;
  }
  return false;
}

}  // namespace

bool ExplainDifferences(const char* file, const VectorTest& t, const std::vector<Difference>& diffs,
                        std::vector<const KnownDifference*>* used) {
  used->clear();
  const uint16_t op = Opcode(t);
  for (const Difference& d : diffs) {
    const KnownDifference* by = nullptr;
    for (const KnownDifference& k : kTable) {
      if (!FileListed(k.Files, file)) continue;
      if ((op & k.Mask) != k.Match || (k.Applies && !k.Applies(t))) continue;
      if (k.Excuses(t, d)) {
        by = &k;
        break;
      }
    }
    if (!by) return false;
    bool listed = false;
    for (const KnownDifference* u : *used) listed |= u == by;
    if (!listed) used->push_back(by);
  }
  return true;
}

}  // namespace korva::vectors
