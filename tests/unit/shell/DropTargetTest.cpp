// Drops of host files on the main window's drop area, headless: the window only
// hands over the local paths (the limit and folders are tested with real drop
// events in the window test).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "disk/Dropzone.h"
#include "shell/DropTarget.h"
#include "support/ScriptedHost.h"
#include "unit/bus/LoaderFiles.h"

namespace korva {
namespace {

class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dropzone.Init();
    DropFormat = 0;
    DropFormatName = "Generic";
  }
  void TearDown() override { Dropzone.Init(); }
  std::string File(const std::string& name, uintmax_t size = 1) {
    const std::string path = dir_.Write(name, std::string("x"));
    std::filesystem::resize_file(path, size);
    return path;
  }
  std::vector<HostCall> Boxes() const { return host_.CallsOf(HostCall::Kind::MessageBox); }

  ScriptedHost host_;
  test::TempFolder dir_;
};

TEST_F(DropTargetTest, CpmFormatNamesFilesAndSkipsTooLargeOnesSilently) {
  DropFormat = 4;
  DropFormatName = "CPM 68k";
  DropFiles({File("big.dat", 9 * 1024 * 1024), File("readme.txt")});
  EXPECT_EQ(DropCount, 1);
  EXPECT_EQ(DropList[1].GuestName, "README  .TXT");
  EXPECT_EQ(host_.Calls.size(), 2u);  // only the busy pointer
}

TEST_F(DropTargetTest, ListAndDropsWhileTheGuestHasAFileSelected) {
  ShowDropList();
  EXPECT_EQ(Boxes().back().Text, "Dropzone Generic is Empty");
  const std::string a = File("a.bin", 4);
  DropFiles({a});
  host_.AnswerMessage(MsgAnswer::OK);
  ShowDropList();
  EXPECT_EQ(Boxes().back().Text, a + " (4) = a.bin\r\n");
  EXPECT_EQ(DropCount, 1);
  // While the guest has a file selected, drops are refused and the list stays.
  Dropzone.RegDZ(1, True, 1);
  ASSERT_TRUE(Dropzone.InUse());
  DropFiles({File("other")});
  EXPECT_EQ(Boxes().back().Text, "Drop Zone is in USE");
  EXPECT_EQ(DropList[1].GuestName, "a.bin");
  ShowDropList();
  EXPECT_EQ(Boxes().back().Title, "DropZone Generic is in USE");
  EXPECT_EQ(DropCount, 1);
}

}  // namespace
}  // namespace korva
