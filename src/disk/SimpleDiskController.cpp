#include "disk/SimpleDiskController.h"

namespace korva {

classSimpleDiskController SimpleDC;

uint16_t classSimpleDiskController::Reg(uint32_t index) {
  Probe.Read("Reg", index);
  return regs_[index & 31];
}

void classSimpleDiskController::Reg(uint32_t index, uint16_t v) {
  Probe.Write("Reg", index, v);
  regs_[index & 31] = v;
}

}  // namespace korva
