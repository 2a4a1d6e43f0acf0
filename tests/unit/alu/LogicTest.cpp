// Logic, clear and test micro-routines.
#include "unit/alu/AluFixture.h"

namespace korva::alutest {
namespace {

using Logic = AluTest;

TEST_F(Logic, RegisterFormsMergeBySizeAndKeepX) {
  // AND.B #0F into D2 = 12345678.
  Op().Size = 0;
  Op().DstReg = 2;
  CpuDReg[2] = 0x12345678;
  CpuSop = 0x0F;
  SetCcr(X | N | Z | V | C);
  Run(mcrANDToDn);
  EXPECT_EQ(CpuDReg[2], 0x12345608u);
  EXPECT_EQ(CpuDop, 0x08u);
  EXPECT_EQ(Ccr(), X);
  ExpectEndOfInstruction();

  // EOR.W D0,D1 with equal low words.
  Op().Size = 1;
  Op().SrcReg = 0;
  Op().DstReg = 1;
  CpuDReg[0] = 0xAAAA1234;
  CpuDReg[1] = 0x55551234;
  Run(mcrEORReg);
  EXPECT_EQ(CpuDReg[1], 0x55550000u);
  EXPECT_EQ(CpuDReg[0], 0xAAAA1234u);
  EXPECT_EQ(Ccr(), X | Z);

  // OR.L D0,D1 and NOT.L.
  Op().Size = 2;
  Run(mcrORReg);
  EXPECT_EQ(CpuDReg[1], 0xFFFF1234u);
  EXPECT_EQ(Ccr(), X | N);
  CpuDReg[1] = 0xFFFFFFFF;
  Run(mcrNOTDn);
  EXPECT_EQ(CpuDReg[1], 0u);
  EXPECT_EQ(Ccr(), X | Z);
}

TEST_F(Logic, LoadedFormsLeaveTheSizedResultForTheWriteBack) {
  Op().Size = 1;
  Op().SrcReg = 5;
  CpuDReg[5] = 0xFFFF8001;
  CpuDop = 0x1234F00F;
  Run(mcrANDDnToEa);
  EXPECT_EQ(CpuDop, 0x8001u);
  EXPECT_EQ(Ccr(), N);
  ExpectNext();
  CpuSop = 0x00FF;
  Run(mcrEORI);
  EXPECT_EQ(CpuDop, 0x80FEu);
  CpuSop = 0x7F01;
  Run(mcrORI);
  EXPECT_EQ(CpuDop, 0xFFFFu);
  Run(mcrNOT);
  EXPECT_EQ(CpuDop, 0u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();
}

TEST_F(Logic, ClearAndTest) {
  Op().Size = 1;
  Op().DstReg = 4;
  CpuDReg[4] = 0xDEADBEEF;
  CpuDop = 0x77;
  SetCcr(X | N | V | C);
  Run(mcrCLRDn);
  EXPECT_EQ(CpuDReg[4], 0xDEAD0000u);
  EXPECT_EQ(CpuDop, 0x77u);
  EXPECT_EQ(Ccr(), X | Z);
  ExpectEndOfInstruction();

  SetCcr(N);
  Run(mcrCLR);
  EXPECT_EQ(CpuDop, 0u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();

  // TST.W A0 tests the low word only.
  CpuAReg[4] = 0x12348000;
  SetCcr(X | V | C);
  Run(mcrTSTAn);
  EXPECT_EQ(CpuDop, 0x8000u);
  EXPECT_EQ(Ccr(), X | N);
  ExpectEndOfInstruction();

  Op().Size = 0;
  CpuDReg[4] = 0x00000100;
  Run(mcrTSTDn);
  EXPECT_EQ(Ccr(), X | Z);
  CpuDop = 0xFFFFFF80;
  Run(mcrTST);
  EXPECT_EQ(CpuDop, 0x80u);
  EXPECT_EQ(Ccr(), X | N);
  ExpectEndOfInstruction();

  // Byte TST of An is a fault.
  Run(mcrTSTAn);
  ExpectMicrocodeFault();
}

TEST_F(Logic, BadSizeIsAMicrocodeFault) {
  Op().Size = 3;
  Op().DstReg = 1;
  CpuDReg[1] = 0x12345678;
  for (auto routine : {mcrANDI, mcrANDReg, mcrANDDnToEa, mcrANDToDn, mcrORI, mcrORReg, mcrORDnToEa, mcrORToDn,
                       mcrEORI, mcrEORReg, mcrEORDnToEa, mcrNOTDn, mcrNOT, mcrTSTDn, mcrTSTAn, mcrTST}) {
    SetCcr(X | V);
    Run(routine);
    ExpectMicrocodeFault();
    EXPECT_EQ(CpuDReg[1], 0x12345678u);
    EXPECT_EQ(Ccr(), X | V);
  }
  // CLR Dn sets the flags of a clear before its size branch.
  Run(mcrCLRDn);
  ExpectMicrocodeFault();
  EXPECT_EQ(CpuDReg[1], 0x12345678u);
  EXPECT_EQ(Ccr(), X | Z);
}

}  // namespace
}  // namespace korva::alutest
