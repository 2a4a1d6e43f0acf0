// Broken IMD images: cut short at every byte, odd head bytes, numbering maps,
// size codes, record types and empty tracks. Each mounts or is refused, never
// reads a byte that is not the image's own, and answers every position question.
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using ImageMalformed = DiskTest;

// Every position member at every position near the image, and every LSN it holds.
void WorkOut(DriveNumber d, bool write = true) {
  DiskImage* image = DriveTable[d].Image();
  ASSERT_NE(image, nullptr);
  for (int32_t c = -1; c <= image->Cylinders() + 1; ++c)
    for (int32_t h = -1; h <= image->Heads() + 1; ++h) {
      image->SetHead(h);
      image->SetCylinder(c);
      for (int32_t s : {-1, 0, 1, 2, 4, 17, 255, 256}) {
        image->SetSector(s);
        EXPECT_GE(image->SectorOffset(), -1);
        auto& imd = *DriveTable[d].Imd;
        (void)imd.AMCylinder();
        (void)imd.AMHead();
        (void)imd.IMDSectorFill();
      }
    }
  const int64_t lsns = image->MaxDataOnDisk() / 256;
  for (int32_t lsn = 0; lsn <= lsns + 1 && lsn < 4096; ++lsn) {
    if (ReadDiskSector(d, lsn) && write && !DriveTable[d].ReadOnly) WriteDiskSector(d, lsn);
  }
}

TEST_F(ImageMalformed, CutAtEveryByte) {
  const auto full = StandardImd(3, 2, 4, 2, 1);
  ASSERT_TRUE(MountBytes(1, full));
  std::vector<std::array<uint8_t, 256>> good;
  for (int32_t lsn = 0; ReadDiskSector(1, lsn); ++lsn) good.push_back(SectorBuffer);
  ASSERT_EQ(good.size(), 2u + 5 * 2);
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
  std::vector<std::vector<uint8_t>> images;
  {
    ImdWriter w;  // head byte 0xFF: head 1 with both maps, bits 1-5 ignored
    w.Track(2, 0, 0, 0, 4).Track(5, 0, 0xFF, 1, 4).Track(5, 1, 0xFE, 1, 4);
    images.push_back(w.Bytes);
  }
  {
    ImdWriter w;  // duplicate and 0xFF sector numbers
    w.Track(2, 0, 0, 0, 4, {{1, 1, 0}, {1, 1, 0}, {0xFF, 1, 0}, {0xFF, 1, 0}}).Track(5, 1, 0, 1, 2, {{2, 1, 0}, {2, 1, 0}});
    images.push_back(w.Bytes);
  }
  {
    ImdWriter w;  // size codes 7 and 0xFF
    w.Track(2, 0, 0, 7, 4).Track(5, 1, 0, 0xFF, 4);
    images.push_back(w.Bytes);
  }
  for (int type = 9; type <= 255; type += 41) {  // record types 9-255
    ImdWriter w;
    w.Track(2, 0, 0, 0, 4, {{1, uint8_t(type), 0}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0}}).Track(5, 1, 0, 1, 2);
    images.push_back(w.Bytes);
  }
  {
    ImdWriter w;  // no sectors on track 0
    w.Track(2, 0, 0, 0, 0, {}).Track(5, 1, 0, 1, 4);
    images.push_back(w.Bytes);
  }
  {
    ImdWriter w;  // cylinder 255 on two heads: an index past 255 ends the parse
    w.Track(2, 0, 0, 0, 4).Track(5, 0, 1, 1, 2).Track(5, 255, 1, 1, 2).Track(5, 3, 0, 1, 2);
    images.push_back(w.Bytes);
  }
  {
    ImdWriter w("IMD only a comment, no end mark");
    w.Bytes.pop_back();
    images.push_back(w.Bytes);
  }
  for (size_t i = 0; i < images.size(); ++i) {
    SCOPED_TRACE(i);
    host.ClearCalls();
    ASSERT_TRUE(MountBytes(0, images[i]));
    WorkOut(0);
  }
  // No sectors on track 0: read-only, and LSNs start on cylinder 1.
  ASSERT_TRUE(MountBytes(0, images[images.size() - 3]));
  EXPECT_TRUE(Imd(0).RO());
  EXPECT_TRUE(ReadDiskSector(0, 0));
  EXPECT_EQ(SectorBuffer[9], SectorByte(1, 0, 1, 9));
  // The track-0 type-9 sector: not readable, not writable, the image not read-only.
  ASSERT_TRUE(MountBytes(0, images[3]));
  EXPECT_FALSE(DriveTable[0].ReadOnly);
  EXPECT_FALSE(ReadDiskSector(0, 0));
  EXPECT_TRUE(ReadDiskSector(0, 1));
  // Index 511 is parsed but never found; cylinder 3 after it is not read.
  ASSERT_TRUE(MountBytes(0, images.end()[-2]));
  EXPECT_EQ(Imd(0).Tracks(), 512);
  EXPECT_TRUE(Imd(0).RO());
  EXPECT_TRUE(Imd(0).SetTrack(511));
  EXPECT_EQ(Imd(0).SPT(), 2);
  EXPECT_FALSE(Imd(0).SetSector(1));
  EXPECT_EQ(Imd(0).Tracks(), 512);
  // A header without an end mark: the comment is the whole file, no tracks.
  ASSERT_TRUE(MountBytes(0, images.back()));
  EXPECT_EQ(Imd(0).Tracks(), 0);
  EXPECT_EQ(Imd(0).Comments(), "IMD only a comment, no end mark");
  EXPECT_FALSE(ReadDiskSector(0, 0));
}

}  // namespace
}  // namespace korva::test
