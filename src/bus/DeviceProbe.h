// A small call record kept by the device stand-ins, so that tests can see which
// register a bus access reached, with what index and value, and in what order
// relative to the event pumps. The real devices drop it when they replace the
// stand-ins.
#pragma once
#include <cstdint>

namespace korva {

struct DeviceProbe {
  uint32_t Reads = 0;
  uint32_t Writes = 0;
  const char* LastRegister = "";  // name of the register property last called
  uint32_t LastIndex = 0;         // its index, for indexed registers
  uint16_t LastValue = 0;         // the value last written
  void Read(const char* reg, uint32_t index = 0) {
    ++Reads;
    LastRegister = reg;
    LastIndex = index;
  }
  void Write(const char* reg, uint32_t index, uint16_t value) {
    ++Writes;
    LastRegister = reg;
    LastIndex = index;
    LastValue = value;
  }
  void Clear() { *this = DeviceProbe{}; }
};

}  // namespace korva
