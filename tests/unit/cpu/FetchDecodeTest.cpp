// Instruction fetch and decode: status words, decode entries, the instruction
// count, the device poll countdowns, breakpoints, counted runs and faults.
#include <gtest/gtest.h>

#include "board/Uart2661.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "disk/RWIN.h"
#include "serial/MVME400.h"
#include "tables/OpMap.h"
#include "tables/Queues.h"
#include "support/TestMachine.h"

using namespace korva;

TEST(FetchDecode, StatusWordsAndDecodeEntries) {
  test::TestMachine m;
  m.Words(0x1000, {0x4E72, 0x4E71});  // STOP (privileged), NOP
  m.SetPC(0x1000);
  m.ExecuteWord();  // the fetch at McExecute, supervisor state
  EXPECT_EQ(AccSSW, 0x2106);
  EXPECT_EQ(CpuOpcode, 0x4E72u);
  EXPECT_EQ(&CurrentOp(), &OpMap[0x4E72]);  // the decode record goes with the word
  EXPECT_EQ(CpuInstrAddr, 0x1000u);
  EXPECT_EQ(CpuPC, 0x1002u);
  EXPECT_EQ(mcPC, OpMap[0x4E72].SupervisorStart);

  Cpu.SR(0x8000);  // user state, trace on
  CpuAReg[7] = 0x2000;
  m.SetPC(0x1000);
  m.ExecuteWord();
  EXPECT_EQ(AccSSW, 0x2102);
  EXPECT_EQ(mcPC, +McPrivilege);  // privilege violation
  EXPECT_EQ(CpuTracePending, True);
}

TEST(FetchDecode, OddProgramCounterIsAnAddressErrorAtTheFetch) {
  test::TestMachine m;
  m.SetPC(0x1001);
  CpuOpcode = 0x1234;
  m.ExecuteWord();
  EXPECT_EQ(mcPC, +McAddressError);
  EXPECT_EQ(FaultMcPC, +McExecute);
  EXPECT_EQ(FaultMcStage, 2);
  EXPECT_EQ(CpuOpcode, 0x1234u);  // nothing decoded
  EXPECT_EQ(&CurrentOp(), &OpMap[0x1234]);
  CpuOpcode = 0x14E71;  // a stored word finds its record by its low 16 bits
  EXPECT_EQ(&CurrentOp(), &OpMap[0x4E71]);
  // A bus error (nothing mapped) goes to McBusError the same way.
  m.SetDeviceCode(0x3000, 0x3001, DcNothing);
  m.SetPC(0x3000);
  m.ExecuteWord();
  EXPECT_EQ(mcPC, +McBusError);
}

TEST(FetchDecode, InstructionCountAndPollCountdowns) {
  test::TestMachine m;
  for (uint32_t a = 0x1000; a < 0x1100; a += 2) m.WriteWord(a, 0x4E71);
  InstructionCount = 0x3FFFFFFF;
  Mvme400PollInterval = Mvme400PollCount = 0;  // every fetch
  Sn2661PollInterval = Sn2661PollCount = 3;    // every 4th fetch
  RwinPollInterval = 1;
  RwinPollCount = 1;
  RwinCmdPending = True;  // completes on the 2nd fetch
  // The keyboard UART's transmitter is ready and enabled: each poll raises entry 8.
  Uart2661.Reset();
  Uart2661.Command(0x01);
  const auto uartPolled = [] {
    const bool polled = Exceptions.IsIP(IntEntryKeyboardTx);
    Exceptions.ClrIP(IntEntryKeyboardTx);
    return polled;
  };
  uartPolled();
  const uint32_t c0 = MVME400C0.PollCount, c1 = MVME400C1.PollCount;
  int uartPolls = 0;
  for (int i = 0; i < 8; ++i) {
    m.SetPC(0x1000);
    m.ExecuteWord();
    uartPolls += uartPolled();
    if (i == 0) {
      EXPECT_EQ(InstructionCount, 0u);
      EXPECT_EQ(RwinCmdPending, True);
    }
    if (i == 1) {
      EXPECT_EQ(RwinCmdPending, False);
    }
  }
  EXPECT_EQ(MVME400C0.PollCount, c0 + 8);
  EXPECT_EQ(MVME400C1.PollCount, c1 + 8);
  EXPECT_EQ(uartPolls, 2);
  EXPECT_EQ(RwinCmdPending, False);
  // An all-ones interval (the largest throttle) polls at every fetch.
  Sn2661PollInterval = Sn2661PollCount = -1;
  uartPolls = 0;
  for (int i = 0; i < 3; ++i) m.SetPC(0x1000), m.ExecuteWord(), uartPolls += uartPolled();
  EXPECT_EQ(uartPolls, 3);
  Uart2661.Reset();
}

// The countdowns share one countdown to the nearest expiry; each must still run
// out at the very fetch it would alone, whatever is written to it between fetches.
TEST(FetchDecode, SharedPollCountdownKeepsEachPace) {
  test::TestMachine m;
  for (uint32_t a = 0x1000; a < 0x1100; a += 2) m.WriteWord(a, 0x4E71);
  // The same countdowns counted one by one at every fetch.
  struct Alone {
    int32_t mvme, sn, rwin;
    bool pending;
    uint32_t mvmePolls = 0;
    static bool Down(int32_t& c, int32_t interval) {
      c = static_cast<int32_t>(static_cast<uint32_t>(c) - 1u);
      if (c >= 0) return false;
      c = interval;
      return true;
    }
    void Fetch() {
      if (Down(mvme, Mvme400PollInterval)) ++mvmePolls;
      Down(sn, Sn2661PollInterval);
      if (pending && Down(rwin, RwinPollInterval)) pending = false;
    }
  };
  Mvme400PollInterval = Mvme400PollCount = 4;
  Sn2661PollInterval = 6;
  Sn2661PollCount = 2;
  RwinPollInterval = 2;
  RwinCmdPending = False;
  Alone alone{4, 2, 0, false};
  const uint32_t polls0 = MVME400C0.PollCount;
  // The instruction count rides on the shared countdown: it stays exact through
  // every expiry and rewrite, wraps at 2^30, and can be set between fetches.
  uint32_t count = 0x3FFFFFF8;
  InstructionCount = count;
  for (int i = 0; i < 60; ++i) {
    if (i == 25) InstructionCount = count = 100;
    switch (i) {
      case 10:  // a disk command starts, as the controller arms it, due before the others
        RwinCmdPending = True;
        RwinPollCount = alone.rwin = 1;
        alone.pending = true;
        break;
      case 13:  // the throttle: every fetch from now on
        Sn2661PollInterval = Sn2661PollCount = alone.sn = -1;
        break;
      case 20:  // the most negative count wraps to the largest instead of running out
        Mvme400PollCount = alone.mvme = INT32_MIN;
        break;
      case 30:
        Mvme400PollCount = alone.mvme = 3;
        Sn2661PollInterval = Sn2661PollCount = alone.sn = 7;
        break;
      case 40:  // a command started and ended between two fetches
        RwinCmdPending = True;
        RwinPollCount = 1;
        RwinCmdPending = False;
        break;
    }
    m.SetPC(0x1000);
    m.ExecuteWord();
    alone.Fetch();
    count = (count + 1) & 0x3FFFFFFF;
    SCOPED_TRACE(i);
    ASSERT_EQ(static_cast<uint32_t>(InstructionCount), count);
    ASSERT_EQ(Mvme400PollCount, alone.mvme);
    ASSERT_EQ(Sn2661PollCount, alone.sn);
    ASSERT_EQ(RwinCmdPending, alone.pending ? True : False);
    if (alone.pending) {
      ASSERT_EQ(RwinPollCount, alone.rwin);
    }
    ASSERT_EQ(MVME400C0.PollCount - polls0, alone.mvmePolls);
  }
  EXPECT_EQ(alone.mvmePolls, 10u);  // 4 before the wrap, none after it until fetch 30 rewrites the count, 6 after
  Uart2661.Reset();
}

namespace {
// Start the processor at the debug fetch (McExecute patched to mcrFetchDecodeDebug).
void StartDebug() {
  mcPC = McExecute;
  mcStage = 1;
  CpuRunning = True;
}
}  // namespace

TEST(FetchDecode, BreakpointsCompareTwentyFourBitsAndSkipOnce) {
  test::TestMachine m;
  UseDebuggerMicroOp();
  for (uint32_t a = 0x1000; a < 0x1100; a += 2) m.WriteWord(a, 0x4E71);
  CpuPC = 0x1000;
  BreakPoints[0] = {0x7F001000, True, False};  // differs only in bits 31-24
  BreakPoints[2] = {0x1000, False, True};      // disabled: its skip is never touched
  BreakPointsEnabled = True;
  StartDebug();
  m.ExecuteWord();
  EXPECT_EQ(CpuRunning, False);
  EXPECT_EQ(mcPC, +McExecute);
  EXPECT_EQ(CpuPC, 0x1000u);
  EXPECT_EQ(BreakPoints[0].Skip, True);
  EXPECT_EQ(RefreshRegsRequest, True);
  StartDebug();
  m.ExecuteWord();  // passes once
  EXPECT_EQ(CpuRunning, True);
  EXPECT_EQ(CpuPC, 0x1002u);
  EXPECT_EQ(BreakPoints[0].Skip, False);
  EXPECT_EQ(BreakPoints[2].Skip, True);

  // Two entries at one address: stop, stop, stop, then pass.
  BreakPoints[1] = {0x1000, True, False};
  BreakPoints[0].Skip = False;
  int stops = 0;
  for (int start = 0; start < 4; ++start) {
    CpuPC = 0x1000;
    StartDebug();
    m.ExecuteWord();
    stops += CpuRunning == False;
  }
  EXPECT_EQ(stops, 3);
  EXPECT_EQ(CpuPC, 0x1002u);

  UseNormalMicroOp();
}

TEST(FetchDecode, CountedRunsAndHistory) {
  test::TestMachine m;
  UseDebuggerMicroOp();
  for (uint32_t a = 0x1000; a < 0x1100; a += 2) m.WriteWord(a, 0x7001);  // MOVEQ #1,D0
  TraceTable.Create(16);
  TraceTableEnabled = True;
  CpuRunning = False;
  Cpu.Go(0x1000);  // stops at the new PC before executing anything
  EXPECT_EQ(m.StepInstruction(), test::Stop::NotRunning);
  EXPECT_EQ(CpuPC, 0x1000u);
  EXPECT_EQ(StepCount, -1);
  Cpu.Step(3);
  EXPECT_EQ(m.RunUntilStop(), test::Stop::NotRunning);
  EXPECT_EQ(CpuPC, 0x1006u);
  EXPECT_EQ(StepCount, -1);
  EXPECT_EQ(TraceTable.ReadData(0), 0x1004);
  EXPECT_EQ(TraceTable.ReadData(2), 0x1000);
  UseNormalMicroOp();
}
