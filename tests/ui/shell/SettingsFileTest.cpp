#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "bus/Rom.h"
#include "cpu/MainLoop.h"
#include "disk/RWIN.h"
#include "host/qt/QtHost.h"
#include "shell/MainFormHooks.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"

namespace korva {
namespace {

std::string ReadFile(const std::string& path) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

// A settings file written by hand, with garbage, out-of-range values and a very
// long line, read and written back through the real store.
TEST(SettingsFileTest, HandWrittenProfileFileLoadsAndSavesBack) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  {
    QFile f(dir.filePath("KorvanLAB2.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const std::string text =
        "[General]\r\n"
        "RomFilename=C:\\vme\\roms\\tenbug.s19\r\n"
        "ThrottleCPU=40\r\n"
        "BootType=3\r\n"
        "DropFormat=9\r\n"
        "VdosVersion=" +
        std::string(10000, '7') +
        "\r\n"
        "\x01\x02 garbage line \xFF\r\n"
        "[IOC]\r\nRWINCMDInt=9\r\nRWINDATAInt=2\r\n"
        "[RWIN]\r\nSPT1MFM512=12\r\n";
    f.write(text.data(), static_cast<qint64>(text.size()));
  }
  QtHost host(folder);
  SetHost(&host);
  ChooseProfile("lab-2 x");
  EXPECT_EQ(host.SettingsFilePath(), folder + "/KorvanLAB2.ini");
  InitializeSettings();
  EXPECT_EQ(RomFilename, "C:\\vme\\roms\\tenbug.s19");  // backslashes as the user wrote them
  EXPECT_EQ(MainForm->ThrottleBarPosition(ThrottleBar::vscThrottle), 10);
  EXPECT_EQ(BootType, 3);
  EXPECT_EQ(Rwin.DataIRQ(), 2);

  SaveSettings();
  const std::string saved = ReadFile(host.SettingsFilePath());
  EXPECT_NE(saved.find("DropFormat=4\n"), std::string::npos) << saved;
  EXPECT_NE(saved.find("SPT1MFM512=12\n"), std::string::npos);

  ChooseProfile("");
  SetHost(nullptr);
  InitializeSettings();
}

}  // namespace
}  // namespace korva
