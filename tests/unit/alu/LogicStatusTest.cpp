// Set-on-condition and the status-register immediates.
#include "unit/alu/AluFixture.h"
#include "cpu/classCPU.h"

namespace korva::alutest {
namespace {

using LogicStatus = AluTest;

TEST_F(LogicStatus, SetOnConditionWritesAByteAndNoFlag) {
  SetCcr(N | C);
  Op().Extra2 = 0;  // T
  Run(mcrScc);
  EXPECT_EQ(CpuDop, 0xFFu);
  ExpectNext();
  Op().Extra2 = 1;  // F
  Run(mcrScc);
  EXPECT_EQ(CpuDop, 0u);
  Op().Extra2 = 5;  // CS
  Run(mcrScc);
  EXPECT_EQ(CpuDop, 0xFFu);
  EXPECT_EQ(Ccr(), N | C);
}

TEST_F(LogicStatus, StatusRegisterImmediates) {
  Cpu.SR(0x2700);
  Op().Size = 0;  // CCR forms: only bits 4-0 count
  SetCcr(X | N | Z | V | C);
  CpuSop = 0xFF00;
  Run(mcrANDItoSR);
  EXPECT_EQ(Ccr(), 0);
  ExpectEndOfInstruction();
  CpuSop = 0xFFF0;
  SetCcr(N | C);
  Run(mcrORItoSR);
  EXPECT_EQ(Ccr(), X | N | C);
  EXPECT_EQ(Cpu.SR(), 0x2719);

  Op().Size = 1;  // SR forms
  CpuSop = 0x0700;
  Run(mcrEORItoSR);
  EXPECT_EQ(Cpu.SR(), 0x2019);

  // Clearing S swaps A7 to the user stack pointer and keeps the supervisor one.
  CpuAReg[7] = 0x8000;
  CpuUSP = 0x4000;
  CpuSop = 0xDFFF;
  Run(mcrANDItoSR);
  EXPECT_EQ(CpuS, False);
  EXPECT_EQ(CpuAReg[7], 0x4000u);
  EXPECT_EQ(CpuSSP, 0x8000u);
  Cpu.SR(0x2700);
}

TEST_F(LogicStatus, BadSizeIsAMicrocodeFault) {
  Op().Size = 2;
  for (auto routine : {mcrANDItoSR, mcrORItoSR, mcrEORItoSR}) {
    SetCcr(X | V);
    CpuSop = 0;
    Run(routine);
    ExpectMicrocodeFault();
    EXPECT_EQ(Ccr(), X | V);
  }
}

}  // namespace
}  // namespace korva::alutest
