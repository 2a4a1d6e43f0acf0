// The screen part of our test ROM, run as the boot ROM after a power-on reset:
// the picture it leaves must match the stored one pixel for pixel.
//
// tests/data/testrom_screen.hash holds the picture's hash, testrom_screen.png
// beside it the picture itself. After an intended change of the picture, run
// the test with KORVA_UPDATE_IMAGES=1 to store both anew; on a mismatch the
// picture seen is written to the build folder for comparison.
#include <gtest/gtest.h>
#include <fstream>
#include "support/PngImage.h"
#include "ui/board/TestRomScene.h"

namespace korva::test {
namespace {

TEST(TestRomScreen, PictureMatchesTheStoredOne) {
  const std::string dataDir = std::string(KORVA_SOURCE_DIR) + "/tests/data/";
  ScriptedHost host;
  ASSERT_EQ(ui::test::DrawTestRomScene(host), "");
  EXPECT_EQ(ScreenMergeMode, 3);
  EXPECT_EQ(ScreenMode, 2);

  const std::string hash = ImageHash(ScreenImage, ScreenWidth, ScreenHeight);
  if (std::getenv("KORVA_UPDATE_IMAGES")) {
    ASSERT_TRUE(WritePng(dataDir + "testrom_screen.png", ScreenImage, ScreenWidth, ScreenHeight));
    std::ofstream(dataDir + "testrom_screen.hash") << hash << "\n";
  }
  std::string stored;
  std::ifstream(dataDir + "testrom_screen.hash") >> stored;
  if (hash != stored) {
    const std::string seen = std::string(KORVA_GUEST_DIR) + "/testrom_screen.seen.png";
    WritePng(seen, ScreenImage, ScreenWidth, ScreenHeight);
    ADD_FAILURE() << "the picture differs from tests/data/testrom_screen.png; seen: " << seen;
  }
}

}  // namespace
}  // namespace korva::test
