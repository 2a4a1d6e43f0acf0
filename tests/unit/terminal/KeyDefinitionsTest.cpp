// Key strings in caret notation: the round trip through the boxes, the colour
// of an edited box, and what Apply and OK store.
#include <gtest/gtest.h>

#include "support/ScriptedHost.h"
#include "terminal/KeyDefinitions.h"

namespace korva::test {
namespace {

class KeyDefinitionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetCrtDefinitions(); }
  void TearDown() override { ResetCrtDefinitions(); }
  CrtDefinition& Def() { return CrtDefinitions[3]; }
  ScriptedHost host;
  KeyDefinitionsEditor ed{3};
};

TEST_F(KeyDefinitionsTest, CaretTextsValidityAndStoredBytes) {
  EXPECT_EQ(StringToCaret("\r\n"), "^M^J");
  EXPECT_EQ(StringToCaret(std::string("\x1B^\x7F\xE9\0", 5)), "^[^\x7F\xE9^@");
  struct Case {
    const char* Text;
    bool Valid;
    std::string Stored;
  };
  const Case cases[] = {
      {"^M^J", true, "\r\n"},  {"^[[A", true, "\x1B[A"}, {"^^", true, "\x1E"}, {"", true, ""},
      {"^_x", true, "\x1Fx"},  {"^a", false, "!"},        {"^1", false, "^1"},   {"^@", false, "^@"},
      {"ab^", false, "ab"},    {"^^^", false, "\x1E"},   {"^?", false, "^?"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsValidCaretText(c.Text), c.Valid) << c.Text;
    EXPECT_EQ(CaretToString(c.Text), c.Stored) << c.Text;
  }
}

TEST_F(KeyDefinitionsTest, EditColoursAndApply) {
  Def().NavigationKeys[NavUp][ModShift] = "\r\n";
  ed.FillKeyBoxes();
  EXPECT_EQ(ed.Text(KeyTable::Navigation, NavUp, ModShift), "^M^J");
  EXPECT_EQ(ed.State(KeyTable::Navigation, NavUp, ModShift), KeyBoxState::Plain);

  ed.Edit(KeyTable::Function, 0, ModNone, "^[[A");
  EXPECT_EQ(KeyBoxColor(ed.State(KeyTable::Function, 0, ModNone)), ValidColor);
  ed.Edit(KeyTable::Editing, EditDelete, ModAlt, "^1");
  EXPECT_EQ(KeyBoxColor(ed.State(KeyTable::Editing, EditDelete, ModAlt)), 255u);

  // A red box refuses both buttons, stores nothing and keeps the texts.
  EXPECT_FALSE(ed.Apply());
  EXPECT_FALSE(ed.OK());
  ASSERT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 2u);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text, "Errors are shown in RED. Fix them or click CANCEL.");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Title, "String Error");
  EXPECT_EQ(Def().FunctionKeys[0][ModNone], "");
  EXPECT_EQ(ed.Text(KeyTable::Editing, EditDelete, ModAlt), "^1");

  // A character the code page lacks is red whatever the text.
  ed.Edit(KeyTable::Editing, EditDelete, ModAlt, "x", false);
  EXPECT_EQ(ed.State(KeyTable::Editing, EditDelete, ModAlt), KeyBoxState::Invalid);
  ed.Edit(KeyTable::Editing, EditDelete, ModAlt, "");
  EXPECT_TRUE(ed.Apply());
  EXPECT_EQ(Def().FunctionKeys[0][ModNone], "\x1B[A");
  EXPECT_EQ(Def().NavigationKeys[NavUp][ModShift], "\r\n");
  for (int m = 0; m < KeyModifiers; ++m)
    EXPECT_EQ(ed.State(KeyTable::Function, 0, m), KeyBoxState::Plain);
}

// A string set by the guest with a caret in it: untouched boxes are decoded
// again, "^C" becoming its control character, while "^1" has none and stays.
TEST_F(KeyDefinitionsTest, StoredCaretsOnOK) {
  Def().FunctionKeys[1][ModNone] = "^C";
  Def().FunctionKeys[2][ModNone] = "^1";
  Def().FunctionKeys[12][ModNone] = "F13";  // no box: never touched
  ed.FillKeyBoxes();
  ed.Edit(KeyTable::Function, 0, ModNone, "x");
  EXPECT_TRUE(ed.OK());
  EXPECT_EQ(Def().FunctionKeys[0][ModNone], "x");
  EXPECT_EQ(Def().FunctionKeys[1][ModNone], "\x03");
  EXPECT_EQ(Def().FunctionKeys[2][ModNone], "^1");
  EXPECT_EQ(Def().FunctionKeys[12][ModNone], "F13");
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::MessageBox).empty());
}

}  // namespace
}  // namespace korva::test
