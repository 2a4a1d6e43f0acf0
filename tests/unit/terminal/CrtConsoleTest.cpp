// The CRT console without a window: the first start-up from empty settings, the
// default files, the title, a close and reopen in the same run, the settings
// made safe, pasting and the menu commands that ask or tell.
#include <gtest/gtest.h>

#include "cpu/MainLoop.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "support/ScriptedHost.h"
#include "terminal/CrtConsole.h"
#include "terminal/TerminalAbility.h"
#include "unit/bus/LoaderFiles.h"

namespace korva::test {
namespace {

class CrtConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCrtDefinitions();
    Cable = classCable();
    ConsoleType = {};
    CrtDefaultFolder = dir.Path("");
  }
  void TearDown() override {
    CrtDefaultFolder.clear();
    ProfileName.clear();
    ConsoleType = {};
    CRTForms = {};
    Cable = classCable();
    ResetCrtDefinitions();
  }
  void Open(int16_t port = 3) {
    ConsoleType[static_cast<size_t>(port)] = ConsoleCRT;
    CRTForms[static_cast<size_t>(port)] = &crt;
    crt.OpenCRT(port, 0);
  }
  std::string Queued(int16_t port = 3) {
    std::string out;
    while (Cable.RXavailable(port)) out += static_cast<char>(Cable.RX(port));
    return out;
  }
  std::string Stored(const std::string& key) { return host.StoredSetting("CRT3", key).value_or("<none>"); }
  // Writes a default abilities file whose control table and size mark it.
  void WriteAbilities(const std::string& name, int32_t mark, int16_t lines) {
    CrtDefinition saved = CrtDefinitions[3];
    CrtDefinitions[3].SCC[1] = mark;
    CrtDefinitions[3].Lines = lines;
    CrtDefinitions[3].Columns = 80;
    SaveAbilitiesFile(dir.Path(name), 3);
    CrtDefinitions[3] = saved;
  }

  ScriptedHost host;
  TempFolder dir;
  CrtConsole crt;
  classCrtTerminal& t = crt.Terminal();
};

TEST_F(CrtConsoleTest, FirstWindowFromEmptySettings) {
  Open();
  const CrtDefinition& d = CrtDefinitions[3];
  EXPECT_EQ(d.Columns, 80);
  EXPECT_EQ(d.Lines, 24);
  EXPECT_EQ(t.MaxColumn, 79);
  EXPECT_EQ(t.MaxLine, 23);
  EXPECT_TRUE(d.ANSI);
  EXPECT_FALSE(d.Ascii);
  EXPECT_EQ(d.Parity, 0);
  EXPECT_EQ(d.CursorType, 1);
  EXPECT_TRUE(d.CursorFront);
  EXPECT_TRUE(t.FixedFontsOnly);
  EXPECT_EQ(t.TabSpacing, 8);
  for (int c = 0; c < 80; ++c) ASSERT_EQ(t.Cell(c, 10).TabStop, ToVBool(c % 8 == 0)) << c;
  EXPECT_EQ(t.ScreenColors[0], 0x0F0F0Fu);
  EXPECT_EQ(t.ScreenColors[15], 0xFFFFFFu);
  EXPECT_EQ(t.CursorColor, 255u);
  EXPECT_EQ(t.ColorsName, "White");
  EXPECT_EQ(t.ColorsCode, 1);
  EXPECT_EQ(d.TextColor, 7);
  EXPECT_EQ(d.BackColor, 0);
  EXPECT_EQ(t.Cell(0, 0).Attr, 7u | CellAttr::CursorMark);
  EXPECT_TRUE(d.Initialized);
  EXPECT_TRUE(Cable.DCD(3) && Cable.CTS(3));
  EXPECT_EQ(crt.OnLineCaption(), "On Line");
  EXPECT_EQ(crt.BuildCaption(), " DEV3 - CRT");
  ProfileName = "LAB";
  EXPECT_EQ(crt.BuildCaption(), " DEV3 - CRT - LAB");
}

TEST_F(CrtConsoleTest, PortDefaultFileWinsAndLoadsNameTheTitle) {
  WriteAbilities("Default.tab", AbBell, 25);
  WriteAbilities("Default3.tab", AbCR, 30);
  WriteAbilities("vt.tab", AbLF, 24);
  Open();
  EXPECT_EQ(CrtDefinitions[3].SCC[1], AbCR);
  EXPECT_EQ(t.MaxLine, 29);
  EXPECT_EQ(CrtDefinitions[3].TabFile, "");
  EXPECT_EQ(crt.BuildCaption(), " DEV3 - CRT");

  host.AnswerFile(dir.Path("vt.tab"));
  crt.LoadFile('t');
  EXPECT_EQ(CrtDefinitions[3].SCC[1], AbLF);
  EXPECT_EQ(crt.BuildCaption(), " DEV3 - CRTvt.tab   ");
  // A save keeps the name it was given; a cancelled dialog forgets it.
  host.AnswerFile(dir.Path("other.tab"));
  crt.SaveFile('t');
  EXPECT_EQ(CrtDefinitions[3].TabFile, dir.Path("other.tab"));
  host.CancelFile();
  crt.LoadFile('t');
  EXPECT_EQ(CrtDefinitions[3].TabFile, "");
  // "Return to Defaults" reloads both default files and forgets the name.
  CrtDefinitions[3].SCC[1] = 0;
  crt.LoadDefaultAbilities();
  EXPECT_EQ(CrtDefinitions[3].SCC[1], AbCR);
}

TEST_F(CrtConsoleTest, ReopenedWindowKeepsItsScreenAndIgnoresTheStore) {
  Open();
  for (const char c : std::string("\x1b[5;10H\x1b[7mhi\x1b[0m")) crt.Outchar(static_cast<uint8_t>(c));
  t.FixedFontsOnly = False;
  t.SetCursorType(3);
  t.SetInsertMode(True);
  t.ScreenColors[2] = 0x00FF00;

  crt.Unload();  // the close box
  EXPECT_EQ(ConsoleType[3], ConsoleNone);
  EXPECT_EQ(CRTForms[3], nullptr);
  EXPECT_TRUE(Cable.DCD(3) && Cable.CTS(3));  // only CloseCRT drops the lines
  EXPECT_EQ(Stored("FixedFontsOnly"), "False");
  EXPECT_EQ(Stored("CursorType"), "3");
  EXPECT_EQ(Stored("ScreenColors02"), "65280");
  host.PresetSetting("CRT3", "ANSI", "False");
  host.PresetSetting("CRT3", "FixedFontsOnly", "True");

  Open();
  EXPECT_TRUE(CrtDefinitions[3].ANSI);
  EXPECT_FALSE(t.FixedFontsOnly);
  EXPECT_EQ(t.Cell(9, 4).Char, 'h');
  EXPECT_EQ(t.Cell(10, 4).Char, 'i');
  EXPECT_TRUE(t.Cell(9, 4).Attr & CellAttr::Inverse);
  EXPECT_EQ(t.CursorLine, 4);
  EXPECT_EQ(t.CursorColumn, 11);
  EXPECT_TRUE(t.Cell(11, 4).Attr & CellAttr::CursorMark);
  EXPECT_EQ(CrtDefinitions[3].CursorType, 3);
  EXPECT_TRUE(CrtDefinitions[3].Insert);
  EXPECT_EQ(t.ScreenColors[2], 0x00FF00u);
  EXPECT_EQ(t.TabSpacing, 8);

  crt.CloseCRT();
  EXPECT_FALSE(Cable.DCD(3) || Cable.CTS(3) || Cable.DSR(3));
}

TEST_F(CrtConsoleTest, StoredValuesOutsideTheirRangesGiveSafeOnes) {
  struct Case {
    const char* Key;
    const char* Value;
  };
  for (const Case& c : {Case{"CursorType", "6"}, Case{"Parity", "4"}, Case{"TabSpacing", "134"},
                        Case{"ColorsCode", "6"}, Case{"ScreenColors15", "-1"}, Case{"CursorColor", "33554687"}})
    host.PresetSetting("CRT3", c.Key, c.Value);
  Open();
  EXPECT_EQ(CrtDefinitions[3].CursorType, 1);
  EXPECT_EQ(CrtDefinitions[3].Parity, 0);
  EXPECT_EQ(t.TabSpacing, 8);
  EXPECT_EQ(t.ColorsCode, 0);
  EXPECT_EQ(t.ScreenColors[15], 0xFFFFFFu);
  EXPECT_EQ(t.CursorColor, 255u);
}

TEST_F(CrtConsoleTest, PasteTurnsLineEndsIntoCR) {
  Open();
  for (const char* text : {"ab\r\ncd", "ab\ncd", "ab\rcd"}) {
    crt.PasteText(text);
    EXPECT_EQ(Queued(), "ab\rcd") << text;
  }
  crt.PasteText(std::string(CrtConsole::MaxPaste + 1, 'x'));
  EXPECT_EQ(Queued(), "");
  ASSERT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Too much Paste");
}

TEST_F(CrtConsoleTest, MenuCommandsThatAsk) {
  Open();
  host.AnswerInput("200");  // out of range: asked again
  host.AnswerInput("100");
  host.AnswerInput("30");
  crt.CustomSize();
  EXPECT_EQ(CrtDefinitions[3].Columns, 100);
  EXPECT_EQ(CrtDefinitions[3].Lines, 30);
  const auto inputs = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(inputs.size(), 3u);
  EXPECT_NE(inputs[1].Text.find("New Number of Columns"), std::string::npos);
  EXPECT_NE(inputs[2].Text.find("New Number of Lines"), std::string::npos);
  EXPECT_EQ(inputs[2].Title, "Custom Size");

  host.AnswerInput("5");
  crt.SetTabs();
  EXPECT_EQ(t.TabSpacing, 5);
  EXPECT_TRUE(t.Cell(95, 29).TabStop);
  host.ClearCalls();
  crt.ClearTabs();
  EXPECT_FALSE(t.Cell(95, 29).TabStop);
  EXPECT_FALSE(t.Cell(0, 0).TabStop);
  const auto boxes = host.CallsOf(HostCall::Kind::MessageBox);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, "All tab stops have been cleared");
  EXPECT_EQ(boxes[0].Title, "Clear Tab Stops");
  EXPECT_EQ(boxes[0].Icon, MsgIcon::Information);
  // With a spacing of 0 "Set Tabs" asks nothing.
  t.TabSpacing = 0;
  crt.SetTabs();
  EXPECT_TRUE(host.CallsOf(HostCall::Kind::InputBox).empty());

  crt.ToggleOnLine();
  EXPECT_EQ(crt.OnLineCaption(), "Off Line");
  EXPECT_FALSE(Cable.DCD(3) || Cable.CTS(3));
  crt.ToggleOnLine();
  EXPECT_TRUE(Cable.DCD(3) && Cable.CTS(3));
}

TEST_F(CrtConsoleTest, ResetKeepsDefinitionAndSize) {
  Open();
  crt.Terminal().ResizeScreen(100, 30);
  for (const char c : std::string("\x1b[1;31mX\x1b[4h")) crt.Outchar(static_cast<uint8_t>(c));
  crt.ResetTerminal();
  EXPECT_EQ(t.Cell(0, 0).Char, ' ');
  EXPECT_EQ(CrtDefinitions[3].TextColor, 7);
  EXPECT_FALSE(t.TextHI);
  EXPECT_FALSE(CrtDefinitions[3].Insert);
  EXPECT_EQ(t.MaxColumn, 99);
  EXPECT_TRUE(t.Cell(0, 0).Attr & CellAttr::CursorMark);
}

}  // namespace
}  // namespace korva::test
