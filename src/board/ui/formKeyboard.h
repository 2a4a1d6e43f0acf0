// The on-screen keyboard: buttons for the machine's keys that a PC keyboard
// lacks or the desktop takes for itself (function keys F10 and F13-F16, an
// editing and cursor block, and a keypad whose caps show the hexadecimal set
// while the keyboard's scroll lock is on and the PF set while it is off).
// A mouse press on a button is that key going down, the release its going
// up, exactly as a host key; host keys typed into the window are passed on too.
#pragma once
#include <QPushButton>
#include <QWidget>

#include <array>
#include <cstdint>

#include "board/Keyboard.h"

namespace korva::ui {

// One key of the on-screen keyboard.
class KeyButton final : public QPushButton {
 public:
  KeyButton(int16_t keyCode, QWidget* parent);
  int16_t KeyCode() const { return keyCode_; }

 protected:
  // Any mouse button presses and releases the key.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  int16_t keyCode_;
  bool held_ = false;
};

class formKeyboard final : public QWidget, public OnScreenKeyboardHooks {
 public:
  static constexpr int KeyCount = 106;  // button indexes 0-105; 66 and 69-105 exist

  // Loads the window hidden: caption, placement from section "KeyBoard", the
  // buttons with the caps the scroll lock calls for. It takes the keyboard
  // link's cap switches until it is destroyed.
  formKeyboard();
  ~formKeyboard() override;

  // Shows the window (modal flag 0: modeless) and brings it to the front.
  void ShowFormKeyboard(int16_t modal);
  // Keypad caps: hexadecimal set, PF set.
  void SetHexCaps() override;
  void SetPFCaps() override;
  // Saves the placement and closes the window for real (program end).
  void Unload();

  // The button of an index, or nullptr for an index that has none.
  KeyButton* Button(int index) const;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildKeyButtons();
  void SetKeypadCaps(bool hex);

  std::array<KeyButton*, KeyCount> cmdKeys_ = {};
  bool unloading_ = false;
};

}  // namespace korva::ui
