#include "board/Uart2661.h"

namespace korva {

class2661 Uart2661;

uint8_t class2661::Data() {
  Probe.Read("Data");
  return rx_;
}

void class2661::Data(uint8_t v) { Probe.Write("Data", 0, v); }

uint8_t class2661::Status() {
  Probe.Read("Status");
  return 0x05;  // transmitter ready, transmitter empty
}

void class2661::Status(uint8_t v) {
  Probe.Write("Status", 0, v);
  syn_[synIndex_] = v;
  synIndex_ = (synIndex_ + 1) % 3;
}

uint8_t class2661::ModeControl() {
  Probe.Read("ModeControl");
  uint8_t v = mode_[modeIndex_];
  modeIndex_ ^= 1;
  return v;
}

void class2661::ModeControl(uint8_t v) {
  Probe.Write("ModeControl", 0, v);
  mode_[modeIndex_] = v;
  modeIndex_ ^= 1;
}

uint8_t class2661::Command() {
  Probe.Read("Command");
  return command_;
}

void class2661::Command(uint8_t v) {
  Probe.Write("Command", 0, v);
  command_ = v;
  synIndex_ = 0;
  modeIndex_ = 0;
}

void class2661::DoTxEandRxE() { ++PollCount; }

}  // namespace korva
