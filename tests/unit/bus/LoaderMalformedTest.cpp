// Broken files: every loader, given a valid file cut short at each byte, an
// empty file, absurd sizes or very long lines, gives a defined result,
// writes only bytes it has read and shows at most its one error box.
#include <gtest/gtest.h>
#include <map>
#include "bus/Loaders.h"
#include "support/ScriptedHost.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

struct Loader {
  VBool (*Load)(const std::string&, VBool);
  const char* ErrorTitle;
};
const Loader kSrec{[](const std::string& p, VBool rom) { return LoadSrecFile(p, rom, False); },
                   " Error during S- Record Load"};
const Loader kCpm{LoadCpmCommandFile, " Error during Loading of CPM Command File"};
const Loader kVersados{LoadVersadosLoadModule, " Error during Loading of Versados Load Module"};

// A valid file and where each of its data bytes lands.
struct Sample {
  const char* Name;
  const Loader* What;
  Bytes File;
  std::map<size_t, std::pair<uint32_t, uint8_t>> Target;  // file offset of a data byte -> address, value
  std::vector<uint32_t> Zeros;                            // written as zero once the whole file is read
  struct Record {
    size_t First, End;  // [first, end) of the record's text
    bool Skipped;       // a type the loader passes over
  };
  std::vector<Record> Records;  // S-records only

  void Place(size_t offset, uint32_t address, size_t n) {
    for (size_t k = 0; k < n; ++k) Target[offset + k] = {address + static_cast<uint32_t>(k), File[offset + k]};
  }
};

Sample SrecSample() {
  Sample s{"Srec", &kSrec, {}, {}, {}, {}};
  std::string text;
  const struct {
    int Type;
    uint32_t Address;
    Bytes Data;
  } recs[] = {{0, 0, {'h', 'd', 'r'}}, {1, 0x4000, Sequence(5, 0x10)}, {2, 0x004010, {0x20, 0x21}},
              {3, 0x00004020, {0x30}}, {9, 0x4000, {}}};
  for (const auto& r : recs) {
    const size_t first = text.size();
    const size_t dataAt = first + 4 + 2 * (r.Type == 2 ? 3 : r.Type == 3 ? 4 : 2);
    if (r.Type >= 1 && r.Type <= 3)
      for (size_t k = 0; k < r.Data.size(); ++k) s.Target[dataAt + 2 * k] = {r.Address + uint32_t(k), r.Data[k]};
    text += Srec(r.Type, r.Address, r.Data);
    s.Records.push_back({first, text.size(), r.Type == 0});
    text += "\r\n";
  }
  s.File.assign(text.begin(), text.end());
  return s;
}

Sample CpmSample() {
  Sample s{"Cpm", &kCpm, {}, {}, {}, {}};
  s.File = CpmFile({.TextSize = 5, .DataSize = 3, .BssSize = 4, .TextStart = 0x4000}, Sequence(5, 0x40),
                   Sequence(3, 0x50));
  s.Place(28, 0x4000, 5);
  s.Place(33, 0x4006, 3);
  s.Zeros = {0x400A, 0x400B, 0x400C, 0x400D};
  return s;
}

Sample VersadosSample(uint8_t format) {
  Sample s{format == 0 ? "Versados0" : "Versados1", &kVersados, {}, {}, {}, {}};
  if (format == 0) {
    s.File = VdosFile(0, 0x4000, {{0x40, 0}, {0x41, 0}, {0, 0xFFFF}}, Sequence(512, 0x61));
    s.Place(256, 0x4000, 512);
  } else {
    s.File = VdosFile(1, 0x4000, {{0x4000, 2}, {0xFF004100, 1}, {0, 0}}, Sequence(5, 0x71));
    s.Place(256, 0x4000, 3);
    s.Place(259, 0x4100, 2);
  }
  return s;
}

constexpr uint32_t WindowLo = 0x3F00, WindowHi = 0x4300;
constexpr uint8_t Sentinel = 0xEE;

class LoaderTruncationTest : public ::testing::TestWithParam<Sample> {
 protected:
  ScriptedHost host;
  TempFolder dir;
  void SetUp() override { AllRamMap(); }
};

// Whether the S-record text cut at length k still loads, and up to which offset
// data records are complete.
bool SrecCutLoads(const Sample& s, size_t k, size_t& completeUpTo) {
  completeUpTo = 0;
  if (k == 0) return false;  // an empty file holds no image
  for (const auto& r : s.Records) {
    if (k >= r.End) {
      completeUpTo = r.End;
      continue;
    }
    if (k <= r.First) return true;
    return r.Skipped || k - r.First == 1;  // a lone "S" is a record of no known type
  }
  return true;
}

TEST_P(LoaderTruncationTest, EveryCutLoadsOnlyWhatWasRead) {
  const Sample& s = GetParam();
  for (size_t k = 0; k <= s.File.size(); ++k) {
    SCOPED_TRACE(std::string(s.Name) + " cut at " + std::to_string(k));
    for (uint32_t a = WindowLo; a < WindowHi; ++a) WriteMemory(a, True, Sentinel, True);
    host.ClearCalls();
    const auto path = dir.Write("cut", Bytes(s.File.begin(), s.File.begin() + static_cast<std::ptrdiff_t>(k)));
    const VBool result = s.What->Load(path, False);

    size_t readUpTo = k;  // data bytes at offsets below this may be written
    const bool loads = s.What == &kSrec ? SrecCutLoads(s, k, readUpTo) : k == s.File.size();
    ASSERT_EQ(result, ToVBool(loads));
    const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
    ASSERT_EQ(boxes.size(), loads ? 0u : 1u);
    if (!loads) {
      ASSERT_EQ(boxes[0].Title, s.What->ErrorTitle);
    }

    std::map<uint32_t, uint8_t> want;
    for (const auto& [offset, placed] : s.Target)
      if (offset < readUpTo) want[placed.first] = placed.second;
    if (loads)
      for (uint32_t a : s.Zeros) want[a] = 0;
    for (uint32_t a = WindowLo; a < WindowHi; ++a) {
      const auto it = want.find(a);
      ASSERT_EQ(MemByte(a), it == want.end() ? Sentinel : it->second) << "address " << std::hex << a;
    }
  }
  // Nothing outside the window was ever written.
  for (uint32_t a = 0; a < 0x1000000; a += 2)
    if (a < WindowLo || a >= WindowHi) {
      ASSERT_EQ(CellOf(a).Data, 0) << std::hex << a;
    }
}

INSTANTIATE_TEST_SUITE_P(Loaders, LoaderTruncationTest,
                         ::testing::Values(SrecSample(), CpmSample(), VersadosSample(0), VersadosSample(1)),
                         [](const auto& info) { return std::string(info.param.Name); });

class LoaderMalformedTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  TempFolder dir;
  void SetUp() override { AllRamMap(); }
  size_t Boxes() const { return host.CallsOf(HostCall::Kind::MessageBox).size(); }
  static size_t WrittenBytes() {
    size_t n = 0;
    for (const auto& c : RamArray) n += (c.Data >> 8 != 0) + ((c.Data & 0xFF) != 0);
    return n;
  }
};

// Binary garbage of every kind is left to the fuzz targets, which run with the
// tests, and the empty file to the truncation test's cut at 0.
TEST_F(LoaderMalformedTest, HugeSizesStopAtTheEndOfTheFile) {
  CpmHeader h{.TextSize = 0xFFFFFF, .DataSize = 0xFFFFFF, .BssSize = 0xFFFFFF, .TextStart = 0x10000};
  EXPECT_EQ(LoadCpmCommandFile(dir.Write("h.68k", CpmFile(h, Sequence(10), {})), False), False);
  EXPECT_EQ(WrittenBytes(), 10u);
  h.TextSize = 0x80000000u;  // a negative size fails as well
  EXPECT_EQ(LoadCpmCommandFile(dir.Write("n.68k", CpmFile(h, {1}, {})), False), False);

  AllRamMap();
  const auto v1 = VdosFile(1, 0, {{0xFFFFFFFF, 0xFFFFFFFF}, {0, 0}}, Sequence(10));
  EXPECT_EQ(LoadVersadosLoadModule(dir.Write("h1.lo", v1), False), False);
  EXPECT_EQ(WrittenBytes(), 10u);
  EXPECT_EQ(MemByte(0xFFFFFF), 1);  // the range starts at FFFFFF and wraps
  EXPECT_EQ(MemByte(0x000000), 2);

  AllRamMap();
  const auto v0 = VdosFile(0, 0, {{0xFFFF, 0xFFFE}}, Sequence(10));
  EXPECT_EQ(LoadVersadosLoadModule(dir.Write("h0.lo", v0), False), False);
  EXPECT_EQ(WrittenBytes(), 10u);
  EXPECT_EQ(Boxes(), 4u);
}

TEST_F(LoaderMalformedTest, LongLines) {
  const std::string junk(10000, 'x');
  // A record after 10,000 characters of other text loads.
  EXPECT_EQ(LoadSrecFile(dir.Write("a", junk + Srec(1, 0x100, {0x42}) + "\n"), False, False), True);
  EXPECT_EQ(MemByte(0x100), 0x42);
  // A record of 255 bytes followed by 10,000 more characters: the record only.
  std::string big = Srec(1, 0x2000, Bytes(252, 0x33)) + std::string(10000, '4');
  EXPECT_EQ(LoadSrecFile(dir.Write("b", big), False, False), True);
  EXPECT_EQ(WrittenBytes(), 253u);
  // 10,000 characters without an "S" end the load.
  EXPECT_EQ(LoadSrecFile(dir.Write("c", std::string(10000, '0') + "\r\n"), False, False), False);
  EXPECT_EQ(Boxes(), 1u);
}

}  // namespace
}  // namespace korva::test
