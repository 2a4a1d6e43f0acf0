// Disk images for the drive tests: an IMD writer with a known byte at every sector
// position, raw volume sectors, and a fixture that mounts real files from a
// temporary folder with a scripted host.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "disk/Drives.h"
#include "disk/RawFile.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {

inline uint8_t SectorByte(int c, int h, int sector, int i) {
  return static_cast<uint8_t>(c * 7 + h * 13 + sector * 31 + i * 3 + (i >> 8));
}

struct ImdSectorSpec {
  uint8_t Number = 1, Type = 1, Fill = 0;
};

class ImdWriter {
 public:
  explicit ImdWriter(const std::string& comment = "IMD 1.18: 07/12/2026 00:00:00") : Bytes(comment.begin(), comment.end()) {
    Bytes.push_back(0x1A);
  }
  // Sectors numbered 1..spt with normal data unless given.
  ImdWriter& Track(uint8_t mode, uint8_t cyl, uint8_t headByte, uint8_t sizeCode, int spt,
                   std::vector<ImdSectorSpec> sectors = {}) {
    for (int s = int(sectors.size()) + 1; sectors.size() < static_cast<size_t>(spt); ++s) sectors.push_back({uint8_t(s), 1, 0});
    Bytes.insert(Bytes.end(), {mode, cyl, headByte, uint8_t(sectors.size()), sizeCode});
    for (const auto& s : sectors) Bytes.push_back(s.Number);
    for (int map : {0x80, 0x40})
      if (headByte & map) Bytes.insert(Bytes.end(), sectors.size(), uint8_t(map == 0x80 ? cyl + 100 : 50));
    for (const auto& s : sectors) {
      Bytes.push_back(s.Type);
      if (s.Type >= 1 && s.Type <= 8 && (s.Type & 1))
        for (int i = 0; i < SectorSizeFromCode(sizeCode & 7); ++i) Bytes.push_back(SectorByte(cyl, headByte & 1, s.Number, i));
      else if (s.Type >= 2 && s.Type <= 8)
        Bytes.push_back(s.Fill);
    }
    return *this;
  }
  std::vector<uint8_t> Bytes;
};

// Track 0 of spt0 x 128 bytes, then data tracks of spt x (128 << sizeCode) bytes.
inline std::vector<uint8_t> StandardImd(int cylinders, int heads, int spt0, int spt, uint8_t sizeCode) {
  ImdWriter w;
  w.Track(2, 0, 0, 0, spt0);
  for (int t = 1; t < cylinders * heads; ++t) w.Track(5, uint8_t(t / heads), uint8_t(t % heads), sizeCode, spt);
  return w.Bytes;
}

// The winchester controller's registers at the addresses the guest programs use.
inline void MapRwin(TestMachine& m) {
  for (uint32_t r = 0; r < 4; ++r) m.SetDeviceCode(0xF1C0D0 + 2 * r, 0xF1C0D1 + 2 * r, static_cast<uint8_t>(DcRwinR0 + r));
  m.SetDeviceCode(0xF1C0D8, 0xF1C0DF, DcRwinR4to7);
}

// Progress of an image creation: the bytes counted so far; cancels at the given call.
struct Progress : NewDiskProgress {
  int calls = 0, cancelAt = -1;
  int64_t count = 0;
  void SetMinMAx(int32_t, int32_t) override {}
  void SetValue(int32_t) override {}
  void ShowCount(int64_t bytes) override { count = bytes; }
  bool CancelRequested() override { return ++calls == cancelAt; }
};

inline std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::string& path) {
  const auto b = ReadAll(path);
  return {b.begin(), b.end()};
}

// A sparse file of `length` bytes that starts with `head`.
inline std::string WriteSparse(const TempFolder& dir, const std::string& name, int64_t length,
                               const std::vector<uint8_t>& head = {}) {
  const std::string path = dir.Write(name, head);
  if (truncate(path.c_str(), static_cast<off_t>(length)) != 0) std::abort();
  return path;
}

// LSN 0 with the magic and the configuration LSN; then, when cylinders > 0, the
// configuration area as LSN 1.
inline std::vector<uint8_t> Volume(const char* magic, uint32_t configLsn, int cyl = 0, int heads = 0, int spt = 0,
                                   int bps = 0, uint16_t attrWord = 0x10, uint16_t attrMask = 0) {
  std::vector<uint8_t> s(cyl || heads || spt || bps ? 512 : 256, 0);
  std::copy(magic, magic + 8, s.begin() + 248);
  for (int i = 0; i < 4; ++i) s[144 + i] = uint8_t(configLsn >> (24 - 8 * i));
  if (s.size() == 512) {
    uint8_t* c = s.data() + 256;
    c[4] = attrMask >> 8, c[5] = attrMask & 0xFF, c[8] = attrWord >> 8, c[9] = attrWord & 0xFF;
    c[24] = uint8_t(spt), c[25] = uint8_t(heads), c[26] = uint8_t(cyl >> 8), c[27] = uint8_t(cyl);
    c[30] = uint8_t(bps >> 8), c[31] = uint8_t(bps);
  }
  return s;
}

class DiskTest : public ::testing::Test {
 protected:
  void SetUp() override { InitDrives(); }
  void TearDown() override {
    for (DriveNumber d = 0; d < UsedDrives; ++d) EjectDisk(d);
    HostFileOpenFault = nullptr;
  }
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
  std::string BoxText(size_t i) const { return host.CallsOf(HostCall::Kind::MessageBox).at(i).Text; }
  classIMDfile& Imd(DriveNumber d) { return *DriveTable[d].Imd; }
  classRawFile& Raw(DriveNumber d) { return *DriveTable[d].Raw; }

  ScriptedHost host;
  TempFolder dir;
  int files = 0;
};

}  // namespace korva::test
