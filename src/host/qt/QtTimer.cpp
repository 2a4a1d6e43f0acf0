#include "host/qt/QtTimer.h"

namespace korva {

QtTimer::QtTimer() {
  timer_.setTimerType(Qt::PreciseTimer);  // intervals down to 1 ms
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void QtTimer::Apply() {
  if (!Running()) {
    timer_.stop();
  } else if (!timer_.isActive() || timer_.interval() != Interval()) {
    timer_.start(Interval());
  }
}

}  // namespace korva
