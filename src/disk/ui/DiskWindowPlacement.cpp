#include "disk/ui/DiskWindowPlacement.h"

#include <QWidget>

#include "host/Settings.h"

namespace korva {

void LoadDiskWindowPlacement(QWidget& window, const std::string& section, bool withState) {
  // Limits keep a hand-edited value from moving the window out of any sensible range.
  constexpr int32_t kFar = 100000;
  const int32_t top = GetSettingLong(section, "Top", window.y(), -kFar, kFar);
  const int32_t left = GetSettingLong(section, "Left", window.x(), -kFar, kFar);
  window.move(left, top);
  if (!withState) return;
  switch (GetSettingLong(section, "WindowState", 0, 0, 2)) {
    case 1: window.setWindowState(Qt::WindowMinimized); break;
    case 2: window.setWindowState(Qt::WindowMaximized); break;
    default: break;
  }
}

void SaveDiskWindowPlacement(const QWidget& window, const std::string& section) {
  const bool minimised = window.isMinimized();
  SaveSettingLong(section, "WindowState", minimised ? 1 : window.isMaximized() ? 2 : 0);
  if (minimised) return;
  SaveSettingLong(section, "Top", window.y());
  SaveSettingLong(section, "Left", window.x());
}

}  // namespace korva
