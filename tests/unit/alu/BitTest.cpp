// Bit test and bit change micro-routines.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using Bits = AluTest;

TEST_F(Bits, BitNumbersAreModulo32InARegisterAndModulo8InMemory) {
  Op().Size = 2;  // data-register destination
  CpuSop = 31;
  CpuDop = 0x80000000;
  SetCcr(X | N | Z | V | C);
  Run(mcrBTST);
  EXPECT_EQ(Ccr(), X | N | V | C);
  EXPECT_EQ(CpuDop, 0x80000000u);
  ExpectEndOfInstruction();
  CpuDop = 0x7FFFFFFF;
  SetCcr(0);
  Run(mcrBTST);
  EXPECT_EQ(Ccr(), Z);

  // BCHG #33: bit 1, which was clear.
  CpuSop = 33;
  CpuDop = 0x00000000;
  Run(mcrBCHG);
  EXPECT_EQ(CpuDop, 0x00000002u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();
  Run(mcrBCHG);
  EXPECT_EQ(CpuDop, 0u);
  EXPECT_EQ(Ccr(), 0);

  Op().Size = 0;  // memory byte
  CpuSop = 9;
  CpuDop = 0x00;
  Run(mcrBSET);
  EXPECT_EQ(CpuDop, 0x02u);
  EXPECT_EQ(Ccr(), Z);
  CpuSop = 0xFFFFFF0F;
  CpuDop = 0x80;
  Run(mcrBCLR);
  EXPECT_EQ(CpuDop, 0x00u);
  EXPECT_EQ(Ccr(), 0);
  Run(mcrBCLR);  // already clear: unchanged value, Z set
  EXPECT_EQ(CpuDop, 0x00u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();
}

TEST_F(Bits, WordOrUnknownSizeIsAMicrocodeFault) {
  for (uint16_t size : {uint16_t{1}, uint16_t{3}, uint16_t{0xFFFF}})
    for (auto routine : {mcrBTST, mcrBSET, mcrBCLR, mcrBCHG}) {
      Op().Size = size;
      CpuSop = 3;
      CpuDop = 0x55;
      SetCcr(Z);
      Run(routine);
      ExpectMicrocodeFault();
      EXPECT_EQ(CpuDop, 0x55u);
      EXPECT_EQ(Ccr(), Z);
    }
}

}  // namespace
}  // namespace korva::alutest
