// Broken IMD images (cut at every byte, odd head bytes, numbering maps, size
// codes, record types, empty tracks) mount or are refused, never read a byte that
// is not the image's own, and answer every position question.
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using ImageMalformed = DiskTest;

void WorkOut(DriveNumber d, bool write) {
  classIMDfile& imd = *DriveTable[d].Imd;
  for (int32_t c = -1; c <= imd.Cylinders() + 1; ++c)
    for (int32_t h = -1; h <= imd.Heads() + 1; ++h) {
      imd.SetHead(h);
      imd.SetCylinder(c);
      for (int32_t s : {-1, 0, 1, 2, 4, 17, 255, 256}) {
        imd.SetSector(s);
        EXPECT_GE(imd.SectorOffset(), -1);
        (void)(imd.AMCylinder() + imd.AMHead() + imd.IMDSectorFill());
      }
    }
  for (int32_t lsn = 0; lsn <= imd.MaxDataOnDisk() / 256 + 1 && lsn < 4096; ++lsn)
    if (ReadDiskSector(d, lsn) && write && !DriveTable[d].ReadOnly) WriteDiskSector(d, lsn);
}

TEST_F(ImageMalformed, CutAtEveryByte) {
  const auto full = StandardImd(3, 2, 4, 2, 1);
  ASSERT_TRUE(MountBytes(1, full));
  std::vector<std::array<uint8_t, 256>> good;
  for (int32_t lsn = 0; ReadDiskSector(1, lsn); ++lsn) good.push_back(SectorBuffer);
  ASSERT_EQ(good.size(), 12u);
  for (size_t n = 0; n < full.size(); ++n) {
    for (int i = 0; i < 4; ++i) host.AnswerMessage(MsgAnswer::No);
    if (!MountBytes(0, std::vector<uint8_t>(full.begin(), full.begin() + static_cast<long>(n)))) continue;
    ASSERT_TRUE(DriveTable[0].IsIMD) << n;
    for (size_t lsn = 0; lsn < good.size(); ++lsn) {
      if (ReadDiskSector(0, static_cast<int32_t>(lsn))) {
        ASSERT_EQ(SectorBuffer, good[lsn]) << n << " " << lsn;
      }
    }
    WorkOut(0, false);
  }
}

TEST_F(ImageMalformed, OddHeaderFields) {
  ImdWriter images[8];
  images[0].Track(2, 0, 0, 0, 4).Track(5, 0, 0xFF, 1, 4).Track(5, 1, 0xFE, 1, 4);  // head bytes 0xFF, 0xFE
  images[1].Track(2, 0, 0, 0, 4, {{1}, {1}, {0xFF}, {0xFF}}).Track(5, 1, 0, 1, 2, {{2}, {2}});  // duplicates
  images[2].Track(2, 0, 0, 7, 4).Track(5, 1, 0, 0xFF, 4);                                    // size codes
  images[3].Track(2, 0, 0, 0, 4, {{1, 9}}).Track(5, 1, 0, 1, 2);                               // type 9
  images[4].Track(2, 0, 0, 0, 4, {{1, 200}, {2, 255}}).Track(5, 1, 0, 1, 2);                   // types 200, 255
  images[5].Track(2, 0, 0, 0, 0).Track(5, 1, 0, 1, 4);                                         // empty track 0
  images[6].Track(2, 0, 0, 0, 4).Track(5, 0, 1, 1, 2).Track(5, 255, 1, 1, 2).Track(5, 3, 0, 1, 2);  // index 511
  images[7].Bytes.pop_back();                                                                  // no end mark
  for (auto& image : images) {
    ASSERT_TRUE(MountBytes(0, image.Bytes));
    WorkOut(0, true);
  }
  ASSERT_TRUE(MountBytes(0, images[3].Bytes));  // a type-9 sector: no data, not read-only
  EXPECT_FALSE(DriveTable[0].ReadOnly);
  EXPECT_FALSE(ReadDiskSector(0, 0));
  EXPECT_TRUE(ReadDiskSector(0, 1));
  ASSERT_TRUE(MountBytes(0, images[5].Bytes));  // LSNs start on cylinder 1
  EXPECT_TRUE(Imd(0).RO());
  ASSERT_TRUE(ReadDiskSector(0, 0));
  EXPECT_EQ(SectorBuffer[9], SectorByte(1, 0, 1, 9));
  ASSERT_TRUE(MountBytes(0, images[6].Bytes));  // index 511 ends the parse and is never found
  EXPECT_EQ(Imd(0).Tracks(), 512);
  EXPECT_TRUE(Imd(0).SetTrack(511));
  EXPECT_EQ(Imd(0).SPT(), 2);
  EXPECT_FALSE(Imd(0).SetSector(1));
  ASSERT_TRUE(MountBytes(0, images[7].Bytes));
  EXPECT_EQ(Imd(0).Tracks(), 0);
  EXPECT_EQ(Imd(0).Comments(), "IMD 1.18: 07/12/2026 00:00:00");
}

}  // namespace
}  // namespace korva::test
