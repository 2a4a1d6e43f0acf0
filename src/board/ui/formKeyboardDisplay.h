// The screen and keyboard window: the machine's console screen at 800 x 600
// pixels with the row of lock lights under it, and the machine's keyboard
// while it has the focus. It is a view: the picture, the keyboard state and the
// lights' colours live in the core. At the event pumps the window copies the
// rectangle of the picture that changed and repaints the lights whose colour
// changed; key events go to the keyboard link, Tab included.
#pragma once
#include <QWidget>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "board/KeyboardLights.h"

class QGroupBox;
class QLabel;
class QTimer;

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
  // Run at every event pump: brings the changed lights, the emulated time
  // (which the main window's one-second tick writes) and the changed part of
  // the picture on screen. A guest that redraws the screen without pause
  // would otherwise spend its time in copies and paints faster than any
  // display shows them, so frames are at least FrameInterval apart, and
  // further apart when a frame took long: a frame's copy and paint may take
  // at most 1/FrameBudget of the time. What is held back follows by a timer,
  // and before any key or mouse event is handled.
  void Refresh();
  static constexpr std::chrono::milliseconds FrameInterval{20};
  static constexpr int FrameBudget = 50;
  // Copies and paints the changed part of the picture now; returns that part.
  QRect Flush();
  void RefreshLights();
  // Saves the placement and closes the window for real (program end).
  void Unload();

  ScreenView* picScreen = nullptr;
  QGroupBox* frmLights = nullptr;
  std::array<LockLight*, KeyboardLightCount> shpLights = {};
  QLabel* lblEmuTime = nullptr;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Sees the application's input events before they are handled.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowFocus(bool active);
  bool unloading_ = false;
  QTimer* frameTimer_ = nullptr;  // copies what the last pumps held back
  std::chrono::steady_clock::time_point lastFrame_{};
  std::chrono::steady_clock::duration frameGap_ = FrameInterval;  // from one frame's end to the next
  std::string emuTimeShown_;
};

}  // namespace korva::ui
