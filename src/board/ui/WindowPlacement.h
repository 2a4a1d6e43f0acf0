// Placement of a window in a settings section of its own. "Top" and "Left"
// are the frame's top-left corner, in pixels. The sets of keys:
//  - Position (the board's windows): "Top" and "Left" read at load;
//    "WindowState" (0 normal, 1 minimised, 2 maximised) saved always at unload,
//    "Top" and "Left" only when the window is not minimised.
//  - PositionSizeState (the console windows): "Top", "Left", "Width", "Height"
//    and "WindowState" read at load; "WindowState" saved always, the four
//    others only when the window is in the normal state.
//  - TopLeftWhenNormal (dialogs): "Top" and "Left" read at load and saved,
//    only when the window is in the normal state.
// A window with neither "Top" nor "Left" stored (or readable) takes its first
// place by FirstPlace: where the window manager puts it, beside the main
// window (the console windows), or centred on its owner but clear of the
// owner's title bar where the screen has room (a dialog taller than its
// owner would hide the owner's caption).
#pragma once
#include <string>

class QWidget;

namespace korva::ui {

enum class PlacementKeys { Position, PositionSizeState, TopLeftWhenNormal };
enum class FirstPlace { WindowManager, BesideMainWindow, CentredUnderOwnersTitleBar };

// Moves the frame (and sizes, and minimises or maximises) the window as
// stored. A missing or unreadable value keeps the current one; a place off
// the screens is brought back until the whole title bar shows.
void LoadPlacement(QWidget& window, const std::string& section, PlacementKeys keys = PlacementKeys::Position,
                   FirstPlace first = FirstPlace::WindowManager);
void SavePlacement(const QWidget& window, const std::string& section, PlacementKeys keys = PlacementKeys::Position);

}  // namespace korva::ui
