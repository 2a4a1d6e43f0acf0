// Edge cases of the move, flow, multiply/divide, bound, MOVEM, MOVES, MOVPHY and
// CPU32 micro-routines that the guest programs cannot observe: decode values no
// opcode produces, the status words of the accesses, the exact resume steps, the
// fast-path endings and the corners of the long divide.
#include "bus/Memory.h"
#include "microops/MulDiv.h"
#include "unit/moves/MovesFixture.h"

namespace korva::movetest {

TEST_F(MoveTest, DecodeValuesWithoutACaseAreMicrocodeFaults) {
  for (auto routine : {mcrEXT, mcrEXG, mcrMOVEToCCR, mcrMOVEFromSR}) {
    Op().Extra2 = 5;
    Run(routine);
    ExpectMicrocodeFault();
  }
  Op().Size = 3;
  Run(mcrCMP2);
  ExpectMicrocodeFault();
  Run(mcrMOVESRead);
  ExpectMicrocodeFault();
  Run(mcrMOVESWrite);
  ExpectMicrocodeFault();
  for (auto routine : {mcrRTS, mcrRTR, mcrRTD, mcrUNLK, mcrLINK, mcrPEA, mcrTAS, mcrMOVEMWToMem, mcrMOVEMLToRegs}) {
    mcPC = kStep;
    mcStage = 40;
    routine();
    ExpectMicrocodeFault();
  }
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

TEST_F(MoveTest, MovecFrameKindAndUnknownCodes) {
  Op().Extra2 = 0;
  CpuExtraWord = 0x3705;  // 0x705 -> D3
  UseFormat2Stack = True;
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0x105u);
  UseFormat2Stack = False;
  Run(mcrMOVEC);
  EXPECT_EQ(CpuDReg[3], 0x101u);
  CpuExtraWord = 0x3002;  // not offered here (CACR on larger processors)
  CpuDReg[3] = 7;
  Run(mcrMOVEC);
  ExpectIllegal();
  EXPECT_EQ(CpuDReg[3], 7u);
}

TEST_F(MoveTest, BranchSumsWrapAndMayLandOdd) {
  CpuPC = 0x1002;
  Op().Extra1 = -1;  // 0xFF on the MC68000/MC68010: a byte branch to opcode + 1
  Run(mcrBRAB);
  EXPECT_EQ(CpuPC, 0x1001u);
  CpuPC = 0x00000002;
  CpuSop = 0xFFFFFFF0;
  Run(mcrBRAL);
  EXPECT_EQ(CpuPC, 0xFFFFFFEEu);
  CpuPC = 0x1004;  // BRA.W 0 lands on its own extension word
  CpuExtraWord = 0;
  Run(mcrBRAW);
  EXPECT_EQ(CpuPC, 0x1002u);
}

TEST_F(MoveTest, LongDivideCorners) {
  struct Case { uint16_t ext; uint32_t dr, dq, divisor, q, r; uint8_t ccr; };
  // ext: Dq = D1, Dr = D2; 0x1C02 signed 64-bit, 0x1402 unsigned 64-bit, 0x1802 signed 32-bit.
  for (Case c : {Case{0x1C02, 0, 0x80000000, 0x80000000, 0xFFFFFFFF, 0, N},  // 2^31 / -2^31
                 Case{0x1C02, 0xFFFFFFFF, 0x80000000, 1, 0x80000000, 0, N},  // -2^31 fits
                 Case{0x1C02, 0, 0x80000000, 1, 0x80000000, 0, V},           // +2^31 does not
                 Case{0x1C02, 0x80000000, 0, 0xFFFFFFFF, 0x80000000, 0, V},  // -2^63 / -1
                 Case{0x1402, 2, 0, 1, 0, 2, V},                             // 33-bit quotient
                 Case{0x1802, 0, static_cast<uint32_t>(-7), 2, static_cast<uint32_t>(-3),
                      static_cast<uint32_t>(-1), N}}) {
    CpuDReg[1] = c.dq;
    CpuDReg[2] = c.dr;
    CpuSop = c.divisor;
    CpuExtraWord = c.ext;
    Run(mcrDIVL);
    EXPECT_EQ(Ccr(), c.ccr) << std::hex << c.ext << " " << c.dr << ":" << c.dq << " / " << c.divisor;
    if (!(c.ccr & V)) {
      EXPECT_EQ(CpuDReg[1], c.q);
      EXPECT_EQ(CpuDReg[2], c.r);
    } else {
      EXPECT_EQ(CpuDReg[1], c.dq);  // overflow changes no register
      EXPECT_EQ(CpuDReg[2], c.dr);
      ExpectNext();                 // on to the zero-divide step, which passes
      EXPECT_FALSE(CpuZeroDivide);
    }
  }
  uint32_t qh, ql, rh, rl;
  EXPECT_FALSE(DivideU64(1, 0, 0, 0, qh, ql, rh, rl));
  uint32_t h = 0, l = 0;
  EXPECT_TRUE(Negate64(h, l));
}

TEST_F(MoveTest, StatusWordsOfTheOwnAccesses) {
  CpuAReg[7] = 0x1000;
  Run(mcrRTS);
  EXPECT_EQ(AccSSW, 0x1105);  // supervisor data read
  Op().DstMode = 2;
  CpuEa = 0x3001;
  Run(mcrTAS);
  EXPECT_EQ(AccSSW, 0x1B05);  // read-modify-write
  CpuEaFc = 2;                // MOVEM from a PC-relative source: program space
  CpuExtraWord = 1;
  CpuEa = 0x3000;
  Run(mcrMOVEMWToRegs);
  EXPECT_EQ(AccSSW, 0x1106);
  Cpu.SR(0x0000);  // MOVES ignores the state: the function code is SFC's
  Op().Size = 0;
  CpuSFC = 5;
  Run(mcrMOVESRead);
  EXPECT_EQ(AccSSW, 0x1305);
  Op().Size = 2;
  CpuDFC = 3;
  CpuEa = 0x4000;
  Run(mcrMOVESWrite);
  EXPECT_EQ(AccSSW, 0x1003);
  EXPECT_EQ(AccAddress, 0x4002u);
}

TEST_F(MoveTest, ResumeStepsOfMultiWordRoutines) {
  // MOVEM.W to memory, mask bits 0-2: the third word is step 4; the restart writes
  // only it and the words after it.
  Op().DstMode = 2;
  CpuDReg[0] = 0xA;
  CpuDReg[1] = 0xB;
  CpuDReg[2] = 0xC;
  CpuEa = 0x3000;
  CpuExtraWord = 0x0007;
  M().SetDeviceCode(0x3004, 0x3005, 6);
  Run(mcrMOVEMWToMem);
  ExpectBusErrorAt(4);
  M().SetDeviceCode(0x3004, 0x3005, 1);
  M().WriteWord(0x3000, 0);
  ResumeAfterFault(mcrMOVEMWToMem);
  EXPECT_EQ(M().ReadWord(0x3000), 0);
  EXPECT_EQ(M().ReadWord(0x3004), 0xC);

  // MOVEM.L from memory: the second word of the first register is step 3, the
  // first word waits in CpuTempWord.
  CpuEa = 0x3000;
  CpuExtraWord = 0x0001;
  M().WriteLong(0x3000, 0x12345678);
  M().SetDeviceCode(0x3002, 0x3003, 6);
  Run(mcrMOVEMLToRegs);
  ExpectBusErrorAt(3);
  EXPECT_EQ(CpuTempWord, 0x1234);
  M().SetDeviceCode(0x3002, 0x3003, 1);
  ResumeAfterFault(mcrMOVEMLToRegs);
  EXPECT_EQ(CpuDReg[0], 0x12345678u);

  // MOVES.L to memory: the low word is step 5.
  Op().Size = 2;
  CpuDop = 0x11223344;
  CpuEa = 0x4000;
  M().SetDeviceCode(0x4002, 0x4003, 6);
  Run(mcrMOVESWrite);
  ExpectBusErrorAt(5);
  M().SetDeviceCode(0x4002, 0x4003, 1);
  M().WriteWord(0x4000, 0);
  ResumeAfterFault(mcrMOVESWrite);
  EXPECT_EQ(M().ReadWord(0x4000), 0);
  EXPECT_EQ(M().ReadWord(0x4002), 0x3344);

  // RTR: the condition codes are loaded when the return address faults (step 3).
  CpuAReg[7] = 0x0FFE;
  M().WriteWord(0x0FFE, 0x0008);
  M().WriteLong(0x1000, 0x00002468);
  M().SetDeviceCode(0x1000, 0x1001, 6);
  Run(mcrRTR);
  ExpectBusErrorAt(3);
  EXPECT_EQ(Ccr(), N);
  M().SetDeviceCode(0x1000, 0x1001, 1);
  ResumeAfterFault(mcrRTR);
  EXPECT_EQ(CpuPC, 0x00002468u);
  EXPECT_EQ(CpuAReg[7], 0x1004u);
}

TEST_F(MoveTest, MovesDecodeRefusesReservedBits) {
  CpuExtraWord = 0x0801;
  Run(mcrMOVESDecode);
  ExpectIllegal();
}

TEST_F(MoveTest, MovphyLeavesNoFaultFlag) {
  CpuAReg[0] = 0x101;  // odd: the word read faults inside and gives 0
  CpuDReg[0] = 0x12345678;
  CpuOpcode = 0xFE40;  // MOVPHY.W (A0),D0
  Run(mcrMOVPHY);
  EXPECT_EQ(CpuDReg[0], 0u);
  EXPECT_FALSE(FaultFlag);
  EXPECT_FALSE(AddressErrorFlag);
  ExpectEndOfInstruction();
}

TEST_F(MoveTest, CheckedStatusRegisterLoadIsPrivilegedInUserState) {
  Cpu.SR(0x0000);  // LPSTOP's opcode is not privileged in the map
  CpuSop = 0x2700;
  Run(mcrLoadSRChecked);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McPrivilege));
  EXPECT_FALSE(CpuS);
}

TEST_F(MoveTest, TableLookupEntryAddress) {
  CpuDReg[2] = 0x00001234;
  CpuEa = 0x1000;
  for (auto [ext, ea] : {std::pair<uint16_t, uint32_t>{0x2080, 0x1048},  // long entries: + 0x12 x 4
                         {0x2040, 0x106C},                                // word entries
                         {0x20C0, 0x107E}}) {                             // byte entries
    CpuExtraWord = ext;
    Run(mcrTBLEntryAddress);
    EXPECT_EQ(CpuEa, ea);
  }
  Run(mcrStep);
  ExpectNext();
}

}  // namespace korva::movetest
