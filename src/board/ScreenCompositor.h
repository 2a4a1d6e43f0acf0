// The machine's console screen as the core keeps it: 800 x 600 pixels of four
// colour layers (text, text cursor, graphics, graphics cursor), the merge of the
// layers into the picture, the text cells drawn from display RAM and the
// character generator, the graphics layer fed by the three colour planes, and
// the text and graphics cursors.
//
// Colours are 0x00BBGGRR (red 0x0000FF, green 0x00FF00, blue 0xFF0000); to
// invert a colour is (NOT value) AND 0xFFFFFF. The merged picture lives in
// ScreenImage; a window copies the rectangle TakeDirtyRect reports and converts
// colours only there.
#pragma once
#include <cstdint>
#include "board/BoardSettings.h"
#include "tables/FixedTables.h"
#include "tables/Types.h"

namespace korva {

// One screen pixel: the four layers the picture is merged from.
struct ScreenPixel {
  uint32_t TextRGB;         // glyph foreground and background
  uint32_t TextCursorRGB;   // 0 or 0xFFFFFF, XORed onto the text
  uint32_t GraphRGB;        // one fully-on or off channel per colour plane
  uint32_t GraphCursorRGB;  // 0 or 0xFFFFFF, XORed onto the graphics
};
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
constexpr int ScreenPixels = ScreenWidth * ScreenHeight;

// Pixel (x, y) is element y * ScreenWidth + x of both arrays.
extern ScreenPixel ScreenBuffer[ScreenPixels];
extern uint32_t ScreenImage[ScreenPixels];  // the merged picture, 0x00BBGGRR

// Screen state shared with the system control module and the CRT controller.
extern uint8_t CursorMode;        // CRT controller R10 bits 6-5; 1 hides the text cursor
extern uint16_t TextCursorPos;    // cell of the drawn text cursor, 65535 = none
extern uint16_t HGCursorRow;      // line value of the drawn horizontal graphics cursor, 4095 = none
extern uint16_t VGCursorColumn;   // column of the drawn vertical graphics cursor, 4095 = none
extern VBool ScreenRedrawHeld;    // while set, the whole-screen redraws return at once
extern uint32_t ScreenBackColor;     // background of the drawing area (0 or 0xFFFFFF)

struct MergeParams;

struct DirtyRect {
  int Left, Top, Right, Bottom;  // inclusive; Right < Left when nothing changed
  bool Empty() const { return Right < Left; }
};

class classScreenCompositor {
 public:
  void SetScreenBackGround(uint32_t pColor);

  // Regenerate the graphics layer by rewriting the planes of the current layout.
  void RedrawGraphics();
  // Merge every pixel again.
  void ReMergeScreen();
  void MergePixel(int x, int y);

  // The graphics layer at a plane position: row y in the 600-line layout, rows
  // 2y and 2y + 1 in the 300-line one. Positions whose screen row would be 600 or
  // more are not drawn and read 0.
  void SetGraphPixel(int x, int y, uint32_t colour);
  uint32_t GetGraphPixel(int x, int y) const;
  // 16 plane pixels from one plane word (bit 15 first) or 8 from one byte.
  void SetGreenWord(uint32_t pWordOff, uint16_t pData);
  void SetBlueWord(uint32_t pWordOff, uint16_t pData);
  void SetRedWord(uint32_t pWordOff, uint16_t pData);
  void SetGreenByte(uint32_t pByteOff, uint8_t pData);
  void SetBlueByte(uint32_t pByteOff, uint8_t pData);
  void SetRedByte(uint32_t pByteOff, uint8_t pData);

  // Draw text cell pIndex of display RAM in the current text mode.
  void DisplayCharacterOnScreen(uint32_t pIndex);

  // Text cursor: move it, or remove it returning where it was (65535 = none).
  void DoCursor(uint16_t pNewPos);
  uint16_t DeleteCursor();
  // Graphics cursors: move to a column / line value (4095 removes), or remove
  // returning where they were (4095 = none).
  void DrawVGC(uint16_t column);
  void DrawHGC(uint16_t row);
  uint16_t DeleteHGCursor();
  uint16_t DeleteVGCursor();

  // The rectangle of ScreenImage changed since the last call; clears it.
  DirtyRect TakeDirtyRect();
  const DirtyRect& Dirty() const { return dirty_; }

 private:
  friend void ClearGraphicsBuffer();
  bool SetTextPixel(int i, uint32_t colour, const MergeParams& m);
  void SetTextCursorPixel(int x, int y, uint32_t colour);
  void DrawTextCursor(uint32_t cell, uint32_t colour);
  void DrawCursorShape(int x, int top, int rowScale, uint32_t colour);
  void DrawCharacter(int x, int top, int rowScale, uint8_t code, uint8_t attribute);
  template <uint32_t Channel>
  void SetPlanePixels(uint32_t firstPixel, uint32_t data, int count);
  void InvertHGCRow(int screenRow);
  void InvertVGCColumn(int column);
  void Plot(int index, uint32_t colour);
  void ExtendDirty(int left, int top, int right, int bottom);

  DirtyRect dirty_{0, 0, -1, -1};
  int hgcScreenRow_ = -1;  // screen row the horizontal cursor was drawn on, -1 = none
};

extern classScreenCompositor Screen;

// Colour of a text cell's foreground from its attribute byte, and the attribute's
// reverse bit applied to a colour.
uint32_t AttributeColor(uint8_t attribute);
uint32_t ApplyInverse(uint8_t attribute, uint32_t colour);

// Clear both cursor layers and forget every drawn cursor (the graphics cursor
// registers read 0 again) without merging anything.
void ClearGraphicsBuffer();

// Every screen global to its start-up value, every layer and the picture to 0.
void InitScreenState();

}  // namespace korva
