// The emulator's CP/M disk controller (F1A200-F1A21F): the guest selects a
// drive, a track (or a linear track), a side and a 128-byte CP/M record, and one
// command moves that record between memory and the physical sector that holds
// it. 16-bit registers at even offsets; only word writes reach them.
#pragma once
#include <cstdint>

#include "disk/SectorController.h"

namespace korva {

class classCpmDiskController : public SectorController {
 public:
  static constexpr uint16_t kReadRecord = 1;
  static constexpr uint16_t kWriteRecord = 2;
  static constexpr size_t kRecordSize = 128;

  uint16_t Reg(uint32_t offset);
  void Reg(uint32_t offset, uint16_t value);

 private:
  // Byte offset of the record within its physical sector; -1 when the image's
  // sector size cannot hold whole records here.
  int32_t RecordPosition() const;
  void ReadCommand();
  void WriteCommand();

  int16_t linearTrack_ = 0;
  int32_t physicalSector_ = 0;
  uint8_t buffer_[kRecordSize] = {};
};

extern classCpmDiskController CpmDC;

}  // namespace korva
