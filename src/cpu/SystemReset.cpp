// System and power-on reset and the reset micro-routine.
#include "cpu/SystemReset.h"
#include "board/FrontPanel.h"
#include "board/MC6845.h"
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "bus/BusCycles.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "disk/RWIN.h"
#include "serial/Cable.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/MainFormHooks.h"
#include "tables/TextFormat.h"

namespace korva {

void SystemReset(VBool powerOn) {
  ResetRequest = True;
  ResetDevices(powerOn);
  ClearBreakpointSkips();
  Cpu.Reset(false);
}

void ResetDevices(VBool powerOn) {
  ScreenRedrawHeld = True;
  if (powerOn)
    Scm.PowerOnReset();
  else
    Scm.Reset();
  ScreenRedrawHeld = False;
  Screen.RedrawGraphics();
  RedrawScreen();
  // The cursor layers were cleared without merging: merge the whole picture so
  // that nothing drawn before the reset stays visible.
  Screen.ReMergeScreen();
  Mmu.ResetMMU();
  Cable.Reset();
  FrontPanel.Reset();
  Rtc.Reset();
}

void ResetIoChannel() {
  InitIocTable();
  MVME410PIA1.Reset();
  MVME410PIA2.Reset();
  MVME400C0.Reset();
  MVME400C1.Reset();
  Rwin.Reset();
}

void mcrResetSR() {
  Cpu.SR(0x2700);
  CpuVBR = 0;
}

namespace {
// One long of the reset vectors, read as two supervisor-program words.
// False when a read faulted (the processor then halts).
bool ReadResetLong(uint32_t address, uint32_t& value) {
  uint16_t high = 0;
  for (uint32_t i = 0; i < 2; ++i) {
    AccAddress = address + 2 * i;
    Cpu.SSW(0x2106);
    BusCycle();
    if (FaultFlag) {
      AbortOnBusFault();
      if (mcPC != McHalt) {  // a fault flagged without its cause still halts
        mcStage = 1;
        mcPC = McHalt;
      }
      return false;
    }
    if (i == 0) high = AccInstIn;
  }
  value = (static_cast<uint32_t>(high) << 16) | AccInstIn;
  return true;
}
}  // namespace

// mcrReset, at McReset: SR and VBR to their reset
// values, then the supervisor stack pointer from address 0 and the program
// counter from address 4, read through the (reset) MMU.
void mcrReset() {
  mcrResetSR();
  uint32_t v = 0;
  if (!ReadResetLong(0, v)) return;
  CpuAReg[7] = v;
  if (!ReadResetLong(4, v)) return;
  CpuPC = v;
  McrEnd();
  MainForm->SetFailLights(0, False);
}

}  // namespace korva
