// Fused chains: for each chain of the control-store image, one function that
// calls the chain's routines one after the other, directly, instead of the main
// loop looking up and calling one word at a time. They are generated from the
// image when the program compiles, in the forms the model selection gives the
// store; a chain whose words in the live store differ from every form (a patch,
// the debugger's fetch, a test's own words) has no fused form and runs word by
// word.
#pragma once
#include <cstdint>

#include "cpu/ControlStore.h"

namespace korva {

// Runs the calls of one chain from its first word. After each routine it goes on
// only when the routine stepped mcPC to the next word of the chain and
// LoopAttention is clear; otherwise (the end of the instruction, a jump, a fault,
// a repeat, a host call) it stops, mcPC as the routine left it. When it stops at
// the end of its instruction on the fast path (mcPC = McFastFetch) with
// LoopAttention clear, it runs that fetch in place too, as the normal fetch: the
// caller makes sure the store holds it there. The result is the number of words
// run, 1 or more.
using FusedChain = uint32_t (*)(uint32_t left);

// The most words one fused chain runs, its fetch included.
extern const uint32_t FusedChainMostWords;

// FusedAt[a]: the fused chain that starts at a and matches the live store word
// for word; `otherwise` for every other address.
extern FusedChain FusedAt[McStoreSize];
void FindFusedChains(FusedChain otherwise);

}  // namespace korva
