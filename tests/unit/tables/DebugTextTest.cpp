#include <gtest/gtest.h>

#include <array>

#include "bus/Memory.h"
#include "cpu/FetchDecode.h"
#include "tables/OpMap.h"
#include "tables/TextFormat.h"

namespace korva {
namespace {

TEST(DebugTextTest, MemoryLineWrapsAt16MB) {
  const MemoryCell last = RamArray[RamIndexMask], first = RamArray[0];
  RamArray[RamIndexMask].Data = 0x00FF;
  RamArray[0].Data = 0xBEEF;
  EXPECT_EQ(MemoryLineText(0xFFFFFE, 2), "00FFFFFE:: 00FF : BEEF ");
  EXPECT_EQ(MemoryLineText(0x1000, 0), "00001000:");
  RamArray[RamIndexMask] = last, RamArray[0] = first;
}

TEST(DebugTextTest, OpcodeCountRangeAndBreakpointSkips) {
  std::vector<uint32_t> saved;
  for (OpTextEntry& e : OpText) saved.push_back(e.Value), e.Value = 0;
  EXPECT_EQ(MinOpcodeCount(), 200000000);
  EXPECT_EQ(MaxOpcodeCount(), 0);
  OpText[0x2000].Value = 300000000;
  OpText[0x1000].Value = 0x80000000u;  // negative as a signed count
  EXPECT_EQ(MinOpcodeCount(), INT32_MIN);
  EXPECT_EQ(MaxOpcodeCount(), 300000000);
  for (size_t i = 0; i < saved.size(); ++i) OpText[i].Value = saved[i];

  const auto savedBp = std::to_array(BreakPoints);
  for (BreakPoint& b : BreakPoints) b = {0x1234, True, True};
  ClearBreakpointSkips();
  for (const BreakPoint& b : BreakPoints) EXPECT_EQ(std::tuple(b.Address, b.Enabled, b.Skip), std::tuple(0x1234u, True, False));
  for (size_t i = 0; i < savedBp.size(); ++i) BreakPoints[i] = savedBp[i];
}

}  // namespace
}  // namespace korva
