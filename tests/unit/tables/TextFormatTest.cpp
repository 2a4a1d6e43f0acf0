#include <gtest/gtest.h>

#include <cmath>

#include "tables/TextFormat.h"

namespace korva {
namespace {

TEST(TextFormatTest, TokenizerStopsAtCommasAndBothEnds) {
  const std::string line = "MD 1000,20";
  int32_t pos = 1;
  EXPECT_EQ(GetToken(pos, line), "MD");
  EXPECT_EQ(GetToken(pos, line), "");  // a blank is not skipped
  EXPECT_EQ(GetWord(pos, line), " ");
  EXPECT_EQ(GetToken(pos, line), "1000");
  EXPECT_EQ(pos, 8);  // stopped at the comma
  EXPECT_EQ(GetField(pos, line), ",");
  EXPECT_EQ(GetToken(pos, line), "20");
  EXPECT_EQ(GetWord(pos, line), "");  // past the end nothing is taken and the position stays
  EXPECT_EQ(pos, 11);
  pos = 0;
  EXPECT_EQ(GetToken(pos, line), "");
  EXPECT_EQ(pos, 0);
}

TEST(TextFormatTest, NumberTextsRangesAndConversion) {
  EXPECT_FALSE(IsSpecialChar("\xE9"));
  EXPECT_TRUE(IsNumberText("-12", 2));  // digits counted after the sign
  EXPECT_FALSE(IsNumberText("+", 2));
  EXPECT_FALSE(IsNumberText(" 1", 5));
  EXPECT_EQ(HexLongTrim(0), "0");
  EXPECT_FALSE(FitsLong(4294967296.0));
  EXPECT_EQ(DoubleToLong(3000000000.0), -1294967296);
  EXPECT_EQ(DoubleToLong(-2147483649.0), 0);
  EXPECT_EQ(DoubleToLong(2.5), 2);           // halves to even
  EXPECT_EQ(DoubleToLong(4294967295.7), 0);  // rounding up to 2^32 wraps rather than overflowing
  EXPECT_EQ(DoubleToLong(std::nan("")), 0);
}

TEST(TextFormatTest, ByteDisplayText) {
  EXPECT_EQ(ByteDisplayText(127, False, False), "<del>");
  EXPECT_EQ(ByteDisplayText(0xC1, True, False), "A");  // seven-bit mask
  EXPECT_EQ(ByteDisplayText(0x8D, False, False), "<8D>");
  EXPECT_EQ(ByteDisplayText(0x1E9, False, True), "\xE9");  // only the low byte
  int glyphless = 0;
  for (int b = 128; b < 256; ++b) glyphless += ByteDisplayText(b, False, True) == ".";
  EXPECT_EQ(glyphless, 7);
}

}  // namespace
}  // namespace korva
