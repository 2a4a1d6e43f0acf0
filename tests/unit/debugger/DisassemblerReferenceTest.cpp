// The disassembler against objdump: a corpus of every instruction the
// assembler takes (tests/tools/DisasmCorpus.sh), for the MC68010 and CPU32,
// loaded at 0x10000. Each instruction must be as long as objdump says, and
// every branch must reach objdump's target.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "debugger/DebuggerCore.h"
#include "debugger/Disassembler.h"
#include "support/TestMachine.h"
#include "tables/CpuModel.h"

namespace korva {
namespace {

struct ObjdumpLine {
  uint32_t Address;
  std::string Text;  // mnemonic and operands
};

// Instruction lines of an objdump listing ("   10000:<tab>4e71 <tab>nop");
// continuation lines (more code bytes of the instruction above) have no text.
std::vector<ObjdumpLine> ReadListing(const std::string& path) {
  std::ifstream in(path);
  std::vector<ObjdumpLine> lines;
  for (std::string s; std::getline(in, s);) {
    const size_t colon = s.find(":\t"), tab = s.find('\t', colon + 2);
    if (colon == std::string::npos || tab == std::string::npos || tab + 1 >= s.size()) continue;
    lines.push_back({static_cast<uint32_t>(std::stoul(s.substr(0, colon), nullptr, 16)), s.substr(tab + 1)});
  }
  return lines;
}

// objdump's branch target ("bras 0x10000", "dbf %d0,0x10010"), or -1 for
// anything that is not a relative branch.
int64_t ObjdumpTarget(const std::string& text) {
  static const std::set<std::string> kBranches = {"bra", "bsr", "bhi", "bls", "bcc", "bcs", "bne", "beq",
                                                  "bvc", "bvs", "bpl", "bmi", "bge", "blt", "bgt", "ble"};
  const std::string mnemonic = text.substr(0, text.find(' '));
  const bool branch = mnemonic.rfind("db", 0) == 0 || (mnemonic.size() == 4 && kBranches.count(mnemonic.substr(0, 3)));
  const size_t at = text.rfind("0x");
  return branch && at != std::string::npos ? static_cast<int64_t>(std::stoul(text.substr(at + 2), nullptr, 16)) : -1;
}

// The disassembler's target: the last "$" and eight hex digits of a branch line.
int64_t OurTarget(const std::string& text) {
  const size_t d = text.rfind('$');
  if (d == std::string::npos || text.size() != d + 9 || (text[0] != 'B' && text.rfind("DB", 0) != 0)) return -1;
  return static_cast<int64_t>(std::stoul(text.substr(d + 1), nullptr, 16));
}

void CompareWithObjdump(CpuModel model, const std::string& corpus) {
  test::TestMachine m;
  m.UseModel(model);
  ResetDebuggerState();
  const std::string base = std::string(KORVA_GUEST_DIR) + "/disasm_corpus_" + corpus;
  std::ifstream bin(base + ".bin", std::ios::binary);
  const std::vector<char> code((std::istreambuf_iterator<char>(bin)), std::istreambuf_iterator<char>());
  ASSERT_GT(code.size(), 4000u);
  for (size_t i = 0; i < code.size(); ++i) m.WriteByte(0x10000 + static_cast<uint32_t>(i), static_cast<uint8_t>(code[i]));
  const std::vector<ObjdumpLine> listing = ReadListing(base + ".dis");
  ASSERT_GE(listing.size(), 2000u);

  int differences = 0, branches = 0;
  for (size_t i = 0; i < listing.size(); ++i) {
    const uint32_t next = i + 1 < listing.size() ? listing[i + 1].Address : 0x10000 + static_cast<uint32_t>(code.size());
    const std::string ours = Disassemble(listing[i].Address, True);
    const int64_t theirs = ObjdumpTarget(listing[i].Text);
    branches += theirs >= 0;
    if (DebugAddress != next || OurTarget(ours) != theirs) {
      if (++differences <= 20)
        ADD_FAILURE() << std::hex << listing[i].Address << ": objdump \"" << listing[i].Text << "\" ends at " << next
                      << ", ours \"" << ours << "\" ends at " << DebugAddress;
    }
  }
  EXPECT_EQ(differences, 0) << "of " << listing.size() << " instructions";
  EXPECT_GE(branches, 100);
}

TEST(DisassemblerReference, Mc68010AgreesWithObjdump) { CompareWithObjdump(Cpu68010, "68010"); }
TEST(DisassemblerReference, Cpu32AgreesWithObjdump) { CompareWithObjdump(Cpu32, "cpu32"); }

}  // namespace
}  // namespace korva
