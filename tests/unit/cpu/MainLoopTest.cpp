// The main loop's pacing of window messages, its quit and refresh handling, the
// command line, and the latch that keeps a reset requested inside a micro-routine.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/MainLoop.h"
#include "cpu/classCPU.h"
#include "host/Host.h"
#include "tables/OpMap.h"
#include "unit/support/TestMachine.h"

using namespace korva;

namespace {
// A host that records each message pump and runs a test's action in it.
class PumpHost final : public HostServices {
 public:
  std::function<void(int)> onPump;
  int pumps = 0;
  std::vector<uint32_t> pcAtPump;
  bool inPump = false;
  // A pump nested in an action (the run indicator processes messages) sees no new events.
  void PumpEvents() override {
    if (inPump) return;
    inPump = true;
    ++pumps;
    pcAtPump.push_back(mcPC);
    if (onPump) onPump(pumps);
    inPump = false;
  }
  MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override { return MsgAnswer::OK; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void Beep() override {}
  std::string GetSetting(const std::string&, const std::string&, const std::string& d) override { return d; }
  void SaveSetting(const std::string&, const std::string&, const std::string&) override {}
};

// A store of jumps, word i to i + 1: after k words from 0, mcPC is k mod 4096.
void FillWithJumps() {
  for (uint32_t a = 0; a < McStoreSize; ++a) Microcode[a] = {McJump, (a + 1) % McStoreSize};
}
}  // namespace

TEST(MainLoop, MessagesArePumpedEveryThrottleMaskPlusOneWords) {
  test::TestMachine m;
  PumpHost host;
  SetHost(&host);
  FillWithJumps();
  mcPC = 0;
  CpuRunning = True;
  CpuThrottleMask = 1023;
  host.onPump = [](int n) { if (n == 3) QuitRequested = True; };
  RunMachine();
  EXPECT_EQ(host.pcAtPump, (std::vector<uint32_t>{1024, 2048, 3072}));
  EXPECT_EQ(mcPC, 3072u);  // quit while running ends the loop after that word

  QuitRequested = False;
  host.pcAtPump.clear();
  host.pumps = 0;
  mcPC = 0;
  CpuThrottleMask = 0;
  host.onPump = [](int n) { if (n == 4) QuitRequested = True; };
  RunMachine();
  EXPECT_EQ(host.pcAtPump, (std::vector<uint32_t>{1, 2, 3, 4}));
  CpuThrottleMask = 1023;
}

TEST(MainLoop, StoppedLoopServesRefreshesThenQuits) {
  test::TestMachine m;
  PumpHost host;
  SetHost(&host);
  static std::vector<std::string> calls;
  calls.clear();
  DebuggerHook.DisplayRegisters = [] { calls.push_back("regs"); };
  DebuggerHook.LoadMemoryWatch = [](int16_t w) { calls.push_back("watch" + std::to_string(w)); };
  RefreshRegsRequest = RefreshWatchRequest = True;
  host.onPump = [](int) {
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
  PumpHost host;
  SetHost(&host);
  // MOVE.B $F19F05,D0: the source read reaches control register 0 of the system
  // control module, whose read processes window messages first.
  m.SetDeviceCode(0xF19F04, 0xF19F05, DcCR0);
  CpuOpcode = 0x1039;
  CpuEa = 0xF19F05;
  mcPC = 593;  // the read of the MOVE.B chain 592: 39 76 97
  mcStage = 1;
  CpuRunning = True;
  host.onPump = [](int) { Cpu.Reset(false); };
  m.ExecuteWord();
  EXPECT_EQ(host.pumps, 1);
  EXPECT_EQ(mcPC, 16u);
  EXPECT_EQ(mcStage, 1);

  // A start from the Run menu in the same place: the fetch from the new PC follows.
  mcPC = 593;
  CpuRunning = True;
  host.onPump = [](int) {
    Cpu.StopRun(false);
    Cpu.Execute(0x4000);
  };
  m.ExecuteWord();
  EXPECT_EQ(mcPC, 80u);
  EXPECT_EQ(CpuPC, 0x4000u);
  EXPECT_EQ(CpuRunning, True);

  // A fetch-switch patch requested there lands between the words.
  mcPC = 593;
  host.onPump = [](int) { UseDebuggerMicroOp(); };
  m.ExecuteWord();
  EXPECT_EQ(Microcode[96].Arg, 69u);
  UseNormalMicroOp();
}

TEST(MainLoop, ResetDuringTheStopWaitOrTheIdleLoopRunsTheResetNext) {
  test::TestMachine m;
  PumpHost host;
  SetHost(&host);
  host.onPump = [](int) {
    ResetRequest = True;
    Cpu.Reset(false);
  };
  for (uint32_t at : {128u, 498u, 32u}) {
    mcPC = at;
    m.ExecuteWord();
    EXPECT_EQ(mcPC, 16u) << at;
    EXPECT_EQ(ResetRequest, False) << at;
  }
  // Without a reset the wait goes on, or ends on a pending interrupt.
  host.onPump = nullptr;
  mcPC = 498;
  m.ExecuteWord();
  EXPECT_EQ(mcPC, 128u);
  HipPending = 0xFFFF;
  m.ExecuteWord();
  EXPECT_EQ(mcPC, 129u);
  HipPending = 0;
}

TEST(MainLoop, CommandLineAndProfileName) {
  ParseCommandLine(1, "  my-prof_1   other  ");
  EXPECT_EQ(CommandWordCount, 1);
  EXPECT_EQ(CommandWords[1], "my-prof_1");
  EXPECT_EQ(IsPlainName(CommandWords[1]), True);
  ParseCommandLine(1, " \t \t ");
  EXPECT_EQ(CommandWordCount, 0);
  ParseCommandLine(3, "a\tbb c d");
  EXPECT_EQ(CommandWordCount, 3);
  EXPECT_EQ(CommandWords[2], "bb");
  EXPECT_EQ(CommandWords[3], "c");
  for (const char* path : {"C:prof", "a\\b", "rom.s19", "/home/me/prof", ""})
    EXPECT_EQ(IsPlainName(path), False) << path;

  ChooseProfile("my-prof_1 other");
  EXPECT_EQ(ProfileName, "MYPROF1");
  ChooseProfile("C:\\disks\\boot.img");
  EXPECT_EQ(ProfileName, "");
  ChooseProfile("");
  EXPECT_EQ(ProfileName, "");
}
