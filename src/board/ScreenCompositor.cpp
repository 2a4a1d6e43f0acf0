#include "board/ScreenCompositor.h"
#include <cstring>
#include "board/SCM.h"
#include "bus/Memory.h"
#include "shell/MainFormHooks.h"

namespace korva {

ScreenPixel ScreenBuffer[ScreenPixels];
uint32_t ScreenImage[ScreenPixels];
uint8_t CursorMode = 0;
uint16_t TextCursorPos = 65535;
uint16_t HGCursorRow = 4095;
uint16_t VGCursorColumn = 4095;
VBool ScreenRedrawHeld = False;
uint32_t ScreenBackColor = 0;

classScreenCompositor Screen;

// What the merge of one pixel depends on, taken from the module's flags once
// per merge.
struct MergeParams {
  uint32_t TextMask;   // text channels not disabled
  uint32_t GraphMask;  // graphics channels enabled
  uint32_t TcMask;     // 0 while the text cursor is hidden
  uint32_t Inv;        // 0xFFFFFF under inverse video
  unsigned Mode;       // ScreenMergeMode 0-7
  bool Mono;           // monochrome rendering through PhosphorPalette
};

namespace {

constexpr uint32_t White = 0xFFFFFF;
constexpr uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;

MergeParams CurrentParams() {
  MergeParams m;
  m.TextMask = White & ~(TextRedOff ? Red : 0) & ~(TextBlueOff ? Blue : 0) & ~(TextGreenOff ? Green : 0);
  m.GraphMask = (GraphRedOn ? Red : 0) | (GraphBlueOn ? Blue : 0) | (GraphGreenOn ? Green : 0);
  m.TcMask = CursorMode == 1 ? 0 : White;
  m.Inv = ScmIVS ? White : 0;
  m.Mode = ScreenMergeMode & 7u;
  m.Mono = SrSW1 != 0;
  return m;
}

// The colour of one pixel in one merge mode. Modes 1 and 3 invert the text only
// and XOR the cursors on afterwards; modes 5-7 invert the whole result.
template <unsigned Mode>
inline uint32_t MergeColour(const ScreenPixel& p, const MergeParams& m) {
  const uint32_t t = p.TextRGB & m.TextMask;
  const uint32_t g = p.GraphRGB & m.GraphMask;
  const uint32_t tc = p.TextCursorRGB & m.TcMask;
  const uint32_t gc = p.GraphCursorRGB;
  if constexpr (Mode == 0) return 0;
  if constexpr (Mode == 1) return (t ^ m.Inv) ^ tc;
  if constexpr (Mode == 2) return g ^ gc;
  if constexpr (Mode == 3) return ((t ^ m.Inv) | g) ^ (gc | tc);
  if constexpr (Mode == 4) return m.Inv;
  if constexpr (Mode == 5) return (t ^ tc) ^ m.Inv;
  if constexpr (Mode == 6) return (g ^ gc) ^ m.Inv;
  if constexpr (Mode == 7) return ((t | g) ^ (gc | tc)) ^ m.Inv;
  return 0;
}

// Monochrome: level 1 for red, 2 for blue, 4 for green, added.
inline uint32_t Phosphor(uint32_t c) {
  const unsigned k = ((c & Red) ? 1u : 0u) | ((c & Blue) ? 2u : 0u) | ((c & Green) ? 4u : 0u);
  return PhosphorPalette[k];
}

template <unsigned Mode, bool Mono>
inline uint32_t Final(const ScreenPixel& p, const MergeParams& m) {
  uint32_t c = MergeColour<Mode>(p, m);
  if constexpr (Mono) c = Phosphor(c);
  return c & White;
}

uint32_t MergeAt(int i, const MergeParams& m) {
  const ScreenPixel& p = ScreenBuffer[i];
  uint32_t c;
  switch (m.Mode) {
    case 0: c = MergeColour<0>(p, m); break;
    case 1: c = MergeColour<1>(p, m); break;
    case 2: c = MergeColour<2>(p, m); break;
    case 3: c = MergeColour<3>(p, m); break;
    case 4: c = MergeColour<4>(p, m); break;
    case 5: c = MergeColour<5>(p, m); break;
    case 6: c = MergeColour<6>(p, m); break;
    default: c = MergeColour<7>(p, m); break;
  }
  if (m.Mono) c = Phosphor(c);
  return c & White;
}

// The whole-screen merge, one loop per mode and rendering.
template <unsigned Mode, bool Mono>
void MergeAll(const MergeParams& m) {
  for (int i = 0; i < ScreenPixels; ++i) ScreenImage[i] = Final<Mode, Mono>(ScreenBuffer[i], m);
}

template <unsigned Mode>
void MergeAllMode(const MergeParams& m) {
  if (m.Mono)
    MergeAll<Mode, true>(m);
  else
    MergeAll<Mode, false>(m);
}

inline bool Layout600() { return ScmGoffset == 0x32 && ScmHires; }

}  // namespace

uint32_t AttributeColor(uint8_t attribute) {
  const uint32_t c = ((attribute & 1) ? Red : 0) | ((attribute & 2) ? Blue : 0) | ((attribute & 4) ? Green : 0);
  return ApplyInverse(attribute, c);
}

uint32_t ApplyInverse(uint8_t attribute, uint32_t colour) { return (attribute & 8) ? (~colour & White) : colour; }

void InitScreenState() {
  std::memset(ScreenBuffer, 0, sizeof ScreenBuffer);
  std::memset(ScreenImage, 0, sizeof ScreenImage);
  ScreenMode = 1;
  CursorMode = 0;
  TextCursorPos = 65535;
  HGCursorRow = VGCursorColumn = 4095;
  ScreenRedrawHeld = False;
  SetGreenPhosphor();
  ScreenBackColor = 0;
  Screen = classScreenCompositor();
}

void ClearGraphicsBuffer() {
  ScmHGCursor = 0;
  ScmVGCursor = 0;
  HGCursorRow = 4095;
  VGCursorColumn = 4095;
  TextCursorPos = 65535;
  Screen.hgcScreenRow_ = -1;
  for (ScreenPixel& p : ScreenBuffer) {
    p.TextCursorRGB = 0;
    p.GraphCursorRGB = 0;
  }
}

// ---- background ----

// The merged pixels cover the whole drawing area, so the background is only
// remembered for the window; the picture is not wiped.
void classScreenCompositor::SetScreenBackGround(uint32_t pColor) { ScreenBackColor = pColor & White; }

// ---- merging ----

void classScreenCompositor::ExtendDirty(int left, int top, int right, int bottom) {
  if (dirty_.Empty()) {
    dirty_ = {left, top, right, bottom};
    return;
  }
  if (left < dirty_.Left) dirty_.Left = left;
  if (right > dirty_.Right) dirty_.Right = right;
  if (top < dirty_.Top) dirty_.Top = top;
  if (bottom > dirty_.Bottom) dirty_.Bottom = bottom;
}

void classScreenCompositor::Plot(int i, uint32_t colour) {
  ScreenImage[i] = colour;
  const int x = i % ScreenWidth, y = i / ScreenWidth;
  ExtendDirty(x, y, x, y);
}

void classScreenCompositor::MergePixel(int x, int y) {
  if (x < 0 || x >= ScreenWidth || y < 0 || y >= ScreenHeight) return;
  const int i = y * ScreenWidth + x;
  Plot(i, MergeAt(i, CurrentParams()));
}

void classScreenCompositor::ReMergeScreen() {
  if (ScreenRedrawHeld) return;
  MainForm->TakesAwhile(True);
  const MergeParams m = CurrentParams();
  switch (m.Mode) {
    case 0: MergeAllMode<0>(m); break;
    case 1: MergeAllMode<1>(m); break;
    case 2: MergeAllMode<2>(m); break;
    case 3: MergeAllMode<3>(m); break;
    case 4: MergeAllMode<4>(m); break;
    case 5: MergeAllMode<5>(m); break;
    case 6: MergeAllMode<6>(m); break;
    default: MergeAllMode<7>(m); break;
  }
  dirty_ = {0, 0, ScreenWidth - 1, ScreenHeight - 1};
  MainForm->DelayOver(True);
}

DirtyRect classScreenCompositor::TakeDirtyRect() {
  const DirtyRect r = dirty_;
  dirty_ = {0, 0, -1, -1};
  return r;
}

// ---- text layer ----

// One text pixel of a cell being drawn: merged when it changes; the caller adds
// the cell to the dirty rectangle. True when it changed.
inline bool classScreenCompositor::SetTextPixel(int i, uint32_t colour, const MergeParams& m) {
  if (ScreenBuffer[i].TextRGB == colour) return false;
  ScreenBuffer[i].TextRGB = colour;
  ScreenImage[i] = MergeAt(i, m);
  return true;
}

void classScreenCompositor::SetTextCursorPixel(int x, int y, uint32_t colour) {
  const int i = y * ScreenWidth + x;
  if (ScreenBuffer[i].TextCursorRGB == colour) return;
  ScreenBuffer[i].TextCursorRGB = colour;
  Plot(i, MergeAt(i, CurrentParams()));
}

// One cell: glyph rows 0-11, each on rowScale screen rows from top; columns 0
// and 9 are background, columns 1-8 the glyph byte from bit 7 down.
void classScreenCompositor::DrawCharacter(int x, int top, int rowScale, uint8_t code, uint8_t attribute) {
  const uint32_t fg = AttributeColor(attribute);
  const uint32_t bg = ApplyInverse(attribute, 0);
  const uint8_t* glyph = &ScmCharGenRam[(code & 0x7F) * 16];
  const MergeParams m = CurrentParams();
  bool changed = false;
  for (int r = 0; r < 12; ++r) {
    const unsigned bits = (r == 10 && (attribute & 0x10)) ? 0xFFu : glyph[r];
    for (int s = 0; s < rowScale; ++s) {
      const int i = (top + r * rowScale + s) * ScreenWidth + x;
      changed |= SetTextPixel(i, bg, m);
      for (int c = 0; c < 8; ++c) changed |= SetTextPixel(i + 1 + c, (bits & (0x80u >> c)) ? fg : bg, m);
      changed |= SetTextPixel(i + 9, bg, m);
    }
  }
  if (changed) ExtendDirty(x, top, x + 9, top + 12 * rowScale - 1);
}

void classScreenCompositor::DisplayCharacterOnScreen(uint32_t pIndex) {
  if (pIndex >= 4000) return;
  const uint16_t cell = ScmDisplayRam[pIndex];
  const uint8_t code = static_cast<uint8_t>(cell);
  uint8_t attribute = static_cast<uint8_t>(cell >> 8);
  if (!(attribute & 0x40)) attribute &= 0x08;
  const int x = 10 * static_cast<int>(pIndex % 80), y = 12 * static_cast<int>(pIndex / 80);
  if (ScreenMode == 1) {
    if (pIndex < 2000) DrawCharacter(x, 2 * y, 2, code, attribute);
  } else if (ScreenMode == 2) {
    DrawCharacter(x, y, 1, code, attribute);
  }
}

// ---- text cursor ----

// The cursor shape of ScmCursorType over a cell 10 pixels wide and 12 * rowScale high.
void classScreenCompositor::DrawCursorShape(int x, int top, int rowScale, uint32_t colour) {
  const int last = top + 12 * rowScale - 1;
  for (int y = top; y <= last; ++y) {
    const bool edgeRow = y == top || y == last;
    switch (ScmCursorType & 3) {
      case 0:  // block
        for (int c = 0; c < 10; ++c) SetTextCursorPixel(x + c, y, colour);
        break;
      case 1:  // underline
        if (y == last)
          for (int c = 0; c < 10; ++c) SetTextCursorPixel(x + c, y, colour);
        break;
      case 2:  // outline
        SetTextCursorPixel(x, y, colour);
        SetTextCursorPixel(x + 9, y, colour);
        if (edgeRow)
          for (int c = 1; c < 9; ++c) SetTextCursorPixel(x + c, y, colour);
        break;
      default:  // bar
        SetTextCursorPixel(x, y, colour);
        break;
    }
  }
}

void classScreenCompositor::DrawTextCursor(uint32_t cell, uint32_t colour) {
  if (cell > 3999) return;
  const int x = 10 * static_cast<int>(cell % 80), y = 12 * static_cast<int>(cell / 80);
  if (ScreenMode == 1) {
    if (cell < 2000) DrawCursorShape(x, 2 * y, 2, colour);
  } else if (ScreenMode == 2) {
    DrawCursorShape(x, y, 1, colour);
  }
}

void classScreenCompositor::DoCursor(uint16_t pNewPos) {
  if (TextCursorPos < 65535) DrawTextCursor(TextCursorPos, 0);
  DrawTextCursor(pNewPos, White);
  TextCursorPos = pNewPos;
}

uint16_t classScreenCompositor::DeleteCursor() {
  if (TextCursorPos >= 65535) return 65535;
  const uint16_t old = TextCursorPos;
  DrawTextCursor(old, 0);
  TextCursorPos = 65535;
  return old;
}

// ---- graphics layer ----

void classScreenCompositor::SetGraphPixel(int x, int y, uint32_t colour) {
  if (x < 0 || x >= ScreenWidth || y < 0) return;
  if (Layout600()) {
    if (y >= ScreenHeight) return;
    const int i = y * ScreenWidth + x;
    if (ScreenBuffer[i].GraphRGB == colour) return;
    ScreenBuffer[i].GraphRGB = colour;
    Plot(i, MergeAt(i, CurrentParams()));
    return;
  }
  if (2 * y + 1 >= ScreenHeight) return;
  const int i = 2 * y * ScreenWidth + x;
  if (ScreenBuffer[i].GraphRGB == colour) return;
  const MergeParams m = CurrentParams();
  ScreenBuffer[i].GraphRGB = colour;
  ScreenBuffer[i + ScreenWidth].GraphRGB = colour;
  Plot(i, MergeAt(i, m));
  Plot(i + ScreenWidth, MergeAt(i + ScreenWidth, m));
}

uint32_t classScreenCompositor::GetGraphPixel(int x, int y) const {
  if (x < 0 || x >= ScreenWidth || y < 0) return 0;
  const int row = Layout600() ? y : 2 * y;
  if (row >= ScreenHeight) return 0;
  return ScreenBuffer[row * ScreenWidth + x].GraphRGB;
}

// count plane pixels from firstPixel, the first one in bit count - 1 of data:
// each sets or clears Channel of its graphics pixel. The pixels of one word or
// byte share a plane row, so the layout and the screen rows are found once.
template <uint32_t Channel>
void classScreenCompositor::SetPlanePixels(uint32_t firstPixel, uint32_t data, int count) {
  const int y = static_cast<int>(firstPixel / ScreenWidth);
  const int x0 = static_cast<int>(firstPixel % ScreenWidth);
  const bool tall = Layout600();
  const int row = tall ? y : 2 * y;
  if (row + (tall ? 0 : 1) >= ScreenHeight) return;
  const int first = row * ScreenWidth + x0;
  bool haveParams = false;
  MergeParams m{};
  for (int k = 0; k < count; ++k) {
    const int i = first + k;
    const uint32_t old = ScreenBuffer[i].GraphRGB;
    const uint32_t now = (data >> (count - 1 - k)) & 1 ? (old | Channel) : (old & (White & ~Channel));
    if (now == old) continue;
    if (!haveParams) {
      m = CurrentParams();
      haveParams = true;
    }
    ScreenBuffer[i].GraphRGB = now;
    ScreenImage[i] = MergeAt(i, m);
    if (!tall) {
      ScreenBuffer[i + ScreenWidth].GraphRGB = now;
      ScreenImage[i + ScreenWidth] = MergeAt(i + ScreenWidth, m);
    }
  }
  if (haveParams) ExtendDirty(x0, row, x0 + count - 1, tall ? row : row + 1);
}

void classScreenCompositor::SetGreenWord(uint32_t o, uint16_t d) { SetPlanePixels<Green>(o * 16, d, 16); }
void classScreenCompositor::SetBlueWord(uint32_t o, uint16_t d) { SetPlanePixels<Blue>(o * 16, d, 16); }
void classScreenCompositor::SetRedWord(uint32_t o, uint16_t d) { SetPlanePixels<Red>(o * 16, d, 16); }
void classScreenCompositor::SetGreenByte(uint32_t o, uint8_t d) { SetPlanePixels<Green>(o * 8, d, 8); }
void classScreenCompositor::SetBlueByte(uint32_t o, uint8_t d) { SetPlanePixels<Blue>(o * 8, d, 8); }
void classScreenCompositor::SetRedByte(uint32_t o, uint8_t d) { SetPlanePixels<Red>(o * 8, d, 8); }

void classScreenCompositor::RedrawGraphics() {
  if (ScreenRedrawHeld) return;
  MainForm->TakesAwhile(True);
  uint32_t green = 0x048000, blue = 0x050000, red = 0x058000, size = 0x7530;
  if (ScmHires && (ScmGoffset == 0x32 || ScmGoffset == 0x00)) {
    green = 0x030000;
    blue = 0x040000;
    red = 0x050000;
    size = ScmGoffset == 0x32 ? 0xEA60 : 0x7530;
  }
  // Each word written back with its own value: the plane devices draw it.
  for (uint32_t b = 0; b < size; b += 2)
    for (uint32_t a : {green + b, blue + b, red + b}) WriteMemory(a, False, CellOf(a).Data, True);
  MainForm->DelayOver(True);
}

// ---- graphics cursors ----

void classScreenCompositor::InvertHGCRow(int screenRow) {
  const MergeParams m = CurrentParams();
  const int first = screenRow * ScreenWidth;
  for (int i = first; i < first + ScreenWidth; ++i) {
    ScreenBuffer[i].GraphCursorRGB = ~ScreenBuffer[i].GraphCursorRGB & White;
    ScreenImage[i] = MergeAt(i, m);
  }
  ExtendDirty(0, screenRow, ScreenWidth - 1, screenRow);
}

void classScreenCompositor::InvertVGCColumn(int column) {
  const MergeParams m = CurrentParams();
  for (int i = column; i < ScreenPixels; i += ScreenWidth) {
    ScreenBuffer[i].GraphCursorRGB = ~ScreenBuffer[i].GraphCursorRGB & White;
    ScreenImage[i] = MergeAt(i, m);
  }
  ExtendDirty(column, 0, column, ScreenHeight - 1);
}

void classScreenCompositor::DrawVGC(uint16_t column) {
  if (VGCursorColumn < ScreenWidth) InvertVGCColumn(VGCursorColumn);
  if (column < ScreenWidth) InvertVGCColumn(column);
  VGCursorColumn = column;
}

uint16_t classScreenCompositor::DeleteVGCursor() {
  if (VGCursorColumn >= ScreenWidth) return 4095;
  const uint16_t old = VGCursorColumn;
  DrawVGC(4095);
  VGCursorColumn = 4095;
  return old;
}

// The old line is erased on the screen row it was drawn on, whatever the layout
// is now; the new one lands on line r in the 600-line layout, 2r + 1 otherwise.
void classScreenCompositor::DrawHGC(uint16_t row) {
  if (hgcScreenRow_ >= 0) InvertHGCRow(hgcScreenRow_);
  hgcScreenRow_ = -1;
  const int screenRow = Layout600() ? row : 2 * row + 1;
  if (screenRow < ScreenHeight) {
    InvertHGCRow(screenRow);
    hgcScreenRow_ = screenRow;
  }
  HGCursorRow = row;
}

uint16_t classScreenCompositor::DeleteHGCursor() {
  if (hgcScreenRow_ < 0) return 4095;
  InvertHGCRow(hgcScreenRow_);
  hgcScreenRow_ = -1;
  const uint16_t old = HGCursorRow;
  HGCursorRow = 4095;
  return old;
}

}  // namespace korva
