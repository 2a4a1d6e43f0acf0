#include "disk/RWIN.h"

#include <algorithm>
#include <vector>

#include "bus/Exceptions.h"
#include "cpu/FetchDecode.h"
#include "disk/DiskSettings.h"
#include "disk/Drives.h"
#include "shell/MainFormHooks.h"
#include "tables/TextFormat.h"

namespace korva {

classRWIN Rwin;

namespace {

constexpr uint32_t kGreen = 0x00FF00, kRed = 0x0000FF;  // 0x00BBGGRR
constexpr uint8_t kClass6 = 0xC0;
constexpr uint32_t kTrackRecord = 272, kTrackRecords = 32;

// J16 jumper entries of RwinJ16 and RwinJ16A.
enum J16 { kTPI48or96, kSize5or8, kFSR0, kFSR1, kFixOrCartW1, kBuffOrUnbuffW1, kFixOrCartW0, kBuffOrUnbuffW0 };
enum J16A { kTPI48or96A0, kSize5or8A1 };

bool IsFloppyLun(uint8_t lun) { return lun >= 2; }
const DriveEntry& Drive(uint8_t lun) { return DriveTable[lun & 3]; }
const char* TrueFalse(bool b) { return b ? "True" : "False"; }
std::string Hex(uint32_t v, int digits) {
  static const char* const kDigits = "0123456789ABCDEF";
  std::string s(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, v >>= 4) s[static_cast<size_t>(i)] = kDigits[v & 15];
  return s;
}
std::string HexDec(uint32_t v, int digits) { return Hex(v, digits) + " (" + std::to_string(v) + ")"; }

}  // namespace

// ---- FIFO ----

void classRWIN::FifoPush(uint8_t b) {
  if (fifoCount_ >= kFifoSize) return;  // beyond the capacity bytes are dropped
  fifo_[(fifoHead_ + fifoCount_) % kFifoSize] = b;
  ++fifoCount_;
}

uint8_t classRWIN::FifoPop() {
  if (fifoCount_ == 0) return 0;
  const uint8_t b = fifo_[fifoHead_];
  fifoHead_ = (fifoHead_ + 1) % kFifoSize;
  --fifoCount_;
  return b;
}

// ---- registers ----

uint8_t classRWIN::R0() {
  if (cb_) return 0;
  if (!sensePhase_) senseIndex_ = 0;
  commandPhase_ = false;
  sensePhase_ = true;
  SetCmdInterrupt(false);
  SetDataRequest(false);
  flt_ = false;
  const uint8_t b = sense_[static_cast<size_t>(senseIndex_)];
  senseIndex_ = (senseIndex_ + 1) % 10;
  return b;
}

void classRWIN::R0(uint8_t v) {
  if (cb_) return;
  if (!commandPhase_) cmdIndex_ = 0;
  commandPhase_ = true;
  sensePhase_ = false;
  SetCmdInterrupt(false);
  SetDataRequest(false);
  flt_ = false;
  cmd_[static_cast<size_t>(cmdIndex_)] = v;
  const bool c6 = cmd_[0] == kClass6;
  switch (cmdIndex_) {
    case 0:
      readData_ = writeData_ = loopback_ = false;
      class_ = v >> 5;
      opcode_ = v & 0x1F;
      break;
    case 1:
      lun_ = (v >> 5) & 3;
      if (!c6) lsn_ = (lsn_ & 0xFFFF) | (static_cast<uint32_t>(v & 0x1F) << 16);
      break;
    case 2:
      if (c6) {
        headField_ = v >> 5;
        cylinderField_ = (cylinderField_ & 0xFF) | (static_cast<uint32_t>(v & 0x1F) << 8);
      } else {
        lsn_ = (lsn_ & 0x1F00FF) | (static_cast<uint32_t>(v) << 8);
      }
      break;
    case 3:
      if (c6)
        cylinderField_ = (cylinderField_ & 0x1F00) | v;
      else
        lsn_ = (lsn_ & 0x1FFF00) | v;
      break;
    case 4:
      if (c6)
        precomp_ = v;
      else
        count_ = v == 0 ? 256 : v;
      break;
    default:
      cie_ = (v & 0x02) != 0;
      if (!c6) {
        bit7_ = (v & 0x80) != 0;
        bit6_ = (v & 0x40) != 0;
        mfm_ = (v & 0x20) != 0;
        sizeCode_ = (v >> 3) & 3;
        twoSided_ = (v & 0x04) != 0;
        dma_ = (v & 0x01) != 0;
      }
      cmdIndex_ = 0;
      ExecuteCommand();
      return;
  }
  ++cmdIndex_;
}

uint8_t classRWIN::R1() const {
  return static_cast<uint8_t>((cb_ << 7) | (ci_ << 6) | (flt_ << 5) | (di_ << 4) | (drq_ << 3) | (cie_ << 2) |
                              (dma_ << 1) | die_);
}

void classRWIN::R1(uint8_t v) {
  die_ = v == 1;
  SetDataRequest(drq_);
}

uint8_t classRWIN::R4to7() {
  if (loopback_) return FifoPop();
  if (!readData_) return 0;
  const uint8_t b = FifoPop();
  if (fifoCount_ == 0) {
    ArmCompletion();
    SetDataRequest(false);
    readData_ = false;
  } else if (!dma_ && fifoCount_ < 128) {
    SetDataRequest(false);
  }
  return b;
}

void classRWIN::R4to7(uint8_t v) {
  if (loopback_) {
    FifoPush(v);
  } else if (writeData_) {
    FifoPush(v);
    if (fifoCount_ >= transferLength_ && cb_) FinishWrite();
  }
}

// ---- interrupts and completion ----

void classRWIN::SetCmdInterrupt(bool on) {
  ci_ = on && cie_;
  if (ci_)
    Exceptions.SetIocIP(cmdIrq_, 1);
  else
    Exceptions.ClrIocIP(cmdIrq_, 1);
}

void classRWIN::SetDataRequest(bool on) {
  drq_ = on;
  di_ = on && die_;
  if (di_)
    Exceptions.SetIocIP(dataIrq_, 0);
  else
    Exceptions.ClrIocIP(dataIrq_, 0);
}

void classRWIN::ArmCompletion() {
  RwinCmdPending = True;
  RwinPollCount = RwinPollInterval;
}

void classRWIN::DoCmdComplete() {
  RwinCmdPending = False;
  cb_ = false;
  SetCmdInterrupt(true);
}

void classRWIN::DataIRQ(uint8_t line) {
  if (line < 1 || line > 4 || line == dataIrq_) return;
  if (di_) Exceptions.ClrIocIP(dataIrq_, 0);
  dataIrq_ = line;
  if (di_) Exceptions.SetIocIP(dataIrq_, 0);
}

void classRWIN::CmdIRQ(uint8_t line) {
  if (line < 1 || line > 4 || line == cmdIrq_) return;
  if (ci_) Exceptions.ClrIocIP(cmdIrq_, 1);
  cmdIrq_ = line;
  if (ci_) Exceptions.SetIocIP(cmdIrq_, 1);
}

void classRWIN::Reset() {
  SetupFloppyParameters(2);
  SetupFloppyParameters(3);
  SetDataRequest(false);
  SetCmdInterrupt(false);
  FifoClear();
  cb_ = ci_ = flt_ = di_ = cie_ = dma_ = die_ = false;
  drq_ = true;
  loopback_ = true;
  readData_ = writeData_ = false;
  commandPhase_ = false;
  sensePhase_ = true;
  cmdIndex_ = senseIndex_ = 0;
  cmd_.fill(0);
  sense_.fill(0);
  for (uint8_t l = 0; l < 4; ++l) {
    RwinLunEntry& e = luns_[l];
    e.Reset = true;
    e.LUN = l;
    e.MaxCYL = 0;
    e.MaxHead = 0;
    e.Precomp = 0;
    e.Ready = Drive(l).Mounted;
    e.SeekComp = true;
    e.Track0 = true;
    e.WritProt = Drive(l).ReadOnly;
    e.MaxLSN = 0;
  }
  SetJumperSense();
}

// ---- sense ----

void classRWIN::SetDriveSense() {
  const RwinLunEntry& e = luns_[lun_];
  sense_[1] = static_cast<uint8_t>((e.Reset ? 0x80 : 0) | (lun_ << 5) | (e.Ready ? 0x08 : 0) |
                                   (e.SeekComp ? 0x04 : 0) | (e.WritProt ? 0x02 : 0));
}

void classRWIN::SetJumperSense() {
  auto low = [this](int l) {
    const RwinLunEntry& e = luns_[static_cast<size_t>(l)];
    return (e.Ready ? 0x08 : 0) | (e.SeekComp ? 0x04 : 0) | (e.WritProt ? 0x02 : 0) | (e.Track0 ? 0x01 : 0);
  };
  auto bit = [](bool set, int mask) { return set ? mask : 0; };
  sense_[6] = static_cast<uint8_t>(bit(!RwinJ16[kBuffOrUnbuffW0], 0x80) | bit(!RwinJ16[kFixOrCartW0], 0x40) | low(0));
  sense_[7] = static_cast<uint8_t>(bit(!RwinJ16[kBuffOrUnbuffW1], 0x80) | bit(!RwinJ16[kFixOrCartW1], 0x40) | low(1));
  const int fsr = bit(RwinJ16[kFSR0], 0x80) | bit(RwinJ16[kFSR1], 0x40);
  sense_[8] = static_cast<uint8_t>(fsr | bit(!RwinJ16[kSize5or8], 0x20) | bit(!RwinJ16[kTPI48or96], 0x10) | low(2));
  sense_[9] =
      static_cast<uint8_t>(fsr | bit(!RwinJ16A[kSize5or8A1], 0x20) | bit(!RwinJ16A[kTPI48or96A0], 0x10) | low(3));
}

void classRWIN::SetAddressSense(uint32_t lsn, uint32_t count) {
  int32_t c = 0, h = 0, s = 0;
  LsnToChs(lun_, lsn + count - 1, c, h, s);
  sense_[2] = static_cast<uint8_t>(c >> 8);
  sense_[3] = static_cast<uint8_t>(c);
  sense_[4] = static_cast<uint8_t>(((h << 5) & 0xE0) | (s & 0x1F));
  sense_[5] = static_cast<uint8_t>(count);
}

void classRWIN::SetPositionSense() {
  sense_[2] = static_cast<uint8_t>(cylinderField_ >> 8);
  sense_[3] = static_cast<uint8_t>(cylinderField_);
  sense_[4] = static_cast<uint8_t>(((headField_ << 5) & 0xE0) | ((ImageSpt(lun_, 2) - 1) & 0x1F));
  sense_[5] = 0;
}

// ---- image geometry through a unit ----

DiskImage* classRWIN::UnitImage(uint8_t lun) const {
  const DriveEntry& d = Drive(lun);
  return d.Mounted ? d.Image() : nullptr;
}

int32_t classRWIN::ImageHeads(uint8_t lun) const {
  const DiskImage* image = UnitImage(lun);
  return image ? image->Heads() : 0;
}

int32_t classRWIN::ImageCylinders(uint8_t lun) const {
  const DiskImage* image = UnitImage(lun);
  return image ? image->Cylinders() : 0;
}

namespace {

// What a geometry question reads from an image at a track: the IMD image is set
// to the track and put back; a raw floppy whose track 0 is single density
// answers by its position, so it is moved for the question and moved back.
template <typename Read>
int32_t AtTrack(const DriveEntry& d, int32_t track, Read read, int32_t track0Size) {
  if (d.IsIMD && d.Imd) {
    classIMDfile& imd = *d.Imd;
    const int32_t saved = imd.RqTrack();
    if (!imd.SetTrack(track)) {
      imd.SetTrack(saved);
      return 0;
    }
    const int32_t v = read(imd);
    imd.SetTrack(saved);
    return v;
  }
  if (d.IsRAW && d.Raw) {
    classRawFile& raw = *d.Raw;
    if (!(raw.IsFloppy() && raw.T0SingleDensity())) return read(raw);
    if (track == 0 && track0Size) return track0Size;
    const int32_t c = raw.RqCylinder(), h = raw.RqHead();
    if (track == 0) {
      raw.RqCylinder(0);
      raw.RqHead(0);
    } else if (c == 0 && h == 0) {
      raw.RqCylinder(1);
    }
    const int32_t v = read(raw);
    raw.RqCylinder(c);
    raw.RqHead(h);
    return v;
  }
  return 0;
}

}  // namespace

int32_t classRWIN::ImageSpt(uint8_t lun, int32_t track) const {
  const DriveEntry& d = Drive(lun);
  if (!d.Mounted) return 0;
  return AtTrack(d, track, [](const DiskImage& i) { return i.SPT(); }, 0);
}

int32_t classRWIN::ImageSectorSize(uint8_t lun, int32_t track) const {
  const DriveEntry& d = Drive(lun);
  if (!d.Mounted) return 0;
  return AtTrack(d, track, [](const DiskImage& i) { return i.SectorSize(); }, 128);
}

int32_t classRWIN::ImageDensity(uint8_t lun, int32_t track) const {
  const DriveEntry& d = Drive(lun);
  if (d.Mounted && d.IsIMD && d.Imd) {
    classIMDfile& imd = *d.Imd;
    const int32_t saved = imd.RqTrack();
    const int32_t v = imd.SetTrack(track) ? imd.Density() : 0;
    imd.SetTrack(saved);
    return v;
  }
  if (d.Mounted && d.IsRAW && d.Raw && track == 0 && d.Raw->IsFloppy() && d.Raw->T0SingleDensity()) return 1;
  return 2;
}

void classRWIN::SetImageCylinder0(uint8_t lun) {
  if (DiskImage* image = UnitImage(lun)) image->SetCylinder(0);
}

int32_t classRWIN::CalcMaxLSN(uint8_t lun) {
  const int64_t n = static_cast<int64_t>(ImageCylinders(lun)) * ImageHeads(lun) * ImageSpt(lun, 2) - 1;
  return static_cast<int32_t>(std::clamp<int64_t>(n, -1, INT32_MAX));
}

int32_t classRWIN::CalcLSN(uint8_t lun, int32_t cylinder, uint8_t head, uint8_t sector) {
  return static_cast<int32_t>((static_cast<int64_t>(cylinder) * ImageHeads(lun) + head) * ImageSpt(lun, 2) + sector);
}

// ---- positions ----

uint32_t classRWIN::FloppySpt(uint8_t lun) const {
  return luns_[lun].FloppySpt[static_cast<size_t>(2 * sizeCode_ + (mfm_ ? 1 : 0))];
}

bool classRWIN::LsnToChs(uint8_t lun, uint32_t lsn, int32_t& cylinder, int32_t& head, int32_t& sector) const {
  const DriveEntry& d = Drive(lun);
  uint32_t spt;
  if (!IsFloppyLun(lun)) {
    if (!d.Mounted || !d.IsRAW) return false;
    spt = static_cast<uint32_t>(std::max(ImageSpt(lun, 2), 0));
  } else {
    if (!d.Mounted || !(d.IsIMD || (d.IsRAW && d.Raw->IsFloppy()))) return false;
    spt = FloppySpt(lun);
  }
  if (spt == 0) return false;
  const uint32_t heads = luns_[lun].MaxHead + 1u;
  const uint32_t track = lsn / spt;
  sector = static_cast<int32_t>(lsn % spt);
  cylinder = static_cast<int32_t>(track / heads);
  head = static_cast<int32_t>(track % heads);
  return true;
}

void classRWIN::CheckDriveReady(uint8_t lun) {
  RwinLunEntry& e = luns_[lun];
  const DriveEntry& d = Drive(lun);
  e.Ready = d.Mounted;
  e.WritProt = d.ReadOnly;
  e.SPT = static_cast<uint8_t>(ImageSpt(lun, 2));
  e.SPT0 = static_cast<uint8_t>(ImageSpt(lun, 0));
  e.SectorSize = static_cast<uint16_t>(ImageSectorSize(lun, 2));
  e.SectorSize0 = static_cast<uint16_t>(ImageSectorSize(lun, 0));
  if (const DiskImage* image = UnitImage(lun)) e.Track0 = image->RqCylinder() == 0;
}

uint8_t classRWIN::CheckSeek(uint8_t lun, uint32_t lsn, bool format) {
  CheckDriveReady(lun);
  const RwinLunEntry& e = luns_[lun];
  if (!e.Ready) return kNotReady;
  if (format && e.WritProt) return kWriteProtected;
  if (IsFloppyLun(lun)) {
    if (sizeCode_ == 0 && mfm_) return kBadDensity;
    const DriveEntry& d = Drive(lun);
    if (d.IsIMD) {
      const int32_t cylinders = ImageCylinders(lun);
      if (ImageHeads(lun) == 1 && twoSided_) return kMediumMismatch;
      if (cylinders == 40 && bit7_) return kMediumMismatch;
      if (format && cylinders == 80 && !bit7_) return kMediumMismatch;
    }
  }
  if (static_cast<int64_t>(lsn) > CalcMaxLSN(lun)) return kOutOfRange;
  int32_t c = 0, h = 0, s = 0;
  // A position that cannot be computed (no sectors per track) is out of range too.
  if (!LsnToChs(lun, lsn, c, h, s) && (IsFloppyLun(lun) ? FloppySpt(lun) == 0 : ImageSpt(lun, 2) <= 0))
    return kOutOfRange;
  if (static_cast<uint32_t>(c) > e.MaxCYL) return kOutOfRange;
  return kNoError;
}

uint32_t classRWIN::TransferLength() const {
  if (!IsFloppyLun(lun_)) return static_cast<uint32_t>(count_) * 256;
  return static_cast<uint32_t>(count_) << (7 + sizeCode_);
}

// ---- sectors ----

// Places the unit's image at the LSN; size is the number of bytes a transfer
// of that sector moves. False when the LSN cannot be placed on this image, or
// its sector is not the size the command names.
bool classRWIN::PlaceSector(uint8_t lun, uint32_t lsn, DiskImage*& image, int32_t& size) {
  int32_t c = 0, h = 0, s = 0;
  if (!LsnToChs(lun, lsn, c, h, s)) return false;
  const DriveEntry& d = Drive(lun);
  image = d.Image();
  if (!image) return false;
  image->RqHead(h);
  image->RqCylinder(c);
  if (d.IsRAW) {
    image->RqSector(s + (image->Onebased() ? 1 : 0));
    size = image->SectorSize();
    if (size != 128 && size != 256 && size != 512 && size != 1024) return false;
    return !IsFloppyLun(lun) || size == (128 << sizeCode_);
  }
  image->RqSector(s + 1);
  size = 128 << sizeCode_;
  return image->SectorSize() == size;
}

bool classRWIN::ReadSector(uint8_t lun, uint32_t lsn, bool toFifo) {
  DiskImage* image = nullptr;
  int32_t size = 0;
  if (!PlaceSector(lun, lsn, image, size)) return false;
  const int64_t offset = image->SectorOffset();
  if (offset < 0) return false;
  std::vector<uint8_t> buffer(static_cast<size_t>(size));
  const DriveEntry& d = Drive(lun);
  const uint8_t type = d.IsIMD ? d.Imd->IMDSectorType() : 1;
  if (type == 1 || type == 3 || type == 5 || type == 7) {
    if (!image->ReadData(offset, buffer.data(), buffer.size())) return false;
  } else if (type == 2 || type == 4 || type == 6 || type == 8) {
    std::fill(buffer.begin(), buffer.end(), d.Imd->IMDSectorFill());
  } else {
    return false;
  }
  if (toFifo)
    for (uint8_t b : buffer) FifoPush(b);
  return true;
}

bool classRWIN::WriteSector(uint8_t lun, uint32_t lsn) {
  DiskImage* image = nullptr;
  int32_t size = 0;
  if (!PlaceSector(lun, lsn, image, size)) return false;
  const int64_t offset = image->SectorOffset();
  if (offset < 0) return false;
  const DriveEntry& d = Drive(lun);
  if (d.IsIMD) {
    const uint8_t type = d.Imd->IMDSectorType();
    if (type != 1 && type != 3 && type != 5 && type != 7) return false;
  }
  std::vector<uint8_t> buffer(static_cast<size_t>(size));
  for (uint8_t& b : buffer) b = FifoPop();
  return image->WriteData(offset, buffer.data(), buffer.size());
}

uint8_t classRWIN::ReadSectors(uint32_t lsn, uint32_t count, bool toFifo) {
  for (uint32_t i = 0; i < count; ++i)
    if (!ReadSector(lun_, lsn + i, toFifo)) return kSectorFailed;
  return kNoError;
}

uint8_t classRWIN::WriteSectors(uint32_t lsn, uint32_t count) {
  for (uint32_t i = 0; i < count; ++i)
    if (!WriteSector(lun_, lsn + i)) return kSectorFailed;
  return kNoError;
}

void classRWIN::ReadTrackIds(uint32_t lsn) {
  const uint32_t base = lsn / kTrackRecords * kTrackRecords;
  for (uint32_t n = base; n < base + kTrackRecords; ++n) {
    int32_t c = 0, h = 0, s = 0;
    LsnToChs(lun_, n, c, h, s);
    for (uint8_t b : {uint8_t{0xA1}, uint8_t{0xFE}, static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c),
                      static_cast<uint8_t>(((h << 5) & 0xE0) | (s & 0x1F)), uint8_t{0}, uint8_t{0}, uint8_t{0},
                      uint8_t{0}, uint8_t{0}, uint8_t{0xA1}, uint8_t{0xF8}})
      FifoPush(b);
    const uint32_t before = fifoCount_;
    if (!ReadSector(lun_, n, true) || fifoCount_ - before != 256) {
      // The record carries 256 zero bytes when its sector cannot be read.
      while (fifoCount_ > before) {
        fifoCount_--;
      }
      for (int i = 0; i < 256; ++i) FifoPush(0);
    }
    for (int i = 0; i < 4; ++i) FifoPush(0);
  }
}

void classRWIN::SetupFloppyParameters(uint8_t lun) {
  RwinLunEntry& e = luns_[lun];
  if (!IsFloppyLun(lun)) {
    e.FloppySpt[2] = e.FloppySpt[3] = 32;
    return;
  }
  const int row = std::clamp<int>(RwinDiskType[lun], 0, 4);
  for (int i = 0; i < 8; ++i) e.FloppySpt[static_cast<size_t>(i)] = static_cast<uint16_t>(RwinSectorsPerTrack[static_cast<size_t>(8 * row + i)]);
  if (RwinDiskAuto[lun] && e.Ready) GetImageSptTable(lun);
}

void classRWIN::GetImageSptTable(uint8_t lun) {
  RwinLunEntry& e = luns_[lun];
  for (int32_t track = 0; track <= 5; ++track) {
    const int32_t spt = ImageSpt(lun, track);
    const int32_t size = ImageSectorSize(lun, track);
    const int32_t mfm = ImageDensity(lun, track) == 2 ? 1 : 0;
    int code = -1;
    for (int k = 0; k < 4; ++k)
      if (size == (128 << k)) code = k;
    if (code < 0 || spt <= 0) continue;
    e.FloppySpt[static_cast<size_t>(2 * code + mfm)] = static_cast<uint16_t>(spt);
  }
}

// ---- command execution ----

void classRWIN::Succeed() {
  RwinLunEntry& e = luns_[lun_];
  e.SeekComp = true;
  sense_[0] = kNoError;
  CheckDriveReady(lun_);
  SetDriveSense();
  SetJumperSense();
}

void classRWIN::SucceedAt(uint32_t lsn, uint32_t count) {
  Succeed();
  SetAddressSense(lsn, count);
}

void classRWIN::Fail(uint8_t code) {
  luns_[lun_].SeekComp = false;
  sense_[0] = code;
  SetDriveSense();
  SetJumperSense();
  readData_ = writeData_ = false;
  ArmCompletion();
}

void classRWIN::FailAt(uint8_t code, uint32_t lsn, uint32_t count) {
  luns_[lun_].SeekComp = false;
  sense_[0] = code;
  SetDriveSense();
  SetJumperSense();
  SetAddressSense(lsn, count);
  readData_ = writeData_ = false;
  ArmCompletion();
}

void classRWIN::OpenDataPhase(bool read) {
  SetDataRequest(true);
  readData_ = read;
  writeData_ = !read;
}

void classRWIN::ExecuteCommand() {
  cb_ = true;
  transferLength_ = 0;
  readData_ = writeData_ = false;
  SetDataRequest(false);

  const bool c6 = cmd_[0] == kClass6;
  const bool winchesterOnly = opcode_ == 7 || opcode_ == 12 || opcode_ == 13 || opcode_ == 14;
  const bool known = opcode_ <= 1 || opcode_ == 4 || (opcode_ >= 6 && opcode_ <= 14);
  if (!c6 && (class_ != 0 || !known || (winchesterOnly && IsFloppyLun(lun_)))) {
    sense_[0] = kInvalidCommand;
    SetJumperSense();
    ArmCompletion();
    return;
  }
  if (c6) {
    MainForm->SetDiskLight(kGreen);
    RwinLunEntry& e = luns_[lun_];
    e.LUN = lun_;
    e.MaxHead = headField_;
    e.MaxCYL = cylinderField_;
    e.Precomp = precomp_;
    e.MaxLSN = static_cast<uint32_t>(CalcMaxLSN(lun_));
    e.Reset = false;
    e.SeekComp = true;
    SetupFloppyParameters(lun_);
    SetImageCylinder0(lun_);
    e.SeekComp = e.Track0 = true;
    sense_[0] = kNoError;
    CheckDriveReady(lun_);
    SetDriveSense();
    SetPositionSense();
    SetJumperSense();
    ArmCompletion();
    return;
  }

  uint8_t code = kNoError;
  switch (opcode_) {
    case 0:  // test drive ready
      CheckDriveReady(lun_);
      SetDriveSense();
      SetJumperSense();
      ArmCompletion();
      break;
    case 1:  // recalibrate
      MainForm->SetDiskLight(kGreen);
      SetImageCylinder0(lun_);
      luns_[lun_].SeekComp = luns_[lun_].Track0 = true;
      SucceedAt(0, 1);
      ArmCompletion();
      break;
    case 4:  // format
    case 6:
    case 7:
      if ((code = CheckSeek(lun_, opcode_ == 4 ? 0 : lsn_, true)) != kNoError) return Fail(code);
      MainForm->SetDiskLight(kRed);
      if (opcode_ == 7) {
        transferLength_ = 256;
        OpenDataPhase(false);
      }
      Succeed();
      ArmCompletion();
      break;
    case 8:  // read
    case 9:  // verify
      if ((code = CheckSeek(lun_, lsn_, false)) != kNoError) return FailAt(code, lsn_, count_);
      MainForm->SetDiskLight(kGreen);
      FifoClear();
      if (ReadSectors(lsn_, count_, opcode_ == 8) != kNoError) return FailAt(kSectorFailed, lsn_, count_);
      SucceedAt(lsn_, count_);
      if (opcode_ == 9) {
        ArmCompletion();
      } else {
        transferLength_ = TransferLength();
        OpenDataPhase(true);
      }
      break;
    case 10:  // write
    case 14:
      if ((code = CheckSeek(lun_, lsn_, true)) != kNoError) return FailAt(code, lsn_, count_);
      MainForm->SetDiskLight(kRed);
      FifoClear();
      transferLength_ = opcode_ == 14 ? 260 : TransferLength();
      SucceedAt(lsn_, count_);
      OpenDataPhase(false);
      break;
    case 11:  // seek
      if ((code = CheckSeek(lun_, lsn_, false)) != kNoError) return FailAt(code, lsn_, count_);
      MainForm->SetDiskLight(kGreen);
      SucceedAt(lsn_, count_);
      ArmCompletion();
      break;
    case 12:  // read a track with identification fields
      if ((code = CheckSeek(lun_, lsn_, false)) != kNoError) return FailAt(code, lsn_, 1);
      MainForm->SetDiskLight(kGreen);
      FifoClear();
      ReadTrackIds(lsn_);
      SucceedAt(lsn_, 1);
      transferLength_ = kTrackRecord * kTrackRecords;
      OpenDataPhase(true);
      break;
    case 13:  // read one sector with its check bytes
      if ((code = CheckSeek(lun_, lsn_, false)) != kNoError) return FailAt(code, lsn_, 1);
      MainForm->SetDiskLight(kGreen);
      FifoClear();
      if (ReadSectors(lsn_, 1, true) != kNoError) return FailAt(kSectorFailed, lsn_, 1);
      for (int i = 0; i < 4; ++i) FifoPush(0);
      SucceedAt(lsn_, 1);
      transferLength_ = 260;
      OpenDataPhase(true);
      break;
    default:
      break;
  }
}

void classRWIN::FinishWrite() {
  if (opcode_ != 7 && opcode_ != 10 && opcode_ != 14) return;
  const uint32_t count = opcode_ == 10 ? count_ : 1;
  sense_[0] = opcode_ == 7 ? kNoError : WriteSectors(lsn_, count);
  luns_[lun_].SeekComp = true;
  SetDriveSense();
  SetJumperSense();
  SetAddressSense(lsn_, opcode_ == 7 ? count_ : count);
  readData_ = writeData_ = false;
  ArmCompletion();
}

// ---- dumps ----

std::string classRWIN::DisplayRWIN() const {
  const std::string crlf = "\r\n";
  std::string t = "RR1  - " + Hex(R1(), 2) + crlf;
  const std::pair<const char*, bool> flags[] = {{" CB  - ", cb_},   {" CI  - ", ci_},   {" FLT - ", flt_},
                                                {" DI  - ", di_},   {" DRQ - ", drq_},  {" CIE - ", cie_},
                                                {" DMA - ", dma_},  {" DIE - ", die_}};
  for (const auto& [name, on] : flags) t += std::string(name) + TrueFalse(on) + crlf;
  t += std::string(" J16 48/96 FD02=     ") + TrueFalse(RwinJ16[kTPI48or96]) + "   " + " J16 48/96 FD03=     " +
       TrueFalse(RwinJ16A[kTPI48or96A0]) + crlf;
  t += std::string(" J16   5/8 FD02=     ") + TrueFalse(RwinJ16[kSize5or8]) + "   " + " J16   5/8 FD03=     " +
       TrueFalse(RwinJ16A[kSize5or8A1]) + crlf;
  const std::pair<const char*, int> jumpers[] = {
      {" J16  FSR1     =     ", kFSR0},       {" J16  FSR0     =     ", kFSR1},
      {" J16 F/C W1    =     ", kFixOrCartW1}, {" J16 B/U W1    =     ", kBuffOrUnbuffW1},
      {" J16 F/C W0    =     ", kFixOrCartW0}, {" J16 B/U W0    =     ", kBuffOrUnbuffW0}};
  for (const auto& [name, j] : jumpers) t += std::string(name) + TrueFalse(RwinJ16[static_cast<size_t>(j)]) + crlf;
  for (int i = 0; i < 6; ++i) t += "CMD Byte " + std::to_string(i) + " - " + Hex(cmd_[static_cast<size_t>(i)], 2) + crlf;
  for (int i = 0; i < 10; ++i)
    t += "SNS Byte " + std::to_string(i) + " - " + Hex(sense_[static_cast<size_t>(i)], 2) + crlf;
  return t;
}

std::string classRWIN::DisplayDrives() const {
  const std::string crlf = "\r\n";
  static const char* const kSptNames[8] = {" FM128  =    ", " MFM128 =    ", " FM256  =    ", " MFM256 =    ",
                                           " FM512  =    ", " MFM512 =    ", " FM1024 =    ", " MFM1024=    "};
  std::string t;
  for (uint8_t l = 0; l < 4; ++l) {
    const RwinLunEntry& e = luns_[l];
    const DriveEntry& d = Drive(l);
    t += "Lun = " + Hex(l, 2);
    if (d.Mounted && (d.IsIMD || d.IsRAW)) t += std::string(d.IsIMD ? " IMD-" : " RAW-") + "File = " + d.FilePath + "  ";
    t += crlf;
    t += std::string(" Reset =     ") + TrueFalse(e.Reset) + crlf;
    t += std::string(" Ready =     ") + TrueFalse(e.Ready) + crlf;
    t += std::string(" SeekComp =  ") + TrueFalse(e.SeekComp) + crlf;
    t += std::string(" Writ Prot = ") + TrueFalse(e.WritProt) + crlf;
    t += std::string(" Track 0 =   ") + TrueFalse(e.Track0) + crlf;
    t += " MaxHead =   " + Hex(e.MaxHead, 2) + crlf;
    t += " MaxCYL =    " + HexDec(e.MaxCYL, 8) + crlf;
    t += " MaxLSN =    " + HexDec(e.MaxLSN, 8) + crlf;
    t += " Precomp =   " + HexDec(e.Precomp, 8) + crlf;
    t += " SPT =   " + HexDec(e.SPT, 2) + crlf;
    t += " Sector Size =   " + HexDec(e.SectorSize, 4) + crlf;
    if (IsFloppyLun(l)) {
      t += " Type =     " + std::to_string(RwinDiskType[l]) + crlf;
      t += std::string(" Auto =     ") + TrueFalse(RwinDiskAuto[l]) + crlf;
      t += " SPT0 =   " + HexDec(e.SPT0, 2) + crlf;
      t += " Sector Size 0 =   " + HexDec(e.SectorSize0, 4) + crlf;
      for (int i = 0; i < 8; ++i) t += kSptNames[i] + HexDec(e.FloppySpt[static_cast<size_t>(i)], 4) + crlf;
    }
  }
  return t;
}

}  // namespace korva
