#include "board/FrontPanel.h"

namespace korva {

classFrontPanel FrontPanel;

void classFrontPanel::Reg(uint32_t index, uint8_t v) {
  Probe.Write("Reg", index, v);
  if (index != 2) return;
  flag_ = ToVBool(v & 0x80);
  const int16_t digit = static_cast<int16_t>(~v & 0xF);
  switch ((v >> 4) & 3) {
    case 1: low_ = digit; break;
    case 2: high_ = digit; break;
    default: break;
  }
}

void classFrontPanel::Reset() {
  low_ = -1;
  high_ = -1;
  flag_ = False;
}

}  // namespace korva
