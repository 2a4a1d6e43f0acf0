// Settings of booting and of the winchester and floppy controller, loaded at
// start-up by InitializeSettings (shell/SettingsStore.h), which also gives their
// defaults.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "tables/Types.h"

namespace korva {

// Boot ("General"): the two S-record boot files, whether an S-record's or a
// CP/M command file's start address is used, and the registers a boot presets.
extern std::array<std::string, 2> BootSrecFileName;
extern VBool UseSrecStartAddress;
extern VBool UseCpmFileStartAddress;
extern std::array<int32_t, 8> BootDataRegs;     // copied into D0-D7 at boot
extern std::array<int32_t, 8> BootAddressRegs;  // copied into A0-A7 at boot

// The get/put boot window ("GetPutBoot") and the alternate boot ("AlternateBoot").
extern int32_t GetPutBootLoadAddress;
extern int32_t GetPutBootBlocks;
extern int32_t GetPutBootLSN;
extern int32_t AlternateBootSP;
extern int32_t AlternateBootPC;

// Winchester and floppy controller ("RWIN").
// Sectors per track of floppy disk-type row r (0-4), size index s (0-3 for 128,
// 256, 512, 1024 bytes) and density d (0 FM, 1 MFM) at entry 8r + 2s + d.
extern std::array<int16_t, 40> RwinSectorsPerTrack;
extern const std::array<int16_t, 40> RwinDefaultSectorsPerTrack;  // the load's defaults
int RwinSptIndex(int row, int sizeIndex, int density);
// The disk-type row of each drive (entries 2 and 3, the floppies, are loaded).
extern std::array<int16_t, 4> RwinDiskType;
extern std::array<VBool, 4> RwinDiskAuto;
// Jumper block J16: two jumpers of drive A, then eight of the controller.
extern std::array<VBool, 2> RwinJ16A;
extern std::array<VBool, 8> RwinJ16;

}  // namespace korva
