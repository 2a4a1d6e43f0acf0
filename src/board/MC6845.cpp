#include "board/MC6845.h"

namespace korva {

classMC6845 Crtc;

uint8_t classMC6845::Addreg() {
  Probe.Read("Addreg");
  return address_;
}

void classMC6845::Addreg(uint8_t v) {
  Probe.Write("Addreg", 0, v);
  address_ = v & 0x1F;
}

uint8_t classMC6845::Datareg() {
  Probe.Read("Datareg", address_);
  return address_ < 18 ? regs_[address_] : 0;
}

void classMC6845::Datareg(uint8_t v) {
  Probe.Write("Datareg", address_, v);
  if (address_ < 18) regs_[address_] = v;
}

}  // namespace korva
