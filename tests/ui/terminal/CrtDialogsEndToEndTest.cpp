// The three dialogs from the CRT window's menus, end to end: a key string
// typed into the keys dialog is what F1 sends; abilities and size reach the
// window; a colour scheme is painted and kept at unload.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "terminal/ui/CrtDialogs.h"
#include "terminal/ui/DialogCRTAbilities.h"
#include "terminal/ui/DialogCRTOptions.h"
#include "terminal/ui/DialogColors.h"
#include "terminal/ui/formCRT.h"
#include "ui/UiTest.h"
#include "ui/terminal/CrtWindowFixture.h"

namespace korva {
namespace {

using ui::formCRT;

class CrtDialogsEndToEndTest : public CrtWindowFixture {
 protected:
  void InstallMore() override { ui::InstallCrtDialogs(); }
  void UninstallMore() override { CrtDialogs = {}; }
};

TEST_F(CrtDialogsEndToEndTest, KeyStringTypedThenSentByF1) {
  uitest::WhenModal([](QWidget* w) {
    auto* d = dynamic_cast<ui::DialogCRTOptions*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->PortNumber(), 1);
    QLineEdit* f1 = d->Box(KeyTable::Function, 0, ModNone);
    f1->selectAll();
    QTest::keyClick(f1, Qt::Key_Delete);
    QTest::keyClicks(f1, "^[OPx");
    QTest::mouseClick(d->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  });
  Action("mnuTerminalProperties")->trigger();
  EXPECT_TRUE(host_.StoredSetting("CRToptions", "Top").has_value());
  Queued();
  QTest::keyClick(crt_->Screen(), Qt::Key_F1);
  EXPECT_EQ(Queued(), "\x1BOPx");

  // Closed while maximised: only the state is written.
  host_.ClearSettings();
  uitest::WhenModal([](QWidget* w) {
    w->setWindowState(Qt::WindowMaximized);
    QTest::mouseClick(w->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
  });
  Action("mnuTerminalProperties")->trigger();
  EXPECT_EQ(host_.StoredSetting("CRToptions", "WindowState"), "2");
  EXPECT_FALSE(host_.StoredSetting("CRToptions", "Top").has_value());
  EXPECT_FALSE(host_.StoredSetting("CRToptions", "Left").has_value());
}

TEST_F(CrtDialogsEndToEndTest, AbilitiesReachTheWindow) {
  crt_->Terminal().SetNoWrap(True);
  crt_->Terminal().ResizeScreen(80, 24);
  QCoreApplication::processEvents();
  ASSERT_TRUE(Action("mnuNoWrap")->isChecked());
  const int width80 = crt_->Screen()->width();
  uitest::WhenModal([](QWidget* w) {
    auto* d = dynamic_cast<ui::DialogCRTAbilities*>(w);
    ASSERT_NE(d, nullptr);
    QListWidget* scc = d->List(AbilityTable::SCC);
    scc->setCurrentRow(65);
    QListWidget* abilities = d->Abilities();
    abilities->setCurrentItem(abilities->findItems("ClearScreen", Qt::MatchExactly).first());
    QTest::mouseClick(d->findChild<QPushButton*>("cmdAdd"), Qt::LeftButton);
    d->Tabs()->setCurrentIndex(2);
    d->NoWrap()->setChecked(false);
    d->Field(FieldColumns)->setText("100");
    QTest::mouseClick(d->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  });
  Action("mnuTerminalAbilities")->trigger();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Action("mnuNoWrap")->isChecked());
  EXPECT_EQ(crt_->Terminal().MaxColumn, 99);
  EXPECT_EQ(crt_->Screen()->width(), width80 / 80 * 100);

  crt_->Terminal().SetANSI(False);
  for (char c : std::string("hello")) Cable.tX(1, static_cast<uint8_t>(c));
  ASSERT_EQ(crt_->Terminal().Cell(0, 0).Char, 'h');
  Cable.tX(1, 'A');
  EXPECT_EQ(crt_->Terminal().Cell(0, 0).Char, ' ');
  EXPECT_EQ(crt_->Terminal().CursorColumn, 0);
}

TEST_F(CrtDialogsEndToEndTest, GreenSchemePaintedAndKept) {
  for (char c : std::string("\x1b[2J\x1b[H\x1b[7m \x1b[0m")) crt_->Outchar(static_cast<uint8_t>(c));
  ASSERT_EQ(crt_->Terminal().Cell(0, 0).Attr & 0xFFFF, 0x107u);
  uitest::WhenModal([](QWidget* w) {
    auto* d = dynamic_cast<ui::DialogColors*>(w);
    ASSERT_NE(d, nullptr);
    d->Schemes()->activated(4);
    QTest::mouseClick(d->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  Action("mnuSelectColors")->trigger();
  QCoreApplication::processEvents();
  const QImage img = crt_->Screen()->grab().toImage();
  EXPECT_EQ(img.pixelColor(2, 2), QColor(0, 127, 0));
  ASSERT_EQ(crt_->Terminal().CursorColumn, 1);
  EXPECT_EQ(img.pixelColor(crt_->CellWidth(), 2), QColor(0, 255, 0));
  crt_->close();
  EXPECT_EQ(host_.StoredSetting("CRT1", "ColorsName"), "Green");
  EXPECT_EQ(host_.StoredSetting("CRT1", "ColorsCode"), "4");
}

}  // namespace
}  // namespace korva
