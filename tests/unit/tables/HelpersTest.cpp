// Number parsing, ranges, bit fields, wrap-around helpers and the text helpers.
#include <gtest/gtest.h>

#include <cmath>

#include "tables/Helpers.h"
#include "tables/Packing.h"
#include "tables/TextFormat.h"

namespace korva {
namespace {

class ParseNumberTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = DefaultRadix; }
  void TearDown() override { DefaultRadix = saved_; }
  static std::optional<double> P(std::string_view s) { return ParseNumber(s); }
  int16_t saved_ = 0;
};

TEST_F(ParseNumberTest, PrefixesSuffixesAndWhatIsNoNumber) {
  DefaultRadix = 0;
  EXPECT_EQ(P("&h1f"), 31);
  EXPECT_EQ(P("017"), 15);
  EXPECT_EQ(P("0B12"), 4);  // a decimal digit is accepted whatever the radix
  for (const char* s : {"", "   ", "&H", "0X", "$", "-5", "1.5", "12Z", "0b1K", "017K", "1 2", "K"})
    EXPECT_FALSE(P(s).has_value()) << s;
  EXPECT_FALSE(P(std::string(400, 'F').insert(0, "$")).has_value());  // not an infinite value
  DefaultRadix = 10;
  EXPECT_EQ(P("$10K"), 16384);
  EXPECT_EQ(P("1g"), 1073741824.0);
  EXPECT_FALSE(P("ff").has_value());
  DefaultRadix = 7;
  EXPECT_EQ(P("0"), 0);
  EXPECT_FALSE(P("10").has_value());
  EXPECT_EQ(P("0x10"), 16);
  DefaultRadix = 10;
  std::string text = " 42 ";  // blanks are trimmed, also from the caller's text
  EXPECT_EQ(ParseNumber(text), 42);
  EXPECT_EQ(text, "42");
}

TEST(HelpersTest, RangesTextFiltersAndWrapAround) {
  EXPECT_FALSE(IsBetween(3.0, 3.5, 9));       // 3.5 rounds to 4
  EXPECT_TRUE(IsBetween(-1.0, 1e12, -1e12));  // bounds clamp to the 32-bit range
  EXPECT_EQ(GetExtension("/home/u/.korva/ROM"), "");  // a dot in a folder name
  EXPECT_EQ(KeepAlphaNumVar("my-Profile_2"), "MYPROFILE2");
  TextBoxMarks box;
  EXPECT_TRUE(CheckTextBoxRange(box = {"$100000000"}, 0, 100, 0, 100));  // beyond 32 bits: not wrapped
  EXPECT_EQ(box.ForeColor, ColorRed);

  EXPECT_EQ(BitField(0xE308, 9, 11), 1);   // either bit order
  EXPECT_EQ(BitField(0x8000, 31, 31), 1);  // bit numbers wrap instead of shifting out of range
  EXPECT_EQ(SubLongWrap(INT32_MIN, 1), INT32_MAX);
  EXPECT_EQ(AddLong4Wrap(INT32_MAX, 1, INT32_MAX, 1), 0);
  EXPECT_EQ(SetBitValue(9, 1, 0x00), 0x02);  // bit 9 AND 7 = 1
  EXPECT_EQ(BcdToBinary(0x5A), 0);
  EXPECT_EQ(MakeLong(0xFFFF, 0x8000), 0xFFFF8000u);
  EXPECT_EQ(ByteToSigned(0x80), -128);
}

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
