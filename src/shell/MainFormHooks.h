// What the core asks of the main window: lights, run-state captions, long
// operation brackets, the settings it holds and the plug indicators. The core calls it through the
// slot MainForm, which is never null: until the main window attaches, a silent
// instance answers and does nothing (it processes no events either).
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

// The main window's five throttle bars.
enum class ThrottleBar : int16_t { vscThrottle, vscSN2661, vscMVME400, vscRWIN, vscDisplay };
constexpr int ThrottleBarCount = 5;

class MainFormHooks {
 public:
  virtual ~MainFormHooks() = default;
  // Shows the main window (once, at start-up).
  virtual void ShowKorvan() {}
  // Power-on reset button enabled; stop/run, reset and abort enabled as enable;
  // the boot menu items disabled when enable is false.
  virtual void PorGui(VBool /*enable*/) {}
  // Stop/run caption "Stop" while running, else "Run"; then events are processed.
  virtual void RunGui(VBool /*running*/) {}
  // Fail light index 0-3 red when on, dark red when off; other indexes ignored.
  virtual void SetFailLights(int32_t /*index*/, VBool /*on*/) {}
  // Disk activity light, colour 0x00BBGGRR (the top byte is ignored).
  virtual void SetDiskLight(uint32_t /*colour*/) {}
  // Close (and flush) the download / upload host files when they are open.
  virtual void CloseDloadFile() {}
  virtual void CloseUloadFile() {}
  // Bracket a long operation: hourglass, periodic timer held when asked, events processed.
  virtual void TakesAwhile(VBool /*stopTimer*/) {}
  virtual void DelayOver(VBool /*restoreTimer*/) {}
  // True when some loaded window's caption begins with text (case ignored);
  // the Qt window answers with FindWindowByCaption (shell/ui/WindowHelpers.h).
  virtual VBool FindFormByCaption(const std::string& /*text*/) { return False; }

  // Settings the start-up load hands to the window.
  // Ticks the monitor item: 0 TENbug, 1 VMEbug.
  virtual void SetBugType(int16_t /*n*/) {}
  // Ticks the drop-format item and stores the code in DropFormat; a code
  // outside 0-5 becomes 4. The window's override calls this one.
  virtual void SelectDropFormat(int16_t& code);
  // The screen's inverse-video merge follows on; remerge redraws the screen.
  virtual void SetAlternateIVS(VBool /*on*/, VBool /*remerge*/) {}
  // Position 0-15 of a throttle bar. Setting it applies the throttle as the
  // bar's change does. Without a window the positions are only kept.
  virtual void SetThrottleBar(ThrottleBar bar, int16_t position) {
    throttleBars_[static_cast<int>(bar)] = position;
  }
  virtual int16_t ThrottleBarPosition(ThrottleBar bar) const { return throttleBars_[static_cast<int>(bar)]; }

  // Plug indicators.
  virtual void ShowDropzone(VBool /*plugged*/) {}            // drop-zone picture box
  virtual void EnableUploadDownload(VBool /*plugged*/) {}    // upload and download menu commands
  // Board indicator n: 1 serial card 0, 2 serial card 1, 3 parallel card.
  virtual void ShowBoardIndicator(int16_t /*n*/, VBool /*plugged*/) {}
  virtual void ShowFrontPanel(VBool /*plugged*/) {}          // front-panel label and its companion
  // Front-panel display text (two hexadecimal digits, or "" when blanked).
  virtual void SetFrontPanelText(const std::string& /*text*/) {}

 private:
  int16_t throttleBars_[ThrottleBarCount] = {10, 12, 9, 7, 0};
};

extern MainFormHooks* MainForm;  // never null
void SetMainForm(MainFormHooks* form);  // nullptr restores the silent one

// The program's main window is made by this function, installed by the
// program before start-up; start-up calls CreateMainForm at the point where
// the window comes to life (tests leave it unset and keep the silent one).
extern MainFormHooks* (*MainFormFactory)();
void CreateMainForm();

VBool FindFormByCaption(const std::string& text);

}  // namespace korva
