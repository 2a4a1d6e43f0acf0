#include "board/ui/formKeyboardDisplay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "board/BoardSettings.h"
#include "board/Keyboard.h"
#include "board/ScreenCompositor.h"
#include "board/ui/HostKeys.h"
#include "board/ui/ScreenView.h"
#include "board/ui/WindowPlacement.h"
#include "cpu/MainLoop.h"
#include "shell/MainWindowState.h"

namespace korva::ui {

namespace {

const char kSection[] = "KeyBoardDisplay";

const char* const kLightCaptions[KeyboardLightCount] = {"A", "B", "C", "PAD", "NL", "HL", "FL", "SL", "KBL"};

// The host key whose lock a click on a light toggles (lights 4-7), or 0.
constexpr uint16_t kLightKeys[KeyboardLightCount] = {0, 0, 0, 0, 144, 111, 106, 109, 0};

// Text colours of the clock label (0x00BBGGRR): the window holds the focus or not.
constexpr uint32_t kFocusText = 0xFF0000;    // RGB(0, 0, 255)
constexpr uint32_t kNoFocusText = 0x190000;  // RGB(0, 0, 25)

// The rectangle of the compositor's picture changed since the last call.
QRect TakeScreenChanges() {
  const DirtyRect d = Screen.TakeDirtyRect();
  if (d.Empty()) return {};
  return QRect(QPoint(d.Left, d.Top), QPoint(d.Right, d.Bottom));
}

}  // namespace

LockLight::LockLight(int index, const QString& caption, QWidget* parent)
    : QWidget(parent), index_(index), caption_(caption), shown_(KeyboardLightRGB[index]) {
  setFixedSize(34, 34);
  setFocusPolicy(Qt::NoFocus);
  setToolTip(caption);
}

void LockLight::Refresh() {
  if (KeyboardLightRGB[index_] != shown_) update();
}

void LockLight::paintEvent(QPaintEvent*) {
  shown_ = KeyboardLightRGB[index_];
  QPainter p(this);
  p.fillRect(QRect(4, 2, width() - 8, 14), QColor::fromRgb(ScreenView::ToQtColor(shown_)));
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(QRect(0, 18, width(), height() - 18), Qt::AlignHCenter | Qt::AlignTop, caption_);
}

void LockLight::mousePressEvent(QMouseEvent*) {
  const uint16_t key = kLightKeys[index_];
  if (key == 0) return;
  // A press and release of the lock's key; the lock keys send no code.
  Keyboard.ConvertKey(key, 1);
  Keyboard.ConvertKey(key, 0);
  Refresh();
}

formKeyboardDisplay::formKeyboardDisplay() {
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::StrongFocus);
  setWindowTitle(ProfileName.empty() ? QStringLiteral("Screen/Keyboard")
                                     : QStringLiteral("Screen/Keyboard - ") + QString::fromLatin1(ProfileName));

  picScreen = new ScreenView(this);
  frmLights = new QGroupBox(QStringLiteral("Locks"), this);
  auto* row = new QHBoxLayout(frmLights);
  row->setContentsMargins(6, 2, 6, 2);
  for (int i = 0; i < KeyboardLightCount; ++i) {
    shpLights[i] = new LockLight(i, QString::fromLatin1(kLightCaptions[i]), frmLights);
    row->addWidget(shpLights[i]);
  }
  row->addStretch(1);
  lblEmuTime = new QLabel(frmLights);
  row->addWidget(lblEmuTime);

  // The window always fits an 800 x 600 picture with the lights under it.
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->setSizeConstraint(QLayout::SetFixedSize);
  column->addWidget(picScreen);
  column->addWidget(frmLights);
  frmLights->setFixedWidth(ScreenView::ViewWidth);

  ShowFocus(false);
  TakeScreenChanges();
  picScreen->CopyFrom(ScreenImage, ScreenWidth, picScreen->rect());
  LoadPlacement(*this, kSection);

  frameTimer_ = new QTimer(this);
  frameTimer_->setSingleShot(true);
  connect(frameTimer_, &QTimer::timeout, this, &formKeyboardDisplay::Refresh);
  qApp->installEventFilter(this);
}

formKeyboardDisplay::~formKeyboardDisplay() = default;

void formKeyboardDisplay::KeyboardDisplayShow(int16_t modal) {
  setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void formKeyboardDisplay::Refresh() {
  // While hidden, the changed rectangle keeps growing in the compositor and
  // is copied at once when the window shows again.
  if (!isVisible()) return;
  RefreshLights();
  if (EmulatedTimeLabel != emuTimeShown_) {
    emuTimeShown_ = EmulatedTimeLabel;
    lblEmuTime->setText(QString::fromLatin1(emuTimeShown_));
  }
  if (Screen.Dirty().Empty()) return;
  const auto since = std::chrono::steady_clock::now() - lastFrame_;
  if (since >= frameGap_) {
    Flush();
  } else if (!frameTimer_->isActive()) {
    frameTimer_->start(std::chrono::ceil<std::chrono::milliseconds>(frameGap_ - since));
  }
}

QRect formKeyboardDisplay::Flush() {
  const auto start = std::chrono::steady_clock::now();
  frameTimer_->stop();
  const QRect changed = TakeScreenChanges();
  if (!changed.isEmpty()) {
    picScreen->CopyFrom(ScreenImage, ScreenWidth, changed);
    picScreen->repaint(changed);
  }
  lastFrame_ = std::chrono::steady_clock::now();
  frameGap_ = std::max<std::chrono::steady_clock::duration>(FrameInterval, (lastFrame_ - start) * FrameBudget);
  return changed;
}

bool formKeyboardDisplay::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      // What the machine drew is on screen before the user's next action is handled.
      if (isVisible() && !Screen.Dirty().Empty()) Flush();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void formKeyboardDisplay::RefreshLights() {
  for (LockLight* light : shpLights) light->Refresh();
}

void formKeyboardDisplay::Unload() {
  SavePlacement(*this, kSection);
  unloading_ = true;
  close();
}

void formKeyboardDisplay::ShowFocus(bool active) {
  QPalette p = lblEmuTime->palette();
  p.setColor(QPalette::WindowText, QColor::fromRgb(ScreenView::ToQtColor(active ? kFocusText : kNoFocusText)));
  lblEmuTime->setPalette(p);
}

bool formKeyboardDisplay::event(QEvent* event) {
  if (TakeMachineKey(*event)) {
    if (event->type() != QEvent::ShortcutOverride) RefreshLights();
    return true;
  }
  return QWidget::event(event);
}

void formKeyboardDisplay::closeEvent(QCloseEvent* event) {
  if (unloading_) {
    event->accept();
    return;
  }
  // The close box only hides the window; the machine's screen lives on.
  event->ignore();
  ScreenOpened = False;
  hide();
}

void formKeyboardDisplay::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange) ShowFocus(isActiveWindow());
  QWidget::changeEvent(event);
}

void formKeyboardDisplay::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Flush();
  RefreshLights();
}

}  // namespace korva::ui
