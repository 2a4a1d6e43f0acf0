// The control-store image, its patches and the dispatcher's range check.
#include <gtest/gtest.h>

#include "cpu/ControlStore.h"
#include "cpu/Dispatch.h"
#include "cpu/Microroutines.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
int CountCalls(Mcr m) {
  int c = 0;
  for (uint32_t a = 0; a < McStoreSize; ++a) c += CallsAt(a, m);
  return c;
}
}  // namespace

TEST(ControlStore, ModelPatchesAndTheirReversal) {
  InitMicrocode();
  SelectCpu68010();
  UseNormalMicroOp();
  McEntry saved[McStoreSize];
  std::copy(std::begin(Microcode), std::end(Microcode), saved);
  auto unchanged = [&saved] {
    for (uint32_t a = 0; a < McStoreSize; ++a)
      if (Microcode[a].Arg != saved[a].Arg) return false;
    return true;
  };
  EXPECT_EQ(CountCalls(Mcr::mcrDstEA32), 0);
  EXPECT_EQ(CountCalls(Mcr::mcrSrcEA32), 0);

  // Each model's patches run in its guest programs; here only that switching
  // straight from one patched model to the other and back undoes them all.
  SelectCpu68000();
  SelectCpu32();
  EXPECT_EQ(CountCalls(Mcr::mcrDstEA), 0);
  EXPECT_TRUE(CallsAt(McBusError, Mcr::mcrBerr));
  SelectCpu68010();
  EXPECT_TRUE(unchanged());

  UseDebuggerMicroOp();
  EXPECT_EQ(CountCalls(Mcr::mcrFetchDecode), 0);
  for (uint32_t a : {McReset + 1, +McExecute, +McFastFetch, McTail + 2})
    EXPECT_TRUE(CallsAt(a, Mcr::mcrFetchDecodeDebug)) << a;
  UseNormalMicroOp();
  EXPECT_TRUE(unchanged());
}

TEST(ControlStore, BadWordsNumbersAndStepsAreMicrocodeFaults) {
  test::TestMachine m;
  // An unfilled word, a word beyond the store (a corrupt resume point), and call
  // numbers 0, one past the last and one that a byte would truncate to a valid one.
  for (uint32_t pc : {5u, McUnentered + 3, McStoreSize - 1, McStoreSize, 65535u}) {
    mcPC = pc;
    m.ExecuteWord();
    EXPECT_EQ(mcPC, +McFault);
    EXPECT_EQ(mcErrorPC, static_cast<uint16_t>(pc));
  }
  for (uint32_t n : {0u, McrLast + 1, 256 + McrNumber(Mcr::mcrFetchDecode)}) {
    mcPC = 1000;
    DispatchMcr(n);
    EXPECT_EQ(mcPC, +McFault) << n;
    EXPECT_EQ(mcErrorPC, 1000u) << n;
  }
  // The report runs at McFault, then the processor halts and idles.
  mcPC = 7;
  CpuRunning = True;
  EXPECT_EQ(m.StepInstruction(), test::Stop::InternalError);
  m.ExecuteWord();  // the report
  m.ExecuteWord();  // the jump to the halt
  EXPECT_EQ(mcPC, +McHalt);
  EXPECT_EQ(m.StepInstruction(), test::Stop::Halt);
}
