// The SCN2661 UART that links the keyboard.
//
// Stand-in: mode, command and SYN/DLE registers are stored; nothing is received,
// and the transmitter is always ready.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class class2661 {
 public:
  uint8_t Data();               // receive holding register
  void Data(uint8_t v);         // transmit holding register
  uint8_t Status();
  void Status(uint8_t v);       // SYN1 / SYN2 / DLE register
  uint8_t ModeControl();
  void ModeControl(uint8_t v);
  uint8_t Command();
  void Command(uint8_t v);
  // Periodic service: raises the receive interrupt (entry 7) when a character
  // is ready and the transmit interrupt (entry 8) when the transmitter is ready.
  void DoTxEandRxE();

  DeviceProbe Probe;
  uint32_t PollCount = 0;  // DoTxEandRxE calls

 private:
  uint8_t rx_ = 0;
  uint8_t syn_[3] = {};
  int synIndex_ = 0;
  uint8_t mode_[2] = {};
  int modeIndex_ = 0;
  uint8_t command_ = 0;
};

extern class2661 Uart2661;

}  // namespace korva
