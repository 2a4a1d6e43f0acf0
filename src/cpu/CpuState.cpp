// Definitions of the processor state globals.
#include "cpu/CpuState.h"
#include "cpu/BoundaryCommands.h"

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

int16_t CpuFrameType = 10;
int32_t CpuFrameDelta = -8;
VBool UseFormat2Stack = False;

VBool CpuRunning = False;
VBool InterruptsDisabled = False;
VBool DisableIntOnStop = False;
VBool CountedRun = False;
int32_t StepCount = 0;
VBool ResetRequest = False;

bool McrActive = false;
bool TookRareWay = false;
uint8_t ControlLatch = 0;

OpcodeRegister CpuOpcode;
uint32_t CpuEa = 0;
uint8_t CpuEaFc = 1;
uint32_t CpuSop = 0, CpuDop = 0;
uint16_t CpuExtraWord = 0;
uint32_t CpuExtWord = 0;
uint16_t CpuExtCount = 0;
uint16_t CpuTempWord = 0;
uint32_t CpuInstrAddr = 0;

VBool CpuTrapvPending = False, CpuChkPending = False, CpuZeroDivide = False;

uint16_t FaultFrame[29] = {};

void ResetCpuState() {
  mcPC = 0;
  mcStage = 1;
  mcErrorPC = 0;
  for (uint32_t& r : CpuDReg) r = 0;
  for (uint32_t& r : CpuAReg) r = 0;
  CpuUSP = CpuSSP = CpuPC = 0;
  CpuS = CpuT = False;
  CpuIMask = 0;
  CpuX = CpuN = CpuZ = CpuV = CpuC = 0;
  CpuVBR = CpuSFC = CpuDFC = 0;
  CpuType = Cpu68010;
  CpuFrameType = 10;
  CpuFrameDelta = -8;
  UseFormat2Stack = False;
  MovePhysEn = False;
  CpuRunning = InterruptsDisabled = DisableIntOnStop = CountedRun = ResetRequest = False;
  StepCount = 0;
  McrActive = false;
  ClearBoundaryCommands();
  ControlLatch = 0;
  CpuOpcode = CpuEa = CpuSop = CpuDop = 0;
  CpuEaFc = 1;
  CpuExtraWord = 0;
  CpuExtWord = 0;
  CpuExtCount = 0;
  CpuTempWord = 0;
  CpuInstrAddr = 0;
  CpuTracePending = CpuTrapvPending = CpuChkPending = CpuZeroDivide = False;
  for (uint16_t& w : FaultFrame) w = 0;
}

}  // namespace korva
