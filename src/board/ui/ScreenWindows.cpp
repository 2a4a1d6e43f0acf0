#include "board/ui/ScreenWindows.h"

#include <QPointer>

#include "board/KeyboardDisplay.h"
#include "board/KeyboardForm.h"
#include "board/ui/formKeyboard.h"
#include "board/ui/formKeyboardDisplay.h"
#include "host/qt/QtHost.h"
#include "shell/Neighbours.h"

namespace korva::ui {

namespace {

QPointer<formKeyboardDisplay> screenWindow;
QPointer<formKeyboard> keyboardWindow;

// What the core may ask of the screen window: showing it.
class DisplayShowHook final : public KeyboardDisplayHooks {
 public:
  void KeyboardDisplayShow(int16_t mode) override { ui::KeyboardDisplayShow(mode); }
  void KeyboardDisplayHide() override { ui::KeyboardDisplayHide(); }
};
DisplayShowHook displayShowHook;

formKeyboardDisplay& LoadKeyboardDisplay() {
  if (!screenWindow) {
    screenWindow = new formKeyboardDisplay;
    QtHost::BeforePump = &RefreshScreenWindow;
  }
  return *screenWindow;
}

formKeyboard& LoadFormKeyboard() {
  if (!keyboardWindow) keyboardWindow = new formKeyboard;
  return *keyboardWindow;
}

}  // namespace

formKeyboardDisplay* KeyboardDisplayWindow() { return screenWindow.data(); }
formKeyboard* KeyboardWindow() { return keyboardWindow.data(); }

void KeyboardDisplayShow(int16_t modal) { LoadKeyboardDisplay().KeyboardDisplayShow(modal); }
void ShowFormKeyboard(int16_t modal) { LoadFormKeyboard().ShowFormKeyboard(modal); }

void KeyboardDisplayHide() {
  if (screenWindow) screenWindow->hide();
}

void FormKeyboardHide() {
  if (keyboardWindow) keyboardWindow->hide();
}

void UnloadKeyboardDisplay() {
  if (!screenWindow) return;
  if (QtHost::BeforePump == &RefreshScreenWindow) QtHost::BeforePump = nullptr;
  formKeyboardDisplay* w = screenWindow;
  screenWindow = nullptr;
  w->Unload();
  w->deleteLater();
}

void UnloadFormKeyboard() {
  if (!keyboardWindow) return;
  formKeyboard* w = keyboardWindow;
  keyboardWindow = nullptr;
  w->Unload();
  // Detach at once: the keyboard link must not call a window being unloaded.
  SetOnScreenKeyboardForm(nullptr);
  w->deleteLater();
}

void InstallBoardWindows() {
  SetKeyboardDisplayForm(&displayShowHook);
  KeyboardFormHook.ShowFormKeyboard = &ShowFormKeyboard;
  KeyboardFormHook.HideFormKeyboard = &FormKeyboardHide;
  korva::UnloadKeyboardDisplay = &ui::UnloadKeyboardDisplay;
  korva::UnloadKeyboardWindow = &ui::UnloadFormKeyboard;
}

void RefreshScreenWindow() {
  if (screenWindow) screenWindow->Refresh();
}

}  // namespace korva::ui
