// The keyboard UART (status, enables and their interrupts, register pointers,
// loop-back, the dump) and the keyboard link (key conversion with its locks and
// lights, the key FIFO, the commands and their replies, the keyboard reset); a
// guest program takes keys by polling and by the receive interrupt.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "board/Keyboard.h"
#include "board/KeyboardLights.h"
#include "board/SCM.h"
#include "board/Uart2661.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"

namespace korva::test {
namespace {


// A host key event as the screen window forwards it (state 1 down, 0 up).
inline uint16_t Key(uint16_t code, uint16_t state = 1) { return Keyboard.ConvertKey(code, state); }

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { Fresh(); }
  static void Fresh() {
    InitInterruptTable();
    Exceptions.UpdateHIP();
    NewKeyBoard = False;
    KBPutJumpers = True;
    Uart2661 = class2661{};
    for (uint32_t& c : KeyboardLightRGB) c = LightOffRGB;
    Keyboard = KeyboardLink{};
  }

  // Sends a command byte through the UART; the reply, or -1 for none.
  static int Send(uint8_t command) {
    Uart2661.RxRDY = False;
    Uart2661.Data(command);
    return Uart2661.RxRDY ? Uart2661.Data() : -1;
  }
  static bool Raised(int entry) { return Exceptions.IsIP(entry) != 0; }

  ScriptedHost host;
};



TEST_F(KeyboardTest, ReceiveAndTransmitRaiseTheirEntriesByEnableAndPoll) {
  Uart2661.Reset();
  EXPECT_EQ(Uart2661.Status(), 0xC1);
  Uart2661.ReceiveByte(0x33);
  Uart2661.DoTxEandRxE();
  EXPECT_EQ(Uart2661.Status(), 0xC3);
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));  // RxEN off
  Uart2661.Command(0x04);                    // RxEN raises the request at once
  EXPECT_TRUE(Raised(IntEntryKeyboardRx));
  EXPECT_EQ(Uart2661.Data(), 0x33);
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));
  EXPECT_EQ(Uart2661.Data(), 0x33);  // read twice: the same byte, nothing waiting
  EXPECT_EQ(Uart2661.Status(), 0xC1);

  Uart2661.Command(0x05);
  EXPECT_TRUE(Raised(IntEntryKeyboardTx));
  Uart2661.Data(KbdCmdZeroReply);  // the keyboard answers at once
  EXPECT_FALSE(Raised(IntEntryKeyboardTx));
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));  // both wait for the poll
  Uart2661.DoTxEandRxE();
  EXPECT_TRUE(Raised(IntEntryKeyboardTx));
  EXPECT_TRUE(Raised(IntEntryKeyboardRx));
  Uart2661.Command(0x10);  // reset error only: every enable off, both requests withdrawn
  EXPECT_FALSE(Raised(IntEntryKeyboardTx) || Raised(IntEntryKeyboardRx));
  EXPECT_FALSE(Uart2661.TxEN || Uart2661.RxEN || Uart2661.DTR || Uart2661.RTS);
}

TEST_F(KeyboardTest, ModeAndSyncPointers) {
  for (uint8_t v : {0x11, 0x22, 0x33}) Uart2661.ModeControl(v);
  EXPECT_EQ(Uart2661.MR1, 0x33);
  EXPECT_EQ(Uart2661.ModeControl(), 0x22);  // the pointer stands at MR2
  EXPECT_EQ(Uart2661.ModeControl(), 0x33);
  Uart2661.ModeControl();
  Uart2661.Status(0xA1);
  Uart2661.Status(0xA2);
  Uart2661.Command();  // both pointers back to the first register
  EXPECT_EQ(Uart2661.ModeControl(), 0x33);
  for (uint8_t v : {0xA3, 0xA4, 0xA5}) Uart2661.Status(v);
  EXPECT_EQ(Uart2661.SYN1, 0xA3);
  EXPECT_EQ(Uart2661.DLE, 0xA5);
}

TEST_F(KeyboardTest, LocalLoopBackReturnsTheByteAndShowsTheCarrierChange) {
  EXPECT_EQ(Uart2661.Status(), 0xC1);  // normal mode: DCD on
  Uart2661.Command(0x85);              // loop-back, RxEN, TxEN, DTR off
  Uart2661.Data(KbdCmdPoll);
  EXPECT_EQ(Uart2661.RxReg, KbdCmdPoll);
  EXPECT_EQ(Keyboard.Fifo.Count, 7);   // the keyboard saw nothing
  EXPECT_EQ(Uart2661.Status(), 0x83);  // DCD follows DTR; bit 2 clear at the change
  EXPECT_EQ(Uart2661.Status(), 0x87);  // then bit 2 set
  Uart2661.Command(0x87);              // DTR on
  EXPECT_EQ(Uart2661.Status(), 0xC3);
}

TEST_F(KeyboardTest, UartDumpDecodesTheCommandAndModeRegisters) {
  Uart2661.ReceiveByte(0x5A);
  Uart2661.Command(0x27);
  Uart2661.ModeControl(0x4E);
  Uart2661.ModeControl(0x3E);
  Uart2661.ReceiveByte(0x5B);  // the dump shows SR as last built
  EXPECT_NE(Uart2661.Display2661().find("RxReg = 5B\r\n"), std::string::npos);
  EXPECT_NE(Uart2661.Display2661().find("MR2   = 3E\r\n: Pins code = 03: Baud code = 0E\r\n"), std::string::npos);
  // The mode text of the command line and the decoded MR1 line.
  const auto lines = [](uint8_t cr, uint8_t mr1) {
    Uart2661.Command(cr);
    Uart2661.MR1 = mr1;
    const std::string t = Uart2661.Display2661();
    const size_t a = t.find("CR    = ") + 12, b = t.find("MR1   = ") + 12;
    return t.substr(a, t.find(": RTS", a) - a) + "|" + t.substr(b, t.find("\r\n", b) - b);
  };
  EXPECT_EQ(lines(0x27, 0x4E), ": Normal |: 1 Stop bit : No Parity :8 Bits: Async 16x ");
  EXPECT_EQ(lines(0xD0, 0xF1), ": Remote Loop Back |: 2 Stop bit : Even:5 Bits: Async 1x ");
  EXPECT_EQ(lines(0x80, 0x9C), ": Local Loop Back |: 1.5 Stop bit : No Parity :8 Bits: Sync 1x ");
}



bool LightOn(int i) { return KeyboardLightRGB[i] == LightOnRGB; }
void Tap(uint16_t code) { Key(code), Key(code, 0); }

TEST_F(KeyboardTest, ModifiersSendOneMakeCodePerPressAndTheirBreakCode) {
  EXPECT_EQ(std::vector<uint16_t>({Key(16), Key(16), Key(16), Key(16, 0)}),
            std::vector<uint16_t>({8, NoKeyCode, NoKeyCode, 31}));
  Tap(109);  // keypad-subtract lock
  EXPECT_TRUE(LightOn(7));
  EXPECT_EQ(std::vector<uint16_t>({Key(16), Key(16), Key(16, 0), Key(32)}),
            std::vector<uint16_t>({9, NoKeyCode, 47, 30}));
  EXPECT_EQ(std::vector<uint16_t>({Key(18), Key(18), Key(18, 0)}), std::vector<uint16_t>({11, NoKeyCode, 79}));
}

TEST_F(KeyboardTest, LockKeysToggleTheirLightsAndSendOnTheFirstDownOnly) {
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

TEST_F(KeyboardTest, FunctionKeysFollowTheKeypadLocksAndOtherKeysRepeat) {
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

TEST_F(KeyboardTest, ResetQueuesTheJumpersThenPollModeDeliversKeysAtOnce) {
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
  Keyboard.CharacterArrival(Key(67));  // the first one is unread: queued behind it
  Keyboard.CharacterArrival(Key(68));
  EXPECT_EQ(Keyboard.Fifo.Count, 2);
  Uart2661.Data(KbdCmdPoll);  // the waiting key answers the poll
  EXPECT_EQ(Uart2661.Data(), 46);
  EXPECT_EQ(Uart2661.Data(), 44);  // each read hands the next key over
  EXPECT_EQ(Uart2661.Data(), 27);
  EXPECT_EQ(Keyboard.Fifo.Count, 0);
  EXPECT_EQ(Send(KbdCmdPoll), -1);

  KBPutJumpers = False;
  Keyboard.ResetKeyboard();
  EXPECT_EQ(Keyboard.KbdPollWaiting, False);
  EXPECT_EQ(Keyboard.Fifo.Count, 0);
  EXPECT_EQ(Send(KbdCmdResend), 27);  // the last key sent survives the reset
}

TEST_F(KeyboardTest, StatusBeepAndUnknownCommands) {
  EXPECT_EQ(Send(KbdCmdStatus), 2);  // keys queued, no NewKeyBoard
  NewKeyBoard = True;
  EXPECT_EQ(Send(KbdCmdStatus), 32);
  for (int i = 0; i < 7; ++i) Send(KbdCmdPoll);
  EXPECT_EQ(Send(KbdCmdStatus), 0);
  EXPECT_EQ(Send(KbdCmdBeep), -1);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::Beep).size(), 1u);
  for (uint8_t c : {0x00, 0x81, 0xA1, 0xFF}) EXPECT_EQ(Send(c), -1) << int(c);
}

TEST_F(KeyboardTest, FullFifoLosesNewKeysAndKeepsTheOrder) {
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



TEST_F(KeyboardTest, KeysArriveInOrderByPollAndByInterrupt) {
  TestMachine m;
  SetHost(&host);  // the machine starts with the silent host
  ASSERT_TRUE(m.LoadSrec("keyboard_echo.s19"));
  m.SetDeviceCode(0xF1A030, 0xF1A037, DcUart2661);
  m.SetDeviceCode(0xF19F08, 0xF19F09, DcCR0 + 2);
  m.SetDeviceCode(0xF19F10, 0xF19F11, DcCR6);
  // The program's control-register writes reset the UART and the keyboard and
  // unmask the receive interrupt.
  InitScmState();

  // Host key events (code, 1 down / 0 up) and the key codes they must send.
  std::deque<std::pair<uint16_t, uint16_t>> events = {{16, 1},  {16, 1},  {75, 1}, {79, 1}, {16, 0}, {144, 1},
                                                      {144, 0}, {82, 1},  {82, 0}, {86, 1}, {65, 1}, {20, 1},
                                                      {20, 0},  {112, 1}, {32, 1}, {20, 1}};
  const std::vector<uint8_t> codes = {8, 59, 70, 31, 39, 45, 25, 7, 33, 30, 15};
  std::vector<uint8_t> sent;
  // The next key that sends a code, unless the last one is still unread. Only
  // once the program has enabled the receiver: the keyboard reset before that
  // empties the key FIFO.
  const auto type = [&] {
    while (Uart2661.RxEN && !Uart2661.RxRDY && !events.empty()) {
      const auto [code, state] = events.front();
      events.pop_front();
      const uint16_t vme = Keyboard.ConvertKey(code, state);
      if (vme == NoKeyCode) continue;
      sent.push_back(static_cast<uint8_t>(vme));
      Keyboard.CharacterArrival(static_cast<uint8_t>(vme));
      return;
    }
  };
  int pumped = 0;  // keys typed while a status read or the STOP wait let host events in
  host.OnPumpEvents = [&] {
    const size_t before = sent.size();
    type();
    pumped += static_cast<int>(sent.size() - before);
  };

  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  int stops = 0;
  for (int n = 0; n < 400000 && m.ReadLong(0x2FFC) != 0x600DC0DE; ++n) {
    const Stop s = m.StepInstruction();
    ASSERT_TRUE(s == Stop::Fetch || s == Stop::StopInstr) << StopName(s);
    stops += s == Stop::StopInstr;
    if (n % 1500 == 0 || sent.empty()) type();  // the processor loops without reading the UART
  }
  ASSERT_EQ(m.ReadLong(0x2FFC), 0x600DC0DEu)
      << "stopped at PC " << std::hex << CpuPC << " after " << std::dec << sent.size() << " keys";
  EXPECT_EQ(sent, codes);
  std::vector<uint8_t> stored;
  for (uint32_t a = 0x3000; a < 0x3012; ++a) stored.push_back(m.ReadByte(a));
  std::vector<uint8_t> expected = {1, 2, 3, 4, 5, 6, 0};
  expected.insert(expected.end(), codes.begin(), codes.end());
  EXPECT_EQ(stored, expected);
  EXPECT_EQ(m.ReadByte(0x3012), 0);
  EXPECT_GT(stops, 0);
  EXPECT_GT(pumped, 0);
  EXPECT_LT(pumped, static_cast<int>(codes.size()));
}

TEST_F(KeyboardTest, APollingProgramReadsEveryKeyOfABurstInOrder) {
  TestMachine m;
  SetHost(&host);
  KBPutJumpers = False;
  ASSERT_TRUE(m.LoadSrec("keyboard_burst.s19"));
  m.SetDeviceCode(0xF1A030, 0xF1A037, DcUart2661);
  m.SetDeviceCode(0xF19F08, 0xF19F09, DcCR0 + 2);
  InitScmState();
  // Shift, seventeen letters, Shift released and Enter, all in one pump once
  // the program's first poll has found the keyboard empty.
  std::vector<uint8_t> sent;
  host.OnPumpEvents = [&] {
    if (!Keyboard.KbdPollWaiting || !sent.empty()) return;
    std::vector<std::pair<uint16_t, uint16_t>> events = {{16, 1}};
    for (uint16_t c = 65; c < 65 + 17; ++c) events.push_back({c, 1});
    events.insert(events.end(), {{16, 0}, {13, 1}});
    for (const auto& [code, state] : events) {
      const uint16_t vme = Keyboard.ConvertKey(code, state);
      sent.push_back(static_cast<uint8_t>(vme));
      Keyboard.CharacterArrival(static_cast<uint8_t>(vme));
    }
  };
  ASSERT_EQ(m.ResetCpu(), Stop::Fetch);
  for (int n = 0; n < 20000 && m.ReadLong(0x2FFC) != 0x600DC0DE; ++n) ASSERT_EQ(m.StepInstruction(), Stop::Fetch);
  ASSERT_EQ(m.ReadLong(0x2FFC), 0x600DC0DEu);
  ASSERT_EQ(sent.size(), 20u);
  std::vector<uint8_t> stored;
  for (uint32_t a = 0x3000; a < 0x3014; ++a) stored.push_back(m.ReadByte(a));
  EXPECT_EQ(stored, sent);
}

}  // namespace
}  // namespace korva::test
