#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/KeyboardDisplay.h"
#include "board/KeyboardForm.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/SystemReset.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "host/ScriptedHost.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/BootDrive.h"
#include "shell/FixedTables.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"

namespace korva {
namespace {

using Kind = HostCall::Kind;

struct Recorder {
  int ScreenShown = 0, KeyboardShown = 0;
  std::vector<std::pair<int16_t, int32_t>> Consoles;
};
Recorder* rec = nullptr;

class RecordingDisplay : public KeyboardDisplayHooks {
 public:
  void KeyboardDisplayShow(int16_t mode) override {
    EXPECT_EQ(mode, 0);
    ++rec->ScreenShown;
  }
};

class SettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rec = &rec_;
    SetKeyboardDisplayForm(&display_);
    KeyboardFormHook.ShowFormKeyboard = [](int16_t) { ++rec->KeyboardShown; };
    ConsoleWindowHook.OpenConsole = [](int16_t port, int32_t kind) { rec->Consoles.push_back({port, kind}); };
    // Values no default has, so that the load must set every one of them.
    VdosVersion = 1;
    DropFormat = 1;
    KBPutJumpers = False;
    ReservedPlugged = True;
    Mem800to9FF = False;
    MVME400C1.IRQB(2);
    MVME400C1.BaudA(1);
    MVME410PIA2.IRQB(3);
    Rwin.CmdIRQ(1);
    RwinCmdPending = True;
    SetWhitePhosphor();
    RwinSectorsPerTrack.fill(0);
    TextCursorPos = 5;
    ScreenMode = 2;
  }
  void TearDown() override {
    SetKeyboardDisplayForm(nullptr);
    KeyboardFormHook = {};
    ConsoleWindowHook = {};
    rec = nullptr;
    host_.ClearSettings();
    InitializeSettings();  // leave the defaults for the next test
  }
  std::vector<std::pair<std::string, std::string>> Saved() const {
    std::vector<std::pair<std::string, std::string>> out;
    for (const HostCall& c : host_.CallsOf(Kind::SaveSetting)) out.push_back({c.Title, c.Text});
    return out;
  }

  ScriptedHost host_;
  Recorder rec_;
  RecordingDisplay display_;
};

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryDefault) {
  InitializeSettings();
  EXPECT_EQ(VdosVersion, 1027);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_TRUE(RomFilename.ends_with("/ROMS/ROM.S19")) << RomFilename;
  EXPECT_TRUE(FontFilename.ends_with("/FONTS/CHARRAM.S19")) << FontFilename;
  const ThrottleBar bars[] = {ThrottleBar::vscThrottle, ThrottleBar::vscSN2661, ThrottleBar::vscMVME400,
                              ThrottleBar::vscRWIN, ThrottleBar::vscDisplay};
  const int16_t positions[] = {10, 12, 9, 7, 0};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MainForm->ThrottleBarPosition(bars[i]), positions[i]) << i;
  EXPECT_EQ(KBPutJumpers, True);
  EXPECT_EQ(ReservedPlugged, False);
  EXPECT_EQ(Mem800to9FF, True);
  EXPECT_EQ(UloadDloadPlugged, True);
  for (classMVME400* card : {&MVME400C0, &MVME400C1}) {
    EXPECT_EQ(card->N7201Int(), 4);
    EXPECT_EQ(card->IRQA(), 4);
    EXPECT_EQ(card->IRQB(), 4);
    EXPECT_EQ(card->BaudA(), 6);
    EXPECT_EQ(card->BaudB(), 6);
  }
  for (classMC6821* pia : {&MVME410PIA1, &MVME410PIA2}) {
    EXPECT_EQ(pia->IRQA(), 1);
    EXPECT_EQ(pia->IRQB(), 1);
  }
  EXPECT_EQ(Rwin.DataIRQ(), 3);
  EXPECT_EQ(Rwin.CmdIRQ(), 3);
  EXPECT_EQ(AlternateBootSP, 1280);
  EXPECT_EQ(AlternateBootPC, 1024);
  EXPECT_EQ(GetPutBootLoadAddress, 1024);
  EXPECT_EQ(GetPutBootBlocks, 32);
  EXPECT_EQ(UseCpmFileStartAddress, True);
  EXPECT_EQ(SrIOchEN, True);
  EXPECT_EQ(RwinSectorsPerTrack[RwinSptIndex(0, 0, 0)], 26);
  EXPECT_EQ(RwinSectorsPerTrack[RwinSptIndex(1, 2, 1)], 8);
  EXPECT_EQ(RwinSectorsPerTrack[RwinSptIndex(4, 3, 1)], 8);
  EXPECT_EQ(RwinDiskType[2], 1);
  EXPECT_EQ(RwinJ16, (std::array<VBool, 8>{False, True, False, True, True, True, True, True}));
  EXPECT_EQ(RwinCmdPending, False);
  EXPECT_EQ(TextCursorPos, 65535);
  EXPECT_EQ(ScreenMode, 1);
  EXPECT_EQ(PhosphorPalette[3], 0x008000u);  // green
  EXPECT_EQ(MaxCRTs, 4);
  // Nothing opens and nothing is written.
  EXPECT_EQ(rec_.ScreenShown + rec_.KeyboardShown, 0);
  EXPECT_TRUE(rec_.Consoles.empty());
  EXPECT_TRUE(host_.CallsOf(Kind::SaveSetting).empty());
}

TEST_F(SettingsStoreTest, StartupTables) {
  InitColorTable2();
  InitColorTable();
  InitBitTable();
  InitMaskTable();
  InitDisplayThrottleTable();
  EXPECT_EQ(MaskTable[10], 1023);
  EXPECT_EQ(MaskTable[32], -1);
  EXPECT_EQ(BitTable[31], 0x80000000u);
  EXPECT_EQ(DisplayThrottleTable[6], 80);
  EXPECT_EQ(DisplayThrottleTable[15], 4096);
  EXPECT_EQ(GraphicsPalette[5], 0x00FFFFu);  // red + green = yellow
  EXPECT_EQ(GraphicsPalette[2], 0xFF0000u);  // blue
  SetWhitePhosphor();
  EXPECT_EQ(PhosphorPalette[1], 0x505050u);
  SetGreenPhosphor();
  EXPECT_EQ(PhosphorPalette[3], 0x008000u);
  EXPECT_EQ(PhosphorPalette[7], 0x00FF00u);
}

TEST_F(SettingsStoreTest, SaveWritesExactlyTheExitKeys) {
  InitializeSettings();
  MainForm->SetThrottleBar(ThrottleBar::vscThrottle, 3);
  MovePhysEn = True;
  host_.ClearCalls();
  SaveSettings();

  std::vector<std::pair<std::string, std::string>> expected;
  for (const char* k : {"VdosVersion", "RomFilename", "FontFilename", "DropFormat", "BootSrecFileName0",
                        "BootSrecFileName1", "UseSrecStartAddress", "BootDrive", "BootType", "BugType", "ScreenOpened",
                        "KeyboardOpened"})
    expected.push_back({"General", k});
  for (int p = 0; p < 16; ++p) expected.push_back({"Devices", "ConsoleType" + std::to_string(p)});
  for (const char* k : {"NewKeyBoard", "KBPutJumpers", "MVME400C0Plugged", "MVME400C1Plugged", "MVME410C0Plugged",
                        "ReservedPlugged", "Mem180to1BF", "Mem1C0to1FF", "Mem200to3FF", "Mem400to5FF", "Mem600to7FF",
                        "Mem800to9FF", "MemA00toBFF", "MemC00toDFF", "MemF1EtoFFF", "FrontPanelPlugged",
                        "SimpleDCPlugged", "CPMDCPlugged", "LSNDCPlugged", "DropzonePlugged", "UloadDloadPlugged"})
    expected.push_back({"Devices", k});
  for (const char* k : {"Man", "WhitePhosphor", "AlternateIVS"}) expected.push_back({"SCM", k});
  for (const char* k : {"Throttle400", "ThrottleRWIN", "Throttle2661", "ThrottleCPU"}) expected.push_back({"General", k});
  expected.push_back({"Devices", "ThrottleDisplay"});
  expected.push_back({"General", "MovePhysEn"});
  EXPECT_EQ(Saved(), expected);

  EXPECT_EQ(host_.StoredSetting("Devices", "ReservedPlugged"), "False");
  EXPECT_EQ(host_.StoredSetting("Devices", "KBPutJumpers"), "True");
  EXPECT_EQ(host_.StoredSetting("General", "MovePhysEn"), "True");
  EXPECT_EQ(host_.StoredSetting("General", "ThrottleCPU"), "3");
  EXPECT_EQ(host_.StoredSetting("General", "VdosVersion"), "1027");
  MovePhysEn = False;
}

TEST_F(SettingsStoreTest, HandEditedKeysAreHonouredAndNeverRewritten) {
  host_.PresetSetting("RWIN", "SPT1MFM512", "12");
  host_.PresetSetting("General", "DropFormat", "9");
  host_.PresetSetting("General", "ScreenOpened", "True");
  host_.PresetSetting("General", "KeyboardOpened", "true");
  host_.PresetSetting("General", "BootD3", "-5");
  host_.PresetSetting("General", "BootA7", "2147483647");
  host_.PresetSetting("General", "UseCpmFileStartAddress", "False");
  host_.PresetSetting("Devices", "ConsoleType3", "2");
  host_.PresetSetting("Devices", "ConsoleType4", "3");   // COM: nothing opens
  host_.PresetSetting("Devices", "ConsoleType15", "6");
  host_.PresetSetting("SCM", "WhitePhosphor", "True");
  host_.PresetSetting("IOC", "M400C1BaudB", "14");      // a byte; the card keeps the low three bits
  InitializeSettings();
  EXPECT_EQ(RwinSectorsPerTrack[13], 12);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_EQ(BootDataRegs[3], -5);
  EXPECT_EQ(BootAddressRegs[7], 2147483647);
  EXPECT_EQ(UseCpmFileStartAddress, False);
  EXPECT_EQ(rec_.ScreenShown, 1);
  EXPECT_EQ(rec_.KeyboardShown, 1);
  EXPECT_EQ(rec_.Consoles, (std::vector<std::pair<int16_t, int32_t>>{{3, ConsoleCRT}, {15, ConsoleNET}}));
  EXPECT_EQ(PhosphorPalette[7], 0xFFFFFFu);
  EXPECT_EQ(MVME400C1.BaudB(), 6);

  host_.ClearCalls();
  SaveSettings();
  EXPECT_EQ(host_.StoredSetting("General", "DropFormat"), "4");
  EXPECT_EQ(host_.StoredSetting("RWIN", "SPT1MFM512"), "12");
  for (const auto& [section, key] : Saved()) {
    EXPECT_NE(section, "RWIN") << key;
    EXPECT_FALSE(key.starts_with("BootD") && key != "BootDrive") << key;
    EXPECT_FALSE(key.starts_with("BootA")) << key;
    EXPECT_NE(key, "UseCpmFileStartAddress");
  }
}

TEST_F(SettingsStoreTest, GarbageAndOutOfRangeValuesGiveTheDefaults) {
  const std::pair<const char*, const char*> bad[] = {
      {"ThrottleCPU", "40"}, {"Throttle400", "-1"}, {"BootDrive", "7"}, {"BootType", "x"},
      {"DropFormat", "4.5"}, {"BugType", "2"},      {"VdosVersion", "32768"},
  };
  for (const auto& [key, value] : bad) host_.PresetSetting("General", key, value);
  host_.PresetSetting("General", "RomFilename", std::string(5000, 'r'));  // longer than any host path
  host_.PresetSetting("General", "FontFilename", std::string(10000, '9'));
  host_.PresetSetting("General", "UseSrecStartAddress", "yes");
  host_.PresetSetting("Devices", "ConsoleType0", "7");
  host_.PresetSetting("Devices", "MainListenPort", "65536");
  host_.PresetSetting("Devices", "ThrottleDisplay", std::string(10000, '1'));
  host_.PresetSetting("Devices", "Mem800to9FF", "\x01\xFF");
  host_.PresetSetting("IOC", "RWINCMDInt", "9");
  host_.PresetSetting("IOC", "M400C0N7201Int", "0");
  host_.PresetSetting("IOC", "M400C0BaudA", "256");
  host_.PresetSetting("RWIN", "RwinDiskType2", "5");
  host_.PresetSetting("RWIN", "SPT0FM128", "-3");
  host_.PresetSetting("GetPutBoot", "Blocks", "99999999999");
  InitializeSettings();
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscThrottle), 10);
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscMVME400), 9);
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscDisplay), 0);
  EXPECT_EQ(BootDrive, 0);
  EXPECT_EQ(BootType, 0);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_EQ(BugType, 0);
  EXPECT_EQ(VdosVersion, 1027);
  EXPECT_EQ(RomFilename, DefaultRomFilename());
  EXPECT_EQ(FontFilename, DefaultFontFilename());
  EXPECT_EQ(UseSrecStartAddress, False);
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(MainListenPort, 23);
  EXPECT_EQ(Mem800to9FF, True);
  EXPECT_EQ(Rwin.CmdIRQ(), 3);
  EXPECT_EQ(MVME400C0.N7201Int(), 4);
  EXPECT_EQ(MVME400C0.BaudA(), 6);
  EXPECT_EQ(RwinDiskType[2], 1);
  EXPECT_EQ(RwinSectorsPerTrack[0], 26);
  EXPECT_EQ(GetPutBootBlocks, 32);
  EXPECT_EQ(host_.CallsOf(Kind::MessageBox).size(), 0u);
}

TEST_F(SettingsStoreTest, RangesOfComposedKeys) {
  EXPECT_EQ(RangeOfSetting("BootDrive").Hi, 3);  // not taken for a "BootD" register key
  EXPECT_EQ(RangeOfSetting("BootD7").Lo, INT32_MIN);
  EXPECT_EQ(RangeOfSetting("ConsoleType15").Hi, 6);
  EXPECT_EQ(RangeOfSetting("SPT4MFM1024").Hi, 255);
  EXPECT_GT(RangeOfSetting("ConsoleType").Lo, RangeOfSetting("ConsoleType").Hi);  // no number: not a key
  EXPECT_GT(RangeOfSetting("RomFilename").Lo, RangeOfSetting("RomFilename").Hi);
}

TEST_F(SettingsStoreTest, ProfilesChooseSeparateStores) {
  const std::pair<const char*, const char*> cases[] = {
      {"lab-2 x", "KorvanLAB2"}, {"c:\\vme\\a.cfg", "Korvan"}, {"__", "Korvan"}, {"/home/a", "Korvan"}, {"", "Korvan"}};
  for (const auto& [line, app] : cases) {
    ChooseProfile(line);
    EXPECT_EQ(host_.ApplicationName(), app) << line;
  }
  ChooseProfile("lab-2");
  InitializeSettings();
  BootType = 5;
  SaveSettings();
  ChooseProfile("");
  InitializeSettings();
  EXPECT_EQ(BootType, 0);
  ChooseProfile("LAB2");
  InitializeSettings();
  EXPECT_EQ(BootType, 5);
  ChooseProfile("");
}

}  // namespace
}  // namespace korva
