// The index scale of the effective-address calculators and the operand-pair
// read, called directly on a prepared machine (every other form runs in the
// MC68000 vectors and the CPU32 addressing guest program).
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

using test::TestMachine;

constexpr uint32_t kRoutineAddr = 600;  // any control-store address: a normal end moves to 601

class EaTest : public ::testing::Test {
 protected:
  // Run one calculator from its first step for opcode `op` with CpuPC at `pc`.
  void Run(void (*routine)(), uint16_t op, uint32_t pc) {
    CpuOpcode = op;
    CpuPC = pc;
    mcPC = kRoutineAddr;
    mcStage = 1;
    routine();
  }
  void UseCpu32() { m.UseModel(Cpu32); }
  TestMachine m;
};

TEST_F(EaTest, ScaleBitsIndexOnlyOnCpu32) {
  CpuAReg[0] = 0x1000;
  CpuDReg[1] = 3;
  m.Words(0x2000, {0x1404});  // D1.W, scale bits 10 (x4), displacement 4
  Run(mcrSrcEA, 0x3030, 0x2000);  // MOVE.W d8(A0,Xn),D0
  EXPECT_EQ(CpuEa, 0x1007u);
  EXPECT_EQ(CpuEaFc, 1);
  UseCpu32();
  Run(mcrSrcEA32, 0x3030, 0x2000);
  EXPECT_EQ(CpuEa, 0x1010u);
  // A long index is doubled with wrap-around.
  CpuDReg[1] = 0x80000001;
  m.Words(0x2000, {0x1C00});  // D1.L x4, displacement 0
  Run(mcrSrcEA32, 0x3030, 0x2000);
  EXPECT_EQ(CpuEa, 0x1000u + 4);
}

TEST_F(EaTest, OperandPairFunctionCodesAndResumeSteps) {
  UseCpu32();  // CMP2 exists on CPU32 only
  m.Words(0x6000, {0x1122, 0x3344, 0x5566, 0x7788});
  CpuEa = 0x6000;
  Run(mcrReadSrcPair, 0x02FA, 0x2000);  // CHK2.W d16(PC): program space
  EXPECT_EQ(CpuSop, 0x1122u);
  EXPECT_EQ(CpuDop, 0x3344u);
  EXPECT_EQ(AccSSW, 0x1106);
  EXPECT_EQ(mcPC, kRoutineAddr + 1);
  m.SetDeviceCode(0x6006, 0x6007, DcNothing);
  Run(mcrReadSrcPair, 0x04D0, 0x2000);  // CMP2.L (A0): the fourth word is step 9
  EXPECT_EQ(FaultMcStage, 9);
  EXPECT_EQ(CpuSop, 0x11223344u);
  Run(mcrReadSrcPair, 0x04FA, 0x2000);  // CMP2.L d16(PC): the same word is step 17
  EXPECT_EQ(FaultMcStage, 17);
}

}  // namespace
}  // namespace korva
