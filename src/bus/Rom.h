// The boot ROM and the character font: loading at start-up, the ROM overlay at
// 000000, the front-panel window and the graphics-plane layouts.
#pragma once
#include "tables/Types.h"

namespace korva {

void LoadRomFile();       // fill the ROM image from the ROM file
void LoadFontFile();      // write the font file through WriteMemory (forced bytes)
void MapRomAtPowerOn();   // F00000-F0FFFF RAM, the ROM image at 000000, front panel coded
void SwapRomToZero();     // overlay the ROM at 000000 (nothing when already there)
void SwapRomToHigh();     // end the overlay (nothing when the ROM is already high)
void PlugFrontPanel(VBool plugged);  // code the front-panel window 000A00-000A05

}  // namespace korva
