// The Devices, Memory and Options menus: item actions and menu refreshers.
#include "shell/MainMenus.h"

#include <cctype>
#include <utility>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/KeyboardDisplay.h"
#include "board/KeyboardForm.h"
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/Plugging.h"
#include "bus/Rom.h"
#include "cpu/BoundaryCommands.h"
#include "cpu/CpuState.h"
#include "cpu/Startup.h"
#include "tables/FixedTables.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"
#include "shell/ShellSettings.h"
#include "tables/OpMap.h"

namespace korva {

const std::array<PlugMenuItem, PlugItemCount> PlugMenuItems = {{
    {"mnuMVME400c0", &MVME400C0Plugged, PlugMVME400C0, "Unplug MVME400 Card 0", "Plug MVME400 Card 0"},
    {"mnuMVME400c1", &MVME400C1Plugged, PlugMVME400C1, "Unplug MVME400 Card 1", "Plug MVME400 Card 1"},
    {"mnuMVME410c0", &MVME410C0Plugged, PlugMVME410C0, "Unplug MVME410", "Plug MVME410"},
    {"mnuFrontPanel", &FrontPanelPlugged, PlugFrontPanel, "Unplug FrontPanel", "Plug FrontPanel"},
    {"mnuLSNDC", &LSNDCPlugged, PlugLSNDC, "Unplug LSN Disk Controller", "Plug LSN Disk Controller"},
    {"mnuCPMDC", &CPMDCPlugged, PlugCPMDC, "Unplug CPM Disk Controller", "Plug CPM Disk Controller"},
    {"mnuSimpleDC", &SimpleDCPlugged, PlugSimpleDC, "Unplug Simple Disk Controller", "Plug Simple Disk Controller"},
    {"mnuUloadDload", &UloadDloadPlugged, PlugUloadDload, "Unplug Uload/Dload", "Plug Uload/Dload"},
    {"MnuDropzone", &DropzonePlugged, PlugDropzone, "Unplug Dropzone", "Plug Dropzone"},
}};

const std::array<MemoryMenuItem, MemoryItemCount> MemoryMenuItems = {{
    {"mnuPlugRam", "$060000-$17FFFF", &ReservedPlugged, PlugRam},
    {"mnuMem180to1BF", "$180000-$1BFFFF", &Mem180to1BF, PlugMem180to1BF},
    {"mnuMem1C0to1FF", "$1C0000-$1FFFFF", &Mem1C0to1FF, PlugMem1C0to1FF},
    {"mnuMem200to3FF", "$200000-$3FFFFF", &Mem200to3FF, PlugMem200to3FF},
    {"mnuMem400to5FF", "$400000-$5FFFFF", &Mem400to5FF, PlugMem400to5FF},
    {"mnuMem600to7FF", "$600000-$7FFFFF", &Mem600to7FF, PlugMem600to7FF},
    {"mnuMem800to9FF", "$800000-$9FFFFF", &Mem800to9FF, PlugMem800to9FF},
    {"mnuMemA00toBFF", "$A00000-$BFFFFF", &MemA00toBFF, PlugMemA00toBFF},
    {"mnuMemC00toDFF", "$C00000-$DFFFFF", &MemC00toDFF, PlugMemC00toDFF},
    {"mnuMemF1EtoFFF", "$F1E000-$FFFFFF", &MemF1EtoFFF, PlugMemF1EtoFFF},
}};

const std::array<const char*, 3> CpuModelCaptions = {"MC68000", "MC68010", "CPU32/010(Hybrid)"};

namespace {

// A 16-bit boolean inverted; any nonzero value counts as true.
inline VBool Flip(VBool v) { return ToVBool(v == 0); }

// The boundary commands take no argument: one instance per item.
template <int I>
void TogglePlugItem() {
  const PlugMenuItem& item = PlugMenuItems[I];
  *item.Flag = Flip(*item.Flag);
  item.Plug(*item.Flag);
}
template <int I>
void ToggleMemoryItem() {
  const MemoryMenuItem& item = MemoryMenuItems[I];
  *item.Flag = Flip(*item.Flag);
  item.Plug(*item.Flag);
}
template <int... I>
constexpr std::array<BoundaryCommand, sizeof...(I)> PlugCommands(std::integer_sequence<int, I...>) {
  return {&TogglePlugItem<I>...};
}
template <int... I>
constexpr std::array<BoundaryCommand, sizeof...(I)> MemoryCommands(std::integer_sequence<int, I...>) {
  return {&ToggleMemoryItem<I>...};
}
constexpr auto kPlugCommands = PlugCommands(std::make_integer_sequence<int, PlugItemCount>());
constexpr auto kMemoryCommands = MemoryCommands(std::make_integer_sequence<int, MemoryItemCount>());

template <int I>
void SwitchTo() {
  SwitchCpuModel(I);
}
constexpr std::array<BoundaryCommand, 3> kCpuCommands = {&SwitchTo<0>, &SwitchTo<1>, &SwitchTo<2>};

void ToggleMovePhysical() {
  MovePhysEn = Flip(MovePhysEn);
  MapMovePhysical();
}

const char* Caption(VBool on, const char* whenOn, const char* whenOff) { return on ? whenOn : whenOff; }

}  // namespace

// ---- Refreshers ----

void RefreshMemoryMenu(DevicesMenuView& v) {
  for (int i = 0; i < MemoryItemCount; ++i) v.MemoryTicked[i] = *MemoryMenuItems[i].Flag != 0;
}

void RefreshDevicesMenu(DevicesMenuView& v) {
  const auto plug = [&](int i) {
    const PlugMenuItem& item = PlugMenuItems[i];
    v.PlugCaptions[i] = Caption(*item.Flag, item.UnplugCaption, item.PlugCaption);
  };
  plug(0);
  plug(1);
  plug(2);
  v.ScreenCaption = Caption(ScreenOpened, "Close Screen/Keyboard", "Open Screen/Keyboard");
  v.KeyboardCaption = Caption(KeyboardOpened, "Close Keyboard", "Open Keyboard");
  RefreshMemoryMenu(v);
  v.NewKeyboardTicked = NewKeyBoard != 0;
  for (int i = 3; i < PlugItemCount; ++i) plug(i);
}

void RefreshCpuTypeMenu(OptionsMenuView& v) {
  switch (CpuType) {
    case Cpu68000: v.CpuTicked = {true, false, false}; break;
    case Cpu68010: v.CpuTicked = {false, true, false}; break;
    case Cpu32: v.CpuTicked = {false, false, true}; break;
    default: break;
  }
}

void RefreshSwapRomCaption(OptionsMenuView& v) { v.SwapRomCaption = Caption(RomAtZero, "Unswap ROM", "Swap ROM"); }

void RefreshSetIgCaption(OptionsMenuView& v) { v.SetIgCaption = Caption(ScmIG, "Clear IG", "Set IG"); }

void RefreshCenturyCaption(OptionsMenuView& v) {
  if (Rtc.Century() == 19) v.CenturyCaption = "Set Century 20";
  else if (Rtc.Century() == 20) v.CenturyCaption = "Set Century 19";
}

void RefreshOptionsMenu(OptionsMenuView& v) {
  RefreshCpuTypeMenu(v);
  RefreshSwapRomCaption(v);
  RefreshSetIgCaption(v);
  v.Format2Ticked = UseFormat2Stack != 0;
  RefreshCenturyCaption(v);
  v.ScmManTicked = ScmMan != 0;
  v.WhitePhosphorTicked = WhitePhosphor != 0;
  v.AlternateIvsTicked = AlternateIVS != 0;
  v.MovePhysTicked = MovePhysEn != 0;
}

// ---- Devices ----

void PlugItemClick(int item) {
  if (item >= 0 && item < PlugItemCount) RunAtInstructionBoundary(kPlugCommands[item]);
}

void MemoryItemClick(int item) {
  if (item >= 0 && item < MemoryItemCount) RunAtInstructionBoundary(kMemoryCommands[item]);
}

void NewKeyboardClick() { NewKeyBoard = Flip(NewKeyBoard); }

void OpenScreenClick() {
  if (ScreenOpened) {
    KeyboardDisplayForm->KeyboardDisplayHide();
    ScreenOpened = False;
  } else {
    KeyboardDisplayForm->KeyboardDisplayShow(0);
    ScreenOpened = True;
  }
}

void OpenKeyboardClick() {
  if (KeyboardOpened) {
    if (KeyboardFormHook.HideFormKeyboard) KeyboardFormHook.HideFormKeyboard();
    KeyboardOpened = False;
  } else {
    if (KeyboardFormHook.ShowFormKeyboard) KeyboardFormHook.ShowFormKeyboard(0);
    KeyboardOpened = True;
  }
}

// ---- Options ----

void CpuModelClick(int index) {
  if (index >= 0 && index <= 2) RunAtInstructionBoundary(kCpuCommands[index]);
}

void SwitchCpuModel(int index) {
  if (index < 0 || index > 2) return;
  constexpr CpuModel kModels[3] = {Cpu68000, Cpu68010, Cpu32};
  const CpuModel to = kModels[index];
  MainForm->TakesAwhile(True);
  // Read after the bracket, whose event processing may have switched the model already.
  const uint16_t from = CpuType;
  if (from != to) {
    if (to != Cpu32 && from != Cpu32) {
      // The MC68000 and the MC68010 share every entry but MOVE from SR's privilege.
      if (to == Cpu68000) SelectCpu68000();
      else SelectCpu68010();
      MapMoveFromSr();
    } else {
      SelectCpuModel(to);  // every table rebuilt
    }
  }
  MainForm->DelayOver(True);
}

void UseFormat2StackClick() { UseFormat2Stack = Flip(UseFormat2Stack); }

void MovePhysEnClick() { RunAtInstructionBoundary(&ToggleMovePhysical); }

void SetIgClick(OptionsMenuView& v) {
  RefreshSetIgCaption(v);
  std::string verb = v.SetIgCaption.substr(0, 3);
  for (char& c : verb) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  MainForm->TakesAwhile(True);
  if (verb == "SET") Scm.CR1(static_cast<uint8_t>(Scm.CR1() | 0x80));
  else if (verb == "CLE") Scm.CR1(static_cast<uint8_t>(Scm.CR1() & 0x7F));
  MainForm->DelayOver(True);
}

void SwapRomClick() {
  MainForm->TakesAwhile(True);
  if (RomAtZero) {
    Scm.CR1(static_cast<uint8_t>(Scm.CR1() | 0x01));
  } else {
    Scm.CR1(static_cast<uint8_t>(Scm.CR1() & 0xFE));
    SwapRomToZero();
  }
  MainForm->DelayOver(True);
}

void ScmManClick() { ScmMan = Flip(ScmMan); }

void WhitePhosphorClick() {
  WhitePhosphor = Flip(WhitePhosphor);
  if (WhitePhosphor) SetWhitePhosphor();
  else SetGreenPhosphor();
}

void CenturyClick() {
  if (Rtc.Century() == 19) Rtc.Century(20);
  else if (Rtc.Century() == 20) Rtc.Century(19);
}

void SetSwitchesClick(JumperDialog& dialog) {
  dialog.Fields = JumperFieldsFromMachine();
  dialog.ShowJumpers(1);
  if (dialog.DialogResult != 1) return;
  // SW1 chooses the monochrome rendering: the screen is merged again when it changed.
  if (ApplyJumperFields(dialog.Fields)) Screen.ReMergeScreen();
}

}  // namespace korva
