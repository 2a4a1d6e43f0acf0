// A sanity check of the vector harness: the reader refuses a cut file, the
// runner reports a planted difference, and only what the table of known
// differences names is excused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/TestMachine.h"
#include "unit/cpu/vectors/KnownDifferences.h"
#include "unit/cpu/vectors/VectorFile.h"
#include "unit/cpu/vectors/VectorRunner.h"

namespace korva::vectors {
namespace {

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

TEST(VectorHarness, RunnerReportsDifferencesAndOnlyTheTableExcuses) {
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

// MOVE.W D0,(A0): a write the final memory does not list is a difference, and
// the word is put back before the next vector.
TEST(VectorHarness, StrayWriteIsReportedAndUndone) {
  test::TestMachine m;
  VectorRunner runner(m);
  VectorTest t = Moveq();
  t.Initial.Prefetch[0] = 0x3080;
  t.Initial.Ram = t.Final.Ram = {{0x1000, 0x3080}, {0x1002, 0x4E71}, {0x1004, 0x4E71}};
  t.Initial.D[0] = t.Final.D[0] = 0x1234;
  t.Initial.A[0] = t.Final.A[0] = 0x2000;
  const std::vector<Difference> diffs = runner.Run(t);
  ASSERT_EQ(diffs.size(), 1u);
  EXPECT_EQ(diffs[0].What, Field::Write);
  EXPECT_EQ(diffs[0].Address, 0x2000u);
  EXPECT_EQ(diffs[0].Got, 0x1234u);
  EXPECT_EQ(m.ReadWord(0x2000), 0);
  t.Final.Ram.push_back({0x2000, 0x1234});
  EXPECT_TRUE(runner.Run(t).empty());
}

TEST(VectorHarness, CutFileIsRefused) {
  const std::string path = std::string(KORVA_SHARED_DIR) + "/testdata/m68000/NOP.json.bin";
  std::ifstream in(path, std::ios::binary);
  if (!in) GTEST_SKIP() << "no vector file at " << path;
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<VectorTest> tests;
  std::string error;
  ASSERT_TRUE(ParseVectorFile(image, &tests, &error)) << error;
  EXPECT_FALSE(tests.empty());
  image.pop_back();
  EXPECT_FALSE(ParseVectorFile(image, &tests, &error));
}

}  // namespace
}  // namespace korva::vectors
