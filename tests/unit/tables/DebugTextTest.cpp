#include <gtest/gtest.h>

#include <array>

#include "bus/Memory.h"
#include "cpu/FetchDecode.h"
#include "tables/OpMap.h"
#include "tables/TextFormat.h"

namespace korva {
namespace {

TEST(DebugTextTest, MemoryLineShowsStoredWordsAndWrapsAt16MB) {
  const MemoryCell a = RamArray[0x800], b = RamArray[0x801], last = RamArray[RamIndexMask], first = RamArray[0];
  RamArray[0x800].Data = 0x1234;  // address 0x1000
  RamArray[0x801].Data = 0xABCD;  // address 0x1002
  EXPECT_EQ(MemoryLineText(0x1001, 2), "00001001:: 1234 : ABCD ");
  RamArray[RamIndexMask].Data = 0x00FF;
  RamArray[0].Data = 0xBEEF;
  EXPECT_EQ(MemoryLineText(0xFFFFFE, 2), "00FFFFFE:: 00FF : BEEF ");
  EXPECT_EQ(MemoryLineText(0x1000, 0), "00001000:");
  RamArray[0x800] = a, RamArray[0x801] = b, RamArray[RamIndexMask] = last, RamArray[0] = first;
}

TEST(DebugTextTest, OpcodeCountRange) {
  std::vector<uint32_t> saved;
  for (const OpTextEntry& e : OpText) saved.push_back(e.Value);
  for (OpTextEntry& e : OpText) e.Value = 0;
  EXPECT_EQ(MinOpcodeCount(), 200000000);
  EXPECT_EQ(MaxOpcodeCount(), 0);
  OpText[0x4E71].Value = 7;
  OpText[0x2000].Value = 300000000;
  OpText[0x1000].Value = 0x80000000u;  // negative as a signed count
  EXPECT_EQ(MinOpcodeCount(), INT32_MIN);
  EXPECT_EQ(MaxOpcodeCount(), 300000000);
  OpText[0x1000].Value = 0;
  EXPECT_EQ(MinOpcodeCount(), 7);
  for (size_t i = 0; i < saved.size(); ++i) OpText[i].Value = saved[i];
}

TEST(DebugTextTest, ClearBreakpointSkipsKeepsAddressAndEnable) {
  const auto saved = std::to_array(BreakPoints);
  for (BreakPoint& b : BreakPoints) b = {0x1234, True, True};
  ClearBreakpointSkips();
  for (const BreakPoint& b : BreakPoints) {
    EXPECT_EQ(b.Skip, False);
    EXPECT_EQ(b.Enabled, True);
    EXPECT_EQ(b.Address, 0x1234u);
  }
  for (size_t i = 0; i < saved.size(); ++i) BreakPoints[i] = saved[i];
}

}  // namespace
}  // namespace korva
