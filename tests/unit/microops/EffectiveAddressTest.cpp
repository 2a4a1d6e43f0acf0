// Corners of the CPU32 effective-address and operand-pair routines that the
// vectors (MC68000 only) and the CPU32 guest programs do not show.
#include <gtest/gtest.h>
#include <cstdint>
#include "bus/BusState.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
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

}  // namespace
}  // namespace korva
