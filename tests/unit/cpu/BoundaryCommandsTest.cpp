// Host commands held until the sequencer stands between two instructions.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "cpu/BoundaryCommands.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "support/TestMachine.h"

using namespace korva;

namespace {
std::string ran;
void CommandA() { ran += "A"; }
void CommandB() { ran += "B"; }
// Asks for another command while it runs, as a command that processes window events may.
void CommandNesting() {
  ran += "N";
  RunAtInstructionBoundary(&CommandB);
}
}  // namespace

TEST(BoundaryCommands, WaitingInStopOrHaltedIsBetweenInstructionsButTheTailIsNot) {
  test::TestMachine m;
  const std::pair<uint32_t, bool> at[] = {{McStopWait, true}, {McIdle + 1, true}, {McTail, false}, {McBusError, false}};
  for (const auto& [pc, boundary] : at) {
    mcPC = pc;
    EXPECT_EQ(AtInstructionBoundary(), boundary) << pc;
  }
  mcPC = McFastFetch;
  mcStage = 2;  // the fetch waits in its second step
  EXPECT_FALSE(AtInstructionBoundary());
}

TEST(BoundaryCommands, HeldInsideAnInstructionAndRunInOrderAtItsEnd) {
  test::TestMachine m;
  ran.clear();
  m.Words(0x1000, {0x2001, 0x4E71, 0x4E71});  // MOVE.L D1,D0 ; NOP ; NOP
  m.SetPC(0x1000);
  ASSERT_EQ(m.StepInstruction(), test::Stop::Fetch);
  EXPECT_TRUE(RunAtInstructionBoundary(&CommandA));  // stopped at a fetch: at once
  EXPECT_EQ(ran, "A");

  m.ExecuteWord();  // the fetch of the NOP: its chain is next
  ASSERT_FALSE(AtInstructionBoundary());
  RunAtInstructionBoundary(&CommandB);
  McrActive = true;  // as from a window event inside a word
  RunAtInstructionBoundary(&CommandA);
  McrActive = false;
  EXPECT_EQ(ran, "A");
  EXPECT_EQ(HeldBoundaryCommands(), 2);
  ASSERT_EQ(m.StepInstruction(), test::Stop::Fetch);
  EXPECT_EQ(ran, "ABA");
  EXPECT_EQ(HeldBoundaryCommands(), 0);

  // A command asked for by a running command runs after it, before the next instruction.
  m.ExecuteWord();
  RunAtInstructionBoundary(&CommandNesting);
  ASSERT_EQ(m.StepInstruction(), test::Stop::Fetch);
  EXPECT_EQ(ran, "ABANB");
}

TEST(BoundaryCommands, AStoppedProcessorKeepsThemUntilItReachesTheBoundary) {
  test::TestMachine m;
  ran.clear();
  m.Words(0x1000, {0x4E71, 0x4E71});
  m.SetPC(0x1000);
  m.ExecuteWord();  // stopped after the fetch, inside the NOP
  CpuRunning = False;
  RunAtInstructionBoundary(&CommandA);
  EXPECT_EQ(ran, "");
  for (int i = 0; i < 32; ++i) RunAtInstructionBoundary(&CommandB);  // room for 32 in all
  EXPECT_EQ(HeldBoundaryCommands(), 32);
  EXPECT_FALSE(RunAtInstructionBoundary(&CommandB));
  EXPECT_FALSE(RunAtInstructionBoundary(nullptr));
  CpuRunning = True;
  ASSERT_EQ(m.StepInstruction(), test::Stop::Fetch);
  EXPECT_EQ(ran, "A" + std::string(31, 'B'));
}
