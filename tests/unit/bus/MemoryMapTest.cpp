// The start-up memory map, address wrap-around, SetMemMap, and plugging and
// unplugging the optional RAM ranges, boards and devices.
#include <cstring>
#include <vector>
#include "MemoryFixture.h"
#include "bus/MemoryWatch.h"
#include "bus/Plugging.h"

namespace korva::test {
namespace {

using MemoryMapTest = MemoryTest;

// The edges of the fixed and optional ranges, where an off-by-one would show;
// each serial board's registers repeat 16 bytes higher.
TEST_F(MemoryMapTest, DefaultMapEdges) {
  const std::pair<uint32_t, uint8_t> spots[] = {
      {0x00FFFE, DcRom},     {0x010000, DcRam},       {0x05FFFE, DcRam},   {0x060000, DcNothing},
      {0x17FFFE, DcNothing}, {0x180000, DcRam},       {0xDFFFFE, DcRam},   {0xE00000, DcNothing},
      {0xF0FFFE, DcRam},     {0xF10000, DcOnBoardIo}, {0xF19F84, DcScmSR}, {0xF1A07C, DcOnBoardIo},
      {0xF1DFFE, DcBoardIo}, {0xF1E000, DcRam},       {0xFFFFFE, DcRam},
  };
  for (const auto& [address, code] : spots) EXPECT_EQ(Code(address), code) << std::hex << address;
  for (uint32_t base : {0xF1C1A1u, 0xF1C1C1u, 0xF1C1E1u})
    for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(Code(base + 0x10 + 2 * i), Code(base + 2 * i)) << std::hex << base;
}

TEST_F(MemoryMapTest, AddressesWrapAt16MB) {
  WriteMemory(0x20000, False, 0xBEEF, False);
  EXPECT_EQ(ReadMemory(0x01020000, False), 0xBEEF);
  WriteMemory(0x81020000, True, 0x12, False);
  EXPECT_EQ(ReadMemory(0x20000, False), 0x12EF);
  EXPECT_EQ(ReadMemory(0x01100000, False), 0);  // above 16 MB the hole is still a bus error
  EXPECT_TRUE(TookBusError());
  RamArray[5].Tag = 3;
  BuildMemoryMap();  // a rebuilt map starts from clear memory
  EXPECT_EQ(ReadMemory(0x20000, False), 0);
  EXPECT_EQ(RamArray[5].Tag, 0);

  // SetMemMap codes whole words, keeps the data and wraps instead of running off the array.
  RamArray[0x10].Data = 0x4321;
  SetMemMap(0x21, 0x21, 7);
  EXPECT_EQ(RamArray[0x10].Device, 7);
  EXPECT_EQ(RamArray[0x10].Data, 0x4321);
  EXPECT_EQ(RamArray[0x11].Device, DcRom);
  SetMemMap(0x42, 0x40, 9);  // an empty range
  EXPECT_EQ(RamArray[0x20].Device, DcRom);
  SetMemMap(0xFFFFFE, 0x01000001, 4);
  EXPECT_EQ(RamArray[RamIndexMask].Device, 4);
  EXPECT_EQ(RamArray[0].Device, 4);
}

TEST_F(MemoryMapTest, MemoryWatchLineWrapsAt16MB) {
  CellOf(0xFFFFFE).Data = 0x00FF;
  CellOf(0).Data = 0xBEEF;
  EXPECT_EQ(MemoryLineText(0xFFFFFE, 2), "00FFFFFE:: 00FF : BEEF ");
  EXPECT_EQ(MemoryLineText(0x1000, 0), "00001000:");
}

using PluggingTest = MemoryTest;

TEST_F(PluggingTest, OptionalRamFollowsItsFlags) {
  ReservedPlugged = True;
  MemF1EtoFFF = False;
  Mem800to9FF = False;
  BuildMemoryMap();
  EXPECT_EQ(Code(0x060000), DcRam);
  EXPECT_EQ(Code(0x800000), DcNothing);
  EXPECT_EQ(Code(0x9FFFFE), DcNothing);
  EXPECT_EQ(Code(0xA00000), DcRam);
  EXPECT_EQ(Code(0xF1E000), DcNothing);
}

// Every optional item: unplugging recodes exactly its window to the empty code,
// plugging restores the map exactly, and the data words survive both.
TEST_F(PluggingTest, PlugAndUnplugChangeOnlyTheirWindow) {
  const struct {
    const char* Name;
    void (*Plug)(VBool);
    uint32_t Lo, Hi;
    uint8_t Empty;
  } items[] = {
      {"Reserved", PlugRam, 0x060000, 0x17FFFF, DcNothing},
      {"180", PlugMem180to1BF, 0x180000, 0x1BFFFF, DcNothing},
      {"1C0", PlugMem1C0to1FF, 0x1C0000, 0x1FFFFF, DcNothing},
      {"200", PlugMem200to3FF, 0x200000, 0x3FFFFF, DcNothing},
      {"400", PlugMem400to5FF, 0x400000, 0x5FFFFF, DcNothing},
      {"600", PlugMem600to7FF, 0x600000, 0x7FFFFF, DcNothing},
      {"800", PlugMem800to9FF, 0x800000, 0x9FFFFF, DcNothing},
      {"A00", PlugMemA00toBFF, 0xA00000, 0xBFFFFF, DcNothing},
      {"C00", PlugMemC00toDFF, 0xC00000, 0xDFFFFF, DcNothing},
      {"F1E", PlugMemF1EtoFFF, 0xF1E000, 0xFFFFFF, DcNothing},
      {"SimpleDC", PlugSimpleDC, 0xF1A300, 0xF1A31F, DcOnBoardIo},
      {"CPMDC", PlugCPMDC, 0xF1A200, 0xF1A21F, DcOnBoardIo},
      {"LSNDC", PlugLSNDC, 0xF1A400, 0xF1A41F, DcOnBoardIo},
      {"Dropzone", PlugDropzone, 0xF1A060, 0xF1A06F, DcOnBoardIo},
      {"UloadDload", PlugUloadDload, 0xF1A070, 0xF1A07B, DcOnBoardIo},
      {"MVME400C0", PlugMVME400C0, 0xF1C1C0, 0xF1C1DF, DcBoardIo},
      {"MVME400C1", PlugMVME400C1, 0xF1C1A0, 0xF1C1BF, DcBoardIo},
      {"MVME410C0", PlugMVME410C0, 0xF1C1E0, 0xF1C1FF, DcBoardIo},
  };
  PlugRam(True);  // so that the reserved range has something to lose
  for (uint32_t i = 0; i < RamCellCount; ++i) RamArray[i].Data = static_cast<uint16_t>(i * 7 + 1);
  std::vector<MemoryCell> before(RamArray, RamArray + RamCellCount);

  for (const auto& item : items) {
    SCOPED_TRACE(item.Name);
    item.Plug(False);
    const uint32_t lo = item.Lo >> 1, hi = item.Hi >> 1;
    ASSERT_EQ(std::memcmp(RamArray, before.data(), lo * sizeof(MemoryCell)), 0);
    ASSERT_EQ(std::memcmp(RamArray + hi + 1, before.data() + hi + 1, (RamCellCount - hi - 1) * sizeof(MemoryCell)), 0);
    for (uint32_t i = lo; i <= hi; ++i) {
      ASSERT_EQ(RamArray[i].Device, item.Empty) << std::hex << 2 * i;
      ASSERT_EQ(RamArray[i].Data, before[i].Data) << std::hex << 2 * i;
    }
    ReadMemory(item.Lo + 1, True);
    EXPECT_TRUE(TookBusError());
    WriteMemory(item.Lo, False, 0xFFFF, False);  // refused: changes nothing
    EXPECT_TRUE(TookBusError());
    item.Plug(True);
    ASSERT_EQ(std::memcmp(RamArray, before.data(), RamCellCount * sizeof(MemoryCell)), 0);
  }
}

}  // namespace
}  // namespace korva::test
