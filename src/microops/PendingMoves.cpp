// Micro-routines not built yet: each is a microcode fault until its own file defines it.
// Delete a line here when the routine is implemented.
#include "cpu/CpuState.h"
#include "cpu/classCPU.h"
#include "cpu/Microroutines.h"

namespace korva {

void mcrBccB() { McrMicrocodeFault(); }
void mcrBccL() { McrMicrocodeFault(); }
void mcrBccW() { McrMicrocodeFault(); }
void mcrBRAB() { McrMicrocodeFault(); }
void mcrBRAL() { McrMicrocodeFault(); }
void mcrBRAW() { McrMicrocodeFault(); }
void mcrCHK() { McrMicrocodeFault(); }
void mcrCMP2() { McrMicrocodeFault(); }
void mcrLPSTOPDecode() { McrMicrocodeFault(); }
void mcrDBcc() { McrMicrocodeFault(); }
void mcrDIVS() { McrMicrocodeFault(); }
void mcrDIVU() { McrMicrocodeFault(); }
void mcrDIVL() { McrMicrocodeFault(); }
void mcrEXG() { McrMicrocodeFault(); }
void mcrEXT() { McrMicrocodeFault(); }
void mcrMOVESRead() { McrMicrocodeFault(); }
void mcrJMP() { McrMicrocodeFault(); }
void mcrLEA() { McrMicrocodeFault(); }
void mcrLINK() { McrMicrocodeFault(); }
void mcrLoadSRChecked() { McrMicrocodeFault(); }
void mcrMOVEC() { McrMicrocodeFault(); }
void mcrMOVEAL() { McrMicrocodeFault(); }
void mcrMOVEAW() { McrMicrocodeFault(); }
void mcrMOVEBToDn() { McrMicrocodeFault(); }
void mcrMOVELToDn() { McrMicrocodeFault(); }
void mcrMOVEWToDn() { McrMicrocodeFault(); }
void mcrMOVEB() { McrMicrocodeFault(); }
void mcrMOVEL() { McrMicrocodeFault(); }
void mcrMOVEW() { McrMicrocodeFault(); }
void mcrMOVEToCCR() { McrMicrocodeFault(); }
void mcrMOVEMLToRegs() { McrMicrocodeFault(); }
void mcrMOVEMWToRegs() { McrMicrocodeFault(); }
void mcrMOVEMLToMem() { McrMicrocodeFault(); }
void mcrMOVEMWToMem() { McrMicrocodeFault(); }
void mcrMOVEMLToMemPredec() { McrMicrocodeFault(); }
void mcrMOVEMWToMemPredec() { McrMicrocodeFault(); }
void mcrCopySrcDst() { McrMicrocodeFault(); }
void mcrMOVPHY() { McrMicrocodeFault(); }
void mcrMOVEQ() { McrMicrocodeFault(); }
void mcrMOVEALRn() { McrMicrocodeFault(); }
void mcrMOVEAWRn() { McrMicrocodeFault(); }
void mcrMOVEBDnDn() { McrMicrocodeFault(); }
void mcrMOVELRnDn() { McrMicrocodeFault(); }
void mcrMOVEWRnDn() { McrMicrocodeFault(); }
void mcrMOVEBDnToEa() { McrMicrocodeFault(); }
void mcrMOVELRnToEa() { McrMicrocodeFault(); }
void mcrMOVEWRnToEa() { McrMicrocodeFault(); }
void mcrMOVESDecode() { McrMicrocodeFault(); }
void mcrMOVESFromReg() { McrMicrocodeFault(); }
void mcrMOVESToReg() { McrMicrocodeFault(); }
void mcrMOVEFromSR() { McrMicrocodeFault(); }
void mcrMOVEUSP() { McrMicrocodeFault(); }
void mcrMULS() { McrMicrocodeFault(); }
void mcrMULU() { McrMicrocodeFault(); }
void mcrMULL() { McrMicrocodeFault(); }
void mcrNOP() { McrMicrocodeFault(); }
void mcrPEA() { McrMicrocodeFault(); }
void mcrMOVESWrite() { McrMicrocodeFault(); }
void mcrRESET() { McrMicrocodeFault(); }
void mcrRTD() { McrMicrocodeFault(); }
void mcrRTR() { McrMicrocodeFault(); }
void mcrRTS() { McrMicrocodeFault(); }
void mcrSWAP() { McrMicrocodeFault(); }
void mcrTAS() { McrMicrocodeFault(); }
void mcrTBLEntryAddress() { McrMicrocodeFault(); }
void mcrStep() { McrMicrocodeFault(); }
void mcrTRAPcc() { McrMicrocodeFault(); }
void mcrTRAPV() { McrMicrocodeFault(); }
void mcrUNLK() { McrMicrocodeFault(); }

}  // namespace korva
