// Runs a random block (unit/cpu/RandomBlocks.h) on the test machine in one of
// two ways and keeps what the run left, for their comparison:
// - FastLoop: the program's own run loop (RunMachine), which runs the fused
//   chains with their inline reads and writes between two pumps;
// - WordByWord: one control-store word at a time, as the CPU's other tests
//   step it (TestMachine::ExecuteWord), with the pumps after the same words as
//   the run loop makes them (every CpuThrottleMask + 1 words), and every write
//   watched (BusWriteWatch), which takes it through the whole bus cycle.
// Both ways start from the same state and meet the same host: the pump plays
// the block's events by pump number, ends a STOP in the block with Abort after
// the block's delay, and ends the run at the block's final STOP.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/cpu/RandomBlocks.h"

namespace korva::test {

enum class RunWay { FastLoop, WordByWord };

struct BlockOutcome {
  std::string Ending;  // "end" when the block reached its final STOP
  uint32_t D[8] = {}, A[8] = {};
  uint32_t Usp = 0, Ssp = 0, Pc = 0, Vbr = 0, Sfc = 0, Dfc = 0;
  uint16_t Sr = 0;
  uint32_t Instructions = 0, McPc = 0;
  uint8_t McStage = 0;
  std::vector<uint64_t> Pumps;  // at every pump: the instruction count << 32 | mcPC
  // The interrupt controller.
  uint16_t Pending[21] = {}, Mask[21] = {};
  std::vector<uint16_t> ChannelSources;
  uint16_t HipPending = 0;
  int16_t HipEntry = 0;
  int16_t IMask = 0;
  // The MMU's descriptor status bytes (used, modified) and its global status.
  uint8_t DescriptorStatus[32] = {};
  uint8_t GlobalStatus = 0;
  uint8_t DiskStatus = 0;  // the disk controller's R1
  int HeldCommands = 0;    // host commands still held for an instruction boundary
  uint8_t ControlLatch = 0;
  std::vector<uint16_t> Memory;  // the compared areas, one after the other
  std::string WriteOutside;      // word by word: the first write outside them, as text

  // The handlers' count of exceptions through `vector`.
  uint32_t Taken(uint8_t vector) const;
};

class BlockRunner {
 public:
  // Maps the device registers the blocks reach and installs the host.
  explicit BlockRunner(TestMachine& m);
  BlockOutcome Run(const RandomBlock& b, RunWay way);

 private:
  void Prepare(const RandomBlock& b, RunWay way);
  void OnPump();
  void Quit(const std::string& why);
  BlockOutcome Capture() const;

  TestMachine& m_;
  ScriptedHost host_;
  const RandomBlock* block_ = nullptr;
  BlockOutcome* outcome_ = nullptr;
  uint32_t pumps_ = 0, pumpsInWords_ = 0;
  std::vector<bool> done_;  // the block's events played so far
  int64_t wakeAt_ = -1;
};

// The differences between two runs of a block, one line each; none when equal.
std::vector<std::string> Differences(const BlockOutcome& fast, const BlockOutcome& stepped);

// The first word outside the compared areas that is no longer 0 (the machine
// starts with every word 0 and a block writes only the compared areas), as
// text; "" when there is none.
std::string StrayWrite();

// The block's code, an instruction a line (as it stands in memory after a run).
std::string ListBlock(const RandomBlock& b);

}  // namespace korva::test
