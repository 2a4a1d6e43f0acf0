// Logic, clear and test micro-routines: AND, ANDI, OR, ORI, EOR, EORI, NOT, CLR
// and TST. Each leaves the sized result zero-extended in CpuDop; the register
// forms merge it into the data register and end the instruction.
// Flags: N and Z from the sized result, V and C cleared, X kept.
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {

// Reduce CpuDop to the sized result and set the flags.
[[gnu::always_inline]] inline void SizeResult(uint16_t size) {
  CpuDop &= AluSizeMask[size];
  SetLogicFlags(CpuDop, size);
}

// Loaded destination combined with `source`; the write-back step follows.
template <Logic Op>
[[gnu::always_inline]] inline void LoadedForm(uint32_t source) {
  if (!WithAluSize(CurrentOp().Size, [source](auto size) {
        CpuDop = ApplyLogic<Op>(CpuDop, source);
        SizeResult(size);
      }))
    return;
  McrEndStepless();
}

// Data register DstReg combined with `source`, merged back by size.
template <Logic Op>
[[gnu::always_inline]] inline void DnForm(const OpMapEntry& op, uint32_t source) {
  uint32_t& dn = CpuDReg[RegIndex(op.DstReg)];
  if (!WithAluSize(op.Size, [&dn, source](auto size) {
        const uint32_t r = ApplyLogic<Op>(dn, source) & AluSizeMask[size];
        SetLogicFlags(r, size);
        dn = MergeSized(dn, r, size);
        StoreResultInBranch(r);
      }))
    return;
  McrEndInstructionStepless();
}

}  // namespace

// Routines marked always-inline: put in line in the fused chains by the
// link-time optimiser (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
// ---- AND ----
[[gnu::always_inline]] void mcrANDI() { LoadedForm<Logic::And>(CpuSop); }
void mcrANDReg() {
  const OpMapEntry& op = CurrentOp();
  DnForm<Logic::And>(op, CpuDReg[RegIndex(op.SrcReg)]);
}
void mcrANDDnToEa() { LoadedForm<Logic::And>(CpuDReg[RegIndex(CurrentOp().SrcReg)]); }
[[gnu::always_inline]] void mcrANDToDn() { DnForm<Logic::And>(CurrentOp(), CpuSop); }

// ---- OR ----
void mcrORI() { LoadedForm<Logic::Or>(CpuSop); }
void mcrORReg() {
  const OpMapEntry& op = CurrentOp();
  DnForm<Logic::Or>(op, CpuDReg[RegIndex(op.SrcReg)]);
}
void mcrORDnToEa() { LoadedForm<Logic::Or>(CpuDReg[RegIndex(CurrentOp().SrcReg)]); }
[[gnu::always_inline]] void mcrORToDn() { DnForm<Logic::Or>(CurrentOp(), CpuSop); }

// ---- EOR ----
void mcrEORI() { LoadedForm<Logic::Eor>(CpuSop); }
[[gnu::always_inline]] void mcrEORReg() {
  const OpMapEntry& op = CurrentOp();
  DnForm<Logic::Eor>(op, CpuDReg[RegIndex(op.SrcReg)]);
}
void mcrEORDnToEa() { LoadedForm<Logic::Eor>(CpuDReg[RegIndex(CurrentOp().SrcReg)]); }

// ---- NOT ----
void mcrNOTDn() { DnForm<Logic::Eor>(CurrentOp(), 0xFFFFFFFFu); }
void mcrNOT() { LoadedForm<Logic::Eor>(0xFFFFFFFFu); }

// ---- CLR ----
// The flags of a clear are set before the size branch.
void mcrCLRDn() {
  const OpMapEntry& op = CurrentOp();
  SetClearFlags();
  if (!AluSizeOk(op.Size)) return;
  uint32_t& dn = CpuDReg[RegIndex(op.DstReg)];
  dn &= ~AluSizeMask[op.Size];
  McrEndInstructionStepless();
}

// The destination is not read; the write step stores the 0 by the instruction's size.
void mcrCLR() {
  CpuDop = 0;
  SetClearFlags();
  McrEndStepless();
}

// ---- TST ----
void mcrTSTDn() {
  const OpMapEntry& op = CurrentOp();
  if (!WithAluSize(op.Size, [&op](auto size) {
        CpuDop = CpuDReg[RegIndex(op.DstReg)];
        SizeResult(size);
      }))
    return;
  McrEndInstructionStepless();
}

// TST An exists for word and long only.
void mcrTSTAn() {
  const OpMapEntry& op = CurrentOp();
  if (op.Size != 1 && op.Size != 2) {
    McrMicrocodeFault();
    return;
  }
  CpuDop = CpuAReg[RegIndex(op.DstReg)];
  SizeResult(op.Size);
  McrEndInstructionStepless();
}

// TST of a loaded operand is the instruction's last step.
[[gnu::always_inline]] void mcrTST() {
  if (!WithAluSize(CurrentOp().Size, [](auto size) { SizeResult(size); })) return;
  McrEndInstructionStepless();
}
#pragma GCC diagnostic pop

}  // namespace korva
