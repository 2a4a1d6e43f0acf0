#include "bus/MemoryWatch.h"
#include "bus/Memory.h"
#include "tables/TextFormat.h"

namespace korva {

std::string MemoryLineText(uint32_t address, int32_t count) {
  // Straight from the cells: a watch must not trigger a device's read side effects.
  std::string line = HexLong(address) + ":";
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t index = ((address >> 1) + static_cast<uint32_t>(i)) & RamIndexMask;
    line += ": " + HexWord(RamArray[index].Data) + " ";
  }
  return line;
}

}  // namespace korva
