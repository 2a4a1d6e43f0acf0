// The MC68000 single-instruction vectors, run on the processor's MC68000 model.
// Every file prints one line (run, passed, known differences, failed) and the
// run ends with one summary line. The folder is ../shared/testdata/m68000, or
// the folder named by KORVA_M68000_VECTORS; KORVA_VECTORS_VERBOSE=1 lists every
// known difference and failure in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestMachine.h"
#include "unit/cpu/vectors/KnownDifferences.h"
#include "unit/cpu/vectors/VectorFile.h"
#include "unit/cpu/vectors/VectorRunner.h"

namespace korva::vectors {
namespace {

namespace fs = std::filesystem;

std::string VectorFolder() {
  if (const char* env = std::getenv("KORVA_M68000_VECTORS"); env && *env) return env;
  return std::string(KORVA_SHARED_DIR) + "/testdata/m68000";
}

bool Verbose() {
  const char* env = std::getenv("KORVA_VECTORS_VERBOSE");
  return env && *env && *env != '0';
}

// Files ending in .bin are vector files; any other file is one when it starts with the file magic.
bool IsVectorFile(const fs::path& p) {
  if (p.extension() == ".bin") return true;
  std::ifstream in(p, std::ios::binary);
  unsigned char m[4] = {};
  return in.read(reinterpret_cast<char*>(m), 4) && m[0] == 0x71 && m[1] == 0x5D && m[2] == 0x3F && m[3] == 0x1A;
}

std::vector<fs::path> VectorFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec))
    if (e.is_regular_file(ec) && IsVectorFile(e.path())) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::string Describe(const VectorTest& t, const std::vector<Difference>& diffs) {
  std::string s = "[" + t.Name + "]";
  for (const Difference& d : diffs) {
    s += "  " + DescribeDifference(d);
    const uint32_t off = (d.Address - t.Final.SSP) & 0xFFFFFF;
    if (d.What == Field::Mem && off < 14) s += " (frame word " + std::to_string(off / 2) + ")";
  }
  return s;
}

struct Counts {
  uint32_t Run = 0, Passed = 0, Known = 0, Failed = 0;
  void Add(const Counts& o) {
    Run += o.Run;
    Passed += o.Passed;
    Known += o.Known;
    Failed += o.Failed;
  }
};

TEST(M68000Vectors, EveryVectorPassesOrIsAKnownDifference) {
  const std::string folder = VectorFolder();
  if (!fs::is_directory(folder))
    GTEST_SKIP() << "MC68000 vectors not found at " << folder
                 << " (a clone outside the workplace has no ../shared; set KORVA_M68000_VECTORS to a folder of them)";
  const std::vector<fs::path> files = VectorFiles(folder);
  ASSERT_FALSE(files.empty()) << "no vector files in " << folder;

  test::TestMachine m;
  VectorRunner runner(m);
  const bool verbose = Verbose();
  Counts total;
  for (const fs::path& path : files) {
    const std::string file = path.filename().string();
    std::vector<VectorTest> tests;
    std::string error;
    if (!ReadVectorFile(path.string(), &tests, &error)) ADD_FAILURE() << file << ": " << error;
    Counts c;
    int shown = 0;
    std::vector<const KnownDifference*> used;
    for (const VectorTest& t : tests) {
      const std::vector<Difference> diffs = runner.Run(t);
      ++c.Run;
      if (diffs.empty()) {
        ++c.Passed;
      } else if (ExplainDifferences(file.c_str(), t, diffs, &used)) {
        ++c.Known;
        if (verbose) {
          std::printf("  known   %s %s\n", file.c_str(), Describe(t, diffs).c_str());
          for (const KnownDifference* k : used) std::printf("          -- %s\n", k->Reason);
        }
      } else {
        ++c.Failed;
        if (verbose) std::printf("  FAILED  %s %s\n", file.c_str(), Describe(t, diffs).c_str());
        if (shown++ < 3) ADD_FAILURE() << file << " " << Describe(t, diffs);
      }
    }
    std::printf("%s: run=%u passed=%u known=%u failed=%u\n", file.c_str(), c.Run, c.Passed, c.Known, c.Failed);
    total.Add(c);
  }
  std::printf("m68000 vectors: run=%u passed=%u known=%u failed=%u\n", total.Run, total.Passed, total.Known,
              total.Failed);
  std::fflush(stdout);
  EXPECT_EQ(total.Failed, 0u);
  EXPECT_GT(total.Run, 0u);
}

}  // namespace
}  // namespace korva::vectors
