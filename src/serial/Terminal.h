// The TTY console: a scrolling text of what the guest sends on one device port,
// and the keys and pasted text the user sends back into the port's receive
// queue. This is the window's logic (formTerminal); the Qt window
// (serial/ui/formTerminal.h) shows the text, forwards keys, menus and the
// clipboard, and gives the few things only a window has through TerminalView.
//
// Text is kept in the machine's code page (Windows-1252) with CR LF line breaks.
#pragma once
#include <cstdint>
#include <string>

#include "serial/ConsoleWindow.h"

namespace korva {

// What the console asks of its window. Without a view (tests) nothing is shown.
class TerminalView {
 public:
  virtual ~TerminalView() = default;
  virtual void ShowWindow() = 0;  // modeless, in front
  virtual void HideWindow() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // The text changed; the window shows it from the next pump on (one refresh
  // for a burst of bytes).
  virtual void TextChanged() = 0;
  // The stored font: each empty value keeps the window's own.
  virtual void ApplyFont(const std::string& name, const std::string& size, const std::string& bold,
                         const std::string& italic) = 0;
  // "Top", "Left", "Width", "Height" and "WindowState" of the section.
  virtual void LoadPlacement(const std::string& section) = 0;
  virtual void SavePlacement(const std::string& section) = 0;
};

class TerminalConsole : public TerminalConsoleWindow {
 public:
  static constexpr size_t MaxText = 24000;  // characters the text keeps
  static constexpr size_t MaxPaste = 4095;  // characters one paste may send
  static constexpr int KeyPause = 19;       // key code of the Pause key
  // Shift mask of the key events.
  static constexpr int ShiftKey = 1, CtrlKey = 2, AltKey = 4;

  explicit TerminalConsole(TerminalView* view = nullptr) : view_(view) {}
  void SetView(TerminalView* view) { view_ = view; }

  // ---- ConsoleWindow
  int16_t PortNumber() const override { return PortNumber_; }
  void PortNumber(int16_t port) override { PortNumber_ = port; }
  // Shows one byte sent by the guest. Never waits: only the text changes here.
  void Outchar(uint8_t byte) override;
  // Loads the console when it is not loaded, shows it, raises the port's lines.
  void OpenTerminal(int16_t port, int16_t showMode) override;
  // Drops the port's lines and unloads the console.
  void CloseTerminal() override;

  // ---- Load and unload (the window's close box calls Unload).
  void Load();
  // A port still of kind TTY drops its lines, becomes None and loses its entry;
  // the options and placement are saved; the window hides.
  void Unload();
  bool Loaded() const { return loaded_; }

  // ---- Keys: the window hands every key to the console first.
  void KeyDown(int keyCode, int shiftMask);
  void KeyUp(int keyCode, int shiftMask);
  void KeyPress(uint8_t code);  // a typed character (Windows-1252)
  // "Paste as Input": text in Windows-1252.
  void PasteInput(const std::string& text);

  // ---- Menu actions.
  void Clear();                    // "Clear"
  void SetTabs();                  // "Set Tabs ..."
  void CustomLineLength();         // "Custom Line Length ..."
  void ToggleOnLine();             // "On Line" / "Off Line"
  void FlushQueue();               // "Flush Queue"
  void SaveFont(const std::string& name, int32_t size, bool bold, bool italic);  // "Font ..." answered
  void SetOnLine(bool state);
  void SetASCII(bool state);
  void SetParity(int16_t mode);
  void SetNewlineIs(int16_t value);
  uint8_t ApplyParity(uint8_t byte) const;

  // ---- State.
  const std::string& Text() const { return text_; }
  // Counts the changes of the text that were not appends (a cut at the front,
  // a backspace, Clear): a view that shows a prefix may append the rest while
  // this stays the same.
  uint64_t Rewrites() const { return rewrites_; }
  std::string SectionName() const { return "TTY" + std::to_string(PortNumber_); }
  std::string Caption() const;
  const std::string& OnLineCaption() const { return onLineCaption_; }

  bool Ascii = false;      // 7-bit: received and typed bytes masked to 7 bits
  int16_t Parity = 0;      // put on typed bytes in 7-bit mode: 0 Zero, 1 One, 2 Even, 3 Odd
  int16_t NewlineIs = 1;   // the byte that starts a new line: 0 CR, 1 LF
  int16_t TabSpacing = 8;  // 1-132
  bool NoWrap = true;
  int32_t LineLength = 80;
  int32_t Column = 0;       // output column of the current line
  int16_t NewlineRun = 0;   // newlines in a row
  bool CtrlDown = false;    // Ctrl held at the last key down
  // The three unstored marks: "Show Control Characters", "In Hex", "Remove Extra CRLFs".
  bool ShowCNTR = false, InHex = false, RipCRLFs = false;

 private:
  void AppendTerminalText(const std::string& text);
  void Newline(bool mayBeSuppressed);
  void Changed();

  TerminalView* view_;
  int16_t PortNumber_ = 0;
  bool loaded_ = false;
  std::string text_;
  uint64_t rewrites_ = 0;
  std::string onLineCaption_ = "On Line";
};

}  // namespace korva
