// The system control module through the bus: resets, the status register, the
// change-gated control registers, interrupt-mask routing, plane mappings, the
// pixel port and the ROM swap; and the front panel.
#include "unit/board/BoardFixture.h"

namespace korva::test {
namespace {

class ScmTest : public BoardTest {
 protected:
  static void Reg(uint32_t address, uint8_t v) { WriteMemory(address, True, v, False); }
  static uint8_t Reg(uint32_t address) { return static_cast<uint8_t>(ReadMemory(address, True)); }
  static uint8_t Code(uint32_t address) { return CellOf(address).Device; }
};

constexpr uint32_t kCR0 = 0xF19F05, kCR1 = 0xF19F07, kCR2 = 0xF19F09, kCR3 = 0xF19F0B, kCR6 = 0xF19F11,
                   kGOFF = 0xF19F13, kSR = 0xF19F85;

TEST_F(ScmTest, PowerOnResetStatusAndAccessRules) {
  Scm.PowerOnReset();
  const int64_t pumps = host.PumpCount;
  EXPECT_EQ(Reg(kSR), 0x19);
  EXPECT_EQ(host.PumpCount, pumps + 1);  // a status read lets the host run first
  ReadMemory(0xF19F04, True);
  EXPECT_TRUE(BusErrorFlag && FaultFlag);
  ClearBusFaults();
  WriteMemory(kSR, True, 0x00, False);
  EXPECT_FALSE(FaultFlag);
  EXPECT_EQ(Reg(kSR), 0x19);
}

TEST_F(ScmTest, ResetMasksInterruptsAndKeepsCR1) {
  Scm.PowerOnReset();
  Reg(kCR1, 0x40);
  WriteMemory(0xF19F00, False, 0x0123, False);
  WriteMemory(0xF19F02, False, 0x0456, False);
  Reg(kCR3, 0xFF);
  Scm.Reset();
  for (int e = 0; e <= 18; ++e) EXPECT_TRUE(Masked(e)) << e;
  EXPECT_FALSE(Masked(19));
  EXPECT_FALSE(Masked(20));
  EXPECT_EQ(IMaskFlag, True);
  EXPECT_EQ(Reg(kCR1), 0x40);
  EXPECT_EQ(ReadMemory(0xF19F00, False), 0);
  EXPECT_EQ(ReadMemory(0xF19F02, False), 0);
  EXPECT_EQ(VGCursorColumn, 4095);
}

TEST_F(ScmTest, KeyboardResetOnlyOnAFallingKbdrst) {
  // Marks that a UART reset and a keyboard reset each clear.
  const auto arm = [] {
    Uart2661.ModePointer = 1;
    Keyboard.Locks.Caps = True;
  };
  const auto uartReset = [] { return Uart2661.ModePointer == 0; };
  const auto keyboardReset = [] { return Keyboard.Locks.Caps == False; };
  arm();
  Reg(kCR2, 0x00);  // the first write after construction sees every bit change
  EXPECT_TRUE(uartReset());
  EXPECT_TRUE(keyboardReset());
  arm();
  Reg(kCR2, 0x00);
  Reg(kCR2, 0x10);
  EXPECT_FALSE(uartReset());
  EXPECT_FALSE(keyboardReset());
  Reg(kCR2, 0x00);
  EXPECT_TRUE(uartReset());
  EXPECT_TRUE(keyboardReset());
  EXPECT_EQ(ScmWriteProtect, True);
}

TEST_F(ScmTest, MaskRouting) {
  Scm.Reset();
  Reg(kCR3, 0xFF);
  for (int e : {0, 3, 6, 9, 12, 15, 18, 2}) EXPECT_FALSE(Masked(e)) << e;
  Reg(kCR2, 0xF7);  // bit 3 clear: entry 2 masked again; the others open
  EXPECT_TRUE(Masked(2));
  for (int e : {7, 17, 1, 8, 11}) EXPECT_FALSE(Masked(e)) << e;
  Reg(kCR0, 0x03);
  EXPECT_FALSE(Masked(14));
  EXPECT_FALSE(Masked(5));
  Reg(kCR6, 0xF8);
  for (int e : {4, 10, 13, 16}) EXPECT_FALSE(Masked(e)) << e;
  EXPECT_EQ(IMaskFlag, False);
  EXPECT_EQ(ScmIL, 0);
  Exceptions.SetIP(11);
  EXPECT_EQ(HipEntry, 11);
  Reg(kCR6, 0x78);  // IMASK* low: only level 7 gets through
  EXPECT_EQ(HipPending, False);
}

TEST_F(ScmTest, ControlWritesActOnlyOnChangedBits) {
  Reg(kCR0, 0x00);  // every bit changed: remerged
  EXPECT_EQ(form.Takes, 1);
  EXPECT_EQ(ScreenMergeMode & 1, 1);
  Reg(kCR0, 0x00);
  EXPECT_EQ(form.Takes, 1);
  Reg(kCR0, 0x04);  // inverse video: white background, remerged
  EXPECT_EQ(ScmIVS, True);
  EXPECT_EQ(ScreenBackColor, 0xFFFFFFu);
  EXPECT_EQ(form.Takes, 2);
  Reg(kCR0, 0xE4);  // every text channel off: text no longer shown
  EXPECT_EQ(ScreenMergeMode & 1, 0);
  ScmMan = True;  // the manual's colour order

  SwapRomToHigh();
  Scm.CR1(0x00);
  const int takes = form.Takes;
  Reg(kCR1, 0x01);  // only UNSWAP: neither remerge nor remap
  EXPECT_EQ(form.Takes, takes);
  Reg(kCR1, 0x09);  // GRE3 alone: green under the manual's order is blue
  EXPECT_EQ(GraphBlueOn, True);
  EXPECT_EQ(GraphGreenOn, False);
  EXPECT_EQ(ScreenMergeMode & 2, 2);
  EXPECT_EQ(form.Takes, takes + 1);
  ScmMan = False;
  Reg(kCR1, 0x03);
  EXPECT_TRUE(GraphRedOn && !GraphGreenOn && !GraphBlueOn);
}

TEST_F(ScmTest, CursorShapeChangeRedrawsTheTextCursor) {
  ScreenMode = 2;
  Scm.CR1(0x00);
  Screen.DoCursor(0);
  EXPECT_EQ(Pixel(5, 5).TextCursorRGB, 0xFFFFFFu);
  Reg(kCR1, 0x60);  // bar
  EXPECT_EQ(ScmCursorType, 3);
  EXPECT_EQ(Pixel(5, 5).TextCursorRGB, 0u);
  EXPECT_EQ(Pixel(0, 5).TextCursorRGB, 0xFFFFFFu);
  EXPECT_EQ(TextCursorPos, 0);
}

TEST_F(ScmTest, PlaneMappingsAndThePixelPort) {
  Scm.PowerOnReset();
  Reg(kCR1, 0x1E);
  Reg(kGOFF, 0x32);
  EXPECT_EQ(Code(0xE00000), DcPixelRam);
  EXPECT_EQ(Code(0xEEA5FE), DcPixelRam);
  EXPECT_EQ(Code(0xEEA600), DcPixelRamOff);
  EXPECT_EQ(Code(0x030000), DcGreenPlane);
  const int takes = form.Takes;
  Reg(kGOFF, 0x10);  // kept mapping, graphics redrawn
  EXPECT_EQ(Code(0xEEA5FE), DcPixelRam);
  EXPECT_GT(form.Takes, takes);
  Reg(kGOFF, 0x32);

  // Pixel-port writes are in the test ROM's picture; a read gives every plane's bit.
  WriteMemory(0xE00000 + 2 * 8005, False, 0x0705, False);
  WriteMemory(0xE00000 + 2 * 8005, False, 0x0000, False);  // mask 0: nothing changes
  EXPECT_EQ(ReadMemory(0xE00000 + 2 * 8005, False), 0xFF05);

  // HIRES with GOFF 0: 300 lines at the 600-line plane addresses; no HIRES: layout 3.
  Reg(kGOFF, 0x00);
  EXPECT_EQ(Code(0xE752FE), DcPixelRam);
  EXPECT_EQ(Code(0xE75300), DcPixelRamOff);
  EXPECT_EQ(Code(0x030000), DcGreenPlane);
  Reg(kCR1, 0x0E);
  EXPECT_EQ(Code(0x048000), DcGreenPlane3);
  // IG: graphics off, and GOFF written meanwhile is only stored.
  Reg(kCR1, 0x8E);
  EXPECT_EQ(Code(0xE00000), DcPixelRamOff);
  EXPECT_EQ(Code(0x048000), DcRam);
  Reg(kGOFF, 0x32);
  EXPECT_EQ(Code(0xE00000), DcPixelRamOff);
  EXPECT_EQ(Reg(kGOFF), 0x32);
}

TEST_F(ScmTest, PixelPortWithoutPlanesStoresNothing) {
  Scm.PowerOnReset();
  Reg(kCR1, 0x80);  // graphics inhibited: plane bases 0
  ASSERT_EQ(Code(0xE00000), DcPixelRamOff);
  SwapRomToHigh();
  ASSERT_EQ(CellOf(0).Data, 0);
  WriteMemory(0xE00000, False, 0x0707, False);  // would set bit 15 of RAM word 0
  EXPECT_EQ(CellOf(0).Data, 0);
  EXPECT_FALSE(FaultFlag);
  EXPECT_EQ(ReadMemory(0xE00000, False) & 0xFF00, 0xFF00);
}

TEST_F(ScmTest, RomSwap) {
  Scm.PowerOnReset();
  Reg(kCR1, 0x01);  // UNSWAP: the ROM goes high
  EXPECT_EQ(RomAtZero, False);
  EXPECT_EQ(Code(0x000000), DcRam);
  EXPECT_EQ(Code(0xF00000), DcRom);
  Scm.PowerOnReset();  // back at 0
  EXPECT_EQ(RomAtZero, True);
  EXPECT_EQ(Code(0x000000), DcRom);
}

TEST_F(ScmTest, GraphicsCursorRegisterOfLine4095RemovesTheCursor) {
  Scm.PowerOnReset();
  WriteMemory(0xF19F00, False, 4095 - 7, False);
  EXPECT_EQ(Pixel(7, 0).GraphCursorRGB, 0xFFFFFFu);
  WriteMemory(0xF19F00, False, 0, False);
  EXPECT_EQ(Pixel(7, 0).GraphCursorRGB, 0u);
}

TEST_F(ScmTest, FrontPanelDigits) {
  SwapRomToHigh();
  WriteMemory(0x000A04, False, 0x001E, False);
  WriteMemory(0x000A04, False, 0x002D, False);
  EXPECT_EQ(FrontPanel.Label(), "12");
  WriteMemory(0x000A02, False, 0x0020, False);  // other words: no display change
  WriteMemory(0x000A05, True, 0x1F, False);     // a byte write reaches RAM only
  WriteMemory(0x000A04, False, 0x00B0, False);  // bits 5-4 = 11: no digit, flag kept
  EXPECT_EQ(FrontPanel.Label(), "12");
  EXPECT_EQ(FrontPanel.Flag(), True);
  EXPECT_EQ(ReadMemory(0x000A04, False), 0x00B0);
  FrontPanel.Reset();
  EXPECT_EQ(FrontPanel.Label(), "");
  WriteMemory(0x000A04, False, 0x002E, False);
  EXPECT_EQ(FrontPanel.Label(), "11");
}

}  // namespace
}  // namespace korva::test
