// The Qt periodic timer (its QTimer runs only while enabled with an interval
// above 0) and the clock's settings section through a real settings file.
#include <gtest/gtest.h>

#include <QFile>
#include <QMetaObject>
#include <QTemporaryDir>

#include "board/Rtc1468hc18.h"
#include "host/qt/QtHost.h"
#include "host/qt/QtTimer.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

TEST(QtTimerTest, RunsOnlyWhileEnabledWithAnInterval) {
  uitest::App();
  QtTimer t;
  int ticks = 0;
  t.OnTick = [&] { ++ticks; };
  t.Enabled(true);  // interval 0: enabled, but the QTimer stays stopped
  EXPECT_TRUE(t.Enabled());
  EXPECT_FALSE(t.Timer().isActive());
  t.Interval(250);
  EXPECT_TRUE(t.Timer().isActive());
  EXPECT_EQ(t.Timer().interval(), 250);
  // A tick delivered by the QTimer runs OnTick; none once it is stopped.
  QMetaObject::invokeMethod(const_cast<QTimer*>(&t.Timer()), "timeout");
  EXPECT_EQ(ticks, 1);
  t.Interval(0);
  EXPECT_TRUE(t.Enabled());
  EXPECT_FALSE(t.Timer().isActive());
  QMetaObject::invokeMethod(const_cast<QTimer*>(&t.Timer()), "timeout");
  EXPECT_EQ(ticks, 1);
}

TEST(QtTimerTest, ClockSectionRoundTripsThroughTheSettingsFile) {
  uitest::App();
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  std::string path;
  {
    QtHost host(folder);
    SetHost(&host);
    class1468hc18 rtc;
    rtc.LoadSettings();  // an empty store: every default
    EXPECT_DOUBLE_EQ(rtc.DateTimeOffset(), -10227);
    rtc.Reg(RtcRegA, 0x2D);
    rtc.Reg(RtcRegB, 0x86);  // SET held: the registers stay as written
    rtc.Reg(RtcSeconds, 42);
    rtc.Reg(RtcHoursAlarm, 0xC0);
    rtc.Reg(63, 0x7E);
    rtc.Century(20);
    rtc.SaveSettings();
    path = host.SettingsFilePath();
    SetHost(nullptr);
  }
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const std::string text = f.readAll().toStdString();
  for (const char* line : {"[MC1468HC18]\n", "DateTimeOffset=-10227\n", "RS=13\n", "SET=True\n", "CMOS63=126\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;

  QtHost host(folder);
  SetHost(&host);
  class1468hc18 rtc;
  rtc.LoadSettings();
  EXPECT_DOUBLE_EQ(rtc.DateTimeOffset(), -10227);
  EXPECT_EQ(rtc.Reg(RtcRegB), 0x86);
  EXPECT_EQ(rtc.Reg(RtcHoursAlarm), 0xC0);
  EXPECT_EQ(rtc.Century(), 20);
  EXPECT_EQ(host.PeriodicTimer().Interval(), 125);
  EXPECT_TRUE(host.PeriodicTimer().Enabled());
  SetHost(nullptr);
}

}  // namespace
}  // namespace korva
