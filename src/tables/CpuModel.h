// The processor model and the physical-move option that the decode tables are
// built for (the model selection sets them, the table builders read them).
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

enum CpuModel : uint16_t { Cpu68000 = 0, Cpu68010 = 10, Cpu32 = 32 };
extern uint16_t CpuType;
extern VBool MovePhysEn;  // the emulator's physical-move instruction is mapped

}  // namespace korva
