// The command line of the debugger: tokenizing, argument values, dispatch and
// the output text, and the debugger's life as the machine sees it.
#include "debugger/DebuggerCore.h"

#include "debugger/Panes.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "cpu/CpuState.h"
#include "cpu/DebuggerHooks.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "debugger/DebugPump.h"
#include "debugger/Disassembler.h"
#include "cpu/classCPU.h"
#include "debugger/PatternSearch.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

std::string CommandLine;
std::string CommandWord;
CommandArg CommandArgs[CommandArgSlots];
int16_t ArgCount = 0;
VBool DebugAbort = False;
VBool CommandRunning = False;

VBool UseRamArray = True;
VBool TrackTrace = False;
VBool Ascii7Bit = False;
VBool DisplacementsHex = False;
VBool UseMmuForDisasm = False;
int32_t VersionNumber = 43;

DebuggerView View;
std::string OutputText;
std::string Caption;

namespace {

// What the line executing printed, for Execute.
std::string* capture = nullptr;

std::string Upper(std::string_view text) {
  std::string u(text);
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

// A register name gives its value and the widths it offers.
bool EvaluateRegister(CommandArg& arg) {
  const std::string name = Upper(arg.Text);
  uint32_t value = 0;
  bool byteForm = false, wordForm = true;
  if (name.size() == 3 && name[0] == '.' && (name[1] == 'A' || name[1] == 'D') && name[2] >= '0' && name[2] <= '7') {
    const int n = name[2] - '0';
    if (name[1] == 'A') {
      value = CpuAReg[n];
    } else {
      value = CpuDReg[n];
      byteForm = true;
    }
  } else if (name == ".PC") {
    value = CpuPC;
    wordForm = false;
  } else if (name == ".USP") {
    value = CpuS ? CpuUSP : CpuAReg[7];
  } else if (name == ".SSP") {
    value = CpuS ? CpuAReg[7] : CpuSSP;
  } else if (name == ".VBR") {
    value = CpuVBR;
    wordForm = false;
  } else if (name == ".SFC" || name == ".DFC") {
    value = name == ".SFC" ? CpuSFC : CpuDFC;
    byteForm = true;
  } else {
    return false;
  }
  arg.Size = 0;
  if (byteForm) {
    arg.ByteOK = True;
    arg.ByteValue = static_cast<uint8_t>(value);
  }
  if (wordForm) {
    arg.WordOK = True;
    arg.WordValue = static_cast<int16_t>(static_cast<uint16_t>(value));
  }
  arg.LongOK = True;
  arg.LongValue = static_cast<int32_t>(value);
  return true;
}

void EvaluateArgument(CommandArg& arg) {
  arg.ByteOK = arg.WordOK = arg.LongOK = False;
  arg.Size = 0;
  arg.Present = ToVBool(!arg.Text.empty());
  if (arg.Text.empty()) return;
  ++ArgCount;
  if (EvaluateRegister(arg)) return;
  arg.Size = 5;
  // The number reader takes no sign; a leading minus negates the number after
  // it, so that the negative ranges of the fit tests (-1 for FF) can be typed.
  const std::string_view text(arg.Text);
  if (text.size() > 1 && text[0] == '-') {
    if (const std::optional<double> magnitude = ParseNumber(text.substr(1))) arg.Value = -*magnitude;
  } else {
    arg.Value = ParseNumber(text);
  }
  if (!arg.Value) return;
  const double v = *arg.Value;
  if (FitsLong(v)) {
    arg.LongOK = True;
    arg.LongValue = DoubleToLong(v);
    arg.Size = 4;
  }
  if (FitsWord(v)) {
    arg.WordOK = True;
    arg.WordValue = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(DoubleToLong(v))));
    arg.Size = 2;
  }
  if (FitsByte(v)) {
    arg.ByteOK = True;
    arg.ByteValue = static_cast<uint8_t>(static_cast<uint32_t>(DoubleToLong(v)));
    arg.Size = 1;
  }
}

using CommandMap = std::unordered_map<std::string, void (*)()>;
const CommandMap& Commands() {
  static const CommandMap map = [] {
    CommandMap m;
    for (const CommandTable* table : AllCommandTables())
      for (const DebugCommand& command : *table) {
        std::string_view rest = command.Spellings;
        while (!rest.empty()) {
          const size_t blank = rest.find(' ');
          const std::string_view word = rest.substr(0, blank);
          if (!word.empty()) m.emplace(std::string(word), command.Run);  // the first table wins
          rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
        }
      }
    return m;
  }();
  return map;
}

void ExecuteCommandLine() {
  ClearCommandArgs();
  int32_t pos = 1;
  CommandWord = Upper(GetToken(pos, CommandLine));
  GetWord(pos, CommandLine);
  for (int i = 1; i < CommandArgSlots; ++i) {
    CommandArgs[i].Text = GetToken(pos, CommandLine);
    GetWord(pos, CommandLine);
    GetField(pos, CommandLine);
    GetWord(pos, CommandLine);
  }
  EvaluateArguments();
  if (!CommandWord.empty()) {
    AppendOutput("\r\n");
    const CommandMap& commands = Commands();
    const auto found = commands.find(CommandWord);
    if (found != commands.end()) {
      found->second();
    } else {
      AppendOutput("Undefined Command\r\n");
      AppendOutput(" Type HELP for help!\r\n");
    }
  }
  CommandLine.clear();
}

}  // namespace

void ClearCommandArgs() {
  for (CommandArg& arg : CommandArgs) arg = CommandArg{};
  ArgCount = 0;
}

void EvaluateArguments() {
  ArgCount = 0;
  for (CommandArg& arg : CommandArgs) EvaluateArgument(arg);
}

bool CheckArguments(std::initializer_list<ArgCheck> checks) {
  bool ok = true;
  int k = 0;
  for (const ArgCheck& check : checks) {
    if (++k >= CommandArgSlots || k > 6) break;
    if (check.Width == ArgUnchecked) continue;
    CommandArg& arg = CommandArgs[k];
    const bool hasDefault = check.Width == ArgText ? (check.TextDefault && *check.TextDefault) : check.Default != 0;
    if (!arg.Present && hasDefault) {
      arg.Present = True;
      switch (check.Width) {
        case ArgByte:
          arg.ByteOK = True;
          arg.ByteValue = static_cast<uint8_t>(static_cast<uint32_t>(DoubleToLong(check.Default)));
          break;
        case ArgWord:
          arg.WordOK = True;
          arg.WordValue = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(DoubleToLong(check.Default))));
          break;
        case ArgLong:
          arg.LongOK = True;
          arg.LongValue = DoubleToLong(check.Default);
          break;
        case ArgText:
          arg.Text = check.TextDefault;
          break;
      }
    }
    if (!arg.Present) ok = false;
    if (check.Width == ArgByte && !arg.ByteOK) ok = false;
    if (check.Width == ArgWord && !arg.WordOK) ok = false;
    if (check.Width == ArgLong && !arg.LongOK) ok = false;
  }
  return ok;
}

uint64_t OutputWritten = 0;

void AppendOutput(std::string_view text) {
  OutputWritten += text.size();
  if (capture) capture->append(text);
  if (View.Append && View.Length && View.RemoveFirst) {
    const size_t length = View.Length();
    if (length + text.size() > OutputLimit) View.RemoveFirst(std::min(length, text.size() + 1000));
    View.Append(text);
    return;
  }
  if (OutputText.size() + text.size() > OutputLimit)
    OutputText.erase(0, std::min(OutputText.size(), text.size() + 1000));
  OutputText.append(text);
}

namespace {
bool OutputAtLineStart() {
  if (View.Append && View.AtLineStart) return View.AtLineStart();
  return OutputText.empty() || OutputText.back() == '\n';
}
}  // namespace

void RequestRefresh() {
  RefreshRegsRequest = True;
  RefreshWatchRequest = True;
}

void FlagCommand(VBool& flag, std::string_view invalidText, std::string_view mustText) {
  const CommandArg& a = CommandArgs[1];
  if (!a.ByteOK) {
    AppendOutput(invalidText);
    AppendOutput("\r\n");
  } else if (a.ByteValue > 1) {
    AppendOutput(mustText);
    AppendOutput("\r\n");
  } else {
    flag = ToVBool(a.ByteValue == 1);
  }
}

std::string Execute(std::string_view line) {
  // One command at a time: a line typed while a command pumps events is dropped.
  if (CommandRunning) return {};
  std::string printed;
  capture = &printed;
  CommandRunning = True;
  CommandLine = std::string(line);
  ExecuteCommandLine();
  CommandRunning = False;
  capture = nullptr;
  return printed;
}

void CommandKey(char key) {
  switch (key) {
    case 8:
      if (!CommandLine.empty()) CommandLine.pop_back();
      break;
    case 9:
      CommandLine += ' ';
      break;
    case 10:
    case 13:
      if (CommandRunning) {
        // The typed text stays in the box: the note ends its line and stands on
        // one of its own, so the next echo starts a line too.
        CommandLine.clear();
        if (!OutputAtLineStart()) AppendOutput("\r\n");
        AppendOutput(LineNotRunText);
        AppendOutput("\r\n");
      } else {
        // A typed line prints to the output only (not kept a second time as
        // Execute does), so a long dump holds no more than the output's text.
        CommandRunning = True;
        ExecuteCommandLine();
        CommandRunning = False;
      }
      break;
    default:
      CommandLine += key;
      break;
  }
}

std::vector<std::string> AllCommandSpellings() {
  std::vector<std::string> all;
  for (const CommandTable* table : AllCommandTables())
    for (const DebugCommand& command : *table) {
      std::string_view rest = command.Spellings;
      while (!rest.empty()) {
        const size_t blank = rest.find(' ');
        if (blank != 0) all.emplace_back(rest.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
      }
    }
  return all;
}

void ShowStatus(const std::string& text) {
  std::string caption = "Debugger - ";
  if (!text.empty()) {
    caption += text;
  } else if (CpuRunning) {
    caption += "Running";
  } else {
    caption += "Stopped ";
    if (BreakPointsEnabled)
      for (const BreakPoint& b : BreakPoints)
        if (b.Enabled && b.Skip) caption += " Break @ 0x" + HexLong(b.Address);
  }
  Caption = caption;
  if (View.SetCaption) View.SetCaption(caption);
}

void EnableBreakPoints() {
  BreakPointsEnabled = False;
  for (const BreakPoint& b : BreakPoints)
    if (b.Enabled) BreakPointsEnabled = True;
}

void ClearBreakPoints() {
  for (BreakPoint& b : BreakPoints) {
    b.Skip = False;
    b.Enabled = False;
  }
  BreakPointsEnabled = False;
}

void cmdRunClick() {
  Cpu.Run();
  ShowStatus("Running");
}

void cmdStepClick() {
  if (CpuRunning) return;
  Cpu.Step(1);
  RequestRefresh();
}

void cmdStopClick() {
  Cpu.StopRun(true);
  RequestRefresh();
}

void cmdAbortClick() { DebugAbort = True; }

void DebuggerLoad() {
  DebuggerLoaded = True;
  UseDebuggerMicroOp();
}

void DebuggerUnload() {
  RefreshRegsRequest = False;
  RefreshWatchRequest = False;
  BreakPointsEnabled = False;
  CountedRun = False;
  DisableIntOnStop = False;
  InterruptsDisabled = False;
  DebuggerLoaded = False;
  UseNormalMicroOp();
}

void ShowDebugger(int16_t style) {
  if (View.Show) {
    View.Show(style);
  } else if (!DebuggerLoaded) {
    DebuggerLoad();
  }
  ClearBreakPoints();
  ShowStatus("");
}

void HideDebugger() {
  RefreshRegsRequest = False;
  RefreshWatchRequest = False;
  ClearBreakPoints();
  CountedRun = False;
  if (View.Unload) {
    View.Unload();
  } else if (DebuggerLoaded) {
    DebuggerUnload();
  }
}

void ResetDebuggerState() {
  CommandLine.clear();
  CommandWord.clear();
  ClearCommandArgs();
  DebugAbort = False;
  CommandRunning = False;
  UseRamArray = True;
  TrackTrace = False;
  Ascii7Bit = False;
  DisplacementsHex = False;
  UseMmuForDisasm = False;
  VersionNumber = 43;
  DefaultRadix = 10;
  OutputText.clear();
  Caption.clear();
  ResetDisassembler();
  DebugPumpClock = &SteadyClockMs;
  ResetPanes();
  ResetFindState();
}

void InstallDebugger() {
  DebuggerHook.ShowStatus = &ShowStatus;
  DebuggerHook.Disassemble = &Disassemble;
  DebuggerHook.DisplayRegisters = &DisplayRegisters;
  DebuggerHook.LoadMemoryWatch = &LoadMemoryWatch;
}

}  // namespace korva
