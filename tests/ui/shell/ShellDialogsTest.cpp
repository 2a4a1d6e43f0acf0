// The Qt file dialog behind OpenSaveDialog, windows found by caption, the
// top-most window and the About box, offscreen.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "host/qt/QtHost.h"
#include "shell/FileDialog.h"
#include "shell/MainFormHooks.h"
#include "shell/ui/WindowHelpers.h"
#include "shell/ui/frmAbout.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::WhenModal;

TEST(ShellDialogsTest, OpenDialogGivesPathFiltersAndReadOnlyTick) {
  uitest::App();
  QTemporaryDir dir;
  QFile(dir.filePath("Boot.S19")).open(QIODevice::WriteOnly);
  QtHost host(dir.filePath("config").toStdString());
  SetHost(&host);
  PathsRecord = {};
  host.SaveSetting("Paths", "SrecBoot", dir.path().toStdString() + "/");
  QStringList filters;
  WhenModal([&filters](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    filters = dialog->nameFilters();
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText("Boot.S19");
    dialog->findChild<QCheckBox*>("readOnly")->setChecked(true);
    dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Open)->click();
  });
  EXPECT_EQ(OpenSaveDialog("", "open", "SRECBOOTFILES", 0, "Default"), dir.filePath("Boot.S19").toStdString());
  EXPECT_EQ(CommonDialog1.FileTitle, "Boot.S19");
  EXPECT_EQ(DialogReadOnly(), True);
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_TRUE(filters[0].contains(" (*.bin *.BIN ") && filters[0].contains("*.S19 *.s19")) << filters[0].toStdString();
  EXPECT_TRUE(filters.last().endsWith("(*.*) (*)")) << filters.last().toStdString();

  // Saving shows no read-only box; a cancel gives "" and no message.
  bool hadBox = true;
  WhenModal([&hadBox](QWidget* w) {
    hadBox = w->findChild<QCheckBox*>("readOnly") != nullptr;
    qobject_cast<QFileDialog*>(w)->reject();
  });
  EXPECT_EQ(OpenSaveDialog("out.prn", "SAVE", "PRN", 0, "Default"), "");
  EXPECT_FALSE(hadBox);
  SetHost(nullptr);
}

TEST(ShellDialogsTest, FindByCaptionKeepOnTopAndAbout) {
  uitest::App();
  ScriptedHost host;
  QWidget debugger, consoles, other;
  debugger.setWindowTitle("Debugger - LAB2");
  EXPECT_EQ(FindWindowByCaption("debug"), True);  // hidden windows count as loaded
  EXPECT_EQ(FindWindowByCaption("Debugger - LAB2 and more"), False);
  EXPECT_EQ(FindWindowByCaption("bugger"), False);

  consoles.show();
  other.show();
  SetTopMost(&consoles);
  SetTopMost(&other);
  EXPECT_FALSE(consoles.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(other.windowFlags().testFlag(Qt::WindowStaysOnTopHint) && consoles.isVisible());
  EXPECT_EQ(TopMostForm, &other);

  frmAbout box;
  EXPECT_EQ(box.lblVersion->text(), "Version 1.0.15");
  box.cmdSysInfo->click();
  EXPECT_EQ(uitest::Boxes(host).size(), 1u);
  WhenModal([](QWidget* w) { w->findChild<QPushButton*>("cmdOK")->click(); });
  ShowAbout(nullptr);
}

// After "System Info..." the focus is back on OK, so Return closes the box.
TEST(ShellDialogsTest, ReturnClosesTheAboutBoxAfterSystemInfo) {
  uitest::App();
  ScriptedHost host;
  frmAbout box;
  box.show();
  box.cmdSysInfo->setFocus();
  box.cmdSysInfo->click();
  ASSERT_NE(box.focusWidget(), nullptr);
  QTest::keyClick(box.focusWidget(), Qt::Key_Return);
  EXPECT_FALSE(box.isVisible());
  EXPECT_EQ(box.result(), QDialog::Accepted);
  EXPECT_EQ(uitest::Boxes(host).size(), 1u);
}

}  // namespace
}  // namespace korva
