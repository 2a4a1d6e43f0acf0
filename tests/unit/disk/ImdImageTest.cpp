// IMD images: recognition, the track table, sector lookups and the read-only rules.
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using ImdImage = DiskTest;

TEST_F(ImdImage, SignatureCommentAndMountBox) {
  auto lower = StandardImd(2, 1, 26, 16, 1);
  lower[0] = 'i', lower[1] = 'm', lower[2] = 'd';
  ASSERT_TRUE(MountBytes(0, lower));
  EXPECT_TRUE(DriveTable[0].IsIMD && !DriveTable[0].IsRAW);
  EXPECT_EQ(Imd(0).Comments(), "imd 1.18: 07/12/2026 00:00:00");
  EXPECT_EQ(Titles(), std::vector<std::string>{"IMD File will Open Read/Write"});
  EXPECT_EQ(BoxText(0), "imd 1.18: 07/12/2026 00:00:00\r\nTrack 0 Encoding - FM  Transfer Rate-250\r\n SPT-26  "
                        "Sector Size-128\r\n\r\nTracks NOT 0 Encoding - MFM  Transfer Rate-250\r\n SPT-16  Sector "
                        "Size-256\r\n");

  auto dash = lower;
  dash[3] = '-';
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::No);  // nor a raw image
  EXPECT_FALSE(MountBytes(1, dash));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Magic Error", "Unrecognized File"}));
  EXPECT_EQ(BoxText(1).rfind("File is neither RAW nor IMD - ", 0), 0u);
  EXPECT_FALSE(DriveTable[1].Imd || DriveTable[1].Raw);
}

TEST_F(ImdImage, HeadsCylindersAndPositions) {
  ASSERT_TRUE(MountBytes(0, StandardImd(5, 1, 8, 8, 1)));
  EXPECT_EQ(Imd(0).Heads(), 1);
  EXPECT_EQ(Imd(0).Cylinders(), 5);
  EXPECT_TRUE(Imd(0).SetCylinder(4));
  EXPECT_FALSE(Imd(0).SetCylinder(5));

  ImdWriter w;  // 153 track indexes: cylinder 76 has head 0 only
  for (int t = 0; t < 153; ++t) w.Track(5, uint8_t(t / 2), uint8_t(t % 2), 1, 2);
  ASSERT_TRUE(MountBytes(1, w.Bytes));
  classIMDfile& imd = Imd(1);
  EXPECT_EQ(imd.Heads(), 2);
  EXPECT_EQ(imd.Cylinders(), 77);
  EXPECT_FALSE(imd.RO());
  EXPECT_TRUE(imd.SetCylinder(76) && imd.SetHead(1));
  EXPECT_FALSE(imd.SetSector(1));
  EXPECT_EQ(imd.SPT(), 0);
  EXPECT_TRUE(imd.SetTrack(152));
  EXPECT_EQ(imd.RqCylinder() * 10 + imd.RqHead(), 760);

  // A head past the image never selects the next cylinder's track.
  EXPECT_FALSE(imd.SetHead(2));
  EXPECT_TRUE(imd.SetCylinder(3));
  EXPECT_FALSE(imd.SetSector(1));
  EXPECT_TRUE(imd.SetHead(1) && imd.SetSector(1));
  EXPECT_EQ(imd.AMHead(), 1);
}

TEST_F(ImdImage, FirstHeadOneRecordAfterHighCylindersStaysInsideTheTable) {
  ImdWriter w;
  for (int c = 0; c < 6; ++c) w.Track(5, c, 0, 1, 4);
  w.Track(5, 0, 1, 1, 4);  // two heads only from here
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  EXPECT_EQ(imd.Tracks(), 11);
  EXPECT_TRUE(imd.RO());  // cylinders 1-4 have no head-1 track
  EXPECT_TRUE(imd.SetHead(0) && imd.SetCylinder(5) && imd.SetSector(3));
  EXPECT_EQ(imd.IMDSectorType(), 1);
}

TEST_F(ImdImage, NumberingMapAndAddressMarks) {
  std::vector<ImdSectorSpec> interleave;
  for (int n : {1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8, 16}) interleave.push_back({uint8_t(n), 1, 0});
  ImdWriter w;
  w.Track(2, 0, 0xC0, 0, 4).Track(5, 1, 0, 1, 16, interleave);
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  imd.SetCylinder(1);
  ASSERT_TRUE(imd.SetSector(5));
  std::vector<uint8_t> data(256);
  ASSERT_TRUE(imd.ReadData(imd.SectorOffset(), data.data(), data.size()));
  EXPECT_EQ(data[77], SectorByte(1, 0, 5, 77));
  for (int missing : {0, 17, -1}) {
    EXPECT_FALSE(imd.SetSector(missing));
    EXPECT_EQ(imd.SectorOffset(), -1);
    EXPECT_EQ(imd.IMDSectorType() + imd.AMCylinder(), 0);
  }
  imd.UseSectorMap = false;  // the number is a position, checked against the count
  EXPECT_TRUE(imd.SetSector(15));
  EXPECT_FALSE(imd.SetSector(16));

  imd.SetCylinder(0);
  ASSERT_TRUE(imd.SetSector(2));
  EXPECT_EQ(imd.TrackPreamble(), "17");
  EXPECT_EQ(imd.AMCylinder() + imd.AMHead(), 0);
  imd.UseCylinderMap = imd.UseHeadMap = true;
  EXPECT_EQ(imd.AMCylinder(), 100);
  EXPECT_EQ(imd.AMHead(), 50);
}

TEST_F(ImdImage, ReadOnlyRules) {
  ImdWriter compressed;
  compressed.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4, {{1, 1}, {2, 2, 0xE5}, {3, 1}, {4, 1}});
  ASSERT_TRUE(MountBytes(0, compressed.Bytes));
  EXPECT_TRUE(Imd(0).RO() && DriveTable[0].ReadOnly);
  EXPECT_EQ(Titles(), std::vector<std::string>{"IMD File will Open READ ONLY"});
  ASSERT_TRUE(ReadDiskSector(0, 3));  // track 0 holds LSNs 0 and 1
  EXPECT_EQ(std::count(SectorBuffer.begin(), SectorBuffer.end(), 0xE5), 256);
  EXPECT_FALSE(WriteDiskSector(0, 3));

  ImdWriter unavailable;
  unavailable.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4, {{1, 1}, {2, 0}, {3, 1}, {4, 1}});
  ASSERT_TRUE(MountBytes(1, unavailable.Bytes));
  EXPECT_TRUE(Imd(1).RO());
  EXPECT_FALSE(ReadDiskSector(1, 3));

  ImdWriter missing;  // no cylinder 2
  missing.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4).Track(5, 3, 0, 1, 4);
  ASSERT_TRUE(MountBytes(2, missing.Bytes));
  EXPECT_TRUE(Imd(2).RO());
  EXPECT_EQ(Imd(2).MaxDataOnDisk(), 4 * 128 + 8 * 256);

  auto cut = StandardImd(3, 1, 4, 4, 1);
  cut.erase(cut.end() - 10, cut.end());
  ASSERT_TRUE(MountBytes(3, cut));
  EXPECT_TRUE(Imd(3).RO());
  EXPECT_EQ(Imd(3).Tracks(), 2);  // the cut record is dropped

  ImdWriter zero;  // size codes 7 and 0xFF: sectors of 0 bytes
  zero.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 7, 4).Track(5, 2, 0, 0xFF, 3);
  ASSERT_TRUE(MountBytes(0, zero.Bytes));
  EXPECT_FALSE(Imd(0).RO());
  EXPECT_TRUE(Imd(0).SetCylinder(2));
  EXPECT_EQ(Imd(0).SectorSizeCode() * 10 + Imd(0).SectorSize(), 70);
  EXPECT_EQ(Imd(0).MaxDataOnDisk(), 4 * 128);
}

}  // namespace
}  // namespace korva::test
