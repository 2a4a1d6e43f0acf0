// The debugger's opcode frequency range over the disassembly templates.
#include "tables/OpMap.h"
#include "tables/TextFormat.h"

namespace korva {

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

}  // namespace korva
