#include "board/SCM.h"
#include "bus/Rom.h"
#include "cpu/SystemReset.h"
#include "bus/Exceptions.h"

namespace korva {

classSCM Scm;
uint16_t ScmDisplayRam[4096];

void classSCM::PowerOnReset() {
  cr_[1] = 0;
  Reset();
  SwapRomToZero();  // does nothing when the ROM is already at 0
}

void classSCM::Reset() {
  Exceptions.Reset();
  cr_[0] = 0;
  for (int n = 2; n < 7; ++n) cr_[n] = 0;
  goffset_ = 0;
  ClearGraphicsBuffer();
  ResetIoChannel();
  sr_ = 0;
}

void classSCM::SetCR(int n, const char* name, uint8_t v) {
  Probe.Write(name, static_cast<uint32_t>(n), v);
  cr_[n] = v;
}

void classSCM::GraphicsOffset(uint8_t v) {
  Probe.Write("GraphicsOffset", 0, v);
  goffset_ = v;
}

void classSCM::CharGenRam(uint32_t index, uint8_t v) {
  Probe.Write("CharGenRam", index, v);
  charGen_[index & 0x7FF] = v;
}

void classSCM::AttrGenRam(uint32_t index, uint8_t v) {
  Probe.Write("AttrGenRam", index, v);
  attrGen_[index & 0x7FF] = v;
}

uint16_t classSCM::PixelRam(uint32_t index) {
  Probe.Read("PixelRam", index);
  return 0xFF00;
}

void classSCM::PixelRam(uint32_t index, uint16_t v) { Probe.Write("PixelRam", index, v); }

void classSCM::UnusedPixelRam(uint32_t index, uint16_t v) { Probe.Write("UnusedPixelRam", index, v); }

uint16_t classSCM::VGCursor() const { return ScmVGCursor; }

void classSCM::VGCursor(uint16_t v) {
  Probe.Write("VGCursor", 0, v);
  ScmVGCursor = v;
}

uint16_t classSCM::HGCursor() const { return ScmHGCursor; }

void classSCM::HGCursor(uint16_t v) {
  Probe.Write("HGCursor", 0, v);
  ScmHGCursor = v;
}

uint8_t classSCM::SR() {
  Probe.Read("SR");
  return sr_;
}

}  // namespace korva
