// The emulated processor's state: sequencer registers, register file, model,
// operand-passing registers, pending-exception flags and run-control globals,
// plus the few inline helpers of the micro-routine step protocol.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include "bus/BusState.h"
#include "bus/Hip.h"
#include "tables/CpuModel.h"
#include "tables/McNames.h"
#include "tables/OpMapEntry.h"
#include "tables/Types.h"

namespace korva {

// ---- Sequencer registers ----
extern uint32_t mcPC;       // control-store address executed next (0-4095)
extern uint8_t mcStage;     // step at which the current micro-routine continues
extern uint16_t mcErrorPC;  // where a microcode fault was detected

// ---- Register file ----
extern uint32_t CpuDReg[8];
extern uint32_t CpuAReg[8];  // A7 is the active stack pointer
extern uint32_t CpuUSP;      // user stack pointer while CpuS is set
extern uint32_t CpuSSP;      // supervisor stack pointer while CpuS is clear
extern uint32_t CpuPC;       // the next word to fetch
extern VBool CpuS, CpuT;
extern uint8_t CpuIMask;
extern uint16_t CpuX, CpuN, CpuZ, CpuV, CpuC;  // 0 or 0xFFFF
extern uint32_t CpuVBR, CpuSFC, CpuDFC;

// ---- Model ----
extern int16_t CpuFrameType;   // 0: frames without format/vector word; 10: with it
extern int32_t CpuFrameDelta;  // -6 or -8
extern VBool UseFormat2Stack;

// ---- Run control ----
extern VBool CpuRunning;  // written only by SetCpuRunning
extern VBool InterruptsDisabled;
extern VBool DisableIntOnStop;
extern VBool CountedRun;
extern int32_t StepCount;
// Set by the system reset, read and cleared by the idle loop and the STOP wait.
extern VBool ResetRequest;

// ---- Host-event safety ----
// A window event may run inside a micro-routine (a device access, the idle loop or
// the STOP wait process window messages). Run control (reset, start, stop) and
// control-store patches requested there must not be undone by the routine's own
// mcPC update: they are latched and applied by the main loop after the word.
extern bool McrActive;        // a control-store word is executing (set by the main loop)
extern uint8_t ControlLatch;  // non-zero: something to apply after the current word
void ApplyControlLatch();
// A machine-changing command from a window (reset, abort, opcode-map rebuild):
// run at once between words, or latched while a word executes and run after it,
// in the order the commands came. At most 16 wait at a time; more are dropped.
void RunOrLatchCommand(void (*command)());

// ---- Operand-passing registers ----
// The opcode word (low 16 bits, index into OpMap) with the address of its decode
// record kept beside it: every store of the word stores the address too, so that
// CurrentOp() is a single load wherever a routine looks at its record.
class OpcodeRegister {
 public:
  constexpr OpcodeRegister() = default;
  operator uint32_t() const { return word_; }
  OpcodeRegister& operator=(uint32_t word) {
    word_ = word;
    entry_ = &OpMap[word & 0xFFFF];
    return *this;
  }
  // The decode's store: `entry` is &OpMap[word & 0xFFFF], which it has at hand.
  void Set(uint32_t word, const OpMapEntry& entry) {
    word_ = word;
    entry_ = &entry;
  }
  const OpMapEntry& Entry() const { return *entry_; }

 private:
  uint32_t word_ = 0;
  const OpMapEntry* entry_ = &OpMap[0];
};
extern OpcodeRegister CpuOpcode;
extern uint32_t CpuEa;         // effective address of the operand
extern uint8_t CpuEaFc;        // address space of CpuEa: 1 data, 2 program
extern uint32_t CpuSop;        // source operand
extern uint32_t CpuDop;        // destination operand / result
extern uint16_t CpuExtraWord;  // the instruction's next word (fetched by mcrFetchExt)
extern uint32_t CpuExtWord;    // index extension word of the indexed modes
extern uint16_t CpuExtCount;   // CPU32 PC-indexed: extension bytes consumed so far
extern uint16_t CpuTempWord;   // first word of a long held between two accesses
extern uint32_t CpuInstrAddr;  // address of the current instruction's opcode word

// ---- Pending-exception flags ----
extern VBool CpuTrapvPending, CpuChkPending, CpuZeroDivide;
// The trace pending at the end of this instruction, kept beside HipPending.
inline VBool& CpuTracePending = EndOfInstructionPending.Trace;

// The 29 words of the last bus- or address-error frame, also shown by the internal-error report.
extern uint16_t FaultFrame[29];

// ---- Step-protocol helpers ----
// The decode record of the current instruction.
inline const OpMapEntry& CurrentOp() { return CpuOpcode.Entry(); }

// Normal end of a micro-routine.
inline void McrEnd() {
  mcStage = 1;
  mcPC += 1;
}
// End of a micro-routine that ends its instruction: straight to the fetch when
// neither trace nor interrupt is pending, else on into the tail.
inline void McrEndInstruction() {
  mcStage = 1;
  if (!PendingAtEndOfInstruction())
    mcPC = McFastFetch;
  else
    mcPC += 1;
}
// Set by a routine on a rare way (an out-of-line step) after it has run. A fused
// chain that finds it set clears it and goes on with its next words out of line,
// so that its inline continuation is reached from the routines' common ways
// alone and keeps what the compiler knows of the state from them. It only picks
// where the chain's words run: they run the same either way. The chains look at
// it only after the routines that may set it (MayLeaveCommonWay in
// cpu/FusedChains.cpp): a routine that comes to call LeaveCommonWay joins that list.
extern bool TookRareWay;
[[gnu::always_inline]] inline void LeaveCommonWay() { TookRareWay = true; }

// A step, size or kind the routine has no case for.
inline void McrMicrocodeFault() {
  mcErrorPC = static_cast<uint16_t>(mcPC);
  mcPC = McFault;
}
inline void McrIllegal() {
  mcStage = 1;
  mcPC = McIllegal;
}
inline void McrPrivilege() {
  mcStage = 1;
  mcPC = McPrivilege;
}

// The supervisor bit of a function code: 4 in supervisor state, else 0. CpuS is
// a VBool, 0 or True (all bits set), so the bit is read from it directly.
[[gnu::always_inline]] inline uint16_t SupervisorFcBit() { return static_cast<uint16_t>(CpuS & 4); }

// The special status word of an access, with the supervisor bit added to its
// function code in supervisor state.
[[gnu::always_inline]] inline uint16_t MakeFunctionCode(uint16_t ssw) {
  return static_cast<uint16_t>(ssw | SupervisorFcBit());
}

// 1 in supervisor state, else 0.
[[gnu::always_inline]] inline uint32_t SupervisorState() { return SupervisorFcBit() >> 2; }

// SetAccSSW of ssw with the supervisor bit added to its function code when
// `supervisor` is 1: that bit touches only the function code.
[[gnu::always_inline]] inline void SetAccSSWForState(uint16_t ssw, uint32_t supervisor) {
  AccSSW = static_cast<uint16_t>(ssw | supervisor * 4);
}

// Set the access latches from a special status word (classCPU::SSW write):
// the word as it stands, its function code as given.
inline void SetAccSSW(uint16_t v) { SetAccSSWForState(v, 0); }

// SetAccSSW of MakeFunctionCode(ssw).
[[gnu::always_inline]] inline void SetAccSSWInState(uint16_t ssw) { SetAccSSWForState(ssw, SupervisorState()); }

// Condition cc (low four bits) over the condition codes; 0 or -1. Each case
// reads only the codes it needs.
[[gnu::always_inline]] inline VBool TestCondition(uint8_t cc) {
  bool r = false;
  switch (cc & 15) {
    case 0: r = true; break;
    case 1: r = false; break;
    case 2: r = (CpuC | CpuZ) == 0; break;
    case 3: r = (CpuC | CpuZ) != 0; break;
    case 4: r = CpuC == 0; break;
    case 5: r = CpuC != 0; break;
    case 6: r = CpuZ == 0; break;
    case 7: r = CpuZ != 0; break;
    case 8: r = CpuV == 0; break;
    case 9: r = CpuV != 0; break;
    case 10: r = CpuN == 0; break;
    case 11: r = CpuN != 0; break;
    case 12: r = (CpuN != 0) == (CpuV != 0); break;
    case 13: r = (CpuN != 0) != (CpuV != 0); break;
    case 14: r = CpuZ == 0 && (CpuN != 0) == (CpuV != 0); break;
    case 15: r = CpuZ != 0 || (CpuN != 0) != (CpuV != 0); break;
  }
  return ToVBool(r);
}

// Step address register reg by the operand size (SizeCode); a byte step on A7 is 2
// to keep the stack even; a size without a case does not step. Longs first,
// then words: the steps met most are decided by the fewest tests.
inline uint32_t AnStep(int reg, uint16_t size) {
  if (size == 2) return 4;
  if (size == 1) return 2;
  if (size == 0) return reg == 7 ? 2 : 1;
  return 0;
}
inline void PostIncrementAn(int reg, uint16_t size) { CpuAReg[reg & 7] += AnStep(reg & 7, size); }
inline void PreDecrementAn(int reg, uint16_t size) { CpuAReg[reg & 7] -= AnStep(reg & 7, size); }

void SelectCpu68000();
void SelectCpu68010();
void SelectCpu32();
void UseDebuggerMicroOp();
void UseNormalMicroOp();
void SetCpuRunning(VBool run);

// Sequencer, registers, model, run control, latch, operand registers, pending
// flags and the fault-frame copy to their start-up values (MC68010, stopped).
void ResetCpuState();

}  // namespace korva
