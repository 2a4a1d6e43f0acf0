// The vector harness itself: the binary reader on good, truncated and corrupted
// files, the runner's comparison, and the rule that only what the table of
// known differences names is excused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unit/support/TestMachine.h"
#include "unit/vectors/KnownDifferences.h"
#include "unit/vectors/VectorFile.h"
#include "unit/vectors/VectorRunner.h"

namespace korva::vectors {
namespace {

// Writes vector files in the binary layout.
class Writer {
 public:
  std::vector<uint8_t> Bytes;
  void U8(uint8_t v) { Bytes.push_back(v); }
  void U16(uint16_t v) {
    U8(static_cast<uint8_t>(v));
    U8(static_cast<uint8_t>(v >> 8));
  }
  void U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    U16(static_cast<uint16_t>(v >> 16));
  }
  size_t Open(uint32_t magic) {
    const size_t at = Bytes.size();
    U32(0);
    U32(magic);
    return at;
  }
  void Close(size_t at) {
    const uint32_t size = static_cast<uint32_t>(Bytes.size() - at);
    for (int i = 0; i < 4; ++i) Bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(size >> (8 * i));
  }
  void State(const VectorState& s) {
    const size_t at = Open(0x01234567);
    for (uint32_t r : s.D) U32(r);
    for (uint32_t r : s.A) U32(r);
    for (uint32_t r : {s.USP, s.SSP, s.SR, s.PC, s.Prefetch[0], s.Prefetch[1]}) U32(r);
    U32(static_cast<uint32_t>(s.Ram.size()));
    for (const MemWord& w : s.Ram) {
      U32(w.Address);
      U16(w.Word);
    }
    Close(at);
  }
  void Test(const VectorTest& t, uint8_t transactionKind) {
    const size_t at = Open(0xABC12367);
    const size_t name = Open(0x89ABCDEF);
    U32(static_cast<uint32_t>(t.Name.size()));
    for (char c : t.Name) U8(static_cast<uint8_t>(c));
    Close(name);
    State(t.Initial);
    State(t.Final);
    const size_t tr = Open(0x456789AB);
    U32(8);  // cycles
    U32(2);
    U8(0);
    U32(4);  // an idle entry: kind and cycles only
    U8(transactionKind);
    U32(4);
    for (int i = 0; i < 5; ++i) U32(0);
    Close(tr);
    Close(at);
  }
};

// MOVEQ #5,D0 at 0x1000 in supervisor state.
VectorTest Moveq() {
  VectorTest t;
  t.Name = "7005 [MOVEQ #5, D0] 1";
  t.Initial.SR = t.Final.SR = 0x2700;
  t.Initial.SSP = t.Final.SSP = 0x8000;
  t.Initial.USP = t.Final.USP = 0x4000;
  t.Initial.PC = 0x1004;
  t.Final.PC = 0x1006;
  t.Initial.Prefetch[0] = 0x7005;
  t.Initial.Prefetch[1] = 0x4E71;
  t.Initial.Ram = t.Final.Ram = {{0x1000, 0x7005}, {0x1002, 0x4E71}, {0x1004, 0x4E71}};
  t.Final.D[0] = 5;
  return t;
}

std::vector<uint8_t> FileOf(const std::vector<VectorTest>& tests, uint8_t kind = 2) {
  Writer w;
  w.U32(0x1A3F5D71);
  w.U32(static_cast<uint32_t>(tests.size()));
  for (const VectorTest& t : tests) w.Test(t, kind);
  return w.Bytes;
}

TEST(VectorHarness, ReadsWhatWasWrittenAndMarksAddressErrors) {
  VectorTest a = Moveq(), b = Moveq();
  b.Name = "second";
  std::vector<uint8_t> image = FileOf({a, b});
  std::vector<VectorTest> tests;
  std::string error;
  ASSERT_TRUE(ParseVectorFile(image, &tests, &error)) << error;
  ASSERT_EQ(tests.size(), 2u);
  EXPECT_EQ(tests[0].Name, a.Name);
  EXPECT_EQ(tests[1].Name, "second");
  EXPECT_EQ(tests[0].Final.D[0], 5u);
  EXPECT_EQ(tests[0].Initial.PC, 0x1004u);
  ASSERT_EQ(tests[0].Final.Ram.size(), 3u);
  EXPECT_EQ(tests[0].Final.Ram[2].Address, 0x1004u);
  EXPECT_EQ(OpcodeOf(tests[0]), 0x7005);
  EXPECT_FALSE(tests[0].AddressError);

  ASSERT_TRUE(ParseVectorFile(FileOf({a}, 5), &tests, &error));
  EXPECT_TRUE(tests[0].AddressError);
}

TEST(VectorHarness, TruncatedOrCorruptedFilesAreRefused) {
  const std::vector<uint8_t> image = FileOf({Moveq()});
  std::vector<VectorTest> tests;
  std::string error;
  for (size_t n = 0; n < image.size(); ++n) {
    const std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(ParseVectorFile(cut, &tests, &error)) << "cut at " << n;
  }
  std::vector<uint8_t> bad = image;
  bad[0] ^= 1;  // file magic
  EXPECT_FALSE(ParseVectorFile(bad, &tests, &error));
  bad = image;
  bad[8] = 0xFF;  // the test's size beyond the file
  EXPECT_FALSE(ParseVectorFile(bad, &tests, &error));
  bad = image;
  bad.push_back(0);  // trailing byte
  EXPECT_FALSE(ParseVectorFile(bad, &tests, &error));
  bad = image;
  bad[4] = 2;  // two tests announced, one present
  EXPECT_FALSE(ParseVectorFile(bad, &tests, &error));
  EXPECT_EQ(tests.size(), 1u);
}

TEST(VectorHarness, RunnerComparesEveryFieldAndCleansMemory) {
  test::TestMachine m;
  VectorRunner runner(m);
  VectorTest t = Moveq();
  EXPECT_TRUE(runner.Run(t).empty());
  EXPECT_EQ(m.ReadWord(0x1000), 0);  // memory put back to zero

  t.Final.D[0] = 6;
  t.Final.Ram[2].Word = 0x1234;
  const std::vector<Difference> diffs = runner.Run(t);
  ASSERT_EQ(diffs.size(), 2u);
  EXPECT_EQ(diffs[0].What, Field::D0);
  EXPECT_EQ(diffs[0].Got, 5u);
  EXPECT_EQ(diffs[1].What, Field::Mem);
  EXPECT_EQ(diffs[1].Address, 0x1004u);
}

TEST(VectorHarness, OnlyTheTableExcuses) {
  // ABCD D1,D0 (0xC101): V may differ always, the result only for a digit above 9.
  VectorTest t = Moveq();
  t.Initial.Prefetch[0] = 0xC101;
  t.Initial.D[0] = 0x45;
  t.Initial.D[1] = 0x38;
  std::vector<const KnownDifference*> used;
  const std::vector<Difference> vFlag = {{Field::SR, 0, 0x2702, 0x2700}};
  EXPECT_TRUE(ExplainDifferences("ABCD.json.bin", t, vFlag, &used));
  EXPECT_EQ(used.size(), 1u);
  EXPECT_FALSE(ExplainDifferences("ADD.b.json.bin", t, vFlag, &used));
  const std::vector<Difference> carry = {{Field::SR, 0, 0x2711, 0x2700}};
  EXPECT_FALSE(ExplainDifferences("ABCD.json.bin", t, carry, &used));
  const std::vector<Difference> result = {{Field::D0, 0, 0x83, 0x93}};
  EXPECT_FALSE(ExplainDifferences("ABCD.json.bin", t, result, &used));
  t.Initial.D[1] = 0x3C;  // a digit above 9
  EXPECT_TRUE(ExplainDifferences("ABCD.json.bin", t, result, &used));
  EXPECT_TRUE(ExplainDifferences("ABCD.json.bin", t, carry, &used));
  // A group-0 frame excuses nothing without an address error.
  const std::vector<Difference> frame = {{Field::Mem, t.Final.SSP + 12, 0x1000, 0x1002}};
  EXPECT_FALSE(ExplainDifferences("ADD.w.json.bin", t, frame, &used));
  t.AddressError = true;
  EXPECT_TRUE(ExplainDifferences("ADD.w.json.bin", t, frame, &used));
}

TEST(VectorHarness, OperandsComeFromTheInitialState) {
  VectorTest t = Moveq();
  t.Initial.A[2] = 0x2000;
  t.Initial.D[3] = 0xFFFFFFFE;  // index -2 as a word
  t.Initial.Prefetch[1] = 0x3004;  // D3.W, d8 = 4
  t.Initial.Ram.push_back({0x2002, 0xBEEF});
  t.Initial.Ram.push_back({0x2004, 0x1234});
  uint32_t v = 0, a = 0;
  ASSERT_TRUE(InitialAddress(t, 6, 2, 1, &a));  // (4,A2,D3.W)
  EXPECT_EQ(a, 0x2002u);
  ASSERT_TRUE(InitialOperand(t, 6, 2, 2, &v));
  EXPECT_EQ(v, 0xBEEF1234u);
  ASSERT_TRUE(InitialOperand(t, 4, 2, 0, &v));  // -(A2) byte: the byte at 0x1FFF
  EXPECT_EQ(v, 0u);
  ASSERT_TRUE(InitialOperand(t, 7, 4, 1, &v));  // #imm word: the extension word
  EXPECT_EQ(v, 0x3004u);
  EXPECT_FALSE(InitialOperand(t, 7, 5, 1, &v));
}

}  // namespace
}  // namespace korva::vectors
