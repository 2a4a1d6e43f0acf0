// Operand read and write micro-routines: move operands between memory, the
// register file and the operand registers CpuSop / CpuDop, so that the
// instruction micro-operations work on those alone.
//
// The general read routines number their access steps by operand class and size:
//   2 data byte, 3 data word, 4-5 data long, 6 program byte, 7 program word,
//   8-9 program long, 10 immediate byte, 11 immediate word, 12-13 immediate long.
// The fixed-size routines use a subset of these under their own step numbers;
// a ReadShape maps between the two.
#include <initializer_list>
#include "cpu/AccessSteps.h"
#include "cpu/Microroutines.h"

namespace korva {

namespace {

enum : uint8_t {
  kDataB = 2, kDataW, kDataL1, kDataL2, kProgB, kProgW, kProgL1, kProgL2, kImmB, kImmW, kImmL1, kImmL2,
};

// Operand mode codes.
constexpr uint16_t kModeDn = 0, kModeAn = 1, kModeLastData = 8, kModeLastProg = 10, kModeImm = 11;
constexpr uint16_t kModeQuickFirst = 16, kModeQuickLast = 18;

struct ReadShape {
  int8_t size;           // fixed operand size, or -1: the entry's Size
  uint8_t own[14];       // own step number of each general step (0: none)
  uint8_t general[14];   // general step of each own step (0: none)
};

constexpr ReadShape MakeShape(int8_t size, std::initializer_list<uint8_t> generalSteps) {
  ReadShape s{size, {}, {}};
  uint8_t own = 2;
  for (uint8_t g : generalSteps) {
    s.own[g] = own;
    s.general[own] = g;
    ++own;
  }
  return s;
}

constexpr ReadShape kBySize =
    MakeShape(-1, {kDataB, kDataW, kDataL1, kDataL2, kProgB, kProgW, kProgL1, kProgL2, kImmB, kImmW, kImmL1, kImmL2});
constexpr ReadShape kByte = MakeShape(0, {kDataB, kProgB, kImmB});
constexpr ReadShape kWord = MakeShape(1, {kDataW, kProgW, kImmW});
constexpr ReadShape kLong = MakeShape(2, {kDataL1, kDataL2, kProgL1, kProgL2, kImmL1, kImmL2});

// Status words of the accesses, by general step.
constexpr uint16_t kReadSsw[14] = {0,      0,      0x1301, 0x1101, 0x1101, 0x1101, 0x1302,
                                   0x1102, 0x1102, 0x1102, 0x2102, 0x2102, 0x2102, 0x2102};

inline uint32_t RegisterBySize(uint32_t v, int size) {
  switch (size) {
    case 1: return v & 0xFFFF;
    case 2: return v;
    default: return v & 0xFF;  // a byte, and any size without a case
  }
}

// One access of general step g; false when it faulted (the routine has diverted).
[[gnu::always_inline]] inline bool ReadAccess(const ReadShape& sh, uint8_t g) {
  if (g >= kImmB)
    BusFetchWord();
  else if (g == kDataB || g == kProgB)
    BusReadByte();
  else
    BusReadWord();
  return StepSucceeded(sh.own[g]);
}

[[gnu::always_inline]] inline uint16_t ReadValue(uint8_t g) {
  if (g >= kImmB) {
    CpuPC += 2;
    return AccInstIn;
  }
  return AccDataIn;
}

// The ends of a step 1 whose accesses were answered inline: mcStage is still 1
// (ReadOperand and WriteOperand try the inline answers at step 1 alone, and
// nothing on those ways changes the step), so only mcPC moves on.
[[gnu::always_inline]] inline void EndAtStepOne() { mcPC += 1; }
[[gnu::always_inline]] inline void EndInstructionAtStepOne() {
  if ((CpuTracePending | HipPending) == 0)
    mcPC = McFastFetch;
  else
    mcPC += 1;
}

// A long of memory in one repeated page, at CpuEa in function code `space`:
// both words at once, leaving the latches as the two reads do (the repeat entry
// holds their status word), and the routine ends. False, with nothing changed,
// when it is not answered so. AfterMiss: the inline entry has missed the page
// and is first made to hold it where that changes nothing else.
template <bool Dst, bool AfterMiss>
[[gnu::always_inline]] inline bool QuickReadLong(unsigned space) {
  const uint32_t ea = CpuEa;
  uint16_t ssw;
  const MemoryCell* cells = AfterMiss ? bus_detail::QuickLongCellsAfterMiss(ea, CpuS, space, false, ssw)
                                      : bus_detail::QuickLongCells(ea, CpuS, space, false, ssw);
  if (cells == nullptr) return false;
  AccSSW = ssw;
  ClearFaultFlagSet();
  const uint16_t high = cells[0].Data, low = cells[1].Data;
  CpuTempWord = high;
  AccAddress = ea + 2;
  AccDataIn = low;
  (Dst ? CpuDop : CpuSop) = (static_cast<uint32_t>(high) << 16) | low;
  EndAtStepOne();
  return true;
}

template <bool Dst, uint8_t G>
[[gnu::noinline]] void ReadLongAfterMiss(const ReadShape& sh);

// The accesses from general step G on, G a constant so that the status words
// and step numbers fold. Prepare: set up the first access (stage 1); a resumed
// step finds it restored. Quick: a long first tries the inline answer; when the
// inline entry misses, the rest runs out of line (ReadLongAfterMiss).
template <bool Dst, uint8_t G, bool Prepare, bool Quick = Prepare>
[[gnu::always_inline]] inline void ReadSteps(const ReadShape& sh) {
  uint32_t& out = Dst ? CpuDop : CpuSop;
  constexpr bool kLongStart = G == kDataL1 || G == kProgL1;
  if constexpr (Quick && kLongStart) {
    static_assert((kReadSsw[G] & ~3u) == 0x1100, "a data word read");
    if (QuickReadLong<Dst, false>(kReadSsw[G] & 3u)) [[likely]]
      return;
    ReadLongAfterMiss<Dst, G>(sh);
    LeaveCommonWay();
    return;
  }
  if constexpr (Prepare) {
    AccAddress = CpuEa;
    SetAccSSWInState(kReadSsw[G]);
  }
  if (!ReadAccess(sh, G)) return;
  if constexpr (G == kDataB || G == kProgB || G == kImmB) {
    out = ReadValue(G) & 0xFF;
  } else if constexpr (G == kDataW || G == kProgW || G == kImmW) {
    out = ReadValue(G);
  } else if constexpr (G == kDataL1 || G == kProgL1 || G == kImmL1) {
    CpuTempWord = ReadValue(G);
    AccAddress = CpuEa + 2;
    // The latches this call prepared still hold the status word (cpu/AccessSteps.h);
    // a resumed first word has the fault frame's and sets them again.
    if constexpr (!Prepare) SetAccSSWInState(kReadSsw[G]);
    ReadSteps<Dst, G + 1, false>(sh);
    return;
  } else {
    out = (static_cast<uint32_t>(CpuTempWord) << 16) | ReadValue(G);
  }
  McrEnd();
}

// A long whose page the inline entry did not hold: answered inline after all
// when its page repeats, else read word by word.
template <bool Dst, uint8_t G>
[[gnu::noinline]] void ReadLongAfterMiss(const ReadShape& sh) {
  if (QuickReadLong<Dst, true>(kReadSsw[G] & 3u)) return;
  ReadSteps<Dst, G, true, false>(sh);
}

template <bool Dst, bool Prepare>
[[gnu::always_inline]] inline void ReadStepsFrom(const ReadShape& sh, uint8_t g) {
  switch (g) {
    case kDataB: return ReadSteps<Dst, kDataB, Prepare>(sh);
    case kDataW: return ReadSteps<Dst, kDataW, Prepare>(sh);
    case kDataL1: return ReadSteps<Dst, kDataL1, Prepare>(sh);
    case kDataL2: return ReadSteps<Dst, kDataL2, Prepare>(sh);
    case kProgB: return ReadSteps<Dst, kProgB, Prepare>(sh);
    case kProgW: return ReadSteps<Dst, kProgW, Prepare>(sh);
    case kProgL1: return ReadSteps<Dst, kProgL1, Prepare>(sh);
    case kProgL2: return ReadSteps<Dst, kProgL2, Prepare>(sh);
    case kImmB: return ReadSteps<Dst, kImmB, Prepare>(sh);
    case kImmW: return ReadSteps<Dst, kImmW, Prepare>(sh);
    case kImmL1: return ReadSteps<Dst, kImmL1, Prepare>(sh);
    case kImmL2: return ReadSteps<Dst, kImmL2, Prepare>(sh);
    default: McrMicrocodeFault();
  }
}

// The register, quick-data and empty operands of step 1: no bus access.
template <bool Dst>
[[gnu::always_inline]] inline void ReadWithoutAccess(const OpMapEntry& e, uint16_t mode, int size) {
  uint32_t& out = Dst ? CpuDop : CpuSop;
  if (mode == kModeDn) {
    out = RegisterBySize(CpuDReg[(Dst ? e.DstReg : e.SrcReg) & 7], size);
  } else if (mode == kModeAn) {
    const uint32_t a = CpuAReg[(Dst ? e.DstReg : e.SrcReg) & 7];
    out = Dst ? a : RegisterBySize(a, size);  // a destination An is read whole
  } else if (mode >= kModeQuickFirst && mode <= kModeQuickLast) {
    out = static_cast<uint32_t>(e.Extra1);
  }
  McrEnd();  // mode codes 12 to 15 and above 18: nothing to read
}

// Inline in each routine, so that the shape's fixed size and step numbers fold.
// Step 1 tests for the common case first, a data-space operand, whose first
// access then runs without a further branch on the class.
template <bool Dst>
[[gnu::always_inline]] inline void ReadOperand(const ReadShape& sh) {
  if (mcStage != 1) {
    const uint8_t g = mcStage < 14 ? sh.general[mcStage] : 0;
    if (g == 0) {
      McrMicrocodeFault();
      return;
    }
    ReadStepsFrom<Dst, false>(sh, g);
    return;
  }
  const OpMapEntry& e = CurrentOp();
  const uint16_t mode = Dst ? e.DstMode : e.SrcMode;
  const int size = sh.size >= 0 ? sh.size : e.Size;
  const bool sizeOk = sh.size >= 0 || (size >= 0 && size <= 2);
  // The sized routines also serve the immediate instructions, whose destination
  // is most often a data register.
  if (sh.size < 0 && mode == kModeDn) {
    ReadWithoutAccess<Dst>(e, mode, size);
    return;
  }
  if (static_cast<uint16_t>(mode - 2) <= kModeLastData - 2 && sizeOk) [[likely]] {
    ReadStepsFrom<Dst, true>(sh, static_cast<uint8_t>(kDataB + size));
    return;
  }
  if (mode < 2 || mode > kModeImm || !sizeOk) {
    ReadWithoutAccess<Dst>(e, mode, size);
    return;
  }
  const uint8_t cls = mode <= kModeLastProg ? 1 : 2;
  ReadStepsFrom<Dst, true>(sh, static_cast<uint8_t>(kDataB + cls * 4 + size));
}

// The memory accesses of a write from access A on (0 byte, 1 word, 2 long first
// word, 3 long second word), A a constant so that step numbers and status words
// fold. Prepare: set up the first access (stage 1); a resumed step finds it
// restored. Writes: byte 0x1201, word and each word of a long 0x1001; the general
// routine numbers its steps byte 2, word 3, long 4-5, the fixed-size ones from 2.
// A long to RAM in one repeated page, CpuDop to CpuEa: both words at once,
// leaving the latches as the two writes do (the repeat entry holds their status
// word), and the instruction ends. False, with nothing changed, when it is not
// answered so. AfterMiss as for QuickReadLong.
template <bool AfterMiss>
[[gnu::always_inline]] inline bool QuickWriteLong() {
  static_assert((kSswDataWrite & ~3u) == 0x1000, "a data word write");
  const uint32_t ea = CpuEa, value = CpuDop;
  uint16_t ssw;
  MemoryCell* cells = AfterMiss ? bus_detail::QuickLongCellsAfterMiss(ea, CpuS, kSswDataWrite & 3u, true, ssw)
                                : bus_detail::QuickLongCells(ea, CpuS, kSswDataWrite & 3u, true, ssw);
  if (cells == nullptr) return false;
  AccSSW = ssw;
  ClearFaultFlagSet();
  cells[0].Data = static_cast<uint16_t>(value >> 16);
  cells[1].Data = static_cast<uint16_t>(value);
  AccAddress = ea + 2;
  AccDataOut = static_cast<uint16_t>(value);
  EndInstructionAtStepOne();
  return true;
}

template <bool General>
[[gnu::noinline]] void WriteLongAfterMiss();

// The memory accesses of a write from access A on (0 byte, 1 word, 2 long first
// word, 3 long second word), A a constant so that step numbers and status words
// fold. Prepare: set up the first access (stage 1); a resumed step finds it
// restored. Quick: a long first tries the inline answer, and when the inline
// entry misses the rest runs out of line (WriteLongAfterMiss). Writes: byte
// 0x1201, word and each word of a long 0x1001; the general routine numbers its
// steps byte 2, word 3, long 4-5, the fixed-size ones from 2.
template <bool General, int A, bool Prepare, bool Quick = Prepare>
[[gnu::always_inline]] inline void WriteSteps() {
  constexpr uint8_t sByte = 2, sWord = General ? 3 : 2, sLong1 = General ? 4 : 2, sLong2 = General ? 5 : 3;
  if constexpr (Quick && A == 2) {
    if (QuickWriteLong<false>()) [[likely]]
      return;
    WriteLongAfterMiss<General>();
    LeaveCommonWay();
    return;
  }
  if constexpr (Prepare) {
    if constexpr (A == 0)
      PrepareWriteAccess(CpuEa, static_cast<uint16_t>(CpuDop & 0xFF), 0x1201);
    else if constexpr (A == 1)
      PrepareWriteAccess(CpuEa, static_cast<uint16_t>(CpuDop));
    else
      PrepareWriteAccess(CpuEa, static_cast<uint16_t>(CpuDop >> 16));
  }
  if constexpr (A == 0) {
    BusWriteByte();
    if (!StepSucceeded(sByte)) return;
  } else if constexpr (A == 1) {
    if (!StepWriteWord(sWord)) return;
  } else if constexpr (A == 2) {
    if (!StepWriteWord(sLong1)) return;
    // As for a long read: a fresh call moves only the address and the data.
    if constexpr (Prepare) {
      AccAddress = CpuEa + 2;
      AccDataOut = static_cast<uint16_t>(CpuDop);
    } else {
      PrepareWriteAccess(CpuEa + 2, static_cast<uint16_t>(CpuDop));
    }
    WriteSteps<General, 3, false>();
    return;
  } else {
    if (!StepWriteWord(sLong2)) return;
  }
  McrEndInstruction();
}

// A long whose page the inline entry did not hold: written inline after all
// when its page repeats, else word by word.
template <bool General>
[[gnu::noinline]] void WriteLongAfterMiss() {
  if (QuickWriteLong<true>()) return;
  WriteSteps<General, 2, true, false>();
}

// A data-register destination: merged by size (a size without a case as a
// byte), and the instruction ends.
[[gnu::always_inline]] inline void WriteDn(const OpMapEntry& e, int size) {
  uint32_t& d = CpuDReg[e.DstReg & 7];
  if (size == 2)
    d = CpuDop;
  else if (size == 1)
    d = (d & 0xFFFF0000u) | (CpuDop & 0xFFFF);
  else
    d = (d & 0xFFFFFF00u) | (CpuDop & 0xFF);
  McrEndInstruction();
}

template <int FixedSize>
[[gnu::always_inline]] inline void WriteOperand() {
  constexpr bool general = FixedSize < 0;
  if (mcStage == 1) {
    const OpMapEntry& e = CurrentOp();
    const int size = general ? e.Size : FixedSize;
    const uint16_t mode = e.DstMode;
    if (general && mode == kModeDn) {
      // The sized write also ends the immediate instructions aimed at a data register.
      WriteDn(e, size);
      return;
    }
    if (static_cast<uint16_t>(mode - 2) <= kModeLastData - 2) [[likely]] {
      if constexpr (!general) {
        WriteSteps<false, FixedSize, true>();
        return;
      } else {
        switch (size) {
          case 0: WriteSteps<true, 0, true>(); return;
          case 1: WriteSteps<true, 1, true>(); return;
          case 2: WriteSteps<true, 2, true>(); return;
          default: McrEndInstruction(); return;  // no such size: nothing is written
        }
      }
    }
    if (mode == kModeDn) {
      WriteDn(e, size);
      return;
    }
    if (mode == kModeAn) CpuAReg[e.DstReg & 7] = CpuDop;  // whole, whatever the size
    McrEndInstruction();  // any other mode code: nothing is written
    return;
  }
  const uint8_t s = mcStage;
  if constexpr (general) {
    switch (s) {
      case 2: WriteSteps<true, 0, false>(); return;
      case 3: WriteSteps<true, 1, false>(); return;
      case 4: WriteSteps<true, 2, false>(); return;
      case 5: WriteSteps<true, 3, false>(); return;
      default: McrMicrocodeFault(); return;
    }
  } else {
    if (s == 2) {
      WriteSteps<false, FixedSize, false>();
      return;
    }
    if (FixedSize == 2 && s == 3) {
      WriteSteps<false, 3, false>();
      return;
    }
    McrMicrocodeFault();
  }
}

// The extension-word fetch the quick read does not answer (step 1), or its
// resumed step 2: the word in AccInstIn, CpuPC past it and the stage back at 1;
// false when the access faulted or the stage is none of the routine's.
[[gnu::noinline, gnu::cold]] bool FetchExtWordSlowly() {
  if (mcStage == 1) {
    PrepareFetchAccess();
  } else if (mcStage != 2) {
    McrMicrocodeFault();
    return false;
  }
  if (!StepFetchWord(2)) return false;
  CpuPC += 2;
  mcStage = 1;
  return true;
}

}  // namespace

// Routines marked always-inline: put in line in the fused chains by the
// link-time optimiser (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
void mcrReadSrc() { ReadOperand<false>(kBySize); }
void mcrReadDst() { ReadOperand<true>(kBySize); }
void mcrReadSrcByte() { ReadOperand<false>(kByte); }
void mcrReadSrcWord() { ReadOperand<false>(kWord); }
[[gnu::always_inline]] void mcrReadSrcLong() { ReadOperand<false>(kLong); }
void mcrReadDstWord() { ReadOperand<true>(kWord); }

void mcrWriteDst() { WriteOperand<-1>(); }
void mcrWriteDstByte() { WriteOperand<0>(); }
void mcrWriteDstWord() { WriteOperand<1>(); }
[[gnu::always_inline]] void mcrWriteDstLong() { WriteOperand<2>(); }

// The instruction's next word into CpuExtraWord. The quick read answers it in
// line; the word and the new CpuPC are stored after all ways have joined, from
// registers, so that a routine after it in the chain (a branch adding the
// displacement to CpuPC) takes them without reading them back. A fetch that
// faulted stores back the values the two hold, which changes nothing but lets
// the way out of a fault join the others with them in registers too.
[[gnu::always_inline]] void mcrFetchExt() {
  uint32_t pc = CpuPC;
  uint16_t word;
  bool fetched = true;
  if (mcStage == 1 && QuickFetchAt(pc, word)) [[likely]] {
    AccAddress = pc;
    AccInstIn = word;
    pc += 2;
  } else {
    fetched = FetchExtWordSlowly();
    word = fetched ? AccInstIn : CpuExtraWord;
    pc = CpuPC;
  }
  CpuPC = pc;
  CpuExtraWord = word;
  if (!fetched) return;
  // mcStage is 1: the quick way starts and stays there, the other sets it.
  mcPC += 1;
}
#pragma GCC diagnostic pop

// The immediate operand that precedes the destination's extension words.
void mcrFetchImm() {
  uint8_t stage = mcStage;
  if (stage == 1) {
    const uint16_t size = CurrentOp().Size;
    if (size > 2) {
      McrMicrocodeFault();
      return;
    }
    PrepareFetchAccess();
    if (size == 2) {
      if (FreshFetchLong(4, CpuSop)) McrEnd();
      return;
    }
    stage = static_cast<uint8_t>(2 + size);
  }
  switch (stage) {
    case 2:
    case 3:
      if (!StepFetchWord(stage)) return;
      CpuPC += 2;
      CpuSop = stage == 2 ? (AccInstIn & 0xFFu) : AccInstIn;
      McrEnd();
      return;
    case 4:
    case 5:
      if (StepsFetchLong(4, CpuSop)) McrEnd();
      return;
    default:
      McrMicrocodeFault();
  }
}

// Push the return address CpuPC.
void mcrPushReturn() {
  if (PushLongRoutine(CpuPC)) McrEnd();
}

}  // namespace korva
