#include "disk/IMDfile.h"
#include <algorithm>
#include <memory>
#include "disk/Drives.h"
#include "host/Host.h"

namespace korva {

namespace {

constexpr char CrLf[] = "\r\n";

void ShowHostError(const HostError& err, const char* title) {
  Host().MessageBox("Error=" + std::to_string(err.Number) + CrLf + err.Description, title, MsgButtons::OK,
                    MsgIcon::None);
}

// Sequential reading of the image file through positioned reads of large blocks.
class ImageReader {
 public:
  explicit ImageReader(int16_t file) : file_(file) { length_ = HostFileLength(file, error_); }
  bool Failed() const { return length_ < 0 || failed_; }
  const HostError& Error() const { return error_; }
  int64_t Pos() const { return pos_; }
  bool AtEnd() const { return pos_ >= length_; }

  // The next byte; false at the end of the file or on a host error.
  bool Next(uint8_t& b) {
    if (pos_ >= length_ || failed_) return false;
    if (pos_ < blockStart_ || pos_ >= blockStart_ + static_cast<int64_t>(block_.size())) {
      const int64_t n = std::min<int64_t>(kBlock, length_ - pos_);
      block_.resize(static_cast<size_t>(n));
      if (!ReadHostFile(file_, pos_, block_.data(), block_.size(), error_)) {
        failed_ = true;
        return false;
      }
      blockStart_ = pos_;
    }
    b = block_[static_cast<size_t>(pos_ - blockStart_)];
    ++pos_;
    return true;
  }
  // Passes over n bytes; false when the file ends first.
  bool Skip(int64_t n) {
    if (failed_ || n > length_ - pos_) {
      pos_ = std::max(pos_, length_);
      return false;
    }
    pos_ += n;
    return true;
  }
  void Rewind() { pos_ = 0; }

 private:
  static constexpr int64_t kBlock = 64 * 1024;
  int16_t file_;
  int64_t length_ = -1;
  int64_t pos_ = 0;
  bool failed_ = false;
  HostError error_;
  std::vector<uint8_t> block_;
  int64_t blockStart_ = 0;
};

bool EndsComment(uint8_t b) { return b == 0x1A || b < 0x07 || b >= 0x80; }

// Passes over the comment; with text, collects it (0x1A excluded, any other
// ending byte included). False when the file ends inside the comment.
bool ReadComment(ImageReader& r, std::string* text) {
  uint8_t b = 0;
  while (r.Next(b)) {
    if (EndsComment(b)) {
      if (text && b != 0x1A) text->push_back(static_cast<char>(b));
      return true;
    }
    if (text) text->push_back(static_cast<char>(b));
  }
  return false;
}

struct ParsedTrack {
  ImdTrackRecord Record;
  std::vector<ImdSectorEntry> Sectors;
};

enum class RecordStatus { Ok, End, Truncated, Error };

bool IsNormalData(uint8_t type) { return type >= 1 && type <= 8 && (type & 1); }
bool IsCompressed(uint8_t type) { return type >= 2 && type <= 8 && !(type & 1); }

RecordStatus ReadTrackRecord(ImageReader& r, ParsedTrack& t) {
  if (r.AtEnd()) return r.Failed() ? RecordStatus::Error : RecordStatus::End;
  auto fail = [&r] { return r.Failed() ? RecordStatus::Error : RecordStatus::Truncated; };
  uint8_t header[5];
  for (uint8_t& b : header)
    if (!r.Next(b)) return fail();
  t.Record = ImdTrackRecord{};
  t.Record.Present = true;
  t.Record.Mode = header[0];
  t.Record.Cylinder = header[1];
  t.Record.Head = header[2] & 1;
  t.Record.CylinderMap = (header[2] & 0x80) != 0;
  t.Record.HeadMap = (header[2] & 0x40) != 0;
  t.Record.SectorCount = header[3];
  t.Record.SizeCode = header[4] & 7;
  const int count = header[3];
  t.Record.HeaderLength =
      static_cast<int16_t>(5 + count + (t.Record.CylinderMap ? count : 0) + (t.Record.HeadMap ? count : 0));
  t.Sectors.assign(static_cast<size_t>(count), ImdSectorEntry{});
  for (auto& s : t.Sectors)
    if (!r.Next(s.Number)) return fail();
  if (t.Record.CylinderMap)
    for (auto& s : t.Sectors)
      if (!r.Next(s.Cylinder)) return fail();
  if (t.Record.HeadMap)
    for (auto& s : t.Sectors)
      if (!r.Next(s.Head)) return fail();
  const int64_t size = SectorSizeFromCode(t.Record.SizeCode);
  for (auto& s : t.Sectors) {
    if (!r.Next(s.Type)) return fail();
    s.DataOffset = r.Pos();
    if (IsNormalData(s.Type)) {
      if (!r.Skip(size)) return fail();
    } else if (IsCompressed(s.Type)) {
      if (!r.Next(s.Fill)) return fail();
    }
  }
  return RecordStatus::Ok;
}

bool MakesReadOnly(uint8_t type) { return type == 0 || IsCompressed(type); }

}  // namespace

int32_t SectorSizeFromCode(int32_t code) { return (code >= 0 && code <= 6) ? (128 << code) : 0; }

classIMDfile::classIMDfile() {
  onebased_ = true;
  order_ = 2;
}

int16_t classIMDfile::GetEncoding(int32_t mode) { return (mode >= 3 && mode <= 5) ? 1 : 0; }

int16_t classIMDfile::GetTransferRate(int32_t mode) {
  static constexpr int16_t kRates[6] = {500, 300, 250, 500, 300, 250};
  return (mode >= 0 && mode <= 5) ? kRates[mode] : 0;
}

bool classIMDfile::IsIMDfile() {
  if (fileNumber_ == 0) return false;
  uint8_t sig[4] = {};
  HostError err;
  if (!ReadHostFileZeroFill(fileNumber_, 0, sig, sizeof sig, err)) {
    ShowHostError(err, "Error Testing for IMD file");
    return false;
  }
  auto upper = [](uint8_t c) { return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 32) : c; };
  return upper(sig[0]) == 'I' && upper(sig[1]) == 'M' && upper(sig[2]) == 'D' && sig[3] == ' ';
}

void classIMDfile::ProcessIMDfile() {
  if (fileNumber_ == 0) return;
  // Pre-scan: the head count, the data total and the read-only state.
  maxData_ = 0;
  heads_ = 1;
  comment_.clear();
  {
    ImageReader r(fileNumber_);
    if (r.Failed()) return ShowHostError(r.Error(), "Error Getting IMD file info");
    if (ReadComment(r, nullptr)) {
      int32_t highest = -1;
      ParsedTrack t;
      while (highest <= 255) {
        const RecordStatus st = ReadTrackRecord(r, t);
        if (st == RecordStatus::End) break;
        if (st == RecordStatus::Error) return ShowHostError(r.Error(), "Error Getting IMD file info");
        if (st == RecordStatus::Truncated) {
          ro_ = true;  // a record cut short: the image is kept as it is
          break;
        }
        if (t.Record.Head) heads_ = 2;
        highest = std::max<int32_t>(highest, t.Record.Cylinder * heads_ + t.Record.Head);
        for (const auto& s : t.Sectors) {
          if (MakesReadOnly(s.Type)) ro_ = true;
          maxData_ += SectorSizeFromCode(t.Record.SizeCode);
        }
      }
    }
  }
  // Parse with the head count known, so that every track index is final; the
  // track table is sized from the indexes actually met.
  ImageReader r(fileNumber_);
  if (r.Failed()) return ShowHostError(r.Error(), "Error Proccessing for IMD file");
  std::vector<std::pair<int32_t, ParsedTrack>> parsed;
  bool hostError = false;
  if (ReadComment(r, &comment_)) {
    ParsedTrack t;
    for (;;) {
      const RecordStatus st = ReadTrackRecord(r, t);
      if (st == RecordStatus::End) break;
      if (st == RecordStatus::Error) {
        hostError = true;
        break;
      }
      if (st == RecordStatus::Truncated) {
        ro_ = true;
        break;
      }
      const int32_t index = t.Record.Cylinder * heads_ + t.Record.Head;
      for (const auto& s : t.Sectors)
        if (MakesReadOnly(s.Type)) ro_ = true;
      parsed.emplace_back(index, std::move(t));
      if (index > 255) break;
    }
  }
  int32_t highest = -1;
  for (const auto& [index, t] : parsed) highest = std::max(highest, index);
  tracks_ = highest + 1;
  trackTable_.assign(static_cast<size_t>(tracks_), ImdTrackRecord{});
  sectors_.assign(static_cast<size_t>(tracks_), {});
  for (auto& [index, t] : parsed) {
    trackTable_[static_cast<size_t>(index)] = t.Record;
    sectors_[static_cast<size_t>(index)] = std::move(t.Sectors);
  }
  for (int32_t i = 0; i < tracks_; ++i)
    if (sectors_[static_cast<size_t>(i)].empty()) ro_ = true;  // missing track, or one without sectors
  track_ = cylinder_ = head_ = 0;
  if (hostError) ShowHostError(r.Error(), "Error Proccessing for IMD file");
}

const ImdTrackRecord* classIMDfile::CurrentTrack() const {
  if (track_ < 0 || track_ >= tracks_) return nullptr;
  const ImdTrackRecord& t = trackTable_[static_cast<size_t>(track_)];
  return t.Present ? &t : nullptr;
}

const ImdSectorEntry* classIMDfile::FindSector() const {
  // Sector lookups cover track indexes 0-255.
  if (!CurrentTrack() || track_ > 255) return nullptr;
  const auto& list = sectors_[static_cast<size_t>(track_)];
  if (UseSectorMap) {
    for (const auto& s : list)
      if (s.Number == sector_) return &s;
    return nullptr;
  }
  if (sector_ < 0 || sector_ >= static_cast<int32_t>(list.size())) return nullptr;
  return &list[static_cast<size_t>(sector_)];
}

// The current track follows cylinder and head only while both are inside the
// image; otherwise it is one past the end, so that nothing is found.
void classIMDfile::UpdateTrack() {
  const bool valid = cylinder_ >= 0 && cylinder_ < Cylinders() && head_ >= 0 && head_ < heads_;
  track_ = valid ? cylinder_ * heads_ + head_ : tracks_;
}

bool classIMDfile::SetTrack(int32_t track) {
  const bool valid = track >= 0 && track < tracks_;
  track_ = valid ? track : tracks_;
  cylinder_ = track_ / heads_;
  head_ = track_ % heads_;
  if (!valid) track_ = tracks_;
  return valid;
}

bool classIMDfile::SetCylinder(int32_t cylinder) {
  const bool valid = cylinder >= 0 && cylinder < Cylinders();
  cylinder_ = valid ? cylinder : Cylinders();
  UpdateTrack();
  return valid;
}

bool classIMDfile::SetHead(int32_t head) {
  const bool valid = head >= 0 && head < heads_;
  head_ = valid ? head : heads_;
  UpdateTrack();
  return valid;
}

bool classIMDfile::SetSector(int32_t sector) {
  sector_ = sector;
  return FindSector() != nullptr;
}

int64_t classIMDfile::SectorOffset() const {
  const ImdSectorEntry* s = FindSector();
  return s ? s->DataOffset : -1;
}

uint8_t classIMDfile::IMDSectorType() const {
  const ImdSectorEntry* s = FindSector();
  return s ? s->Type : 0;
}

uint8_t classIMDfile::IMDSectorFill() const {
  const ImdSectorEntry* s = FindSector();
  return s ? s->Fill : 0;
}

int32_t classIMDfile::SPT() const {
  const ImdTrackRecord* t = CurrentTrack();
  return t ? t->SectorCount : 0;
}

int32_t classIMDfile::SectorSize() const {
  const ImdTrackRecord* t = CurrentTrack();
  return t ? SectorSizeFromCode(t->SizeCode) : 0;
}

uint8_t classIMDfile::SectorSizeCode() const {
  const ImdTrackRecord* t = CurrentTrack();
  return t ? t->SizeCode : 0;
}

uint8_t classIMDfile::Density() const {
  const ImdTrackRecord* t = CurrentTrack();
  if (!t || t->Mode > 5) return 0;
  return t->Mode < 3 ? 1 : 2;
}

uint8_t classIMDfile::TransferRate() const {
  const ImdTrackRecord* t = CurrentTrack();
  if (!t || t->Mode > 5) return 0;
  return static_cast<uint8_t>(8 - t->Mode % 3);
}

uint8_t classIMDfile::DensityCode() const {
  const ImdTrackRecord* t = CurrentTrack();
  return t ? t->Mode : 0;
}

uint8_t classIMDfile::TransferRateCode() const { return DensityCode(); }

uint8_t classIMDfile::AMCylinder() const {
  const ImdSectorEntry* s = FindSector();
  if (!s) return 0;
  return (CurrentTrack()->CylinderMap && UseCylinderMap) ? s->Cylinder : static_cast<uint8_t>(cylinder_);
}

uint8_t classIMDfile::AMHead() const {
  const ImdSectorEntry* s = FindSector();
  if (!s) return 0;
  return (CurrentTrack()->HeadMap && UseHeadMap) ? s->Head : static_cast<uint8_t>(head_);
}

std::string classIMDfile::TrackPreamble() const {
  const ImdTrackRecord* t = CurrentTrack();
  return std::to_string(t ? t->HeaderLength : 0);
}

namespace {

// Encoding, rate, sector count and size of one track for the mount box.
std::string TrackSummary(classIMDfile& imd, int32_t cylinder) {
  imd.SetHead(0);
  imd.SetCylinder(cylinder);
  const bool present = imd.SPT() > 0 || imd.DensityCode() != 0 || imd.SectorSize() != 0;
  const int32_t mode = imd.DensityCode();
  std::string text = classIMDfile::GetEncoding(mode) ? " Encoding - MFM " : " Encoding - FM ";
  text += " Transfer Rate-" + std::to_string(present ? classIMDfile::GetTransferRate(mode) : 0) + CrLf;
  text += " SPT-" + std::to_string(imd.SPT()) + "  Sector Size-" + std::to_string(imd.SectorSize()) + CrLf;
  return text;
}

}  // namespace

bool OpenIMDfile(int16_t drive) {
  if (drive < 0 || drive >= DriveSlots) return false;
  DriveEntry& d = DriveTable[static_cast<size_t>(drive)];
  d.Imd = std::make_unique<classIMDfile>();
  d.Imd->FileNumber(d.FileNumber);
  d.IsIMD = d.Imd->IsIMDfile();
  if (!d.IsIMD) {
    d.Imd.reset();
    return false;
  }
  classIMDfile& imd = *d.Imd;
  imd.ProcessIMDfile();
  d.ReadOnly = d.ReadOnly || imd.RO();
  std::string text = imd.Comments() + CrLf + "Track 0" + TrackSummary(imd, 0);
  text += std::string(CrLf) + "Tracks NOT 0" + TrackSummary(imd, 1);
  imd.SetCylinder(0);
  imd.SetHead(0);
  Host().MessageBox(text, std::string("IMD File will Open ") + (d.ReadOnly ? "READ ONLY" : "Read/Write"),
                    MsgButtons::OK, MsgIcon::None);
  return true;
}

}  // namespace korva
