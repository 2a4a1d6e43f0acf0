// IMD images: recognition, the track table, sector lookups through the numbering
// map, data record types and the read-only rules.
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using ImdImage = DiskTest;

TEST_F(ImdImage, SignatureIsCheckedWithoutRegardToCaseButNeedsTheSpace) {
  auto lower = StandardImd(2, 1, 4, 4, 1);
  lower[0] = 'i', lower[1] = 'm', lower[2] = 'd';
  ASSERT_TRUE(MountBytes(0, lower));
  EXPECT_TRUE(DriveTable[0].IsIMD);
  EXPECT_FALSE(DriveTable[0].IsRAW);

  auto dash = StandardImd(2, 1, 4, 4, 1);
  dash[3] = '-';
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::No);  // not a raw image of any known size either
  EXPECT_FALSE(MountBytes(1, dash));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Magic Error", "Unrecognized File"}));
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[1].Text.rfind("File is neither RAW nor IMD - ", 0), 0u);
  EXPECT_FALSE(DriveTable[1].Imd);
  EXPECT_FALSE(DriveTable[1].Raw);
}

TEST_F(ImdImage, CommentAndMountBox) {
  ImdWriter w("IMD 1.18: 01/02/2026 10:00:00");
  w.Track(2, 0, 0, 0, 26).Track(5, 1, 0, 1, 16);
  ASSERT_TRUE(MountBytes(2, w.Bytes));
  EXPECT_EQ(Imd(2).Comments(), "IMD 1.18: 01/02/2026 10:00:00");
  EXPECT_EQ(Imd(2).DiskPreamble(), "29");
  const auto box = host.CallsOf(HostCall::Kind::MessageBox).at(0);
  EXPECT_EQ(box.Title, "IMD File will Open Read/Write");
  EXPECT_EQ(box.Text,
            "IMD 1.18: 01/02/2026 10:00:00\r\nTrack 0 Encoding - FM  Transfer Rate-250\r\n SPT-26  Sector "
            "Size-128\r\n\r\nTracks NOT 0 Encoding - MFM  Transfer Rate-250\r\n SPT-16  Sector Size-256\r\n");
}

TEST_F(ImdImage, HeadsCylindersAndTrackIndexes) {
  ASSERT_TRUE(MountBytes(0, StandardImd(5, 1, 8, 8, 1)));
  classIMDfile& one = Imd(0);
  EXPECT_EQ(one.Heads(), 1);
  EXPECT_EQ(one.Tracks(), 5);
  EXPECT_EQ(one.Cylinders(), 5);
  EXPECT_TRUE(one.SetCylinder(4));
  EXPECT_FALSE(one.SetCylinder(5));
  EXPECT_FALSE(one.SetHead(1));

  // 76 full cylinders and cylinder 76 head 0: 153 track indexes, 77 cylinders.
  ImdWriter w;
  for (int c = 0; c < 77; ++c)
    for (int h = 0; h < (c == 76 ? 1 : 2); ++h) w.Track(5, c, h, 1, 2);
  ASSERT_TRUE(MountBytes(1, w.Bytes));
  classIMDfile& two = Imd(1);
  EXPECT_EQ(two.Heads(), 2);
  EXPECT_EQ(two.Tracks(), 153);
  EXPECT_EQ(two.Cylinders(), 77);
  EXPECT_TRUE(two.SetCylinder(76));
  EXPECT_TRUE(two.SetHead(1));
  EXPECT_FALSE(two.SetSector(1));
  EXPECT_EQ(two.SPT(), 0);
  EXPECT_EQ(two.SectorOffset(), -1);
  EXPECT_FALSE(two.RO());  // no index below Tracks is missing
  EXPECT_TRUE(two.SetTrack(152));
  EXPECT_EQ(two.RqCylinder(), 76);
  EXPECT_EQ(two.RqHead(), 0);
  EXPECT_FALSE(two.SetTrack(153));
  EXPECT_EQ(two.SPT(), 0);
}

TEST_F(ImdImage, AHeadPastTheImageNeverSelectsTheNextCylinder) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 8, 8, 1)));
  classIMDfile& imd = Imd(0);
  EXPECT_FALSE(imd.SetHead(2));
  EXPECT_TRUE(imd.SetCylinder(0));
  EXPECT_EQ(imd.SPT(), 0);
  EXPECT_FALSE(imd.SetSector(1));
  EXPECT_TRUE(imd.SetHead(1));  // the position is whole again
  EXPECT_TRUE(imd.SetSector(1));
  EXPECT_FALSE(imd.SetCylinder(-1));
  EXPECT_EQ(imd.SectorOffset(), -1);
}

TEST_F(ImdImage, FirstHeadOneRecordAfterHighCylindersStaysInsideTheTable) {
  ImdWriter w;
  for (int c = 0; c < 6; ++c) w.Track(5, c, 0, 1, 4);
  w.Track(5, 0, 1, 1, 4);  // the head count becomes 2 only here
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  EXPECT_EQ(imd.Heads(), 2);
  EXPECT_EQ(imd.Tracks(), 11);  // cylinder 5 head 0 is index 10
  EXPECT_TRUE(imd.RO());        // cylinders 1-4 have no head-1 track
  imd.SetHead(0);
  imd.SetCylinder(5);
  ASSERT_TRUE(imd.SetSector(3));
  EXPECT_EQ(imd.IMDSectorType(), 1);
}

TEST_F(ImdImage, NumberingMapLookupAndMissingSectors) {
  std::vector<ImdSectorSpec> interleave;
  for (int n : {1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15, 8, 16}) interleave.push_back({uint8_t(n), 1, 0});
  ImdWriter w;
  w.Track(2, 0, 0, 0, 16).Track(5, 1, 0, 1, 16, interleave);
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  imd.SetCylinder(1);
  ASSERT_TRUE(imd.SetSector(5));
  std::vector<uint8_t> data(256);
  ASSERT_TRUE(imd.ReadData(imd.SectorOffset(), data.data(), data.size()));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(data[i], SectorByte(1, 0, 5, i));
  EXPECT_EQ(imd.AMSector(), 5);
  EXPECT_EQ(imd.AMCylinder(), 1);
  for (int missing : {0, 17, -1, 256}) {
    EXPECT_FALSE(imd.SetSector(missing));
    EXPECT_EQ(imd.SectorOffset(), -1);
    EXPECT_EQ(imd.IMDSectorType(), 0);
    EXPECT_EQ(imd.AMCylinder(), 0);
  }
  // Without the map the number is a position, checked against the track's count.
  imd.UseSectorMap = false;
  EXPECT_TRUE(imd.SetSector(8));
  EXPECT_EQ(imd.AMSector(), 8);
  EXPECT_FALSE(imd.SetSector(16));
}

TEST_F(ImdImage, AddressMarkMapsAreUsedOnlyWhenAsked) {
  ImdWriter w;
  w.Track(2, 0, 0x80 | 0x40, 0, 4).Track(5, 1, 0, 1, 4);
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  imd.SetCylinder(0);
  ASSERT_TRUE(imd.SetSector(2));
  EXPECT_EQ(imd.TrackPreamble(), "17");
  EXPECT_EQ(imd.AMCylinder(), 0);
  EXPECT_EQ(imd.AMHead(), 0);
  imd.UseCylinderMap = imd.UseHeadMap = true;
  EXPECT_EQ(imd.AMCylinder(), 100);
  EXPECT_EQ(imd.AMHead(), 50);
  ASSERT_TRUE(imd.SetSector(1));
  std::vector<uint8_t> data(128);
  ASSERT_TRUE(imd.ReadData(imd.SectorOffset(), data.data(), data.size()));
  EXPECT_EQ(data[5], SectorByte(0, 0, 1, 5));
}

TEST_F(ImdImage, ModesGiveEncodingRateAndDensity) {
  ImdWriter w;
  for (int mode = 0; mode < 7; ++mode) w.Track(mode == 6 ? 9 : mode, mode, 0, 1, 1);
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  const int density[] = {1, 1, 1, 2, 2, 2, 0}, rate[] = {8, 7, 6, 8, 7, 6, 0};
  for (int c = 0; c < 7; ++c) {
    imd.SetCylinder(c);
    EXPECT_EQ(imd.Density(), density[c]);
    EXPECT_EQ(imd.TransferRate(), rate[c]);
    EXPECT_EQ(imd.DensityCode(), c == 6 ? 9 : c);
  }
  EXPECT_EQ(classIMDfile::GetEncoding(3), 1);
  EXPECT_EQ(classIMDfile::GetTransferRate(4), 300);
  EXPECT_EQ(classIMDfile::GetTransferRate(6), 0);
}

TEST_F(ImdImage, CompressedAndUnavailableRecordsMakeTheImageReadOnly) {
  ImdWriter w;
  w.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4, {{1, 1, 0}, {2, 2, 0xE5}, {3, 1, 0}, {4, 1, 0}});
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  classIMDfile& imd = Imd(0);
  EXPECT_TRUE(imd.RO());
  EXPECT_TRUE(DriveTable[0].ReadOnly);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).at(0).Title, "IMD File will Open READ ONLY");
  imd.SetCylinder(1);
  imd.SetSector(2);
  EXPECT_EQ(imd.IMDSectorType(), 2);
  EXPECT_EQ(imd.IMDSectorFill(), 0xE5);
  // Track 0 is two LSNs; the compressed sector is LSN 3.
  SectorBuffer.fill(0);
  ASSERT_TRUE(ReadDiskSector(0, 3));
  for (uint8_t b : SectorBuffer) ASSERT_EQ(b, 0xE5);
  EXPECT_FALSE(WriteDiskSector(0, 3));
  EXPECT_FALSE(WriteDiskSector(0, 2));

  ImdWriter unavailable;
  unavailable.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4, {{1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 1, 0}});
  ASSERT_TRUE(MountBytes(1, unavailable.Bytes));
  EXPECT_TRUE(Imd(1).RO());
  EXPECT_FALSE(ReadDiskSector(1, 3));
}

TEST_F(ImdImage, MissingTrackAndSizeCodeSeven) {
  ImdWriter w;
  w.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 1, 4).Track(5, 3, 0, 1, 4);  // no cylinder 2
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  EXPECT_TRUE(Imd(0).RO());
  EXPECT_EQ(Imd(0).MaxDataOnDisk(), 4 * 128 + 8 * 256);

  ImdWriter zero;
  zero.Track(2, 0, 0, 0, 4).Track(5, 1, 0, 7, 4).Track(5, 2, 0, 0xFF, 3);
  ASSERT_TRUE(MountBytes(1, zero.Bytes));
  classIMDfile& imd = Imd(1);
  EXPECT_FALSE(imd.RO());
  imd.SetCylinder(2);
  EXPECT_EQ(imd.SectorSizeCode(), 7);
  EXPECT_EQ(imd.SectorSize(), 0);
  EXPECT_EQ(imd.MaxDataOnDisk(), 4 * 128);
  EXPECT_EQ(SectorSizeFromCode(6), 8192);
  EXPECT_EQ(SectorSizeFromCode(7), 0);
}

TEST_F(ImdImage, TruncatedRecordMountsReadOnly) {
  auto bytes = StandardImd(3, 1, 4, 4, 1);
  bytes.erase(bytes.end() - 10, bytes.end());
  ASSERT_TRUE(MountBytes(0, bytes));
  EXPECT_TRUE(Imd(0).RO());
  EXPECT_EQ(Imd(0).Tracks(), 2);  // the cut record is dropped
  EXPECT_TRUE(ReadDiskSector(0, 2));
}

}  // namespace
}  // namespace korva::test
