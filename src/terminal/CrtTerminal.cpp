#include "terminal/CrtTerminal.h"

#include <algorithm>

#include "host/Host.h"
#include "serial/Cable.h"

namespace korva {

std::array<ScreenCells, DevicePorts> SavedScreens;
std::array<CrtScreenState, DevicePorts> SavedCrtState;

void CrtHost::Beep() { Host().Beep(); }

void CrtHost::SendToPort(int16_t port, const uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) Cable.RX(port, bytes[i]);
}

void CrtHost::FlushPortQueue(int16_t port) { Cable.FlushQueue(port); }

void CrtHost::SetPortBreak(int16_t port, VBool on) { Cable.Break(port, on); }

namespace {
CrtHost silentHost;

int16_t ClampI16(int32_t v, int16_t lo, int16_t hi) { return static_cast<int16_t>(std::clamp<int32_t>(v, lo, hi)); }
}  // namespace

classCrtTerminal::classCrtTerminal(int16_t port, CrtHost* host) : host_(host ? host : &silentHost) {
  PortNumber(port);
  for (int i = 0; i < CellLines; ++i) rows_[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  TakeSizeFromDefinition();
}

void classCrtTerminal::PortNumber(int16_t port) { port_ = (port >= 0 && port < DevicePorts) ? port : 0; }

void classCrtTerminal::SetHost(CrtHost* host) { host_ = host ? host : &silentHost; }

void classCrtTerminal::TakeSizeFromDefinition() {
  const CrtDefinition& d = Def();
  const bool valid = d.Lines >= 1 && d.Lines <= CrtMaxLines && d.Columns >= 1 && d.Columns <= CrtMaxColumns;
  MaxLine = valid ? static_cast<int16_t>(d.Lines - 1) : -1;
  MaxColumn = valid ? static_cast<int16_t>(d.Columns - 1) : -1;
}

// ---- Painting reports.

void classCrtTerminal::BeginRepaintBatch() { ++batch_; }

void classCrtTerminal::EndRepaintBatch() {
  if (batch_ > 0 && --batch_ == 0 && batchDirty_) {
    batchDirty_ = false;
    host_->RegionChanged(static_cast<int16_t>(batchLine1_), static_cast<int16_t>(batchLine2_),
                         static_cast<int16_t>(batchColumn1_), static_cast<int16_t>(batchColumn2_));
  }
}

void classCrtTerminal::Repaint(int line1, int line2, int column1, int column2) {
  line1 = std::max(line1, 0);
  column1 = std::max(column1, 0);
  line2 = std::min<int>(line2, MaxLine);
  column2 = std::min<int>(column2, MaxColumn);
  if (line1 > line2 || column1 > column2) return;
  if (batch_) {
    if (!batchDirty_) {
      batchDirty_ = true;
      batchLine1_ = line1, batchLine2_ = line2, batchColumn1_ = column1, batchColumn2_ = column2;
    } else {
      batchLine1_ = std::min(batchLine1_, line1), batchLine2_ = std::max(batchLine2_, line2);
      batchColumn1_ = std::min(batchColumn1_, column1), batchColumn2_ = std::max(batchColumn2_, column2);
    }
    return;
  }
  host_->RegionChanged(static_cast<int16_t>(line1), static_cast<int16_t>(line2), static_cast<int16_t>(column1),
                       static_cast<int16_t>(column2));
}

void classCrtTerminal::DrawCell(int column, int line) {
  if (!Visible(column, line)) return;
  if (batch_) return Repaint(line, line, column, column);
  host_->CellChanged(static_cast<int16_t>(column), static_cast<int16_t>(line));
}

void classCrtTerminal::RepaintRegion(int16_t line1, int16_t line2, int16_t column1, int16_t column2) {
  Repaint(line1 == -1 ? 0 : line1, line2 == -1 ? MaxLine : line2, column1 == -1 ? 0 : column1,
          column2 == -1 ? MaxColumn : column2);
}

// ---- The cursor mark: kept as a position, so that marking touches two cells.

void classCrtTerminal::RemoveMark() {
  if (markLine_ < 0) return;
  ScreenCell& cell = Cell(markColumn_, markLine_);
  if (cell.Attr & CellAttr::CursorMark) {
    cell.Attr &= ~CellAttr::CursorMark;
    DrawCell(markColumn_, markLine_);
  }
  markLine_ = markColumn_ = -1;
}

void classCrtTerminal::MarkCursor() {
  RemoveMark();
  if (!Visible(CursorColumn, CursorLine)) return;
  Cell(CursorColumn, CursorLine).Attr |= CellAttr::CursorMark;
  markLine_ = CursorLine;
  markColumn_ = CursorColumn;
  DrawCell(CursorColumn, CursorLine);
}

// ---- Attribute and print.

uint32_t classCrtTerminal::CurrentAttribute() const {
  const CrtDefinition& d = Def();
  uint32_t a = static_cast<uint32_t>(d.TextColor & 7) + (TextHI ? 8u : 0u);
  a += 16u * (static_cast<uint32_t>(d.BackColor & 7) + (BackHI ? 8u : 0u));
  if (Inverse) a |= CellAttr::Inverse;
  if (Underline) a |= CellAttr::Underline;
  if (Strike) a |= CellAttr::Strike;
  if (Bold) a |= CellAttr::Bold;
  if (Italic) a |= CellAttr::Italic;
  return a;
}

void classCrtTerminal::PutChar(uint8_t c) {
  if (!Visible(CursorColumn, CursorLine)) return;
  if (Def().Insert) InsertChars(1);
  ScreenCell& cell = Cell(CursorColumn, CursorLine);
  cell.Char = c;
  cell.Attr = CurrentAttribute();
  DrawCell(CursorColumn, CursorLine);
  CursorRight();
}

// ---- Cursor movements.

void classCrtTerminal::CursorUpNoScroll() {
  if (CursorLine > 0) --CursorLine;
}

void classCrtTerminal::CursorUpScroll() {
  if (CursorLine <= 0)
    ScrollDown();
  else
    --CursorLine;
}

void classCrtTerminal::CursorUp() {
  if (CursorLine > 0)
    --CursorLine;
  else if (!Def().ScrollLock)
    ScrollDown();
  else
    CursorLine = MaxLine;
}

void classCrtTerminal::CursorDownNoScroll() {
  if (CursorLine < MaxLine) ++CursorLine;
}

void classCrtTerminal::CursorDownScroll() {
  if (CursorLine >= MaxLine)
    ScrollUp();
  else
    ++CursorLine;
}

void classCrtTerminal::CCursorDown() {
  if (CursorLine < MaxLine)
    ++CursorLine;
  else if (!Def().ScrollLock)
    ScrollUp();
}

void classCrtTerminal::CursorLeftNoWrap() {
  if (CursorColumn > 0) --CursorColumn;
}

void classCrtTerminal::CursorLeftWrap() {
  if (CursorColumn > 0) {
    --CursorColumn;
    return;
  }
  if (CursorLine > 0) CursorColumn = MaxColumn;
  CursorUpNoScroll();
}

void classCrtTerminal::CursorLeft() {
  if (CursorColumn > 0)
    --CursorColumn;
  else if (!Def().NoWrap)
    CursorLeftWrap();
}

void classCrtTerminal::CursorRightNoWrap() {
  if (CursorColumn < MaxColumn) ++CursorColumn;
}

void classCrtTerminal::CursorRightWrap() {
  if (CursorColumn >= MaxColumn) {
    CCursorDown();
    CursorColumn = 0;
  } else {
    ++CursorColumn;
  }
}

void classCrtTerminal::CursorRight() {
  if (CursorColumn < MaxColumn) {
    ++CursorColumn;
  } else if (!Def().NoWrap) {
    CCursorDown();
    CursorColumn = 0;
  }
}

// ---- Lines. The rows move as a whole: the line that leaves the screen becomes
// the freed line, so that line keeps its tab stops after blanking.

void classCrtTerminal::RotateRows(int from, int to) {
  auto first = rows_.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else if (from > to)
    std::rotate(first + to, first + from, first + from + 1);
}

void classCrtTerminal::BlankLine(int line, int column) {
  auto& row = cells_[rows_[static_cast<size_t>(line)]];
  for (int c = std::max(column, 0); c <= MaxColumn; ++c) Blank(row[static_cast<size_t>(c)]);
}

void classCrtTerminal::ScrollRegionUp(int16_t last) {
  if (!SizeValid()) return;
  if (last == -1) last = CursorLine;
  last = std::clamp<int16_t>(last, 0, MaxLine);
  RemoveMark();
  RotateRows(0, last);
  BlankLine(last, 0);
  Repaint(0, last, 0, MaxColumn);
}

void classCrtTerminal::ScrollRegionDown(int16_t first) {
  if (!SizeValid()) return;
  if (first == -1) first = CursorLine;
  first = std::clamp<int16_t>(first, 0, MaxLine);
  RemoveMark();
  RotateRows(MaxLine, first);
  BlankLine(first, 0);
  Repaint(first, MaxLine, 0, MaxColumn);
}

void classCrtTerminal::InsertLineAboveScrollDown() {
  ScrollRegionDown(CursorLine);
  CursorColumn = 0;
}

void classCrtTerminal::InsertLineBelowScrollUp() {
  ScrollRegionUp(CursorLine);
  CursorColumn = 0;
}

void classCrtTerminal::DeleteLineScrollUp() {
  if (!SizeValid()) return;
  RemoveMark();
  RotateRows(CursorLine, MaxLine);
  BlankLine(MaxLine, 0);
  Repaint(CursorLine, MaxLine, 0, MaxColumn);
  CursorColumn = 0;
}

void classCrtTerminal::DeleteLineScrollDown() {
  if (!SizeValid()) return;
  RemoveMark();
  RotateRows(CursorLine, 0);  // line 0 takes the overwritten cursor line's tab stops
  BlankLine(0, 0);
  Repaint(0, CursorLine, 0, MaxColumn);
  CursorColumn = 0;
}

// ---- Erasing.

void classCrtTerminal::EraseLineFrom(int16_t line, int16_t column) {
  if (line < 0 || line > MaxLine) return;
  BlankLine(line, column);
  Repaint(line, line, column, MaxColumn);
}

void classCrtTerminal::ClearEOL() { EraseLineFrom(CursorLine, CursorColumn); }

void classCrtTerminal::ClearLine() {
  EraseLineFrom(CursorLine, 0);
  CursorColumn = 0;
}

void classCrtTerminal::ClearEOS() {
  if (!SizeValid()) return;
  BlankLine(CursorLine, CursorColumn);
  for (int l = CursorLine + 1; l <= MaxLine; ++l) BlankLine(l, 0);
  Repaint(CursorLine, MaxLine, 0, MaxColumn);
}

void classCrtTerminal::ClearEOScurrent() {
  CursorColumn = 0;
  for (int l = CursorLine; l <= MaxLine; ++l) BlankLine(l, 0);
  Repaint(CursorLine, MaxLine, 0, MaxColumn);
}

void classCrtTerminal::ClearEOSnext() {
  CursorColumn = 0;
  for (int l = CursorLine + 1; l <= MaxLine; ++l) BlankLine(l, 0);
  Repaint(CursorLine + 1, MaxLine, 0, MaxColumn);
  CursorDownNoScroll();
}

void classCrtTerminal::ClearScreen() {
  for (int l = 0; l <= MaxLine; ++l) BlankLine(l, 0);
  Repaint(0, MaxLine, 0, MaxColumn);
  CursorLine = CursorColumn = 0;
}

void classCrtTerminal::BlankScreen() {
  for (auto& row : cells_)
    for (ScreenCell& c : row) Blank(c);
  markLine_ = markColumn_ = -1;
  Repaint(0, MaxLine, 0, MaxColumn);
}

// ---- Characters on the cursor line. Whole cells move, tab stops included.

void classCrtTerminal::ShiftRight(int count) {
  auto& row = cells_[rows_[static_cast<size_t>(CursorLine)]];
  const int c = CursorColumn;
  std::copy_backward(row.begin() + c, row.begin() + (MaxColumn + 1 - count), row.begin() + MaxColumn + 1);
  for (int i = c + 1; i < c + count; ++i) row[static_cast<size_t>(i)].TabStop = row[static_cast<size_t>(c)].TabStop;
}

void classCrtTerminal::InsertChars(int32_t n) {
  if (!Visible(CursorColumn, CursorLine)) return;
  const int last = std::min<int32_t>(CursorColumn + std::max<int32_t>(n, 0) - 1, MaxColumn);
  const int count = last - CursorColumn + 1;
  if (count > 0) {
    RemoveMark();
    ShiftRight(count);
    for (int c = CursorColumn; c <= last; ++c) Blank(Cell(c, CursorLine));
  }
  Repaint(CursorLine, CursorLine, CursorColumn, MaxColumn);
}

void classCrtTerminal::InsertCharLeft() {
  if (!Visible(CursorColumn, CursorLine)) return;
  const int16_t old = CursorColumn;
  RemoveMark();
  ShiftRight(1);
  CursorRightNoWrap();
  Blank(Cell(old, CursorLine));
  Repaint(CursorLine, CursorLine, old, MaxColumn);
}

void classCrtTerminal::DeleteChar() {
  if (!Visible(CursorColumn, CursorLine)) return;
  RemoveMark();
  auto& row = cells_[rows_[static_cast<size_t>(CursorLine)]];
  std::copy(row.begin() + CursorColumn + 1, row.begin() + MaxColumn + 1, row.begin() + CursorColumn);
  Blank(row[static_cast<size_t>(MaxColumn)]);
  Repaint(CursorLine, CursorLine, CursorColumn, MaxColumn);
}

void classCrtTerminal::DeleteCharLeft() {
  if (CursorColumn == 0) return;
  CursorLeftNoWrap();
  DeleteChar();
}

void classCrtTerminal::EraseChars(int32_t n) {
  if (!Visible(CursorColumn, CursorLine) || n < 1) return;
  const int last = std::min<int32_t>(CursorColumn + n - 1, MaxColumn);
  for (int c = CursorColumn; c <= last; ++c) Blank(Cell(c, CursorLine));
  Repaint(CursorLine, CursorLine, CursorColumn, last);
}

void classCrtTerminal::EraseCharsLeft(int32_t n) {
  if (!Visible(CursorColumn, CursorLine) || CursorColumn == 0 || n < 1) return;
  const int first = std::max<int32_t>(CursorColumn - n, 0);
  for (int c = first; c < CursorColumn; ++c) Blank(Cell(c, CursorLine));
  Repaint(CursorLine, CursorLine, first, CursorColumn - 1);
}

// ---- Tab stops.

void classCrtTerminal::TabForward(bool wrapLines, bool wrapScreen) {
  if (!SizeValid()) return;
  auto stopIn = [this](int line, int from) {
    for (int c = from; c <= MaxColumn; ++c)
      if (Cell(c, line).TabStop) return c;
    return -1;
  };
  auto firstFrom = [&](int line1, int line2) {
    for (int l = line1; l <= line2; ++l)
      if (int c = stopIn(l, 0); c >= 0) {
        CursorLine = static_cast<int16_t>(l);
        CursorColumn = static_cast<int16_t>(c);
        return true;
      }
    return false;
  };
  if (wrapScreen) {
    bool any = false;
    for (int l = 0; l <= MaxLine && !any; ++l) any = stopIn(l, 0) >= 0;
    if (!any) return;
  }
  if (int c = stopIn(CursorLine, CursorColumn + 1); c >= 0) {
    CursorColumn = static_cast<int16_t>(c);
    return;
  }
  if (!wrapLines) return;
  if (firstFrom(CursorLine + 1, MaxLine)) return;
  if (wrapScreen) firstFrom(0, MaxLine);
}

void classCrtTerminal::TabBackward(bool wrapLines, bool wrapScreen) {
  if (!SizeValid()) return;
  auto stopIn = [this](int line, int from) {
    for (int c = std::min<int>(from, MaxColumn); c >= 0; --c)
      if (Cell(c, line).TabStop) return c;
    return -1;
  };
  auto lastFrom = [&](int line1, int line2) {  // line1 >= line2, searched upward
    for (int l = line1; l >= line2; --l)
      if (int c = stopIn(l, MaxColumn); c >= 0) {
        CursorLine = static_cast<int16_t>(l);
        CursorColumn = static_cast<int16_t>(c);
        return true;
      }
    return false;
  };
  if (int c = stopIn(CursorLine, CursorColumn - 1); c >= 0) {
    CursorColumn = static_cast<int16_t>(c);
    return;
  }
  if (!wrapLines) return;
  if (lastFrom(CursorLine - 1, 0)) return;
  if (wrapScreen) lastFrom(MaxLine, 0);
}

void classCrtTerminal::TabFill(uint8_t fill) {
  if (!Visible(CursorColumn, CursorLine)) return;
  while (CursorColumn < MaxColumn) {
    if (fill) {
      ScreenCell& cell = Cell(CursorColumn, CursorLine);
      cell.Char = fill;
      cell.Attr = CurrentAttribute();
      DrawCell(CursorColumn, CursorLine);
    }
    ++CursorColumn;
    if (Cell(CursorColumn, CursorLine).TabStop) break;
  }
}

void classCrtTerminal::SetTabStop() {
  if (Visible(CursorColumn, CursorLine)) Cell(CursorColumn, CursorLine).TabStop = True;
}

void classCrtTerminal::ClearTabStop() {
  if (Visible(CursorColumn, CursorLine)) Cell(CursorColumn, CursorLine).TabStop = False;
}

void classCrtTerminal::SetTabStopsPeriodic(int16_t n) {
  const int step = n == 0 ? 4 : std::abs(static_cast<int>(n));
  for (auto& row : cells_)
    for (int c = 0; c < CellColumns; ++c) row[static_cast<size_t>(c)].TabStop = ToVBool(c % step == 0);
}

void classCrtTerminal::ClearAllTabStops() {
  for (auto& row : cells_)
    for (ScreenCell& c : row) c.TabStop = False;
}

// ---- Size. The screen never leaves 1-67 lines by 1-133 columns.

void classCrtTerminal::SetScreenColumns(int32_t n) {
  const int16_t columns = ClampI16(n, 1, CrtMaxColumns);
  CrtDefinition& d = Def();
  if (columns == d.Columns && MaxColumn == columns - 1) return;
  CursorColumn = std::min<int16_t>(CursorColumn, static_cast<int16_t>(columns - 1));
  d.Columns = columns;
  MaxColumn = static_cast<int16_t>(columns - 1);
}

void classCrtTerminal::SetScreenLines(int32_t n) {
  const int16_t lines = ClampI16(n, 1, CrtMaxLines);
  CrtDefinition& d = Def();
  if (lines == d.Lines && MaxLine == lines - 1) return;
  if (MaxLine >= 0 && MaxColumn >= 0) {
    // The cursor line stays on the screen: the lines above it scroll off.
    CursorLine = std::min<int16_t>(CursorLine, MaxLine);
    for (int i = CursorLine + 1 - lines; i > 0; --i) {
      ScrollUp();
      CursorUpNoScroll();
    }
  }
  CursorLine = std::min<int16_t>(CursorLine, static_cast<int16_t>(lines - 1));
  d.Lines = lines;
  MaxLine = static_cast<int16_t>(lines - 1);
}

void classCrtTerminal::ResizeScreen(int32_t columns, int32_t lines) {
  const int16_t c = ClampI16(columns, 1, CrtMaxColumns);
  const int16_t l = ClampI16(lines, 1, CrtMaxLines);
  if (c != MaxColumn + 1 || l != MaxLine + 1 || c != Def().Columns || l != Def().Lines) {
    Host().BeginBusy();
    RemoveMark();
    for (int line = 0; line < CellLines; ++line)
      for (int col = 0; col < CellColumns; ++col)
        if (!Visible(col, line)) Blank(Cell(col, line));
    // One repaint of the whole screen stands for the scrolls of the resize.
    ++batch_;
    SetScreenColumns(c);
    SetScreenLines(l);
    if (--batch_ == 0) batchDirty_ = false;
    Repaint(0, MaxLine, 0, MaxColumn);
    MarkCursor();
    host_->ModesChanged();
    Host().EndBusy();
  }
  host_->ScreenResized(static_cast<int16_t>(MaxColumn + 1), static_cast<int16_t>(MaxLine + 1));
}

// ---- Modes.

void classCrtTerminal::SetASCII(VBool on) {
  Def().Ascii = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetParity(int16_t parity) {
  Def().Parity = parity;
  host_->ModesChanged();
}

void classCrtTerminal::SetANSI(VBool on) {
  Def().ANSI = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetCursorType(int16_t type) {
  Def().CursorType = type;
  host_->ModesChanged();
  if (markLine_ >= 0) DrawCell(markColumn_, markLine_);
}

void classCrtTerminal::SetCursorFront(VBool on) {
  Def().CursorFront = on;
  host_->ModesChanged();
  if (markLine_ >= 0) DrawCell(markColumn_, markLine_);
}

void classCrtTerminal::SetNoWrap(VBool on) {
  Def().NoWrap = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetAutoCR(VBool on) {
  Def().AutoCR = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetAutoLF(VBool on) {
  Def().AutoLF = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetScrollLock(VBool on) { Def().ScrollLock = on; }

void classCrtTerminal::SetInsertMode(VBool on) {
  Def().Insert = on;
  host_->ModesChanged();
}

void classCrtTerminal::SetOnLine(VBool on) {
  OnLine = on;
  Cable.DCD(port_, on ? True : False);
  Cable.CTS(port_, on ? True : False);
  host_->ModesChanged();
}

void classCrtTerminal::InitDefinitions() {
  CrtDefinition& d = Def();
  d.GotoSize = 3;
  d.GotoSizeXY = 1;
  d.GotoOffsetX = 1;
  d.GotoOffsetY = 2;
  d.XYType = 0;
  d.GotoValueOffsetX = 0;
  d.GotoValueOffsetY = 0;
  SetNoWrap(True);
  SetScrollLock(False);
  SetAutoCR(False);
  SetAutoLF(False);
}

// ---- Saved screens.

void classCrtTerminal::SaveScreenState() const {
  ScreenCells& saved = SavedScreens[static_cast<size_t>(port_)];
  for (int l = 0; l < CellLines; ++l) saved[static_cast<size_t>(l)] = cells_[rows_[static_cast<size_t>(l)]];
  CrtScreenState& s = SavedCrtState[static_cast<size_t>(port_)];
  s.CursorColumn = CursorColumn;
  s.CursorLine = CursorLine;
  s.TextHI = TextHI, s.BackHI = BackHI, s.Inverse = Inverse, s.Bold = Bold, s.Strike = Strike;
  s.Underline = Underline, s.Italic = Italic, s.OnLine = OnLine;
  s.FixedFontsOnly = FixedFontsOnly;
  s.CursorColor = CursorColor;
  s.TabSpacing = TabSpacing;
  s.ScreenColors = ScreenColors;
  s.ColorsName = ColorsName;
  s.ColorsCode = ColorsCode;
}

void classCrtTerminal::RestoreScreenState() {
  const ScreenCells& saved = SavedScreens[static_cast<size_t>(port_)];
  for (int l = 0; l < CellLines; ++l) {
    rows_[static_cast<size_t>(l)] = static_cast<uint8_t>(l);
    cells_[static_cast<size_t>(l)] = saved[static_cast<size_t>(l)];
    for (ScreenCell& c : cells_[static_cast<size_t>(l)]) c.Attr &= ~CellAttr::CursorMark;
  }
  markLine_ = markColumn_ = -1;
  const CrtScreenState& s = SavedCrtState[static_cast<size_t>(port_)];
  CursorColumn = ClampI16(s.CursorColumn, 0, std::max<int16_t>(MaxColumn, 0));
  CursorLine = ClampI16(s.CursorLine, 0, std::max<int16_t>(MaxLine, 0));
  TextHI = s.TextHI, BackHI = s.BackHI, Inverse = s.Inverse, Bold = s.Bold, Strike = s.Strike;
  Underline = s.Underline, Italic = s.Italic, OnLine = s.OnLine;
  FixedFontsOnly = s.FixedFontsOnly;
  CursorColor = s.CursorColor;
  TabSpacing = s.TabSpacing;
  ScreenColors = s.ScreenColors;
  ColorsName = s.ColorsName;
  ColorsCode = s.ColorsCode;
  Repaint(0, MaxLine, 0, MaxColumn);
}

// ---- Entry.

void classCrtTerminal::Outchar(uint8_t c) {
  // A screen not yet sized (the window's first load) takes no byte.
  if (!SizeValid()) return;
  if (Def().ANSI)
    AnsiReceive(c);
  else
    AbilitiesReceive(c);
}

}  // namespace korva
