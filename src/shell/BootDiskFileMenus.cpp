#include "shell/BootDiskFileMenus.h"

#include <vector>

#include "bus/Loaders.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "disk/Boot.h"
#include "disk/DiskSettings.h"
#include "disk/Drives.h"
#include "disk/Dropzone.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "shell/BootDrive.h"
#include "shell/FileDialog.h"
#include "shell/MainFormHooks.h"
#include "shell/PathHelpers.h"
#include "shell/PlugFlags.h"
#include "shell/ShellSettings.h"
#include "tables/Helpers.h"

namespace korva {

const std::array<const char*, 4> BootDriveCaptions = {"HD00", "HD01", "FD02", "FD03"};
const std::array<const char*, 7> BootTypeCaptions = {
    "Motorola (disk)",    "Simple (disk)",          "Complex (disk)",         "S-Rec (file)",
    "CPM Commnd (file)", "VDOS IPL Module (file)", "VDOS Load Module (file)"};

namespace {

constexpr char CrLf[] = "\r\n";

// Every file choice of these menus: no name shown at the start, the kind's own title.
std::string ChooseFile(const char* op, const std::string& kind) { return OpenSaveDialog("", op, kind, 0, "Default"); }

void Box(const std::string& text, const std::string& title) {
  Host().MessageBox(text, title, MsgButtons::OK, MsgIcon::Exclamation);
}

// A command that changes the machine runs between two instructions: at once
// while no control-store word is executing, else right after the current one.
void BetweenInstructions(void (*command)()) { RunOrLatchCommand(command); }

// A default-file caption: "ROM File = ROM.S19 ..." or "ROM File ...".
std::string DefaultCaption(const std::string& word, const std::string& path) {
  return path.empty() ? word + " ..." : word + " = " + FileNameOf(path) + " ...";
}

bool BootAllowed() { return !CpuRunning && PowerOnResetDone; }

void BootAndRun() {
  if (BootAllowed()) Boot(kBootAndRun);
}
void BootAndHalt() {
  if (BootAllowed()) Boot(kBootAndHalt);
}

// Loads chosen from the menu and waiting for the end of the current instruction.
struct PendingLoad {
  bool ToRom = false;
  std::string Path;
};
std::vector<PendingLoad> pendingLoads;

void RunPendingLoads() {
  std::vector<PendingLoad> loads;
  loads.swap(pendingLoads);
  for (const PendingLoad& load : loads) {
    MainForm->TakesAwhile(False);
    if (load.ToRom)
      LoadRomImageFile(load.Path);
    else
      LoadMemoryFile(load.Path);
    MainForm->DelayOver(False);
  }
}

void QueueLoad(bool toRom, const std::string& path) {
  pendingLoads.push_back({toRom, path});
  BetweenInstructions(RunPendingLoads);  // each run takes every load waiting
}

VBool RunLoader(LoadFileKind kind, const std::string& path, VBool toRom) {
  switch (kind) {
    case LoadFileKind::Srec: return LoadSrecFile(path, toRom, True);
    case LoadFileKind::LoadModule: return LoadVersadosLoadModule(path, toRom);
    case LoadFileKind::CpmCommand: return LoadCpmCommandFile(path, toRom);
    case LoadFileKind::None: break;
  }
  return False;
}

}  // namespace

// ---- Opening the menus ----

BootMenuView mnuBoot_Click() {
  BootMenuView v;
  if (BootDrive >= 0 && BootDrive < 4) v.DriveTicked[static_cast<size_t>(BootDrive)] = true;
  if (BootType >= 0 && BootType < 7) v.TypeTicked[static_cast<size_t>(BootType)] = true;
  v.FontFileCaption = DefaultCaption("FONT File", FontFilename);
  v.RomFileCaption = DefaultCaption("ROM File", RomFilename);
  v.BootFileCaption[0] = DefaultCaption("BOOT File 0", BootSrecFileName[0]);
  v.BootFileCaption[1] = DefaultCaption("BOOT File 1", BootSrecFileName[1]);
  v.StopEnabled = CpuRunning != 0;
  if (!CpuRunning) {
    v.GoAfterBhEnabled = BootHalted;
    v.BootEnabled[0] = v.BootEnabled[1] = PowerOnResetDone != 0;
  }
  v.TenBugTicked = BugType == 0;
  v.VmeBugTicked = BugType == 1;
  return v;
}

FileMenuView mnuFile_Click() {
  FileMenuView v;
  v.DloadCaption = DloadFileOpen ? "Close DLOAD - " + DloadFileTitle : "Open DLOAD";
  v.UloadCaption = UloadFileOpen ? "Close ULOAD - " + UloadFileTitle : "Open ULOAD";
  // An open file can always be closed, even after its port was unplugged.
  v.DloadEnabled = UloadDloadPlugged || DloadFileOpen;
  v.UloadEnabled = UloadDloadPlugged || UloadFileOpen;
  return v;
}

std::array<std::string, 4> mnuDisks_Click() {
  std::array<std::string, 4> captions;
  for (size_t n = 0; n < captions.size(); ++n) {
    const DriveEntry& d = DriveTable[n];
    captions[n] = d.Mounted ? "Close " + d.Name + " - " + d.FileTitle : "Open " + d.Name;
  }
  return captions;
}

// ---- Boot items ----

void mnuBo_Click(int16_t index) {
  if (index == kBootAndRun) BetweenInstructions(BootAndRun);
  if (index == kBootAndHalt) BetweenInstructions(BootAndHalt);
}

void mnuBootDrive_Click(int16_t n) {
  if (n >= 0 && n < 4) BootDrive = n;
}

void mnuBootType_Click(int16_t n) {
  if (n >= 0 && n < 7) BootType = n;
}

void mnuTenBug_Click() { MainForm->SetBugType(0); }
void mnuVmeBug_Click() { MainForm->SetBugType(1); }

void mnuDefaultFontFile_Click() {
  const std::string path = ChooseFile("OPEN", "FONTFILES");
  if (!path.empty()) FontFilename = path;
}

void mnuDefaultRomFile_Click() {
  const std::string path = ChooseFile("OPEN", "ROMFILES");
  if (!path.empty()) RomFilename = path;
}

void mnuDefaultBootFile_Click(int16_t index) {
  if (index < 0 || index > 1) return;
  const std::string path = ChooseFile("OPEN", "SRECBOOTFILES");
  if (!path.empty()) BootSrecFileName[static_cast<size_t>(index)] = path;
}

// ---- File items ----

LoadFileKind LoadFileKindOf(const std::string& path) {
  std::string ext = GetExtension(path);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (ext == ".MX" || ext == ".S19" || ext == ".SR") return LoadFileKind::Srec;
  if (ext == ".LO" || ext == ".SY") return LoadFileKind::LoadModule;
  if (ext == ".SYS" || ext == ".68K") return LoadFileKind::CpmCommand;
  return LoadFileKind::None;
}

VBool LoadMemoryFile(const std::string& path) { return RunLoader(LoadFileKindOf(path), path, False); }

VBool LoadRomImageFile(const std::string& path) {
  const LoadFileKind kind = LoadFileKindOf(path);
  const std::string name = Utf8ToCp1252(path);
  if (kind == LoadFileKind::None) {
    Box("Can NOT load a ROM from this kind of file - the ROM is unchanged" + std::string(CrLf) + CrLf + name +
            CrLf + CrLf + "Choose an S-record (.S19 .SR .MX), load module (.LO .SY) or CP/M (.SYS .68K) file",
        "Load Rom");
    return False;
  }
  if (!LoadIntoRomImage([&] { return RunLoader(kind, path, True); })) {
    Box("ROM file NOT loaded - the previous ROM is kept" + std::string(CrLf) + CrLf + name, "Load Rom");
    return False;
  }
  ReloadRom();
  return True;
}

void mnuLoadMemory_Click() {
  const std::string path = ChooseFile("OPEN", "LOADFILES");
  if (!path.empty()) QueueLoad(false, path);
}

void mnuLoadRom_Click() {
  const std::string path = ChooseFile("OPEN", "ROMFILES");
  if (!path.empty()) QueueLoad(true, path);
}

bool mnuDLOAD_Click() {
  if (DloadFileOpen) {
    CloseDloadFile();
    return true;
  }
  const std::string path = ChooseFile("open", "dload");
  if (!path.empty()) OpenDloadFile(path, CommonDialog1.FileTitle);
  return false;
}

bool mnuUload_Click() {
  if (UloadFileOpen) {
    CloseUloadFile();
    return true;
  }
  const std::string path = ChooseFile("save", "uload");
  if (path.empty()) return false;
  if (DialogReadOnly()) {
    UloadFilePath = path;
    UloadFileTitle = CommonDialog1.FileTitle;
    Box("File is read only", "Error Opening OUTput file");
    return false;
  }
  // Made anew and empty: an existing file of that name loses its old bytes, a
  // link goes and its target stays.
  OpenUloadFile(path, CommonDialog1.FileTitle);
  return false;
}

// ---- Disks items ----

void mnuDisk_Click(int16_t n) {
  if (n < 0 || n >= UsedDrives) return;
  DriveEntry& d = DriveTable[static_cast<size_t>(n)];
  if (d.Mounted) {
    EjectDisk(n);
    return;
  }
  const std::string path = ChooseFile("OPEN", "DRV0" + std::to_string(n));
  if (path.empty()) return;
  d.ReadOnly = DialogReadOnly() != 0;
  d.FilePath = path;
  d.FileTitle = CommonDialog1.FileTitle;
  InsertDisk(n);
}

}  // namespace korva
