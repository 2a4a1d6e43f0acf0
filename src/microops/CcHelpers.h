// Condition-code equations and sized-operand helpers of the arithmetic, logic,
// shift and bit micro-routines.
//
// Flag arguments and results are the machine's flag booleans: 0 for false,
// 0xFFFF for true, combined bitwise. Source MSB first, then destination MSB,
// then result MSB; the subtract forms describe D - S.
#pragma once
#include <cstdint>
#include <type_traits>
#include "cpu/CpuState.h"

namespace korva {

inline constexpr uint16_t CcAddOverflow(uint16_t sm, uint16_t dm, uint16_t rm) {
  return static_cast<uint16_t>((~sm & ~dm & rm) | (sm & dm & ~rm));
}
inline constexpr uint16_t CcAddCarry(uint16_t sm, uint16_t dm, uint16_t rm) {
  return static_cast<uint16_t>((sm & dm) | (~rm & (sm | dm)));
}
inline constexpr uint16_t CcSubOverflow(uint16_t sm, uint16_t dm, uint16_t rm) {
  return static_cast<uint16_t>((~sm & dm & ~rm) | (sm & ~dm & rm));
}
inline constexpr uint16_t CcSubCarry(uint16_t sm, uint16_t dm, uint16_t rm) {
  return static_cast<uint16_t>((sm & rm) | (~dm & (sm | rm)));
}
// NEG and NEGX: overflow is CcAnd(Dm, Rm), borrow is CcOr(Dm, Rm).
inline constexpr uint16_t CcAnd(uint16_t a, uint16_t b) { return static_cast<uint16_t>(a & b); }
inline constexpr uint16_t CcOr(uint16_t a, uint16_t b) { return static_cast<uint16_t>(a | b); }

// Operand widths by size code (0 byte, 1 word, 2 long). Callers check the code
// is 0-2 before indexing.
inline constexpr uint32_t AluSizeMask[3] = {0xFFu, 0xFFFFu, 0xFFFFFFFFu};
inline constexpr uint32_t AluSizeMsb[3] = {0x80u, 0x8000u, 0x80000000u};

// The flag boolean of bit `bit` of a value.
inline constexpr uint16_t FlagBit(uint32_t value, unsigned bit) {
  return static_cast<uint16_t>(0u - ((value >> bit) & 1u));
}
inline constexpr uint16_t FlagBit64(uint64_t value, unsigned bit) {
  return static_cast<uint16_t>(0u - static_cast<uint32_t>((value >> bit) & 1u));
}

// The flag boolean of a signed value's sign, by an arithmetic shift.
inline constexpr uint16_t SignFlag(int32_t value) { return static_cast<uint16_t>(value >> 31); }

// The flag boolean of "value is zero": the borrow of value - 1, taken from the
// top half of the 64-bit difference. A plain compare would do the same, but
// the compiler then folds it back into the operation that made the value (an
// EOR's result tests equal operands) and spends a set-byte and a negate on it.
inline constexpr uint16_t ZeroFlag(uint32_t value) { return static_cast<uint16_t>((uint64_t{value} - 1) >> 32); }

// The flag boolean of "value has any of bits set".
inline constexpr uint16_t FlagOf(uint32_t value, uint32_t bits) { return (value & bits) ? 0xFFFF : 0; }

// Merge a sized result into a data register: the bits above the size keep their values.
inline constexpr uint32_t MergeSized(uint32_t reg, uint32_t result, uint16_t size) {
  return (reg & ~AluSizeMask[size]) | (result & AluSizeMask[size]);
}

// N and Z from a sized result; V and C cleared; X kept (logic, TST, CLR).
inline void SetLogicFlags(uint32_t result, uint16_t size) {
  CpuN = FlagBit(result, (8u << size) - 1);
  CpuZ = ZeroFlag(result & AluSizeMask[size]);
  CpuV = 0;
  CpuC = 0;
}

// The logic operations of AND, OR, EOR and NOT and of the status-register immediates.
enum class Logic { And, Or, Eor };
template <Logic Op>
inline constexpr uint32_t ApplyLogic(uint32_t a, uint32_t b) {
  if constexpr (Op == Logic::And)
    return a & b;
  else if constexpr (Op == Logic::Or)
    return a | b;
  else
    return a ^ b;
}

// CLR: N, V and C cleared, Z set.
inline void SetClearFlags() {
  CpuN = 0;
  CpuZ = 0xFFFF;
  CpuV = 0;
  CpuC = 0;
}

// The size branch of a sized routine: a code other than byte, word or long is a
// microcode fault (mcErrorPC at this step, then the fault report).
inline bool AluSizeOk(uint16_t size) {
  if (size <= 2) return true;
  McrMicrocodeFault();
  return false;
}

// Stores the result of a size branch in CpuDop, as the branch's last store.
// Left to itself the compiler moves the like stores that end each size branch
// (result, flags, register) to the branches' join; the values of every branch
// are then live at once there, more than a fused chain has registers for, and
// the chain saves and restores registers on every run. A volatile store is
// never moved, and the stores made before it then stay in their branch too.
[[gnu::always_inline]] inline void StoreResultInBranch(uint32_t result) {
  *static_cast<volatile uint32_t*>(&CpuDop) = result;
}

// The size branch with the code as a constant: f is called with 0, 1 or 2 as a
// std::integral_constant, so that the masks and sign bits of the size fold into
// its code. Any other code is a microcode fault (false). Longs are tested
// first, then words: the sizes met most take the fewest tests.
template <typename F>
[[gnu::always_inline]] inline bool WithAluSize(uint16_t size, F&& f) {
  if (size == 2) {
    f(std::integral_constant<uint16_t, 2>{});
  } else if (size == 1) {
    f(std::integral_constant<uint16_t, 1>{});
  } else if (size == 0) {
    f(std::integral_constant<uint16_t, 0>{});
  } else {
    McrMicrocodeFault();
    return false;
  }
  return true;
}

// Condition cc (low four bits) over the condition codes, as TestCondition, but
// each case reads only the flags it needs: a branch on one condition does not
// pay for loading and testing all four.
[[gnu::always_inline]] inline bool ConditionHolds(uint32_t cc) {
  switch (cc & 15) {
    case 0: return true;
    case 1: return false;
    case 2: return CpuC == 0 && CpuZ == 0;
    case 3: return CpuC != 0 || CpuZ != 0;
    case 4: return CpuC == 0;
    case 5: return CpuC != 0;
    case 6: return CpuZ == 0;
    case 7: return CpuZ != 0;
    case 8: return CpuV == 0;
    case 9: return CpuV != 0;
    case 10: return CpuN == 0;
    case 11: return CpuN != 0;
    case 12: return (CpuN != 0) == (CpuV != 0);
    case 13: return (CpuN != 0) != (CpuV != 0);
    case 14: return CpuZ == 0 && (CpuN != 0) == (CpuV != 0);
    default: return CpuZ != 0 || (CpuN != 0) != (CpuV != 0);
  }
}

// The register numbers of an opcode-map entry, kept inside the register file
// whatever the entry holds.
inline constexpr unsigned RegIndex(uint16_t r) { return r & 7u; }

}  // namespace korva
