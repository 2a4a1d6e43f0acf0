// What the emulator's simple and CP/M disk controllers share: a window of 16-bit
// registers selecting a drive, a position on its image and a memory address, a
// status byte that accumulates until read, and byte-wise transfers to and from
// guest memory that report faults through the status.
#pragma once
#include <cstddef>
#include <cstdint>

#include "disk/DiskImage.h"

namespace korva {

class SectorController {
 public:
  // Status bits.
  static constexpr uint16_t kFailed = 0x80;
  static constexpr uint16_t kReadOnly = 0x40;
  static constexpr uint16_t kMemoryFault = 0x20;
  static constexpr uint16_t kBadTrack = 0x10;
  static constexpr uint16_t kBadSide = 0x08;
  static constexpr uint16_t kBadSector = 0x04;
  static constexpr uint16_t kBadDrive = 0x02;
  static constexpr uint16_t kUnknownCommand = 0x01;

 protected:
  // The selected drive's image when it is mounted as IMD or raw, else nullptr.
  DiskImage* Image() const;
  bool DriveReadOnly() const;
  // Reads of the status (which the read clears), drive, position, address and
  // geometry registers; false for offsets these do not cover.
  bool ReadRegister(uint32_t offset, uint16_t& value);
  // Writes of the drive (2), track (4), side (6) and address (10, 12) registers;
  // false for other offsets.
  bool WriteRegister(uint32_t offset, uint16_t value);
  void SetTrack(int16_t track);
  void SetSide(int16_t side);
  void SelectSector(int32_t sector);
  // Byte-wise copies between the address register's memory and buf; a fault
  // sets the memory-fault and failed bits and stops (bytes moved stay moved).
  bool CopyToMemory(const uint8_t* buf, size_t n);
  // A write of the command register: 1 (read) or 2 (write) for the caller to
  // run; any other value leaves the status at exactly "unknown command" and gives 0.
  uint16_t TakeCommand(uint16_t value);
  bool CopyFromMemory(uint8_t* buf, size_t n);
  // n bytes of the requested sector from skip on: record data from the file, a
  // compressed record's fill byte; false (nothing moved) for a missing position,
  // a record without data or a host error.
  bool ReadSectorData(uint8_t* buf, size_t skip, size_t n);
  // n bytes into the requested sector at skip; only records that carry data.
  bool WriteSectorData(const uint8_t* buf, size_t skip, size_t n);

  uint16_t status_ = 0;
  int16_t drive_ = 0;
  int16_t track_ = 0;
  int16_t side_ = 0;
  int16_t select_ = 0;  // offset 8: the sector (simple) or the CP/M record
  uint16_t command_ = 0;
  uint32_t address_ = 0;
};

}  // namespace korva
