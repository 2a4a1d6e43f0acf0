#include "serial/ui/formTerminal.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

#include <cstdlib>

#include "board/ui/MenuItems.h"
#include "board/ui/WindowPlacement.h"
#include "host/CodePage.h"
#include "host/qt/QtText.h"
#include "serial/Consoles.h"
#include "serial/ui/LineMenus.h"

namespace korva::ui {

namespace {

int ShiftMask(Qt::KeyboardModifiers m) {
  return ((m & Qt::ShiftModifier) ? TerminalConsole::ShiftKey : 0) |
         ((m & Qt::ControlModifier) ? TerminalConsole::CtrlKey : 0) |
         ((m & Qt::AltModifier) ? TerminalConsole::AltKey : 0);
}

int KeyCode(int qtKey) { return qtKey == Qt::Key_Pause ? TerminalConsole::KeyPause : qtKey; }

bool SettingTrue(const std::string& v) {
  if (EqualsNoCase(v, "True")) return true;
  if (EqualsNoCase(v, "False")) return false;
  return std::atoi(v.c_str()) != 0;
}

}  // namespace

formTerminal::formTerminal() {
  SetView(this);
  txtTerminal_ = new QPlainTextEdit(this);
  txtTerminal_->setObjectName(QStringLiteral("txtTerminal"));
  txtTerminal_->setReadOnly(true);
  txtTerminal_->setUndoRedoEnabled(false);
  txtTerminal_->setLineWrapMode(QPlainTextEdit::NoWrap);
  txtTerminal_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  txtTerminal_->installEventFilter(this);
  setCentralWidget(txtTerminal_);
  BuildMenus();
  resize(640, 400);
}

formTerminal::~formTerminal() { SetView(nullptr); }

void formTerminal::BuildMenus() {
  QMenuBar* bar = menuBar();
  QMenu* edit = BarMenu(bar, "mnuTools", "Edit");
  Item(edit, "mnuToolsClear", "Clear", [this] { Clear(); });
  Item(edit, "mnuPasteInput", "Paste as Input", [this] { PasteFromClipboard(); });

  QMenu* options = BarMenu(bar, "mnuOptions", "Options");
  Item(options, "mnuFont", "Font ...", [this] { ChooseFont(); });
  Item(options, "mnuSetTabs", "Set Tabs ...", [this] { SetTabs(); });
  Item(options, "mnuShowCNTR", "Show Control Characters", [this] { ShowCNTR = !ShowCNTR; }, true);
  Item(options, "mnuInHex", "In Hex", [this] { InHex = !InHex; }, true);
  Item(options, "mnuOptionsRipCRLFs", "Remove Extra CRLFs", [this] { RipCRLFs = !RipCRLFs; }, true);

  QMenu* settings = BarMenu(bar, "mnuSettings", "Settings");
  QMenu* newline = NewlineMenu(settings, [this](int n) { SetNewlineIs(static_cast<int16_t>(n)); });
  Item(settings, "mnuNoWrap", "No Wrap", [this] { NoWrap = !NoWrap; }, true);
  Item(settings, "mnu80Columns", "80 Columns", [this] { LineLength = 80; }, true);
  Item(settings, "mnu132Columns", "132 Columns", [this] { LineLength = 132; }, true);
  Item(settings, "mnuCustomLineLength", "Custom Line Length ...", [this] { CustomLineLength(); }, true);
  QMenu* byteSize = ByteSizeMenu(settings, "Byte Size", [this](bool ascii) { SetASCII(ascii); });
  QMenu* parity = ParityMenu(settings, [this](int p) { SetParity(static_cast<int16_t>(p)); });
  // The checks show the console's state whenever a menu opens.
  for (QMenu* m : {options, settings, newline, byteSize, parity})
    connect(m, &QMenu::aboutToShow, this, [this] { RefreshChecks(); });

  QMenu* help = BarMenu(bar, "mnuHelp", "Help");
  Item(help, "mnuHelpTTY", "Help", [] {});

  mnuOnLine_ = bar->addAction(QString::fromStdString(OnLineCaption()));
  mnuOnLine_->setObjectName(QStringLiteral("mnuOnLine"));
  connect(mnuOnLine_, &QAction::triggered, this, [this] {
    ToggleOnLine();
    mnuOnLine_->setText(QString::fromStdString(OnLineCaption()));
  });
  QAction* flush = bar->addAction(QStringLiteral("Flush Queue"));
  flush->setObjectName(QStringLiteral("mnuFlushQueue"));
  connect(flush, &QAction::triggered, this, [this] { FlushQueue(); });
  RefreshChecks();
}

void formTerminal::RefreshChecks() {
  CheckItem(*this, "mnuShowCNTR", ShowCNTR);
  CheckItem(*this, "mnuInHex", InHex);
  CheckItem(*this, "mnuOptionsRipCRLFs", RipCRLFs);
  CheckItem(*this, "mnuNoWrap", NoWrap);
  CheckItem(*this, "mnu80Columns", LineLength == 80);
  CheckItem(*this, "mnu132Columns", LineLength == 132);
  CheckItem(*this, "mnuCustomLineLength", LineLength != 80 && LineLength != 132);
  CheckLineSettings(*this, NewlineIs, Ascii, Parity);
}

void formTerminal::Refresh() {
  refreshQueued_ = false;
  sinceRefresh_.start();
  mnuOnLine_->setText(QString::fromStdString(OnLineCaption()));
  shown_.Show(*txtTerminal_, Text(), Rewrites());
}

void formTerminal::TextChanged() {
  if (refreshQueued_) return;
  refreshQueued_ = true;
  const qint64 since = sinceRefresh_.isValid() ? sinceRefresh_.elapsed() : RefreshIntervalMs;
  const int wait = since >= RefreshIntervalMs ? 0 : static_cast<int>(RefreshIntervalMs - since);
  QTimer::singleShot(wait, this, [this] { Refresh(); });
}

void formTerminal::ShowWindow() {
  Refresh();
  show();
  raise();
}

void formTerminal::HideWindow() { hide(); }

void formTerminal::SetCaption(const std::string& caption) { setWindowTitle(ToQt(caption)); }

void formTerminal::ApplyFont(const std::string& name, const std::string& size, const std::string& bold,
                             const std::string& italic) {
  QFont f = txtTerminal_->font();
  if (!name.empty()) f.setFamily(ToQt(name));
  if (!size.empty()) {
    const int points = std::atoi(size.c_str());
    if (points >= 1 && points <= 200) f.setPointSize(points);
  }
  if (!bold.empty()) f.setBold(SettingTrue(bold));
  if (!italic.empty()) f.setItalic(SettingTrue(italic));
  txtTerminal_->setFont(f);
}

void formTerminal::LoadPlacement(const std::string& section) {
  ui::LoadPlacement(*this, section, PlacementKeys::PositionSizeState, FirstPlace::BesideMainWindow);
}

void formTerminal::SavePlacement(const std::string& section) {
  ui::SavePlacement(*this, section, PlacementKeys::PositionSizeState);
}

void formTerminal::ChooseFont() {
  // The dialog lists its families when its font is set, with the options it
  // has then: the options come first, or it would list every family.
  QFontDialog dialog(this);
  dialog.setObjectName(QStringLiteral("fontDialog"));
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  dialog.setOption(QFontDialog::MonospacedFonts);
  dialog.setCurrentFont(txtTerminal_->font());
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont f = dialog.selectedFont();
  SaveFont(Utf8ToCp1252(f.family().toStdString()), f.pointSize() > 0 ? f.pointSize() : 10, f.bold(), f.italic());
  txtTerminal_->setFont(f);
}

void formTerminal::PasteFromClipboard() {
  PasteInput(Utf8ToCp1252(QGuiApplication::clipboard()->text().toStdString()));
}

void formTerminal::closeEvent(QCloseEvent* event) {
  // The close box unloads the console; the window object stays for its port.
  event->ignore();
  Unload();
}

bool formTerminal::eventFilter(QObject* watched, QEvent* event) {
  if (watched != txtTerminal_) return QMainWindow::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(event);
    const int mask = ShiftMask(k->modifiers());
    if (k->key() == Qt::Key_Pause) {  // a held Pause is one break, not a repeat of them
      if (!k->isAutoRepeat()) KeyDown(TerminalConsole::KeyPause, mask);
      return true;
    }
    KeyDown(KeyCode(k->key()), mask);
    const std::string typed = Utf8ToCp1252(k->text().toStdString());
    if (!typed.empty()) {
      for (const char c : typed) KeyPress(static_cast<uint8_t>(c));
      return true;
    }
    // Ctrl with a key whose character the platform did not give: "@" to "_".
    if ((mask & TerminalConsole::CtrlKey) && k->key() >= 0x40 && k->key() <= 0x5F) {
      KeyPress(static_cast<uint8_t>(k->key()));
      return true;
    }
    return (mask & TerminalConsole::CtrlKey) != 0;  // Ctrl+C and the like never reach the view
  }
  if (event->type() == QEvent::KeyRelease) {
    auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Pause) {
      if (!k->isAutoRepeat()) KeyUp(TerminalConsole::KeyPause, ShiftMask(k->modifiers()));
      return true;
    }
    KeyUp(KeyCode(k->key()), ShiftMask(k->modifiers()));
  }
  return QMainWindow::eventFilter(watched, event);
}

void InstallTerminalWindows() {
  ConsoleFactories.Terminal = [](int16_t) -> std::unique_ptr<TerminalConsoleWindow> {
    return std::make_unique<formTerminal>();
  };
}

}  // namespace korva::ui
