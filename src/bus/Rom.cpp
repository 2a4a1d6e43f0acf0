// The boot ROM image and its two places in memory, the character font, the
// front-panel window and the graphics-plane layouts.
#include "bus/Rom.h"
#include <filesystem>
#include <memory>
#include "bus/Loaders.h"
#include "bus/Memory.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "shell/MainFormHooks.h"
#include "shell/PlugFlags.h"

namespace korva {

namespace {

constexpr RomWordArray BlankRom() {
  RomWordArray image{};
  for (auto& w : image) w = 0xFFFF;
  return image;
}

constexpr uint32_t HighRomFirstCell = 0xF00000 >> 1;

// The folder holding the running program; "." when it cannot be found.
std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return ".";
  return exe.parent_path().string();
}

std::string PathSetting(const char* key, const std::string& defaultPath) {
  const std::string value = GetSettingPath("General", key, defaultPath);
  return value.empty() ? defaultPath : value;
}

// An OK-only message about a host file: its name (UTF-8 on the host, shown in
// the machine's code page), two line ends and the text.
void Show(const std::string& fileName, const std::string& text, const char* title) {
  Host().MessageBox(Utf8ToCp1252(fileName) + "\r\n\r\n" + text, title, MsgButtons::OK, MsgIcon::None);
}

// Something other than a folder has the name: the loader reads it, or refuses
// it (a FIFO, a device) in its own box with the reason.
bool FileFound(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

void CopyImageToCells(uint32_t firstCell) {
  for (uint32_t n = 0; n < RomWords; ++n) {
    MemoryCell& cell = RamArray[firstCell + n];
    cell.Data = RomImage[n];
    cell.Device = DcRom;
  }
}

// Recode the plane area and the pixel window for one layout.
struct PlaneLayout {
  uint32_t Green, Blue, Red;  // first byte address of each plane
  uint32_t PlaneBytes;
  uint8_t FirstCode;          // green's code; blue and red follow
  uint32_t PixelWindowEnd;    // last byte address of the pixel port
};

void MapGraphics(const PlaneLayout* layout) {
  MainForm->TakesAwhile(True);
  SetMemMap(0x030000, 0x05FFFF, DcRam);
  SetMemMap(0xE00000, 0xEFFFFF, DcPixelRamOff);
  if (layout) {
    const uint32_t bases[3] = {layout->Green, layout->Blue, layout->Red};
    for (uint32_t k = 0; k < 3; ++k)
      SetMemMap(bases[k], bases[k] + layout->PlaneBytes - 1, static_cast<uint8_t>(layout->FirstCode + k));
    SetMemMap(0xE00000, layout->PixelWindowEnd, DcPixelRam);
    GreenPlaneBase = layout->Green >> 1;
    BluePlaneBase = layout->Blue >> 1;
    RedPlaneBase = layout->Red >> 1;
  } else {
    GreenPlaneBase = BluePlaneBase = RedPlaneBase = 0;
  }
  MainForm->DelayOver(True);
}

constexpr PlaneLayout Layout1{0x030000, 0x040000, 0x050000, 0xEA60, DcGreenPlane, 0xEEA5FF};
constexpr PlaneLayout Layout2{0x030000, 0x040000, 0x050000, 0x7530, DcGreenPlane, 0xE752FF};
constexpr PlaneLayout Layout3{0x048000, 0x050000, 0x058000, 0x7530, DcGreenPlane3, 0xE752FF};

}  // namespace

RomWordArray RomImage = BlankRom();
VBool RomAtZero = False;
std::string RomFilename;
std::string FontFilename;
uint32_t RedPlaneBase = 0;
uint32_t GreenPlaneBase = 0;
uint32_t BluePlaneBase = 0;

std::string DefaultRomFilename() { return ProgramFolder() + "/ROMS/ROM.S19"; }
std::string DefaultFontFilename() { return ProgramFolder() + "/FONTS/CHARRAM.S19"; }

void ClearRomImage() { RomImage.fill(0xFFFF); }

VBool LoadIntoRomImage(const std::function<VBool()>& load) {
  const auto previous = std::make_unique<RomWordArray>(RomImage);
  ClearRomImage();
  const VBool loaded = load ? load() : False;
  if (!loaded) RomImage = *previous;
  return loaded;
}

void LoadRomFile() {
  RomFilename = PathSetting("RomFilename", DefaultRomFilename());
  if (!FileFound(RomFilename)) {
    Show(RomFilename, " ROM S-rec file does NOT exist!", "NO ROM");
    return;
  }
  if (!LoadIntoRomImage([] { return LoadSrecFile(RomFilename, True, False); }))
    Show(RomFilename, "Failed to load ROM S-rec file!", "Error Loading ROM");
}

void LoadFontFile() {
  FontFilename = PathSetting("FontFilename", DefaultFontFilename());
  if (!FileFound(FontFilename)) {
    Show(FontFilename, " Character Font S-rec file does NOT exist!", "NO Font");
    return;
  }
  if (!LoadSrecFile(FontFilename, False, False))
    Show(FontFilename, "Failed to load Character Font S-rec file!", "Error Loading Font");
}

void MapRomAtPowerOn() {
  MainForm->TakesAwhile(True);
  SetMemMap(0xF00000, 0xF0FFFF, DcRam);
  CopyImageToCells(0);
  RomAtZero = True;
  PlugFrontPanel(FrontPanelPlugged);
  MainForm->DelayOver(True);
}

void SwapRomToZero() {
  if (RomAtZero) return;
  MainForm->TakesAwhile(True);
  // The RAM that the ROM is about to cover stays visible, and writable, at F00000.
  for (uint32_t n = 0; n < RomWords; ++n) {
    MemoryCell& high = RamArray[HighRomFirstCell + n];
    high.Data = RamArray[n].Data;
    high.Device = DcRam;
  }
  CopyImageToCells(0);
  RomAtZero = True;
  PlugFrontPanel(FrontPanelPlugged);
  MainForm->DelayOver(True);
}

void SwapRomToHigh() {
  if (!RomAtZero) return;
  MainForm->TakesAwhile(True);
  // The RAM comes back with whatever was written to it at F00000 meanwhile.
  for (uint32_t n = 0; n < RomWords; ++n) {
    MemoryCell& low = RamArray[n];
    low.Data = RamArray[HighRomFirstCell + n].Data;
    low.Device = DcRam;
  }
  CopyImageToCells(HighRomFirstCell);
  RomAtZero = False;
  PlugFrontPanel(FrontPanelPlugged);
  MainForm->DelayOver(True);
}

void ReloadRom() { CopyImageToCells(RomAtZero ? 0 : HighRomFirstCell); }

void PlugFrontPanel(VBool plugged) {
  SetMemMap(0x000A00, 0x000A05, RomAtZero ? DcRom : (plugged ? DcFrontPanel : DcRam));
  MainForm->ShowFrontPanel(plugged);
}

void MapGraphicsOff() { MapGraphics(nullptr); }
void MapGraphicsPlanes1() { MapGraphics(&Layout1); }
void MapGraphicsPlanes2() { MapGraphics(&Layout2); }
void MapGraphicsPlanes3() { MapGraphics(&Layout3); }

}  // namespace korva
