#include "shell/MainWindowState.h"

#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "board/KeyboardLights.h"
#include "board/Rtc1468hc18.h"
#include "bus/Exceptions.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/SystemReset.h"
#include "cpu/classCPU.h"
#include "disk/Boot.h"
#include "disk/Dropzone.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Consoles.h"
#include "shell/Neighbours.h"
#include "shell/SettingsStore.h"
#include "shell/StatusText.h"

namespace korva {

std::string EmulatedTimeLabel;

namespace {
HostTimer plainOneSec;
// The window whose buttons latched a command (there is one main window).
MainWindowState* activeWindow = nullptr;
}  // namespace

HostTimer* TimerOneSec = &plainOneSec;

void SetOneSecondTimer(HostTimer* timer) { TimerOneSec = timer ? timer : &plainOneSec; }

MainWindowState::MainWindowState() {
  activeWindow = this;
  view_.Version = VersionText();
}

MainWindowState::~MainWindowState() {
  if (activeWindow == this) activeWindow = nullptr;
  TimerOneSec->OnTick = nullptr;
}

void MainWindowState::ProcessEvents() { PumpEvents(); }

std::chrono::steady_clock::time_point MainWindowState::SteadyNow() const { return std::chrono::steady_clock::now(); }

// ---- Called by every subsystem ----

void MainWindowState::ShowKorvan() {
  ShowWindow();
  FocusDummy();
}

void MainWindowState::PorGui(VBool enable) {
  view_.PowerOnResetEnabled = true;
  if (!enable) view_.BootItemEnabled[0] = view_.BootItemEnabled[1] = false;
  view_.StopRunEnabled = view_.ResetEnabled = view_.AbortEnabled = enable != 0;
  Refresh(PartControls | PartMenus);
}

void MainWindowState::RunGui(VBool running) {
  view_.StopRunCaption = running ? "Stop" : "Run";
  Refresh(PartControls);
  ProcessEvents();
}

void MainWindowState::SetFailLights(int32_t index, VBool on) {
  if (index < 0 || index > 3) return;
  view_.Lights[static_cast<size_t>(index)] = on ? FailLightOn : FailLightOff;
  Refresh(PartLights);
}

void MainWindowState::SetDiskLight(uint32_t colour) {
  colour &= 0xFFFFFF;
  if (view_.Lights[4] == colour) return;
  view_.Lights[4] = colour;
  Refresh(PartLights);
}

void MainWindowState::CloseDloadFile() {
  korva::CloseDloadFile();
  DloadFileLength = 0;
}

void MainWindowState::CloseUloadFile() { korva::CloseUloadFile(); }

void MainWindowState::SetBugType(int16_t n) {
  if (n == 0 || n == 1) {
    view_.TenBugTicked = n == 0;
    view_.VmeBugTicked = n == 1;
    Refresh(PartMenus);
  }
  BugType = n;
}

void MainWindowState::SetAlternateIVS(VBool on, VBool remerge) {
  AlternateIVS = on ? True : False;
  if (on)
    ScreenMergeMode |= 4;
  else
    ScreenMergeMode &= static_cast<uint8_t>(~4);
  if (remerge) Screen.ReMergeScreen();
  Refresh(PartMenus);
}

void MainWindowState::SelectDropFormat(int16_t& code) {
  MainFormHooks::SelectDropFormat(code);
  view_.DropFormatTicked.fill(false);
  view_.DropFormatTicked[static_cast<size_t>(code)] = true;
  DropFormatName = DropFormatNames[code];
  Refresh(PartMenus);
}

void MainWindowState::TakesAwhile(VBool stopTimer) {
  if (longOpActive_) return;
  longOpActive_ = true;
  SetDiskLight(DiskLightOff);
  savedMousePointer_ = view_.MousePointer;
  view_.MousePointer = PointerHourglass;
  Refresh(PartPointer);
  HostTimer& periodic = Host().PeriodicTimer();
  savedPeriodicEnabled_ = periodic.Enabled();
  if (stopTimer) periodic.Enabled(false);
  ProcessEvents();
}

void MainWindowState::DelayOver(VBool restoreTimer) {
  view_.MousePointer = savedMousePointer_;
  Refresh(PartPointer);
  if (restoreTimer) Host().PeriodicTimer().Enabled(savedPeriodicEnabled_);
  ProcessEvents();
  longOpActive_ = false;
}

void MainWindowState::SetThrottleBar(ThrottleBar bar, int16_t position) {
  const int i = static_cast<int>(bar);
  if (i < 0 || i >= ThrottleBarCount) return;
  const int16_t p = position < 0 ? 0 : position > ThrottleMaxPosition ? ThrottleMaxPosition : position;
  view_.Throttle[static_cast<size_t>(i)] = p;
  view_.Vsc = ApplyThrottle(bar, p);
  Refresh(PartThrottles | PartLabels);
}

int16_t MainWindowState::ThrottleBarPosition(ThrottleBar bar) const {
  const int i = static_cast<int>(bar);
  if (i < 0 || i >= ThrottleBarCount) return 0;
  return view_.Throttle[static_cast<size_t>(i)];
}

void MainWindowState::SetFrontPanelText(const std::string& text) {
  if (view_.FrontPanel == text) return;
  view_.FrontPanel = text;
  Refresh(PartLabels);
}

// ---- Buttons and menu items ----

void MainWindowState::StopRunClick() {
  std::string caption = view_.StopRunCaption;
  for (char& c : caption)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (caption == "STOP")
    Cpu.StopRun(false);
  else if (caption == "RUN")
    Cpu.Run();
  FocusDummy();
}

void MainWindowState::DoReset(VBool powerOn) {
  view_.PowerOnResetEnabled = false;
  view_.ResetEnabled = false;
  Refresh(PartControls);
  const int16_t pointer = view_.MousePointer;
  view_.MousePointer = PointerHourglass;
  Refresh(PartPointer);
  FocusDummy();
  SystemReset(powerOn);
  view_.MousePointer = pointer;
  Refresh(PartPointer);
  if (powerOn) PowerOnResetDone = True;
  PorGui(PowerOnResetDone);
}

void MainWindowState::LatchedPowerOnReset() {
  if (activeWindow) activeWindow->DoReset(True);
}
void MainWindowState::LatchedReset() {
  if (activeWindow) activeWindow->DoReset(False);
}
void MainWindowState::LatchedAbort() { Exceptions.SetIP(20); }
void MainWindowState::LatchedInitOpMap() { SelectCpuModel(Cpu68010); }

void MainWindowState::PowerOnResetClick() { RunOrLatchCommand(&LatchedPowerOnReset); }
void MainWindowState::ResetClick() { RunOrLatchCommand(&LatchedReset); }

void MainWindowState::AbortClick() {
  RunOrLatchCommand(&LatchedAbort);
  FocusDummy();
}

void MainWindowState::InitOpMapClick() { RunOrLatchCommand(&LatchedInitOpMap); }

void MainWindowState::KbdLockClick() {
  KbdLock = ToVBool(!KbdLock);
  SetLights(8, KbdLock != 0);  // the keyboard-lock light under the screen
  FocusDummy();
}

void MainWindowState::RunMenuClick() {
  Cpu.Execute(CpuPC);
  BootHalted = false;
}

void MainWindowState::StopMenuClick() { Cpu.StopRun(false); }

void MainWindowState::ShowDebuggerClick() {
  if (DebuggerWindow.ShowDebugger) DebuggerWindow.ShowDebugger(0);
}

void MainWindowState::ResetThrottles() {
  for (ThrottleBar bar : {ThrottleBar::vscThrottle, ThrottleBar::vscSN2661, ThrottleBar::vscMVME400,
                          ThrottleBar::vscRWIN, ThrottleBar::vscDisplay})
    SetThrottleBar(bar, ThrottleDefaultPositions[static_cast<size_t>(bar)]);
}

void MainWindowState::VscLabelClick() {
  view_.Vsc = NextThrottleLabel();
  Refresh(PartLabels);
}

// ---- Timers ----

void MainWindowState::OneSecondTick() {
  SetDiskLight(DiskLightOff);
  // The count over the time really passed since the last tick: a late tick
  // (a busy loop, a modal dialog) does not inflate the figure.
  const auto now = SteadyNow();
  const int64_t elapsed =
      tickClockStarted_ ? std::chrono::duration_cast<std::chrono::nanoseconds>(now - lastTick_).count() : 0;
  tickClockStarted_ = true;
  lastTick_ = now;
  view_.Ips = IpsText(InstructionsPerSecond(InstructionCount, elapsed));
  InstructionCount = 0;
  Rtc.Update(HostNow());
  EmulatedTimeLabel = EmulatedTimeText(Rtc.GetEmulatorTime());
  Refresh(PartLabels);
}


// ---- Load and unload ----

void MainWindowState::FormLoad() {
  view_.Version = VersionText();
  view_.Caption = MainCaption(ProfileName);
  Placement p = CurrentPlacement();
  p.Top = GetSettingLong("Main", "Top", p.Top, -100000, 100000);
  p.Left = GetSettingLong("Main", "Left", p.Left, -100000, 100000);
  p.WindowState = static_cast<int16_t>(GetSettingLong("Main", "WindowState", p.WindowState, 0, 2));
  ApplyPlacement(p);
  longOpActive_ = false;
  TimerOneSec->OnTick = [this] { OneSecondTick(); };
  TimerOneSec->Interval(1000);
  TimerOneSec->Enabled(true);
  Refresh(PartCaption | PartLabels | PartControls | PartLights | PartMenus | PartThrottles);
}

void MainWindowState::FormUnload() {
  if (unloaded_) return;
  unloaded_ = true;
  TimerOneSec->Enabled(false);
  Host().PeriodicTimer().Enabled(false);
  SettingsBatch batch;  // everything the windows save as they close reaches the file in one write
  Rtc.SaveSettings();
  SaveSettings();
  const Placement p = CurrentPlacement();
  SaveSettingLong("Main", "WindowState", p.WindowState);
  if (p.WindowState != 1) {
    SaveSettingLong("Main", "Top", p.Top);
    SaveSettingLong("Main", "Left", p.Left);
  }
  for (void (*unload)() : {UnloadKeyboardDisplay, UnloadKeyboardWindow, UnloadJumpers, DebuggerWindow.Unload})
    if (unload) unload();
  CloseConsoleWindows();  // after the save: the kinds saved are those before the windows close
  CloseDloadFile();
  CloseUloadFile();
  QuitRequested = True;
}

}  // namespace korva
