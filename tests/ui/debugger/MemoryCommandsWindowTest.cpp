// Long memory commands typed in the debugger window: Abort ends them, a line
// typed while one runs is dropped with a note, and closing the window waits for
// the command.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "cpu/MainLoop.h"
#include "debugger/DebugPump.h"
#include "ui/debugger/DebuggerWindowFixture.h"
#include "debugger/DebuggerCore.h"
#include "debugger/ui/DebuggerWindow.h"
#include "debugger/ui/formDebugger.h"
#include "shell/Neighbours.h"
#include "support/TestMachine.h"
#include "ui/UiTest.h"

namespace korva::ui {
namespace {

class MemoryCommandsWindowTest : public DebuggerWindowTest {
 protected:
  void SetUp() override {
    DebuggerWindowTest::SetUp();
    // 2 ms pass between two looks at the clock: the loops pump every 256 elements.
    static int64_t clock = 0;
    DebugPumpClock = [] { return clock += DebugPump::IntervalMs; };
  }
  static void Type(formDebugger& w, const char* line) {
    QTest::keyClicks(w.txtIO(), line);
    QTest::keyClick(w.txtIO(), Qt::Key_Return);
  }
};

TEST_F(MemoryCommandsWindowTest, AbortStopsAFillAndALineTypedMeanwhileRunsNothing) {
  formDebugger& w = Open();
  m.WriteByte(0x20000, 0x41);
  host_.OnPumpEvents = [&] {
    if (host_.PumpCount != 1) return;
    Type(w, "SM.B $20000 0");
    w.cmdAbort()->click();
  };
  Type(w, "BF.B $200000 $55 $100000");
  EXPECT_EQ(host_.PumpCount, 1);
  EXPECT_EQ(m.ReadByte(0x2000FF), 0x55);  // the byte being written when Abort came
  EXPECT_EQ(m.ReadByte(0x200100), 0);
  EXPECT_EQ(m.ReadByte(0x20000), 0x41);  // the typed line was dropped
  EXPECT_FALSE(CommandRunning);
  // The next line runs again.
  host_.OnPumpEvents = nullptr;
  Type(w, "SM.B $20000 0");
  EXPECT_EQ(m.ReadByte(0x20000), 0);
}

TEST_F(MemoryCommandsWindowTest, ALineDroppedDuringADumpIsNotedOnALineOfItsOwn) {
  formDebugger& w = Open();
  host_.OnPumpEvents = [&] {
    if (host_.PumpCount != 1) return;
    Type(w, "DM.B 100000 4");
    w.cmdAbort()->click();
  };
  Type(w, "DM.B 0 $1000000");
  host_.OnPumpEvents = nullptr;
  Type(w, "DM.B 100000 4");
  // The dropped text stays where it was typed; the note and the next line stand on their own.
  const QString box = w.txtIO()->toPlainText();
  const QString note = QString::fromLatin1(LineNotRunText.data(), static_cast<int>(LineNotRunText.size()));
  EXPECT_TRUE(box.endsWith("DM.B 100000 4\n" + note + "\nDM.B 100000 4\n000186A0::00:00:00:00 : ....\n"))
      << box.right(200).toStdString();
}

TEST_F(MemoryCommandsWindowTest, ClosingDuringADumpUnloadsAfterIt) {
  formDebugger& w = Open();
  host_.OnPumpEvents = [&] {
    if (host_.PumpCount == 2) w.close();
  };
  Type(w, "DM.B 0 $1000000");
  EXPECT_EQ(host_.PumpCount, 2);  // the dump saw the abort and ended
  EXPECT_FALSE(CommandRunning);
  EXPECT_FALSE(DebuggerLoaded);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(DebuggerWindowForm(), nullptr);
  // A closed window leaves the output to the core; commands run as before.
  EXPECT_EQ(Execute("DM.B 0 1"), "\r\n00000000::00 : .\r\n");
}

}  // namespace
}  // namespace korva::ui
