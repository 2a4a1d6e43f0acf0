// The command line: tokenizing, argument values, defaults, dispatch and the output's cut.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "debugger/DebuggerCore.h"
#include "support/TestMachine.h"
#include "unit/debugger/DebuggerFixture.h"
#include "tables/Helpers.h"

namespace korva {
namespace {

class CommandLineTest : public DebuggerCommandTest {};

TEST_F(CommandLineTest, ArgumentsAreTokenizedAndValued) {
  struct Case {
    const char* line;
    int argCount;
    int arg;  // the argument looked at
    const char* text;
    int size;
    bool byteOk, wordOk, longOk;
    uint32_t value;  // LongValue
  };
  CpuDReg[3] = 0x12345678;
  CpuAReg[3] = 0x00ABCDEF;
  const Case cases[] = {
      {"DM,1000", 1, 2, "1000", 2, false, true, true, 1000},
      {"BF.B 1000,,5", 2, 3, "5", 1, true, true, true, 5},
      {"X 255", 1, 1, "255", 1, true, true, true, 255},
      {"X -1", 1, 1, "-1", 1, true, true, true, 0xFFFFFFFF},
      {"X -$8000", 1, 1, "-$8000", 2, false, true, true, 0xFFFF8000},
      {"X -", 1, 1, "-", 5, false, false, false, 0},
      {"X 70000", 1, 1, "70000", 4, false, false, true, 70000},
      {"X 5000000000", 1, 1, "5000000000", 5, false, false, false, 0},
      {"X hello", 1, 1, "hello", 5, false, false, false, 0},
      {"X .d3", 1, 1, ".d3", 0, true, true, true, 0x12345678},
      {"X .A3", 1, 1, ".A3", 0, false, true, true, 0x00ABCDEF},
      {"X $10000 , 5", 2, 2, "5", 1, true, true, true, 5},
      {"X 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21", 20, 20, "20", 1, true, true, true, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Execute(c.line);
    EXPECT_EQ(ArgCount, c.argCount);
    const CommandArg& a = CommandArgs[c.arg];
    EXPECT_EQ(a.Text, c.text);
    EXPECT_EQ(a.Size, c.size);
    EXPECT_EQ(a.ByteOK != 0, c.byteOk);
    EXPECT_EQ(a.WordOK != 0, c.wordOk);
    EXPECT_EQ(a.LongOK != 0, c.longOk);
    if (c.longOk) {
      EXPECT_EQ(static_cast<uint32_t>(a.LongValue), c.value);
    }
  }
  Execute("X -1");
  EXPECT_EQ(CommandArgs[1].ByteValue, 0xFF);
  EXPECT_EQ(CommandArgs[1].WordValue, -1);
  Execute("X .d3");
  EXPECT_EQ(CommandArgs[1].ByteValue, 0x78);
  EXPECT_EQ(CommandArgs[1].WordValue, 0x5678);
  EXPECT_TRUE(CommandArgs[0].Text.empty());
}

TEST_F(CommandLineTest, LinesPrintTheirOwnText) {
  struct Case {
    const char* line;
    const char* out;
  };
  const Case cases[] = {
      {" VERSION 44", ""},
      {"\tVERSION 44", ""},
      {"", ""},
      {"XYZZY", "\r\nUndefined Command\r\n Type HELP for help!\r\n"},
      {"ver 44", "\r\n"},
      {"VERSION 46", "\r\n usage Version[ <43|44|45>] Current = 44"},
      {"VERSION 0", "\r\n usage Version[ <43|44|45>] Current = 44"},
      {"BASE", "\r\n usage BASE[ <2|8|10|16>] Current = 10"},
      {"BASE 3", "\r\n usage BASE[ <2|8|10|16>] Current = 10"},
  };
  for (const Case& c : cases) EXPECT_EQ(Execute(c.line), c.out) << c.line;
  EXPECT_EQ(VersionNumber, 44);
}

TEST_F(CommandLineTest, BaseAppliesFromTheNextLine) {
  Execute("X 1000");
  EXPECT_EQ(CommandArgs[1].LongValue, 1000);
  Execute("BASE 16");
  EXPECT_EQ(DefaultRadix, 16);
  Execute("X 1000 0100");
  EXPECT_EQ(CommandArgs[1].LongValue, 0x1000);
  EXPECT_EQ(CommandArgs[2].LongValue, 64);  // a leading 0 is octal in every base
  EXPECT_EQ(Execute("BASE"), "\r\n usage BASE[ <2|8|10|16>] Current = 16");
}

TEST_F(CommandLineTest, CheckArgumentsDefaultsAndRequires) {
  Execute("X 1000");
  EXPECT_TRUE(CheckArguments({{ArgLong}, {ArgLong, 16}}));
  EXPECT_TRUE(CommandArgs[2].Present);
  EXPECT_EQ(CommandArgs[2].LongValue, 16);
  Execute("X 1000");
  EXPECT_FALSE(CheckArguments({{ArgLong}, {ArgByte}}));  // a default of 0 is no default
  Execute("X 1000 300");
  EXPECT_FALSE(CheckArguments({{ArgLong}, {ArgByte, 5}}));  // present but too wide
  Execute("X");
  EXPECT_TRUE(CheckArguments({{ArgText, 0, "abc"}}));
  EXPECT_EQ(CommandArgs[1].Text, "abc");
}

TEST_F(CommandLineTest, KeysBuildTheLine) {
  CommandKey(8);  // nothing to drop
  for (char c : std::string("verx")) CommandKey(c);
  CommandKey(8);
  for (char c : std::string("sion 45")) CommandKey(c);
  EXPECT_EQ(CommandLine, "version 45");
  CommandKey(13);
  EXPECT_EQ(VersionNumber, 45);
  EXPECT_TRUE(CommandLine.empty());
  CommandKey(9);
  EXPECT_EQ(CommandLine, " ");
}

TEST_F(CommandLineTest, OutputIsCutPastItsLimit) {
  AppendOutput(std::string(OutputLimit - 10, 'a'));
  AppendOutput(std::string(10, 'b'));
  EXPECT_EQ(OutputText.size(), OutputLimit);  // exactly at the limit: nothing cut
  AppendOutput("c");
  EXPECT_EQ(OutputText.size(), OutputLimit + 1 - 1001);
  EXPECT_EQ(OutputText.back(), 'c');
}

TEST_F(CommandLineTest, EverySpellingIsUniqueAndUpperCase) {
  std::set<std::string> seen;
  for (const std::string& s : AllCommandSpellings()) {
    EXPECT_TRUE(seen.insert(s).second) << s;
    EXPECT_TRUE(std::none_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; })) << s;
  }
}

}  // namespace
}  // namespace korva
