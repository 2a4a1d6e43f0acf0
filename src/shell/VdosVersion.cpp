#include "shell/VdosVersion.h"

namespace korva {

int16_t VdosVersion = 1027;

}  // namespace korva
