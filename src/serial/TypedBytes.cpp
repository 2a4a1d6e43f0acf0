#include "serial/TypedBytes.h"

#include <bit>

namespace korva {

uint8_t ApplyParity(uint8_t b, VBool ascii, int16_t parity) {
  if (!ascii) return b;
  const uint8_t b7 = b & 0x7F;
  const bool oddOnes = (std::popcount(static_cast<unsigned>(b7)) & 1) != 0;
  switch (parity) {
    case 0: return b7;
    case 1: return static_cast<uint8_t>(b7 | 0x80);
    case 2: return oddOnes ? static_cast<uint8_t>(b7 | 0x80) : b7;
    case 3: return oddOnes ? b7 : static_cast<uint8_t>(b7 | 0x80);
    default: return 0;
  }
}

}  // namespace korva
