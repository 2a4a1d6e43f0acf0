// Start-up and the main loop.
#include "cpu/MainLoop.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/Dispatch.h"
#include "cpu/FetchDecode.h"
#include "cpu/FetchSteps.h"
#include "cpu/FusedChains.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "disk/Drives.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "tables/FixedTables.h"
#include "shell/MainFormHooks.h"
#include "shell/SettingsStore.h"
#include "board/Rtc1468hc18.h"
#include "board/ScreenCompositor.h"
#include "tables/Helpers.h"
#include "tables/Queues.h"

namespace korva {

std::vector<std::string> CommandWords(2);
int32_t CommandWordCount = 0;
std::string ProfileName;
VBool QuitRequested = False;
int32_t CpuThrottleMask = 1023;
VBool RefreshRegsRequest = False, RefreshWatchRequest = False;
VBool DebuggerLoaded = False;
VBool PowerOnResetDone = False;
std::string ProgramCommandLine;

namespace {
// How long the stopped processor waits for a window event per pass.
constexpr int kStoppedWaitMs = 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// One control-store word, as StepControlStore executes it, except that a call
// of the normal fetch (once per instruction) runs the fetch in place.
[[gnu::always_inline]] inline void RunWord() {
  if (CallsAt(mcPC, Mcr::mcrFetchDecode))
    FetchDecodeSteps();
  else
    StepControlStore();
}

}  // namespace

void ParseCommandLine(int16_t maxWords, const std::string& commandLine) {
  CommandWordCount = 0;
  CommandWords.assign(maxWords > 0 ? static_cast<size_t>(maxWords) + 1 : 1, std::string());
  size_t b = 0, e = commandLine.size();
  while (b < e && commandLine[b] == ' ') ++b;
  while (e > b && commandLine[e - 1] == ' ') --e;
  bool inWord = false;
  for (size_t i = b; i < e; ++i) {
    const char c = commandLine[i];
    if (IsBlank(c)) {
      inWord = false;
      continue;
    }
    if (!inWord) {
      if (CommandWordCount >= maxWords) return;
      ++CommandWordCount;
      inWord = true;
    }
    CommandWords[static_cast<size_t>(CommandWordCount)] += c;
  }
}

VBool IsPlainName(const std::string& text) {
  if (text.empty()) return False;
  for (char c : text)
    if (c == '.' || c == '\\' || c == ':' || c == '/') return False;
  return True;
}

void ChooseProfile(const std::string& commandLine) {
  ParseCommandLine(1, commandLine);
  ProfileName = (CommandWordCount > 0 && IsPlainName(CommandWords[1])) ? KeepAlphaNumVar(CommandWords[1]) : "";
  Host().SetApplicationName(std::string(AppTitle) + ProfileName);
}

namespace {

// Words from `step` to the next pump: the smallest k >= 1 with
// ((step + k) AND mask) = 0 in the 30-bit counter. 0 for word by word: while the
// debugger's fetch is in the store (its stops and steps are then checked after
// every word, as before), while a latched change waits for the word it may be
// applied after, and for a mask that is no 2^n - 1 below 2^30.
uint32_t WordsToPump(uint32_t step, uint32_t mask) {
  if (mask >= 0x3FFFFFFFu || (mask & (mask + 1)) != 0) return 0;
  if (CallsAt(McFastFetch, Mcr::mcrFetchDecodeDebug) || ControlLatch) return 0;
  return mask + 1 - (step & mask);
}

// After a word or a run of them: the control latch, the step counter and the pump.
void AfterWords(uint32_t& step, uint32_t words) {
  if (ControlLatch) ApplyControlLatch();
  step = (step + words) & 0x3FFFFFFF;
  if ((step & static_cast<uint32_t>(CpuThrottleMask)) == 0) {
    McrActive = false;
    PumpEvents();
    McrActive = true;
  }
}

// A jump, an unfilled word or a call without a routine, as RunWord does it.
void OtherWord() { RunWord(); }

// What each word does, as of MicrocodeEdits = routinesOfEdits: the routine of a
// call word with a routine number, OtherWord for every other word.
McrFunction routineAt[McStoreSize];
uint32_t routinesOfEdits = 0;

// One word of a run: the routine at hand, the normal fetch in place.
[[gnu::always_inline]] inline void RunKnownWord() {
  const uint32_t pc = mcPC;
  if (pc >= McStoreSize) [[unlikely]] return RunWord();  // the microcode fault
  const McrFunction routine = routineAt[pc];
  if (routine == mcrFetchDecode)
    FetchDecodeSteps();
  else
    routine();
}

// A word by itself where no fused chain starts (FusedAt).
uint32_t OneWord(uint32_t spare) {
  RunKnownWord();
  TookRareWay = false;  // the fused chain that may come next is entered with it clear
  return spare - 1;
}

// Whether the normal fetch stands at McFastFetch, where the fused chains run it
// in place; without it there is no fast path.
bool fetchInPlace = false;

void LookUpRoutines() {
  for (uint32_t a = 0; a < McStoreSize; ++a) {
    const McEntry& e = Microcode[a];
    routineAt[a] = e.Kind == McCall && e.Arg < McrTableSize ? McrTable[e.Arg] : OtherWord;
  }
  FindFusedChains(OneWord);
  fetchInPlace = CallsAt(McFastFetch, Mcr::mcrFetchDecode) && OpMapStartsInStore();
  routinesOfEdits = MicrocodeEdits;
}

// Words of one run, up to `budget`, until LoopAttention is set; returns how many
// ran. While the run is far from its end, an instruction at a time: its chain,
// fused where the store allows, and the fetch after it. The last words one at a
// time, so that the run ends after the same word as when every word runs alone.
uint32_t RunBudget(uint32_t budget) {
  // A fused chain goes on to the next one by a call in tail position, which the
  // compiler makes a jump; should it not, this bounds the depth of the calls.
  constexpr uint32_t kMostPerEntry = 1024;
  uint32_t left = budget;
  // Fused chains are entered with TookRareWay clear; the words run elsewhere
  // (one by one, the out-of-line words of a chain) may leave it set.
  TookRareWay = false;
  while (fetchInPlace && left > FusedChainMostWords) {
    const uint32_t run = left < kMostPerEntry ? left : kMostPerEntry;
    const uint32_t spare = run - (FusedChainMostWords + 1);  // 0 or more (see FusedChain)
    const uint32_t pc = mcPC;
    // A fused chain is entered at step 1 only (it relies on that); a word at
    // another step, or beyond the store (the fault), runs by itself.
    const uint32_t rest = pc < McStoreSize && mcStage == 1 ? FusedAt[pc](spare) : OneWord(spare);
    left -= spare - rest;
    TookRareWay = false;
    if (LoopAttention) return budget - left;
  }
  while (left > 0) {
    RunKnownWord();
    --left;
    if (LoopAttention) break;
  }
  return budget - left;
}

// Words while the processor runs and no quit is asked for. Between two pumps
// the words run back to back: the run state, the quit request, the control latch
// and the throttle change only through a host call or run control, which set
// LoopAttention; after such a word the loop looks at them as after every word.
void RunWords(uint32_t& step) {
  do {
    const uint32_t budget = WordsToPump(step, static_cast<uint32_t>(CpuThrottleMask));
    if (budget == 0) {
      RunWord();
      AfterWords(step, 1);
      continue;
    }
    if (routinesOfEdits != MicrocodeEdits) LookUpRoutines();
    LoopAttention = false;
    AfterWords(step, RunBudget(budget));
  } while (CpuRunning && !QuitRequested);
}

}  // namespace

// Kept out of line so that profiles show the loop and everything under it as one.
[[gnu::noinline]] void RunMachine() {
  uint32_t step = 0;  // control-store words since entry, 30 bits
  LookUpRoutines();
  for (;;) {
    if (CpuRunning) {
      McrActive = true;
      RunWords(step);
      McrActive = false;
    } else {
      if (RefreshRegsRequest) {
        if (DebuggerHook.DisplayRegisters) DebuggerHook.DisplayRegisters();
        RefreshRegsRequest = False;
      }
      if (RefreshWatchRequest) {
        if (DebuggerHook.LoadMemoryWatch) {
          DebuggerHook.LoadMemoryWatch(0);
          DebuggerHook.LoadMemoryWatch(1);
        }
        RefreshWatchRequest = False;
      }
      WaitEvents(kStoppedWaitMs);
    }
    if (QuitRequested) return;
  }
}

int Main() {
  ScreenRedrawHeld = True;
  TraceTable.Create(4096);
  TraceTableEnabled = False;
  InterruptsDisabled = False;
  DisableIntOnStop = False;
  ChooseProfile(ProgramCommandLine);
  CreateMainForm();  // the settings load below already talks to it
  InitColorTable2();
  InitColorTable();
  InitBitTable();
  InitMaskTable();
  InitDisplayThrottleTable();
  InitializeSettings();
  Rtc.LoadSettings();  // the clock's own section, and its periodic timer
  BuildMemoryMap();
  InitDrives();
  NumberBoards();
  SetCpuRunning(False);
  QuitRequested = False;
  MovePhysEn = GetSettingBool("General", "MovePhysEn", False);
  BuildCpuTables(Cpu68010);
  DebuggerLoaded = False;
  MainForm->ShowKorvan();
  PowerOnResetDone = False;
  MainForm->PorGui(PowerOnResetDone);
  RunMachine();
  // Mounted images are written out and closed before the program ends.
  for (DriveNumber d = 0; d < UsedDrives; ++d)
    if (DriveTable[static_cast<size_t>(d)].Mounted) EjectDisk(d);
  return 0;
}

}  // namespace korva
