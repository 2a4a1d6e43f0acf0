// The table of each routine's steps, which RTE checks a resume point against,
// agrees with the routines: every listed step has a case, every later one is a
// microcode fault, and a routine listed as taking any step takes a large one.
#include <gtest/gtest.h>

#include "bus/BusState.h"
#include "cpu/Dispatch.h"
#include "cpu/ResumeSteps.h"
#include "tables/OperandCodes.h"
#include "tables/OpMap.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

constexpr uint32_t kAt = 1234;
constexpr uint16_t kOpcode = 0xA5A5;

// Whether routine n, entered at `step` for some operand size, mode and Extra2
// (EXG's, EXT's and the status moves' selector), goes on rather than ending in
// a microcode fault at once.
bool HasStep(uint32_t n, int step) {
  for (uint16_t size = 0; size < 4; ++size) {
    for (uint16_t mode : {EaDn, EaAn, EaAnIndirect, EaAnPostInc, EaAnPreDec, EaAnDisp16, EaAnIndex, EaAbsWord,
                          EaAbsLong, EaPcDisp16, EaPcIndex, EaImmediate}) {
      for (int32_t extra2 : {0, 1, 2, 3, 7, 8, 17}) {
        OpMapEntry& e = OpMap[kOpcode];
        e = OpMapEntry{};
        e.Extra2 = extra2;
        e.Size = size;
        e.SrcMode = e.DstMode = mode;
        CpuOpcode = kOpcode;
        for (int i = 0; i < 7; ++i) CpuAReg[i] = 0x4000;
        CpuAReg[7] = 0x5000;
        CpuPC = 0x2000;
        CpuEa = AccAddress = 0x4000;
        FaultFlag = False;
        mcPC = kAt;
        mcErrorPC = 0;
        mcStage = static_cast<uint8_t>(step);
        McrTable[n]();
        if (!(mcPC == McFault && mcErrorPC == kAt)) return true;
      }
    }
  }
  return false;
}

TEST(ResumeSteps, TableAgreesWithTheRoutines) {
  test::TestMachine m;
  const OpMapEntry saved = OpMap[kOpcode];
  for (uint32_t n = 1; n <= McrLast; ++n) {
    const Mcr r = static_cast<Mcr>(n);
    if (r == Mcr::mcrIdle || r == Mcr::mcrHalt || r == Mcr::ShowInternalError) continue;  // window and halt
    const uint8_t last = LastStepOf(r);
    SCOPED_TRACE(testing::Message() << "routine " << n << " last step " << int(last));
    if (last == AnyStep) {
      EXPECT_TRUE(HasStep(n, 200));
      continue;
    }
    for (int step = 2; step <= last; ++step) EXPECT_TRUE(HasStep(n, step)) << step;
    for (int step = last + 1; step < 256; ++step) ASSERT_FALSE(HasStep(n, step)) << step;
  }
  OpMap[kOpcode] = saved;
}

}  // namespace
}  // namespace korva
