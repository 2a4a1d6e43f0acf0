// Placement of the disk windows in a settings section of their own: "Top" and
// "Left" read when the window is loaded; "WindowState" (0 normal, 1 minimised,
// 2 maximised) always written when it is unloaded, "Top" and "Left" only when it
// is not minimised.
#pragma once
#include <string>

class QWidget;

namespace korva {

// Moves the window to the stored place (its current place is the default).
// withState: a stored "WindowState" of 1 or 2 is applied too.
void LoadDiskWindowPlacement(QWidget& window, const std::string& section, bool withState);
void SaveDiskWindowPlacement(const QWidget& window, const std::string& section);

}  // namespace korva
