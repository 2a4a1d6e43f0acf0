// Packed-decimal micro-routines ABCD, SBCD and NBCD. They work digit by digit
// on the low bytes of CpuSop and CpuDop, correcting each digit once, and leave
// the result byte in CpuDop for the write-back step that always follows.
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"

namespace korva {

namespace {

inline int LowDigit(uint32_t v) { return static_cast<int>(v & 0xFu); }
inline int HighDigit(uint32_t v) { return static_cast<int>((v >> 4) & 0xFu); }
inline int ExtendBit() { return CpuX ? 1 : 0; }

// Assemble the result from the corrected digits (low four bits of each, so a
// digit left out of range by a non-decimal operand still gives a defined byte),
// set C and X from the decimal carry, N from bit 7; Z only ever clears; V is kept.
inline void Finish(int high, int low, bool carry) {
  const uint32_t r = ((static_cast<uint32_t>(high) & 0xFu) << 4) | (static_cast<uint32_t>(low) & 0xFu);
  CpuDop = r;
  CpuC = CpuX = ToFlag(carry);
  CpuN = FlagOf(r, 0x80);
  if (r != 0) CpuZ = 0;
  McrEnd();
}

// Destination minus subtrahend, digit by digit, with the borrow x.
inline void DecimalSubtract(int dh, int dl, int sh, int sl, int x) {
  int low = dl - sl - x;
  int borrow = 0;
  if (low < 0) {
    low += 10;
    borrow = 1;
  }
  int high = dh - sh - borrow;
  const bool carry = high < 0;
  if (carry) high += 10;
  Finish(high, low, carry);
}

}  // namespace

void mcrABCD() {
  int low = LowDigit(CpuDop) + LowDigit(CpuSop) + ExtendBit();
  int carryIn = 0;
  if (low > 9) {
    low -= 10;
    carryIn = 1;
  }
  int high = HighDigit(CpuDop) + HighDigit(CpuSop) + carryIn;
  const bool carry = high > 9;
  if (carry) high -= 10;
  Finish(high, low, carry);
}

void mcrSBCD() {
  DecimalSubtract(HighDigit(CpuDop), LowDigit(CpuDop), HighDigit(CpuSop), LowDigit(CpuSop), ExtendBit());
}

void mcrNBCD() { DecimalSubtract(0, 0, HighDigit(CpuDop), LowDigit(CpuDop), ExtendBit()); }

}  // namespace korva
