// The CPU state object: packs and unpacks the status register, condition codes
// and special status word, controls running, and carries the bus-error,
// address-error and RTE micro-routines. One instance, in the global slot Cpu.
#pragma once
#include <cstdint>
#include "cpu/CpuState.h"

namespace korva {

class classCPU {
 public:
  classCPU();

  // Condition-code byte: X bit 4, N 3, Z 2, V 1, C 0.
  uint8_t CCR() const {
    return static_cast<uint8_t>((CpuX & 0x10) | (CpuN & 8) | (CpuZ & 4) | (CpuV & 2) | (CpuC & 1));
  }
  void CCR(uint8_t v) {
    CpuX = ToFlag(v & 0x10);
    CpuN = ToFlag(v & 8);
    CpuZ = ToFlag(v & 4);
    CpuV = ToFlag(v & 2);
    CpuC = ToFlag(v & 1);
  }

  uint16_t SR() const {
    return static_cast<uint16_t>((CpuT ? 0x8000 : 0) | (CpuS ? 0x2000 : 0) | ((CpuIMask & 7) << 8) | CCR());
  }
  void SR(uint16_t v) {
    CpuT = ToVBool(v & 0x8000);
    srSmode(ToVBool(v & 0x2000));
    CpuIMask = static_cast<uint8_t>((v >> 8) & 7);
    CCR(static_cast<uint8_t>(v & 0x1F));
  }

  uint8_t srIMask() const { return CpuIMask & 7; }
  void srIMask(uint8_t v) { CpuIMask = v; }
  VBool srSmode() const { return CpuS; }
  // Entering or leaving supervisor state swaps the active and inactive stack pointers.
  void srSmode(VBool s) {
    if (s == CpuS) return;
    if (s) {
      CpuUSP = CpuAReg[7];
      CpuAReg[7] = CpuSSP;
    } else {
      CpuSSP = CpuAReg[7];
      CpuAReg[7] = CpuUSP;
    }
    CpuS = s;
  }
  VBool srTmode() const { return CpuT; }
  void srTmode(VBool t) { CpuT = t; }
  uint16_t ccrXbit() const { return CpuX; }
  void ccrXbit(uint16_t v) { CpuX = v; }
  uint16_t ccrNbit() const { return CpuN; }
  void ccrNbit(uint16_t v) { CpuN = v; }
  uint16_t ccrZbit() const { return CpuZ; }
  void ccrZbit(uint16_t v) { CpuZ = v; }
  uint16_t ccrVbit() const { return CpuV; }
  void ccrVbit(uint16_t v) { CpuV = v; }
  uint16_t ccrCbit() const { return CpuC; }
  void ccrCbit(uint16_t v) { CpuC = v; }

  // Special status word: the bits the latches keep (the others cleared) on read,
  // the latches on write.
  uint16_t SSW() const {
    AccSSW &= kSswLatchBits;
    return AccSSW;
  }
  void SSW(uint16_t v) { SetAccSSW(v); }

  // Internal status byte of the long fault frame: bit 0 trace pending, 1 reserved,
  // 2 TRAPV pending, 3 CHK pending, 4 zero divide, 5-7 flags kept in the object.
  uint8_t InternalSW();
  void InternalSW(uint8_t v);

  // Run control.
  void Execute(uint32_t pc);
  void Go(uint32_t pc);
  void Step(int32_t n);
  void Run();
  void StopRun(bool atBoundary);
  void Reset(bool stopAfter);

  // Bus error, address error and RTE micro-routines (MC68010/CPU32 and MC68000 forms).
  void mcrRTE();
  void mcrBerr();
  void mcrAerr();
  void mcrRTE000();
  void mcrBerr000();
  void mcrAerr000();

  // The frame image written by the bus- and address-error routines.
  uint16_t FrameBuffer[29] = {};

 private:
  void BuildFaultFrame(uint16_t vectorOffset);
  void RestoreFaultFrame();
  void BuildGroup0Frame(uint16_t vectorOffset);

  uint8_t internalSW_ = 0;
  VBool reservedFlag_ = False;
  VBool objectFlag5_ = False, objectFlag6_ = False, objectFlag7_ = False;
};

extern classCPU Cpu;

}  // namespace korva
