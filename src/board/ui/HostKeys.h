// Host key events as the machine's keyboard takes them: Qt keys turned into
// Windows virtual-key codes, the code the keyboard link's ConvertKey expects,
// and the key events of the screen window and the on-screen keyboard passed on.
#pragma once
#include <Qt>

class QEvent;
class QKeyEvent;

namespace korva::ui {

constexpr int NoVirtualKey = -1;

// The virtual-key code (0-255) of a Qt key, or NoVirtualKey for a key the
// machine has no use for. Shifted punctuation gives its unshifted key, the
// keypad's digits and operators (keypad modifier) their keypad codes, both
// Enter keys 13, and keypad keys without NumLock the navigation codes.
int VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers);

// One key event of a window that feeds the keyboard: converted and, when the
// keyboard link answers with a key code, delivered towards the processor.
// Releases that the host marks as auto-repeat are dropped, so that a held
// lock key toggles only once. Returns true when the event was the machine's.
bool ForwardKeyEvent(const QKeyEvent& event);

// The key events of a window that feeds the keyboard, taken before the
// window's own handling so that Tab and Backtab reach the machine and never
// move the focus; shortcut overrides of the keys the machine takes are
// accepted so that no shortcut steals them. True when the event was consumed.
bool TakeMachineKey(QEvent& event);

// A key going down (1) or up (0) by its virtual-key code, as ForwardKeyEvent
// and the on-screen keyboard's buttons send it.
void SendVirtualKey(int virtualKey, bool down);

}  // namespace korva::ui
