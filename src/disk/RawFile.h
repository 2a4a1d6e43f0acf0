// Raw disk images: a host file of nothing but sector data, cylinder after
// cylinder. The geometry comes from a table of 20 disk types chosen by the file's
// length, and may be replaced by the geometry in the VersaDOS configuration area
// on the image. The class also creates blank images for the new-disk dialog.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "disk/DiskImage.h"

namespace korva {

// One row of the disk-type table.
struct RawDiskType {
  int32_t Heads = 0;
  int32_t Cylinders = 0;
  int32_t SPT = 0;
  int32_t T0SPT = 0;
  int32_t SectorSize = 0;
  int32_t T0SectorSize = 0;
  bool T0Differs = false;  // track 0 recorded at single density
  bool Floppy = false;
  bool Magic = false;      // the image carries the volume magic
  bool Onebased = false;
  int16_t Order = 0;
  int64_t Total = 0;       // bytes; computed when the table is built
  int32_t DiskPreamble = 0, DiskPostamble = 0;
  int32_t TrackPreamble = 0, TrackPostamble = 0;
  int32_t SectorPreamble = 0, SectorPostamble = 0;
  std::string Description;
  uint8_t Fill = 0;  // every byte of a newly created image
};

// Heads x cylinders x SPT x size plus every preamble and postamble, in 64 bits.
int64_t RawDiskTotal(const RawDiskType& row);

// The VersaDOS configuration-area fields the raw images use (big-endian in the sector).
struct ConfigurationArea {
  uint16_t AttrMask = 0;
  uint16_t AttrWord = 0;  // bit 4 clear: floppy; bit 13 clear: track 0 at single density
  uint8_t SPT = 0;
  uint8_t Heads = 0;
  uint16_t Cylinders = 0;
  uint16_t BytesPerSector = 0;

  static ConfigurationArea FromSector(const uint8_t* sector);
  bool Floppy() const { return !(AttrWord & 0x0010); }
  bool SingleDensityT0() const { return !(AttrWord & 0x2000); }
};

// What the creation of a blank image reports to, and asks of, the new-disk dialog.
class NewDiskProgress {
 public:
  virtual ~NewDiskProgress() = default;
  virtual void SetMinMAx(int32_t min, int32_t max) = 0;
  virtual void SetValue(int32_t value) = 0;
  virtual void ShowCount(int64_t bytes) = 0;
  virtual bool CancelRequested() = 0;
};

class classRawFile final : public DiskImage {
 public:
  static constexpr int16_t kMaxDiskTypes = 19;
  static constexpr int16_t kUndefinedDisk = 18;

  classRawFile();

  // Chooses the geometry by the file's length and confirms it with the volume
  // magic and the configuration area (asking the user where they disagree).
  bool IsRAWfile();
  // When the image was accepted, its row becomes the current geometry.
  void ProcessRAWfile();
  std::string GetCurrentDescription(int16_t row) const;
  static int16_t MaxDiskTypes() { return kMaxDiskTypes; }
  // -1: the current geometry's description; 0-19: that row's; else "Invalid".
  std::string Description(int16_t row) const;
  int16_t DriveType() const { return driveType_; }
  // Replaces row's geometry by the one in the configuration area in SectorBuffer.
  void ApplyConfigArea(int16_t row);
  // Creates a blank image of a row (0-17) filled with the row's fill byte.
  void CreateFile(int16_t row, const std::string& path, NewDiskProgress* progress = nullptr);
  const RawDiskType& Row(int16_t row) const { return table_[static_cast<size_t>(row)]; }

  bool T0SingleDensity() const { return cur_.T0Differs; }
  bool IsFloppy() const { return cur_.Floppy; }
  bool IsMagic() const { return cur_.Magic; }

  // DiskImage
  bool RO() const override { return false; }
  std::string Comments() const override { return cur_.Description; }
  int64_t MaxDataOnDisk() const override;
  int32_t Cylinders() const override { return cur_.Cylinders; }
  int32_t Heads() const override { return cur_.Heads; }
  int32_t SPT() const override;
  int32_t SectorSize() const override;
  bool SetCylinder(int32_t cylinder) override;
  bool SetHead(int32_t head) override;
  bool SetSector(int32_t sector) override;
  int32_t RqCylinder() const override { return cylinder_; }
  void RqCylinder(int32_t cylinder) override { cylinder_ = cylinder; }
  int32_t RqHead() const override { return head_; }
  void RqHead(int32_t head) override { head_ = head; }
  int32_t RqSector() const override;
  void RqSector(int32_t sector) override;
  int64_t SectorOffset() const override;

 private:
  bool OnTrack0Differs() const;
  void SelectDiskType(int16_t row);
  bool DescribeConfigArea(int16_t row, std::string& text);

  std::array<RawDiskType, kMaxDiskTypes + 1> table_;
  RawDiskType cur_;
  int16_t driveType_ = 0;
  bool accepted_ = false;
  int64_t fileLength_ = -1;
  int32_t cylinder_ = 0, head_ = 0, sectorIndex_ = 0;
};

// Mounts the drive's open file as a raw image; false when it is refused.
bool OpenRAWfile(int16_t drive);

}  // namespace korva
