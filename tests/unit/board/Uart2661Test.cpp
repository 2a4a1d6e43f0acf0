// The keyboard UART: status, enables and their interrupts, the register
// pointers, loop-back and the register dump.
#include "unit/board/KeyboardFixture.h"

namespace korva::test {
namespace {

using Uart2661Test = KeyboardTest;

TEST_F(Uart2661Test, ReceiveAndTransmitRaiseTheirEntriesByEnableAndPoll) {
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

TEST_F(Uart2661Test, ModeAndSyncPointers) {
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

TEST_F(Uart2661Test, LocalLoopBackReturnsTheByteAndShowsTheCarrierChange) {
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

TEST_F(Uart2661Test, RegisterDump) {
  Uart2661.ReceiveByte(0x5A);
  Uart2661.TxReg = 0x3C;
  Uart2661.Command(0x27);
  Uart2661.Status();
  Uart2661.ModeControl(0x4E);
  Uart2661.ModeControl(0x3E);
  for (uint8_t v : {0x16, 0x17, 0x10}) Uart2661.Status(v);
  Uart2661.ReceiveByte(0x5B);  // the dump shows SR as last built
  EXPECT_EQ(Uart2661.Display2661(),
            "RxReg = 5B\r\nTxReg = 3C\r\nCR    = 27\r\n"
            ": Normal : RTS=1: Reset Error=0: Send Break/DLE=0: RxEN=1: DTR=1: TxEN=1\r\n"
            "SR    = C3\r\n"
            ": DSR=1: DCD=1: FE=0: OVE=0: PE=0: TxShift Empty or DCD/DSR change=0: RxRDY=1: TxRDY=1\r\n"
            "MR1   = 4E\r\n: 1 Stop bit : No Parity :8 Bits: Async 16x \r\n"
            "MR2   = 3E\r\n: Pins code = 03: Baud code = 0E\r\n"
            "Sync1 = 16\r\nSync2 = 17\r\nDLE   = 10\r\n");
  EXPECT_EQ(Uart2661.SR, 0xC3);
  // The mode text of the command line and the decoded MR1 line.
  const auto lines = [](uint8_t cr, uint8_t mr1) {
    Uart2661.Command(cr);
    Uart2661.MR1 = mr1;
    const std::string t = Uart2661.Display2661();
    const size_t a = t.find("CR    = ") + 12, b = t.find("MR1   = ") + 12;
    return t.substr(a, t.find(": RTS", a) - a) + "|" + t.substr(b, t.find("\r\n", b) - b);
  };
  EXPECT_EQ(lines(0xD0, 0xF1), ": Remote Loop Back |: 2 Stop bit : Even:5 Bits: Async 1x ");
  EXPECT_EQ(lines(0x80, 0x9C), ": Local Loop Back |: 1.5 Stop bit : No Parity :8 Bits: Sync 1x ");
}

}  // namespace
}  // namespace korva::test
