// The debugger window offscreen: loading switches the processor's fetch, keys
// typed in the command box run commands, closing restores the machine and
// keeps the placement, reopening finds it again.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "cpu/ControlStore.h"
#include "bus/MMU.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Panes.h"
#include "ui/debugger/DebuggerWindowFixture.h"
#include "debugger/ui/DebuggerWindow.h"
#include "debugger/ui/formDebugger.h"
#include "shell/Neighbours.h"
#include "support/TestMachine.h"
#include "ui/UiTest.h"

namespace korva::ui {
namespace {

class formDebuggerTest : public DebuggerWindowTest {
 protected:
  static bool UsingDebuggerFetch() { return CallsAt(McFastFetch, Mcr::mcrFetchDecodeDebug); }
  static std::string BoxText(const formDebugger& w) { return w.txtIO()->toPlainText().toStdString(); }
};

TEST_F(formDebuggerTest, KeysRunCommandsInTheBox) {
  formDebugger& w = Open();
  EXPECT_TRUE(DebuggerLoaded);
  EXPECT_TRUE(UsingDebuggerFetch());
  EXPECT_EQ(w.windowTitle().toStdString(), "Debugger - Stopped ");
  QTest::keyClicks(w.txtIO(), "verx");
  QTest::keyClick(w.txtIO(), Qt::Key_Backspace);
  QTest::keyClicks(w.txtIO(), "sion");
  QTest::keyClick(w.txtIO(), Qt::Key_Return);
  EXPECT_EQ(BoxText(w), "version\n usage Version[ <43|44|45>] Current = 43");
  QTest::keyClicks(w.txtIO(), "\t");  // a line of blanks prints nothing, the box takes the Enter
  QTest::keyClick(w.txtIO(), Qt::Key_Return);
  EXPECT_EQ(BoxText(w), "version\n usage Version[ <43|44|45>] Current = 43\t\n");

  w.cmdRun()->click();
  EXPECT_EQ(w.windowTitle().toStdString(), "Debugger - Running");
  w.cmdStop()->click();
  w.cmdAbort()->click();
  EXPECT_TRUE(DebugAbort);
}

TEST_F(formDebuggerTest, ClosingRestoresTheMachineAndKeepsThePlacement) {
  host_.PresetSetting("Debugger", "FontName", "DejaVu Sans Mono");
  host_.PresetSetting("Debugger", "FontSize", "11");
  formDebugger& w = Open();
  EXPECT_EQ(w.txtIO()->font().pointSize(), 11);
  EXPECT_EQ(w.txtRegisters()->font().family(), w.txtIO()->font().family());
  Execute("SBR1 $2000");
  Execute("DIS 1");
  Execute("DI");
  Execute("STEP 3");
  RefreshRegsRequest = True;
  w.setGeometry(30, 40, 700, 500);
  w.close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(DebuggerWindowForm(), nullptr);
  EXPECT_FALSE(DebuggerLoaded);
  EXPECT_FALSE(UsingDebuggerFetch());
  EXPECT_FALSE(RefreshRegsRequest || RefreshWatchRequest || BreakPointsEnabled || CountedRun ||
               DisableIntOnStop || InterruptsDisabled);
  EXPECT_EQ(host_.StoredSetting("Debugger", "Width"), "700");
  EXPECT_EQ(host_.StoredSetting("Debugger", "Height"), "500");
  EXPECT_EQ(host_.StoredSetting("Debugger", "WindowState"), "0");
  EXPECT_TRUE(host_.StoredSetting("Debugger", "Top").has_value());
  EXPECT_FALSE(host_.StoredSetting("Debugger", "FontBold").has_value());  // font keys are only read

  formDebugger& again = Open();
  EXPECT_EQ(again.width(), 700);
  EXPECT_EQ(again.height(), 500);
  EXPECT_FALSE(BreakPoints[1].Enabled);
  EXPECT_EQ(BreakPoints[1].Address, 0x2000u);
}

// A stored place where the new window already stands is still given to it:
// a window nobody placed is placed by the window manager.
TEST_F(formDebuggerTest, AStoredPlaceIsAppliedEvenWhereTheWindowStands) {
  host_.PresetSetting("Debugger", "Left", "0");
  host_.PresetSetting("Debugger", "Top", "0");
  EXPECT_TRUE(Open().testAttribute(Qt::WA_Moved));
}

TEST_F(formDebuggerTest, StoredFontSizeMayHoldAFraction) {
  host_.PresetSetting("Debugger", "FontSize", "9.75");
  EXPECT_DOUBLE_EQ(Open().txtIO()->font().pointSizeF(), 9.75);
}

TEST_F(formDebuggerTest, PanesFollowTheCore) {
  for (uint32_t i = 0; i < 32; ++i) m.WriteByte(0x20000 + i, static_cast<uint8_t>(i));
  formDebugger& w = Open();
  auto refresh = [] {
    DisplayRegisters();
    LoadMemoryWatch(0);
    LoadMemoryWatch(1);
    RefreshRegsRequest = RefreshWatchRequest = False;
  };
  Execute("SMW1 $20000 20");
  refresh();
  QPlainTextEdit* none = w.txtMemory(0);
  QPlainTextEdit* two = w.txtMemory(1);
  EXPECT_EQ(none->toPlainText().toStdString(), "No Watch");
  EXPECT_EQ(two->toPlainText().count('\n'), 1);
  const int line = two->height() - none->height();
  EXPECT_GE(line, QFontMetrics(two->font()).lineSpacing());
  EXPECT_EQ(two->verticalScrollBar()->maximum(), 0);  // both lines in view
  EXPECT_EQ(none->y(), w.txtRegisters()->height());
  EXPECT_EQ(two->y(), none->y() + none->height());
  EXPECT_EQ(w.txtIO()->y(), two->y() + two->height());
  EXPECT_EQ(w.txtIO()->y() + w.txtIO()->height(), w.height());  // the command box takes the rest
  EXPECT_EQ(w.cmdRun()->x() + w.cmdRun()->width(), w.width() - 8);
  EXPECT_LT(w.cmdRun()->y(), w.cmdStep()->y());
  w.resize(40, 60);  // too small for the panes: nothing goes below 0
  EXPECT_GE(w.txtIO()->height(), 0);
  EXPECT_GE(w.cmdRun()->x(), 0);

  EXPECT_EQ(w.txtRegisters()->palette().color(QPalette::Base), QColor(255, 255, 255));
  CpuPC = 0x1000;
  Mmu.AccessMMU(2 * 6, 1);  // supervisor program space, descriptor 1 maps the PC's page elsewhere
  Mmu.AccessMMU(0x29, 1);
  const uint8_t fields[] = {0x00, 0x10, 0xFF, 0xF0, 0x02, 0x00, 0x01, 0x01, 0xFF};
  for (uint32_t i = 0; i < sizeof fields; ++i) Mmu.AccessMMU(0x20 + i, fields[i]);
  ASSERT_EQ(Mmu.AccessMMU(0x3F), 0);
  Execute("UMMU 1");
  refresh();
  EXPECT_EQ(w.txtRegisters()->palette().color(QPalette::Base), QColor(255, 240, 240));

  // Closing keeps the watches; a new window shows them.
  Execute("SMW0 $20010 1");
  w.close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  formDebugger& again = Open();
  refresh();
  EXPECT_EQ(again.txtMemory(0)->toPlainText().left(8), "00020010");
  EXPECT_EQ(again.txtMemory(1)->toPlainText().count('\n'), 1);
}

}  // namespace
}  // namespace korva::ui
