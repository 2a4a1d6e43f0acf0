// The main window offscreen with real widgets: start-up state, the throttle
// bars, the menus it holds, the front panel and the close box.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>

#include "bus/Plugging.h"
#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "host/qt/QtHost.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"
#include "shell/Throttles.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/formKorvan.h"
#include "ui/UiTest.h"
#include "unit/disk/DiskFiles.h"

namespace korva {
namespace {

TEST(formKorvan, StartUpStateThrottleBarsAndClose) {
  uitest::App();
  const std::string dir = ::testing::TempDir() + "korva-mainwindow";
  std::filesystem::remove_all(dir);  // a first run: no settings yet
  QtHost host(dir);
  SetHost(&host);
  ProfileName = "LAB2";
  QuitRequested = False;
  // A placement on no present screen (a monitor since removed) is brought
  // back to the screen's corner, title bar and all.
  host.SaveSetting("Main", "Top", "-5000");
  host.SaveSetting("Main", "Left", "-5000");
  auto* window = new formKorvan;
  EXPECT_EQ(window->pos(), QPoint(0, 0));
  SetMainForm(window);
  InitializeSettings();
  SetCpuRunning(False);
  window->ShowKorvan();
  window->PorGui(False);
  EXPECT_EQ(window->windowTitle(), "Korvan - LAB2");
  EXPECT_TRUE(window->cmdPowerOnReset->isEnabled());
  EXPECT_FALSE(window->cmdStopRun->isEnabled() || window->cmdReset->isEnabled() || window->cmdAbort->isEnabled());
  // Every menu title shows: the window is at least as wide as its menu bar.
  EXPECT_GE(window->width(), window->menuBar()->sizeHint().width());

  // The loaded positions stand on the bars; moving a bar runs its change step.
  EXPECT_EQ(window->throttleBars[1]->value(), 12);
  window->throttleBars[static_cast<size_t>(ThrottleBar::vscThrottle)]->setValue(3);
  EXPECT_EQ(CpuThrottleMask, 7);
  EXPECT_EQ(window->lblVSC->text(), "T=7");
  // A double click on the label moves it on once: its second press is no second click.
  const QPointingDevice mouse("test mouse", 1, QInputDevice::DeviceType::Mouse, QPointingDevice::PointerType::Generic,
                              QInputDevice::Capability::Position, 1, 3);
  const int16_t index = VscLabelIndex;
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                         QEvent::MouseButtonRelease}) {
    QMouseEvent e(t, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, &mouse);
    QApplication::sendEvent(window->lblVSC, &e);
  }
  EXPECT_EQ(VscLabelIndex, (index + 1) % ThrottleBarCount);

  // The option menus refresh as they open.
  AlternateIVS = True;
  emit window->menus->mnuOptions->aboutToShow();
  EXPECT_TRUE(window->mnuAlternateIVS->isChecked());
  AlternateIVS = False;
  window->SetFrontPanelText("A5");
  EXPECT_EQ(window->lblFP->text(), "A5");

  // The close box saves and asks the main loop to end; the object lives on.
  window->close();
  EXPECT_EQ(QuitRequested, True);
  EXPECT_TRUE(window->Unloaded());
  const std::string ini = test::ReadText(host.SettingsFilePath());
  EXPECT_NE(ini.find("[Main]"), std::string::npos);
  EXPECT_NE(ini.find("ThrottleCPU=3"), std::string::npos);

  SetMainForm(nullptr);
  delete window;
  SetHost(nullptr);
  ProfileName = "";
  QuitRequested = False;
}

// The window keeps the size of its contents (no resize handle along its
// bottom edge); each help item says there is no help file; a board's fail
// light and name show only while the board is plugged.
TEST(formKorvan, FixedSizeHelpItemsAndBoardIndicators) {
  uitest::App();
  ScriptedHost host;
  auto* window = new formKorvan;
  SetMainForm(window);
  window->show();
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_GE(window->width(), window->menuBar()->sizeHint().width());

  for (QAction* title : window->menuBar()->actions())
    if (title->text() == "Help")
      for (QAction* a : title->menu()->actions())
        if (a->text() != "About") a->trigger();
  const std::string box = "Korvan|There is no help file for this program on this system.";
  EXPECT_EQ(uitest::Boxes(host), std::vector<std::string>({box, box, box}));

  void (*plug[])(VBool) = {PlugMVME400C0, PlugMVME400C1, PlugMVME410C0};
  for (int n = 1; n <= 3; ++n) {
    plug[n - 1](False);
    EXPECT_TRUE(window->lblLights[n]->isHidden()) << n;
    EXPECT_FALSE(window->lblLights[0]->isHidden());  // "Halt" stays
    plug[n - 1](True);
    EXPECT_FALSE(window->lblLights[n]->isHidden()) << n;
  }
  window->close();
  SetMainForm(nullptr);
  delete window;
  QuitRequested = False;
}

}  // namespace
}  // namespace korva
