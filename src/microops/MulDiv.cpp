// Multiply and divide micro-routines: MULS.W, MULU.W, MULx.L, DIVS.W, DIVU.W
// and DIVx.L. X is never changed. A divide that cannot complete (zero divisor or
// overflow) leaves the registers alone and continues into the zero-divide step,
// which takes the exception only when CpuZeroDivide is set; a completed divide
// ends its instruction.
#include "cpu/Microroutines.h"
#include "microops/MoveCommon.h"
#include "microops/MulDiv.h"

namespace korva {

namespace {
// Bits of the long forms' extension word that must be 0.
constexpr uint16_t kLongExtMask = 0x7C07;

inline void ClearNZVC() { CpuN = CpuZ = CpuV = CpuC = 0; }

// Zero divisor or overflow: registers unchanged, on to the zero-divide step.
inline void DivideNotDone() { McrEnd(); }

// The start of every divide: N, Z, V and C cleared, and a zero divisor requests
// the exception and ends the routine. True when the divide goes on.
inline bool DivisorUsable(bool zero) {
  ClearNZVC();
  CpuZeroDivide = zero ? True : False;
  if (zero) DivideNotDone();
  return !zero;
}

// The quotient does not fit: V set, registers unchanged.
inline void DivideOverflow() {
  CpuV = 0xFFFF;
  DivideNotDone();
}
}  // namespace

void mcrMULS() {
  uint32_t& d = DReg(CurrentOp().DstReg);
  const int32_t p = static_cast<int32_t>(static_cast<int16_t>(d & 0xFFFF)) *
                    static_cast<int32_t>(static_cast<int16_t>(CpuSop & 0xFFFF));
  CpuDop = static_cast<uint32_t>(p);
  d = CpuDop;
  SetNZClearVC32(CpuDop);
  McrEndInstruction();
}

void mcrMULU() {
  uint32_t& d = DReg(CurrentOp().DstReg);
  CpuDop = (d & 0xFFFF) * (CpuSop & 0xFFFF);
  d = CpuDop;
  SetNZClearVC32(CpuDop);
  McrEndInstruction();
}

// MULS.L / MULU.L: extension word bits 14-12 Dl, 11 signed, 10 64-bit product, 2-0 Dh.
void mcrMULL() {
  const uint16_t ext = CpuExtraWord;
  if (ext & ~kLongExtMask) {
    McrIllegal();
    return;
  }
  const unsigned dl = (ext >> 12) & 7;
  const unsigned dh = ext & 7;
  const bool isSigned = (ext & 0x0800) != 0;
  uint32_t high, low;
  if (isSigned)
    MultiplyS64(static_cast<int32_t>(CpuSop), static_cast<int32_t>(CpuDReg[dl]), high, low);
  else
    MultiplyU64(CpuSop, CpuDReg[dl], high, low);

  bool overflow;
  if (isSigned)
    overflow = (low & 0x80000000u) ? high != 0xFFFFFFFFu : high != 0;
  else
    overflow = high != 0;

  if (ext & 0x0400) {
    CpuDReg[dh] = high;
    CpuZ = ToFlag(high == 0 && low == 0);
    CpuN = ToFlag(high & 0x80000000u);
    CpuV = 0;
  } else {
    CpuZ = ToFlag(low == 0);
    CpuN = ToFlag(low & 0x80000000u);
    CpuV = ToFlag(overflow);
  }
  CpuDReg[dl] = low;  // after Dh, so Dl = Dh keeps the low long
  CpuC = 0;
  McrEndInstruction();
}

// DIVS.W: D[DstReg] (signed 32 bits) / signed low word of CpuSop; remainder in
// bits 31-16 with the dividend's sign, quotient in bits 15-0.
void mcrDIVS() {
  uint32_t& d = DReg(CurrentOp().DstReg);
  const int64_t dividend = static_cast<int32_t>(d);
  const int64_t divisor = static_cast<int16_t>(CpuSop & 0xFFFF);
  if (!DivisorUsable(divisor == 0)) return;
  const int64_t q = dividend / divisor;  // 64-bit: 0x80000000 / -1 is representable
  if (q < -32768 || q > 32767) {
    DivideOverflow();
    return;
  }
  const int64_t r = dividend % divisor;
  CpuDop = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(q) & 0xFFFF);
  CpuN = ToFlag(q < 0);
  CpuZ = ToFlag(q == 0);
  d = CpuDop;
  McrEndInstruction();
}

// DIVU.W: D[DstReg] (unsigned 32 bits) / unsigned low word of CpuSop.
void mcrDIVU() {
  uint32_t& d = DReg(CurrentOp().DstReg);
  CpuDop = d;
  const uint32_t divisor = CpuSop & 0xFFFF;
  if (!DivisorUsable(divisor == 0)) return;
  const uint32_t q = CpuDop / divisor;
  if (q > 0xFFFF) {
    DivideOverflow();
    return;
  }
  const uint32_t r = CpuDop % divisor;
  CpuDop = (r << 16) | q;
  CpuN = ToFlag(q & 0x8000);
  CpuZ = ToFlag(q == 0);
  d = CpuDop;
  McrEndInstruction();
}

// DIVS.L / DIVU.L: extension word bits 14-12 Dq, 11 signed, 10 64-bit dividend
// Dr:Dq, 2-0 Dr (the remainder, written only when Dr differs from Dq).
void mcrDIVL() {
  const uint16_t ext = CpuExtraWord;
  if (ext & ~kLongExtMask) {
    McrIllegal();
    return;
  }
  const unsigned dq = (ext >> 12) & 7;
  const unsigned dr = ext & 7;
  const bool isSigned = (ext & 0x0800) != 0;
  const bool is64 = (ext & 0x0400) != 0;
  const uint32_t divisor = CpuSop;
  if (!DivisorUsable(divisor == 0)) return;

  uint32_t quotient, remainder;
  if (!is64) {
    const uint32_t dividend = CpuDReg[dq];
    if (!isSigned) {
      quotient = dividend / divisor;
      remainder = dividend % divisor;
    } else {
      if (dividend == 0x80000000u && divisor == 0xFFFFFFFFu) {
        DivideOverflow();
        return;
      }
      const int64_t n = static_cast<int32_t>(dividend);
      const int64_t m = static_cast<int32_t>(divisor);
      quotient = static_cast<uint32_t>(n / m);
      remainder = static_cast<uint32_t>(n % m);
    }
  } else {
    uint32_t nHigh = CpuDReg[dr], nLow = CpuDReg[dq];
    uint32_t mag = divisor;
    const bool negDividend = isSigned && (nHigh & 0x80000000u);
    const bool negDivisor = isSigned && (divisor & 0x80000000u);
    if (negDividend) Negate64(nHigh, nLow);  // -2^63 stays, read as 2^63
    if (negDivisor) mag = 0u - divisor;      // 0x80000000 stays, read as 2^31
    uint32_t qHigh, qLow, rHigh, rLow;
    DivideU64(nHigh, nLow, 0, mag, qHigh, qLow, rHigh, rLow);
    bool overflow = qHigh != 0;
    if (!overflow && isSigned) {
      if (negDividend == negDivisor)
        overflow = qLow >= 0x80000000u;
      else
        overflow = qLow > 0x80000000u;
    }
    if (overflow) {
      DivideOverflow();
      return;
    }
    quotient = (negDividend != negDivisor) ? 0u - qLow : qLow;
    remainder = negDividend ? 0u - rLow : rLow;
  }
  CpuN = ToFlag(quotient & 0x80000000u);
  CpuZ = ToFlag(quotient == 0);
  CpuDReg[dq] = quotient;
  if (dq != dr) CpuDReg[dr] = remainder;
  McrEndInstruction();
}

}  // namespace korva
