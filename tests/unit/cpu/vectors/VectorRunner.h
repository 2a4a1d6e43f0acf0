// Runs one MC68000 test vector on the headless test machine with the processor
// in its MC68000 model, and lists every place where the end state differs from
// the vector's final state.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/TestMachine.h"
#include "unit/cpu/vectors/VectorFile.h"

namespace korva::vectors {

// What is compared after an instruction.
// Write: the instruction wrote a word the vector's final memory does not list.
enum class Field : uint8_t {
  D0, D1, D2, D3, D4, D5, D6, D7, A0, A1, A2, A3, A4, A5, A6, USP, SSP, SR, PC, Mem, Run, Write
};

struct Difference {
  Field What;
  uint32_t Address;  // the word's address for Field::Mem and Field::Write
  uint32_t Expected, Got;
};

std::string FieldName(Field f);
std::string DescribeDifference(const Difference& d);

class VectorRunner {
 public:
  // Switches the test machine's processor to the MC68000 model with tables built for it.
  explicit VectorRunner(test::TestMachine& m);
  ~VectorRunner();
  VectorRunner(const VectorRunner&) = delete;
  VectorRunner& operator=(const VectorRunner&) = delete;

  // Load the initial state, run the instruction (and the exception it raises,
  // including an address error on the fetch of its target), compare with the
  // final state, report every word written outside the final memory, and put
  // every listed or written word back to zero. Returns the differences found.
  std::vector<Difference> Run(const VectorTest& t);

 private:
  void Load(const VectorState& s);
  test::Stop Execute();
  void Compare(const VectorState& s, std::vector<Difference>* out) const;
  void Clear(const VectorTest& t);
  test::TestMachine& m_;
};

}  // namespace korva::vectors
