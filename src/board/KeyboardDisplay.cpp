#include "board/KeyboardDisplay.h"

namespace korva {

namespace {
KeyboardDisplayHooks silentDisplay;
}

KeyboardDisplayHooks* KeyboardDisplayForm = &silentDisplay;
VBool ScreenRedrawHeld = False;

void SetKeyboardDisplayForm(KeyboardDisplayHooks* form) { KeyboardDisplayForm = form ? form : &silentDisplay; }

void RedrawScreen() {
  if (ScreenRedrawHeld) return;
  for (uint16_t i = 0; i < 4096; ++i) KeyboardDisplayForm->DisplayCharacterOnScreen(i);
}

}  // namespace korva
