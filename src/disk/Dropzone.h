// The drop zone (F1A060-F1A06F, files dropped on the main window) and the
// upload/download port (F1A070-F1A07B): two byte-stream devices of one object.
//
// Stand-in: the registers are plain storage; no host file is reached.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"
#include "tables/Types.h"

namespace korva {

class classDropzone {
 public:
  // Drop-zone registers 0-15.
  uint16_t RegDZ(uint32_t index, VBool isByte);
  void RegDZ(uint32_t index, VBool isByte, uint16_t data);
  // Upload/download registers: reads 0-15 (8-11 the bytes of a 32-bit value),
  // writes 0-7 (only 3, 5 and 7 act).
  uint16_t RegUD(uint32_t index, VBool isByte);
  void RegUD(uint32_t index, VBool isByte, uint16_t data);

  DeviceProbe ProbeDZ;
  DeviceProbe ProbeUD;

 private:
  uint16_t dz_[16] = {};
  uint16_t ud_[16] = {};
};

extern classDropzone Dropzone;

}  // namespace korva
