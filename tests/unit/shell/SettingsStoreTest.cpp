#include <gtest/gtest.h>

#include <sstream>
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
#include "support/FakeConsoles.h"
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
  test::FakeConsoleFactories consoles_;
  Recorder rec_;
  RecordingDisplay display_;
};

// An empty store gives the defaults (the values set in SetUp are replaced) and
// opens no window; what a save writes is exactly the exit keys, in order.
TEST_F(SettingsStoreTest, EmptyStoreGivesTheDefaultsAndSaveWritesExactlyTheExitKeys) {
  InitializeSettings();
  EXPECT_EQ(DropFormat, 4);
  EXPECT_TRUE(RomFilename.ends_with("/ROMS/ROM.S19")) << RomFilename;
  EXPECT_EQ(std::vector<int>({ReservedPlugged, MVME400C1.BaudA(), MVME410PIA2.IRQB(), Rwin.CmdIRQ(), RwinCmdPending}),
            std::vector<int>({False, 6, 1, 3, False}));
  EXPECT_EQ(rec_.ScreenShown + rec_.KeyboardShown + consoles_.made, 0);
  EXPECT_TRUE(host_.CallsOf(Kind::SaveSetting).empty());

  MainForm->SetThrottleBar(ThrottleBar::vscThrottle, 3);
  SaveSettings();
  EXPECT_EQ(host_.SettingsWrites, 1);  // the file is written once, when all keys are in
  std::vector<std::pair<std::string, std::string>> expected;
  const auto add = [&expected](const char* section, const char* keys) {
    std::istringstream in(keys);
    for (std::string k; in >> k;) expected.push_back({section, k});
  };
  add("General",
      "VdosVersion RomFilename FontFilename DropFormat BootSrecFileName0 BootSrecFileName1 UseSrecStartAddress "
      "BootDrive BootType BugType ScreenOpened KeyboardOpened");
  for (int p = 0; p < 16; ++p) expected.push_back({"Devices", "ConsoleType" + std::to_string(p)});
  add("Devices",
      "NewKeyBoard KBPutJumpers MVME400C0Plugged MVME400C1Plugged MVME410C0Plugged ReservedPlugged Mem180to1BF "
      "Mem1C0to1FF Mem200to3FF Mem400to5FF Mem600to7FF Mem800to9FF MemA00toBFF MemC00toDFF MemF1EtoFFF "
      "FrontPanelPlugged SimpleDCPlugged CPMDCPlugged LSNDCPlugged DropzonePlugged UloadDloadPlugged");
  add("SCM", "Man WhitePhosphor AlternateIVS");
  add("General", "Throttle400 ThrottleRWIN Throttle2661 ThrottleCPU");
  add("Devices", "ThrottleDisplay");
  add("General", "MovePhysEn");
  EXPECT_EQ(Saved(), expected);
  EXPECT_EQ(host_.StoredSetting("Devices", "KBPutJumpers"), "True");
  EXPECT_EQ(host_.StoredSetting("General", "ThrottleCPU"), "3");
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
  EXPECT_EQ(consoles_.log, "crt3.open(3,0) net15.open(15,0) ");
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

// The load opens the windows of the kinds it reads; opening again reuses them.
TEST_F(SettingsStoreTest, LoadedConsoleKindsOpenTheirWindowsOnce) {
  host_.PresetSetting("Devices", "ConsoleType1", "2");
  host_.PresetSetting("Devices", "ConsoleType8", "4");
  InitializeSettings();
  EXPECT_EQ(consoles_.log, "crt1.open(1,0) lpt8.open(8,0) lpt8.online(0) ");
  ASSERT_EQ(consoles_.made, 2);
  EXPECT_EQ(CRTForms[1], consoles_.crt[1]);
  EXPECT_EQ(PrinterForms[8], consoles_.lpt[8]);
  EXPECT_EQ(consoles_.lpt[8]->PortNumber(), 8);
  EXPECT_EQ(consoles_.lpt[8]->IsOnLine(), False);

  consoles_.log.clear();
  OpenConsoles();
  EXPECT_EQ(consoles_.made, 2);
  EXPECT_EQ(consoles_.log, "crt1.open(1,0) lpt8.open(8,0) lpt8.online(0) ");
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
