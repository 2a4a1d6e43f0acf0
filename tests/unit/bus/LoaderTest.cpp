// The three memory-image loaders on real files: where the bytes land, what the
// start address and IPL registers become, and the exact messages.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>
#include "bus/BusState.h"
#include "bus/Loaders.h"
#include "bus/Rom.h"
#include "support/ScriptedHost.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

class LoaderTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  TempFolder dir;
  RomWordArray savedRom = RomImage;

  void SetUp() override {
    AllRamMap();
    ClearBusFaults();
    LoadStartValid = False;
    LoadStartAddress = 0;
  }
  void TearDown() override { RomImage = savedRom; }

  std::vector<HostCall> Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox); }
  std::string Only(const char* title) const {
    const auto boxes = Boxes();
    if (boxes.size() != 1 || boxes[0].Title != title) {
      ADD_FAILURE() << "expected one box titled '" << title << "', got " << boxes.size()
                    << (boxes.empty() ? "" : " first titled '" + boxes[0].Title + "'");
      return "";
    }
    return boxes[0].Text;
  }
  std::string Srecs(const std::vector<std::string>& lines, const char* end = "\r\n") {
    std::string text;
    for (const auto& l : lines) text += l + end;
    return dir.Write("t.s19", text);
  }
};

TEST_F(LoaderTest, SrecReportsTheRangeWritten) {
  const auto path = Srecs({Srec(0, 0), Srec(1, 0x2000, Sequence(16, 0x40)), Srec(1, 0x1000, Sequence(16, 0x80)),
                           Srec(9, 0x1234)});
  EXPECT_EQ(LoadSrecFile(path, False, True), True);
  EXPECT_EQ(Only("S-REC"), "MinAddress = 4096- 0x1000\r\nMaxAddress = 8207- 0x200F\r\n");
  EXPECT_EQ(MemByte(0x200F), 0x4F);
  EXPECT_EQ(MemByte(0x2010), 0x00);
  EXPECT_EQ(MemByte(0x1000), 0x80);
  EXPECT_EQ(LoadStartValid, True);
  EXPECT_EQ(LoadStartAddress, 0x1234u);
}

TEST_F(LoaderTest, SrecWithoutDataReportsTheEmptyRange) {
  const auto path = Srecs({Srec(0, 0, {'H', 'I'}), Srec(9, 0x0400)});
  EXPECT_EQ(LoadSrecFile(path, False, True), True);
  EXPECT_EQ(Only("S-REC"), "MinAddress = 16777215- 0xFFFFFF\r\nMaxAddress = -1- 0xFFFFFFFF\r\n");
  EXPECT_EQ(LoadStartAddress, 0x400u);

  // Start records of any width; the last one wins.
  EXPECT_EQ(LoadSrecFile(Srecs({Srec(7, 0x01020304), Srec(8, 0x050607)}), False, False), True);
  EXPECT_EQ(LoadStartAddress, 0x050607u);
  EXPECT_EQ(LoadSrecFile(Srecs({Srec(1, 0x10, {1}), Srec(5, 1)}), False, False), True);
  EXPECT_EQ(LoadStartValid, False);  // cleared by the load, no start record in it
}

TEST_F(LoaderTest, S3AddressIsMaskedTo24BitsButChecksummedWhole) {
  EXPECT_EQ(LoadSrecFile(Srecs({Srec(3, 0x01F00000, {0xAB, 0xCD})}), False, False), True);
  EXPECT_TRUE(Boxes().empty());  // all four address bytes went into the checksum
  EXPECT_EQ(CellOf(0xF00000).Data, 0xABCD);

  // A wrong checksum names the address as read; the data stay written.
  AllRamMap();
  const std::string bad = Srec(3, 0x01F00000, {0x11}, 0x42);
  EXPECT_EQ(LoadSrecFile(Srecs({bad, Srec(1, 0x100, {0x22})}), False, False), True);
  EXPECT_EQ(Only("BAD CHECKSUM"), "Invalid Checksum 0x" + Hex2(~(0x06u + 0x01 + 0xF0 + 0x11)) + " <> 0x42 at 0x1F00000");
  EXPECT_EQ(MemByte(0xF00000), 0x11);
  EXPECT_EQ(MemByte(0x100), 0x22);  // loading went on
}

// A file of bad records asks for two answers, not one per record: the first
// bad record's own box, then how many more there were.
TEST_F(LoaderTest, BadChecksumsShowTheFirstAndACount) {
  const auto bad = [](uint32_t address) {
    std::string line = Srec(1, address, {0x11, 0x22});
    line.back() = line.back() == '0' ? '1' : '0';  // a wrong checksum
    return line;
  };
  std::vector<std::string> lines;
  for (uint32_t r = 0; r < 4096; ++r) lines.push_back(bad(0x1000 + 2 * r));
  lines.push_back(Srec(9, 0x1000));
  EXPECT_EQ(LoadSrecFile(Srecs(lines), False, True), True);
  const auto boxes = Boxes();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].Title, "BAD CHECKSUM");
  EXPECT_EQ(boxes[0].Text.rfind("Invalid Checksum 0x", 0), 0u);
  EXPECT_TRUE(boxes[0].Text.ends_with(" at 0x1000")) << boxes[0].Text;
  EXPECT_EQ(boxes[1].Title + "|" + boxes[1].Text, "BAD CHECKSUM|4095 more records had invalid checksums");
  EXPECT_EQ(boxes[2].Title, "S-REC");
  EXPECT_EQ(MemByte(0x1000 + 2 * 4095 + 1), 0x22);  // every record was still loaded

  // Each load counts afresh; a load that fails still gives its count first.
  host.ClearCalls();
  EXPECT_EQ(LoadSrecFile(Srecs({bad(0x10), bad(0x20), bad(0x30), ""}), False, False), False);
  ASSERT_EQ(Boxes().size(), 3u);
  EXPECT_EQ(Boxes()[1].Text, "2 more records had invalid checksums");
  EXPECT_EQ(Boxes()[2].Title, " Error during S- Record Load");
}

TEST_F(LoaderTest, SrecLineFormsAllRead) {
  // Lower-case type, text before the "S", and each kind of line end.
  for (const char* end : {"\r\n", "\n", "\r"}) {
    AllRamMap();
    std::string lower = Srec(1, 0x300, {0x5A});
    lower[0] = 's';
    const auto path = Srecs({"junk:" + lower, "  " + Srec(2, 0x012345, {0x77, 0x88})}, end);
    EXPECT_EQ(LoadSrecFile(path, False, False), True) << "line end " << static_cast<int>(end[0]);
    EXPECT_EQ(MemByte(0x300), 0x5A);
    EXPECT_EQ(MemByte(0x012346), 0x88);
  }
  // The last line may lack its end.
  AllRamMap();
  EXPECT_EQ(LoadSrecFile(dir.Write("noend.s19", Srec(1, 0x10, {9})), False, False), True);
  EXPECT_EQ(MemByte(0x10), 9);
}

TEST_F(LoaderTest, SrecBlankLineEndsTheLoadWithTheHostErrorMessage) {
  const auto path = dir.Write("blank.s19", Srec(9, 0x40) + "\r\n" + Srec(1, 0xABC, {1, 2}) + "\r\n\r\n" +
                                               Srec(1, 0x500, {3}) + "\r\n");
  EXPECT_EQ(LoadSrecFile(path, False, True), False);
  EXPECT_EQ(Only(" Error during S- Record Load"),
            " Error number 5\r\n\r\n Line 3 holds no S-record\r\n\r\n File = " + path +
                "\r\n\r\n Last  Record Address = 0xABC");
  EXPECT_EQ(MemByte(0xABC), 1);  // what came before stays
  EXPECT_EQ(MemByte(0x500), 0);
  EXPECT_EQ(LoadStartValid, True);  // set by this load before the error
}

TEST_F(LoaderTest, MissingFileKeepsTheStartFlag) {
  LoadStartValid = True;
  const auto path = dir.Path("absent.s19");
  const auto accented = dir.Path("\xC3\xA4.s19");  // shown in the machine's code page
  EXPECT_EQ(LoadSrecFile(accented, False, False), False);
  EXPECT_EQ(Only(" Error during S- Record Load"),
            " Error number 2\r\n\r\n No such file or directory\r\n\r\n File = " + dir.Path("\xE4.s19") +
                "\r\n\r\n Last  Record Address = 0x0");
  EXPECT_EQ(LoadStartValid, True);
  host.ClearCalls();
  EXPECT_EQ(LoadCpmCommandFile(path, False), False);
  EXPECT_EQ(Only(" Error during Loading of CPM Command File"),
            " Error number 2\r\n\r\n No such file or directory\r\n\r\n File = " + path);
}

TEST_F(LoaderTest, WritesToUnmappedWordsLeaveTheFaultFlagsAsTheyWere) {
  SetMemMap(0x700000, 0x7FFFFF, DcNothing);
  const auto path = Srecs({Srec(2, 0x700000, {1, 2, 3})});
  SetAddressError();
  EXPECT_EQ(LoadSrecFile(path, False, False), True);
  EXPECT_TRUE(FaultFlag && AddressErrorFlag);
  EXPECT_FALSE(BusErrorFlag);
  ClearBusFaults();
}

TEST_F(LoaderTest, CpmContiguousPlacesTextDataAndBssOnEvenAddresses) {
  for (uint32_t a = 0x1000; a < 0x1010; ++a) WriteMemory(a, True, 0xEE, True);
  const CpmHeader h{.TextSize = 5, .DataSize = 2, .BssSize = 3, .TextStart = 0x1000};
  EXPECT_EQ(LoadCpmCommandFile(dir.Write("a.68k", CpmFile(h, Sequence(5, 0x10), {0x21, 0x22})), False), True);
  const uint8_t want[] = {0x10, 0x11, 0x12, 0x13, 0x14, 0xEE, 0x21, 0x22, 0, 0, 0, 0xEE};
  for (uint32_t k = 0; k < sizeof want; ++k) EXPECT_EQ(MemByte(0x1000 + k), want[k]) << k;
  EXPECT_EQ(LoadStartAddress, 0x1000u);
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(LoaderTest, CpmWithGivenDataAndBssStarts) {
  const CpmHeader h{0x601B, 2, 1, 2, 0x2000, 0x3001, 0x4000};
  WriteMemory(0x4000, False, 0xFFFF, True);
  EXPECT_EQ(LoadCpmCommandFile(dir.Write("b.68k", CpmFile(h, {0xA1, 0xA2}, {0xD1})), True), True);
  EXPECT_EQ(RomImage[0x1000], 0xA1A2);           // 0x2000 modulo 64 KB
  EXPECT_EQ(RomImage[0x1800] & 0xFF, 0xD1);      // 0x3001
  EXPECT_EQ(RomImage[0x2000], 0x0000);           // bss
  EXPECT_EQ(CellOf(0x4000).Data, 0xFFFF);        // memory untouched
}

TEST_F(LoaderTest, VersadosFormat0LoadsPagesUpToTheEndMarker) {
  Bytes data = Sequence(512, 0);
  const uint8_t ipl[8] = {0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x10, 0x08};
  std::copy(ipl, ipl + 8, data.begin());
  data.resize(512 + 256, 0x99);  // data of an entry past the marker: never read
  LoadIplPC = LoadIplSP = 0;
  const auto path = dir.Write("m.lo", VdosFile(0, 0x1008, {{0x0010, 0x0001}, {0, 0xFFFF}, {0x0030, 0}}, data));
  EXPECT_EQ(LoadVersadosLoadModule(path, False), True);
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(MemByte(0x11FF), 0xFF);
  EXPECT_EQ(MemByte(0x1200), 0);
  EXPECT_EQ(MemByte(0x3000), 0);
  EXPECT_EQ(LoadIplSP, 0x8000u);
  EXPECT_EQ(LoadIplPC, 0x1008u);
  EXPECT_EQ(LoadStartAddress, 0x1008u);

  // Other loads keep the IPL registers.
  EXPECT_EQ(LoadSrecFile(Srecs({Srec(9, 0)}), False, False), True);
  EXPECT_EQ(LoadIplPC, 0x1008u);
}

TEST_F(LoaderTest, VersadosFormat1EndsAtTheFirstZeroEntryAfterEntry0) {
  // Entry 0 all zero loads one byte at 0; the second zero entry ends the table.
  ClearRomImage();
  const Bytes data = {0x7E, 0xB0, 0xB1, 0xB2, 0xB3, 0xC0};
  const auto path =
      dir.Write("m.lo", VdosFile(1, 0xABCDEF, {{0, 0}, {0x01002000, 0x03}, {0, 0}, {0x3000, 0}}, data));
  EXPECT_EQ(LoadVersadosLoadModule(path, True), True);
  EXPECT_EQ(RomImage[0] >> 8, 0x7E);
  EXPECT_EQ(RomImage[0x1000], 0xB0B1);
  EXPECT_EQ(RomImage[0x1001], 0xB2B3);
  EXPECT_EQ(RomImage[0x1800], 0xFFFF);  // 0x3000 lies past the end of the table
  EXPECT_EQ(LoadIplSP, 0x7E000000u);  // kept bytes entry 0 does not reach stay 0
  EXPECT_EQ(LoadIplPC, 0u);
  EXPECT_EQ(LoadStartAddress, 0xABCDEFu);
}

// A short file's error is the system's read error (see the missing file); the
// truncation test checks what every cut writes.
TEST_F(LoaderTest, HeaderErrorsWriteNothing) {
  const char* cpm = " Error during Loading of CPM Command File";
  const char* vdos = " Error during Loading of Versados Load Module";
  const auto refused = [&](VBool (*load)(const std::string&, VBool), const std::string& path, const char* title,
                           const std::string& text) {
    host.ClearCalls();
    EXPECT_EQ(load(path, False), False);
    EXPECT_EQ(Only(title), text + path);
  };
  const CpmHeader values{.Magic = 0x601B, .TextSize = 4, .TextStart = 0x1000, .BssStart = 0x01000000};
  const CpmHeader magic{.Magic = 0x601C, .TextSize = 4, .TextStart = 0x1000};
  refused(LoadCpmCommandFile, dir.Write("v.68k", CpmFile(values, {1, 2, 3, 4}, {})), cpm, "Bad Header - Values File = ");
  refused(LoadCpmCommandFile, dir.Write("m.68k", CpmFile(magic, {1, 2, 3, 4}, {})), cpm,
          "Bad Header - Magic\r\n\r\n File = ");
  const Bytes data = Sequence(256);
  refused(LoadVersadosLoadModule, dir.Write("r.lo", VdosFile(0, 0, {{0x10, 0}, {0, 0xFFFF}}, data, 0x01)), vdos,
          "Bad LIB Header - Reserved bytes not zero\r\n\r\n File = ");
  refused(LoadVersadosLoadModule, dir.Write("f.lo", VdosFile(2, 0, {{0x10, 0}, {0, 0xFFFF}}, data)), vdos,
          "Bad LIB Header - Lib Format\r\n\r\n File = ");
  EXPECT_EQ(CellOf(0x1000).Data, 0);
  EXPECT_EQ(MemByte(0x1001), 0);
  EXPECT_EQ(LoadStartValid, False);
}

// A FIFO would hold the load in its open for ever and a device would feed it
// without end: each loader refuses both at once in its own box, with the
// reason, and changes nothing (the ROM image and the start flag included).
TEST_F(LoaderTest, FifosAndDevicesAreRefusedUnopened) {
  ASSERT_EQ(::mkfifo(dir.Path("fifo.s19").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir.Path("zero.s19"));
  LoadStartValid = True;
  const RomWordArray rom = RomImage;
  for (const char* name : {"fifo.s19", "zero.s19"}) {
    SCOPED_TRACE(name);
    const std::string path = dir.Path(name);
    const std::string why = " Error number 75\r\n\r\n it is not a regular file\r\n\r\n File = " + path;
    host.ClearCalls();
    EXPECT_EQ(LoadSrecFile(path, True, True), False);
    EXPECT_EQ(Only(" Error during S- Record Load"), why + "\r\n\r\n Last  Record Address = 0x0");
    host.ClearCalls();
    EXPECT_EQ(LoadCpmCommandFile(path, False), False);
    EXPECT_EQ(Only(" Error during Loading of CPM Command File"), why);
    host.ClearCalls();
    EXPECT_EQ(LoadVersadosLoadModule(path, True), False);
    EXPECT_EQ(Only(" Error during Loading of Versados Load Module"), why);
  }
  EXPECT_EQ(LoadStartValid, True);
  EXPECT_TRUE(RomImage == rom);
}

}  // namespace
}  // namespace korva::test
