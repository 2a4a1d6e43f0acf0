// Where this machine's MC68000 model knowingly differs from the MC68000 test
// vectors, with the reason for each. A test whose every difference is excused
// by the entries that apply to it counts as a known difference; any other difference is a failure.
#pragma once
#include <cstdint>
#include <vector>

#include "unit/vectors/VectorFile.h"
#include "unit/vectors/VectorRunner.h"

namespace korva::vectors {

struct KnownDifference {
  const char* Files;  // vector files by name without ".json.bin", space-separated ("CLR.w CLR.l"); nullptr: all
  uint16_t Mask;     // opcodes covered: (opcode & Mask) == Match
  uint16_t Match;
  bool (*Applies)(const VectorTest&);                       // nullptr: every test of those opcodes
  bool (*Excuses)(const VectorTest&, const Difference&);    // the differences the entry accepts
  const char* Reason;
};

const std::vector<KnownDifference>& KnownDifferences();

// True when every one of diffs of test t of file is excused by an entry that
// applies to the test; the entries used are listed in *used.
bool ExplainDifferences(const char* file, const VectorTest& t, const std::vector<Difference>& diffs,
                        std::vector<const KnownDifference*>* used);

// What the vector's initial state holds, for the conditions of the table.
// Memory reads come from the initial memory list (0 where it lists nothing).
uint16_t InitialWord(const VectorTest& t, uint32_t address);
// The address of effective-address field mode/reg (memory modes only; false
// for Dn, An and immediate).
bool InitialAddress(const VectorTest& t, int mode, int reg, int size, uint32_t* address);
// The operand of effective-address field mode/reg of size 0 byte, 1 word,
// 2 long, read from the initial state as the instruction would (extension
// words follow the opcode). False for a mode the decoder does not take.
bool InitialOperand(const VectorTest& t, int mode, int reg, int size, uint32_t* value);

}  // namespace korva::vectors
