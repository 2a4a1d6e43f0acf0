// Micro-routines not built yet: each is a microcode fault until its own file defines it.
// Delete a line here when the routine is implemented.
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "cpu/Microroutines.h"

namespace korva {

void classCPU::mcrAerr() { McrMicrocodeFault(); }
void classCPU::mcrAerr000() { McrMicrocodeFault(); }
void mcrLine1010Exception() { McrMicrocodeFault(); }
void classCPU::mcrBerr() { McrMicrocodeFault(); }
void classCPU::mcrBerr000() { McrMicrocodeFault(); }
void mcrIllegalExceptionv2() { McrMicrocodeFault(); }
void mcrDstEA() { McrMicrocodeFault(); }
void mcrDstEA32() { McrMicrocodeFault(); }
void mcrSrcEA() { McrMicrocodeFault(); }
void mcrSrcEA32() { McrMicrocodeFault(); }
void mcrChkException() { McrMicrocodeFault(); }
void mcrZeroDivideException() { McrMicrocodeFault(); }
void mcrFormatErrorException() { McrMicrocodeFault(); }
void mcrLine1111Exception() { McrMicrocodeFault(); }
void mcrReadSrcPair() { McrMicrocodeFault(); }
void mcrIllegalException() { McrMicrocodeFault(); }
void mcrInterrupt() { McrMicrocodeFault(); }
void mcrPrivilegeException() { McrMicrocodeFault(); }
void mcrReset() { McrMicrocodeFault(); }
void classCPU::mcrRTE() { McrMicrocodeFault(); }
void classCPU::mcrRTE000() { McrMicrocodeFault(); }
void mcrTraceException() { McrMicrocodeFault(); }
void mcrTrapException() { McrMicrocodeFault(); }
void mcrTrapvException() { McrMicrocodeFault(); }

}  // namespace korva
