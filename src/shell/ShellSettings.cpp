#include "shell/ShellSettings.h"

namespace korva {

int16_t BootType = 0;
int16_t BugType = 0;
int16_t DropFormat = 4;
VBool AlternateIVS = False;
int32_t MainListenPort = 23;
int32_t BaseListenPort = 30000;

}  // namespace korva
