// Add, subtract, compare and negate micro-routines.
#include "unit/microops/RoutineFixture.h"

namespace korva::test {
namespace {

using AddSub = RoutineTest;

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
}  // namespace korva::test
