// Dates as day counts from 30 December 1899, their texts and the number texts
// of the settings store.
#include <gtest/gtest.h>

#include <cmath>

#include "host/DateTime.h"

namespace korva {
namespace {

TEST(DateTimeTest, SerialsPartsAndWeekdays) {
  EXPECT_EQ(DateSerial(1899, 12, 30, 0, 0, 0), 0.0);
  EXPECT_EQ(DateSerial(1900, 3, 1, 6, 0, 0), 61.25);
  EXPECT_EQ(DateSerial(2024, 2, 29, 0, 0, 0), 45351.0);
  EXPECT_EQ(DateSerial(2023, 2, 29, 0, 0, 0), std::nullopt);
  EXPECT_EQ(DateSerial(1900, 2, 29, 0, 0, 0), std::nullopt);  // a century year that is not a leap year
  EXPECT_EQ(DateSerial(2000, 2, 29, 0, 0, 0), 36585.0);
  EXPECT_EQ(DateSerial(99, 1, 1, 0, 0, 0), std::nullopt);
  EXPECT_EQ(DateSerial(2000, 1, 1, 24, 0, 0), std::nullopt);
  const DateParts p = SplitDate(*DateSerial(2024, 6, 15, 23, 59, 59) + 0.4 / 86400);
  EXPECT_EQ(p.Year * 10000 + p.Month * 100 + p.Day, 20240615);
  EXPECT_EQ(p.Hour * 10000 + p.Minute * 100 + p.Second, 235959);
  EXPECT_EQ(p.Weekday, 7);  // a Saturday
  EXPECT_EQ(SplitDate(*DateSerial(2024, 6, 15, 23, 59, 59) + 0.6 / 86400).Day, 16);  // rounded to the second
  EXPECT_EQ(SplitDate(*DateSerial(2024, 6, 16, 0, 0, 0)).Weekday, 1);
  EXPECT_EQ(DateText(-1.25), "1899-12-28 18:00:00");
  EXPECT_EQ(DateText(1e300), "9999-12-31 23:59:59");
  EXPECT_EQ(DateText(std::nan("")), "1899-12-30 00:00:00");
}

TEST(DateTimeTest, TextsReadBack) {
  const double d = *DateSerial(2005, 3, 14, 10, 20, 30);
  EXPECT_EQ(ParseDateText(DateText(d)), d);
  EXPECT_EQ(ParseDateText(" 2005-03-14T10:20:30 "), d);
  EXPECT_EQ(ParseDateText("45351.5"), 45351.5);
  for (const char* bad : {"2005-02-30 10:20:30", "2005-3-14 10:20:30", "14/03/2005", "", "1e9"})
    EXPECT_EQ(ParseDateText(bad), std::nullopt) << bad;
  for (double v : {-10227.0, -6111.872164351852, 0.1, 1e-7}) EXPECT_EQ(ParseNumberText(NumberText(v)), v);
  EXPECT_EQ(NumberText(-10227), "-10227");
  EXPECT_EQ(ParseNumberText("-10227,5"), -10227.5);
  EXPECT_EQ(ParseNumberText("+3"), 3.0);
  for (const char* bad : {"", "abc", "1,5,0", "nan", "inf", "1e999", "3 4", "0x10"})
    EXPECT_EQ(ParseNumberText(bad), std::nullopt) << bad;
  EXPECT_EQ(DisplayNumberText(-6111.872164351852), "-6111.87216435185");
}

}  // namespace
}  // namespace korva
