// The routine of every micro-routine number, as constexpr data: the dispatcher's
// table and the fused chains' direct calls (cpu/FusedChains.cpp) are built from
// it. The (number name, routine) pairs are checked to be in number order when
// this header compiles.
#pragma once
#include <array>
#include <cstdint>

#include "cpu/CpuState.h"
#include "cpu/Dispatch.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"

namespace korva::routines {

// Numbers that name no routine: a microcode fault.
inline void NoRoutine() { McrMicrocodeFault(); }

// The six routines that are members of the CPU object.
inline void CallmcrAerr() { Cpu.mcrAerr(); }
inline void CallmcrAerr000() { Cpu.mcrAerr000(); }
inline void CallmcrBerr() { Cpu.mcrBerr(); }
inline void CallmcrBerr000() { Cpu.mcrBerr000(); }
inline void CallmcrRTE() { Cpu.mcrRTE(); }
inline void CallmcrRTE000() { Cpu.mcrRTE000(); }

struct McrSlot {
  Mcr number;
  McrFunction routine;
};

inline constexpr McrSlot kSlots[] = {
    {Mcr::None, NoRoutine}, {Mcr::mcrABCD, mcrABCD}, {Mcr::mcrADD, mcrADD}, {Mcr::mcrADDDnToEa, mcrADDDnToEa},
    {Mcr::mcrADDA, mcrADDA}, {Mcr::mcrADDToDn, mcrADDToDn}, {Mcr::mcrADDQAn, mcrADDQAn},
    {Mcr::mcrADDImmToDn, mcrADDImmToDn}, {Mcr::mcrADDImm, mcrADDImm}, {Mcr::mcrADDAAn, mcrADDAAn},
    {Mcr::mcrADDAnToDn, mcrADDAnToDn}, {Mcr::mcrADDX, mcrADDX}, {Mcr::mcrAerr, CallmcrAerr},
    {Mcr::mcrAerr000, CallmcrAerr000}, {Mcr::mcrLine1010Exception, mcrLine1010Exception}, {Mcr::mcrANDI, mcrANDI},
    {Mcr::mcrANDReg, mcrANDReg}, {Mcr::mcrANDDnToEa, mcrANDDnToEa}, {Mcr::mcrANDToDn, mcrANDToDn},
    {Mcr::mcrANDItoSR, mcrANDItoSR}, {Mcr::mcrASLReg, mcrASLReg}, {Mcr::mcrASLMem, mcrASLMem},
    {Mcr::mcrASRReg, mcrASRReg}, {Mcr::mcrASRMem, mcrASRMem}, {Mcr::mcrBccB, mcrBccB}, {Mcr::mcrBccL, mcrBccL},
    {Mcr::mcrBccW, mcrBccW}, {Mcr::mcrBCHG, mcrBCHG}, {Mcr::mcrBCLR, mcrBCLR}, {Mcr::mcrBerr, CallmcrBerr},
    {Mcr::mcrBerr000, CallmcrBerr000}, {Mcr::mcrIllegalExceptionv2, mcrIllegalExceptionv2}, {Mcr::mcrBRAB, mcrBRAB},
    {Mcr::mcrBRAL, mcrBRAL}, {Mcr::mcrBRAW, mcrBRAW}, {Mcr::mcrBSET, mcrBSET}, {Mcr::mcrBTST, mcrBTST},
    {Mcr::mcrDstEA, mcrDstEA}, {Mcr::mcrDstEA32, mcrDstEA32}, {Mcr::mcrSrcEA, mcrSrcEA},
    {Mcr::mcrSrcEA32, mcrSrcEA32}, {Mcr::mcrCHK, mcrCHK}, {Mcr::mcrChkException, mcrChkException},
    {Mcr::mcrCLRDn, mcrCLRDn}, {Mcr::mcrCLR, mcrCLR}, {Mcr::mcrCMP, mcrCMP}, {Mcr::mcrCMP2, mcrCMP2},
    {Mcr::mcrCMPA, mcrCMPA}, {Mcr::mcrCMPToDn, mcrCMPToDn}, {Mcr::mcrCMPAAn, mcrCMPAAn},
    {Mcr::mcrCMPAnToDn, mcrCMPAnToDn}, {Mcr::mcrLPSTOPDecode, mcrLPSTOPDecode}, {Mcr::mcrDBcc, mcrDBcc},
    {Mcr::mcrZeroDivideException, mcrZeroDivideException}, {Mcr::mcrDIVS, mcrDIVS}, {Mcr::mcrDIVU, mcrDIVU},
    {Mcr::mcrDIVL, mcrDIVL}, {Mcr::mcrIdle, mcrIdle}, {Mcr::mcrEORI, mcrEORI}, {Mcr::mcrEORReg, mcrEORReg},
    {Mcr::mcrEORDnToEa, mcrEORDnToEa}, {Mcr::mcrEORItoSR, mcrEORItoSR}, {Mcr::mcrEXG, mcrEXG},
    {Mcr::mcrEXT, mcrEXT}, {Mcr::mcrFormatErrorException, mcrFormatErrorException}, {Mcr::mcrFetchExt, mcrFetchExt},
    {Mcr::mcrFetchImm, mcrFetchImm}, {Mcr::mcrFetchExtLong, mcrFetchExtLong}, {Mcr::mcrFetchDecode, mcrFetchDecode},
    {Mcr::mcrFetchDecodeDebug, mcrFetchDecodeDebug}, {Mcr::mcrFetchExtWord, mcrFetchExtWord},
    {Mcr::mcrLine1111Exception, mcrLine1111Exception}, {Mcr::mcrReadDst, mcrReadDst},
    {Mcr::mcrDstFromDn, mcrDstFromDn}, {Mcr::mcrReadDstWord, mcrReadDstWord}, {Mcr::mcrReadSrc, mcrReadSrc},
    {Mcr::mcrReadSrcByte, mcrReadSrcByte}, {Mcr::mcrReadSrcPair, mcrReadSrcPair}, {Mcr::mcrSrcFromDn, mcrSrcFromDn},
    {Mcr::mcrReadSrcLong, mcrReadSrcLong}, {Mcr::mcrMOVESRead, mcrMOVESRead}, {Mcr::mcrReadSrcWord, mcrReadSrcWord},
    {Mcr::mcrHalt, mcrHalt}, {Mcr::mcrIllegalException, mcrIllegalException},
    {Mcr::ShowInternalError, ShowInternalError}, {Mcr::mcrInterrupt, mcrInterrupt}, {Mcr::mcrJMP, mcrJMP},
    {Mcr::mcrLEA, mcrLEA}, {Mcr::mcrLINK, mcrLINK}, {Mcr::mcrLoadSRChecked, mcrLoadSRChecked},
    {Mcr::mcrLSLReg, mcrLSLReg}, {Mcr::mcrLSLMem, mcrLSLMem}, {Mcr::mcrLSRReg, mcrLSRReg},
    {Mcr::mcrLSRMem, mcrLSRMem}, {Mcr::mcrMOVEC, mcrMOVEC}, {Mcr::mcrMOVEAL, mcrMOVEAL},
    {Mcr::mcrMOVEAW, mcrMOVEAW}, {Mcr::mcrMOVEBToDn, mcrMOVEBToDn}, {Mcr::mcrMOVELToDn, mcrMOVELToDn},
    {Mcr::mcrMOVEWToDn, mcrMOVEWToDn}, {Mcr::mcrMOVEB, mcrMOVEB}, {Mcr::mcrMOVEL, mcrMOVEL},
    {Mcr::mcrMOVEW, mcrMOVEW}, {Mcr::mcrMOVEToCCR, mcrMOVEToCCR}, {Mcr::mcrMOVEMLToRegs, mcrMOVEMLToRegs},
    {Mcr::mcrMOVEMWToRegs, mcrMOVEMWToRegs}, {Mcr::mcrMOVEMLToMem, mcrMOVEMLToMem},
    {Mcr::mcrMOVEMWToMem, mcrMOVEMWToMem}, {Mcr::mcrMOVEMLToMemPredec, mcrMOVEMLToMemPredec},
    {Mcr::mcrMOVEMWToMemPredec, mcrMOVEMWToMemPredec}, {Mcr::mcrCopySrcDst, mcrCopySrcDst},
    {Mcr::mcrMOVPHY, mcrMOVPHY}, {Mcr::mcrMOVEQ, mcrMOVEQ}, {Mcr::mcrMOVEALRn, mcrMOVEALRn},
    {Mcr::mcrMOVEAWRn, mcrMOVEAWRn}, {Mcr::mcrMOVEBDnDn, mcrMOVEBDnDn}, {Mcr::mcrMOVELRnDn, mcrMOVELRnDn},
    {Mcr::mcrMOVEWRnDn, mcrMOVEWRnDn}, {Mcr::mcrMOVEBDnToEa, mcrMOVEBDnToEa}, {Mcr::mcrMOVELRnToEa, mcrMOVELRnToEa},
    {Mcr::mcrMOVEWRnToEa, mcrMOVEWRnToEa}, {Mcr::mcrMOVESDecode, mcrMOVESDecode},
    {Mcr::mcrMOVESFromReg, mcrMOVESFromReg}, {Mcr::mcrMOVESToReg, mcrMOVESToReg},
    {Mcr::mcrMOVEFromSR, mcrMOVEFromSR}, {Mcr::mcrMOVEUSP, mcrMOVEUSP}, {Mcr::mcrMULS, mcrMULS},
    {Mcr::mcrMULU, mcrMULU}, {Mcr::mcrMULL, mcrMULL}, {Mcr::mcrNBCD, mcrNBCD}, {Mcr::mcrNEGDn, mcrNEGDn},
    {Mcr::mcrNEG, mcrNEG}, {Mcr::mcrNEGX, mcrNEGX}, {Mcr::mcrNOP, mcrNOP}, {Mcr::mcrNOTDn, mcrNOTDn},
    {Mcr::mcrNOT, mcrNOT}, {Mcr::mcrORI, mcrORI}, {Mcr::mcrORReg, mcrORReg}, {Mcr::mcrORDnToEa, mcrORDnToEa},
    {Mcr::mcrORToDn, mcrORToDn}, {Mcr::mcrORItoSR, mcrORItoSR}, {Mcr::mcrPEA, mcrPEA},
    {Mcr::mcrPrivilegeException, mcrPrivilegeException}, {Mcr::mcrPushReturn, mcrPushReturn},
    {Mcr::mcrWriteDst, mcrWriteDst}, {Mcr::mcrWriteDstByte, mcrWriteDstByte}, {Mcr::mcrMOVESWrite, mcrMOVESWrite},
    {Mcr::mcrDstToDn, mcrDstToDn}, {Mcr::mcrWriteDstLong, mcrWriteDstLong}, {Mcr::mcrWriteDstWord, mcrWriteDstWord},
    {Mcr::mcrMOVEPRead, mcrMOVEPRead}, {Mcr::mcrRESET, mcrRESET}, {Mcr::mcrReset, mcrReset},
    {Mcr::mcrROLReg, mcrROLReg}, {Mcr::mcrROLMem, mcrROLMem}, {Mcr::mcrRORReg, mcrRORReg},
    {Mcr::mcrRORMem, mcrRORMem}, {Mcr::mcrROXLReg, mcrROXLReg}, {Mcr::mcrROXLMem, mcrROXLMem},
    {Mcr::mcrROXRReg, mcrROXRReg}, {Mcr::mcrROXRMem, mcrROXRMem}, {Mcr::mcrRTD, mcrRTD}, {Mcr::mcrRTE, CallmcrRTE},
    {Mcr::mcrRTE000, CallmcrRTE000}, {Mcr::mcrRTR, mcrRTR}, {Mcr::mcrRTS, mcrRTS}, {Mcr::mcrSBCD, mcrSBCD},
    {Mcr::mcrScc, mcrScc}, {Mcr::mcrLoadSRChecked2, mcrLoadSRChecked}, {Mcr::mcrSUB, mcrSUB},
    {Mcr::mcrSUBDnToEa, mcrSUBDnToEa}, {Mcr::mcrSUBA, mcrSUBA}, {Mcr::mcrSUBToDn, mcrSUBToDn},
    {Mcr::mcrSUBQAn, mcrSUBQAn}, {Mcr::mcrSUBImmToDn, mcrSUBImmToDn}, {Mcr::mcrSUBImm, mcrSUBImm},
    {Mcr::mcrSUBAAn, mcrSUBAAn}, {Mcr::mcrSUBAnToDn, mcrSUBAnToDn}, {Mcr::mcrSUBX, mcrSUBX},
    {Mcr::mcrSWAP, mcrSWAP}, {Mcr::mcrTAS, mcrTAS}, {Mcr::mcrTBLEntryAddress, mcrTBLEntryAddress},
    {Mcr::mcrStep, mcrStep}, {Mcr::mcrStep2, mcrStep}, {Mcr::mcrStep3, mcrStep}, {Mcr::mcrStep4, mcrStep},
    {Mcr::mcrTraceException, mcrTraceException}, {Mcr::mcrTrapException, mcrTrapException},
    {Mcr::mcrTRAPcc, mcrTRAPcc}, {Mcr::mcrTRAPV, mcrTRAPV}, {Mcr::mcrTrapvException, mcrTrapvException},
    {Mcr::mcrTSTAn, mcrTSTAn}, {Mcr::mcrTSTDn, mcrTSTDn}, {Mcr::mcrTST, mcrTST}, {Mcr::mcrUNLK, mcrUNLK},
    {Mcr::mcrStopWait, mcrStopWait}, {Mcr::mcrMOVEPWrite, mcrMOVEPWrite},
};

constexpr bool SlotsInNumberOrder() {
  if (std::size(kSlots) != McrTableSize) return false;
  for (uint32_t i = 0; i < McrTableSize; ++i)
    if (McrNumber(kSlots[i].number) != i) return false;
  return true;
}
static_assert(SlotsInNumberOrder(), "dispatch table: a routine out of number order, missing or extra");

constexpr std::array<McrFunction, McrTableSize> TableOfSlots() {
  std::array<McrFunction, McrTableSize> t{};
  for (uint32_t i = 0; i < McrTableSize; ++i) t[i] = kSlots[i].routine;
  return t;
}

// The routine of each number; entry 0 is a microcode fault.
inline constexpr std::array<McrFunction, McrTableSize> kTable = TableOfSlots();

}  // namespace korva::routines
