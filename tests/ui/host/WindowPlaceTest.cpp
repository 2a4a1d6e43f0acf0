// Where a stored window place is brought so that the whole title bar shows,
// and where windows with no stored place open: consoles beside the main
// window, the console dialog centred on it clear of its title bar.
#include <gtest/gtest.h>

#include <QDialog>
#include <QWidget>

#include "board/ui/WindowPlacement.h"
#include "host/qt/WindowPlace.h"
#include "ui/UiTest.h"

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

TEST(WindowPlace, DialogIsCentredOnItsOwnerClearOfItsTitleBarWhereThereIsRoom) {
  const std::vector<QRect> screen = {QRect(0, 0, 1024, 768)};
  const struct {
    QRect owner;
    int titleBar;
    QSize frame;
    QPoint want;
  } cases[] = {
      {{300, 300, 334, 226}, 20, {200, 100}, {366, 362}},  // smaller than its owner: centred
      {{0, 0, 334, 226}, 20, {483, 253}, {0, 20}},         // in the corner, taller: under the title bar
      {{200, 250, 334, 226}, 20, {564, 556}, {84, 84}},    // no room under the title bar: centred
      {{0, 0, 334, 226}, 0, {483, 253}, {0, 0}},           // no title bar drawn: centred, on the screen
  };
  for (const auto& c : cases)
    EXPECT_EQ(CentredOnOwner(c.owner, c.titleBar, c.frame, screen), c.want) << c.owner.x() << "," << c.owner.y();
}

TEST(WindowPlace, ConsolesCascadeBesideTheOwnerOnOneScreen) {
  const std::vector<QRect> screen = {QRect(0, 0, 1024, 768)};
  const QRect corner(0, 0, 334, 226);
  const QSize frame(642, 421);
  EXPECT_EQ(BesideOwner(corner, 20, frame, 0, screen), QPoint(334, 0));
  // Too far right for the fourth: below the owner instead.
  EXPECT_EQ(BesideOwner(corner, 20, frame, 3, screen), QPoint(3 * CascadeStep, 226 + 3 * CascadeStep));
  // An owner at the right edge: left of it, cascading leftwards.
  EXPECT_EQ(BesideOwner(QRect(690, 0, 334, 226), 20, frame, 1, screen), QPoint(48 - CascadeStep, CascadeStep));
  // Nowhere room for it: just under the owner's title bar.
  EXPECT_EQ(BesideOwner(corner, 20, QSize(1000, 700), 0, screen), QPoint(0, 20));
  // Wholly on one screen: right of an owner at the first screen's edge is the second.
  const std::vector<QRect> two = {QRect(0, 0, 1024, 768), QRect(1024, 0, 1280, 1024)};
  EXPECT_EQ(BesideOwner(QRect(700, 0, 334, 226), 20, frame, 0, two), QPoint(1034, 0));
}

// The rule on real windows (offscreen, where every frame is 2 pixels wide):
// with nothing stored, consoles open beside the main window and the console
// dialog centred on it under its title bar; a stored place wins.
TEST(WindowPlace, FirstPlacesOfConsolesAndTheConsoleDialog) {
  uitest::App();
  ScriptedHost host;
  QWidget main, first, second;
  main.setGeometry(100, 100, 300, 200);
  main.show();
  SetMainWindow(&main);
  for (QWidget* w : {&first, &second}) {
    w->resize(200, 150);
    ui::LoadPlacement(*w, "TTY", ui::PlacementKeys::PositionSizeState, ui::FirstPlace::BesideMainWindow);
    w->show();
    EXPECT_FALSE(w->frameGeometry().intersects(main.frameGeometry()));
  }
  EXPECT_NE(second.frameGeometry().topLeft(), first.frameGeometry().topLeft());  // cascaded

  QDialog tall(&main);
  tall.resize(200, 400);
  ui::LoadPlacement(tall, "Consoles", ui::PlacementKeys::TopLeftWhenNormal,
                    ui::FirstPlace::CentredUnderOwnersTitleBar);
  tall.show();
  EXPECT_LE(std::abs(tall.frameGeometry().center().x() - main.frameGeometry().center().x()), 1);
  EXPECT_EQ(tall.frameGeometry().top(), main.geometry().top());
  host.PresetSetting("Consoles", "Left", "30");
  host.PresetSetting("Consoles", "Top", "60");
  QDialog stored(&main);
  ui::LoadPlacement(stored, "Consoles", ui::PlacementKeys::TopLeftWhenNormal,
                    ui::FirstPlace::CentredUnderOwnersTitleBar);
  stored.show();
  EXPECT_EQ(stored.frameGeometry().topLeft(), QPoint(30, 60));
  SetMainWindow(nullptr);
}

}  // namespace
}  // namespace korva
