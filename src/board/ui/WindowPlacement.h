// Placement of the board's windows in a settings section of their own:
// "Top" and "Left" (pixels) read at load, "WindowState" (0 normal, 1
// minimised, 2 maximised) saved always at unload, "Top" and "Left" only when
// the window is not minimised.
#pragma once
#include <string>

class QWidget;

namespace korva::ui {

// Moves the window to the stored place. A missing or unreadable value keeps
// the current one; a place on no present screen leaves the window where it is.
void LoadPlacement(QWidget& window, const std::string& section);
void SavePlacement(const QWidget& window, const std::string& section);

}  // namespace korva::ui
