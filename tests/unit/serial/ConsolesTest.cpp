// The console openers, the window arrays and the close sequence.
#include <gtest/gtest.h>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "support/FakeConsoles.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

class ConsolesTest : public ::testing::Test {
 protected:
  ConsolesTest() { ConsoleType = {}; }
  ~ConsolesTest() override { ConsoleType = {}; }
  test::FakeConsoleFactories fakes;
};

TEST_F(ConsolesTest, EachOpenerOpensOnlyItsOwnKind) {
  ConsoleType = {ConsoleTTY, ConsoleCRT, ConsoleCOM, ConsolePrinter, ConsoleSpooler, ConsoleNET};
  OpenConsoles();
  EXPECT_EQ(fakes.log, "tty0.open(0,0) crt1.open(1,0) lpt3.open(3,0) lpt3.online(0) net5.open(5,0) ");
  EXPECT_EQ(fakes.made, 4);
  EXPECT_EQ(TerminalForms[0]->PortNumber(), 0);
  EXPECT_EQ(NetPortForms[5]->PortNumber(), 5);
  EXPECT_EQ(CRTForms[0], nullptr);

  // An opener of another kind, EmptyHook and ports outside 0-15 do nothing.
  fakes.log.clear();
  OpenCRTConsole(0);
  OpenTTYConsole(1);
  EmptyHook(2);
  for (int16_t port : {int16_t{-1}, int16_t{16}}) {
    OpenCRTConsole(port);
    OpenTTYConsole(port);
    OpenPrinterConsole(port);
    OpenNetConsole(port);
  }
  EXPECT_EQ(fakes.log, "");
}

TEST_F(ConsolesTest, ADetachedWindowIsAttachedAgainByTheNextOpener) {
  ConsoleType[4] = ConsoleNET;
  OpenNetConsole(4);
  test::FakeNet* made = fakes.net[4];
  NetPortForms[4] = nullptr;  // what the window's unload does
  OpenNetConsole(4);
  EXPECT_EQ(fakes.made, 1);
  EXPECT_EQ(NetPortForms[4], made);
  EXPECT_EQ(fakes.log, "net4.open(4,0) net4.open(4,0) ");

  // No factory for a kind: nothing opens.
  ConsoleFactories.CRT = nullptr;
  ConsoleType[6] = ConsoleCRT;
  OpenCRTConsole(6);
  EXPECT_EQ(CRTForms[6], nullptr);
}

// A window closed by an event that runs while its own Outchar pumps events
// stays valid until the program ends: the byte's call returns safely.
TEST_F(ConsolesTest, AWindowClosedWhileItsOutcharPumpsReturnsSafely) {
  ScriptedHost host;
  classCable cable;
  ConsoleType[2] = ConsoleTTY;
  OpenTTYConsole(2);
  test::FakeTerminal* tty = fakes.tty[2];
  tty->OnOutchar = [](uint8_t) { PumpEvents(); };
  host.OnPumpEvents = [&] {
    host.OnPumpEvents = nullptr;  // the posted close runs once
    TerminalForms[2]->CloseTerminal();
    ConsoleType[2] = ConsoleNone;
    TerminalForms[2] = nullptr;
  };
  cable.tX(2, 0x31);
  EXPECT_EQ(fakes.log, "tty2.open(2,0) tty2.out(31) tty2.close ");
  EXPECT_FALSE(tty->shown);
  cable.tX(2, 0x32);  // kind None now: dropped

  ConsoleType[2] = ConsoleTTY;
  OpenTTYConsole(2);
  EXPECT_EQ(TerminalForms[2], tty);
  EXPECT_TRUE(tty->shown);
  tty->OnOutchar = nullptr;
  cable.tX(2, 0x33);
  EXPECT_EQ(fakes.log, "tty2.open(2,0) tty2.out(31) tty2.close tty2.open(2,0) tty2.out(33) ");
  EXPECT_EQ(fakes.made, 1);
}

}  // namespace
}  // namespace korva
