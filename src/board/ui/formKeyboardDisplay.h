// The screen and keyboard window: the machine's console screen at 800 x 600
// pixels with the row of lock lights under it, and the machine's keyboard
// while it has the focus. It is a view: the picture, the keyboard state and the
// lights' colours live in the core. Once per event pump the window copies the
// rectangle of the picture that changed and repaints the lights whose colour
// changed; key events go to the keyboard link, Tab included.
#pragma once
#include <QWidget>

#include <array>
#include <cstdint>

#include "board/KeyboardLights.h"

class QGroupBox;
class QLabel;

namespace korva::ui {

class ScreenView;

// One light under the screen: a filled shape in the colour the core keeps for
// it, with its caption. A click on lights 4-7 toggles their lock.
class LockLight final : public QWidget {
 public:
  LockLight(int index, const QString& caption, QWidget* parent);
  int Index() const { return index_; }
  // The colour last painted, 0x00BBGGRR.
  uint32_t Shown() const { return shown_; }
  // Repaints when the core's colour differs from the one shown.
  void Refresh();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int index_;
  QString caption_;
  uint32_t shown_;
};

class formKeyboardDisplay final : public QWidget {
 public:
  // Loads the window hidden: caption, placement from section "KeyBoardDisplay",
  // the whole current picture.
  formKeyboardDisplay();
  ~formKeyboardDisplay() override;

  // Shows the window (modal flag 0: modeless) and brings it to the front.
  void KeyboardDisplayShow(int16_t modal);
  // Brings the changed part of the picture and the changed lights on screen.
  void Refresh();
  void RefreshLights();
  // Saves the placement and closes the window for real (program end).
  void Unload();
  // The clock text that the main window writes once a second.
  void SetEmuTime(const QString& text);

  ScreenView* picScreen = nullptr;
  QGroupBox* frmLights = nullptr;
  std::array<LockLight*, KeyboardLightCount> shpLights = {};
  QLabel* lblEmuTime = nullptr;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ShowFocus(bool active);
  bool unloading_ = false;
};

}  // namespace korva::ui
