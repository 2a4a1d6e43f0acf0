// The names of the control store, in one place: every micro-routine number and
// every chain start. The control-store image, the dispatcher, the model patches,
// the opcode-map builders and the tests use these names; the image and the
// dispatch table are checked against them when they compile.
#pragma once
#include <cstdint>

namespace korva {

// The number a control-store call word holds. Two numbers name one routine,
// mcrLoadSRChecked, and four name mcrStep; the second and later numbers carry a
// digit. 0 names no routine: calling it is a microcode fault. mcrANDReg,
// mcrORReg, mcrTBLEntryAddress and mcrStep are called only by chains marked
// "never entered" below; they stay with those chains (see cpu/ControlStore.cpp).
enum class Mcr : uint8_t {
  None = 0,
  mcrABCD = 1, mcrADD = 2, mcrADDDnToEa = 3, mcrADDA = 4, mcrADDToDn = 5, mcrADDQAn = 6, mcrADDImmToDn = 7,
  mcrADDImm = 8, mcrADDAAn = 9, mcrADDAnToDn = 10, mcrADDX = 11, mcrAerr = 12, mcrAerr000 = 13,
  mcrLine1010Exception = 14, mcrANDI = 15, mcrANDReg = 16, mcrANDDnToEa = 17, mcrANDToDn = 18,
  mcrANDItoSR = 19, mcrASLReg = 20, mcrASLMem = 21, mcrASRReg = 22, mcrASRMem = 23, mcrBccB = 24, mcrBccL = 25,
  mcrBccW = 26, mcrBCHG = 27, mcrBCLR = 28, mcrBerr = 29, mcrBerr000 = 30, mcrIllegalExceptionv2 = 31,
  mcrBRAB = 32, mcrBRAL = 33, mcrBRAW = 34, mcrBSET = 35, mcrBTST = 36, mcrDstEA = 37, mcrDstEA32 = 38,
  mcrSrcEA = 39, mcrSrcEA32 = 40, mcrCHK = 41, mcrChkException = 42, mcrCLRDn = 43, mcrCLR = 44, mcrCMP = 45,
  mcrCMP2 = 46, mcrCMPA = 47, mcrCMPToDn = 48, mcrCMPAAn = 49, mcrCMPAnToDn = 50, mcrLPSTOPDecode = 51,
  mcrDBcc = 52, mcrZeroDivideException = 53, mcrDIVS = 54, mcrDIVU = 55, mcrDIVL = 56, mcrIdle = 57,
  mcrEORI = 58, mcrEORReg = 59, mcrEORDnToEa = 60, mcrEORItoSR = 61, mcrEXG = 62, mcrEXT = 63,
  mcrFormatErrorException = 64, mcrFetchExt = 65, mcrFetchImm = 66, mcrFetchExtLong = 67, mcrFetchDecode = 68,
  mcrFetchDecodeDebug = 69, mcrFetchExtWord = 70, mcrLine1111Exception = 71, mcrReadDst = 72,
  mcrDstFromDn = 73, mcrReadDstWord = 74, mcrReadSrc = 75, mcrReadSrcByte = 76, mcrReadSrcPair = 77,
  mcrSrcFromDn = 78, mcrReadSrcLong = 79, mcrMOVESRead = 80, mcrReadSrcWord = 81, mcrHalt = 82,
  mcrIllegalException = 83, ShowInternalError = 84, mcrInterrupt = 85, mcrJMP = 86, mcrLEA = 87, mcrLINK = 88,
  mcrLoadSRChecked = 89, mcrLSLReg = 90, mcrLSLMem = 91, mcrLSRReg = 92, mcrLSRMem = 93, mcrMOVEC = 94,
  mcrMOVEAL = 95, mcrMOVEAW = 96, mcrMOVEBToDn = 97, mcrMOVELToDn = 98, mcrMOVEWToDn = 99, mcrMOVEB = 100,
  mcrMOVEL = 101, mcrMOVEW = 102, mcrMOVEToCCR = 103, mcrMOVEMLToRegs = 104, mcrMOVEMWToRegs = 105,
  mcrMOVEMLToMem = 106, mcrMOVEMWToMem = 107, mcrMOVEMLToMemPredec = 108, mcrMOVEMWToMemPredec = 109,
  mcrCopySrcDst = 110, mcrMOVPHY = 111, mcrMOVEQ = 112, mcrMOVEALRn = 113, mcrMOVEAWRn = 114,
  mcrMOVEBDnDn = 115, mcrMOVELRnDn = 116, mcrMOVEWRnDn = 117, mcrMOVEBDnToEa = 118, mcrMOVELRnToEa = 119,
  mcrMOVEWRnToEa = 120, mcrMOVESDecode = 121, mcrMOVESFromReg = 122, mcrMOVESToReg = 123, mcrMOVEFromSR = 124,
  mcrMOVEUSP = 125, mcrMULS = 126, mcrMULU = 127, mcrMULL = 128, mcrNBCD = 129, mcrNEGDn = 130, mcrNEG = 131,
  mcrNEGX = 132, mcrNOP = 133, mcrNOTDn = 134, mcrNOT = 135, mcrORI = 136, mcrORReg = 137, mcrORDnToEa = 138,
  mcrORToDn = 139, mcrORItoSR = 140, mcrPEA = 141, mcrPrivilegeException = 142, mcrPushReturn = 143,
  mcrWriteDst = 144, mcrWriteDstByte = 145, mcrMOVESWrite = 146, mcrDstToDn = 147, mcrWriteDstLong = 148,
  mcrWriteDstWord = 149, mcrMOVEPRead = 150, mcrRESET = 151, mcrReset = 152, mcrROLReg = 153, mcrROLMem = 154,
  mcrRORReg = 155, mcrRORMem = 156, mcrROXLReg = 157, mcrROXLMem = 158, mcrROXRReg = 159, mcrROXRMem = 160,
  mcrRTD = 161, mcrRTE = 162, mcrRTE000 = 163, mcrRTR = 164, mcrRTS = 165, mcrSBCD = 166, mcrScc = 167,
  mcrLoadSRChecked2 = 168, mcrSUB = 169, mcrSUBDnToEa = 170, mcrSUBA = 171, mcrSUBToDn = 172, mcrSUBQAn = 173,
  mcrSUBImmToDn = 174, mcrSUBImm = 175, mcrSUBAAn = 176, mcrSUBAnToDn = 177, mcrSUBX = 178, mcrSWAP = 179,
  mcrTAS = 180, mcrTBLEntryAddress = 181, mcrStep = 182, mcrStep2 = 183, mcrStep3 = 184, mcrStep4 = 185,
  mcrTraceException = 186, mcrTrapException = 187, mcrTRAPcc = 188, mcrTRAPV = 189, mcrTrapvException = 190,
  mcrTSTAn = 191, mcrTSTDn = 192, mcrTST = 193, mcrUNLK = 194, mcrStopWait = 195, mcrMOVEPWrite = 196,
};
constexpr uint32_t McrLast = static_cast<uint32_t>(Mcr::mcrMOVEPWrite);
constexpr uint32_t McrNumber(Mcr m) { return static_cast<uint32_t>(m); }

// Chain starts: the control-store address, a multiple of 16, at which each chain
// begins. The fixed entries come first; the opcode map points every opcode at
// one of the instruction chains. Names without a note are the instruction (and
// operand form) the chain runs.
enum McChain : uint32_t {
  // Fixed entries.
  McReset = 16, McIdle = 32, McHalt = 48,
  McFault = 64,        // microcode fault: the internal-error report, then the halt
  McExecute = 80,      // start entry of Execute and Go: the fetch alone
  McFastFetch = 96,    // end of an instruction with neither trace nor interrupt pending
  McTail = 112,        // trace, interrupt, fetch
  McStopWait = 128,
  McBusError = 144, McAddressError = 160,
  McBusError000 = 176, McAddressError000 = 192,  // never entered: the model patch swaps 144 and 160 instead
  McFormatError = 208, McPrivilege = 224,
  McIllegal2 = 240,    // ILLEGAL's second entry (BKPT)
  McIllegal = 256, McLine1010 = 272, McLine1111 = 288,
  McTRAP = 304, McTRAPV = 320, McTRAPcc = 336, McTRAPccOperand = 352, McCHK = 368, McCMP2 = 384,
  McRTE000 = 400,      // never entered: the model patch swaps the call at McRTE instead
  McRTE = 416, McRTS = 432, McRTR = 448, McRTD = 464, McNOP = 480, McSTOP = 496,
  // Instruction chains.
  McEXG = 512, McEXT = 528, McMOVPHY = 544, McMOVEQ = 560,
  McMOVEBDnDn = 576, McMOVEBToDn = 592, McMOVEBDnToEa = 608, McMOVEB = 624,
  McMOVEWRnDn = 640, McMOVEWToDn = 656, McMOVEWRnToEa = 672, McMOVEW = 688,
  McMOVELRnDn = 704, McMOVELToDn = 720, McMOVELRnToEa = 736, McMOVEL = 752,
  McMOVEAWRn = 768, McMOVEAW = 784, McMOVEALRn = 800, McMOVEAL = 816,
  McMOVEPToMem = 832, McMOVEPToReg = 848,
  McMOVEMLToMem = 864, McMOVEMLToMemPredec = 880, McMOVEMLToRegs = 896,
  McMOVEMWToMem = 912, McMOVEMWToMemPredec = 928, McMOVEMWToRegs = 944,
  McLEA = 960, McPEA = 976, McLINKW = 992, McLINKL = 1008, McUNLK = 1024,
  McADDRnToDn = 1040, McADDDnToEa = 1056, McADDToDn = 1072, McADDA = 1088, McADDARn = 1104, McADDI = 1120,
  McADDQ = 1136, McADDQDn = 1152, McADDQAn = 1168, McADDXReg = 1184, McADDXMem = 1200,
  McSUBRnToDn = 1216, McSUBDnToEa = 1232, McSUBToDn = 1248, McSUBA = 1264, McSUBARn = 1280, McSUBI = 1296,
  McSUBQ = 1312, McSUBQAn = 1328, McSUBQDn = 1344, McSUBXReg = 1360, McSUBXMem = 1376,
  McCMPToDn = 1392, McCMPRnToDn = 1408, McCMPA = 1424, McCMPARn = 1440, McCMPI = 1456, McCMPM = 1472,
  McMULS = 1488, McMULU = 1504, McMULL = 1520, McDIVS = 1536, McDIVU = 1552, McDIVL = 1568,
  McANDReg = 1584,     // never entered: AND with a register operand runs McANDToDn
  McANDDnToEa = 1600, McANDToDn = 1616, McANDI = 1632,
  McORReg = 1648,      // never entered: OR with a register operand runs McORToDn
  McORDnToEa = 1664, McORToDn = 1680, McORI = 1696,
  McEORReg = 1712, McEORDnToEa = 1728, McEORI = 1744,
  McNOTDn = 1760, McNOT = 1776, McNEGDn = 1792, McNEG = 1808, McNEGX = 1824,
  McCLRDn = 1840, McCLR = 1856, McTSTDn = 1872, McTSTAn = 1888, McTST = 1904, McTAS = 1920, McSWAP = 1936,
  // Register shifts have a second, never entered chain (the "2" names) after the first.
  McASLReg = 1952, McASLReg2 = 1968, McASLMem = 1984, McASRReg = 2000, McASRReg2 = 2016, McASRMem = 2032,
  McLSLReg = 2048, McLSLReg2 = 2064, McLSLMem = 2080, McLSRReg = 2096, McLSRReg2 = 2112, McLSRMem = 2128,
  McROLReg = 2144, McROLReg2 = 2160, McROLMem = 2176, McRORReg = 2192, McRORReg2 = 2208, McRORMem = 2224,
  McROXLReg = 2240, McROXLReg2 = 2256, McROXLMem = 2272, McROXRReg = 2288, McROXRReg2 = 2304, McROXRMem = 2320,
  McBCHGDn = 2336, McBCHGImm = 2352, McBCLRDn = 2368, McBCLRImm = 2384,
  McBSETDn = 2400, McBSETImm = 2416, McBTSTDn = 2432, McBTSTImm = 2448,
  McABCDReg = 2464, McABCDMem = 2480, McSBCDReg = 2496, McSBCDMem = 2512, McNBCD = 2528,
  McBRAB = 2544, McBRAW = 2560, McBRAL = 2576, McBccB = 2592, McBccW = 2608, McBccL = 2624,
  McBSRB = 2640, McBSRW = 2656, McBSRL = 2672,
  McDBcc = 2688, McScc = 2704, McJMP = 2720, McJSR = 2736,
  McMOVEToSR = 2752,   // and to CCR
  McMOVEFromSR = 2768, // and from CCR
  McANDItoSR = 2784, McORItoSR = 2800, McEORItoSR = 2816, McMOVEC = 2832,
  McMOVES = 2848, McMOVESToReg = 2864, McMOVESToMem = 2880,  // the MOVES decode picks one of the last two
  McMOVEUSP = 2896, McRESET = 2912,
  McTableLookup = 2928,  // CPU32 line F800: the decode goes on to McLPSTOP or McLine1111
  // Never entered: the table-lookup forms, which the decode does not select.
  McTBLRegA = 2944, McTBLMemA = 2960, McTBLRegB = 2976, McTBLMemB = 2992,
  McLPSTOP = 3008,
  McIllegal3 = 3024,   // never entered: a copy of McIllegal2
  McUnentered = 3040,  // never entered: holds the CPU32 address calculators and the debugger fetch
};

}  // namespace korva
