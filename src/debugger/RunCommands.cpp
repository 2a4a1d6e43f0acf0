// Commands of run control, interrupt and trace switches, device dumps, the
// number base, the VersaDOS version and the help text.
#include <string>

#include "board/BoardSettings.h"
#include "board/MC6845.h"
#include "board/Rtc1468hc18.h"
#include "board/Uart2661.h"
#include "bus/MMU.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/RegistersText.h"
#include "cpu/SystemReset.h"
#include "cpu/classCPU.h"
#include "debugger/DebuggerCore.h"
#include "debugger/DebuggerText.h"
#include "disk/RWIN.h"
#include "shell/MainFormHooks.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

// ---- Run control ----

// A reset may be typed while a device access pumps events inside a bus cycle:
// it runs between two control-store words.
void LatchedReset() {
  ResetDevices(False);
  Cpu.Reset(true);
  RequestRefresh();
}
void LatchedPowerOnReset() {
  ResetDevices(True);
  Cpu.Reset(true);
  RequestRefresh();
  PowerOnResetDone = True;
  MainForm->PorGui(True);
}
void DoReset() { RunOrLatchCommand(&LatchedReset); }
void DoPowerOnReset() { RunOrLatchCommand(&LatchedPowerOnReset); }

void DoGo() {
  if (CommandArgs[1].LongOK)
    Cpu.Go(static_cast<uint32_t>(CommandArgs[1].LongValue));
  else
    Cpu.Step(1);
  RequestRefresh();
}

void DoStep() {
  Cpu.Step(CommandArgs[1].LongOK ? CommandArgs[1].LongValue : 1);
  RequestRefresh();
}

void DoRun() {
  Cpu.Run();
  ShowStatus("Running");
}

void DoHalt() {
  Cpu.StopRun(false);
  RequestRefresh();
}

void DoStopRun() {
  Cpu.StopRun(true);
  RequestRefresh();
}

void DoEnableInterrupts() { InterruptsDisabled = False; }
void DoDisableInterrupts() { InterruptsDisabled = True; }

void DoDisableOnStop() {
  FlagCommand(DisableIntOnStop, "Invalid value - SDI n   - where n is 0 or 1",
              "Must be 0 for Not Disable Interrupt on Stop, or 1 for Disable Interrupt on Stop");
}

void DoTrackTrace() {
  FlagCommand(TrackTrace, "Invalid value - TTR n where n is 0 or 1", "Must be 0 for NoTrack, or 1 for Track");
}

void DoRegisters() {
  AppendOutput(RegistersText());
  AppendOutput("\r\n");
}

// ---- Device dumps ----

void DoForms() {
  if (!View.WindowCaptions) return;
  for (const std::string& caption : View.WindowCaptions()) AppendOutput(caption + "\r\n");
}

void DoRwin() { AppendOutput(Rwin.DisplayRWIN()); }
void DoDrives() { AppendOutput(Rwin.DisplayDrives()); }
void DoMmu() {
  std::string text;
  Mmu.DisplayMMU(text);
  AppendOutput(text);
}
void DoMmuDescriptors() {
  std::string text;
  Mmu.DisplayMmuDescriptors(text);
  AppendOutput(text);
}
void DoMmuCache() {
  std::string text;
  Mmu.DisplayMmuASTC(text);
  AppendOutput(text);
}

void DoTranslate() {
  const CommandArg& a = CommandArgs[1];
  const CommandArg& b = CommandArgs[2];
  uint32_t address = CpuPC;
  uint8_t fc = CpuS ? 6 : 2;
  if (ArgCount == 0) {
  } else if (ArgCount == 1 && a.LongOK) {
    address = static_cast<uint32_t>(a.LongValue);
  } else if (ArgCount == 2 && a.LongOK && b.ByteOK) {
    address = static_cast<uint32_t>(a.LongValue);
    fc = b.ByteValue;
  } else {
    AppendOutput(" usage TTA[ <address>[,FC]]");
    return;
  }
  uint32_t r = 0;
  Mmu.TTA(address, fc, r);
  const uint32_t descriptor = r >> 24;
  std::string text = HexLong(r & 0xFFFFFF) + "  FC = " + HexByte(fc) + " ";
  text += descriptor < 32 ? "  Desc = " + HexByte(descriptor) : std::string("  NO Descriptor");
  AppendOutput(text + "\r\n");  // a result line; only the usage text stays open
}

void DoCard0() { AppendOutput("Card 0 Configuration\r\n\r\n" + Mvme400Setup(0)); }
void DoCard1() { AppendOutput("Card 1 Configuration\r\n\r\n" + Mvme400Setup(1)); }
void DoM410() {
  AppendOutput("Port 1 Configuration\r\n\r\n" + Mvme410Setup(1) + "\r\n");
  AppendOutput("Port 2 Configuration\r\n\r\n" + Mvme410Setup(2));
}
void DoUart() { AppendOutput(Uart2661.Display2661()); }
void DoClock() { AppendOutput(Rtc.DisplayClock()); }
void DoCmos() { AppendOutput(Rtc.DisplayCMOS()); }
void DoCrtc() { AppendOutput(Crtc.GetSetup()); }

// ---- Settings of the command language ----

void DoVersion() {
  const CommandArg& a = CommandArgs[1];
  if (a.LongOK && a.LongValue >= 43 && a.LongValue <= 45) {
    VersionNumber = a.LongValue;
    VdosVersion = static_cast<int16_t>(1027 + (a.LongValue - 43));
    return;
  }
  AppendOutput(" usage Version[ <43|44|45>] Current = " + std::to_string(VersionNumber));
}

void DoBase() {
  const CommandArg& a = CommandArgs[1];
  if (a.LongOK && (a.LongValue == 2 || a.LongValue == 8 || a.LongValue == 10 || a.LongValue == 16)) {
    DefaultRadix = static_cast<int16_t>(a.LongValue);
    return;
  }
  AppendOutput(" usage BASE[ <2|8|10|16>] Current = " + std::to_string(DefaultRadix));
}

void DoHelp() {
  for (std::string_view line : HelpLines()) {
    AppendOutput(line);
    AppendOutput("\r\n");
  }
}

}  // namespace

const DebugCommand kRunCommands[] = {
    {"RESET RST", &DoReset},
    {"POWERONRESET POR", &DoPowerOnReset},
    {"GO G", &DoGo},
    {"STEP T TR ST", &DoStep},
    {"RUN", &DoRun},
    {"HALT", &DoHalt},
    {"STOP STOPRUN", &DoStopRun},
    {"EI", &DoEnableInterrupts},
    {"DI", &DoDisableInterrupts},
    {"DIS SDI", &DoDisableOnStop},
    {"DR DF RD X", &DoRegisters},
    {"TTR TRACKTRACE", &DoTrackTrace},
};
extern const CommandTable RunCommands{kRunCommands};

const DebugCommand kDeviceCommands[] = {
    {"FORMS", &DoForms},
    {"RWIN", &DoRwin},
    {"DRIVES", &DoDrives},
    {"MMU", &DoMmu},
    {"MMUD MMUDESCRIPTORS", &DoMmuDescriptors},
    {"MMUC MMUCACHE ASTC", &DoMmuCache},
    {"TAD TTA", &DoTranslate},
    {"M400C0", &DoCard0},
    {"M400C1", &DoCard1},
    {"M410", &DoM410},
    {"SN2661 MC2661", &DoUart},
    {"CLOCK", &DoClock},
    {"CMOS", &DoCmos},
    {"CRTC", &DoCrtc},
    {"VERSION VER", &DoVersion},
    {"BASE", &DoBase},
    {"HELP H HE ?", &DoHelp},
};
extern const CommandTable DeviceCommands{kDeviceCommands};

}  // namespace korva
