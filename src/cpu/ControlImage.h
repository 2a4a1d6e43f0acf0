// The control-store image as constexpr data: the chains word by word, in the
// notation of the names in tables/McNames.h. LoadMicrocode writes it into the
// store; the fused chains (cpu/FusedChains.cpp) are generated from it when they
// compile. The image is laid out and checked when this header compiles: every
// chain starts at a multiple of 16 after the end of the one before, every jump
// goes to a chain start, and every call names a routine. The chains the names
// mark "never entered" stay: the store keeps its fixed layout word for word, and
// an unentered chain costs nothing.
#pragma once
#include <array>
#include <cstdint>

#include "cpu/ControlStore.h"

namespace korva::image {

// One word of the image notation: a chain start, a call, the tail, or a jump.
struct ImageWord {
  enum Kind : uint8_t { Start, Call, Tail, Jump };
  Kind kind;
  uint32_t arg;
  constexpr ImageWord(Kind k, uint32_t a) : kind(k), arg(a) {}
  constexpr ImageWord(Mcr m) : kind(Call), arg(McrNumber(m)) {}  // NOLINT: the image names routines bare
};
constexpr ImageWord At(McChain c) { return {ImageWord::Start, c}; }
constexpr ImageWord J(McChain c) { return {ImageWord::Jump, c}; }
// The tail that ends almost every instruction: trace, interrupt, fetch.
inline constexpr ImageWord T{ImageWord::Tail, 0};
inline constexpr Mcr kTail[] = {Mcr::mcrTraceException, Mcr::mcrInterrupt, Mcr::mcrFetchDecode};

using enum Mcr;

inline constexpr ImageWord kImage[] = {
    // Fixed entries.
    At(McReset), mcrReset, mcrFetchDecode,
    At(McIdle), mcrIdle, J(McIdle),
    At(McHalt), mcrHalt, J(McIdle),
    At(McFault), ShowInternalError, J(McHalt),
    At(McExecute), mcrFetchDecode,
    At(McFastFetch), mcrFetchDecode,
    At(McTail), T,
    At(McStopWait), mcrStopWait, T,
    At(McBusError), mcrBerr, mcrFetchDecode,
    At(McAddressError), mcrAerr, mcrFetchDecode,
    At(McBusError000), mcrBerr000, mcrFetchDecode,
    At(McAddressError000), mcrAerr000, mcrFetchDecode,
    At(McFormatError), mcrFormatErrorException, mcrFetchDecode,
    At(McPrivilege), mcrPrivilegeException, mcrInterrupt, mcrFetchDecode,
    At(McIllegal2), mcrIllegalExceptionv2, mcrInterrupt, mcrFetchDecode,
    At(McIllegal), mcrIllegalException, mcrInterrupt, mcrFetchDecode,
    At(McLine1010), mcrLine1010Exception, mcrInterrupt, mcrFetchDecode,
    At(McLine1111), mcrLine1111Exception, mcrInterrupt, mcrFetchDecode,
    At(McTRAP), mcrTrapException, T,
    At(McTRAPV), mcrTRAPV, mcrTrapvException, T,
    At(McTRAPcc), mcrTRAPcc, mcrTrapvException, T,
    At(McTRAPccOperand), mcrFetchImm, mcrTRAPcc, mcrTrapvException, T,
    At(McCHK), mcrSrcEA, mcrReadSrc, mcrDstFromDn, mcrCHK, mcrChkException, T,
    At(McCMP2), mcrFetchExt, mcrSrcEA, mcrReadSrcPair, mcrCMP2, mcrChkException, T,
    At(McRTE000), mcrRTE000, T,
    At(McRTE), mcrRTE, T,
    At(McRTS), mcrRTS, T,
    At(McRTR), mcrRTR, T,
    At(McRTD), mcrRTD, T,
    At(McNOP), mcrNOP, T,
    At(McSTOP), mcrFetchExtWord, mcrLoadSRChecked2, mcrStopWait, T,
    // EXG, EXT, MOVPHY, MOVEQ
    At(McEXG), mcrEXG, T, At(McEXT), mcrEXT, T, At(McMOVPHY), mcrMOVPHY, T, At(McMOVEQ), mcrMOVEQ, T,
    // MOVE.B
    At(McMOVEBDnDn), mcrMOVEBDnDn, T, At(McMOVEBToDn), mcrSrcEA, mcrReadSrcByte, mcrMOVEBToDn, T,
    At(McMOVEBDnToEa), mcrMOVEBDnToEa, mcrDstEA, mcrWriteDstByte, T,
    At(McMOVEB), mcrSrcEA, mcrReadSrcByte, mcrMOVEB, mcrDstEA, mcrWriteDstByte, T,
    // MOVE.W
    At(McMOVEWRnDn), mcrMOVEWRnDn, T, At(McMOVEWToDn), mcrSrcEA, mcrReadSrcWord, mcrMOVEWToDn, T,
    At(McMOVEWRnToEa), mcrMOVEWRnToEa, mcrDstEA, mcrWriteDstWord, T,
    At(McMOVEW), mcrSrcEA, mcrReadSrcWord, mcrMOVEW, mcrDstEA, mcrWriteDstWord, T,
    // MOVE.L
    At(McMOVELRnDn), mcrMOVELRnDn, T, At(McMOVELToDn), mcrSrcEA, mcrReadSrcLong, mcrMOVELToDn, T,
    At(McMOVELRnToEa), mcrMOVELRnToEa, mcrDstEA, mcrWriteDstLong, T,
    At(McMOVEL), mcrSrcEA, mcrReadSrcLong, mcrMOVEL, mcrDstEA, mcrWriteDstLong, T,
    // MOVEA
    At(McMOVEAWRn), mcrMOVEAWRn, T, At(McMOVEAW), mcrSrcEA, mcrReadSrcWord, mcrMOVEAW, T,
    At(McMOVEALRn), mcrMOVEALRn, T, At(McMOVEAL), mcrSrcEA, mcrReadSrcLong, mcrMOVEAL, T,
    // MOVEP register to memory, memory to register
    At(McMOVEPToMem), mcrSrcFromDn, mcrCopySrcDst, mcrDstEA, mcrMOVEPWrite, T,
    At(McMOVEPToReg), mcrSrcEA, mcrMOVEPRead, mcrCopySrcDst, mcrDstToDn, T,
    // MOVEM
    At(McMOVEMLToMem), mcrFetchExt, mcrDstEA, mcrMOVEMLToMem, T,
    At(McMOVEMLToMemPredec), mcrFetchExt, mcrDstEA, mcrMOVEMLToMemPredec, T,
    At(McMOVEMLToRegs), mcrFetchExt, mcrSrcEA, mcrMOVEMLToRegs, T,
    At(McMOVEMWToMem), mcrFetchExt, mcrDstEA, mcrMOVEMWToMem, T,
    At(McMOVEMWToMemPredec), mcrFetchExt, mcrDstEA, mcrMOVEMWToMemPredec, T,
    At(McMOVEMWToRegs), mcrFetchExt, mcrSrcEA, mcrMOVEMWToRegs, T,
    // LEA, PEA, LINK, UNLK
    At(McLEA), mcrSrcEA, mcrLEA, T, At(McPEA), mcrSrcEA, mcrPEA, T, At(McLINKW), mcrFetchExtWord, mcrLINK, T,
    At(McLINKL), mcrFetchExtLong, mcrLINK, T, At(McUNLK), mcrUNLK, T,
    // ADD, ADDA, ADDI, ADDQ, ADDX
    At(McADDRnToDn), mcrADDAnToDn, T, At(McADDDnToEa), mcrDstEA, mcrReadDst, mcrADDDnToEa, mcrWriteDst, T,
    At(McADDToDn), mcrSrcEA, mcrReadSrc, mcrADDToDn, T, At(McADDA), mcrSrcEA, mcrReadSrc, mcrADDA, T,
    At(McADDARn), mcrADDAAn, T, At(McADDI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrADD, mcrWriteDst, T,
    At(McADDQ), mcrDstEA, mcrReadDst, mcrADDImm, mcrWriteDst, T, At(McADDQDn), mcrADDImmToDn, T,
    At(McADDQAn), mcrADDQAn, T, At(McADDXReg), mcrSrcFromDn, mcrDstFromDn, mcrADDX, mcrDstToDn, T,
    At(McADDXMem), mcrSrcEA, mcrReadSrc, mcrDstEA, mcrReadDst, mcrADDX, mcrWriteDst, T,
    // SUB, SUBA, SUBI, SUBQ, SUBX
    At(McSUBRnToDn), mcrSUBAnToDn, T, At(McSUBDnToEa), mcrDstEA, mcrReadDst, mcrSUBDnToEa, mcrWriteDst, T,
    At(McSUBToDn), mcrSrcEA, mcrReadSrc, mcrSUBToDn, T, At(McSUBA), mcrSrcEA, mcrReadSrc, mcrSUBA, T,
    At(McSUBARn), mcrSUBAAn, T, At(McSUBI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrSUB, mcrWriteDst, T,
    At(McSUBQ), mcrDstEA, mcrReadDst, mcrSUBImm, mcrWriteDst, T, At(McSUBQAn), mcrSUBQAn, T,
    At(McSUBQDn), mcrSUBImmToDn, T, At(McSUBXReg), mcrSrcFromDn, mcrDstFromDn, mcrSUBX, mcrDstToDn, T,
    At(McSUBXMem), mcrSrcEA, mcrReadSrc, mcrDstEA, mcrReadDst, mcrSUBX, mcrWriteDst, T,
    // CMP, CMPA, CMPI, CMPM
    At(McCMPToDn), mcrSrcEA, mcrReadSrc, mcrCMPToDn, T, At(McCMPRnToDn), mcrCMPAnToDn, T,
    At(McCMPA), mcrSrcEA, mcrReadSrc, mcrCMPA, T, At(McCMPARn), mcrCMPAAn, T,
    At(McCMPI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrCMP, T,
    At(McCMPM), mcrSrcEA, mcrReadSrc, mcrDstEA, mcrReadDst, mcrCMP, T,
    // MULS, MULU, MULx.L, DIVS, DIVU, DIVx.L
    At(McMULS), mcrSrcEA, mcrReadSrc, mcrMULS, T, At(McMULU), mcrSrcEA, mcrReadSrc, mcrMULU, T,
    At(McMULL), mcrFetchExt, mcrSrcEA, mcrReadSrc, mcrMULL, T,
    At(McDIVS), mcrSrcEA, mcrReadSrc, mcrDIVS, mcrZeroDivideException, T,
    At(McDIVU), mcrSrcEA, mcrReadSrc, mcrDIVU, mcrZeroDivideException, T,
    At(McDIVL), mcrFetchExt, mcrSrcEA, mcrReadSrc, mcrDIVL, mcrZeroDivideException, T,
    // AND, ANDI
    At(McANDReg), mcrANDReg, T, At(McANDDnToEa), mcrDstEA, mcrReadDst, mcrANDDnToEa, mcrWriteDst, T,
    At(McANDToDn), mcrSrcEA, mcrReadSrc, mcrANDToDn, T,
    At(McANDI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrANDI, mcrWriteDst, T,
    // OR, ORI
    At(McORReg), mcrORReg, T, At(McORDnToEa), mcrDstEA, mcrReadDst, mcrORDnToEa, mcrWriteDst, T,
    At(McORToDn), mcrSrcEA, mcrReadSrc, mcrORToDn, T,
    At(McORI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrORI, mcrWriteDst, T,
    // EOR, EORI
    At(McEORReg), mcrEORReg, T, At(McEORDnToEa), mcrDstEA, mcrReadDst, mcrEORDnToEa, mcrWriteDst, T,
    At(McEORI), mcrFetchImm, mcrDstEA, mcrReadDst, mcrEORI, mcrWriteDst, T,
    // NOT, NEG, NEGX
    At(McNOTDn), mcrNOTDn, T, At(McNOT), mcrDstEA, mcrReadDst, mcrNOT, mcrWriteDst, T, At(McNEGDn), mcrNEGDn, T,
    At(McNEG), mcrDstEA, mcrReadDst, mcrNEG, mcrWriteDst, T,
    At(McNEGX), mcrDstEA, mcrReadDst, mcrNEGX, mcrWriteDst, T,
    // CLR, TST, TAS, SWAP
    At(McCLRDn), mcrCLRDn, T, At(McCLR), mcrDstEA, mcrCLR, mcrWriteDst, T, At(McTSTDn), mcrTSTDn, T,
    At(McTSTAn), mcrTSTAn, T, At(McTST), mcrDstEA, mcrReadDst, mcrTST, T, At(McTAS), mcrDstEA, mcrTAS, T,
    At(McSWAP), mcrSWAP, T,
    // ASL, ASR
    At(McASLReg), mcrASLReg, T, At(McASLReg2), mcrASLReg, T,
    At(McASLMem), mcrDstEA, mcrReadDstWord, mcrASLMem, mcrWriteDstWord, T, At(McASRReg), mcrASRReg, T,
    At(McASRReg2), mcrASRReg, T, At(McASRMem), mcrDstEA, mcrReadDstWord, mcrASRMem, mcrWriteDstWord, T,
    // LSL, LSR
    At(McLSLReg), mcrLSLReg, T, At(McLSLReg2), mcrLSLReg, T,
    At(McLSLMem), mcrDstEA, mcrReadDstWord, mcrLSLMem, mcrWriteDstWord, T, At(McLSRReg), mcrLSRReg, T,
    At(McLSRReg2), mcrLSRReg, T, At(McLSRMem), mcrDstEA, mcrReadDstWord, mcrLSRMem, mcrWriteDstWord, T,
    // ROL, ROR
    At(McROLReg), mcrROLReg, T, At(McROLReg2), mcrROLReg, T,
    At(McROLMem), mcrDstEA, mcrReadDstWord, mcrROLMem, mcrWriteDstWord, T, At(McRORReg), mcrRORReg, T,
    At(McRORReg2), mcrRORReg, T, At(McRORMem), mcrDstEA, mcrReadDstWord, mcrRORMem, mcrWriteDstWord, T,
    // ROXL, ROXR
    At(McROXLReg), mcrROXLReg, T, At(McROXLReg2), mcrROXLReg, T,
    At(McROXLMem), mcrDstEA, mcrReadDstWord, mcrROXLMem, mcrWriteDstWord, T, At(McROXRReg), mcrROXRReg, T,
    At(McROXRReg2), mcrROXRReg, T, At(McROXRMem), mcrDstEA, mcrReadDstWord, mcrROXRMem, mcrWriteDstWord, T,
    // BCHG, BCLR, BSET, BTST (dynamic, static)
    At(McBCHGDn), mcrSrcFromDn, mcrDstEA, mcrReadDst, mcrBCHG, mcrWriteDst, T,
    At(McBCHGImm), mcrFetchExtWord, mcrDstEA, mcrReadDst, mcrBCHG, mcrWriteDst, T,
    At(McBCLRDn), mcrSrcFromDn, mcrDstEA, mcrReadDst, mcrBCLR, mcrWriteDst, T,
    At(McBCLRImm), mcrFetchExtWord, mcrDstEA, mcrReadDst, mcrBCLR, mcrWriteDst, T,
    At(McBSETDn), mcrSrcFromDn, mcrDstEA, mcrReadDst, mcrBSET, mcrWriteDst, T,
    At(McBSETImm), mcrFetchExtWord, mcrDstEA, mcrReadDst, mcrBSET, mcrWriteDst, T,
    At(McBTSTDn), mcrSrcFromDn, mcrDstEA, mcrReadDst, mcrBTST, T,
    At(McBTSTImm), mcrFetchExtWord, mcrDstEA, mcrReadDst, mcrBTST, T,
    // ABCD, SBCD, NBCD
    At(McABCDReg), mcrSrcFromDn, mcrDstFromDn, mcrABCD, mcrDstToDn, T,
    At(McABCDMem), mcrSrcEA, mcrReadSrc, mcrDstEA, mcrReadDst, mcrABCD, mcrWriteDst, T,
    At(McSBCDReg), mcrSrcFromDn, mcrDstFromDn, mcrSBCD, mcrDstToDn, T,
    At(McSBCDMem), mcrSrcEA, mcrReadSrc, mcrDstEA, mcrReadDst, mcrSBCD, mcrWriteDst, T,
    At(McNBCD), mcrDstEA, mcrReadDst, mcrNBCD, mcrWriteDst, T,
    // BRA, Bcc, BSR
    At(McBRAB), mcrBRAB, T, At(McBRAW), mcrFetchExt, mcrBRAW, T, At(McBRAL), mcrFetchExtLong, mcrBRAL, T,
    At(McBccB), mcrBccB, T, At(McBccW), mcrFetchExt, mcrBccW, T, At(McBccL), mcrFetchExtLong, mcrBccL, T,
    At(McBSRB), mcrPushReturn, mcrBRAB, T, At(McBSRW), mcrFetchExt, mcrPushReturn, mcrBRAW, T,
    At(McBSRL), mcrFetchExtLong, mcrPushReturn, mcrBRAL, T,
    // DBcc, Scc, JMP, JSR
    At(McDBcc), mcrFetchExt, mcrDBcc, T, At(McScc), mcrDstEA, mcrScc, mcrWriteDst, T,
    At(McJMP), mcrSrcEA, mcrJMP, T, At(McJSR), mcrSrcEA, mcrPushReturn, mcrJMP, T,
    // moves of CCR and SR, MOVEC
    At(McMOVEToSR), mcrSrcEA, mcrReadSrc, mcrMOVEToCCR, T,
    At(McMOVEFromSR), mcrMOVEFromSR, mcrDstEA, mcrWriteDst, T, At(McANDItoSR), mcrFetchExtWord, mcrANDItoSR, T,
    At(McORItoSR), mcrFetchExtWord, mcrORItoSR, T, At(McEORItoSR), mcrFetchExtWord, mcrEORItoSR, T,
    At(McMOVEC), mcrFetchExt, mcrMOVEC, T,
    // MOVES: the decode sets mcPC itself; the two jumps are never executed
    At(McMOVES), mcrFetchExt, mcrSrcEA, mcrMOVESDecode, J(McMOVESToReg), J(McMOVESToMem),
    At(McMOVESToReg), mcrMOVESRead, mcrMOVESToReg, T, At(McMOVESToMem), mcrMOVESFromReg, mcrMOVESWrite, T,
    // MOVE USP, RESET
    At(McMOVEUSP), mcrMOVEUSP, T, At(McRESET), mcrRESET, T,
    // CPU32 line F800 (the decode sets mcPC itself)
    At(McTableLookup), mcrFetchExt, mcrLPSTOPDecode, At(McTBLRegA), mcrStep3, T,
    At(McTBLMemA), mcrSrcEA, mcrTBLEntryAddress, mcrReadSrcPair, mcrStep4, T, At(McTBLRegB), mcrStep, T,
    At(McTBLMemB), mcrSrcEA, mcrTBLEntryAddress, mcrReadSrcPair, mcrStep2, T,
    At(McLPSTOP), mcrFetchExtWord, mcrLoadSRChecked, mcrStopWait, T,
    // second illegal entry, and a chain no path enters
    At(McIllegal3), mcrIllegalExceptionv2, mcrInterrupt, mcrFetchDecode,
    At(McUnentered), mcrSrcEA32, mcrDstEA32, mcrFetchDecodeDebug,
};

// Calls fn(address, entry) for every word the image writes, in order.
template <typename Fn>
constexpr void ForEachImageWord(Fn fn) {
  uint32_t at = 0;
  for (const ImageWord& w : kImage) {
    switch (w.kind) {
      case ImageWord::Start: at = w.arg; break;
      case ImageWord::Call: fn(at++, McEntry{McCall, w.arg}); break;
      case ImageWord::Jump: fn(at++, McEntry{McJump, w.arg}); break;
      case ImageWord::Tail:
        for (Mcr m : kTail) fn(at++, McEntry{McCall, McrNumber(m)});
        break;
    }
  }
}

constexpr bool IsChainStart(uint32_t a) {
  for (const ImageWord& w : kImage)
    if (w.kind == ImageWord::Start && w.arg == a) return true;
  return false;
}

constexpr bool ImageIsSound() {
  uint32_t end = 0;  // first word after the chain before
  bool ok = kImage[0].kind == ImageWord::Start;
  uint32_t at = 0;
  for (const ImageWord& w : kImage) {
    if (w.kind == ImageWord::Start) {
      ok = ok && w.arg % 16 == 0 && w.arg >= end && w.arg < McStoreSize;
      at = w.arg;
      continue;
    }
    if (w.kind == ImageWord::Call) ok = ok && w.arg >= 1 && w.arg <= McrLast;
    if (w.kind == ImageWord::Jump) ok = ok && IsChainStart(w.arg);
    at += w.kind == ImageWord::Tail ? 3 : 1;
    end = at;
    ok = ok && end <= McStoreSize;
  }
  return ok;
}
static_assert(ImageIsSound(), "control-store image: overlapping or misplaced chain, or a bad call or jump");

// The words the image writes, every other word unfilled.
constexpr std::array<McEntry, McStoreSize> Words() {
  std::array<McEntry, McStoreSize> words{};
  ForEachImageWord([&words](uint32_t at, McEntry e) { words[at] = e; });
  return words;
}

}  // namespace korva::image
