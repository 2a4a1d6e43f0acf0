// The key definitions dialog offscreen: box colours as the user types, Apply,
// OK, Cancel and the close box, Ctrl+Tab, the Alt+F6 box and the placement.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "terminal/ui/DialogCRTOptions.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::DialogCRTOptions;

uint32_t TextColorOf(const QLineEdit* box) {
  const QColor c = box->palette().color(QPalette::Text);
  return static_cast<uint32_t>(c.red() | c.green() << 8 | c.blue() << 16);
}

class DialogCRTOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ResetCrtDefinitions();
    Def().FunctionKeys[5][ModAlt] = "\x1B[17~";
    Def().NavigationKeys[NavUp][ModNone] = "\x1B[A";
  }
  void TearDown() override { ResetCrtDefinitions(); }
  static CrtDefinition& Def() { return CrtDefinitions[4]; }
  // Replaces the box's text as typed keys (any character, as a keyboard layout gives it).
  static void Type(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    for (QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
      QApplication::sendEvent(box, &press);
    }
  }
  ScriptedHost host;
};

TEST_F(DialogCRTOptionsTest, ColoursApplyAndOK) {
  DialogCRTOptions d(4);
  d.show();
  EXPECT_EQ(d.windowTitle(), "Key Definitions");
  ASSERT_EQ(d.Tabs()->count(), 4);
  EXPECT_EQ(d.Tabs()->tabText(3), "Function Keys");
  EXPECT_EQ(d.findChildren<QLineEdit*>().size(), 192);
  QLineEdit* up = d.Box(KeyTable::Navigation, NavUp, ModNone);
  EXPECT_EQ(up->text(), "^[[A");
  EXPECT_EQ(TextColorOf(up), 0u);

  QLineEdit* f1 = d.Box(KeyTable::Function, 0, ModNone);
  Type(f1, "^1");
  EXPECT_EQ(TextColorOf(f1), 255u);
  QLineEdit* ins = d.Box(KeyTable::Editing, EditInsert, ModCtrlAlt);
  Type(ins, "^M^J");
  EXPECT_EQ(TextColorOf(ins), 0x008000u);
  QLineEdit* other = d.Box(KeyTable::Navigation, NavTab, ModShift);
  Type(other, QString::fromUtf8("\xD0\xB6"));  // a letter Windows-1252 lacks
  EXPECT_EQ(TextColorOf(other), 255u);
  Type(other, "");
  EXPECT_EQ(TextColorOf(other), 0x008000u);

  QTest::mouseClick(d.findChild<QPushButton*>("cmdApply"), Qt::LeftButton);
  EXPECT_EQ(uitest::Boxes(host),
            std::vector<std::string>{"String Error|Errors are shown in RED. Fix them or click CANCEL."});
  EXPECT_EQ(Def().EditingKeys[EditInsert][ModCtrlAlt], "");
  EXPECT_EQ(f1->text(), "^1");
  QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_TRUE(d.isVisible());

  Type(f1, "x");
  QTest::mouseClick(d.findChild<QPushButton*>("cmdApply"), Qt::LeftButton);
  EXPECT_EQ(Def().EditingKeys[EditInsert][ModCtrlAlt], "\r\n");
  EXPECT_EQ(Def().FunctionKeys[0][ModNone], "x");
  for (QLineEdit* b : d.findChildren<QLineEdit*>()) EXPECT_EQ(TextColorOf(b), 0u) << b->objectName().toStdString();
  EXPECT_TRUE(d.isVisible());

  Type(f1, "^[OP");
  QTest::mouseClick(d.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(Def().FunctionKeys[0][ModNone], "\x1BOP");
  EXPECT_EQ(host.StoredSetting("CRToptions", "WindowState"), "0");
  EXPECT_TRUE(host.StoredSetting("CRToptions", "Top").has_value());
  EXPECT_TRUE(host.StoredSetting("CRToptions", "Left").has_value());
}

TEST_F(DialogCRTOptionsTest, CancelAndCloseBoxStoreNothing) {
  for (bool closeBox : {false, true}) {
    DialogCRTOptions d(4);
    d.show();
    Type(d.Box(KeyTable::Function, 2, ModShift), "abc");
    if (closeBox)
      d.close();
    else
      QTest::mouseClick(d.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(Def().FunctionKeys[2][ModShift], "");
  }
}

TEST_F(DialogCRTOptionsTest, CtrlTabAndTheAltF6Box) {
  DialogCRTOptions d(4);
  d.show();
  QLineEdit* altF6 = d.Box(KeyTable::Function, 5, ModAlt);
  EXPECT_FALSE(altF6->isEnabled());
  EXPECT_EQ(altF6->palette().color(QPalette::Base), QColor(200, 200, 200));
  EXPECT_EQ(altF6->text(), "^[[17~");
  EXPECT_EQ(altF6->parentWidget(), d.Tabs()->widget(3));

  QWidget* box = d.Box(KeyTable::Function, 0, ModAlt);
  d.Tabs()->setCurrentIndex(3);
  QTest::keyClick(box, Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 0);
  QTest::keyClick(d.Box(KeyTable::Navigation, 0, 0), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 1);
  QTest::keyClick(d.Box(KeyTable::Editing, 0, 0), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 1);
  QTest::keyClick(d.Tabs(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 2);
}

}  // namespace
}  // namespace korva
