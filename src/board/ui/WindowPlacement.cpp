#include "board/ui/WindowPlacement.h"

#include <QWidget>

#include "host/Settings.h"
#include "host/qt/WindowPlace.h"

namespace korva::ui {

namespace {
constexpr int32_t kFarAway = 1000000;
constexpr int32_t kLargest = 16384;  // pixels a stored width or height may have
}

void LoadPlacement(QWidget& window, const std::string& section, PlacementKeys keys) {
  if (keys == PlacementKeys::PositionSizeState) {
    const QSize now = window.size();
    const QSize size(GetSettingLong(section, "Width", now.width(), 1, kLargest),
                     GetSettingLong(section, "Height", now.height(), 1, kLargest));
    if (size != now) window.resize(size.expandedTo(window.minimumSize()));
  }
  const QPoint now = FramePosition(window);
  const QPoint at(GetSettingLong(section, "Left", now.x(), -kFarAway, kFarAway),
                  GetSettingLong(section, "Top", now.y(), -kFarAway, kFarAway));
  if (at != now) PlaceFrame(window, at);
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
