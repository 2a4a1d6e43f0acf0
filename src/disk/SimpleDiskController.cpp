#include "disk/SimpleDiskController.h"

#include "disk/Drives.h"
#include "shell/MainFormHooks.h"

namespace korva {

classSimpleDiskController SimpleDC;

uint16_t classSimpleDiskController::Reg(uint32_t offset) {
  uint16_t value = 0;
  return ReadRegister(offset & 31, value) ? value : 0;
}

void classSimpleDiskController::Reg(uint32_t offset, uint16_t value) {
  offset &= 31;
  if (WriteRegister(offset, value)) return;
  if (offset == 8) {
    select_ = static_cast<int16_t>(value);
    SelectSector(select_);
  } else if (offset == 0) {
    const uint16_t command = TakeCommand(value);
    if (command == kReadSector) ReadCommand();
    if (command == kWriteSector) WriteCommand();
  }
}

// The transfer size: the sector size of the selected drive's current track.
bool classSimpleDiskController::SelectDrive() {
  const DiskImage* image = Image();
  const int32_t size = image ? image->SectorSize() : 0;
  if (size <= 0) return false;
  buffer_.assign(static_cast<size_t>(size), 0);
  return true;
}

void classSimpleDiskController::ReadCommand() {
  if (status_ != 0 || !Image() || !SelectDrive()) {
    status_ |= kFailed;
    return;
  }
  MainForm->SetDiskLight(0x00FF00);
  if (!ReadSectorData(buffer_.data(), 0, buffer_.size())) {
    status_ |= kFailed;
    return;
  }
  CopyToMemory(buffer_.data(), buffer_.size());
}

void classSimpleDiskController::WriteCommand() {
  if (status_ != 0 || !Image()) {
    status_ |= kFailed;
    return;
  }
  if (DriveReadOnly()) {
    status_ |= kReadOnly | kFailed;
    return;
  }
  if (!SelectDrive()) {
    status_ |= kFailed;
    return;
  }
  if (!CopyFromMemory(buffer_.data(), buffer_.size())) return;
  MainForm->SetDiskLight(0x0000FF);
  if (Image()->SectorOffset() < 0) {
    // The guest reached a position the image does not have.
    status_ |= kBadSector | kFailed;
    return;
  }
  if (!WriteSectorData(buffer_.data(), 0, buffer_.size())) status_ |= kFailed;
}

}  // namespace korva
