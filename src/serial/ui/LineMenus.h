// The line settings that the consoles' Settings menus share: the Newline (CR,
// LF), Byte Size (7 bits, 8 bits) and Parity (Zero, One, Even, Odd) submenus,
// and their ticks.
#pragma once
#include <functional>

class QMenu;
class QObject;

namespace korva::ui {

// set gets 0 for CR, 1 for LF.
QMenu* NewlineMenu(QMenu* settings, std::function<void(int)> set);
// set gets true for 7 bits.
QMenu* ByteSizeMenu(QMenu* settings, const char* caption, std::function<void(bool)> set);
// set gets 0 Zero, 1 One, 2 Even, 3 Odd.
QMenu* ParityMenu(QMenu* settings, std::function<void(int)> set);

// Ticks the items of the three submenus that window holds.
void CheckLineSettings(const QObject& window, int newlineIs, bool ascii, int parity);

}  // namespace korva::ui
