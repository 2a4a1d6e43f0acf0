// Which optional memory ranges, boards and emulator devices are plugged in
// (settings section "Devices", one key per flag of the same name). The memory
// map is built from them and the plug menu commands invert them.
#pragma once
#include "tables/Types.h"

namespace korva {

extern VBool ReservedPlugged;  // 060000-17FFFF, default false
extern VBool Mem180to1BF;
extern VBool Mem1C0to1FF;
extern VBool Mem200to3FF;
extern VBool Mem400to5FF;
extern VBool Mem600to7FF;
extern VBool Mem800to9FF;
extern VBool MemA00toBFF;
extern VBool MemC00toDFF;
extern VBool MemF1EtoFFF;
extern VBool MVME400C0Plugged;
extern VBool MVME400C1Plugged;
extern VBool MVME410C0Plugged;
extern VBool FrontPanelPlugged;
extern VBool SimpleDCPlugged;
extern VBool LSNDCPlugged;
extern VBool CPMDCPlugged;
extern VBool DropzonePlugged;
extern VBool UloadDloadPlugged;

// Every flag back to its default (all true except ReservedPlugged).
void ResetPlugFlags();

}  // namespace korva
