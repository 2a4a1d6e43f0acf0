// Shared by the disk windows: their placement and the colouring of input fields.
//
// Each window keeps its placement in a settings section of its own: "Top" and
// "Left" (the frame's top-left corner) read when the window is loaded; "WindowState" (0 normal, 1 minimised,
// 2 maximised) always written when it is unloaded, "Top" and "Left" only when it
// is not minimised.
#pragma once
#include <cstdint>
#include <string>

class QLineEdit;
class QWidget;

namespace korva {

// Moves the window's frame to the stored place, keeping its title bar on the
// screen; without a stored place the window stays where its owner puts it
// (a dialog: centred on its owner). withState: a stored "WindowState" of 1 or
// 2 is applied too.
void LoadDiskWindowPlacement(QWidget& window, const std::string& section, bool withState);
void SaveDiskWindowPlacement(const QWidget& window, const std::string& section);

// Text and background colours of an input field, as host colours 0x00BBGGRR.
void SetFieldColors(QLineEdit& box, uint32_t fore, uint32_t back);
uint32_t FieldForeColor(const QLineEdit& box);

}  // namespace korva
