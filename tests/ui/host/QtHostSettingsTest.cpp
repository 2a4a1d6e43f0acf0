// The settings store on real INI files: values and the clock's section written
// and read back, files written by hand, one file per profile.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <sys/stat.h>
#include <QTemporaryDir>

#include "board/Rtc1468hc18.h"
#include "bus/Rom.h"
#include "cpu/MainLoop.h"
#include "disk/DiskSettings.h"
#include "disk/RWIN.h"
#include "host/Settings.h"
#include "host/qt/QtHost.h"
#include "shell/MainFormHooks.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

std::string ReadFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

class QtHostSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { uitest::App(); }
  void TearDown() override { SetHost(nullptr); }
  QTemporaryDir dir_;
  std::string Dir() const { return dir_.path().toStdString(); }
};

TEST_F(QtHostSettingsTest, RoundTripThroughTheFile) {
  std::string path;
  {
    QtHost host(Dir());
    SetHost(&host);
    SaveSettingLong("General", "ThrottleCPU", 12);
    SaveSettingBool("Devices", "ReservedPlugged", True);
    Host().SaveSetting("Paths", "Rom", "/home/u/r\xE9pertoire, old");  // Windows-1252 e-acute
    class1468hc18 rtc;
    rtc.LoadSettings();  // an empty store: every default
    rtc.Reg(RtcRegA, 0x2D);
    rtc.Reg(RtcRegB, 0x86);  // SET held: the registers stay as written
    rtc.Reg(RtcHoursAlarm, 0xC0);
    rtc.Century(20);
    rtc.SaveSettings();
    path = host.SettingsFilePath();
    SetHost(nullptr);
  }
  EXPECT_EQ(path, Dir() + "/Korvan.ini");
  const std::string text = ReadFile(path);
  for (const char* line : {"[General]\n", "ReservedPlugged=True\n", "Rom=/home/u/r\u00E9pertoire, old\n",
                           "[MC1468HC18]\n", "DateTimeOffset=-10227\n", "SET=True\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << " in\n" << text;  // UTF-8, locale-free numbers

  QtHost again(Dir());
  SetHost(&again);
  EXPECT_EQ(GetSettingLong("General", "ThrottleCPU", 10, 0, 15), 12);
  EXPECT_EQ(GetSettingBool("Devices", "ReservedPlugged", False), True);
  EXPECT_EQ(Host().GetSetting("Paths", "Rom", ""), "/home/u/r\xE9pertoire, old");
  class1468hc18 rtc;
  rtc.LoadSettings();
  EXPECT_DOUBLE_EQ(rtc.DateTimeOffset(), -10227);
  EXPECT_EQ(rtc.Reg(RtcRegB), 0x86);
  EXPECT_EQ(rtc.Reg(RtcHoursAlarm), 0xC0);
  EXPECT_EQ(rtc.Century(), 20);
  EXPECT_EQ(again.PeriodicTimer().Interval(), 125);
}

// A profile's file written by hand: other spellings, garbage, out-of-range values
// and a very long line, read through the real store and written back.
TEST_F(QtHostSettingsTest, HandWrittenProfileFileLoadsAndSavesBack) {
  QFile f(dir_.filePath("KorvanLAB2.ini"));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  const std::string text = "; settings for the lab machine\r\n[General]\r\nRomFilename=C:\\vme\\roms\\tenbug.s19\r\n"
                           "usesrecstartaddress = true\r\nThrottleCPU=40\r\nDropFormat=9\r\nVdosVersion=" +
                           std::string(10000, '7') + "\r\n\x01\x02 garbage line \xFF\r\n" +
                           "[ioc]\r\nRWINDATAInt=2\r\n[RWIN]\r\nSPT1MFM512=12\r\n";
  f.write(text.data(), static_cast<qint64>(text.size()));
  f.close();
  QtHost host(Dir());
  SetHost(&host);
  ChooseProfile("lab-2 x");
  EXPECT_EQ(host.SettingsFilePath(), Dir() + "/KorvanLAB2.ini");
  InitializeSettings();
  EXPECT_EQ(RomFilename, "C:\\vme\\roms\\tenbug.s19");  // backslashes as the user wrote them
  EXPECT_EQ(UseSrecStartAddress, True);
  EXPECT_EQ(Rwin.DataIRQ(), 2);

  SaveSettings();
  const std::string saved = ReadFile(host.SettingsFilePath());
  EXPECT_NE(saved.find("DropFormat=4\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("SPT1MFM512=12\n"), std::string::npos);
  // Saving keeps the user's spelling instead of adding a second key.
  EXPECT_NE(saved.find("usesrecstartaddress=True"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("UseSrecStartAddress"), std::string::npos) << saved;
  ChooseProfile("");
  SetHost(nullptr);
  InitializeSettings();
}

// The message boxes a real host shows, each answered as it comes: "title|text".
class BoxCatcher {
 public:
  BoxCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Boxes.push_back(box->windowTitle().toStdString() + "|" + box->text().toStdString());
        box->accept();
      }
    });
    timer_.start(5);
  }
  std::vector<std::string> Boxes;

 private:
  QTimer timer_;
};

// A FIFO, or a link to one, at the settings path would block the start for
// ever; a folder put there during the run makes every save fail. Each is named
// in one box, the program goes on, and what is at the path stays as it was.
TEST_F(QtHostSettingsTest, UnusablePathsGiveOneBoxAndStayUntouched) {
  const std::string fifo = Dir() + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ASSERT_TRUE(QFile::link(QString::fromStdString(fifo), dir_.filePath("Korvan.ini")));
  {
    QtHost host(Dir());
    SetHost(&host);
    BoxCatcher catcher;
    EXPECT_EQ(GetSettingLong("General", "BootDrive", 0, 0, 3), 0);
    SaveSettings();
    host.FinishSettings();
    ASSERT_EQ(catcher.Boxes.size(), 1u);
    EXPECT_EQ(catcher.Boxes[0], "Settings not read|The settings file " + Dir() +
                                    "/Korvan.ini was not read: it is not a regular file.\n\nThe defaults are "
                                    "used, and the settings of this run are not saved.");
    SetHost(nullptr);
  }
  EXPECT_TRUE(QFileInfo(dir_.filePath("Korvan.ini")).isSymLink());
  EXPECT_EQ(QFileInfo(QString::fromStdString(fifo)).size(), 0);

  QtHost host(Dir());
  SetHost(&host);
  host.SetApplicationName("KorvanB");
  EXPECT_EQ(GetSettingLong("General", "BootDrive", 0, 0, 3), 0);  // nothing there yet
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(host.SettingsFilePath())));
  BoxCatcher catcher;
  SaveSettings();
  SaveSettingLong("Main", "Top", 5);
  EXPECT_TRUE(catcher.Boxes.empty());
  host.FinishSettings();
  host.FinishSettings();
  ASSERT_EQ(catcher.Boxes.size(), 1u);
  EXPECT_EQ(catcher.Boxes[0], "Settings not saved|The settings were not saved.\n\n" + host.SettingsFilePath() +
                                  ": it is not a regular file");
  EXPECT_TRUE(QFileInfo(QString::fromStdString(host.SettingsFilePath())).isDir());
}

TEST_F(QtHostSettingsTest, ProfilesKeepSeparateFiles) {
  QtHost host(Dir());
  host.SaveSetting("General", "BootDrive", "1");
  host.SetApplicationName("KorvanB");
  EXPECT_EQ(host.GetSetting("General", "BootDrive", "0"), "0");
  host.SaveSetting("General", "BootDrive", "3");
  host.SetApplicationName(AppTitle);
  EXPECT_EQ(host.GetSetting("General", "BootDrive", "0"), "1");
}

}  // namespace
}  // namespace korva
