// Raw images: the disk-type table, recognition by length, the magic and
// configuration-area questions, positions and blank-image creation.
#include <filesystem>
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using RawImage = DiskTest;
namespace fs = std::filesystem;
using Strings = std::vector<std::string>;

TEST_F(RawImage, TableAndRecognitionByLength) {
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504)));
  EXPECT_EQ(Raw(0).DriveType(), 0);
  EXPECT_EQ(Titles(), (Strings{"Magic Error", "Raw File will Open Read/Write"}));
  EXPECT_EQ(BoxText(0), "No Magic on disk!  Use Disk Image Anyway? ");
  EXPECT_EQ(BoxText(1), Raw(0).GetCurrentDescription(0));
  ASSERT_TRUE(Mount(1, WriteSparse(dir, "fd.img", 256256)));
  EXPECT_EQ(Raw(1).DriveType(), 14);
  EXPECT_FALSE(Raw(1).RO());

  for (int64_t length : {256255, 256257, 0, 255, 256}) {  // undefined disks, never larger than their file
    const std::string path = WriteSparse(dir, "odd.img", length);
    ASSERT_TRUE(Mount(2, path)) << length;
    EXPECT_EQ(Raw(2).DriveType(), 18);
    EXPECT_EQ(Raw(2).MaxDataOnDisk(), length);
    SectorBuffer.fill(1);
    EXPECT_EQ(WriteDiskSector(2, 0) && ReadDiskSector(2, 0), length >= 256);
    EXPECT_FALSE(WriteDiskSector(2, int32_t(length / 256)));
    EjectDisk(2);
    EXPECT_EQ(static_cast<int64_t>(fs::file_size(path)), length);
  }

  host.ClearCalls();
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "2g.img", int64_t{1} << 31)));
  EXPECT_EQ(Titles(), (Strings{"Error Getting File Length for RAW file", "Unrecognized File"}));
}

TEST_F(RawImage, MagicAndConfigurationQuestions) {
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "a.img", 256256)));
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "b.img", 256256, Volume("MOTOROLA", 0))));
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "c.img", 256256, Volume("motorola", 1))));
  EXPECT_EQ(Titles(), (Strings{"Magic Error", "Unrecognized File", "Configuration Error", "Unrecognized File",
                               "Magic Error", "Unrecognized File"}));
  EXPECT_EQ(BoxText(2), "No Configurtion on disk!  Use Disk Image Anyway? ");
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "d.img", 256256, Volume("EXORMACS", 0))));
  EXPECT_TRUE(Raw(0).IsMagic());

  // A matching area (the 8-inch floppy, single-density track 0) asks nothing.
  host.ClearCalls();
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "e.img", 256256, Volume("MOTOROLA", 1, 77, 1, 26, 128, 0))));
  EXPECT_EQ(Titles(), Strings{"Raw File will Open Read/Write"});
}

TEST_F(RawImage, DifferingConfigurationAreaIsAppliedOnYes) {
  const auto head = Volume("MOTOROLA", 1, 306, 1, 64, 256, 0x2010, 0x1234);
  host.AnswerMessage(MsgAnswer::No);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504, head)));
  EXPECT_EQ(Raw(0).Heads(), 2);  // No keeps the row
  EXPECT_EQ(Titles()[0], "Magic and CNFG area is on Image");
  EXPECT_NE(BoxText(0).find("\r\n\r\nParameters in CNFG area on Disk\r\n5,013,504 Sector Data Only CHS(306,1,64) "
                            "(256 BPS)\r\nAttrMask = 1234 AttrWord= 2010\r\n Floppy = False, T0 Same as rest = True"),
            std::string::npos);
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd2.img", 5013504, head)));
  EXPECT_EQ(Raw(0).Heads() * 1000 + Raw(0).SPT(), 1064);
  EXPECT_EQ(Raw(0).Comments().rfind("Parameters in CNFG area on Disk\r\n5,013,504 Sector Data Only CHS(306,1,64) "
                                    "(256 BPS) \r\nAttrMask = 1234",
                                    0),
            0u);

  // A floppy with single-density track 0 and 512-byte sectors: track 0 holds
  // twice as many 128-byte sectors.
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(1, WriteSparse(dir, "fd.img", 1474560, Volume("MOTOROLA", 1, 80, 2, 9, 512, 0))));
  classRawFile& f = Raw(1);
  EXPECT_TRUE(f.IsFloppy() && f.T0SingleDensity() && f.Onebased());
  EXPECT_EQ(f.SPT() * 1000 + f.SectorSize(), 18128);
  ASSERT_TRUE(f.SetSector(18));
  EXPECT_EQ(f.SectorOffset(), 17 * 128);
  f.SetHead(1);
  EXPECT_EQ(f.SPT(), 9);
  ASSERT_TRUE(f.SetSector(1));
  EXPECT_EQ(f.SectorOffset(), 18 * 128);
  EXPECT_FALSE(f.SetSector(10));
  EXPECT_EQ(f.SectorOffset(), -1);
}

TEST_F(RawImage, ConfigurationValuesAreCheckedBeforeUse) {
  const int cases[][4] = {{77, 1, 0, 256}, {77, 0, 26, 256}, {0, 1, 26, 256}, {77, 1, 26, 0},
                          {77, 1, 26, 1},  {77, 1, 26, 300}, {77, 1, 26, 0x8000}, {77, 1, 26, 0xFFFF}};
  for (const auto& c : cases) {
    host.ClearCalls();
    host.AnswerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504, Volume("MOTOROLA", 1, c[0], c[1], c[2], c[3]))));
    EXPECT_EQ(Titles(), (Strings{"Magic and CNFG area is on Image", "Error Setting Parmeters from Image for RAW file",
                                 "Raw File will Open Read/Write"}));
    EXPECT_EQ(Raw(0).Cylinders() * 100 + Raw(0).SPT(), 30632);
  }
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "big.img", 5013504, Volume("MOTOROLA", 1, 65535, 255, 255, 1024))));
  EXPECT_EQ(Titles(), (Strings{"Error in Parmeters from Image for RAW file", "Magic and CNFG area is on Image",
                               "Error Setting Parmeters from Image for RAW file", "Raw File will Open Read/Write"}));
  EXPECT_EQ(BoxText(0), "Filesize > 2GB\r\nError=6\r\nOverflow");
  EXPECT_EQ(Raw(0).MaxDataOnDisk(), 5013504);

  for (uint32_t lsn : {0xFFFFFFFFu, 19584u}) {  // past the end: reads as zeros, never applied
    host.AnswerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(Mount(0, WriteSparse(dir, "far.img", 5013504, Volume("MOTOROLA", lsn))));
    EXPECT_EQ(Raw(0).Heads(), 2);
  }
}

TEST_F(RawImage, LargestLsnOnAConfiguredUndefinedDisk) {
  const int64_t length = int64_t{273} * 241 * 255 * 128;  // 2,147,483,520: just holds LSN 0x7FFFFE
  host.AnswerMessage(MsgAnswer::Yes);
  const std::string path = WriteSparse(dir, "max.img", length, Volume("MOTOROLA", 1, 273, 241, 255, 128));
  ASSERT_TRUE(Mount(0, path));
  EXPECT_EQ(Raw(0).DriveType(), 18);
  EXPECT_EQ(Raw(0).MaxDataOnDisk(), length);
  SectorBuffer.fill(0x5A);
  ASSERT_TRUE(WriteDiskSector(0, 0x7FFFFE));
  EXPECT_FALSE(WriteDiskSector(0, 0x7FFFFF) || ReadDiskSector(0, 0x7FFFFF));
  SectorBuffer.fill(0);
  ASSERT_TRUE(ReadDiskSector(0, 0x7FFFFE));
  EXPECT_EQ(SectorBuffer[255], 0x5A);
  EjectDisk(0);
  EXPECT_EQ(static_cast<int64_t>(fs::file_size(path)), length);
}

TEST_F(RawImage, PositionsAndTrackSplitting) {
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "fd.img", 256256)));
  classRawFile& raw = Raw(0);
  EXPECT_TRUE(raw.SetSector(1));
  EXPECT_EQ(raw.RqSector() * 1000 + raw.SectorOffset(), 1000);
  EXPECT_FALSE(raw.SetSector(0) || raw.SetSector(27));
  EXPECT_EQ(raw.SectorSize(), 128);
  EXPECT_TRUE(raw.SetCylinder(76));
  EXPECT_FALSE(raw.SetHead(1));
  raw.RqHead(0);
  raw.RqSector(26);
  EXPECT_EQ(raw.SectorOffset(), 256256 - 128);
  EXPECT_FALSE(raw.SetCylinder(77));
  EXPECT_EQ(raw.SectorOffset(), -1);

  ASSERT_TRUE(Mount(1, WriteSparse(dir, "pc.img", 1474560)));  // 80 x 2 x 18 x 512, one-based
  const int16_t orders[] = {0, 1, 2, 7};
  const int32_t expected[][3] = {{2, 1, 39}, {5, 1, 79}, {74, 1, 79}, {0, 0, 0}};  // track 5/85: cyl, head; 79
  for (int i = 0; i < 4; ++i) {
    Raw(1).Order(orders[i]);
    const int32_t t = orders[i] == 0 ? 5 : 85;
    EXPECT_EQ(GetTrackCylinder(1, t), expected[i][0]) << orders[i];
    EXPECT_EQ(GetTrackHead(1, t), expected[i][1]) << orders[i];
    EXPECT_EQ(GetTrackCylinder(1, 79), expected[i][2]) << orders[i];
    EXPECT_EQ(GetTrackCylinder(1, 160) + GetTrackHead(1, -1), -2);
  }
  for (int record = 1; record <= 4; ++record) EXPECT_EQ(GetCpmSector(1, 0, 0, record), 1);
  EXPECT_EQ(GetCpmSector(1, 0, 0, 5), 2);
  Raw(1).RqCylinder(1);
  Raw(1).RqHead(1);
  ASSERT_TRUE(Raw(1).SetSector(18));
  EXPECT_EQ(Raw(1).SectorOffset(), (3 * 18 + 17) * 512);
}

TEST_F(RawImage, CreateFile) {
  classRawFile raw;
  Progress p, cancel;
  cancel.cancelAt = 1;
  raw.CreateFile(14, dir.Path("new.img"), &p);
  const auto bytes = ReadAll(dir.Path("new.img"));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xE9), 256256);
  EXPECT_EQ(bytes.size(), 256256u);
  EXPECT_EQ(p.count, 256256);
  ASSERT_TRUE(Mount(0, dir.Path("new.img")));
  EXPECT_EQ(Raw(0).DriveType(), 14);

  for (int16_t row : {18, 19, -1}) raw.CreateFile(row, dir.Path("r.img"), &p);
  raw.CreateFile(17, dir.Path("cancel.img"), &cancel);
  EXPECT_FALSE(fs::exists(dir.Path("r.img")) || fs::exists(dir.Path("cancel.img")));
  dir.Write("keep.img", std::string("old"));  // a cancel leaves an earlier file as it was
  cancel.calls = 0;
  raw.CreateFile(17, dir.Path("keep.img"), &cancel);
  EXPECT_EQ(ReadAll(dir.Path("keep.img")).size(), 3u);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path("")), fs::directory_iterator()), 2);

  host.ClearCalls();
  raw.CreateFile(17, dir.Path("no/such/folder.img"), &p);
  EXPECT_EQ(Titles(), Strings{"File Error creating Disk Image"});
  EXPECT_EQ(BoxText(0).rfind("Error # " + std::to_string(ENOENT) + " was generated by " + std::string(AppTitle) + "\r", 0), 0u);
}

}  // namespace
}  // namespace korva::test
