// Data-movement micro-routines: MOVEQ, MOVE and MOVEA in their register and
// memory forms, the status-register moves, SWAP, EXG, EXT/EXTB, MOVEC, MOVE USP
// and NOP. None of them makes a bus access: operands come from and go to the
// operand routines around them in the instruction's control-store program.
#include "cpu/Microroutines.h"
#include "cpu/classCPU.h"
#include "microops/MoveCommon.h"
#include "shell/AppVersion.h"
#include "shell/BootDrive.h"

namespace korva {

namespace {

// N and Z from the value's low byte, word or long (Size 0, 1, 2); V and C cleared.
template <int Size>
[[gnu::always_inline]] inline void SetMoveFlags(uint32_t v) {
  if constexpr (Size == 0)
    SetNZClearVC8(v);
  else if constexpr (Size == 1)
    SetNZClearVC16(v);
  else
    SetNZClearVC32(v);
}

// MOVE into Dn: the sized value in CpuDop, merged into the register by size
// (the bits above it kept), the flags from it; the instruction ends.
template <int Size>
[[gnu::always_inline]] inline void MoveToDn(uint16_t dstReg, uint32_t v) {
  constexpr uint32_t mask = Size == 0 ? 0xFFu : Size == 1 ? 0xFFFFu : 0xFFFFFFFFu;
  CpuDop = v & mask;
  uint32_t& d = DReg(dstReg);
  d = (d & ~mask) | CpuDop;
  SetMoveFlags<Size>(CpuDop);
  McrEndInstructionStepless();
}

// MOVE towards memory: the value in CpuDop for the write step, the flags from it.
template <int Size>
[[gnu::always_inline]] inline void MoveOn(uint32_t v) {
  CpuDop = v;
  SetMoveFlags<Size>(CpuDop);
  McrEndStepless();
}
}  // namespace

// ---- MOVEQ ----

void mcrMOVEQ() {
  const OpMapEntry& op = CurrentOp();
  CpuDop = static_cast<uint32_t>(op.Extra1);
  DReg(op.DstReg) = CpuDop;
  SetNZClearVC32(CpuDop);
  McrEndInstructionStepless();
}

// Routines marked always-inline: put in line in the fused chains by the
// link-time optimiser (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
// ---- MOVE.B, MOVE.W, MOVE.L ----
// The register forms take Dn (byte) or Dn/An (word, long) as their source.

void mcrMOVEBDnDn() {
  const OpMapEntry& op = CurrentOp();
  MoveToDn<0>(op.DstReg, DReg(op.SrcReg));
}
[[gnu::always_inline]] void mcrMOVEBToDn() { MoveToDn<0>(CurrentOp().DstReg, CpuSop); }
void mcrMOVEBDnToEa() { MoveOn<0>(DReg(CurrentOp().SrcReg) & 0xFF); }
// Memory to memory: the whole source is passed on, the flags come from its low byte.
void mcrMOVEB() { MoveOn<0>(CpuSop); }

void mcrMOVEWRnDn() {
  const OpMapEntry& op = CurrentOp();
  MoveToDn<1>(op.DstReg, SourceRegister(op));
}
[[gnu::always_inline]] void mcrMOVEWToDn() { MoveToDn<1>(CurrentOp().DstReg, CpuSop); }
void mcrMOVEWRnToEa() { MoveOn<1>(SourceRegister(CurrentOp()) & 0xFFFF); }
void mcrMOVEW() { MoveOn<1>(CpuSop); }

void mcrMOVELRnDn() {
  const OpMapEntry& op = CurrentOp();
  MoveToDn<2>(op.DstReg, SourceRegister(op));
}
[[gnu::always_inline]] void mcrMOVELToDn() { MoveToDn<2>(CurrentOp().DstReg, CpuSop); }
void mcrMOVELRnToEa() { MoveOn<2>(SourceRegister(CurrentOp())); }
[[gnu::always_inline]] void mcrMOVEL() { MoveOn<2>(CpuSop); }
#pragma GCC diagnostic pop

// ---- MOVEA (no flags) ----

void mcrMOVEAWRn() {
  const OpMapEntry& op = CurrentOp();
  AReg(op.DstReg) = SignExtend16(SourceRegister(op));
  McrEndInstructionStepless();
}

void mcrMOVEAW() {
  AReg(CurrentOp().DstReg) = SignExtend16(CpuSop);
  McrEndInstructionStepless();
}

void mcrMOVEALRn() {
  const OpMapEntry& op = CurrentOp();
  AReg(op.DstReg) = SourceRegister(op);
  McrEndInstructionStepless();
}

void mcrMOVEAL() {
  AReg(CurrentOp().DstReg) = CpuSop;
  McrEndInstructionStepless();
}

// The MOVEP programs pass the register value on to the write or register step.
void mcrCopySrcDst() {
  CpuDop = CpuSop;
  McrEndStepless();
}

// ---- Status register ----

// MOVE to CCR (Extra2 2) and MOVE to SR (Extra2 3). The SR property handles the
// interrupt mask, the trace bit and the stack exchange when S changes.
void mcrMOVEToCCR() {
  switch (CurrentOp().Extra2) {
    case 2: Cpu.CCR(static_cast<uint8_t>(CpuSop & 0xFF)); break;
    case 3: Cpu.SR(static_cast<uint16_t>(CpuSop & 0xFFFF)); break;
    default: McrMicrocodeFault(); return;
  }
  McrEndInstructionStepless();
}

// MOVE from SR (Extra2 0) and MOVE from CCR (Extra2 1): the value goes to the word write.
void mcrMOVEFromSR() {
  switch (CurrentOp().Extra2) {
    case 0: CpuDop = Cpu.SR(); break;
    case 1: CpuDop = Cpu.CCR(); break;
    default: McrMicrocodeFault(); return;
  }
  McrEndStepless();
}

// ---- Register exchanges and extensions ----

void mcrSWAP() {
  uint32_t& d = DReg(CurrentOp().DstReg);
  d = (d << 16) | (d >> 16);
  SetNZClearVC32(d);
  McrEndInstructionStepless();
}

// Extra2 is the opmode: 8 two data registers, 9 two address registers,
// 17 the data register of bits 11-9 (SrcReg) with the address register of bits 2-0 (DstReg).
void mcrEXG() {
  const OpMapEntry& op = CurrentOp();
  uint32_t* a;
  uint32_t* b;
  switch (op.Extra2) {
    case 8: a = &DReg(op.DstReg); b = &DReg(op.SrcReg); break;
    case 9: a = &AReg(op.DstReg); b = &AReg(op.SrcReg); break;
    case 17: a = &AReg(op.DstReg); b = &DReg(op.SrcReg); break;
    default: McrMicrocodeFault(); return;
  }
  const uint32_t t = *a;
  *a = *b;
  *b = t;
  McrEndInstructionStepless();
}

// Extra2 = opcode bits 8-6: 2 EXT.W, 3 EXT.L, 7 EXTB.L.
void mcrEXT() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& d = DReg(op.DstReg);
  switch (op.Extra2) {
    case 2: {
      const uint32_t word = SignExtend8(d) & 0xFFFF;
      d = (d & 0xFFFF0000u) | word;
      SetNZClearVC16(word);
      break;
    }
    case 3:
      d = SignExtend16(d);
      SetNZClearVC32(d);
      break;
    case 7:
      d = SignExtend8(d);
      SetNZClearVC32(d);
      break;
    default: McrMicrocodeFault(); return;
  }
  McrEndInstructionStepless();
}

// ---- Control registers ----

// MOVEC: CpuExtraWord names the general register (bits 15-12) and the control
// register (bits 11-0); Extra2 (opcode bit 0) is the direction. Codes 0x700-0x707
// are the emulator's own read-only registers; writing them, or naming any code not
// listed, is an illegal instruction with nothing changed.
void mcrMOVEC() {
  const uint16_t ext = CpuExtraWord;
  const uint16_t code = ext & 0x0FFF;
  uint32_t& reg = ExtWordReg(ext);
  if (CurrentOp().Extra2 != 0) {
    const uint32_t v = reg;
    switch (code) {
      case 0x000: CpuSFC = v & 7; break;
      case 0x001: CpuDFC = v & 7; break;
      case 0x800: CpuUSP = v; break;
      case 0x801: CpuVBR = v; break;
      default: McrIllegal(); return;
    }
  } else {
    uint32_t v;
    switch (code) {
      case 0x000: v = CpuSFC & 7; break;
      case 0x001: v = CpuDFC & 7; break;
      case 0x800: v = CpuUSP; break;
      case 0x801: v = CpuVBR; break;
      case 0x700: v = 0; break;
      case 0x701: v = SignExtend16(static_cast<uint16_t>(AppVersionMajor)); break;
      case 0x702: v = SignExtend16(static_cast<uint16_t>(AppVersionMinor)); break;
      case 0x703: v = SignExtend16(static_cast<uint16_t>(AppVersionRevision)); break;
      case 0x704: v = SignExtend16(CpuType); break;
      case 0x705: v = CpuFrameType == 0 ? 0 : (UseFormat2Stack ? 0x105 : 0x101); break;
      case 0x706: v = 0; break;
      case 0x707: v = SignExtend16(static_cast<uint16_t>(BootDrive)); break;
      default: McrIllegal(); return;
    }
    reg = v;
  }
  McrEndInstructionStepless();
}

// MOVE USP: Extra2 (opcode bit 3) 1 reads the user stack pointer into An, 0 writes it.
void mcrMOVEUSP() {
  const OpMapEntry& op = CurrentOp();
  if (op.Extra2 != 0)
    AReg(op.DstReg) = CpuUSP;
  else
    CpuUSP = AReg(op.SrcReg);
  McrEndInstructionStepless();
}

void mcrNOP() { McrEndInstructionStepless(); }

}  // namespace korva
