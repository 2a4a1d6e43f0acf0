// The jumper dialog and the Devices and Options menus with real widgets, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <functional>

#include "bus/Memory.h"
#include "board/BoardSettings.h"
#include "bus/Plugging.h"
#include "support/ScriptedHost.h"
#include "shell/PlugFlags.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/formJumpers.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::App;

// Once the dialog is up, run act on it.
void WhenShown(formJumpers& dlg, std::function<void()> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, &dlg, act] {
    if (dlg.isVisible()) {
      timer->stop();
      timer->deleteLater();
      act();
    }
  });
  timer->start(5);
}

int JumperKeysSaved(const ScriptedHost& host) {
  int n = 0;
  for (const HostCall& c : host.CallsOf(HostCall::Kind::SaveSetting))
    if (c.Title == "SCM" || c.Title == "IOC" || c.Title == "RWIN") ++n;
  return n;
}

class FormJumpersTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  ScriptedHost host;
};

TEST_F(FormJumpersTest, CancelAndTheCloseBoxWriteNothing) {
  formJumpers dlg;
  JumperFields f;
  f.M400C0IRQAInt = 3;
  dlg.Fields = f;
  WhenShown(dlg, [&] {
    dlg.optM400C0IRQA[1]->setChecked(true);
    dlg.chkSwitches[0]->setChecked(true);
    dlg.cmdCancelButton->click();
  });
  dlg.ShowJumpers(1);
  EXPECT_EQ(dlg.DialogResult, 0);
  EXPECT_EQ(dlg.Fields, f);

  dlg.DialogResult = 1;
  WhenShown(dlg, [&] { dlg.close(); });
  dlg.ShowJumpers(1);
  EXPECT_EQ(dlg.DialogResult, 0);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(JumperKeysSaved(host), 0);
}

TEST_F(FormJumpersTest, OkWritesEveryKeyAndTheBoxesByTheirNames) {
  formJumpers dlg;
  JumperFields f;
  f.SrSW1 = True;
  f.M400C1N7201Int = 4;
  f.M410P2IRQBInt = 2;
  f.RWINDATAInt = 3;
  f.RwinDiskType3 = 4;
  f.M400C0BaudA = 14;  // shown as 14 AND 7
  f.J16FSR0 = True;
  dlg.Fields = f;
  QString baudShown;
  WhenShown(dlg, [&] {
    EXPECT_EQ(dlg.tsJumpers->tabText(dlg.tsJumpers->currentIndex()), "SCM");
    EXPECT_FALSE(dlg.frmJumpers[5]->isVisible());
    EXPECT_TRUE(dlg.optM400C1N7201Int[4]->isChecked());
    EXPECT_TRUE(dlg.chkJ16[3]->isChecked());  // "(7-8) FSR0"
    EXPECT_FALSE(dlg.chkJ16[2]->isChecked());
    baudShown = dlg.comboBaudC0[0]->currentText();
    for (int tab = 1; tab <= 5; ++tab) {
      dlg.tsJumpers->setCurrentIndex(tab - 1);
      EXPECT_EQ(dlg.CurrentTab, tab);
      EXPECT_TRUE(dlg.frmJumpers[tab]->isVisible());
      // A look at each tab as a user sees it.
      if (const char* dir = std::getenv("KORVA_SCREENSHOT_DIR"))
        dlg.grab().save(QStringLiteral("%1/formJumpers-%2.png").arg(dir).arg(tab));
    }
    dlg.cmdOKButton->click();
  });
  dlg.ShowJumpers(1);
  EXPECT_EQ(dlg.DialogResult, 1);
  EXPECT_EQ(baudShown, " 9600");
  JumperFields want = f;
  want.M400C0BaudA = 6;
  EXPECT_EQ(dlg.Fields, want);
  EXPECT_EQ(JumperKeysSaved(host), JumperKeyCount);
  EXPECT_EQ(*host.StoredSetting("IOC", "M400C0BaudA"), "6");
  EXPECT_EQ(*host.StoredSetting("SCM", "SrSW1"), "True");
  EXPECT_EQ(*host.StoredSetting("RWIN", "J16FSR1"), "False");

  // Ticking "(5-6) FSR1" changes FSR1 only; the dialog opens on "SCM" again.
  host.ClearCalls();
  WhenShown(dlg, [&] {
    EXPECT_EQ(dlg.CurrentTab, 1);
    EXPECT_EQ(dlg.chkJ16[2]->text(), "(5-6) FSR1");
    dlg.chkJ16[2]->setChecked(true);
    dlg.cmdOKButton->click();
  });
  dlg.ShowJumpers(1);
  EXPECT_EQ(dlg.Fields.J16FSR1, True);
  EXPECT_EQ(*host.StoredSetting("RWIN", "J16FSR1"), "True");
}

TEST_F(FormJumpersTest, ALineWithNoButtonKeepsItsValue) {
  formJumpers dlg;
  dlg.Fields.RWINCMDInt = 9;  // from a hand-edited store: no button shows it
  dlg.Fields.RwinDiskType2 = -1;
  WhenShown(dlg, [&] {
    for (int line = 1; line <= 4; ++line) EXPECT_FALSE(dlg.optRWINCMDIRQ[line]->isChecked());
    dlg.cmdOKButton->click();
  });
  dlg.ShowJumpers(1);
  EXPECT_EQ(dlg.Fields.RWINCMDInt, 9);
  EXPECT_EQ(dlg.Fields.RwinDiskType2, -1);
}

TEST_F(FormJumpersTest, MenusRefreshFromTheGlobalsWhenTheyOpen) {
  ResetPlugFlags();
  PlugMVME400C0(True);
  QWidget window;
  QMenuBar bar(&window);
  DeviceMenus menus(&window);
  menus.FillDevicesMenu(bar.addMenu("Devices"));
  QMenu* options = bar.addMenu("Options");
  QAction* drop = options->addMenu("DropFormat")->menuAction();
  QAction* ivs = options->addAction("Alternate IVS");
  options->addAction("Reset Thottles");
  menus.FillOptionsMenu(options, drop, ivs);

  QStringList order;
  for (QAction* a : options->actions())
    if (!a->isSeparator()) order << a->text();
  EXPECT_EQ(order, (QStringList{"Set Switches ...", "DropFormat", "MC68000", "MC68010", "CPU32/010(Hybrid)",
                                "Use Format 2 Stack Frame", "Move Physical Enable", "Swap ROM", "Set IG",
                                "SCM Manual Defs", "White Phosphor", "Alternate IVS", "Century",
                                "Reset Thottles"}));
  EXPECT_TRUE(menus.mnuMC68xxx[1]->isChecked());

  menus.mnuPlug[0]->trigger();
  EXPECT_EQ(menus.mnuPlug[0]->text(), "Unplug MVME400 Card 0");  // only the next opening shows it
  emit menus.mnuDevices->aboutToShow();
  EXPECT_EQ(menus.mnuPlug[0]->text(), "Plug MVME400 Card 0");
  EXPECT_EQ(CellOf(0xF1C1C0).Device, DcBoardIo);
  menus.mnuPlug[0]->trigger();
  EXPECT_EQ(CellOf(0xF1C1C0).Device, DcMvme400C0);

  // "Set Switches ...": the dialog opens on the live values; Cancel changes nothing.
  SrSW2 = True;
  auto* timer = new QTimer;
  bool seen = false;
  QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
    if (auto* dlg = dynamic_cast<formJumpers*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      seen = dlg->chkSwitches[2]->isChecked();
      dlg->chkSwitches[2]->setChecked(false);
      dlg->cmdCancelButton->click();
    }
  });
  timer->start(5);
  menus.mnuSetSwitches->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(SrSW2, True);
  SrSW2 = False;
  ResetPlugFlags();
}

}  // namespace
}  // namespace korva
