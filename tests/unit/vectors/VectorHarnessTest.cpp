// A sanity check of the vector harness: the reader, the runner's comparison and
// the rule that only what the table of known differences names is excused.
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

TEST(VectorHarness, ReadsRunsAndExcusesOnlyWhatTheTableNames) {
  std::vector<VectorTest> tests;
  std::string error;
  const std::vector<uint8_t> image = FileOf({Moveq()});
  ASSERT_TRUE(ParseVectorFile(image, &tests, &error)) << error;
  ASSERT_EQ(tests.size(), 1u);
  EXPECT_EQ(tests[0].Final.D[0], 5u);
  EXPECT_EQ(OpcodeOf(tests[0]), 0x7005);
  ASSERT_TRUE(ParseVectorFile(FileOf({Moveq()}, 5), &tests, &error));
  EXPECT_TRUE(tests[0].AddressError);
  const std::vector<uint8_t> cut(image.begin(), image.end() - 1);
  EXPECT_FALSE(ParseVectorFile(cut, &tests, &error));

  test::TestMachine m;
  VectorRunner runner(m);
  VectorTest t = Moveq();
  EXPECT_TRUE(runner.Run(t).empty());
  t.Final.D[0] = 6;
  const std::vector<Difference> diffs = runner.Run(t);
  ASSERT_EQ(diffs.size(), 1u);
  EXPECT_EQ(diffs[0].What, Field::D0);

  // ABCD D1,D0: V may differ, C only when a digit is above 9.
  t = Moveq();
  t.Initial.Prefetch[0] = 0xC101;
  t.Initial.D[1] = 0x38;
  std::vector<const KnownDifference*> used;
  const std::vector<Difference> vFlag = {{Field::SR, 0, 0x2702, 0x2700}}, carry = {{Field::SR, 0, 0x2711, 0x2700}};
  EXPECT_TRUE(ExplainDifferences("ABCD.json.bin", t, vFlag, &used));
  EXPECT_FALSE(ExplainDifferences("ADD.b.json.bin", t, vFlag, &used));
  EXPECT_FALSE(ExplainDifferences("ABCD.json.bin", t, carry, &used));
  t.Initial.D[1] = 0x3C;
  EXPECT_TRUE(ExplainDifferences("ABCD.json.bin", t, carry, &used));
}

}  // namespace
}  // namespace korva::vectors
