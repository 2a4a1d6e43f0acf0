#include <gtest/gtest.h>

#include "host/CodePage.h"
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

}  // namespace
}  // namespace korva
