// The main loop runs instructions between two pumps through the fused chains,
// a chain's routines called one after the other; with the debugger's fetch in
// the store no chain is fused and it runs word by word, looking at the run state
// after each. The same guest programs, run both ways from the reset to their
// final STOP, must leave the same registers, memory, instruction count and
// sequencer on every processor model, with the pumps after the same words. A
// chain whose words were patched runs word by word, as patched.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bus/Memory.h"
#include "cpu/BoundaryCommands.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/FusedChains.h"
#include "cpu/MainLoop.h"
#include "cpu/classCPU.h"
#include "support/GuestProgram.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"

namespace korva {
namespace {

struct Outcome {
  std::array<uint32_t, 8> d{}, a{};
  uint32_t pc = 0, usp = 0, ssp = 0, vbr = 0, sfc = 0, dfc = 0, instructions = 0, mcpc = 0;
  uint16_t sr = 0;
  uint8_t stage = 0;
  int pumps = 0;
  std::vector<uint64_t> atPumps;  // instruction count and mcPC at every pump
  std::vector<uint16_t> memory;   // every word of the 16 MB
};

// Reset through the image's vectors, then RunMachine until the final STOP waits
// (or the pump limit, should a program never get there).
Outcome Run(const std::string& image, uint16_t model, bool debuggerFetch, uint32_t busErrorFrom = 0,
            uint32_t busErrorTo = 0, int32_t throttleMask = 255) {
  Outcome o;
  test::TestMachine m;
  m.UseModel(static_cast<CpuModel>(model));
  if (busErrorTo != 0) m.SetDeviceCode(busErrorFrom, busErrorTo, DcNothing);
  if (debuggerFetch) UseDebuggerMicroOp();
  CountedRun = False;
  BreakPointsEnabled = False;
  TraceTableEnabled = False;
  EXPECT_TRUE(m.LoadSrec(image)) << image;
  EXPECT_EQ(m.ResetCpu(), test::Stop::Fetch) << image;
  InstructionCount = 0;

  ScriptedHost host;
  host.OnPumpEvents = [&o] {
    o.atPumps.push_back(static_cast<uint64_t>(InstructionCount) << 32 | mcPC);
    if (CallsAt(mcPC, Mcr::mcrStopWait) || ++o.pumps > 200000) QuitRequested = True;
  };
  QuitRequested = False;
  CpuThrottleMask = throttleMask;
  CpuRunning = True;
  RunMachine();
  CpuThrottleMask = 1023;
  QuitRequested = False;
  CpuRunning = False;
  UseNormalMicroOp();

  for (int i = 0; i < 8; ++i) {
    o.d[i] = CpuDReg[i];
    o.a[i] = CpuAReg[i];
  }
  o.pc = CpuPC;
  o.sr = Cpu.SR();
  o.usp = CpuUSP;
  o.ssp = CpuSSP;
  o.vbr = CpuVBR;
  o.sfc = CpuSFC;
  o.dfc = CpuDFC;
  o.instructions = InstructionCount;
  o.mcpc = mcPC;
  o.stage = mcStage;
  o.memory.reserve(std::size(RamArray));
  for (const MemoryCell& c : RamArray) o.memory.push_back(c.Data);
  return o;
}

void ExpectSameRun(const std::string& image, uint16_t model, uint32_t busErrorFrom = 0, uint32_t busErrorTo = 0,
                   int32_t throttleMask = 255) {
  const Outcome fast = Run(image, model, false, busErrorFrom, busErrorTo, throttleMask);
  const Outcome stepped = Run(image, model, true, busErrorFrom, busErrorTo, throttleMask);
  const std::string where = image + " on the " + test::ModelName(model) + " pumping every " +
                            std::to_string(throttleMask + 1) + " words";
  // Both runs got to the final STOP; the window messages were pumped after the
  // same words, and the quit asked for in the STOP wait ended both at once.
  EXPECT_TRUE(CallsAt(fast.mcpc, Mcr::mcrStopWait)) << where << ": mcPC " << fast.mcpc;
  EXPECT_GT(fast.instructions, 100u) << where;
  EXPECT_EQ(fast.pumps, stepped.pumps) << where;
  EXPECT_TRUE(fast.atPumps == stepped.atPumps) << where << ": " << fast.atPumps.size() << " pumps against "
                                               << stepped.atPumps.size();
  EXPECT_EQ(fast.d, stepped.d) << where;
  EXPECT_EQ(fast.a, stepped.a) << where;
  EXPECT_EQ(fast.pc, stepped.pc) << where;
  EXPECT_EQ(fast.sr, stepped.sr) << where;
  EXPECT_EQ(fast.usp, stepped.usp) << where;
  EXPECT_EQ(fast.ssp, stepped.ssp) << where;
  EXPECT_EQ(fast.vbr, stepped.vbr) << where;
  EXPECT_EQ(fast.sfc, stepped.sfc) << where;
  EXPECT_EQ(fast.dfc, stepped.dfc) << where;
  EXPECT_EQ(fast.instructions, stepped.instructions) << where;
  EXPECT_EQ(fast.mcpc, stepped.mcpc) << where;
  EXPECT_EQ(fast.stage, stepped.stage) << where;
  size_t firstDifference = 0;
  while (firstDifference < fast.memory.size() && fast.memory[firstDifference] == stepped.memory[firstDifference])
    ++firstDifference;
  EXPECT_EQ(firstDifference, fast.memory.size()) << where << ": memory differs at " << std::hex
                                                 << 2 * firstDifference;
}

class FastPath : public ::testing::TestWithParam<uint16_t> {};

TEST_P(FastPath, GuestProgramsEndAsWordByWord) {
  for (const char* image : {"alu_addsub.s19", "alu_logic.s19", "alu_shift.s19", "alu_bit.s19", "alu_bcd.s19",
                            "mov_core.s19"})
    ExpectSameRun(image, GetParam());
}

// Runs between pumps shorter than a chain with its fetch (word by word), a little
// longer (a few chains, then word by word), and longer than the fused chains
// take in one go.
TEST(FastPath, PumpsComeAfterTheSameWordsAtEveryThrottle) {
  for (int32_t mask : {7, 15, 31, 4095}) ExpectSameRun("alu_addsub.s19", Cpu68010, 0, 0, mask);
}

// The chains in the form the model selection gives them are fused; the
// debugger's fetch, which every tail calls, leaves only chains without it.
TEST_P(FastPath, ChainsAreFusedUntilTheDebuggerFetchComesIn) {
  test::TestMachine m;
  m.UseModel(static_cast<CpuModel>(GetParam()));
  ScriptedHost host;
  const auto lookUp = [] {  // RunMachine looks the chains up as it starts
    CpuRunning = False;
    QuitRequested = True;
    RunMachine();
    QuitRequested = False;
  };
  const uint32_t withTail[] = {McMOVEL, McADDXMem, McDBcc, McRTE, McBusError, McAddressError, McFastFetch};
  lookUp();
  for (uint32_t chain : withTail) EXPECT_TRUE(HasFusedChain(chain)) << chain;
  EXPECT_FALSE(HasFusedChain(McMOVEL + 1));  // no chain starts there
  UseDebuggerMicroOp();
  lookUp();
  for (uint32_t chain : withTail) EXPECT_FALSE(HasFusedChain(chain)) << chain;
  EXPECT_TRUE(HasFusedChain(McIdle));
  UseNormalMicroOp();
  lookUp();
  for (uint32_t chain : withTail) EXPECT_TRUE(HasFusedChain(chain)) << chain;
}

INSTANTIATE_TEST_SUITE_P(Models, FastPath, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<uint16_t>& i) {
                           return std::string(test::ModelName(i.param));
                         });

TEST(FastPath, ModelProgramsEndAsWordByWord) {
  ExpectSameRun("alu_cpu32.cpu32.s19", Cpu32);
  ExpectSameRun("mov_cpu32.cpu32.s19", Cpu32);
  // Bus errors on the way: the frames, the handler and the rerun.
  ExpectSameRun("v10_frames.s19", Cpu68010, 0x7000, 0x70FF);
}

// MOVEQ #5,D0; MOVEQ #7,D1; STOP #$2700 through the main loop, with the MOVEQ
// chain's call patched to NOP or not.
TEST(FastPath, PatchedChainRunsAsPatched) {
  for (bool patched : {false, true}) {
    test::TestMachine m;
    ScriptedHost host;
    host.OnPumpEvents = [] {
      if (CallsAt(mcPC, Mcr::mcrStopWait)) QuitRequested = True;
    };
    m.Words(0x1000, {0x7005, 0x7207, 0x4E72, 0x2700});
    CpuDReg[0] = 0x11;
    CpuDReg[1] = 0x22;
    if (patched) PatchMicrocodeCall(McMOVEQ, Mcr::mcrNOP);
    m.SetPC(0x1000);
    InstructionCount = 0;
    QuitRequested = False;
    RunMachine();
    QuitRequested = False;
    EXPECT_TRUE(CallsAt(mcPC, Mcr::mcrStopWait));
    EXPECT_EQ(HasFusedChain(McMOVEQ), !patched);
    EXPECT_EQ(CpuDReg[0], patched ? 0x11u : 5u) << "patched " << patched;
    EXPECT_EQ(CpuDReg[1], patched ? 0x22u : 7u) << "patched " << patched;
    EXPECT_EQ(InstructionCount, 3u);
  }
}

// Routines that leave their common way (an extension word fetched out of line,
// a long whose page the inline entry misses, one that straddles two pages) stop
// the inline run of their chain, which goes on out of line: the same words run,
// with the pumps after the same ones, as word by word.
TEST(FastPath, ChainsGoOnAfterRareWaysAsWordByWord) {
  struct Result {
    std::array<uint32_t, 8> d{}, a{};
    uint32_t instructions = 0;
    std::vector<uint64_t> atPumps;
    std::vector<uint16_t> copy;
  };
  const auto run = [](bool debuggerFetch) {
    Result r;
    test::TestMachine m;
    ScriptedHost host;
    host.OnPumpEvents = [&r] {
      r.atPumps.push_back(static_cast<uint64_t>(InstructionCount) << 32 | mcPC);
      if (CallsAt(mcPC, Mcr::mcrStopWait) || r.atPumps.size() > 10000) QuitRequested = True;
    };
    // MOVEQ #63,D0; LEA $2000,A0; LEA $37FE,A1;
    // loop: MOVE.L (A0)+,(A1)+; MOVE.L 4(A0),8(A1); DBRA D0,loop; STOP #$2700
    m.Words(0x1000, {0x703F, 0x41F9, 0x0000, 0x2000, 0x43F9, 0x0000, 0x37FE, 0x22D8, 0x2368, 0x0004, 0x0008,
                     0x51C8, 0xFFF6, 0x4E72, 0x2700});
    for (uint32_t a = 0x2000; a < 0x2200; a += 2) m.WriteWord(a, static_cast<uint16_t>(a * 7 + 1));
    if (debuggerFetch) UseDebuggerMicroOp();
    m.SetPC(0x1000);
    InstructionCount = 0;
    QuitRequested = False;
    CpuThrottleMask = 15;
    RunMachine();
    CpuThrottleMask = 1023;
    QuitRequested = False;
    UseNormalMicroOp();
    EXPECT_TRUE(CallsAt(mcPC, Mcr::mcrStopWait));
    for (int i = 0; i < 8; ++i) {
      r.d[i] = CpuDReg[i];
      r.a[i] = CpuAReg[i];
    }
    r.instructions = InstructionCount;
    for (uint32_t a = 0x37F0; a < 0x3920; a += 2) r.copy.push_back(RamArray[a / 2].Data);
    return r;
  };
  const Result fast = run(false), stepped = run(true);
  EXPECT_EQ(fast.instructions, 3u + 64 * 3 + 1);
  EXPECT_EQ(fast.a[0], 0x2100u);
  EXPECT_EQ(fast.a[1], 0x38FEu);
  EXPECT_EQ(fast.d, stepped.d);
  EXPECT_EQ(fast.a, stepped.a);
  EXPECT_EQ(fast.instructions, stepped.instructions);
  EXPECT_TRUE(fast.atPumps == stepped.atPumps) << fast.atPumps.size() << " pumps against " << stepped.atPumps.size();
  EXPECT_TRUE(fast.copy == stepped.copy);
}

// A machine-changing command asked for inside an instruction (here from the
// window messages that a read of the system control module processes) runs at
// the next instruction boundary, not at whatever word a later run of words
// happens to end.
TEST(FastPath, HeldCommandRunsAtTheNextBoundary) {
  test::TestMachine m;
  ScriptedHost host;
  m.SetDeviceCode(0xF19F04, 0xF19F05, DcCR0);
  // MOVE.B $F19F05,D0; 200 times MOVEQ #1,D1; STOP #$2700
  m.Words(0x1000, {0x1039, 0x00F1, 0x9F05});
  for (uint32_t a = 0x1006; a < 0x1006 + 400; a += 2) m.WriteWord(a, 0x7201);
  m.Words(0x1006 + 400, {0x4E72, 0x2700});
  static uint32_t countAtCommand;
  countAtCommand = 0;
  bool asked = false;
  host.OnPumpEvents = [&asked] {
    if (!asked && McrActive) {
      asked = true;
      EXPECT_TRUE(RunAtInstructionBoundary([] { countAtCommand = InstructionCount; }));
    }
    if (CallsAt(mcPC, Mcr::mcrStopWait)) QuitRequested = True;
  };
  m.SetPC(0x1000);
  InstructionCount = 0;
  QuitRequested = False;
  RunMachine();
  QuitRequested = False;
  EXPECT_TRUE(asked);
  EXPECT_EQ(countAtCommand, 1u);  // after the MOVE.B, before the first MOVEQ's fetch
  EXPECT_EQ(HeldBoundaryCommands(), 0);
}

// The fused chains go on to a decoded start without looking at its bounds, so a
// start beyond the store (only a hand-made map entry can have one) keeps the
// run word by word: the MOVEQs to D0 run, the next opcode ends in the microcode
// fault at its start, as it always did.
TEST(FastPath, StartBeyondTheStoreRunsWordByWordToTheFault) {
  test::TestMachine m;  // builds the map afresh, also for the next test
  ScriptedHost host;
  int pumps = 0;
  host.OnPumpEvents = [&] {
    if (!host.CallsOf(HostCall::Kind::MessageBox).empty() || ++pumps > 100) QuitRequested = True;
  };
  // MOVEQ #1,D0 to MOVEQ #5,D0; MOVEQ #7,D1; STOP
  m.Words(0x1000, {0x7001, 0x7002, 0x7003, 0x7004, 0x7005, 0x7207, 0x4E72, 0x2700});
  OpMap[0x7207].SupervisorStart = OpMap[0x7207].UserStart = McStoreSize + 16;
  EXPECT_FALSE(OpMapStartsInStore());
  CpuDReg[1] = 0x22;
  m.SetPC(0x1000);
  QuitRequested = False;
  RunMachine();
  QuitRequested = False;
  EXPECT_EQ(CpuDReg[0], 5u);
  EXPECT_EQ(CpuDReg[1], 0x22u);
  EXPECT_EQ(mcErrorPC, McStoreSize + 16);
  EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox).size(), 1u);
}

}  // namespace
}  // namespace korva
