// The drive table: names, insertion and ejection, read-only handling and the
// logical-sector mapping onto IMD images, on real files.
#include <algorithm>
#include <cerrno>
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using DriveTableTest = DiskTest;

void ExpectSector(int at, int c, int h, int sector, int from, int n) {
  for (int i = 0; i < n; ++i)
    ASSERT_EQ(SectorBuffer[at + i], SectorByte(c, h, sector, from + i)) << "byte " << at + i;
}

TEST_F(DriveTableTest, NamesAndDriveNumbers) {
  EXPECT_EQ(DriveTable[0].Name, "HD00");
  EXPECT_EQ(DriveTable[3].Name, "FD03");
  EXPECT_EQ(GetDriveNumber("fd02"), 2);
  EXPECT_EQ(GetDriveNumber("FD2"), -1);
  EXPECT_EQ(GetDriveNumber("01"), 1);
  EXPECT_EQ(GetDriveNumber("3"), 3);
  EXPECT_EQ(GetDriveNumber("hd00"), 0);
  EXPECT_EQ(GetDriveNumber("HD04"), -1);
  EXPECT_EQ(GetDriveNumber(""), -1);
  EXPECT_FALSE(ReadDiskSector(4, 0));
  EXPECT_FALSE(ReadDiskSector(-1, 0));
  EXPECT_FALSE(ReadDiskSector(0, 0));  // empty drive
}

TEST_F(DriveTableTest, LsnMappingOnTrackZeroAndTwoSidedData) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 16, 16, 1)));
  ASSERT_TRUE(ReadDiskSector(0, 7));
  ExpectSector(0, 0, 0, 15, 0, 128);
  ExpectSector(128, 0, 0, 16, 0, 128);
  ASSERT_TRUE(ReadDiskSector(0, 8));
  ExpectSector(0, 0, 1, 1, 0, 256);
  ASSERT_TRUE(ReadDiskSector(0, 8 + 16));
  ExpectSector(0, 1, 0, 1, 0, 256);
  // Last LSN: 8 + 5 x 16 - 1.
  EXPECT_TRUE(ReadDiskSector(0, 87));
  EXPECT_FALSE(ReadDiskSector(0, 88));
}

TEST_F(DriveTableTest, FiveTwelveByteSectorsHoldTwoLsnsChosenByParity) {
  ASSERT_TRUE(MountBytes(0, StandardImd(2, 1, 26, 8, 2)));
  ASSERT_TRUE(ReadDiskSector(0, 13));  // T = 13
  ExpectSector(0, 1, 0, 1, 256, 256);
  ASSERT_TRUE(ReadDiskSector(0, 14));
  ExpectSector(0, 1, 0, 1, 0, 256);
  ASSERT_TRUE(ReadDiskSector(0, 12));
  ExpectSector(0, 0, 0, 25, 0, 128);
  ExpectSector(128, 0, 0, 26, 0, 128);

  // Writing one half leaves the other half of the sector as it was.
  SectorBuffer.fill(0xA5);
  ASSERT_TRUE(WriteDiskSector(0, 13));
  ASSERT_TRUE(ReadDiskSector(0, 14));
  ExpectSector(0, 1, 0, 1, 0, 256);
  ASSERT_TRUE(ReadDiskSector(0, 13));
  for (uint8_t b : SectorBuffer) ASSERT_EQ(b, 0xA5);
}

TEST_F(DriveTableTest, UnsupportedGeometriesFailInsteadOfReadingStaleBytes) {
  ImdWriter big;  // 1024-byte data sectors
  big.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 3, 2);
  ASSERT_TRUE(MountBytes(0, big.Bytes));
  SectorBuffer.fill(0x11);
  EXPECT_TRUE(ReadDiskSector(0, 1));
  EXPECT_FALSE(ReadDiskSector(0, 2));
  SectorBuffer.fill(0x11);
  EXPECT_FALSE(WriteDiskSector(0, 2));

  ImdWriter t0;  // track 0 of 256-byte sectors
  t0.Track(5, 0, 0, 1, 4).Track(5, 1, 0, 1, 4);
  ASSERT_TRUE(MountBytes(1, t0.Bytes));
  EXPECT_FALSE(ReadDiskSector(1, 0));
  EXPECT_FALSE(WriteDiskSector(1, 3));
  EXPECT_TRUE(ReadDiskSector(1, 4));  // beyond T = 4, data as usual

  ImdWriter mixed;  // a later data track of another size is not read as the first one's
  mixed.Track(2, 0, 0, 0, 2).Track(5, 1, 0, 1, 2).Track(5, 2, 0, 0, 2);
  ASSERT_TRUE(MountBytes(2, mixed.Bytes));
  EXPECT_TRUE(ReadDiskSector(2, 2));
  EXPECT_FALSE(ReadDiskSector(2, 3));
  EXPECT_FALSE(WriteDiskSector(2, 3));
}

TEST_F(DriveTableTest, TrackZeroWriteChecksBothHalvesFirst) {
  ImdWriter w;  // sector 2 of track 0 carries no data (type 9)
  w.Track(2, 0, 0, 0, 4, {{1, 1, 0}, {2, 9, 0}, {3, 1, 0}, {4, 1, 0}}).Track(5, 1, 0, 1, 4);
  const std::string path = dir.Write("t0.imd", w.Bytes);
  ASSERT_TRUE(Mount(0, path));
  EXPECT_FALSE(DriveTable[0].ReadOnly);
  SectorBuffer.fill(0x77);
  EXPECT_FALSE(WriteDiskSector(0, 0));
  EXPECT_FALSE(ReadDiskSector(0, 0));
  EXPECT_TRUE(WriteDiskSector(0, 1));
  EjectDisk(0);
  auto expected = w.Bytes;
  const std::vector<uint8_t> after = ReadAll(path);
  ASSERT_EQ(after.size(), expected.size());
  int changed = 0;
  for (size_t i = 0; i < after.size(); ++i) changed += after[i] != expected[i];
  EXPECT_LE(changed, 256);  // only LSN 1's two records
  EXPECT_EQ(std::count(after.begin(), after.end(), 0x77) - std::count(expected.begin(), expected.end(), 0x77),
            changed);
}

TEST_F(DriveTableTest, LsnLimits) {
  EXPECT_EQ(LsnLimit, 0x7FFFFF);
  ASSERT_TRUE(MountBytes(0, StandardImd(2, 1, 4, 4, 1)));
  EXPECT_FALSE(ReadDiskSector(0, -1));
  EXPECT_FALSE(ReadDiskSector(0, 0x7FFFFF));
  EXPECT_FALSE(WriteDiskSector(0, 0x7FFFFF));
  EXPECT_FALSE(ReadDiskSector(0, INT32_MAX));
  EXPECT_FALSE(WriteDiskSector(0, INT32_MIN));
}

TEST_F(DriveTableTest, ReadOnlyRequestAndRefusedWriteAccess) {
  const auto bytes = StandardImd(2, 1, 4, 4, 1);
  const std::string path = dir.Write("ro.imd", bytes);
  ASSERT_TRUE(Mount(0, path, true));
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).at(0).Title, "IMD File will Open READ ONLY");
  SectorBuffer.fill(0xEE);
  EXPECT_FALSE(WriteDiskSector(0, 0));
  EXPECT_FALSE(WriteDiskSector(0, 3));
  EXPECT_TRUE(ReadDiskSector(0, 3));
  EjectDisk(0);
  EXPECT_EQ(ReadAll(path), bytes);

  // The host refuses the writable open: the image mounts read-only.
  HostFileOpenFault = [](const std::string&, bool writable) { return writable ? EACCES : 0; };
  host.ClearCalls();
  ASSERT_TRUE(Mount(1, path));
  EXPECT_TRUE(DriveTable[1].ReadOnly);
  EXPECT_EQ(Titles(), std::vector<std::string>{"IMD File will Open READ ONLY"});
  EXPECT_FALSE(WriteDiskSector(1, 3));

  // Any other failure: the insertion box, nothing mounted.
  HostFileOpenFault = nullptr;
  host.ClearCalls();
  EXPECT_FALSE(Mount(2, dir.Path("missing.imd")));
  const auto box = host.CallsOf(HostCall::Kind::MessageBox).at(0);
  EXPECT_EQ(box.Title, " Error inserting - FD02");
  EXPECT_EQ(box.Text.rfind(" Error number " + std::to_string(ENOENT) + "\r\n\r\n ", 0), 0u);
  EXPECT_NE(box.Text.find("\r\n\r\n File = " + dir.Path("missing.imd")), std::string::npos);
  EXPECT_EQ(DriveTable[2].FileNumber, 0);
}

TEST_F(DriveTableTest, RoundTripThroughEjectLeavesEveryOtherByte) {
  const auto bytes = StandardImd(4, 2, 26, 8, 2);
  const std::string path = dir.Write("rt.imd", bytes);
  ASSERT_TRUE(Mount(3, path));
  const int32_t lsns[] = {0, 12, 13, 14, 20, 77};
  for (int32_t lsn : lsns) {
    for (int i = 0; i < 256; ++i) SectorBuffer[i] = static_cast<uint8_t>(lsn * 5 + i);
    ASSERT_TRUE(WriteDiskSector(3, lsn)) << lsn;
  }
  EjectDisk(3);
  EXPECT_FALSE(DriveTable[3].Mounted);
  EXPECT_FALSE(ReadDiskSector(3, 0));
  ASSERT_TRUE(Mount(3, path));
  for (int32_t lsn : lsns) {
    ASSERT_TRUE(ReadDiskSector(3, lsn));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(SectorBuffer[i], static_cast<uint8_t>(lsn * 5 + i)) << lsn;
  }
  EjectDisk(3);
  const auto after = ReadAll(path);
  ASSERT_EQ(after.size(), bytes.size());
  size_t changed = 0;
  for (size_t i = 0; i < after.size(); ++i) changed += after[i] != bytes[i];
  EXPECT_LE(changed, std::size(lsns) * 256);
  // Unwritten LSNs still read their original bytes.
  ASSERT_TRUE(Mount(3, path));
  ASSERT_TRUE(ReadDiskSector(3, 15));
  ExpectSector(0, 0, 1, 2, 256, 256);
}

TEST_F(DriveTableTest, InsertingIntoAMountedDriveEjectsFirst) {
  ASSERT_TRUE(MountBytes(0, StandardImd(2, 1, 4, 4, 1)));
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 1, 4, 4, 1)));
  EXPECT_EQ(Imd(0).Tracks(), 3);
  EXPECT_EQ(DriveTable[0].Image(), DriveTable[0].Imd.get());
  EjectDisk(0);
  EXPECT_EQ(DriveTable[0].Image(), nullptr);
  EXPECT_TRUE(DriveTable[0].Imd);  // the object stays until the next insertion
}

TEST_F(DriveTableTest, TrackSplittingAndCpmRecordsOnImd) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 8, 8, 1)));
  EXPECT_EQ(Imd(0).Order(), 2);  // IMD default
  EXPECT_EQ(GetTrackCylinder(0, 4), 1);  // head 1 runs back from the last cylinder
  EXPECT_EQ(GetTrackHead(0, 4), 1);
  EXPECT_EQ(GetTrackCylinder(0, 3), 2);
  EXPECT_EQ(GetTrackHead(0, 2), 0);
  EXPECT_EQ(GetTrackCylinder(0, 6), -1);
  EXPECT_EQ(GetCpmSector(0, 1, 1, 2), 1);  // 256-byte sectors, one-based: (2 - 1) div 2 + 1
  EXPECT_EQ(GetCpmSector(0, 0, 0, 2), 2);  // 128-byte track 0
  EXPECT_EQ(GetCpmSector(0, 9, 0, 2), -1);  // no such track: size 0
  EXPECT_EQ(GetCpmSector(1, 0, 0, 1), -1);  // empty drive
}

}  // namespace
}  // namespace korva::test
