// A guest program takes keys from the keyboard UART by polling and by its
// receive interrupt, while the host types through the key conversion.
#include <deque>
#include <utility>
#include <vector>

#include "board/SCM.h"
#include "bus/Memory.h"
#include "cpu/CpuState.h"
#include "unit/board/KeyboardFixture.h"
#include "support/TestMachine.h"

namespace korva::test {
namespace {

using KeyboardGuestTest = KeyboardTest;

TEST_F(KeyboardGuestTest, KeysArriveInOrderByPollAndByInterrupt) {
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

}  // namespace
}  // namespace korva::test
