#include "disk/Dropzone.h"

namespace korva {

classDropzone Dropzone;

uint16_t classDropzone::RegDZ(uint32_t index, VBool /*isByte*/) {
  ProbeDZ.Read("RegDZ", index);
  return dz_[index & 15];
}

void classDropzone::RegDZ(uint32_t index, VBool /*isByte*/, uint16_t data) {
  ProbeDZ.Write("RegDZ", index, data);
  dz_[index & 15] = data;
}

uint16_t classDropzone::RegUD(uint32_t index, VBool /*isByte*/) {
  ProbeUD.Read("RegUD", index);
  return ud_[index & 15];
}

void classDropzone::RegUD(uint32_t index, VBool /*isByte*/, uint16_t data) {
  ProbeUD.Write("RegUD", index, data);
  ud_[index & 7] = data;
}

}  // namespace korva
