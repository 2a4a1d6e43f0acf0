// Shared by the debugger window's tests: the window installed over a test
// machine with a scripted host; at the end the window is unloaded as the
// program unloads it and the debugger's state starts afresh.
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "debugger/DebuggerCore.h"
#include "debugger/ui/DebuggerWindow.h"
#include "debugger/ui/formDebugger.h"
#include "host/Host.h"
#include "shell/Neighbours.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "ui/UiTest.h"

namespace korva::ui {

class DebuggerWindowTest : public ::testing::Test {
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
  test::TestMachine m;
  ScriptedHost host_;
};

}  // namespace korva::ui
