#include "shell/Neighbours.h"

namespace korva {

DebuggerWindowHooks DebuggerWindow;
void (*UnloadKeyboardDisplay)() = nullptr;
void (*UnloadKeyboardWindow)() = nullptr;
void (*UnloadJumpers)() = nullptr;

}  // namespace korva
