#include "board/ui/WindowPlacement.h"

#include <QWidget>

#include <climits>

#include "host/Settings.h"
#include "host/qt/WindowPlace.h"

namespace korva::ui {

namespace {
constexpr int32_t kFarAway = 1000000;
constexpr int32_t kLargest = 16384;  // pixels a stored width or height may have
constexpr int32_t kNone = INT32_MIN;
}  // namespace

void LoadPlacement(QWidget& window, const std::string& section, PlacementKeys keys, FirstPlace first) {
  if (keys == PlacementKeys::PositionSizeState) {
    const QSize now = window.size();
    const QSize size(GetSettingLong(section, "Width", now.width(), 1, kLargest),
                     GetSettingLong(section, "Height", now.height(), 1, kLargest));
    if (size != now) window.resize(size.expandedTo(window.minimumSize()));
  }
  const int32_t left = GetSettingLong(section, "Left", kNone, -kFarAway, kFarAway);
  const int32_t top = GetSettingLong(section, "Top", kNone, -kFarAway, kFarAway);
  if (left != kNone || top != kNone) {
    // Placed even where it stands: a window not shown yet that is not
    // placed would be placed by the window manager.
    const QPoint now = FramePosition(window);
    PlaceFrame(window, QPoint(left != kNone ? left : now.x(), top != kNone ? top : now.y()));
  } else if (first == FirstPlace::BesideMainWindow) {
    PlaceBesideMainWindow(window);
  } else if (first == FirstPlace::CentredUnderOwnersTitleBar) {
    CentreOnOwnerWhenShown(window, true);
  }
  if (keys == PlacementKeys::PositionSizeState) {
    const int32_t state = GetSettingLong(section, "WindowState", 0, 0, 2);
    Qt::WindowStates s = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1) s |= Qt::WindowMinimized;
    if (state == 2) s |= Qt::WindowMaximized;
    window.setWindowState(s);
  }
}

void SavePlacement(const QWidget& window, const std::string& section, PlacementKeys keys) {
  const Qt::WindowStates state = window.windowState();
  const int32_t code = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
  if (keys != PlacementKeys::TopLeftWhenNormal) SaveSettingLong(section, "WindowState", code);
  if (keys == PlacementKeys::Position) {
    if (code == 1) return;
  } else if (code != 0) {
    return;
  }
  const QPoint at = FramePosition(window);
  SaveSettingLong(section, "Top", at.y());
  SaveSettingLong(section, "Left", at.x());
  if (keys == PlacementKeys::PositionSizeState) {
    SaveSettingLong(section, "Width", window.width());
    SaveSettingLong(section, "Height", window.height());
  }
}

}  // namespace korva::ui
