// The drop zone and the upload/download port as the guest sees them through
// their registers, with real files in a temporary folder.

#include "disk/Dropzone.h"
#include "unit/disk/DiskFiles.h"

namespace korva {
namespace {

class DropzoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TearDown();
    DropFormat = 4;
    DropFormatName = "CPM 68k";
  }
  void TearDown() override {
    Dropzone.Init();
    CloseDloadFile();
    CloseUloadFile();
  }
  std::string File(const std::string& name, const std::string& bytes) { return dir_.Write(name, bytes); }
  void Drop(const std::string& path, int32_t size, const std::string& guest) {
    DropList[++DropCount] = DropEntry{path, size, guest};
  }
  static std::string ReadName(uint32_t offset) {
    std::string s;
    for (uint16_t c; (c = Dropzone.RegDZ(offset, True)) != 0 && s.size() < 5000;) s += static_cast<char>(c);
    return s;
  }

  ScriptedHost host_;
  test::TempFolder dir_;
};

TEST_F(DropzoneTest, EmptyZoneAndClosedPortGiveHarmlessValuesSilently) {
  EXPECT_EQ(Dropzone.RegDZ(1, True), 0);
  EXPECT_EQ(Dropzone.RegDZ(3, True), 0);
  EXPECT_EQ(Dropzone.RegDZ(5, True), 0);
  for (int i = 0; i < 10000; ++i) {
    ASSERT_EQ(Dropzone.RegUD(1, True), 0x1A);
    ASSERT_EQ(Dropzone.RegUD(3, True), 1);
    ASSERT_EQ(Dropzone.RegUD(7, True), 1);
    Dropzone.RegUD(5, True, 0x41);
  }
  EXPECT_TRUE(host_.Calls.empty());
}

// The guest program below reads a whole file; here the edges of the registers.
TEST_F(DropzoneTest, SelectionNamesSizesAndTheEndMark) {
  Drop(File("abc.txt", "xy"), 0x12345678, "ABC     .TXT");
  Drop(File("odd", "x"), -1, "ODD");  // a size beyond 31 bits
  Dropzone.RegDZ(1, True, 1);
  EXPECT_EQ(ReadName(3), DropList[1].HostPath);
  EXPECT_EQ(std::vector<int>({Dropzone.RegDZ(6, True), Dropzone.RegDZ(6, False), Dropzone.RegDZ(9, True)}),
            std::vector<int>({0x12, 0x1234, 0x78}));
  EXPECT_EQ(Dropzone.RegDZ(13, True), 'x');
  EXPECT_EQ(Dropzone.RegDZ(13, True), 'y');
  EXPECT_EQ(Dropzone.RegDZ(11, True), 0);  // the last byte still leaves the status 0
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Dropzone.RegDZ(13, True), 0x1A);
    EXPECT_EQ(Dropzone.RegDZ(11, True), 1);
  }
  // Selecting again restarts the names and the file.
  Dropzone.RegDZ(1, True, 1);
  EXPECT_EQ(Dropzone.RegDZ(5, True), 'A');
  EXPECT_EQ(Dropzone.RegDZ(13, True), 'x');
  Dropzone.RegDZ(1, True, 2);
  for (uint32_t off = 6; off <= 9; ++off) EXPECT_EQ(Dropzone.RegDZ(off, True), 0) << off;
  // A selection beyond the list only closes the file; 0 releases the zone.
  Dropzone.RegDZ(1, True, 9);
  EXPECT_FALSE(Dropzone.FileOpen());
  EXPECT_EQ(Dropzone.RegDZ(11, True), 1);
  Dropzone.RegDZ(1, True, 0);
  EXPECT_FALSE(Dropzone.InUse());
}

TEST_F(DropzoneTest, MissingFilesShowOneBoxAndStayClosed) {
  Drop(dir_.Path("gone"), 5, "GONE");
  Dropzone.RegDZ(1, True, 1);
  EXPECT_FALSE(Dropzone.FileOpen());
  EXPECT_FALSE(Dropzone.InUse());
  ASSERT_EQ(host_.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Error Opening Drop File");
  EXPECT_EQ(Dropzone.RegDZ(13, True), 0x1A);
  EXPECT_EQ(Dropzone.RegDZ(11, True), 1);
  EXPECT_FALSE(OpenDloadFile(dir_.Path("none"), "none"));
  EXPECT_FALSE(DloadFileOpen);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox).back().Title, "Error Opening Dload File");
}

TEST_F(DropzoneTest, CpmAndVersadosNames) {
  std::string out;
  EXPECT_FALSE(MakeCpmName(out, "my file.txt"));
  EXPECT_EQ(out, "MYFILE  .TXT");
  EXPECT_TRUE(MakeCpmName(out, "readme.txt"));
  EXPECT_EQ(out, "README  .TXT");
  EXPECT_FALSE(MakeCpmName(out, "toolongname.c"));
  EXPECT_EQ(out, "TOOLONGN.C  ");
  DropFormat = 1;  // CP/M 1 keeps '|'
  EXPECT_TRUE(MakeCpmName(out, "a|b.c"));

  DropFormat = 5;
  DropFormatName = "VersaDOS";
  EXPECT_FALSE(MakeVdosName(out, "readme.sa"));
  EXPECT_EQ(out, "README  .SA");
  EXPECT_TRUE(MakeVdosName(out, "README.SA"));
  EXPECT_FALSE(MakeVdosName(out, "NOEXT"));

  // The proposal is asked for; the answer is checked again; Cancel skips.
  host_.AnswerInput("GOOD.SA");
  EXPECT_EQ(AskVdosName("/x/readme.sa"), "GOOD    .SA");
  auto boxes = host_.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Title, "Invalid VersaDOS Name");
  EXPECT_EQ(boxes[0].Value, "README  .SA");
  host_.CancelInput();
  EXPECT_EQ(AskVdosName("/x/noext"), "");

  // A duplicate guest name is asked again.
  DropFormat = 4;
  DropFormatName = "CPM 68k";
  Drop("/a/readme.txt", 1, "README  .TXT");
  host_.AnswerInput("other.txt");
  EXPECT_EQ(CheckCpmDropName("README  .TXT"), "OTHER   .TXT");
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::InputBox).back().Title, "CPM 68k File is Already in List");
}

TEST_F(DropzoneTest, PortReadsDownloadRewindsAndAppendsUpload) {
  ASSERT_TRUE(OpenDloadFile(File("down", "AB"), "down"));
  EXPECT_EQ(DloadFileLength, 2);
  EXPECT_EQ(Dropzone.RegUD(11, True), 2);
  EXPECT_EQ(Dropzone.RegUD(10, False), 2);
  EXPECT_EQ(Dropzone.RegUD(1, True), 'A');
  EXPECT_EQ(Dropzone.RegUD(1, True), 'B');
  EXPECT_EQ(Dropzone.RegUD(3, True), 0);
  EXPECT_EQ(Dropzone.RegUD(1, True), 0x1A);
  EXPECT_EQ(Dropzone.RegUD(3, True), 1);
  // The file grows on the host; 254 changes nothing, 255 rewinds and reloads the length.
  std::ofstream(dir_.Path("down"), std::ios::binary | std::ios::app) << "C";
  Dropzone.RegUD(3, True, 254);
  EXPECT_EQ(Dropzone.RegUD(3, True), 1);
  Dropzone.RegUD(3, True, 255);
  EXPECT_EQ(DloadFileLength, 3);
  EXPECT_EQ(Dropzone.RegUD(1, True), 'A');

  // The upload file starts empty even when it existed; writes at 13 act as at 5.
  const std::string up = File("up", "old contents");
  ASSERT_TRUE(OpenUloadFile(up, "up"));
  Dropzone.RegUD(13, True, 0x0151);  // low byte only
  Dropzone.RegUD(5, True, 'R');
  EXPECT_EQ(Dropzone.RegUD(7, True), 0);
  CloseUloadFile();
  EXPECT_EQ(test::ReadText(up), "QR");
  EXPECT_TRUE(host_.Calls.empty());
}

// A guest program lists the dropped files, reads the first one through the
// drop zone and writes it back through the upload port.
TEST_F(DropzoneTest, GuestCopiesADroppedFileToTheUploadFile) {
  std::string bytes;
  for (int i = 0; i < 700; ++i) bytes += static_cast<char>((i * 7 + 3) & 0xFF);
  const std::string src = File("data.bin", bytes);
  Drop(src, static_cast<int32_t>(bytes.size()), "DATA    .BIN");
  Drop(File("second.txt", "2"), 1, "SECOND  .TXT");
  const std::string up = dir_.Path("upload.bin");
  ASSERT_TRUE(OpenUloadFile(up, "upload.bin"));

  test::TestMachine m;
  m.SetDeviceCode(0xF1A060, 0xF1A06F, 47);
  m.SetDeviceCode(0xF1A070, 0xF1A07B, 48);
  uint32_t start = 0;
  ASSERT_TRUE(m.LoadSrec("dropzone_copy.s19", &start));
  m.SetPC(start);
  ASSERT_EQ(m.RunUntilStop(), test::Stop::StopInstr);
  CloseUloadFile();

  EXPECT_EQ(m.ReadWord(0x2000), 2);  // files listed
  std::string guestName;
  for (uint32_t a = 0x2010; m.ReadByte(a) != 0; ++a) guestName += static_cast<char>(m.ReadByte(a));
  EXPECT_EQ(guestName, "DATA    .BIN");
  EXPECT_EQ(m.ReadLong(0x2004), bytes.size());
  EXPECT_EQ(test::ReadText(up), bytes);
  EXPECT_FALSE(Dropzone.InUse());  // the program released the zone
}

}  // namespace
}  // namespace korva
