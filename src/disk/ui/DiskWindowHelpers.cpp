#include "disk/ui/DiskWindowHelpers.h"

#include <QLineEdit>
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
  SaveSettingLong(section, "Top", window.y());
  SaveSettingLong(section, "Left", window.x());
}

namespace {

QColor HostColor(uint32_t bbggrr) {
  return QColor(static_cast<int>(bbggrr & 0xFF), static_cast<int>((bbggrr >> 8) & 0xFF),
                static_cast<int>((bbggrr >> 16) & 0xFF));
}

}  // namespace

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
