// The table-driven receiver: byte strings in, screen text, cursor and
// attributes out, with the built-in tables unless a row changes them.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "support/ScriptedHost.h"
#include "terminal/CrtTerminal.h"
#include "terminal/TerminalAbility.h"
#include "unit/terminal/TerminalDump.h"

namespace korva::test {
namespace {

using Prepare = std::function<void(classCrtTerminal&, CrtDefinition&)>;
using Check = std::function<void(classCrtTerminal&, CrtDefinition&)>;

struct Row {
  const char* Name;
  Prepare Before;
  std::string In;
  std::map<int, std::string> Lines;  // line -> text without trailing blanks
  Pos Cursor;
  Check After = nullptr;
  int Beeps = 0;
};

void Custom(CrtDefinition& d, int16_t size, int16_t sizeXY, int16_t offX, int16_t offY, int16_t type) {
  d.ECC[20] = AbGotoCustom;
  d.GotoSize = size, d.GotoSizeXY = sizeXY, d.GotoOffsetX = offX, d.GotoOffsetY = offY, d.XYType = type;
}

const std::string Esc = "\x1b";

TEST(AbilitiesTest, BytesGiveScreensCursorsAndAttributes) {
  const Prepare none = [](classCrtTerminal&, CrtDefinition&) {};
  const std::vector<Row> rows = {
      {"goto binary", none, Esc + "\x11\x05\x0a", {}, Pos(10, 5)},
      {"clear and home", [](classCrtTerminal& t, CrtDefinition&) { Feed(t, "ABC\n\nDEF"); }, Esc + "\x1c",
       {{0, ""}, {2, ""}}, Pos(0, 0)},
      {"bell", none, "\x07", {}, Pos(0, 0), nullptr, 1},
      {"backspace", none, "AB\x08", {{0, "AB"}}, Pos(0, 1)},
      {"line feed moves down only", none, "AB\n", {{0, "AB"}}, Pos(1, 2)},
      {"carriage return", none, "AB\r", {}, Pos(0, 0)},
      {"tab prints one blank", none, "A\tB", {{0, "A B"}}, Pos(0, 3)},
      {"delete shows nothing", none, "A\x7f", {{0, "A"}}, Pos(0, 1)},
      {"bright then normal", none, Esc + "\x1f" + "A" + Esc + "\x19" + "B", {{0, "AB"}}, Pos(0, 2),
       [](classCrtTerminal& t, CrtDefinition&) {
         EXPECT_EQ(t.Cell(0, 0).Attr & 0xFFFF, 0x0Fu);
         EXPECT_EQ(t.Cell(1, 0).Attr & 0xFFFF, 0x07u);
       }},
      {"escape with no ability ends", none, Esc + "AA", {{0, "A"}}, Pos(0, 1)},
      {"AutoCR", [](classCrtTerminal&, CrtDefinition& d) { d.AutoCR = True; }, "AB\n", {}, Pos(1, 0)},
      {"AutoLF", [](classCrtTerminal&, CrtDefinition& d) { d.AutoLF = True; }, "AB\r", {}, Pos(1, 0)},
      {"7-bit", [](classCrtTerminal&, CrtDefinition& d) { d.Ascii = True; }, "\xc1", {{0, "A"}}, Pos(0, 1)},
      {"Dump3 swallows ESC", [](classCrtTerminal&, CrtDefinition& d) { d.SCC[1] = AbDump1 + 2; },
       "Q\x01" + Esc + "ZX", {{0, "QX"}}, Pos(0, 2)},
      {"codes from 123 print", [](classCrtTerminal&, CrtDefinition& d) { d.SCC['A'] = 200; }, "A", {{0, "A"}},
       Pos(0, 1)},
      {"control with no entry dropped", [](classCrtTerminal&, CrtDefinition& d) { d.SCC[1] = 0; }, "\x01" "B",
       {{0, "B"}}, Pos(0, 1)},
      {"entry naming no ability", [](classCrtTerminal&, CrtDefinition& d) { d.ECC[20] = 15; }, Esc + "\x14" "C",
       {{0, "C"}}, Pos(0, 1)},
      {"custom decimal", [](classCrtTerminal&, CrtDefinition& d) { Custom(d, 7, 3, 4, 1, 1); },
       Esc + "\x14" "012040", {{0, ""}}, Pos(12, 40)},
      {"custom hexadecimal", [](classCrtTerminal&, CrtDefinition& d) { Custom(d, 5, 2, 1, 3, 2); },
       Esc + "\x14" "1A0C", {}, Pos(12, 26)},
      {"custom value offsets", [](classCrtTerminal&, CrtDefinition& d) {
         Custom(d, 3, 1, 1, 2, 0);
         d.GotoValueOffsetX = 32, d.GotoValueOffsetY = 100;
       }, Esc + "\x14" "\x25\x30", {}, Pos(0, 5)},
      {"line then column", [](classCrtTerminal&, CrtDefinition& d) { d.ECC[20] = AbGotoYXbinary; },
       Esc + "\x14\x0a\x05", {}, Pos(10, 5)},
      {"plus 32 and modulo", [](classCrtTerminal&, CrtDefinition& d) { d.ECC[20] = AbGotoYXbinaryPlus32; },
       Esc + "\x14" "#" "\x10", {}, Pos(3, 0)},
      {"column modulo width", none, Esc + "\x11" "\x55\x19", {}, Pos(1, 5)},
      {"substitute blank after escape prints nothing",
       [](classCrtTerminal&, CrtDefinition& d) { d.ECC[20] = AbSubstituteBlank; }, "A" + Esc + "\x14", {{0, "A"}},
       Pos(0, 1)},
      {"ability started by NUL", [](classCrtTerminal&, CrtDefinition& d) { d.SCC[0] = AbGotoXYbinary; },
       std::string("\0\x05\x0a", 3), {}, Pos(10, 5)},
      {"custom of size 0", [](classCrtTerminal&, CrtDefinition& d) { Custom(d, 0, 1, 1, 2, 0); },
       Esc + "\x14" "AB", {{0, "AB"}}, Pos(0, 2)},
      {"custom of size -5", [](classCrtTerminal&, CrtDefinition& d) { Custom(d, -5, 1, 1, 2, 0); },
       Esc + "\x14" "AB", {{0, "AB"}}, Pos(0, 2)},
      {"Cromemco at sign", [](classCrtTerminal& t, CrtDefinition& d) {
         d.ECC[20] = AbCromemco3200Attr;
         t.TextHI = t.Bold = t.Italic = t.Strike = True;
         d.TextColor = 2, d.BackColor = 5;
       }, Esc + "\x14@", {}, Pos(0, 0), [](classCrtTerminal& t, CrtDefinition& d) {
         EXPECT_EQ(t.TextHI | t.Bold | t.Italic | t.Strike, False);
         EXPECT_EQ(d.TextColor, 7);
         EXPECT_EQ(d.BackColor, 0);
       }},
      {"Cromemco S", [](classCrtTerminal&, CrtDefinition& d) { d.ECC[20] = AbCromemco3200Attr; },
       Esc + "\x14S" "x", {{0, "x"}}, Pos(0, 1), [](classCrtTerminal& t, CrtDefinition&) {
         EXPECT_EQ(t.TextHI & t.Bold & t.Inverse, True);
         EXPECT_EQ(t.Underline, False);
       }},
      {"Cromemco 7", [](classCrtTerminal&, CrtDefinition& d) {
         d.ECC[20] = AbCromemco3200Attr;
         d.BackColor = 3;
       }, Esc + "\x14" "7", {}, Pos(0, 0), [](classCrtTerminal& t, CrtDefinition& d) {
         EXPECT_EQ(t.Bold & t.Inverse, True);
         EXPECT_EQ(t.TextHI, False);
         EXPECT_EQ(d.TextColor, 3);
       }},
      {"colours and restore", [](classCrtTerminal&, CrtDefinition& d) {
         d.SCC[1] = AbTextColorBlack + 4, d.SCC[2] = AbBackColorBlack + 1, d.SCC[3] = AbSavePosition;
         d.SCC[4] = AbRestorePosition;
       }, "\x01\x02\x03" "ab\x04", {{0, "ab"}}, Pos(0, 0), [](classCrtTerminal& t, CrtDefinition&) {
         EXPECT_EQ(t.Cell(0, 0).Attr & ~CellAttr::CursorMark, 0x14u);
       }},
      {"wrap on at the right edge", [](classCrtTerminal& t, CrtDefinition& d) {
         d.SCC[1] = AbWrapOn;
         t.CursorColumn = 78;
       }, "\x01" "abc", {{0, std::string(78, ' ') + "ab"}, {1, "c"}}, Pos(1, 1)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Name);
    ScriptedHost host;
    ResetCrtDefinitions();
    RecordingCrtHost win;
    classCrtTerminal t(1, &win);
    CrtDefinition& d = t.Def();
    SetDefaultControlAbilities(1);
    SetDefaultEscapeAbilities(1);
    t.InitDefinitions();
    t.ResizeScreen(80, 24);
    t.BlankScreen();
    d.TextColor = 7, d.BackColor = 0;
    r.Before(t, d);
    Feed(t, r.In);
    for (const auto& [line, text] : r.Lines) EXPECT_EQ(LineText(t, line), text) << "line " << line;
    EXPECT_EQ(CursorOf(t), r.Cursor);
    EXPECT_EQ(win.Beeps, r.Beeps);
    if (r.After) r.After(t, d);
    EXPECT_EQ(t.Cell(t.CursorColumn, t.CursorLine).Attr & CellAttr::CursorMark, CellAttr::CursorMark);
  }
  ResetCrtDefinitions();
}

TEST(AbilitiesTest, TheBellReachesTheHost) {
  ScriptedHost host;
  ResetCrtDefinitions();
  classCrtTerminal t(2);
  SetDefaultControlAbilities(2);
  t.ResizeScreen(80, 24);
  t.Outchar(7);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::Beep).size(), 1u);
  ResetCrtDefinitions();
}

}  // namespace
}  // namespace korva::test
