// Sequencing and register-transfer micro-routines: the idle loop, the halt, the
// STOP wait, the moves between a data register and the operand registers, the
// extension-word fetches and the two halves of MOVEP.
#include "board/Uart2661.h"
#include "cpu/AccessSteps.h"
#include "cpu/FetchDecode.h"
#include "cpu/Microroutines.h"
#include "disk/RWIN.h"
#include "host/Host.h"
#include "microops/CcHelpers.h"
#include "microops/MoveCommon.h"
#include "serial/MVME400.h"
#include "shell/MainFormHooks.h"

namespace korva {

namespace {
// How long a halted processor waits for a window event per pass of the idle loop.
constexpr int kIdleWaitMs = 10;
}  // namespace

// Idle loop of a halted processor (McIdle). A reset pressed during the wait has
// moved the control store to McReset (applied after this word), so mcPC is kept then.
void mcrIdle() {
  WaitEvents(kIdleWaitMs);
  mcStage = 1;
  if (ResetRequest) {
    ResetRequest = False;
    return;
  }
  mcPC += 1;
}

void mcrHalt() {
  MainForm->SetFailLights(0, True);
  McrEnd();
}

// STOP wait: keeps window messages flowing and every device polled until an
// interrupt is published, the STOP was traced, or a reset is pressed.
void mcrStopWait() {
  PumpEvents();
  MVME400C0.DoTxEandRxE();
  MVME400C1.DoTxEandRxE();
  Uart2661.DoTxEandRxE();
  if (RwinCmdPending) Rwin.DoCmdComplete();
  mcStage = 1;
  if (ResetRequest) {
    ResetRequest = False;
    return;
  }
  if (HipPending || CpuTracePending)
    mcPC += 1;
  else
    mcPC = McStopWait;
}

// Routines marked always-inline: put in line in the fused chains by the
// link-time optimiser (see microops/FlowControl.cpp).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
// The register moves leave a size code above long (no such entry) alone. Each
// tests the size code by itself, a long first, with the mask of each size a
// constant: the chains that run them (ADDX, SUBX, ABCD, SBCD) then test the one
// size code the same way in every word, and the compiler follows each size
// through the whole chain with its masks folded in.
namespace {
// The low `size` part of Dn into an operand register; a size code above long
// leaves it alone.
[[gnu::always_inline]] inline void SizedFromDn(uint32_t v, uint16_t size, uint32_t& operand) {
  if (size == 2)
    operand = v;
  else if (size == 1)
    operand = v & 0xFFFFu;
  else if (size == 0)
    operand = v & 0xFFu;
}
}  // namespace

[[gnu::always_inline]] void mcrSrcFromDn() {
  const OpMapEntry& e = CurrentOp();
  SizedFromDn(CpuDReg[e.SrcReg & 7], e.Size, CpuSop);
  McrEndStepless();
}

[[gnu::always_inline]] void mcrDstFromDn() {
  const OpMapEntry& e = CurrentOp();
  SizedFromDn(CpuDReg[e.DstReg & 7], e.Size, CpuDop);
  McrEndStepless();
}

[[gnu::always_inline]] void mcrDstToDn() {
  const OpMapEntry& e = CurrentOp();
  uint32_t& d = CpuDReg[e.DstReg & 7];
  if (e.Size == 2)
    d = CpuDop;
  else if (e.Size == 1)
    d = MergeSized(d, CpuDop, 1);
  else if (e.Size == 0)
    d = MergeSized(d, CpuDop, 0);
  // Always the last routine of its chains (ADDX, SUBX, ABCD, SBCD, MOVEP from
  // memory): straight to the fetch when nothing is pending.
  McrEndInstructionStepless();
}
#pragma GCC diagnostic pop

void mcrFetchExtWord() {
  if (!FetchWordRoutine()) return;
  CpuSop = AccInstIn;
  McrEnd();
}

void mcrFetchExtLong() {
  if (FetchLongRoutine(CpuSop)) McrEnd();
}

// MOVEP: every other byte from CpuEa. The first byte of each pair travels in the
// high half of the data latch, the second in the low half; the bytes of a long
// go out high word first. Word: steps 1-3; long: steps 1, 4-7. Step 1 prepares
// the first byte; each later step moves byte i = step - first (at CpuEa + 2i)
// and prepares the next one.
namespace {
// A word transfer has steps 1-3, a long one steps 1 and 4-7; nothing else exists.
inline bool MovepStepFits(uint8_t stage, uint16_t size) {
  if (size == 1) return stage >= 1 && stage <= 3;
  if (size == 2) return stage == 1 || (stage >= 4 && stage <= 7);
  return false;
}

template <bool Write>
void Movep() {
  const uint16_t size = CurrentOp().Size;
  if (!MovepStepFits(mcStage, size)) return McrMicrocodeFault();
  const uint8_t first = size == 1 ? 2 : 4, last = size == 1 ? 3 : 7;
  const uint16_t hi = HiWord(CpuDop), lo = LoWord(CpuDop);
  const auto prepare = [&](unsigned i) {
    const bool lowHalf = (i & 1) != 0;
    if constexpr (Write) {
      PrepareAccess(CpuEa + 2 * i, lowHalf ? 0x1201 : 0x1601);
      AccDataOut = (size == 2 && i < 2) ? hi : lo;  // a word sends its low word
    } else {
      PrepareAccess(CpuEa + 2 * i, lowHalf ? 0x1301 : 0x1701);
    }
  };
  uint8_t step = mcStage;
  if (step == 1) {
    prepare(0);
    step = first;
  }
  for (;; ++step) {
    if (!StepCycle(step)) return;
    const unsigned i = step - first;
    if constexpr (!Write) {
      if ((i & 1) == 0) {
        CpuTempWord = AccDataIn;  // a high byte: its pair completes at the next step
      } else {
        const uint16_t pair = static_cast<uint16_t>(CpuTempWord | AccDataIn);
        CpuSop = i == 3 ? (CpuSop << 16) | pair : pair;
      }
    }
    if (step == last) return McrEnd();
    prepare(i + 1);
  }
}
}  // namespace

void mcrMOVEPRead() { Movep<false>(); }
void mcrMOVEPWrite() { Movep<true>(); }

}  // namespace korva
