// Booting from the host side: a boot puts a program into memory, presets the
// registers and starts the processor, as a monitor's boot command would. The
// Boot menu picks the type (BootType) and the drive (BootDrive); "BO" boots and
// runs, "BH" boots and asks before running.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace korva {

// The menu item that started the boot: "BO" runs at once, "BH" asks first.
enum BootIndex : int16_t { kBootAndRun = 0, kBootAndHalt = 1 };

enum BootTypeCode : int16_t {
  kMotorolaDiskBoot = 0,
  kSimpleBoot = 1,
  kComplexBoot = 2,
  kSrecBoot = 3,
  kCpmBoot = 4,
  kVdosIplBoot = 5,
  kVdosLoadBoot = 6,
};

// True after "BH" when the user declined to run: "GO after BH" then starts the
// processor at CpuPC.
extern bool BootHalted;
extern std::string BootString;  // the last boot string accepted, trimmed
extern std::string CpmBootFileName, VdosBootFileName;

// The boot-string dialog, which the boot asks before a volume boot. Its window
// installs itself here; without one the boot is cancelled.
class BootStringAsker {
 public:
  virtual ~BootStringAsker() = default;
  // True on OK, with the text typed or chosen.
  virtual bool ShowBoot(std::string& /*bootText*/) { return false; }
};
extern BootStringAsker* BootStringDialog;  // never null
void SetBootStringDialog(BootStringAsker* dialog);  // nullptr restores the silent one

// The boot of the current BootType started from the menu item index.
void Boot(int16_t index);
void MotorolaDiskBoot(int16_t index);
void SimpleBoot(int16_t index);
void SrecBoot(int16_t index);
void CpmBoot(int16_t index);
void VdosBoot(int16_t index, bool useIplStart);
// D0-D7 and A0-A7 from BootDataRegs and BootAddressRegs.
void CopyBootRegisters();
// "GO after BH": starts the processor at CpuPC.
void GoAfterBootHalt();

// The fields of the volume ID sector (LSN 0 of a bootable disk) a boot uses.
struct VolumeIdSector {
  std::string VolumeId, Description, Version, Magic;
  uint32_t IplLsn = 0;
  uint16_t IplLength = 0;
  uint32_t IplLoadAddress = 0;
  uint32_t VersionLong = 0;
  uint32_t ConfigLsn = 0;
  uint8_t ConfigLength = 0;
  static VolumeIdSector From(const uint8_t* sector);
  // "MOTOROLA" or "EXORMACS", in any case.
  bool HasMagic() const;
};

// ---- The get/put boot window's transfers ----

// The window's field texts. Field checks colour a text red when it is bad.
struct GetPutFields {
  std::string Disk, LoadAddress, Blocks, StartLSN, AltBootPC, AltBootSP;
};
// A number field is good for 0-0xFFFFFF ("$" for hexadecimal); the disk field
// for HD00, HD01, FD02, FD03 or 0-3 in any case.
bool GetPutNumberGood(const std::string& text);
bool GetPutDiskGood(const std::string& text);
// The value of a good number field (0 for a bad one).
uint32_t GetPutValue(const std::string& text);
// The drive of a disk field: 0-3, or 0 when the text names none.
int16_t GetPutDrive(const std::string& text);
// The message of the bad fields, one line each in field order; empty when all are good.
std::string ValidateGetPutFields(const GetPutFields& fields);
// Read from Disk (toDisk false) or Write to Disk: copies Blocks sectors between
// the drive and memory; errors end in a box. Nothing happens with bad fields
// (the "Error in Input" box is shown).
void GetPutTransfer(const GetPutFields& fields, bool toDisk);
// "$" and the value in upper-case hexadecimal without leading zeros.
std::string GetPutText(uint32_t value);

}  // namespace korva
