// The emulator's logical-sector disk port (F1A400-F1A41F): four 16-bit
// registers, word accesses only, register (address >> 1) AND 3.
//
// Stand-in: the registers are plain storage; no transfer runs.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classLSNDIO : public ProbedRegisterFile<uint16_t, 4> {};

extern classLSNDIO LsnDio;

}  // namespace korva
