#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <thread>

#include "host/qt/QtHost.h"

namespace korva {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "korva_ui_tests";
  static char* argv[] = {name, nullptr};
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return *app;
  static QApplication app(argc, argv);
  return app;
}

// Once the modal dialog is up, run act on it.
void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (QWidget* w = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      act(w);
    }
  });
  timer->start(5);
}

class QtHostDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { App(); }
  QtHost host_{::testing::TempDir() + "korva-dialogs"};
};

TEST_F(QtHostDialogTest, DialogAnswers) {
  WhenModal([](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Quit \u20AC"));
    EXPECT_EQ(box->text(), QString::fromUtf8("Stop\nnow\u00E9?"));
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(host_.MessageBox("Stop\r\nnow\xE9?", "Quit \x80", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);

  WhenModal([](QWidget* w) { qobject_cast<QMessageBox*>(w)->button(QMessageBox::Cancel)->click(); });
  EXPECT_EQ(host_.MessageBox("Go?", "T", MsgButtons::OKCancel, MsgIcon::None), MsgAnswer::Cancel);

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

TEST_F(QtHostDialogTest, BusyPointerStaysBalanced) {
  host_.EndBusy();  // unmatched: nothing to restore
  host_.BeginBusy();
  host_.BeginBusy();
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  for (int i = 0; i < 3; ++i) host_.EndBusy();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtHostDialogTest, PumpRunsPostedWorkAtMostOncePerInterval) {
  int ran = 0;
  QTimer::singleShot(0, [&] { ++ran; });
  host_.PumpEvents();
  EXPECT_EQ(ran, 1);
  QTimer::singleShot(0, [&] { ++ran; });
  host_.PumpEvents();  // straight after the last pass: skipped
  EXPECT_EQ(ran, 1);
  std::this_thread::sleep_for(QtHost::PumpInterval * 2);
  host_.PumpEvents();
  EXPECT_EQ(ran, 2);
}

TEST_F(QtHostDialogTest, WaitEventsEndsOnAnEventOrAfterTheTimeLimit) {
  using Clock = std::chrono::steady_clock;
  // The first waits may end early on start-up events; then a wait lasts until its limit.
  auto idle = Clock::duration::zero();
  for (int i = 0; i < 10 && idle < std::chrono::milliseconds(30); ++i) {
    const auto t = Clock::now();
    host_.WaitEvents(40);
    idle = Clock::now() - t;
    EXPECT_LT(idle, std::chrono::milliseconds(2000));
  }
  EXPECT_GE(idle, std::chrono::milliseconds(30));

  bool ran = false;
  QTimer::singleShot(5, [&] { ran = true; });
  const auto t0 = Clock::now();
  host_.WaitEvents(5000);
  EXPECT_TRUE(ran);
  EXPECT_LT(Clock::now() - t0, std::chrono::milliseconds(2000));
}

}  // namespace
}  // namespace korva
