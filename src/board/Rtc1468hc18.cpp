#include "board/Rtc1468hc18.h"

namespace korva {

class1468hc18 Rtc;

namespace {
constexpr int RegB = 11, RegC = 12;
}

void class1468hc18::Reset() {
  regs_[RegB] &= static_cast<uint8_t>(~0x78);  // PIE, AIE, UIE, SQWE
  regs_[RegC] &= static_cast<uint8_t>(~0xF0);  // IRQF, PF, AF, UF
}

}  // namespace korva
