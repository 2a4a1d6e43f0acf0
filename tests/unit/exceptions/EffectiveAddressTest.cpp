// The effective-address calculators, called directly on a prepared machine.
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "unit/support/TestMachine.h"
#include "tables/OpMap.h"

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
  void UseCpu32() {
    ClearOpMap();
    ClearOpText();
    SelectCpu32();
    BuildOpMap();
    BuildExtWordTable();
  }
  TestMachine m;
};

TEST_F(EaTest, AbsoluteWordIsSignExtendedToAll32Bits) {
  m.Words(0x2000, {0x8000});
  Run(mcrSrcEA, 0x3038, 0x2000);  // MOVE.W (xxx).W,D0
  EXPECT_EQ(CpuEa, 0xFFFF8000u);
  EXPECT_EQ(CpuEaFc, 1);
  EXPECT_EQ(CpuPC, 0x2002u);
  EXPECT_EQ(mcPC, kRoutineAddr + 1);
  EXPECT_EQ(mcStage, 1);
}

TEST_F(EaTest, PcRelativeModesCountFromTheExtensionWord) {
  for (int model = 0; model < 2; ++model) {
    if (model == 1) UseCpu32();
    auto src = model ? mcrSrcEA32 : mcrSrcEA;
    m.Words(0x3002, {0x0010});
    Run(src, 0x303A, 0x3002);  // MOVE.W d16(PC),D0 at 0x3000
    EXPECT_EQ(CpuEa, 0x3012u);
    EXPECT_EQ(CpuEaFc, 2);
    EXPECT_EQ(CpuPC, 0x3004u);

    CpuDReg[1] = 0x1234FFFE;   // D1.W = -2
    m.Words(0x3002, {0x1004});  // D1.W, displacement 4
    Run(src, 0x303B, 0x3002);  // MOVE.W d8(PC,D1.W),D0
    EXPECT_EQ(CpuEa, 0x3002u - 2 + 4) << "model " << model;
    EXPECT_EQ(CpuEaFc, 2);
    EXPECT_EQ(CpuExtWord, 0x1004u);
  }
}


TEST_F(EaTest, StackPointerStepsByTwoForBytes) {
  struct Case {
    uint16_t op;
    int reg;
    uint32_t ea, after;
  } cases[] = {
      {0x101F, 7, 0x4000, 0x4002},  // MOVE.B (A7)+,D0
      {0x1027, 7, 0x3FFE, 0x3FFE},  // MOVE.B -(A7),D0
      {0x201F, 7, 0x4000, 0x4004},  // MOVE.L (A7)+,D0
      {0x101E, 6, 0x4000, 0x4001},  // MOVE.B (A6)+,D0
  };
  for (const Case& c : cases) {
    CpuAReg[c.reg] = 0x4000;
    Run(mcrSrcEA, c.op, 0x2000);
    EXPECT_EQ(CpuEa, c.ea) << std::hex << c.op;
    EXPECT_EQ(CpuAReg[c.reg], c.after) << std::hex << c.op;
    EXPECT_EQ(CpuPC, 0x2000u);
  }
}

TEST_F(EaTest, SourceIncrementIsSeenByTheDestinationDecrement) {
  CpuAReg[0] = 0x5000;
  Run(mcrSrcEA, 0x3118, 0x2000);  // MOVE.W (A0)+,-(A0)
  EXPECT_EQ(CpuEa, 0x5000u);
  EXPECT_EQ(CpuAReg[0], 0x5002u);
  Run(mcrDstEA, 0x3118, 0x2000);
  EXPECT_EQ(CpuEa, 0x5000u);
  EXPECT_EQ(CpuAReg[0], 0x5000u);
}


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

TEST_F(EaTest, Cpu32FullFormatWords) {
  UseCpu32();
  CpuDReg[1] = 5;
  // PC mode, long base displacement: base is the extension word, 6 bytes below the final PC.
  m.Words(0x3002, {0x1130, 0x0001, 0x0000});
  Run(mcrSrcEA32, 0x303B, 0x3002);
  EXPECT_EQ(CpuExtCount, 6);
  EXPECT_EQ(CpuPC, 0x3008u);
  EXPECT_EQ(CpuEa, 0x3002u + 0x10000 + 5);
  EXPECT_EQ(CpuEaFc, 2);
  // PC mode with the base suppressed: displacement + index, still program space.
  m.Words(0x3002, {0x11A0, 0x0100});
  Run(mcrSrcEA32, 0x303B, 0x3002);
  EXPECT_EQ(CpuEa, 0x105u);
  EXPECT_EQ(CpuEaFc, 2);
  EXPECT_EQ(CpuExtCount, 4);
  // An mode, index suppressed, null displacement.
  CpuAReg[2] = 0x7000;
  m.Words(0x3002, {0x1150});
  Run(mcrSrcEA32, 0x3032, 0x3002);  // MOVE.W d8(A2,Xn),D0
  EXPECT_EQ(CpuEa, 0x7000u);
  EXPECT_EQ(CpuEaFc, 1);
}

TEST_F(EaTest, Cpu32UnsupportedWordsTakeTheIllegalPath) {
  UseCpu32();
  for (uint16_t ext : {uint16_t{0x1100}, uint16_t{0x1111}, uint16_t{0x1125}}) {  // reserved size, memory indirect
    m.Words(0x3002, {ext, 0, 0});
    Run(mcrSrcEA32, 0x3030, 0x3002);
    EXPECT_EQ(mcPC, McIllegal) << std::hex << ext;
    EXPECT_EQ(mcStage, 1);
    EXPECT_EQ(CpuPC, 0x3004u);
  }
}



// ---- Operand pair ----

TEST_F(EaTest, OperandPairReadsBothBoundsOfEachSize) {
  UseCpu32();  // CMP2 exists on CPU32 only
  m.Words(0x6000, {0x1122, 0x3344, 0x5566, 0x7788});
  CpuEa = 0x6000;
  Run(mcrReadSrcPair, 0x00D0, 0x2000);  // CMP2.B (A0)
  EXPECT_EQ(CpuSop, 0x11u);
  EXPECT_EQ(CpuDop, 0x22u);
  Run(mcrReadSrcPair, 0x02D0, 0x2000);  // CMP2.W (A0)
  EXPECT_EQ(CpuSop, 0x1122u);
  EXPECT_EQ(CpuDop, 0x3344u);
  Run(mcrReadSrcPair, 0x04D0, 0x2000);  // CMP2.L (A0)
  EXPECT_EQ(CpuSop, 0x11223344u);
  EXPECT_EQ(CpuDop, 0x55667788u);
  EXPECT_EQ(mcPC, kRoutineAddr + 1);
}

TEST_F(EaTest, OperandPairInProgramSpaceUsesProgramStatusWords) {
  UseCpu32();
  m.Words(0x6000, {0x1122, 0x3344});
  CpuEa = 0x6000;
  Run(mcrReadSrcPair, 0x02FA, 0x2000);  // CHK2.W d16(PC)
  EXPECT_EQ(CpuDop, 0x3344u);
  EXPECT_EQ(AccSSW, 0x1106);  // supervisor program read
}

TEST_F(EaTest, OperandPairFaultOnTheFourthWordKeepsTheLowerBound) {
  UseCpu32();  // CMP2 exists on CPU32 only
  m.Words(0x6000, {0x1122, 0x3344, 0x5566, 0x7788});
  m.SetDeviceCode(0x6006, 0x6007, DcNothing);
  CpuEa = 0x6000;
  Run(mcrReadSrcPair, 0x04D0, 0x2000);  // CMP2.L (A0)
  EXPECT_EQ(FaultMcStage, 9);
  EXPECT_EQ(CpuSop, 0x11223344u);
  Run(mcrReadSrcPair, 0x04FA, 0x2000);  // CMP2.L d16(PC): the same word is step 17
  EXPECT_EQ(FaultMcStage, 17);
}


}  // namespace
}  // namespace korva
