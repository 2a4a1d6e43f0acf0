// The keyboard: key conversion with its locks and lights, the key FIFO, the
// commands and their replies, and the keyboard reset.
#include <string>
#include <vector>

#include "unit/board/KeyboardFixture.h"

namespace korva::test {
namespace {

using KeyboardLinkTest = KeyboardTest;

bool LightOn(int i) { return KeyboardLightRGB[i] == LightOnRGB; }
void Tap(uint16_t code) { Key(code), Key(code, 0); }

TEST_F(KeyboardLinkTest, ModifiersSendOneMakeCodePerPressAndTheirBreakCode) {
  EXPECT_EQ(std::vector<uint16_t>({Key(16), Key(16), Key(16), Key(16, 0)}),
            std::vector<uint16_t>({8, NoKeyCode, NoKeyCode, 31}));
  Tap(109);  // keypad-subtract lock
  EXPECT_TRUE(LightOn(7));
  EXPECT_EQ(std::vector<uint16_t>({Key(16), Key(16), Key(16, 0), Key(32)}),
            std::vector<uint16_t>({9, NoKeyCode, 47, 30}));
  EXPECT_EQ(std::vector<uint16_t>({Key(18), Key(18), Key(18, 0)}), std::vector<uint16_t>({11, NoKeyCode, 79}));
}

TEST_F(KeyboardLinkTest, LockKeysToggleTheirLightsAndSendOnTheFirstDownOnly) {
  EXPECT_EQ(std::vector<uint16_t>({Key(20), Key(20), Key(20, 0)}), std::vector<uint16_t>({7, NoKeyCode, NoKeyCode}));
  EXPECT_TRUE(LightOn(0));
  EXPECT_EQ(Key(20), 15);
  EXPECT_FALSE(LightOn(0));
  EXPECT_EQ(std::vector<uint16_t>({Key(45), Key(45, 0), Key(45)}), std::vector<uint16_t>({12, NoKeyCode, 95}));
  EXPECT_TRUE(LightOn(4));  // num lock starts on
  EXPECT_EQ(Key(144), NoKeyCode);
  EXPECT_EQ(Key(144, 0), NoKeyCode);
  EXPECT_FALSE(LightOn(4));

  struct Caps : OnScreenKeyboardHooks {
    std::string Calls;
    void SetHexCaps() override { Calls += "H"; }
    void SetPFCaps() override { Calls += "P"; }
  } caps;
  SetOnScreenKeyboardForm(&caps);
  EXPECT_EQ(Key(145), 14);
  EXPECT_TRUE(LightOn(3));
  Key(145, 0);
  EXPECT_EQ(Key(145), 96);
  EXPECT_EQ(caps.Calls, "HP");
  SetOnScreenKeyboardForm(nullptr);
}

TEST_F(KeyboardLinkTest, FunctionKeysFollowTheKeypadLocksAndOtherKeysRepeat) {
  EXPECT_EQ(Key(112), 33);
  EXPECT_EQ(Key(123), 84);
  Tap(111);  // keypad-divide lock
  EXPECT_TRUE(LightOn(5));
  EXPECT_EQ(std::vector<uint16_t>({Key(112), Key(123)}), std::vector<uint16_t>({102, 84}));
  Tap(106);  // keypad-multiply lock
  EXPECT_TRUE(LightOn(6));
  EXPECT_EQ(Key(123), 100);
  EXPECT_EQ(std::vector<uint16_t>({Key(65), Key(65), Key(65, 0)}), std::vector<uint16_t>({25, 25, NoKeyCode}));
  EXPECT_EQ(Key(255), 0);  // an unmapped key sends 0
  EXPECT_EQ(Key(256 + 65), NoKeyCode);
}

TEST_F(KeyboardLinkTest, ResetQueuesTheJumpersThenPollModeDeliversKeysAtOnce) {
  Key(20), Key(16);  // caps on, shift held
  Keyboard.ResetKeyboard();
  EXPECT_FALSE(LightOn(0));
  EXPECT_TRUE(LightOn(4));
  EXPECT_EQ(Key(16), 8);  // shift's down flag was cleared
  std::vector<int> replies;
  for (int i = 0; i < 8; ++i) replies.push_back(Send(KbdCmdPoll));
  EXPECT_EQ(replies, (std::vector<int>{1, 2, 3, 4, 5, 6, 0, -1}));
  Keyboard.CharacterArrival(Key(65));  // straight to the UART
  EXPECT_EQ(Uart2661.Data(), 25);
  EXPECT_EQ(Send(KbdCmdResend), 25);
  EXPECT_EQ(Send(KbdCmdZeroReply), 0);
  EXPECT_EQ(Send(KbdCmdStatus), 2);
  EXPECT_EQ(Send(KbdCmdResend), 25);   // replies to 0x80 and 0x90 are not remembered
  Keyboard.CharacterArrival(Key(66));  // still in poll mode
  Keyboard.CharacterArrival(Key(67));  // unread: overwritten
  EXPECT_EQ(Uart2661.Data(), 44);
  EXPECT_EQ(Keyboard.Fifo.Count, 0);

  KBPutJumpers = False;
  Keyboard.ResetKeyboard();
  EXPECT_EQ(Keyboard.KbdPollWaiting, False);
  EXPECT_EQ(Keyboard.Fifo.Count, 0);
  EXPECT_EQ(Send(KbdCmdResend), 44);  // the last key sent survives the reset
}

TEST_F(KeyboardLinkTest, StatusBeepAndUnknownCommands) {
  EXPECT_EQ(Send(KbdCmdStatus), 2);  // keys queued, no NewKeyBoard
  NewKeyBoard = True;
  EXPECT_EQ(Send(KbdCmdStatus), 32);
  for (int i = 0; i < 7; ++i) Send(KbdCmdPoll);
  EXPECT_EQ(Send(KbdCmdStatus), 0);
  EXPECT_EQ(Send(KbdCmdBeep), -1);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::Beep).size(), 1u);
  for (uint8_t c : {0x00, 0x81, 0xA1, 0xFF}) EXPECT_EQ(Send(c), -1) << int(c);
}

TEST_F(KeyboardLinkTest, FullFifoLosesNewKeysAndKeepsTheOrder) {
  KBPutJumpers = False;
  Keyboard.ResetKeyboard();
  for (int i = 0; i < KeyFifoSize + 1; ++i) Keyboard.CharacterArrival(static_cast<uint8_t>(i % 127));
  EXPECT_EQ(Keyboard.Fifo.Full, True);
  EXPECT_EQ(Send(KbdCmdPoll), 0);  // the oldest
  Keyboard.CharacterArrival(126);  // lands at the wrapped put index
  bool inOrder = true;
  for (int i = 1; i < KeyFifoSize; ++i) inOrder &= Send(KbdCmdPoll) == i % 127;
  EXPECT_TRUE(inOrder);
  EXPECT_EQ(Send(KbdCmdPoll), 126);
  EXPECT_EQ(Send(KbdCmdPoll), -1);
}

}  // namespace
}  // namespace korva::test
