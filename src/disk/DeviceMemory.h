// Guest-memory accesses made by the emulator's own disk devices. The transfer
// runs inside the guest's register write that started it: the fault flags of
// that write are saved and put back, so a fault inside the transfer is reported
// by the device through its status and never turns the guest's write into a bus
// error (which would restart the write and run the transfer again).
#pragma once
#include <cstdint>

#include "bus/BusState.h"
#include "bus/Memory.h"

namespace korva {

class DeviceMemoryAccess {
 public:
  DeviceMemoryAccess() { ClearBusFaults(); }
  DeviceMemoryAccess(const DeviceMemoryAccess&) = delete;
  DeviceMemoryAccess& operator=(const DeviceMemoryAccess&) = delete;

  // One access; false (and the flags cleared) when it faulted.
  bool WriteByte(uint32_t address, uint8_t value) {
    WriteMemory(address, True, value, False);
    return Ok();
  }
  bool ReadByte(uint32_t address, uint8_t& value) {
    value = static_cast<uint8_t>(ReadMemory(address, True));
    return Ok();
  }
  bool ReadWord(uint32_t address, uint16_t& value) {
    value = ReadMemory(address, False);
    return Ok();
  }
  bool WriteWord(uint32_t address, uint16_t value) {
    WriteMemory(address, False, value, False);
    return Ok();
  }

 private:
  static bool Ok() {
    if (!FaultFlag && !BusErrorFlag && !AddressErrorFlag) return true;
    ClearBusFaults();
    return false;
  }
  KeepFaultFlags kept_;  // constructed first: the guest's own access keeps its flags
};

}  // namespace korva
