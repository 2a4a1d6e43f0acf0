// Applying the console assignment over fake windows (and a real TTY console):
// the tick rule, the CRT limit, the closes in their orders, the openers, and
// kinds carried through by hidden or disabled boxes.
#include <gtest/gtest.h>

#include <memory>

#include "serial/Cable.h"
#include "serial/ConsoleAssignment.h"
#include "serial/Consoles.h"
#include "serial/Terminal.h"
#include "support/FakeConsoles.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

class ConsoleAssignmentTest : public ::testing::Test {
 protected:
  ConsoleAssignmentTest() {
    ConsoleType = {};
    Cable = classCable();
  }
  ~ConsoleAssignmentTest() override {
    ConsoleType = {};
    Cable = classCable();
  }
  // TTY windows are real consoles, the other kinds fakes.
  void RealTerminals() {
    fakes_.tty = {};
    ConsoleFactories.Terminal = [](int16_t) { return std::make_unique<TerminalConsole>(); };
  }
  ScriptedHost host_;
  test::FakeConsoleFactories fakes_;
};

TEST_F(ConsoleAssignmentTest, TickingCRTOverTTYClosesTheTTYAndOpensTheCRT) {
  RealTerminals();
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  ASSERT_NE(TerminalForms[0], nullptr);
  auto* tty = static_cast<TerminalConsole*>(TerminalForms[0]);
  EXPECT_EQ(Cable.DCD(0), True);

  ConsoleTicks ticks = ShowConsoleTypes();
  EXPECT_TRUE(ticks[0][ColumnTTY]);
  TickConsole(ticks, 0, ColumnCRT, true);
  EXPECT_EQ(ticks[0], (std::array<bool, ConsoleColumns>{true, false, false, false, false, false}));
  TickConsole(ticks, 0, ColumnCRT, false);  // unticking leaves the row empty
  EXPECT_EQ(ticks[0], (std::array<bool, ConsoleColumns>{}));
  TickConsole(ticks, 0, ColumnTTY, true);
  TickConsole(ticks, 0, ColumnCRT, true);
  ASSERT_TRUE(ValidateConsoles(ticks));
  fakes_.log.clear();
  ApplyConsoleTypes(ticks);
  EXPECT_EQ(ConsoleType[0], ConsoleCRT);
  EXPECT_EQ(TerminalForms[0], nullptr);
  EXPECT_FALSE(tty->Loaded());
  EXPECT_EQ(Cable.DCD(0), False);
  EXPECT_EQ(Cable.CTS(0), False);
  EXPECT_EQ(fakes_.log, "crt0.open(0,0) ");

}

TEST_F(ConsoleAssignmentTest, AfterTheTTYsCloseBoxThePortShowsNoTick) {
  RealTerminals();
  ConsoleType[2] = ConsoleTTY;
  OpenConsoles();
  EXPECT_TRUE(ShowConsoleTypes()[2][ColumnTTY]);
  static_cast<TerminalConsole*>(TerminalForms[2])->Unload();  // the close box
  EXPECT_EQ(ShowConsoleTypes()[2], (std::array<bool, ConsoleColumns>{}));
}

TEST_F(ConsoleAssignmentTest, ApplyClosesTheOtherKindsInTheirOrders) {
  // Port 1 with a window of every kind attached.
  for (int32_t kind : {ConsoleCRT, ConsolePrinter, ConsoleTTY, ConsoleNET}) {
    ConsoleType[1] = kind;
    OpenConsoles();
  }
  ConsoleType[1] = ConsoleCRT;
  ConsoleTicks ticks = ShowConsoleTypes();
  TickConsole(ticks, 1, ColumnCRT, false);
  fakes_.log.clear();
  ApplyConsoleTypes(ticks);
  EXPECT_EQ(ConsoleType[1], ConsoleNone);
  EXPECT_EQ(fakes_.log, "crt1.unload lpt1.unload tty1.close net1.unload ");
  EXPECT_EQ(CRTForms[1], nullptr);
  EXPECT_EQ(NetPortForms[1], nullptr);

  struct Case {
    int column;
    const char* log;
  };
  for (const Case& c : {Case{ColumnNET, "crt1.unload lpt1.unload tty1.close net1.open(1,0) "},
                        Case{ColumnTTY, "crt1.unload lpt1.unload net1.unload tty1.open(1,0) "},
                        Case{ColumnCRT, "tty1.close lpt1.unload net1.unload crt1.open(1,0) "},
                        Case{ColumnPrinter, "crt1.unload tty1.close net1.unload lpt1.open(1,0) lpt1.online(0) "},
                        Case{ColumnCOM, "crt1.unload lpt1.unload tty1.close net1.unload "}}) {
    for (int32_t kind : {ConsoleCRT, ConsolePrinter, ConsoleTTY, ConsoleNET}) {
      ConsoleType[1] = kind;
      OpenConsoles();
    }
    ticks = {};
    TickConsole(ticks, 1, c.column, true);
    fakes_.log.clear();
    ApplyConsoleTypes(ticks);
    EXPECT_EQ(ConsoleType[1], ColumnKind[static_cast<size_t>(c.column)]);
    EXPECT_EQ(fakes_.log, c.log);
  }
}

TEST_F(ConsoleAssignmentTest, ApplyingWithoutAChangeOpensTheTTYAgain) {
  RealTerminals();
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  auto* tty = static_cast<TerminalConsole*>(TerminalForms[0]);
  tty->SetOnLine(false);
  Cable.RX(0, 'x');
  ApplyConsoleTypes(ShowConsoleTypes());
  EXPECT_EQ(TerminalForms[0], tty);
  EXPECT_TRUE(tty->Loaded());
  EXPECT_EQ(Cable.DCD(0), True);
  EXPECT_EQ(Cable.CTS(0), True);
  EXPECT_EQ(Cable.RXavailable(0), False);
  EXPECT_EQ(tty->OnLineCaption(), "On Line");
}

TEST_F(ConsoleAssignmentTest, TooManyCRTsWarnAndChangeNothing) {
  ConsoleType[14] = ConsoleCRT;
  ConsoleTicks ticks = ShowConsoleTypes();
  for (int p = 0; p < 4; ++p) TickConsole(ticks, p, ColumnCRT, true);
  EXPECT_FALSE(ValidateConsoles(ticks));
  ASSERT_EQ(host_.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox)[0].Text,
            "You have specified too many CRTs - Current Maximum is 4");
  EXPECT_EQ(host_.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Warning - CRT count too high");
  TickConsole(ticks, 14, ColumnCRT, false);
  EXPECT_TRUE(ValidateConsoles(ticks));
}

TEST_F(ConsoleAssignmentTest, KindsWithoutABoxToTickAreCarriedThrough) {
  ConsoleType[0] = ConsoleCOM;
  ConsoleType[8] = ConsoleSpooler;
  ConsoleType[5] = ConsoleTTY;  // a hidden row
  ConsoleType[6] = 9;           // no such kind
  const ConsoleTicks ticks = ShowConsoleTypes();
  EXPECT_TRUE(ticks[0][ColumnCOM]);
  EXPECT_TRUE(ticks[8][ColumnSpooler]);
  EXPECT_EQ(ticks[6], (std::array<bool, ConsoleColumns>{}));
  ApplyConsoleTypes(ticks);
  EXPECT_EQ(ConsoleType[0], ConsoleCOM);
  EXPECT_EQ(ConsoleType[8], ConsoleSpooler);
  EXPECT_EQ(ConsoleType[5], ConsoleTTY);
  EXPECT_EQ(ConsoleType[6], ConsoleNone);
  EXPECT_EQ(fakes_.log, "tty5.open(5,0) ");
}

}  // namespace
}  // namespace korva
