// The CRT window of port 1 opened as the program opens it, on a cable and
// definitions of its own, closed and everything reset after each test.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

#include <string>

#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "terminal/ui/formCRT.h"
#include "ui/UiTest.h"

namespace korva {

class CrtWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    ResetCrtDefinitions();
    Cable = classCable();
    ConsoleType = {};
    CrtDefaultFolder = "/nonexistent";
    ui::InstallCRTWindows();
    InstallMore();
    ConsoleType[1] = ConsoleCRT;
    OpenConsoles();
    crt_ = dynamic_cast<ui::formCRT*>(CRTForms[1]);
    ASSERT_NE(crt_, nullptr);
    QCoreApplication::processEvents();
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    UninstallMore();
    Cable = classCable();
    CrtDefaultFolder.clear();
    ResetCrtDefinitions();
  }
  // What a test installs beside the window before it opens, and removes after.
  virtual void InstallMore() {}
  virtual void UninstallMore() {}

  QAction* Action(const char* name) { return crt_->findChild<QAction*>(QString::fromLatin1(name)); }
  // What the window has sent the guest on port 1.
  static std::string Queued() {
    std::string out;
    while (Cable.RXavailable(1)) out += static_cast<char>(Cable.RX(1));
    return out;
  }
  ScriptedHost host_;
  ui::formCRT* crt_ = nullptr;
};

}  // namespace korva
