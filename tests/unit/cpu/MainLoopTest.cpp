// The main loop's pacing of window messages, its quit and refresh handling, the
// command-line words, the latch that keeps a reset requested inside a micro-routine,
// the run flag with its window updates, and the register display text.
#include <gtest/gtest.h>

#include <vector>

#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/MainLoop.h"
#include "cpu/RegistersText.h"
#include "cpu/classCPU.h"
#include "shell/MainFormHooks.h"
#include "support/ScriptedHost.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
// A store of jumps, word i to i + 1: after k words from 0, mcPC is k mod 4096.
void FillWithJumps() {
  for (uint32_t a = 0; a < McStoreSize; ++a) Microcode[a] = {McJump, (a + 1) % McStoreSize};
}
}  // namespace

TEST(MainLoop, MessagesArePumpedEveryThrottleMaskPlusOneWords) {
  test::TestMachine m;
  ScriptedHost host;
  std::vector<uint32_t> pcAtPump;
  FillWithJumps();
  CpuRunning = True;
  for (uint32_t mask : {1023u, 0u}) {
    pcAtPump.clear();
    host.OnPumpEvents = [&] {
      pcAtPump.push_back(mcPC);
      if (pcAtPump.size() == 3) QuitRequested = True;
    };
    QuitRequested = False;
    mcPC = 0;
    CpuThrottleMask = mask;
    RunMachine();  // quit while running ends the loop after that word
    const std::vector<uint32_t> want = mask ? std::vector<uint32_t>{1024, 2048, 3072} : std::vector<uint32_t>{1, 2, 3};
    EXPECT_EQ(pcAtPump, want);
    EXPECT_EQ(mcPC, pcAtPump.back());
  }
  CpuThrottleMask = 1023;
}

TEST(MainLoop, StoppedLoopServesRefreshesThenQuits) {
  test::TestMachine m;
  ScriptedHost host;
  static std::vector<std::string> calls;
  calls.clear();
  DebuggerHook.DisplayRegisters = [] { calls.push_back("regs"); };
  DebuggerHook.LoadMemoryWatch = [](int16_t w) { calls.push_back("watch" + std::to_string(w)); };
  RefreshRegsRequest = RefreshWatchRequest = True;
  host.OnPumpEvents = [] {
    calls.push_back("pump");
    QuitRequested = True;
  };
  CpuRunning = False;
  RunMachine();
  EXPECT_EQ(calls, (std::vector<std::string>{"regs", "watch0", "watch1", "pump"}));
  EXPECT_EQ(RefreshRegsRequest, False);
  EXPECT_EQ(RefreshWatchRequest, False);
}

TEST(MainLoop, ResetRequestedInsideAMicroRoutineWinsOverItsOwnUpdate) {
  test::TestMachine m;
  ScriptedHost host;
  // MOVE.B $F19F05,D0: the source read reaches control register 0 of the system
  // control module, whose read processes window messages first.
  m.SetDeviceCode(0xF19F04, 0xF19F05, DcCR0);
  CpuOpcode = 0x1039;
  CpuEa = 0xF19F05;
  mcPC = McMOVEBToDn + 1;  // the source read of MOVE.B <ea>,Dn
  mcStage = 1;
  CpuRunning = True;
  host.OnPumpEvents = [] { Cpu.Reset(false); };
  m.ExecuteWord();
  EXPECT_EQ(host.PumpCount, 1);
  EXPECT_EQ(mcPC, +McReset);
  EXPECT_EQ(mcStage, 1);

  // A start from the Run menu in the same place: the fetch from the new PC follows.
  mcPC = McMOVEBToDn + 1;
  CpuRunning = True;
  host.OnPumpEvents = [] {
    Cpu.StopRun(false);
    Cpu.Execute(0x4000);
  };
  m.ExecuteWord();
  EXPECT_EQ(mcPC, +McExecute);
  EXPECT_EQ(CpuPC, 0x4000u);
  EXPECT_EQ(CpuRunning, True);
}

TEST(MainLoop, ResetDuringTheStopWaitOrTheIdleLoopRunsTheResetNext) {
  test::TestMachine m;
  ScriptedHost host;
  host.OnPumpEvents = [] {
    ResetRequest = True;
    Cpu.Reset(false);
  };
  for (uint32_t at : {+McStopWait, McSTOP + 2, +McIdle}) {
    mcPC = at;
    m.ExecuteWord();
    EXPECT_EQ(mcPC, +McReset) << at;
    EXPECT_EQ(ResetRequest, False) << at;
  }
  // Without a reset the wait goes on, or ends on a pending interrupt.
  host.OnPumpEvents = nullptr;
  mcPC = McSTOP + 2;  // the STOP chain's wait
  m.ExecuteWord();
  EXPECT_EQ(mcPC, +McStopWait);
  HipPending = 0xFFFF;
  m.ExecuteWord();
  EXPECT_EQ(mcPC, McStopWait + 1);
  HipPending = 0;
}

// The profile names the command line gives are checked with the settings store;
// here the splitting into words, and a profile chosen before any host is installed.
TEST(MainLoop, CommandLineWords) {
  ParseCommandLine(1, "  my-prof_1   other  ");
  EXPECT_EQ(CommandWordCount, 1);
  EXPECT_EQ(CommandWords[1], "my-prof_1");
  ChooseProfile("my-prof_1 other");
  EXPECT_EQ(ProfileName, "MYPROF1");
  ParseCommandLine(1, " \t \t ");
  EXPECT_EQ(CommandWordCount, 0);
}

namespace {
struct RunRecordingForm final : MainFormHooks {
  std::vector<int> runs;
  void RunGui(VBool running) override { runs.push_back(running); }
};
}  // namespace

TEST(RunFlag, StoppingWithAndWithoutTheDebugger) {
  test::TestMachine m;
  RunRecordingForm form;
  SetMainForm(&form);
  static int statusCalls = 0;
  statusCalls = 0;
  DebuggerHook.ShowStatus = [](const std::string& text) { statusCalls += text.empty(); };
  DebuggerLoaded = True;
  DisableIntOnStop = True;
  SetCpuRunning(False);
  EXPECT_EQ(InterruptsDisabled, True);
  EXPECT_EQ(statusCalls, 1);
  SetCpuRunning(True);
  EXPECT_EQ(InterruptsDisabled, True);  // a start leaves the debugger's choice alone
  DebuggerLoaded = False;
  SetCpuRunning(False);
  EXPECT_EQ(InterruptsDisabled, False);
  EXPECT_EQ(DisableIntOnStop, False);
  EXPECT_EQ(form.runs, (std::vector<int>{0, -1, 0}));
  SetMainForm(nullptr);
}

TEST(RegistersText, SevenLinesWithTheActiveStackPointer) {
  test::TestMachine m;
  CpuAReg[7] = 0xA0000007;
  CpuUSP = 0x0000FF00;
  CpuPC = 0x1000;
  m.WriteWord(0x1000, 0x4E71);
  Cpu.SR(0x2714);
  CpuVBR = 0x400;
  CpuSFC = 0;
  CpuDFC = 5;
  const std::string t = RegistersText();
  EXPECT_EQ(t.substr(t.find(" PC=")),
            " PC=00001000 : DC.W $4E71\r\n"
            " SR=2714   S=1  T=0  IM=7  X=1  N=0  Z=1  V=0  C=0\r\n"
            " USP=0000FF00 SSP=A0000007 VBR=00000400 SFC=0 DFC=5");
  // The disassembler, once attached, is used.
  DebuggerHook.Disassemble = [](uint32_t, VBool) { return std::string("NOP"); };
  EXPECT_NE(RegistersText().find(" PC=00001000 : NOP\r\n"), std::string::npos);
}
