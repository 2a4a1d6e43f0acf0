// A host timer on a QTimer. The QTimer runs only while the timer is enabled with
// an interval above 0: a QTimer of interval 0 would fire on every pass of the
// event loop.
#pragma once
#include <QTimer>

#include "host/HostTimer.h"

namespace korva {

class QtTimer final : public HostTimer {
 public:
  QtTimer();
  // The underlying timer, for inspection.
  const QTimer& Timer() const { return timer_; }

 protected:
  void Apply() override;

 private:
  QTimer timer_;
};

}  // namespace korva
