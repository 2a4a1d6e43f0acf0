#include <gtest/gtest.h>

#include "tables/OpMapEntry.h"
#include "tables/OperandFields.h"

namespace korva {
namespace {

// The builders' helpers answer out-of-range fields with nothing rather than
// reading past their tables; the rest is covered by the built maps.
TEST(OpMapOperandFields, OutOfRangeFields) {
  EXPECT_FALSE(IsEaAllowed(7, 5, EaMaskAll));  // mode 7 registers 5-7 do not exist
  EXPECT_FALSE(IsEaAllowed(7, 7, 0xFFFF));
  EXPECT_FALSE(IsSizeAllowed(3, SizeMaskBWL));
  EXPECT_EQ(EaText(7, 6), "");
  EXPECT_EQ(EaText(8, 0), "");  // stored codes are not raw modes
  EXPECT_EQ(EaText(0, 9), "D1");  // never more than one digit
  EXPECT_STREQ(ConditionName(16), "");
  EXPECT_STREQ(BitOpName(4), "");
  EXPECT_EQ(BitStaticEaMask(4), 0);
  EXPECT_EQ(BitDynamicEaMask(9), 0);
  EXPECT_FALSE(IsExgOpmode(16));
}

}  // namespace
}  // namespace korva
