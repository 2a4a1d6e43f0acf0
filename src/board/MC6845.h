// The MC6845 CRT controller, as far as the screen needs it: an address register
// selecting one of R0-R17 and a data register reaching the selected one. R4
// (vertical total) chooses 25 or 50 text rows, R10 carries the text cursor's
// display mode, R14/R15 place the text cursor; the other registers are stored
// for the guest and the debugger's dump. No reset reaches it.
#pragma once
#include <cstdint>
#include <string>
#include "tables/Types.h"

namespace korva {

class classMC6845 {
 public:
  uint8_t Addreg() const { return 0; }
  void Addreg(uint8_t pNewAddress) { address_ = pNewAddress; }
  // R14-R17 read back; every other index reads 0.
  uint8_t Datareg() const;
  void Datareg(uint8_t pNewData);
  // The register dump, lines ended by CR LF.
  std::string GetSetup() const;

  uint8_t R(int n) const { return n >= 0 && n < 18 ? regs_[n] : 0; }
  uint8_t Address() const { return address_; }

 private:
  void MoveCursorWhenPaired();
  uint8_t address_ = 0;
  uint8_t regs_[18] = {};
  VBool R14Written = False;
  VBool R15Written = False;
};

extern classMC6845 Crtc;

// Text-mode switch after R4 changed: 25 -> mode 1, 50 -> mode 2, anything else
// leaves the mode. A real change redraws the text screen with every cursor taken
// off and put back.
void SetScreenMode(uint8_t previousMode);
// Redraw every text cell through the display-RAM register: 2000 cells when R4
// holds 25, 4000 when it holds 50, else all 4096. Nothing while redraws are held.
void RedrawScreen();

}  // namespace korva
