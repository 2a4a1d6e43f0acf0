// The control-store image, its patches and the dispatcher's range check.
#include <gtest/gtest.h>

#include "cpu/ControlStore.h"
#include "cpu/Dispatch.h"
#include "cpu/Microroutines.h"
#include "tables/OpMap.h"
#include "unit/support/TestMachine.h"

using namespace korva;

namespace {
int CountCalls(uint32_t n) {
  int c = 0;
  for (const auto& e : Microcode) c += (e.Kind == McCall && e.Arg == n);
  return c;
}
std::vector<uint32_t> Chain(uint32_t at) {
  std::vector<uint32_t> v;
  while (at < McStoreSize && Microcode[at].Kind != McUnfilled) v.push_back(Microcode[at++].Arg);
  return v;
}
}  // namespace

TEST(ControlStore, ImageHasItsWordsCallsAndJumps) {
  InitMicrocode();
  int calls = 0, jumps = 0, lowest = 4096, highest = -1;
  for (int a = 0; a < 4096; ++a) {
    const McEntry& e = Microcode[a];
    if (e.Kind == McUnfilled) {
      EXPECT_EQ(e.Arg, 0u) << a;
      continue;
    }
    calls += e.Kind == McCall;
    jumps += e.Kind == McJump;
    if (e.Kind == McCall) {
      EXPECT_GE(e.Arg, 1u) << a;
      EXPECT_LE(e.Arg, 196u) << a;
    }
    lowest = std::min(lowest, a);
    highest = std::max(highest, a);
  }
  EXPECT_EQ(calls, 1003);
  EXPECT_EQ(jumps, 5);
  EXPECT_EQ(lowest, 16);
  EXPECT_EQ(highest, 3042);
  // Spot words: reset, idle, halt, fault, tails, STOP, MOVES jumps, chains in the table.
  EXPECT_EQ(Chain(16), (std::vector<uint32_t>{152, 68}));
  EXPECT_EQ(Microcode[33].Kind, McJump);
  EXPECT_EQ(Microcode[33].Arg, 32u);
  EXPECT_EQ(Microcode[49].Arg, 32u);
  EXPECT_EQ(Microcode[65].Arg, 48u);
  EXPECT_EQ(Chain(496), (std::vector<uint32_t>{70, 168, 195, 186, 85, 68}));
  EXPECT_EQ(Chain(2848), (std::vector<uint32_t>{65, 39, 121, 2864, 2880}));
  EXPECT_EQ(Microcode[2851].Kind, McJump);
  EXPECT_EQ(Chain(1200), (std::vector<uint32_t>{39, 75, 37, 72, 11, 144, 186, 85, 68}));
  EXPECT_EQ(Chain(3040), (std::vector<uint32_t>{40, 38, 69}));
  EXPECT_EQ(Microcode[15].Kind, McUnfilled);
  EXPECT_EQ(Microcode[18].Kind, McUnfilled);
  EXPECT_EQ(Microcode[3043].Kind, McUnfilled);
}

TEST(ControlStore, EveryOpcodeStartIsAChainStart) {
  test::TestMachine m;  // builds the MC68010 opcode map
  for (uint32_t op = 0; op < 65536; ++op) {
    for (uint32_t start : {OpMap[op].SupervisorStart, OpMap[op].UserStart}) {
      ASSERT_LT(start, McStoreSize) << std::hex << op;
      ASSERT_EQ(start % 16, 0u) << std::hex << op;
      ASSERT_NE(Microcode[start].Kind, McUnfilled) << std::hex << op << " -> " << std::dec << start;
    }
  }
}

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
  EXPECT_EQ(CountCalls(38), 0);
  EXPECT_EQ(CountCalls(40), 0);

  SelectCpu68000();
  EXPECT_EQ(Microcode[144].Arg, 30u);
  EXPECT_EQ(Microcode[416].Arg, 163u);
  EXPECT_EQ(CpuFrameDelta, -6);
  SelectCpu32();  // straight from one patched model to the other
  EXPECT_EQ(CountCalls(37), 0);
  EXPECT_EQ(CountCalls(39), 0);
  EXPECT_EQ(Microcode[144].Arg, 29u);
  EXPECT_EQ(Microcode[416].Arg, 162u);
  EXPECT_EQ(CpuFrameDelta, -8);
  SelectCpu68010();
  EXPECT_TRUE(unchanged());

  UseDebuggerMicroOp();
  EXPECT_EQ(CountCalls(68), 0);
  for (uint32_t a : {17u, 80u, 96u, 114u}) EXPECT_EQ(Microcode[a].Arg, 69u) << a;
  UseNormalMicroOp();
  EXPECT_TRUE(unchanged());
}

TEST(ControlStore, BadWordsNumbersAndStepsAreMicrocodeFaults) {
  test::TestMachine m;
  // An unfilled word, a word beyond the store (a corrupt resume point), and call
  // numbers 0, 197 and one that a byte would truncate to a valid 68.
  for (uint32_t pc : {5u, 3043u, 4095u, 4096u, 65535u}) {
    mcPC = pc;
    m.ExecuteWord();
    EXPECT_EQ(mcPC, 64u);
    EXPECT_EQ(mcErrorPC, static_cast<uint16_t>(pc));
  }
  for (uint32_t n : {0u, 197u, 256u + 68u}) {
    mcPC = 1000;
    DispatchMcr(n);
    EXPECT_EQ(mcPC, 64u) << n;
    EXPECT_EQ(mcErrorPC, 1000u) << n;
  }
  // The report runs at 64, then the processor halts and idles.
  mcPC = 7;
  CpuRunning = True;
  EXPECT_EQ(m.StepInstruction(), test::Stop::InternalError);
  m.ExecuteWord();  // the report
  m.ExecuteWord();  // J48
  EXPECT_EQ(mcPC, 48u);
  EXPECT_EQ(m.StepInstruction(), test::Stop::Halt);

  // A resume point restored from a stack frame can name any step.
  void (*const routines[])() = {mcrFetchDecode, mcrFetchExtLong, mcrReadSrc,    mcrReadSrcLong,
                                mcrWriteDst,    mcrPushReturn,   mcrMOVEPRead, mcrMOVEPWrite};
  CpuOpcode = 0x01C8;  // MOVEP.L D0,d(A0): a memory destination and a long size
  for (auto routine : routines) {
    for (int stage : {0, 14, 255}) {
      mcPC = 1000;
      mcStage = static_cast<uint8_t>(stage);
      routine();
      EXPECT_EQ(mcPC, 64u) << stage;
    }
  }
}
