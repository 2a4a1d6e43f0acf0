// The steps at which each micro-routine continues. A resume point that RTE
// restores from a stack frame must name a call word and one of the steps of the
// routine it calls, on a path the frame's instruction can take: any other is
// not a frame this processor wrote.
#pragma once
#include <cstdint>

#include "cpu/ControlStore.h"
#include "tables/McNames.h"

namespace korva {

// A routine that does not look at the step continues at any step.
constexpr uint8_t AnyStep = 255;

// The highest step of routine m; its steps are 1 to that. 0: never a resume point.
constexpr uint8_t LastStepOf(Mcr m) {
  using enum Mcr;
  switch (m) {
    case ShowInternalError:
      return 0;
    case mcrFetchExt: case mcrFetchDecode: case mcrFetchDecodeDebug: case mcrFetchExtWord: case mcrTAS:
    case mcrWriteDstByte: case mcrWriteDstWord:
      return 2;
    case mcrFetchExtLong: case mcrLINK: case mcrPEA: case mcrPushReturn: case mcrWriteDstLong: case mcrRTS:
    case mcrUNLK:
      return 3;
    case mcrReadDstWord: case mcrReadSrcByte: case mcrReadSrcWord: case mcrRTD: case mcrRTE000: case mcrRTR:
      return 4;
    case mcrFetchImm: case mcrMOVESRead: case mcrWriteDst: case mcrMOVESWrite:
      return 5;
    case mcrLine1010Exception: case mcrIllegalExceptionv2: case mcrFormatErrorException: case mcrLine1111Exception:
    case mcrIllegalException: case mcrInterrupt: case mcrPrivilegeException: case mcrTrapException:
    case mcrReadSrcLong: case mcrMOVEPRead: case mcrMOVEPWrite: case mcrRTE:
      return 7;
    case mcrDstEA: case mcrSrcEA:
      return 8;
    case mcrChkException: case mcrZeroDivideException: case mcrTraceException: case mcrTrapvException:
      return 9;
    case mcrReadDst: case mcrReadSrc:
      return 13;
    case mcrDstEA32: case mcrSrcEA32:
      return 14;
    case mcrReadSrcPair: case mcrMOVEMWToRegs: case mcrMOVEMWToMem: case mcrMOVEMWToMemPredec:
      return 17;
    case mcrMOVEMLToRegs: case mcrMOVEMLToMem: case mcrMOVEMLToMemPredec:
      return 33;
    default:
      return AnyStep;
  }
}

// Whether (address, step) is a point a fault could have been taken at: the
// address holds a call and the step is one of its routine's.
inline bool IsResumePoint(uint32_t address, uint8_t step) {
  if (address >= McStoreSize || Microcode[address].Kind != McCall || step == 0) return false;
  const uint32_t n = Microcode[address].Arg;
  return n >= 1 && n <= McrLast && step <= LastStepOf(static_cast<Mcr>(n));
}

// Whether the control-store word at `address` lies on a path that an instruction
// with this opcode runs on the present model: its own chain (both the
// supervisor and the user entry, and the chains its routines go on to), or one
// of the entries every instruction may pass through (the fetch entries, the
// tail, the bus- and address-error, format-error, privilege and illegal
// chains). Every resume point a fault leaves does; a forged frame that pairs an
// opcode with another instruction's routine does not.
bool IsOnPathOf(uint16_t opcode, uint32_t address);

}  // namespace korva
