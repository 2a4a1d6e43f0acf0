// The TTY console without a window: what the guest's bytes show, what typed
// and pasted text sends, the port's lines, the input boxes and the options kept
// in the settings across a close and a reopen.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MVME400.h"
#include "serial/Terminal.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

class TerminalTest : public ::testing::Test {
 protected:
  TerminalTest() {
    Cable = classCable();
    ConsoleType = {};
  }
  ~TerminalTest() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    Cable = classCable();
  }
  // The bytes waiting in a port's receive queue.
  static std::string Queued(int16_t port) {
    std::string out;
    while (Cable.RXavailable(port)) out += static_cast<char>(Cable.RX(port));
    return out;
  }
  static void Send(TerminalConsole& tty, const std::string& bytes) {
    for (const char c : bytes) tty.Outchar(static_cast<uint8_t>(c));
  }
  ScriptedHost host_;
};

TEST_F(TerminalTest, GuestBytesShowByTheOptions) {
  struct Case {
    const char* what;
    bool marks, hex, rip, ascii, wrap;
    int16_t newlineIs;
    std::string in, text;
    int32_t column;
  };
  const std::string x80(80, 'x'), x78(78, 'x');
  const auto Breaks = [](int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\r\n";
    return s;
  };
  const std::vector<Case> cases = {
      {"CR shown and breaking", true, false, false, false, false, 0, "\r", "<cr>\r\n", 0},
      {"TAB shown, then to the stop", true, false, false, false, false, 1, "\t", "<tab>   ", 8},
      {"NUL and DEL named", true, false, false, false, false, 1, std::string("\0\x7F", 2), "<NUL><DEL>", 10},
      {"hex names, high byte only in hex", true, true, false, false, false, 1, std::string("\0\x1B\xC1", 3),
       "<00><1B><C1>", 12},
      {"LF newline: CRs neither show nor break", false, false, false, false, false, 1, "\r\n\r\n", "\r\n\r\n", 0},
      {"ten LFs keep four newlines, FF a fifth", false, false, true, false, false, 1,
       std::string(10, '\n') + "\f", Breaks(5), 0},
      {"another byte starts a new run", false, false, true, false, false, 1,
       std::string(5, '\n') + "a" + std::string(5, '\n'), Breaks(4) + "a" + Breaks(4), 0},
      {"7 bits: C1 shows A", false, false, false, true, false, 1, "\xC1", "A", 1},
      {"8 bits: C1 as its character", false, false, false, false, false, 1, "\xC1", "\xC1", 1},
      {"a break after the 80th printable", false, false, false, false, true, 1, x80 + "y", x80 + "\r\ny", 1},
      {"a TAB crossing 80 breaks at once", false, false, false, false, true, 1, x78 + "\t", x78 + "  \r\n", 0},
      {"BS after a newline keeps the break", false, false, false, false, false, 1, "a\n\b", "a\r\n", 0},
      {"BS on an empty text", false, false, false, false, false, 1, "\b", "", 0},
      {"BS removes the last character", false, false, false, false, false, 1, "ab\b", "a", 1},
      {"unnamed controls show nothing", false, false, false, false, false, 1, std::string("\x01\x1B\x7F\0", 4), "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TerminalConsole tty;
    tty.ShowCNTR = c.marks;
    tty.InHex = c.hex;
    tty.RipCRLFs = c.rip;
    tty.Ascii = c.ascii;
    tty.NoWrap = !c.wrap;
    tty.NewlineIs = c.newlineIs;
    Send(tty, c.in);
    EXPECT_EQ(tty.Text(), c.text);
    EXPECT_EQ(tty.Column, c.column);
  }
}

TEST_F(TerminalTest, BellBeepsAndTheTextKeepsItsCap) {
  TerminalConsole tty;
  tty.Outchar(7);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::Beep).size(), 1u);
  EXPECT_EQ(tty.Text(), "");

  Send(tty, std::string(24000, 'a'));
  EXPECT_EQ(tty.Text().size(), 24000u);
  const uint64_t rewrites = tty.Rewrites();
  tty.Outchar('b');  // 24,001 would pass the cap: the oldest 1,001 go
  EXPECT_EQ(tty.Text().size(), 23000u);
  EXPECT_EQ(tty.Text().back(), 'b');
  EXPECT_GT(tty.Rewrites(), rewrites);
}

TEST_F(TerminalTest, TypedKeysGoToThePortWithParityAndCtrl) {
  TerminalConsole tty;
  tty.PortNumber(1);
  struct Case {
    bool ascii;
    int16_t parity;
    uint8_t typed, sent;
  };
  for (const Case& c : std::vector<Case>{{true, 2, 'C', 0xC3},
                                          {true, 3, 'C', 0x43},
                                          {true, 2, 'A', 0x41},
                                          {true, 3, 'A', 0xC1},
                                          {true, 1, 'C', 0xC3},
                                          {true, 0, 0xC3, 0x43},
                                          {true, 9, 'C', 0x00},
                                          {false, 2, 'C', 'C'},
                                          {false, 3, 0xC3, 0xC3}}) {
    tty.SetASCII(c.ascii);
    tty.SetParity(c.parity);
    tty.KeyPress(c.typed);
    EXPECT_EQ(Queued(1), std::string(1, static_cast<char>(c.sent))) << int(c.typed) << " parity " << c.parity;
  }
  tty.SetASCII(false);
  tty.KeyDown('A', TerminalConsole::CtrlKey);
  for (const uint8_t c : {'A', '_', 'a', '{', '~', '\x01'}) tty.KeyPress(c);
  EXPECT_EQ(Queued(1), std::string("\x01\x1F\x01\x1B\x1E\x01"));
  tty.KeyDown('A', 0);
  tty.KeyPress('a');
  EXPECT_EQ(Queued(1), "a");
}

TEST_F(TerminalTest, PauseIsABreakWhileHeld) {
  TerminalConsole tty;
  tty.PortNumber(0);
  Cable.RX(0, 'x');
  tty.KeyDown(TerminalConsole::KeyPause, TerminalConsole::ShiftKey);  // with Shift: nothing
  EXPECT_EQ(Cable.Break(0), False);
  EXPECT_EQ(Cable.RXavailable(0), True);
  tty.KeyDown(TerminalConsole::KeyPause, 0);
  EXPECT_EQ(Cable.Break(0), True);
  EXPECT_EQ(Cable.RXavailable(0), False);  // the queue flushed first
  Cable.RX(0, 'y');
  tty.KeyUp(TerminalConsole::KeyPause, 0);
  EXPECT_EQ(Cable.Break(0), False);
  EXPECT_EQ(Cable.RXavailable(0), False);

  // Card 0 sees the break at its next poll and clears it at the third after release.
  MVME400C0.Reset();
  for (int i = 0; i < 3; ++i) MVME400C0.DoTxEandRxE();  // the break above ends
  const auto breakBit = [] { return (MVME400C0.StatusA() & 0x80) != 0; };
  tty.KeyDown(TerminalConsole::KeyPause, 0);
  EXPECT_FALSE(breakBit());
  MVME400C0.DoTxEandRxE();
  EXPECT_TRUE(breakBit());
  tty.KeyUp(TerminalConsole::KeyPause, 0);
  std::vector<bool> afterRelease;
  for (int i = 0; i < 3; ++i) {
    MVME400C0.DoTxEandRxE();
    afterRelease.push_back(breakBit());
  }
  EXPECT_EQ(afterRelease, (std::vector<bool>{true, true, false}));
  MVME400C0.Reset();
}

TEST_F(TerminalTest, PasteSendsUpTo4095CharactersWithoutLineFeeds) {
  TerminalConsole tty;
  tty.PortNumber(2);
  tty.SetASCII(true);
  tty.SetParity(1);
  tty.PasteInput("ab\r\nc");
  EXPECT_EQ(Queued(2), "\xE1\xE2\x8D\xE3");

  tty.SetASCII(false);
  std::string big(4096, 'q');
  big += "\n\n";
  tty.PasteInput(big);
  ASSERT_EQ(host_.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox)[0].Text, "Pasted Data > 4095");
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Too much Paste");
  EXPECT_EQ(Queued(2), "");
  big.erase(0, 1);
  tty.PasteInput(big);
  EXPECT_EQ(Queued(2).size(), 4095u);
}

TEST_F(TerminalTest, NumberBoxesAskAgainAndCancelKeeps) {
  TerminalConsole tty;
  host_.AnswerInput("0");
  host_.AnswerInput("133");
  host_.AnswerInput("12");
  tty.SetTabs();
  EXPECT_EQ(tty.TabSpacing, 12);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox).size(), 2u);
  const HostCall ask = host_.CallsOf(HostCall::Kind::InputBox)[0];
  EXPECT_EQ(ask.Title, "Set Tabs");
  EXPECT_EQ(ask.Text, "Input Enter spacing between tabs  (1-132) ");
  EXPECT_EQ(ask.Value, "8");

  host_.AnswerInput("15");
  host_.AnswerInput("");
  tty.CustomLineLength();
  EXPECT_EQ(tty.LineLength, 80);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::InputBox).back().Title, "Custom Size");
  host_.AnswerInput("132");
  tty.CustomLineLength();
  EXPECT_EQ(tty.LineLength, 132);
}

TEST_F(TerminalTest, CloseBoxAndReopenKeepTheOptionsNotTheText) {
  ConsoleFactories.Terminal = [](int16_t) { return std::make_unique<TerminalConsole>(); };
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  auto* tty = static_cast<TerminalConsole*>(TerminalForms[0]);
  ASSERT_NE(tty, nullptr);
  EXPECT_EQ(MVME400C0.StatusA() & 0x28, 0x28);
  EXPECT_EQ(tty->Caption(), "DEV0 - TTY");

  tty->SetOnLine(false);  // DCD, then CTS
  EXPECT_EQ(tty->OnLineCaption(), "Off Line");
  EXPECT_EQ(Cable.DCD(0), False);
  tty->ToggleOnLine();
  EXPECT_EQ(Cable.CTS(0), True);

  tty->SetASCII(true);
  tty->SetParity(3);
  tty->SetNewlineIs(0);
  tty->TabSpacing = 4;
  tty->NoWrap = false;
  tty->LineLength = 132;
  tty->ShowCNTR = true;
  Send(*tty, "hello");
  tty->Unload();  // the close box
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(TerminalForms[0], nullptr);
  EXPECT_EQ(MVME400C0.StatusA() & 0x28, 0);  // card 0 reads DCD and CTS down
  const std::vector<std::pair<const char*, const char*>> saved = {
      {"Ascii", "True"},     {"Parity", "3"},   {"NewlineIs", "0"},
      {"TabSpacing", "4"},   {"NoWrap", "False"}, {"LineLength", "132"}};
  for (const auto& [key, value] : saved) EXPECT_EQ(host_.StoredSetting("TTY0", key), value) << key;

  ConsoleType[0] = ConsoleTTY;
  OpenTTYConsole(0);
  ASSERT_EQ(TerminalForms[0], tty);  // the same object, loaded afresh
  EXPECT_EQ(tty->Text(), "");
  EXPECT_FALSE(tty->ShowCNTR);
  EXPECT_TRUE(tty->Ascii);
  EXPECT_EQ(tty->Parity, 3);
  EXPECT_EQ(tty->NewlineIs, 0);
  EXPECT_EQ(tty->LineLength, 132);

  // The console dialog changes the kind first: closing then leaves it.
  ConsoleType[0] = ConsoleCRT;
  tty->CloseTerminal();
  EXPECT_EQ(ConsoleType[0], ConsoleCRT);
  EXPECT_EQ(Cable.DCD(0), False);

  // Hand-written values outside their ranges load as the defaults.
  for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
           {"TabSpacing", "0"}, {"Parity", "9"}, {"LineLength", "5"}, {"NewlineIs", "2"}})
    host_.PresetSetting("TTY0", key, value);
  ConsoleType[0] = ConsoleTTY;
  OpenTTYConsole(0);
  EXPECT_EQ(tty->TabSpacing, 8);
  EXPECT_EQ(tty->Parity, 0);
  EXPECT_EQ(tty->LineLength, 80);
  EXPECT_EQ(tty->NewlineIs, 1);
}

}  // namespace
}  // namespace korva
