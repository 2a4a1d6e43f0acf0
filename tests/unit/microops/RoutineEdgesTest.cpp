// Edge cases of the move, flow, multiply/divide, bound, MOVEM, MOVES and CPU32
// micro-routines that the guest programs cannot observe: decode values no opcode
// produces, the status words of the accesses and the corners of the long divide.
#include "bus/Memory.h"
#include "microops/MulDiv.h"
#include "unit/microops/RoutineFixture.h"

namespace korva::test {

TEST_F(RoutineTest, DecodeValuesWithoutACaseAreMicrocodeFaults) {
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

TEST_F(RoutineTest, MovecFrameKindAndUnknownCodes) {
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

TEST_F(RoutineTest, LongDivideCorners) {
  struct Case { uint16_t ext; uint32_t dr, dq, divisor, q, r; uint8_t ccr; };
  // ext: Dq = D1, Dr = D2; 0x1C02 signed 64-bit, 0x1402 unsigned 64-bit, 0x1802 signed 32-bit.
  for (Case c : {Case{0x1C02, 0, 0x80000000, 0x80000000, 0xFFFFFFFF, 0, N},  // 2^31 / -2^31
                 Case{0x1C02, 0x80000000, 0, 0xFFFFFFFF, 0x80000000, 0, V},  // -2^63 / -1
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

TEST_F(RoutineTest, StatusWordsOfTheOwnAccesses) {
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

TEST_F(RoutineTest, MovesDecodeRefusesReservedBits) {
  CpuExtraWord = 0x0801;
  Run(mcrMOVESDecode);
  ExpectIllegal();
}

TEST_F(RoutineTest, TableLookupEntryAddress) {
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

}  // namespace korva::test
