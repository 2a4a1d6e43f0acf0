// The keyboard UART: status, enables and their interrupts, the register
// pointers, loop-back and the register dump.
#include "unit/board/KeyboardFixture.h"

namespace korva::test {
namespace {

using Uart2661Test = KeyboardTest;

TEST_F(Uart2661Test, ReceiveWaitsForTheEnableAndThePoll) {
  Uart2661.Reset();
  EXPECT_EQ(Uart2661.Status(), 0xC1);
  Uart2661.ReceiveByte(0x33);
  Uart2661.DoTxEandRxE();
  EXPECT_EQ(Uart2661.Status(), 0xC3);
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));
  Uart2661.Command(0x04);  // RxEN raises the request at once
  EXPECT_TRUE(Raised(IntEntryKeyboardRx));
  EXPECT_EQ(Uart2661.Data(), 0x33);
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));
  EXPECT_EQ(Uart2661.Data(), 0x33);  // read twice: the same byte, nothing waiting
  EXPECT_EQ(Uart2661.Status(), 0xC1);

  // A received byte raises entry 7 only at the next poll.
  Uart2661.ReceiveByte(0x44);
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));
  Uart2661.DoTxEandRxE();
  EXPECT_TRUE(Raised(IntEntryKeyboardRx));
  EXPECT_FALSE(Raised(IntEntryKeyboardTx));  // TxEN off
}

TEST_F(Uart2661Test, TransmitGoesToTheKeyboardAndTheReadyRisesAtThePoll) {
  Uart2661.Command(0x05);
  EXPECT_TRUE(Raised(IntEntryKeyboardTx));  // TxRDY since the reset
  Uart2661.Data(KbdCmdIdentify);
  EXPECT_EQ(Uart2661.TxReg, KbdCmdIdentify);
  EXPECT_FALSE(Raised(IntEntryKeyboardTx));
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));  // the reply waits for the poll
  EXPECT_EQ(Uart2661.Status() & 0x03, 0x03);
  EXPECT_EQ(Uart2661.IsIntPending(), True);
  Uart2661.DoTxEandRxE();
  EXPECT_TRUE(Raised(IntEntryKeyboardTx));
  EXPECT_TRUE(Raised(IntEntryKeyboardRx));
  Uart2661.Command(0x00);
  EXPECT_FALSE(Raised(IntEntryKeyboardTx));
  EXPECT_FALSE(Raised(IntEntryKeyboardRx));
}

TEST_F(Uart2661Test, ModeAndSyncPointersAndResetError) {
  for (uint8_t v : {0x11, 0x22, 0x33}) Uart2661.ModeControl(v);
  EXPECT_EQ(Uart2661.MR1, 0x33);
  EXPECT_EQ(Uart2661.MR2, 0x22);
  EXPECT_EQ(Uart2661.ModeControl(), 0x22);  // the pointer stands at MR2
  EXPECT_EQ(Uart2661.ModeControl(), 0x33);
  EXPECT_EQ(Uart2661.ModeControl(), 0x22);
  Uart2661.Status(0xA1);
  Uart2661.Status(0xA2);
  Uart2661.Command();  // both pointers back to the first register
  EXPECT_EQ(Uart2661.ModeControl(), 0x33);
  Uart2661.Status(0xA3);
  EXPECT_EQ(Uart2661.SYN1, 0xA3);
  EXPECT_EQ(Uart2661.SYN2, 0xA2);
  Uart2661.Status(0xB2);
  Uart2661.Status(0xB3);
  EXPECT_EQ(Uart2661.DLE, 0xB3);

  Uart2661.Command(0x10);
  EXPECT_FALSE(Uart2661.TxEN || Uart2661.RxEN || Uart2661.DTR || Uart2661.RTS);
  EXPECT_EQ(Uart2661.Status(), 0xC1);
}

TEST_F(Uart2661Test, LocalLoopBackReturnsTheByteAndShowsTheCarrierChange) {
  EXPECT_EQ(Uart2661.Status(), 0xC1);  // normal mode: DCD on
  Uart2661.Command(0x85);              // loop-back, RxEN, TxEN, DTR off
  Uart2661.Data(KbdCmdPoll);
  EXPECT_EQ(Uart2661.RxReg, KbdCmdPoll);
  EXPECT_EQ(Keyboard.Fifo.Count, 7);  // the keyboard saw nothing
  EXPECT_EQ(Uart2661.Status(), 0x83);  // DCD follows DTR; bit 2 clear at the change
  EXPECT_EQ(Uart2661.Status(), 0x87);  // then bit 2 set
  Uart2661.Command(0x87);              // DTR on
  EXPECT_EQ(Uart2661.Status(), 0xC3);
  EXPECT_EQ(Uart2661.Status(), 0xC7);
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
  Uart2661.Command(0xD0);
  Uart2661.MR1 = 0xF1;
  const std::string t = Uart2661.Display2661();
  EXPECT_NE(t.find(": Remote Loop Back : RTS=0: Reset Error=1: Send"), std::string::npos);
  EXPECT_NE(t.find(": 2 Stop bit : Even:5 Bits: Async 1x \r\n"), std::string::npos);
  Uart2661.Command(0x40);
  Uart2661.MR1 = 0x2B;
  const std::string u = Uart2661.Display2661();
  EXPECT_NE(u.find("\r\n: Auto Echo/Stripping Mode : RTS=0"), std::string::npos);
  EXPECT_NE(u.find(": Invalid : Odd :7 Bits: Async 64x \r\n"), std::string::npos);
}

}  // namespace
}  // namespace korva::test
