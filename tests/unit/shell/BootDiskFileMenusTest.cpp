// The File, Boot and Disks menus headless: what they show when they open and
// what their items do, with real files and the scripted file dialog.

#include "bus/Memory.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "disk/Boot.h"
#include "disk/DiskSettings.h"
#include "disk/Dropzone.h"
#include "shell/BootDiskFileMenus.h"
#include "shell/BootDrive.h"
#include "shell/FileDialog.h"
#include "shell/PathHelpers.h"
#include "shell/PlugFlags.h"
#include "shell/ShellSettings.h"
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

class BootDiskFileMenusTest : public DiskTest {
 protected:
  void SetUp() override {
    DiskTest::SetUp();
    SetHost(&host);  // the test machine installed its own silent host
    BootType = kMotorolaDiskBoot;
    BootDrive = 0;
    BootHalted = false;
    PowerOnResetDone = True;
    CommonDialog1 = {};
    ClearRomImage();
    RomAtZero = False;  // the ROM high, whatever an earlier test left
  }
  void TearDown() override {
    CloseDloadFile();
    CloseUloadFile();
    ClearRomImage();
    DiskTest::TearDown();
  }
  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }

  TestMachine m;
};

TEST_F(BootDiskFileMenusTest, BootItemsFollowTheRunStateAndTheGlobals) {
  PowerOnResetDone = False;
  BootMenuView v = mnuBoot_Click();
  EXPECT_FALSE(v.BootEnabled[0] || v.BootEnabled[1] || v.StopEnabled || v.GoAfterBhEnabled);
  mnuBo_Click(kBootAndRun);  // a late click is ignored too: no "Empty Drive" box
  EXPECT_TRUE(Boxes().empty());
  PowerOnResetDone = True;
  BootHalted = true;
  SetCpuRunning(True);
  v = mnuBoot_Click();
  EXPECT_TRUE(v.StopEnabled && !v.BootEnabled[0] && !v.BootEnabled[1] && !v.GoAfterBhEnabled);
  mnuBo_Click(kBootAndRun);  // a click while running is ignored: no "Empty Drive" box
  EXPECT_TRUE(Boxes().empty());
  SetCpuRunning(False);
  v = mnuBoot_Click();
  EXPECT_TRUE(!v.StopEnabled && v.BootEnabled[0] && v.BootEnabled[1] && v.GoAfterBhEnabled);

  mnuBootDrive_Click(2);
  mnuBootType_Click(7);  // no such type
  EXPECT_EQ(mnuBoot_Click().DriveTicked, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_TRUE(mnuBoot_Click().TypeTicked[0]);
  mnuBootType_Click(kComplexBoot);  // does nothing at all
  host.ClearCalls();
  mnuBo_Click(kBootAndRun);
  mnuBo_Click(kBootAndHalt);
  EXPECT_TRUE(host.Calls.empty());
  EXPECT_FALSE(CpuRunning);
}

TEST_F(BootDiskFileMenusTest, DefaultsRecordPathsAndLoadNothing) {
  RomFilename = "/opt/roms/ROM.S19";
  EXPECT_EQ(mnuBoot_Click().RomFileCaption, "ROM File = ROM.S19 ...");
  BootSrecFileName = {"", "/x/boot1.s19"};
  host.AnswerFile(dir.Write("NEW.S19", Srec(1, 0, {1, 2}) + "\n"));
  mnuDefaultRomFile_Click();
  host.CancelFile();
  mnuDefaultBootFile_Click(1);
  EXPECT_EQ(FileNameOf(RomFilename), "NEW.S19");
  EXPECT_EQ(BootSrecFileName[1], "/x/boot1.s19");
  EXPECT_EQ(RomImage[0], 0xFFFF);  // not loaded now
}

TEST_F(BootDiskFileMenusTest, LoadsChooseTheLoaderByExtensionAndABadRomChoiceKeepsTheRom) {
  EXPECT_EQ(LoadFileKindOf("B.Mx"), LoadFileKind::Srec);
  EXPECT_EQ(LoadFileKindOf("x.lo"), LoadFileKind::LoadModule);
  EXPECT_EQ(LoadFileKindOf("dir.68k/file"), LoadFileKind::None);
  // Chosen during a control-store word, the load waits for the word's end.
  host.AnswerFile(dir.Write("prog.s19", Srec(1, 0x2000, {0xAB, 0xCD}) + "\n"));
  McrActive = true;
  mnuLoadMemory_Click();
  McrActive = false;
  EXPECT_EQ(m.ReadWord(0x2000), 0);
  ApplyControlLatch();
  host.AnswerFile(dir.Write("prog.hex", Srec(1, 0x3000, {0x11}) + "\n"));
  mnuLoadMemory_Click();
  EXPECT_EQ(m.ReadWord(0x2000), 0xABCD);
  EXPECT_EQ(m.ReadByte(0x3000), 0);

  host.AnswerFile(dir.Write("good.sr", Srec(1, 0, {0x12, 0x34}) + "\n"));
  mnuLoadRom_Click();
  EXPECT_EQ(CellOf(0xF00000).Data, 0x1234);  // copied to where the ROM is mapped
  host.ClearCalls();
  host.AnswerFile(dir.Write("notes.txt", "hello"));
  mnuLoadRom_Click();
  host.AnswerFile(dir.Write("broken.S19", Srec(1, 0, {0x55, 0x66}) + "\nS1zz\n"));
  mnuLoadRom_Click();
  EXPECT_EQ(RomImage[0], 0x1234);
  EXPECT_EQ(RomImage[1], 0xFFFF);
  EXPECT_EQ(CellOf(0xF00000).Data, 0x1234);
  const auto boxes = Boxes();  // the kind, the loader's reason, the kept ROM
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_NE(boxes[0].Text.find("notes.txt"), std::string::npos);
  EXPECT_NE(boxes[2].Text.find("previous ROM is kept"), std::string::npos);
}

TEST_F(BootDiskFileMenusTest, DownloadAndUploadFiles) {
  host.AnswerFile(dir.Write("in.bin", "12345"));
  mnuDLOAD_Click();
  EXPECT_EQ(DloadFileLength, 5);
  UloadDloadPlugged = False;  // an open file can still be closed
  EXPECT_TRUE(mnuFile_Click().DloadEnabled && !mnuFile_Click().UloadEnabled);
  UloadDloadPlugged = True;
  EXPECT_TRUE(mnuDLOAD_Click());
  EXPECT_EQ(mnuFile_Click().DloadCaption, "Open DLOAD");

  // An existing upload file starts empty and ends with exactly what the guest wrote.
  const std::string up = dir.Write("up.bin", "old bytes, many of them");
  host.AnswerFile(up);
  mnuUload_Click();
  for (char c : std::string("new")) Dropzone.RegUD(13, True, static_cast<uint8_t>(c));
  EXPECT_TRUE(mnuUload_Click());
  EXPECT_EQ(ReadText(up), "new");
  host.AnswerFile(up, true);  // the read-only tick refuses the file
  mnuUload_Click();
  EXPECT_FALSE(UloadFileOpen);
  EXPECT_EQ(Boxes().at(0).Title, "Error Opening OUTput file");
  EXPECT_EQ(ReadText(up), "new");
}

// Mounting through the menu is in the boot end-to-end test, the caption in the
// menu bar's window test; here the read-only tick of the file dialog.
TEST_F(BootDiskFileMenusTest, TheReadOnlyTickMountsReadOnly) {
  const std::string path = dir.Write("disk1.imd", StandardImd(2, 1, 16, 16, 1));
  host.AnswerFile(path, true);
  mnuDisk_Click(3);
  EXPECT_EQ(mnuDisks_Click()[3], "Close FD03 - disk1.imd");
  EXPECT_TRUE(DriveTable[3].ReadOnly);
  mnuDisk_Click(3);
  EXPECT_EQ(mnuDisks_Click()[3], "Open FD03");
}

}  // namespace
}  // namespace korva::test
