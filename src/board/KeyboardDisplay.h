// What the core asks of the screen and keyboard window beyond the picture (which
// the compositor keeps): showing and hiding it. The core calls it through the slot
// KeyboardDisplayForm, which is never null: until the window attaches, a silent
// instance does nothing.
#pragma once
#include <cstdint>

namespace korva {

class KeyboardDisplayHooks {
 public:
  virtual ~KeyboardDisplayHooks() = default;
  // Show the screen and keyboard window (mode 0 modeless), creating it when needed.
  virtual void KeyboardDisplayShow(int16_t /*mode*/) {}
  // Hide it without unloading it.
  virtual void KeyboardDisplayHide() {}
};

extern KeyboardDisplayHooks* KeyboardDisplayForm;  // never null
void SetKeyboardDisplayForm(KeyboardDisplayHooks* form);  // nullptr restores the silent one

}  // namespace korva
