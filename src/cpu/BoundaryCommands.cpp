// Host commands held until the sequencer reaches an instruction boundary.
#include "cpu/BoundaryCommands.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"

namespace korva {

namespace {
constexpr int kMaxHeld = 32;
BoundaryCommand held[kMaxHeld] = {};
int heldCount = 0;

// Micro-routines at whose first step no instruction is in flight: the two
// fetches and the STOP wait.
constexpr uint32_t kFetch = McrNumber(Mcr::mcrFetchDecode);
constexpr uint32_t kFetchDebug = McrNumber(Mcr::mcrFetchDecodeDebug);
constexpr uint32_t kStopWait = McrNumber(Mcr::mcrStopWait);

// Runs with McrActive clear, so that the commands' own control-store patches
// are made directly, not latched behind the next word.
void RunNow(BoundaryCommand command) {
  const bool active = McrActive;
  McrActive = false;
  command();
  McrActive = active;
}
}  // namespace

bool AtInstructionBoundary() {
  const uint32_t pc = mcPC;
  if (pc >= McStoreSize) return true;  // nothing can run there: no instruction is in flight
  const McEntry& e = Microcode[pc];
  if (e.Kind == McUnfilled) return true;  // the sequencer before its first start
  if (pc == McReset || pc == McIdle || pc == McIdle + 1 || pc == McHalt || pc == McHalt + 1) return true;
  return mcStage == 1 && e.Kind == McCall && (e.Arg == kFetch || e.Arg == kFetchDebug || e.Arg == kStopWait);
}

bool RunAtInstructionBoundary(BoundaryCommand command) {
  if (!command) return false;
  if (!McrActive && heldCount == 0 && AtInstructionBoundary()) {
    RunNow(command);
    return true;
  }
  if (heldCount == kMaxHeld) return false;
  held[heldCount++] = command;
  ControlLatch |= LatchBoundaryCommands;
  return true;
}

int HeldBoundaryCommands() { return heldCount; }

void RunHeldBoundaryCommands() {
  if (!AtInstructionBoundary()) {
    ControlLatch |= LatchBoundaryCommands;
    return;
  }
  // One at a time from the front: a command that processes window events may
  // ask for another, which queues behind the ones still held (or runs at once
  // when none is left).
  while (heldCount > 0) {
    const BoundaryCommand command = held[0];
    for (int i = 1; i < heldCount; ++i) held[i - 1] = held[i];
    held[--heldCount] = nullptr;
    RunNow(command);
  }
}

void ClearBoundaryCommands() {
  for (auto& c : held) c = nullptr;
  heldCount = 0;
  ControlLatch &= static_cast<uint8_t>(~LatchBoundaryCommands);
}

}  // namespace korva
