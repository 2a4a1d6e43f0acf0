#include "board/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "host/Settings.h"

namespace korva::ui {

namespace {
constexpr int32_t kFarAway = 1000000;
}

void LoadPlacement(QWidget& window, const std::string& section) {
  const QPoint now = window.pos();
  const QPoint at(GetSettingLong(section, "Left", now.x(), -kFarAway, kFarAway),
                  GetSettingLong(section, "Top", now.y(), -kFarAway, kFarAway));
  if (at == now) return;
  for (const QScreen* s : QGuiApplication::screens())
    if (s->availableGeometry().contains(at)) {
      window.move(at);
      return;
    }
}

void SavePlacement(const QWidget& window, const std::string& section) {
  const Qt::WindowStates state = window.windowState();
  const int32_t code = (state & Qt::WindowMinimized) ? 1 : (state & Qt::WindowMaximized) ? 2 : 0;
  SaveSettingLong(section, "WindowState", code);
  if (code == 1) return;
  SaveSettingLong(section, "Top", window.pos().y());
  SaveSettingLong(section, "Left", window.pos().x());
}

}  // namespace korva::ui
