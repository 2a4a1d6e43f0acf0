#include "disk/RawFile.h"
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>
#include "disk/Drives.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/UserFiles.h"

namespace korva {

namespace {

constexpr char CrLf[] = "\r\n";
constexpr int64_t kMaxFileSize = std::numeric_limits<int32_t>::max();

struct RowSpec {
  int32_t Heads, Cylinders, SPT, Size;
  uint8_t Fill;
  bool T0Differs, Floppy, Onebased;
  int16_t Order;
  const char* Description;
};

constexpr RowSpec kRows[classRawFile::kMaxDiskTypes + 1] = {
    {2, 306, 32, 256, 0x4E, false, false, false, 0, "5 MB Sector Data Only CHS(306,2,32) (256 BPS)"},
    {4, 306, 32, 256, 0x4E, false, false, false, 0, "10 MB Sector Data Only CHS(306,4,32) (256 BPS)"},
    {4, 256, 32, 256, 0x4E, false, false, false, 0, "10 MB Sector Data Only CHS(256,4,32) (256 BPS)"},
    {4, 360, 32, 256, 0x4E, false, false, false, 0, "12 MB Sector Data Only CHS(360,4,32) (256 BPS)"},
    {6, 306, 32, 256, 0x4E, false, false, false, 0, "15 MB Sector Data Only CHS(306,6,32) (256 BPS)"},
    {1, 823, 64, 256, 0x4E, false, false, false, 0, "16 MB Sector Data Only CHS(823,1,64) (256 BPS)"},
    {6, 830, 32, 256, 0x4E, false, false, false, 0, "40 MB Sector Data Only CHS(830,6,32) (256 BPS)"},
    {5, 981, 32, 256, 0x4E, false, false, false, 0, "50 MB Sector Data Only CHS(981,5,32) (256 BPS)"},
    {8, 1024, 32, 256, 0x4E, false, false, false, 0, "70 MB Sector Data Only CHS(1024,8,32) (256 BPS)"},
    {5, 823, 64, 256, 0x4E, false, false, false, 0, "80 MB Sector Data Only CHS(823,5,64) (256 BPS)"},
    {9, 969, 64, 256, 0x4E, false, false, false, 0, "150 MB Sector Data Only CHS(969,9,64) (256 BPS)"},
    {8, 1024, 65, 256, 0x4E, false, false, false, 0, "150 MB Sector Data Only CHS(1024,8,65) (256 BPS)"},
    {10, 823, 64, 256, 0x4E, false, false, false, 0, "167 MB Sector Data Only CHS(823,10,64) (256 BPS)"},
    {10, 823, 117, 256, 0x4E, false, false, false, 0, "337 MB Sector Data Only CHS(823,10,117) (256 BPS)"},
    {1, 77, 26, 128, 0xE9, true, true, true, 0, "8 inch 3470 .25MB Sector Data Only CHS(77,1,26) (128 BPS)"},
    {2, 80, 18, 512, 0xE9, false, true, true, 0, "3.5 inch PC1440 1.44MB Sector Data Only CHS(80,2,18) (512 BPS)"},
    {1, 512, 256, 128, 0x4E, false, false, false, 0, "CPMSIM 16MB Sector Data Only CHS(512,1,256) (128 BPS)"},
    {2, 40, 8, 512, 0xE9, false, true, false, 2, "5.25 CPM86 320K Sector Data Only CHS(40,2,8) (512 BPS)"},
    {64, 1023, 128, 256, 0x4E, false, false, false, 0, "Undefined Disk Sector Data Only CHS(1023,64,128) (256 BPS)"},
    {64, 1023, 128, 256, 0x4E, false, false, false, 0, "Magical Sector Data Only CHS(1023,64,128) (256 BPS)"},
};

std::string TrueFalse(bool b) { return b ? "True" : "False"; }

// "###,###,###,##0"
std::string FormatTotal(int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
    out.push_back(digits[i]);
  }
  return value < 0 ? "-" + out : out;
}

std::string Hex4(uint16_t v) {
  char s[5];
  std::snprintf(s, sizeof s, "%04X", v);
  return s;
}

void ShowHostError(const HostError& err, const char* title) {
  Host().MessageBox("Error=" + std::to_string(err.Number) + CrLf + err.Description, title, MsgButtons::OK,
                    MsgIcon::None);
}

void ShowOverflow(const char* title) {
  Host().MessageBox(std::string("Filesize > 2GB") + CrLf + "Error=6" + CrLf + "Overflow", title, MsgButtons::OK,
                    MsgIcon::None);
}

constexpr char kCompareErrorTitle[] = "Error in Parmeters from Image for RAW file";
constexpr char kApplyErrorTitle[] = "Error Setting Parmeters from Image for RAW file";

// Track-0 SPT of a configuration area that records track 0 at single density in
// 128-byte sectors; 0 for a sector size without such a rule.
int32_t SingleDensityT0Spt(const ConfigurationArea& a) {
  switch (a.BytesPerSector) {
    case 128:
    case 256: return a.SPT;
    case 512: return a.SPT * 2;
    case 1024: return a.SPT * 4;
    default: return 0;
  }
}

std::string AttrLines(const ConfigurationArea& a) {
  return "AttrMask = " + Hex4(a.AttrMask) + " AttrWord= " + Hex4(a.AttrWord) + CrLf + " Floppy = " +
         TrueFalse(a.Floppy()) + ", T0 Same as rest = " + TrueFalse(!a.SingleDensityT0()) +
         ", One Based = " + TrueFalse(a.Floppy());
}

bool HasMagic(const uint8_t* sector) {
  return std::memcmp(sector + 248, "MOTOROLA", 8) == 0 || std::memcmp(sector + 248, "EXORMACS", 8) == 0;
}

}  // namespace

int64_t RawDiskTotal(const RawDiskType& r) {
  const int64_t tracks = static_cast<int64_t>(r.Heads) * r.Cylinders;
  return tracks * r.SPT * r.SectorSize + r.DiskPreamble + r.DiskPostamble +
         tracks * (static_cast<int64_t>(r.TrackPreamble) + r.TrackPostamble) +
         tracks * r.SPT * (static_cast<int64_t>(r.SectorPreamble) + r.SectorPostamble);
}

ConfigurationArea ConfigurationArea::FromSector(const uint8_t* s) {
  auto word = [s](int i) { return static_cast<uint16_t>((s[i] << 8) | s[i + 1]); };
  ConfigurationArea a;
  a.AttrMask = word(4);
  a.AttrWord = word(8);
  a.SPT = s[24];
  a.Heads = s[25];
  a.Cylinders = word(26);
  a.BytesPerSector = word(30);
  return a;
}

classRawFile::classRawFile() {
  for (size_t i = 0; i < table_.size(); ++i) {
    const RowSpec& s = kRows[i];
    RawDiskType& r = table_[i];
    r.Heads = s.Heads;
    r.Cylinders = s.Cylinders;
    r.SPT = r.T0SPT = s.SPT;
    r.SectorSize = r.T0SectorSize = s.Size;
    r.T0Differs = s.T0Differs;
    r.Floppy = s.Floppy;
    r.Onebased = s.Onebased;
    r.Order = s.Order;
    r.Description = s.Description;
    r.Fill = s.Fill;
    r.Total = RawDiskTotal(r);
  }
  table_[kUndefinedDisk].T0SPT = 16;
  SelectDiskType(0);
}

void classRawFile::SelectDiskType(int16_t row) {
  cur_ = table_[static_cast<size_t>(row)];
  onebased_ = cur_.Onebased;
  order_ = cur_.Order;
}

int64_t classRawFile::MaxDataOnDisk() const {
  // An image of undefined type never grows past the file it came with.
  if (driveType_ == kUndefinedDisk && fileLength_ >= 0) return std::min(cur_.Total, fileLength_);
  return cur_.Total;
}

bool classRawFile::OnTrack0Differs() const { return cur_.Floppy && cur_.T0Differs && cylinder_ == 0 && head_ == 0; }

int32_t classRawFile::SPT() const { return OnTrack0Differs() ? cur_.T0SPT : cur_.SPT; }

int32_t classRawFile::SectorSize() const { return OnTrack0Differs() ? 128 : cur_.SectorSize; }

bool classRawFile::SetCylinder(int32_t cylinder) {
  cylinder_ = cylinder;
  return cylinder >= 0 && cylinder < cur_.Cylinders;
}

bool classRawFile::SetHead(int32_t head) {
  head_ = head;
  return head >= 0 && head < cur_.Heads;
}

bool classRawFile::SetSector(int32_t sector) {
  RqSector(sector);
  return sectorIndex_ >= 0 && sectorIndex_ < SPT();
}

int32_t classRawFile::RqSector() const {
  return (onebased_ && sectorIndex_ != std::numeric_limits<int32_t>::max()) ? sectorIndex_ + 1 : sectorIndex_;
}

void classRawFile::RqSector(int32_t sector) {
  sectorIndex_ = (onebased_ && sector != std::numeric_limits<int32_t>::min()) ? sector - 1 : sector;
}

int64_t classRawFile::SectorOffset() const {
  const RawDiskType& g = cur_;
  if (head_ < 0 || head_ >= g.Heads || cylinder_ < 0 || cylinder_ >= g.Cylinders || sectorIndex_ < 0 ||
      sectorIndex_ >= SPT())
    return -1;
  const int64_t sectorPad = static_cast<int64_t>(g.SectorPreamble) + g.SectorPostamble;
  const int64_t sectorLen = g.SectorSize + sectorPad;
  const int64_t trackPad = static_cast<int64_t>(g.TrackPreamble) + g.TrackPostamble;
  const int64_t trackLen = g.SPT * sectorLen + trackPad;
  const int64_t track = static_cast<int64_t>(cylinder_) * g.Heads + head_;
  if (g.Floppy && track == 0) return g.TrackPreamble + sectorIndex_ * (g.T0SectorSize + sectorPad) + g.SectorPreamble;
  int64_t offset = g.TrackPreamble + track * trackLen + sectorIndex_ * sectorLen + g.SectorPreamble;
  if (g.Floppy) offset -= trackLen - (g.T0SPT * (g.T0SectorSize + sectorPad) + trackPad);
  return offset;
}

std::string classRawFile::GetCurrentDescription(int16_t row) const {
  if (row < 0 || row > kMaxDiskTypes) return "Invalid";
  const RawDiskType& r = table_[static_cast<size_t>(row)];
  return FormatTotal(r.Total) + " Sector Data Only CHS(" + std::to_string(r.Cylinders) + "," +
         std::to_string(r.Heads) + "," + std::to_string(r.SPT) + ") (" + std::to_string(r.SectorSize) + " BPS) " +
         CrLf + " Floppy = " + TrueFalse(r.Floppy) + ", T0 Same as rest = " + TrueFalse(!r.T0Differs) +
         ", One Based = " + TrueFalse(r.Onebased);
}

std::string classRawFile::Description(int16_t row) const {
  if (row == -1) return cur_.Description;
  if (row < 0 || row > kMaxDiskTypes) return "Invalid";
  return table_[static_cast<size_t>(row)].Description;
}

bool classRawFile::DescribeConfigArea(int16_t row, std::string& text) {
  const RawDiskType& r = table_[static_cast<size_t>(row)];
  const ConfigurationArea a = ConfigurationArea::FromSector(SectorBuffer.data());
  const bool floppy = a.Floppy();
  const bool single = a.SingleDensityT0();
  int32_t t0Spt = a.SPT, t0Size = a.BytesPerSector;
  if (floppy && single) {
    t0Size = 128;
    t0Spt = SingleDensityT0Spt(a) ? SingleDensityT0Spt(a) : a.SPT;
  }
  const int64_t total = static_cast<int64_t>(a.Cylinders) * a.Heads * a.SPT * a.BytesPerSector;
  text = std::string("Parameters in CNFG area on Disk") + CrLf + FormatTotal(total) + " Sector Data Only CHS(" +
         std::to_string(a.Cylinders) + "," + std::to_string(a.Heads) + "," + std::to_string(a.SPT) + ") (" +
         std::to_string(a.BytesPerSector) + " BPS)" + CrLf + AttrLines(a);
  if (total > kMaxFileSize) {
    ShowOverflow(kCompareErrorTitle);
    return false;
  }
  bool match = a.SPT == r.SPT && a.BytesPerSector == r.SectorSize && floppy == r.Floppy;
  if (match && floppy && r.Floppy)
    match = r.T0Differs == single && r.Onebased == floppy && r.T0SPT == t0Spt && r.T0SectorSize == t0Size;
  return match && total == r.Total;
}

void classRawFile::ApplyConfigArea(int16_t row) {
  if (row < 0 || row > kMaxDiskTypes) return;
  const ConfigurationArea a = ConfigurationArea::FromSector(SectorBuffer.data());
  // A geometry that cannot address a sector is never taken over.
  const uint16_t bps = a.BytesPerSector;
  if (a.SPT == 0 || a.Heads == 0 || a.Cylinders == 0 || (bps != 128 && bps != 256 && bps != 512 && bps != 1024)) {
    Host().MessageBox("Invalid parameters in CNFG area: CHS(" + std::to_string(a.Cylinders) + "," +
                          std::to_string(a.Heads) + "," + std::to_string(a.SPT) + ") (" + std::to_string(bps) +
                          " BPS)",
                      kApplyErrorTitle, MsgButtons::OK, MsgIcon::None);
    return;
  }
  RawDiskType r = table_[static_cast<size_t>(row)];
  r.Heads = a.Heads;
  r.Cylinders = a.Cylinders;
  r.SPT = a.SPT;
  r.SectorSize = bps;
  r.Floppy = a.Floppy();
  r.T0Differs = a.SingleDensityT0();
  r.Onebased = r.Floppy;
  if (r.Floppy && r.T0Differs) {
    r.T0SectorSize = 128;
    r.T0SPT = SingleDensityT0Spt(a);
  } else {
    r.T0SPT = r.SPT;
    r.T0SectorSize = r.SectorSize;
  }
  r.Total = RawDiskTotal(r);
  if (r.Total > kMaxFileSize) {
    ShowOverflow(kApplyErrorTitle);
    return;
  }
  r.Description = std::string("Parameters in CNFG area on Disk") + CrLf + FormatTotal(r.Total) +
                  " Sector Data Only CHS(" + std::to_string(r.Cylinders) + "," + std::to_string(r.Heads) + "," +
                  std::to_string(r.SPT) + ") (256 BPS) " + CrLf + AttrLines(a);
  table_[static_cast<size_t>(row)] = r;
}

bool classRawFile::IsRAWfile() {
  if (fileNumber_ == 0) return false;
  HostError err;
  const int64_t length = HostFileLength(fileNumber_, err);
  if (length < 0 || length > kMaxFileSize) {
    if (length >= 0) err = HostError{6, "Overflow"};
    ShowHostError(err, "Error Getting File Length for RAW file");
    return false;
  }
  fileLength_ = length;
  accepted_ = false;
  driveType_ = kUndefinedDisk;
  for (int16_t row = 0; row <= 17; ++row) {
    if (table_[static_cast<size_t>(row)].Total == length) {
      driveType_ = row;
      accepted_ = true;
      break;
    }
  }
  RawDiskType& row = table_[static_cast<size_t>(driveType_)];
  // Bytes past the end of a short file read as zeros.
  if (!ReadHostFileZeroFill(fileNumber_, 0, SectorBuffer.data(), SectorBuffer.size(), err)) {
    ShowHostError(err, "Error Checking for Magic on Image for RAW file");
    return accepted_;
  }
  row.Magic = HasMagic(SectorBuffer.data());
  if (!row.Magic) {
    accepted_ = Host().MessageBox("No Magic on disk!  Use Disk Image Anyway? ", "Magic Error", MsgButtons::YesNo,
                                  MsgIcon::None) == MsgAnswer::Yes;
    return accepted_;
  }
  const uint32_t configLsn = (static_cast<uint32_t>(SectorBuffer[144]) << 24) |
                             (static_cast<uint32_t>(SectorBuffer[145]) << 16) |
                             (static_cast<uint32_t>(SectorBuffer[146]) << 8) | SectorBuffer[147];
  if (configLsn == 0) {
    accepted_ = Host().MessageBox("No Configurtion on disk!  Use Disk Image Anyway? ", "Configuration Error",
                                  MsgButtons::YesNo, MsgIcon::None) == MsgAnswer::Yes;
    return accepted_;
  }
  if (!ReadHostFileZeroFill(fileNumber_, static_cast<int64_t>(configLsn) * 256, SectorBuffer.data(),
                            SectorBuffer.size(), err)) {
    ShowHostError(err, "Error Reading Configuration for RAW file");
    return accepted_;
  }
  std::string areaText;
  if (DescribeConfigArea(driveType_, areaText)) return accepted_;
  const std::string text = std::string(" Default Parameters ...") + CrLf + GetCurrentDescription(driveType_) + CrLf +
                           CrLf + areaText + CrLf + CrLf +
                           "Set drive Parameters from Config Area? Should only say YES if CFNG area is valid!.";
  if (Host().MessageBox(text, "Magic and CNFG area is on Image", MsgButtons::YesNo, MsgIcon::None) ==
      MsgAnswer::Yes)
    ApplyConfigArea(driveType_);
  accepted_ = true;
  return true;
}

void classRawFile::ProcessRAWfile() {
  if (accepted_) SelectDiskType(driveType_);
}

void classRawFile::CreateFile(int16_t row, const std::string& path, NewDiskProgress* progress) {
  if (row < 0 || row > 17) return;
  const RawDiskType& r = table_[static_cast<size_t>(row)];
  auto fail = [&](const FileProblem& problem) {
    Host().MessageBox(GeneratedErrorText(problem.Number, problem.Reason),
                      "File Error creating Disk Image", MsgButtons::OK, MsgIcon::None);
  };
  // The image takes the place of a regular writable file or of a link (the
  // link goes, its target stays), never of a FIFO, device, folder or read-only
  // file. It is written beside its final name and takes that name only when
  // complete: a cancel or a failure leaves any earlier file as it was.
  if (const auto refused = NewFileRefused(path)) return fail(*refused);
  std::string temp;
  const int fd = CreateFileBeside(path, temp);
  if (fd < 0) return fail(SystemFileProblem(errno));
  using Clock = std::chrono::steady_clock;
  constexpr auto kReportEvery = std::chrono::milliseconds(100);
  const std::vector<uint8_t> block(1 << 20, r.Fill);
  const int64_t total = r.Total;
  int64_t written = 0;
  bool cancelled = false;
  int error = 0;
  if (progress) progress->SetMinMAx(0, 100);
  auto lastReport = Clock::now() - kReportEvery;
  while (written < total) {
    if (progress && (written == 0 || Clock::now() - lastReport >= kReportEvery)) {
      lastReport = Clock::now();
      if (progress->CancelRequested()) {
        cancelled = true;
        break;
      }
      progress->ShowCount(written);
      progress->SetValue(static_cast<int32_t>(std::lround(static_cast<double>(written + 1) / total * 100)));
      PumpEvents();
    }
    const size_t n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(block.size()), total - written));
    const ssize_t w = pwrite(fd, block.data(), n, static_cast<off_t>(written));
    if (w < 0) {
      if (errno == EINTR) continue;
      error = errno;
      break;
    }
    written += w;
  }
  if (progress) {
    progress->ShowCount(written);
    if (!cancelled && progress->CancelRequested()) cancelled = true;
  }
  if (!error && fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && !error) error = errno;
  if (!error && !cancelled && std::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error || cancelled) unlink(temp.c_str());
  if (error) fail(SystemFileProblem(error));
}

bool OpenRAWfile(int16_t drive) {
  if (drive < 0 || drive >= DriveSlots) return false;
  DriveEntry& d = DriveTable[static_cast<size_t>(drive)];
  d.Raw = std::make_unique<classRawFile>();
  d.Raw->FileNumber(d.FileNumber);
  d.IsRAW = d.Raw->IsRAWfile();
  if (!d.IsRAW) {
    d.Raw.reset();
    return false;
  }
  classRawFile& raw = *d.Raw;
  raw.ProcessRAWfile();
  d.ReadOnly = d.ReadOnly || raw.RO();
  Host().MessageBox(raw.GetCurrentDescription(raw.DriveType()),
                    std::string("Raw File will Open ") + (d.ReadOnly ? "READ ONLY" : "Read/Write"), MsgButtons::OK,
                    MsgIcon::None);
  return true;
}

}  // namespace korva
