// Run control, breakpoints, the trace table and the caption on a real guest loop,
// with the processor on the debugger fetch.
#include <gtest/gtest.h>

#include "cpu/CpuState.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "support/TestMachine.h"
#include "tables/Queues.h"

namespace korva {
namespace {

class RunControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetDebuggerState();
    InstallDebugger();
    ASSERT_TRUE(m.LoadSrec("debug_loop.s19"));
    TraceTable.Create(4096);
    ShowDebugger(0);
  }
  void TearDown() override {
    HideDebugger();
    TraceTableEnabled = False;
    TraceTable.Flush();
    ResetDebuggerState();
  }
  // Runs until the processor stops of itself (count or breakpoint), then
  // redraws as the main loop does while stopped.
  void RunToStop() {
    EXPECT_EQ(m.RunUntilStop(100000), test::Stop::NotRunning);
    if (RefreshRegsRequest) DebuggerHook.DisplayRegisters();
    RefreshRegsRequest = False;
  }
  test::TestMachine m;
};

TEST_F(RunControlTest, GoStepRunAndBreakpoints) {
  EXPECT_TRUE(DebuggerLoaded);
  Execute("GO $10000");
  RunToStop();
  EXPECT_EQ(CpuPC, 0x10000u);  // the PC is loaded, nothing runs
  EXPECT_TRUE(RefreshWatchRequest);

  Execute("ITR 1");
  Execute("SBR0 $FF010002");  // compared on 24 bits
  EXPECT_TRUE(BreakPointsEnabled);
  EXPECT_EQ(Execute("RUN"), "\r\n");
  EXPECT_EQ(Caption, "Debugger - Running");
  RunToStop();
  EXPECT_EQ(CpuPC, 0x10002u);
  EXPECT_EQ(CpuDReg[0], 0u);
  EXPECT_EQ(Caption, "Debugger - Stopped  Break @ 0xFF010002");

  Execute("RUN");  // the breakpoint lets its own instruction pass once
  RunToStop();
  EXPECT_EQ(CpuPC, 0x10002u);
  EXPECT_EQ(CpuDReg[0], 1u);

  // A counted run ending on the breakpoint stops by the count: no break shown.
  Execute("STEP 2");
  RunToStop();
  EXPECT_EQ(CpuPC, 0x10002u);
  EXPECT_EQ(CpuDReg[0], 2u);
  EXPECT_EQ(Caption, "Debugger - Stopped ");
  Execute("RUN");  // stops at once, now with the break
  RunToStop();
  EXPECT_EQ(CpuDReg[0], 2u);
  EXPECT_EQ(Caption, "Debugger - Stopped  Break @ 0xFF010002");
  Execute("RUN");  // and runs on
  RunToStop();
  EXPECT_EQ(CpuDReg[0], 3u);

  EXPECT_EQ(Execute("BR"), "\r\n BR0 at FF010002\r\n");
  // Newest first: the fetch at the breakpoint stopped before it was recorded.
  EXPECT_EQ(Execute("DTT 3"), "\r\n00010004 : 00010002 : 00010004 : ");
  EXPECT_EQ(Execute("DTT 20").size(), 2u + 7 * 11);  // seven recorded, no line end
  Execute("STEP 4");
  RunToStop();
  const std::string eight = Execute("DTT 8");
  EXPECT_EQ(eight.size(), 2u + 8 * 8 + 7 * 3 + 2);
  EXPECT_EQ(eight.substr(eight.size() - 2), "\r\n");
  EXPECT_EQ(Execute("DTT -1"), "\r\n");
  EXPECT_EQ(Execute("DISPLAYTRACETABLE x"), "\r\n");

  Execute("DBR0");
  EXPECT_FALSE(BreakPointsEnabled);
  EXPECT_EQ(Execute("BR"), "\r\n");
  EXPECT_EQ(BreakPoints[0].Address, 0xFF010002u);  // the address stays
}

TEST_F(RunControlTest, TrackTraceListsEachStop) {
  Execute("TTR 1");
  Execute("GO $10002");
  RunToStop();
  Execute("STEP");
  RunToStop();
  EXPECT_NE(OutputText.find(" 00010002 : ADDQ.L   #$1,D0\r\n"), std::string::npos) << OutputText;
  EXPECT_NE(OutputText.find(" 00010004 : BRA.B    $00010002\r\n"), std::string::npos) << OutputText;
}

TEST_F(RunControlTest, BreakpointCommandsRefuseBadAddresses) {
  EXPECT_EQ(Execute("SBR2 xyz"), "\r\nError - SBRn <op32> where n = 0-3\r\n");
  EXPECT_FALSE(BreakPoints[2].Enabled);
  Execute("SBR3 $1234");
  Execute("SBR1 $20");
  EXPECT_EQ(Execute("br"), "\r\n BR1 at 00000020\r\n BR3 at 00001234\r\n");
  Execute("DBR1");
  EXPECT_TRUE(BreakPointsEnabled);
  ShowDebugger(0);  // opening again disables them all, the addresses stay
  EXPECT_FALSE(BreakPointsEnabled);
  EXPECT_FALSE(BreakPoints[3].Enabled);
  EXPECT_EQ(BreakPoints[3].Address, 0x1234u);
}

TEST_F(RunControlTest, FlagCommandsAndTheirMessages) {
  struct Case {
    const char* word;
    VBool* flag;
    const char* invalid;
    const char* must;
  };
  const Case cases[] = {
      {"DIS", &DisableIntOnStop, "Invalid value - SDI n   - where n is 0 or 1",
       "Must be 0 for Not Disable Interrupt on Stop, or 1 for Disable Interrupt on Stop"},
      {"TTR", &TrackTrace, "Invalid value - TTR n where n is 0 or 1", "Must be 0 for NoTrack, or 1 for Track"},
      {"ITR", &TraceTableEnabled, "Invalid value - ITR n where n is 0 to Disable Trace or 1 to Enable",
       "Must be 0 to Disable Trace Table, or 1 to Enable"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const std::string w = c.word;
    EXPECT_EQ(Execute(w + " 1"), "\r\n");
    EXPECT_EQ(*c.flag, True);
    EXPECT_EQ(Execute(w + " 300"), "\r\n" + std::string(c.invalid) + "\r\n");
    EXPECT_EQ(Execute(w), "\r\n" + std::string(c.invalid) + "\r\n");
    EXPECT_EQ(Execute(w + " 2"), "\r\n" + std::string(c.must) + "\r\n");
    EXPECT_EQ(*c.flag, True);  // refusals change nothing
    Execute(w + " 0");
    EXPECT_EQ(*c.flag, False);
  }
  Execute("DI");
  EXPECT_TRUE(InterruptsDisabled);
  Execute("EI");
  EXPECT_FALSE(InterruptsDisabled);
}

TEST_F(RunControlTest, TranslateAddressTakesNoneOneOrTwoArguments) {
  CpuPC = 0x10004;
  EXPECT_EQ(Execute("TTA"), "\r\n00010004  FC = 06   Desc = 00\r\n");
  EXPECT_EQ(Execute("TAD $FF123456"), "\r\n00123456  FC = 06   Desc = 00\r\n");
  EXPECT_EQ(Execute("TTA $123456,1"), "\r\n00123456  FC = 01   Desc = 00\r\n");
  EXPECT_EQ(Execute("TTA 1 2 3"), "\r\n usage TTA[ <address>[,FC]]");
  EXPECT_EQ(Execute("TTA 1 300"), "\r\n usage TTA[ <address>[,FC]]");
  m.SetSR(0x0000);
  EXPECT_EQ(Execute("TTA"), "\r\n00010004  FC = 02   Desc = 00\r\n");
}

TEST_F(RunControlTest, ClosingClearsTheStopSwitches) {
  Execute("DIS 1");
  Execute("DI");
  Execute("SBR0 $10002");
  Execute("STEP 5");
  HideDebugger();
  EXPECT_FALSE(DebuggerLoaded);
  EXPECT_FALSE(DisableIntOnStop || InterruptsDisabled || BreakPointsEnabled || CountedRun);
  EXPECT_FALSE(RefreshRegsRequest || RefreshWatchRequest);
}

}  // namespace
}  // namespace korva
