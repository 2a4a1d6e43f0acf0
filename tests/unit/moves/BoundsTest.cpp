// Bound checks, trap conditions, TAS and the stack-frame routines, called
// directly on an all-RAM machine; faults come from a bus-error page.
#include "unit/moves/MovesFixture.h"

namespace korva::movetest {

TEST_F(MoveTest, Chk2AndCmp2Bounds) {
  Op().Size = 1;
  CpuSop = 0x0010;
  CpuDop = 0x0020;
  CpuExtraWord = 0x1800;  // CHK2.W <ea>,D1
  struct Case { uint32_t d1; uint8_t ccr; bool trap; };
  for (Case c : {Case{0x12340015, 0, false}, Case{0x12340020, Z, false}, Case{0x0000000F, C, true},
                 Case{0x00000010, Z, false}, Case{0x00000021, C, true}}) {
    CpuDReg[1] = c.d1;
    SetCcr(X | N | V);
    Run(mcrCMP2);
    EXPECT_EQ(Ccr(), X | N | V | c.ccr) << std::hex << c.d1;  // N, V and X untouched
    EXPECT_EQ(CpuChkPending != 0, c.trap) << std::hex << c.d1;
    ExpectNext();
  }

  // CMP2.B on an address register compares all 32 bits: 0x80 > 16.
  Op().Size = 0;
  CpuSop = 0xF0;
  CpuDop = 0x10;
  CpuExtraWord = 0x8000;  // CMP2.B <ea>,A0
  CpuAReg[0] = 0x80;
  Run(mcrCMP2);
  EXPECT_TRUE(CpuC);
  EXPECT_FALSE(CpuChkPending);  // CMP2 never requests the trap
  CpuDReg[0] = 0x80;            // the same byte in D0 is -128: below -16
  CpuExtraWord = 0x0000;
  Run(mcrCMP2);
  EXPECT_TRUE(CpuC);

  // A wrapping range: lower 0x30 above upper 0x10.
  CpuSop = 0x30;
  CpuDop = 0x10;
  for (auto [v, outside] : {std::pair<uint32_t, bool>{0x20, true}, {0x40, false}, {0x05, false}}) {
    CpuDReg[0] = v;
    Run(mcrCMP2);
    EXPECT_EQ(CpuC != 0, outside) << v;
  }

  CpuExtraWord = 0x0001;  // bits 10-0 must be 0
  Run(mcrCMP2);
  ExpectIllegal();
}

TEST_F(MoveTest, ChkSetsNByTheSideThatFailed) {
  Op().Size = 1;
  SetCcr(Z | V | C);
  CpuDop = 0x8000;
  CpuSop = 100;
  Run(mcrCHK);
  EXPECT_TRUE(CpuChkPending);
  EXPECT_EQ(Ccr(), N | Z | V | C);
  CpuDop = 5;
  CpuSop = 3;
  Run(mcrCHK);
  EXPECT_TRUE(CpuChkPending);
  EXPECT_FALSE(CpuN);
  CpuDop = 3;
  Run(mcrCHK);
  EXPECT_FALSE(CpuChkPending);
  Op().Size = 2;  // CHK.L compares whole longs
  CpuDop = 0x00010000;
  CpuSop = 0x00020000;
  Run(mcrCHK);
  EXPECT_FALSE(CpuChkPending);
}

TEST_F(MoveTest, TrapConditions) {
  Run(mcrTRAPV);
  EXPECT_FALSE(CpuTrapvPending);
  SetCcr(V);
  Run(mcrTRAPV);
  EXPECT_TRUE(CpuTrapvPending);
  ExpectNext();
  Op().Extra2 = 6;  // TRAPNE
  SetCcr(Z);
  Run(mcrTRAPcc);
  EXPECT_FALSE(CpuTrapvPending);
  SetCcr(0);
  Run(mcrTRAPcc);
  EXPECT_TRUE(CpuTrapvPending);
}

TEST_F(MoveTest, TasOnRegisterAndMemory) {
  Op().DstMode = 0;
  Op().DstReg = 3;
  SetCcr(V | C);
  Run(mcrTAS);
  EXPECT_EQ(CpuDReg[3], 0x80u);
  EXPECT_EQ(Ccr(), Z);
  ExpectNext();

  Op().DstMode = 2;
  CpuEa = 0x3001;
  M().WriteByte(0x3001, 0x85);
  Run(mcrTAS);
  EXPECT_EQ(M().ReadByte(0x3001), 0x85);
  EXPECT_EQ(Ccr(), N);
  M().WriteByte(0x3001, 0x05);
  Run(mcrTAS);
  EXPECT_EQ(M().ReadByte(0x3001), 0x85);
  EXPECT_EQ(Ccr(), 0);
  EXPECT_EQ(AccSSW, 0x1B05);  // read-modify-write, supervisor data

  M().SetDeviceCode(0x3000, 0x3001, 6);
  Run(mcrTAS);
  ExpectBusErrorAt(2);
}

TEST_F(MoveTest, LeaPeaLinkUnlk) {
  Op().DstReg = 2;
  CpuEa = 0x12345678;
  Run(mcrLEA);
  EXPECT_EQ(CpuAReg[2], 0x12345678u);

  CpuAReg[7] = 0x2000;
  Run(mcrPEA);
  EXPECT_EQ(CpuAReg[7], 0x1FFCu);
  EXPECT_EQ(M().ReadLong(0x1FFC), 0x12345678u);
  ExpectEndOfInstruction();

  // LINK A6,#-8 with A7 = 0x2000.
  Op().DstReg = 6;
  Op().Size = 1;
  CpuAReg[6] = 0xCAFEBABE;
  CpuAReg[7] = 0x2000;
  CpuSop = 0xFFF8;
  Run(mcrLINK);
  EXPECT_EQ(M().ReadLong(0x1FFC), 0xCAFEBABEu);
  EXPECT_EQ(CpuAReg[6], 0x1FFCu);
  EXPECT_EQ(CpuAReg[7], 0x1FF4u);

  Run(mcrUNLK);
  EXPECT_EQ(CpuAReg[6], 0xCAFEBABEu);
  EXPECT_EQ(CpuAReg[7], 0x2000u);

  // LINK.L takes the whole long; LINK A7 pushes the lowered A7.
  Op().Size = 2;
  Op().DstReg = 7;
  CpuSop = 0x00010000;
  Run(mcrLINK);
  EXPECT_EQ(M().ReadLong(0x1FFC), 0x1FFCu);
  EXPECT_EQ(CpuAReg[7], 0x11FFCu);
}

TEST_F(MoveTest, ReturnsPopWhatWasPushed) {
  CpuAReg[7] = 0x1000;
  M().WriteLong(0x1000, 0x00002000);
  Run(mcrRTS);
  EXPECT_EQ(CpuPC, 0x2000u);
  EXPECT_EQ(CpuAReg[7], 0x1004u);
  EXPECT_EQ(AccSSW, 0x1105);

  // RTD #8: the displacement is fetched from the instruction stream.
  CpuAReg[7] = 0x1000;
  CpuPC = 0x4002;
  M().WriteWord(0x4002, 0x0008);
  Run(mcrRTD);
  EXPECT_EQ(CpuPC, 0x2000u);
  EXPECT_EQ(CpuAReg[7], 0x100Cu);

  CpuAReg[7] = 0x0FFE;
  M().WriteWord(0x0FFE, 0xFF15);
  Run(mcrRTR);
  EXPECT_EQ(Ccr(), 0x15);
  EXPECT_EQ(CpuPC, 0x2000u);
  EXPECT_EQ(CpuAReg[7], 0x1004u);

  Cpu.SR(0x0000);  // user state: the pops use function code 1
  CpuAReg[7] = 0x1000;
  Run(mcrRTS);
  EXPECT_EQ(AccSSW, 0x1101);
}

TEST_F(MoveTest, StackRoutinesResumeAtTheFailedAccessOnly) {
  // RTS: the second word faults; after the restart A7 moves once, by 4.
  CpuAReg[7] = 0x1000;
  M().WriteLong(0x1000, 0x00002468);
  M().SetDeviceCode(0x1002, 0x1003, 6);
  Run(mcrRTS);
  ExpectBusErrorAt(3);
  EXPECT_EQ(CpuAReg[7], 0x1000u);
  M().SetDeviceCode(0x1002, 0x1003, 1);
  M().WriteWord(0x1000, 0xFFFF);  // not read again
  ResumeAfterFault(mcrRTS);
  EXPECT_EQ(CpuPC, 0x00002468u);
  EXPECT_EQ(CpuAReg[7], 0x1004u);

  // PEA: A7 is lowered once, before the first write.
  CpuAReg[7] = 0x2000;
  CpuEa = 0xAABBCCDD;
  M().SetDeviceCode(0x1FFC, 0x1FFD, 6);
  Run(mcrPEA);
  ExpectBusErrorAt(2);
  M().SetDeviceCode(0x1FFC, 0x1FFD, 1);
  ResumeAfterFault(mcrPEA);
  EXPECT_EQ(CpuAReg[7], 0x1FFCu);
  EXPECT_EQ(M().ReadLong(0x1FFC), 0xAABBCCDDu);

  // RTR: the condition codes are already loaded when the return address faults.
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

  mcStage = 9;
  mcPC = kStep;
  mcrUNLK();
  ExpectMicrocodeFault();
}

}  // namespace korva::movetest
