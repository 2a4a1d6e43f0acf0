// The commands that show device registers, the help text, the version and the resets.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "board/BoardSettings.h"
#include "board/MC6845.h"
#include "board/Rtc1468hc18.h"
#include "board/Uart2661.h"
#include "bus/MMU.h"
#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "cpu/RegistersText.h"
#include "debugger/DebuggerCore.h"
#include "disk/RWIN.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/MainFormHooks.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

class DeviceCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetDebuggerState(); }
  void TearDown() override {
    ResetDebuggerState();
    View = DebuggerView{};
  }
  test::TestMachine m;
};

TEST_F(DeviceCommandsTest, DumpsAppendTheDevicesOwnText) {
  std::string mmu, descriptors, cache;
  Mmu.DisplayMMU(mmu);
  Mmu.DisplayMmuDescriptors(descriptors);
  Mmu.DisplayMmuASTC(cache);
  const std::pair<const char*, std::string> cases[] = {
      {"RWIN", Rwin.DisplayRWIN()},
      {"DRIVES", Rwin.DisplayDrives()},
      {"MMU", mmu},
      {"MMUD", descriptors},
      {"MMUDESCRIPTORS", descriptors},
      {"MMUC", cache},
      {"MMUCACHE", cache},
      {"ASTC", cache},
      {"SN2661", Uart2661.Display2661()},
      {"MC2661", Uart2661.Display2661()},
      {"CLOCK", Rtc.DisplayClock()},
      {"CMOS", Rtc.DisplayCMOS()},
      {"CRTC", Crtc.GetSetup()},
      {"M400C0", "Card 0 Configuration\r\n\r\n" + MVME400C0.GetSetup()},
      {"M400C1", "Card 1 Configuration\r\n\r\n" + MVME400C1.GetSetup()},
      {"M410", "Port 1 Configuration\r\n\r\n" + MVME410PIA1.GetSetup() + "\r\nPort 2 Configuration\r\n\r\n" +
                   MVME410PIA2.GetSetup()},
      {"DR", RegistersText() + "\r\n"},
  };
  for (const auto& [word, text] : cases) {
    EXPECT_FALSE(text.empty()) << word;
    EXPECT_EQ(Execute(word), "\r\n" + text) << word;
  }
  View.WindowCaptions = [] { return std::vector<std::string>{"Korvan", "Debugger - Stopped "}; };
  EXPECT_EQ(Execute("FORMS"), "\r\nKorvan\r\nDebugger - Stopped \r\n");
}

TEST_F(DeviceCommandsTest, HelpEqualsItsReviewedText) {
  std::ifstream file(std::string(KORVA_SOURCE_DIR) + "/tests/data/debugger/help.txt", std::ios::binary);
  ASSERT_TRUE(file) << "tests/data/debugger/help.txt";
  std::stringstream expected;
  expected << file.rdbuf();
  const std::string help = Execute("HELP");
  EXPECT_EQ(help, "\r\n" + expected.str());
  size_t lines = 0;
  for (size_t at = help.find("\r\n", 2); at != std::string::npos; at = help.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, 73u);
  for (const char* word : {"H", "HE", "?", "help"}) EXPECT_EQ(Execute(word), help) << word;
}

TEST_F(DeviceCommandsTest, VersionSelectsTheVdosVersion) {
  for (int v : {44, 45, 43}) {
    Execute("VERSION " + std::to_string(v));
    EXPECT_EQ(VersionNumber, v);
    EXPECT_EQ(VdosVersion, 1027 + v - 43);
  }
}

struct PorWatch final : MainFormHooks {
  VBool por = False;
  void PorGui(VBool enable) override { por = enable; }
};

TEST_F(DeviceCommandsTest, ResetsWaitForTheEndOfAWord) {
  PorWatch window;
  SetMainForm(&window);
  McrActive = true;  // typed in a pump inside a bus cycle
  Execute("POR");
  EXPECT_FALSE(window.por);
  McrActive = false;
  ApplyControlLatch();
  EXPECT_TRUE(window.por);
  EXPECT_TRUE(PowerOnResetDone);
  EXPECT_TRUE(RefreshRegsRequest);
  EXPECT_TRUE(CpuRunning && CountedRun);  // the reset sequence runs, then stops
  EXPECT_EQ(mcPC, +McReset);
  CpuRunning = False;
  mcPC = McIdle;
  McrActive = true;
  Execute("RST");
  EXPECT_FALSE(CpuRunning);
  McrActive = false;
  ApplyControlLatch();
  EXPECT_TRUE(CpuRunning && CountedRun);
  EXPECT_EQ(mcPC, +McReset);
  SetMainForm(nullptr);
  PowerOnResetDone = False;
}

}  // namespace
}  // namespace korva
