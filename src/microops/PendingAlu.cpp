// Micro-routines not built yet: each is a microcode fault until its own file defines it.
// Delete a line here when the routine is implemented.
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "cpu/Microroutines.h"

namespace korva {

void mcrABCD() { McrMicrocodeFault(); }
void mcrADD() { McrMicrocodeFault(); }
void mcrADDDnToEa() { McrMicrocodeFault(); }
void mcrADDA() { McrMicrocodeFault(); }
void mcrADDToDn() { McrMicrocodeFault(); }
void mcrADDQAn() { McrMicrocodeFault(); }
void mcrADDImmToDn() { McrMicrocodeFault(); }
void mcrADDImm() { McrMicrocodeFault(); }
void mcrADDAAn() { McrMicrocodeFault(); }
void mcrADDAnToDn() { McrMicrocodeFault(); }
void mcrADDX() { McrMicrocodeFault(); }
void mcrANDI() { McrMicrocodeFault(); }
void mcrANDReg() { McrMicrocodeFault(); }
void mcrANDDnToEa() { McrMicrocodeFault(); }
void mcrANDToDn() { McrMicrocodeFault(); }
void mcrANDItoSR() { McrMicrocodeFault(); }
void mcrASLReg() { McrMicrocodeFault(); }
void mcrASLMem() { McrMicrocodeFault(); }
void mcrASRReg() { McrMicrocodeFault(); }
void mcrASRMem() { McrMicrocodeFault(); }
void mcrBCHG() { McrMicrocodeFault(); }
void mcrBCLR() { McrMicrocodeFault(); }
void mcrBSET() { McrMicrocodeFault(); }
void mcrBTST() { McrMicrocodeFault(); }
void mcrCLRDn() { McrMicrocodeFault(); }
void mcrCLR() { McrMicrocodeFault(); }
void mcrCMP() { McrMicrocodeFault(); }
void mcrCMPA() { McrMicrocodeFault(); }
void mcrCMPToDn() { McrMicrocodeFault(); }
void mcrCMPAAn() { McrMicrocodeFault(); }
void mcrCMPAnToDn() { McrMicrocodeFault(); }
void mcrEORI() { McrMicrocodeFault(); }
void mcrEORReg() { McrMicrocodeFault(); }
void mcrEORDnToEa() { McrMicrocodeFault(); }
void mcrEORItoSR() { McrMicrocodeFault(); }
void mcrLSLReg() { McrMicrocodeFault(); }
void mcrLSLMem() { McrMicrocodeFault(); }
void mcrLSRReg() { McrMicrocodeFault(); }
void mcrLSRMem() { McrMicrocodeFault(); }
void mcrNBCD() { McrMicrocodeFault(); }
void mcrNEGDn() { McrMicrocodeFault(); }
void mcrNEG() { McrMicrocodeFault(); }
void mcrNEGX() { McrMicrocodeFault(); }
void mcrNOTDn() { McrMicrocodeFault(); }
void mcrNOT() { McrMicrocodeFault(); }
void mcrORI() { McrMicrocodeFault(); }
void mcrORReg() { McrMicrocodeFault(); }
void mcrORDnToEa() { McrMicrocodeFault(); }
void mcrORToDn() { McrMicrocodeFault(); }
void mcrORItoSR() { McrMicrocodeFault(); }
void mcrROLReg() { McrMicrocodeFault(); }
void mcrROLMem() { McrMicrocodeFault(); }
void mcrRORReg() { McrMicrocodeFault(); }
void mcrRORMem() { McrMicrocodeFault(); }
void mcrROXLReg() { McrMicrocodeFault(); }
void mcrROXLMem() { McrMicrocodeFault(); }
void mcrROXRReg() { McrMicrocodeFault(); }
void mcrROXRMem() { McrMicrocodeFault(); }
void mcrSBCD() { McrMicrocodeFault(); }
void mcrScc() { McrMicrocodeFault(); }
void mcrSUB() { McrMicrocodeFault(); }
void mcrSUBDnToEa() { McrMicrocodeFault(); }
void mcrSUBA() { McrMicrocodeFault(); }
void mcrSUBToDn() { McrMicrocodeFault(); }
void mcrSUBQAn() { McrMicrocodeFault(); }
void mcrSUBImmToDn() { McrMicrocodeFault(); }
void mcrSUBImm() { McrMicrocodeFault(); }
void mcrSUBAAn() { McrMicrocodeFault(); }
void mcrSUBAnToDn() { McrMicrocodeFault(); }
void mcrSUBX() { McrMicrocodeFault(); }
void mcrTSTAn() { McrMicrocodeFault(); }
void mcrTSTDn() { McrMicrocodeFault(); }
void mcrTST() { McrMicrocodeFault(); }

}  // namespace korva
