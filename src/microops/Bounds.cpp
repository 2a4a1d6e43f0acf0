// Bound checks, trap conditions and stack-frame micro-routines: CMP2/CHK2, CHK,
// TRAPV, TRAPcc, RESET, TAS, LEA, PEA, LINK, UNLK, RTS, RTR and RTD.
// The tests only set a request flag; the exception is the next step of the
// program. The stack routines and TAS make their own bus cycles, one numbered
// step per access: a faulted access leaves through EnterBusFault with its step
// and, after the handler's RTE, only that access and the ones after it run again.
// Each access sets its status word afresh, so a reloaded rerun bit applies to
// the restarted access alone.
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "cpu/SystemReset.h"
#include "cpu/classCPU.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {
constexpr uint16_t kSswTas = 0x1B01;
}  // namespace

// ---- Bound tests ----

// CMP2 and CHK2: the lower bound is in CpuSop, the upper in CpuDop (read by the
// operand-pair step). All comparisons are signed 32-bit; a lower bound above the
// upper one describes a range that wraps, whose outside is strictly between them.
void mcrCMP2() {
  const uint16_t ext = CpuExtraWord;
  if (ext & 0x07FF) {
    McrIllegal();
    return;
  }
  const bool isAddress = (ext & 0x8000) != 0;
  const uint32_t reg = ExtWordReg(ext);
  int32_t value, lower, upper;
  switch (CurrentOp().Size) {
    case 0:
      value = isAddress ? static_cast<int32_t>(reg) : static_cast<int8_t>(reg & 0xFF);
      lower = static_cast<int8_t>(CpuSop & 0xFF);
      upper = static_cast<int8_t>(CpuDop & 0xFF);
      break;
    case 1:
      value = isAddress ? static_cast<int32_t>(reg) : static_cast<int16_t>(reg & 0xFFFF);
      lower = static_cast<int16_t>(CpuSop & 0xFFFF);
      upper = static_cast<int16_t>(CpuDop & 0xFFFF);
      break;
    case 2:
      value = static_cast<int32_t>(reg);
      lower = static_cast<int32_t>(CpuSop);
      upper = static_cast<int32_t>(CpuDop);
      break;
    default: McrMicrocodeFault(); return;
  }
  bool outside;
  if (lower <= upper)
    outside = value < lower || value > upper;
  else
    outside = value > upper && value < lower;
  CpuC = ToFlag(outside);
  CpuZ = ToFlag(value == lower || value == upper);
  CpuChkPending = ToVBool(outside && (ext & 0x0800));
  McrEnd();
}

// CHK: the register value in CpuDop against the bound in CpuSop, signed, by size.
void mcrCHK() {
  int32_t value, bound;
  if (CurrentOp().Size == 2) {
    value = static_cast<int32_t>(CpuDop);
    bound = static_cast<int32_t>(CpuSop);
  } else {
    value = static_cast<int16_t>(CpuDop & 0xFFFF);
    bound = static_cast<int16_t>(CpuSop & 0xFFFF);
  }
  if (value < 0) {
    CpuChkPending = True;
    CpuN = 0xFFFF;
  } else if (value > bound) {
    CpuChkPending = True;
    CpuN = 0;
  } else {
    CpuChkPending = False;
    CpuN = 0;
  }
  McrEnd();
}

// ---- Trap conditions ----

void mcrTRAPV() {
  CpuTrapvPending = CpuV ? True : False;
  McrEnd();
}

void mcrTRAPcc() {
  CpuTrapvPending = TestCondition(static_cast<uint8_t>(CurrentOp().Extra2));
  McrEnd();
}

// RESET resets the VMEbus boards and the I/O-channel interrupt sources, not the processor.
void mcrRESET() {
  ResetIoChannel();
  McrEnd();
}

// ---- TAS ----

void mcrTAS() {
  const OpMapEntry& op = CurrentOp();
  switch (mcStage) {
    case 1:
      if (op.DstMode == EaDn) {
        uint32_t& d = DReg(op.DstReg);
        SetNZClearVC8(d);
        d |= 0x80;
        McrEnd();
        return;
      }
      PrepareAccess(CpuEa, kSswTas);
      [[fallthrough]];
    case 2:
      if (!StepCycle(2)) return;  // indivisible read-modify-write of the byte
      SetNZClearVC8(AccDataIn);
      McrEnd();
      return;
    default: McrMicrocodeFault(); return;
  }
}

// ---- Addresses ----

void mcrLEA() {
  AReg(CurrentOp().DstReg) = CpuEa;
  McrEndInstruction();
}

void mcrPEA() {
  if (PushLongRoutine(CpuEa)) McrEndInstruction();
}

// ---- Stack frames ----

// LINK An,#d: push An, An := A7, A7 := A7 + d (d the low word sign-extended for
// LINK.W, the whole long for LINK.L). A7 is lowered once, before the first write,
// so LINK A7 pushes the lowered value.
void mcrLINK() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& an = AReg(op.DstReg);
  if (!PushLongRoutine(an)) return;
  an = CpuAReg[7];
  CpuAReg[7] += op.Size == 2 ? CpuSop : SignExtend16(CpuSop);
  McrEndInstruction();
}

// UNLK An: A7 := An, An := the long popped, A7 += 4. The long is read through
// An and A7 is moved only when both reads have succeeded, so an odd or unmapped
// An raises its address or bus error with the stack pointer untouched (the frame
// goes on the old stack, not at An) and a restart reads the same words again.
void mcrUNLK() {
  uint32_t& an = AReg(CurrentOp().DstReg);
  uint32_t popped;
  if (!ReadLongRoutine(an, popped)) return;
  CpuAReg[7] = an;
  an = popped;
  CpuAReg[7] += 4;
  McrEndInstruction();
}

// ---- Returns ----

void mcrRTS() {
  if (!ReadLongRoutine(CpuAReg[7], CpuPC)) return;
  CpuAReg[7] += 4;
  McrEndInstruction();
}

// RTR: the condition codes are loaded as soon as their word is read, so a fault on
// a later read leaves them already changed (the restart does not read them again).
void mcrRTR() {
  switch (mcStage) {
    case 1:
      PrepareAccess(CpuAReg[7], kSswDataRead);
      [[fallthrough]];
    case 2:
      if (!StepReadWord(2)) return;
      Cpu.CCR(static_cast<uint8_t>(AccDataIn & 0xFF));
      PrepareAccess(CpuAReg[7] + 2, kSswDataRead);
      [[fallthrough]];
    case 3:
    case 4:
      if (!StepsReadLong(3, CpuAReg[7] + 2, CpuPC)) return;
      CpuAReg[7] += 6;
      McrEndInstruction();
      return;
    default: McrMicrocodeFault(); return;
  }
}

// RTD #d: fetch the displacement, pop the return address, A7 += 4 + d.
void mcrRTD() {
  switch (mcStage) {
    case 1:
    case 2:
      if (!FetchWordRoutine()) return;
      CpuExtraWord = AccInstIn;
      PrepareAccess(CpuAReg[7], kSswDataRead);
      [[fallthrough]];
    case 3:
    case 4:
      if (!StepsReadLong(3, CpuAReg[7], CpuPC)) return;
      CpuAReg[7] += 4u + SignExtend16(CpuExtraWord);
      McrEndInstruction();
      return;
    default: McrMicrocodeFault(); return;
  }
}

}  // namespace korva
