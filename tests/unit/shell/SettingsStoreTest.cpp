#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/KeyboardDisplay.h"
#include "board/ScreenCompositor.h"
#include "board/KeyboardForm.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/SystemReset.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "support/ScriptedHost.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/BootDrive.h"
#include "tables/FixedTables.h"
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
    // Values no default has, so that the load must set them.
    DropFormat = 1;
    ReservedPlugged = True;
    MVME400C1.BaudA(1);
    MVME410PIA2.IRQB(3);
    Rwin.CmdIRQ(1);
    RwinCmdPending = True;
    SetWhitePhosphor();
    TextCursorPos = 5;
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

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryDefaultAndTheTablesHoldTheirValues) {
  InitializeSettings();
  EXPECT_EQ(VdosVersion, 1027);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_TRUE(RomFilename.ends_with("/ROMS/ROM.S19")) << RomFilename;
  const int16_t positions[] = {10, 12, 9, 7, 0};  // in ThrottleBar order
  for (int i = 0; i < 5; ++i) EXPECT_EQ(MainForm->ThrottleBarPosition(static_cast<ThrottleBar>(i)), positions[i]) << i;
  EXPECT_EQ(KBPutJumpers, True);
  EXPECT_EQ(ReservedPlugged, False);
  EXPECT_EQ(UloadDloadPlugged, True);
  for (classMVME400* card : {&MVME400C0, &MVME400C1})
    EXPECT_EQ(std::vector<int>({card->N7201Int(), card->IRQA(), card->IRQB(), card->BaudA(), card->BaudB()}),
              std::vector<int>({4, 4, 4, 6, 6}));
  for (classMC6821* pia : {&MVME410PIA1, &MVME410PIA2}) EXPECT_EQ(pia->IRQA() + 10 * pia->IRQB(), 11);
  EXPECT_EQ(Rwin.DataIRQ() + 10 * Rwin.CmdIRQ(), 33);
  EXPECT_EQ(AlternateBootSP, 1280);
  EXPECT_EQ(AlternateBootPC, 1024);
  EXPECT_EQ(GetPutBootLoadAddress, 1024);
  EXPECT_EQ(GetPutBootBlocks, 32);
  EXPECT_EQ(RwinCmdPending, False);
  EXPECT_EQ(rec_.ScreenShown + rec_.KeyboardShown + static_cast<int>(rec_.Consoles.size()), 0);  // nothing opens
  EXPECT_TRUE(host_.CallsOf(Kind::SaveSetting).empty());

  EXPECT_EQ(PhosphorPalette[3], 0x008000u);  // green
  EXPECT_EQ(MaskTable[10], 1023);
  EXPECT_EQ(DisplayThrottleTable[6], 80);
  EXPECT_EQ(GraphicsPalette[5], 0x00FFFFu);  // red + green = yellow
}

TEST_F(SettingsStoreTest, SaveWritesExactlyTheExitKeys) {
  InitializeSettings();
  MainForm->SetThrottleBar(ThrottleBar::vscThrottle, 3);
  MovePhysEn = True;
  host_.ClearCalls();
  SaveSettings();

  std::vector<std::pair<std::string, std::string>> expected;
  for (const char* k :
       {"VdosVersion", "RomFilename", "FontFilename", "DropFormat", "BootSrecFileName0", "BootSrecFileName1",
        "UseSrecStartAddress", "BootDrive", "BootType", "BugType", "ScreenOpened", "KeyboardOpened"})
    expected.push_back({"General", k});
  for (int p = 0; p < 16; ++p) expected.push_back({"Devices", "ConsoleType" + std::to_string(p)});
  for (const char* k :
       {"NewKeyBoard",       "KBPutJumpers",    "MVME400C0Plugged", "MVME400C1Plugged", "MVME410C0Plugged",
        "ReservedPlugged",   "Mem180to1BF",     "Mem1C0to1FF",      "Mem200to3FF",      "Mem400to5FF",
        "Mem600to7FF",       "Mem800to9FF",     "MemA00toBFF",      "MemC00toDFF",      "MemF1EtoFFF",
        "FrontPanelPlugged", "SimpleDCPlugged", "CPMDCPlugged",     "LSNDCPlugged",     "DropzonePlugged",
        "UloadDloadPlugged"})
    expected.push_back({"Devices", k});
  for (const char* k : {"Man", "WhitePhosphor", "AlternateIVS"}) expected.push_back({"SCM", k});
  for (const char* k : {"Throttle400", "ThrottleRWIN", "Throttle2661", "ThrottleCPU"})
    expected.push_back({"General", k});
  expected.push_back({"Devices", "ThrottleDisplay"});
  expected.push_back({"General", "MovePhysEn"});
  EXPECT_EQ(Saved(), expected);

  EXPECT_EQ(host_.StoredSetting("Devices", "ReservedPlugged"), "False");
  EXPECT_EQ(host_.StoredSetting("Devices", "KBPutJumpers"), "True");
  EXPECT_EQ(host_.StoredSetting("General", "MovePhysEn"), "True");
  EXPECT_EQ(host_.StoredSetting("General", "ThrottleCPU"), "3");
  MovePhysEn = False;
}

TEST_F(SettingsStoreTest, HandEditedKeysAreHonouredAndNeverRewritten) {
  host_.PresetSetting("RWIN", "SPT1MFM512", "12");
  host_.PresetSetting("General", "DropFormat", "9");
  host_.PresetSetting("General", "ScreenOpened", "True");
  host_.PresetSetting("General", "KeyboardOpened", "true");
  host_.PresetSetting("General", "BootD3", "-5");
  host_.PresetSetting("Devices", "ConsoleType3", "2");
  host_.PresetSetting("Devices", "ConsoleType4", "3");  // COM: nothing opens
  host_.PresetSetting("Devices", "ConsoleType15", "6");
  host_.PresetSetting("SCM", "WhitePhosphor", "True");
  InitializeSettings();
  EXPECT_EQ(RwinSectorsPerTrack[13], 12);
  EXPECT_EQ(DropFormat, 4);
  EXPECT_EQ(BootDataRegs[3], -5);
  EXPECT_EQ(rec_.ScreenShown, 1);
  EXPECT_EQ(rec_.KeyboardShown, 1);
  EXPECT_EQ(rec_.Consoles, (std::vector<std::pair<int16_t, int32_t>>{{3, ConsoleCRT}, {15, ConsoleNET}}));
  EXPECT_EQ(PhosphorPalette[7], 0xFFFFFFu);

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
  const char* const bad[][3] = {
      {"General", "ThrottleCPU", "40"},
      {"General", "BootDrive", "7"},
      {"General", "BootType", "x"},
      {"General", "DropFormat", "4.5"},
      {"General", "VdosVersion", "32768"},
      {"Devices", "Mem800to9FF", "\x01"},
      {"IOC", "RWINCMDInt", "9"},
      {"IOC", "M400C0BaudA", "256"},
      {"GetPutBoot", "Blocks", "99999999999"},
  };
  for (const auto& b : bad) host_.PresetSetting(b[0], b[1], b[2]);
  host_.PresetSetting("General", "RomFilename", std::string(5000, 'r'));  // longer than any host path
  host_.PresetSetting("Devices", "ThrottleDisplay", std::string(10000, '1'));
  InitializeSettings();
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscThrottle), 10);
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscDisplay), 0);
  EXPECT_EQ(std::vector<int>({BootDrive, BootType, DropFormat, VdosVersion, Mem800to9FF}),
            std::vector<int>({0, 0, 4, 1027, True}));
  EXPECT_EQ(std::vector<int>({Rwin.CmdIRQ(), MVME400C0.BaudA(), GetPutBootBlocks}), std::vector<int>({3, 6, 32}));
  EXPECT_EQ(RomFilename, DefaultRomFilename());
  // The ROM loader reads the same key: its "NO ROM" box names the default, not the stored text.
  LoadRomFile();
  const auto boxes = host_.CallsOf(Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "NO ROM");
  EXPECT_LT(boxes[0].Text.size(), 5000u);
}

TEST_F(SettingsStoreTest, ProfileNamesFromTheFirstWord) {
  const std::pair<const char*, const char*> cases[] = {
      {"lab-2 x", "KorvanLAB2"}, {"c:\\vme\\a.cfg", "Korvan"}, {"__", "Korvan"}, {"/home/a", "Korvan"}, {"", "Korvan"}};
  for (const auto& [line, app] : cases) {
    ChooseProfile(line);
    EXPECT_EQ(host_.ApplicationName(), app) << line;
  }
}

}  // namespace
}  // namespace korva
