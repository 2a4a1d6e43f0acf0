// The text helpers that read machine state: the memory-watch line, the opcode
// frequency range and the breakpoints' skip marks.
#include "bus/Memory.h"
#include "cpu/FetchDecode.h"
#include "tables/OpMap.h"
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

int32_t MinOpcodeCount() {
  int32_t least = 200000000;
  for (const OpTextEntry& e : OpText) {
    const int32_t v = static_cast<int32_t>(e.Value);
    if (v != 0 && v < least) least = v;
  }
  return least;
}

int32_t MaxOpcodeCount() {
  int32_t most = 0;
  for (const OpTextEntry& e : OpText) {
    const int32_t v = static_cast<int32_t>(e.Value);
    if (v > most) most = v;
  }
  return most;
}

void ClearBreakpointSkips() {
  for (BreakPoint& b : BreakPoints) b.Skip = False;
}

}  // namespace korva
