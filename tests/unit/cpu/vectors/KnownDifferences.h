// Where this machine's MC68000 model knowingly differs from the MC68000 test
// vectors, with the reason for each. A test whose every difference is excused
// by the entries that apply to it counts as a known difference; any other difference is a failure.
#pragma once
#include <cstdint>
#include <vector>

#include "unit/cpu/vectors/VectorFile.h"
#include "unit/cpu/vectors/VectorRunner.h"

namespace korva::vectors {

struct KnownDifference {
  const char* Files;  // vector files by name without ".json.bin", space-separated ("CLR.w CLR.l"); nullptr: all
  uint16_t Mask;     // opcodes covered: (opcode & Mask) == Match
  uint16_t Match;
  bool (*Applies)(const VectorTest&);                       // nullptr: every test of those opcodes
  bool (*Excuses)(const VectorTest&, const Difference&);    // the differences the entry accepts
  const char* Reason;
};

// True when every one of diffs of test t of file is excused by an entry that
// applies to the test; the entries used are listed in *used.
bool ExplainDifferences(const char* file, const VectorTest& t, const std::vector<Difference>& diffs,
                        std::vector<const KnownDifference*>* used);

}  // namespace korva::vectors
