// The micro-routine dispatcher: a dense table of the routines by number
// (cpu/McrRoutines.h).
#include "cpu/Dispatch.h"
#include "cpu/McrRoutines.h"

namespace korva {

constexpr std::array<McrFunction, McrTableSize> McrTable = routines::kTable;

void DispatchMcr(uint32_t n) {
  if (n < McrTableSize)
    McrTable[n]();
  else
    McrMicrocodeFault();
}

}  // namespace korva
