// The emulator's own disk devices (logical-sector port, simple and CP/M
// controllers) on images made in a temporary folder, driven through the bus as
// the guest drives them.

#include "bus/Memory.h"
#include "disk/CpmDiskController.h"
#include "disk/LSNDIO.h"
#include "disk/SimpleDiskController.h"
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

constexpr uint32_t kLsn = 0xF1A400, kSimple = 0xF1A300, kCpm = 0xF1A200;

class OwnDiskDevicesTest : public DiskTest {
 protected:
  void SetUp() override {
    DiskTest::SetUp();
    m.SetDeviceCode(kCpm, kCpm + 31, DcCpmDC);
    m.SetDeviceCode(kSimple, kSimple + 31, DcSimpleDC);
    m.SetDeviceCode(kLsn, kLsn + 31, DcLsnDio);
    SimpleDC.Reg(0);  // status read: cleared
    CpmDC.Reg(0);
  }
  void Word(uint32_t address, uint16_t value) { WriteMemory(address, False, value, False); }
  uint16_t Word(uint32_t address) { return ReadMemory(address, False); }
  // The LSN port's parameter block at 0x3000, then the registers in the given order.
  void LsnCommand(uint16_t command, uint8_t drive, uint32_t buffer, uint32_t lsn, uint16_t count) {
    m.WriteByte(0x3001, drive);
    m.WriteWord(0x3002, 0xABCD);
    m.WriteLong(0x3004, buffer);
    m.WriteLong(0x3008, lsn);
    m.WriteWord(0x300C, count);
    Word(kLsn + 4, command);
    Word(kLsn + 0, 0);
    Word(kLsn + 2, 0x3000);
  }
  void Select(uint32_t base, uint16_t drive, uint16_t track, uint16_t side) {
    Word(base + 10, 0);  // address high word: the controllers keep it from earlier tests
    Word(base + 2, drive);
    Word(base + 4, track);
    Word(base + 6, side);
  }
  bool GuestFaulted() const { return FaultFlag || BusErrorFlag; }

  TestMachine m;
};

TEST_F(OwnDiskDevicesTest, LsnPortRunsOnTheThirdRegisterAndReportsInTheBlock) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 16, 16, 1)));
  // Register 3, and two of the three others, never run a command.
  Word(kLsn + 6, 0);
  Word(kLsn + 4, 16);
  Word(kLsn + 2, 0x3000);
  EXPECT_EQ(Word(kLsn), 0);  // a run would report the empty block's count 0

  LsnCommand(16, 0, 0x10000, 7, 2);
  EXPECT_EQ(Word(kLsn + 6), 0);
  EXPECT_EQ(m.ReadWord(0x3002), 0);  // completion word
  for (int32_t lsn = 7; lsn <= 8; ++lsn) {
    ASSERT_TRUE(ReadDiskSector(0, lsn));
    for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(m.ReadByte(0x10000 + (lsn - 7) * 256 + i), SectorBuffer[i]) << lsn;
  }
  EXPECT_EQ(m.ReadByte(0x10200), 0);

  // Count 0: error 6, only the first byte of the completion word cleared.
  LsnCommand(16, 0, 0x20000, 0, 0);
  EXPECT_EQ(Word(kLsn), 0x0600);
  EXPECT_EQ(m.ReadWord(0x3002), 0x00CD);
  // An LSN the drive cannot supply: error 1 with the earlier sectors moved.
  LsnCommand(16, 0, 0x20000, 0x7FFFFE, 3);
  EXPECT_EQ(Word(kLsn), 0x0100);
  // Another command only writes the completion word.
  LsnCommand(18, 0, 0x20000, 0, 1);
  EXPECT_EQ(Word(kLsn), 0);
  EXPECT_EQ(m.ReadWord(0x3002), 0);

  // A buffer in unmapped memory: error 9, and the guest's register write takes no fault.
  m.SetDeviceCode(0x50100, 0x501FF, DcNothing);
  LsnCommand(16, 0, 0x50000, 0, 2);
  EXPECT_EQ(Word(kLsn), 0x0900);
  EXPECT_FALSE(GuestFaulted());
}

// Reads and writes through each device are checked by the guest driver's test below.
TEST_F(OwnDiskDevicesTest, SimpleControllerGeometryAndAccumulatedStatus) {
  ASSERT_TRUE(MountBytes(0, StandardImd(4, 2, 16, 16, 1)));
  Select(kSimple, 0, 3, 1);
  EXPECT_EQ(std::vector<uint16_t>({Word(kSimple + 26), Word(kSimple + 24), Word(kSimple + 20)}),
            std::vector<uint16_t>({256, 16, 4}));
  // Drive 4 is refused and the drive kept; a command then fails until the status is read.
  Word(kSimple + 2, 4);
  EXPECT_EQ(Word(kSimple + 2), 0);
  Word(kSimple + 0, 1);
  EXPECT_EQ(Word(kSimple), 0x82);
  Word(kSimple + 0, 7);
  EXPECT_EQ(Word(kSimple), 1);
}

TEST_F(OwnDiskDevicesTest, SimpleControllerFaultsAndRefusals) {
  ImdWriter w;
  w.Track(2, 0, 0, 0, 4, {{1, 1}, {2, 2, 0x5A}, {3, 9}, {4, 1}});
  ASSERT_TRUE(MountBytes(1, w.Bytes));
  ASSERT_TRUE(DriveTable[1].ReadOnly);  // a compressed record makes the image read-only
  const std::string path = DriveTable[1].FilePath;
  Select(kSimple, 1, 0, 0);
  Word(kSimple + 8, 2);
  Word(kSimple + 12, 0xB000);
  Word(kSimple + 0, 1);
  EXPECT_EQ(Word(kSimple), 0);
  for (int i = 0; i < 128; ++i) ASSERT_EQ(m.ReadByte(0xB000 + i), 0x5A);
  Word(kSimple + 8, 3);  // a record without data
  Word(kSimple + 0, 1);
  EXPECT_EQ(Word(kSimple), 0x80);
  Word(kSimple + 8, 1);
  Word(kSimple + 0, 2);
  EXPECT_EQ(Word(kSimple), 0xC0);
  EXPECT_EQ(ReadAll(path), w.Bytes);

  // A transfer into unmapped memory stops with 0xA0; the guest's write takes no fault.
  m.SetDeviceCode(0xC040, 0xC0FF, DcNothing);
  Word(kSimple + 12, 0xC000);
  Word(kSimple + 0, 1);
  EXPECT_FALSE(GuestFaulted());
  EXPECT_EQ(Word(kSimple), 0xA0);
  EXPECT_EQ(m.ReadByte(0xC03F), SectorByte(0, 0, 1, 63));

  // A write at a position the image does not have fails and says why.
  ASSERT_TRUE(MountBytes(0, StandardImd(2, 1, 16, 16, 1)));
  Select(kSimple, 0, 0, 0);
  Word(kSimple + 8, 17);
  Word(kSimple + 12, 0xD000);
  EXPECT_EQ(Word(kSimple), 0x04);
  Word(kSimple + 0, 2);
  EXPECT_EQ(Word(kSimple), 0x84);
}

TEST_F(OwnDiskDevicesTest, CpmControllerRecordsAndStatus) {
  // Zero-based 512-byte sectors: records 0-3 share sector 0.
  ImdWriter w;
  w.Track(5, 0, 0, 2, 2, {{0, 1}, {1, 1}});
  ASSERT_TRUE(MountBytes(0, w.Bytes));
  DriveTable[0].Image()->Onebased(false);
  Select(kCpm, 0, 0, 0);
  for (uint16_t record = 0; record < 4; ++record) {
    Word(kCpm + 8, record);
    Word(kCpm + 12, static_cast<uint16_t>(0x1000 + 0x100 * record));
    Word(kCpm + 0, 1);
    ASSERT_EQ(Word(kCpm), 0) << record;
    EXPECT_EQ(m.ReadByte(0x1000 + 0x100 * record), SectorByte(0, 0, 0, 128 * record)) << record;
  }
  Word(kCpm + 8, 4);
  Word(kCpm + 12, 0x2000);
  Word(kCpm + 0, 1);
  EXPECT_EQ(m.ReadByte(0x2000), SectorByte(0, 0, 1, 0));

  // Status: command 3 sets exactly 1; a command before reading it fails.
  Word(kCpm + 0, 3);
  Word(kCpm + 0, 1);
  EXPECT_EQ(ReadMemory(kCpm + 1, True), 0x81);
  EXPECT_EQ(Word(kCpm), 0);
  Word(kCpm + 0, 3);
  EXPECT_EQ(ReadMemory(kCpm, True), 0);  // a byte read of offset 0 clears too
  EXPECT_EQ(Word(kCpm), 0);
  // Byte writes are ignored; a negative record is refused.
  WriteMemory(kCpm + 9, True, 7, False);
  EXPECT_EQ(Word(kCpm + 8), 4);
  Word(kCpm + 8, 0x8000);
  EXPECT_EQ(Word(kCpm), 0x04);

  // No image on the drive: geometry reads 0 and selections say bad drive.
  Word(kCpm + 2, 3);
  EXPECT_EQ(Word(kCpm + 20), 0);
  EXPECT_EQ(Word(kCpm), 0x02);

  // Sector sizes other than 128, 256 and 512 fail.
  ImdWriter big;
  big.Track(5, 0, 0, 3, 1);  // one 1024-byte sector
  ASSERT_TRUE(MountBytes(1, big.Bytes));
  Select(kCpm, 1, 0, 0);
  Word(kCpm + 8, 1);
  Word(kCpm + 0, 1);
  EXPECT_EQ(Word(kCpm) & 0x80, 0x80);
}

TEST_F(OwnDiskDevicesTest, GuestDriverUsesAllThreeDevices) {
  ASSERT_TRUE(MountBytes(0, StandardImd(3, 2, 16, 16, 1)));
  const std::string path = DriveTable[0].FilePath;
  for (uint32_t i = 0; i < 256; ++i) m.WriteByte(0x12000 + i, static_cast<uint8_t>(0x77 ^ i));
  ASSERT_TRUE(m.LoadSrec("owndisk_devices.s19"));
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  ASSERT_EQ(m.RunUntilStop(), Stop::StopInstr);
  for (uint32_t a = 0x2000; a <= 0x200C; a += 2) EXPECT_EQ(m.ReadWord(a), 0) << std::hex << a;

  for (int32_t lsn = 0; lsn <= 1; ++lsn) {
    ASSERT_TRUE(ReadDiskSector(0, lsn));
    for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(m.ReadByte(0x10000 + 256 * lsn + i), SectorBuffer[i]);
  }
  for (int i = 0; i < 256; ++i) ASSERT_EQ(m.ReadByte(0x14000 + i), SectorByte(1, 0, 2, i));
  // Linear track 2 as the image splits it; one-based records: record 2 is the
  // second half of sector 1.
  const int c = GetTrackCylinder(0, 2), h = GetTrackHead(0, 2);
  for (int i = 0; i < 128; ++i) ASSERT_EQ(m.ReadByte(0x16000 + i), SectorByte(c, h, 1, 128 + i));

  // What the three writes left in the image file.
  ASSERT_TRUE(ReadDiskSector(0, 30));
  for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(SectorBuffer[i], 0x77 ^ i);
  EjectDisk(0);
  ASSERT_TRUE(Mount(0, path));
  DiskImage& image = *DriveTable[0].Image();
  uint8_t sector[256];
  ASSERT_TRUE(image.SetCylinder(1) && image.SetHead(1) && image.SetSector(3));
  ASSERT_TRUE(image.ReadData(image.SectorOffset(), sector, 256));
  for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(sector[i], 0x77 ^ i);
  ASSERT_TRUE(image.SetCylinder(c) && image.SetHead(h) && image.SetSector(3));  // record 5: sector 3, first half
  ASSERT_TRUE(image.ReadData(image.SectorOffset(), sector, 256));
  for (uint32_t i = 0; i < 128; ++i) ASSERT_EQ(sector[i], 0x77 ^ i);
  for (int i = 128; i < 256; ++i) ASSERT_EQ(sector[i], SectorByte(c, h, 3, i));
}

}  // namespace
}  // namespace korva::test
