// The abilities editor: table line texts, the ability list, the goto and range
// checks with their example and ruler, and what Apply writes.
#include <gtest/gtest.h>

#include "support/ScriptedHost.h"
#include "terminal/AbilitiesEditor.h"
#include "terminal/CrtTerminal.h"

namespace korva::test {
namespace {

std::string Bullets(const std::string& s) {
  std::string r;
  for (char c : s) r += c == GotoBullet ? std::string("*") : std::string(1, c);
  return r;
}

TEST(AbilityListTest, EntriesAndLineTexts) {
  const auto& list = AbilityList();
  EXPECT_STREQ(list[3].Name, "Tab (Obey NoWrap,ScrollLock)");
  EXPECT_EQ(list[3].Code, 3);
  EXPECT_STREQ(list[79].Name, "CBackColorGreen");
  EXPECT_EQ(list[79].Code, 81);
  for (int none : {13, 14, 15, 18, 19, 22, 29, 30, 55, 123}) EXPECT_EQ(AbilityName(none), "") << none;
  std::array<int, 123> seen{};
  for (const AbilityEntry& e : list) ++seen[static_cast<size_t>(e.Code)];
  for (int c = 0; c < 123; ++c) EXPECT_EQ(seen[static_cast<size_t>(c)], AbilityName(c).empty() ? 0 : 1) << c;

  EXPECT_EQ(TableLineText(65, 31), " 65 A (41)-CursorUp");
  EXPECT_EQ(TableLineText(200, 0), "200   (C8)-");
  EXPECT_EQ(TableLineText(13, 13), " 13   (0D)-");
  EXPECT_EQ(TableLineText(32, 0), " 32   (20)-");
  EXPECT_EQ(TableLineText(126, 52), "126 ~ (7E)-GotoCustom");
  EXPECT_EQ(TableLineText(127, 0), "127   (7F)-");
}

struct GotoCase {
  int Type;
  const char *S, *XY, *X, *Y;
  const char* Red;  // letters of the red fields: s, v (XY), x, y
  const char* Example;
};

TEST(GotoChecksTest, RulesExampleAndRuler) {
  const GotoCase cases[] = {
      {0, "3", "1", "2", "1", "", "Cyx"},
      {0, "3", "1", "1", "2", "", "Cxy"},
      {0, "6", "1", "1", "4", "", "Cx**y*"},
      {0, "16", "1", "1", "2", "", nullptr},
      {0, "17", "1", "1", "2", "s", nullptr},
      {2, "9", "3", "1", "4", "v", nullptr},
      {1, "7", "3", "1", "4", "", "Cxxxyyy"},
      {3, "7", "3", "1", "4", "", nullptr},
      {1, "6", "3", "1", "4", "svy", nullptr},
      {0, "5", "1", "2", "2", "vxy", nullptr},
      {1, "16", "2", "1", "2", "vxy", nullptr},
      {0, "+5", "1", "1", "2", "", nullptr},
      {0, "5", "1", "-5", "2", "x", nullptr},
      {0, "5a", "1", "1", "2", "svxy", nullptr},
      {0, "", "1", "1", "2", "svxy", nullptr},
      {0, "100", "1", "1", "2", "s", nullptr},
  };
  for (const GotoCase& c : cases) {
    const auto red = CheckGotoRules({c.S, c.XY, c.X, c.Y}, XYDigitsFor(c.Type));
    std::string got;
    if (red[0]) got += 's';
    if (red[1]) got += 'v';
    if (red[2]) got += 'x';
    if (red[3]) got += 'y';
    EXPECT_EQ(got, c.Red) << c.S << "/" << c.XY << "/" << c.X << "/" << c.Y << " type " << c.Type;
    if (c.Example) {
      EXPECT_EQ(Bullets(GotoExample(std::stoi(c.S), std::stoi(c.XY), std::stoi(c.X), std::stoi(c.Y))), c.Example);
    }
  }
  EXPECT_EQ(GotoRuler(3), "0123");
  EXPECT_EQ(GotoRuler(12), "0123456789012");

  const struct {
    DefinitionField F;
    const char* Text;
    bool Valid;
  } ranges[] = {
      {FieldLines, "67", true},        {FieldLines, "68", false},          {FieldLines, "0", false},
      {FieldColumns, "4", true},       {FieldColumns, "133", true},        {FieldColumns, "3", false},
      {FieldColumns, "134", false},    {FieldGotoValueOffsetX, "-128", true}, {FieldGotoValueOffsetY, "255", true},
      {FieldGotoValueOffsetX, "-129", false}, {FieldGotoValueOffsetY, "256", false},
      {FieldGotoValueOffsetX, "0255", false},
  };
  for (const auto& r : ranges) EXPECT_EQ(RangeCheck(r.F, r.Text), r.Valid) << r.F << " " << r.Text;
}

class AbilitiesEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCrtDefinitions();
    CrtDefinition& d = CrtDefinitions[2];
    d.GotoSize = 3, d.GotoSizeXY = 1, d.GotoOffsetX = 2, d.GotoOffsetY = 1, d.XYType = 0;
    d.GotoValueOffsetX = 32, d.GotoValueOffsetY = -32, d.Lines = 24, d.Columns = 80;
    d.SCC[13] = 13;  // no ability has it
    d.ECC[65] = 31;
  }
  void TearDown() override { ResetCrtDefinitions(); }
  ScriptedHost host;
  AbilitiesEditor ed{2};
};

TEST_F(AbilitiesEditorTest, ErrorStaysUntilAGotoFieldChanges) {
  ed.Load();
  EXPECT_EQ(ed.Example(), "Cyx");
  EXPECT_EQ(ed.Ruler(), "0123");
  ed.SetField(FieldLines, "68");
  EXPECT_TRUE(ed.Red(FieldLines));
  EXPECT_EQ(ed.Example(), "Cyx");
  ed.SetField(FieldGotoOffsetX, "2");
  EXPECT_EQ(ed.Example(), "Error");
  EXPECT_EQ(ed.Ruler(), "0123");
  ed.SetField(FieldLines, "67");
  EXPECT_FALSE(ed.Red(FieldLines));
  EXPECT_EQ(ed.Example(), "Error");
  ed.ClickXYType(1);
  EXPECT_EQ(ed.Example(), "Cyx");
}

TEST_F(AbilitiesEditorTest, ApplyWritesOrRefuses) {
  ed.Load();
  ed.SetField(FieldColumns, "3");
  EXPECT_FALSE(ed.Apply(nullptr));
  ASSERT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Definition Errors");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text,
            "There are Errors on the Definitions Tab. They are Red. Fix them or click cancel.");
  EXPECT_EQ(CrtDefinitions[2].Columns, 80);

  ed.SetField(FieldColumns, "100");
  ed.SetField(FieldGotoValueOffsetX, "+7");
  ed.SetCode(AbilityTable::SCC, 65, 9);
  ed.ClearAll(AbilityTable::ECC);
  ed.NoWrap = true;
  ed.ScrollLock = true;
  classCrtTerminal window(2);
  ASSERT_TRUE(ed.Apply(&window));
  const CrtDefinition& d = CrtDefinitions[2];
  EXPECT_EQ(d.Columns, 100);
  EXPECT_EQ(window.MaxColumn, 99);
  EXPECT_EQ(d.NoWrap, True);
  EXPECT_EQ(d.ScrollLock, True);
  EXPECT_EQ(d.GotoValueOffsetX, 7);
  EXPECT_EQ(d.SCC[65], 9);
  EXPECT_EQ(d.SCC[13], 13);  // kept though no ability names it
  EXPECT_EQ(d.ECC[65], 0);
}

// A stored location type no option stands for is written back as it was.
TEST_F(AbilitiesEditorTest, UnknownXYTypeKept) {
  CrtDefinitions[2].XYType = 7;
  ed.Load();
  EXPECT_EQ(ed.XYDigits(), 3);
  ASSERT_TRUE(ed.Apply(nullptr));
  EXPECT_EQ(CrtDefinitions[2].XYType, 7);
}

}  // namespace
}  // namespace korva::test
