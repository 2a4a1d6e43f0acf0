// The abilities dialog offscreen: its lists, associating and clearing, the
// field colours and example, the refused OK, Apply then Cancel, Ctrl+Tab.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include "terminal/CrtTerminal.h"
#include "terminal/ui/DialogCRTAbilities.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::DialogCRTAbilities;

uint32_t TextColorOf(const QLineEdit* box) {
  const QColor c = box->palette().color(QPalette::Text);
  return static_cast<uint32_t>(c.red() | c.green() << 8 | c.blue() << 16);
}

class DialogCRTAbilitiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ResetCrtDefinitions();
    CrtDefinition& d = Def();
    d.GotoSize = 3, d.GotoSizeXY = 1, d.GotoOffsetX = 2, d.GotoOffsetY = 1, d.XYType = 0;
    d.Lines = 24, d.Columns = 80, d.NoWrap = False;
    d.SCC[13] = 13;
    d.SCC[65] = 31;
    d.ECC[66] = 9;
  }
  void TearDown() override { ResetCrtDefinitions(); }
  static CrtDefinition& Def() { return CrtDefinitions[5]; }
  static void Click(DialogCRTAbilities& d, const char* name) {
    QTest::mouseClick(d.findChild<QPushButton*>(name), Qt::LeftButton);
  }
  static void Select(QListWidget* l, int row) {
    l->setCurrentRow(row);
    l->item(row)->setSelected(true);
  }
  ScriptedHost host;
};

TEST_F(DialogCRTAbilitiesTest, ListsAndAssociate) {
  DialogCRTAbilities d(5, nullptr);
  d.show();
  EXPECT_EQ(d.windowTitle(), "CRT Abilities");
  QListWidget* scc = d.List(AbilityTable::SCC);
  ASSERT_EQ(scc->count(), 256);
  ASSERT_EQ(d.List(AbilityTable::ECC)->count(), 256);
  ASSERT_EQ(d.Abilities()->count(), 114);
  EXPECT_EQ(d.Abilities()->item(3)->text(), "Tab (Obey NoWrap,ScrollLock)");
  EXPECT_EQ(d.Abilities()->item(79)->data(Qt::UserRole).toInt(), 81);
  EXPECT_EQ(scc->item(65)->text(), " 65 A (41)-CursorUp");
  EXPECT_EQ(scc->item(200)->text(), "200   (C8)-");
  EXPECT_EQ(scc->item(13)->text(), " 13   (0D)-");
  EXPECT_EQ(scc->item(13)->data(Qt::UserRole).toInt(), 13);

  // Nothing selected: Associate and Remove change nothing.
  Click(d, "cmdAdd");
  Click(d, "cmdRemove");
  EXPECT_EQ(d.Editor().Code(AbilityTable::SCC, 65), 31);
  Select(scc, 66);
  Select(d.Abilities(), 15);  // ClearScreen
  Click(d, "cmdAdd");
  EXPECT_EQ(scc->item(66)->text(), " 66 B (42)-ClearScreen");
  EXPECT_EQ(d.LastSelected()->text(), " 66 B (42)-ClearScreen");
  Select(scc, 65);
  Click(d, "cmdRemove");
  EXPECT_EQ(scc->item(65)->text(), " 65 A (41)-");

  // Clear All on the escaped tab clears only that table.
  d.Tabs()->setCurrentIndex(1);
  EXPECT_EQ(d.LastSelected()->text(), "");
  Click(d, "cmdRemoveAll");
  d.Tabs()->setCurrentIndex(2);
  EXPECT_FALSE(d.findChild<QWidget*>("picFixed")->isVisible());
  Click(d, "cmdOK");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Def().SCC[66], 9);
  EXPECT_EQ(Def().SCC[65], 0);
  EXPECT_EQ(Def().SCC[13], 13);
  EXPECT_EQ(Def().ECC[66], 0);
  EXPECT_EQ(host.StoredSetting("CRTabilities", "WindowState"), "0");
}

TEST_F(DialogCRTAbilitiesTest, FieldsRefusedOKAndApplyThenCancel) {
  DialogCRTAbilities d(5, nullptr);
  d.show();
  d.Tabs()->setCurrentIndex(2);
  EXPECT_EQ(d.Example()->text(), "Cyx");
  EXPECT_EQ(d.Ruler()->text(), "0123");
  EXPECT_TRUE(d.findChild<QRadioButton*>("optXYtype_0")->isChecked());
  d.Field(FieldGotoSize)->setText("6");
  d.Field(FieldGotoOffsetX)->setText("1");
  d.Field(FieldGotoOffsetY)->setText("4");
  EXPECT_EQ(d.Example()->text(), QString::fromUtf8("Cx\u2022\u2022y\u2022"));
  EXPECT_EQ(d.Ruler()->text(), "0123456");

  d.Field(FieldLines)->setText("68");
  EXPECT_EQ(TextColorOf(d.Field(FieldLines)), 255u);
  Click(d, "cmdOK");
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.Tabs()->currentIndex(), 2);
  EXPECT_EQ(uitest::Boxes(host),
            std::vector<std::string>{
                "Definition Errors|There are Errors on the Definitions Tab. They are Red. Fix them or click cancel."});
  EXPECT_EQ(Def().GotoSize, 3);
  d.Field(FieldLines)->setText("30");
  EXPECT_EQ(TextColorOf(d.Field(FieldLines)), 0u);

  QTest::mouseClick(d.findChild<QRadioButton*>("optXYtype_1"), Qt::LeftButton);
  d.NoWrap()->setChecked(true);
  Click(d, "cmdApply");
  EXPECT_TRUE(d.isVisible());
  Click(d, "cmdCancel");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Def().GotoSize, 6);
  EXPECT_EQ(Def().GotoOffsetY, 4);
  EXPECT_EQ(Def().XYType, 1);
  EXPECT_EQ(Def().Lines, 30);
  EXPECT_EQ(Def().NoWrap, True);
}

TEST_F(DialogCRTAbilitiesTest, CtrlTabAndAnUnknownXYType) {
  Def().XYType = 7;
  DialogCRTAbilities d(5, nullptr);
  d.show();
  for (QRadioButton* o : d.findChildren<QRadioButton*>()) EXPECT_FALSE(o->isChecked());
  d.Tabs()->setCurrentIndex(2);
  QTest::keyClick(d.Field(FieldLines), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 0);
  QTest::keyClick(d.List(AbilityTable::SCC), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(d.Tabs()->currentIndex(), 0);
  Click(d, "cmdOK");
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(Def().XYType, 7);
}

}  // namespace
}  // namespace korva
