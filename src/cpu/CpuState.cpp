// Definitions of the processor state globals.
#include "cpu/CpuState.h"

namespace korva {

uint32_t mcPC = 0;
uint8_t mcStage = 1;
uint16_t mcErrorPC = 0;

uint32_t CpuDReg[8] = {};
uint32_t CpuAReg[8] = {};
uint32_t CpuUSP = 0, CpuSSP = 0, CpuPC = 0;
VBool CpuS = False, CpuT = False;
uint8_t CpuIMask = 0;
uint16_t CpuX = 0, CpuN = 0, CpuZ = 0, CpuV = 0, CpuC = 0;
uint32_t CpuVBR = 0, CpuSFC = 0, CpuDFC = 0;

uint16_t CpuType = Cpu68010;
int16_t CpuFrameType = 10;
int32_t CpuFrameDelta = -8;
VBool UseFormat2Stack = False;
VBool MovePhysEn = False;

VBool CpuRunning = False;
VBool InterruptsDisabled = False;
VBool DisableIntOnStop = False;
VBool CountedRun = False;
int32_t StepCount = 0;
VBool ResetRequest = False;

bool McrActive = false;
uint8_t ControlLatch = 0;

uint32_t CpuOpcode = 0, CpuEa = 0;
uint8_t CpuEaFc = 1;
uint32_t CpuSop = 0, CpuDop = 0;
uint16_t CpuExtraWord = 0;
uint32_t CpuExtWord = 0;
uint16_t CpuExtCount = 0;
uint16_t CpuTempWord = 0;
uint32_t CpuInstrAddr = 0;

VBool CpuTracePending = False, CpuTrapvPending = False, CpuChkPending = False, CpuZeroDivide = False;

uint16_t FaultFrame[29] = {};

}  // namespace korva
