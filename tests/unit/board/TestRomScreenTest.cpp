// The screen part of our test ROM, run as the boot ROM after a power-on reset:
// the picture it leaves must match the stored one pixel for pixel.
//
// tests/data/testrom_screen.hash holds the picture's hash, testrom_screen.png
// beside it the picture itself. After an intended change of the picture, run
// the test with KORVA_UPDATE_IMAGES=1 to store both anew; on a mismatch the
// picture seen is written to the build folder for comparison.
#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include "board/FrontPanel.h"
#include "board/MC6845.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/SystemReset.h"
#include "support/ScriptedHost.h"
#include "shell/PlugFlags.h"
#include "support/PngImage.h"
#include "support/TestMachine.h"

namespace korva::test {
namespace {

const std::string kDataDir = std::string(KORVA_SOURCE_DIR) + "/tests/data/";

class TestRomScreen : public ::testing::Test {
 protected:
  TestMachine m;      // first: it installs no host
  ScriptedHost host;  // then the host that answers the start-up's file messages

  void TearDown() override {
    Exceptions.Reset();
    IMaskFlag = False;
  }

  // Boot the ROM image built from tests/guest/<name>.s as the machine does at
  // power-on: memory map with the ROM at 0, device reset, reset vectors.
  Stop Boot(const std::string& name) {
    host.PresetSetting("General", "RomFilename", std::string(KORVA_GUEST_DIR) + "/" + name + ".s19");
    host.PresetSetting("General", "FontFilename", std::string(KORVA_GUEST_DIR) + "/no-font-here.s19");
    InitScmState();
    InitScreenState();
    Crtc = classMC6845();
    FrontPanel = classFrontPanel();
    ResetPlugFlags();
    BuildMemoryMap();
    ResetDevices(True);
    EXPECT_EQ(m.ResetCpu(), Stop::Fetch);
    return m.RunUntilStop(5000000);
  }
};

TEST_F(TestRomScreen, PictureMatchesTheStoredOne) {
  ASSERT_EQ(Boot("testrom_screen"), Stop::StopInstr) << "PC " << std::hex << CpuPC;
  ASSERT_EQ(CpuDReg[7], 0x600DC0DEu) << std::hex << "stopped by an exception: " << CpuDReg[7];
  EXPECT_EQ(ScreenMergeMode, 3);
  EXPECT_EQ(ScreenMode, 2);

  const std::string hash = ImageHash(ScreenImage, ScreenWidth, ScreenHeight);
  if (std::getenv("KORVA_UPDATE_IMAGES")) {
    ASSERT_TRUE(WritePng(kDataDir + "testrom_screen.png", ScreenImage, ScreenWidth, ScreenHeight));
    std::ofstream(kDataDir + "testrom_screen.hash") << hash << "\n";
  }
  std::string stored;
  std::ifstream(kDataDir + "testrom_screen.hash") >> stored;
  if (hash != stored) {
    const std::string seen = std::string(KORVA_GUEST_DIR) + "/testrom_screen.seen.png";
    WritePng(seen, ScreenImage, ScreenWidth, ScreenHeight);
    ADD_FAILURE() << "the picture differs from tests/data/testrom_screen.png; seen: " << seen;
  }
}

}  // namespace
}  // namespace korva::test
