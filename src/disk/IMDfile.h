// IMD disk images: a text comment, then one record per recorded track with its
// recording mode, sector count, sector size, numbering map, optional cylinder and
// head maps, and one data record per sector (normal data, compressed to one fill
// byte, or unavailable). The file is parsed once at insertion; afterwards the
// object answers position and per-sector questions. It never writes the file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "disk/DiskImage.h"

namespace korva {

// Sector size of an IMD size code: 0-6 give 128 << code, any other code 0.
int32_t SectorSizeFromCode(int32_t code);

struct ImdTrackRecord {
  bool Present = false;  // a record for this track index was read
  uint8_t Mode = 0;
  uint8_t Cylinder = 0;
  uint8_t Head = 0;       // bit 0 of the head byte
  bool CylinderMap = false;
  bool HeadMap = false;
  uint8_t SectorCount = 0;
  uint8_t SizeCode = 0;   // 0-7
  int16_t HeaderLength = 0;
};

struct ImdSectorEntry {
  uint8_t Number = 0;    // numbering-map byte
  uint8_t Cylinder = 0;  // cylinder-map byte
  uint8_t Head = 0;      // head-map byte
  uint8_t Type = 0;      // data record type
  uint8_t Fill = 0;      // fill byte of a compressed record
  int64_t DataOffset = 0;  // file offset of the byte after the type byte
};

class classIMDfile final : public DiskImage {
 public:
  classIMDfile();

  // The file's first four bytes, upper-cased, are "IMD ".
  bool IsIMDfile();
  // Parses the whole file: a pre-scan learns the head count, then the track table
  // is built.
  void ProcessIMDfile();

  static int16_t GetEncoding(int32_t mode);      // 0 FM, 1 MFM
  static int16_t GetTransferRate(int32_t mode);  // kbit/s

  // DiskImage
  bool RO() const override { return ro_; }
  std::string Comments() const override { return comment_; }
  int64_t MaxDataOnDisk() const override { return maxData_; }
  int32_t Cylinders() const override { return heads_ == 1 ? tracks_ : (tracks_ + 1) / 2; }
  int32_t Heads() const override { return heads_; }
  int32_t SPT() const override;
  int32_t SectorSize() const override;
  bool SetCylinder(int32_t cylinder) override;
  bool SetHead(int32_t head) override;
  bool SetSector(int32_t sector) override;
  int32_t RqCylinder() const override { return cylinder_; }
  void RqCylinder(int32_t cylinder) override { SetCylinder(cylinder); }
  int32_t RqHead() const override { return head_; }
  void RqHead(int32_t head) override { SetHead(head); }
  int32_t RqSector() const override { return sector_; }
  void RqSector(int32_t sector) override { sector_ = sector; }
  int64_t SectorOffset() const override;

  // Track-index position: index = cylinder x Heads + head.
  bool SetTrack(int32_t track);
  int32_t RqTrack() const { return track_; }
  void RqTrack(int32_t track) { SetTrack(track); }
  int32_t Tracks() const { return tracks_; }

  uint8_t IMDSectorType() const;  // data record type of the requested sector; 0 when not found
  uint8_t IMDSectorFill() const;  // its fill byte; 0 when not found
  uint8_t SectorSizeCode() const;
  uint8_t Density() const;
  uint8_t TransferRate() const;
  uint8_t DensityCode() const;       // the track's mode byte
  uint8_t TransferRateCode() const;  // the track's mode byte
  uint8_t AMSector() const { return static_cast<uint8_t>(sector_); }
  uint8_t AMCylinder() const;
  uint8_t AMHead() const;

  std::string DiskPreamble() const { return std::to_string(comment_.size()); }
  std::string TrackPreamble() const;
  std::string SectorPreamble() const { return "1"; }
  std::string DiskPostamble() const { return "0"; }
  std::string TrackPostamble() const { return "0"; }
  std::string SectorPostamble() const { return "0"; }

  bool UseSectorMap = true;
  bool UseHeadMap = false;
  bool UseCylinderMap = false;
  bool ErrorOnMissingData = false;

 private:
  const ImdTrackRecord* CurrentTrack() const;
  const ImdSectorEntry* FindSector() const;
  void UpdateTrack();

  std::string comment_;
  int32_t tracks_ = 0;
  int32_t heads_ = 1;
  int64_t maxData_ = 0;
  bool ro_ = false;
  std::vector<ImdTrackRecord> trackTable_;
  std::vector<std::vector<ImdSectorEntry>> sectors_;  // per track index, in recorded order
  int32_t track_ = 0, cylinder_ = 0, head_ = 0, sector_ = 0;
};

// Mounts the drive's open file as an IMD image; false when it is not one.
bool OpenIMDfile(int16_t drive);

}  // namespace korva
