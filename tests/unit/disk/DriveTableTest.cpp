// The drive table: names, insertion, read-only handling and the logical-sector
// mapping onto IMD images, on real files.
#include <sys/stat.h>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using DriveTableTest = DiskTest;

void ExpectSector(int at, int c, int h, int sector, int from, int n) {
  for (int i = 0; i < n; ++i) ASSERT_EQ(SectorBuffer[at + i], SectorByte(c, h, sector, from + i)) << at + i;
}

size_t BytesChanged(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  size_t n = a.size() == b.size() ? 0 : SIZE_MAX;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

TEST_F(DriveTableTest, NamesAndDriveNumbers) {
  EXPECT_EQ(GetDriveNumber("fd02"), 2);
  EXPECT_EQ(GetDriveNumber("FD2"), -1);
  EXPECT_EQ(GetDriveNumber("HD04"), -1);
  EXPECT_FALSE(ReadDiskSector(4, 0) || ReadDiskSector(-1, 0) || ReadDiskSector(0, 0));
}

TEST_F(DriveTableTest, LsnMapping) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 16, 16, 1)));
  ASSERT_TRUE(ReadDiskSector(0, 7));
  ExpectSector(0, 0, 0, 15, 0, 128);
  ExpectSector(128, 0, 0, 16, 0, 128);
  ASSERT_TRUE(ReadDiskSector(0, 8));
  ExpectSector(0, 0, 1, 1, 0, 256);
  EXPECT_TRUE(ReadDiskSector(0, 87));  // 8 + 5 x 16 - 1
  EXPECT_FALSE(ReadDiskSector(0, 88));

  // T = 13 and 512-byte sectors: the half is chosen by the LSN's own parity.
  ASSERT_TRUE(MountBytes(1, StandardImd(2, 1, 26, 8, 2)));
  ASSERT_TRUE(ReadDiskSector(1, 13));
  ExpectSector(0, 1, 0, 1, 256, 256);
  ASSERT_TRUE(ReadDiskSector(1, 14));
  ExpectSector(0, 1, 0, 1, 0, 256);
  SectorBuffer.fill(0xA5);
  ASSERT_TRUE(WriteDiskSector(1, 13));
  ASSERT_TRUE(ReadDiskSector(1, 14));  // the other half is untouched
  ExpectSector(0, 1, 0, 1, 0, 256);

  for (int32_t lsn : {-1, 0x7FFFFF, INT32_MAX, INT32_MIN}) EXPECT_FALSE(ReadDiskSector(1, lsn) || WriteDiskSector(1, lsn));
}

TEST_F(DriveTableTest, UnsupportedGeometriesFailInsteadOfReadingOtherBytes) {
  ImdWriter big;  // 1024-byte data sectors
  big.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 3, 2);
  ImdWriter t0;  // track 0 of 256-byte sectors
  t0.Track(5, 0, 0, 1, 4).Track(5, 1, 0, 1, 4);
  ImdWriter mixed;  // cylinder 2 has 128-byte sectors, unlike cylinder 1
  mixed.Track(2, 0, 0, 0, 2).Track(5, 1, 0, 1, 2).Track(5, 2, 0, 0, 2);
  ASSERT_TRUE(MountBytes(0, big.Bytes) && MountBytes(1, t0.Bytes) && MountBytes(2, mixed.Bytes));
  EXPECT_TRUE(ReadDiskSector(0, 1));
  EXPECT_FALSE(ReadDiskSector(0, 2) || WriteDiskSector(0, 2));
  EXPECT_FALSE(ReadDiskSector(1, 0) || WriteDiskSector(1, 3));
  EXPECT_TRUE(ReadDiskSector(1, 4));
  EXPECT_TRUE(ReadDiskSector(2, 2));
  EXPECT_FALSE(ReadDiskSector(2, 3) || WriteDiskSector(2, 3));
}

TEST_F(DriveTableTest, TrackZeroWriteChecksBothHalvesFirst) {
  ImdWriter w;  // sector 2 of track 0 carries no data (type 9)
  w.Track(2, 0, 0, 0, 4, {{1, 1}, {2, 9}, {3, 1}, {4, 1}}).Track(5, 1, 0, 1, 4);
  const std::string path = dir.Write("t0.imd", w.Bytes);
  ASSERT_TRUE(Mount(0, path));
  EXPECT_FALSE(DriveTable[0].ReadOnly);
  SectorBuffer.fill(0x77);
  EXPECT_FALSE(WriteDiskSector(0, 0) || ReadDiskSector(0, 0));
  EXPECT_EQ(ReadAll(path), w.Bytes);
  EXPECT_TRUE(WriteDiskSector(0, 1));
}

TEST_F(DriveTableTest, ReadOnlyRequestAndRefusedWriteAccess) {
  const auto bytes = StandardImd(2, 1, 4, 4, 1);
  const std::string path = dir.Write("ro.imd", bytes);
  ASSERT_TRUE(Mount(0, path, true));
  EXPECT_EQ(Titles(), std::vector<std::string>{"IMD File will Open READ ONLY"});
  SectorBuffer.fill(0xEE);
  EXPECT_FALSE(WriteDiskSector(0, 0) || WriteDiskSector(0, 3));
  EXPECT_TRUE(ReadDiskSector(0, 3));
  EjectDisk(0);
  EXPECT_EQ(ReadAll(path), bytes);

  HostFileOpenFault = [](const std::string&, bool writable) { return writable ? EACCES : 0; };
  ASSERT_TRUE(Mount(1, path));
  EXPECT_TRUE(DriveTable[1].ReadOnly);
  EXPECT_FALSE(WriteDiskSector(1, 3));

  HostFileOpenFault = nullptr;
  host.ClearCalls();
  EXPECT_FALSE(Mount(2, dir.Path("missing.imd")));
  EXPECT_EQ(Titles(), std::vector<std::string>{" Error inserting - FD02"});
  EXPECT_EQ(BoxText(0).rfind(" Error number " + std::to_string(ENOENT) + "\r\n\r\n ", 0), 0u);
  EXPECT_NE(BoxText(0).find("\r\n\r\n File = " + dir.Path("missing.imd")), std::string::npos);
  ASSERT_EQ(mkfifo(dir.Path("fifo").c_str(), 0600), 0);  // neither hangs nor mounts
  EXPECT_FALSE(Mount(2, dir.Path("fifo"), true) || Mount(2, dir.Path("")));
  // Neither a FIFO nor a device is opened, for writing or for reading; one box says why.
  std::filesystem::create_symlink("/dev/zero", dir.Path("zero"));
  for (const char* name : {"fifo", "zero"}) {
    host.ClearCalls();
    EXPECT_FALSE(Mount(2, dir.Path(name)));
    ASSERT_EQ(Titles(), std::vector<std::string>{" Error inserting - FD02"});
    EXPECT_EQ(BoxText(0), " Error number 75\r\n\r\n it is not a regular file\r\n\r\n File = " + dir.Path(name));
  }
}

TEST_F(DriveTableTest, RoundTripThroughEject) {
  const auto bytes = StandardImd(4, 2, 26, 8, 2);
  const std::string path = dir.Write("rt.imd", bytes);
  const int32_t lsns[] = {0, 12, 13, 14, 20, 77};
  ASSERT_TRUE(Mount(3, path));
  for (int32_t lsn : lsns) {
    for (int i = 0; i < 256; ++i) SectorBuffer[i] = static_cast<uint8_t>(lsn * 5 + i);
    ASSERT_TRUE(WriteDiskSector(3, lsn)) << lsn;
  }
  EjectDisk(3);
  EXPECT_FALSE(ReadDiskSector(3, 0));
  EXPECT_LE(BytesChanged(ReadAll(path), bytes), std::size(lsns) * 256);
  ASSERT_TRUE(Mount(3, path));
  for (int32_t lsn : lsns) {
    ASSERT_TRUE(ReadDiskSector(3, lsn));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(SectorBuffer[i], static_cast<uint8_t>(lsn * 5 + i)) << lsn;
  }
  ASSERT_TRUE(ReadDiskSector(3, 15));  // unwritten: cylinder 0 head 1 sector 2, second half
  ExpectSector(0, 0, 1, 2, 256, 256);

  ASSERT_TRUE(MountBytes(3, StandardImd(3, 1, 4, 4, 1)));  // a mounted drive is ejected first
  EXPECT_EQ(Imd(3).Tracks(), 3);
  EXPECT_EQ(ReadAll(path).size(), bytes.size());
}

TEST_F(DriveTableTest, TrackSplittingAndCpmRecords) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 8, 8, 1)));
  EXPECT_EQ(Imd(0).Order(), 2);
  EXPECT_EQ(GetTrackCylinder(0, 4) * 10 + GetTrackHead(0, 4), 11);  // head 1 runs back
  EXPECT_EQ(GetTrackCylinder(0, 2) * 10 + GetTrackHead(0, 2), 20);
  EXPECT_EQ(GetTrackCylinder(0, 6), -1);
  EXPECT_EQ(GetCpmSector(0, 1, 1, 2), 1);   // 256-byte sectors, one-based
  EXPECT_EQ(GetCpmSector(0, 0, 0, 2), 2);   // 128-byte track 0
  EXPECT_EQ(GetCpmSector(0, 9, 0, 2), -1);  // no such track
  EXPECT_EQ(GetCpmSector(1, 0, 0, 1), -1);  // empty drive
}

}  // namespace
}  // namespace korva::test
