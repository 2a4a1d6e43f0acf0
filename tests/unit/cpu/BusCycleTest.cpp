// The CPU's bus cycles, the fault diversion and the halt on an unrestartable fault.
#include <gtest/gtest.h>

#include "bus/BusCycles.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/classCPU.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
// Write-protect every address of every space (descriptor 0 maps everything).
void WriteProtectAll() {
  auto put = [](uint32_t off, uint8_t v) { Mmu.AccessMMU(off, v); };
  // Load descriptor 0 with LBA 0, LAM 0, PBA 0, ASN 0, SSR = enable + write protect, ASM 0.
  for (uint32_t off = 0x20; off <= 0x28; ++off) put(off, 0);
  put(0x27, MmuSsrE | MmuSsrWP);
  put(0x29, 0);
  (void)Mmu.AccessMMU(0x3F);  // load the descriptor from the accumulator
}
}  // namespace

TEST(BusCycles, RerunDoesNothing) {
  test::TestMachine m;
  m.WriteWord(0x100, 0x1234);
  AccDataIn = 0x5555;
  FaultFlag = BusErrorFlag = True;
  Cpu.SSW(0x9105);  // rerun, data word read
  AccAddress = 0x100;
  BusCycle();
  EXPECT_EQ(AccDataIn, 0x5555);
  EXPECT_FALSE(FaultFlag || BusErrorFlag || AddressErrorFlag || MmuFaultFlag);
  // The rerun covers that one access only: the next one is made (and faults here).
  EXPECT_FALSE(AccRR);
  EXPECT_EQ(Cpu.SSW() & 0x8000, 0);
  AccAddress = 0x101;
  BusReadWord();
  EXPECT_TRUE(AddressErrorFlag);
}

TEST(BusCycles, ReadModifyWriteAndHighByte) {
  test::TestMachine m;
  m.WriteByte(0x201, 0x05);
  Cpu.SSW(0x1B05);
  AccAddress = 0x201;
  BusCycle();
  EXPECT_EQ(AccDataIn, 0x05);
  EXPECT_EQ(m.ReadByte(0x201), 0x85);
  EXPECT_FALSE(FaultFlag);

  m.WriteWord(0x300, 0x12AB);
  Cpu.SSW(0x1705);  // data byte read, high half
  AccAddress = 0x300;
  BusCycle();
  EXPECT_EQ(AccDataIn, 0x1200);
  AccDataOut = 0x3456;
  Cpu.SSW(0x1605);  // byte write from the high half
  AccAddress = 0x301;
  BusCycle();
  EXPECT_EQ(m.ReadWord(0x300), 0x1234);
}

TEST(BusCycles, WriteProtectedTestAndSetReadsButDoesNotWrite) {
  test::TestMachine m;
  m.WriteByte(0x201, 0x05);
  WriteProtectAll();
  Cpu.SSW(0x1B05);
  AccAddress = 0x201;
  BusCycle();
  EXPECT_EQ(AccDataIn, 0x05);
  EXPECT_EQ(m.ReadByte(0x201), 0x05);
  EXPECT_EQ(BusErrorFlag, True);
  EXPECT_EQ(MmuFaultFlag, True);
  // A refused word write leaves memory as it was.
  AccAddress = 0x200;
  AccDataOut = 0xFFFF;
  BusWriteWord();
  EXPECT_EQ(m.ReadWord(0x200), 0x0005);
  Mmu.ResetMMU();
}

// A fault flagged without a bus or address error is not diverted; an
// unrestartable one halts.
TEST(BusCycles, OnlyBusAndAddressErrorsDivertAndAnUnrestartableOneHalts) {
  test::TestMachine m;
  FaultFlag = MmuFaultFlag = True;
  mcPC = 1400;
  EnterBusFault(2);
  AbortOnBusFault();
  EXPECT_EQ(mcPC, 1400u);
  BusErrorFlag = True;
  AbortOnBusFault();
  EXPECT_EQ(mcPC, +McHalt);
}
