#include "disk/CpmDiskController.h"

#include "disk/Drives.h"
#include "shell/MainFormHooks.h"

namespace korva {

classCpmDiskController CpmDC;

uint16_t classCpmDiskController::Reg(uint32_t offset) {
  offset &= 31;
  if (offset == 14) return static_cast<uint16_t>(linearTrack_);
  uint16_t value = 0;
  return ReadRegister(offset, value) ? value : 0;
}

void classCpmDiskController::Reg(uint32_t offset, uint16_t value) {
  offset &= 31;
  if (WriteRegister(offset, value)) return;
  switch (offset) {
    case 0: {
      const uint16_t command = TakeCommand(value);
      if (command == kReadRecord) ReadCommand();
      if (command == kWriteRecord) WriteCommand();
      break;
    }
    case 8:
      select_ = static_cast<int16_t>(value);
      if (!Image()) {
        status_ |= kBadDrive;
      } else if (select_ < 0) {
        status_ |= kBadSector;  // records are counted from 0 up
      } else {
        physicalSector_ = GetCpmSector(drive_, track_, side_, select_);
        SelectSector(physicalSector_);
      }
      break;
    case 14:
      if (!Image()) {
        status_ |= kBadDrive;
        break;
      }
      linearTrack_ = static_cast<int16_t>(value);
      SetTrack(static_cast<int16_t>(GetTrackCylinder(drive_, linearTrack_)));
      SetSide(static_cast<int16_t>(GetTrackHead(drive_, linearTrack_)));
      break;
    default:
      break;
  }
}

int32_t classCpmDiskController::RecordPosition() const {
  const DiskImage* image = Image();
  const int32_t size = image ? image->SectorSize() : 0;
  if (size != 128 && size != 256 && size != 512) return -1;
  const int32_t k = size / 128;
  const int32_t r = select_ - (image->Onebased() ? 1 : 0);
  return r < 0 ? -1 : (r % k) * 128;
}

void classCpmDiskController::ReadCommand() {
  if (status_ != 0 || !Image()) {
    status_ |= kFailed;
    return;
  }
  MainForm->SetDiskLight(0x00FF00);
  const int32_t position = RecordPosition();
  if (position < 0 || !ReadSectorData(buffer_, static_cast<size_t>(position), kRecordSize)) {
    status_ |= kFailed;
    return;
  }
  CopyToMemory(buffer_, kRecordSize);
}

void classCpmDiskController::WriteCommand() {
  if (status_ != 0 || !Image()) {
    status_ |= kFailed;
    return;
  }
  if (DriveReadOnly()) {
    status_ |= kReadOnly | kFailed;
    return;
  }
  if (!CopyFromMemory(buffer_, kRecordSize)) return;
  MainForm->SetDiskLight(0x0000FF);
  const int32_t position = RecordPosition();
  if (position < 0 || !WriteSectorData(buffer_, static_cast<size_t>(position), kRecordSize)) status_ |= kFailed;
}

}  // namespace korva
