// classCPU: the internal status byte and run control, and the latch that makes
// run control and control-store patches requested from a window event inside a
// micro-routine take effect between two control-store words.
#include "cpu/BoundaryCommands.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuModel.h"
#include "cpu/classCPU.h"
#include "host/Host.h"

namespace korva {

classCPU Cpu;

namespace {
enum : uint8_t { kLatchSequencer = 1, kLatchPC = 2, kLatchStore = 4, kLatchCommand = 8 };
uint32_t latchedMcPC = 0;
constexpr int kMaxLatchedCommands = 16;
void (*latchedCommands[kMaxLatchedCommands])() = {};
int latchedCommandCount = 0;
uint8_t latchedMcStage = 1;
uint32_t latchedCpuPC = 0;

// Set the sequencer for run control; during a word, also latch it so that the
// routine's own mcPC update cannot undo it.
void SetSequencer(uint32_t pc, uint8_t stage) {
  mcPC = pc;
  mcStage = stage;
  if (McrActive) {
    latchedMcPC = pc;
    latchedMcStage = stage;
    ControlLatch |= kLatchSequencer;
    LoopAttention = true;
  }
}

void SetProgramCounter(uint32_t pc) {
  CpuPC = pc;
  if (McrActive) {
    latchedCpuPC = pc;
    ControlLatch |= kLatchPC;
    LoopAttention = true;
  }
}
}  // namespace

void LatchStorePatch() {
  ControlLatch |= kLatchStore;
  LoopAttention = true;
}

void RunOrLatchCommand(void (*command)()) {
  if (!command) return;
  if (!McrActive) {
    command();
    return;
  }
  if (latchedCommandCount == kMaxLatchedCommands) return;
  latchedCommands[latchedCommandCount++] = command;
  ControlLatch |= kLatchCommand;
  LoopAttention = true;
}

void ApplyControlLatch() {
  const uint8_t latch = ControlLatch;
  ControlLatch = 0;
  if (latch & kLatchStore) ApplyStorePatches();
  if (latch & kLatchPC) CpuPC = latchedCpuPC;
  if (latch & kLatchSequencer) {
    mcPC = latchedMcPC;
    mcStage = latchedMcStage;
  }
  if (latch & kLatchCommand) {
    // Between two words: the commands' own run control applies directly.
    const bool active = McrActive;
    McrActive = false;
    for (int i = 0; i < latchedCommandCount; ++i) {
      void (*command)() = latchedCommands[i];
      latchedCommands[i] = nullptr;
      command();
    }
    latchedCommandCount = 0;
    McrActive = active;
  }
  if (latch & LatchBoundaryCommands) RunHeldBoundaryCommands();
}

// The object is constructed statically, before any window exists: the
// processor starts stopped and not in a counted run.
classCPU::classCPU() {
  CpuRunning = False;
  CountedRun = False;
}

uint8_t classCPU::InternalSW() {
  internalSW_ = static_cast<uint8_t>((CpuTracePending ? 0x01 : 0) | (reservedFlag_ ? 0x02 : 0) |
                                     (CpuTrapvPending ? 0x04 : 0) | (CpuChkPending ? 0x08 : 0) |
                                     (CpuZeroDivide ? 0x10 : 0) | (objectFlag5_ ? 0x20 : 0) |
                                     (objectFlag6_ ? 0x40 : 0) | (objectFlag7_ ? 0x80 : 0));
  return internalSW_;
}

void classCPU::InternalSW(uint8_t v) {
  internalSW_ = v;
  CpuTracePending = ToVBool(v & 0x01);
  reservedFlag_ = ToVBool(v & 0x02);
  CpuTrapvPending = ToVBool(v & 0x04);
  CpuChkPending = ToVBool(v & 0x08);
  CpuZeroDivide = ToVBool(v & 0x10);
  objectFlag5_ = ToVBool(v & 0x20);
  objectFlag6_ = ToVBool(v & 0x40);
  objectFlag7_ = ToVBool(v & 0x80);
}

void classCPU::Execute(uint32_t pc) {
  if (CpuRunning) return;
  CountedRun = False;
  SetProgramCounter(pc);
  SetSequencer(McExecute, 1);
  SetCpuRunning(True);
}

void classCPU::Go(uint32_t pc) {
  if (CpuRunning) return;
  CountedRun = True;
  StepCount = 0;
  SetProgramCounter(pc);
  SetSequencer(McExecute, 1);
  SetCpuRunning(True);
}

void classCPU::Step(int32_t n) {
  if (CpuRunning) return;
  CountedRun = True;
  StepCount = n;
  mcStage = 1;
  SetCpuRunning(True);
}

void classCPU::Run() {
  CountedRun = False;
  SetCpuRunning(True);
}

void classCPU::StopRun(bool atBoundary) {
  if (atBoundary) {
    CountedRun = True;
    StepCount = 1;
  } else {
    SetCpuRunning(False);
  }
}

void classCPU::Reset(bool stopAfter) {
  CountedRun = ToVBool(stopAfter);
  if (stopAfter) StepCount = 0;
  SetSequencer(McReset, 1);
  SetCpuRunning(True);
}

}  // namespace korva
