// Drops of host files on the main window's drop area, headless: the window only
// hands over the local paths.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "disk/Dropzone.h"
#include "support/ScriptedHost.h"
#include "shell/DropTarget.h"

namespace korva {
namespace {

namespace fs = std::filesystem;

class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("korva-drop-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    Dropzone.Init();
    DropFormat = 0;
    DropFormatName = "Generic";
  }
  void TearDown() override {
    Dropzone.Init();
    fs::remove_all(dir_);
  }
  std::string File(const std::string& name, uintmax_t size = 1) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << 'x';
    fs::resize_file(p, size);
    return p.string();
  }
  std::vector<HostCall> Boxes() const { return host_.CallsOf(HostCall::Kind::MessageBox); }

  ScriptedHost host_;
  fs::path dir_;
};

TEST_F(DropTargetTest, AtMost255FilesAreTakenWithOneMessage) {
  std::vector<std::string> paths;
  for (int i = 0; i < 300; ++i) paths.push_back(File("f" + std::to_string(i)));
  DropFiles(paths);
  EXPECT_EQ(DropCount, 255);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "Dropped Files Exceeds Maximum Allowed - 255");
  EXPECT_EQ(Boxes()[0].Title, "Can NOT process any more files");
  EXPECT_EQ(DropList[255].GuestName, "f254");
  EXPECT_EQ(host_.BusyDepth, 0);
}

TEST_F(DropTargetTest, FoldersAreReportedAndASecondDropReplacesTheList) {
  fs::create_directories(dir_ / "sub");
  DropFiles({File("a.txt"), (dir_ / "sub").string(), File("b.txt", 3)});
  EXPECT_EQ(DropCount, 2);
  EXPECT_EQ(DropList[2].Size, 3);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Title, "Can NOT process directories");
  EXPECT_NE(Boxes()[0].Text.find("Please select files only"), std::string::npos);

  DropFiles({File("c.txt")});
  EXPECT_EQ(DropCount, 1);
  EXPECT_EQ(DropList[1].GuestName, "c.txt");
  DropFiles({});  // a drag without files
  EXPECT_EQ(DropCount, 1);
}

TEST_F(DropTargetTest, CpmFormatNamesFilesAndSkipsTooLargeOnesSilently) {
  DropFormat = 4;
  DropFormatName = "CPM 68k";
  DropFiles({File("big.dat", 9 * 1024 * 1024), File("readme.txt")});
  EXPECT_EQ(DropCount, 1);
  EXPECT_EQ(DropList[1].GuestName, "README  .TXT");
  EXPECT_EQ(host_.Calls.size(), 2u);  // only the busy pointer
}

TEST_F(DropTargetTest, DoubleClickShowsEmptiesOrRefuses) {
  DropFormat = 4;
  ShowDropList();
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "Dropzone CPM 68K is Empty");

  DropFormat = 0;
  const std::string a = File("a.bin", 4);
  DropFiles({a});
  host_.AnswerMessage(MsgAnswer::OK);
  ShowDropList();
  EXPECT_EQ(Boxes().back().Text, a + " (4) = a.bin\r\n");
  EXPECT_EQ(Boxes().back().Title, "Dropzone Generic - CANCEL to EMPTY");
  EXPECT_EQ(DropCount, 1);
  host_.AnswerMessage(MsgAnswer::Cancel);
  ShowDropList();
  EXPECT_EQ(DropCount, 0);

  // While the guest has a file selected, drops are refused and the list stays.
  DropFiles({a});
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
