#include "board/ui/HostKeys.h"

#include <QKeyEvent>

#include "board/Keyboard.h"

namespace korva::ui {

namespace {

struct KeyPair {
  int Key;
  int VirtualKey;
};

// Keys whose code does not depend on the keypad modifier. Shifted punctuation
// takes the code of its unshifted key (US layout).
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9}, {Qt::Key_Clear, 12},
    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13}, {Qt::Key_Shift, 16}, {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18}, {Qt::Key_AltGr, 18}, {Qt::Key_Pause, 19}, {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27}, {Qt::Key_Space, 32}, {Qt::Key_PageUp, 33}, {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35}, {Qt::Key_Home, 36}, {Qt::Key_Left, 37}, {Qt::Key_Up, 38},
    {Qt::Key_Right, 39}, {Qt::Key_Down, 40}, {Qt::Key_Insert, 45}, {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47}, {Qt::Key_Meta, 91}, {Qt::Key_Menu, 93}, {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Digit row, shifted forms.
    {Qt::Key_ParenRight, 48}, {Qt::Key_Exclam, 49}, {Qt::Key_At, 50}, {Qt::Key_NumberSign, 51},
    {Qt::Key_Dollar, 52}, {Qt::Key_Percent, 53}, {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},
    {Qt::Key_Asterisk, 56}, {Qt::Key_ParenLeft, 57},
    // Punctuation keys, both forms.
    {Qt::Key_Semicolon, 186}, {Qt::Key_Colon, 186}, {Qt::Key_Equal, 187}, {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188}, {Qt::Key_Less, 188}, {Qt::Key_Minus, 189}, {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190}, {Qt::Key_Greater, 190}, {Qt::Key_Slash, 191}, {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192}, {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};

// The keypad's operators while the keypad modifier is set. Its digits are
// handled by range; with NumLock off the keypad reports navigation keys,
// which take their usual codes from kKeys.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107}, {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

int Find(const KeyPair* begin, const KeyPair* end, int key) {
  for (const KeyPair* p = begin; p != end; ++p)
    if (p->Key == key) return p->VirtualKey;
  return NoVirtualKey;
}

}  // namespace

int VirtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return 96 + (key - Qt::Key_0);
    const int vk = Find(std::begin(kKeypadKeys), std::end(kKeypadKeys), key);
    if (vk != NoVirtualKey) return vk;
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return 48 + (key - Qt::Key_0);
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return 65 + (key - Qt::Key_A);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  return Find(std::begin(kKeys), std::end(kKeys), key);
}

void SendVirtualKey(int virtualKey, bool down) {
  if (virtualKey < 0 || virtualKey > 255) return;
  const uint16_t code = Keyboard.ConvertKey(static_cast<uint16_t>(virtualKey), down ? 1 : 0);
  if (code < NoKeyCode) Keyboard.CharacterArrival(static_cast<uint8_t>(code));
}

bool ForwardKeyEvent(const QKeyEvent& event) {
  const bool down = event.type() == QEvent::KeyPress;
  if (!down && event.type() != QEvent::KeyRelease) return false;
  // The host repeats a held key as release and press pairs; only the presses
  // are the machine's (the keyboard link drops repeats of keys it tracks).
  if (!down && event.isAutoRepeat()) return true;
  const int vk = VirtualKeyFromQt(event.key(), event.modifiers());
  if (vk == NoVirtualKey) return false;
  SendVirtualKey(vk, down);
  return true;
}

bool TakeMachineKey(QEvent& event) {
  switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return ForwardKeyEvent(static_cast<const QKeyEvent&>(event));
    case QEvent::ShortcutOverride: {
      const auto& key = static_cast<const QKeyEvent&>(event);
      if (VirtualKeyFromQt(key.key(), key.modifiers()) == NoVirtualKey) return false;
      event.accept();
      return true;
    }
    default:
      return false;
  }
}

}  // namespace korva::ui
