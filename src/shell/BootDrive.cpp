#include "shell/BootDrive.h"

namespace korva {

int16_t BootDrive = 0;

}  // namespace korva
