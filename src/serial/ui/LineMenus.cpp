#include "serial/ui/LineMenus.h"

#include <QMenu>

#include "board/ui/MenuItems.h"

namespace korva::ui {

QMenu* NewlineMenu(QMenu* settings, std::function<void(int)> set) {
  QMenu* newline = SubMenu(settings, "mnuNewline", "Newline");
  Item(newline, "mnuCRisNewline", "CR", [set] { set(0); }, true);
  Item(newline, "mnuLFisNewline", "LF", [set] { set(1); }, true);
  return newline;
}

QMenu* ByteSizeMenu(QMenu* settings, const char* caption, std::function<void(bool)> set) {
  QMenu* byteSize = SubMenu(settings, "mnuByteSize", caption);
  Item(byteSize, "mnu7bits", "7 bits", [set] { set(true); }, true);
  Item(byteSize, "mnu8bits", "8 bits", [set] { set(false); }, true);
  return byteSize;
}

QMenu* ParityMenu(QMenu* settings, std::function<void(int)> set) {
  QMenu* parity = SubMenu(settings, "mnuParity", "Parity");
  Item(parity, "mnuZero", "Zero", [set] { set(0); }, true);
  Item(parity, "mnuOne", "One", [set] { set(1); }, true);
  Item(parity, "mnuEven", "Even", [set] { set(2); }, true);
  Item(parity, "mnuOdd", "Odd", [set] { set(3); }, true);
  return parity;
}

void CheckLineSettings(const QObject& window, int newlineIs, bool ascii, int parity) {
  CheckItem(window, "mnuCRisNewline", newlineIs == 0);
  CheckItem(window, "mnuLFisNewline", newlineIs == 1);
  CheckItem(window, "mnu7bits", ascii);
  CheckItem(window, "mnu8bits", !ascii);
  CheckItem(window, "mnuZero", parity == 0);
  CheckItem(window, "mnuOne", parity == 1);
  CheckItem(window, "mnuEven", parity == 2);
  CheckItem(window, "mnuOdd", parity == 3);
}

}  // namespace korva::ui
