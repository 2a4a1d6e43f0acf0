// Add, subtract, compare and negate micro-routines.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using AddSub = AluTest;

// The flags of d + s + x or d - s - x on bytes, from integer arithmetic.
uint8_t ByteFlags(int wide, int narrowSigned) {
  return static_cast<uint8_t>(((wide & ~0xFF) ? X | C : 0) | ((wide & 0x80) ? N : 0) | ((wide & 0xFF) == 0 ? Z : 0) |
                              (narrowSigned != static_cast<int8_t>(wide) ? V : 0));
}

// Every byte pair, with and without X (Z set on entry, so the extended forms'
// Z shows the result), for ADDX, SUBX and NEGX; X = 0 gives ADD, SUB and NEG.
TEST_F(AddSub, ByteArithmeticMatchesIntegerArithmetic) {
  for (int x = 0; x < 2; ++x)
    for (int d = 0; d < 256; ++d)
      for (int s = 0; s < 256; ++s) {
        const int sd = static_cast<int8_t>(d), ss = static_cast<int8_t>(s);
        struct {
          void (*routine)();
          int wide, narrow;
        } const ops[] = {{mcrADDX, d + s + x, sd + ss + x}, {mcrSUBX, d - s - x, sd - ss - x}, {mcrNEGX, -d - x, -sd - x}};
        for (const auto& op : ops) {
          CpuSop = static_cast<uint32_t>(s);
          CpuDop = static_cast<uint32_t>(d);
          SetCcr(x ? X | Z : Z);
          Run(op.routine);
          ASSERT_EQ(CpuDop, static_cast<uint32_t>(op.wide & 0xFF)) << d << " " << s << " " << x;
          ASSERT_EQ(Ccr(), ByteFlags(op.wide, op.narrow)) << d << " " << s << " " << x;
          ASSERT_EQ(mcPC, kStep + 1);
        }
      }
}

// ADDA, SUBA, CMPA: the word source is sign-extended in CpuSop, ADDA and SUBA
// leave the old An in CpuDop and change no flag, CMPA leaves the difference.
TEST_F(AddSub, AddressFormsKeepTheirOperandsForARestart) {
  Op().Size = 1;
  CpuAReg[0] = 0x00010000;
  CpuSop = 0xABCD8000;
  SetCcr(N | C);
  Run(mcrADDA);
  EXPECT_EQ(CpuAReg[0], 0x00008000u);
  EXPECT_EQ(CpuSop, 0xFFFF8000u);
  EXPECT_EQ(CpuDop, 0x00010000u);
  EXPECT_EQ(Ccr(), N | C);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
  CpuSop = 0xFFFF;
  Run(mcrCMPA);
  EXPECT_EQ(CpuDop, 0x00008001u);
  EXPECT_EQ(CpuAReg[0], 0x00008000u);
  EXPECT_EQ(Ccr(), C);
}

// A routine that ends its instruction steps into the tail while a trace or an
// interrupt is pending; a loaded form always steps on to its write-back.
TEST_F(AddSub, TheTailRunsWhenTraceOrInterruptIsPending) {
  Op().Size = 2;
  CpuTracePending = True;
  Run(mcrNEGDn);
  EXPECT_EQ(mcPC, kStep + 1);
  CpuTracePending = False;
  HipPending = 0xFFFF;
  Run(mcrCMPAAn);
  EXPECT_EQ(mcPC, kStep + 1);
  HipPending = 0;
  Run(mcrADDImm);
  EXPECT_EQ(mcPC, kStep + 1);
  Run(mcrADDImmToDn);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));
}

}  // namespace
}  // namespace korva::alutest
