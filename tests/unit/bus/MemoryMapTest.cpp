// The start-up memory map, address wrap-around and SetMemMap.
#include "MemoryFixture.h"
#include "bus/MemoryWatch.h"

namespace korva::test {
namespace {

using MemoryMapTest = MemoryTest;

TEST_F(MemoryMapTest, DefaultMapHasTheDocumentedCodes) {
  const struct {
    uint32_t Lo, Hi;
    uint8_t Code;
  } spans[] = {
      {0x000000, 0x00FFFF, DcRom},         {0x010000, 0x05FFFF, DcRam},
      {0x060000, 0x17FFFF, DcNothing},     {0x180000, 0xDFFFFF, DcRam},
      {0xE00000, 0xEFFFFF, DcNothing},     {0xF00000, 0xF0FFFF, DcRam},
      {0xF10000, 0xF13FFF, DcOnBoardIo},   {0xF14000, 0xF14FFF, DcCharGenRam},
      {0xF15000, 0xF15FFF, DcAttrGenRam},  {0xF16000, 0xF16FFF, DcOnBoardIo},
      {0xF17000, 0xF18FFF, DcDisplayRam},  {0xF19F84, 0xF19F85, DcScmSR},
      {0xF1A020, 0xF1A023, DcCrtc},        {0xF1A030, 0xF1A037, DcUart2661},
      {0xF1A060, 0xF1A06F, DcDropzone},    {0xF1A070, 0xF1A07B, DcUloadDload},
      {0xF1A07C, 0xF1A07F, DcOnBoardIo},   {0xF1A080, 0xF1A0FF, DcRtc},
      {0xF1A200, 0xF1A21F, DcCpmDC},       {0xF1A300, 0xF1A31F, DcSimpleDC},
      {0xF1A400, 0xF1A41F, DcLsnDio},      {0xF1A800, 0xF1A83F, DcMmu},
      {0xF1A840, 0xF1BFFF, DcOnBoardIo},   {0xF1C000, 0xF1C0CF, DcBoardIo},
      {0xF1C0E0, 0xF1C19F, DcBoardIo},     {0xF1C200, 0xF1DFFF, DcBoardIo},
      {0xF1E000, 0xFFFFFF, DcRam},
  };
  for (const auto& s : spans)
    for (uint32_t a = s.Lo; a <= s.Hi; a += 2) ASSERT_EQ(Code(a), s.Code) << std::hex << a;

  // One word each from F19F00: the cursors, CR0-CR6 and the graphics offset.
  for (uint8_t c = DcVGCursor; c <= DcGraphicsOffset; ++c) EXPECT_EQ(Code(0xF19F00 + 2u * (c - DcVGCursor)), c);
  EXPECT_EQ(Code(0xF19F14), DcOnBoardIo);

  // The winchester controller, then the boards: codes in address order, each
  // board's registers repeated 16 bytes higher.
  const uint8_t rwin[8] = {57, 58, 59, 60, 61, 61, 61, 61};
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(Code(0xF1C0D1 + 2 * i), rwin[i]);
  for (uint32_t i = 0; i < 8; ++i) {
    const uint8_t pia = static_cast<uint8_t>(i < 4 ? 42 + i : 62 + i - 4);
    for (uint32_t m = 0; m <= 0x10; m += 0x10) {
      EXPECT_EQ(Code(0xF1C1C1 + m + 2 * i), 26 + i);
      EXPECT_EQ(Code(0xF1C1A1 + m + 2 * i), 34 + i);
      EXPECT_EQ(Code(0xF1C1E1 + m + 2 * i), pia);
    }
  }
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
