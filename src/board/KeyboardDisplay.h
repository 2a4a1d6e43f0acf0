// What the core asks of the window that draws the machine's screen. The core
// calls it through the slot KeyboardDisplayForm, which is never null: until a
// screen window attaches, a silent instance draws nothing.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

class KeyboardDisplayHooks {
 public:
  virtual ~KeyboardDisplayHooks() = default;
  // Draw character cell ScmDisplayRam[index] (0-4095).
  virtual void DisplayCharacterOnScreen(uint16_t /*index*/) {}
  // The 16 pixels of one colour-plane word, bit 15 first, 800 pixels a row.
  virtual void SetGreenWord(uint32_t /*wordOffset*/, int16_t /*data*/) {}
  virtual void SetBlueWord(uint32_t /*wordOffset*/, int16_t /*data*/) {}
  virtual void SetRedWord(uint32_t /*wordOffset*/, int16_t /*data*/) {}
  // The 8 pixels of one colour-plane byte, bit 7 first.
  virtual void SetGreenByte(uint32_t /*byteOffset*/, uint8_t /*data*/) {}
  virtual void SetBlueByte(uint32_t /*byteOffset*/, uint8_t /*data*/) {}
  virtual void SetRedByte(uint32_t /*byteOffset*/, uint8_t /*data*/) {}
  // Rewrite every word of the active colour planes (forced writes) so that
  // they are drawn again; nothing while ScreenRedrawHeld is set.
  virtual void RedrawGraphics() {}
  // Show the screen and keyboard window (mode 0 modeless), creating it when needed.
  virtual void KeyboardDisplayShow(int16_t /*mode*/) {}
};

extern KeyboardDisplayHooks* KeyboardDisplayForm;  // never null
void SetKeyboardDisplayForm(KeyboardDisplayHooks* form);  // nullptr restores the silent one

// While set, the screen's redraw operations do nothing.
extern VBool ScreenRedrawHeld;

// Redraw every text cell of the screen (nothing while ScreenRedrawHeld is set).
void RedrawScreen();

}  // namespace korva
