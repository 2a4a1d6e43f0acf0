// The main window's Devices menu (with its Memory submenu) and Options menu,
// without their widgets: what each item does, and what each parent menu shows
// when it opens. The menus keep no state of the machine: every tick, caption
// and enabled state is computed from the globals each time the parent opens
// (RefreshDevicesMenu, RefreshOptionsMenu). A view holds only what the menu
// shows; the Qt menus (shell/ui/MainMenus) copy it onto their actions.
//
// Plug changes, CPU-model switches and the physical-move option change the
// machine under a running program, so they run at the next instruction
// boundary (cpu/BoundaryCommands.h); the other items act at once.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "shell/Jumpers.h"
#include "tables/Types.h"

namespace korva {

// ---- Item tables ----
struct PlugMenuItem {
  const char* Name;           // the item's name, e.g. "mnuMVME400c0"
  VBool* Flag;                // plugged
  void (*Plug)(VBool);        // maps or unmaps the board's range
  const char* UnplugCaption;  // shown while plugged
  const char* PlugCaption;    // shown while unplugged
};
// Devices menu order: MVME400 card 0, card 1, MVME410, front panel, LSN, CP/M
// and simple disk controllers, upload/download port, drop zone.
constexpr int PlugItemCount = 9;
extern const std::array<PlugMenuItem, PlugItemCount> PlugMenuItems;

struct MemoryMenuItem {
  const char* Name;
  const char* Caption;  // e.g. "$180000-$1BFFFF"
  VBool* Flag;
  void (*Plug)(VBool);
};
constexpr int MemoryItemCount = 10;
extern const std::array<MemoryMenuItem, MemoryItemCount> MemoryMenuItems;

// The CPU-model items: index 0 MC68000, 1 MC68010, 2 CPU32.
extern const std::array<const char*, 3> CpuModelCaptions;

// ---- What the menus show ----
struct DevicesMenuView {
  std::array<std::string, PlugItemCount> PlugCaptions;
  std::string ScreenCaption = "Open Screen/Keyboard";
  std::string KeyboardCaption = "OpenKeyboard";
  std::array<bool, MemoryItemCount> MemoryTicked = {};
  bool NewKeyboardTicked = false;
};

struct OptionsMenuView {
  std::array<bool, 3> CpuTicked = {false, true, false};  // MC68010 ticked when the window first shows
  std::string SwapRomCaption = "Swap ROM";
  std::string SetIgCaption = "Set IG";
  std::string CenturyCaption = "Century";
  bool Format2Ticked = false;
  bool MovePhysTicked = false;
  bool ScmManTicked = false;
  bool WhitePhosphorTicked = false;
  bool AlternateIvsTicked = false;
};

// Opening "Devices": the plug and window captions, the memory ticks and the
// "New Keyboard" tick, from the globals.
void RefreshDevicesMenu(DevicesMenuView& v);
void RefreshMemoryMenu(DevicesMenuView& v);
// Opening "Options", in the menu's order: CPU ticks, "Swap ROM", "Set IG",
// "Use Format 2 Stack Frame", "Century", then the option ticks.
void RefreshOptionsMenu(OptionsMenuView& v);
// CpuType 0, 10 or 32 ticks its one item; any other value changes nothing.
void RefreshCpuTypeMenu(OptionsMenuView& v);
void RefreshSwapRomCaption(OptionsMenuView& v);
void RefreshSetIgCaption(OptionsMenuView& v);
// Century 19 gives "Set Century 20", 20 gives "Set Century 19"; any other
// century leaves the caption as it is.
void RefreshCenturyCaption(OptionsMenuView& v);

// ---- Devices items ----
// Flip the item's flag and plug or unplug its range, at the next instruction boundary.
void PlugItemClick(int item);    // 0 .. PlugItemCount - 1; other values do nothing
void MemoryItemClick(int item);  // 0 .. MemoryItemCount - 1
void NewKeyboardClick();
// "Open Screen/Keyboard" and "OpenKeyboard": hide the window and clear its flag
// while it is open, else show it and set the flag.
void OpenScreenClick();
void OpenKeyboardClick();

// ---- Options items ----
// Switch the model (index 0 MC68000, 1 MC68010, 2 CPU32) at the next
// instruction boundary: between the MC68000 and the MC68010 only MOVE from SR
// is remapped; to or from CPU32 every table is rebuilt; the model in force
// already does nothing.
void CpuModelClick(int index);
// Applies the model switch now (what the boundary command runs).
void SwitchCpuModel(int index);
void UseFormat2StackClick();
// Flip MovePhysEn and remap the physical-move opcodes, at the next instruction boundary.
void MovePhysEnClick();
// "Set IG" / "Clear IG": the caption is refreshed, then its first three letters
// choose: "SET" sets CR1 bit 7, "CLE" clears it.
void SetIgClick(OptionsMenuView& v);
// While the ROM is at 0 set CR1 bit 0 (the module moves the ROM high); else
// clear it and put the ROM back at 0.
void SwapRomClick();
void ScmManClick();
// Flip WhitePhosphor and fill PhosphorPalette; the screen is not merged again.
void WhitePhosphorClick();
void CenturyClick();
// "Set Switches ...": the live jumpers into the dialog, the dialog shown, and
// the values back into the machine only after OK.
void SetSwitchesClick(JumperDialog& dialog);

}  // namespace korva
