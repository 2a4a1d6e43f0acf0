// Shift and rotate micro-routines: ASL, ASR, LSL, LSR, ROL, ROR, ROXL and ROXR,
// each in a register form (byte, word or long of a data register, count 1-8 from
// the opcode or 0-63 from a data register) and a memory form (one bit of a word).
//
// The result and flags are those of shifting one bit at a time, count times:
// C is the last bit moved out, ASL's V records a change of the sign bit in any
// pass, and counts beyond the width keep shifting (zeros in for the logical
// shifts and ASL, copies of the sign for ASR, the rotations go round). They are
// computed in closed form, so a count of 63 costs no more than a count of 1.
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"

namespace korva {

namespace {

enum class Shift { ASL, ASR, LSL, LSR, ROL, ROR, ROXL, ROXR };

// Shift the n-bit value v (bits above n clear) by count >= 1; set the flags
// and return the n-bit result.
template <Shift K>
[[gnu::always_inline]] inline uint32_t ShiftBy(uint32_t v, unsigned count, unsigned n) {
  const uint32_t mask = AluSizeMask[n >> 4];  // n = 8, 16 or 32: index 0, 1, 2
  const uint32_t msb = 1u << (n - 1);
  uint32_t r = 0;
  uint16_t carry = 0;  // the flag boolean of the last bit moved out
  bool overflow = false;

  if constexpr (K == Shift::ASL || K == Shift::LSL) {
    // One place short of the count first, on 64 bits so that any count up to
    // 63 is one shift: the last bit to go out is then the operand's top bit
    // (bit 0 of v at a count of n, a zero beyond), and the one remaining place
    // gives the result (zero from a count of n on).
    const uint64_t t = uint64_t{v} << (count - 1);
    carry = FlagBit(static_cast<uint32_t>(t), n - 1);
    r = static_cast<uint32_t>(t << 1) & mask;
    if constexpr (K == Shift::ASL) {
      // The sign changes in some pass unless the bits that pass through the
      // sign position (the top count+1 bits, zeros below bit 0) are all alike.
      if (count < n) {
        const uint64_t top = static_cast<uint64_t>(v) >> (n - 1 - count);
        const uint64_t ones = (uint64_t{1} << (count + 1)) - 1;
        overflow = top != 0 && top != ones;
      } else {
        overflow = v != 0;
      }
    }
  } else if constexpr (K == Shift::LSR) {
    // As above: the last bit out is bit 0 after one place short of the count.
    const uint64_t t = uint64_t{v} >> (count - 1);
    carry = FlagBit(static_cast<uint32_t>(t), 0);
    r = static_cast<uint32_t>(t >> 1);
  } else if constexpr (K == Shift::ASR) {
    const bool sign = v & msb;
    if (count < n) {
      r = v >> count;
      if (sign) r |= mask & ~(mask >> count);
      carry = FlagBit(v, count - 1);
    } else {
      r = sign ? mask : 0;
      carry = ToFlag(sign);
    }
  } else if constexpr (K == Shift::ROL || K == Shift::ROR) {
    const unsigned k = count % n;
    r = v;
    if (k != 0) {
      if constexpr (K == Shift::ROL)
        r = ((v << k) | (v >> (n - k))) & mask;
      else
        r = ((v >> k) | (v << (n - k))) & mask;
    }
    // The last bit moved out is the one that re-entered at the other end.
    carry = (K == Shift::ROL) ? FlagBit(r, 0) : FlagBit(r, n - 1);
  } else {
    // ROXL, ROXR: an (n+1)-bit rotation of X above the operand.
    const unsigned width = n + 1;
    const uint64_t widthMask = (uint64_t{1} << width) - 1;
    uint64_t e = (static_cast<uint64_t>(CpuX ? 1 : 0) << n) | v;
    const unsigned k = count % width;
    if (k != 0) {
      if constexpr (K == Shift::ROXL)
        e = ((e << k) | (e >> (width - k))) & widthMask;
      else
        e = ((e >> k) | (e << (width - k))) & widthMask;
    }
    r = static_cast<uint32_t>(e) & mask;
    carry = FlagBit64(e, n);
  }

  CpuC = carry;
  if constexpr (K != Shift::ROL && K != Shift::ROR) CpuX = CpuC;
  CpuN = FlagBit(r, n - 1);
  CpuZ = ToFlag(r == 0);
  CpuV = ToFlag(overflow);
  return r;
}

template <Shift K>
inline void RegisterForm() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& dn = CpuDReg[RegIndex(op.DstReg)];
  const uint32_t d = dn;
  if (!WithAluSize(op.Size, [&op, &dn, d](auto size) {
        const unsigned n = 8u << size;
        const uint32_t v = d & AluSizeMask[size];
        const unsigned count =
            (op.Extra2 == 1 ? CpuDReg[RegIndex(op.SrcReg)] : static_cast<uint32_t>(op.Extra1)) & 63u;
        if (count == 0) {
          CpuDop = v;
          // Nothing moves: C cleared (the extended rotations copy X), X kept, register unchanged.
          CpuC = (K == Shift::ROXL || K == Shift::ROXR) ? CpuX : 0;
          CpuN = FlagOf(v, AluSizeMsb[size]);
          CpuZ = ToFlag(v == 0);
          CpuV = 0;
        } else {
          CpuDop = ShiftBy<K>(v, count, n);
          dn = MergeSized(d, CpuDop, size);
        }
      })) {
    CpuDop = d;  // a size without a case: the register as loaded
    return;
  }
  McrEndInstruction();
}

// One bit of the word read by the previous step; the word write follows.
template <Shift K>
inline void MemoryForm() {
  CpuDop = ShiftBy<K>(CpuDop & 0xFFFFu, 1, 16);
  McrEnd();
}

}  // namespace

void mcrASLReg() { RegisterForm<Shift::ASL>(); }
void mcrASLMem() { MemoryForm<Shift::ASL>(); }
void mcrASRReg() { RegisterForm<Shift::ASR>(); }
void mcrASRMem() { MemoryForm<Shift::ASR>(); }
void mcrLSLReg() { RegisterForm<Shift::LSL>(); }
void mcrLSLMem() { MemoryForm<Shift::LSL>(); }
void mcrLSRReg() { RegisterForm<Shift::LSR>(); }
void mcrLSRMem() { MemoryForm<Shift::LSR>(); }
void mcrROLReg() { RegisterForm<Shift::ROL>(); }
void mcrROLMem() { MemoryForm<Shift::ROL>(); }
void mcrRORReg() { RegisterForm<Shift::ROR>(); }
void mcrRORMem() { MemoryForm<Shift::ROR>(); }
void mcrROXLReg() { RegisterForm<Shift::ROXL>(); }
void mcrROXLMem() { MemoryForm<Shift::ROXL>(); }
void mcrROXRReg() { RegisterForm<Shift::ROXR>(); }
void mcrROXRMem() { MemoryForm<Shift::ROXR>(); }

}  // namespace korva
