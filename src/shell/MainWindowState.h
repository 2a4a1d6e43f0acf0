// The main window's logic without its widgets: the run controls and their
// states, the lights, the labels, the ticked menu items, the busy pointer, the
// throttles, the timers' ticks and what happens when the window loads and
// unloads. The Qt window (shell/ui/formKorvan) derives from it and redraws the
// parts Refresh names; tests drive it headless.
#pragma once
#include <array>
#include <chrono>
#include <cstdint>
#include <string>

#include "host/Host.h"
#include "host/HostTimer.h"
#include "shell/MainFormHooks.h"
#include "shell/ShellSettings.h"
#include "shell/Throttles.h"
#include "tables/Types.h"

namespace korva {

// The emulated date and time as the screen window's time label shows it,
// refreshed by the one-second tick.
extern std::string EmulatedTimeLabel;

// The main window's one-second timer (IPS, disk light, clock). Never null:
// until the window installs a host timer, a plain one that never ticks stands
// in. The clock's periodic timer is the host's (Host().PeriodicTimer()).
extern HostTimer* TimerOneSec;
void SetOneSecondTimer(HostTimer* timer);  // nullptr restores the plain one

// Host colours 0x00BBGGRR.
constexpr uint32_t FailLightOn = 0x0000FF;
constexpr uint32_t FailLightOff = 0x000080;
constexpr uint32_t DiskLightOff = 0x202020;
constexpr int16_t PointerDefault = 0;
constexpr int16_t PointerHourglass = 11;
constexpr const char* DropFormatNames[6] = {"Generic", "CPM 1", "CPM 2", "CPM 3", "CPM 68k", "VersaDOS"};
constexpr const char* DropFormatCaptions[6] = {"Generic", "CPM 1", "CPM 2", "CPM 3", "CPM 68K", "VersaDOS"};

class MainWindowState : public MainFormHooks {
 public:
  // What the window shows.
  struct View {
    std::string Caption = "Korvan";
    std::string StopRunCaption = "Stop";
    bool PowerOnResetEnabled = true, StopRunEnabled = true, ResetEnabled = true, AbortEnabled = true;
    bool BootItemEnabled[2] = {true, true};  // "BO" and "BH"
    // Fail lights 0-3 ("Halt", "400-C0", "400-C1", "410"), then the disk light.
    std::array<uint32_t, 5> Lights = {FailLightOff, FailLightOff, FailLightOff, FailLightOff, DiskLightOff};
    std::string Version, Ips, Vsc, FrontPanel;
    bool TenBugTicked = false, VmeBugTicked = false;
    std::array<bool, 6> DropFormatTicked = {};
    int16_t MousePointer = PointerDefault;
    std::array<int16_t, ThrottleBarCount> Throttle = {};
  };
  // The parts of the view a change touched.
  enum Part : unsigned {
    PartControls = 1, PartLights = 2, PartLabels = 4, PartMenus = 8, PartPointer = 16, PartThrottles = 32,
    PartCaption = 64
  };
  // Window placement in settings section "Main": WindowState 0 normal, 1 minimised, 2 maximised.
  struct Placement {
    int32_t Top = 0, Left = 0;
    int16_t WindowState = 0;
  };

  MainWindowState();
  ~MainWindowState() override;
  MainWindowState(const MainWindowState&) = delete;
  MainWindowState& operator=(const MainWindowState&) = delete;

  const View& view() const { return view_; }
  bool LongOpActive() const { return longOpActive_; }

  // ---- Called by every subsystem ----
  void ShowKorvan() override;
  void PorGui(VBool enable) override;
  void RunGui(VBool running) override;
  void SetFailLights(int32_t index, VBool on) override;
  void SetDiskLight(uint32_t colour) override;
  void CloseDloadFile() override;
  void CloseUloadFile() override;
  void SetBugType(int16_t n) override;
  void SetAlternateIVS(VBool on, VBool remerge) override;
  void SelectDropFormat(int16_t& code) override;
  void TakesAwhile(VBool stopTimer) override;
  void DelayOver(VBool restoreTimer) override;
  void SetThrottleBar(ThrottleBar bar, int16_t position) override;
  int16_t ThrottleBarPosition(ThrottleBar bar) const override;
  void SetFrontPanelText(const std::string& text) override;

  // ---- Buttons and menu items ----
  void StopRunClick();
  // Power-on reset, reset, abort and the opcode-map rebuild change the machine:
  // inside a bus cycle they wait for the end of the current control-store word.
  void PowerOnResetClick();
  void ResetClick();
  void AbortClick();
  void InitOpMapClick();
  void KbdLockClick();
  void RunMenuClick();   // "GO after BH"
  void StopMenuClick();  // "STOP"
  void ShowDebuggerClick();
  void ResetThrottles();  // "Reset Thottles"
  void VscLabelClick();
  void AlternateIvsClick() { SetAlternateIVS(ToVBool(!AlternateIVS), True); }

  // ---- Timers ----
  void OneSecondTick();

  // ---- Load and unload ----
  // Version, caption, placement from settings section "Main".
  void FormLoad();
  // The end: timers stopped, the clock's section, the settings and the
  // placement saved, the other windows unloaded, the console windows closed,
  // the download and upload files closed, QuitRequested set. Runs once; the
  // window objects are deleted only after the main loop has returned.
  void FormUnload();
  bool Unloaded() const { return unloaded_; }

 protected:
  // Redraw the parts of the view named (a set of Part bits).
  virtual void Refresh(unsigned /*parts*/) {}
  virtual void ProcessEvents();
  virtual void FocusDummy() {}
  virtual void ShowWindow() {}
  virtual Placement CurrentPlacement() const { return placement_; }
  virtual void ApplyPlacement(const Placement& p) { placement_ = p; }
  // The clocks the one-second tick reads (tests replace them).
  virtual std::chrono::steady_clock::time_point SteadyNow() const;
  // The host's present local date and time as the clock keeps dates.
  virtual double HostNow() const { return Host().Now(); }

 private:
  static void LatchedPowerOnReset();
  static void LatchedReset();
  static void LatchedAbort();
  static void LatchedInitOpMap();
  void DoReset(VBool powerOn);

  View view_;
  Placement placement_;
  bool longOpActive_ = false;
  int16_t savedMousePointer_ = PointerDefault;
  bool savedPeriodicEnabled_ = false;
  bool unloaded_ = false;
  bool tickClockStarted_ = false;
  std::chrono::steady_clock::time_point lastTick_{};
};

}  // namespace korva
