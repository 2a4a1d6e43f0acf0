// Program-flow and multiply/divide micro-routines called directly.
#include "microops/MulDiv.h"
#include "unit/moves/MovesFixture.h"

namespace korva::movetest {

// ---- branches ----

TEST_F(MoveTest, BranchesAreRelativeToTheOpcodePlusTwo) {
  // Opcode at 0x1000; CpuPC is past the opcode and any extension words.
  Op().Extra2 = 7;  // BEQ
  Op().Extra1 = 4;
  CpuPC = 0x1002;
  Run(mcrBccB);  // Z clear: not taken
  EXPECT_EQ(CpuPC, 0x1002u);
  ExpectEndOfInstruction();
  SetCcr(Z);
  Run(mcrBccB);
  EXPECT_EQ(CpuPC, 0x1006u);

  CpuPC = 0x1004;  // BRA.W with displacement 0 lands on its own extension word
  CpuExtraWord = 0;
  Run(mcrBRAW);
  EXPECT_EQ(CpuPC, 0x1002u);

  CpuPC = 0x1006;  // Bcc.L -8
  CpuSop = 0xFFFFFFF8;
  Run(mcrBccL);
  EXPECT_EQ(CpuPC, 0x0FFAu);

  CpuPC = 0x1002;  // BRA.B -1 (0xFF on the MC68000/MC68010) lands on an odd address
  Op().Extra1 = -1;
  Run(mcrBRAB);
  EXPECT_EQ(CpuPC, 0x1001u);

  CpuPC = 0x00000002;  // sums wrap at 32 bits
  CpuSop = 0xFFFFFFF0;
  Run(mcrBRAL);
  EXPECT_EQ(CpuPC, 0xFFFFFFEEu);
}

TEST_F(MoveTest, DbccCountsTheLowWordOnly) {
  Op().DstReg = 1;
  Op().Extra2 = 1;  // DBF
  CpuExtraWord = 0xFFF0;
  CpuDReg[1] = 0xABCD0000;
  CpuPC = 0x2004;
  Run(mcrDBcc);  // 0 -> 0xFFFF: falls through
  EXPECT_EQ(CpuDReg[1], 0xABCDFFFFu);
  EXPECT_EQ(CpuPC, 0x2004u);

  CpuDReg[1] = 0xABCD0001;
  Run(mcrDBcc);  // 1 -> 0: branches
  EXPECT_EQ(CpuDReg[1], 0xABCD0000u);
  EXPECT_EQ(CpuPC, 0x1FF2u);

  Op().Extra2 = 0;  // DBT never counts
  CpuPC = 0x2004;
  Run(mcrDBcc);
  EXPECT_EQ(CpuDReg[1], 0xABCD0000u);
  EXPECT_EQ(CpuPC, 0x2004u);
}

TEST_F(MoveTest, JmpTakesTheAddressEvenWhenOdd) {
  CpuEa = 0x00012345;
  Run(mcrJMP);
  EXPECT_EQ(CpuPC, 0x00012345u);
  ExpectEndOfInstruction();
}

// ---- multiply ----

TEST_F(MoveTest, WordMultiplies) {
  Op().DstReg = 0;
  CpuDReg[0] = 0x12348000;
  CpuSop = 0xFFFF8000;
  Run(mcrMULS);
  EXPECT_EQ(CpuDReg[0], 0x40000000u);
  CpuDReg[0] = 0x12348000;
  Run(mcrMULU);
  EXPECT_EQ(CpuDReg[0], 0x40000000u);

  SetCcr(X | V | C);
  CpuDReg[0] = 0xFFFF;
  CpuSop = 0xFFFF;
  Run(mcrMULU);
  EXPECT_EQ(CpuDReg[0], 0xFFFE0001u);
  EXPECT_EQ(Ccr(), X | N);
  CpuDReg[0] = 0xFFFF;
  Run(mcrMULS);  // -1 x -1
  EXPECT_EQ(CpuDReg[0], 1u);
}

TEST_F(MoveTest, LongMultiplies) {
  CpuDReg[1] = 0x00010000;
  CpuSop = 0x00008000;
  CpuExtraWord = 0x1800;  // MULS.L <ea>,D1
  Run(mcrMULL);
  EXPECT_EQ(CpuDReg[1], 0x80000000u);
  EXPECT_EQ(Ccr(), N | V);
  CpuDReg[1] = 0x00010000;
  CpuExtraWord = 0x1000;  // MULU.L
  Run(mcrMULL);
  EXPECT_EQ(CpuDReg[1], 0x80000000u);
  EXPECT_EQ(Ccr(), N);

  CpuDReg[1] = 0xFFFFFFFF;  // MULS.L -1 x 1, 64-bit product D2:D1
  CpuSop = 1;
  CpuExtraWord = 0x1C02;
  Run(mcrMULL);
  EXPECT_EQ(CpuDReg[2], 0xFFFFFFFFu);
  EXPECT_EQ(CpuDReg[1], 0xFFFFFFFFu);
  EXPECT_EQ(Ccr(), N);

  CpuDReg[1] = 0x80000000;  // Dl = Dh keeps the low long
  CpuSop = 4;
  CpuExtraWord = 0x1401;
  Run(mcrMULL);
  EXPECT_EQ(CpuDReg[1], 0u);
  EXPECT_EQ(Ccr(), 0);  // 64-bit product 2:0 is not zero

  CpuDReg[1] = 5;
  CpuExtraWord = 0x7C08;  // bit 3 set
  Run(mcrMULL);
  ExpectIllegal();
  EXPECT_EQ(CpuDReg[1], 5u);
}

// ---- divide ----

TEST_F(MoveTest, WordDividesQuotientRemainderAndOverflow) {
  Op().DstReg = 3;
  CpuDReg[3] = static_cast<uint32_t>(-7);
  CpuSop = 2;
  Run(mcrDIVS);
  EXPECT_EQ(CpuDReg[3], 0xFFFFFFFDu);  // remainder -1, quotient -3
  EXPECT_EQ(Ccr(), N);
  ExpectEndOfInstruction();

  CpuDReg[3] = 0x00010000;  // DIVU 65536 / 1 overflows: V, no change, no trap
  CpuSop = 1;
  CpuZeroDivide = True;
  Run(mcrDIVU);
  EXPECT_EQ(CpuDReg[3], 0x00010000u);
  EXPECT_EQ(Ccr(), V);
  EXPECT_FALSE(CpuZeroDivide);
  ExpectNext();

  CpuDReg[3] = 0x80000000;  // DIVS 0x80000000 / -1 overflows
  CpuSop = 0xFFFF;
  CpuZeroDivide = True;
  Run(mcrDIVS);
  EXPECT_EQ(CpuDReg[3], 0x80000000u);
  EXPECT_EQ(Ccr(), V);
  EXPECT_FALSE(CpuZeroDivide);

  SetCcr(X | N | Z | V | C);  // zero divisor: flags cleared, request set, X kept
  CpuSop = 0x10000;           // low word 0
  Run(mcrDIVU);
  EXPECT_TRUE(CpuZeroDivide);
  EXPECT_EQ(Ccr(), X);
  EXPECT_EQ(CpuDReg[3], 0x80000000u);
  ExpectNext();

  CpuDReg[3] = 100000;  // DIVU 100000 / 3 = 33333 r 1
  CpuSop = 3;
  Run(mcrDIVU);
  EXPECT_EQ(CpuDReg[3], (1u << 16) | 33333u);
  EXPECT_EQ(Ccr(), X | N);  // bit 15 of the quotient
}

TEST_F(MoveTest, LongDivides) {
  // DIVS.L #5,D2:D1 of -3 (0xFFFFFFFF:0xFFFFFFFD): quotient 0, remainder -3.
  CpuDReg[2] = 0xFFFFFFFF;
  CpuDReg[1] = 0xFFFFFFFD;
  CpuSop = 5;
  CpuExtraWord = 0x1C02;
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], 0u);
  EXPECT_EQ(CpuDReg[2], 0xFFFFFFFDu);
  EXPECT_EQ(Ccr(), Z);

  // -2^31 / 1 fits; +2^31 / 1 does not.
  CpuDReg[2] = 0xFFFFFFFF;
  CpuDReg[1] = 0x80000000;
  CpuSop = 1;
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], 0x80000000u);
  EXPECT_EQ(Ccr(), N);
  CpuDReg[2] = 0;
  CpuDReg[1] = 0x80000000;
  Run(mcrDIVL);
  EXPECT_EQ(Ccr(), V);
  EXPECT_EQ(CpuDReg[1], 0x80000000u);
  EXPECT_EQ(CpuDReg[2], 0u);

  // Divisor 0x80000000 reads as -2^31: 2^31 / -2^31 = -1.
  CpuDReg[2] = 0;
  CpuDReg[1] = 0x80000000;
  CpuSop = 0x80000000;
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], 0xFFFFFFFFu);

  // DIVU.L 64-bit whose quotient needs 33 bits overflows.
  CpuDReg[2] = 2;
  CpuDReg[1] = 0;
  CpuSop = 1;
  CpuExtraWord = 0x1402;
  Run(mcrDIVL);
  EXPECT_EQ(Ccr(), V);

  // DIVU.L 32-bit 0xFFFFFFFF / 0x10, with and without a remainder register.
  CpuDReg[1] = 0xFFFFFFFF;
  CpuDReg[2] = 0;
  CpuSop = 0x10;
  CpuExtraWord = 0x1002;
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], 0x0FFFFFFFu);
  EXPECT_EQ(CpuDReg[2], 0xFu);
  CpuDReg[1] = 0xFFFFFFFF;
  CpuExtraWord = 0x1001;  // Dq = Dr = D1
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], 0x0FFFFFFFu);

  // DIVS.L 32-bit: 0x80000000 / -1 overflows; -7 / 2 keeps the dividend's sign.
  CpuDReg[1] = 0x80000000;
  CpuSop = 0xFFFFFFFF;
  CpuExtraWord = 0x1802;
  Run(mcrDIVL);
  EXPECT_EQ(Ccr(), V);
  CpuDReg[1] = static_cast<uint32_t>(-7);
  CpuSop = 2;
  Run(mcrDIVL);
  EXPECT_EQ(CpuDReg[1], static_cast<uint32_t>(-3));
  EXPECT_EQ(CpuDReg[2], static_cast<uint32_t>(-1));

  CpuSop = 0;
  CpuZeroDivide = False;
  Run(mcrDIVL);
  EXPECT_TRUE(CpuZeroDivide);
  ExpectNext();

  CpuExtraWord = 0x7C08;
  CpuSop = 1;
  Run(mcrDIVL);
  ExpectIllegal();
}

TEST(MulDivHelpers, SixtyFourBitArithmetic) {
  uint32_t h, l;
  MultiplyS64(-1, 1, h, l);
  EXPECT_EQ(h, 0xFFFFFFFFu);
  EXPECT_EQ(l, 0xFFFFFFFFu);
  MultiplyU64(0xFFFFFFFF, 0xFFFFFFFF, h, l);
  EXPECT_EQ(h, 0xFFFFFFFEu);
  EXPECT_EQ(l, 1u);
  h = 0;
  l = 0;
  EXPECT_TRUE(Negate64(h, l));
  h = 0x80000000;
  EXPECT_FALSE(Negate64(h, l));
  EXPECT_EQ(h, 0x80000000u);
  uint32_t qh, ql, rh, rl;
  EXPECT_FALSE(DivideU64(1, 0, 0, 0, qh, ql, rh, rl));
  EXPECT_TRUE(DivideU64(1, 5, 0, 2, qh, ql, rh, rl));
  EXPECT_EQ(qh, 0u);
  EXPECT_EQ(ql, 0x80000002u);
  EXPECT_EQ(rl, 1u);
}

}  // namespace korva::movetest
