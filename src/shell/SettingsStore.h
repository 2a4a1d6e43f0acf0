// The emulator's configuration in the per-user settings store: the whole load
// at start-up into the globals of the devices, windows and disks, and the save
// at exit. The application name (title and profile) is chosen before the load
// (ChooseProfile, cpu/MainLoop.h); the start-up tables are in tables/FixedTables.h.
//
// Sections and their owners: "General", "Devices", "SCM", "GetPutBoot",
// "AlternateBoot", "IOC" and "RWIN" are read here; "Paths" belongs to the file
// dialog (shell/FileDialog.h), "MC1468HC18" to the clock, and every window keeps
// its placement in a section of its own ("Main", "KeyBoardDisplay", "KeyBoard",
// "Jumpers", "dlBoot", "NewDisk", "Debugger", "Consoles", "TTY"/"LPT"/"NET"/"CRT"
// followed by the port number, "ColorConfig", "CRTabilities", "CRToptions").
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace korva {

// Load every setting, in order, and apply those that act on windows and boards.
// Runs once at start-up, after the start-up tables and the profile and before
// the memory map is built.
void InitializeSettings();
// Save the settings kept at exit ("General", "Devices", "SCM" and the throttle
// bars). Keys saved by their own dialogs, and the boot registers, the CP/M start
// address flag and the sectors-per-track table, are never written here.
void SaveSettings();

// The values a numeric key can take (a composed key such as "ConsoleType3" or
// "SPT1MFM512" by its name). Dialogs that save keys of their own use the same
// limits. A key that is not numeric gives an empty range (Lo > Hi).
struct SettingRange {
  int32_t Lo, Hi;
};
SettingRange RangeOfSetting(std::string_view key);

}  // namespace korva
