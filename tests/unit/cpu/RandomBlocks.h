// Random straight-line blocks of guest code for the differential test of the
// run loop (RandomBlocksTest.cpp): a block, the machine state it starts from,
// and the host-side events that arrive while it runs, all made from one seed.
//
// A block runs in a fixed memory layout (below). Its memory operands stay in
// the data windows and the stacks, so that every word it can write is in the
// compared areas; reads may reach anything below kReadableEnd. Exceptions go
// to handlers that leave every register as it was: counting handlers (a long
// per vector at kCounters), the interrupt handlers that quiet their source, the
// bus-error handler that maps the block's unmapped page again, and one STOP per
// unexpected vector. Every block ends with TRAP #15, whose handler stops at
// kEndStop.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tables/CpuModel.h"

namespace korva::test {

namespace block_layout {
constexpr uint32_t kVectorTables[3] = {0x0000, 0x0400, 0x0800};  // VBR takes one of them
constexpr uint32_t kHandlers = 0x1000;       // counting handlers, 16 bytes per vector
constexpr uint32_t kBusErrorHandler = 0x2000;
constexpr uint32_t kEndStop = 0x2100;        // STOP #$2700 of the TRAP #15 handler
constexpr uint32_t kUnexpected = 0x2200;     // STOP #$2700 at kUnexpected + 4 * vector
constexpr uint32_t kCounters = 0x3000;       // a long per vector: exceptions taken
constexpr uint32_t kUnmappedPageWord = 0x3400;  // the page (address bits 23-8) the bus-error handler maps
constexpr uint32_t kSupervisorStack = 0x4000, kSupervisorStackTop = 0x4F00;
constexpr uint32_t kUserStack = 0x5000, kUserStackTop = 0x5F00;
constexpr uint32_t kLowData = 0x6000, kLowDataEnd = 0x8000;  // reached by absolute short addresses
constexpr uint32_t kCode = 0x10000, kCodeEnd = 0x11000;
constexpr uint32_t kTable = 0x11000, kTableEnd = 0x12000;    // read-only data near the code
constexpr uint32_t kMainData = 0x20000, kMainDataEnd = 0x22000;
constexpr uint32_t kReadableEnd = 0x22000;
// The device registers the blocks and handlers reach.
constexpr uint32_t kScmCr0 = 0xF19F05, kScmCr2 = 0xF19F09, kScmCr6 = 0xF19F11;
constexpr uint32_t kMmuRegisters = 0xF1A800;
constexpr uint32_t kRwinR0 = 0xF1C0D1;
// The MMU descriptor that maps the unmapped page; 0-15 map every other page.
constexpr int kPageDescriptor = 16;

// The areas compared after a run: everything a block or a handler may write.
struct Area {
  uint32_t From, To;  // [From, To)
};
constexpr Area kComparedAreas[] = {{0x0000, 0x8000}, {kCode, kTableEnd}, {kMainData, kMainDataEnd}};
}  // namespace block_layout

// What the host does at a window-message pump: at the AtPump-th pump of the
// run (counted from 0, whoever makes them), or with InWord at the AtPump-th of
// those made inside a control-store word (a device register's access, the STOP
// wait), where the run control's commands are held to the end of the word.
enum class PumpAction : uint8_t {
  RaiseAbort,        // interrupt entry 20, level 7, as the Abort button (after the word in progress)
  RaiseEntry19,      // the other level-7 entry, by a command held to the next instruction boundary
  RaiseClock,        // entry 14, level 5, as the clock's timer
  WithdrawClock,
  RaiseKeyboard,     // entry 7, level 3
  WithdrawKeyboard,
  StartDiskCommand,  // a disk-controller command whose completion a later poll raises
  ChangeThrottle,    // the pumps come every Value + 1 words from now on
};
constexpr int kPumpActions = 8;
struct PumpEvent {
  uint32_t AtPump;
  PumpAction Action;
  int32_t Value = 0;
  bool InWord = false;
};
const char* PumpActionName(PumpAction a);

struct RandomBlock {
  uint64_t Seed = 0;
  CpuModel Model = Cpu68010;
  std::vector<uint16_t> Code;               // at kCode, ending in TRAP #15
  std::vector<uint32_t> InstructionStarts;  // for the listing of a failed block
  std::vector<uint16_t> Table, LowData, MainData;  // initial contents
  uint32_t D[8] = {}, A[7] = {};
  uint32_t Usp = 0, Ssp = 0, Vbr = 0, Sfc = 0, Dfc = 0;
  uint16_t Sr = 0;
  bool Format2 = false;             // format-2 frames (CPU32 only)
  int32_t ThrottleMask = 1023;      // 2^n - 1, 7 to 65535
  int32_t RwinPollInterval = 127, Mvme400PollInterval = 511;
  uint8_t Cr0 = 0, Cr2 = 0, Cr6 = 0;  // the interrupt masks at the start
  int32_t UnmappedPage = -1;        // the page the block unmaps (address >> 8), or -1: the MMU as reset
  uint32_t StopWakeDelay = 0;       // pumps from a STOP in the block to the Abort that ends it
  std::vector<PumpEvent> Events;    // in pump order
  uint32_t Unmaps = 0;              // the unmapping sequences in the code
};

// The block of `seed` for `model`. The opcode map must be built for `model`:
// an instruction form the model lacks is never chosen.
RandomBlock MakeRandomBlock(uint64_t seed, CpuModel model);

// The fixed code of the handlers (kHandlers up to kCounters).
struct HandlerCode {
  uint32_t Address;
  std::vector<uint16_t> Words;
};
std::vector<HandlerCode> BlockHandlers();

// A one-line summary of the block's set-up, for a failure message.
std::string DescribeBlock(const RandomBlock& b);

}  // namespace korva::test
