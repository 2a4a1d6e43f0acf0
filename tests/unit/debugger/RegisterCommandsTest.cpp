// Register-setting commands, memory watches and the register pane.
#include <gtest/gtest.h>

#include "bus/MMU.h"
#include "cpu/CpuState.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Panes.h"
#include "support/TestMachine.h"
#include "tables/Helpers.h"

namespace korva {
namespace {

class RegisterCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDebuggerState();
    InstallDebugger();
  }
  void TearDown() override { ResetDebuggerState(); }
  test::TestMachine m;
};

TEST_F(RegisterCommandsTest, RegistersTakeFittingValues) {
  struct Case {
    const char* line;
    uint32_t* reg;
    uint32_t before, after;
    const char* out;
    bool watches;  // the command asks for the watches too
  };
  const Case cases[] = {
      {".A0.W $8000", &CpuAReg[0], 0, 0xFFFF8000, "", true},
      {".A1 $7FFF", &CpuAReg[1], 0x12345678, 0x00007FFF, "", true},
      {".A2.L $87654321", &CpuAReg[2], 0, 0x87654321, "", true},
      {".A2.L $187654321", &CpuAReg[2], 5, 5, "Value Bad\r\n", false},
      {".A3 70000", &CpuAReg[3], 5, 5, "Value Bad or won't fit Word\r\n", false},
      {".D0.W $8000", &CpuDReg[0], 0x12345678, 0x12348000, "", false},
      {".d0 -1", &CpuDReg[0], 0x12345678, 0x1234FFFF, "", false},
      {".D1.B $AB", &CpuDReg[1], 0x12345678, 0x123456AB, "", false},
      {".D1.B 300", &CpuDReg[1], 0x12345678, 0x12345678, "Value Bad or won't fit Byte\r\n", false},
      {".D2.L -2", &CpuDReg[2], 0, 0xFFFFFFFE, "", false},
      {".D3.W x", &CpuDReg[3], 7, 7, "Value Bad or won't fit Word\r\n", false},
      {".VBR $400", &CpuVBR, 0, 0x400, "", false},
      {".SFC 9", &CpuSFC, 0, 1, "", false},
      {".DFC $FFFFFFFF", &CpuDFC, 0, 7, "", false},
      {".DFC", &CpuDFC, 3, 3, "Value Bad\r\n", false},
      {".USP $5000", &CpuUSP, 0, 0x5000, "", false},  // supervisor state: A7 stays
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    *c.reg = c.before;
    CpuAReg[7] = 0x7000;
    RefreshRegsRequest = RefreshWatchRequest = False;
    EXPECT_EQ(Execute(c.line), "\r\n" + std::string(c.out));
    EXPECT_EQ(*c.reg, c.after);
    EXPECT_EQ(CpuAReg[7], 0x7000u);
    const bool done = *c.out == 0;
    EXPECT_EQ(RefreshRegsRequest != 0, done);
    EXPECT_EQ(RefreshWatchRequest != 0, c.watches);
  }
  EXPECT_EQ(Execute(".PC 0"), "\r\nUndefined Command\r\n Type HELP for help!\r\n");
}

TEST_F(RegisterCommandsTest, StackPointersFollowTheState) {
  m.SetSR(0x0000);  // user state: A7 is the user stack pointer
  CpuAReg[7] = 0x1000;
  CpuSSP = 0x2000;
  Execute(".SSP $3000");
  EXPECT_EQ(CpuAReg[7], 0x1000u);
  EXPECT_EQ(CpuSSP, 0x3000u);
  Execute(".USP $1100");
  EXPECT_EQ(CpuAReg[7], 0x1100u);
  Execute(".SR $0700");
  EXPECT_EQ(Execute(".SR $12345"), "\r\nValue Bad\r\n");
  EXPECT_EQ(CpuIMask, 7);
  Execute(".SR $2700");  // into supervisor state: A7 is the supervisor stack pointer
  EXPECT_EQ(CpuAReg[7], 0x3000u);
  EXPECT_EQ(CpuUSP, 0x1100u);
  Execute(".SR $0700");  // and back: the user one returns to A7
  EXPECT_EQ(CpuAReg[7], 0x1100u);
  Execute(".CCR $FF");
  EXPECT_EQ(m.SR() & 0xFF, 0x1F);
}

TEST_F(RegisterCommandsTest, WatchesShowWholeLines) {
  for (uint32_t i = 0; i < 16; ++i) m.WriteByte(0x20000 + i, static_cast<uint8_t>(0x41 + i));
  Execute("SMW0 $20000 20");
  EXPECT_TRUE(RefreshWatchRequest);
  LoadMemoryWatch(0);
  EXPECT_EQ(WatchPaneText[0].substr(0, WatchPaneText[0].find("\r\n")),
            "00020000:: 4142 : 4344 : 4546 : 4748 : 494A : 4B4C : 4D4E : 4F50 ");
  EXPECT_EQ(WatchPaneLines[0], 2);
  EXPECT_EQ(WatchPaneVisibleLines[0], 2);

  Execute("SMW1 $20000 255");
  LoadMemoryWatch(1);
  EXPECT_EQ(WatchPaneLines[1], 16);
  EXPECT_EQ(WatchPaneVisibleLines[1], 8);
  Execute("DMW1");
  LoadMemoryWatch(1);
  EXPECT_EQ(WatchPaneText[1], "No Watch");
  LoadMemoryWatch(2);  // no such pane: nothing changes
  EXPECT_EQ(WatchPaneLines[0], 2);

  // A watch that follows A3; base 16 reads A3 as a number.
  Execute("SDMW0 A3 20");
  Execute(".A3.L $20004");
  LoadMemoryWatch(0);
  EXPECT_EQ(WatchPaneText[0].substr(0, 10), "00020004::");
  EXPECT_EQ(Execute("SDMW1 AX 20"), "\r\nError - SDMWn A<0-7>,<len8>\r\n");
  EXPECT_EQ(Execute("SDMW1 .A3 20"), "\r\nError - SDMWn A<0-7>,<len8>\r\n");
  EXPECT_EQ(Execute("SDMW1 a3 300"), "\r\nError - SDMWn A<0-7>,<len8>\r\n");
  Execute("BASE 16");
  EXPECT_EQ(Execute("SDMW1 A3 20"), "\r\nError - SDMWn A<0-7>,<len8>\r\n");
  EXPECT_EQ(MemoryWatches[1].Kind, 0);
  EXPECT_EQ(Execute("SMW0 $20000 $100"), "\r\nError - SMWn <addr32>,<len8>\r\n");
  EXPECT_EQ(MemoryWatches[0].Kind, 2);  // refusals change nothing
}

TEST_F(RegisterCommandsTest, RegisterPaneBackgroundAndTrack) {
  CpuPC = 0x1000;
  Execute("TTR 1");
  DisplayRegisters();
  EXPECT_EQ(RegistersPaneBackground, PaneWhite);
  EXPECT_EQ(RegistersPaneText.substr(0, 4), " D0=");
  const std::string track = " 00001000 : ORI.B    #$00,D0\r\n";
  ASSERT_GE(OutputText.size(), track.size());
  EXPECT_EQ(OutputText.substr(OutputText.size() - track.size()), track);
  // The PC mapped elsewhere by a descriptor: pale red while the disassembler translates.
  Mmu.AccessMMU(2 * 6, 1);
  Mmu.AccessMMU(0x29, 1);
  const uint8_t fields[] = {0x00, 0x10, 0xFF, 0xF0, 0x02, 0x00, 0x01, 0x01, 0xFF};
  for (uint32_t i = 0; i < sizeof fields; ++i) Mmu.AccessMMU(0x20 + i, fields[i]);
  ASSERT_EQ(Mmu.AccessMMU(0x3F), 0);
  DisplayRegisters();
  EXPECT_EQ(RegistersPaneBackground, PaneWhite);
  Execute("UMMU 1");
  DisplayRegisters();
  EXPECT_EQ(RegistersPaneBackground, PanePaleRed);
}

}  // namespace
}  // namespace korva
