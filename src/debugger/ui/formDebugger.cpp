#include "debugger/ui/formDebugger.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Panes.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "host/qt/WindowPlace.h"

namespace korva::ui {

namespace {
constexpr const char* kSection = "Debugger";
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 3;
constexpr int kRightGap = 8;       // between the buttons and the client area's right edge
constexpr int kPaneMargin = 14;    // frame and document margins of a pane
constexpr int kRegisterLines = 7;  // lines of the register text

QString ToQt(std::string_view text) {
  std::string t;
  t.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;  // CR LF is one line end
    t += text[i] == '\r' ? '\n' : text[i];
  }
  return QString::fromStdString(Cp1252ToUtf8(t));
}

QPlainTextEdit* MakePane(QWidget* parent, bool readOnly) {
  auto* pane = new QPlainTextEdit(parent);
  pane->setReadOnly(readOnly);
  if (readOnly) pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  pane->setLineWrapMode(QPlainTextEdit::NoWrap);
  pane->setUndoRedoEnabled(false);
  return pane;
}

// The font of the panes: the fixed-pitch system font, changed by the keys of the section that hold text.
QFont PaneFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  const std::string name = Host().GetSetting(kSection, "FontName", "");
  if (!name.empty()) font.setFamily(QString::fromStdString(Cp1252ToUtf8(name)));
  // A size may hold a fraction of a point ("9.75").
  const std::string sizeText = Host().GetSetting(kSection, "FontSize", "");
  if (!sizeText.empty()) {
    bool ok = false;
    const double size = QString::fromStdString(sizeText).trimmed().toDouble(&ok);  // "." whatever the locale
    if (ok && size >= 1 && size <= 200) font.setPointSizeF(size);
  }
  if (!Host().GetSetting(kSection, "FontBold", "").empty()) font.setBold(GetSettingBool(kSection, "FontBold", False));
  if (!Host().GetSetting(kSection, "FontItalic", "").empty())
    font.setItalic(GetSettingBool(kSection, "FontItalic", False));
  return font;
}
}  // namespace

formDebugger::formDebugger() {
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle("Debugger - ");
  txtRegisters_ = MakePane(this, true);
  txtMemory_ = {MakePane(this, true), MakePane(this, true)};
  txtIO_ = MakePane(this, false);
  txtIO_->setTabChangesFocus(false);
  txtIO_->installEventFilter(this);
  txtIO_->setMaximumBlockCount(0);
  cmdRun_ = new QPushButton("Run", this);
  cmdStep_ = new QPushButton("Step", this);
  cmdStop_ = new QPushButton("Stop", this);
  cmdAbort_ = new QPushButton("Abort", this);
  for (QPushButton* b : {cmdRun_, cmdStep_, cmdStop_, cmdAbort_}) {
    b->setFocusPolicy(Qt::NoFocus);  // typing stays in the command box
    b->resize(kButtonWidth, kButtonHeight);
  }
  connect(cmdRun_, &QPushButton::clicked, this, [] { cmdRunClick(); });
  connect(cmdStep_, &QPushButton::clicked, this, [] { cmdStepClick(); });
  connect(cmdStop_, &QPushButton::clicked, this, [] { cmdStopClick(); });
  connect(cmdAbort_, &QPushButton::clicked, this, [] { cmdAbortClick(); });

  const QFont font = PaneFont();
  for (QPlainTextEdit* pane : {txtRegisters_, txtMemory_[0], txtMemory_[1], txtIO_}) pane->setFont(font);
  for (int i = 0; i < 2; ++i) {
    txtMemory_[static_cast<size_t>(i)]->setPlainText("No Watch");
    SetWatchHeight(i, 1);
  }

  // The default place and size, then the stored ones.
  resize(std::max(720, QFontMetrics(font).horizontalAdvance(QString(64, 'W')) + kButtonWidth + 3 * kRightGap),
         std::max(560, 34 * LineHeight()));
  // "Left" and "Top" are the frame's corner, as for every window, so a close
  // and a reopen leave the window where it was.
  // A stored place is applied even where the window already stands: a window
  // not shown yet that is not placed would be placed by the window manager.
  const QPoint at = FramePosition(*this);
  constexpr int32_t kFar = 1000000;
  constexpr int32_t kNone = -kFar - 1;
  const int32_t left = GetSettingLong(kSection, "Left", kNone, -kFar, kFar);
  const int32_t top = GetSettingLong(kSection, "Top", kNone, -kFar, kFar);
  const int32_t width = GetSettingLong(kSection, "Width", this->width(), 100, kFar);
  const int32_t height = GetSettingLong(kSection, "Height", this->height(), 100, kFar);
  resize(width, height);
  if (left != kNone || top != kNone) PlaceFrame(*this, QPoint(left != kNone ? left : at.x(), top != kNone ? top : at.y()));
  if (GetSettingLong(kSection, "WindowState", 0, 0, 2) == 2) setWindowState(Qt::WindowMaximized);
  LayoutPanes();
  DebuggerLoad();
  // The panes show what the core holds now, and the main loop redraws them at its next look.
  SetRegisters(RegistersPaneText, RegistersPaneBackground);
  for (int16_t i = 0; i < 2; ++i) SetWatch(i, WatchPaneText[i], WatchPaneVisibleLines[i]);
  RefreshRegsRequest = True;
  RefreshWatchRequest = True;
}

formDebugger::~formDebugger() = default;

// A text line of the panes, with the pixel the layout of a line may add.
int formDebugger::LineHeight() const { return QFontMetrics(txtIO_->font()).lineSpacing() + 1; }

void formDebugger::ShowDebugger(int16_t style) {
  setWindowModality(style ? Qt::ApplicationModal : Qt::NonModal);
  if (windowState() & Qt::WindowMinimized) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  txtIO_->setFocus();
}

void formDebugger::Unload() {
  const Qt::WindowStates state = windowState();
  const int32_t code = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
  SaveSettingLong(kSection, "WindowState", code);
  if (code != 1) {
    // A maximized window keeps the place it has when restored.
    const bool maximized = state & Qt::WindowMaximized;
    const QRect inside = maximized ? normalGeometry() : geometry();
    const QPoint at = maximized ? inside.topLeft() - normalFrameOffset_ : FramePosition(*this);
    SaveSettingLong(kSection, "Top", at.y());
    SaveSettingLong(kSection, "Left", at.x());
    SaveSettingLong(kSection, "Width", inside.width());
    SaveSettingLong(kSection, "Height", inside.height());
  }
  DebuggerUnload();
  unloading_ = true;
  if (!closing_) close();
}

size_t formDebugger::OutputLength() const { return static_cast<size_t>(txtIO_->document()->characterCount() - 1); }

void formDebugger::RemoveFirst(size_t count) {
  QTextCursor c(txtIO_->document());
  c.setPosition(0);
  c.setPosition(static_cast<int>(std::min(count, OutputLength())), QTextCursor::KeepAnchor);
  c.removeSelectedText();
}

void formDebugger::Append(std::string_view text) {
  QTextCursor c = txtIO_->textCursor();
  c.movePosition(QTextCursor::End);
  c.insertText(ToQt(text));
  txtIO_->setTextCursor(c);
  txtIO_->ensureCursorVisible();
}

bool formDebugger::AtLineStart() const {
  const QTextDocument* doc = txtIO_->document();
  const int count = doc->characterCount();  // the text and the last block's end
  if (count < 2) return true;
  const QChar last = doc->characterAt(count - 2);
  return last == QChar::ParagraphSeparator || last == QChar::LineSeparator || last == QLatin1Char('\n');
}

void formDebugger::SetRegisters(const std::string& text, uint32_t background) {
  QPalette p = txtRegisters_->palette();
  p.setColor(QPalette::Base, QColor(background & 0xFF, (background >> 8) & 0xFF, (background >> 16) & 0xFF));
  txtRegisters_->setPalette(p);
  txtRegisters_->setPlainText(ToQt(text));
}

void formDebugger::SetWatch(int16_t watch, const std::string& text, int32_t visibleLines) {
  if (watch != 0 && watch != 1) return;
  QPlainTextEdit* pane = txtMemory_[static_cast<size_t>(watch)];
  pane->setPlainText(ToQt(text));
  pane->moveCursor(QTextCursor::Start);
  SetWatchHeight(watch, std::max(1, visibleLines));
  LayoutPanes();
}

void formDebugger::SetWatchHeight(int i, int lines) { watchHeight_[static_cast<size_t>(i)] = lines * LineHeight() + kPaneMargin; }

void formDebugger::LayoutPanes() {
  if (windowState() & Qt::WindowMinimized) return;
  const int w = std::max(0, width());
  const int h = std::max(0, height());
  int y = 0;
  // Tall enough for the register text and for the column of buttons at its right end.
  const int registersHeight =
      std::max(kRegisterLines * LineHeight() + kPaneMargin, 4 * (kButtonHeight + kButtonGap) + kButtonGap);
  txtRegisters_->setGeometry(0, y, w, registersHeight);
  y += registersHeight;
  for (int i = 0; i < 2; ++i) {
    const int wh = watchHeight_[static_cast<size_t>(i)];
    txtMemory_[static_cast<size_t>(i)]->setGeometry(0, y, w, wh);
    y += wh;
  }
  txtIO_->setGeometry(0, std::min(y, h), w, std::max(0, h - y));
  // The buttons stand in a column at the register pane's right end.
  const int x = std::max(0, w - kRightGap - kButtonWidth);
  int by = kButtonGap;
  for (QPushButton* b : {cmdRun_, cmdStep_, cmdStop_, cmdAbort_}) {
    b->move(x, by);
    b->raise();
    by += kButtonHeight + kButtonGap;
  }
}

bool formDebugger::eventFilter(QObject* watched, QEvent* event) {
  if (watched != txtIO_) return QWidget::eventFilter(watched, event);
  if (event->type() == QEvent::FocusIn) {
    QTextCursor c = txtIO_->textCursor();
    c.movePosition(QTextCursor::End);
    txtIO_->setTextCursor(c);
    return false;
  }
  if (event->type() != QEvent::KeyPress) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Backspace:
      CommandKey(8);
      return false;
    case Qt::Key_Tab:
      CommandKey(9);
      return false;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      if (CommandRunning) {  // one command at a time: this line is dropped
        CommandKey(13);
        return true;
      }
      const uint64_t before = OutputWritten;
      CommandKey(13);
      if (closeAfterCommand_) {
        HideDebugger();  // unloads this window (deleted later)
        return true;
      }
      // A line that printed nothing still ends in the box.
      return OutputWritten != before;
    }
    default:
      break;
  }
  const std::string typed = Utf8ToCp1252(key->text().toStdString());
  for (char c : typed)
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) CommandKey(c);
  return false;
}

void formDebugger::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutPanes();
}

void formDebugger::changeEvent(QEvent* event) {
  // The frame's margin above and left of the inside, as the normal state
  // ends: a maximized window's frame has other margins.
  if (event->type() == QEvent::WindowStateChange &&
      static_cast<QWindowStateChangeEvent*>(event)->oldState() == Qt::WindowNoState)
    normalFrameOffset_ = geometry().topLeft() - frameGeometry().topLeft();
  QWidget::changeEvent(event);
}

void formDebugger::closeEvent(QCloseEvent* event) {
  if (unloading_) {
    event->accept();
    return;
  }
  if (CommandRunning) {
    // The command below finishes first (it sees the abort); the window unloads after it.
    DebugAbort = True;
    closeAfterCommand_ = true;
    event->ignore();
    return;
  }
  // The close box unloads the window.
  closing_ = true;
  event->accept();
  HideDebugger();
}

}  // namespace korva::ui
