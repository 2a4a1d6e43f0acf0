#include "unit/cpu/RandomBlockRuns.h"

#include <cstdio>

#include "board/Keyboard.h"
#include "board/SCM.h"
#include "board/Uart2661.h"
#include "bus/BusCycles.h"
#include "bus/BusState.h"
#include "bus/Exceptions.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/BoundaryCommands.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "debugger/Disassembler.h"
#include "disk/RWIN.h"
#include "serial/MVME400.h"

namespace korva::test {

using namespace block_layout;

namespace {

// Far beyond any block with its loops, traces and handlers.
constexpr uint32_t kMostInstructions = 200000;
constexpr uint32_t kMostPumps = 400000;

std::string Hex(uint64_t v) {
  char text[24];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(v));
  return text;
}

// Loads MMU descriptor n, through its registers, with one segment of space 0
// mapped to itself: the pages whose bits under `lam` are those of `lba`.
bool LoadDescriptor(int n, uint16_t lba, uint16_t lam) {
  const uint8_t bytes[] = {static_cast<uint8_t>(lba >> 8), static_cast<uint8_t>(lba), static_cast<uint8_t>(lam >> 8),
                           static_cast<uint8_t>(lam),      static_cast<uint8_t>(lba >> 8), static_cast<uint8_t>(lba),
                           0x00 /* ASN */, MmuSsrE, 0xFF /* ASM */};
  for (uint32_t i = 0; i < std::size(bytes); ++i) Mmu.AccessMMU(0x20 + i, bytes[i]);
  Mmu.AccessMMU(0x29, static_cast<uint8_t>(n));
  return Mmu.AccessMMU(0x3F) == 0;
}

// Every page but `page` mapped to itself by descriptors 0-15 (descriptor k
// holds the pages that first differ from it in bit k), and `page` by
// descriptor kPageDescriptor, which the block takes away.
bool MapAllAround(uint16_t page) {
  for (int k = 0; k < 16; ++k) {
    const uint16_t lam = static_cast<uint16_t>(0xFFFFu << k);
    if (!LoadDescriptor(k, static_cast<uint16_t>((page ^ (1u << k)) & lam), lam)) return false;
  }
  return LoadDescriptor(kPageDescriptor, page, 0xFFFF);
}

void WriteWords(TestMachine& m, uint32_t at, const std::vector<uint16_t>& words) {
  for (uint16_t w : words) {
    m.WriteWord(at, w);
    at += 2;
  }
}

bool InComparedArea(uint32_t address) {
  for (const Area& a : kComparedAreas)
    if (address >= a.From && address < a.To) return true;
  return false;
}

// The physical addresses the word-by-word run writes.
std::vector<uint32_t> watchedWrites;
void WatchWrite(uint32_t physical) { watchedWrites.push_back(physical); }

// The Abort button's command and a command held to the next instruction boundary.
void RaiseAbort() { Exceptions.SetIP(IntEntryAbort); }
void RaiseEntry19() { Exceptions.SetIP(19); }

}  // namespace

uint32_t BlockOutcome::Taken(uint8_t vector) const {
  // The counters lie in the first compared area, which starts at 0.
  const size_t i = (kCounters + 4u * vector) / 2;
  return i + 1 < Memory.size() ? static_cast<uint32_t>(Memory[i]) << 16 | Memory[i + 1] : 0;
}

BlockRunner::BlockRunner(TestMachine& m) : m_(m) {
  m_.SetDeviceCode(kScmCr0 - 1, kScmCr0, DcCR0);
  m_.SetDeviceCode(kScmCr2 - 1, kScmCr2, DcCR2);
  m_.SetDeviceCode(kScmCr6 - 1, kScmCr6, DcCR6);
  m_.SetDeviceCode(kMmuRegisters, kMmuRegisters + 0x3F, DcMmu);
  static constexpr uint8_t kRwinCodes[8] = {DcRwinR0,    DcRwinR1,    DcRwinR2,    DcRwinR3,
                                            DcRwinR4to7, DcRwinR4to7, DcRwinR4to7, DcRwinR4to7};
  for (uint32_t i = 0; i < 8; ++i) m_.SetDeviceCode(kRwinR0 - 1 + 2 * i, kRwinR0 + 2 * i, kRwinCodes[i]);
  host_.OnPumpEvents = [this] { OnPump(); };
}

void BlockRunner::Prepare(const RandomBlock& b, RunWay way) {
  // The machine's own state as at start-up, for what the block may reach.
  ResetBusState();
  Exceptions.Reset();
  Mmu = classMMU();
  watchedWrites.clear();
  BusWriteWatch = way == RunWay::WordByWord ? WatchWrite : nullptr;  // after the MMU, which it tells
  Cpu = classCPU();
  ResetFetchState();
  Keyboard = KeyboardLink();
  Uart2661 = class2661();
  MVME400C0 = classMVME400();
  MVME400C1 = classMVME400();
  NumberBoards();
  Rwin = classRWIN();
  Scm.CR0(b.Cr0);
  Scm.CR2(b.Cr2);
  Scm.CR3(0);
  Scm.CR6(b.Cr6);
  Mvme400PollInterval = Mvme400PollCount = b.Mvme400PollInterval;
  RwinPollInterval = b.RwinPollInterval;

  // Memory: the vectors, the handlers, the block and its data.
  for (const Area& a : kComparedAreas)
    for (uint32_t at = a.From; at < a.To; at += 2) m_.WriteWord(at, 0);
  for (uint32_t table : kVectorTables)
    for (uint32_t v = 0; v < 256; ++v) {
      uint32_t handler = kUnexpected + 4 * v;
      if (v == 2 && b.UnmappedPage >= 0) handler = kBusErrorHandler;
      if (v == 47) handler = kEndStop;
      m_.WriteLong(table + 4 * v, handler);
    }
  for (const HandlerCode& h : BlockHandlers()) {
    WriteWords(m_, h.Address, h.Words);
    if (h.Address >= kHandlers && h.Address < kBusErrorHandler)
      for (uint32_t table : kVectorTables) m_.WriteLong(table + 4 * ((h.Address - kHandlers) / 16), h.Address);
  }
  m_.WriteWord(kUnmappedPageWord, static_cast<uint16_t>(b.UnmappedPage < 0 ? 0 : b.UnmappedPage));
  WriteWords(m_, kCode, b.Code);
  WriteWords(m_, kTable, b.Table);
  WriteWords(m_, kLowData, b.LowData);
  WriteWords(m_, kMainData, b.MainData);

  // The processor.
  mcErrorPC = 0;
  for (int i = 0; i < 8; ++i) CpuDReg[i] = b.D[i];
  for (int i = 0; i < 7; ++i) CpuAReg[i] = b.A[i];
  CpuS = False;  // user state first: the status register's S then swaps A7 for the SSP
  CpuAReg[7] = b.Usp;
  CpuUSP = b.Usp;
  CpuSSP = b.Ssp;
  Cpu.SR(b.Sr);
  CpuVBR = b.Vbr;
  CpuSFC = b.Sfc;
  CpuDFC = b.Dfc;
  CpuTracePending = CpuTrapvPending = CpuChkPending = CpuZeroDivide = False;
  CpuOpcode = 0;
  CpuEa = CpuSop = CpuDop = 0;
  CpuEaFc = 1;
  CpuExtraWord = 0;
  CpuExtWord = 0;
  CpuExtCount = 0;
  CpuTempWord = 0;
  CpuInstrAddr = 0;
  for (uint16_t& w : FaultFrame) w = 0;
  UseFormat2Stack = b.Format2 ? True : False;
  InterruptsDisabled = CountedRun = ResetRequest = False;
  ClearBoundaryCommands();
  ControlLatch = 0;
  TookRareWay = false;

  if (b.UnmappedPage >= 0 && !MapAllAround(static_cast<uint16_t>(b.UnmappedPage)))
    outcome_->Ending = "the MMU's set-up failed";
  host_.ClearCalls();
  m_.SetPC(kCode);
}

void BlockRunner::Quit(const std::string& why) {
  if (outcome_->Ending.empty()) outcome_->Ending = why;
  QuitRequested = True;
}

void BlockRunner::OnPump() {
  const uint32_t pump = pumps_++;
  const bool inWord = McrActive;
  const uint32_t pumpInWord = inWord ? pumpsInWords_++ : 0;
  outcome_->Pumps.push_back(static_cast<uint64_t>(InstructionCount) << 32 | mcPC);
  if (QuitRequested) return;
  if (CallsAt(mcPC, Mcr::mcrStopWait)) {
    if (CpuPC == kEndStop + 4) return Quit("end");
    if (CpuPC > kUnexpected && CpuPC <= kUnexpected + 4 * 256)
      return Quit("unexpected exception, vector " + std::to_string((CpuPC - kUnexpected - 4) / 4) +
                  ", stacked PC " + Hex(m_.ReadLong(CpuAReg[7] + 2)));
    // A STOP of the block: the Abort ends it, should nothing else do so first.
    if (wakeAt_ < 0) wakeAt_ = pump + block_->StopWakeDelay;
  }
  if (mcPC == McIdle || mcPC == McIdle + 1 || mcPC == McHalt) return Quit("halted");
  if (!host_.CallsOf(HostCall::Kind::MessageBox).empty())
    return Quit("microcode fault, mcErrorPC " + std::to_string(mcErrorPC));
  if (InstructionCount > kMostInstructions || pumps_ > kMostPumps) return Quit("no end in sight");
  if (wakeAt_ >= 0 && pump >= wakeAt_) {
    RunOrLatchCommand(RaiseAbort);
    wakeAt_ = -1;
  }
  const std::vector<PumpEvent>& events = block_->Events;
  for (size_t i = 0; i < events.size(); ++i) {
    const PumpEvent& e = events[i];
    if (done_[i] || (e.InWord ? !inWord || e.AtPump > pumpInWord : e.AtPump > pump)) continue;
    done_[i] = true;
    switch (e.Action) {
      case PumpAction::RaiseAbort: RunOrLatchCommand(RaiseAbort); break;
      case PumpAction::RaiseEntry19: RunAtInstructionBoundary(RaiseEntry19); break;
      case PumpAction::RaiseClock: Exceptions.SetIP(IntEntryClock); break;
      case PumpAction::WithdrawClock: Exceptions.ClrIP(IntEntryClock); break;
      case PumpAction::RaiseKeyboard: Exceptions.SetIP(IntEntryKeyboardRx); break;
      case PumpAction::WithdrawKeyboard: Exceptions.ClrIP(IntEntryKeyboardRx); break;
      case PumpAction::StartDiskCommand:
        for (uint8_t v : {0x00, 0x00, 0x00, 0x00, 0x00, 0x02}) Rwin.R0(v);
        break;
      case PumpAction::ChangeThrottle: CpuThrottleMask = e.Value; break;
    }
  }
}

BlockOutcome BlockRunner::Run(const RandomBlock& b, RunWay way) {
  BlockOutcome o;
  block_ = &b;
  outcome_ = &o;
  pumps_ = pumpsInWords_ = 0;
  done_.assign(b.Events.size(), false);
  wakeAt_ = -1;
  Prepare(b, way);
  QuitRequested = o.Ending.empty() ? False : True;
  CpuThrottleMask = b.ThrottleMask;
  if (way == RunWay::FastLoop) {
    RunMachine();
  } else {
    // RunMachine's pumps: after every word whose number since the start is a
    // multiple of CpuThrottleMask + 1 (the step counts 30 bits).
    uint32_t step = 0;
    while (CpuRunning && !QuitRequested) {
      m_.ExecuteWord();
      step = (step + 1) & 0x3FFFFFFF;
      if ((step & static_cast<uint32_t>(CpuThrottleMask)) == 0) PumpEvents();
    }
  }
  CpuThrottleMask = 1023;
  BusWriteWatch = nullptr;
  QuitRequested = False;
  CpuRunning = False;
  BlockOutcome result = Capture();
  for (uint32_t physical : watchedWrites)
    if (!InComparedArea(physical) && CellOf(physical).Device == DcRam) {  // not a device register
      result.WriteOutside = "a write at " + Hex(physical) + " outside the compared areas";
      break;
    }
  result.Ending = o.Ending;
  result.Pumps = std::move(o.Pumps);
  outcome_ = nullptr;
  block_ = nullptr;
  return result;
}

BlockOutcome BlockRunner::Capture() const {
  BlockOutcome o;
  for (int i = 0; i < 8; ++i) {
    o.D[i] = CpuDReg[i];
    o.A[i] = CpuAReg[i];
  }
  o.Usp = CpuS ? CpuUSP : CpuAReg[7];
  o.Ssp = CpuS ? CpuAReg[7] : CpuSSP;
  o.Pc = CpuPC;
  o.Sr = Cpu.SR();
  o.Vbr = CpuVBR;
  o.Sfc = CpuSFC;
  o.Dfc = CpuDFC;
  o.Instructions = InstructionCount;
  o.McPc = mcPC;
  o.McStage = mcStage;
  for (int e = 0; e < InterruptEntryCount; ++e) {
    o.Pending[e] = Exceptions.Pending(e);
    o.Mask[e] = Exceptions.Mask(e);
  }
  for (int c = 1; c <= IocChannelCount; ++c)
    for (int s = 0; s < IocSourceCount; ++s) o.ChannelSources.push_back(Exceptions.IocPending(c, s));
  o.HipPending = HipPending;
  o.HipEntry = HipEntry;
  o.IMask = IMaskFlag;
  for (unsigned d = 0; d < 32; ++d) o.DescriptorStatus[d] = Mmu.Descriptor(d).SSR;
  o.GlobalStatus = Mmu.AccessMMU(0x2D);
  o.DiskStatus = Rwin.R1();
  o.HeldCommands = HeldBoundaryCommands();
  o.ControlLatch = ControlLatch;
  for (const Area& a : kComparedAreas)
    for (uint32_t at = a.From; at < a.To; at += 2) o.Memory.push_back(m_.ReadWord(at));
  return o;
}

std::vector<std::string> Differences(const BlockOutcome& fast, const BlockOutcome& stepped) {
  std::vector<std::string> out;
  const auto field = [&](const std::string& name, uint64_t f, uint64_t s) {
    if (f != s) out.push_back(name + " " + Hex(f) + " run by the loop, " + Hex(s) + " word by word");
  };
  if (fast.Ending != stepped.Ending)
    out.push_back("ended by the loop: " + fast.Ending + "; word by word: " + stepped.Ending);
  for (int i = 0; i < 8; ++i) field("D" + std::to_string(i), fast.D[i], stepped.D[i]);
  for (int i = 0; i < 8; ++i) field("A" + std::to_string(i), fast.A[i], stepped.A[i]);
  field("USP", fast.Usp, stepped.Usp);
  field("SSP", fast.Ssp, stepped.Ssp);
  field("PC", fast.Pc, stepped.Pc);
  field("SR", fast.Sr, stepped.Sr);
  field("VBR", fast.Vbr, stepped.Vbr);
  field("SFC", fast.Sfc, stepped.Sfc);
  field("DFC", fast.Dfc, stepped.Dfc);
  field("instruction count", fast.Instructions, stepped.Instructions);
  field("mcPC", fast.McPc, stepped.McPc);
  field("mcStage", fast.McStage, stepped.McStage);
  for (int e = 0; e < InterruptEntryCount; ++e) {
    field("interrupt entry " + std::to_string(e) + " pending", fast.Pending[e], stepped.Pending[e]);
    field("interrupt entry " + std::to_string(e) + " mask", fast.Mask[e], stepped.Mask[e]);
  }
  for (size_t i = 0; i < fast.ChannelSources.size() && i < stepped.ChannelSources.size(); ++i)
    field("channel source " + std::to_string(i), fast.ChannelSources[i], stepped.ChannelSources[i]);
  field("HipPending", fast.HipPending, stepped.HipPending);
  field("HipEntry", static_cast<uint16_t>(fast.HipEntry), static_cast<uint16_t>(stepped.HipEntry));
  field("IMaskFlag", static_cast<uint16_t>(fast.IMask), static_cast<uint16_t>(stepped.IMask));
  for (int d = 0; d < 32; ++d)
    field("MMU descriptor " + std::to_string(d) + " status", fast.DescriptorStatus[d], stepped.DescriptorStatus[d]);
  field("MMU global status", fast.GlobalStatus, stepped.GlobalStatus);
  field("disk controller status", fast.DiskStatus, stepped.DiskStatus);
  field("held boundary commands", static_cast<uint32_t>(fast.HeldCommands),
        static_cast<uint32_t>(stepped.HeldCommands));
  field("control latch", fast.ControlLatch, stepped.ControlLatch);
  if (fast.Pumps != stepped.Pumps) {
    size_t i = 0;
    while (i < fast.Pumps.size() && i < stepped.Pumps.size() && fast.Pumps[i] == stepped.Pumps[i]) ++i;
    const auto at = [](const std::vector<uint64_t>& p, size_t i) {
      return i < p.size() ? "instruction " + std::to_string(p[i] >> 32) + ", mcPC " + std::to_string(p[i] & 0xFFFFFFFF)
                          : std::string("none");
    };
    out.push_back("pump " + std::to_string(i) + " (of " + std::to_string(fast.Pumps.size()) + " and " +
                  std::to_string(stepped.Pumps.size()) + ") after " + at(fast.Pumps, i) + " run by the loop, " +
                  at(stepped.Pumps, i) + " word by word");
  }
  // Memory: the first differing word of each area and how many differ.
  size_t offset = 0;
  for (const Area& a : kComparedAreas) {
    const size_t words = (a.To - a.From) / 2;
    size_t first = words, count = 0;
    for (size_t i = 0; i < words && offset + i < fast.Memory.size() && offset + i < stepped.Memory.size(); ++i)
      if (fast.Memory[offset + i] != stepped.Memory[offset + i]) {
        if (first == words) first = i;
        ++count;
      }
    if (count > 0)
      out.push_back(std::to_string(count) + " words differ from " + Hex(a.From) + " to " + Hex(a.To) + ", first at " +
                    Hex(a.From + 2 * first) + ": " + Hex(fast.Memory[offset + first]) + " run by the loop, " +
                    Hex(stepped.Memory[offset + first]) + " word by word");
    offset += words;
  }
  return out;
}

std::string StrayWrite() {
  for (uint32_t i = 0; i < RamCellCount; ++i)
    if (RamArray[i].Data != 0 && !InComparedArea(2 * i))
      return "a write at " + Hex(2 * i) + ": " + Hex(RamArray[i].Data);
  return "";
}

std::string ListBlock(const RandomBlock& b) {
  std::string text;
  for (uint32_t at : b.InstructionStarts) {
    char line[24];
    std::snprintf(line, sizeof line, "  %06X  ", at);
    text += line + Disassemble(at, True) + "\n";
  }
  return text;
}

}  // namespace korva::test
