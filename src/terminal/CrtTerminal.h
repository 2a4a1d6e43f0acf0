// The CRT terminal of one device port, headless: the screen of cells, the
// cursor and the current attribute, the screen operations that the two receivers
// use, the mode setters, the receivers themselves and the keyboard encoding. The
// CRT window paints from it and forwards keys to it; it reaches the window only
// through CrtHost.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "terminal/CrtDefinition.h"
#include "tables/Types.h"

namespace korva {

// One character cell.
struct ScreenCell {
  uint8_t Char = 32;
  uint32_t Attr = 7;
  VBool TabStop = False;
};

// The bits of ScreenCell::Attr above the two colour nibbles
// (bits 0-3 text palette index, 4-7 background palette index).
namespace CellAttr {
constexpr uint32_t Inverse = 0x100;
constexpr uint32_t CursorMark = 0x200;
constexpr uint32_t Underline = 0x1000;
constexpr uint32_t Strike = 0x2000;
constexpr uint32_t Bold = 0x4000;
constexpr uint32_t Italic = 0x8000;
}  // namespace CellAttr

constexpr int CellLines = 68;    // lines 0-67 of Cells
constexpr int CellColumns = 134; // columns 0-133
using ScreenCells = std::array<std::array<ScreenCell, CellColumns>, CellLines>;

// What a CRT window shows and keeps beside its cells, kept per port between two
// windows of the same run.
struct CrtScreenState {
  int16_t CursorColumn = 0, CursorLine = 0;
  VBool TextHI = False, BackHI = False, Inverse = False, Bold = False, Strike = False, Underline = False,
        Italic = False, OnLine = False;
  VBool FixedFontsOnly = False;
  uint32_t CursorColor = 0;
  int16_t TabSpacing = 0;
  std::array<uint32_t, 16> ScreenColors{};
  std::string ColorsName;
  int16_t ColorsCode = 0;
};

// Per port, for the whole run: the cells (in screen order) and the state of the
// port's last window.
extern std::array<ScreenCells, DevicePorts> SavedScreens;
extern std::array<CrtScreenState, DevicePorts> SavedCrtState;

// The window behind a terminal. Every member has a default, so a terminal runs
// headless. Positions are visible ones: lines 0-MaxLine, columns 0-MaxColumn.
class CrtHost {
 public:
  virtual ~CrtHost() = default;
  // One cell has changed and needs painting.
  virtual void CellChanged(int16_t column, int16_t line) {
    (void)column;
    (void)line;
  }
  // Lines line1-line2, columns column1-column2 have changed (both ends included).
  virtual void RegionChanged(int16_t line1, int16_t line2, int16_t column1, int16_t column2) {
    (void)line1, (void)line2, (void)column1, (void)column2;
  }
  // The bell. The default sounds the host's beep.
  virtual void Beep();
  // Bytes for the guest, as typed. The default puts them into the port's
  // receive queue of the cable.
  virtual void SendToPort(int16_t port, const uint8_t* bytes, size_t count);
  // Pause: the default empties the port's receive queue of the cable.
  virtual void FlushPortQueue(int16_t port);
  // Pause down and up: the default sets the port's break line of the cable.
  virtual void SetPortBreak(int16_t port, VBool on);
  // The screen size has changed or been confirmed: the window fits its inner
  // area to columns x lines cells.
  virtual void ScreenResized(int16_t columns, int16_t lines) { (void)columns, (void)lines; }
  // A mode shown by a menu tick or caption has changed (7/8 bits, parity, ANSI,
  // cursor type and front, wrap, AutoCR, AutoLF, insert, on line, size).
  virtual void ModesChanged() {}
};

class classCrtTerminal final : public CrtModeSink {
 public:
  explicit classCrtTerminal(int16_t port = 0, CrtHost* host = nullptr);

  int16_t PortNumber() const { return port_; }
  void PortNumber(int16_t port);
  void SetHost(CrtHost* host);
  CrtDefinition& Def() { return CrtDefinitions[static_cast<size_t>(port_)]; }
  const CrtDefinition& Def() const { return CrtDefinitions[static_cast<size_t>(port_)]; }

  // ---- The screen.
  const ScreenCell& Cell(int column, int line) const { return cells_[rows_[line]][column]; }
  ScreenCell& Cell(int column, int line) { return cells_[rows_[line]][column]; }
  int16_t MaxLine = -1, MaxColumn = -1;  // Lines - 1 and Columns - 1
  int16_t CursorLine = 0, CursorColumn = 0;
  int16_t SavedLine = 0, SavedColumn = 0;
  VBool TextHI = False, BackHI = False, Inverse = False, Bold = False, Strike = False, Underline = False,
        Italic = False;
  VBool OnLine = False;
  VBool FixedFontsOnly = False;
  int16_t TabSpacing = 0;
  std::array<uint32_t, 16> ScreenColors{};
  uint32_t CursorColor = 0;
  int16_t ColorsCode = 0;
  std::string ColorsName;

  // ---- Entry: one byte received from the port.
  void Outchar(uint8_t c);

  // ---- Mode setters (the window's menus call them too).
  void SetScreenColumns(int32_t n);
  void SetScreenLines(int32_t n);
  void ResizeScreen(int32_t columns, int32_t lines) override;
  void SetASCII(VBool on) override;
  void SetParity(int16_t parity) override;
  void SetANSI(VBool on) override;
  void SetCursorType(int16_t type) override;
  void SetCursorFront(VBool on) override;
  void SetNoWrap(VBool on) override;
  void SetAutoCR(VBool on) override;
  void SetAutoLF(VBool on) override;
  void SetScrollLock(VBool on);
  void SetInsertMode(VBool on);
  // On line raises the port's DCD and CTS on the cable, off line drops them.
  void SetOnLine(VBool on);
  VBool IsOnLine() const { return OnLine; }
  void InitDefinitions();
  void SetTabStopsPeriodic(int16_t n);
  void ClearAllTabStops();
  // MaxLine and MaxColumn from the definition's size (a size outside 1-67 by
  // 1-133 leaves no visible cell until the screen is resized).
  void TakeSizeFromDefinition();

  // ---- Screen operations.
  void CursorUp();
  void CursorUpScroll();
  void CursorUpNoScroll();
  void CCursorDown();
  void CursorDownScroll();
  void CursorDownNoScroll();
  void CursorLeft();
  void CursorLeftWrap();
  void CursorLeftNoWrap();
  void CursorRight();
  void CursorRightWrap();
  void CursorRightNoWrap();
  void ScrollUp() { ScrollRegionUp(MaxLine); }
  void ScrollDown() { ScrollRegionDown(0); }
  void ScrollRegionUp(int16_t last);    // -1: the cursor line
  void ScrollRegionDown(int16_t first); // -1: the cursor line
  void InsertLineAboveScrollDown();
  void InsertLineBelowScrollUp();
  void DeleteLineScrollUp();
  void DeleteLineScrollDown();
  void EraseLineFrom(int16_t line, int16_t column);
  void ClearScreen();
  void ClearEOS();
  void ClearEOSnext();
  void ClearEOScurrent();
  void ClearLine();
  void ClearEOL();
  void InsertChars(int32_t n);
  void InsertCharLeft();
  void DeleteChar();
  void DeleteCharLeft();
  void EraseChars(int32_t n);
  void EraseCharsLeft(int32_t n);
  void TabForward(bool wrapLines, bool wrapScreen);
  void TabBackward(bool wrapLines, bool wrapScreen);
  void TabFill(uint8_t fill);
  void SetTabStop();
  void ClearTabStop();
  void PutChar(uint8_t c);
  uint32_t CurrentAttribute() const;
  void MarkCursor();
  void BlankScreen();
  // -1 stands for 0 (line1, column1), MaxLine (line2) or MaxColumn (column2).
  void RepaintRegion(int16_t line1, int16_t line2, int16_t column1, int16_t column2);

  // ---- The port's saved screen and state (window unload and load).
  void SaveScreenState() const;
  void RestoreScreenState();

  // ---- The abilities interpreter.
  void AbilitiesReceive(uint8_t c);
  // Forgets an escape or ability in progress (the terminal reset).
  void ResetAbilities();
  VBool EscapePending = False;
  uint8_t PendingChar = 0;
  bool AbilityInProgress = false;  // PendingChar holds the character of an ability
  int32_t PendingCount = 0;
  int32_t GotoX = 0, GotoY = 0;

  // ---- The ANSI receiver.
  void AnsiReceive(uint8_t c);
  void AnsiExecute(uint8_t c);
  void AnsiReset();
  static constexpr int AnsiParamCount = 33;
  static constexpr int AnsiCharLimit = 64;
  int16_t AnsiState = 0;
  int16_t AnsiParamState = 0;
  std::array<std::string, AnsiParamCount> AnsiParams{};
  int16_t AnsiParamIndex = 0;
  int16_t AnsiCharCount = 0;

  // ---- The keyboard. KeyDown returns the key code left (0 when consumed).
  int32_t KeyDown(int32_t keyCode, int32_t shiftMask);
  void KeyUp(int32_t keyCode, int32_t shiftMask);
  void KeyPress(int32_t charCode);
  void SendKeyString();
  uint8_t ApplyParity(uint8_t b) const;
  VBool ShiftDown = False, CtrlDown = False, AltDown = False;
  std::string PendingInput;
  int32_t PendingLength = 0;

  // Repaints of the operations between Begin and End are reported as one region.
  void BeginRepaintBatch();
  void EndRepaintBatch();

 private:
  friend class CrtTerminalTest;
  bool Visible(int column, int line) const {
    return line >= 0 && line <= MaxLine && column >= 0 && column <= MaxColumn;
  }
  bool SizeValid() const { return MaxLine >= 0 && MaxColumn >= 0; }
  static void Blank(ScreenCell& c) {
    c.Char = 32;
    c.Attr = 7;
  }
  void DrawCell(int column, int line);
  void Repaint(int line1, int line2, int column1, int column2);
  void RemoveMark();
  // Moves the row at line from to line to, the rows between shifting by one.
  void RotateRows(int from, int to);
  void BlankLine(int line, int column);
  void ShiftRight(int count);
  void AbilityDispatch(int32_t code, uint8_t c);
  void PrintPath(uint8_t c);
  void GotoCustomByte(uint8_t c);
  void Cromemco(uint8_t a);
  bool AnsiStore(uint8_t c);  // false when the sequence was abandoned
  void AnsiNextParam();
  void AnsiFinal(uint8_t c);
  void SetAnsiColor(int32_t& color, int32_t ansi);
  void QueueBytes(const uint8_t* bytes, size_t n);

  int16_t port_ = 0;
  CrtHost* host_;
  ScreenCells cells_{};
  std::array<uint8_t, CellLines> rows_{};  // visible line -> row of cells_
  int16_t markLine_ = -1, markColumn_ = -1;  // where the cursor mark is, -1 none
  int batch_ = 0;
  bool batchDirty_ = false;
  int batchLine1_ = 0, batchLine2_ = 0, batchColumn1_ = 0, batchColumn2_ = 0;
};

// The byte a typed character code gives (the Ctrl rule of serial/TypedBytes.h);
// 8 and 9 only with Ctrl, since the BackSpace and Tab keys send their own
// strings; -1 for none.
int32_t TypedByte(int32_t charCode, bool ctrlDown);

}  // namespace korva
