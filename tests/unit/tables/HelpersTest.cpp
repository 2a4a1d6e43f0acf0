#include <gtest/gtest.h>

#include "tables/Helpers.h"
#include "tables/Packing.h"

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

}  // namespace
}  // namespace korva
