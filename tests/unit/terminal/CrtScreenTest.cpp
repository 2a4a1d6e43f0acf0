// The terminal's screen model: tab stops, cursor movement at the edges, line and
// character edits, sizes, saved screens and what is reported for painting.
#include <gtest/gtest.h>

#include "support/ScriptedHost.h"
#include "terminal/CrtTerminal.h"
#include "unit/terminal/TerminalDump.h"

namespace korva::test {
namespace {

class CrtScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCrtDefinitions();
    SetDefaultControlAbilities(0);
    SetDefaultEscapeAbilities(0);
    t.InitDefinitions();
    t.SetNoWrap(False);
    t.BlankScreen();
    t.ResizeScreen(80, 24);
    t.Def().TextColor = 7;
    win.Clear();
  }
  void TearDown() override { ResetCrtDefinitions(); }
  // Fills every visible line with a letter per line ("A" on line 0 ...).
  void FillLines() {
    for (int l = 0; l <= t.MaxLine; ++l)
      for (int c = 0; c <= t.MaxColumn; ++c) t.Cell(c, l).Char = static_cast<uint8_t>('A' + l % 26);
  }

  ScriptedHost host;
  RecordingCrtHost win;
  classCrtTerminal t{0, &win};
};

TEST_F(CrtScreenTest, TabStopsArePerCell) {
  t.SetTabStopsPeriodic(0);
  for (int l : {0, 23, 67})
    for (int c = 0; c < CellColumns; ++c) ASSERT_EQ(t.Cell(c, l).TabStop, ToVBool(c % 4 == 0)) << l << "," << c;
  t.ClearAllTabStops();
  t.CursorLine = 5, t.CursorColumn = 30;
  t.SetTabStop();
  t.CursorColumn = 2;
  t.TabForward(false, false);
  EXPECT_EQ(t.CursorColumn, 30);
  t.CursorLine = 6, t.CursorColumn = 2;
  t.TabForward(false, false);
  EXPECT_EQ(t.CursorColumn, 2);
  // Wrapping to the following lines, then from the top of the screen.
  t.TabForward(true, false);
  EXPECT_EQ(t.CursorColumn, 2);
  t.CursorLine = 3;
  t.TabForward(true, false);
  EXPECT_EQ(CursorOf(t), Pos(5, 30));
  t.CursorLine = 9;
  t.TabForward(true, true);
  EXPECT_EQ(CursorOf(t), Pos(5, 30));
  t.TabBackward(true, true);  // nothing before it on its line or above: from the bottom up
  EXPECT_EQ(CursorOf(t), Pos(5, 30));
  t.ClearTabStop();
  t.CursorLine = 9, t.CursorColumn = 9;
  t.TabForward(true, true);  // no stop on the screen
  EXPECT_EQ(CursorOf(t), Pos(9, 9));

  // TabFill fills the start cell and stops on the next stop, unfilled.
  t.SetTabStopsPeriodic(8);
  t.CursorLine = 1, t.CursorColumn = 8;
  t.TabFill('.');
  EXPECT_EQ(LineText(t, 1), "        ........");
  EXPECT_EQ(t.CursorColumn, 16);
  t.CursorColumn = 75;
  t.TabFill('-');
  EXPECT_EQ(t.CursorColumn, 79);
  EXPECT_EQ(t.Cell(79, 1).Char, ' ');
  EXPECT_EQ(t.Cell(78, 1).Char, '-');
}

TEST_F(CrtScreenTest, ErasesBlankWhateverTheColoursAndKeepStops) {
  t.SetTabStopsPeriodic(4);
  t.Def().TextColor = 2, t.Def().BackColor = 4, t.Inverse = True;
  Feed(t, "HELLO WORLD");
  t.CursorLine = 10, t.CursorColumn = 40;
  t.ClearScreen();
  EXPECT_EQ(t.CursorLine, 0);
  EXPECT_EQ(t.CursorColumn, 0);
  for (int l = 0; l <= t.MaxLine; ++l)
    for (int c = 0; c <= t.MaxColumn; ++c) {
      const ScreenCell& cell = t.Cell(c, l);
      ASSERT_EQ(cell.Char, 32);
      ASSERT_EQ(cell.Attr & ~CellAttr::CursorMark, 7u);
      ASSERT_EQ(cell.TabStop, ToVBool(c % 4 == 0));
    }
  // EraseCharsLeft(n) blanks the n cells left of the cursor.
  Feed(t, "ABCDEF");
  t.EraseCharsLeft(2);
  EXPECT_EQ(LineText(t, 0), "ABCD");
  t.CursorColumn = 0;
  t.EraseCharsLeft(1);
  EXPECT_EQ(LineText(t, 0), "ABCD");
  t.CursorColumn = 2;
  t.EraseCharsLeft(5);
  EXPECT_EQ(LineText(t, 0), "  CD");
}

TEST_F(CrtScreenTest, EdgesScrollOrStay) {
  FillLines();
  t.SetTabStopsPeriodic(0);
  t.Cell(7, 0).TabStop = True;  // line 0's own stop goes with it
  t.Def().ScrollLock = True;
  t.CursorLine = 0;
  t.CursorUp();
  EXPECT_EQ(t.CursorLine, 23);
  t.CCursorDown();
  EXPECT_EQ(t.CursorLine, 23);
  EXPECT_EQ(LineText(t, 0)[0], 'A');
  t.Def().ScrollLock = False;
  t.CCursorDown();
  EXPECT_EQ(t.CursorLine, 23);
  EXPECT_EQ(LineText(t, 0)[0], 'B');
  EXPECT_EQ(LineText(t, 22)[0], 'X');
  EXPECT_EQ(LineText(t, 23), "");
  EXPECT_EQ(t.Cell(7, 23).TabStop, True);
  EXPECT_EQ(t.Cell(7, 22).TabStop, False);
  ASSERT_EQ(win.Regions.size(), 1u);
  EXPECT_EQ(win.Regions[0].Line1, 0);
  EXPECT_EQ(win.Regions[0].Line2, 23);
  // CursorUp scrolls down at the top without ScrollLock.
  t.CursorLine = 0;
  t.CursorUp();
  EXPECT_EQ(LineText(t, 0), "");
  EXPECT_EQ(LineText(t, 1)[0], 'B');
  // DeleteLineScrollDown: line 0 takes the overwritten cursor line's stops.
  FillLines();
  t.ClearAllTabStops();
  t.Cell(3, 4).TabStop = True;
  t.CursorLine = 4, t.CursorColumn = 9;
  t.DeleteLineScrollDown();
  EXPECT_EQ(LineText(t, 0), "");
  EXPECT_EQ(LineText(t, 4)[0], 'D');
  EXPECT_EQ(LineText(t, 5)[0], 'F');
  EXPECT_EQ(t.Cell(3, 0).TabStop, True);
  EXPECT_EQ(t.CursorColumn, 0);
}

TEST_F(CrtScreenTest, CharacterEditsOnAFullLine) {
  for (int c = 0; c < 80; ++c) t.Cell(c, 2).Char = static_cast<uint8_t>('0' + c % 10);
  const std::string full = LineText(t, 2);
  t.CursorLine = 2, t.CursorColumn = 10;
  t.InsertChars(1);
  EXPECT_EQ(LineText(t, 2), full.substr(0, 10) + " " + full.substr(10, 69));
  t.DeleteChar();
  EXPECT_EQ(LineText(t, 2), full.substr(0, 79));
  EXPECT_EQ(t.Cell(79, 2).Char, ' ');
  t.InsertChars(500);  // to the end of the line
  EXPECT_EQ(LineText(t, 2), full.substr(0, 10));
  t.InsertCharLeft();
  EXPECT_EQ(t.CursorColumn, 11);
}

TEST_F(CrtScreenTest, SizesStayOnTheScreen) {
  t.ResizeScreen(133, 67);
  FillLines();
  t.CursorLine = 30, t.CursorColumn = 100;
  t.SavedLine = 30, t.SavedColumn = 100;
  t.SetScreenLines(24);
  EXPECT_EQ(t.CursorLine, 23);
  EXPECT_EQ(t.MaxLine, 23);
  EXPECT_EQ(LineText(t, 0)[0], 'H');  // seven lines scrolled off
  for (auto [c, l] : {std::pair{0, 0}, {-5, 200}, {32767, -32768}}) {
    t.ResizeScreen(c, l);
    EXPECT_TRUE(t.MaxLine >= 0 && t.MaxLine <= 66 && t.MaxColumn >= 0 && t.MaxColumn <= 132);
    EXPECT_EQ(t.Def().Lines, t.MaxLine + 1);
    EXPECT_EQ(t.Def().Columns, t.MaxColumn + 1);
    EXPECT_TRUE(t.CursorLine <= t.MaxLine && t.CursorColumn <= t.MaxColumn);
  }
  EXPECT_EQ(win.Resizes.back(), (std::pair<int16_t, int16_t>{133, 1}));
  t.SetScreenLines(0);
  t.SetScreenColumns(-3);
  EXPECT_EQ(t.MaxLine, 0);
  EXPECT_EQ(t.MaxColumn, 0);
  // A saved position beyond a shrunk screen comes back inside it.
  t.ResizeScreen(80, 24);
  t.Def().SCC[1] = 94;  // RestorePosition
  t.Outchar(1);
  EXPECT_EQ(t.CursorLine, 23);
  EXPECT_EQ(t.CursorColumn, 79);
  // Growing shows blank cells where the old screen was not.
  EXPECT_EQ(LineText(t, 23), "");
}

TEST_F(CrtScreenTest, CurrentAttributeAndPrint) {
  t.Def().TextColor = 4, t.Def().BackColor = 1;
  t.TextHI = True, t.Inverse = True, t.Underline = True;
  EXPECT_EQ(t.CurrentAttribute(), 0x111Cu);
  t.Bold = True, t.Italic = True, t.Strike = True, t.BackHI = True;
  EXPECT_EQ(t.CurrentAttribute(), 0xF19Cu);
  t.Def().Insert = True;
  Feed(t, "BC");
  t.CursorColumn = 0;
  Feed(t, "A");
  EXPECT_EQ(LineText(t, 0), "ABC");
  EXPECT_EQ(ScreenAttrs(t).substr(0, 14), "F19C F19C F19C");
}

TEST_F(CrtScreenTest, SavedScreensRoundTripPerPort) {
  RecordingCrtHost win1;
  classCrtTerminal t1(1, &win1);
  t1.InitDefinitions();
  t1.ResizeScreen(132, 40);
  t1.BlankScreen();
  Feed(t, "port zero");
  Feed(t1, "port one");
  t.Bold = True, t.ScreenColors[3] = 0x123456, t.ColorsName = "Zero", t.CursorColor = 9;
  t1.Underline = True, t1.ScreenColors[3] = 0x654321, t1.TabSpacing = 6;
  t.MarkCursor();
  t1.MarkCursor();
  t.SaveScreenState();
  t1.SaveScreenState();
  classCrtTerminal again(0), again1(1);
  again.RestoreScreenState();
  again1.RestoreScreenState();
  again.MarkCursor();
  again1.MarkCursor();
  EXPECT_EQ(ScreenText(again), ScreenText(t));
  EXPECT_EQ(ScreenAttrs(again), ScreenAttrs(t));
  EXPECT_EQ(ScreenText(again1), ScreenText(t1));
  EXPECT_EQ(LineText(again1, 0), "port one");
  EXPECT_EQ(again.CursorColumn, 9);
  EXPECT_EQ(again1.CursorColumn, 8);
  EXPECT_EQ(again.Bold, True);
  EXPECT_EQ(again.Underline, False);
  EXPECT_EQ(again1.Underline, True);
  EXPECT_EQ(again.ScreenColors[3], 0x123456u);
  EXPECT_EQ(again1.ScreenColors[3], 0x654321u);
  EXPECT_EQ(again.ColorsName, "Zero");
  EXPECT_EQ(again.CursorColor, 9u);
  EXPECT_EQ(again1.TabSpacing, 6);
  EXPECT_EQ(again.Cell(9, 0).Attr & CellAttr::CursorMark, CellAttr::CursorMark);
}

TEST_F(CrtScreenTest, OneCharacterPaintsTwoCells) {
  for (auto [columns, lines] : {std::pair{80, 24}, {133, 67}}) {
    t.ResizeScreen(columns, lines);
    FillLines();
    t.CursorLine = 10, t.CursorColumn = 20;
    t.MarkCursor();
    win.Clear();
    t.Outchar('x');
    EXPECT_TRUE(win.Regions.empty());
    ASSERT_EQ(win.Cells.size(), 2u);
    EXPECT_EQ(win.Cells[0], (std::pair<int16_t, int16_t>{20, 10}));
    EXPECT_EQ(win.Cells[1], (std::pair<int16_t, int16_t>{21, 10}));
    EXPECT_EQ(t.Cell(21, 10).Attr & CellAttr::CursorMark, CellAttr::CursorMark);
    EXPECT_EQ(t.Cell(20, 10).Attr & CellAttr::CursorMark, 0u);
  }
  // After a scroll the mark is where the cursor is, and nowhere else.
  t.CursorLine = t.MaxLine;
  t.MarkCursor();
  Feed(t, "\n\n");
  int marks = 0;
  for (int l = 0; l <= t.MaxLine; ++l)
    for (int c = 0; c <= t.MaxColumn; ++c) marks += (t.Cell(c, l).Attr & CellAttr::CursorMark) != 0;
  EXPECT_EQ(marks, 1);
}

}  // namespace
}  // namespace korva::test
