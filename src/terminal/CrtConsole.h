// The CRT console of one device port: the window's logic around the terminal
// engine (classCrtTerminal). It opens and closes the console, runs the start-up
// and shutdown steps with the port's settings (section "CRT" + port), builds the
// title, loads the default definition files and carries out the menu commands.
// The Qt window (terminal/ui/formCRT.h) paints the cells, forwards keys, menus
// and the clipboard, and gives the few things only a window has through CrtView.
//
// Texts are in the machine's code page (Windows-1252).
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "serial/ConsoleWindow.h"
#include "terminal/CrtTerminal.h"

namespace korva {

// What the console asks of its window. Without a view (tests) nothing is shown.
class CrtView {
 public:
  virtual ~CrtView() = default;
  virtual void ShowWindow() = 0;  // modeless, in front
  virtual void HideWindow() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // The captions of the three "Save as Default" items (.fky, .kbd, .tab).
  virtual void SetDefaultFileCaptions(const std::string& fky, const std::string& kbd, const std::string& tab) = 0;
  // The stored font ("" keeps the window's own name or size); measures the cell.
  virtual void ApplyFont(const std::string& name, const std::string& size) = 0;
  // Sizes the window so that its inner area holds columns x lines cells.
  virtual void FitScreen(int16_t columns, int16_t lines) = 0;
  // Cells to paint again (both ends included); painted at the next pump.
  virtual void CellsChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) = 0;
  // Every visible cell, after a change of colours or font.
  virtual void RepaintAll() = 0;
  // A menu tick or caption may have changed.
  virtual void ModesChanged() = 0;
  // "Top", "Left" and "WindowState" of the section: read at load, written at
  // unload ("Top" and "Left" only while the window is in its normal state).
  virtual void LoadPlacement(const std::string& section) = 0;
  virtual void SavePlacement(const std::string& section) = 0;
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
};

// The colour scheme handed to the colours dialog and taken back when accepted.
struct CrtColorScheme {
  std::array<uint32_t, 16> ScreenColors{};
  std::string ColorsName;
  int16_t ColorsCode = 0;
  int16_t CursorType = 0;
  VBool CursorFront = False;
  uint32_t CursorColor = 0;
};

// The dialogs that edit a port's definition and colours. Each window of its own
// registers itself here; an empty hook makes its menu item do nothing.
struct CrtDialogHooks {
  std::function<void(int16_t port)> EditAbilities;       // "Edit Abilities ..."
  std::function<void(int16_t port)> EditKeyDefinitions;  // "Edit Key Definitions ..."
  // The colours dialog, shown modally: true when accepted (the scheme then holds the choice).
  std::function<bool(int16_t port, CrtColorScheme& scheme)> SelectColors;
};
extern CrtDialogHooks CrtDialogs;

// The folder of the default definition files; empty: the program's own folder.
extern std::string CrtDefaultFolder;

class CrtConsole : public CRTConsoleWindow, public CrtHost {
 public:
  static constexpr size_t MaxPaste = 4095;
  explicit CrtConsole(CrtView* view = nullptr);
  void SetView(CrtView* view) { view_ = view; }

  classCrtTerminal& Terminal() { return term_; }
  const classCrtTerminal& Terminal() const { return term_; }
  CrtDefinition& Def() { return term_.Def(); }

  // ---- ConsoleWindow
  int16_t PortNumber() const override { return term_.PortNumber(); }
  void PortNumber(int16_t port) override { term_.PortNumber(port); }
  void Outchar(uint8_t byte) override { term_.Outchar(byte); }
  // Loads the console when it is not loaded, shows it, raises the port's lines.
  void OpenCRT(int16_t port, int16_t showMode) override;
  // Drops the port's lines and unloads the console.
  void CloseCRT() override;
  // The unload shared by the close box, CloseCRT and the console dialog: the
  // screen and state kept for the port, a port still of kind CRT becomes None,
  // the settings written, the window hidden. The lines stay as they are.
  void Unload() override;
  void TXAvailableA() override {}
  void DTRChanged(VBool) override {}
  void RTSChanged(VBool) override {}

  void Load();
  bool Loaded() const { return loaded_; }

  std::string SectionName() const { return "CRT" + std::to_string(PortNumber()); }
  std::string BuildCaption() const;
  // "Default" + port + ext, or "Default" + ext when general, in the default folder.
  std::string DefaultFile(const std::string& ext, bool general) const;

  // ---- Default loaders ("Return to Defaults").
  void LoadDefaultKeys();
  void LoadDefaultFunctionKeys();
  void LoadDefaultAbilities();
  void ReturnToDefaults();

  // ---- Menu commands.
  void ResetTerminal();             // "Reset"
  void LoadFile(char which);        // "Load ..." of 'k' keys, 'f' function keys, 't' abilities
  void SaveFile(char which);        // "Save ..."
  void SaveDefaultFile(char which); // "Save as Default<port>.kbd" ...
  void ClearScreen();               // "Clear Screen"
  void CopyScreen();                // "Copy Screen"
  void PasteInput();                // "Paste as Input"
  void PasteText(const std::string& text);  // the clipboard text in Windows-1252
  void CustomSize();                // "Custom ..."
  void SetTabs();                   // "Set Tabs ..."
  void ClearTabs();                 // "Clear Tabs"
  void ToggleOnLine();              // "On Line" / "Off Line"
  void FlushQueue();                // "Flush Queue"
  void SelectColors();              // "Colors ..."
  void EditAbilities();             // "Edit Abilities ..."
  void EditKeyDefinitions();        // "Edit Key Definitions ..."
  // "Font ..." answered: the font's name and size written.
  void SaveFont(const std::string& name, int32_t size);
  const std::string& OnLineCaption() const { return onLineCaption_; }

  VBool ShowCNTR = False;  // "Show Control Characters": only its tick

  // ---- CrtHost: the terminal's repaint and mode reports go to the view.
  void CellChanged(int16_t column, int16_t line) override;
  void RegionChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) override;
  void ScreenResized(int16_t columns, int16_t lines) override;
  void ModesChanged() override;

 private:
  void SetOnLine(bool on);
  void ReadFirstLoadColours(const std::string& section);
  void RefreshCaption();

  CrtView* view_;
  classCrtTerminal term_;
  bool loaded_ = false;
  std::string onLineCaption_ = "On Line";
};

}  // namespace korva
