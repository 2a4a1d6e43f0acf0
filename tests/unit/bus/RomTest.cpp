// The boot ROM and the font at start-up, the ROM overlay and its swaps, the
// front-panel window and the graphics layouts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstring>
#include <filesystem>
#include "board/SCM.h"
#include "bus/Loaders.h"
#include "bus/Rom.h"
#include "support/ScriptedHost.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

class BracketForm final : public MainFormHooks {
 public:
  int Takes = 0, Overs = 0;
  std::vector<VBool> FrontPanel;
  void TakesAwhile(VBool stop) override { Takes += stop == True; }
  void DelayOver(VBool restore) override { Overs += restore == True; }
  void ShowFrontPanel(VBool plugged) override { FrontPanel.push_back(plugged); }
};

class RomTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  BracketForm form;
  TempFolder dir;
  std::string romPath, fontPath;

  void SetUp() override {
    SetMainForm(&form);
    ResetPlugFlags();
    ClearRomImage();
    // A ROM with its reset vectors and a word at 0100; the font's bytes reach
    // the character generator only at odd addresses.
    romPath = dir.Write("ROM.S19", Srec(1, 0, {0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x10, 0x00}) + "\r\n" +
                                       Srec(1, 0x100, {0x4E, 0x71}) + "\r\n" + Srec(9, 0) + "\r\n");
    fontPath = dir.Write("CHARRAM.S19", Srec(3, 0xF14000, {0xAA, 0x55, 0xBB, 0x66}) + "\r\n");
    UseFiles(romPath, fontPath);
  }
  void TearDown() override {
    SetMainForm(nullptr);
    ClearRomImage();
  }
  void UseFiles(const std::string& rom, const std::string& font) {
    host.PresetSetting("General", "RomFilename", rom);
    host.PresetSetting("General", "FontFilename", font);
  }
  void StartUp() {
    BuildMemoryMap();
    form.Takes = form.Overs = 0;
    form.FrontPanel.clear();
  }
  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }
  static uint8_t Code(uint32_t a) { return CellOf(a).Device; }
  // Both 64 KB windows the ROM moves between, cell by cell.
  static std::vector<MemoryCell> Windows() {
    std::vector<MemoryCell> v(&CellOf(0), &CellOf(0) + RomWords);
    v.insert(v.end(), &CellOf(0xF00000), &CellOf(0xF00000) + RomWords);
    return v;
  }
  static bool Same(const std::vector<MemoryCell>& a, const std::vector<MemoryCell>& b) {
    return std::memcmp(a.data(), b.data(), a.size() * sizeof(MemoryCell)) == 0;
  }
};

TEST_F(RomTest, StartUpOverlaysTheRomAtZeroAndLoadsTheFont) {
  StartUp();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(RomAtZero, True);
  EXPECT_EQ(ReadMemory(0x000002, False), 0x8000);
  EXPECT_EQ(ReadMemory(0x000102, False), 0xFFFF);  // where the file put nothing
  EXPECT_EQ(Code(0x00FFFE), DcRom);
  EXPECT_EQ(ReadMemory(0xF00000, False), 0);
  EXPECT_EQ(Code(0xF0FFFE), DcRam);
  EXPECT_EQ(Scm.CharGenRam(1), 0x66);
  EXPECT_EQ(FontFilename, fontPath);
}

TEST_F(RomTest, MissingFilesAreReportedAndLeaveAnErasedRom) {
  const auto rom = dir.Path("none.s19"), font = dir.Path("nofont.s19");
  UseFiles(rom, font);
  StartUp();
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].Title, "NO ROM");
  EXPECT_EQ(boxes[0].Text, rom + "\r\n\r\n ROM S-rec file does NOT exist!");
  EXPECT_EQ(boxes[1].Title, "NO Font");
  EXPECT_EQ(boxes[1].Text, font + "\r\n\r\n Character Font S-rec file does NOT exist!");
  for (uint32_t a : {0x0u, 0xFFFEu}) EXPECT_EQ(ReadMemory(a, False), 0xFFFF);

  // Empty settings name the program folder.
  UseFiles("", "");
  LoadRomFile();
  EXPECT_TRUE(RomFilename.size() > 14 && RomFilename.ends_with("/ROMS/ROM.S19")) << RomFilename;
  EXPECT_TRUE(DefaultFontFilename().ends_with("/FONTS/CHARRAM.S19"));
}

// An empty file is no image: its load fails as a broken file's does, instead of
// starting the machine on an empty ROM.
TEST_F(RomTest, EmptyFilesAreFailedLoads) {
  const auto rom = dir.Write("empty.s19", ""), font = dir.Write("emptyfont.s19", "");
  UseFiles(rom, font);
  StartUp();
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].Text, " Error number 5\r\n\r\n The file holds no S-record\r\n\r\n File = " + rom +
                               "\r\n\r\n Last  Record Address = 0x0");
  EXPECT_EQ(boxes[1].Title, "Error Loading ROM");
  EXPECT_EQ(boxes[2].Title, " Error during S- Record Load");
  EXPECT_EQ(boxes[3].Title, "Error Loading Font");
  EXPECT_EQ(ReadMemory(0x0, False), 0xFFFF);
}

// A FIFO as the ROM and a link to a device as the font: start-up neither hangs
// nor reads without end; each load is refused in the loader's box with the
// reason, then in the start-up's own, and the ROM stays erased.
TEST_F(RomTest, FifoAndDeviceFilesAreRefusedAtStartUp) {
  const auto rom = dir.Path("fifo.s19"), font = dir.Path("zero.s19");
  ASSERT_EQ(::mkfifo(rom.c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", font);
  UseFiles(rom, font);
  StartUp();
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0].Text, " Error number 75\r\n\r\n it is not a regular file\r\n\r\n File = " + rom +
                               "\r\n\r\n Last  Record Address = 0x0");
  EXPECT_EQ(boxes[1].Text, rom + "\r\n\r\nFailed to load ROM S-rec file!");
  EXPECT_EQ(boxes[2].Text.rfind(" Error number 75\r\n\r\n it is not a regular file\r\n\r\n File = " + font, 0), 0u);
  EXPECT_EQ(boxes[3].Title, "Error Loading Font");
  for (uint32_t a : {0x0u, 0xFFFEu}) EXPECT_EQ(ReadMemory(a, False), 0xFFFF);
}

TEST_F(RomTest, AFailedRomLoadKeepsTheImageLoadedBefore) {
  LoadRomFile();
  const RomWordArray good = RomImage;
  EXPECT_EQ(good[0x80], 0x4E71);

  const auto broken = dir.Write("broken.s19", Srec(1, 0x200, {1, 2}) + "\r\n\r\n");
  const auto brokenFont = dir.Write("brokenfont.s19", "garbage\n");
  UseFiles(broken, brokenFont);
  LoadRomFile();
  LoadFontFile();
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[1].Title, "Error Loading ROM");
  EXPECT_EQ(boxes[1].Text, broken + "\r\n\r\nFailed to load ROM S-rec file!");
  EXPECT_EQ(boxes[3].Title, "Error Loading Font");
  EXPECT_EQ(boxes[3].Text, brokenFont + "\r\n\r\nFailed to load Character Font S-rec file!");
  EXPECT_TRUE(RomImage == good);

  // A file that loads replaces the whole image: words it does not name are blank.
  EXPECT_EQ(LoadIntoRomImage([&] { return LoadSrecFile(fontPath, True, False); }), True);
  EXPECT_EQ(RomImage[0x80], 0xFFFF);
  EXPECT_EQ(RomImage[0x2000], 0xAA55);  // F14000 modulo 64 KB
}

TEST_F(RomTest, SwapsKeepTheCoveredRamAndRepeatSwapsChangeNothing) {
  StartUp();
  CellOf(0x000010).Tag = 7;
  CellOf(0xF00010).Tag = 9;
  WriteMemory(0xF00010, False, 0xBEEF, False);  // RAM hidden under the ROM, seen high
  SwapRomToHigh();
  EXPECT_EQ(RomAtZero, False);
  EXPECT_EQ(ReadMemory(0x000010, False), 0xBEEF);
  EXPECT_EQ(ReadMemory(0xF00002, False), 0x8000);
  EXPECT_EQ(Code(0xF0FFFE), DcRom);
  EXPECT_EQ(form.Takes, 1);
  EXPECT_EQ(form.Overs, 1);

  auto before = Windows();
  SwapRomToHigh();
  EXPECT_TRUE(Same(before, Windows()));
  EXPECT_EQ(form.Takes, 1);

  WriteMemory(0x000010, False, 0xCAFE, False);
  SwapRomToZero();
  EXPECT_EQ(ReadMemory(0xF00010, False), 0xCAFE);
  EXPECT_EQ(ReadMemory(0x000002, False), 0x8000);
  before = Windows();
  SwapRomToZero();  // must not save the ROM copy over the RAM kept high
  EXPECT_TRUE(Same(before, Windows()));
  EXPECT_EQ(CellOf(0x000010).Tag, 7);
  EXPECT_EQ(CellOf(0xF00010).Tag, 9);
}

TEST_F(RomTest, FrontPanelWindowAndReloadFollowTheRom) {
  StartUp();
  FrontPanelPlugged = False;
  PlugFrontPanel(False);
  EXPECT_EQ(Code(0x000A04), DcRom);  // the overlay wins
  SwapRomToHigh();
  EXPECT_EQ(Code(0x000A04), DcRam);
  PlugFrontPanel(True);
  EXPECT_EQ(Code(0x000A00), DcFrontPanel);
  EXPECT_EQ(Code(0x000A04), DcFrontPanel);
  EXPECT_EQ(Code(0x000A06), DcRam);
  EXPECT_EQ(form.FrontPanel, (std::vector<VBool>{False, False, True}));

  // ReloadRom refreshes only where the ROM is mapped.
  WriteMemory(0xF00020, False, 0x1111, True);  // a forced write changes the copy only
  EXPECT_EQ(RomImage[0x10], 0xFFFF);
  WriteMemory(0x000020, False, 0x2222, False);
  RomImage[0x10] = 0x3333;
  ReloadRom();
  EXPECT_EQ(ReadMemory(0xF00020, False), 0x3333);
  EXPECT_EQ(ReadMemory(0x000020, False), 0x2222);
}

struct Span {
  uint32_t Lo, Hi;
  uint8_t Code;
};

// Every word of the plane area and of the pixel window against its layout.
void ExpectLayout(const std::vector<Span>& spans) {
  for (uint32_t a = 0x030000; a < 0xF00000; a += 2) {
    if (a == 0x060000) a = 0xE00000;
    uint8_t want = a < 0x060000 ? DcRam : DcPixelRamOff;
    for (const auto& s : spans)
      if (a >= s.Lo && a <= s.Hi) want = s.Code;
    if (CellOf(a).Device != want) {
      ADD_FAILURE() << std::hex << "word " << a << " code " << int(CellOf(a).Device) << " expected " << int(want);
      return;
    }
  }
}

TEST_F(RomTest, GraphicsLayoutsRecodeExactlyTheirRanges) {
  StartUp();
  MapGraphicsPlanes1();
  ExpectLayout({{0x030000, 0x03EA5F, 50}, {0x040000, 0x04EA5F, 51}, {0x050000, 0x05EA5F, 52},
                {0xE00000, 0xEEA5FF, DcPixelRam}});
  EXPECT_EQ(GreenPlaneBase, 0x18000u);

  MapGraphicsPlanes2();
  ExpectLayout({{0x030000, 0x03752F, 50}, {0x040000, 0x04752F, 51}, {0x050000, 0x05752F, 52},
                {0xE00000, 0xE752FF, DcPixelRam}});
  WriteMemory(0x030010, False, 0x1234, True);

  MapGraphicsPlanes3();
  ExpectLayout({{0x048000, 0x04F52F, 54}, {0x050000, 0x05752F, 55}, {0x058000, 0x05F52F, 56},
                {0xE00000, 0xE752FF, DcPixelRam}});
  EXPECT_EQ(RedPlaneBase, 0x2C000u);
  EXPECT_EQ(ReadMemory(0x030010, False), 0x1234);  // old plane data left as plain RAM

  MapGraphicsOff();
  ExpectLayout({});
  EXPECT_EQ(GreenPlaneBase | BluePlaneBase | RedPlaneBase, 0u);
  EXPECT_EQ(Code(0xF00000), DcRam);  // neighbours untouched
  EXPECT_EQ(form.Takes, 4);
  EXPECT_EQ(form.Overs, 4);
}

}  // namespace
}  // namespace korva::test
