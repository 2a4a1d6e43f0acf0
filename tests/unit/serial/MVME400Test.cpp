// The serial card's controller: control and status paths, transmit and
// receive through the cable, the interrupt request, the vector, breaks, and
// guest programs that echo by polling and receive by interrupt.
#include <gtest/gtest.h>

#include <string>

#include "board/SCM.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "cpu/FetchDecode.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MVME400.h"
#include "support/FakeConsoles.h"
#include "unit/serial/BoardMap.h"
#include "support/GuestProgram.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

class MVME400Test : public ::testing::Test {
 protected:
  MVME400Test() {
    ConsoleType = {};
    card.Reset();
  }
  ~MVME400Test() override { ConsoleType = {}; }
  // Control writes: a register number, then its value.
  void WriteA(uint8_t reg, uint8_t v) { card.ControlA(reg), card.ControlA(v); }
  void WriteB(uint8_t reg, uint8_t v) { card.ControlB(reg), card.ControlB(v); }
  uint8_t ReadA(uint8_t reg) { return card.ControlA(reg), card.StatusA(); }
  uint8_t ReadB(uint8_t reg) { return card.ControlB(reg), card.StatusB(); }
  bool Requested() { return Exceptions.IsIocIP(card.N7201Int(), 4) != 0; }

  test::TestMachine machine;  // fresh devices, cable and interrupt tables
  test::FakeConsoleFactories consoles;
  classMVME400& card = MVME400C0;
};

TEST_F(MVME400Test, ControlPathSelectsRegistersAndRunsCommands) {
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  card.ControlA(0x03);
  card.ControlA(0xC1);
  EXPECT_EQ(card.ChannelA().RxEnable, True);
  Cable.RX(0, 7);
  EXPECT_EQ(card.StatusA(), 0x05);  // RR0: a byte waiting, transmitter empty
  EXPECT_EQ(card.ChannelA().Pointer, 0);

  Cable.DCD(0, True);  // an external/status condition
  card.ControlA(0x11);  // command 2 and pointer 1 in one byte
  EXPECT_EQ(card.ChannelA().ExtCondition, False);
  EXPECT_EQ(card.ChannelA().Pointer, 1);
  card.ControlA(0x04);  // so this is WR1
  EXPECT_EQ(card.ChannelA().WR[1], 0x04);
  card.ControlA(0x19);  // channel reset with pointer 1: the reset wins
  EXPECT_EQ(card.ChannelA().Pointer, 0);
  EXPECT_EQ(card.ChannelA().WR[1], 0);
  EXPECT_EQ(card.ChannelA().RxEnable, False);
  EXPECT_EQ(ReadA(1) | ReadB(1), 0);  // RR1 is always 0

  consoles.log.clear();
  WriteA(5, 0x82);
  EXPECT_EQ(consoles.log, "tty0.rts(-1) tty0.dtr(-1) ");
  EXPECT_EQ(Cable.RTS(0) & Cable.DTR(0), True);
  EXPECT_EQ(ReadA(5), 0x82);
  WriteA(2, 0x5A);
  EXPECT_EQ(ReadA(2), 0x5A);  // RR2A is WR2A
  card.Reset();  // WR5 written 0 through its path: the lines drop
  EXPECT_EQ(Cable.RTS(0) | Cable.DTR(0), False);
}

TEST_F(MVME400Test, TransmitReachesTheConsoleAndInterruptsAtTheNextPoll) {
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  std::string heldAtWrite;
  bool requestedInWrite = true;
  consoles.tty[0]->OnOutchar = [&](uint8_t) {
    heldAtWrite = consoles.log;
    requestedInWrite = Requested();
  };
  card.TxDataA(0x41);  // transmitter off: lost
  WriteA(1, 0x12);
  WriteA(5, 0x08);
  consoles.log.clear();
  card.TxDataA(0x42);
  EXPECT_EQ(heldAtWrite, "tty0.out(42) ");
  EXPECT_FALSE(requestedInWrite);
  EXPECT_FALSE(Requested());
  EXPECT_EQ(card.StatusA() & 0x04, 0x04);  // TxE again

  card.DoTxEandRxE();
  EXPECT_TRUE(Requested());
  EXPECT_TRUE(Exceptions.IsIP(16));  // line 4: level 6, vector 0x45
  EXPECT_EQ(InterruptTable[16].Level, 6);
  EXPECT_EQ(InterruptTable[16].Vector, 0x45);

  card.ControlA(0x28);  // reset transmit interrupt pending
  EXPECT_FALSE(Requested());
  card.DoTxEandRxE();
  EXPECT_FALSE(Requested());  // held until the next byte
  card.TxDataA(0x43);
  card.DoTxEandRxE();
  EXPECT_TRUE(Requested());
  EXPECT_EQ(card.ChannelA().LastTx, 0x43);
}

TEST_F(MVME400Test, VectorByModeAndPriority) {
  WriteB(1, 0x04);  // status affects vector
  WriteA(2, 0x00);
  WriteB(2, 0x40);
  WriteA(1, 0x10);  // A: receive interrupts
  WriteA(3, 0x01);
  Cable.RX(0, 1);
  card.DoTxEandRxE();
  EXPECT_EQ(ReadB(2), 0x58);  // code 6
  EXPECT_EQ(card.StatusA() & 0x02, 0x02);
  card.RxDataA();
  EXPECT_EQ(ReadB(2), 0x5C);  // code 7: nothing pending
  EXPECT_EQ(card.StatusA() & 0x02, 0);

  WriteA(2, 0x10);  // vector mode 2
  WriteB(1, 0x06);  // B: transmit interrupts, status affects vector
  EXPECT_EQ(ReadB(2), 0x40);  // B transmit, code 0
  card.ControlB(0x28);
  EXPECT_EQ(ReadB(2), 0x47);

  // Priority: with WR2A bit 6 both receive conditions come before A's transmit.
  const struct {
    uint8_t wr2a;
    uint8_t rr2b;
  } cases[] = {{0x00, 0x50}, {0x40, 0x48}, {0x18, 0x00}};  // mode 3 gives 0
  WriteA(1, 0x02);  // A: transmit interrupts only
  WriteB(1, 0x14);  // B: receive interrupts, status affects vector
  WriteB(3, 0x01);
  Cable.RX(1, 2);
  card.DoTxEandRxE();
  for (const auto& c : cases) {
    WriteA(2, c.wr2a);
    EXPECT_EQ(ReadB(2), c.rr2b) << int(c.wr2a);
  }
}

TEST_F(MVME400Test, BreakShowsAtTheNextPollAndEndsAtTheThird) {
  WriteA(1, 0x01);  // external/status interrupts
  Cable.Break(0, True);
  EXPECT_EQ(card.StatusA() & 0x80, 0);
  card.DoTxEandRxE();
  EXPECT_EQ(card.StatusA() & 0x80, 0x80);
  EXPECT_TRUE(Requested());
  card.ControlA(0x10);  // reset external/status interrupts
  EXPECT_FALSE(Requested());

  Cable.Break(0, False);
  for (int poll = 1; poll <= 2; ++poll) {
    card.DoTxEandRxE();
    EXPECT_EQ(card.StatusA() & 0x80, 0x80) << poll;
  }
  EXPECT_FALSE(Requested());
  card.DoTxEandRxE();
  EXPECT_EQ(card.StatusA() & 0x80, 0);
  EXPECT_TRUE(Requested());
}

TEST_F(MVME400Test, AReadAfterAFlushGivesZeroThroughTheBus) {
  ScriptedHost host;
  BuildMemoryMap();
  WriteA(3, 0x01);
  WriteA(1, 0x10);
  Cable.RX(0, 0x61);
  card.DoTxEandRxE();
  EXPECT_TRUE(Requested());
  Cable.FlushQueue(0);
  EXPECT_EQ(ReadMemory(0xF1C1C9, True), 0);
  EXPECT_EQ(card.ChannelA().RxCondition, False);
  EXPECT_FALSE(Requested());
}

// Clearing one channel's condition keeps the request for the other's.
TEST_F(MVME400Test, RequestStaysUpForTheOtherChannelAndFollowsItsLine) {
  WriteA(1, 0x10), WriteA(3, 0x01);
  WriteB(1, 0x10), WriteB(3, 0x01);
  Cable.RX(0, 'a');
  Cable.RX(1, 'b');
  card.DoTxEandRxE();
  EXPECT_EQ(card.RxDataA(), 'a');
  EXPECT_TRUE(Requested());  // B's byte is still waiting
  EXPECT_EQ(card.RxDataB(), 'b');
  EXPECT_FALSE(Requested());

  Cable.RX(1, 'c');
  card.DoTxEandRxE();
  card.N7201Int(2);
  EXPECT_FALSE(Exceptions.IsIocIP(4, 4));
  EXPECT_TRUE(Exceptions.IsIocIP(2, 4));
  card.N7201Int(9);  // no such line: kept
  EXPECT_EQ(card.N7201Int(), 2);
  EXPECT_TRUE(Exceptions.IsIocIP(2, 4));

  // An interrupt enabled after its condition was noted comes at once.
  WriteB(1, 0x00);
  card.ControlA(0x38);  // return from interrupt: nothing left enabled
  card.RxDataB();
  Cable.RX(1, 'd');
  card.DoTxEandRxE();
  EXPECT_FALSE(Requested());
  WriteB(1, 0x10);
  EXPECT_TRUE(Requested());
}

class MVME400GuestTest : public ::testing::Test {
 protected:
  MVME400GuestTest() {
    ConsoleType = {};
    test::MapSerialBoards(m);
  }
  ~MVME400GuestTest() override { ConsoleType = {}; }
  test::TestMachine m;
  ScriptedHost host;
  test::FakeConsoleFactories consoles;
};

TEST_F(MVME400GuestTest, PolledEchoOnPort0) {
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  for (char c : std::string("Korva!")) Cable.RX(0, static_cast<uint8_t>(c));
  consoles.log.clear();
  test::RunSelfCheckingProgram(m, "serial_echo.s19", 6);
  EXPECT_EQ(consoles.log, "tty0.rts(-1) tty0.dtr(-1) tty0.out(4B) tty0.out(6F) tty0.out(72) tty0.out(76) "
                          "tty0.out(61) tty0.out(21) ");
}

TEST_F(MVME400GuestTest, InterruptDrivenReceiveOnPort3) {
  for (char c : std::string("Hello")) Cable.RX(3, static_cast<uint8_t>(c));
  test::RunSelfCheckingProgram(m, "serial_rxint.s19", 3);
  EXPECT_FALSE(Exceptions.IsIocIP(4, 8));
}

}  // namespace
}  // namespace korva
