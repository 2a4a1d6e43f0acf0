// What the main window reaches of the windows of other subsystems: the
// debugger window and the windows it unloads at the end (the console windows
// are in serial/Consoles.h). Each subsystem fills its slots when its window
// exists; an empty slot is skipped.
#pragma once
#include <array>
#include <cstdint>

namespace korva {

struct DebuggerWindowHooks {
  // Show the debugger window (style 0 modeless), clearing its breakpoints and status line.
  void (*ShowDebugger)(int16_t style) = nullptr;
  // Unload the window; it saves its own placement.
  void (*Unload)() = nullptr;
};
extern DebuggerWindowHooks DebuggerWindow;

// Windows unloaded by the main window, in this order, after the settings are
// saved: the screen and keyboard window, the on-screen keyboard, the jumper dialog.
extern void (*UnloadKeyboardDisplay)();
extern void (*UnloadKeyboardWindow)();
extern void (*UnloadJumpers)();

}  // namespace korva
