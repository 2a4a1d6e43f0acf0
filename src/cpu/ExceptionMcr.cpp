// Exception processing of groups 1 and 2: interrupt, trace, TRAP, TRAPV/TRAPcc,
// CHK/CHK2, divide by zero, illegal instruction, privilege violation, line 1010,
// line 1111 and format error. Each routine stacks its frame on the supervisor
// stack and loads the new program counter from the vector table at CpuVBR.
//
// Every stacking write and vector read is a restartable step with a fixed
// number (SR 2, PC high 3, PC low 4, format word 5; then, in the routines that
// can stack a format-2 frame, instruction address 6-7 and vector 8-9, in the
// others vector 6-7), so a bus or address error during exception processing is
// itself taken as a bus or address error and the processing resumes at the
// failed access after that handler's RTE.
#include "bus/Exceptions.h"
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"

namespace korva {
namespace {

constexpr uint16_t SswStackWrite = 0x1005;  // supervisor data write
constexpr uint16_t SswVectorRead = 0x1105;  // supervisor data read

// What one exception routine stacks: vector offset, PC, and whether it may
// stack a format-2 frame (trace, TRAPV/TRAPcc, CHK/CHK2, divide by zero).
struct ExceptionKind {
  uint16_t vectorOffset;
  uint32_t stackedPC;
  bool format2Capable;
};

// A format-2 frame (SR, PC, format word, instruction address) is stacked by the
// capable routines when the option is set on a model with format words. The one
// test decides both the change of A7 and the words written, so the frame always
// fills exactly the space it was given.
inline bool UsesFormat2(bool capable) {
  return capable && UseFormat2Stack && CpuType != Cpu68000 && CpuFrameType == 10;
}

inline void PrepareWrite(uint32_t offset, uint16_t data) {
  AccAddress = CpuAReg[7] + offset;
  AccDataOut = data;
  SetAccSSW(SswStackWrite);
}

inline void PrepareVectorRead(uint32_t vectorAddress) {
  AccAddress = vectorAddress;
  SetAccSSW(SswVectorRead);
}

// Step 1 after the request test: save SR, enter supervisor state without trace,
// make room for the frame and prepare the first write.
inline void BeginException(const ExceptionKind& k, int newMask) {
  const uint16_t savedSR = Cpu.SR();
  Cpu.srTmode(False);
  Cpu.srSmode(True);  // swaps to the supervisor stack
  if (newMask >= 0) Cpu.srIMask(static_cast<uint8_t>(newMask));
  const uint32_t delta = UsesFormat2(k.format2Capable) ? static_cast<uint32_t>(-12)
                                                       : static_cast<uint32_t>(CpuFrameDelta);
  CpuAReg[7] += delta;
  PrepareWrite(0, savedSR);
}

// Steps 2 onwards: the stacking writes and the two vector reads. Returns true
// when CpuPC has been loaded from the vector; false when the routine has left
// (bus fault or microcode fault).
bool StackAndVector(const ExceptionKind& k) {
  const bool fmt2 = UsesFormat2(k.format2Capable);
  const uint8_t vectorStep = k.format2Capable ? 8 : 6;
  const uint8_t lastStep = static_cast<uint8_t>(vectorStep + 1);
  const uint32_t vectorAddress = CpuVBR + k.vectorOffset;
  if (mcStage < 2 || mcStage > lastStep) {
    McrMicrocodeFault();
    return false;
  }
  if (mcStage >= vectorStep) goto vectors;
  switch (mcStage) {
    case 2:
      if (!StepWriteWord(2)) return false;
      PrepareWrite(2, static_cast<uint16_t>(k.stackedPC >> 16));
      [[fallthrough]];
    case 3:
      if (!StepWriteWord(3)) return false;
      PrepareWrite(4, static_cast<uint16_t>(k.stackedPC));
      [[fallthrough]];
    case 4:
      if (!StepWriteWord(4)) return false;
      if (CpuFrameType != 10) break;
      PrepareWrite(6, static_cast<uint16_t>((fmt2 ? 0x2000 : 0) | (k.vectorOffset & 0x0FFF)));
      [[fallthrough]];
    case 5:
      if (!StepWriteWord(5)) return false;
      if (!fmt2) break;
      PrepareWrite(8, static_cast<uint16_t>(CpuInstrAddr >> 16));
      [[fallthrough]];
    case 6:
      if (!StepWriteWord(6)) return false;
      PrepareWrite(10, static_cast<uint16_t>(CpuInstrAddr));
      [[fallthrough]];
    case 7:
      if (!StepWriteWord(7)) return false;
      break;
  }
  PrepareVectorRead(vectorAddress);
  mcStage = vectorStep;
vectors:
  // The status word already holds the supervisor function code.
  return StepsReadLong(vectorStep, vectorAddress, CpuPC, SswVectorRead);
}

// The whole routine for the exceptions without a request to acknowledge beyond
// an optional flag. `request` null means the exception is always taken.
void RunException(const ExceptionKind& k, const VBool* request, bool clearsTrace) {
  if (mcStage == 1) {
    if (request && !*request) return McrEnd();
    if (clearsTrace) CpuTracePending = False;
    BeginException(k, -1);
    mcStage = 2;
  }
  if (StackAndVector(k)) McrEnd();
}

// Vector offset of the TRAP instruction: 0x80 plus its number times four.
inline uint16_t TrapVectorOffset() { return static_cast<uint16_t>(0x80 + (CurrentOp().Extra1 & 0x3FF)); }

}  // namespace

// ---- Interrupt ----
// The level and vector offset are fixed when the interrupt is accepted and kept
// in CpuDop (level in bits 18-16, offset in bits 15-0) for the rest of the
// routine: the long fault frame saves CpuDop, so a stacking that resumes after a
// bus error uses the same ones even if the published request changed meanwhile.
void mcrInterrupt() {
  if (mcStage == 1) {
    const bool accept = HipPending && !InterruptsDisabled && (HipLevel > Cpu.srIMask() || HipLevel == 7);
    if (!accept) return McrEnd();
    const uint16_t level = static_cast<uint16_t>(HipLevel & 7);
    // An entry without a vector of its own (an autovector entry) takes the
    // autovector of its level.
    const uint16_t offset = HipVectorAddress >= 0 ? static_cast<uint16_t>(HipVectorAddress & 0x3FC)
                                                  : static_cast<uint16_t>(0x60 + 4 * level);
    CpuDop = (static_cast<uint32_t>(level) << 16) | offset;
    BeginException({offset, CpuPC, false}, level);
    mcStage = 2;
  }
  const uint16_t level = static_cast<uint16_t>((CpuDop >> 16) & 7);
  const ExceptionKind k{static_cast<uint16_t>(CpuDop & 0xFFFF), CpuPC, false};
  if (!StackAndVector(k)) return;
  if (level == 7) {
    // Level-7 requests (ABORT and its neighbours) are edge-like: cleared on acceptance.
    static constexpr int kLevel7Entries[] = {20, 19, 18};
    for (int entry : kLevel7Entries) {
      if (Exceptions.IsIP(entry)) {
        Exceptions.ClrIP(entry);
        break;
      }
    }
  }
  McrEnd();
}

void mcrTraceException() { RunException({0x24, CpuPC, true}, &CpuTracePending, false); }
void mcrTrapvException() { RunException({0x1C, CpuPC, true}, &CpuTrapvPending, false); }
void mcrChkException() { RunException({0x18, CpuPC, true}, &CpuChkPending, false); }
void mcrZeroDivideException() { RunException({0x14, CpuPC, true}, &CpuZeroDivide, false); }
void mcrTrapException() { RunException({TrapVectorOffset(), CpuPC, false}, nullptr, false); }
void mcrFormatErrorException() { RunException({0x38, CpuInstrAddr, false}, nullptr, true); }
void mcrIllegalExceptionv2() { RunException({0x10, CpuInstrAddr, false}, nullptr, true); }
void mcrIllegalException() { RunException({0x10, CpuInstrAddr, false}, nullptr, true); }
void mcrPrivilegeException() { RunException({0x20, CpuInstrAddr, false}, nullptr, true); }
void mcrLine1010Exception() { RunException({0x28, CpuInstrAddr, false}, nullptr, true); }
void mcrLine1111Exception() { RunException({0x2C, CpuInstrAddr, false}, nullptr, true); }

}  // namespace korva
