// The host layer's own code: typed settings reads, the settings file format,
// the Windows-1252 code page, and dates as day counts from 30 December 1899
// with their texts and the number texts of the settings store.
#include <gtest/gtest.h>

#include <cmath>

#include "host/CodePage.h"
#include "host/DateTime.h"
#include "host/IniFile.h"
#include "support/ScriptedHost.h"
#include "host/Settings.h"

namespace korva {
namespace {

TEST(SettingsTest, TypedReadsFallBackOnBadText) {
  ScriptedHost host;
  host.PresetSetting("General", "ThrottleCPU", " 12 ");
  host.PresetSetting("General", "Throttle400", "nine");
  host.PresetSetting("General", "Huge", "99999999999999999999");
  EXPECT_EQ(GetSettingLong("General", "ThrottleCPU", 10, 0, 15), 12);
  EXPECT_EQ(GetSettingLong("General", "Throttle400", 9, 0, 15), 9);
  EXPECT_EQ(GetSettingLong("General", "Huge", 3), 3);

  host.PresetSetting("Devices", "A", "-1");
  host.PresetSetting("Devices", "E", "maybe");
  EXPECT_EQ(GetSettingBool("Devices", "A", False), True);
  EXPECT_EQ(GetSettingBool("Devices", "E", True), True);
}

TEST(IniFileTest, HandWrittenFileReadsAsWritten) {
  const auto e = ParseIni(
      "\xEF\xBB\xBF"
      "stray=ignored\r\n"
      "; a comment\n"
      "[General]\r\n"
      "  RomFilename = C:\\ROMS\\ROM.S19  \r\n"
      "MovePhysEn=True\n"
      "movephysen=False\n"
      "# another comment\n"
      "no equals sign\n"
      "=no key\n"
      "[ Devices ]\n"
      "Note=\"  padded \\\"quoted\\\"\"\n"
      "Empty=\n"
      "[broken\n"
      "Path=a=b\n");
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].Section, "General");
  EXPECT_EQ(e[0].Key, "RomFilename");
  EXPECT_EQ(e[0].Value, "C:\\ROMS\\ROM.S19");
  EXPECT_EQ(e[1].Value, "True");  // the first of two spellings counts
  EXPECT_EQ(e[2].Section, "Devices");
  EXPECT_EQ(e[2].Value, "  padded \"quoted\"");
  EXPECT_EQ(e[3].Value, "");
  EXPECT_EQ(e[4].Section, "Devices");  // an unclosed header changes nothing
  EXPECT_EQ(e[4].Value, "a=b");
}

TEST(IniFileTest, AwkwardValuesAndNamesRoundTrip) {
  const std::vector<IniEntry> in = {
      {"General", "A", " lead"}, {"Devices", "B", "two\nlines\ttab"}, {"General", "C", "\"q"},
      {"General", "D", "back\\slash"}, {"Odd]Name", "[k=ey", "v"}, {"General", "E", ""},
  };
  const std::string text = SerializeIni(in);
  EXPECT_EQ(text.find("[General]"), 0u);
  const auto out = ParseIni(text);
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0].Value, " lead");
  EXPECT_EQ(out[1].Value, "\"q");
  EXPECT_EQ(out[2].Value, "back\\slash");
  EXPECT_EQ(out[4].Value, "two\nlines\ttab");
  EXPECT_EQ(out[5].Section, "Odd_Name");
  EXPECT_EQ(out[5].Key, "_k_ey");
}

TEST(CodePageTest, Windows1252RoundTrip) {
  EXPECT_EQ(Cp1252ToUtf8("\x80 \xE9"), "\u20AC \u00E9");
  EXPECT_EQ(Utf8ToCp1252("\u20AC \u00E9 \u0178"), "\x80 \xE9 \x9F");
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
  EXPECT_EQ(Utf8ToCp1252("\xFF" "b"), "?b");  // not UTF-8
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82" "c"), "?c");  // cut short
}

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
