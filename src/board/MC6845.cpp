#include "board/MC6845.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "tables/Packing.h"
#include "tables/TextFormat.h"

namespace korva {

classMC6845 Crtc;

uint8_t classMC6845::Datareg() const { return address_ >= 14 && address_ <= 17 ? regs_[address_] : 0; }

void classMC6845::MoveCursorWhenPaired() {
  if (!(R14Written && R15Written)) return;
  Screen.DoCursor(static_cast<uint16_t>(MakeWord(regs_[14], regs_[15]) & 0xFFF));
  R14Written = R15Written = False;
}

void classMC6845::Datareg(uint8_t v) {
  switch (address_) {
    case 4:
      if (v != regs_[4]) {
        const uint8_t previous = ScreenMode;
        regs_[4] = v;
        SetScreenMode(previous);
      }
      break;
    case 10:
      regs_[10] = v;
      CursorMode = static_cast<uint8_t>((v >> 5) & 3);
      Screen.DoCursor(static_cast<uint16_t>(MakeWord(regs_[14], regs_[15]) & 0xFFF));
      break;
    case 12:
      regs_[12] = static_cast<uint8_t>(v & 0x3F);
      break;
    case 14:
      regs_[14] = v;
      R14Written = True;
      MoveCursorWhenPaired();
      break;
    case 15:
      regs_[15] = v;
      R15Written = True;
      MoveCursorWhenPaired();
      break;
    default:
      if (address_ < 16) regs_[address_] = v;  // R16, R17 and beyond are never written
      break;
  }
}

std::string classMC6845::GetSetup() const {
  static const char* const names[12] = {"HT    = 0x", "HD    = 0x", "HSP   = 0x", "SW    = 0x",
                                        "VT    = 0x", "VTA   = 0x", "VD    = 0x", "VSP   = 0x",
                                        "IMS   = 0x", "MSLA  = 0x", "CS    = 0x", "CE    = 0x"};
  std::string s;
  for (int n = 0; n < 12; ++n) s += names[n] + HexByte(regs_[n]) + "\r\n";
  s += "SA H/L= 0x" + HexWord(MakeWord(regs_[12], regs_[13])) + "\r\n";
  s += "C  H/L= 0x" + HexWord(MakeWord(regs_[14], regs_[15])) + "\r\n";
  s += "LP H/L= 0x" + HexWord(MakeWord(regs_[16], regs_[17])) + "\r\n\r\n";
  s += "Character Mode = 0x" + HexByte(ScreenMode) + "\r\n";
  s += "Display Cursor Mode = 0x" + HexByte(CursorMode) + "\r\n";
  return s;
}

void SetScreenMode(uint8_t previousMode) {
  const uint8_t r4 = Crtc.R(4);
  if (r4 != 25 && r4 != 50) return;
  const uint8_t mode = r4 == 25 ? 1 : 2;
  if (mode == previousMode) {
    ScreenMode = mode;
    return;
  }
  // The text layer is redrawn with every cursor off, then they come back.
  const uint16_t p = Screen.DeleteCursor();
  const uint16_t h = Screen.DeleteHGCursor();
  const uint16_t v = Screen.DeleteVGCursor();
  ScreenMode = mode;
  RedrawScreen();
  if (p < 65535) Screen.DoCursor(p);
  if (h < 4095) Screen.DrawHGC(h);
  if (v < 4095) Screen.DrawVGC(v);
}

void RedrawScreen() {
  if (ScreenRedrawHeld) return;
  const uint8_t r4 = Crtc.R(4);
  const uint32_t cells = r4 == 25 ? 2000 : r4 == 50 ? 4000 : 4096;
  for (uint32_t i = 0; i < cells; ++i) Scm.DisplayRam(i, ScmDisplayRam[i]);
}

}  // namespace korva
