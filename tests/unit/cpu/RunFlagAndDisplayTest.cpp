// The run flag with its window updates, and the register display text.
#include <gtest/gtest.h>

#include <vector>

#include "cpu/DebuggerHooks.h"
#include "cpu/MainLoop.h"
#include "cpu/RegistersText.h"
#include "cpu/classCPU.h"
#include "shell/MainFormHooks.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
struct RecordingForm final : MainFormHooks {
  std::vector<int> runs;
  void RunGui(VBool running) override { runs.push_back(running); }
};
}  // namespace

TEST(RunFlag, StoppingWithAndWithoutTheDebugger) {
  test::TestMachine m;
  RecordingForm form;
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
