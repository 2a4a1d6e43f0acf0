// Raw images: the disk-type table, recognition by length, the volume magic and
// configuration-area questions, the position members and blank-image creation.
#include <sys/stat.h>
#include <filesystem>
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

using RawImage = DiskTest;

// A raw image of `length` bytes whose LSN 0 is `volume` and LSN 1 `config`.
std::vector<uint8_t> RawHead(const std::vector<uint8_t>& volume, const std::vector<uint8_t>& config = {}) {
  std::vector<uint8_t> head = volume;
  head.insert(head.end(), config.begin(), config.end());
  return head;
}

TEST_F(RawImage, TableTotalsAndDescriptions) {
  classRawFile raw;
  EXPECT_EQ(classRawFile::MaxDiskTypes(), 19);
  EXPECT_EQ(raw.Row(0).Total, 5013504);
  EXPECT_EQ(raw.Row(14).Total, 256256);
  EXPECT_EQ(raw.Row(17).Total, 327680);
  EXPECT_EQ(raw.Row(18).Total, 2145386496);
  EXPECT_EQ(raw.Row(19).Total, 2145386496);
  EXPECT_EQ(raw.Row(18).T0SPT, 16);
  EXPECT_EQ(raw.Row(17).Order, 2);
  EXPECT_EQ(raw.Description(14), "8 inch 3470 .25MB Sector Data Only CHS(77,1,26) (128 BPS)");
  EXPECT_EQ(raw.Description(-1), raw.Description(0));
  EXPECT_EQ(raw.Description(20), "Invalid");
  EXPECT_EQ(raw.GetCurrentDescription(14),
            "256,256 Sector Data Only CHS(77,1,26) (128 BPS) \r\n Floppy = True, T0 Same as rest = False, One "
            "Based = True");
  EXPECT_EQ(raw.DriveType(), 0);
  EXPECT_FALSE(raw.IsRAWfile());  // no file
}

TEST_F(RawImage, RecognisedByExactLength) {
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504)));
  EXPECT_TRUE(DriveTable[0].IsRAW);
  EXPECT_EQ(Raw(0).DriveType(), 0);
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Magic Error", "Raw File will Open Read/Write"}));
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text, "No Magic on disk!  Use Disk Image Anyway? ");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[1].Text, Raw(0).GetCurrentDescription(0));

  ASSERT_TRUE(Mount(1, WriteSparse(dir, "fd.img", 256256)));
  EXPECT_EQ(Raw(1).DriveType(), 14);
  EXPECT_TRUE(Raw(1).IsFloppy());
  EXPECT_TRUE(Raw(1).Onebased());
  EXPECT_FALSE(Raw(1).RO());

  for (int64_t length : {256255, 256257, 5013503}) {
    host.AnswerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(Mount(2, WriteSparse(dir, "odd.img", length)));
    EXPECT_EQ(Raw(2).DriveType(), 18) << length;
    EXPECT_EQ(Raw(2).MaxDataOnDisk(), length);  // never more than the file
  }
}

TEST_F(RawImage, MagicAndConfigurationQuestions) {
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "a.img", 256256)));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Magic Error", "Unrecognized File"}));

  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "b.img", 256256, VolumeSector("MOTOROLA", 0))));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Configuration Error", "Unrecognized File"}));
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text, "No Configurtion on disk!  Use Disk Image Anyway? ");

  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "c.img", 256256, VolumeSector("EXORMACS", 0))));
  EXPECT_TRUE(Raw(0).IsMagic());

  // "motorola" in lower case is no magic.
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::No);
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "d.img", 256256, VolumeSector("motorola", 1))));
  EXPECT_EQ(Titles().at(0), "Magic Error");
}

TEST_F(RawImage, MatchingConfigurationAreaAsksNothing) {
  // The 8-inch floppy: floppy (bit 4 clear), track 0 at single density (bit 13 clear).
  const auto head = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(77, 1, 26, 128, 0x0000));
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "fd.img", 256256, head)));
  EXPECT_EQ(Titles(), std::vector<std::string>{"Raw File will Open Read/Write"});
  EXPECT_EQ(Raw(0).DriveType(), 14);
}

TEST_F(RawImage, DifferingConfigurationAreaIsAppliedOnYes) {
  // A hard disk of 5,013,504 bytes whose area says 306 cylinders of 1 head, 64 sectors.
  const auto head = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(306, 1, 64, 256, 0x2010, 0x1234));
  host.AnswerMessage(MsgAnswer::No);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504, head)));
  EXPECT_EQ(Raw(0).Heads(), 2);  // No keeps the row
  const auto box = host.CallsOf(HostCall::Kind::MessageBox).at(0);
  EXPECT_EQ(box.Title, "Magic and CNFG area is on Image");
  EXPECT_EQ(box.Text, " Default Parameters ...\r\n" + Raw(0).GetCurrentDescription(0) +
                          "\r\n\r\nParameters in CNFG area on Disk\r\n5,013,504 Sector Data Only CHS(306,1,64) "
                          "(256 BPS)\r\nAttrMask = 1234 AttrWord= 2010\r\n Floppy = False, T0 Same as rest = True, "
                          "One Based = False\r\n\r\nSet drive Parameters from Config Area? Should only say YES if "
                          "CFNG area is valid!.");

  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::Yes);
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd2.img", 5013504, head)));
  classRawFile& raw = Raw(0);
  EXPECT_EQ(raw.Heads(), 1);
  EXPECT_EQ(raw.Cylinders(), 306);
  EXPECT_EQ(raw.SPT(), 64);
  EXPECT_EQ(raw.MaxDataOnDisk(), 5013504);
  EXPECT_EQ(raw.Comments().rfind("Parameters in CNFG area on Disk\r\n5,013,504 Sector Data Only CHS(306,1,64) "
                                 "(256 BPS) \r\nAttrMask = 1234",
                                 0),
            0u);

  // A floppy area with single-density track 0 of 512-byte sectors: track 0 holds
  // twice as many 128-byte sectors.
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::Yes);
  const auto fd = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(80, 2, 9, 512, 0x0000));
  ASSERT_TRUE(Mount(1, WriteSparse(dir, "fd.img", 1474560, fd)));
  classRawFile& f = Raw(1);
  EXPECT_TRUE(f.IsFloppy());
  EXPECT_TRUE(f.T0SingleDensity());
  f.SetCylinder(0);
  f.SetHead(0);
  EXPECT_EQ(f.SPT(), 18);
  EXPECT_EQ(f.SectorSize(), 128);
  ASSERT_TRUE(f.SetSector(18));  // the last track-0 sector
  EXPECT_EQ(f.SectorOffset(), 17 * 128);
  f.SetHead(1);
  EXPECT_EQ(f.SPT(), 9);
  ASSERT_TRUE(f.SetSector(1));
  EXPECT_EQ(f.SectorOffset(), 18 * 128);
  EXPECT_FALSE(f.SetSector(10));
  EXPECT_EQ(f.SectorOffset(), -1);
}

TEST_F(RawImage, ConfigurationValuesAreCheckedBeforeUse) {
  struct Case {
    int Cylinders, Heads, Spt, Bps;
  };
  const Case cases[] = {{77, 1, 0, 256}, {77, 0, 26, 256}, {0, 1, 26, 256}, {77, 1, 26, 0},
                        {77, 1, 26, 1},  {77, 1, 26, 300}, {77, 1, 26, 0x8000}, {77, 1, 26, 0xFFFF}};
  for (const Case& c : cases) {
    host.ClearCalls();
    host.AnswerMessage(MsgAnswer::Yes);
    const auto head = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(c.Cylinders, c.Heads, c.Spt, c.Bps, 0x10));
    ASSERT_TRUE(Mount(0, WriteSparse(dir, "hd.img", 5013504, head)));
    EXPECT_EQ(Titles(), (std::vector<std::string>{"Magic and CNFG area is on Image",
                                                   "Error Setting Parmeters from Image for RAW file",
                                                   "Raw File will Open Read/Write"}))
        << c.Spt << " " << c.Heads << " " << c.Bps;
    EXPECT_EQ(Raw(0).Cylinders(), 306);
    EXPECT_EQ(Raw(0).SPT(), 32);
    EXPECT_TRUE(ReadDiskSector(0, 19583));
  }

  // Totals past 31 bits: the comparison and the application both say so.
  host.ClearCalls();
  host.AnswerMessage(MsgAnswer::Yes);
  const auto huge = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(65535, 255, 255, 1024, 0x10));
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "big.img", 5013504, huge)));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Error in Parmeters from Image for RAW file",
                                                 "Magic and CNFG area is on Image",
                                                 "Error Setting Parmeters from Image for RAW file",
                                                 "Raw File will Open Read/Write"}));
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text, "Filesize > 2GB\r\nError=6\r\nOverflow");
  EXPECT_EQ(Raw(0).MaxDataOnDisk(), 5013504);

  // The configuration LSN past the end of the file reads as zeros.
  for (uint32_t lsn : {0xFFFFFFFFu, 19584u}) {
    host.ClearCalls();
    host.AnswerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(Mount(0, WriteSparse(dir, "far.img", 5013504, VolumeSector("MOTOROLA", lsn))));
    EXPECT_EQ(Raw(0).DriveType(), 0);
    EXPECT_EQ(Raw(0).Heads(), 2);
  }
}

TEST_F(RawImage, ShortAndOversizedFiles) {
  for (int64_t length : {0, 255, 256}) {
    host.ClearCalls();
    host.AnswerMessage(MsgAnswer::Yes);
    ASSERT_TRUE(Mount(0, WriteSparse(dir, "short.img", length))) << length;
    EXPECT_EQ(Raw(0).MaxDataOnDisk(), length);
    EXPECT_EQ(ReadDiskSector(0, 0), length == 256);
    SectorBuffer.fill(1);
    EXPECT_EQ(WriteDiskSector(0, 0), length == 256);
    EXPECT_FALSE(WriteDiskSector(0, 1));  // an undefined disk never grows
    EjectDisk(0);
    EXPECT_EQ(std::filesystem::file_size(dir.Path("short.img")), static_cast<uintmax_t>(length));
  }

  host.ClearCalls();
  EXPECT_FALSE(Mount(0, WriteSparse(dir, "2g.img", int64_t{1} << 31)));
  EXPECT_EQ(Titles(), (std::vector<std::string>{"Error Getting File Length for RAW file", "Unrecognized File"}));
}

TEST_F(RawImage, LargestLsnOnAConfiguredUndefinedDisk) {
  // 273 x 241 x 255 sectors of 128 bytes: 2,147,483,520 bytes, just above LSN 0x7FFFFE's end.
  const int64_t length = int64_t{273} * 241 * 255 * 128;
  host.AnswerMessage(MsgAnswer::Yes);
  const auto head = RawHead(VolumeSector("MOTOROLA", 1), ConfigSector(273, 241, 255, 128, 0x10));
  const std::string path = WriteSparse(dir, "max.img", length, head);
  ASSERT_TRUE(Mount(0, path));
  EXPECT_EQ(Raw(0).DriveType(), 18);
  EXPECT_EQ(Raw(0).MaxDataOnDisk(), length);
  SectorBuffer.fill(0x5A);
  ASSERT_TRUE(WriteDiskSector(0, 0x7FFFFE));
  EXPECT_FALSE(WriteDiskSector(0, 0x7FFFFF));
  EXPECT_FALSE(ReadDiskSector(0, 0x7FFFFF));
  SectorBuffer.fill(0);
  ASSERT_TRUE(ReadDiskSector(0, 0x7FFFFE));
  EXPECT_EQ(SectorBuffer[255], 0x5A);
  EjectDisk(0);
  EXPECT_EQ(static_cast<int64_t>(std::filesystem::file_size(path)), length);
}

TEST_F(RawImage, PositionsOffsetsAndTrackSplitting) {
  ASSERT_TRUE(Mount(0, WriteSparse(dir, "fd.img", 256256)));
  classRawFile& raw = Raw(0);
  EXPECT_TRUE(raw.SetSector(1));
  EXPECT_EQ(raw.RqSector(), 1);
  EXPECT_EQ(raw.SectorOffset(), 0);
  EXPECT_FALSE(raw.SetSector(0));
  EXPECT_FALSE(raw.SetSector(27));
  EXPECT_EQ(raw.SectorSize(), 128);
  EXPECT_TRUE(raw.SetCylinder(76));
  EXPECT_FALSE(raw.SetHead(1));
  EXPECT_EQ(raw.SectorSize(), 128);
  raw.RqHead(0);
  raw.RqSector(26);
  EXPECT_EQ(raw.SectorOffset(), 256256 - 128);
  EXPECT_FALSE(raw.SetCylinder(77));
  EXPECT_EQ(raw.SectorOffset(), -1);
  EXPECT_EQ(GetTrackCylinder(0, 76), 76);
  EXPECT_EQ(GetTrackCylinder(0, 77), -1);

  // Row 15: two heads, 512-byte one-based sectors; Order 0 by default.
  ASSERT_TRUE(Mount(1, WriteSparse(dir, "pc.img", 1474560)));
  EXPECT_EQ(GetTrackCylinder(1, 5), 2);
  EXPECT_EQ(GetTrackHead(1, 5), 1);
  Raw(1).Order(1);
  EXPECT_EQ(GetTrackCylinder(1, 85), 5);
  EXPECT_EQ(GetTrackHead(1, 85), 1);
  EXPECT_EQ(GetTrackHead(1, 79), 0);
  Raw(1).Order(2);
  EXPECT_EQ(GetTrackCylinder(1, 85), 74);
  EXPECT_EQ(GetTrackCylinder(1, 80), 79);
  EXPECT_EQ(GetTrackCylinder(1, 160), -1);
  EXPECT_EQ(GetTrackHead(1, -1), -1);
  Raw(1).Order(7);
  EXPECT_EQ(GetTrackCylinder(1, 85), 0);
  for (int record = 1; record <= 4; ++record) EXPECT_EQ(GetCpmSector(1, 0, 0, record), 1);
  EXPECT_EQ(GetCpmSector(1, 0, 0, 5), 2);
  Raw(1).RqCylinder(1);
  Raw(1).RqHead(1);
  ASSERT_TRUE(Raw(1).SetSector(18));
  EXPECT_EQ(Raw(1).SectorOffset(), (3 * 18 + 17) * 512);

  // Row 14 read back through the drive layer: LSN n is bytes 256n..256n+255.
  ASSERT_TRUE(Mount(2, dir.Write("pattern.img", [] {
    std::vector<uint8_t> b(256256);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i / 256 + i);
    return b;
  }())));
  ASSERT_TRUE(ReadDiskSector(2, 1000));
  EXPECT_EQ(SectorBuffer[3], static_cast<uint8_t>(1000 + 256000 + 3));
  EXPECT_TRUE(ReadDiskSector(2, 1000));
  EXPECT_FALSE(ReadDiskSector(2, 1001));  // 256,256 bytes hold LSNs 0-1000
}

class Progress : public NewDiskProgress {
 public:
  void SetMinMAx(int32_t min, int32_t max) override { Range = {min, max}; }
  void SetValue(int32_t v) override { Values.push_back(v); }
  void ShowCount(int64_t bytes) override { Count = bytes; }
  bool CancelRequested() override { return Cancel; }
  std::pair<int32_t, int32_t> Range{-1, -1};
  std::vector<int32_t> Values;
  int64_t Count = -1;
  bool Cancel = false;
};

TEST_F(RawImage, CreateFileWritesTheFillByte) {
  classRawFile raw;
  Progress p;
  const std::string path = dir.Path("new.img");
  raw.CreateFile(14, path, &p);
  const auto bytes = ReadAll(path);
  ASSERT_EQ(bytes.size(), 256256u);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 0xE9), 256256);
  EXPECT_EQ(p.Range, (std::pair<int32_t, int32_t>{0, 100}));
  EXPECT_EQ(p.Count, 256256);
  ASSERT_FALSE(p.Values.empty());
  EXPECT_EQ(p.Values.front(), 0);
  EXPECT_EQ(std::filesystem::directory_iterator(dir.Path("")) != std::filesystem::directory_iterator(), true);
  ASSERT_TRUE(Mount(0, path));
  EXPECT_EQ(Raw(0).DriveType(), 14);

  raw.CreateFile(18, dir.Path("r18.img"), &p);
  raw.CreateFile(19, dir.Path("r19.img"), &p);
  raw.CreateFile(-1, dir.Path("rm.img"), &p);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("r18.img")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("r19.img")));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("rm.img")));

  Progress cancel;
  cancel.Cancel = true;
  raw.CreateFile(17, dir.Path("cancel.img"), &cancel);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("cancel.img")));

  // A cancel or a failure never leaves a partial file beside the old one.
  dir.Write("keep.img", std::string("old"));
  raw.CreateFile(17, dir.Path("keep.img"), &cancel);
  EXPECT_EQ(ReadAll(dir.Path("keep.img")).size(), 3u);
  size_t entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path(""))) entries += e.is_regular_file();
  EXPECT_EQ(entries, 2u);  // new.img and keep.img

  host.ClearCalls();
  raw.CreateFile(17, dir.Path("no/such/folder.img"), &p);
  EXPECT_EQ(Titles(), std::vector<std::string>{"File Error creating Disk Image"});
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text.rfind("Error # " + std::to_string(ENOENT) +
                                                                    " was generated by Korva\r",
                                                                    0),
            0u);
}

}  // namespace
}  // namespace korva::test
