// The CPU's bus cycles, the fault diversion and the halt on an unrestartable
// fault; operand reads and writes, run one micro-routine at a time on a decoded
// opcode (their restarts run end to end in the restart corpora).
#include <gtest/gtest.h>

#include <utility>

#include "bus/BusCycles.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "tables/OpMap.h"
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

namespace {
// Function code 1 gets address space 1, where one segment maps logical
// 0x001000-0x001FFF to physical 0x020000-0x020FFF.
void MapUserSpaceHigh() {
  auto put = [](uint32_t off, uint8_t v) { Mmu.AccessMMU(off, v); };
  put(2 * 1, 1);  // AST entry 1: space 1
  put(0x29, 1);   // descriptor 1
  for (auto [off, v] : {std::pair{0x20, 0x00}, {0x21, 0x10}, {0x22, 0xFF}, {0x23, 0xF0}, {0x24, 0x02}, {0x25, 0x00},
                        {0x26, 1}, {0x27, MmuSsrE}, {0x28, 0xFF}})
    put(off, static_cast<uint8_t>(v));
  ASSERT_EQ(Mmu.AccessMMU(0x3F), 0);
}
uint32_t watched = 0;
void Watch(uint32_t physical) { watched = physical; }
}  // namespace

// Once a page's translation repeats, cycles are answered without the MMU: they
// must still reach the physical cells, and leave odd words, devices and ROM to
// the full cycle.
TEST(BusCycles, RepeatedPagesReachTheirPhysicalCells) {
  test::TestMachine m;
  MapUserSpaceHigh();
  m.WriteWord(0x20234, 0xBEEF);
  const auto cycle = [](uint16_t ssw, uint32_t address, void (*bus)()) {
    Cpu.SSW(ssw);
    AccAddress = address;
    bus();
  };
  for (int i = 0; i < 3; ++i) {  // the third read is a repeat
    cycle(0x1101, 0x1234, BusReadWord);
    EXPECT_EQ(AccDataIn, 0xBEEF);
    EXPECT_EQ(FaultFlag, False);
  }
  cycle(0x1301, 0x1235, BusReadByte);
  EXPECT_EQ(AccDataIn, 0xEF);
  cycle(0x1301, 0x1234, BusReadByte);
  EXPECT_EQ(AccDataIn, 0xBE);
  for (uint16_t v : {0x1111, 0x2222, 0x4242}) {
    AccDataOut = v;
    cycle(0x1001, 0x1236, BusWriteWord);
  }
  // A watch set while writes repeat still sees every write.
  BusWriteWatch = Watch;
  AccDataOut = 0x99;
  cycle(0x1201, 0x1239, BusWriteByte);
  EXPECT_EQ(watched, 0x20239u);
  AccDataOut = 0x4242;
  cycle(0x1001, 0x1236, BusWriteWord);
  EXPECT_EQ(watched, 0x20236u);
  BusWriteWatch = nullptr;
  EXPECT_EQ(m.ReadWord(0x20236), 0x4242);
  EXPECT_EQ(m.ReadWord(0x20238), 0x0099);
  EXPECT_EQ(m.ReadWord(0x1236), 0);

  cycle(0x1101, 0x1235, BusReadWord);  // odd word in a repeated page
  EXPECT_EQ(AddressErrorFlag, True);
  m.SetDeviceCode(0x20234, 0x20235, DcNothing);  // the map changes under the repeat
  cycle(0x1101, 0x1234, BusReadWord);
  EXPECT_EQ(BusErrorFlag, True);
  m.SetDeviceCode(0x20236, 0x20237, DcRom);
  AccDataOut = 0x5555;
  cycle(0x1001, 0x1236, BusWriteWord);
  EXPECT_EQ(BusErrorFlag, True);
  EXPECT_EQ(m.ReadWord(0x20236), 0x4242);
  cycle(0x1101, 0x1236, BusReadWord);
  EXPECT_EQ(AccDataIn, 0x4242);
  EXPECT_EQ(FaultFlag, False);
  Mmu.ResetMMU();
}

// The latches are the bits of the special status word: setting the word sets
// each of them, a latch written alone changes its bit alone, and the function
// code is the low three bits (with the supervisor bit added in that state).
TEST(BusLatches, EachLatchIsItsBitOfTheStatusWord) {
  test::TestMachine m;
  struct Latch {
    uint16_t bit;
    VBool (*read)();
    void (*write)(VBool);
  };
  const Latch latches[] = {
      {0x8000, [] { return VBool(AccRR); }, [](VBool v) { AccRR = v; }},
      {0x2000, [] { return VBool(AccIF); }, [](VBool v) { AccIF = v; }},
      {0x1000, [] { return VBool(AccDF); }, [](VBool v) { AccDF = v; }},
      {0x0800, [] { return VBool(AccRM); }, [](VBool v) { AccRM = v; }},
      {0x0400, [] { return VBool(AccHB); }, [](VBool v) { AccHB = v; }},
      {0x0200, [] { return VBool(AccBY); }, [](VBool v) { AccBY = v; }},
      {0x0100, [] { return VBool(AccRW); }, [](VBool v) { AccRW = v; }},
  };
  for (uint16_t word : {0x0000, 0x9105, 0x2106, 0x1B05, 0xFFFF}) {
    Cpu.SSW(word);
    EXPECT_EQ(AccFC, word & 7) << std::hex << word;
    for (const Latch& l : latches) {
      EXPECT_EQ(l.read(), (word & l.bit) ? True : False) << std::hex << word << " bit " << l.bit;
      l.write((word & l.bit) ? False : True);
      EXPECT_EQ(AccSSW, word ^ l.bit) << std::hex << word << " bit " << l.bit;
      l.write((word & l.bit) ? True : False);
    }
    // Bit 14 and bits 3-7 belong to no latch: the word reads back without them.
    EXPECT_EQ(Cpu.SSW(), word & 0xBF07) << std::hex << word;
  }
  Cpu.SR(0x2700);
  SetAccSSWInState(0x1101);  // a data read in supervisor state
  EXPECT_EQ(AccSSW, 0x1105);
  EXPECT_EQ(AccFC, 5);
  EXPECT_EQ(AccRW, True);
  EXPECT_EQ(AccIF, False);
}

// The inline answer for a long: only a long wholly inside the page the entry of
// its function code holds, at an even address, whose two words are RAM or ROM
// (RAM to write); a code below RAM in the first word must not let the second
// word's test pass.
TEST(BusCycles, InlineLongsOnlyInsideTheHeldPageAndOnMemory) {
  test::TestMachine m;
  m.SetSR(0x2700);
  m.SetDeviceCode(0x6010, 0x6011, DcRom);
  m.SetDeviceCode(0x6020, 0x6021, DcNothing);
  m.SetDeviceCode(0x6032, 0x6033, DcBoardIo);
  for (int i = 0; i < 2; ++i) {  // the first translation marks the descriptor, the second is kept
    for (bool write : {false, true}) {
      Cpu.SSW(write ? 0x1005 : 0x1105);
      AccAddress = 0x6000;
      AccDataOut = 0;
      write ? BusWriteWord() : BusReadWord();
    }
  }
  struct Case {
    uint32_t address;
    bool read, write;
  };
  const Case cases[] = {
      {0x6000, true, true},     {0x60FC, true, true},    {0x60FE, false, false}, {0x6001, false, false},
      {0x6003, false, false},   {0x600E, true, false},   {0x6010, true, false},  {0x6020, false, false},
      {0x601E, false, false},   {0x6030, false, false},  {0x6032, false, false}, {0x6100, false, false},
      {0x5FFE, false, false},   {0x1006000, true, true}, {0xFF006000, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    uint16_t ssw = 0;
    EXPECT_EQ(bus_detail::QuickLongCells(c.address, CpuS, 1, false, ssw) != nullptr, c.read);
    if (c.read) EXPECT_EQ(ssw, 0x1105);
    EXPECT_EQ(bus_detail::QuickLongCells(c.address, CpuS, 1, true, ssw) != nullptr, c.write);
    if (c.write) EXPECT_EQ(ssw, 0x1005);
    EXPECT_EQ(bus_detail::QuickLongCells(c.address, CpuS, 2, false, ssw), nullptr);  // program space: no entry
    EXPECT_EQ(bus_detail::QuickLongCells(c.address, False, 1, false, ssw), nullptr);  // user state: no entry
  }
  uint16_t ssw;
  EXPECT_EQ(bus_detail::QuickLongCells(0x6004, CpuS, 1, false, ssw), &CellOf(0x6004));
}
