// The micro-routine dispatcher: a dense table of the routines by number.
#include "cpu/Dispatch.h"
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"

namespace korva {

namespace {

// Numbers that name no routine: a microcode fault.
void NoRoutine() { McrMicrocodeFault(); }

// The six routines that are members of the CPU object.
void CallmcrAerr() { Cpu.mcrAerr(); }
void CallmcrAerr000() { Cpu.mcrAerr000(); }
void CallmcrBerr() { Cpu.mcrBerr(); }
void CallmcrBerr000() { Cpu.mcrBerr000(); }
void CallmcrRTE() { Cpu.mcrRTE(); }
void CallmcrRTE000() { Cpu.mcrRTE000(); }

}  // namespace

McrFunction const McrTable[McrTableSize] = {
    NoRoutine,  // 0
    mcrABCD,  // 1
    mcrADD,  // 2
    mcrADDDnToEa,  // 3
    mcrADDA,  // 4
    mcrADDToDn,  // 5
    mcrADDQAn,  // 6
    mcrADDImmToDn,  // 7
    mcrADDImm,  // 8
    mcrADDAAn,  // 9
    mcrADDAnToDn,  // 10
    mcrADDX,  // 11
    CallmcrAerr,  // 12
    CallmcrAerr000,  // 13
    mcrLine1010Exception,  // 14
    mcrANDI,  // 15
    mcrANDReg,  // 16
    mcrANDDnToEa,  // 17
    mcrANDToDn,  // 18
    mcrANDItoSR,  // 19
    mcrASLReg,  // 20
    mcrASLMem,  // 21
    mcrASRReg,  // 22
    mcrASRMem,  // 23
    mcrBccB,  // 24
    mcrBccL,  // 25
    mcrBccW,  // 26
    mcrBCHG,  // 27
    mcrBCLR,  // 28
    CallmcrBerr,  // 29
    CallmcrBerr000,  // 30
    mcrIllegalExceptionv2,  // 31
    mcrBRAB,  // 32
    mcrBRAL,  // 33
    mcrBRAW,  // 34
    mcrBSET,  // 35
    mcrBTST,  // 36
    mcrDstEA,  // 37
    mcrDstEA32,  // 38
    mcrSrcEA,  // 39
    mcrSrcEA32,  // 40
    mcrCHK,  // 41
    mcrChkException,  // 42
    mcrCLRDn,  // 43
    mcrCLR,  // 44
    mcrCMP,  // 45
    mcrCMP2,  // 46
    mcrCMPA,  // 47
    mcrCMPToDn,  // 48
    mcrCMPAAn,  // 49
    mcrCMPAnToDn,  // 50
    mcrLPSTOPDecode,  // 51
    mcrDBcc,  // 52
    mcrZeroDivideException,  // 53
    mcrDIVS,  // 54
    mcrDIVU,  // 55
    mcrDIVL,  // 56
    mcrIdle,  // 57
    mcrEORI,  // 58
    mcrEORReg,  // 59
    mcrEORDnToEa,  // 60
    mcrEORItoSR,  // 61
    mcrEXG,  // 62
    mcrEXT,  // 63
    mcrFormatErrorException,  // 64
    mcrFetchExt,  // 65
    mcrFetchImm,  // 66
    mcrFetchExtLong,  // 67
    mcrFetchDecode,  // 68
    mcrFetchDecodeDebug,  // 69
    mcrFetchExtWord,  // 70
    mcrLine1111Exception,  // 71
    mcrReadDst,  // 72
    mcrDstFromDn,  // 73
    mcrReadDstWord,  // 74
    mcrReadSrc,  // 75
    mcrReadSrcByte,  // 76
    mcrReadSrcPair,  // 77
    mcrSrcFromDn,  // 78
    mcrReadSrcLong,  // 79
    mcrMOVESRead,  // 80
    mcrReadSrcWord,  // 81
    mcrHalt,  // 82
    mcrIllegalException,  // 83
    ShowInternalError,  // 84
    mcrInterrupt,  // 85
    mcrJMP,  // 86
    mcrLEA,  // 87
    mcrLINK,  // 88
    mcrLoadSRChecked,  // 89
    mcrLSLReg,  // 90
    mcrLSLMem,  // 91
    mcrLSRReg,  // 92
    mcrLSRMem,  // 93
    mcrMOVEC,  // 94
    mcrMOVEAL,  // 95
    mcrMOVEAW,  // 96
    mcrMOVEBToDn,  // 97
    mcrMOVELToDn,  // 98
    mcrMOVEWToDn,  // 99
    mcrMOVEB,  // 100
    mcrMOVEL,  // 101
    mcrMOVEW,  // 102
    mcrMOVEToCCR,  // 103
    mcrMOVEMLToRegs,  // 104
    mcrMOVEMWToRegs,  // 105
    mcrMOVEMLToMem,  // 106
    mcrMOVEMWToMem,  // 107
    mcrMOVEMLToMemPredec,  // 108
    mcrMOVEMWToMemPredec,  // 109
    mcrCopySrcDst,  // 110
    mcrMOVPHY,  // 111
    mcrMOVEQ,  // 112
    mcrMOVEALRn,  // 113
    mcrMOVEAWRn,  // 114
    mcrMOVEBDnDn,  // 115
    mcrMOVELRnDn,  // 116
    mcrMOVEWRnDn,  // 117
    mcrMOVEBDnToEa,  // 118
    mcrMOVELRnToEa,  // 119
    mcrMOVEWRnToEa,  // 120
    mcrMOVESDecode,  // 121
    mcrMOVESFromReg,  // 122
    mcrMOVESToReg,  // 123
    mcrMOVEFromSR,  // 124
    mcrMOVEUSP,  // 125
    mcrMULS,  // 126
    mcrMULU,  // 127
    mcrMULL,  // 128
    mcrNBCD,  // 129
    mcrNEGDn,  // 130
    mcrNEG,  // 131
    mcrNEGX,  // 132
    mcrNOP,  // 133
    mcrNOTDn,  // 134
    mcrNOT,  // 135
    mcrORI,  // 136
    mcrORReg,  // 137
    mcrORDnToEa,  // 138
    mcrORToDn,  // 139
    mcrORItoSR,  // 140
    mcrPEA,  // 141
    mcrPrivilegeException,  // 142
    mcrPushReturn,  // 143
    mcrWriteDst,  // 144
    mcrWriteDstByte,  // 145
    mcrMOVESWrite,  // 146
    mcrDstToDn,  // 147
    mcrWriteDstLong,  // 148
    mcrWriteDstWord,  // 149
    mcrMOVEPRead,  // 150
    mcrRESET,  // 151
    mcrReset,  // 152
    mcrROLReg,  // 153
    mcrROLMem,  // 154
    mcrRORReg,  // 155
    mcrRORMem,  // 156
    mcrROXLReg,  // 157
    mcrROXLMem,  // 158
    mcrROXRReg,  // 159
    mcrROXRMem,  // 160
    mcrRTD,  // 161
    CallmcrRTE,  // 162
    CallmcrRTE000,  // 163
    mcrRTR,  // 164
    mcrRTS,  // 165
    mcrSBCD,  // 166
    mcrScc,  // 167
    mcrLoadSRChecked,  // 168
    mcrSUB,  // 169
    mcrSUBDnToEa,  // 170
    mcrSUBA,  // 171
    mcrSUBToDn,  // 172
    mcrSUBQAn,  // 173
    mcrSUBImmToDn,  // 174
    mcrSUBImm,  // 175
    mcrSUBAAn,  // 176
    mcrSUBAnToDn,  // 177
    mcrSUBX,  // 178
    mcrSWAP,  // 179
    mcrTAS,  // 180
    mcrTBLEntryAddress,  // 181
    mcrStep,  // 182
    mcrStep,  // 183
    mcrStep,  // 184
    mcrStep,  // 185
    mcrTraceException,  // 186
    mcrTrapException,  // 187
    mcrTRAPcc,  // 188
    mcrTRAPV,  // 189
    mcrTrapvException,  // 190
    mcrTSTAn,  // 191
    mcrTSTDn,  // 192
    mcrTST,  // 193
    mcrUNLK,  // 194
    mcrStopWait,  // 195
    mcrMOVEPWrite,  // 196
};

void DispatchMcr(uint32_t n) {
  if (n < McrTableSize)
    McrTable[n]();
  else
    McrMicrocodeFault();
}

}  // namespace korva
