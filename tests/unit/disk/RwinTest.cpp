// The winchester and floppy controller on images made in a temporary folder:
// registers, sense, the commands, the FIFO and the delayed completion.

#include "bus/Exceptions.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

constexpr int64_t kRow0Length = 5013504;  // 306 cylinders, 2 heads, 32 x 256

class RwinTest : public DiskTest {
 protected:
  void SetUp() override {
    DiskTest::SetUp();
    RwinPollInterval = 127;
    RwinCmdPending = False;
    Rwin.DataIRQ(3);
    Rwin.CmdIRQ(3);
    Exceptions.Reset();
  }
  void TearDown() override {
    RwinCmdPending = False;
    Rwin.Reset();
    DiskTest::TearDown();
  }
  // A raw winchester image of disk type 0 whose LSN n holds bytes (n * 3 + i).
  std::string Winchester() {
    std::vector<uint8_t> head = Volume("MOTOROLA", 0);
    for (int lsn = 1; lsn < 70; ++lsn)
      for (int i = 0; i < 256; ++i) head.push_back(static_cast<uint8_t>(lsn * 3 + i));
    return WriteSparse(dir, "win.raw", kRow0Length, head);
  }
  void Command(std::vector<uint8_t> block) {
    for (uint8_t b : block) Rwin.R0(b);
  }
  void Complete() {
    if (RwinCmdPending) Rwin.DoCmdComplete();
  }
  std::vector<uint8_t> Sense() {
    std::vector<uint8_t> s;
    for (int i = 0; i < 10; ++i) s.push_back(Rwin.R0());
    return s;
  }
  std::vector<uint8_t> Drain() {
    std::vector<uint8_t> d;
    while (Rwin.FifoCount() > 0) d.push_back(Rwin.R4to7());
    return d;
  }
  void SetParameters(uint8_t lun, uint8_t heads, uint16_t cylinders) {
    Command({0xC0, static_cast<uint8_t>(lun << 5), static_cast<uint8_t>((heads << 5) | (cylinders >> 8)),
             static_cast<uint8_t>(cylinders), 0, 0});
    Complete();
  }
};

TEST_F(RwinTest, ResetLoopbackStatusAndSense) {
  ASSERT_TRUE(Mount(0, Winchester()));
  Rwin.R2(0);
  EXPECT_EQ(Rwin.R1(), 0x08);
  for (uint8_t b : {0x11, 0x22}) Rwin.R4to7(b);
  EXPECT_EQ((std::vector<uint8_t>{Rwin.R4to7(), Rwin.R4to7(), Rwin.R4to7()}), (std::vector<uint8_t>{0x11, 0x22, 0}));
  EXPECT_EQ(Rwin.DisplayRWIN().rfind("RR1  - 08\r\n CB  - False\r\n", 0), 0u);

  std::vector<uint8_t> twelve;
  for (int i = 0; i < 12; ++i) twelve.push_back(Rwin.R0());
  EXPECT_EQ(twelve, (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0x0D, 0x05, 0x55, 0x55, 0, 0}));

  Rwin.R1(1);
  EXPECT_EQ(Rwin.R1() & 1, 1);
  Rwin.R1(0xFF);
  EXPECT_EQ(Rwin.R1() & 1, 0);

  // Invalid commands: class 1, class 6 opcode 1, a winchester-only opcode on a floppy.
  for (std::vector<uint8_t> bad : {std::vector<uint8_t>{0x20, 0, 0, 0, 1, 0}, {0xC1, 0, 0, 0, 1, 0},
                                   {0x0C, 0x40, 0, 0, 1, 0}, {0x05, 0, 0, 0, 1, 0}}) {
    Command(bad);
    Complete();
    EXPECT_EQ(Rwin.R0(), classRWIN::kInvalidCommand);
  }
}

TEST_F(RwinTest, CompletionAfterThePollIntervalOrInTheStopWait) {
  ASSERT_TRUE(Mount(0, Winchester()));
  Rwin.R2(0);
  TestMachine m;
  for (uint32_t a = 0x1000; a < 0x1400; a += 2) m.WriteWord(a, 0x4E71);  // NOPs
  m.SetPC(0x1000);
  Command({0x00, 0, 0, 0, 1, 0x02});  // test ready, CIE
  EXPECT_EQ(Rwin.R1() & 0x80, 0x80);
  EXPECT_EQ(Rwin.R0(), 0);  // closed while busy
  int fetches = 0;
  while (Rwin.R1() & 0x80) {
    ASSERT_EQ(m.StepInstruction(), Stop::Fetch);
    ++fetches;
  }
  EXPECT_EQ(fetches, 128);
  EXPECT_EQ(Rwin.R1() & 0x40, 0x40);
  EXPECT_TRUE(Exceptions.IsIocIP(3, 1));
  Rwin.R0();  // a sense read withdraws the command interrupt
  EXPECT_FALSE(Exceptions.IsIocIP(3, 1));

  // A pending command interrupt moves with its line.
  Command({0x00, 0, 0, 0, 1, 0x02});
  Complete();
  Rwin.CmdIRQ(2);
  EXPECT_FALSE(Exceptions.IsIocIP(3, 1));
  EXPECT_TRUE(Exceptions.IsIocIP(2, 1));

  // In the STOP wait the completion comes at once.
  Rwin.R0();
  m.Words(0x2000, {0x4E72, 0x2700, 0x4E71});
  m.SetPC(0x2000);
  Command({0x00, 0, 0, 0, 1, 0});
  ASSERT_EQ(m.StepInstruction(), Stop::StopInstr);
  m.ExecuteWord();
  EXPECT_EQ(Rwin.R1() & 0x80, 0);
}

TEST_F(RwinTest, WinchesterReadWriteVerifyAndSenseAddresses) {
  const std::string path = Winchester();
  ASSERT_TRUE(Mount(0, path));
  Rwin.R2(0);
  SetParameters(0, 3, 305);
  const auto s = Sense();
  EXPECT_EQ(std::vector<uint8_t>(s.begin() + 2, s.begin() + 6), (std::vector<uint8_t>{0x01, 0x31, 0x7F, 0x00}));

  // Read 2 sectors at LSN 10: the sense names LSN 11 and the count (the data
  // itself is checked by the guest driver below).
  Command({0x08, 0x00, 0x00, 10, 2, 0});
  EXPECT_EQ(Rwin.R1() & 0x88, 0x88);
  EXPECT_EQ(Drain().size(), 512u);
  Complete();
  const auto rs = Sense();
  EXPECT_EQ(std::vector<uint8_t>({rs[0], rs[4], rs[5]}), (std::vector<uint8_t>{0, 11, 2}));

  // A 2-sector write completes only after 512 bytes.
  Command({0x0A, 0x00, 0x00, 20, 2, 0});
  for (int i = 0; i < 511; ++i) Rwin.R4to7(static_cast<uint8_t>(i ^ 0x5A));
  EXPECT_FALSE(RwinCmdPending);
  Rwin.R4to7(0xEE);
  EXPECT_TRUE(RwinCmdPending);
  Complete();
  EXPECT_EQ(Rwin.R0(), 0);

  // Verify leaves sense 0 and the FIFO empty; opcode 13 gives the sector and 4 zero bytes.
  Command({0x09, 0x00, 0x00, 30, 8, 0});
  EXPECT_EQ(Rwin.FifoCount(), 0u);
  Complete();
  EXPECT_EQ(Rwin.R0(), 0);
  Command({0x0D, 0x00, 0x00, 5, 1, 0});
  const auto s13 = Drain();
  ASSERT_EQ(s13.size(), 260u);
  EXPECT_EQ(s13[0], 15);
  EXPECT_EQ(std::vector<uint8_t>(s13.begin() + 256, s13.end()), (std::vector<uint8_t>{0, 0, 0, 0}));
  Complete();

  // Opcode 12 at LSN 40: the 32 records of LSNs 32-63.
  Command({0x0C, 0x00, 0x00, 40, 1, 0});
  const auto track = Drain();
  ASSERT_EQ(track.size(), 8704u);
  for (int r = 0; r < 32; ++r) {
    const uint8_t* rec = &track[static_cast<size_t>(r) * 272];
    ASSERT_EQ(rec[0], 0xA1);
    ASSERT_EQ(rec[1], 0xFE);
    ASSERT_EQ(rec[4], (32 + r) % 32 | (((32 + r) / 32 % 4) << 5));
    ASSERT_EQ(rec[10], 0xA1);
    ASSERT_EQ(rec[11], 0xF8);
    ASSERT_EQ(rec[12], static_cast<uint8_t>((32 + r) * 3));
  }
  Complete();
  EXPECT_NE(Rwin.DisplayDrives().find("Lun = 00 RAW-File = "), std::string::npos);
}

TEST_F(RwinTest, FloppyTransfersAndMendedRefusals) {
  // Two-sided IMD floppy: 16 x 128 track 0, then 16 x 256 data tracks.
  ASSERT_TRUE(MountBytes(2, StandardImd(40, 2, 16, 16, 1)));
  RwinDiskType[2] = 0;
  RwinDiskAuto[2] = True;
  Rwin.R2(0);
  SetParameters(2, 1, 39);
  // A command whose size code does not match the image's sector: sense 6, nothing moves.
  Command({0x08, 0x40, 0x00, 40, 1, 0x34});
  Complete();
  EXPECT_EQ(Rwin.R0(), classRWIN::kSectorFailed);
  EXPECT_EQ(Rwin.FifoCount(), 0u);

  // The same on a raw floppy of 128-byte sectors: read as such it works, as 256-byte ones it fails.
  ASSERT_TRUE(Mount(3, WriteSparse(dir, "fd.img", 256256)));
  RwinDiskAuto[3] = True;
  Rwin.R2(0);
  SetParameters(3, 0, 76);
  Command({0x08, 0x60, 0x00, 40, 1, 0x00});
  EXPECT_EQ(Drain().size(), 128u);
  Complete();
  EXPECT_EQ(Rwin.R0(), 0);
  Command({0x08, 0x60, 0x00, 40, 1, 0x28});
  Complete();
  EXPECT_EQ(Rwin.R0(), classRWIN::kSectorFailed);
  EXPECT_EQ(Rwin.FifoCount(), 0u);

  // An IMD image on a winchester unit cannot be placed: sense 6, never sector 1 of c0h0.
  ASSERT_TRUE(MountBytes(1, StandardImd(2, 1, 16, 16, 1)));
  Rwin.R2(0);
  Command({0x08, 0x20, 0x00, 0, 1, 0});
  Complete();
  EXPECT_NE(Rwin.R0(), 0);
  EXPECT_EQ(Rwin.FifoCount(), 0u);

  // A compressed record makes the image read-only: a write gives sense 14, file unchanged.
  ImdWriter w;
  w.Track(2, 0, 0, 0, 16).Track(5, 1, 0, 1, 16, {{1, 2, 0x33}, {2, 1}});
  ASSERT_TRUE(MountBytes(3, w.Bytes));
  const std::string path = DriveTable[3].FilePath;
  Rwin.R2(0);
  SetParameters(3, 0, 1);
  Command({0x0A, 0x60, 0x00, 16, 1, 0xA8});
  Complete();
  EXPECT_EQ(Rwin.R0(), classRWIN::kWriteProtected);
  EXPECT_EQ(ReadAll(path), w.Bytes);
  EXPECT_NE(Rwin.DisplayDrives().find(" Type =     0"), std::string::npos);

  // A record without data (type 9) takes no write: sense 6, file unchanged.
  ImdWriter nine;
  std::vector<ImdSectorSpec> track1;
  for (uint8_t n = 1; n <= 16; ++n) track1.push_back({n, static_cast<uint8_t>(n == 1 ? 9 : 1)});
  nine.Track(2, 0, 0, 0, 16).Track(5, 1, 0, 1, 16, track1).Track(5, 2, 0, 1, 16);
  RwinDiskAuto[3] = True;
  ASSERT_TRUE(MountBytes(3, nine.Bytes));
  ASSERT_FALSE(DriveTable[3].ReadOnly);
  const std::string ninePath = DriveTable[3].FilePath;
  Rwin.R2(0);
  SetParameters(3, 0, 1);
  Command({0x0A, 0x60, 0x00, 16, 1, 0xA8});
  for (int i = 0; i < 256; ++i) Rwin.R4to7(0x77);
  Complete();
  EXPECT_EQ(Rwin.R0(), classRWIN::kSectorFailed);
  EXPECT_EQ(ReadAll(ninePath), nine.Bytes);
}

TEST_F(RwinTest, ZeroSectorsPerTrackIsOutOfRange) {
  ASSERT_TRUE(MountBytes(2, StandardImd(40, 2, 16, 16, 1)));
  RwinDiskAuto[2] = False;
  const auto saved = RwinSectorsPerTrack;
  RwinSectorsPerTrack.fill(0);
  Rwin.R2(0);
  Command({0x08, 0x40, 0x00, 0, 1, 0x2C});
  Complete();
  EXPECT_EQ(Rwin.R0(), classRWIN::kOutOfRange);
  RwinSectorsPerTrack = saved;
}

// The driver program on a raw winchester and on an IMD floppy.
class RwinGuestTest : public RwinTest {
 protected:
  void Run(uint8_t lun, uint8_t control, uint8_t p2, uint8_t p3, uint8_t writeLsn) {
    TestMachine m;
    MapRwin(m);
    // The controller's line 3 reaches the processor through entry 13.
    Exceptions.Mask(13, 0);
    Exceptions.IMask(False);
    ASSERT_TRUE(m.LoadSrec("rwin_driver.s19"));
    m.WriteByte(0x0F00, static_cast<uint8_t>(lun << 5));
    m.WriteByte(0x0F01, control);
    m.WriteByte(0x0F02, p2);
    m.WriteByte(0x0F03, p3);
    m.WriteByte(0x0F05, writeLsn);
    ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
    // The program waits in STOP for its interrupts: the wait completes the command.
    for (int round = 0; round < 100 && m.ReadWord(0x0F10) < 2; ++round) {
      ASSERT_EQ(m.RunUntilStop(2000000), Stop::StopInstr);
      m.ExecuteWord();
    }
    ASSERT_EQ(m.RunUntilStop(2000000), Stop::StopInstr);
    ASSERT_EQ(m.ReadWord(0x0F10), 2) << "interrupts taken";
    for (uint32_t step = 0x2000; step <= 0x2040; step += 0x10)
      EXPECT_EQ(m.ReadByte(step), 0) << "sense of step " << std::hex << step;
    first_ = m.ReadByte(0x10000);
    for (uint32_t i = 0; i < 256; ++i) {
      ASSERT_EQ(m.ReadByte(0x13000 + i), m.ReadByte(0x10000 + i)) << i;  // both reads of LSN 0
      ASSERT_EQ(m.ReadByte(0x12000 + i), 255 - i) << i;                  // the written pattern read back
    }
  }
  uint8_t first_ = 0;  // the first byte read from LSN 0
};

TEST_F(RwinGuestTest, RawWinchester) {
  const std::string path = Winchester();
  ASSERT_TRUE(Mount(0, path));
  Run(0, 0x00, 0x21, 0x31, 40);
  EXPECT_EQ(first_, 0);  // LSN 0, the volume sector, starts with zeros
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&ReadAll(path)[248]), 8), "MOTOROLA");
  const auto file = ReadAll(path);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(file[40 * 256 + i], 255 - i);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(file[41 * 256 + i], static_cast<uint8_t>(41 * 3 + i));
}

TEST_F(RwinGuestTest, ImdFloppy) {
  ImdWriter w;  // 16 x 256 bytes on every track, track 0 included
  for (int c = 0; c < 40; ++c)
    for (int h = 0; h < 2; ++h) w.Track(5, static_cast<uint8_t>(c), static_cast<uint8_t>(h), 1, 16);
  ASSERT_TRUE(MountBytes(2, w.Bytes));
  RwinDiskType[2] = 0;
  RwinDiskAuto[2] = True;
  Run(2, 0x2C, 0x20, 39, 40);
  EXPECT_EQ(first_, SectorByte(0, 0, 1, 0));
  // LSN 40: track 2 (cylinder 1, head 0), sector 9.
  DiskImage& image = *DriveTable[2].Image();
  ASSERT_TRUE(image.SetCylinder(1) && image.SetHead(0) && image.SetSector(9));
  uint8_t sector[256];
  ASSERT_TRUE(image.ReadData(image.SectorOffset(), sector, 256));
  for (int i = 0; i < 256; ++i) ASSERT_EQ(sector[i], 255 - i);
}

}  // namespace
}  // namespace korva::test
