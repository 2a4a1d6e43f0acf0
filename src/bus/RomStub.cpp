// Until the ROM image and its loaders exist: no ROM file is read, the ROM words
// read 0xFFFF, and the overlay is mapped as at power-on.
#include "bus/Memory.h"
#include "bus/Rom.h"
#include "shell/PlugFlags.h"

namespace korva {

namespace {
VBool romAtZero = False;
}

void LoadRomFile() {}
void LoadFontFile() {}

void MapRomAtPowerOn() {
  SetMemMap(0xF00000, 0xF0FFFF, DcRam);
  for (uint32_t n = 0; n < 0x8000; ++n) RamArray[n] = MemoryCell{0xFFFF, DcRom, RamArray[n].Tag};
  romAtZero = True;
  PlugFrontPanel(FrontPanelPlugged);
}

void SwapRomToZero() {
  if (romAtZero) return;
  for (uint32_t n = 0; n < 0x8000; ++n) RamArray[0x780000 + n] = MemoryCell{RamArray[n].Data, DcRam, RamArray[0x780000 + n].Tag};
  for (uint32_t n = 0; n < 0x8000; ++n) RamArray[n] = MemoryCell{0xFFFF, DcRom, RamArray[n].Tag};
  romAtZero = True;
  PlugFrontPanel(FrontPanelPlugged);
}

void SwapRomToHigh() {
  if (!romAtZero) return;
  for (uint32_t n = 0; n < 0x8000; ++n) RamArray[n] = MemoryCell{RamArray[0x780000 + n].Data, DcRam, RamArray[n].Tag};
  for (uint32_t n = 0; n < 0x8000; ++n) RamArray[0x780000 + n] = MemoryCell{0xFFFF, DcRom, RamArray[0x780000 + n].Tag};
  romAtZero = False;
  PlugFrontPanel(FrontPanelPlugged);
}

void PlugFrontPanel(VBool plugged) {
  SetMemMap(0x000A00, 0x000A05, romAtZero ? DcRom : (plugged ? DcFrontPanel : DcRam));
}

}  // namespace korva
