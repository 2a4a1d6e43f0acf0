// The start-up path: the processor's tables, the model switch and the reset of
// the machine's global state.
#include "cpu/Startup.h"
#include "board/FrontPanel.h"
#include "board/Keyboard.h"
#include "board/MC6845.h"
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "board/Uart2661.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"
#include "cpu/ControlStore.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/classCPU.h"
#include "disk/CpmDiskController.h"
#include "disk/Dropzone.h"
#include "disk/LSNDIO.h"
#include "disk/RWIN.h"
#include "disk/SimpleDiskController.h"
#include "serial/Cable.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "tables/OpMap.h"

namespace korva {

namespace {
void PatchForModel(CpuModel model) {
  switch (model) {
    case Cpu68000: SelectCpu68000(); break;
    case Cpu32: SelectCpu32(); break;
    default: SelectCpu68010(); break;
  }
}

// A device object replaced by a fresh one: the state it had when the program started.
template <class Device>
void Renew(Device& device) {
  device = Device();
}
}  // namespace

void SelectCpuModel(CpuModel model) {
  ClearOpMap();
  ClearOpText();
  PatchForModel(model);
  BuildOpMap();
  BuildExtWordTable();
}

void BuildCpuTables(CpuModel model) {
  InitMicrocode();
  SelectCpuModel(model);
  UseNormalMicroOp();
}

void NumberBoards() {
  MVME400C0.CardNumber(0);
  MVME400C1.CardNumber(1);
  MVME410PIA1.Number(1);
  MVME410PIA2.Number(2);
}

void ResetDeviceObjects() {
  InitScmState();
  InitScreenState();
  Renew(Crtc);
  Renew(Keyboard);  // before the UART: the keyboard's reset may send it bytes
  Renew(Uart2661);
  Renew(Rtc);
  Renew(FrontPanel);
  Renew(Cable);
  Renew(MVME400C0);
  Renew(MVME400C1);
  Renew(MVME410PIA1);
  Renew(MVME410PIA2);
  NumberBoards();
  Renew(Rwin);
  Renew(SimpleDC);
  Renew(CpmDC);
  Renew(LsnDio);
  Renew(Dropzone);
}

void ResetMachineState() {
  ResetBusState();
  IMaskFlag = False;
  Exceptions.Reset();
  Renew(Mmu);
  ResetCpuState();
  Renew(Cpu);
  ResetFetchState();
  QuitRequested = False;
  RefreshRegsRequest = RefreshWatchRequest = False;
  DebuggerLoaded = False;
  BuildCpuTables(Cpu68010);  // MovePhysEn is off: no MOVPHY opcodes
  ResetDeviceObjects();
}

}  // namespace korva
