#include <gtest/gtest.h>

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

TEST_F(ParseNumberTest, PrefixesChooseTheRadix) {
  DefaultRadix = 0;
  EXPECT_EQ(P("0x1F"), 31);
  EXPECT_EQ(P("&h1f"), 31);
  EXPECT_EQ(P("$10"), 16);
  EXPECT_EQ(P("017"), 15);
  EXPECT_EQ(P("0b101"), 5);
  EXPECT_EQ(P("0d99"), 99);
  // A decimal digit is accepted whatever the radix.
  EXPECT_EQ(P("0B12"), 4);
  EXPECT_EQ(P("09"), 9);
  // Prefix without digits, signs, fractions and stray letters are not numbers.
  for (const char* s : {"", "   ", "&H", "0X", "0D", "$", "-5", "1.5", "12Z", "0b1K", "017K", "1 2"})
    EXPECT_FALSE(P(s).has_value()) << s;
}

TEST_F(ParseNumberTest, LoneZeroIsZero) {
  for (int16_t r : {0, 2, 8, 10, 16, 7}) {
    DefaultRadix = r;
    EXPECT_EQ(P("0"), 0) << r;
  }
}

TEST_F(ParseNumberTest, SizeSuffixesInRadixTenAndSixteen) {
  DefaultRadix = 10;
  EXPECT_EQ(P("$10K"), 16384);
  EXPECT_EQ(P("12M"), 12582912);
  EXPECT_EQ(P("1g"), 1073741824.0);
  EXPECT_EQ(P("0x2k"), 2048);
  EXPECT_FALSE(P("K").has_value());
}

TEST_F(ParseNumberTest, DefaultRadixAppliesToPlainDigits) {
  DefaultRadix = 16;
  EXPECT_EQ(P("ff"), 255);
  EXPECT_EQ(P("10"), 16);
  EXPECT_EQ(P("1K"), 1024);
  DefaultRadix = 2;
  EXPECT_EQ(P("101"), 5);
  DefaultRadix = 10;
  EXPECT_FALSE(P("ff").has_value());
  DefaultRadix = 7;
  EXPECT_FALSE(P("10").has_value());
  EXPECT_EQ(P("0x10"), 16);  // prefixes still work
}

TEST_F(ParseNumberTest, BlanksAreTrimmedAlsoFromTheCallersText) {
  DefaultRadix = 10;
  std::string text = " 42 ";
  EXPECT_EQ(ParseNumber(text), 42);
  EXPECT_EQ(text, "42");
  const std::string fixed = "  7";
  EXPECT_EQ(ParseNumber(fixed), 7);
  // Overlong texts give nothing rather than an infinite value.
  EXPECT_FALSE(P(std::string(400, 'F').insert(0, "$")).has_value());
}

TEST(HelpersTest, IsBetweenRoundsBoundsAndAcceptsEitherOrder) {
  EXPECT_TRUE(IsBetween(5.0, 10, 1));
  EXPECT_FALSE(IsBetween(std::nullopt, 10, 1));
  EXPECT_TRUE(IsBetween(2.0, 2.5, 9));  // 2.5 rounds to 2
  EXPECT_FALSE(IsBetween(3.0, 3.5, 9));  // 3.5 rounds to 4
  EXPECT_TRUE(IsBetween(-1.0, 1e12, -1e12));  // bounds clamp to the 32-bit range
}

TEST(HelpersTest, TextFilters) {
  EXPECT_EQ(GetExtension("a.b.lo"), ".lo");
  EXPECT_EQ(GetExtension("README"), "");
  // A dot in a folder name is not the file's extension.
  EXPECT_EQ(GetExtension("/home/u/.korva/ROM"), "");
  EXPECT_EQ(GetExtension("C:\\v1.2\\BOOT"), "");
  EXPECT_EQ(KeepAlphaNum("Ab-9 \xE9z"), "Ab9z");
  EXPECT_EQ(KeepAlphaNumVar("my-Profile_2"), "MYPROFILE2");
  EXPECT_EQ(FormatNumber3(5), "  5");
}

TEST(HelpersTest, TextBoxMarks) {
  TextBoxMarks box;
  EXPECT_TRUE(CheckTextBoxEmpty(box = {""}, True));
  EXPECT_EQ(box.BackColor, ColorRed);
  EXPECT_TRUE(CheckTextBoxEmpty(box = {"abc"}, False));
  EXPECT_EQ(box.ForeColor, ColorRed);
  EXPECT_EQ(box.BackColor, ColorWhite);

  EXPECT_FALSE(CheckTextBoxRange(box = {"5"}, 0, 100, 10, 90));
  EXPECT_EQ(box.ForeColor, ColorBlue);
  EXPECT_TRUE(CheckTextBoxRange(box = {"0x100"}, 0, 100, 10, 90));
  EXPECT_EQ(box.ForeColor, ColorRed);
  // A value beyond 32 bits is out of range, not wrapped into it.
  EXPECT_TRUE(CheckTextBoxRange(box = {"$100000000"}, 0, 100, 0, 100));
  EXPECT_EQ(box.ForeColor, ColorRed);
}

}  // namespace
}  // namespace korva

#include "host/ScriptedHost.h"

namespace korva {
namespace {

TEST(InputNumberInRangeTest, AsksAgainUntilTheAnswerIsInRange) {
  ScriptedHost host;
  host.AnswerInput("133");
  host.AnswerInput("abc");
  host.AnswerInput("80");
  EXPECT_EQ(InputNumberInRange("Width", "Printer", 132, 1, 132, 3), 80);
  const auto asks = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asks.size(), 3u);
  EXPECT_EQ(asks[0].Text, "Input Width (1-132) ");
  EXPECT_EQ(asks[0].Title, "Printer");
  EXPECT_EQ(asks[0].Value, "132");
  const auto errors = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[0].Text, "New Width must be between 1 and 132. You input \"133\"");
  EXPECT_EQ(errors[0].Title, "Width Size Error");
  EXPECT_EQ(errors[0].Buttons, MsgButtons::OK);
}

TEST(InputNumberInRangeTest, EmptyOrCancelKeepsTheDefault) {
  ScriptedHost host;
  host.AnswerInput("");
  EXPECT_EQ(InputNumberInRange("Lines", "T", 66, 1, 200, 3), 66);
  host.CancelInput();
  EXPECT_EQ(InputNumberInRange("Lines", "T", 66, 1, 200, 3), 66);
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::MessageBox).empty());
}

TEST(InputNumberInRangeTest, LongAnswersAreRangeCheckedByTheirRealValue) {
  ScriptedHost host;
  // Seven digits are allowed by the length limit but the value is out of range.
  host.AnswerInput("1000000");
  host.AnswerInput("-5");
  EXPECT_EQ(InputNumberInRange("Offset", "T", 0, -10, 10, 8), -5);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
}

}  // namespace
}  // namespace korva
