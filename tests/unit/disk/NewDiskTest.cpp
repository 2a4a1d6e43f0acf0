// Blank IMD and raw images and the IMD expander, written to a temporary folder
// and read back byte by byte.
#include <sys/stat.h>

#include "disk/NewDisk.h"
#include "tables/Helpers.h"
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

class NewDiskTest : public DiskTest {
 protected:
  void SetUp() override {
    DiskTest::SetUp();
    BuildNewDiskFormats();
  }
  std::string Path(const std::string& name) const { return dir.Path(name); }
  struct Track {
    uint8_t mode, cyl, head, count, code;
  };
  // The track headers of an image whose records are all full (type 1).
  static std::vector<Track> Tracks(const std::string& image) {
    std::vector<Track> tracks;
    size_t p = image.find('\x1A') + 1;
    while (p + 5 <= image.size()) {
      Track t{uint8_t(image[p]), uint8_t(image[p + 1]), uint8_t(image[p + 2]), uint8_t(image[p + 3]),
              uint8_t(image[p + 4])};
      tracks.push_back(t);
      p += 5 + t.count + static_cast<size_t>(t.count) * (1 + (128u << t.code));
    }
    EXPECT_EQ(p, image.size());
    return tracks;
  }

  Progress progress_;
};

// The header, track 0 and the data tracks as the row defines them; the clock
// boxes' choice changes every track's mode for the run.
TEST_F(NewDiskTest, ImagesFollowTheirRowAndTheChosenClock) {
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[0], Path("a.imd"), "", progress_));
  const std::string image = ReadText(Path("a.imd"));
  const size_t end = image.find('\x1A');
  EXPECT_NE(image.substr(0, end).find("\r\nKorva CPM 5.25 96TPI DSDD (512x8,T0=128x16)\r\n"), std::string::npos);
  auto tracks = Tracks(image);
  ASSERT_EQ(tracks.size(), 160u);
  EXPECT_EQ(std::vector<int>({tracks[0].mode, tracks[0].count, tracks[0].code, tracks[1].mode, tracks[1].count,
                              tracks[1].code, tracks[159].cyl, tracks[159].head}),
            std::vector<int>({1, 16, 0, 4, 8, 2, 79, 1}));
  EXPECT_EQ(static_cast<uint8_t>(image[end + 1 + 5 + 16 + 1]), 0xE5);  // first data byte of c0 h0 s1

  // "250" with row 4: every track at 250 kbit/s; the row keeps it for the run.
  EXPECT_FALSE(SetImdClock(NewDiskFormats[4], 9));
  ASSERT_TRUE(SetImdClock(NewDiskFormats[4], 6));
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[4], Path("c.imd"), "", progress_));
  tracks = Tracks(ReadText(Path("c.imd")));
  EXPECT_EQ(tracks[0].mode * 10 + tracks[1].mode, 25);
  EXPECT_EQ(NewDiskFormats[4].Clock[kDataTracks], 6);
}

TEST_F(NewDiskTest, CommentsAreSevenBitAndEndInOneLineBreak) {
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[7], Path("c1.imd"), "abc", progress_));
  EXPECT_EQ(ReadText(Path("c1.imd")).rfind("IMD abc\r\nCreated by Korva Emulator Version ", 0), 0u);
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[7], Path("c2.imd"), "x\x03y\xE9\r\n", progress_));
  const std::string image = ReadText(Path("c2.imd"));
  EXPECT_EQ(image.rfind("IMD x yi\r\nCreated", 0), 0u);  // 0x03 blank, 0xE9 AND 0x7F
  EXPECT_EQ(Tracks(image).size(), 160u);  // the header still reads whole
}

TEST_F(NewDiskTest, FormatChecksAndSizes) {
  std::string messages;
  for (const NewDiskFormat& f : NewDiskFormats) EXPECT_TRUE(CheckImdFormat(f, messages)) << f.Name;
  NewDiskFormat f = NewDiskFormats[0];
  f.Cylinders = 300;
  f.Heads = 3;
  f.SectorSize[kTrack0Tracks] = 8192;  // exactly 8k passes
  f.Clock[kDataTracks] = 5;
  EXPECT_FALSE(CheckImdFormat(f, messages));
  EXPECT_EQ(messages, "Cylinders MUST be < 256\r\nHeads MUST be 1 or 2\r\nClock MUST be 250, 300, or 500\r\n");
  EXPECT_EQ(ImdSizeCode(300), 255);  // the size texts are checked in the dialog's test
  EXPECT_EQ(ParseNumber(std::string_view("1440k")).value_or(0), 1474560);
}

TEST_F(NewDiskTest, RawImagesAndCancel) {
  ASSERT_TRUE(CreateRawImage(Path("r.img"), 1000, 0xE5, progress_));
  const std::string raw = ReadText(Path("r.img"));
  EXPECT_EQ(raw, std::string(128000, '\xE5'));
  EXPECT_EQ(progress_.count, 128000);

  // An existing image survives a cancelled creation over it; a new one leaves no file.
  Progress cancel;
  cancel.cancelAt = 1;
  EXPECT_FALSE(CreateRawImage(Path("r.img"), 4000, 0, cancel));
  EXPECT_EQ(ReadText(Path("r.img")), raw);
  cancel.calls = 0;
  EXPECT_FALSE(CreateIMDImage(NewDiskFormats[0], Path("n.imd"), "", cancel));
  EXPECT_FALSE(std::filesystem::exists(Path("n.imd")));
}

TEST_F(NewDiskTest, ExpanderReportsAndExpands) {
  auto lastBox = [this] { return host.CallsOf(HostCall::Kind::MessageBox).back(); };
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[5], Path("plain.imd"), "", progress_));
  ExpandCompressedSectors(Path("plain.imd"), Path("copy.imd"), progress_);
  EXPECT_EQ(lastBox().Text, " No conversions needed");
  EXPECT_EQ(lastBox().Title, "Done Proccessing the IMD file");
  EXPECT_EQ(ReadText(Path("copy.imd")), ReadText(Path("plain.imd")));

  std::ofstream(Path("junk.imd"), std::ios::binary) << "IMX nothing";
  ExpandCompressedSectors(Path("junk.imd"), Path("out.imd"), progress_);
  EXPECT_EQ(lastBox().Text, " No Magic\r\nBAD ERROR - ABORTED\r\n");

  // One track: a compressed sector, a deleted-compressed one, a full one, then a bad type.
  std::string c = "IMD x\x1A";
  c += std::string("\x00\x00\x00\x03\x00\x01\x02\x03", 8);
  c += std::string("\x02\x5A", 2) + std::string("\x04\x6B", 2) + '\x01' + std::string(128, 'q');
  std::ofstream(Path("comp.imd"), std::ios::binary) << c;
  ExpandCompressedSectors(Path("comp.imd"), Path("exp.imd"), progress_);
  EXPECT_EQ(lastBox().Text, "2 - Compressed\r\n1 - Deleted DAM\r\n");
  const std::string e = ReadText(Path("exp.imd"));
  EXPECT_EQ(e, "IMD x\x1A" + std::string("\x00\x00\x00\x03\x00\x01\x02\x03", 8) + '\x01' + std::string(128, 'Z') +
                   '\x03' + std::string(128, 'k') + '\x01' + std::string(128, 'q'));
  std::ofstream(Path("comp.imd"), std::ios::binary | std::ios::app) << std::string("\x00\x00\x00\x01\x00\x01\x09", 7);
  ExpandCompressedSectors(Path("comp.imd"), Path("exp.imd"), progress_);
  EXPECT_NE(lastBox().Text.find("BAD ERROR - ABORTED"), std::string::npos);

  // The output may not be the input: the image stays as it was.
  const std::string before = ReadText(Path("comp.imd"));
  ExpandCompressedSectors(Path("comp.imd"), Path("comp.imd"), progress_);
  EXPECT_EQ(lastBox().Title, " Error opening - IMD file");
  EXPECT_EQ(ReadText(Path("comp.imd")), before);
}

// A copy that is not whole never replaces the output: a truncated input, an
// input that is no image and a failed rename each leave the old file as it was.
TEST_F(NewDiskTest, FailedExpansionsKeepTheOldOutput) {
  ASSERT_TRUE(CreateIMDImage(NewDiskFormats[5], Path("plain.imd"), "", progress_));
  const std::string image = ReadText(Path("plain.imd"));
  std::ofstream(Path("cut.imd"), std::ios::binary) << image.substr(0, image.size() - 50);
  std::ofstream(Path("junk.imd"), std::ios::binary) << "IMX nothing";
  const std::string old = "the previous output";
  std::ofstream(Path("out.imd"), std::ios::binary) << old;

  struct Case {
    const char* input;
    int fault;
    const char* report;
  } cases[] = {{"cut.imd", 0, "BAD ERROR - ABORTED"},
               {"junk.imd", 0, " No Magic"},
               {"plain.imd", ENOSPC, "Error=28\r\n"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    static int fault;
    fault = c.fault;
    NewFileCommitFault = [](const std::string&) { return fault; };
    ExpandCompressedSectors(Path(c.input), Path("out.imd"), progress_);
    NewFileCommitFault = nullptr;
    EXPECT_NE(host.CallsOf(HostCall::Kind::MessageBox).back().Text.find(c.report), std::string::npos);
    EXPECT_EQ(ReadText(Path("out.imd")), old);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("")), {}), 4);  // no leftovers
}

// The expander reads only a regular file: a FIFO or a device as its input is
// refused at once in the open box and no output is made. A new image takes
// the place of a link (its target stays) but never of a FIFO.
TEST_F(NewDiskTest, FifosAndDevicesAreRefusedAndLinksReplaced) {
  ASSERT_EQ(::mkfifo(Path("fifo.imd").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", Path("zero.imd"));
  for (const char* name : {"fifo.imd", "zero.imd"}) {
    host.ClearCalls();
    ExpandCompressedSectors(Path(name), Path("out.imd"), progress_);
    ASSERT_EQ(Titles(), std::vector<std::string>{" Error opening - IMD file"}) << name;
    EXPECT_EQ(BoxText(0), " Error number 75\r\n\r\n it is not a regular file\r\n\r\n File = " + Path(name));
  }
  EXPECT_FALSE(std::filesystem::exists(Path("out.imd")));

  host.ClearCalls();
  EXPECT_FALSE(CreateRawImage(Path("fifo.imd"), 8, 0, progress_));
  EXPECT_EQ(Titles(), std::vector<std::string>{"File Error creating Disk Image"});
  EXPECT_EQ(BoxText(0), "Error # 75 was generated by Korvan\rit is not a regular file");
  EXPECT_EQ(std::filesystem::status(Path("fifo.imd")).type(), std::filesystem::file_type::fifo);

  const std::string target = dir.Write("target", std::string("old image"));
  std::filesystem::create_symlink(target, Path("link.imd"));
  ASSERT_TRUE(CreateRawImage(Path("link.imd"), 1, 0xE5, progress_));
  EXPECT_FALSE(std::filesystem::is_symlink(Path("link.imd")));
  EXPECT_EQ(ReadText(Path("link.imd")), std::string(128, '\xE5'));
  EXPECT_EQ(ReadText(target), "old image");
}

// Every built-in format and two raw rows mount with the geometry they were made
// for; sectors written through the drive layer read back where it can place them.
TEST_F(NewDiskTest, CreatedImagesMountAndRoundTrip) {
  Progress progress;
  for (int row = 0; row < kNewDiskFormatCount; ++row) {
    const NewDiskFormat& f = NewDiskFormats[row];
    const std::string path = dir.Path("f" + std::to_string(row) + ".imd");
    ASSERT_TRUE(CreateIMDImage(f, path, "", progress));
    ASSERT_TRUE(Mount(0, path)) << f.Name;
    EXPECT_EQ(DriveTable[0].Image()->Cylinders(), f.Cylinders) << f.Name;
    EXPECT_EQ(DriveTable[0].Image()->Heads(), f.Heads) << f.Name;
    // Logical sectors past track 0 live in 256- or 512-byte data sectors only.
    const bool placeable = f.SectorSize[kDataTracks] == 256 || f.SectorSize[kDataTracks] == 512;
    for (uint32_t i = 0; i < 256; ++i) SectorBuffer[i] = static_cast<uint8_t>(row + i);
    const int32_t lsn = 40;
    EXPECT_EQ(WriteDiskSector(0, lsn), placeable) << f.Name;
    SectorBuffer.fill(0);
    EXPECT_EQ(ReadDiskSector(0, lsn), placeable) << f.Name;
    if (placeable) {
      for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(SectorBuffer[i], static_cast<uint8_t>(row + i)) << f.Name;
    }
    EjectDisk(0);
  }
  for (int16_t row : {int16_t{14}, int16_t{17}}) {
    const std::string path = dir.Path("r" + std::to_string(row) + ".img");
    classRawFile maker;
    maker.CreateFile(row, path, &progress);
    ASSERT_TRUE(Mount(1, path)) << row;
    EXPECT_EQ(DriveTable[1].Image()->Cylinders(), maker.Row(row).Cylinders);
  }
}

}  // namespace
}  // namespace korva::test
