// The system control module: control registers CR0-CR6, graphics offset,
// graphics cursors, status register, character-generator and attribute
// memories and the pixel port onto the colour planes.
//
// Stand-in: the registers are stored and read back; the interrupt masks, video
// modes and graphics mappings that the module's writes drive come with the
// module itself.
#pragma once
#include <cstdint>
#include "bus/DeviceProbe.h"

namespace korva {

class classSCM {
 public:
  // Power-on reset: every remembered register byte preset so that the next
  // writes see every bit changed, CR1 cleared, Reset, then the ROM swapped to 0.
  void PowerOnReset();
  // Plain reset: interrupt controller reset, CR0 and CR2-CR6 and the graphics
  // offset cleared (CR1 is kept), cursor layers cleared, I/O channel reset,
  // status bits to their reset values.
  void Reset();

  uint8_t CR0() const { return cr_[0]; }
  void CR0(uint8_t v) { SetCR(0, "CR0", v); }
  uint8_t CR1() const { return cr_[1]; }
  void CR1(uint8_t v) { SetCR(1, "CR1", v); }
  uint8_t CR2() const { return cr_[2]; }
  void CR2(uint8_t v) { SetCR(2, "CR2", v); }
  uint8_t CR3() const { return cr_[3]; }
  void CR3(uint8_t v) { SetCR(3, "CR3", v); }
  uint8_t CR4() const { return cr_[4]; }
  void CR4(uint8_t v) { SetCR(4, "CR4", v); }
  uint8_t CR5() const { return cr_[5]; }
  void CR5(uint8_t v) { SetCR(5, "CR5", v); }
  uint8_t CR6() const { return cr_[6]; }
  void CR6(uint8_t v) { SetCR(6, "CR6", v); }
  uint8_t GraphicsOffset() const { return goffset_; }
  void GraphicsOffset(uint8_t v);

  // Character-generator and attribute memories, index 0-2047.
  uint8_t CharGenRam(uint32_t index) const { return charGen_[index & 0x7FF]; }
  void CharGenRam(uint32_t index, uint8_t v);
  uint8_t AttrGenRam(uint32_t index) const { return attrGen_[index & 0x7FF]; }
  void AttrGenRam(uint32_t index, uint8_t v);

  // Pixel port: reads 0xFF00 OR the pixel's colour index; a write takes the
  // colour in bits 0-2 and the plane-enable mask in bits 8-10.
  uint16_t PixelRam(uint32_t index);
  void PixelRam(uint32_t index, uint16_t v);
  // The pixel-port write while graphics are off.
  void UnusedPixelRam(uint32_t index, uint16_t v);

  // Graphics cursors; the values live in ScmVGCursor / ScmHGCursor.
  uint16_t VGCursor() const;
  void VGCursor(uint16_t v);
  uint16_t HGCursor() const;
  void HGCursor(uint16_t v);

  // Status register: switches, keyboard lock, I/O-channel enable, bus status.
  uint8_t SR();

  DeviceProbe Probe;

 private:
  void SetCR(int n, const char* name, uint8_t v);
  uint8_t cr_[7] = {};
  uint8_t goffset_ = 0;
  uint8_t sr_ = 0;
  uint8_t charGen_[2048] = {};
  uint8_t attrGen_[2048] = {};
};

extern classSCM Scm;

// The mirror of display RAM F17000-F18FFF: every write there lands in element
// (address - F17000) / 2 (high byte attribute, low byte character).
extern uint16_t ScmDisplayRam[4096];

}  // namespace korva
