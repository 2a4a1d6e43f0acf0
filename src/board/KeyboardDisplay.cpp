#include "board/KeyboardDisplay.h"

namespace korva {

namespace {
KeyboardDisplayHooks SilentKeyboardDisplay;
}  // namespace

KeyboardDisplayHooks* KeyboardDisplayForm = &SilentKeyboardDisplay;

void SetKeyboardDisplayForm(KeyboardDisplayHooks* form) {
  KeyboardDisplayForm = form ? form : &SilentKeyboardDisplay;
}

}  // namespace korva
