// The debugger window as the rest of the program reaches it: loaded on first
// show, unloaded when closed or at program end.
#pragma once
#include <cstdint>

namespace korva::ui {

class formDebugger;

// The window while loaded, else nullptr.
formDebugger* DebuggerWindowForm();

// Fills the core's view hooks and the main window's debugger slots. The
// program calls it once, before Main.
void InstallDebuggerWindow();

}  // namespace korva::ui
