#include "board/Uart2661.h"

#include "board/Keyboard.h"
#include "bus/Exceptions.h"
#include "tables/TextFormat.h"

namespace korva {

constinit class2661 Uart2661;

uint8_t class2661::Data() {
  RxRDY = False;
  ClrRxIP();
  const uint8_t byte = RxReg;
  Keyboard.ReceiverRead();  // the keyboard may hand over its next queued key
  return byte;
}

void class2661::Data(uint8_t byte) {
  TxRDY = False;
  ClrTxIP();
  TxReg = byte;
  // The keyboard may answer through ReceiveByte before WriteKeyBoard returns.
  if (LocalLoopBack)
    ReceiveByte(byte);
  else
    Keyboard.WriteKeyBoard(byte);
  TxRDY = True;  // the transmit interrupt rises again at the next poll
}

uint8_t class2661::Status() {
  if (LocalLoopBack) {
    // Status bit 2 shows a change of DCD, which follows DTR in loop-back.
    TxEmtDschg = ToVBool(DCD == DTR);
    DCD = DTR;
  } else {
    TxEmtDschg = False;
    DCD = True;
  }
  SR = static_cast<uint8_t>(0x80 | (DCD ? 0x40 : 0) | (TxEmtDschg ? 0x04 : 0) | (RxRDY ? 0x02 : 0) |
                            (TxRDY ? 0x01 : 0));
  return SR;
}

void class2661::Status(uint8_t byte) {
  switch (SynPointer) {
    case 0: SYN1 = byte; SynPointer = 1; break;
    case 1: SYN2 = byte; SynPointer = 2; break;
    default: DLE = byte; SynPointer = 0; break;
  }
}

uint8_t class2661::ModeControl() {
  if (ModePointer == 0) {
    ModePointer = 1;
    return MR1;
  }
  ModePointer = 0;
  return MR2;
}

void class2661::ModeControl(uint8_t byte) {
  if (ModePointer == 0) {
    MR1 = byte;
    ModePointer = 1;
  } else {
    MR2 = byte;
    ModePointer = 0;
  }
}

uint8_t class2661::Command() {
  ModePointer = 0;
  SynPointer = 0;
  return CR;
}

void class2661::Command(uint8_t byte) {
  CR = byte;
  TxEN = ToVBool(byte & 0x01);
  if (TxEN) SetTxIP(); else ClrTxIP();
  DTR = ToVBool(byte & 0x02);
  RxEN = ToVBool(byte & 0x04);
  if (RxEN) SetRxIP(); else ClrRxIP();
  RTS = ToVBool(byte & 0x20);
  if (byte & 0x10) SR &= 0xC7;  // reset error: FE, OVE and PE
  LocalLoopBack = ToVBool((byte & 0xC0) == 0x80);
}

void class2661::Reset() {
  ModePointer = 0;
  SynPointer = 0;
  RxRDY = False;
  TxRDY = True;
  Command(0);
}

void class2661::SetRxIP() {
  if (IsRxIP()) Exceptions.SetIP(IntEntryKeyboardRx);
}

void class2661::SetTxIP() {
  if (IsTxIP()) Exceptions.SetIP(IntEntryKeyboardTx);
}

void class2661::ClrRxIP() { Exceptions.ClrIP(IntEntryKeyboardRx); }

void class2661::ClrTxIP() { Exceptions.ClrIP(IntEntryKeyboardTx); }

std::string class2661::Display2661() const {
  static const char* const kCommandMode[4] = {": Normal ", ": Auto Echo/Stripping Mode ", ": Local Loop Back ",
                                              ": Remote Loop Back "};
  static const char* const kCommandBits[6] = {": RTS=", ": Reset Error=", ": Send Break/DLE=",
                                              ": RxEN=", ": DTR=", ": TxEN="};
  static const char* const kStatusBits[8] = {": DSR=", ": DCD=", ": FE=", ": OVE=", ": PE=",
                                             ": TxShift Empty or DCD/DSR change=", ": RxRDY=", ": TxRDY="};
  static const char* const kStopBits[4] = {": Invalid ", ": 1 Stop bit ", ": 1.5 Stop bit ", ": 2 Stop bit "};
  static const char* const kParity[4] = {": No Parity ", ": No Parity ", ": Odd ", ": Even"};
  static const char* const kMode[4] = {": Sync 1x ", ": Async 1x ", ": Async 16x ", ": Async 64x "};
  const auto digit = [](uint8_t value, int bit) { return std::string(1, static_cast<char>('0' + ((value >> bit) & 1))); };
  const std::string crlf = "\r\n";

  std::string t;
  t += "RxReg = " + HexByte(RxReg) + crlf;
  t += "TxReg = " + HexByte(TxReg) + crlf;
  t += "CR    = " + HexByte(CR) + crlf;
  t += kCommandMode[CR >> 6];
  for (int i = 0; i < 6; ++i) t += kCommandBits[i] + digit(CR, 5 - i);
  t += crlf;
  t += "SR    = " + HexByte(SR) + crlf;
  for (int i = 0; i < 8; ++i) t += kStatusBits[i] + digit(SR, 7 - i);
  t += crlf;
  t += "MR1   = " + HexByte(MR1) + crlf;
  t += std::string(kStopBits[MR1 >> 6]) + kParity[(MR1 >> 4) & 3] + ":" + std::to_string(((MR1 >> 2) & 3) + 5) +
       " Bits" + kMode[MR1 & 3] + crlf;
  t += "MR2   = " + HexByte(MR2) + crlf;
  t += ": Pins code = " + HexByte(MR2 >> 4) + ": Baud code = " + HexByte(MR2 & 0x0F) + crlf;
  t += "Sync1 = " + HexByte(SYN1) + crlf;
  t += "Sync2 = " + HexByte(SYN2) + crlf;
  t += "DLE   = " + HexByte(DLE) + crlf;
  return t;
}

}  // namespace korva
