// The PIAs: the parallel board's two adapters with their printers and lamp,
// the serial board's PIA with its switches, DSR/RI edges and lamp, the
// interrupt requests of both, the register dumps and guest programs.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>

#include "bus/Exceptions.h"
#include "debugger/DebuggerCore.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/MainFormHooks.h"
#include "support/FakeConsoles.h"
#include "support/GuestProgram.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/serial/BoardMap.h"

namespace korva {
namespace {

// The main window's fail lamps as the boards set them.
class LampWindow final : public MainFormHooks {
 public:
  void SetFailLights(int32_t index, VBool on) override {
    if (index >= 0 && index < 4) lamps[static_cast<size_t>(index)] = on ? 1 : 0;
  }
  std::array<int, 4> lamps{-1, -1, -1, -1};  // -1: never set
};

class PiaTest : public ::testing::Test {
 protected:
  PiaTest() {
    ConsoleType = {};
    SetMainForm(&window);
    MVME410PIA1.Reset();
    MVME410PIA2.Reset();
    MVME400C0.Reset();
  }
  ~PiaTest() override {
    SetMainForm(nullptr);
    ConsoleType = {};
  }
  // A printer window on port 8 that acknowledges each byte, as the printer does.
  test::FakePrinter* OpenPrinter8() {
    ConsoleType[8] = ConsolePrinter;
    OpenPrinterConsole(8);
    test::FakePrinter* p = consoles.lpt[8];
    p->OnOutchar = [](uint8_t) { MVME410PIA1.AssertCA1(); };
    consoles.log.clear();
    return p;
  }

  test::TestMachine machine;  // fresh boards, numbered; fresh interrupt tables
  LampWindow window;
  test::FakeConsoleFactories consoles;
  classMC6821& pia = MVME410PIA1;
};

TEST_F(PiaTest, ParallelAdapterStrobesReadsStatusAndLightsTheLamp) {
  test::FakePrinter* printer = OpenPrinter8();
  pia.CRA(0x04);
  pia.DDRxORA(0x41);
  pia.CRA(0x3C);
  pia.CRA(0x34);  // CA2 low in manual mode: sent
  pia.CRA(0x34);  // still low: nothing
  EXPECT_EQ(consoles.log, "lpt8.out(41) ");
  EXPECT_EQ(pia.CRA(), 0xB4);  // the acknowledge set IRQA1
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));  // not enabled

  // Handshake: each read clears the flags, then strobes; the acknowledge sets IRQA1 again.
  pia.CRA(0x25);
  consoles.log.clear();
  std::string flagsAtStrobe;
  printer->OnOutchar = [&](uint8_t) {
    flagsAtStrobe = std::to_string(pia.CRA() >> 6);
    pia.AssertCA1();
  };
  EXPECT_EQ(pia.DDRxORA(), 0x41);
  EXPECT_EQ(flagsAtStrobe, "0");
  EXPECT_EQ(consoles.log, "lpt8.out(41) ");
  EXPECT_EQ(pia.CRA(), 0xA5);
  EXPECT_TRUE(Exceptions.IsIocIP(1, 12));
  EXPECT_TRUE(Exceptions.IsIP(4));  // line 1: level 2, vector 0x41
  EXPECT_EQ(InterruptTable[4].Level, 2);
  EXPECT_EQ(InterruptTable[4].Vector, 0x41);

  // Enabling CA1 while IRQA1 is set raises it at once.
  pia.CRA(0x24);
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));
  pia.CRA(0x25);
  EXPECT_TRUE(Exceptions.IsIocIP(1, 12));

  // Port B: the printer's status bits 0-2 under the direction register.
  pia.CRB(0x00);
  pia.DDRxORB(0xF0);
  pia.CRB(0x04);
  pia.DDRxORB(0xA5);
  printer->status = 0x07;
  EXPECT_EQ(pia.DDRxORB(), 0xA7);
  printer->status = 0xFF;  // only bits 0-2 are wired
  EXPECT_EQ(pia.DDRxORB(), 0xA7);
  PrinterForms[8] = nullptr;
  EXPECT_EQ(pia.DDRxORB(), 0xA0);

  // Port B bit 7 of PIA 1 is the board's lamp; PIA 2's is not wired.
  window.lamps = {-1, -1, -1, -1};
  MVME410PIA2.CRB(0x04);
  MVME410PIA2.DDRxORB(0x80);
  EXPECT_EQ(window.lamps[3], -1);
  pia.DDRxORB(0x00);
  EXPECT_EQ(window.lamps[3], 0);
  pia.DDRxORB(0x80);
  EXPECT_EQ(window.lamps[3], 1);

  pia.DDRxORB(0x00);
  pia.Reset();
  EXPECT_EQ(window.lamps[3], 1);
  EXPECT_NE(pia.GetSetup().find("IRA  = 0xFF\r\n"), std::string::npos);
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));
}

TEST_F(PiaTest, EdgesFlagsAndTheirRequests) {
  // C2 edges count only while C2 is an input; without a printer a strobe is lost.
  pia.CRA(0x08);  // CA2 interrupt enabled
  pia.AssertCA2();
  EXPECT_TRUE(Exceptions.IsIocIP(1, 12));
  pia.CRA(0x28);  // C2 becomes an output: IRQA2 cleared, the request withdrawn
  EXPECT_EQ(pia.CRA(), 0x28);
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));
  pia.AssertCA2();
  EXPECT_EQ(pia.CRA(), 0x28);
  pia.CRA(0x3C);
  pia.CRA(0x34);  // no printer window on port 8
  EXPECT_EQ(pia.CRA(), 0x34);

  // Both flags set and enabled: clearing one keeps the request for the other.
  pia.CRA(0x09);
  pia.AssertCA1();
  pia.AssertCA2();
  pia.CRA(0x08);  // CA1 masked: IRQA2 still asks
  EXPECT_TRUE(Exceptions.IsIocIP(1, 12));
  pia.CRA(0x00);
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));
  pia.CRA(0x01);  // IRQA1 alone, enabled
  EXPECT_TRUE(Exceptions.IsIocIP(1, 12));
  pia.CRA(0x00);  // masked: withdrawn
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));

  // Side B of PIA 2, its source and a line moved while pending.
  MVME410PIA2.CRB(0x01);
  MVME410PIA2.AssertCB1();
  EXPECT_TRUE(Exceptions.IsIocIP(1, 15));
  MVME410PIA2.IRQB(3);
  EXPECT_FALSE(Exceptions.IsIocIP(1, 15));
  EXPECT_TRUE(Exceptions.IsIocIP(3, 15));
  MVME410PIA2.IRQB(0);  // no such line: kept
  EXPECT_EQ(MVME410PIA2.IRQB(), 3);
  MVME410PIA2.CRB(0x04);
  MVME410PIA2.DDRxORB();  // the data read clears the flags
  EXPECT_FALSE(Exceptions.IsIocIP(3, 15));
}

TEST_F(PiaTest, SerialBoardPiaSwitchesLampAndDsrEdges) {
  classMVME400& card = MVME400C0;
  card.BaudA(6);
  card.BaudB(3);
  card.CRA(0x04);
  EXPECT_EQ(card.DDRxORA(), 0xE6);
  card.CRA(0x00);
  card.DDRxORA(0x18);
  card.CRA(0x04);
  card.DDRxORA(0x08);
  EXPECT_EQ(card.DDRxORA(), 0xCB);
  EXPECT_EQ(window.lamps[1], 0);
  card.DDRxORA(0x10);
  EXPECT_EQ(window.lamps[1], 1);
  card.DDRxORA(0x00);
  card.Reset();  // the lamp on, the baud select kept
  EXPECT_EQ(window.lamps[1], 1);
  EXPECT_EQ(card.PortAInput(), 0xE6);

  // DSR rises when a TTY window opens (CA1 falls: the falling edge counts with CRA bit 1 clear).
  ConsoleType[0] = ConsoleTTY;
  card.CRA(0x01);
  Cable.Connect(0, True);
  EXPECT_EQ(card.CRA(), 0x81);
  EXPECT_TRUE(Exceptions.IsIocIP(4, 5));
  card.CRA(0x00);
  Cable.Connect(0, False);  // CA1 rises: not the chosen edge
  card.CRA(0x04);
  card.DDRxORA();  // the data read clears the flags
  card.CRA(0x03);  // the rising edge: nothing while DSR comes up
  Cable.Connect(0, True);
  EXPECT_EQ(card.CRA(), 0x03);
  EXPECT_FALSE(Exceptions.IsIocIP(4, 5));
  EXPECT_EQ(card.PortAInput() & 0xC0, 0x80);  // DSR of port 0 True, port 1 False
  Cable.Connect(0, False);
  EXPECT_EQ(card.CRA(), 0x83);
  EXPECT_TRUE(Exceptions.IsIocIP(4, 5));

  // RI on channel B sets IRQB2 by the edge of CRB bit 4, also while CB2 is an output.
  card.CRB(0x38);  // CB2 output, bit 4 set: the rising edge
  Cable.RI(1, True);  // CB2 falls
  EXPECT_EQ(card.CRB() & 0x40, 0);
  Cable.RI(1, False);  // CB2 rises
  EXPECT_EQ(card.CRB() & 0x40, 0x40);
  EXPECT_TRUE(Exceptions.IsIocIP(4, 6));
  card.CRB(0x3C);
  EXPECT_EQ(card.DDRxORB(), 0x00);  // no inputs on port B; the read clears the flags
  EXPECT_FALSE(Exceptions.IsIocIP(4, 6));
}

std::string Golden(const std::string& name) {
  std::ifstream file(std::string(KORVA_SOURCE_DIR) + "/tests/data/serial/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

TEST_F(PiaTest, DumpsEqualTheirReviewedTexts) {
  ResetDebuggerState();
  test::FakePrinter* printer = OpenPrinter8();
  printer->status = 0x07;
  pia.CRA(0x00);
  pia.DDRxORA(0xFF);
  pia.CRA(0x25);
  pia.DDRxORA(0x41);
  pia.CRB(0x00);
  pia.DDRxORB(0xF0);
  pia.CRB(0x04);
  pia.DDRxORB(0xA5);
  pia.AssertCA1();
  MVME410PIA2.IRQA(3);
  EXPECT_EQ(Execute("M410"), Golden("m410.txt"));

  classMVME400& card = MVME400C0;
  card.ControlA(0x18);
  for (const auto& [reg, v] : {std::pair{1, 0x12}, {3, 0xC1}, {5, 0x8A}})
    card.ControlA(static_cast<uint8_t>(reg)), card.ControlA(static_cast<uint8_t>(v));
  card.TxDataA(0x4B);
  card.ControlB(1), card.ControlB(0x04);
  card.ControlB(2), card.ControlB(0x40);
  Cable.RX(0, 0x61);
  Cable.DCD(0, True);
  card.DoTxEandRxE();
  card.CRA(0x05);
  EXPECT_EQ(Execute("M400C0"), Golden("m400c0.txt"));
  EXPECT_EQ(card.StatusA() & 0x02, 0);  // the dump's vector left channel A's IP bit alone
  ResetDebuggerState();
}

class PiaGuestTest : public ::testing::Test {
 protected:
  PiaGuestTest() {
    ConsoleType = {};
    test::MapSerialBoards(m);
    ConsoleType[8] = ConsolePrinter;
    OpenPrinterConsole(8);
    consoles.lpt[8]->OnOutchar = [](uint8_t) { MVME410PIA1.AssertCA1(); };
    consoles.log.clear();
  }
  ~PiaGuestTest() override { ConsoleType = {}; }
  test::TestMachine m;
  ScriptedHost host;
  test::FakeConsoleFactories consoles;
};

TEST_F(PiaGuestTest, ManualStrobesAndTheBaudSwitch) {
  test::RunSelfCheckingProgram(m, "pia_ports.s19", 5);
  EXPECT_EQ(consoles.log, "lpt8.out(4F) lpt8.out(4B) ");
}

TEST_F(PiaGuestTest, HandshakeLineWithTheAcknowledgeInterrupt) {
  test::RunSelfCheckingProgram(m, "pia_printer_irq.s19", 2);
  EXPECT_EQ(consoles.log, "lpt8.out(48) lpt8.out(65) lpt8.out(6C) lpt8.out(6C) lpt8.out(6F) lpt8.out(0D) ");
  EXPECT_FALSE(Exceptions.IsIocIP(1, 12));
}

}  // namespace
}  // namespace korva
