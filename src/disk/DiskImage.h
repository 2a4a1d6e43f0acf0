// What every controller calls on a mounted disk image, of either kind (IMD or raw).
// The position (a requested cylinder, head and sector) lives in the image: the
// Set/Rq members change it and the per-track and per-sector members read it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "disk/HostFile.h"

namespace korva {

class DiskImage {
 public:
  virtual ~DiskImage() = default;

  // Host file of the image; set by the drive layer before the image is parsed.
  int16_t FileNumber() const { return fileNumber_; }
  void FileNumber(int16_t number) { fileNumber_ = number; }

  virtual bool RO() const = 0;                    // the image must not be written
  virtual std::string Comments() const = 0;
  virtual int64_t MaxDataOnDisk() const = 0;      // total bytes of sector data
  virtual int32_t Cylinders() const = 0;
  virtual int32_t Heads() const = 0;
  virtual int32_t SPT() const = 0;                // sectors per track of the requested track
  virtual int32_t SectorSize() const = 0;         // bytes per sector of the requested track

  // Sector numbers start at 1.
  bool Onebased() const { return onebased_; }
  void Onebased(bool value) { onebased_ = value; }
  // Linear track numbering: 0 heads alternate within a cylinder; 1 all cylinders
  // of head 0, then of head 1; 2 as 1 with head 1 from the last cylinder back.
  int16_t Order() const { return order_; }
  void Order(int16_t value) { order_ = value; }

  // Select one part of the position; true when it lies inside the image.
  virtual bool SetCylinder(int32_t cylinder) = 0;
  virtual bool SetHead(int32_t head) = 0;
  virtual bool SetSector(int32_t sector) = 0;
  // The same selection without a result, or the current value.
  virtual int32_t RqCylinder() const = 0;
  virtual void RqCylinder(int32_t cylinder) = 0;
  virtual int32_t RqHead() const = 0;
  virtual void RqHead(int32_t head) = 0;
  virtual int32_t RqSector() const = 0;
  virtual void RqSector(int32_t sector) = 0;

  // Zero-based file offset of the first data byte of the requested sector, or -1
  // when that position does not exist.
  virtual int64_t SectorOffset() const = 0;

  // Sector data in the image's host file, at the offsets the image gives: the
  // whole range or false (a range past the end of the file fails).
  bool ReadData(int64_t offset, void* buf, size_t len) const {
    HostError err;
    return ReadHostFile(fileNumber_, offset, buf, len, err);
  }
  bool WriteData(int64_t offset, const void* buf, size_t len) {
    HostError err;
    return WriteHostFile(fileNumber_, offset, buf, len, err);
  }
  // Length of the image's host file, or -1.
  int64_t FileLength() const {
    HostError err;
    return HostFileLength(fileNumber_, err);
  }

 protected:
  int16_t fileNumber_ = 0;
  bool onebased_ = true;
  int16_t order_ = 0;
};

}  // namespace korva
