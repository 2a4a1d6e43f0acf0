// Boots from images and files made in a temporary folder: the register presets,
// the boot string, the halted boot, the simple and S-record boots, the get/put
// transfers, and an initial program loader that runs and reads through the
// disk controller.

#include "bus/Memory.h"
#include "bus/Rom.h"
#include "cpu/CpuState.h"
#include "disk/Boot.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "shell/BootDrive.h"
#include "shell/ShellSettings.h"
#include "unit/disk/DiskFiles.h"

namespace korva::test {
namespace {

constexpr int64_t kRow0Length = 5013504;  // raw winchester of disk type 0

struct Asker : BootStringAsker {
  bool ok = true;
  std::string text;
  int calls = 0;
  bool ShowBoot(std::string& t) override {
    ++calls;
    t = text;
    return ok;
  }
};

class BootTest : public DiskTest {
 protected:
  void SetUp() override {
    DiskTest::SetUp();
    SetHost(&host);  // the test machine installed its own silent host
    SetBootStringDialog(&asker);
    BootDrive = 0;
    BugType = 0;
    BootType = kMotorolaDiskBoot;
    BootHalted = false;
    MapRwin(m);
  }
  void TearDown() override {
    SetBootStringDialog(nullptr);
    DiskTest::TearDown();
  }
  // A volume: LSN 0 with the magic, IPL at LSN 2 (length iplLength, load
  // address 0x2000), configuration area at LSN 1 when configLength is not 0;
  // LSN n (n >= 3) holds bytes n * 5 + i.
  std::vector<uint8_t> VolumeImage(const char* magic, uint16_t iplLength, uint8_t configLength,
                                   uint16_t configWord = 0x1234) {
    std::vector<uint8_t> v(256 * 16, 0);
    std::copy(magic, magic + 8, v.begin() + 248);
    std::copy_n("VOL1", 4, v.begin());
    v[23] = 2;  // IPL LSN
    v[24] = static_cast<uint8_t>(iplLength >> 8);
    v[25] = static_cast<uint8_t>(iplLength);
    v[32] = 0x20;  // load address 0x2000
    v[147] = 1;    // configuration LSN
    v[148] = configLength;
    v[256 + 8] = static_cast<uint8_t>(configWord >> 8);
    v[256 + 9] = static_cast<uint8_t>(configWord);
    // The IPL sector: SP, PC, then the program from the guest file.
    EXPECT_TRUE(m.LoadSrec("boot_ipl.s19"));
    for (uint32_t i = 0; i < 256; ++i) {
      v[512 + i] = m.ReadByte(i);
      m.WriteByte(i, 0);
    }
    for (uint32_t i = 128; i < 256; ++i) v[512 + i] = static_cast<uint8_t>(0xC0 ^ i);  // past the program
    for (int lsn = 3; lsn < 16; ++lsn)
      for (int i = 0; i < 256; ++i) v[static_cast<size_t>(lsn * 256 + i)] = static_cast<uint8_t>(lsn * 5 + i);
    return v;
  }
  bool MountWinchester(const std::vector<uint8_t>& head) {
    return Mount(0, WriteSparse(dir, "boot.raw", kRow0Length, head));
  }
  std::string LastTitle() const {
    const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
    return boxes.empty() ? "" : boxes.back().Title;
  }

  Asker asker;
  TestMachine m;
};

TEST_F(BootTest, VolumeBootPresetsTheRegisters) {
  ASSERT_TRUE(MountWinchester(VolumeImage("motorola", 1, 1, 0x8001)));
  asker.text = "  0.Korvan.VERSADOS.SY  ";
  CpuDReg[4] = 0xDEADBEEF;
  MotorolaDiskBoot(kBootAndHalt);
  host.AnswerMessage(MsgAnswer::Cancel);  // not consumed: the default first button is OK
  // D2: the configuration word, sign-extended; A6: the end of the boot string.
  EXPECT_EQ(std::vector<uint32_t>({CpuDReg[0], CpuDReg[2], CpuDReg[3], CpuDReg[4]}),
            std::vector<uint32_t>({0, 0xFFFF8001, 0x4D453455, 0x49504C03}));
  EXPECT_EQ(std::vector<uint32_t>(CpuAReg, CpuAReg + 8),
            std::vector<uint32_t>({0xF1C0D1, 0x2000, 0x500, 0xF00020, 0xF00040, 0x400, 0x400 + 20, 0x10000}));
  EXPECT_EQ(CpuPC, 0x2008u);
  EXPECT_EQ(m.SR() & 0xFF00, 0x2700);
  EXPECT_EQ(m.ReadByte(0x400), '0');
  EXPECT_EQ(LastTitle(), "Boot Halt");
  EXPECT_FALSE(BootHalted);  // OK in the "BH" box runs

  // The other monitor, and a BugType that leaves D4 alone.
  BugType = 1;
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(CpuDReg[4], 0x49504C0Cu);
  BugType = 2;
  CpuDReg[4] = 7;
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(CpuDReg[4], 7u);
}

TEST_F(BootTest, VolumeBootEdges) {
  // One wrong letter in the magic.
  ASSERT_TRUE(MountWinchester(VolumeImage("MOTOROLB", 1, 0)));
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(LastTitle(), "No Magic");
  EjectDisk(0);

  // The ROM overlaying address 0 would take the boot string's writes: refused.
  ASSERT_TRUE(MountWinchester(VolumeImage("MOTOROLA", 1, 0)));
  SwapRomToZero();
  CpuPC = 0x1234;
  MotorolaDiskBoot(kBootAndRun);
  SwapRomToHigh();
  EXPECT_EQ(LastTitle(), "Boot Error");
  EXPECT_EQ(CpuPC, 0x1234u);
  EjectDisk(0);

  // IPL length 0: nothing loaded, A7 = PC = 0; no configuration area: D2 0, zeros at 0x500.
  ASSERT_TRUE(MountWinchester(VolumeImage("EXORMACS", 0, 0)));
  m.WriteByte(0x500, 0x77);
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(CpuAReg[7] + CpuPC + CpuDReg[2] + m.ReadByte(0x500), 0u);

  // Boot strings of 127 and 128 characters.
  asker.text = std::string(127, 'x');
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(CpuAReg[6], 0x47Fu);
  asker.text = std::string(128, 'y');
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(CpuAReg[6], 0x400u);
  EXPECT_EQ(m.ReadByte(0x400), 'x');

  // Cancel in the boot-string dialog reads nothing and keeps BootHalted.
  BootHalted = true;
  asker.ok = false;
  const auto before = host.Calls.size();
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_TRUE(BootHalted);
  EXPECT_EQ(host.Calls.size(), before);

  // An empty drive.
  BootDrive = 3;
  MotorolaDiskBoot(kBootAndRun);
  EXPECT_EQ(LastTitle(), "Empty Drive");
}

TEST_F(BootTest, HaltedBootThenGo) {
  ASSERT_TRUE(MountWinchester(VolumeImage("MOTOROLA", 1, 0)));
  m.WriteByte(0x2100, 0x00);  // unit 0
  m.WriteByte(0x2101, 0x00);  // control byte
  m.WriteWord(0x2102, 256);
  host.AnswerMessage(MsgAnswer::Cancel);
  MotorolaDiskBoot(kBootAndHalt);
  EXPECT_TRUE(BootHalted && !CpuRunning);
  GoAfterBootHalt();
  EXPECT_TRUE(!BootHalted && CpuRunning);
  ASSERT_EQ(m.RunUntilStop(200000), Stop::StopInstr);
  // The loader read LSN 5 through the controller.
  for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(m.ReadByte(0x3000 + i), static_cast<uint8_t>(25 + i)) << i;
  EXPECT_EQ(m.ReadByte(0x3200), 0);
}

TEST_F(BootTest, VolumeBootFromAnImdFloppyRunsTheLoader) {
  // Track 0 of 16 x 128 bytes: LSN 0 is sectors 1-2, the IPL (LSN 2) sectors 5-6.
  ImdWriter w;
  const auto vol = VolumeImage("MOTOROLA", 1, 0);
  std::vector<ImdSectorSpec> t0;
  for (uint8_t n = 1; n <= 16; ++n) t0.push_back({n, 1});
  w.Track(2, 0, 0, 0, 16, t0);
  for (int c = 0; c < 40; ++c)
    for (int h = 0; h < 2; ++h)
      if (c || h) w.Track(5, static_cast<uint8_t>(c), static_cast<uint8_t>(h), 1, 16);
  // Put the volume's first three LSNs into the first six 128-byte sectors.
  auto bytes = w.Bytes;
  size_t p = std::find(bytes.begin(), bytes.end(), 0x1A) - bytes.begin() + 1 + 5 + 16;
  for (int s = 0; s < 6; ++s) std::copy_n(vol.begin() + s * 128, 128, bytes.begin() + static_cast<long>(p + s * 129 + 1));
  ASSERT_TRUE(MountBytes(2, bytes));
  BootDrive = 2;
  RwinDiskAuto[2] = True;
  m.WriteByte(0x2100, 0x40);  // unit 2
  m.WriteByte(0x2101, 0x00);  // 128-byte single-density sectors
  m.WriteWord(0x2102, 128);
  MotorolaDiskBoot(kBootAndRun);
  ASSERT_TRUE(CpuRunning);
  ASSERT_EQ(m.RunUntilStop(200000), Stop::StopInstr);
  EXPECT_EQ(m.ReadByte(0x3200), 0);
  // LSN 5 of 128 bytes is sector 6: the second half of the volume's LSN 2.
  for (int i = 0; i < 128; ++i) ASSERT_EQ(m.ReadByte(0x3000 + i), vol[640 + static_cast<size_t>(i)]) << i;
}

TEST_F(BootTest, SimpleAndSrecBoots) {
  ASSERT_TRUE(MountWinchester(VolumeImage("MOTOROLA", 1, 0)));
  GetPutBootLSN = 0x100003;  // 20-bit wrap: LSN 3
  GetPutBootBlocks = 1;
  GetPutBootLoadAddress = 0xFFFFFF;
  AlternateBootSP = 0x8000;
  AlternateBootPC = 0x1000;
  BootDataRegs.fill(0x11);
  host.AnswerMessage(MsgAnswer::Yes);
  SimpleBoot(kBootAndRun);
  EXPECT_EQ(m.ReadByte(0xFFFFFF), 15);  // LSN 3, byte 0
  EXPECT_EQ(m.ReadByte(0x000000), 16);  // wrapped
  EXPECT_EQ(std::vector<uint32_t>({CpuAReg[7], CpuDReg[5], CpuPC}), std::vector<uint32_t>({0x8000, 0x11, 0x1000}));
  SetCpuRunning(False);

  // S-record files: only file 1 set; its start record counts only when asked for.
  const std::string srec = dir.Write("b.s19", std::string("S1050300ABCD77\r\nS9030300F9\r\n"));
  BootSrecFileName = {"", srec};
  UseSrecStartAddress = False;
  SrecBoot(kBootAndRun);
  EXPECT_EQ(m.ReadWord(0x300), 0xABCD);
  EXPECT_EQ(CpuPC, 0x1000u);
  SetCpuRunning(False);
  UseSrecStartAddress = True;
  SrecBoot(kBootAndRun);
  EXPECT_EQ(CpuPC, 0x300u);
  SetCpuRunning(False);
  BootSrecFileName = {"", ""};
  SrecBoot(kBootAndRun);
  EXPECT_EQ(LastTitle(), "No Boot File");
}

TEST_F(BootTest, GetPutFieldsAndTransfers) {
  for (const char* bad : {"$1000000", "-1", "", "1x"}) EXPECT_FALSE(GetPutNumberGood(bad)) << bad;
  EXPECT_TRUE(GetPutNumberGood("$FFFFFF") && GetPutNumberGood("4096"));
  EXPECT_TRUE(GetPutDiskGood("hd01") && GetPutDiskGood("3") && !GetPutDiskGood("01") && !GetPutDiskGood("FD04"));
  ASSERT_TRUE(MountWinchester(VolumeImage("MOTOROLA", 1, 0)));
  GetPutTransfer({"0", "$FFFF80", "2", "3", "0", "0"}, false);
  EXPECT_EQ(m.ReadByte(0xFFFF80), 15);
  EXPECT_EQ(m.ReadByte(0x000000), static_cast<uint8_t>(15 + 128));
  EXPECT_EQ(m.ReadByte(0x00017F), static_cast<uint8_t>(20 + 255));  // LSN 4, last byte
  // Memory to disk and back.
  for (uint32_t i = 0; i < 256; ++i) m.WriteByte(0x9000 + i, static_cast<uint8_t>(i ^ 0xA5));
  GetPutTransfer({"HD00", "$9000", "1", "$9", "0", "0"}, true);
  ASSERT_TRUE(ReadDiskSector(0, 9));
  for (uint32_t i = 0; i < 256; ++i) ASSERT_EQ(SectorBuffer[i], static_cast<uint8_t>(i ^ 0xA5));
  // A fault stops the transfer with a box.
  m.SetDeviceCode(0xA000, 0xA0FF, DcNothing);
  GetPutTransfer({"0", "$A000", "1", "3", "0", "0"}, false);
  EXPECT_EQ(LastTitle(), "Memory Fault");
  EXPECT_EQ(host.BusyDepth, 0);
}

}  // namespace
}  // namespace korva::test
