#include "board/ui/formKeyboard.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "board/BoardSettings.h"
#include "board/ui/HostKeys.h"
#include "board/ui/WindowPlacement.h"
#include "board/ui/formKeyboardDisplay.h"
#include "board/ui/ScreenWindows.h"
#include "cpu/MainLoop.h"

namespace korva::ui {

namespace {

const char kSection[] = "KeyBoard";

// The layout in twips (15 to a pixel), origin (100, 100); keys are 495 x 395
// unless noted, rows 400 apart, columns 500 apart.
struct KeyLayoutEntry {
  int Index;
  const char* Caption;    // cap shown in the hexadecimal set (and the only cap of keys 66-86)
  const char* PFCaption;  // cap of the PF set, keypad keys 87-105
  int16_t KeyCode;        // host virtual-key code given to the keyboard link
  int Left, Top, Width, Height;
};

constexpr int W = 495, H = 395;
constexpr KeyLayoutEntry kLayout[] = {
    {66, "F10", nullptr, 121, 100, 100, W, H},    {69, "F13", nullptr, 124, 100, 500, W, H},
    {70, "F14", nullptr, 125, 100, 900, W, H},    {71, "F15", nullptr, 126, 100, 1300, W, H},
    {72, "F16", nullptr, 127, 100, 1700, W, H},   {73, "C/B", nullptr, 19, 700, 100, 742, H},
    {74, "R/E", nullptr, 27, 1448, 100, 742, H},  {75, "\\", nullptr, 36, 700, 500, W, H},
    {76, "^", nullptr, 38, 1200, 500, W, H},      {77, "C/S", nullptr, 33, 1700, 500, W, H},
    {78, "<", nullptr, 37, 700, 900, W, H},       {79, "SEL", nullptr, 41, 1200, 900, W, H},
    {80, ">", nullptr, 39, 1700, 900, W, H},      {81, "|<", nullptr, 35, 700, 1300, W, H},
    {82, "v", nullptr, 40, 1200, 1300, W, H},     {83, ">|", nullptr, 34, 1700, 1300, W, H},
    {84, " ", nullptr, 45, 700, 1700, W, H},      {85, "CL", nullptr, 46, 1200, 1700, W, H},
    {86, "PF", nullptr, 145, 1700, 1700, W, H},   {87, "A", "DCH", 21, 2300, 100, W, H},
    {88, "B", "DL", 22, 2800, 100, W, H},         {89, "C", "PM", 23, 3300, 100, W, H},
    {90, "D", " ", 24, 3800, 100, W, H},          {91, "7", "EOF", 103, 2300, 500, W, H},
    {92, "8", "EOL", 104, 2800, 500, W, H},       {93, "9", "EOP", 105, 3300, 500, W, H},
    {94, "E", "EAU", 25, 3800, 500, W, H},        {95, "4", " ", 100, 2300, 900, W, H},
    {96, "5", " ", 101, 2800, 900, W, H},         {97, "6", " ", 102, 3300, 900, W, H},
    {98, "F", " ", 26, 3800, 900, W, H},          {99, "1", "ICH", 97, 2300, 1300, W, H},
    {100, "2", "IL", 98, 2800, 1300, W, H},       {101, "3", " ", 99, 3300, 1300, W, H},
    {102, "ENT", "ENT", 14, 3800, 1300, W, 790},  {103, "0", " ", 96, 2300, 1700, W, H},
    {104, ",", "TST", 108, 2800, 1700, W, H},     {105, ".", "HLP", 110, 3300, 1700, W, H},
};
constexpr int kFirstKeypad = 87;

int Pixels(int twips) { return (twips + 7) / 15; }

// After a key changed a lock, its light shows it at once.
void ShowLights() {
  if (formKeyboardDisplay* screen = KeyboardDisplayWindow()) screen->RefreshLights();
}

}  // namespace

KeyButton::KeyButton(int16_t keyCode, QWidget* parent) : QPushButton(parent), keyCode_(keyCode) {
  // Host keys go to the window, never to a button.
  setFocusPolicy(Qt::NoFocus);
  setAutoRepeat(false);
  setAutoDefault(false);
}

void KeyButton::mousePressEvent(QMouseEvent* event) {
  if (!held_) {
    held_ = true;
    SendVirtualKey(keyCode_, true);
    ShowLights();
  }
  QPushButton::mousePressEvent(event);
  event->accept();
}

void KeyButton::mouseReleaseEvent(QMouseEvent* event) {
  if (held_ && event->buttons() == Qt::NoButton) {
    held_ = false;
    SendVirtualKey(keyCode_, false);
    ShowLights();
  }
  QPushButton::mouseReleaseEvent(event);
  event->accept();
}

formKeyboard::formKeyboard() {
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(ProfileName.empty() ? QStringLiteral("Keyboard")
                                     : QStringLiteral("Keyboard - ") + QString::fromLatin1(ProfileName));
  BuildKeyButtons();
  int right = 0, bottom = 0;
  for (const KeyLayoutEntry& k : kLayout) {
    right = std::max(right, k.Left + k.Width);
    bottom = std::max(bottom, k.Top + k.Height);
  }
  setFixedSize(Pixels(right + 100), Pixels(bottom + 100));
  SetKeypadCaps(Keyboard.Locks.Scroll != 0);
  LoadPlacement(*this, kSection);
  SetOnScreenKeyboardForm(this);
}

formKeyboard::~formKeyboard() {
  if (OnScreenKeyboardForm == this) SetOnScreenKeyboardForm(nullptr);
}

void formKeyboard::BuildKeyButtons() {
  for (const KeyLayoutEntry& k : kLayout) {
    auto* b = new KeyButton(k.KeyCode, this);
    b->setGeometry(Pixels(k.Left), Pixels(k.Top), Pixels(k.Width), Pixels(k.Height));
    b->setText(QString::fromLatin1(k.Caption));
    cmdKeys_[k.Index] = b;
  }
}

KeyButton* formKeyboard::Button(int index) const {
  return index >= 0 && index < KeyCount ? cmdKeys_[index] : nullptr;
}

void formKeyboard::SetKeypadCaps(bool hex) {
  for (const KeyLayoutEntry& k : kLayout)
    if (k.Index >= kFirstKeypad) cmdKeys_[k.Index]->setText(QString::fromLatin1(hex ? k.Caption : k.PFCaption));
}

void formKeyboard::SetHexCaps() { SetKeypadCaps(true); }
void formKeyboard::SetPFCaps() { SetKeypadCaps(false); }

void formKeyboard::ShowFormKeyboard(int16_t modal) {
  setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void formKeyboard::Unload() {
  SavePlacement(*this, kSection);
  unloading_ = true;
  close();
}

bool formKeyboard::event(QEvent* event) {
  if (TakeMachineKey(*event)) {
    if (event->type() != QEvent::ShortcutOverride) ShowLights();
    return true;
  }
  return QWidget::event(event);
}

void formKeyboard::closeEvent(QCloseEvent* event) {
  if (unloading_) {
    event->accept();
    return;
  }
  // The close box only hides the window.
  event->ignore();
  KeyboardOpened = False;
  hide();
}

}  // namespace korva::ui
