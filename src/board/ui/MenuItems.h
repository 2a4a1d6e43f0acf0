// Building a window's menus: each menu and item gets the object name the
// window's code and tests look it up by.
#pragma once
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace korva::ui {

// An item of menu called caption; act runs when it is chosen. checkable items
// show a check mark that the window keeps in step itself.
QAction* Item(QMenu* menu, const char* name, const char* caption, std::function<void()> act,
              bool checkable = false);

// A submenu of parent.
QMenu* SubMenu(QMenu* parent, const char* name, const char* caption);

// A menu of the window's menu bar.
QMenu* BarMenu(QMenuBar* bar, const char* name, const char* caption);

// Sets the check mark of window's item called name, if it has one.
void CheckItem(const QObject& window, const char* name, bool on);

}  // namespace korva::ui
