#include "disk/CpmDiskController.h"

namespace korva {

classCpmDiskController CpmDC;

uint16_t classCpmDiskController::Reg(uint32_t index) {
  Probe.Read("Reg", index);
  return regs_[index & 31];
}

void classCpmDiskController::Reg(uint32_t index, uint16_t v) {
  Probe.Write("Reg", index, v);
  regs_[index & 31] = v;
}

}  // namespace korva
