// Read and write dispatch: fault rules, each device code's access rules, the
// event pumps inside device accesses, the display-RAM write path and the planes.
#include "MemoryFixture.h"
#include "board/MC6845.h"
#include "board/SCM.h"
#include "board/Uart2661.h"
#include "bus/Plugging.h"
#include "serial/MC6821.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MVME400.h"
#include "support/FakeConsoles.h"

namespace korva::test {
namespace {

class MemoryDispatchTest : public MemoryTest {
 protected:
  void SetUp() override {
    MemoryTest::SetUp();
    // The boards' registers as after a reset: the direction registers selected.
    MVME400C0.Reset();
    MVME400C1.Reset();
    MVME410PIA1.Reset();
    MVME410PIA2.Reset();
  }
};

TEST_F(MemoryDispatchTest, RamRomAndFixedCodes) {
  WriteMemory(0x010100, False, 0x1234, False);
  WriteMemory(0x010101, True, 0xAB, False);
  EXPECT_EQ(ReadMemory(0x010100, True), 0x12);
  WriteMemory(0x010100, True, 0xFFCD, False);  // only the low 8 bits of a byte count
  EXPECT_EQ(ReadMemory(0x010100, False), 0xCDAB);
  EXPECT_TRUE(TookNoFault());

  RamArray[0x80].Data = 0xA55A;  // ROM word 000100: written only by force
  WriteMemory(0x000100, False, 0x1111, False);
  EXPECT_TRUE(TookBusError());
  EXPECT_EQ(ReadMemory(0x000100, False), 0xA55A);
  WriteMemory(0x000101, True, 0x22, True);
  EXPECT_EQ(ReadMemory(0x000100, False), 0xA522);

  SetMemMap(0x020000, 0x020001, DcFixedZero);
  SetMemMap(0x020002, 0x020003, DcFixedOnes);
  RamArray[0x10000].Data = 0x1234;
  EXPECT_EQ(ReadMemory(0x020000, False), 0);
  EXPECT_EQ(ReadMemory(0x020003, True), 0xFF);
  WriteMemory(0x020000, False, 0x9999, False);  // accepted and dropped
  EXPECT_EQ(RamArray[0x10000].Data, 0x1234);
  EXPECT_TRUE(TookNoFault());
}

TEST_F(MemoryDispatchTest, OddWordAccessIsAnAddressErrorWhateverTheCode) {
  SetMemMap(0x020000, 0x020001, DcFixedOnes);
  MVME400C0.DDRxORA(0x3C);
  for (uint32_t a : {0x010001u, 0x000001u, 0x060001u, 0xF19F05u, 0xF1A801u, 0xF1C1C1u, 0xF17001u, 0x020001u}) {
    SCOPED_TRACE(a);
    const uint16_t before = CellOf(a).Data;
    EXPECT_EQ(ReadMemory(a, False), 0);
    EXPECT_TRUE(AddressErrorFlag && FaultFlag && !BusErrorFlag);
    ClearBusFaults();
    WriteMemory(a, False, 0x5555, True);
    EXPECT_TRUE(AddressErrorFlag && FaultFlag && !BusErrorFlag);
    ClearBusFaults();
    EXPECT_EQ(CellOf(a).Data, before);
  }
  EXPECT_EQ(MVME400C0.DDRxORA(), 0x3C);  // the card saw no write
  EXPECT_EQ(host.PumpCount, 0);
}

TEST_F(MemoryDispatchTest, EmptyCodesAreBusErrors) {
  SetMemMap(0x020000, 0x020001, 200);  // a code nothing answers
  for (uint32_t a : {0x060000u, 0xE00000u, 0xF10000u, 0xF1C000u, 0x020000u}) {
    SCOPED_TRACE(a);
    const uint16_t before = CellOf(a).Data;
    EXPECT_EQ(ReadMemory(a + 1, True), 0);
    EXPECT_TRUE(TookBusError());
    WriteMemory(a, False, 0x77, True);
    EXPECT_TRUE(TookBusError());
    EXPECT_EQ(CellOf(a).Data, before);
  }
}

TEST_F(MemoryDispatchTest, ScmRegisters) {
  // Control registers: odd bytes; a read pumps before the register is read, a write after it is written.
  host.OnPumpEvents = [] { Scm.CR2(0x77); };
  EXPECT_EQ(ReadMemory(0xF19F09, True), 0x77);
  uint8_t seen = 0;
  host.OnPumpEvents = [&] { seen = Scm.GraphicsOffset(); };
  WriteMemory(0xF19F13, True, 0x32, False);
  EXPECT_EQ(seen, 0x32);
  host.OnPumpEvents = nullptr;
  for (uint32_t n = 0; n < 7; ++n) WriteMemory(0xF19F05 + 2 * n, True, 0x10 + n, False);
  EXPECT_EQ(Scm.CR6(), 0x16);
  EXPECT_TRUE(TookNoFault());
  for (uint32_t a : {0xF19F04u, 0xF19F12u}) {
    ReadMemory(a, True);
    EXPECT_TRUE(TookBusError());
  }
  // Graphics cursors: word registers at the even address; a byte read gets the whole register.
  WriteMemory(0xF19F02, False, 0x0456, False);
  EXPECT_EQ(ReadMemory(0xF19F02, True), 0x0456);
  WriteMemory(0xF19F03, True, 1, False);
  EXPECT_TRUE(TookBusError());
  EXPECT_EQ(Scm.HGCursor(), 0x0456);

  // Character generator: odd bytes; on the even half a forced write (the font loader) is dropped.
  WriteMemory(0xF14023, True, 0x3C, False);
  EXPECT_EQ(Scm.CharGenRam(0x11), 0x3C);
  EXPECT_EQ(ReadMemory(0xF14023, True), 0x3C);
  WriteMemory(0xF15FFF, True, 0x81, False);
  EXPECT_EQ(Scm.AttrGenRam(0x7FF), 0x81);
  WriteMemory(0xF14022, True, 0x99, True);
  EXPECT_TRUE(TookNoFault());
  WriteMemory(0xF14022, True, 0x99, False);
  EXPECT_TRUE(TookBusError());
  EXPECT_EQ(CellOf(0xF14022).Data, 0x003C);
}

TEST_F(MemoryDispatchTest, CrtcUartAndMmu) {
  WriteMemory(0xF1A021, True, 14, False);
  WriteMemory(0xF1A023, True, 0x07, False);
  EXPECT_EQ(ReadMemory(0xF1A023, True), 0x07);
  EXPECT_EQ(Crtc.R(14), 0x07);

  Uart2661.Reset();
  WriteMemory(0xF1A031, True, 0x40, False);  // not a keyboard command: no reply
  WriteMemory(0xF1A033, True, 0x41, False);
  WriteMemory(0xF1A035, True, 0x42, False);
  WriteMemory(0xF1A037, True, 0x43, False);
  EXPECT_EQ(Uart2661.TxReg, 0x40);
  EXPECT_EQ(Uart2661.SYN1, 0x41);
  EXPECT_EQ(Uart2661.MR1, 0x42);
  EXPECT_EQ(ReadMemory(0xF1A037, True), 0x43);
  EXPECT_EQ(host.PumpCount, 0);
  // Only the status read pumps, and before the register is read: a byte that
  // arrives in the pump is already shown.
  host.OnPumpEvents = [] { Uart2661.ReceiveByte(0x5A); };
  EXPECT_EQ(ReadMemory(0xF1A033, True), 0xC3);
  EXPECT_EQ(ReadMemory(0xF1A031, True), 0x5A);
  Uart2661.Reset();
  EXPECT_EQ(host.PumpCount, 1);

  // A word reaches the MMU as two byte registers, high byte first.
  WriteMemory(0xF1A820, False, 0x1234, False);
  EXPECT_EQ(ReadMemory(0xF1A821, True), 0x34);
  EXPECT_EQ(ReadMemory(0xF1A820, False), 0x1234);
  EXPECT_TRUE(TookNoFault());
  for (uint32_t a : {0xF1A022u, 0xF1A036u, 0xF1A09Cu}) {
    WriteMemory(a, True, 0, False);
    EXPECT_TRUE(TookBusError()) << std::hex << a;
  }
}

TEST_F(MemoryDispatchTest, BoardRegistersAreOddBytesMirroredAndPumping) {
  // The PIA registers: a value the pump puts in is read; a value written is
  // in the register when the pump after the write runs.
  const struct {
    uint32_t Address;
    uint8_t (*Get)();
    void (*Put)(uint8_t);
    uint8_t Stored;  // what the register holds after 0xA5 is written
  } regs[] = {
      {0xF1C1C1, [] { return MVME400C0.DDRxORA(); }, [](uint8_t v) { MVME400C0.DDRxORA(v); }, 0xA5},
      {0xF1C1C7, [] { return MVME400C0.CRB(); }, [](uint8_t v) { MVME400C0.CRB(v); }, 0x25},  // flags not written
      {0xF1C1F7, [] { return MVME410PIA1.CRB(); }, [](uint8_t v) { MVME410PIA1.CRB(v); }, 0x25},
      {0xF1C1FD, [] { return MVME410PIA2.DDRxORB(); }, [](uint8_t v) { MVME410PIA2.DDRxORB(v); }, 0xA5},
  };
  for (const auto& r : regs) {
    SCOPED_TRACE(r.Address);
    host.OnPumpEvents = [&] { r.Put(0x03); };
    EXPECT_EQ(ReadMemory(r.Address, True), 0x03);  // pumped before the read
    uint8_t atPump = 0;
    host.OnPumpEvents = [&] { atPump = r.Get(); };
    WriteMemory(r.Address, True, 0xA5, False);
    EXPECT_EQ(atPump, r.Stored);  // pumped after the write
    r.Put(0);
    EXPECT_TRUE(TookNoFault());
    ReadMemory(r.Address - 1, True);
    EXPECT_TRUE(TookBusError());
  }

  // The serial registers: a byte queued by the pump is read; a byte written is
  // with the console before the pump after the write; a control write selects
  // a register before that pump.
  test::FakeConsoleFactories consoles;
  ConsoleType = {};
  ConsoleType[1] = ConsoleTTY;
  ConsoleType[2] = ConsoleTTY;
  OpenConsoles();
  MVME400C0.Reset();
  MVME400C1.CardNumber(1);  // as start-up numbers it
  MVME400C1.Reset();
  for (classMVME400* card : {&MVME400C0, &MVME400C1}) {
    card->ControlA(5), card->ControlA(0x08);  // transmitters on
    card->ControlB(5), card->ControlB(0x08);
  }
  const struct {
    uint32_t Address;
    int16_t Port;
    const char* Console;
  } serial[] = {{0xF1C1CB, 1, "tty1"}, {0xF1C1DB, 1, "tty1"}, {0xF1C1A9, 2, "tty2"}};
  for (const auto& r : serial) {
    SCOPED_TRACE(r.Address);
    Cable.FlushQueue(r.Port);
    host.OnPumpEvents = [&] { Cable.RX(r.Port, 0x5A); };
    EXPECT_EQ(ReadMemory(r.Address, True), 0x5A);  // pumped before the read
    std::string atPump;
    host.OnPumpEvents = [&] { atPump = consoles.log; };
    consoles.log.clear();
    WriteMemory(r.Address, True, 0xA5, False);
    EXPECT_EQ(atPump, std::string(r.Console) + ".out(A5) ");  // pumped after the write
    EXPECT_TRUE(TookNoFault());
    ReadMemory(r.Address - 1, True);
    EXPECT_TRUE(TookBusError());
  }
  uint8_t pointerAtPump = 0;
  host.OnPumpEvents = [&] { pointerAtPump = MVME400C0.ChannelB().Pointer; };
  WriteMemory(0xF1C1DF, True, 0xA5, False);  // WR0: pointer 5
  EXPECT_EQ(pointerAtPump, 5);
  host.OnPumpEvents = nullptr;
  EXPECT_EQ(ReadMemory(0xF1C1DF, True), 0x08);  // RR5: WR5 as written
  host.OnPumpEvents = [] { Cable.DCD(1, True); };
  EXPECT_EQ(ReadMemory(0xF1C1DF, True), 0x0C);  // RR0: the carrier the pump raised, TxE
  EXPECT_TRUE(TookNoFault());
  ReadMemory(0xF1C1DE, True);
  EXPECT_TRUE(TookBusError());
  Cable = classCable();
  ConsoleType = {};

  // The pump unplugs the card; the read that pumped still reaches its register.
  host.OnPumpEvents = [] { PlugMVME400C0(False); };
  MVME400C0.DDRxORA(0x3C);
  EXPECT_EQ(ReadMemory(0xF1C1C1, True), 0x3C);
  EXPECT_TRUE(TookNoFault());
  ReadMemory(0xF1C1C1, True);
  EXPECT_TRUE(TookBusError());
}

TEST_F(MemoryDispatchTest, DiskControllerRegisters) {
  // After a reset the data register is a loop-back store behind four addresses.
  WriteMemory(0xF1C0D5, True, 0, False);
  for (uint32_t i = 0; i < 4; ++i) WriteMemory(0xF1C0D9 + 2 * i, True, 0x40 + i, False);
  for (uint32_t i = 0; i < 4; ++i) EXPECT_EQ(ReadMemory(0xF1C0DF - 2 * i, True), 0x40 + i);
  EXPECT_EQ(ReadMemory(0xF1C0D7, True), 0);
  ReadMemory(0xF1C0D3, True);
  EXPECT_EQ(host.PumpCount, 1);  // only the R1 read pumps

  // Word devices of the emulator: a byte read gets half the word, a byte write is ignored.
  WriteMemory(0xF1A30A, False, 0xBEEF, False);  // the simple controller's address, high word
  EXPECT_EQ(ReadMemory(0xF1A30A, False), 0xBEEF);
  EXPECT_EQ(ReadMemory(0xF1A30B, True), 0xEF);
  WriteMemory(0xF1A30B, True, 0x11, False);
  WriteMemory(0xF1A20A, True, 0x11, False);
  EXPECT_EQ(ReadMemory(0xF1A30A, False), 0xBEEF);
  EXPECT_EQ(ReadMemory(0xF1A20A, False), 0);
  WriteMemory(0xF1A406, False, 0x4444, False);
  EXPECT_EQ(ReadMemory(0xF1A400, True), 0);  // a byte read is 0 and not a fault
  EXPECT_EQ(ReadMemory(0xF1A071, True), 0x1A);  // the port with no download file open
  EXPECT_EQ(ReadMemory(0xF1A061, True), 0);     // no files dropped
  EXPECT_TRUE(TookNoFault());
}

TEST_F(MemoryDispatchTest, DisplayRamIsMirroredDrawnAndThrottled) {
  WriteMemory(0xF17000 + 2 * 5, False, 0x4F41, False);  // reverse video: a white cell in 25-row mode
  EXPECT_EQ(ScmDisplayRam[5], 0x4F41);
  EXPECT_EQ(ScreenBuffer[50].TextRGB, 0xFFFFFFu);
  EXPECT_EQ(ScreenBuffer[800 + 59].TextRGB, 0xFFFFFFu);
  EXPECT_EQ(ScreenBuffer[60].TextRGB, 0u);
  EXPECT_EQ(host.PumpCount, 0);  // interval 0 never yields

  DisplayYieldInterval = 2;
  DisplayYieldCount = 0;
  std::vector<int> pumpedAt;
  for (int n = 1; n <= 9; ++n) {
    const int64_t before = host.PumpCount;
    WriteMemory(0xF17000, False, static_cast<uint16_t>(n), False);
    if (host.PumpCount != before) pumpedAt.push_back(n);
  }
  EXPECT_EQ(pumpedAt, (std::vector<int>{1, 4, 7}));
}

TEST_F(MemoryDispatchTest, GraphicsPlaneWritesDrawTheirPixels) {
  // 300-line layout: plane row y on screen rows 2y and 2y + 1.
  SetMemMap(0x030000, 0x03EA5F, DcGreenPlane);
  SetMemMap(0x058000, 0x05F52F, DcRedPlane3);
  WriteMemory(0x030010, False, 0x8001, False);  // word 8: pixels 128-143
  EXPECT_EQ(ScreenBuffer[128].GraphRGB, 0x00FF00u);
  EXPECT_EQ(ScreenBuffer[800 + 143].GraphRGB, 0x00FF00u);
  EXPECT_EQ(ScreenBuffer[129].GraphRGB, 0u);
  WriteMemory(0x030011, True, 0x7E, False);  // byte 0x11: pixels 136-143
  EXPECT_EQ(ScreenBuffer[137].GraphRGB, 0x00FF00u);
  EXPECT_EQ(ScreenBuffer[143].GraphRGB, 0u);
  WriteMemory(0x058005, True, 0x0F, False);  // layout-3 red byte 5: pixels 40-47
  EXPECT_EQ(ScreenBuffer[43].GraphRGB, 0u);
  EXPECT_EQ(ScreenBuffer[44].GraphRGB, 0x0000FFu);
  EXPECT_EQ(ReadMemory(0x030010, False), 0x807E);
}

}  // namespace
}  // namespace korva::test
