#include "disk/Drives.h"
#include <algorithm>
#include <cctype>
#include <cstring>
#include "host/CodePage.h"
#include "host/Host.h"

namespace korva {

std::array<DriveEntry, DriveSlots> DriveTable;
std::array<uint8_t, 256> SectorBuffer{};
std::array<uint8_t, 128> RecordBuffer{};

namespace {

constexpr char CrLf[] = "\r\n";
constexpr const char* kDriveNames[UsedDrives] = {"HD00", "HD01", "FD02", "FD03"};

DriveEntry* UsedDrive(DriveNumber drive) {
  if (drive < 0 || drive >= UsedDrives) return nullptr;
  return &DriveTable[static_cast<size_t>(drive)];
}

bool IsNormalData(uint8_t type) { return type == 1 || type == 3 || type == 5 || type == 7; }
bool IsCompressed(uint8_t type) { return type == 2 || type == 4 || type == 6 || type == 8; }

// One piece of a logical sector on an IMD image: `size` bytes of SectorBuffer from
// `bufferPos`, held at `offset` in the file (normal data) or given by a fill byte.
struct LsnPiece {
  int64_t Offset = 0;
  int32_t BufferPos = 0;
  int32_t Size = 0;
  uint8_t Type = 0;
  uint8_t Fill = 0;
};

// Selects cylinder, head and sector number and describes `size` bytes of that
// sector from byte `from`; false when the position does not exist, its record
// carries no data, or the track's sectors are not `trackSize` bytes.
bool SelectPiece(classIMDfile& imd, int32_t cylinder, int32_t head, int32_t sector, int32_t trackSize,
                 int32_t from, int32_t size, int32_t bufferPos, LsnPiece& piece) {
  if (!imd.SetHead(head) || !imd.SetCylinder(cylinder) || !imd.SetSector(sector)) return false;
  if (imd.SectorSize() != trackSize) return false;
  piece.Type = imd.IMDSectorType();
  if (!IsNormalData(piece.Type) && !IsCompressed(piece.Type)) return false;
  piece.Fill = imd.IMDSectorFill();
  piece.Offset = imd.SectorOffset() + from;
  piece.Size = size;
  piece.BufferPos = bufferPos;
  return imd.SectorOffset() >= 0;
}

// Where the 256 bytes of LSN `lsn` lie on an IMD image: track 0 is read as
// 128-byte sectors, two per LSN; the data tracks hold one LSN per 256-byte sector
// or two per 512-byte sector (the half chosen by the parity of the LSN).
bool ResolveImdLsn(classIMDfile& imd, int32_t lsn, LsnPiece pieces[2], int& count) {
  if ((static_cast<int64_t>(lsn) + 1) * 256 > imd.MaxDataOnDisk()) return false;
  imd.SetHead(0);
  imd.SetCylinder(0);
  const int32_t spt0 = imd.SPT();
  const int32_t size0 = imd.SectorSize();
  imd.SetHead(0);
  imd.SetCylinder(1);
  const int32_t spt = imd.SPT();
  const int32_t size = imd.SectorSize();
  const int32_t heads = imd.Heads();
  const int32_t t0Lsns = size0 * spt0 / 256;
  if (lsn < t0Lsns) {
    if (size0 != 128) return false;  // only 128-byte sectors are split this way
    count = 2;
    return SelectPiece(imd, 0, 0, 2 * lsn + 1, 128, 0, 128, 0, pieces[0]) &&
           SelectPiece(imd, 0, 0, 2 * lsn + 2, 128, 0, 128, 128, pieces[1]);
  }
  if (spt <= 0 || heads <= 0 || (size != 256 && size != 512)) return false;
  const int32_t r = size == 256 ? lsn - t0Lsns : (lsn - t0Lsns) / 2;
  const int32_t track = r / spt + 1;
  const int32_t sector = r % spt + 1;
  const int32_t from = (size == 512 && (lsn & 1)) ? 256 : 0;
  count = 1;
  return SelectPiece(imd, track / heads, track % heads, sector, size, from, 256, 0, pieces[0]);
}

bool ReadImdSector(classIMDfile& imd, int32_t lsn) {
  LsnPiece pieces[2];
  int count = 0;
  if (!ResolveImdLsn(imd, lsn, pieces, count)) return false;
  std::array<uint8_t, 256> data{};
  for (int i = 0; i < count; ++i) {
    const LsnPiece& p = pieces[i];
    uint8_t* dest = data.data() + p.BufferPos;
    if (IsCompressed(p.Type)) {
      std::memset(dest, p.Fill, static_cast<size_t>(p.Size));
    } else if (p.Size == 128) {
      if (!imd.ReadData(p.Offset, RecordBuffer.data(), 128)) return false;
      std::memcpy(dest, RecordBuffer.data(), 128);
    } else if (!imd.ReadData(p.Offset, dest, static_cast<size_t>(p.Size))) {
      return false;
    }
  }
  SectorBuffer = data;
  return true;
}

// Every piece is checked (normal data, inside the file) before any is written.
bool WriteImdSector(classIMDfile& imd, int32_t lsn) {
  LsnPiece pieces[2];
  int count = 0;
  if (!ResolveImdLsn(imd, lsn, pieces, count)) return false;
  const int64_t length = imd.FileLength();
  for (int i = 0; i < count; ++i)
    if (!IsNormalData(pieces[i].Type) || pieces[i].Offset + pieces[i].Size > length) return false;
  for (int i = 0; i < count; ++i) {
    const LsnPiece& p = pieces[i];
    const uint8_t* src = SectorBuffer.data() + p.BufferPos;
    if (p.Size == 128) {
      std::memcpy(RecordBuffer.data(), src, 128);
      src = RecordBuffer.data();
    }
    if (!imd.WriteData(p.Offset, src, static_cast<size_t>(p.Size))) return false;
  }
  return true;
}

}  // namespace

DiskImage* DriveEntry::Image() const {
  if (!Mounted) return nullptr;
  if (IsIMD) return Imd.get();
  if (IsRAW) return Raw.get();
  return nullptr;
}

void InitDrives() {
  for (int i = 0; i < UsedDrives; ++i) {
    DriveEntry& d = DriveTable[static_cast<size_t>(i)];
    d.Name = kDriveNames[i];
    d.Mounted = d.ReadOnly = d.IsIMD = d.IsRAW = false;
  }
}

DriveNumber GetDriveNumber(const std::string& text) {
  std::string up = text;
  for (char& c : up) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (DriveNumber i = 0; i < UsedDrives; ++i) {
    const std::string digit = std::to_string(i);
    if (up == kDriveNames[i] || up == digit || up == "0" + digit) return i;
  }
  return -1;
}

void InsertDisk(DriveNumber drive) {
  DriveEntry* d = UsedDrive(drive);
  if (!d) return;
  if (d->Mounted) EjectDisk(drive);
  HostError err;
  d->FileNumber = FreeFile();
  bool opened = false;
  if (d->FileNumber == 0) {
    err = HostError{67, "Too many files"};
  } else if (d->ReadOnly) {
    opened = OpenHostFile(d->FileNumber, d->FilePath, false, err);
  } else {
    opened = OpenHostFile(d->FileNumber, d->FilePath, true, err);
    if (!opened && err.Number == PathFileAccessError) {
      opened = OpenHostFile(d->FileNumber, d->FilePath, false, err);
      if (opened) d->ReadOnly = true;
    }
  }
  if (!opened) {
    d->FileNumber = 0;
    Host().MessageBox(" Error number " + std::to_string(err.Number) + CrLf + CrLf + " " + err.Description + CrLf +
                          CrLf + " File = " + Utf8ToCp1252(d->FilePath),
                      " Error inserting - " + d->Name, MsgButtons::OK, MsgIcon::None);
    return;
  }
  d->IsIMD = OpenIMDfile(drive);
  if (d->IsIMD) {
    d->Mounted = true;
    d->IsRAW = false;
    return;
  }
  d->IsRAW = OpenRAWfile(drive);
  if (d->IsRAW) {
    d->Mounted = true;
    d->IsIMD = false;
    return;
  }
  CloseHostFile(d->FileNumber);
  d->FileNumber = 0;
  d->Mounted = false;
  Host().MessageBox("File is neither RAW nor IMD - " + Utf8ToCp1252(d->FilePath), "Unrecognized File",
                    MsgButtons::OK, MsgIcon::None);
}

void EjectDisk(DriveNumber drive) {
  DriveEntry* d = UsedDrive(drive);
  if (!d || !d->Mounted) return;
  CloseHostFile(d->FileNumber);
  // The image objects stay, but no longer reach a file whose number may be reused.
  if (d->Imd) d->Imd->FileNumber(0);
  if (d->Raw) d->Raw->FileNumber(0);
  d->FileNumber = 0;
  d->Mounted = d->IsRAW = d->IsIMD = false;
}

bool ReadDiskSector(DriveNumber drive, int32_t lsn) {
  DriveEntry* d = UsedDrive(drive);
  if (!d || !d->Mounted || lsn < 0 || lsn >= LsnLimit) return false;
  if (d->IsRAW && d->Raw) {
    classRawFile& raw = *d->Raw;
    if ((static_cast<int64_t>(lsn) + 1) * 256 > raw.MaxDataOnDisk()) return false;
    std::array<uint8_t, 256> data{};
    if (!raw.ReadData(static_cast<int64_t>(lsn) * 256, data.data(), data.size())) return false;
    SectorBuffer = data;
    return true;
  }
  if (d->IsIMD && d->Imd) return ReadImdSector(*d->Imd, lsn);
  return false;
}

bool WriteDiskSector(DriveNumber drive, int32_t lsn) {
  DriveEntry* d = UsedDrive(drive);
  if (!d || !d->Mounted || d->ReadOnly || lsn < 0 || lsn >= LsnLimit) return false;
  if (d->IsRAW && d->Raw) {
    classRawFile& raw = *d->Raw;
    if ((static_cast<int64_t>(lsn) + 1) * 256 > raw.MaxDataOnDisk()) return false;
    return raw.WriteData(static_cast<int64_t>(lsn) * 256, SectorBuffer.data(), SectorBuffer.size());
  }
  if (d->IsIMD && d->Imd) return WriteImdSector(*d->Imd, lsn);
  return false;
}

namespace {

// Cylinder (wantHead false) or head of a linear track number.
int32_t SplitTrack(DriveNumber drive, int32_t track, bool wantHead) {
  const DriveEntry* d = UsedDrive(drive);
  const DiskImage* image = d ? d->Image() : nullptr;
  if (!image) return -1;
  const int64_t c = image->Cylinders();
  const int64_t h = image->Heads();
  if (track < 0 || track >= c * h) return -1;
  switch (image->Order()) {
    case 0:
      return static_cast<int32_t>(wantHead ? track % h : track / h);
    case 1:
      if (wantHead) return track >= c ? 1 : 0;
      return static_cast<int32_t>(track < c ? track : track - c);
    case 2:
      if (wantHead) return track >= c ? 1 : 0;
      return static_cast<int32_t>(track < c ? track : 2 * c - 1 - track);
    default:
      return 0;
  }
}

}  // namespace

int32_t GetTrackCylinder(DriveNumber drive, int32_t track) { return SplitTrack(drive, track, false); }
int32_t GetTrackHead(DriveNumber drive, int32_t track) { return SplitTrack(drive, track, true); }

int32_t GetCpmSector(DriveNumber drive, int32_t cylinder, int32_t head, int32_t record) {
  const DriveEntry* d = UsedDrive(drive);
  DiskImage* image = d ? d->Image() : nullptr;
  if (!image) return -1;
  if (d->IsIMD) {
    image->RqCylinder(cylinder);
    image->RqHead(head);
  }
  const int32_t size = image->SectorSize();
  const int64_t r = image->Onebased() ? static_cast<int64_t>(record) - 1 : record;
  int64_t sector;
  switch (size) {
    case 128: sector = r; break;
    case 256: sector = r / 2; break;
    case 512: sector = r / 4; break;
    case 1024: sector = r / 8; break;
    default: return -1;
  }
  return static_cast<int32_t>(image->Onebased() ? sector + 1 : sector);
}

}  // namespace korva
