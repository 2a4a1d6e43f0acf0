// Shared by the terminal's dialogs: their placement in a settings section of
// their own, host colours on widgets, and the fixed-pitch font of their lists.
#pragma once
#include <QColor>
#include <QFont>

#include <cstdint>
#include <string>

#include "host/qt/QtColor.h"

class QEvent;
class QLineEdit;
class QTabWidget;
class QWidget;

namespace korva::ui {

// "Top" and "Left" (pixels) and "WindowState" (0 normal, 1 minimised,
// 2 maximised) read and applied; a missing or unreadable value keeps the
// current one.
void LoadDialogPlacement(QWidget& dialog, const std::string& section);
// "WindowState" always written; "Top" and "Left" only in the normal state.
void SaveDialogPlacement(const QWidget& dialog, const std::string& section);

// Host colours are 0x00BBGGRR (host/qt/QtColor.h).
void SetTextColor(QLineEdit& box, uint32_t color);
uint32_t TextColor(const QLineEdit& box);

// The dialogs' tab key: Tab with exactly Ctrl selects the next tab (after the
// last the first); any other Tab with Ctrl is swallowed. True when the event
// was such a key.
bool CtrlTabKey(QEvent* event, QTabWidget& tabs);

// "Courier New" where it is installed, else the system's fixed-pitch font.
QFont ListFont();

}  // namespace korva::ui
