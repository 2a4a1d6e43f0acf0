// Corners of the CPU32 effective-address and operand-pair routines that the
// vectors (MC68000 only) and the CPU32 guest programs do not show.
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "tables/OpMap.h"
#include "tables/OperandCodes.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

// Run one routine from its first step for opcode `op` with CpuPC at 0x2000.
void RunFrom(void (*routine)(), uint16_t op) {
  CpuOpcode = op;
  CpuPC = 0x2000;
  mcPC = 600;
  mcStage = 1;
  routine();
}

TEST(EffectiveAddress, Cpu32ScaledLongIndexWrapsAndPcPairsReadProgramSpace) {
  test::TestMachine m;
  m.UseModel(Cpu32);
  CpuAReg[0] = 0x1000;
  CpuDReg[1] = 0x80000001;
  m.Words(0x2000, {0x1C00});  // D1.L x4, displacement 0
  RunFrom(mcrSrcEA32, 0x3030);    // MOVE.W d8(A0,Xn),D0
  EXPECT_EQ(CpuEa, 0x1000u + 4);

  m.Words(0x6000, {0x1122, 0x3344});
  CpuEa = 0x6000;
  RunFrom(mcrReadSrcPair, 0x02FA);  // CHK2.W d16(PC)
  EXPECT_EQ(CpuSop, 0x1122u);
  EXPECT_EQ(CpuDop, 0x3344u);
  EXPECT_EQ(AccSSW, 0x1106);
}

// The register-indirect modes, from the built map and from an entry written by
// hand with only its size, modes and registers: both step A7 by 2 for a byte.
TEST(EffectiveAddress, RegisterIndirectModesFromBuiltAndHandWrittenEntries) {
  test::TestMachine m;
  constexpr uint16_t kOp = 0x1F1F;  // MOVE.B (A7)+,-(A7)
  for (bool byHand : {false, true}) {
    SCOPED_TRACE(byHand);
    if (byHand) {
      OpMap[kOp] = OpMapEntry{};  // the machine's reset rebuilds the map
      OpMap[kOp].Size = 0;
      OpMap[kOp].SrcMode = EaAnPostInc;
      OpMap[kOp].DstMode = EaAnPreDec;
      OpMap[kOp].SrcReg = OpMap[kOp].DstReg = 7;
    }
    CpuAReg[7] = 0x3000;
    RunFrom(mcrSrcEA, kOp);
    EXPECT_EQ(CpuEa, 0x3000u);
    EXPECT_EQ(CpuAReg[7], 0x3002u);
    RunFrom(mcrDstEA, kOp);
    EXPECT_EQ(CpuEa, 0x3000u);
    EXPECT_EQ(CpuAReg[7], 0x3000u);
    EXPECT_EQ(CpuEaFc, 1);
    EXPECT_EQ(mcPC, 601u);
  }
}

}  // namespace
}  // namespace korva
