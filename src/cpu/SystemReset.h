// System and power-on reset: the device reset order, the I/O-channel reset shared
// with the RESET instruction, the clearing of the screen's cursor layers and the
// reset micro-routine that loads the stack pointer and program counter.
#pragma once
#include <cstdint>
#include "tables/Types.h"

namespace korva {

// One pixel of the machine's screen: the four layers the screen window combines.
struct ScreenPixel {
  uint32_t TextRGB;
  uint32_t TextCursorRGB;
  uint32_t GraphRGB;
  uint32_t GraphCursorRGB;
};
constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
// Pixel (x, y) is element y * ScreenWidth + x.
extern ScreenPixel ScreenBuffer[ScreenWidth * ScreenHeight];

// Graphics-cursor registers of the system control module and the cursors drawn.
extern uint16_t ScmHGCursor, ScmVGCursor;
extern uint16_t HGCursorRow;     // drawn graphics-cursor row, 4095 = none
extern uint16_t VGCursorColumn;  // drawn graphics-cursor column, 4095 = none
extern uint16_t TextCursorPos;   // cell of the drawn text cursor, 65535 = none

// Reset of the whole machine (the main window's power-on reset and reset buttons):
// devices, breakpoint skips, then the processor restarts at the reset micro-routine.
void SystemReset(VBool powerOn);
// The device part of a reset, in the board's order.
void ResetDevices(VBool powerOn);
// I/O-channel interrupt sources and the VMEbus boards (system control module reset
// and the RESET instruction).
void ResetIoChannel();
// Clear the cursor layers and forget the drawn cursors; the text and graphics
// layers are kept.
void ClearGraphicsBuffer();
// SR := 0x2700 (supervisor, no trace, mask 7), VBR := 0.
void mcrResetSR();

}  // namespace korva
