// The main window's File, Boot and Disks menus without their widgets: what
// each menu shows when it opens (captions, ticks, enabled items, all computed
// from the globals, so the menus keep no state of their own) and what each
// item does. File choices go through OpenSaveDialog. Boots and memory or ROM
// loads change the machine, so they run between two instructions.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

// ---- Opening the menus ----

struct BootMenuView {
  std::array<bool, 4> DriveTicked = {};  // "Set Boot Drive": HD00 .. FD03
  std::array<bool, 7> TypeTicked = {};   // "Set Boot Type"
  std::string FontFileCaption, RomFileCaption;
  std::array<std::string, 2> BootFileCaption;
  bool BootEnabled[2] = {};  // "BO", "BH"
  bool GoAfterBhEnabled = false;
  bool StopEnabled = false;
  bool TenBugTicked = false, VmeBugTicked = false;
};
BootMenuView mnuBoot_Click();

struct FileMenuView {
  std::string DloadCaption, UloadCaption;  // "Open DLOAD" / "Close DLOAD - <title>", likewise ULOAD
  bool DloadEnabled = false, UloadEnabled = false;  // while the port is plugged or the file is open
};
FileMenuView mnuFile_Click();

// The captions of the four drive items: "Open HD00" or "Close HD00 - <title>".
std::array<std::string, 4> mnuDisks_Click();

// The Boot menu's item captions.
extern const std::array<const char*, 4> BootDriveCaptions;
extern const std::array<const char*, 7> BootTypeCaptions;

// ---- Boot items ----

// "BO" (0) and "BH" (1): the boot of the current BootType. Ignored while the
// processor runs or before the first power-on reset (the items are disabled then).
void mnuBo_Click(int16_t index);
void mnuBootDrive_Click(int16_t n);  // BootDrive := n (0-3)
void mnuBootType_Click(int16_t n);   // BootType := n (0-6)
void mnuTenBug_Click();              // the monitor: TENbug
void mnuVmeBug_Click();              // VMEbug

// Defaults: the chosen font, ROM or boot file is recorded for the next start
// (the settings store keeps it); nothing is loaded now.
void mnuDefaultFontFile_Click();
void mnuDefaultRomFile_Click();
void mnuDefaultBootFile_Click(int16_t index);  // BOOT File 0 or 1

// ---- File items ----

// The loader a memory or ROM file takes, by its extension in any case:
// ".MX", ".S19", ".SR" S-records; ".LO", ".SY" VersaDOS load modules; ".SYS",
// ".68K" CP/M command files; anything else none.
enum class LoadFileKind { None, Srec, LoadModule, CpmCommand };
LoadFileKind LoadFileKindOf(const std::string& path);

// Loads a file into memory (toRom false) by its kind; a file of no known kind
// loads nothing. True when the loader read the whole file.
VBool LoadMemoryFile(const std::string& path);
// Replaces the ROM image with the file's and copies it to where the ROM is
// mapped. A file of no known kind, or one the loader gives up on, leaves the
// previous image in place, and the user is told why.
VBool LoadRomImageFile(const std::string& path);

void mnuLoadMemory_Click();
void mnuLoadRom_Click();
// DLOAD and ULOAD: close the open file, or choose and open one. The focus
// goes to the main window's focus sink after a close (the window does that).
// Return true when they closed a file.
bool mnuDLOAD_Click();
bool mnuUload_Click();

// ---- Disks items ----

// Ejects the drive's image, or chooses one ("DRV00".."DRV03") and mounts it,
// read-only when the dialog's read-only box was ticked.
void mnuDisk_Click(int16_t n);

}  // namespace korva
