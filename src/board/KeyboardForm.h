// What the core asks of the on-screen keyboard window. Until the window
// attaches, ShowFormKeyboard is empty and nothing opens.
#pragma once
#include <cstdint>

namespace korva {

struct KeyboardFormHooks {
  // Show the on-screen keyboard window (mode 0 modeless), creating it when needed.
  void (*ShowFormKeyboard)(int16_t mode) = nullptr;
  // Hide it without unloading it.
  void (*HideFormKeyboard)() = nullptr;
};
extern KeyboardFormHooks KeyboardFormHook;

}  // namespace korva
