// The memory commands as text in, text out, through the cell array and the bus.
#include <gtest/gtest.h>

#include <string>

#include "bus/BusState.h"
#include "bus/Memory.h"
#include "cpu/MainLoop.h"
#include "debugger/DebugPump.h"
#include "debugger/DebuggerCore.h"
#include "host/Host.h"
#include "support/ScriptedHost.h"
#include "serial/Cable.h"
#include "serial/MVME400.h"
#include "support/TestMachine.h"
#include "unit/serial/BoardMap.h"

namespace korva {
namespace {

class MemoryCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDebuggerState();
    // 41-50 ("A" to "P"), then 0D 0A 00 7F.
    for (uint8_t k = 0; k < 16; ++k) m.WriteByte(0x20000 + k, static_cast<uint8_t>(0x41 + k));
    m.Words(0x20010, {0x0D0A, 0x007F});
  }
  void TearDown() override {
    SetHost(nullptr);
    ResetDebuggerState();
  }
  test::TestMachine m;
};

TEST_F(MemoryCommandsTest, DisplayChangeAndFillOnBothPaths) {
  struct Case {
    const char* line;
    const char* array;  // printed with URA 1 (after the echo's CR LF)
    const char* bus;    // printed with URA 0; nullptr: as through the array
  };
  const Case cases[] = {
      {"DM.B $20000 20",
       "00020000::41:42:43:44:45:46:47:48:49:4A:4B:4C:4D:4E:4F:50 : ABCDEFGHIJKLMNOP\r\n"
       "00020010::0D:0A:00:7F : ....\r\n",
       "00020000: 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 : ABCDEFGHIJKLMNOP\r\n"
       "00020010: 0D 0A 00 7F : ....\r\n"},
      {"md $20000", "00020000::4142:4344:4546:4748:494A:4B4C:4D4E:4F50 : ABCDEFGHIJKLMNOP\r\n",
       "00020000: 4142 4344 4546 4748 494A 4B4C 4D4E 4F50 : ABCDEFGHIJKLMNOP\r\n"},
      {"DM.L $20000", "00020000:: 41424344 : 45464748 : 494A4B4C : 4D4E4F50  : ABCDEFGHIJKLMNOP\r\n",
       "00020000: 41424344 45464748 494A4B4C 4D4E4F50 : ABCDEFGHIJKLMNOP\r\n"},
      {"DM.B $20000 0", "\r\n", nullptr},
      // Refusals.
      {"DM.B", "Error - DM.B <addr32>,<len32>\r\n", nullptr},
      {"DM.W $20000 X", "Error - DM.W <addr32>,<len32>\r\n", nullptr},
      {"DM.W $20001", "Address is Odd\r\n", nullptr},
      {"DM.L X", "Error - DM.L <address32>,<len32>\r\n", nullptr},
      {"DM.L $20001", "Address is Odd\r\n", nullptr},
      {"SM.B $20000 300", "Error- SM.B <addr32>,<data8>\r\n", nullptr},
      {"SM.W $20000", "Error- SM.W <addr32>,<data16>\r\n", nullptr},
      {"SM.W $20001 5", " Address is Odd\r\n", nullptr},
      {"SM.L $20000 5000000000", "Error- SM.L <addr32>,<data32>\r\n", nullptr},
      {"SM.L $20003 5", " Address is Odd\r\n", nullptr},
      {"ZM.B", "Error - ZM.B <addr32>,<len32>\r\n", nullptr},
      {"BF.B $20000", "Error - BF.B <addr32>,<byte>,<len32>\r\n", nullptr},
      {"BF.W $20000 $12345", "Error - BF.W <addr32>,<word>,<len32>\r\n", nullptr},
      {"BF.W $20001 1", "Address is Odd\r\n", nullptr},
      {"BF.L $20000", "Error - BF.L <addr32>,<long>,<len32>\r\n", nullptr},
      {"BF.L $20001 1", "Address is Odd\r\n", nullptr},
      {"URA 2", "Must be 0 for MEMORY, or 1 for RAM ARRAY\r\n", nullptr},
      {"URA", "Invalid value - URA n where n is 0 or 1\r\n", nullptr},
  };
  for (const bool array : {true, false}) {
    UseRamArray = ToVBool(array);
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.line) + (array ? " (array)" : " (bus)"));
      const std::string expected = std::string("\r\n") + (array || !c.bus ? c.array : c.bus);
      EXPECT_EQ(Execute(c.line), expected);
      EXPECT_EQ(UseRamArray, ToVBool(array));
    }

    // Changes and fills.
    RefreshWatchRequest = False;
    EXPECT_EQ(Execute("SM.B $20000 -1"), "\r\n");
    EXPECT_EQ(m.ReadByte(0x20000), 0xFF);
    EXPECT_EQ(RefreshWatchRequest, True);
    Execute("SM $20002 $BEEF");
    Execute("SM.L $20004 $01020304");
    EXPECT_EQ(m.ReadWord(0x20002), 0xBEEF);
    EXPECT_EQ(m.ReadLong(0x20004), 0x01020304u);
    Execute("BF.W $20000 $1234 $0");  // a length of 0 writes nothing
    EXPECT_EQ(m.ReadWord(0x20000), 0xFF42);
    Execute("BF.W $20000 $1234");  // without a length one word
    EXPECT_EQ(m.ReadLong(0x20000), 0x1234BEEFu);
    Execute("BF.L $20008 $CAFEF00D 2");
    EXPECT_EQ(m.ReadLong(0x2000C), 0xCAFEF00Du);
    EXPECT_EQ(m.ReadWord(0x20010), 0x0D0A);
    Execute("ZM.B $20001 3");
    EXPECT_EQ(m.ReadLong(0x20000), 0x12000000u);
    Execute("BF.B $20001 $55 -5");  // a negative length writes nothing
    EXPECT_EQ(m.ReadByte(0x20001), 0);
    EXPECT_EQ(Execute(array ? "URA 0" : "URA 1"), "\r\n");
    SetUp();
    UseRamArray = ToVBool(!array);
  }
}

TEST_F(MemoryCommandsTest, ArrayAccessWrapsAndBusFaultsAreTheCommandsOwn) {
  // The array path: a long at the top of memory goes on at 000000, and so does a dump.
  Execute("SM.L $FFFFFE $11223344");
  EXPECT_EQ(m.ReadWord(0xFFFFFE), 0x1122);
  EXPECT_EQ(m.ReadWord(0x000000), 0x3344);
  EXPECT_EQ(Execute("DM.B $FFFFFF 2"), "\r\n00FFFFFF::22:33 : \"3\r\n");
  EXPECT_EQ(Execute("DM.W $FFFFFE 2"), "\r\n00FFFFFE::1122:3344 : .\"3D\r\n");

  // The bus path: an unmapped range prints its lines, then the fault once.
  m.SetDeviceCode(0x30000, 0x3001F, DcNothing);
  ASSERT_EQ(Execute("URA 0"), "\r\n");
  EXPECT_EQ(Execute("DM.B $3000E 4"),
            "\r\n0003000E: 00 00 00 00 : ....\r\nBus Error\r\n");
  EXPECT_EQ(Execute("SM.L $3001E $12345678"), "\r\nBus Error\r\n");
  EXPECT_EQ(m.ReadWord(0x30020), 0x5678);  // the second word lies in RAM
  EXPECT_EQ(Execute("BF.B $3001F 7 2"), "\r\nBus Error\r\n");  // goes on after the fault
  EXPECT_EQ(m.ReadByte(0x30020), 7);
  EXPECT_EQ(BusErrorFlag, False);
  EXPECT_EQ(FaultFlag, False);

  // A fault the processor has pending is neither reported nor lost.
  BusErrorFlag = True;
  FaultFlag = True;
  EXPECT_EQ(Execute("DM.B $20000 4"), "\r\n00020000: 41 42 43 44 : ABCD\r\n");
  EXPECT_EQ(BusErrorFlag, True);
  EXPECT_EQ(FaultFlag, True);
  EXPECT_EQ(Execute("DM.B $30000 1"), "\r\n00030000: 00 : .\r\nBus Error\r\n");
  EXPECT_EQ(BusErrorFlag, True);
  EXPECT_EQ(AddressErrorFlag, False);
}

// Device registers answer only through the bus; the cell array never disturbs them.
TEST_F(MemoryCommandsTest, DeviceRegistersAnswerThroughTheBusOnly) {
  test::MapSerialBoards(m);
  MVME400C0.Reset();
  Cable.RX(0, 0x41);  // a byte waiting for card 0's channel A
  EXPECT_EQ(Execute("DM.B $F1C1C0 32"),
            "\r\n00F1C1C0::00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00 : ................"
            "\r\n00F1C1D0::00:00:00:00:00:00:00:00:00:00:00:00:00:00:00:00 : ................\r\n");
  EXPECT_EQ(Cable.RXavailable(0), True);
  Execute("URA 0");
  EXPECT_EQ(Execute("DM.B $F1C1C9 1"), "\r\n00F1C1C9: 41 : A\r\n");  // the receive register
  EXPECT_EQ(Cable.RXavailable(0), False);
  EXPECT_EQ(Execute("DM.W $F1C1C8 1"), "\r\n00F1C1C8: 0000 : ..\r\nBus Error\r\n");  // bytes only
}

// Abort, clicked while a fill or dump pumps events, ends it after the current
// element; a line typed meanwhile runs nothing.
TEST_F(MemoryCommandsTest, AbortEndsALongCommandAndATypedLineWaits) {
  ScriptedHost host;
  SetHost(&host);
  static int64_t clock = 0;  // 2 ms pass between two looks: a pump every 256 elements
  DebugPumpClock = [] { return clock += DebugPump::IntervalMs; };
  int pumps = 0;
  host.OnPumpEvents = [&] {
    if (++pumps != 1) return;
    for (char c : std::string("SM.B $20000 0\r")) CommandKey(c);
    DebugAbort = True;
  };
  CommandLine = "BF.B $200000 $55 $100000";
  CommandKey('\r');
  ASSERT_EQ(pumps, 1);  // the first look after 256 bytes
  EXPECT_EQ(m.ReadByte(0x2000FF), 0x55);
  EXPECT_EQ(m.ReadByte(0x200100), 0);
  EXPECT_EQ(m.ReadByte(0x20000), 0x41);  // the typed line did not run
  EXPECT_EQ(CommandRunning, False);

  // An aborted dump keeps the lines it printed; the next command clears Abort.
  OutputText.clear();
  host.OnPumpEvents = [] { DebugAbort = True; };
  CommandLine = "DM.B $200000 $100000";
  CommandKey('\r');
  const std::string line = "::55:55:55:55:55:55:55:55:55:55:55:55:55:55:55:55 : UUUUUUUUUUUUUUUU";
  EXPECT_EQ(OutputText.substr(0, 2 + 8 + line.size()), "\r\n00200000" + line);
  EXPECT_EQ(OutputText.size(), 16 * (2 + 8 + line.size()));  // 16 lines, no closing CR LF
}

}  // namespace
}  // namespace korva
