// Data-movement micro-routines called directly.
#include "unit/moves/MovesFixture.h"
#include "shell/BootDrive.h"

namespace korva::movetest {

TEST_F(MoveTest, MoveqSetsAllBitsAndFlagsButNeverX) {
  Op().Extra1 = -1;
  Op().DstReg = 3;
  SetCcr(X | V | C);
  Run(mcrMOVEQ);
  EXPECT_EQ(CpuDReg[3], 0xFFFFFFFFu);
  EXPECT_EQ(Ccr(), X | N);
  ExpectEndOfInstruction();

  Op().Extra1 = 0;
  Run(mcrMOVEQ);
  EXPECT_EQ(CpuDReg[3], 0u);
  EXPECT_EQ(Ccr(), X | Z);
}

TEST_F(MoveTest, ByteAndWordMovesKeepTheUpperBitsOfDn) {
  Op().SrcReg = 1;
  Op().DstReg = 0;
  CpuDReg[0] = 0x12345678;
  CpuDReg[1] = 0xAAAAAA80;
  Run(mcrMOVEBDnDn);
  EXPECT_EQ(CpuDReg[0], 0x12345680u);
  EXPECT_EQ(Ccr(), N);

  // Word from an address register (SrcMode 1) into Dn.
  Op().SrcMode = 1;
  CpuAReg[1] = 0xFFFF0000;
  Run(mcrMOVEWRnDn);
  EXPECT_EQ(CpuDReg[0], 0x12340000u);
  EXPECT_EQ(Ccr(), Z);
}

TEST_F(MoveTest, MemoryToMemoryMovesPassAllOfSopAndFlagTheLowPartOnly) {
  CpuSop = 0x12340000;
  Run(mcrMOVEW);
  EXPECT_EQ(CpuDop, 0x12340000u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();

  CpuSop = 0x00000180;
  Run(mcrMOVEB);
  EXPECT_EQ(CpuDop, 0x180u);
  EXPECT_EQ(Ccr(), N);
}

TEST_F(MoveTest, MoveaSignExtendsWordsAndChangesNoFlag) {
  Op().DstReg = 0;
  SetCcr(X | N | Z | V | C);
  CpuSop = 0x8000;
  Run(mcrMOVEAW);
  EXPECT_EQ(CpuAReg[0], 0xFFFF8000u);
  EXPECT_EQ(Ccr(), X | N | Z | V | C);

  Op().SrcMode = 0;
  Op().SrcReg = 2;
  CpuDReg[2] = 0x00017FFF;
  Run(mcrMOVEAWRn);
  EXPECT_EQ(CpuAReg[0], 0x00007FFFu);
  Run(mcrMOVEALRn);
  EXPECT_EQ(CpuAReg[0], 0x00017FFFu);
}

TEST_F(MoveTest, SwapExgAndExtend) {
  Op().DstReg = 2;
  CpuDReg[2] = 0x00001234;
  Run(mcrSWAP);
  EXPECT_EQ(CpuDReg[2], 0x12340000u);
  EXPECT_EQ(Ccr(), 0);  // only a whole zero register sets Z

  // EXG D0,A1: opmode 17, data register in SrcReg, address register in DstReg.
  Op().Extra2 = 17;
  Op().SrcReg = 0;
  Op().DstReg = 1;
  CpuDReg[0] = 0x11111111;
  CpuAReg[1] = 0x22222222;
  SetCcr(N | C);
  Run(mcrEXG);
  EXPECT_EQ(CpuDReg[0], 0x22222222u);
  EXPECT_EQ(CpuAReg[1], 0x11111111u);
  EXPECT_EQ(Ccr(), N | C);

  Op().DstReg = 4;
  Op().Extra2 = 2;  // EXT.W
  CpuDReg[4] = 0xABCD00F0;
  Run(mcrEXT);
  EXPECT_EQ(CpuDReg[4], 0xABCDFFF0u);
  EXPECT_EQ(Ccr(), N);
  Op().Extra2 = 7;  // EXTB.L
  CpuDReg[4] = 0x000000F0;
  Run(mcrEXT);
  EXPECT_EQ(CpuDReg[4], 0xFFFFFFF0u);
  CpuDReg[4] = 0x12345600;
  Run(mcrEXT);
  EXPECT_EQ(CpuDReg[4], 0u);
  EXPECT_EQ(Ccr(), Z);
  Op().Extra2 = 3;  // EXT.L
  CpuDReg[4] = 0x00008001;
  Run(mcrEXT);
  EXPECT_EQ(CpuDReg[4], 0xFFFF8001u);

  Op().Extra2 = 5;  // no such form
  Run(mcrEXT);
  ExpectMicrocodeFault();
}

TEST_F(MoveTest, StatusRegisterMoves) {
  Op().Extra2 = 2;  // MOVE to CCR: low byte only
  CpuSop = 0xFF1F;
  Run(mcrMOVEToCCR);
  EXPECT_EQ(Ccr(), 0x1F);
  EXPECT_TRUE(CpuS);  // the system byte is untouched

  Op().Extra2 = 3;  // MOVE to SR leaving supervisor state swaps the stacks
  CpuAReg[7] = 0x8000;
  CpuUSP = 0x4000;
  CpuSop = 0x0704;
  Run(mcrMOVEToCCR);
  EXPECT_FALSE(CpuS);
  EXPECT_EQ(CpuAReg[7], 0x4000u);
  EXPECT_EQ(CpuSSP, 0x8000u);
  EXPECT_EQ(Cpu.SR(), 0x0704);

  Op().Extra2 = 0;
  Run(mcrMOVEFromSR);
  EXPECT_EQ(CpuDop, 0x0704u);
  Op().Extra2 = 1;
  Run(mcrMOVEFromSR);
  EXPECT_EQ(CpuDop, 0x0004u);
  ExpectNext();
}

TEST_F(MoveTest, MovecReadsTheControlAndEmulatorRegisters) {
  Op().Extra2 = 0;
  CpuSFC = 0xFFFFFFFD;
  CpuExtraWord = 0x8000;  // SFC -> A0
  Run(mcrMOVEC);
  EXPECT_EQ(CpuAReg[0], 5u);
  ExpectEndOfInstruction();

  CpuVBR = 0;
  CpuDReg[0] = 0xDEADBEEF;
  CpuExtraWord = 0x0801;  // VBR -> D0
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[0], 0u);

  struct Case { uint16_t code; uint32_t value; };
  SelectCpu32();
  UseFormat2Stack = True;
  BootDrive = 2;
  for (Case c : {Case{0x700, 0}, Case{0x701, 1}, Case{0x702, 0}, Case{0x703, 15}, Case{0x704, 32},
                 Case{0x705, 0x105}, Case{0x706, 0}, Case{0x707, 2}}) {
    CpuDReg[3] = 0xFFFFFFFF;
    CpuExtraWord = static_cast<uint16_t>(0x3000 | c.code);
    Run(mcrMOVEC);
    EXPECT_EQ(CpuDReg[3], c.value) << std::hex << c.code;
  }
  SelectCpu68010();
  CpuExtraWord = 0x3705;
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0x101u);
  SelectCpu68000();
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0u);
  SelectCpu68010();
  BootDrive = 0;

  CpuExtraWord = 0x3002;  // code 0x002 (CACR on larger processors) is not offered
  CpuDReg[3] = 7;
  Run(mcrMOVEC);
  ExpectIllegal();
  EXPECT_EQ(CpuDReg[3], 7u);
}

TEST_F(MoveTest, MovecWritesOnlyTheWritableRegisters) {
  Op().Extra2 = 1;
  CpuDReg[1] = 0x1234567E;
  CpuExtraWord = 0x1001;  // D1 -> DFC
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDFC, 6u);
  CpuExtraWord = 0x1801;  // D1 -> VBR
  Run(mcrMOVEC);
  EXPECT_EQ(CpuVBR, 0x1234567Eu);
  CpuExtraWord = 0x1800;  // D1 -> USP
  Run(mcrMOVEC);
  EXPECT_EQ(CpuUSP, 0x1234567Eu);

  for (uint16_t code = 0x700; code <= 0x707; ++code) {
    CpuExtraWord = static_cast<uint16_t>(0x1000 | code);
    Run(mcrMOVEC);
    ExpectIllegal();
  }
  EXPECT_EQ(CpuVBR, 0x1234567Eu);
}

TEST_F(MoveTest, MoveUspBothWays) {
  Op().DstReg = Op().SrcReg = 5;
  CpuAReg[5] = 0x00C0FFEE;
  Op().Extra2 = 0;
  Run(mcrMOVEUSP);
  EXPECT_EQ(CpuUSP, 0x00C0FFEEu);
  CpuAReg[5] = 0;
  Op().Extra2 = 1;
  Run(mcrMOVEUSP);
  EXPECT_EQ(CpuAReg[5], 0x00C0FFEEu);
}

TEST_F(MoveTest, EndingsFollowTracesAndInterrupts) {
  Run(mcrNOP);
  ExpectEndOfInstruction();
  CpuTracePending = True;
  Run(mcrNOP);
  ExpectNext();
  CpuTracePending = False;
  HipPending = 0xFFFF;
  Run(mcrMOVELToDn);
  ExpectNext();
}

}  // namespace korva::movetest
