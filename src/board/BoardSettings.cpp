#include "board/BoardSettings.h"

namespace korva {

int16_t VdosVersion = 1027;
VBool ScmMan = False;
VBool SrSW0 = False;
VBool SrSW1 = False;
VBool SrSW2 = False;
VBool SrIOchEN = True;
VBool ScreenOpened = False;
VBool KeyboardOpened = False;
VBool WhitePhosphor = False;
uint8_t ScreenMode = 1;

}  // namespace korva
