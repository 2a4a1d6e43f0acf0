// Operand reads and writes, extension fetches, MOVEP and the register transfers,
// run one micro-routine at a time on a decoded opcode.
#include <gtest/gtest.h>

#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "tables/OpMap.h"
#include "unit/support/TestMachine.h"

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

TEST(OperandAccess, RegisterOperandsBySize) {
  test::TestMachine m;
  CpuDReg[1] = 0x12345678;
  CpuAReg[2] = 0x89ABCDEF;
  RunAt(0xD041, mcrReadSrc);  // ADD.W D1,D0
  EXPECT_EQ(CpuSop, 0x5678u);
  EXPECT_EQ(mcPC, 1001u);
  RunAt(0xD042 | 0x0008, mcrReadSrc);  // ADD.W A2,D0: a source An by size
  EXPECT_EQ(CpuSop, 0xCDEFu);
  RunAt(0xD4C1, mcrReadDst);  // ADDA.W D1,A2: a destination An whole
  EXPECT_EQ(CpuDop, 0x89ABCDEFu);
  // Writes to Dn keep the untouched bits and take the fast path.
  CpuDReg[0] = 0xAAAAAAAA;
  CpuDop = 0x11223344;
  RunAt(0x1001, mcrWriteDstByte);  // MOVE.B D1,D0
  EXPECT_EQ(CpuDReg[0], 0xAAAAAA44u);
  EXPECT_EQ(mcPC, 96u);
  RunAt(0x3001, mcrWriteDst);  // MOVE.W D1,D0
  EXPECT_EQ(CpuDReg[0], 0xAAAA3344u);
  // Any write routine aimed at An stores all 32 bits.
  RunAt(0x3041, mcrWriteDstWord);  // MOVEA.W D1,A0
  EXPECT_EQ(CpuAReg[0], 0x11223344u);
  // With an interrupt pending the tail runs instead of the fast fetch.
  HipPending = 0xFFFF;
  RunAt(0x1001, mcrWriteDstByte);
  EXPECT_EQ(mcPC, 1001u);
  HipPending = 0;
}

TEST(OperandAccess, MemoryAndImmediateReads) {
  test::TestMachine m;
  m.WriteLong(0x2000, 0xCAFEBABE);
  CpuEa = 0x2000;
  RunAt(0x2010, mcrReadSrcLong);  // MOVE.L (A0),D0
  EXPECT_EQ(CpuSop, 0xCAFEBABEu);
  EXPECT_EQ(AccAddress, 0x2002u);
  EXPECT_EQ(AccSSW, 0x1105);  // supervisor data read
  Cpu.SR(0x0000);
  RunAt(0x1010, mcrReadSrcByte);  // MOVE.B (A0),D0 in user state
  EXPECT_EQ(CpuSop, 0xCAu);
  EXPECT_EQ(AccSSW, 0x1301);
  Cpu.SR(0x2700);
  // A byte immediate is a whole word fetched; its low byte is the operand.
  m.Words(0x3000, {0x12AB, 0x5678});
  CpuPC = CpuEa = 0x3000;
  RunAt(0x103C, mcrReadSrc);  // MOVE.B #imm,D0
  EXPECT_EQ(CpuSop, 0xABu);
  EXPECT_EQ(CpuPC, 0x3002u);
  EXPECT_EQ(AccSSW, 0x2106);
  CpuPC = CpuEa = 0x3000;
  RunAt(0x203C, mcrReadSrc);  // MOVE.L #imm,D0
  EXPECT_EQ(CpuSop, 0x12AB5678u);
  EXPECT_EQ(CpuPC, 0x3004u);
  // PC-relative reads use program space.
  CpuEa = 0x2000;
  RunAt(0x303A, mcrReadSrcWord);  // MOVE.W d16(PC),D0
  EXPECT_EQ(CpuSop, 0xCAFEu);
  EXPECT_EQ(AccSSW, 0x1106);
}

TEST(OperandAccess, LongReadResumesAtTheSecondWord) {
  test::TestMachine m;
  m.WriteLong(0x2000, 0xCAFEBABE);
  m.SetDeviceCode(0x2002, 0x2003, DcNothing);
  CpuEa = 0x2000;
  RunAt(0x2010, mcrReadSrc);
  EXPECT_EQ(mcPC, 144u);
  EXPECT_EQ(FaultMcStage, 5);
  EXPECT_EQ(CpuTempWord, 0xCAFE);
  // The handler maps the word; the RTE brings back the resume point.
  m.SetDeviceCode(0x2002, 0x2003, DcRam);
  m.WriteWord(0x2000, 0);  // the first word is not read again
  mcPC = FaultMcPC;
  mcStage = FaultMcStage;
  mcrReadSrc();
  EXPECT_EQ(CpuSop, 0xCAFEBABEu);
  EXPECT_EQ(mcPC, 1001u);
}

TEST(OperandAccess, LongWriteFaultOnTheSecondWordRewritesOnlyThat) {
  test::TestMachine m;
  m.SetDeviceCode(0x2002, 0x2003, DcNothing);
  CpuEa = 0x2000;
  CpuDop = 0x11223344;
  RunAt(0x2080, mcrWriteDst);  // MOVE.L D0,(A0)
  EXPECT_EQ(mcPC, 144u);
  EXPECT_EQ(FaultMcStage, 5);
  EXPECT_EQ(m.ReadWord(0x2000), 0x1122);
  m.SetDeviceCode(0x2002, 0x2003, DcRam);
  m.WriteWord(0x2000, 0);
  mcPC = FaultMcPC;
  mcStage = 5;
  mcrWriteDst();
  EXPECT_EQ(m.ReadLong(0x2000), 0x00003344u);
  EXPECT_EQ(mcPC, 96u);
  // The fixed-size long write numbers the same access 3.
  m.SetDeviceCode(0x2002, 0x2003, DcNothing);
  RunAt(0x2080, mcrWriteDstLong);
  EXPECT_EQ(FaultMcStage, 3);
}

TEST(OperandAccess, ExtensionWordsImmediatesAndReturnAddress) {
  test::TestMachine m;
  m.Words(0x1000, {0x1234, 0x5678, 0x9ABC});
  CpuPC = 0x1000;
  RunAt(0x0000, mcrFetchExt);
  EXPECT_EQ(CpuExtraWord, 0x1234);
  EXPECT_EQ(CpuPC, 0x1002u);
  RunAt(0x0000, mcrFetchExtLong);
  EXPECT_EQ(CpuSop, 0x56789ABCu);
  EXPECT_EQ(CpuPC, 0x1006u);
  CpuPC = 0x1000;
  RunAt(0x0600 | 0x0010, mcrFetchImm);  // ADDI.B #imm,(A0)
  EXPECT_EQ(CpuSop, 0x34u);
  RunAt(0x0690, mcrFetchImm);  // ADDI.L #imm,(A0)
  EXPECT_EQ(CpuSop, 0x56789ABCu);
  EXPECT_EQ(CpuPC, 0x1006u);
  // The return address is pushed once; a resumed second write does not move A7 again.
  CpuAReg[7] = 0x8000;
  m.SetDeviceCode(0x7FFE, 0x7FFF, DcNothing);
  RunAt(0x6100, mcrPushReturn);
  EXPECT_EQ(FaultMcStage, 3);
  EXPECT_EQ(CpuAReg[7], 0x7FFCu);
  m.SetDeviceCode(0x7FFE, 0x7FFF, DcRam);
  mcPC = FaultMcPC;
  mcStage = 3;
  mcrPushReturn();
  EXPECT_EQ(CpuAReg[7], 0x7FFCu);
  EXPECT_EQ(m.ReadLong(0x7FFC), 0x00001006u);
}

TEST(OperandAccess, MovepMovesEveryOtherByte) {
  test::TestMachine m;
  m.Words(0x2000, {0xEEEE, 0xEEEE, 0xEEEE, 0xEEEE});
  CpuEa = 0x2001;
  CpuDop = 0x11223344;
  RunAt(0x01C8, mcrMOVEPWrite);  // MOVEP.L D0,d(A0)
  EXPECT_EQ(m.ReadLong(0x2000), 0xEE11EE22u);
  EXPECT_EQ(m.ReadLong(0x2004), 0xEE33EE44u);
  EXPECT_EQ(AccSSW, 0x1205);
  m.Words(0x3000, {0xAB00, 0xCD00});
  CpuEa = 0x3000;
  RunAt(0x0108, mcrMOVEPRead);  // MOVEP.W d(A0),D0
  EXPECT_EQ(CpuSop, 0xABCDu);
  EXPECT_EQ(AccSSW, 0x1305);
  // A bus error on the third byte of a long read resumes at step 6.
  m.Words(0x4000, {0x1100, 0x2200, 0x3300, 0x4400});
  m.SetDeviceCode(0x4004, 0x4005, DcNothing);
  CpuEa = 0x4000;
  RunAt(0x0148, mcrMOVEPRead);  // MOVEP.L d(A0),D0
  EXPECT_EQ(FaultMcStage, 6);
  m.SetDeviceCode(0x4004, 0x4005, DcRam);
  mcPC = FaultMcPC;
  mcStage = 6;
  AccAddress = 0x4004;
  mcrMOVEPRead();
  EXPECT_EQ(CpuSop, 0x11223344u);
  // A step of the other size's sequence is a microcode fault.
  CpuOpcode = 0x0108;
  mcPC = 1000;
  mcStage = 5;
  mcrMOVEPRead();
  EXPECT_EQ(mcPC, 64u);
  EXPECT_EQ(mcErrorPC, 1000u);
}

TEST(OperandAccess, DataRegisterTransfers) {
  test::TestMachine m;
  CpuDReg[1] = 0xFFFFFFFF;
  CpuDop = 0x12345678;
  RunAt(0xD301, mcrDstToDn);  // ADDX.B D1,D1
  EXPECT_EQ(CpuDReg[1], 0xFFFFFF78u);
  RunAt(0xD341, mcrDstToDn);  // ADDX.W
  EXPECT_EQ(CpuDReg[1], 0xFFFF5678u);
  CpuDReg[2] = 0xAABBCCDD;
  RunAt(0xD502 & 0xF1FF, mcrSrcFromDn);
  EXPECT_EQ(CpuSop, 0xDDu);
  RunAt(0xD582, mcrDstFromDn);  // ADDX.L D2,D2
  EXPECT_EQ(CpuDop, 0xAABBCCDDu);
}
