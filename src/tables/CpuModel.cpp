#include "tables/CpuModel.h"

namespace korva {

uint16_t CpuType = Cpu68010;
VBool MovePhysEn = False;

}  // namespace korva
