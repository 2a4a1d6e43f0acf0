// Disk images written for the drive, IMD and raw tests: an IMD writer with a
// recognisable byte in every sector position, and a fixture that mounts files
// from a temporary folder with a scripted host.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "disk/Drives.h"
#include "host/ScriptedHost.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {

// The byte at position i of sector `sector` on cylinder c, head h.
inline uint8_t SectorByte(int c, int h, int sector, int i) {
  return static_cast<uint8_t>(c * 7 + h * 13 + sector * 31 + i * 3 + (i >> 8));
}

struct ImdSectorSpec {
  uint8_t Number = 1;
  uint8_t Type = 1;
  uint8_t Fill = 0;
};

// An IMD file being written: the comment, then track records.
class ImdWriter {
 public:
  explicit ImdWriter(const std::string& comment = "IMD 1.18: 07/12/2026 00:00:00\r\ntest image") {
    Bytes.assign(comment.begin(), comment.end());
    Bytes.push_back(0x1A);
  }
  // A track with sectors numbered as given (1..spt when empty), normal data records.
  ImdWriter& Track(uint8_t mode, uint8_t cylinder, uint8_t headByte, uint8_t sizeCode, int spt,
                   std::vector<ImdSectorSpec> sectors = {}) {
    if (sectors.empty())
      for (int s = 1; s <= spt; ++s) sectors.push_back({static_cast<uint8_t>(s), 1, 0});
    Bytes.insert(Bytes.end(), {mode, cylinder, headByte, static_cast<uint8_t>(sectors.size()), sizeCode});
    for (const auto& s : sectors) Bytes.push_back(s.Number);
    if (headByte & 0x80)
      for (size_t i = 0; i < sectors.size(); ++i) Bytes.push_back(static_cast<uint8_t>(cylinder + 100));
    if (headByte & 0x40)
      for (size_t i = 0; i < sectors.size(); ++i) Bytes.push_back(static_cast<uint8_t>((headByte & 1) + 50));
    const int size = (sizeCode & 7) < 7 ? 128 << (sizeCode & 7) : 0;
    for (const auto& s : sectors) {
      Bytes.push_back(s.Type);
      if (s.Type >= 1 && s.Type <= 8 && (s.Type & 1)) {
        for (int i = 0; i < size; ++i) Bytes.push_back(SectorByte(cylinder, headByte & 1, s.Number, i));
      } else if (s.Type >= 2 && s.Type <= 8) {
        Bytes.push_back(s.Fill);
      }
    }
    return *this;
  }
  std::vector<uint8_t> Bytes;
};

// Track 0 of spt0 x 128 bytes (FM), then `cylinders` cylinders of `heads` data
// tracks of spt x (128 << sizeCode) bytes (MFM).
inline std::vector<uint8_t> StandardImd(int cylinders, int heads, int spt0, int spt, uint8_t sizeCode) {
  ImdWriter w;
  for (int c = 0; c < cylinders; ++c)
    for (int h = 0; h < heads; ++h) {
      if (c == 0 && h == 0)
        w.Track(2, 0, 0, 0, spt0);
      else
        w.Track(5, static_cast<uint8_t>(c), static_cast<uint8_t>(h), sizeCode, spt);
    }
  return w.Bytes;
}

inline std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// A sparse file of the given length with `head` at its start.
inline std::string WriteSparse(const TempFolder& dir, const std::string& name, int64_t length,
                               const std::vector<uint8_t>& head = {}) {
  const std::string path = dir.Write(name, head);
  if (truncate(path.c_str(), static_cast<off_t>(length)) != 0) std::abort();
  return path;
}

// A volume ID sector: the magic and the configuration area's LSN.
inline std::vector<uint8_t> VolumeSector(const char* magic, uint32_t configLsn) {
  std::vector<uint8_t> s(256, 0);
  for (int i = 0; i < 8 && magic[i]; ++i) s[248 + i] = static_cast<uint8_t>(magic[i]);
  s[144] = configLsn >> 24;
  s[145] = configLsn >> 16;
  s[146] = configLsn >> 8;
  s[147] = configLsn & 0xFF;
  return s;
}

// A configuration-area sector.
inline std::vector<uint8_t> ConfigSector(int cylinders, int heads, int spt, int bps, uint16_t attrWord,
                                         uint16_t attrMask = 0) {
  std::vector<uint8_t> s(256, 0);
  s[4] = attrMask >> 8;
  s[5] = attrMask & 0xFF;
  s[8] = attrWord >> 8;
  s[9] = attrWord & 0xFF;
  s[24] = static_cast<uint8_t>(spt);
  s[25] = static_cast<uint8_t>(heads);
  s[26] = static_cast<uint8_t>(cylinders >> 8);
  s[27] = static_cast<uint8_t>(cylinders);
  s[30] = static_cast<uint8_t>(bps >> 8);
  s[31] = static_cast<uint8_t>(bps);
  return s;
}

class DiskTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDrives(); }
  void TearDown() override {
    for (DriveNumber d = 0; d < UsedDrives; ++d) EjectDisk(d);
    HostFileOpenFault = nullptr;
  }
  // Mounts path in drive d; true when it was mounted.
  bool Mount(DriveNumber d, const std::string& path, bool readOnly = false) {
    DriveTable[d].FilePath = path;
    DriveTable[d].ReadOnly = readOnly;
    InsertDisk(d);
    return DriveTable[d].Mounted;
  }
  bool MountBytes(DriveNumber d, const std::vector<uint8_t>& bytes, bool readOnly = false) {
    return Mount(d, dir.Write("image" + std::to_string(files++), bytes), readOnly);
  }
  std::vector<std::string> Titles() const {
    std::vector<std::string> t;
    for (const auto& c : host.CallsOf(HostCall::Kind::MessageBox)) t.push_back(c.Title);
    return t;
  }
  classIMDfile& Imd(DriveNumber d) { return *DriveTable[d].Imd; }
  classRawFile& Raw(DriveNumber d) { return *DriveTable[d].Raw; }

  ScriptedHost host;
  TempFolder dir;
  int files = 0;
};

}  // namespace korva::test
