// The debugger window offscreen: loading switches the processor's fetch, keys
// typed in the command box run commands, closing restores the machine and
// keeps the placement, reopening finds it again.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "cpu/ControlStore.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "debugger/ui/DebuggerWindow.h"
#include "debugger/ui/formDebugger.h"
#include "shell/Neighbours.h"
#include "support/TestMachine.h"
#include "ui/UiTest.h"

namespace korva::ui {
namespace {

class formDebuggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    SetHost(&host_);
    ResetDebuggerState();
    InstallDebuggerWindow();
  }
  void TearDown() override {
    if (DebuggerWindow.Unload) DebuggerWindow.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    View = DebuggerView{};
    DebuggerWindow = DebuggerWindowHooks{};
    ResetDebuggerState();
    SetHost(nullptr);
  }
  static formDebugger& Open() {
    DebuggerWindow.ShowDebugger(0);
    return *DebuggerWindowForm();
  }
  static bool UsingDebuggerFetch() { return CallsAt(McFastFetch, Mcr::mcrFetchDecodeDebug); }
  static std::string BoxText(const formDebugger& w) { return w.txtIO()->toPlainText().toStdString(); }
  test::TestMachine m;
  ScriptedHost host_;
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
  EXPECT_EQ(host_.StoredSetting("Debugger", "FontSize"), "11");  // read, never written

  formDebugger& again = Open();
  EXPECT_EQ(again.width(), 700);
  EXPECT_EQ(again.height(), 500);
  EXPECT_FALSE(BreakPoints[1].Enabled);
  EXPECT_EQ(BreakPoints[1].Address, 0x2000u);
}

TEST_F(formDebuggerTest, PanesFollowTheCore) {
  formDebugger& w = Open();
  const int commandTop = w.txtIO()->y();
  EXPECT_EQ(w.txtMemory(0)->toPlainText().toStdString(), "No Watch");
  EXPECT_EQ(commandTop + w.txtIO()->height(), w.height());
  // Buttons stand at the right edge, in a column.
  EXPECT_EQ(w.cmdRun()->x() + w.cmdRun()->width(), w.width() - 8);
  EXPECT_LT(w.cmdRun()->y(), w.cmdStep()->y());
}

}  // namespace
}  // namespace korva::ui
