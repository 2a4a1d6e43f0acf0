// The boot drive number of the boot settings (0-3: HD00, HD01, FD02, FD03).
// Loaded at start-up from section "General", key "BootDrive" (default 0) and
// saved there at exit by the settings code; chosen from the Boot menu; read by the
// boot service and by MOVEC's read-only control register 0x707.
// Defined here, on its own, so the CPU core can read it before the main-window
// settings code exists.
#pragma once
#include <cstdint>

namespace korva {

extern int16_t BootDrive;

}  // namespace korva
