// The "I/O Devices" dialog offscreen with real widgets over fake console
// windows: the rows it offers and their colours, the tick rule, its buttons,
// its placement and the Devices menu item that opens it.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "serial/ui/formConsoles.h"
#include "shell/ui/DeviceMenus.h"
#include "support/FakeConsoles.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::formConsoles;

class FormConsolesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ConsoleType = {};
  }
  void TearDown() override { ConsoleType = {}; }
  static QPushButton* Button(formConsoles& d, const char* name) {
    return d.findChild<QPushButton*>(QString::fromLatin1(name));
  }
  ScriptedHost host_;
  test::FakeConsoleFactories fakes_;
};

TEST_F(FormConsolesTest, RowsOfferTheirPortsBoxesInTheirColours) {
  formConsoles d;
  EXPECT_EQ(d.windowTitle(), "I/O Devices");
  const QColor blue(0, 0, 255), black(0, 0, 0);
  for (int port = 0; port < DevicePorts; ++port) {
    SCOPED_TRACE(port);
    const bool hiddenRow = (port >= 4 && port <= 7) || (port >= 10 && port <= 13);
    const bool printer = port == 8 || port == 9;
    EXPECT_EQ(d.PortLabel(port)->isHidden(), hiddenRow);
    EXPECT_EQ(d.PortLabel(port)->text(), QString::number(port));
    EXPECT_EQ(d.PortLabel(port)->palette().color(QPalette::WindowText), printer ? blue : black);
    EXPECT_EQ(d.Box(port, ColumnCRT)->objectName(), QStringLiteral("chkCRT(%1)").arg(port));
    for (int c : {ColumnCRT, ColumnTTY, ColumnNET}) {
      EXPECT_EQ(d.Box(port, c)->isHidden(), hiddenRow || printer);
      EXPECT_EQ(d.Box(port, c)->isEnabled(), port <= 3);
      EXPECT_EQ(d.Box(port, c)->palette().color(QPalette::WindowText), printer ? blue : black);
    }
    EXPECT_EQ(d.Box(port, ColumnCOM)->isHidden(), hiddenRow || printer);
    EXPECT_FALSE(d.Box(port, ColumnCOM)->isEnabled());
    EXPECT_EQ(d.Box(port, ColumnPrinter)->isHidden(), !printer);
    EXPECT_EQ(d.Box(port, ColumnPrinter)->isEnabled(), printer);
    EXPECT_EQ(d.Box(port, ColumnPrinter)->palette().color(QPalette::WindowText), printer ? blue : black);
    EXPECT_EQ(d.Box(port, ColumnSpooler)->isHidden(), !printer);
    EXPECT_FALSE(d.Box(port, ColumnSpooler)->isEnabled());
  }
  const std::vector<std::pair<const char*, const char*>> labels = {
      {"lblTTY", "TTY - MVME400 P0"}, {"lblCRT", "CRT - MVME400 P1"}, {"lblC1P0", " 2nd - MVME400 P0"},
      {"lblC1P1", " 2nd - MVME400 P1"}, {"lblLPT", "LPT - MVME410 P1"}, {"lblUL1", "UL1 - MVME410 P2"},
      {"lblSERA", "SERA"}, {"lblSERB", "SERB"}};
  for (const auto& [name, caption] : labels) {
    auto* l = d.findChild<QLabel*>(QString::fromLatin1(name));
    ASSERT_NE(l, nullptr) << name;
    EXPECT_EQ(l->text(), caption);
  }
  QStringList headers;
  for (QLabel* l : d.findChildren<QLabel*>())
    if (l->objectName().startsWith("lblHeader")) headers << l->text();
  EXPECT_EQ(headers, QStringList({"   CRT", " TTY", "NET", "COM", "Printer", "Spooler"}));
}

TEST_F(FormConsolesTest, ButtonsApplyKeepOrRefuse) {
  ConsoleType[0] = ConsoleTTY;
  ConsoleType[8] = ConsoleSpooler;
  OpenConsoles();
  formConsoles d;
  EXPECT_TRUE(d.Box(0, ColumnTTY)->isChecked());
  EXPECT_TRUE(d.Box(8, ColumnSpooler)->isChecked());
  d.Box(0, ColumnCRT)->click();  // the tick rule clears TTY
  EXPECT_FALSE(d.Box(0, ColumnTTY)->isChecked());
  fakes_.log.clear();
  Button(d, "cmdApply")->click();
  EXPECT_EQ(ConsoleType[0], ConsoleCRT);
  EXPECT_EQ(ConsoleType[8], ConsoleSpooler);
  EXPECT_EQ(fakes_.log, "tty0.close crt0.open(0,0) ");
  EXPECT_TRUE(d.Box(0, ColumnCRT)->isChecked());

  // Cancel after an Apply keeps what Apply did.
  d.Box(0, ColumnCRT)->click();
  Button(d, "cmdCancel")->click();
  EXPECT_EQ(d.result(), QDialog::Rejected);
  EXPECT_EQ(ConsoleType[0], ConsoleCRT);

  // Too many CRTs: a warning, nothing applied, the dialog stays open.
  ConsoleType[14] = ConsoleCRT;
  formConsoles limit;
  limit.show();
  for (int p = 0; p < 4; ++p) limit.Box(p, ColumnCRT)->setChecked(true);
  Button(limit, "cmdOK")->click();
  Button(limit, "cmdApply")->click();
  EXPECT_EQ(uitest::Boxes(host_), std::vector<std::string>(2, "Warning - CRT count too high|"
                                                              "You have specified too many CRTs - Current Maximum is 4"));
  EXPECT_TRUE(limit.isVisible());
  EXPECT_EQ(ConsoleType[1], ConsoleNone);
  limit.Box(14, ColumnCRT)->setChecked(false);
  Button(limit, "cmdOK")->click();
  EXPECT_FALSE(limit.isVisible());
  EXPECT_EQ(limit.result(), QDialog::Accepted);
  EXPECT_EQ((std::array<int32_t, 4>{ConsoleType[0], ConsoleType[1], ConsoleType[2], ConsoleType[3]}),
            (std::array<int32_t, 4>{ConsoleCRT, ConsoleCRT, ConsoleCRT, ConsoleCRT}));
  EXPECT_EQ(ConsoleType[14], ConsoleNone);
}

TEST_F(FormConsolesTest, TheDevicesMenuOpensItWhereItWasLeft) {
  QWidget window;
  QMenuBar bar(&window);
  DeviceMenus menus(&window);
  menus.FillDevicesMenu(bar.addMenu("Devices"));
  ASSERT_EQ(menus.mnuDevices->actions().constFirst(), menus.mnuConsoles);
  EXPECT_EQ(menus.mnuConsoles->text(), "Generic Devices ...");

  QPoint first;
  uitest::WhenModal([&first](QWidget* w) {
    auto* d = qobject_cast<formConsoles*>(w);
    ASSERT_NE(d, nullptr);
    d->move(40, 30);
    first = d->pos();
    d->findChild<QPushButton*>("cmdCancel")->click();
  });
  menus.mnuConsoles->trigger();
  EXPECT_EQ(host_.StoredSetting("Consoles", "Left"), std::to_string(first.x()));
  EXPECT_EQ(host_.StoredSetting("Consoles", "Top"), std::to_string(first.y()));
  EXPECT_EQ(host_.StoredSetting("Consoles", "WindowState"), std::nullopt);

  QPoint second;
  uitest::WhenModal([&second](QWidget* w) {
    second = w->pos();
    static_cast<QDialog*>(w)->reject();
  });
  menus.mnuConsoles->trigger();
  EXPECT_EQ(second, first);
}

}  // namespace
}  // namespace korva
