// The CRT window's three dialogs behind its menu items "Edit Key Definitions
// ...", "Edit Abilities ..." and "Colors ...".
#pragma once

namespace korva::ui {

// Registers the dialogs with the CRT consoles (terminal/CrtConsole.h).
void InstallCrtDialogs();

}  // namespace korva::ui
