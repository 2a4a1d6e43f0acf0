// MOVES, MOVPHY and the CPU32 stop/table-lookup steps, called directly.
#include "bus/Memory.h"
#include "unit/moves/MovesFixture.h"

namespace korva::movetest {

TEST_F(MoveTest, MovesDecodeChoosesTheDirectionOrRefuses) {
  CpuExtraWord = 0x1800;
  Run(mcrMOVESDecode);
  EXPECT_EQ(mcPC, 2880u);
  CpuExtraWord = 0x9000;
  Run(mcrMOVESDecode);
  EXPECT_EQ(mcPC, 2864u);
  CpuExtraWord = 0x0801;
  Run(mcrMOVESDecode);
  ExpectIllegal();
}

TEST_F(MoveTest, MovesUsesTheFunctionCodeRegistersAsTheyAre) {
  // MOVES.B (A0),D1 with SFC 5: function code 5 whatever the state; D1 keeps bits 31-8.
  Op().Size = 0;
  CpuSFC = 5;
  CpuEa = 0x3001;
  M().WriteByte(0x3001, 0x9C);
  CpuExtraWord = 0x1000;
  CpuDReg[1] = 0x12345678;
  Cpu.SR(0x0000);  // user state makes no difference
  Run(mcrMOVESRead);
  EXPECT_EQ(AccSSW, 0x1305);
  Run(mcrMOVESToReg);
  EXPECT_EQ(CpuDReg[1], 0x1234569Cu);
  ExpectNext();

  // MOVES.W (A0),A1 of 0x8000 sign-extends.
  Op().Size = 1;
  CpuEa = 0x3002;
  M().WriteWord(0x3002, 0x8000);
  CpuExtraWord = 0x9000;
  Run(mcrMOVESRead);
  Run(mcrMOVESToReg);
  EXPECT_EQ(CpuAReg[1], 0xFFFF8000u);

  // MOVES.L D2,(A3) with DFC 3: two word writes with function code 3.
  Op().Size = 2;
  CpuDFC = 3;
  CpuDReg[2] = 0xCAFEF00D;
  CpuEa = 0x4000;
  CpuExtraWord = 0x2800;
  Run(mcrMOVESFromReg);
  Run(mcrMOVESWrite);
  EXPECT_EQ(M().ReadLong(0x4000), 0xCAFEF00Du);
  EXPECT_EQ(AccSSW, 0x1003);
  EXPECT_EQ(AccAddress, 0x4002u);
}

TEST_F(MoveTest, MovesLongRestartsAtTheSecondWordOnly) {
  Op().Size = 2;
  CpuDFC = 3;
  CpuDop = 0x11223344;
  CpuEa = 0x4000;
  M().SetDeviceCode(0x4002, 0x4003, 6);
  Run(mcrMOVESWrite);
  ExpectBusErrorAt(5);
  EXPECT_EQ(M().ReadWord(0x4000), 0x1122);
  M().SetDeviceCode(0x4002, 0x4003, 1);
  M().WriteWord(0x4000, 0);
  ResumeAfterFault(mcrMOVESWrite);
  EXPECT_EQ(M().ReadWord(0x4000), 0);  // the first word is not written again
  EXPECT_EQ(M().ReadWord(0x4002), 0x3344);

  CpuSFC = 1;
  M().WriteLong(0x5000, 0xA1B2C3D4);
  CpuEa = 0x5000;
  M().SetDeviceCode(0x5002, 0x5003, 6);
  Run(mcrMOVESRead);
  ExpectBusErrorAt(5);
  M().SetDeviceCode(0x5002, 0x5003, 1);
  ResumeAfterFault(mcrMOVESRead);
  EXPECT_EQ(CpuSop, 0xA1B2C3D4u);
}

// ---- MOVPHY ----

class Movphy : public MoveTest {
 protected:
  // MOVPHY opcode: direction, size, An, Dn.
  static void Exec(bool toMemory, unsigned size, unsigned an, unsigned dn) {
    CpuOpcode = 0xFE00u | (toMemory ? 0x100u : 0u) | (size << 6) | (an << 3) | dn;
    mcPC = kStep;
    mcStage = 1;
    mcrMOVPHY();
    CpuOpcode = kOpcode;
  }
};

TEST_F(Movphy, MovesBetweenDnAndPhysicalMemory) {
  CpuAReg[1] = 0xFF000100;  // the top byte plays no part
  CpuDReg[0] = 0xDEADBE42;
  SetCcr(X | Z);
  Exec(true, 0, 1, 0);
  EXPECT_EQ(M().ReadByte(0x100), 0x42);
  M().WriteWord(0x100, 0x8001);
  Exec(false, 1, 1, 0);
  EXPECT_EQ(CpuDReg[0], 0xFFFF8001u);
  Exec(false, 0, 1, 0);
  EXPECT_EQ(CpuDReg[0], 0x80u);  // a byte is the 16-bit read, 0-255 for RAM
  EXPECT_EQ(CpuAReg[1], 0xFF000100u);
  EXPECT_EQ(Ccr(), X | Z);
  ExpectEndOfInstruction();
}

TEST_F(Movphy, FaultsAreDroppedAndLeaveNoFlag) {
  CpuAReg[0] = 0x101;  // odd: a word access faults and reads 0
  CpuDReg[0] = 0x12345678;
  Exec(false, 1, 0, 0);
  EXPECT_EQ(CpuDReg[0], 0u);
  EXPECT_FALSE(FaultFlag);
  EXPECT_FALSE(AddressErrorFlag);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McFastFetch));

  // A long across the 16 MB wrap: high word at FFFFFE, low word at 000000.
  CpuAReg[0] = 0xFFFFFE;
  CpuDReg[1] = 0xAAAA5555;
  Exec(true, 2, 0, 1);
  EXPECT_EQ(M().ReadWord(0xFFFFFE), 0xAAAA);
  EXPECT_EQ(M().ReadWord(0x000000), 0x5555);
  Exec(false, 2, 0, 2);
  EXPECT_EQ(CpuDReg[2], 0xAAAA5555u);

  // Into ROM: nothing changes, no exception, only one half of a long may land.
  M().WriteWord(0x8000, 0x1111);
  M().SetDeviceCode(0x8000, 0x8001, DcRom);
  CpuAReg[0] = 0x8000;
  Exec(true, 2, 0, 1);
  EXPECT_EQ(M().ReadWord(0x8000), 0x1111);
  EXPECT_EQ(M().ReadWord(0x8002), 0x5555);
  EXPECT_FALSE(BusErrorFlag);
}

// ---- CPU32 ----

TEST_F(MoveTest, LpstopDecode) {
  CpuExtraWord = 0x01C0;
  Run(mcrLPSTOPDecode);
  EXPECT_EQ(mcPC, 3008u);
  CpuExtraWord = 0x01C1;
  Run(mcrLPSTOPDecode);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McLine1111));
}

TEST_F(MoveTest, CheckedStatusRegisterLoad) {
  Cpu.SR(0x2700);
  CpuSop = 0x2314;
  Run(mcrLoadSRChecked);
  EXPECT_EQ(Cpu.SR(), 0x2314);
  ExpectNext();

  CpuSop = 0x0700;  // the immediate would leave supervisor state
  Run(mcrLoadSRChecked);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McPrivilege));
  EXPECT_EQ(Cpu.SR(), 0x2314);

  // In user state even an immediate with S set is refused (LPSTOP's opcode is
  // not privileged in the map, so this is the only guard).
  Cpu.SR(0x0000);
  CpuSop = 0x2700;
  Run(mcrLoadSRChecked);
  EXPECT_EQ(mcPC, static_cast<uint32_t>(McPrivilege));
  EXPECT_FALSE(CpuS);
}

TEST_F(MoveTest, TableLookupEntryAddress) {
  CpuDReg[2] = 0x00001234;
  CpuEa = 0x1000;
  CpuExtraWord = 0x2080;  // D2, long entries
  Run(mcrTBLEntryAddress);
  EXPECT_EQ(CpuEa, 0x1048u);
  CpuExtraWord = 0x2040;  // word entries
  Run(mcrTBLEntryAddress);
  EXPECT_EQ(CpuEa, 0x106Cu);
  CpuExtraWord = 0x20C0;  // 11: byte entries
  Run(mcrTBLEntryAddress);
  EXPECT_EQ(CpuEa, 0x107Eu);
  Run(mcrStep);
  ExpectNext();
}

}  // namespace korva::movetest
