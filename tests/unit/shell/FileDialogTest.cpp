#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScriptedHost.h"
#include "shell/FileDialog.h"

namespace korva {
namespace {

using Kind = HostCall::Kind;

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { PathsRecord = {}; }
  const FileDialogRequest& Last() const { return host_.FileDialogs.back(); }
  ScriptedHost host_;
};

// The kinds' filters and titles are a table; here how a kind is picked and what
// a choice leaves behind.
TEST_F(FileDialogTest, KindsPickTheirEntryAndTheChoiceIsRecorded) {
  host_.AnswerFile("/images/hd.img", true);
  OpenSaveDialog("", "OPEN", "DRV02", 0, "Default");
  EXPECT_EQ(Last().Title, "Open Drive-2 File");
  EXPECT_EQ(Last().DefaultExtension, "img");
  EXPECT_EQ(host_.StoredSetting("Paths", "DRIVE02"), "/images/");
  EXPECT_EQ(CommonDialog1.FileTitle, "hd.img");
  EXPECT_EQ(DialogReadOnly(), True);

  // DRV04 is no drive: a code of its own, like xyz.
  host_.AnswerFile("/x/a.DRV04");
  OpenSaveDialog("", "Open", "DRV04", 0, "Default");
  EXPECT_EQ(Last().Filter, "File (*.DRV04)|*.DRV04|All Files (*.*)|*.*");
  EXPECT_EQ(host_.StoredSetting("Paths", "ELSE"), "/x/");
  EXPECT_EQ(DialogReadOnly(), False);

  host_.AnswerFile("/out/p.prn");
  OpenSaveDialog("p.prn", "SAVE", "PRN", 0, "Printer Output");
  EXPECT_EQ(Last().Title, "Save Printer Output File");
  EXPECT_TRUE(Last().Save);
}

TEST_F(FileDialogTest, DirectoriesAreRememberedPerKindAndAcrossKinds) {
  const std::string cwd = std::filesystem::current_path().string() + "/";
  host_.AnswerFile("/images/disk1.img");
  OpenSaveDialog("", "OPEN", "IMG", 0, "Default");
  EXPECT_EQ(Last().InitialDirectory, cwd);  // the first call starts in the current directory
  EXPECT_EQ(host_.StoredSetting("Paths", "IMG"), "/images/");
  host_.AnswerFile("/roms/r.s19");
  OpenSaveDialog("", "OPEN", "ROMFILES", 0, "Default");
  EXPECT_EQ(Last().InitialDirectory, "/images/");  // no directory of its own: where the last one ended
  host_.AnswerFile("/images/disk2.img");
  OpenSaveDialog("", "OPEN", "img", 0, "Default");
  EXPECT_EQ(Last().InitialDirectory, "/images/");
  OpenSaveDialog("", "OPEN", "DRV03", 0, "Default");  // unscripted: cancelled
  EXPECT_EQ(Last().InitialDirectory, "/images/");     // an empty drive entry takes the start directory

  // The store is the authority: a directory written there is used at the next call.
  host_.PresetSetting("Paths", "Rom", "/elsewhere/");
  host_.CancelFile();
  EXPECT_EQ(OpenSaveDialog("", "OPEN", "ROMFILES", 0, "Default"), "");
  EXPECT_EQ(Last().InitialDirectory, "/elsewhere/");
  EXPECT_EQ(CommonDialog1.CancelError, false);
  EXPECT_TRUE(host_.CallsOf(Kind::MessageBox).empty());
  EXPECT_EQ(host_.StoredSetting("Paths", "Rom"), "/elsewhere/");  // a cancel remembers nothing
}

TEST_F(FileDialogTest, FailureIsReportedAndOtherOpsShowNoDialog) {
  host_.FailFile(20477, "CommonDialog", "Invalid file name");
  EXPECT_EQ(OpenSaveDialog("", "OPEN", "BIN", 0, "Default"), "");
  const auto boxes = host_.CallsOf(Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Error");
  EXPECT_EQ(boxes[0].Text, "CommonDialog generated  Error # 20477\r\nInvalid file name");
  EXPECT_EQ(host_.StoredSetting("Paths", "BIN"), std::nullopt);

  const size_t dialogs = host_.FileDialogs.size();
  host_.AnswerFile("/data/g.bin", true);
  OpenSaveDialog("", "OPEN", "BIN", 0, "Default");
  // Another op shows no dialog, takes the name as chosen and leaves no read-only tick.
  EXPECT_EQ(OpenSaveDialog("/data/f.bin", "print", "BIN", 0, "Default"), "/data/f.bin");
  EXPECT_EQ(DialogReadOnly(), False);
  EXPECT_EQ(host_.FileDialogs.size(), dialogs + 1);
  EXPECT_EQ(host_.StoredSetting("Paths", "BIN"), "/data/");
  EXPECT_EQ(PathsRecord.StartDirectory, "/data/");
}

}  // namespace
}  // namespace korva
