// CPU model selection, the fetch switch, the run flag, the condition test, the
// (An)+ / -(An) steps and the internal-error report.
#include "cpu/CpuModel.h"
#include "cpu/ControlStore.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/MainLoop.h"
#include "cpu/Microroutines.h"
#include "cpu/RegistersText.h"
#include "cpu/classCPU.h"
#include "host/Host.h"
#include "shell/MainFormHooks.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {
// The configuration the control store is (or is to be) patched for.
uint16_t storeModel = Cpu68010;
Mcr storeFetch = Mcr::mcrFetchDecode;

void PatchModel(uint16_t model) {
  const bool m68000 = model == Cpu68000;
  PatchMicrocodeCall(McBusError, m68000 ? Mcr::mcrBerr000 : Mcr::mcrBerr);
  PatchMicrocodeCall(McAddressError, m68000 ? Mcr::mcrAerr000 : Mcr::mcrAerr);
  PatchMicrocodeCall(McRTE, m68000 ? Mcr::mcrRTE000 : Mcr::mcrRTE);
  if (model == Cpu32) {
    PatchMicrocodeCalls(Mcr::mcrDstEA, Mcr::mcrDstEA32);
    PatchMicrocodeCalls(Mcr::mcrSrcEA, Mcr::mcrSrcEA32);
  } else {
    PatchMicrocodeCalls(Mcr::mcrDstEA32, Mcr::mcrDstEA);
    PatchMicrocodeCalls(Mcr::mcrSrcEA32, Mcr::mcrSrcEA);
  }
}

// The fetch every chain calls: the normal one or the debugger's twin.
void PatchFetch(Mcr fetch) {
  const Mcr other = fetch == Mcr::mcrFetchDecode ? Mcr::mcrFetchDecodeDebug : Mcr::mcrFetchDecode;
  PatchMicrocodeCalls(other, fetch);
}

void SelectModel(uint16_t model) {
  CpuType = model;
  CpuFrameType = model == Cpu68000 ? 0 : 10;
  CpuFrameDelta = model == Cpu68000 ? -6 : -8;
  UseFormat2Stack = False;
  storeModel = model;
  if (McrActive)
    LatchStorePatch();
  else
    PatchModel(model);
}

void SelectFetch(Mcr fetch) {
  storeFetch = fetch;
  if (McrActive)
    LatchStorePatch();
  else
    PatchFetch(fetch);
}
}  // namespace

void ApplyStorePatches() {
  PatchModel(storeModel);
  PatchFetch(storeFetch);
}

void SelectCpu68000() { SelectModel(Cpu68000); }
void SelectCpu68010() { SelectModel(Cpu68010); }
void SelectCpu32() { SelectModel(Cpu32); }
void UseDebuggerMicroOp() { SelectFetch(Mcr::mcrFetchDecodeDebug); }
void UseNormalMicroOp() { SelectFetch(Mcr::mcrFetchDecode); }

void SetCpuRunning(VBool run) {
  CpuRunning = run;
  LoopAttention = true;
  MainForm->RunGui(run);
  if (DebuggerLoaded || FindFormByCaption("Debugger")) {
    if (DebuggerHook.ShowStatus) DebuggerHook.ShowStatus("");
    if (!run && DisableIntOnStop) InterruptsDisabled = True;
  } else {
    DisableIntOnStop = False;
    InterruptsDisabled = False;
  }
}

std::string InternalErrorText() {
  std::string t = "mcPC = 0x" + HexWord(mcErrorPC) + "  mcStage = 0x" + HexByte(mcStage) + "\r\n";
  t += "CpuOpcode = 0x" + HexWord(static_cast<uint16_t>(CpuOpcode)) + "  CpuExtWord = 0x" +
       HexWord(static_cast<uint16_t>(CpuExtWord)) + "  CpuExtraWord = 0x" + HexWord(CpuExtraWord) + "\r\n";
  t += "CpuEa = 0x" + HexLong(CpuEa) + "  CpuSop = 0x" + HexLong(CpuSop) + "  CpuDop = 0x" + HexLong(CpuDop) +
       "\r\n";
  t += "Last Access Stack...";
  for (int i = 0; i < 29; ++i) {
    if (i % 8 == 0) t += "\r\n";
    t += HexWord(FaultFrame[i]) + " ";
  }
  t += "\r\n\r\n" + RegistersText();
  return t;
}

// The routine at McFault: report a microcode fault, then on to the halt.
void ShowInternalError() {
  Host().MessageBox(InternalErrorText(), "Internal Error", MsgButtons::OK, MsgIcon::Critical);
  mcPC += 1;
  mcStage = 1;
}

}  // namespace korva
