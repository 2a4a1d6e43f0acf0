#include "cpu/ResumeSteps.h"

#include <bitset>

#include "tables/OpMapEntry.h"

namespace korva {
namespace {

// Entries that any instruction may reach besides its own chain: the fetch
// after a reset, a start or a fast end; the tail; the error and exception
// chains that routines and faults jump to.
constexpr uint32_t kSharedEntries[] = {McReset,        McExecute,     McFastFetch, McTail,   McBusError,
                                       McAddressError, McFormatError, McPrivilege, McIllegal};

// The chains a routine sends the sequencer to by itself, besides the next word.
struct Redirect {
  Mcr routine;
  uint32_t targets[2];
};
constexpr Redirect kRedirects[] = {
    {Mcr::mcrLPSTOPDecode, {McLPSTOP, McLine1111}},
    {Mcr::mcrMOVESDecode, {McMOVESToReg, McMOVESToMem}},
    {Mcr::mcrStopWait, {McStopWait, McStopWait}},
};

}  // namespace

bool IsOnPathOf(uint16_t opcode, uint32_t address) {
  if (address >= McStoreSize) return false;
  std::bitset<McStoreSize> seen;
  uint32_t todo[64];
  int count = 0;
  const auto push = [&](uint32_t start) {
    if (start < McStoreSize && !seen[start] && count < static_cast<int>(std::size(todo))) todo[count++] = start;
  };
  for (uint32_t start : kSharedEntries) push(start);
  push(OpMap[opcode].SupervisorStart);
  push(OpMap[opcode].UserStart);
  while (count > 0) {
    // A chain runs word by word up to a jump, the fetch that ends it, or an
    // unfilled word.
    for (uint32_t at = todo[--count]; at < McStoreSize && !seen[at]; ++at) {
      seen[at] = true;
      const McEntry& e = Microcode[at];
      if (e.Kind == McJump) {
        push(e.Arg);
        break;
      }
      if (e.Kind != McCall) break;
      const auto routine = static_cast<Mcr>(e.Arg);
      for (const Redirect& r : kRedirects)
        if (r.routine == routine)
          for (uint32_t target : r.targets) push(target);
      if (routine == Mcr::mcrFetchDecode || routine == Mcr::mcrFetchDecodeDebug) break;
    }
  }
  return seen[address];
}

}  // namespace korva
