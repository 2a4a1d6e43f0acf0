// What the benchmarks share to time their runs: seconds since a moment, the
// median of several runs, and Qt's offscreen platform where there is no display.
#pragma once
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace korva {

using BenchClock = std::chrono::steady_clock;

inline double SecondsSince(BenchClock::time_point from) {
  return std::chrono::duration<double>(BenchClock::now() - from).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Before the QApplication: Qt's platform comes from QT_QPA_PLATFORM, or is
// "offscreen" when there is no display either.
inline void OffscreenWithoutDisplay() {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace korva
