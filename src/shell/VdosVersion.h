// The VersaDOS version the machine serves (setting "VdosVersion" of section
// "General"): 1027, 1028 or 1029. The clock latches its time registers on a
// read of the hours only for 1027.
#pragma once
#include <cstdint>

namespace korva {

extern int16_t VdosVersion;  // default 1027

}  // namespace korva
