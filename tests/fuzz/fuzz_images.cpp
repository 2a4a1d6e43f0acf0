// Disk images of any shape, mounted in a drive: IMD and raw recognition, the
// configuration-area questions, logical-sector reads and writes and the position
// members. The first input byte chooses how the rest becomes a file:
//   bit 0: raw volume: "MOTOROLA" magic at bytes 248-255, configuration LSN 0-3
//   bit 1: padded to the 8-inch floppy's length (recognised by length)
//   bit 2: message boxes answered No instead of Yes
//   bit 3: the file starts with "IMD " (an IMD image)
//   bit 4: mounted read-only
#include <vector>
#include "FuzzFile.h"
#include "disk/Drives.h"
#include "support/ScriptedHost.h"

namespace {

using namespace korva;

void WorkOut(DiskImage& image, bool isImd) {
  const int32_t cylinders = image.Cylinders(), heads = image.Heads();
  for (int32_t c = -1; c <= std::min(cylinders, 90); ++c)
    for (int32_t h = -1; h <= std::min(heads, 3); ++h) {
      image.SetHead(h);
      image.SetCylinder(c);
      const int32_t spt = image.SPT();
      (void)image.SectorSize();
      for (int32_t s : {-1, 0, 1, 2, spt - 1, spt, spt + 1, 255, 256}) {
        image.SetSector(s);
        const int64_t offset = image.SectorOffset();
        if (offset < -1) std::abort();
        if (isImd) {
          auto& imd = static_cast<classIMDfile&>(image);
          (void)imd.IMDSectorType();
          (void)imd.IMDSectorFill();
          (void)imd.AMCylinder();
          (void)imd.AMHead();
          (void)imd.Density();
          (void)imd.TransferRate();
          (void)imd.TrackPreamble();
        }
      }
    }
  if (isImd) {
    auto& imd = static_cast<classIMDfile&>(image);
    for (int32_t t = -1; t <= imd.Tracks(); ++t) imd.SetTrack(t);
  }
  for (int32_t t = -1; t < 200; t += 7) {
    GetTrackCylinder(0, t);
    GetTrackHead(0, t);
    GetCpmSector(0, t / 2, t & 1, t);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t mode = data[0];
  std::vector<uint8_t> file(data + 1, data + size);
  if (mode & 8) file.insert(file.begin(), {'I', 'M', 'D', ' '});
  if (mode & 1) {
    if (file.size() < 256) file.resize(256, 0);
    const char magic[] = "MOTOROLA";
    for (int i = 0; i < 8; ++i) file[248 + i] = static_cast<uint8_t>(magic[i]);
    file[144] = file[145] = file[146] = 0;
    file[147] &= 3;
  }
  if ((mode & 2) && file.size() < 256256) file.resize(256256, 0xE9);
  const std::string& path = fuzz::WriteScratch(file.data(), file.size());

  ScriptedHost host;
  for (int i = 0; i < 8; ++i) host.AnswerMessage((mode & 4) ? MsgAnswer::No : MsgAnswer::Yes);
  InitDrives();
  DriveTable[0].FilePath = path;
  DriveTable[0].ReadOnly = (mode & 16) != 0;
  InsertDisk(0);
  if (DriveEntry& d = DriveTable[0]; d.Mounted) {
    if (d.IsIMD == d.IsRAW || !d.Image()) std::abort();
    const int64_t max = d.Image()->MaxDataOnDisk();
    for (int32_t lsn : {0, 1, 2, 3, 7, 8, 12, 13, 14, 15, 16, 30, 31, 64, 500, 1000, 1001, 0x7FFFFE, 0x7FFFFF}) {
      const bool read = ReadDiskSector(0, lsn);
      if (read && (int64_t{lsn} + 1) * 256 > max) std::abort();
      if (read && !d.ReadOnly && !WriteDiskSector(0, lsn) && d.IsRAW) std::abort();
      if (d.ReadOnly && WriteDiskSector(0, lsn)) std::abort();
    }
    WorkOut(*d.Image(), d.IsIMD);
    EjectDisk(0);
  }
  return 0;
}
