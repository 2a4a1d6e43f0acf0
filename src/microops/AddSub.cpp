// Add, subtract, compare and negate micro-routines: ADD, ADDA, ADDI, ADDQ, ADDX,
// SUB, SUBA, SUBI, SUBQ, SUBX, CMP, CMPA, CMPI, CMPM, NEG and NEGX.
//
// The "loaded" forms work on CpuSop/CpuDop that earlier steps of the chain read
// and leave the sized result in CpuDop for the write-back step. The register
// forms fetch their register operands themselves, merge the result into the
// register and end the instruction. Flags come from the sized values only.
#include <type_traits>
#include "cpu/CpuState.h"
#include "cpu/Microroutines.h"
#include "microops/CcHelpers.h"
#include "microops/MoveCommon.h"

namespace korva {

namespace {

enum class Arith { Add, AddX, Sub, SubX, Cmp };

// D op S (op X) on the sized operands; sets the flags and returns the sized result.
// ADD, SUB and CMP take C and V from the machine's own carry and overflow of the
// sized operation. ADDX and SUBX form the sum or difference on 64 bits, so that
// the carry or borrow out of the operand's top bit is simply bit n of it, and take
// V from the sign rule (operands of equal sign giving a result of the other sign
// for an addition; operands of unequal sign with the result's sign differing from
// the destination's for a subtraction). Both are the MSB equations of CcHelpers.h.
template <Arith Op, uint16_t Size>
[[gnu::always_inline]] inline uint32_t ComputeSized(uint32_t s, uint32_t d) {
  constexpr bool add = Op == Arith::Add || Op == Arith::AddX;
  if constexpr (Op == Arith::AddX || Op == Arith::SubX) {
    constexpr uint32_t mask = AluSizeMask[Size];
    constexpr unsigned top = (8u << Size) - 1;  // 7, 15, 31
    s &= mask;
    d &= mask;
    const uint64_t x = (uint32_t{CpuX} + 0xFFFFu) >> 16;  // 1 for any set X (any non-zero value), else 0
    const uint64_t wide = add ? uint64_t{d} + s + x : uint64_t{d} - s - x;
    const uint32_t r = static_cast<uint32_t>(wide) & mask;
    const uint32_t overflow = add ? ((d ^ r) & (s ^ r)) : ((d ^ s) & (d ^ r));
    CpuN = FlagBit(r, top);
    CpuZ &= ZeroFlag(r);  // extended arithmetic never sets Z, so multi-precision chains test the whole value
    CpuV = FlagBit(overflow, top);
    CpuC = CpuX = FlagBit64(wide, top + 1);
    return r;
  } else {
    using U = std::conditional_t<Size == 0, uint8_t, std::conditional_t<Size == 1, uint16_t, uint32_t>>;
    using S = std::make_signed_t<U>;
    const U su = static_cast<U>(s), du = static_cast<U>(d);
    // One signed operation gives the result bits and V; C is the unsigned
    // wrap of the same result, a compare.
    S rs;
    bool carry, overflow;
    if constexpr (add) {
      overflow = __builtin_add_overflow(static_cast<S>(du), static_cast<S>(su), &rs);
      carry = static_cast<U>(rs) < su;
    } else {
      overflow = __builtin_sub_overflow(static_cast<S>(du), static_cast<S>(su), &rs);
      carry = du < su;
    }
    const U r = static_cast<U>(rs);
    CpuN = SignFlag(static_cast<S>(r));
    CpuZ = ToFlag(r == 0);
    CpuV = ToFlag(overflow);
    CpuC = ToFlag(carry);
    if constexpr (Op != Arith::Cmp) CpuX = CpuC;
    return r;
  }
}

// The same with the size code as a run-time value (0-2, checked by the caller).
template <Arith Op>
[[gnu::always_inline]] inline uint32_t Compute(uint32_t s, uint32_t d, uint16_t size) {
  switch (size) {
    case 0: return ComputeSized<Op, 0>(s, d);
    case 1: return ComputeSized<Op, 1>(s, d);
    default: return ComputeSized<Op, 2>(s, d);
  }
}

// 0 - D (- X) on the sized operand.
template <bool Extend>
inline uint32_t Negate(uint32_t d, uint16_t size) {
  const uint32_t mask = AluSizeMask[size];
  const uint32_t msb = AluSizeMsb[size];
  d &= mask;
  uint32_t r = 0u - d;
  if constexpr (Extend) r -= CpuX ? 1u : 0u;
  r &= mask;
  const uint16_t dm = FlagOf(d, msb), rm = FlagOf(r, msb);
  CpuN = rm;
  if constexpr (Extend) {
    if (r != 0) CpuZ = 0;
  } else {
    CpuZ = ToFlag(r == 0);
  }
  CpuV = CcAnd(dm, rm);
  CpuC = CpuX = CcOr(dm, rm);
  return r;
}

// Operands already in CpuSop and CpuDop; the write-back step follows.
template <Arith Op>
[[gnu::always_inline]] inline void LoadedForm() {
  if (!WithAluSize(CurrentOp().Size,
                   [](auto size) { StoreResultInBranch(ComputeSized<Op, decltype(size)::value>(CpuSop, CpuDop)); }))
    return;
  McrEndStepless();
}

// Destination Dn: load it, operate, merge the sized result back, end the
// instruction. `source` is the value just stored in CpuSop. CpuDop holds the
// register's value only when the size has no case; otherwise the result.
// It ends with the stage stored as usual: left out, the compiler lays the fused
// ADD and SUB chains out with one register more, whose save and restore cost
// more than the store.
template <Arith Op>
[[gnu::always_inline]] inline void DnForm(const OpMapEntry& op, uint32_t source) {
  uint32_t& dn = CpuDReg[RegIndex(op.DstReg)];
  const uint32_t d = dn;
  if (!WithAluSize(op.Size, [&, d, source](auto size) {
        const uint32_t r = ComputeSized<Op, decltype(size)::value>(source, d);
        if constexpr (Op != Arith::Cmp) dn = MergeSized(d, r, size);
        StoreResultInBranch(r);
      })) {
    CpuDop = d;
    return;
  }
  McrEndInstruction();
}


// ADDA, SUBA and CMPA: word sources are sign-extended and the operation is on
// all 32 bits of An. ADDA and SUBA change no flag and leave the old An in CpuDop.
template <Arith Op>
[[gnu::always_inline]] inline void AddressForm() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& an = CpuAReg[RegIndex(op.DstReg)];
  CpuDop = an;
  if (op.Size == 1) {
    CpuSop = ((CpuSop & 0xFFFFu) ^ 0x8000u) - 0x8000u;
  } else if (op.Size != 2) {
    McrMicrocodeFault();
    return;
  }
  if constexpr (Op == Arith::Add)
    an = CpuDop + CpuSop;
  else if constexpr (Op == Arith::Sub)
    an = CpuDop - CpuSop;
  else
    CpuDop = ComputeSized<Arith::Cmp, 2>(CpuSop, CpuDop);
  McrEndInstructionStepless();
}

// ADDQ and SUBQ to An: all 32 bits, whatever the size code, no flags.
template <bool Sub>
[[gnu::always_inline]] inline void QuickAddressForm() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& an = CpuAReg[RegIndex(op.DstReg)];
  CpuSop = static_cast<uint32_t>(op.Extra1);
  CpuDop = an;
  an = Sub ? CpuDop - CpuSop : CpuDop + CpuSop;
  McrEndInstructionStepless();
}

// The source register of the register-to-register forms: An when the source
// mode is not Dn. Both registers are read and one is selected, rather than
// branching, so that both kinds of source run one straight path.
[[gnu::always_inline]] inline uint32_t RnSource(const OpMapEntry& op) {
  const unsigned n = RegIndex(op.SrcReg);
  const uint32_t a = CpuAReg[n], d = CpuDReg[n];
  return op.SrcMode != EaDn ? a : d;
}

// The register-to-register form: the source register into CpuSop, then the Dn form.
template <Arith Op>
[[gnu::always_inline]] inline void RnToDnForm() {
  const OpMapEntry& op = CurrentOp();
  CpuSop = RnSource(op);
  DnForm<Op>(op, CpuSop);
}

}  // namespace

// ---- ADD ----
void mcrADD() { LoadedForm<Arith::Add>(); }

void mcrADDDnToEa() {
  CpuSop = CpuDReg[RegIndex(CurrentOp().SrcReg)];
  LoadedForm<Arith::Add>();
}

void mcrADDA() { AddressForm<Arith::Add>(); }

void mcrADDToDn() { DnForm<Arith::Add>(CurrentOp(), CpuSop); }

void mcrADDQAn() { QuickAddressForm<false>(); }

// Routines marked always-inline: put in line in the fused chains by the
// link-time optimiser (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
[[gnu::always_inline]] void mcrADDImmToDn() {
  CpuSop = static_cast<uint32_t>(CurrentOp().Extra1);
  DnForm<Arith::Add>(CurrentOp(), CpuSop);
}

void mcrADDImm() {
  CpuSop = static_cast<uint32_t>(CurrentOp().Extra1);
  LoadedForm<Arith::Add>();
}

void mcrADDAAn() {
  CpuSop = SourceRegister(CurrentOp());
  AddressForm<Arith::Add>();
}

[[gnu::always_inline]] void mcrADDAnToDn() { RnToDnForm<Arith::Add>(); }

[[gnu::always_inline]] void mcrADDX() { LoadedForm<Arith::AddX>(); }

// ---- SUB ----
void mcrSUB() { LoadedForm<Arith::Sub>(); }

void mcrSUBDnToEa() {
  CpuSop = CpuDReg[RegIndex(CurrentOp().SrcReg)];
  LoadedForm<Arith::Sub>();
}

void mcrSUBA() { AddressForm<Arith::Sub>(); }

void mcrSUBToDn() { DnForm<Arith::Sub>(CurrentOp(), CpuSop); }

void mcrSUBQAn() { QuickAddressForm<true>(); }

[[gnu::always_inline]] void mcrSUBImmToDn() {
  CpuSop = static_cast<uint32_t>(CurrentOp().Extra1);
  DnForm<Arith::Sub>(CurrentOp(), CpuSop);
}

void mcrSUBImm() {
  CpuSop = static_cast<uint32_t>(CurrentOp().Extra1);
  LoadedForm<Arith::Sub>();
}

void mcrSUBAAn() {
  CpuSop = SourceRegister(CurrentOp());
  AddressForm<Arith::Sub>();
}

[[gnu::always_inline]] void mcrSUBAnToDn() { RnToDnForm<Arith::Sub>(); }

void mcrSUBX() { LoadedForm<Arith::SubX>(); }

// ---- CMP: the difference goes to CpuDop only; X is kept ----
[[gnu::always_inline]] void mcrCMP() {
  const uint16_t size = CurrentOp().Size;
  if (!AluSizeOk(size)) return;
  CpuDop = Compute<Arith::Cmp>(CpuSop, CpuDop, size);
  McrEndInstructionStepless();
}

void mcrCMPA() { AddressForm<Arith::Cmp>(); }

[[gnu::always_inline]] void mcrCMPToDn() { DnForm<Arith::Cmp>(CurrentOp(), CpuSop); }

void mcrCMPAAn() {
  CpuSop = SourceRegister(CurrentOp());
  AddressForm<Arith::Cmp>();
}

[[gnu::always_inline]] void mcrCMPAnToDn() { RnToDnForm<Arith::Cmp>(); }
#pragma GCC diagnostic pop

// ---- NEG, NEGX ----
void mcrNEGDn() {
  const OpMapEntry& op = CurrentOp();
  uint32_t& dn = CpuDReg[RegIndex(op.DstReg)];
  CpuDop = dn;
  if (!AluSizeOk(op.Size)) return;
  CpuDop = Negate<false>(CpuDop, op.Size);
  dn = MergeSized(dn, CpuDop, op.Size);
  McrEndInstructionStepless();
}

void mcrNEG() {
  const uint16_t size = CurrentOp().Size;
  if (!AluSizeOk(size)) return;
  CpuDop = Negate<false>(CpuDop, size);
  McrEndStepless();
}

void mcrNEGX() {
  const uint16_t size = CurrentOp().Size;
  if (!AluSizeOk(size)) return;
  CpuDop = Negate<true>(CpuDop, size);
  McrEndStepless();
}

}  // namespace korva
