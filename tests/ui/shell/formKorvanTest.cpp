#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "host/qt/QtHost.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/formKorvan.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::App;

TEST(formKorvan, StartUpStateThrottleBarsAndClose) {
  App();
  const std::string dir = ::testing::TempDir() + "korva-mainwindow";
  std::filesystem::remove_all(dir);  // a first run: no settings yet
  QtHost host(dir);
  SetHost(&host);
  ProfileName = "LAB2";
  QuitRequested = False;
  // A placement on no present screen (a monitor since removed) is not used.
  host.SaveSetting("Main", "Top", "-5000");
  host.SaveSetting("Main", "Left", "-5000");
  auto* window = new formKorvan;
  EXPECT_NE(window->pos(), QPoint(-5000, -5000));
  SetMainForm(window);
  InitializeSettings();
  SetCpuRunning(False);
  window->ShowKorvan();
  window->PorGui(False);

  EXPECT_EQ(window->windowTitle(), "Korvan - LAB2");
  EXPECT_EQ(window->lblVersion->text(), "V 1.0.15");
  EXPECT_EQ(window->cmdStopRun->text(), "Run");
  EXPECT_TRUE(window->cmdPowerOnReset->isEnabled());
  EXPECT_FALSE(window->cmdStopRun->isEnabled() || window->cmdReset->isEnabled() || window->cmdAbort->isEnabled());
  EXPECT_TRUE(window->cmdDummy->hasFocus() || !window->isActiveWindow());

  // The loaded positions stand on the bars; moving a bar runs its change step.
  EXPECT_EQ(window->throttleBars[1]->value(), 12);
  window->throttleBars[static_cast<size_t>(ThrottleBar::vscThrottle)]->setValue(3);
  EXPECT_EQ(CpuThrottleMask, 7);
  EXPECT_EQ(window->lblVSC->text(), "T=7");

  // The device and option menus stand in the bar and refresh as they open.
  QStringList titles;
  for (QAction* a : window->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"File", "Boot", "Disks", "Devices", "Tools", "Options", "Help"}));
  AlternateIVS = True;
  emit window->menus->mnuOptions->aboutToShow();
  EXPECT_TRUE(window->mnuAlternateIVS->isChecked());
  EXPECT_TRUE(window->menus->mnuMC68xxx[1]->isChecked());
  AlternateIVS = False;

  window->SetFrontPanelText("A5");
  EXPECT_EQ(window->lblFP->text(), "A5");

  // The close box saves and asks the main loop to end; the object lives on.
  window->close();
  EXPECT_EQ(QuitRequested, True);
  EXPECT_TRUE(window->Unloaded());
  std::ifstream ini(host.SettingsFilePath());
  std::stringstream text;
  text << ini.rdbuf();
  EXPECT_NE(text.str().find("[Main]"), std::string::npos);
  EXPECT_NE(text.str().find("ThrottleCPU=3"), std::string::npos);

  SetMainForm(nullptr);
  delete window;
  SetHost(nullptr);
  ProfileName = "";
  QuitRequested = False;
  SetCpuRunning(False);
}

}  // namespace
}  // namespace korva
