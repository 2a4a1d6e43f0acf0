// A periodic host timer. "Enabled" and the interval are kept apart: the timer
// gives ticks only while it is enabled and its interval is above 0, so an
// enabled timer with interval 0 stays quiet (a host timer of interval 0 would
// otherwise fire on every pass of the event loop).
#pragma once
#include <cstdint>
#include <functional>

namespace korva {

class HostTimer {
 public:
  virtual ~HostTimer() = default;

  int32_t Interval() const { return interval_; }
  // Milliseconds between ticks; a value below 0 counts as 0.
  void Interval(int32_t ms) {
    interval_ = ms < 0 ? 0 : ms;
    Apply();
  }
  bool Enabled() const { return enabled_; }
  void Enabled(bool on) {
    enabled_ = on;
    Apply();
  }
  // True while the timer gives ticks.
  bool Running() const { return enabled_ && interval_ > 0; }

  // What every tick runs.
  std::function<void()> OnTick;

 protected:
  // The host's timer follows Interval and Enabled; called after every change.
  virtual void Apply() {}
  // One tick: runs OnTick while the timer is running.
  void Tick() {
    if (Running() && OnTick) OnTick();
  }

 private:
  int32_t interval_ = 0;
  bool enabled_ = false;
};

}  // namespace korva
