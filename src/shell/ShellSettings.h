// Settings of the main window's menus and listeners, loaded at start-up by
// InitializeSettings (shell/SettingsStore.h), which also gives their defaults.
// BootDrive lives in shell/BootDrive.h.
#pragma once
#include <cstdint>

#include "tables/Types.h"

namespace korva {

extern int16_t BootType;    // 0-6, the ticked item of "Set Boot Type"
extern int16_t BugType;     // 0 TENbug, 1 VMEbug
extern int16_t DropFormat;  // 0-5, the drop zone's naming rule
extern VBool AlternateIVS;  // the screen's alternate inverse-video merge
// TCP ports of the main console listener and of the first standalone NET console.
extern int32_t MainListenPort;
extern int32_t BaseListenPort;

}  // namespace korva
