// Where a stored window place is brought so that the whole title bar shows.
#include <gtest/gtest.h>

#include "host/qt/WindowPlace.h"

namespace korva {
namespace {

TEST(WindowPlace, TitleBarIsKeptOnTheNearestScreen) {
  // Two screens side by side; the first has a panel along its top.
  const std::vector<QRect> screens = {QRect(0, 24, 1280, 1000), QRect(1280, 0, 1024, 768)};
  const QSize frame(400, 300);
  const struct {
    QPoint at, want;
  } cases[] = {
      {{200, 150}, {200, 150}},     // on the screen: unchanged
      {{-1, -20}, {0, 24}},         // above and left of it: to the corner below the panel
      {{1100, 500}, {880, 500}},    // running over its right edge: brought back onto it
      {{1500, -30}, {1500, 0}},     // above the second screen
      {{2200, 100}, {1904, 100}},   // past the second screen's right edge
      {{100, 5000}, {100, 1024 - TitleBarAllowance}},  // below the first screen
  };
  for (const auto& c : cases)
    EXPECT_EQ(KeepTitleBarOnScreen(c.at, frame, screens), c.want) << c.at.x() << "," << c.at.y();
  // A window wider than its screen keeps its left end on it.
  EXPECT_EQ(KeepTitleBarOnScreen({300, 40}, QSize(1500, 300), screens), QPoint(0, 40));
  // Without a screen there is nothing to keep it on.
  EXPECT_EQ(KeepTitleBarOnScreen({-50, -50}, frame, {}), QPoint(-50, -50));
}

}  // namespace
}  // namespace korva
