#include "bus/Plugging.h"
#include "bus/Memory.h"
#include "shell/MainFormHooks.h"

namespace korva {

namespace {

void PlugRange(uint32_t lo, uint32_t hi, VBool plugged, uint8_t code, uint8_t emptyCode) {
  SetMemMap(lo, hi, plugged ? code : emptyCode);
}

// A board's registers sit at consecutive odd addresses from base + 1, one code
// each, and again 16 bytes higher; unplugged, the whole 32-byte window is empty.
void PlugBoard(uint32_t base, VBool plugged, const uint8_t* codes, int count, uint32_t firstOffset) {
  if (!plugged) {
    SetMemMap(base, base + 0x1F, DcBoardIo);
    return;
  }
  for (uint32_t mirror = 0; mirror <= 0x10; mirror += 0x10)
    for (int i = 0; i < count; ++i) {
      const uint32_t a = base + mirror + firstOffset + 2u * static_cast<uint32_t>(i);
      SetMemMap(a, a, codes[i]);
    }
}

}  // namespace

void PlugRam(VBool p) { PlugRange(0x060000, 0x17FFFF, p, DcRam, DcNothing); }
void PlugMem180to1BF(VBool p) { PlugRange(0x180000, 0x1BFFFF, p, DcRam, DcNothing); }
void PlugMem1C0to1FF(VBool p) { PlugRange(0x1C0000, 0x1FFFFF, p, DcRam, DcNothing); }
void PlugMem200to3FF(VBool p) { PlugRange(0x200000, 0x3FFFFF, p, DcRam, DcNothing); }
void PlugMem400to5FF(VBool p) { PlugRange(0x400000, 0x5FFFFF, p, DcRam, DcNothing); }
void PlugMem600to7FF(VBool p) { PlugRange(0x600000, 0x7FFFFF, p, DcRam, DcNothing); }
void PlugMem800to9FF(VBool p) { PlugRange(0x800000, 0x9FFFFF, p, DcRam, DcNothing); }
void PlugMemA00toBFF(VBool p) { PlugRange(0xA00000, 0xBFFFFF, p, DcRam, DcNothing); }
void PlugMemC00toDFF(VBool p) { PlugRange(0xC00000, 0xDFFFFF, p, DcRam, DcNothing); }
void PlugMemF1EtoFFF(VBool p) { PlugRange(0xF1E000, 0xFFFFFF, p, DcRam, DcNothing); }

void PlugSimpleDC(VBool p) { PlugRange(0xF1A300, 0xF1A31F, p, DcSimpleDC, DcOnBoardIo); }
void PlugCPMDC(VBool p) { PlugRange(0xF1A200, 0xF1A21F, p, DcCpmDC, DcOnBoardIo); }
void PlugLSNDC(VBool p) { PlugRange(0xF1A400, 0xF1A41F, p, DcLsnDio, DcOnBoardIo); }

void PlugDropzone(VBool p) {
  PlugRange(0xF1A060, 0xF1A06F, p, DcDropzone, DcOnBoardIo);
  MainForm->ShowDropzone(p);
}

void PlugUloadDload(VBool p) {
  PlugRange(0xF1A070, 0xF1A07B, p, DcUloadDload, DcOnBoardIo);
  MainForm->EnableUploadDownload(p);
}

void PlugRWIN(VBool p) {
  // R0-R3 at +1 ... +7, then R4to7 behind the four addresses +9 ... +F.
  static const uint8_t codes[8] = {57, 58, 59, 60, 61, 61, 61, 61};
  if (!p) {
    SetMemMap(0xF1C0D0, 0xF1C0DF, DcBoardIo);
    return;
  }
  for (int i = 0; i < 8; ++i) {
    const uint32_t a = 0xF1C0D1 + 2u * static_cast<uint32_t>(i);
    SetMemMap(a, a, codes[i]);
  }
}

void PlugMVME400C0(VBool p) {
  static const uint8_t codes[8] = {26, 27, 28, 29, 30, 31, 32, 33};
  PlugBoard(0xF1C1C0, p, codes, 8, 1);
  MainForm->ShowBoardIndicator(1, p);
}

void PlugMVME400C1(VBool p) {
  static const uint8_t codes[8] = {34, 35, 36, 37, 38, 39, 40, 41};
  PlugBoard(0xF1C1A0, p, codes, 8, 1);
  MainForm->ShowBoardIndicator(2, p);
}

void PlugMVME410C0(VBool p) {
  static const uint8_t codes[8] = {42, 43, 44, 45, 62, 63, 64, 65};
  PlugBoard(0xF1C1E0, p, codes, 8, 1);
  MainForm->ShowBoardIndicator(3, p);
}

}  // namespace korva
