// The screen and keyboard window and the on-screen keyboard as the rest of the
// program reaches them: created on first use (hidden), shown from the menus
// and at start-up, closed for real at program end. Only these functions create
// the windows; no device access ever does.
#pragma once
#include <cstdint>

namespace korva::ui {

class formKeyboardDisplay;
class formKeyboard;

// The windows when loaded, else nullptr.
formKeyboardDisplay* KeyboardDisplayWindow();
formKeyboard* KeyboardWindow();

// Load (hidden) when needed and show, modal flag 0 = modeless.
void KeyboardDisplayShow(int16_t modal);
void ShowFormKeyboard(int16_t modal);
// Hide without unloading (a menu item that closes the window).
void KeyboardDisplayHide();
void FormKeyboardHide();

// Program end: save the placement and close the window for real. The widget
// is deleted once control is back in the event loop.
void UnloadKeyboardDisplay();
void UnloadFormKeyboard();

// Hands the show and unload functions to the start-up's settings load and the
// main window. The program calls it once, before Main.
void InstallBoardWindows();

// Run once per event pump: the screen window copies what the machine drew.
void RefreshScreenWindow();

}  // namespace korva::ui
