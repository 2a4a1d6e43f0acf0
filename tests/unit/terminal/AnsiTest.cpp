// The ANSI receiver: sequences in, screen, cursor, attributes and replies out;
// and a comparison with libvterm over generated streams of the sequences both
// understand alike.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "support/ScriptedHost.h"
#include "terminal/AnsiKeys.h"
#include "terminal/CrtTerminal.h"
#include "terminal/TerminalAbility.h"
#include "unit/terminal/TerminalDump.h"

#ifdef KORVA_HAVE_VTERM
#include <vterm.h>
#endif

namespace korva::test {
namespace {

const std::string Esc = "\x1b";
const std::string Csi = "\x1b[";

class AnsiTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(80, 24); }
  void TearDown() override { ResetCrtDefinitions(); }
  void Fresh(int columns, int lines) {
    ResetCrtDefinitions();
    t.AnsiReset();
    t.EscapePending = False, t.PendingChar = 0, t.AbilityInProgress = false;
    t.TextHI = t.BackHI = t.Inverse = t.Bold = t.Strike = t.Underline = t.Italic = False;
    SetDefaultControlAbilities(3);
    SetDefaultEscapeAbilities(3);
    t.InitDefinitions();
    t.SetANSI(True);
    t.BlankScreen();
    t.ResizeScreen(columns, lines);
    t.CursorLine = t.CursorColumn = 0;
    t.Def().TextColor = 7, t.Def().BackColor = 0;
    win.Clear();
  }

  ScriptedHost host;
  RecordingCrtHost win;
  classCrtTerminal t{3, &win};
};

struct AnsiRow {
  const char* Name;
  std::function<void(classCrtTerminal&)> Before;
  std::string In;
  Pos Cursor;
  std::function<void(classCrtTerminal&, RecordingCrtHost&)> Check = nullptr;
};

TEST_F(AnsiTest, SequencesAndWhatTheyDo) {
  auto at = [](int line, int column) {
    return [=](classCrtTerminal& t) { t.CursorLine = static_cast<int16_t>(line), t.CursorColumn = static_cast<int16_t>(column); };
  };
  auto text = [](std::vector<std::pair<int, std::string>> lines) {
    return [=](classCrtTerminal& t, RecordingCrtHost&) {
      for (const auto& [l, s] : lines) EXPECT_EQ(LineText(t, l), s) << "line " << l;
    };
  };
  auto fill = [](int line, int column) {
    return [=](classCrtTerminal& t) {
      for (int l = 0; l <= t.MaxLine; ++l) t.Cell(0, l).Char = static_cast<uint8_t>('a' + l), t.Cell(1, l).Char = 'x';
      t.CursorLine = static_cast<int16_t>(line), t.CursorColumn = static_cast<int16_t>(column);
    };
  };
  const std::vector<AnsiRow> rows = {
      {"colours", nullptr, Csi + "1;31;44mx", Pos(0, 1),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Cell(0, 0).Attr, 0x1Cu); }},
      {"reset", [](classCrtTerminal& t) { t.Bold = t.Inverse = True, t.Def().TextColor = 2; }, Csi + "0mx",
       Pos(0, 1), [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Cell(0, 0).Attr, 0x07u); }},
      {"m alone changes nothing", [](classCrtTerminal& t) { t.Bold = True; }, Csi + "mx", Pos(0, 1),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Cell(0, 0).Attr, 0x4007u); }},
      {"5 bolds, 8 hides, 7 inverts", [](classCrtTerminal& t) { t.Def().BackColor = 3; }, Csi + "5;8;7mx",
       Pos(0, 1), [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Cell(0, 0).Attr, 0x4133u); }},
      {"position report", at(3, 10), Csi + "6n", Pos(3, 10),
       [](classCrtTerminal&, RecordingCrtHost& w) {
         EXPECT_EQ(w.Sent, (std::vector<uint8_t>{0x1B, 0x5B, 0x30, 0x34, 0x3B, 0x31, 0x31, 0x52}));
       }},
      {"wrap off after ?", nullptr, Csi + "?7l", Pos(0, 0),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Def().NoWrap, True); }},
      {"wrap on after =", nullptr, Csi + "=7h", Pos(0, 0),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Def().NoWrap, False); }},
      {"wrap off after =", [](classCrtTerminal& t) { t.Def().NoWrap = False; }, Csi + "=7l", Pos(0, 0),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Def().NoWrap, True); }},
      {"?25l nothing", [](classCrtTerminal& t) { t.Def().NoWrap = False; }, Csi + "?25l", Pos(0, 0),
       [](classCrtTerminal& t, RecordingCrtHost&) { EXPECT_EQ(t.Def().NoWrap, False); }},
      {"ESC X to the abilities", [](classCrtTerminal& t) { t.Def().ECC['X'] = AbHomeCursor; t.CursorLine = 5; },
       Esc + "X", Pos(0, 0)},
      {"ESC ESC [ does not restart", nullptr, Esc + Esc + "[2J", Pos(0, 3), text({{0, "[2J"}})},
      {"65th parameter character printed", nullptr, Csi + std::string(65, '1') + "H", Pos(0, 2),
       text({{0, "1H"}})},
      {"quote inside a number abandons", nullptr, Csi + "1\"AB", Pos(0, 3), text({{0, "\"AB"}})},
      {"home", at(5, 5), Csi + "H", Pos(0, 0)},
      {"99;99H stays", at(5, 5), Csi + "99;99H", Pos(5, 5)},
      {"f positions", nullptr, Csi + "3;4f", Pos(2, 3)},
      {"0A stays, A moves one", at(5, 5), Csi + "0A" + Csi + "A", Pos(4, 5)},
      {"B C D clamp", at(5, 5), Csi + "30B" + Csi + "200C" + Csi + "2D", Pos(23, 77)},
      {"1J nothing", fill(3, 1), Csi + "1J", Pos(3, 1), text({{0, "ax"}, {3, "dx"}})},
      {"J from the cursor", fill(3, 1), Csi + "J", Pos(3, 1), text({{2, "cx"}, {3, "d"}, {4, ""}})},
      {"2J clears and homes", fill(3, 1), Csi + "2J", Pos(0, 0), text({{0, ""}, {23, ""}})},
      {"2K acts as K", fill(3, 1), Csi + "2K", Pos(3, 1), text({{3, "d"}})},
      {"0L nothing", fill(3, 1), Csi + "0L", Pos(3, 1), text({{3, "dx"}, {4, "ex"}})},
      {"2L", fill(3, 1), Csi + "2L", Pos(3, 0), text({{3, ""}, {4, ""}, {5, "dx"}})},
      {"M", fill(3, 1), Csi + "M", Pos(3, 0), text({{3, "ex"}, {23, ""}})},
      {"P and @", [](classCrtTerminal& t) { Feed(t, "abcdef"); t.CursorColumn = 1; }, Csi + "2P" + Csi + "@",
       Pos(0, 1), text({{0, "a def"}})},
      {"X", [](classCrtTerminal& t) { Feed(t, "abcdef"); t.CursorColumn = 1; }, Csi + "3X", Pos(0, 1),
       text({{0, "a   ef"}})},
      {"save and restore", at(4, 7), Csi + "s" + Csi + "H" + Csi + "u", Pos(4, 7)},
  };
  for (const AnsiRow& r : rows) {
    SCOPED_TRACE(r.Name);
    Fresh(80, 24);
    if (r.Before) r.Before(t);
    win.Clear();
    Feed(t, r.In);
    EXPECT_EQ(CursorOf(t), r.Cursor);
    if (r.Check) r.Check(t, win);
    EXPECT_EQ(t.AnsiState, 0);
  }
  // A wide screen: three digits reach column 119, four count 0.
  Fresh(133, 24);
  Feed(t, Csi + "1;120H");
  EXPECT_EQ(CursorOf(t), Pos(0, 119));
  Feed(t, Csi + "1;1200H");
  EXPECT_EQ(CursorOf(t), Pos(0, 0));
}

TEST_F(AnsiTest, RepeatedLineEditsPaintOnce) {
  for (const char* seq : {"999M", "999L", "999P"}) {
    t.CursorLine = 10, t.CursorColumn = 5;
    win.Clear();
    Feed(t, Csi + seq);
    EXPECT_EQ(win.Regions.size(), 1u) << seq;
  }
}

TEST_F(AnsiTest, KeysRedefinedByTheGuest) {
  struct KeyRow {
    int16_t Code1, Code2;
    std::function<KeyString&(CrtDefinition&)> Key;
  };
  const std::vector<KeyRow> rows = {
      {0, 59, [](CrtDefinition& d) -> KeyString& { return d.FunctionKeys[0][ModNone]; }},
      {0, 75, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavLeft][ModNone]; }},
      {224, 75, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavLeft][ModNone]; }},
      {0, 77, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavRight][ModNone]; }},
      {0, 133, [](CrtDefinition& d) -> KeyString& { return d.FunctionKeys[10][ModNone]; }},
      {0, 134, [](CrtDefinition& d) -> KeyString& { return d.FunctionKeys[11][ModNone]; }},
      {0, 140, [](CrtDefinition& d) -> KeyString& { return d.FunctionKeys[11][ModAlt]; }},
      {0, 86, [](CrtDefinition& d) -> KeyString& { return d.FunctionKeys[2][ModShift]; }},
      {224, 151, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavHome][ModAlt]; }},
      {0, 147, [](CrtDefinition& d) -> KeyString& { return d.EditingKeys[EditDelete][ModCtrl]; }},
      {8, 1234, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavBackSpace][ModNone]; }},
      {9, 0, [](CrtDefinition& d) -> KeyString& { return d.NavigationKeys[NavTab][ModNone]; }},
  };
  for (const KeyRow& r : rows) {
    ResetCrtDefinitions();
    AnsiRedefineKey(3, r.Code1, r.Code2, "new");
    EXPECT_EQ(r.Key(CrtDefinitions[3]), "new") << r.Code1 << ";" << r.Code2;
  }
  for (auto [c1, c2] : {std::pair{65, 0}, {224, 59}, {0, 151}, {0, 160}, {1, 59}}) {
    ResetCrtDefinitions();
    AnsiRedefineKey(3, static_cast<int16_t>(c1), static_cast<int16_t>(c2), "new");
    const CrtDefinition& d = CrtDefinitions[3];
    bool any = false;
    for (const auto& row : d.NavigationKeys) for (const auto& s : row) any |= !s.empty();
    for (const auto& row : d.FunctionKeys) for (const auto& s : row) any |= !s.empty();
    for (const auto& row : d.EditingKeys) for (const auto& s : row) any |= !s.empty();
    EXPECT_FALSE(any) << c1 << ";" << c2;
  }
  // Through the receiver: the quoted text as it is, without later parameters.
  Fresh(80, 24);
  Feed(t, Csi + "0;59;\"dir;x\"p");
  EXPECT_EQ(t.Def().FunctionKeys[0][ModNone], "dir;x");
  Feed(t, Csi + "0;59;\"DIR\";13p");
  EXPECT_EQ(t.Def().FunctionKeys[0][ModNone], "DIR");
  EXPECT_EQ(LineText(t, 0), "");
}

#ifdef KORVA_HAVE_VTERM

// The sequences both terminals treat alike, generated from the reference
// terminal's cursor so that the cursor never rests on the last column (where the
// two differ in when they wrap).
class StreamMaker {
 public:
  StreamMaker(uint32_t seed, int lines, int columns) : rng_(seed), lines_(lines), columns_(columns) {}
  std::string Next(int column) {
    auto n = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); };
    switch (n(0, 16)) {
      case 0:
      case 1:
      case 2: {
        std::string s;
        for (int k = n(1, std::max(1, columns_ - 2 - column)); k > 0 && column + static_cast<int>(s.size()) < columns_ - 2; --k)
          s.push_back(static_cast<char>(n(33, 126)));
        return s;
      }
      case 3: return "\r";
      case 4: return "\n";
      case 5: return column > 0 ? "\b" : "\r";
      case 6: return Csi + std::to_string(n(1, lines_)) + ";" + std::to_string(n(1, columns_ - 1)) + "H";
      case 7: return n(0, 1) ? Csi + "H" : Csi + std::to_string(n(1, 30)) + "A";
      case 8: return Csi + std::to_string(n(1, 30)) + "B";
      case 9: return Csi + std::to_string(n(1, std::max(1, columns_ - 2 - column))) + (column < columns_ - 2 ? "C" : "D");
      case 10: return Csi + std::to_string(n(1, 90)) + "D";
      case 11: return n(0, 3) ? Csi + (n(0, 1) ? "J" : "0J") : Csi + "2J" + Csi + "H";
      case 12: return Csi + "K";
      case 13: return Csi + std::to_string(n(1, 5)) + (n(0, 1) ? "L" : "M") + "\r";
      case 14: return Csi + std::to_string(n(1, 12)) + "P";
      case 15: return Csi + std::to_string(n(1, 12)) + "@";
      default: return Csi + std::to_string(n(1, 12)) + "X";
    }
  }

 private:
  std::mt19937 rng_;
  int lines_, columns_;
};

TEST_F(AnsiTest, AgreesWithLibvterm) {
  constexpr int kLines = 24, kColumns = 80;
  VTerm* vt = vterm_new(kLines, kColumns);
  vterm_set_utf8(vt, 0);
  VTermScreen* screen = vterm_obtain_screen(vt);
  VTermState* state = vterm_obtain_state(vt);
  auto vtCursor = [&] {
    VTermPos p;
    vterm_state_get_cursorpos(state, &p);
    return Pos(p.row, p.col);
  };
  auto vtText = [&] {
    std::string s;
    for (int r = 0; r < kLines; ++r) {
      for (int c = 0; c < kColumns; ++c) {
        VTermScreenCell cell;
        vterm_screen_get_cell(screen, VTermPos{r, c}, &cell);
        s.push_back(cell.chars[0] ? static_cast<char>(cell.chars[0]) : ' ');
      }
      s.push_back('\n');
    }
    return s;
  };
  int written = 0;  // streams that leave text on the screen
  for (uint32_t seed = 1; seed <= 10000; ++seed) {
    vterm_screen_reset(screen, 1);
    Fresh(kColumns, kLines);
    StreamMaker maker(seed, kLines, kColumns);
    std::string stream;
    const int ops = 8 + static_cast<int>(seed % 24);
    for (int i = 0; i < ops; ++i) {
      const Pos c = vtCursor();
      const std::string piece = maker.Next(c.second);
      vterm_input_write(vt, piece.data(), piece.size());
      Feed(t, piece);
      stream += piece;
    }
    const std::string ours = ScreenText(t);
    const std::string theirs = vtText();
    written += ours.find_first_not_of(" \n") != std::string::npos;
    if (ours != theirs || CursorOf(t) != vtCursor()) {
      std::string shown;
      for (char ch : stream) shown += ch == 27 ? std::string("<ESC>") : ch == '\r' ? "<CR>" : ch == '\n' ? "<LF>" : ch == '\b' ? "<BS>" : std::string(1, ch);
      ADD_FAILURE() << "seed " << seed << ": " << shown << "\nours\n" << ours << "libvterm\n" << theirs << "cursor "
                    << CursorOf(t).first << "," << CursorOf(t).second << " / " << vtCursor().first << ","
                    << vtCursor().second;
      break;
    }
  }
  EXPECT_GT(written, 5000);
  vterm_free(vt);
}

#endif

}  // namespace
}  // namespace korva::test
