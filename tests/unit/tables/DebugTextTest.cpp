#include <gtest/gtest.h>

#include <climits>

#include "tables/OpMap.h"
#include "tables/TextFormat.h"

namespace korva {
namespace {

TEST(DebugTextTest, OpcodeCountRangeIsSigned) {
  std::vector<uint32_t> saved;
  for (OpTextEntry& e : OpText) saved.push_back(e.Value), e.Value = 0;
  EXPECT_EQ(MinOpcodeCount(), 200000000);
  OpText[0x2000].Value = 300000000;
  OpText[0x1000].Value = 0x80000000u;  // negative as a signed count
  EXPECT_EQ(MinOpcodeCount(), INT32_MIN);
  EXPECT_EQ(MaxOpcodeCount(), 300000000);
  for (size_t i = 0; i < saved.size(); ++i) OpText[i].Value = saved[i];
}

}  // namespace
}  // namespace korva
