// Displays of VersaDOS's own structures in guest memory: the system parameter
// area SYSPAR, a channel control block and the crash-save block. They read the
// memory cell array only (big-endian, word indexes wrapping at 16 MB), never a
// device, and return their text; the layouts follow VersionNumber (43, 44, 45).
#pragma once
#include <cstdint>
#include <string>

namespace korva {

// The address of the SYSPAR area found by the last FindVdosSYSPAR, or -1.
extern int32_t SysparAddress;

// Tries 0x500, 0x600, ... 0x2400: the first whose long at +8 holds its own
// address becomes SysparAddress; none found gives -1.
void FindVdosSYSPAR();

// SYSPAR from address on, in the layout of VersionNumber.
std::string DisplaySYSPAR(uint32_t address);
// The channel control block at address, with its status texts.
std::string DisplayCCB(uint32_t address);

// The crash-save block at address: by VersionNumber the older layout (43, 44),
// the format-coded one (45), or nothing.
std::string DisplayCrashSave(uint32_t address);
std::string DisplayCrashSave3(uint32_t address);  // older layout
std::string DisplayCrashSave5(uint32_t address);  // format-coded layout

}  // namespace korva
