#include <gtest/gtest.h>

#include "host/ScriptedHost.h"
#include "tables/Helpers.h"

namespace korva {
namespace {

class ParseNumberTest : public ::testing::Test {
 protected:
  void SetUp() override { saved_ = DefaultRadix; }
  void TearDown() override { DefaultRadix = saved_; }
  static std::optional<double> P(std::string_view s) { return ParseNumber(s); }
  int16_t saved_ = 0;
};

TEST_F(ParseNumberTest, PrefixesAndSuffixes) {
  DefaultRadix = 0;
  EXPECT_EQ(P("0x1F"), 31);
  EXPECT_EQ(P("&h1f"), 31);
  EXPECT_EQ(P("$10"), 16);
  EXPECT_EQ(P("017"), 15);
  EXPECT_EQ(P("0b101"), 5);
  EXPECT_EQ(P("0d99"), 99);
  EXPECT_EQ(P("0B12"), 4);  // a decimal digit is accepted whatever the radix
  // Prefix without digits, signs, fractions and stray letters are not numbers.
  for (const char* s : {"", "   ", "&H", "0X", "$", "-5", "1.5", "12Z", "0b1K", "017K", "1 2", "K"})
    EXPECT_FALSE(P(s).has_value()) << s;
  // Overlong texts give nothing rather than an infinite value.
  EXPECT_FALSE(P(std::string(400, 'F').insert(0, "$")).has_value());

  DefaultRadix = 10;
  EXPECT_EQ(P("$10K"), 16384);
  EXPECT_EQ(P("12M"), 12582912);
  EXPECT_EQ(P("1g"), 1073741824.0);
}

TEST_F(ParseNumberTest, DefaultRadixAndLoneZero) {
  for (int16_t r : {0, 2, 8, 10, 16, 7}) {
    DefaultRadix = r;
    EXPECT_EQ(P("0"), 0) << r;
  }
  DefaultRadix = 16;
  EXPECT_EQ(P("ff"), 255);
  EXPECT_EQ(P("1K"), 1024);
  DefaultRadix = 10;
  EXPECT_FALSE(P("ff").has_value());
  DefaultRadix = 7;
  EXPECT_FALSE(P("10").has_value());
  EXPECT_EQ(P("0x10"), 16);  // prefixes still work

  // Blanks are trimmed, also from the caller's text.
  DefaultRadix = 10;
  std::string text = " 42 ";
  EXPECT_EQ(ParseNumber(text), 42);
  EXPECT_EQ(text, "42");
}

TEST(HelpersTest, RangesAndTextFilters) {
  EXPECT_FALSE(IsBetween(std::nullopt, 10, 1));
  EXPECT_TRUE(IsBetween(2.0, 2.5, 9));        // 2.5 rounds to 2
  EXPECT_FALSE(IsBetween(3.0, 3.5, 9));       // 3.5 rounds to 4
  EXPECT_TRUE(IsBetween(-1.0, 1e12, -1e12));  // bounds clamp to the 32-bit range

  EXPECT_EQ(GetExtension("a.b.lo"), ".lo");
  EXPECT_EQ(GetExtension("/home/u/.korva/ROM"), "");  // a dot in a folder name
  EXPECT_EQ(GetExtension("C:\\v1.2\\BOOT"), "");
  EXPECT_EQ(KeepAlphaNum("Ab-9 \xE9z"), "Ab9z");
  EXPECT_EQ(KeepAlphaNumVar("my-Profile_2"), "MYPROFILE2");

  TextBoxMarks box;
  EXPECT_TRUE(CheckTextBoxEmpty(box = {""}, True));
  EXPECT_EQ(box.BackColor, ColorRed);
  EXPECT_FALSE(CheckTextBoxRange(box = {"5"}, 0, 100, 10, 90));
  EXPECT_EQ(box.ForeColor, ColorBlue);
  // A value beyond 32 bits is out of range, not wrapped into it.
  EXPECT_TRUE(CheckTextBoxRange(box = {"$100000000"}, 0, 100, 0, 100));
  EXPECT_EQ(box.ForeColor, ColorRed);
}

TEST(InputNumberInRangeTest, AsksAgainUntilInRangeAndKeepsTheDefaultOnCancel) {
  ScriptedHost host;
  host.AnswerInput("1000000");  // within the length limit, out of range by value
  host.AnswerInput("abc");
  host.AnswerInput("80");
  EXPECT_EQ(InputNumberInRange("Width", "Printer", 132, 1, 132, 8), 80);
  const auto asks = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asks.size(), 3u);
  EXPECT_EQ(asks[0].Text, "Input Width (1-132) ");
  EXPECT_EQ(asks[0].Title, "Printer");
  EXPECT_EQ(asks[0].Value, "132");
  const auto errors = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Text, "New Width must be between 1 and 132. You input \"1000000\"");
  EXPECT_EQ(errors[0].Title, "Width Size Error");

  host.ClearCalls();
  host.AnswerInput("");
  EXPECT_EQ(InputNumberInRange("Lines", "T", 66, 1, 200, 3), 66);
  host.CancelInput();
  EXPECT_EQ(InputNumberInRange("Lines", "T", 66, 1, 200, 3), 66);
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::MessageBox).empty());
}

}  // namespace
}  // namespace korva
