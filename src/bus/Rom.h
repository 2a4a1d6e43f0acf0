// The boot ROM and the character font: loading at start-up, the ROM overlay at
// 000000, the front-panel window and the graphics-plane layouts.
//
// The ROM lives in RomImage; the cells of RamArray that show it (000000-00FFFF
// while it overlays 0, else F00000-F0FFFF) hold copies with device code 2, so a
// forced write changes only the copy. The RAM that the overlay covers is kept in
// the cells of F00000-F0FFFF meanwhile and comes back when the ROM moves high.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include "tables/Types.h"

namespace korva {

constexpr uint32_t RomWords = 0x8000;  // 64 KB
using RomWordArray = std::array<uint16_t, RomWords>;

// Word n is the ROM word at offset 2n; 0xFFFF where no file put anything.
extern RomWordArray RomImage;
// True while the ROM is mapped at 000000-00FFFF.
extern VBool RomAtZero;

// Host paths of the ROM and font S-record files. LoadRomFile / LoadFontFile
// refresh them from the settings (section "General", keys of the same names);
// an absent or empty setting gives the program folder's ROMS/ROM.S19 and
// FONTS/CHARRAM.S19.
extern std::string RomFilename;
extern std::string FontFilename;
std::string DefaultRomFilename();
std::string DefaultFontFilename();

// RamArray word indices of the green, blue and red planes of the current
// graphics layout; 0 while graphics are off.
extern uint32_t RedPlaneBase;
extern uint32_t GreenPlaneBase;
extern uint32_t BluePlaneBase;

void ClearRomImage();     // every word 0xFFFF
void LoadRomFile();       // fill the ROM image from the ROM file (messages on failure)
void LoadFontFile();      // write the font file through WriteMemory (forced bytes)

// Runs load (a loader called with toRom true) on a blank ROM image. When it
// returns true the loaded image becomes RomImage; otherwise RomImage is left as
// it was before the call. Returns what load returned. Memory is not touched:
// call ReloadRom to show the new image.
VBool LoadIntoRomImage(const std::function<VBool()>& load);

void MapRomAtPowerOn();   // F00000-F0FFFF RAM, the ROM image at 000000, front panel coded
void SwapRomToZero();     // overlay the ROM at 000000 (nothing when already there)
void SwapRomToHigh();     // end the overlay (nothing when the ROM is already high)
void ReloadRom();         // copy RomImage again to wherever the ROM is mapped
void PlugFrontPanel(VBool plugged);  // code the front-panel window 000A00-000A05

// Graphics layouts: recode 030000-05FFFF (planes) and E00000-EFFFFF (pixel
// port) and set the plane bases. Plane data is not touched.
void MapGraphicsOff();
void MapGraphicsPlanes1();  // 600 lines: planes at 030000, 040000, 050000
void MapGraphicsPlanes2();  // 300 lines: the same bases, half the size
void MapGraphicsPlanes3();  // 300 lines: planes at 048000, 050000, 058000

}  // namespace korva
