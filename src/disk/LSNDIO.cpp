#include "disk/LSNDIO.h"

namespace korva {

classLSNDIO LsnDio;

uint16_t classLSNDIO::Reg(uint32_t index) {
  Probe.Read("Reg", index);
  return regs_[index & 3];
}

void classLSNDIO::Reg(uint32_t index, uint16_t v) {
  Probe.Write("Reg", index, v);
  regs_[index & 3] = v;
}

}  // namespace korva
