// The serial and parallel boards' registers in a test machine's all-RAM map:
// each register at its odd byte, repeated 16 bytes higher, and the system
// control module's CR6 (the I/O-channel masks).
#pragma once
#include <cstdint>

#include "board/SCM.h"
#include "bus/Memory.h"
#include "support/TestMachine.h"

namespace korva::test {

inline void MapSerialBoards(TestMachine& m) {
  for (uint32_t r = 0; r < 8; ++r)
    for (uint32_t mirror : {0u, 0x10u}) {
      const uint32_t at = mirror + 2 * r;
      m.SetDeviceCode(0xF1C1C0 + at, 0xF1C1C1 + at, static_cast<uint8_t>(DcMvme400C0 + r));
      m.SetDeviceCode(0xF1C1A0 + at, 0xF1C1A1 + at, static_cast<uint8_t>(DcMvme400C1 + r));
      m.SetDeviceCode(0xF1C1E0 + at, 0xF1C1E1 + at, static_cast<uint8_t>(r < 4 ? DcPia1 + r : DcPia2 + r - 4));
    }
  m.SetDeviceCode(0xF19F10, 0xF19F11, DcCR6);
  InitScmState();
}

}  // namespace korva::test
