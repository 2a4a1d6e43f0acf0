// The run loop's fast path against word-by-word stepping, over random blocks
// of guest code (unit/cpu/RandomBlocks.h) on each processor model: copy loops
// through (An)+ and -(An), longs at and across page ends, moves between memory
// operands, MOVEM, ALU operations on every memory mode, LINK/UNLK, MOVEC, user
// and supervisor state, vector bases, throttles from 8 to 65536 words; a page
// the block unmaps and its bus-error handler maps again, so that bus errors
// are taken and restarted inside fused chains; interrupts from the host's
// pumps, from the disk controller's poll and from the guest's writes to the
// masks, during STOP and long instructions; trace. Both runs must leave the
// same registers, instruction count, interrupt state, MMU status and memory,
// with their pumps after the same words.
//
// KORVA_RANDOM_BLOCKS=n runs n blocks per model (default below), and
// KORVA_RANDOM_SEED=s starts at seed s (block i has seed s + i): a failure
// names the seed that replays its block alone.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/GuestProgram.h"
#include "unit/cpu/RandomBlockRuns.h"
#include "unit/cpu/RandomBlocks.h"

namespace korva::test {
namespace {

constexpr uint64_t kDefaultSeed = 20240615;
constexpr uint64_t kDefaultBlocks = 3000;
// How often the memory outside the compared areas is looked at.
constexpr uint64_t kStrayCheckEvery = 128;

uint64_t FromEnvironment(const char* name, uint64_t otherwise) {
  const char* text = std::getenv(name);
  if (text == nullptr || *text == '\0') return otherwise;
  char* end = nullptr;
  const unsigned long long v = std::strtoull(text, &end, 0);
  return end != nullptr && *end == '\0' ? v : otherwise;
}

class RandomBlocks : public ::testing::TestWithParam<CpuModel> {};

TEST_P(RandomBlocks, FastLoopEndsAsWordByWord) {
  const CpuModel model = GetParam();
  const uint64_t seed = FromEnvironment("KORVA_RANDOM_SEED", kDefaultSeed);
  const uint64_t blocks = FromEnvironment("KORVA_RANDOM_BLOCKS", kDefaultBlocks);
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                           std::string(".") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::printf("random blocks on the %s: seed %llu, %llu blocks\n", ModelName(model),
              static_cast<unsigned long long>(seed), static_cast<unsigned long long>(blocks));
  std::fflush(stdout);

  TestMachine m;
  m.UseModel(model);
  BlockRunner runner(m);
  uint64_t ran = 0, busErrors = 0, interrupts = 0, traces = 0, unmaps = 0, instructions = 0;
  uint64_t checkedUpTo = seed;  // the blocks before this seed wrote nothing outside the compared areas
  const auto started = std::chrono::steady_clock::now();
  for (uint64_t i = 0; i < blocks; ++i) {
    const uint64_t blockSeed = seed + i;
    const RandomBlock b = MakeRandomBlock(blockSeed, model);
    const BlockOutcome fast = runner.Run(b, RunWay::FastLoop);
    const BlockOutcome stepped = runner.Run(b, RunWay::WordByWord);
    std::vector<std::string> differences = Differences(fast, stepped);
    if (fast.Ending != "end" || stepped.Ending != "end")
      differences.insert(differences.begin(),
                         "the block did not reach its end: " + fast.Ending + " / " + stepped.Ending);
    if (!stepped.WriteOutside.empty()) differences.push_back(stepped.WriteOutside);
    if ((i + 1) % kStrayCheckEvery == 0 || i + 1 == blocks) {
      const std::string stray = StrayWrite();
      if (!stray.empty())
        differences.push_back(stray + ", made by one of the blocks from seed " + std::to_string(checkedUpTo) + " on");
      checkedUpTo = blockSeed + 1;
    }
    if (!differences.empty()) {
      std::string text;
      for (const std::string& d : differences) text += "  " + d + "\n";
      ADD_FAILURE() << "block " << i << ", seed " << blockSeed << " on the " << ModelName(model) << ": "
                    << DescribeBlock(b) << "\n"
                    << text << "replay it alone: KORVA_RANDOM_SEED=" << blockSeed
                    << " KORVA_RANDOM_BLOCKS=1 build-test/tests/korva_tests --gtest_filter='" << name << "'\n"
                    << ListBlock(b);
      break;
    }
    busErrors += fast.Taken(2);
    traces += fast.Taken(9);
    for (uint8_t v : {0x42, 0x44, 0x46, 0x4C, 0x4E}) interrupts += fast.Taken(v);
    unmaps += b.Unmaps;
    instructions += fast.Instructions;
    ++ran;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "random blocks on the %s: seed %llu, %llu blocks, %llu instructions each way, %llu bus errors restarted "
      "(%llu unmaps), %llu interrupts, %llu traces, %.1f s\n",
      ModelName(model), static_cast<unsigned long long>(seed), static_cast<unsigned long long>(ran),
      static_cast<unsigned long long>(instructions), static_cast<unsigned long long>(busErrors),
      static_cast<unsigned long long>(unmaps), static_cast<unsigned long long>(interrupts),
      static_cast<unsigned long long>(traces), seconds);
  if (model != Cpu68000 && ran >= 200) {
    EXPECT_GT(busErrors, 0u);  // the restarts were tried
  }
}

INSTANTIATE_TEST_SUITE_P(Models, RandomBlocks, ::testing::Values(Cpu68000, Cpu68010, Cpu32),
                         [](const ::testing::TestParamInfo<CpuModel>& i) { return std::string(ModelName(i.param)); });

}  // namespace
}  // namespace korva::test
