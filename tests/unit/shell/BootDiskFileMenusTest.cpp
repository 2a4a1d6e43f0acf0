// The File, Boot and Disks menus headless: what they show when they open and
// what their items do, with real files and the scripted file dialog.
#include <gtest/gtest.h>

#include "board/SCM.h"
#include "board/ScreenCompositor.h"
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
#include "shell/ShellSettings.h"
#include "unit/disk/DiskFiles.h"
#include "unit/support/TestMachine.h"

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
  }
  void TearDown() override {
    CloseDloadFile();
    CloseUloadFile();
    ClearRomImage();
    DiskTest::TearDown();
  }
  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }
  std::string Text(const std::string& path) {
    const auto b = ReadAll(path);
    return {b.begin(), b.end()};
  }

  TestMachine m;
};

TEST_F(BootDiskFileMenusTest, BootMenuEnablesBootsOnlyWhenStoppedAfterAPowerOnReset) {
  PowerOnResetDone = False;
  BootMenuView v = mnuBoot_Click();
  EXPECT_FALSE(v.BootEnabled[0] || v.BootEnabled[1] || v.StopEnabled || v.GoAfterBhEnabled);
  mnuBo_Click(kBootAndRun);  // a late click is ignored as well: no "Empty Drive" box
  EXPECT_TRUE(Boxes().empty());

  PowerOnResetDone = True;
  BootHalted = true;
  SetCpuRunning(True);
  v = mnuBoot_Click();
  EXPECT_TRUE(v.StopEnabled);
  EXPECT_FALSE(v.BootEnabled[0] || v.BootEnabled[1] || v.GoAfterBhEnabled);
  SetCpuRunning(False);
  v = mnuBoot_Click();
  EXPECT_TRUE(v.BootEnabled[0] && v.BootEnabled[1] && v.GoAfterBhEnabled);
  EXPECT_FALSE(v.StopEnabled);

  // Ticks follow the globals; out-of-range items are ignored.
  mnuBootDrive_Click(2);
  mnuBootType_Click(5);
  mnuBootType_Click(7);
  v = mnuBoot_Click();
  EXPECT_EQ(v.DriveTicked, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_EQ(v.TypeTicked, (std::array<bool, 7>{false, false, false, false, false, true, false}));

  // The complex boot does nothing at all.
  BootType = kComplexBoot;
  host.ClearCalls();
  mnuBo_Click(kBootAndRun);
  mnuBo_Click(kBootAndHalt);
  EXPECT_TRUE(host.Calls.empty());
  EXPECT_FALSE(CpuRunning);
}

TEST_F(BootDiskFileMenusTest, DefaultsRecordPathsAndLoadNothing) {
  RomFilename = "/opt/roms/ROM.S19";
  FontFilename = "";
  BootSrecFileName = {"", "/x/boot1.s19"};
  BootMenuView v = mnuBoot_Click();
  EXPECT_EQ(v.RomFileCaption, "ROM File = ROM.S19 ...");
  EXPECT_EQ(v.FontFileCaption, "FONT File ...");
  EXPECT_EQ(v.BootFileCaption[0], "BOOT File 0 ...");
  EXPECT_EQ(v.BootFileCaption[1], "BOOT File 1 = boot1.s19 ...");

  const std::string rom = dir.Write("NEW.S19", Srec(1, 0, {1, 2}) + "\n");
  host.AnswerFile(rom);
  mnuDefaultRomFile_Click();
  host.CancelFile();
  mnuDefaultBootFile_Click(1);
  EXPECT_EQ(RomFilename, rom);
  EXPECT_EQ(BootSrecFileName[1], "/x/boot1.s19");
  EXPECT_EQ(RomImage[0], 0xFFFF);  // not loaded now
  ASSERT_EQ(host.FileDialogs.size(), 2u);
  EXPECT_EQ(host.FileDialogs[1].FileName, "");
}

TEST_F(BootDiskFileMenusTest, LoadMemoryChoosesTheLoaderByExtensionInAnyCase) {
  EXPECT_EQ(LoadFileKindOf("/a/b.s19"), LoadFileKind::Srec);
  EXPECT_EQ(LoadFileKindOf("B.Mx"), LoadFileKind::Srec);
  EXPECT_EQ(LoadFileKindOf("x.lo"), LoadFileKind::LoadModule);
  EXPECT_EQ(LoadFileKindOf("x.68k"), LoadFileKind::CpmCommand);
  EXPECT_EQ(LoadFileKindOf("x.sys.hex"), LoadFileKind::None);
  EXPECT_EQ(LoadFileKindOf("dir.s19/file"), LoadFileKind::None);

  host.AnswerFile(dir.Write("prog.s19", Srec(1, 0x2000, {0xAB, 0xCD}) + "\n" + Srec(9, 0) + "\n"));
  mnuLoadMemory_Click();
  EXPECT_EQ(m.ReadWord(0x2000), 0xABCD);

  host.ClearCalls();
  host.AnswerFile(dir.Write("prog.hex", Srec(1, 0x3000, {0x11}) + "\n"));
  mnuLoadMemory_Click();
  EXPECT_EQ(m.ReadByte(0x3000), 0);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(BootDiskFileMenusTest, LoadRomKeepsThePreviousRomWhenTheChoiceIsBad) {
  host.AnswerFile(dir.Write("good.sr", Srec(1, 0, {0x12, 0x34}) + "\n" + Srec(9, 0) + "\n"));
  mnuLoadRom_Click();
  ASSERT_EQ(RomImage[0], 0x1234);
  EXPECT_EQ(CellOf(0xF00000).Data, 0x1234);  // copied to where the ROM is mapped

  host.ClearCalls();
  host.AnswerFile(dir.Write("notes.txt", "hello"));
  mnuLoadRom_Click();
  host.AnswerFile(dir.Write("broken.S19", Srec(1, 0, {0x55, 0x66}) + "\nS1zz\n"));
  mnuLoadRom_Click();
  EXPECT_EQ(RomImage[0], 0x1234);
  EXPECT_EQ(RomImage[1], 0xFFFF);
  EXPECT_EQ(CellOf(0xF00000).Data, 0x1234);
  const auto boxes = Boxes();
  ASSERT_GE(boxes.size(), 3u);  // the kind, the loader's reason, the kept ROM
  EXPECT_EQ(boxes.front().Title, "Load Rom");
  EXPECT_NE(boxes.front().Text.find("notes.txt"), std::string::npos);
  EXPECT_EQ(boxes.back().Title, "Load Rom");
  EXPECT_NE(boxes.back().Text.find("previous ROM is kept"), std::string::npos);
}

TEST_F(BootDiskFileMenusTest, DownloadAndUploadFiles) {
  EXPECT_EQ(mnuFile_Click().DloadCaption, "Open DLOAD");
  host.AnswerFile(dir.Write("in.bin", "12345"));
  mnuDLOAD_Click();
  EXPECT_EQ(mnuFile_Click().DloadCaption, "Close DLOAD - in.bin");
  EXPECT_EQ(DloadFileLength, 5);
  EXPECT_TRUE(mnuDLOAD_Click());
  EXPECT_FALSE(DloadFileOpen);

  // An existing upload file starts empty and ends with exactly what the guest wrote.
  const std::string up = dir.Write("up.bin", "old bytes, many of them");
  host.AnswerFile(up);
  mnuUload_Click();
  EXPECT_EQ(mnuFile_Click().UloadCaption, "Close ULOAD - up.bin");
  EXPECT_EQ(Text(up), "");
  for (char c : std::string("new")) Dropzone.RegUD(13, True, static_cast<uint8_t>(c));
  EXPECT_TRUE(mnuUload_Click());
  EXPECT_EQ(Text(up), "new");
  EXPECT_EQ(mnuFile_Click().UloadCaption, "Open ULOAD");

  // A read-only tick refuses the file and leaves it alone.
  host.AnswerFile(up, true);
  mnuUload_Click();
  EXPECT_FALSE(UloadFileOpen);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "File is read only");
  EXPECT_EQ(Boxes()[0].Title, "Error Opening OUTput file");
  EXPECT_EQ(Text(up), "new");
}

TEST_F(BootDiskFileMenusTest, DisksMountWithCaptionsAndEjectWritesTheImageOut) {
  const std::string path = dir.Path("disk1.imd");
  dir.Write("disk1.imd", StandardImd(2, 1, 16, 16, 1));
  host.AnswerFile(path);
  mnuDisk_Click(0);
  host.AnswerFile(dir.Write("b.imd", StandardImd(2, 1, 16, 16, 1)), true);
  mnuDisk_Click(3);
  const auto captions = mnuDisks_Click();
  EXPECT_EQ(captions[0], "Close HD00 - disk1.imd");
  EXPECT_EQ(captions[1], "Open HD01");
  EXPECT_EQ(captions[3], "Close FD03 - b.imd");
  EXPECT_TRUE(DriveTable[3].ReadOnly);
  EXPECT_FALSE(DriveTable[0].ReadOnly);

  SectorBuffer.fill(0x5A);
  ASSERT_TRUE(WriteDiskSector(0, 20));
  mnuDisk_Click(0);
  EXPECT_FALSE(DriveTable[0].Mounted);
  EXPECT_EQ(mnuDisks_Click()[0], "Open HD00");
  const auto bytes = ReadAll(path);
  EXPECT_NE(std::search_n(bytes.begin(), bytes.end(), 256, 0x5A), bytes.end());
}

// Mount a bootable winchester through the Disks menu, boot it with "BO", and
// the loaded program's text reaches the screen's display memory.
TEST_F(BootDiskFileMenusTest, MountedImageBootsFromTheMenuAndDrawsOnTheScreen) {
  struct Answer : BootStringAsker {
    bool ShowBoot(std::string& text) override {
      text = "0.Korvan";
      return true;
    }
  } asker;
  SetBootStringDialog(&asker);
  InitScmState();
  InitScreenState();
  m.SetDeviceCode(0xF17000, 0xF18FFF, DcDisplayRam);

  std::vector<uint8_t> volume(256 * 3, 0);
  std::copy_n("MOTOROLA", 8, volume.begin() + 248);
  volume[23] = 2;     // the loader at LSN 2,
  volume[25] = 1;     // one sector long,
  volume[32] = 0x20;  // loaded at 0x2000
  ASSERT_TRUE(m.LoadSrec("boot_hello.s19"));
  for (uint32_t i = 0; i < 256; ++i) {
    volume[512 + i] = m.ReadByte(i);
    m.WriteByte(i, 0);
  }
  host.AnswerFile(WriteSparse(dir, "boot.raw", 5013504, volume));  // a raw winchester of disk type 0
  mnuDisk_Click(0);
  ASSERT_TRUE(DriveTable[0].Mounted);

  mnuBo_Click(kBootAndRun);
  SetBootStringDialog(nullptr);
  ASSERT_TRUE(CpuRunning);
  ASSERT_EQ(m.RunUntilStop(1000), Stop::StopInstr);
  std::string shown;
  for (int i = 0; i < 5; ++i) shown += static_cast<char>(ScmDisplayRam[i] & 0xFF);
  EXPECT_EQ(shown, "HELLO");
  EXPECT_EQ(ScmDisplayRam[0] >> 8, 0x47);
}

}  // namespace
}  // namespace korva::test
