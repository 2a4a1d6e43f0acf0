// The start-up memory map, address wrap-around and SetMemMap.
#include "MemoryFixture.h"
#include "bus/MemoryWatch.h"

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

}  // namespace
}  // namespace korva::test
