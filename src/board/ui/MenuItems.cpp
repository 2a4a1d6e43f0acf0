#include "board/ui/MenuItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace korva::ui {

QAction* Item(QMenu* menu, const char* name, const char* caption, std::function<void()> act, bool checkable) {
  QAction* a = menu->addAction(QString::fromLatin1(caption));
  a->setObjectName(QString::fromLatin1(name));
  a->setCheckable(checkable);
  QObject::connect(a, &QAction::triggered, a, [act] { act(); });
  return a;
}

QMenu* SubMenu(QMenu* parent, const char* name, const char* caption) {
  QMenu* m = parent->addMenu(QString::fromLatin1(caption));
  m->setObjectName(QString::fromLatin1(name));
  return m;
}

QMenu* BarMenu(QMenuBar* bar, const char* name, const char* caption) {
  QMenu* m = bar->addMenu(QString::fromLatin1(caption));
  m->setObjectName(QString::fromLatin1(name));
  return m;
}

void CheckItem(const QObject& window, const char* name, bool on) {
  if (QAction* a = window.findChild<QAction*>(QString::fromLatin1(name))) a->setChecked(on);
}

}  // namespace korva::ui
