// The drive table: four drives (HD00, HD01, FD02, FD03), each holding at most one
// image file of either kind, their insertion and ejection, and the 256-byte
// logical-sector (LSN) access used by the boot code, the get/put-boot window and
// the logical-sector device.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include "disk/DiskImage.h"
#include "disk/IMDfile.h"
#include "disk/RawFile.h"

namespace korva {

// A drive number: the slot in DriveTable, also the controllers' unit number.
using DriveNumber = int16_t;

constexpr int DriveSlots = 6;    // slots 4 and 5 exist but are never named or mounted
constexpr int UsedDrives = 4;
constexpr int32_t LsnLimit = 0x7FFFFF;  // LSNs run from 0 to LsnLimit - 1

struct DriveEntry {
  std::string Name;       // "HD00" .. "FD03"
  std::string FilePath;   // host path of the image (UTF-8), set before insertion
  std::string FileTitle;  // the file's name as shown in the disk menu
  int16_t FileNumber = 0;
  bool Mounted = false;
  // Before insertion the user's request; afterwards true when the file could only
  // be read or the image reports itself read-only. Writes are refused while set.
  bool ReadOnly = false;
  bool IsIMD = false;
  std::unique_ptr<classIMDfile> Imd;
  bool IsRAW = false;
  std::unique_ptr<classRawFile> Raw;

  // The mounted image, of whichever kind, or nullptr.
  DiskImage* Image() const;
};

extern std::array<DriveEntry, DriveSlots> DriveTable;
// The one buffer of logical-sector transfers.
extern std::array<uint8_t, 256> SectorBuffer;
// Moves the 128-byte track-0 sectors of IMD images.
extern std::array<uint8_t, 128> RecordBuffer;

// Names slots 0-3 and empties them. Called once at start-up.
void InitDrives();
// "HD00", "0", "00" -> 0 ... "FD03", "3", "03" -> 3 (any case); otherwise -1.
DriveNumber GetDriveNumber(const std::string& text);
// Opens the slot's FilePath (read-only when ReadOnly is set) and mounts it.
void InsertDisk(DriveNumber drive);
// Writes out and closes the slot's file; the image object stays.
void EjectDisk(DriveNumber drive);

// Logical sector lsn (256 bytes) into SectorBuffer / from SectorBuffer.
bool ReadDiskSector(DriveNumber drive, int32_t lsn);
bool WriteDiskSector(DriveNumber drive, int32_t lsn);

// A linear track number split by the image's Order; -1 past the end or when empty.
int32_t GetTrackCylinder(DriveNumber drive, int32_t track);
int32_t GetTrackHead(DriveNumber drive, int32_t track);
// The physical sector that holds 128-byte CP/M record `record` of a track; -1 when
// the sector size is not 128, 256, 512 or 1024 or nothing is mounted.
int32_t GetCpmSector(DriveNumber drive, int32_t cylinder, int32_t head, int32_t record);

}  // namespace korva
