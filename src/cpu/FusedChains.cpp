// Fused chains, generated from the control-store image (cpu/ControlImage.h) and
// the routine table (cpu/McrRoutines.h) by templates: every call word becomes a
// direct call of its routine.
#include "cpu/FusedChains.h"

#include <array>
#include <utility>

#include "cpu/ControlImage.h"
#include "cpu/FetchSteps.h"
#include "cpu/McrRoutines.h"
#include "host/Host.h"

namespace korva {

FusedChain FusedAt[McStoreSize];

namespace {

constexpr std::array<McEntry, McStoreSize> kWords = image::Words();

// The forms the model selection gives the store: the image as loaded (the
// MC68010's), the CPU32's with its own address calculators, and the MC68000's
// with its own bus-error, address-error and RTE routines.
enum class Form : uint8_t { AsLoaded, Cpu32, Mc68000 };

// The routine number of the call word at `at` in form f.
constexpr uint32_t CallIn(Form f, uint32_t at) {
  const uint32_t n = kWords[at].Arg;
  switch (f) {
    case Form::AsLoaded: return n;
    case Form::Cpu32:
      if (n == McrNumber(Mcr::mcrDstEA)) return McrNumber(Mcr::mcrDstEA32);
      if (n == McrNumber(Mcr::mcrSrcEA)) return McrNumber(Mcr::mcrSrcEA32);
      return n;
    case Form::Mc68000:
      if (at == McBusError) return McrNumber(Mcr::mcrBerr000);
      if (at == McAddressError) return McrNumber(Mcr::mcrAerr000);
      if (at == McRTE) return McrNumber(Mcr::mcrRTE000);
      return n;
  }
  return n;
}

// One fused chain: the calls from `start` up to the first word that is no call.
struct ChainForm {
  uint32_t start = 0, words = 0;
  Form form = Form::AsLoaded;
};

constexpr uint32_t CallsFrom(uint32_t start) {
  uint32_t n = 0;
  while (start + n < McStoreSize && kWords[start + n].Kind == McCall) ++n;
  return n;
}

constexpr bool DiffersFromLoaded(uint32_t start, Form f) {
  for (uint32_t a = start; a < start + CallsFrom(start); ++a)
    if (CallIn(f, a) != kWords[a].Arg) return true;
  return false;
}

// Every chain that starts with a call, as loaded, and in each other form that
// changes one of its calls.
template <typename Fn>
constexpr void ForEachChainForm(Fn fn) {
  for (const image::ImageWord& w : image::kImage) {
    if (w.kind != image::ImageWord::Start || CallsFrom(w.arg) == 0) continue;
    fn(ChainForm{w.arg, CallsFrom(w.arg), Form::AsLoaded});
    for (Form f : {Form::Cpu32, Form::Mc68000})
      if (DiffersFromLoaded(w.arg, f)) fn(ChainForm{w.arg, CallsFrom(w.arg), f});
  }
}

constexpr size_t CountChainForms() {
  size_t n = 0;
  ForEachChainForm([&n](ChainForm) { ++n; });
  return n;
}

constexpr auto kChainForms = [] {
  std::array<ChainForm, CountChainForms()> forms{};
  size_t i = 0;
  ForEachChainForm([&](ChainForm c) { forms[i++] = c; });
  return forms;
}();

// The most words of a chain, with the fetch after it.
constexpr uint32_t MostWords() {
  uint32_t most = 0;
  for (const ChainForm& c : kChainForms) most = c.words > most ? c.words : most;
  return most + 1;
}
constexpr uint32_t kMostWords = MostWords();

// Whether the call word at `at` ends its instruction: the tail follows it.
constexpr bool EndsInstruction(uint32_t at) {
  return at + 1 < McStoreSize && kWords[at + 1].Kind == McCall &&
         kWords[at + 1].Arg == McrNumber(Mcr::mcrTraceException);
}

// A routine leaves mcPC at the next word only through its normal end, which
// starts that word at step 1; a run-control change made meanwhile sets
// LoopAttention. Only the returns from exception may leave the next word at
// another step: they resume a faulted routine where its frame says, which may be
// the word after their own. Elsewhere the run knows the step the next word
// starts at, and the routine there need not look at it.
constexpr bool ResumesFrames(uint32_t n) {
  return n == McrNumber(Mcr::mcrRTE) || n == McrNumber(Mcr::mcrRTE000);
}
template <uint32_t N>
[[gnu::always_inline]] inline void StartsAtStepOne() {
  if constexpr (!ResumesFrames(N))
    if (mcStage != 1) __builtin_unreachable();
}

// The routines that may set TookRareWay: those built of the address calculator
// and of the operand reads and writes of a long, whose rare ways set it.
constexpr bool MayLeaveCommonWay(uint32_t n) {
  for (Mcr r : {Mcr::mcrSrcEA, Mcr::mcrDstEA, Mcr::mcrSrcEA32, Mcr::mcrDstEA32, Mcr::mcrReadSrc, Mcr::mcrReadDst,
                Mcr::mcrReadSrcLong, Mcr::mcrWriteDst, Mcr::mcrWriteDstLong})
    if (n == McrNumber(r)) return true;
  return false;
}

// The call word at `at`, then whether the run goes on to the next word. After
// the routine that ends the instruction the fast path to the fetch is looked at
// first: it is the usual way out. A routine that took a rare way stops the
// inline run with `rare` set.
template <Form F, uint32_t At>
[[gnu::always_inline]] inline bool CallAndGoOn(bool& rare) {
  constexpr uint32_t n = CallIn(F, At);
  constexpr McrFunction routine = routines::kTable[n];
  // The run stands at this word; saying so lets the routine's own step of mcPC
  // fold to a constant. mcPC holds it already (the chain is entered at its
  // start, and goes on to a word only when mcPC has come to it): known, not
  // stored again.
  if (mcPC != At) __builtin_unreachable();
  if constexpr (n == McrNumber(Mcr::mcrFetchDecode))
    FetchDecodeSteps();  // the normal fetch, in place
  else
    routine();
  if constexpr (MayLeaveCommonWay(n)) {
    if (TookRareWay) {
      rare = true;
      return false;
    }
  }
  if constexpr (EndsInstruction(At)) {
    if (mcPC == McFastFetch) [[likely]]
      return false;
  }
  const bool goOn = mcPC == At + 1 && !LoopAttention;
  if (goOn) StartsAtStepOne<n>();
  return goOn;
}

// Whether a routine of chain form c may resume a faulted routine.
constexpr bool ChainResumesFrames(Form f, uint32_t start, uint32_t words) {
  for (uint32_t a = start; a < start + words; ++a)
    if (ResumesFrames(CallIn(f, a))) return true;
  return false;
}

template <Form F, uint32_t Start, uint32_t... I>
[[gnu::always_inline]] inline uint32_t RunCalls(std::integer_sequence<uint32_t, I...>, bool& rare) {
  uint32_t words = 0;
  (void)(((++words, CallAndGoOn<F, Start + I>(rare))) && ...);
  return words;
}

// The words of chain form c run inline: up to the first that ends the
// instruction (the tail after it, trace, interrupt and fetch, is rarely run and
// runs out of line), or all of them.
constexpr uint32_t InlineWords(const ChainForm& c) {
  for (uint32_t i = 0; i < c.words; ++i)
    if (EndsInstruction(c.start + i)) return i + 1;
  return c.words;
}

// After a fetch in place: on to the next instruction's chain while the run has
// room for it and the next word is a chain start at step 1 (beyond the store,
// the run loop makes the fault). With `Decoded`, mcPC is an opcode's start in
// OpMap, which the run loop has found inside the store before it runs any fused
// chain (see OpMapStartsInStore); after the fetch's other ways it is looked at.
template <bool Decoded>
[[gnu::always_inline]] inline uint32_t GoOn(uint32_t left) {
  const uint32_t pc = mcPC;
  // `left` is the spare words of the run (see FusedChain): below 0, the next
  // chain and its fetch might not fit.
  if (LoopAttention || mcStage != 1 || static_cast<int32_t>(left) < 0 || (!Decoded && pc >= McStoreSize))
    return left;
  return FusedAt[pc](left);
}

// The fetch in place when the inline one cannot answer: after a due poll (the
// count is made), or for a word the repeat table does not hold; then on.
[[gnu::noinline]] uint32_t FetchOutOfLine(uint32_t left, bool pollsDue) {
  if (pollsDue) {
    fetch_detail::RunDuePolls();
    FetchDecodeAfterCount();
  } else {
    fetch_detail::FetchSteps<false>();
  }
  TookRareWay = false;
  return GoOn<false>(left - 1);
}

// The words of a chain after a routine that took a rare way, from `next` up to
// `end`, one call at a time through the dispatch table (the live store holds the
// chain's words there), while each steps mcPC to the next; then, when the
// instruction has ended on the fast path, the fetch in place and on. The inline
// words of the chain are thus reached from the routines' common ways alone.
[[gnu::noinline]] uint32_t AfterRareWay(uint32_t left, uint32_t next, uint32_t end) {
  TookRareWay = false;
  for (; next < end && mcPC == next && !LoopAttention; ++next) {
    McrTable[Microcode[next].Arg]();
    --left;
  }
  TookRareWay = false;
  if (mcPC != McFastFetch || LoopAttention) return left;
  return FetchOutOfLine(left, --fetch_detail::Pacing.Ticks < 0);
}

// The words of chain form K after its inline ones, entered at the first of them.
template <size_t K>
[[gnu::noinline]] uint32_t RunRest(uint32_t left) {
  constexpr ChainForm c = kChainForms[K];
  constexpr uint32_t from = InlineWords(c);
  bool rare = false;
  return left - RunCalls<c.form, c.start + from>(std::make_integer_sequence<uint32_t, c.words - from>{}, rare);
}

// The chain, and when it ends its instruction on the fast path, the next fetch
// in place and on to the next chain. The slow ways (the tail, a due poll, a
// fetch not answered inline) are calls in tail position, so that a chain whose
// routines make no calls needs no stack frame.
template <size_t K>
uint32_t Fused(uint32_t left) {
  constexpr ChainForm c = kChainForms[K];
  constexpr uint32_t inlineWords = InlineWords(c);
  // A chain is entered at step 1 with LoopAttention clear: the run loop enters
  // one only so, and GoOn goes on to the next only so. Knowing it, the first
  // routine needs no look at its step, and where no routine can raise
  // LoopAttention its tests fold away.
  // TookRareWay is clear too: every way into a chain clears it first.
  if (mcStage != 1 || LoopAttention || TookRareWay) __builtin_unreachable();
  bool rare = false;
  const uint32_t ran = RunCalls<c.form, c.start>(std::make_integer_sequence<uint32_t, inlineWords>{}, rare);
  left -= ran;
  if (rare) return AfterRareWay(left, c.start + ran, c.start + c.words);
  if (mcPC != McFastFetch || LoopAttention) {
    if constexpr (inlineWords < c.words) {
      if (ran == inlineWords && mcPC == c.start + inlineWords && !LoopAttention) {
        StartsAtStepOne<CallIn(c.form, c.start + inlineWords - 1)>();
        return RunRest<K>(left);
      }
    }
    return left;
  }
  constexpr bool resumes = ChainResumesFrames(c.form, c.start, c.words);
  if constexpr (!resumes)
    if (mcStage != 1) __builtin_unreachable();
  // mcPC is McFastFetch here. The inline fetch overwrites it before anything
  // looks, so it is stored again only on the ways out: the routine's own store
  // of it is then dead on every way and need not be made.
  if (--fetch_detail::Pacing.Ticks < 0) [[unlikely]] {
    mcPC = McFastFetch;
    return FetchOutOfLine(left, true);
  }
  if ((!resumes || mcStage == 1) && QuickFetchDecode()) [[likely]]
    return GoOn<true>(left - 1);
  mcPC = McFastFetch;
  return FetchOutOfLine(left, false);
}

template <size_t... K>
constexpr std::array<FusedChain, sizeof...(K)> FusedOf(std::index_sequence<K...>) {
  return {&Fused<K>...};
}
constexpr auto kFused = FusedOf(std::make_index_sequence<kChainForms.size()>{});


// What FusedAt holds where no chain is fused.
FusedChain unfused = nullptr;

bool Matches(const ChainForm& c) {
  for (uint32_t a = c.start; a < c.start + c.words; ++a)
    if (Microcode[a].Kind != McCall || Microcode[a].Arg != CallIn(c.form, a)) return false;
  return true;
}

}  // namespace

const uint32_t FusedChainMostWords = kMostWords;

void FindFusedChains(FusedChain otherwise) {
  unfused = otherwise;
  for (FusedChain& f : FusedAt) f = otherwise;
  for (size_t k = 0; k < kChainForms.size(); ++k) {
    const ChainForm& c = kChainForms[k];
    if (FusedAt[c.start] == otherwise && Matches(c)) FusedAt[c.start] = kFused[k];
  }
}

bool OpMapStartsInStore() {
  for (const OpMapEntry& e : OpMap)
    if (e.SupervisorStart >= McStoreSize || e.UserStart >= McStoreSize) return false;
  return true;
}

bool HasFusedChain(uint32_t at) { return at < McStoreSize && FusedAt[at] != unfused; }

}  // namespace korva
