#include "disk/Boot.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "bus/BusState.h"
#include "bus/Loaders.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "disk/DiskSettings.h"
#include "disk/Drives.h"
#include "host/Host.h"
#include "shell/BootDrive.h"
#include "shell/FileDialog.h"
#include "shell/ShellSettings.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

bool BootHalted = false;
std::string BootString;
std::string CpmBootFileName, VdosBootFileName;

namespace {

BootStringAsker SilentAsker;
constexpr char CrLf[] = "\r\n";
constexpr uint32_t kBootStringAddress = 0x400;
constexpr uint32_t kConfigCopyAddress = 0x500;
constexpr size_t kMaxBootString = 127;

void Box(const std::string& text, const std::string& title) {
  Host().MessageBox(text, title, MsgButtons::OK, MsgIcon::Exclamation);
}

std::string DriveName(int16_t drive) {
  return drive >= 0 && drive < UsedDrives ? DriveTable[static_cast<size_t>(drive)].Name : std::string();
}

bool DriveMounted(int16_t drive) {
  return drive >= 0 && drive < UsedDrives && DriveTable[static_cast<size_t>(drive)].Mounted;
}

bool ReadBootSector(int16_t drive, int32_t lsn) {
  if (ReadDiskSector(drive, lsn)) return true;
  Box("Can NOT read LSN " + std::to_string(lsn) + " from " + DriveName(drive), "Error Reading Drive");
  return false;
}

bool MemoryFault(uint32_t address) {
  if (!FaultFlag) return false;
  Box("Memory Fault at " + HexLong(address), "Memory Fault");
  ClearBusFaults();
  return true;
}

// The sector buffer to memory from address on, byte by byte without force; the
// address wraps at 16 MB. False after a fault (reported).
bool StoreSector(uint32_t& address) {
  for (uint8_t b : SectorBuffer) {
    WriteMemory(address, True, b, False);
    if (MemoryFault(address)) return false;
    address = (address + 1) & 0xFFFFFF;
  }
  return true;
}

// The sector buffer from memory at address on, byte by byte.
bool FetchSector(uint32_t& address) {
  for (uint8_t& b : SectorBuffer) {
    b = static_cast<uint8_t>(ReadMemory(address, True));
    if (MemoryFault(address)) return false;
    address = (address + 1) & 0xFFFFFF;
  }
  return true;
}

uint32_t Long(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

std::string Chars(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// The boot's writes at 0x400-0x5FF (the boot string and the configuration copy)
// are forced, so they must never land on the ROM while it still overlays
// address 0: the boot is refused then.
bool LowMemoryIsRam() {
  for (uint32_t a = kBootStringAddress; a < kConfigCopyAddress + 256; a += 2)
    if (CellOf(a).Device != DcRam) return false;
  return true;
}

// The common end of every boot: SR, stack pointer and start address, the "BH"
// question, and the processor started.
void StartSequence(int16_t index, uint32_t sp, uint32_t pc, const std::string& info) {
  Cpu.SR(0x2700);
  CpuAReg[7] = sp;
  CpuPC = pc;
  if (index == kBootAndHalt) {
    const MsgAnswer a = Host().MessageBox(
        info + CrLf + CrLf + "Execute Code - SP=$" + HexLong(sp) + " PC=$" + HexLong(pc) + " ?", "Boot Halt",
        MsgButtons::OKCancel, MsgIcon::Question);
    if (a == MsgAnswer::Cancel) {
      BootHalted = true;
      return;
    }
    BootHalted = false;
  }
  Cpu.Execute(CpuPC);
}

}  // namespace

BootStringAsker* BootStringDialog = &SilentAsker;

void SetBootStringDialog(BootStringAsker* dialog) { BootStringDialog = dialog ? dialog : &SilentAsker; }

VolumeIdSector VolumeIdSector::From(const uint8_t* s) {
  VolumeIdSector v;
  v.VolumeId = Chars(s, 4);
  v.IplLsn = Long(s + 20);
  v.IplLength = static_cast<uint16_t>((s[24] << 8) | s[25]);
  v.IplLoadAddress = Long(s + 30);
  v.VersionLong = Long(s + 34);
  v.Description = Chars(s + 38, 20);
  v.Version = Chars(s + 58, 4);
  v.ConfigLsn = Long(s + 144);
  v.ConfigLength = s[148];
  v.Magic = Chars(s + 248, 8);
  return v;
}

bool VolumeIdSector::HasMagic() const {
  const std::string m = Upper(Magic);
  return m == "MOTOROLA" || m == "EXORMACS";
}

void CopyBootRegisters() {
  for (size_t i = 0; i < 8; ++i) {
    CpuDReg[i] = static_cast<uint32_t>(BootDataRegs[i]);
    CpuAReg[i] = static_cast<uint32_t>(BootAddressRegs[i]);
  }
}

void Boot(int16_t index) {
  switch (BootType) {
    case kMotorolaDiskBoot: MotorolaDiskBoot(index); break;
    case kSimpleBoot: SimpleBoot(index); break;
    case kSrecBoot: SrecBoot(index); break;
    case kCpmBoot: CpmBoot(index); break;
    case kVdosIplBoot: VdosBoot(index, true); break;
    case kVdosLoadBoot: VdosBoot(index, false); break;
    default: break;  // the complex boot does nothing
  }
}

void MotorolaDiskBoot(int16_t index) {
  const int16_t drive = BootDrive;
  if (!DriveMounted(drive)) return Box("Can NOT boot from Drive " + DriveName(drive), "Empty Drive");
  std::string text;
  if (!BootStringDialog->ShowBoot(text)) return;
  BootString = Trim(text);
  BootHalted = false;

  if (!ReadBootSector(drive, 0)) return;
  const VolumeIdSector vol = VolumeIdSector::From(SectorBuffer.data());
  if (!vol.HasMagic())
    return Box("Not a Motorola Bootable Disk " + std::string(CrLf) + "Drive = " + DriveName(drive), "No Magic");
  if (!LowMemoryIsRam())
    return Box("ROM is at address 0 - Can NOT boot" + std::string(CrLf) + "Drive = " + DriveName(drive),
               "Boot Error");

  std::array<uint8_t, 256> config{};
  uint16_t configWord = 0;
  if (vol.ConfigLength != 0) {
    if (!ReadBootSector(drive, static_cast<int32_t>(vol.ConfigLsn))) return;
    config = SectorBuffer;
    configWord = static_cast<uint16_t>((config[8] << 8) | config[9]);
  }

  uint32_t sp = 0, pc = 0;
  uint32_t address = vol.IplLoadAddress;
  for (uint32_t n = 0; n < vol.IplLength; ++n) {
    if (!ReadBootSector(drive, static_cast<int32_t>(vol.IplLsn + n))) return;
    if (n == 0) {
      sp = Long(&SectorBuffer[0]);
      pc = Long(&SectorBuffer[4]);
    }
    if (!StoreSector(address)) return;
  }

  CpuDReg[0] = static_cast<uint32_t>(static_cast<int32_t>(drive));
  CpuDReg[1] = 0;
  CpuDReg[2] = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int16_t>(configWord)));
  CpuDReg[3] = 0x4D453455;  // "ME4U"
  if (BugType == 0) CpuDReg[4] = 0x49504C03;
  if (BugType == 1) CpuDReg[4] = 0x49504C0C;
  CpuAReg[0] = 0xF1C0D1;
  CpuAReg[1] = vol.IplLoadAddress;
  for (uint32_t i = 0; i < 256; ++i) WriteMemory(kConfigCopyAddress + i, True, config[i], True);
  CpuAReg[2] = kConfigCopyAddress;
  CpuAReg[3] = 0xF00020;
  CpuAReg[4] = 0xF00040;
  CpuAReg[5] = kBootStringAddress;
  CpuAReg[6] = kBootStringAddress;
  if (!BootString.empty() && BootString.size() <= kMaxBootString) {
    for (size_t i = 0; i < BootString.size(); ++i)
      WriteMemory(kBootStringAddress + static_cast<uint32_t>(i), True, static_cast<uint8_t>(BootString[i]), True);
    CpuAReg[6] = kBootStringAddress + static_cast<uint32_t>(BootString.size());
  }
  StartSequence(index, sp, pc,
                "Boot Information" + std::string(CrLf) + "VolID = " + vol.VolumeId + CrLf + "VolDesc = " +
                    vol.Description + CrLf + "Version = " + vol.Version + " of " + HexLong(vol.VersionLong));
}

void SimpleBoot(int16_t index) {
  const int16_t drive = BootDrive;
  if (!DriveMounted(drive)) return Box("Can NOT boot from Drive " + DriveName(drive), "Empty Drive");
  BootHalted = false;
  const std::string question =
      "Simple Boot loads " + std::to_string(GetPutBootBlocks) + " LSNs starting at LSN " +
      std::to_string(GetPutBootLSN & 0xFFFFF) + " to memory at $" + HexLong(static_cast<uint32_t>(GetPutBootLoadAddress)) +
      CrLf + " SP=$" + HexLong(static_cast<uint32_t>(AlternateBootSP)) + " PC=$" +
      HexLong(static_cast<uint32_t>(AlternateBootPC)) + CrLf + "Would you like to Simple Boot?";
  if (Host().MessageBox(question, "Simple Boot", MsgButtons::YesNo, MsgIcon::Question) == MsgAnswer::No) return;
  uint32_t address = static_cast<uint32_t>(GetPutBootLoadAddress) & 0xFFFFFF;
  for (int32_t n = 0; n < GetPutBootBlocks; ++n) {
    const int32_t lsn = (GetPutBootLSN + n) & 0xFFFFF;
    if (!ReadBootSector(drive, lsn)) return;
    if (!StoreSector(address)) return;
  }
  CopyBootRegisters();
  StartSequence(index, static_cast<uint32_t>(AlternateBootSP), static_cast<uint32_t>(AlternateBootPC),
                "Simple Booted using Alternate Boot PC and Alternate Boot SP");
}

void SrecBoot(int16_t index) {
  BootHalted = false;
  if (BootSrecFileName[0].empty() && BootSrecFileName[1].empty())
    return Box("No Boot S-rec files defined!", "No Boot File");
  const uint32_t sp = static_cast<uint32_t>(AlternateBootSP);
  uint32_t pc = static_cast<uint32_t>(AlternateBootPC);
  std::string source = UseSrecStartAddress ? "Alternate Boot SP and PC (no valid last loaded Srec Start Address)"
                                           : "Alternate Boot SP and PC (Don't use last loaded Srec Start Address)";
  for (const std::string& name : BootSrecFileName) {
    if (name.empty()) continue;
    std::error_code ec;
    if (!std::filesystem::exists(name, ec))
      return Box(" Boot S-rec file does NOT exist!" + std::string(CrLf) + CrLf + name, "NO Boot File");
    if (!LoadSrecFile(name, False, True))
      return Box("Failed to load S-rec file!" + std::string(CrLf) + CrLf + name, "Error Loading Boot File");
    if (LoadStartValid && UseSrecStartAddress) {
      pc = LoadStartAddress;
      source = "Alternate Boot SP and Last loaded S-Rec Start Address";
    }
  }
  CopyBootRegisters();
  StartSequence(index, sp, pc,
                "S-Rec Booted, using " + source + CrLf + CrLf + "File 0 = " + BootSrecFileName[0] + CrLf +
                    "File 1 = " + BootSrecFileName[1]);
}

void CpmBoot(int16_t index) {
  CpmBootFileName = OpenSaveDialog("", "OPEN", "CPMBOOTFILES", 0, "Default");
  if (CpmBootFileName.empty()) return;
  BootHalted = false;
  const uint32_t sp = static_cast<uint32_t>(AlternateBootSP);
  uint32_t pc = static_cast<uint32_t>(AlternateBootPC);
  std::string source = UseCpmFileStartAddress ? "Alternate Boot SP and PC (No valid loaded Start Address)"
                                              : "Alternate Boot SP and PC (Don't use loaded Start Address)";
  if (!LoadCpmCommandFile(CpmBootFileName, False))
    return Box("Failed to load CPM Command File file!" + std::string(CrLf) + CrLf + CpmBootFileName + CrLf + CrLf +
                   " CPU IS STOPPED - RESET or DEBUG!",
               "Error Loading Boot File");
  if (LoadStartValid && UseCpmFileStartAddress) {
    pc = LoadStartAddress;
    source = "Alternate Boot SP and Loaded CPM Command File Start Address";
  }
  CopyBootRegisters();
  StartSequence(index, sp, pc, "CPM Command File Booted, using " + source + CrLf + CrLf + "File = " + CpmBootFileName);
}

void VdosBoot(int16_t index, bool useIplStart) {
  VdosBootFileName = OpenSaveDialog("", "OPEN", "VDOSBOOTFILES", 0, "Default");
  if (VdosBootFileName.empty()) return;
  uint32_t sp = static_cast<uint32_t>(AlternateBootSP);
  BootHalted = false;
  if (!LoadVersadosLoadModule(VdosBootFileName, False))
    return Box("Failed to load VersaDOS Load Module!" + std::string(CrLf) + CrLf + VdosBootFileName + CrLf + CrLf +
                   " CPU IS STOPPED - RESET or DEBUG!",
               "Error Loading Boot File");
  uint32_t pc;
  std::string source;
  if (useIplStart) {
    sp = LoadIplSP;
    pc = LoadIplPC;
    source = "IPL SP and IPL PC";
  } else {
    pc = LoadStartAddress;
    source = "Alternate Boot SP and Entrypoint of Load Module";
  }
  CopyBootRegisters();
  StartSequence(index, sp, pc, "VersaDOS Load Module Booted, using " + source + CrLf + CrLf + "File = " + VdosBootFileName);
}

void GoAfterBootHalt() {
  BootHalted = false;
  Cpu.Execute(CpuPC);
}

// ---- the get/put boot window ----

namespace {

std::optional<int64_t> FieldValue(const std::string& text) {
  const auto v = ParseNumber(std::string_view(text));
  if (!v || *v < -9.2e18 || *v > 9.2e18 || *v != static_cast<double>(static_cast<int64_t>(*v))) return std::nullopt;
  return static_cast<int64_t>(*v);
}

}  // namespace

bool GetPutNumberGood(const std::string& text) {
  const auto v = FieldValue(text);
  return v && *v >= 0 && *v <= 0xFFFFFF;
}

uint32_t GetPutValue(const std::string& text) {
  return GetPutNumberGood(text) ? static_cast<uint32_t>(*FieldValue(text)) : 0;
}

bool GetPutDiskGood(const std::string& text) {
  const std::string u = Upper(text);
  for (const char* ok : {"HD00", "HD01", "FD02", "FD03", "0", "1", "2", "3"})
    if (u == ok) return true;
  return false;
}

int16_t GetPutDrive(const std::string& text) {
  const DriveNumber d = GetDriveNumber(text);
  return d >= 0 && d < UsedDrives ? d : 0;
}

std::string ValidateGetPutFields(const GetPutFields& f) {
  std::string m;
  if (!GetPutDiskGood(f.Disk)) m += "Bad Disk, must be HD00,HD01,FD02,FD03 (or 0-3)\r\n";
  if (!GetPutNumberGood(f.LoadAddress)) m += "Bad Address, must be 0 > Address < $FFFFFF\r\n";
  if (!GetPutNumberGood(f.StartLSN)) m += "Bad LSN, must be 0 > LSN < $FFFFFF\r\n";
  if (!GetPutNumberGood(f.Blocks)) m += "Bad Blocks, must be 0 > Blocks < $FFFFFF\r\n";
  if (!GetPutNumberGood(f.AltBootPC)) m += "Bad Address, must be 0 > Address < $FFFFFF\r\n";
  if (!GetPutNumberGood(f.AltBootSP)) m += "Bad Address, must be 0 > Address < $FFFFFF\r\n";
  return m;
}

void GetPutTransfer(const GetPutFields& f, bool toDisk) {
  const std::string bad = ValidateGetPutFields(f);
  if (!bad.empty()) return Box(bad, "Error in Input");
  struct Busy {
    Busy() { Host().BeginBusy(); }
    ~Busy() { Host().EndBusy(); }
  } busy;
  PumpEvents();
  uint32_t address = GetPutValue(f.LoadAddress) & 0xFFFFFF;
  const uint32_t blocks = GetPutValue(f.Blocks);
  const uint32_t first = GetPutValue(f.StartLSN);
  const int16_t drive = GetPutDrive(f.Disk);
  for (uint32_t i = 0; i < blocks; ++i) {
    const int32_t lsn = static_cast<int32_t>((first + i) & 0xFFFFFF);
    if (!toDisk) {
      if (!ReadBootSector(drive, lsn)) return;
      if (!StoreSector(address)) return;
    } else {
      if (!FetchSector(address)) return;
      if (!WriteDiskSector(drive, lsn))
        return Box("Can NOT Write LSN " + std::to_string(lsn) + " to " + DriveName(drive), "Error Writing Drive");
    }
  }
}

std::string GetPutText(uint32_t value) { return "$" + HexLongTrim(value); }

}  // namespace korva
