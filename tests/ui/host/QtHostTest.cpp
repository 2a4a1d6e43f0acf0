// The Qt host offscreen: message and input boxes with their text conversion,
// the busy pointer, the event pump's interval, the wait and the periodic timer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QInputDialog>
#include <QMessageBox>

#include <chrono>

#include "host/qt/QtHost.h"
#include "host/qt/QtTimer.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::WhenModal;

class QtHostTest : public ::testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
  QtHost host_{::testing::TempDir() + "korva-dialogs"};
};

TEST_F(QtHostTest, DialogAnswersConvertTheirText) {
  WhenModal([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Quit \u20AC"));
    EXPECT_EQ(box->text(), QString::fromUtf8("Stop\nnow\u00E9?"));
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(host_.MessageBox("Stop\r\nnow\xE9?", "Quit \x80", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);

  WhenModal([](QWidget* w) {
    auto* dlg = qobject_cast<QInputDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->textValue(), "132");
    dlg->setTextValue(QString::fromUtf8("80\u00E9"));
    dlg->accept();
  });
  EXPECT_EQ(host_.InputBox("Input Width (1-132) ", "Printer", "132"), "80\xE9");
  WhenModal([](QWidget* w) { qobject_cast<QInputDialog*>(w)->reject(); });
  EXPECT_EQ(host_.InputBox("Input Width (1-132) ", "Printer", "132"), std::nullopt);
}

TEST_F(QtHostTest, BusyPointerStaysBalanced) {
  host_.EndBusy();  // unmatched: nothing to restore
  host_.BeginBusy();
  host_.BeginBusy();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  for (int i = 0; i < 3; ++i) host_.EndBusy();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The pump reads a scripted clock: the rule holds however late the test runs.
std::chrono::steady_clock::time_point scriptedNow{};
std::chrono::steady_clock::time_point ScriptedClock() { return scriptedNow; }

TEST_F(QtHostTest, PumpRunsPostedWorkAtMostOncePerInterval) {
  host_.SetPumpClock(&ScriptedClock);
  scriptedNow += std::chrono::hours(1);
  int ran = 0;
  QTimer::singleShot(0, [&] { ++ran; });
  host_.PumpEvents();
  EXPECT_EQ(ran, 1);
  QTimer::singleShot(0, [&] { ++ran; });
  scriptedNow += QtHost::PumpInterval - std::chrono::microseconds(1);
  host_.PumpEvents();  // within the interval of the last pass: skipped
  EXPECT_EQ(ran, 1);
  scriptedNow += std::chrono::microseconds(1);
  host_.PumpEvents();
  EXPECT_EQ(ran, 2);
  host_.SetPumpClock(nullptr);
}

TEST_F(QtHostTest, WaitEventsEndsOnAnEventOrAtItsTimeLimit) {
  bool ran = false;
  QTimer::singleShot(5, [&] { ran = true; });
  while (!ran) host_.WaitEvents(60000);  // only the event can end these waits in time
  host_.WaitEvents(1);  // nothing pending: the limit ends the wait
}

// The periodic timer's QTimer runs only while enabled with an interval above 0.
TEST_F(QtHostTest, TimerRunsOnlyWhileEnabledWithAnInterval) {
  QtTimer t;
  int ticks = 0;
  t.OnTick = [&] { ++ticks; };
  t.Enabled(true);
  EXPECT_FALSE(t.Timer().isActive());
  t.Interval(250);
  EXPECT_TRUE(t.Timer().isActive());
  QMetaObject::invokeMethod(const_cast<QTimer*>(&t.Timer()), "timeout");
  EXPECT_EQ(ticks, 1);
  t.Interval(0);
  EXPECT_TRUE(t.Enabled());
  EXPECT_FALSE(t.Timer().isActive());
}

}  // namespace
}  // namespace korva
