#include "disk/LSNDIO.h"

#include "disk/DeviceMemory.h"
#include "disk/Drives.h"
#include "shell/MainFormHooks.h"

namespace korva {

classLSNDIO LsnDio;

namespace {
constexpr uint32_t kGreen = 0x00FF00;  // 0x00BBGGRR
constexpr uint32_t kRed = 0x0000FF;
}  // namespace

void classLSNDIO::Reg(uint32_t index, uint16_t value) {
  switch (index & 3) {
    case 0:
      blockAddress_ = (blockAddress_ & 0xFFFF) | (static_cast<uint32_t>(value) << 16);
      haveHigh_ = true;
      break;
    case 1:
      blockAddress_ = (blockAddress_ & 0xFFFF0000u) | value;
      haveLow_ = true;
      break;
    case 2:
      command_ = value;
      haveCommand_ = true;
      break;
    default:
      break;
  }
  if (haveHigh_ && haveLow_ && haveCommand_) {
    haveHigh_ = haveLow_ = haveCommand_ = false;
    ExecuteCommand();
  }
}

void classLSNDIO::ReadParamBlock() {
  DeviceMemoryAccess mem;
  uint8_t first = 0;
  uint16_t w[6] = {};
  bool ok = mem.ReadByte(blockAddress_, first);
  ok = mem.ReadByte(blockAddress_ + 1, drive_) && ok;
  for (int i = 0; i < 6; ++i) ok = mem.ReadWord(blockAddress_ + 4 + 2 * i, w[i]) && ok;
  buffer_ = (static_cast<uint32_t>(w[0]) << 16) | w[1];
  firstLsn_ = (static_cast<uint32_t>(w[2]) << 16) | w[3];
  count_ = w[4];
  if (!ok) Fail(kBlockError);
}

void classLSNDIO::ExecuteCommand() {
  Status = 0;
  ReadParamBlock();
  if (Status != 0) return;
  if (command_ == kRead) {
    MainForm->SetDiskLight(kGreen);
    ReadBlocks();
  } else if (command_ == kWrite) {
    MainForm->SetDiskLight(kRed);
    WriteBlocks();
  }
  PostStatus();
}

void classLSNDIO::ReadBlocks() {
  if (count_ == 0) return Fail(kBlockError);
  DeviceMemoryAccess mem;
  uint32_t address = buffer_;
  for (uint32_t i = 0; i < count_; ++i) {
    if (!ReadDiskSector(drive_, static_cast<int32_t>(firstLsn_ + i))) return Fail(kDriveError);
    for (uint32_t b = 0; b < SectorBuffer.size(); ++b)
      if (!mem.WriteByte(address + b, SectorBuffer[b])) return Fail(kMemoryError);
    address += 256;
  }
}

void classLSNDIO::WriteBlocks() {
  if (count_ == 0) return Fail(kBlockError);
  DeviceMemoryAccess mem;
  uint32_t address = buffer_;
  for (uint32_t i = 0; i < count_; ++i) {
    for (uint32_t b = 0; b < SectorBuffer.size(); ++b)
      if (!mem.ReadByte(address + b, SectorBuffer[b])) return Fail(kMemoryError);
    if (!WriteDiskSector(drive_, static_cast<int32_t>(firstLsn_ + i))) return Fail(kDriveError);
    address += 256;
  }
}

void classLSNDIO::PostStatus() {
  DeviceMemoryAccess mem;
  if (Status == 0)
    mem.WriteWord(blockAddress_ + 2, 0);
  else
    mem.WriteByte(blockAddress_ + 2, 0);
}

}  // namespace korva
