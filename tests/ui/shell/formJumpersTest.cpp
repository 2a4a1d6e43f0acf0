// The jumper dialog and the Devices and Options menus with real widgets, offscreen.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include "board/BoardSettings.h"
#include "bus/Memory.h"
#include "bus/Plugging.h"
#include "shell/PlugFlags.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/formJumpers.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

// Shows the dialog on tab 1 and runs act once it is up.
void ShowAndAct(formJumpers& dlg, std::function<void()> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, &dlg, act] {
    if (!dlg.isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act();
  });
  timer->start(5);
  dlg.ShowJumpers(1);
}

int JumperKeysSaved(const ScriptedHost& host) {
  int n = 0;
  for (const HostCall& c : host.CallsOf(HostCall::Kind::SaveSetting))
    n += c.Title == "SCM" || c.Title == "IOC" || c.Title == "RWIN";
  return n;
}

class FormJumpersTest : public ::testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
  ScriptedHost host;
};

TEST_F(FormJumpersTest, CancelAndTheCloseBoxWriteNothing) {
  formJumpers dlg;
  dlg.Fields.M400C0IRQAInt = 3;
  const JumperFields f = dlg.Fields;
  ShowAndAct(dlg, [&] {
    dlg.optM400C0IRQA[1]->setChecked(true);
    dlg.cmdCancelButton->click();
  });
  EXPECT_EQ(dlg.DialogResult, 0);
  EXPECT_EQ(dlg.Fields, f);
  dlg.DialogResult = 1;
  ShowAndAct(dlg, [&] { dlg.close(); });
  EXPECT_EQ(dlg.DialogResult, 0);
  EXPECT_EQ(JumperKeysSaved(host), 0);
}

TEST_F(FormJumpersTest, OkWritesEveryKeyFromTheBoxesByTheirNames) {
  formJumpers dlg;
  JumperFields f;
  f.M400C1N7201Int = 4;
  f.M400C0BaudA = 14;  // shown as 14 AND 7
  f.J16FSR0 = True;
  f.RWINCMDInt = 9;  // from a hand-edited store: no button shows it, the value stays
  dlg.Fields = f;
  QString baudShown;
  ShowAndAct(dlg, [&] {
    EXPECT_EQ(dlg.tsJumpers->tabText(dlg.tsJumpers->currentIndex()), "SCM");
    EXPECT_TRUE(dlg.optM400C1N7201Int[4]->isChecked());
    EXPECT_TRUE(dlg.chkJ16[3]->isChecked());  // "(7-8) FSR0"
    for (int line = 1; line <= 4; ++line) EXPECT_FALSE(dlg.optRWINCMDIRQ[line]->isChecked());
    baudShown = dlg.comboBaudC0[0]->currentText();
    dlg.chkJ16[2]->setChecked(true);  // "(5-6) FSR1"
    dlg.cmdOKButton->click();
  });
  EXPECT_EQ(dlg.DialogResult, 1);
  EXPECT_EQ(baudShown, " 9600");
  JumperFields want = f;
  want.M400C0BaudA = 6;
  want.J16FSR1 = True;
  EXPECT_EQ(dlg.Fields, want);
  EXPECT_EQ(JumperKeysSaved(host), JumperKeyCount);
  EXPECT_EQ(*host.StoredSetting("IOC", "M400C0BaudA"), "6");
  EXPECT_EQ(*host.StoredSetting("RWIN", "J16FSR1"), "True");
}

TEST_F(FormJumpersTest, MenusRefreshFromTheGlobalsWhenTheyOpen) {
  ResetPlugFlags();
  PlugMVME400C0(True);
  QWidget window;
  QMenuBar bar(&window);
  DeviceMenus menus(&window);
  menus.FillDevicesMenu(bar.addMenu("Devices"));
  QMenu* options = bar.addMenu("Options");
  menus.FillOptionsMenu(options, options->addMenu("DropFormat")->menuAction(), options->addAction("Alternate IVS"));
  EXPECT_TRUE(menus.mnuMC68xxx[1]->isChecked());
  menus.mnuPlug[0]->trigger();
  emit menus.mnuDevices->aboutToShow();
  EXPECT_EQ(menus.mnuPlug[0]->text(), "Plug MVME400 Card 0");
  EXPECT_EQ(CellOf(0xF1C1C0).Device, DcBoardIo);

  // "Set Switches ...": the dialog opens on the live values; Cancel changes nothing.
  SrSW2 = True;
  bool seen = false;
  uitest::WhenModal([&seen](QWidget* w) {
    auto* dlg = dynamic_cast<formJumpers*>(w);
    seen = dlg->chkSwitches[2]->isChecked();
    dlg->chkSwitches[2]->setChecked(false);
    dlg->cmdCancelButton->click();
  });
  menus.mnuSetSwitches->trigger();
  EXPECT_TRUE(seen);
  EXPECT_EQ(SrSW2, True);
  SrSW2 = False;
  ResetPlugFlags();
}

}  // namespace
}  // namespace korva
