#include "disk/SectorController.h"

#include <algorithm>

#include "disk/DeviceMemory.h"
#include "disk/Drives.h"

namespace korva {

DiskImage* SectorController::Image() const {
  if (drive_ < 0 || drive_ >= UsedDrives) return nullptr;
  const DriveEntry& d = DriveTable[static_cast<size_t>(drive_)];
  return d.Mounted ? d.Image() : nullptr;
}

bool SectorController::DriveReadOnly() const {
  return drive_ >= 0 && drive_ < UsedDrives && DriveTable[static_cast<size_t>(drive_)].ReadOnly;
}

bool SectorController::ReadRegister(uint32_t offset, uint16_t& value) {
  const DiskImage* image = Image();
  switch (offset) {
    case 0:  // the status, cleared by the read
      value = status_;
      status_ = 0;
      return true;
    case 2: value = static_cast<uint16_t>(drive_); return true;
    case 4: value = static_cast<uint16_t>(track_); return true;
    case 6: value = static_cast<uint16_t>(side_); return true;
    case 8: value = static_cast<uint16_t>(select_); return true;
    case 10: value = static_cast<uint16_t>(address_ >> 16); return true;
    case 12: value = static_cast<uint16_t>(address_); return true;
    case 20: value = image ? static_cast<uint16_t>(image->Cylinders()) : 0; return true;
    case 22: value = image ? static_cast<uint16_t>(image->Heads()) : 0; return true;
    case 24: value = image ? static_cast<uint16_t>(image->SPT()) : 0; return true;
    case 26: value = image ? static_cast<uint16_t>(image->SectorSize()) : 0; return true;
    default: return false;
  }
}

void SectorController::SetTrack(int16_t track) {
  track_ = track;
  DiskImage* image = Image();
  if (!image)
    status_ |= kBadDrive;
  else if (!image->SetCylinder(track))
    status_ |= kBadTrack;
}

void SectorController::SetSide(int16_t side) {
  side_ = side;
  DiskImage* image = Image();
  if (!image)
    status_ |= kBadDrive;
  else if (!image->SetHead(side))
    status_ |= kBadSide;
}

void SectorController::SelectSector(int32_t sector) {
  DiskImage* image = Image();
  if (!image)
    status_ |= kBadDrive;
  else if (!image->SetSector(sector))
    status_ |= kBadSector;
}

bool SectorController::WriteRegister(uint32_t offset, uint16_t value) {
  const int16_t v = static_cast<int16_t>(value);
  switch (offset) {
    case 2:
      if (v < 0 || v >= UsedDrives) {
        status_ |= kBadDrive;
        return true;
      }
      drive_ = v;
      if (!Image()) status_ |= kBadDrive;
      return true;
    case 4: SetTrack(v); return true;
    case 6: SetSide(v); return true;
    case 10: address_ = (address_ & 0xFFFF) | (static_cast<uint32_t>(value) << 16); return true;
    case 12: address_ = (address_ & 0xFFFF0000u) | value; return true;
    default: return false;
  }
}

uint16_t SectorController::TakeCommand(uint16_t value) {
  command_ = value;
  if (value == 1 || value == 2) return value;
  status_ = kUnknownCommand;
  return 0;
}

bool SectorController::CopyToMemory(const uint8_t* buf, size_t n) {
  DeviceMemoryAccess mem;
  for (size_t i = 0; i < n; ++i)
    if (!mem.WriteByte(address_ + static_cast<uint32_t>(i), buf[i])) {
      status_ |= kMemoryFault | kFailed;
      return false;
    }
  return true;
}

bool SectorController::CopyFromMemory(uint8_t* buf, size_t n) {
  DeviceMemoryAccess mem;
  for (size_t i = 0; i < n; ++i)
    if (!mem.ReadByte(address_ + static_cast<uint32_t>(i), buf[i])) {
      status_ |= kMemoryFault | kFailed;
      return false;
    }
  return true;
}

namespace {
// IMD record types that carry a sector of data in the file; the even ones
// (2-8) hold one fill byte instead.
bool CarriesData(uint8_t type) { return type == 1 || type == 3 || type == 5 || type == 7; }
bool Compressed(uint8_t type) { return type == 2 || type == 4 || type == 6 || type == 8; }
}  // namespace

bool SectorController::ReadSectorData(uint8_t* buf, size_t skip, size_t n) {
  DiskImage* image = Image();
  const int64_t offset = image ? image->SectorOffset() : -1;
  if (offset < 0) return false;
  const DriveEntry& d = DriveTable[static_cast<size_t>(drive_)];
  if (d.IsIMD) {
    const uint8_t type = d.Imd->IMDSectorType();
    if (Compressed(type)) {
      std::fill(buf, buf + n, d.Imd->IMDSectorFill());
      return true;
    }
    if (!CarriesData(type)) return false;
  }
  return image->ReadData(offset + static_cast<int64_t>(skip), buf, n);
}

bool SectorController::WriteSectorData(const uint8_t* buf, size_t skip, size_t n) {
  DiskImage* image = Image();
  const int64_t offset = image ? image->SectorOffset() : -1;
  if (offset < 0) return false;
  const DriveEntry& d = DriveTable[static_cast<size_t>(drive_)];
  if (d.IsIMD && !CarriesData(d.Imd->IMDSectorType())) return false;
  return image->WriteData(offset + static_cast<int64_t>(skip), buf, n);
}

}  // namespace korva
