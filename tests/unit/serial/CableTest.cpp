// The virtual cable: receive queues, modem lines and what they tell the serial
// cards and the console windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "support/FakeConsoles.h"

namespace korva {
namespace {

// Records each notice with the value the cable still holds while it runs.
class RecordingCard final : public CableCard {
 public:
  RecordingCard(classCable* cable, int card) : cable_(cable), card_(card) {}
  std::string log;
  void DCDChangedA(VBool s) override { Note("DCDA", s, &classCable::DCD, 0); }
  void DCDChangedB(VBool s) override { Note("DCDB", s, &classCable::DCD, 1); }
  void CTSChangedA(VBool s) override { Note("CTSA", s, &classCable::CTS, 0); }
  void CTSChangedB(VBool s) override { Note("CTSB", s, &classCable::CTS, 1); }
  void BreakChangedA(VBool s) override { Note("BRKA", s, &classCable::Break, 0); }
  void BreakChangedB(VBool s) override { Note("BRKB", s, &classCable::Break, 1); }
  void DSRChangedA(VBool s) override { Note("DSRA", s, &classCable::DSR, 0); }
  void DSRChangedB(VBool s) override { Note("DSRB", s, &classCable::DSR, 1); }
  void RIChangedA(VBool s) override { Note("RIA", s, &classCable::RI, 0); }
  void RIChangedB(VBool s) override { Note("RIB", s, &classCable::RI, 1); }

 private:
  void Note(const char* what, VBool s, VBool (classCable::*read)(int16_t) const, int side) {
    const auto port = static_cast<int16_t>(card_ * 2 + side);
    log += std::string(what) + "(" + std::to_string(s) + ",was " + std::to_string((cable_->*read)(port)) + ") ";
  }
  classCable* cable_;
  int card_;
};

class CableTest : public ::testing::Test {
 protected:
  CableTest() {
    cable.AttachCard(0, &card0);
    cable.AttachCard(1, &card1);
    ConsoleType = {};
  }
  ~CableTest() override { ConsoleType = {}; }
  classCable cable;
  RecordingCard card0{&cable, 0}, card1{&cable, 1};
};

TEST_F(CableTest, ReceiveQueueKeeps4096BytesAndRepeatsTheLastWhenEmpty) {
  for (int i = 0; i < 4097; ++i) cable.RX(5, static_cast<uint8_t>(i * 7));
  bool inOrder = true;
  for (int i = 0; i < 4096; ++i) inOrder &= cable.RX(5) == static_cast<uint8_t>(i * 7);
  EXPECT_TRUE(inOrder);
  EXPECT_EQ(cable.RXavailable(5), False);  // the 4097th was dropped
  EXPECT_EQ(cable.RX(5), static_cast<uint8_t>(4095 * 7));  // empty: the last again
  EXPECT_EQ(cable.RX(4), 0);                                // another port is untouched

  cable.FlushQueue(5);
  EXPECT_EQ(cable.RX(5), 0);
  cable.RX(5, 0x41);
  EXPECT_EQ(cable.RX(5), 0x41);
  cable.RX(5, 0x42);
  EXPECT_EQ(cable.RXavailable(5), True);
  cable.Reset();
  EXPECT_EQ(cable.RXavailable(5), False);
  EXPECT_EQ(cable.RX(5), 0);
}

TEST_F(CableTest, ConnectTellsTheCardEachChangeBeforeStoringIt) {
  cable.RX(1, 9);
  cable.Connect(1, True);
  EXPECT_EQ(card0.log, "CTSB(-1,was 0) DCDB(-1,was 0) DSRB(-1,was 0) ");  // RI already False
  EXPECT_EQ(cable.RXavailable(1), False);
  EXPECT_EQ(std::vector<int>({cable.CTS(1), cable.DCD(1), cable.DSR(1), cable.RI(1)}),
            std::vector<int>({True, True, True, False}));

  card0.log.clear();
  cable.RX(1, 9);
  cable.Connect(1, True);  // nothing changes, the queue is flushed all the same
  cable.RX(1, 9);
  cable.Connect(1, 5);  // not a Boolean: lines kept, queue flushed
  EXPECT_EQ(card0.log, "");
  EXPECT_EQ(cable.RXavailable(1), False);
  EXPECT_EQ(cable.DCD(1), True);

  cable.Connect(1, False);
  EXPECT_EQ(card0.log, "CTSB(0,was -1) DCDB(0,was -1) DSRB(0,was -1) ");
  card0.log.clear();

  // Each console-driven line on each card side reaches its own notice.
  struct LineCase {
    void (classCable::*write)(int16_t, VBool);
    int16_t port;
    const char* card0Log;
    const char* card1Log;
  };
  const LineCase cases[] = {
      {&classCable::DCD, 0, "DCDA(-1,was 0) ", ""},   {&classCable::CTS, 2, "", "CTSA(-1,was 0) "},
      {&classCable::Break, 1, "BRKB(-1,was 0) ", ""}, {&classCable::Break, 3, "", "BRKB(-1,was 0) "},
      {&classCable::DSR, 2, "", "DSRA(-1,was 0) "},   {&classCable::RI, 3, "", "RIB(-1,was 0) "},
      {&classCable::RI, 0, "RIA(-1,was 0) ", ""},     {&classCable::DCD, 4, "", ""},
      {&classCable::Break, 15, "", ""},
  };
  for (const LineCase& c : cases) {
    card0.log.clear();
    card1.log.clear();
    (cable.*c.write)(c.port, True);
    (cable.*c.write)(c.port, True);  // the same value again: nobody is told
    EXPECT_EQ(card0.log, c.card0Log) << c.port;
    EXPECT_EQ(card1.log, c.card1Log) << c.port;
  }
  EXPECT_EQ(cable.DCD(4), True);  // ports 4-15 only store
  EXPECT_EQ(cable.Break(15), True);

  cable.Reset();  // the lines stay
  EXPECT_EQ(std::vector<int>({cable.DCD(0), cable.CTS(2), cable.Break(1), cable.DSR(2), cable.RI(3)}),
            std::vector<int>({True, True, True, True, True}));
}

TEST_F(CableTest, PortsOutsideTheCableChangeNothingAndReadNothing) {
  for (int16_t port : {int16_t{-1}, int16_t{16}, int16_t{300}}) {
    cable.RX(port, 1);
    cable.DCD(port, True);
    cable.DTR(port, True);
    cable.Connect(port, True);
    cable.tX(port, 1);
    cable.FlushQueue(port);
    EXPECT_EQ(cable.RXavailable(port), False);
    EXPECT_EQ(cable.RX(port), 0);
    EXPECT_EQ(cable.DCD(port) | cable.DTR(port) | cable.CTS(port), False);
  }
  EXPECT_EQ(card0.log + card1.log, "");
}

TEST_F(CableTest, TransmitReachesTheWindowOfThePortsKind) {
  test::FakeConsoleFactories fakes;
  const struct {
    int32_t kind;
    const char* log;
  } cases[] = {
      {ConsoleNone, ""}, {ConsoleTTY, "tty0.out(5A) "}, {ConsoleCRT, "crt0.out(5A) "}, {ConsoleCOM, ""},
      {ConsolePrinter, ""}, {ConsoleSpooler, ""}, {ConsoleNET, "net0.out(5A) "},
  };
  for (const auto& c : cases) {
    // Every kind's window of port 0 exists and is attached; only the kind's own is called.
    for (int32_t kind : {ConsoleTTY, ConsoleCRT, ConsolePrinter, ConsoleNET}) {
      ConsoleType[0] = kind;
      OpenConsoles();
    }
    ConsoleType[0] = c.kind;
    fakes.log.clear();
    cable.tX(0, 0x5A);
    EXPECT_EQ(fakes.log, c.log) << c.kind;
  }
  // A kind whose window is not attached drops the byte.
  ConsoleType[0] = ConsoleTTY;
  TerminalForms[0] = nullptr;
  fakes.log.clear();
  cable.tX(0, 0x5A);
  EXPECT_EQ(fakes.log, "");
}

TEST_F(CableTest, CardDrivenLinesTellTheWindowOnChangeOnly) {
  test::FakeConsoleFactories fakes;
  ConsoleType[0] = ConsoleTTY;
  OpenConsoles();
  fakes.log.clear();
  cable.RTS(0, True);
  cable.DTR(0, True);
  cable.RTS(0, True);
  cable.DTR(0, True);
  EXPECT_EQ(fakes.log, "tty0.rts(-1) tty0.dtr(-1) ");
  EXPECT_EQ(cable.RTS(0) & cable.DTR(0), True);
  EXPECT_EQ(card0.log, "");  // the card drives these itself

  ConsoleType[0] = ConsoleCOM;  // no window for the kind: only stored
  fakes.log.clear();
  cable.DTR(0, False);
  EXPECT_EQ(fakes.log, "");
  EXPECT_EQ(cable.DTR(0), False);
}

}  // namespace
}  // namespace korva
