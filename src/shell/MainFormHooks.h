// What the core asks of the main window: lights, run-state captions, long
// operation brackets and the plug indicators. The core calls it through the
// slot MainForm, which is never null: until the main window attaches, a silent
// instance answers and does nothing (it processes no events either).
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

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
  virtual void SetFailLights(int16_t /*index*/, VBool /*on*/) {}
  // Bracket a long operation: hourglass, periodic timer held when asked, events processed.
  virtual void TakesAwhile(VBool /*stopTimer*/) {}
  virtual void DelayOver(VBool /*restoreTimer*/) {}
  // True when some loaded window's caption begins with text (case ignored).
  virtual VBool FindFormByCaption(const std::string& /*text*/) { return False; }

  // Plug indicators.
  virtual void ShowDropzone(VBool /*plugged*/) {}            // drop-zone picture box
  virtual void EnableUploadDownload(VBool /*plugged*/) {}    // upload and download menu commands
  // Board indicator n: 1 serial card 0, 2 serial card 1, 3 parallel card.
  virtual void ShowBoardIndicator(int16_t /*n*/, VBool /*plugged*/) {}
  virtual void ShowFrontPanel(VBool /*plugged*/) {}          // front-panel label and its companion
};

extern MainFormHooks* MainForm;  // never null
void SetMainForm(MainFormHooks* form);  // nullptr restores the silent one

VBool FindFormByCaption(const std::string& text);

}  // namespace korva
