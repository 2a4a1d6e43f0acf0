// Settings of the system board's devices and windows, loaded at start-up by
// InitializeSettings (shell/SettingsStore.h), which also gives their defaults.
// The keyboard's options NewKeyBoard and KBPutJumpers live in board/Keyboard.h.
#pragma once
#include <cstdint>

#include "tables/Types.h"

namespace korva {

// Real-time clock: the VersaDOS release the clock behaves for (1027, 1028 or
// 1029; the debugger may change it). "General"/"VdosVersion".
extern int16_t VdosVersion;

// System control module switches ("SCM"): manual definitions, the three
// configuration switches and the I/O-channel enable.
extern VBool ScmMan;
extern VBool SrSW0;
extern VBool SrSW1;
extern VBool SrSW2;
extern VBool SrIOchEN;

// Screen and on-screen keyboard windows open at start-up ("General"), and the
// white-phosphor option that fills PhosphorPalette ("SCM").
extern VBool ScreenOpened;
extern VBool KeyboardOpened;
extern VBool WhitePhosphor;

// Text rows of the screen: 1 = 25 rows (the start-up value), 2 = 50 rows.
extern uint8_t ScreenMode;

}  // namespace korva
