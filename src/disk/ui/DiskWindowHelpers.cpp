#include "disk/ui/DiskWindowHelpers.h"

#include <climits>

#include <QLineEdit>
#include <QPoint>
#include <QWidget>

#include "host/Settings.h"
#include "host/qt/QtColor.h"
#include "host/qt/WindowPlace.h"

namespace korva {

void LoadDiskWindowPlacement(QWidget& window, const std::string& section, bool withState) {
  // Limits keep a hand-edited value from moving the window out of any sensible range.
  constexpr int32_t kFar = 100000, kNone = INT32_MIN;
  const QPoint now = FramePosition(window);
  const int32_t top = GetSettingLong(section, "Top", kNone, -kFar, kFar);
  const int32_t left = GetSettingLong(section, "Left", kNone, -kFar, kFar);
  if (top != kNone || left != kNone)
    PlaceFrame(window, QPoint(left != kNone ? left : now.x(), top != kNone ? top : now.y()));
  else
    CentreOnOwnerWhenShown(window);  // the first time: over the window it belongs to
  if (!withState) return;
  switch (GetSettingLong(section, "WindowState", 0, 0, 2)) {
    case 1:
      window.setWindowState(Qt::WindowMinimized);
      break;
    case 2:
      window.setWindowState(Qt::WindowMaximized);
      break;
    default:
      break;
  }
}

void SaveDiskWindowPlacement(const QWidget& window, const std::string& section) {
  const bool minimised = window.isMinimized();
  SaveSettingLong(section, "WindowState", minimised ? 1 : window.isMaximized() ? 2 : 0);
  if (minimised) return;
  const QPoint at = FramePosition(window);
  SaveSettingLong(section, "Top", at.y());
  SaveSettingLong(section, "Left", at.x());
}

void SetFieldColors(QLineEdit& box, uint32_t fore, uint32_t back) {
  QPalette p = box.palette();
  p.setColor(QPalette::Text, HostColor(fore));
  p.setColor(QPalette::Base, HostColor(back));
  box.setPalette(p);
}

uint32_t FieldForeColor(const QLineEdit& box) {
  const QColor c = box.palette().color(QPalette::Text);
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 | static_cast<uint32_t>(c.blue()) << 16;
}

}  // namespace korva
