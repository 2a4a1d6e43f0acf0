// The control store: 4096 words, each a jump to another control-store address
// or a call of one numbered micro-routine. Every instruction is a chain of calls
// starting at a multiple of 16; the opcode map points each opcode at its chain.
// Routines and chain starts are named in tables/McNames.h.
#pragma once
#include <cstdint>
#include "cpu/CpuState.h"
#include "cpu/Dispatch.h"
#include "tables/McNames.h"

namespace korva {

enum McKind : uint8_t { McUnfilled = 0, McJump = 1, McCall = 2 };

struct McEntry {
  uint8_t Kind;  // McKind
  uint32_t Arg;  // McJump: target address; McCall: micro-routine number (an Mcr)
};

constexpr uint32_t McStoreSize = 4096;
extern McEntry Microcode[McStoreSize];

// Clear every word (kind 0, argument 0), then write the image.
void InitMicrocode();
// Write the fixed image; words it does not list are left as they are.
void LoadMicrocode();

// Control-store rewrites used by the model selection and the fetch switch: every
// call of `from` becomes a call of `to`; the call word at `at` calls m.
void PatchMicrocodeCalls(Mcr from, Mcr to);
void PatchMicrocodeCall(uint32_t at, Mcr m);

// Counts the rewrites above and the loads: the main loop keeps the routine of
// every call word at hand and looks it up again when this has moved. Code that
// writes Microcode directly (tests) does so before the main loop is entered.
extern uint32_t MicrocodeEdits;

// Whether the word at `at` calls routine m.
inline bool CallsAt(uint32_t at, Mcr m) {
  return at < McStoreSize && Microcode[at].Kind == McCall && Microcode[at].Arg == McrNumber(m);
}

// Execute the word at mcPC: a jump, a call, or a microcode fault for an unfilled
// word or an address outside the store. The main loop's step.
inline void StepControlStore() {
  const uint32_t pc = mcPC;
  if (pc < McStoreSize) {
    const McEntry& e = Microcode[pc];
    if (e.Kind == McCall) {
      // One indirect call through the routine table (DispatchMcr without the extra call).
      if (e.Arg < McrTableSize) {
        McrTable[e.Arg]();
        return;
      }
      mcErrorPC = static_cast<uint16_t>(pc);
      mcPC = McFault;
      return;
    }
    if (e.Kind == McJump) {
      mcPC = e.Arg;
      return;
    }
  }
  mcErrorPC = static_cast<uint16_t>(pc);
  mcPC = McFault;
}

}  // namespace korva
