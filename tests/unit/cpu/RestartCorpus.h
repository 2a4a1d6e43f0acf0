// Restartability of every instruction of a guest corpus: each case (listed at
// 0x400, one instruction ending in a STOP) is run once without faults, then once
// per bus access with the touched word answering a bus error until the fault is
// taken; the handler is a bare RTE and the end state (registers, data area and,
// where asked, the stacks above their final pointers) must equal the fault-free run.
#pragma once
#include <cstdint>

#include "support/TestMachine.h"

namespace korva::test {

enum class Injected { BusError, AddressError };  // an address error: the same fault taken through vector 3

struct CorpusSetup {
  uint32_t D[8];
  uint32_t A[7];
  uint32_t DataEnd;                   // the data area is 0x6000 up to here
  void (*Special)(TestMachine& m);    // words put over the data pattern
  bool CompareStacks;                 // false when a case leaves unwritten space (LINK) on a stack
};

void RunRestartCorpus(TestMachine& m, const char* image, uint16_t sr, Injected kind, const CorpusSetup& setup);

}  // namespace korva::test
