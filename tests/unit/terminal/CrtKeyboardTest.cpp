// The CRT keyboard against the cable: key strings by modifier, typed
// characters, parity, Pause and the paste limit.
#include <gtest/gtest.h>

#include "serial/Cable.h"
#include "serial/TypedBytes.h"
#include "support/ScriptedHost.h"
#include "terminal/CrtTerminal.h"
#include "unit/terminal/TerminalDump.h"

namespace korva::test {
namespace {

constexpr int16_t kPort = 5;

class CrtKeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetCrtDefinitions();
    Cable.FlushQueue(kPort);
    Cable.Break(kPort, False);
    win.ToCable = true;
    SetDefaultNavigationKeys(kPort);
    SetDefaultEditingKeys(kPort);
    SetDefaultFunctionKeys(kPort);
    CrtDefinition& d = t.Def();
    d.FunctionKeys[0][ModShift] = "sF1";
    d.NavigationKeys[NavLeft][ModCtrlAlt] = "caL";
    d.EditingKeys[EditDelete][ModAltShift] = "asD";
    d.NavigationKeys[NavBackSpace][ModCtrl] = "cBS";
  }
  void TearDown() override {
    Cable.FlushQueue(kPort);
    Cable.Break(kPort, False);
    ResetCrtDefinitions();
  }
  std::string Queued() {
    std::string s;
    while (Cable.RXavailable(kPort)) s.push_back(static_cast<char>(Cable.RX(kPort)));
    return s;
  }
  // Key-down, then the key-press the platform would deliver (if any), then key-up.
  std::string Type(int32_t key, int32_t mask, int32_t press = -1) {
    const int32_t left = t.KeyDown(key, mask);
    if (press >= 0 && left != 0) t.KeyPress(press);
    t.KeyUp(key, mask);
    return Queued();
  }

  ScriptedHost host;
  RecordingCrtHost win;
  classCrtTerminal t{kPort, &win};
};

TEST_F(CrtKeyboardTest, KeysSendTheirStrings) {
  struct Row {
    int32_t Key, Mask, Press;
    std::string Sent;
  };
  const std::vector<Row> rows = {
      {112, 1, -1, "sF1"},            // Shift+F1
      {37, 6, -1, "caL"},             // Ctrl+Alt+Left
      {46, 5, -1, "asD"},             // Alt+Shift+Delete
      {36, 0, -1, "\x1bH"},           // Home
      {114, 0, -1, "DIR\r"},          // F3
      {8, 0, 8, "\x08"},              // BackSpace: its string only, not the key-press
      {8, 2, 8, "cBS"},               // Ctrl+BackSpace
      {'H', 2, 8, "\x08"},            // Ctrl+H by key-press
      {9, 0, 9, "\x09"},              // Tab
      {33, 1, -1, ""},                // Shift+PgUp: empty, consumed
      {124, 0, 'q', "q"},             // F13 is an ordinary key
      {'A', 0, 'A', "A"},
      {'A', 2, 'A', "\x01"},          // Ctrl+A
      {'A', 2, 'a', "\x01"},          // Ctrl with a lower-case letter
      {0xDC, 6, '|', "\x1c"},         // Ctrl+Alt giving "|"
      {'M', 0, 13, "\r"},
      {0xBF, 0, 0xE9, "\xe9"},        // 8-bit: as typed
  };
  for (const Row& r : rows) EXPECT_EQ(Type(r.Key, r.Mask, r.Press), r.Sent) << r.Key << "/" << r.Mask;
  EXPECT_EQ(t.KeyDown(33, 1), 0);  // an empty string consumes the key
  EXPECT_EQ(t.KeyDown(65, 0), 65);
}

TEST_F(CrtKeyboardTest, ParityOfTypedBytes) {
  struct Row {
    int16_t Parity;
    uint8_t In, Out;
  };
  t.Def().Ascii = True;
  for (const Row& r : {Row{2, 'A', 0x41}, {2, 'C', 0xC3}, {3, 'A', 0xC1}, {3, 'C', 0x43}, {1, 'A', 0xC1},
                       {1, 0xE9, 0xE9}, {0, 0xE9, 0x69}}) {
    t.Def().Parity = r.Parity;
    t.KeyPress(r.In);
    EXPECT_EQ(Queued(), std::string(1, static_cast<char>(r.Out))) << r.Parity << "/" << int(r.In);
  }
  EXPECT_EQ(ApplyParity(0x41, True, 7), 0);
  EXPECT_EQ(ApplyParity(0xC1, False, 2), 0xC1);
}

TEST_F(CrtKeyboardTest, PauseBreaksTheLine) {
  Cable.RX(kPort, 'x');
  EXPECT_EQ(t.KeyDown(19, 0), 19);
  EXPECT_EQ(Cable.Break(kPort), True);
  EXPECT_EQ(Cable.RXavailable(kPort), False);
  Cable.RX(kPort, 'y');
  t.KeyUp(19, 1);  // with Shift: nothing
  EXPECT_EQ(Cable.Break(kPort), True);
  t.KeyUp(19, 0);
  EXPECT_EQ(Cable.Break(kPort), False);
  EXPECT_EQ(Cable.RXavailable(kPort), False);
  Cable.RX(kPort, 'z');
  t.KeyDown(19, 1);
  EXPECT_EQ(Cable.Break(kPort), False);
  EXPECT_EQ(Queued(), "z");
}

TEST_F(CrtKeyboardTest, PasteLimit) {
  t.PendingInput = std::string(4095, 'p');
  t.PendingLength = 4095;
  t.SendKeyString();
  EXPECT_EQ(Queued().size(), 4095u);
  EXPECT_EQ(t.PendingLength, 0);
  t.PendingInput = std::string(4096, 'p');
  t.PendingLength = 4096;
  t.SendKeyString();
  EXPECT_EQ(Queued(), "");
  ASSERT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Text, "Pasted Data > 4095");
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Title, "Too much Paste");
}

}  // namespace
}  // namespace korva::test
