// Guest programs talking to a headless CRT terminal on port 1 through serial
// card 0, channel B.
#include <gtest/gtest.h>

#include "board/SCM.h"
#include "bus/Memory.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "support/GuestProgram.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "terminal/CrtTerminal.h"
#include "unit/terminal/TerminalDump.h"

namespace korva::test {
namespace {

// The CRT console of a port without a window: bytes from the cable go to the
// terminal, which answers into the port's receive queue.
class HeadlessCrt final : public CRTConsoleWindow {
 public:
  int16_t PortNumber() const override { return term.PortNumber(); }
  void PortNumber(int16_t port) override { term.PortNumber(port); }
  void Outchar(uint8_t byte) override { term.Outchar(byte); }
  void OpenCRT(int16_t port, int16_t) override { Cable.Connect(port, True); }
  void CloseCRT() override { Cable.Connect(term.PortNumber(), False); }
  void Unload() override {}
  classCrtTerminal term{1};
};

class CrtGuestTest : public ::testing::Test {
 protected:
  CrtGuestTest() {
    ConsoleType = {};
    for (uint32_t r = 0; r < 8; ++r)
      for (uint32_t mirror : {0u, 0x10u})
        m.SetDeviceCode(0xF1C1C0 + mirror + 2 * r, 0xF1C1C1 + mirror + 2 * r, static_cast<uint8_t>(DcMvme400C0 + r));
    m.SetDeviceCode(0xF19F10, 0xF19F11, DcCR6);
    InitScmState();
    ResetCrtDefinitions();
    SetDefaultControlAbilities(1);
    SetDefaultEscapeAbilities(1);
    crt.term.InitDefinitions();
    crt.term.BlankScreen();
    crt.term.ResizeScreen(80, 24);
    crt.term.Def().TextColor = 7;
    ConsoleType[1] = ConsoleCRT;
    CRTForms[1] = &crt;
    crt.OpenCRT(1, 0);
  }
  ~CrtGuestTest() override {
    crt.CloseCRT();
    CRTForms[1] = nullptr;
    ConsoleType = {};
    ResetCrtDefinitions();
  }
  TestMachine m;
  ScriptedHost host;
  HeadlessCrt crt;
};

TEST_F(CrtGuestTest, BinaryGotoFromTheGuest) {
  crt.term.SetANSI(False);
  RunSelfCheckingProgram(m, "crt_goto.s19", 1);
  EXPECT_EQ(crt.term.Cell(5, 10).Char, 'X');
  EXPECT_EQ(CursorOf(crt.term), Pos(10, 6));
  EXPECT_EQ(ScreenText(crt.term).find_first_not_of(" \n"), static_cast<size_t>(10 * 81 + 5));
}

TEST_F(CrtGuestTest, CursorReportReachesTheGuest) {
  crt.term.SetANSI(True);
  RunSelfCheckingProgram(m, "crt_report.s19", 2);
  EXPECT_EQ(CursorOf(crt.term), Pos(9, 19));
}

}  // namespace
}  // namespace korva::test
