// The system control module: character-generator, attribute and display
// memories, the pixel port onto the colour planes, the graphics offset GOFF, the
// graphics cursor registers, the status register SR and the control registers
// CR0-CR6. Its register writes gate interrupt entries, switch the screen's
// colour planes, inversion and graphics layout, remap the planes, swap the ROM
// and reset the keyboard link. It raises no interrupt of its own.
//
// All of its state is module-level so that the screen compositor reads it
// directly.
#pragma once
#include <cstdint>
#include "board/BoardSettings.h"
#include "tables/FixedTables.h"
#include "tables/Types.h"

namespace korva {

// Memories.
extern uint8_t ScmCharGenRam[2048];   // glyph g, row r at g * 16 + r
extern uint8_t ScmAttrGenRam[2048];   // stored only
extern uint16_t ScmDisplayRam[4096];  // character cells: high byte attribute, low byte code

// Register images: the last value written.
extern uint8_t ScmCR0, ScmCR1, ScmCR2, ScmCR3, ScmCR4, ScmCR5, ScmCR6, ScmGoffset;
extern uint16_t ScmVGCursor, ScmHGCursor;
extern uint8_t ScmSR;  // the status byte as last built by a read

// Decoded state.
extern VBool TextGreenOff, TextBlueOff, TextRedOff;  // CR0 CDIS: text channels disabled
extern VBool ScmCursorBlink, ScmDutyCycle;           // CR0, stored only
extern VBool ScmIVS;                                 // CR0: inverse video
extern VBool ScmIG;                                  // CR1: graphics inhibited
extern uint8_t ScmCursorType;                        // CR1 bits 6-5: text-cursor shape 0-3
extern VBool ScmHires;                               // CR1: 600-line graphics
extern VBool GraphGreenOn, GraphBlueOn, GraphRedOn;  // CR1 GRE: graphics channels enabled
extern VBool ScmUnswap;                              // CR1 bit 0, stored
extern VBool ScmWriteProtect;                        // CR2 WPTCT* (true when bit 5 is 0), stored
extern uint8_t ScmIL;                                // CR6 bits 2-0, stored
// Bit 0 text shown, bit 1 graphics shown (both from here), bit 2 alternate
// inversion (the main window's).
extern uint8_t ScreenMergeMode;

// Status-register sources.
extern VBool KbdLock;              // keyboard locked
extern VBool SrSysFail, SrVniAck, SrVmeAv;  // the switches and SrIOchEN are settings

// Options read here: ScmMan exchanges the colour order of the CDIS and GRE bits;
// GraphicsPalette holds the colour of each 3-bit pixel code (bit 0 red, bit 1
// blue, bit 2 green).

class classSCM {
 public:
  classSCM();

  uint8_t CharGenRam(uint32_t index) const { return ScmCharGenRam[index & 0x7FF]; }
  void CharGenRam(uint32_t index, uint8_t v) { ScmCharGenRam[index & 0x7FF] = v; }
  uint8_t AttrGenRam(uint32_t index) const { return ScmAttrGenRam[index & 0x7FF]; }
  void AttrGenRam(uint32_t index, uint8_t v) { ScmAttrGenRam[index & 0x7FF] = v; }
  uint16_t DisplayRam(uint32_t index) const { return ScmDisplayRam[index & 0xFFF]; }
  // Stores the cell and draws it.
  void DisplayRam(uint32_t index, uint16_t v);

  // Pixel port, pixel p = y * 800 + x. A read gives 0xFF00 plus the pixel's
  // colour code (1 red, 2 blue, 4 green) from the planes. A write takes the
  // colour in bits 2-0 and the plane mask in bits 10-8 and changes only the
  // masked planes and channels.
  uint16_t PixelRam(uint32_t p) const;
  void PixelRam(uint32_t p, uint16_t data);
  // The port where no plane is mapped: stores nothing (with graphics off the
  // plane bases are 0 and a store would land on the vectors and guest RAM).
  void UnusedPixelRam(uint32_t p, uint16_t data);

  uint8_t GraphicsOffset() const { return ScmGoffset; }
  void GraphicsOffset(uint8_t v);
  uint16_t VGCursor() const { return ScmVGCursor; }
  void VGCursor(uint16_t v);
  uint16_t HGCursor() const { return ScmHGCursor; }
  void HGCursor(uint16_t v);

  uint8_t SR();
  void SR(uint8_t v);

  uint8_t CR0() const { return ScmCR0; }
  void CR0(uint8_t v);
  uint8_t CR1() const { return ScmCR1; }
  void CR1(uint8_t v);
  uint8_t CR2() const { return ScmCR2; }
  void CR2(uint8_t v);
  uint8_t CR3() const { return ScmCR3; }
  void CR3(uint8_t v);
  uint8_t CR4() const { return ScmCR4; }
  void CR4(uint8_t v) { ScmCR4 = v; }
  uint8_t CR5() const { return ScmCR5; }
  void CR5(uint8_t v) { ScmCR5 = v; }
  uint8_t CR6() const { return ScmCR6; }
  void CR6(uint8_t v);

  // System reset: interrupt controller, CR0 and CR2-CR6 and GOFF written 0 (CR1
  // survives), cursor layers cleared, bus status, I/O channel.
  void Reset();
  // CR1 written 0 as well, then Reset, then the ROM mapped at 0 again.
  void PowerOnReset();

 private:
  // Register images to 0xFF so that the next write sees every bit changed.
  static void PresetScmRegisters(bool cr1Only);
};

extern classSCM Scm;

// The module as after construction: memories 0, register images 0xFF, decoded
// state cleared, switches at their defaults.
void InitScmState();

}  // namespace korva
