// The SCN2661 UART that links the keyboard. Bytes written to its data register
// go to the keyboard at once; key codes and keyboard replies come back through
// ReceiveByte. There is no bit timing: the receive interrupt (entry 7) and the
// transmit interrupt (entry 8) rise when the instruction loop polls the UART.
// One instance, in the slot Uart2661.
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

class class2661 {
 public:
  // The state after Reset: transmitter ready, every enable off.
  constexpr class2661() = default;

  // The poll: raises entry 7 when a byte waits and the receiver is enabled,
  // entry 8 when the transmitter is ready and enabled.
  void DoTxEandRxE() {
    if (RxRDY) SetRxIP();
    if (TxRDY) SetTxIP();
  }
  // A byte from the keyboard (or looped back). An unread byte is overwritten.
  // No interrupt is raised here; the next poll raises it.
  void ReceiveByte(uint8_t byte) {
    RxReg = byte;
    RxRDY = True;
  }

  uint8_t Data();            // receive holding register
  void Data(uint8_t byte);   // transmit
  uint8_t Status();          // rebuilds SR
  void Status(uint8_t byte); // SYN1, SYN2, DLE in turn
  uint8_t ModeControl();     // MR1, MR2 in turn
  void ModeControl(uint8_t byte);
  uint8_t Command();         // also points the next mode access at MR1, the next SYN/DLE write at SYN1
  void Command(uint8_t byte);
  void Reset();

  void SetRxIP();
  void SetTxIP();
  void ClrRxIP();
  void ClrTxIP();
  VBool IsIntPending() const { return ToVBool(IsRxIP() || IsTxIP()); }
  VBool IsRxIP() const { return ToVBool(RxEN && RxRDY); }
  VBool IsTxIP() const { return ToVBool(TxEN && TxRDY); }

  // The register dump of the debugger, CR LF after every line. It shows SR as
  // last built and never reads the status register.
  std::string Display2661() const;

  uint8_t RxReg = 0;
  uint8_t TxReg = 0;
  uint8_t MR1 = 0, MR2 = 0;
  uint8_t SR = 0;
  VBool DCD = False;
  VBool TxEmtDschg = False;  // status bit 2: "TxShift Empty or DCD/DSR change"
  VBool RxRDY = False;
  VBool TxRDY = True;
  uint8_t SYN1 = 0, SYN2 = 0, DLE = 0;
  uint8_t CR = 0;
  VBool LocalLoopBack = False;
  VBool RTS = False;
  VBool RxEN = False;
  VBool DTR = False;
  VBool TxEN = False;
  int16_t ModePointer = 0;  // 0 MR1, 1 MR2
  int16_t SynPointer = 0;   // 0 SYN1, 1 SYN2, 2 DLE
};

extern class2661 Uart2661;

}  // namespace korva
