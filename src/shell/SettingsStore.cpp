// Loading and saving the configuration.
//
// The load reaches windows through hooks that do nothing until the windows
// attach (stand-ins for now): MainForm's SetBugType, SelectDropFormat,
// SetAlternateIVS and throttle bars (without a window the bars' positions are
// only kept), KeyboardDisplayForm->KeyboardDisplayShow,
// KeyboardFormHook.ShowFormKeyboard, and the console openers (windows made by
// the factories of serial/Consoles.h).
#include "shell/SettingsStore.h"

#include <climits>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/KeyboardDisplay.h"
#include "board/ScreenCompositor.h"
#include "board/KeyboardForm.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/SystemReset.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/BootDrive.h"
#include "tables/FixedTables.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"
#include "shell/ShellSettings.h"

namespace korva {

namespace {

constexpr int32_t I16Lo = INT16_MIN, I16Hi = INT16_MAX;
constexpr int32_t I32Lo = INT32_MIN, I32Hi = INT32_MAX;

// Every numeric key and the values it can take. A stored text that is not a
// decimal number, or lies outside Lo..Hi, gives the key's default, so no loaded
// value ever indexes a table out of range. A key ending in "#" stands for the
// keys composed of that text and a number (or, for "SPT#", a row, density and size).
//
// The other keys: booleans (stored "True"/"False"; a number counts as nonzero =
// true; anything else gives the default): UseSrecStartAddress,
// UseCpmFileStartAddress, ScreenOpened, KeyboardOpened, MovePhysEn, NewKeyBoard,
// KBPutJumpers, the 19 plug keys, Man, WhitePhosphor, AlternateIVS, SrSW0-SrSW2,
// SrIOchEN, RwinDiskAuto2/3 and the ten J16 keys. Paths (any text up to
// MaxHostPath bytes; a longer one counts as unset): FontFilename, RomFilename,
// BootSrecFileName0/1.
struct KeyRange {
  std::string_view Key;
  int32_t Lo, Hi;
};
constexpr KeyRange kKeyRanges[] = {
    // "General"
    {"VdosVersion", I16Lo, I16Hi},
    {"BootDrive", 0, 3},   // HD00, HD01, FD02, FD03
    {"BootType", 0, 6},    // the seven boot types
    {"BugType", 0, 1},     // TENbug, VMEbug
    {"DropFormat", 0, 5},  // the six naming rules
    {"BootD#", I32Lo, I32Hi},
    {"BootA#", I32Lo, I32Hi},
    {"ThrottleCPU", 0, 15},  // throttle bar positions
    {"Throttle2661", 0, 15},
    {"Throttle400", 0, 15},
    {"ThrottleRWIN", 0, 15},
    // "Devices"
    {"BaseListenPort", 1, 65519},  // port n of the machine listens on the base + n
    {"MainListenPort", 1, 65535},
    {"ConsoleType#", ConsoleNone, ConsoleKindLast},
    {"ThrottleDisplay", 0, 15},
    // "GetPutBoot" and "AlternateBoot": the boot masks what it uses
    {"LoadAddress", I32Lo, I32Hi},
    {"Blocks", I32Lo, I32Hi},
    {"LSN", I32Lo, I32Hi},
    {"AlternateBootSP", I32Lo, I32Hi},
    {"AlternateBootPC", I32Lo, I32Hi},
    // "IOC": interrupt lines 1-4; baud-rate indexes are bytes, of which the
    // cards keep the low three bits
    {"M400C0N7201Int", 1, 4},
    {"M400C1N7201Int", 1, 4},
    {"M400C0IRQAInt", 1, 4},
    {"M400C1IRQAInt", 1, 4},
    {"M400C0IRQBInt", 1, 4},
    {"M400C1IRQBInt", 1, 4},
    {"M400C0BaudA", 0, 255},
    {"M400C1BaudA", 0, 255},
    {"M400C0BaudB", 0, 255},
    {"M400C1BaudB", 0, 255},
    {"M410P1IRQAInt", 1, 4},
    {"M410P2IRQAInt", 1, 4},
    {"M410P1IRQBInt", 1, 4},
    {"M410P2IRQBInt", 1, 4},
    {"RWINDATAInt", 1, 4},
    {"RWINCMDInt", 1, 4},
    // "RWIN"
    {"SPT#", 0, 255},         // sectors per track: sector numbers are bytes on the disk
    {"RwinDiskType#", 0, 4},  // the five disk-type rows
};

void Number(const char* section, const std::string& key, int16_t& target, int16_t defaultValue) {
  const SettingRange r = RangeOfSetting(key);
  target = static_cast<int16_t>(GetSettingLong(section, key, defaultValue, r.Lo, r.Hi));
}
void Number(const char* section, const std::string& key, int32_t& target, int32_t defaultValue) {
  const SettingRange r = RangeOfSetting(key);
  target = GetSettingLong(section, key, defaultValue, r.Lo, r.Hi);
}
uint8_t Byte(const char* section, const std::string& key, uint8_t defaultValue) {
  const SettingRange r = RangeOfSetting(key);
  return static_cast<uint8_t>(GetSettingLong(section, key, defaultValue, r.Lo, r.Hi));
}
void Flag(const char* section, const std::string& key, VBool& target, VBool defaultValue) {
  target = GetSettingBool(section, key, defaultValue);
}

struct PlugKey {
  const char* Key;
  VBool* Flag;
};
// The plug keys in load and save order.
const PlugKey kPlugKeys[] = {
    {"MVME400C0Plugged", &MVME400C0Plugged},
    {"MVME400C1Plugged", &MVME400C1Plugged},
    {"MVME410C0Plugged", &MVME410C0Plugged},
    {"ReservedPlugged", &ReservedPlugged},
    {"Mem180to1BF", &Mem180to1BF},
    {"Mem1C0to1FF", &Mem1C0to1FF},
    {"Mem200to3FF", &Mem200to3FF},
    {"Mem400to5FF", &Mem400to5FF},
    {"Mem600to7FF", &Mem600to7FF},
    {"Mem800to9FF", &Mem800to9FF},
    {"MemA00toBFF", &MemA00toBFF},
    {"MemC00toDFF", &MemC00toDFF},
    {"MemF1EtoFFF", &MemF1EtoFFF},
    {"FrontPanelPlugged", &FrontPanelPlugged},
    {"SimpleDCPlugged", &SimpleDCPlugged},
    {"CPMDCPlugged", &CPMDCPlugged},
    {"LSNDCPlugged", &LSNDCPlugged},
    {"DropzonePlugged", &DropzonePlugged},
    {"UloadDloadPlugged", &UloadDloadPlugged},
};

// The J16 jumpers of the controller, entries 0-7 of RwinJ16, with their defaults.
struct JumperKey {
  const char* Key;
  VBool Default;
};
const JumperKey kJ16Keys[8] = {
    {"J16TPI48or96", False},  {"J16Size5or8", True},       {"J16FSR0", False},       {"J16FSR1", True},
    {"J16FixOrCartW1", True}, {"J16BuffOrUnbuffW1", True}, {"J16FixOrCartW0", True}, {"J16BuffOrUnbuffW0", True},
};

const char* const kSizeNames[4] = {"128", "256", "512", "1024"};
const char* const kDensityNames[2] = {"FM", "MFM"};

std::string Composed(const char* text, int n) { return text + std::to_string(n); }

void LoadGeneralSettings() {
  Number("General", "VdosVersion", VdosVersion, 1027);
  FontFilename = GetSettingPath("General", "FontFilename", DefaultFontFilename());
  RomFilename = GetSettingPath("General", "RomFilename", DefaultRomFilename());
  Number("General", "BootDrive", BootDrive, 0);
  Number("General", "BootType", BootType, 0);
  Number("General", "BugType", BugType, 0);
  MainForm->SetBugType(BugType);
  Number("General", "DropFormat", DropFormat, 4);
  MainForm->SelectDropFormat(DropFormat);
  for (int n = 0; n < 2; ++n)
    BootSrecFileName[static_cast<size_t>(n)] = GetSettingPath("General", Composed("BootSrecFileName", n), "");
  Flag("General", "UseSrecStartAddress", UseSrecStartAddress, False);
  Flag("General", "UseCpmFileStartAddress", UseCpmFileStartAddress, True);
  for (int r = 0; r < 8; ++r) {
    Number("General", Composed("BootD", r), BootDataRegs[static_cast<size_t>(r)], 0);
    Number("General", Composed("BootA", r), BootAddressRegs[static_cast<size_t>(r)], 0);
  }
  Flag("General", "ScreenOpened", ScreenOpened, False);
  if (ScreenOpened) KeyboardDisplayForm->KeyboardDisplayShow(0);
  Flag("General", "KeyboardOpened", KeyboardOpened, False);
  if (KeyboardOpened && KeyboardFormHook.ShowFormKeyboard) KeyboardFormHook.ShowFormKeyboard(0);

  Number("Devices", "BaseListenPort", BaseListenPort, 30000);
  Number("Devices", "MainListenPort", MainListenPort, 23);
  for (int p = 0; p < DevicePorts; ++p)
    Number("Devices", Composed("ConsoleType", p), ConsoleType[static_cast<size_t>(p)], ConsoleNone);
  OpenConsoles();
  MaxCRTs = 4;
  Flag("Devices", "NewKeyBoard", NewKeyBoard, False);
  Flag("Devices", "KBPutJumpers", KBPutJumpers, True);
  for (const PlugKey& k : kPlugKeys) Flag("Devices", k.Key, *k.Flag, k.Flag == &ReservedPlugged ? False : True);

  Flag("SCM", "Man", ScmMan, False);
  Flag("SCM", "WhitePhosphor", WhitePhosphor, False);
  if (WhitePhosphor)
    SetWhitePhosphor();
  else
    SetGreenPhosphor();
  Flag("SCM", "AlternateIVS", AlternateIVS, False);
  MainForm->SetAlternateIVS(AlternateIVS, False);
}

void LoadScmSwitchSettings() {
  Flag("SCM", "SrSW0", SrSW0, False);
  Flag("SCM", "SrSW1", SrSW1, False);
  Flag("SCM", "SrSW2", SrSW2, False);
  Flag("SCM", "SrIOchEN", SrIOchEN, True);
}

void LoadGetPutBootSettings() {
  Number("GetPutBoot", "LoadAddress", GetPutBootLoadAddress, 1024);
  Number("GetPutBoot", "Blocks", GetPutBootBlocks, 32);
  Number("GetPutBoot", "LSN", GetPutBootLSN, 0);
}

void LoadAlternateBootSettings() {
  Number("AlternateBoot", "AlternateBootSP", AlternateBootSP, 1280);
  Number("AlternateBoot", "AlternateBootPC", AlternateBootPC, 1024);
}

void LoadSerialCard(classMVME400& card, const char* prefix) {
  const std::string p = prefix;
  card.N7201Int(Byte("IOC", p + "N7201Int", 4));
  card.IRQA(Byte("IOC", p + "IRQAInt", 4));
  card.IRQB(Byte("IOC", p + "IRQBInt", 4));
  card.BaudA(Byte("IOC", p + "BaudA", 6));
  card.BaudB(Byte("IOC", p + "BaudB", 6));
}

void LoadIocSettings() {
  LoadSerialCard(MVME400C0, "M400C0");
  LoadSerialCard(MVME400C1, "M400C1");
  MVME410PIA1.IRQA(Byte("IOC", "M410P1IRQAInt", 1));
  MVME410PIA1.IRQB(Byte("IOC", "M410P1IRQBInt", 1));
  MVME410PIA2.IRQA(Byte("IOC", "M410P2IRQAInt", 1));
  MVME410PIA2.IRQB(Byte("IOC", "M410P2IRQBInt", 1));
  Rwin.DataIRQ(Byte("IOC", "RWINDATAInt", 3));
  Rwin.CmdIRQ(Byte("IOC", "RWINCMDInt", 3));
}

void LoadRwinSettings() {
  for (int row = 0; row < 5; ++row)
    for (int size = 0; size < 4; ++size)
      for (int density = 0; density < 2; ++density) {
        const size_t i = static_cast<size_t>(RwinSptIndex(row, size, density));
        const std::string key = Composed("SPT", row) + kDensityNames[density] + kSizeNames[size];
        Number("RWIN", key, RwinSectorsPerTrack[i], RwinDefaultSectorsPerTrack[i]);
      }
  for (int d = 2; d < 4; ++d) Number("RWIN", Composed("RwinDiskType", d), RwinDiskType[static_cast<size_t>(d)], 1);
  for (int d = 2; d < 4; ++d) Flag("RWIN", Composed("RwinDiskAuto", d), RwinDiskAuto[static_cast<size_t>(d)], False);
  Flag("RWIN", "J16TPI48or96A0", RwinJ16A[0], False);
  Flag("RWIN", "J16Size5or8A1", RwinJ16A[1], True);
  for (size_t j = 0; j < 8; ++j) Flag("RWIN", kJ16Keys[j].Key, RwinJ16[j], kJ16Keys[j].Default);
}

void LoadThrottle(const char* section, const char* key, ThrottleBar bar, int16_t defaultValue) {
  int16_t position = defaultValue;
  Number(section, key, position, defaultValue);
  MainForm->SetThrottleBar(bar, position);
}

void LoadThrottleSettings() {
  LoadThrottle("General", "Throttle400", ThrottleBar::vscMVME400, 9);
  LoadThrottle("General", "ThrottleRWIN", ThrottleBar::vscRWIN, 7);
  LoadThrottle("General", "Throttle2661", ThrottleBar::vscSN2661, 12);
  LoadThrottle("Devices", "ThrottleDisplay", ThrottleBar::vscDisplay, 0);
  LoadThrottle("General", "ThrottleCPU", ThrottleBar::vscThrottle, 10);
}

void SaveText(const char* section, const std::string& key, const std::string& value) {
  Host().SaveSetting(section, key, value);
}

}  // namespace

SettingRange RangeOfSetting(std::string_view key) {
  for (const KeyRange& r : kKeyRanges)
    if (r.Key == key) return {r.Lo, r.Hi};
  for (const KeyRange& r : kKeyRanges) {
    if (!r.Key.ends_with('#')) continue;
    const std::string_view stem = r.Key.substr(0, r.Key.size() - 1);
    if (key.size() > stem.size() && key.starts_with(stem)) return {r.Lo, r.Hi};
  }
  return {1, 0};
}

void InitializeSettings() {
  LoadGeneralSettings();
  LoadScmSwitchSettings();
  LoadGetPutBootSettings();
  LoadAlternateBootSettings();
  LoadIocSettings();
  LoadRwinSettings();
  RwinCmdPending = False;
  LoadThrottleSettings();
  TextCursorPos = 65535;
  ScreenMode = 1;
  HGCursorRow = 4095;
  VGCursorColumn = 4095;
}

void SaveSettings() {
  SettingsBatch batch;  // one write of the file for all the keys
  SaveSettingLong("General", "VdosVersion", VdosVersion);
  SaveText("General", "RomFilename", RomFilename);
  SaveText("General", "FontFilename", FontFilename);
  SaveSettingLong("General", "DropFormat", DropFormat);
  for (int n = 0; n < 2; ++n)
    SaveText("General", Composed("BootSrecFileName", n), BootSrecFileName[static_cast<size_t>(n)]);
  SaveSettingBool("General", "UseSrecStartAddress", UseSrecStartAddress);
  SaveSettingLong("General", "BootDrive", BootDrive);
  SaveSettingLong("General", "BootType", BootType);
  SaveSettingLong("General", "BugType", BugType);
  SaveSettingBool("General", "ScreenOpened", ScreenOpened);
  SaveSettingBool("General", "KeyboardOpened", KeyboardOpened);

  for (int p = 0; p < DevicePorts; ++p)
    SaveSettingLong("Devices", Composed("ConsoleType", p), ConsoleType[static_cast<size_t>(p)]);
  SaveSettingBool("Devices", "NewKeyBoard", NewKeyBoard);
  SaveSettingBool("Devices", "KBPutJumpers", KBPutJumpers);
  for (const PlugKey& k : kPlugKeys) SaveSettingBool("Devices", k.Key, *k.Flag);

  SaveSettingBool("SCM", "Man", ScmMan);
  SaveSettingBool("SCM", "WhitePhosphor", WhitePhosphor);
  SaveSettingBool("SCM", "AlternateIVS", AlternateIVS);

  SaveSettingLong("General", "Throttle400", MainForm->ThrottleBarPosition(ThrottleBar::vscMVME400));
  SaveSettingLong("General", "ThrottleRWIN", MainForm->ThrottleBarPosition(ThrottleBar::vscRWIN));
  SaveSettingLong("General", "Throttle2661", MainForm->ThrottleBarPosition(ThrottleBar::vscSN2661));
  SaveSettingLong("General", "ThrottleCPU", MainForm->ThrottleBarPosition(ThrottleBar::vscThrottle));
  SaveSettingLong("Devices", "ThrottleDisplay", MainForm->ThrottleBarPosition(ThrottleBar::vscDisplay));

  SaveSettingBool("General", "MovePhysEn", MovePhysEn);
}

}  // namespace korva
