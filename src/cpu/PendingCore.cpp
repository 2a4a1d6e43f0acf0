// Micro-routines not built yet: each is a microcode fault until its own file defines it.
// Delete a line here when the routine is implemented.
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "cpu/Microroutines.h"

namespace korva {

void mcrIdle() { McrMicrocodeFault(); }
void mcrFetchExt() { McrMicrocodeFault(); }
void mcrFetchImm() { McrMicrocodeFault(); }
void mcrFetchExtLong() { McrMicrocodeFault(); }
void mcrFetchDecode() { McrMicrocodeFault(); }
void mcrFetchDecodeDebug() { McrMicrocodeFault(); }
void mcrFetchExtWord() { McrMicrocodeFault(); }
void mcrReadDst() { McrMicrocodeFault(); }
void mcrDstFromDn() { McrMicrocodeFault(); }
void mcrReadDstWord() { McrMicrocodeFault(); }
void mcrReadSrc() { McrMicrocodeFault(); }
void mcrReadSrcByte() { McrMicrocodeFault(); }
void mcrSrcFromDn() { McrMicrocodeFault(); }
void mcrReadSrcLong() { McrMicrocodeFault(); }
void mcrReadSrcWord() { McrMicrocodeFault(); }
void mcrHalt() { McrMicrocodeFault(); }
void ShowInternalError() { McrMicrocodeFault(); }
void mcrPushReturn() { McrMicrocodeFault(); }
void mcrWriteDst() { McrMicrocodeFault(); }
void mcrWriteDstByte() { McrMicrocodeFault(); }
void mcrDstToDn() { McrMicrocodeFault(); }
void mcrWriteDstLong() { McrMicrocodeFault(); }
void mcrWriteDstWord() { McrMicrocodeFault(); }
void mcrMOVEPRead() { McrMicrocodeFault(); }
void mcrStopWait() { McrMicrocodeFault(); }
void mcrMOVEPWrite() { McrMicrocodeFault(); }

}  // namespace korva
