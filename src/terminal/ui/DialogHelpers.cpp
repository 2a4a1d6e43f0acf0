#include "terminal/ui/DialogHelpers.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QTabWidget>
#include <QLineEdit>
#include <QWidget>

#include "board/ui/WindowPlacement.h"
#include "host/Settings.h"

namespace korva::ui {

void LoadDialogPlacement(QWidget& dialog, const std::string& section) {
  LoadPlacement(dialog, section, PlacementKeys::TopLeftWhenNormal);
  const int32_t state = GetSettingLong(section, "WindowState", -1, 0, 2);
  if (state == 1) dialog.setWindowState(dialog.windowState() | Qt::WindowMinimized);
  if (state == 2) dialog.setWindowState(dialog.windowState() | Qt::WindowMaximized);
}

void SaveDialogPlacement(const QWidget& dialog, const std::string& section) {
  const Qt::WindowStates s = dialog.windowState();
  SaveSettingLong(section, "WindowState", (s & Qt::WindowMinimized) ? 1 : (s & Qt::WindowMaximized) ? 2 : 0);
  SavePlacement(dialog, section, PlacementKeys::TopLeftWhenNormal);
}

void SetTextColor(QLineEdit& box, uint32_t color) {
  QPalette p = box.palette();
  p.setColor(QPalette::Text, HostColor(color));
  box.setPalette(p);
}

uint32_t TextColor(const QLineEdit& box) { return ToHostColor(box.palette().color(QPalette::Text)); }

bool CtrlTabKey(QEvent* event, QTabWidget& tabs) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
  if ((key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) || !(mods & Qt::ControlModifier)) return false;
  // Claimed before any shortcut, so the tab widget's own Ctrl+Tab never runs.
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (key->key() == Qt::Key_Tab && mods == Qt::ControlModifier) tabs.setCurrentIndex((tabs.currentIndex() + 1) % tabs.count());
  return true;
}

QFont ListFont() {
  if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    return f;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

}  // namespace korva::ui
