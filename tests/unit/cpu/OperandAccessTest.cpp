// Operand reads and writes, run one micro-routine at a time on a
// decoded opcode (their restarts run end to end in the exception tests).
#include <gtest/gtest.h>

#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
// Decode `opcode` and run micro-routine `routine` from step 1 at a control-store
// address that is not a fast-path target.
void RunAt(uint16_t opcode, void (*routine)(), uint32_t at = 1000) {
  CpuOpcode = opcode;
  mcPC = at;
  mcStage = 1;
  routine();
}
}  // namespace

TEST(OperandAccess, FunctionCodesOfDataProgramAndImmediateReads) {
  test::TestMachine m;
  m.WriteLong(0x2000, 0xCAFEBABE);
  CpuEa = 0x2000;
  Cpu.SR(0x0000);
  RunAt(0x1010, mcrReadSrcByte);  // MOVE.B (A0),D0 in user state
  EXPECT_EQ(CpuSop, 0xCAu);
  EXPECT_EQ(AccSSW, 0x1301);
  Cpu.SR(0x2700);
  RunAt(0x303A, mcrReadSrcWord);  // MOVE.W d16(PC),D0: program space
  EXPECT_EQ(AccSSW, 0x1106);
  // A byte immediate is a whole word fetched; its low byte is the operand.
  m.Words(0x3000, {0x12AB});
  CpuPC = CpuEa = 0x3000;
  RunAt(0x103C, mcrReadSrc);  // MOVE.B #imm,D0
  EXPECT_EQ(CpuSop, 0xABu);
  EXPECT_EQ(CpuPC, 0x3002u);
  EXPECT_EQ(AccSSW, 0x2106);
}

TEST(OperandAccess, LongWriteFaultOnTheSecondWordRewritesOnlyThat) {
  test::TestMachine m;
  m.SetDeviceCode(0x2002, 0x2003, DcNothing);
  CpuEa = 0x2000;
  CpuDop = 0x11223344;
  RunAt(0x2080, mcrWriteDst);  // MOVE.L D0,(A0)
  EXPECT_EQ(mcPC, +McBusError);
  EXPECT_EQ(FaultMcStage, 5);
  EXPECT_EQ(m.ReadWord(0x2000), 0x1122);
  m.SetDeviceCode(0x2002, 0x2003, DcRam);
  m.WriteWord(0x2000, 0);
  mcPC = FaultMcPC;
  mcStage = 5;
  mcrWriteDst();
  EXPECT_EQ(m.ReadLong(0x2000), 0x00003344u);
  EXPECT_EQ(mcPC, +McFastFetch);
  // The fixed-size long write numbers the same access 3.
  m.SetDeviceCode(0x2002, 0x2003, DcNothing);
  RunAt(0x2080, mcrWriteDstLong);
  EXPECT_EQ(FaultMcStage, 3);
}

