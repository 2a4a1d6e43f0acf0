#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "host/Settings.h"
#include "host/qt/QtHost.h"

namespace korva {
namespace {

std::string ReadFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

void WriteFile(const std::string& path, const std::string& text) {
  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(text.data(), static_cast<qint64>(text.size()));
}

class QtHostSettingsTest : public ::testing::Test {
 protected:
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
    SaveSettingBool("Devices", "Mem180to1BF", False);
    Host().SaveSetting("Paths", "Rom", "/home/u/r\xE9pertoire, old");  // Windows-1252 e-acute
    path = host.SettingsFilePath();
    SetHost(nullptr);
  }
  EXPECT_EQ(path, Dir() + "/Korvan.ini");
  const std::string text = ReadFile(path);
  EXPECT_NE(text.find("[General]\n"), std::string::npos) << text;
  EXPECT_NE(text.find("ReservedPlugged=True\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Mem180to1BF=False\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Rom=/home/u/r\u00E9pertoire, old\n"), std::string::npos) << text;  // UTF-8 on disk

  QtHost again(Dir());
  SetHost(&again);
  EXPECT_EQ(GetSettingLong("General", "ThrottleCPU", 10, 0, 15), 12);
  EXPECT_EQ(GetSettingBool("Devices", "ReservedPlugged", False), True);
  EXPECT_EQ(GetSettingBool("Devices", "Mem180to1BF", True), False);
  EXPECT_EQ(Host().GetSetting("Paths", "Rom", ""), "/home/u/r\xE9pertoire, old");
  EXPECT_EQ(Host().GetSetting("Paths", "Missing", "dflt"), "dflt");
  SetHost(nullptr);
}

TEST_F(QtHostSettingsTest, HandWrittenFileReadsAsTheUserExpects) {
  WriteFile(Dir() + "/KorvanLAB.ini",
            "; settings for the lab machine\n"
            "[General]\n"
            "movephysen = true\n"
            "ThrottleCPU=abc\n"
            "BootDrive=2\n"
            "[devices]\n"
            "MVME400C0Plugged=False\n");
  QtHost host(Dir());
  SetHost(&host);
  host.SetApplicationName(std::string(AppTitle) + "LAB");
  EXPECT_EQ(host.SettingsFilePath(), Dir() + "/KorvanLAB.ini");
  EXPECT_EQ(GetSettingBool("General", "MovePhysEn", False), True);
  EXPECT_EQ(GetSettingLong("General", "ThrottleCPU", 10, 0, 15), 10);  // not a number
  EXPECT_EQ(GetSettingLong("General", "BootDrive", 0, 0, 3), 2);
  EXPECT_EQ(GetSettingBool("Devices", "MVME400C0Plugged", True), False);

  // Saving keeps the user's spelling instead of adding a second key.
  SaveSettingBool("General", "MovePhysEn", False);
  const std::string text = ReadFile(host.SettingsFilePath());
  EXPECT_NE(text.find("movephysen=False"), std::string::npos) << text;
  EXPECT_EQ(text.find("MovePhysEn"), std::string::npos) << text;
  SetHost(nullptr);
}

TEST_F(QtHostSettingsTest, ProfilesKeepSeparateFiles) {
  QtHost host(Dir());
  host.SaveSetting("General", "BootDrive", "1");
  host.SetApplicationName("KorvanB");
  EXPECT_EQ(host.GetSetting("General", "BootDrive", "0"), "0");
  host.SaveSetting("General", "BootDrive", "3");
  host.SetApplicationName(AppTitle);
  EXPECT_EQ(host.GetSetting("General", "BootDrive", "0"), "1");
  // Names that would leave the section are kept inside it.
  host.SaveSetting("Odd/Section", "a\\b", "x");
  EXPECT_EQ(host.GetSetting("Odd/Section", "a\\b", ""), "x");
}

}  // namespace
}  // namespace korva
