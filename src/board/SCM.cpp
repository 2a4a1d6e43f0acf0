#include "board/SCM.h"
#include <cstring>
#include "board/Keyboard.h"
#include "board/KeyboardLights.h"
#include "board/ScreenCompositor.h"
#include "board/Uart2661.h"
#include "bus/Exceptions.h"
#include "bus/Memory.h"
#include "bus/Rom.h"
#include "cpu/SystemReset.h"
#include "tables/Helpers.h"

namespace korva {

uint8_t ScmCharGenRam[2048];
uint8_t ScmAttrGenRam[2048];
uint16_t ScmDisplayRam[4096];
uint8_t ScmCR0, ScmCR1, ScmCR2, ScmCR3, ScmCR4, ScmCR5, ScmCR6, ScmGoffset;
uint16_t ScmVGCursor, ScmHGCursor;
uint8_t ScmSR;
VBool TextGreenOff, TextBlueOff, TextRedOff;
VBool ScmCursorBlink, ScmDutyCycle, ScmIVS, ScmIG;
uint8_t ScmCursorType;
VBool ScmHires, GraphGreenOn, GraphBlueOn, GraphRedOn, ScmUnswap, ScmWriteProtect;
uint8_t ScmIL;
uint8_t ScreenMergeMode;
VBool KbdLock, SrSysFail, SrVniAck, SrVmeAv;

classSCM Scm;

namespace {

inline bool Bit(uint8_t v, int n) { return (v >> n) & 1; }

// Entry masked when its active-low mask bit is 0.
inline void MaskWhenClear(int entry, uint8_t v, int bit) { Exceptions.Mask(entry, Bit(v, bit) ? 0 : 0xFFFF); }

// Plane word w of a plane based at word index base.
inline MemoryCell& PlaneCell(uint32_t base, uint32_t w) { return RamArray[(base + w) & RamIndexMask]; }

// Step 4 of a pixel write: the masked planes' bit b of word w follows the colour.
void StorePlaneBits(uint32_t p, uint16_t data) {
  const unsigned mask = (data >> 8) & 7, colour = data & 7;
  const uint32_t w = p / 16;
  const uint16_t bit = static_cast<uint16_t>(1u << (15 - p % 16));
  const uint32_t bases[3] = {RedPlaneBase, BluePlaneBase, GreenPlaneBase};
  for (unsigned k = 0; k < 3; ++k) {
    if (!(mask & (1u << k))) continue;
    MemoryCell& cell = PlaneCell(bases[k], w);
    cell.Data = (colour & (1u << k)) ? static_cast<uint16_t>(cell.Data | bit) : static_cast<uint16_t>(cell.Data & ~bit);
  }
}

void MapForOffset(uint8_t goffset) {
  if (goffset == 0x00) {
    if (ScmHires) MapGraphicsPlanes2(); else MapGraphicsPlanes3();
  } else if (goffset == 0x32) {
    if (ScmHires) MapGraphicsPlanes1(); else MapGraphicsPlanes3();
  }
}

}  // namespace

classSCM::classSCM() {
  PresetScmRegisters(true);
  PresetScmRegisters(false);
}

void InitScmState() {
  std::memset(ScmCharGenRam, 0, sizeof ScmCharGenRam);
  std::memset(ScmAttrGenRam, 0, sizeof ScmAttrGenRam);
  std::memset(ScmDisplayRam, 0, sizeof ScmDisplayRam);
  ScmVGCursor = ScmHGCursor = 0;
  ScmSR = 0;
  TextGreenOff = TextBlueOff = TextRedOff = False;
  ScmCursorBlink = ScmDutyCycle = ScmIVS = ScmIG = False;
  ScmCursorType = 0;
  ScmHires = GraphGreenOn = GraphBlueOn = GraphRedOn = ScmUnswap = ScmWriteProtect = False;
  ScmIL = 0;
  ScreenMergeMode = 0;
  SrSW2 = SrSW1 = SrSW0 = KbdLock = SrSysFail = SrVniAck = SrVmeAv = False;
  SrIOchEN = True;
  ScmMan = False;
  Scm = classSCM();
}

void classSCM::PresetScmRegisters(bool cr1Only) {
  if (cr1Only) {
    ScmCR1 = 0xFF;
    return;
  }
  ScmCR0 = ScmCR2 = ScmCR3 = ScmCR4 = ScmCR5 = ScmCR6 = ScmGoffset = 0xFF;
}

void classSCM::DisplayRam(uint32_t index, uint16_t v) {
  ScmDisplayRam[index & 0xFFF] = v;
  Screen.DisplayCharacterOnScreen(index & 0xFFF);
}

uint16_t classSCM::PixelRam(uint32_t p) const {
  const uint32_t w = p / 16;
  const uint16_t bit = static_cast<uint16_t>(1u << (15 - p % 16));
  uint16_t v = 0xFF00;
  if (PlaneCell(RedPlaneBase, w).Data & bit) v |= 1;
  if (PlaneCell(BluePlaneBase, w).Data & bit) v |= 2;
  if (PlaneCell(GreenPlaneBase, w).Data & bit) v |= 4;
  return v;
}

void classSCM::PixelRam(uint32_t p, uint16_t data) {
  const unsigned mask = (data >> 8) & 7, colour = data & 7;
  const int x = static_cast<int>(p % ScreenWidth), y = static_cast<int>(p / ScreenWidth);
  const uint32_t old = Screen.GetGraphPixel(x, y);
  const uint32_t now = GraphicsPalette[colour & mask] | (old & ~GraphicsPalette[mask] & 0xFFFFFF);
  Screen.SetGraphPixel(x, y, now);
  StorePlaneBits(p, data);
}

void classSCM::UnusedPixelRam(uint32_t /*p*/, uint16_t /*data*/) {}

void classSCM::GraphicsOffset(uint8_t v) {
  if (v == ScmGoffset) return;
  ScmGoffset = v;
  if (ScmIG) return;
  MapForOffset(v);
  Screen.RedrawGraphics();
}

void classSCM::VGCursor(uint16_t v) {
  if (v == ScmVGCursor) return;
  Screen.DrawVGC(static_cast<uint16_t>(4095 - (v & 0xFFF)));
  ScmVGCursor = v;
}

void classSCM::HGCursor(uint16_t v) {
  if (v == ScmHGCursor) return;
  Screen.DrawHGC(static_cast<uint16_t>(4095 - (v & 0xFFF)));
  ScmHGCursor = v;
}

uint8_t classSCM::SR() {
  ScmSR = static_cast<uint8_t>((SrSW2 ? 0x80 : 0) | (SrSW1 ? 0x40 : 0) | (SrSW0 ? 0x20 : 0) | (KbdLock ? 0 : 0x10) |
                               (SrIOchEN ? 0x08 : 0) | (SrSysFail ? 0x04 : 0) | (SrVniAck ? 0 : 0x02) |
                               (SrVmeAv ? 0x01 : 0));
  return ScmSR;
}

void classSCM::SR(uint8_t v) {
  ScmSR = v;
  SrSW2 = ToVBool(Bit(v, 7));
  SrSW1 = ToVBool(Bit(v, 6));
  SrSW0 = ToVBool(Bit(v, 5));
  KbdLock = ToVBool(!Bit(v, 4));
  SrIOchEN = ToVBool(Bit(v, 3));
  SrSysFail = ToVBool(Bit(v, 2));
  SrVniAck = ToVBool(!Bit(v, 1));
  SrVmeAv = ToVBool(Bit(v, 0));
  SetLights(8, KbdLock != 0);
}

void classSCM::CR0(uint8_t v) {
  const uint8_t old = ScmCR0;
  ScmCR0 = v;
  if (BitsChanged(old, v, 0xE0)) {
    TextGreenOff = ToVBool(Bit(v, ScmMan ? 5 : 7));
    TextBlueOff = ToVBool(Bit(v, 6));
    TextRedOff = ToVBool(Bit(v, ScmMan ? 7 : 5));
  }
  ScreenMergeMode = static_cast<uint8_t>((ScreenMergeMode & ~1u) | ((v & 0xE0) == 0xE0 ? 0 : 1));
  ScmCursorBlink = ToVBool(Bit(v, 4));
  ScmDutyCycle = ToVBool(Bit(v, 3));
  if (BitsChanged(old, v, 0x04)) {
    ScmIVS = ToVBool(Bit(v, 2));
    Screen.SetScreenBackGround(ScmIVS ? 0xFFFFFF : 0);
  }
  if (BitsChanged(old, v, 0xE4)) Screen.ReMergeScreen();
  MaskWhenClear(IntEntryClock, v, 1);
  MaskWhenClear(5, v, 0);
}

void classSCM::CR1(uint8_t v) {
  const uint8_t old = ScmCR1;
  ScmCR1 = v;
  ScmIG = ToVBool(Bit(v, 7));
  if (BitsChanged(old, v, 0x60)) {
    const uint16_t cell = Screen.DeleteCursor();
    ScmCursorType = static_cast<uint8_t>(BitField(v, 5, 6));
    if (cell < 65535) Screen.DoCursor(cell);
  }
  ScmHires = ToVBool(Bit(v, 4));
  const bool layoutChanged = BitsChanged(old, v, 0x90);
  if (layoutChanged) {
    if (ScmIG)
      MapGraphicsOff();
    else if (ScmHires)
      MapForOffset(ScmGoffset);  // an offset other than 0x00 and 0x32 keeps the map
    else
      MapGraphicsPlanes3();
  }
  const bool planesChanged = BitsChanged(old, v, 0x0E);
  if (planesChanged) {
    GraphGreenOn = ToVBool(Bit(v, ScmMan ? 1 : 3));
    GraphBlueOn = ToVBool(Bit(v, ScmMan ? 3 : 2));
    GraphRedOn = ToVBool(Bit(v, ScmMan ? 2 : 1));
  }
  ScreenMergeMode = static_cast<uint8_t>((ScreenMergeMode & ~2u) | ((v & 0x0E) ? 2 : 0));
  if (planesChanged) Screen.ReMergeScreen();
  if (layoutChanged) Screen.RedrawGraphics();
  ScmUnswap = ToVBool(Bit(v, 0));
  if (ScmUnswap && RomAtZero) SwapRomToHigh();
}

void classSCM::CR2(uint8_t v) {
  const uint8_t old = ScmCR2;
  ScmCR2 = v;
  MaskWhenClear(IntEntryKeyboardRx, v, 7);
  MaskWhenClear(17, v, 6);
  ScmWriteProtect = ToVBool(!Bit(v, 5));
  if (BitsChanged(old, v, 0x10) && !Bit(v, 4)) {
    Uart2661.Reset();
    Keyboard.ResetKeyboard();
  }
  MaskWhenClear(2, v, 3);
  MaskWhenClear(1, v, 2);
  MaskWhenClear(IntEntryKeyboardTx, v, 1);
  MaskWhenClear(IntEntryMmu, v, 0);
  if (BitsChanged(old, v, 0x83)) Exceptions.UpdateHIP();
}

void classSCM::CR3(uint8_t v) {
  ScmCR3 = v;
  // Bit 0 gates entry 2; bits 1-7 the autovectored IRQ1-IRQ7 entries 0, 3, ..., 18.
  MaskWhenClear(2, v, 0);
  for (int n = 1; n <= 7; ++n) MaskWhenClear(3 * (n - 1), v, n);
}

void classSCM::CR6(uint8_t v) {
  const uint8_t old = ScmCR6;
  ScmCR6 = v;
  ScmIL = static_cast<uint8_t>(v & 7);
  MaskWhenClear(4, v, 3);
  MaskWhenClear(10, v, 4);
  MaskWhenClear(13, v, 5);
  MaskWhenClear(16, v, 6);
  IMaskFlag = ToVBool(!Bit(v, 7));
  if (BitsChanged(old, v, 0xF8)) Exceptions.UpdateHIP();
}

void classSCM::Reset() {
  Exceptions.Reset();
  PresetScmRegisters(false);
  CR0(0);
  CR2(0);
  CR3(0);
  CR4(0);
  CR5(0);
  CR6(0);
  GraphicsOffset(0);
  ClearGraphicsBuffer();
  SrSysFail = False;
  SrVniAck = True;
  SrVmeAv = True;
  ResetIoChannel();
}

void classSCM::PowerOnReset() {
  PresetScmRegisters(true);
  CR1(0);
  Reset();
  if (!RomAtZero) SwapRomToZero();
}

}  // namespace korva
