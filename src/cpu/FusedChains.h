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

// A fused chain runs the calls of its chain from the first word, one routine
// after the other. After each routine it goes on only when the routine stepped
// mcPC to the next word of the chain and LoopAttention is clear; otherwise (the
// end of the instruction, a jump, a fault, a repeat, a host call) it stops, mcPC
// as the routine left it. When it stops at the end of its instruction on the
// fast path (mcPC = McFastFetch) with LoopAttention clear, it runs that fetch in
// place, as the normal fetch (the caller makes sure the store holds it there),
// and goes on with the chain at the new mcPC through FusedAt, as long as more
// than FusedChainMostWords words are left. `spare` is the number of words the
// run may take beyond FusedChainMostWords + 1, so that going on needs only its
// sign; the result is what is left of it after the words run (below 0 as a
// signed number when the run took some of the last words). A chain is
// entered only at its start, at step 1, with LoopAttention clear, and relies on
// it: a word at another step runs by itself.
using FusedChain = uint32_t (*)(uint32_t spare);

// The most words a fused chain and the fetch after it run.
extern const uint32_t FusedChainMostWords;

// FusedAt[a]: the fused chain that starts at a and matches the live store word
// for word; `otherwise` (a function that runs the word at mcPC by itself) at
// every other address. FindFusedChains looks them up again; it is called
// whenever the store has changed.
extern FusedChain FusedAt[McStoreSize];
void FindFusedChains(FusedChain otherwise);
// Whether every start in OpMap lies inside the store. The fused chains go on to
// the chain the inline fetch decodes without a look at its bounds, so the run
// loop runs them only where this holds (OpMap is built of chain starts; only a
// hand-made entry could fail it).
bool OpMapStartsInStore();
// Whether a fused chain stands at `at` (as of the last FindFusedChains).
bool HasFusedChain(uint32_t at);

}  // namespace korva
