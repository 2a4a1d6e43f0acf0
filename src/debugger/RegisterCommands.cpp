// Commands that set the processor's registers, and the memory-watch commands.
#include <string>

#include "cpu/CpuState.h"
#include "cpu/MainLoop.h"
#include "cpu/classCPU.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Panes.h"

namespace korva {

namespace {

const char kWordBad[] = "Value Bad or won't fit Word\r\n";
const char kByteBad[] = "Value Bad or won't fit Byte\r\n";
const char kBad[] = "Value Bad\r\n";

// ".D3.W" and the like: the register letter and number, and the size letter (W when none).
struct RegisterWord {
  char Kind;    // 'D' or 'A'
  int Number;   // 0-7
  char Size;    // 'B', 'W' or 'L'
};
RegisterWord ParseRegisterWord() {
  const std::string& w = CommandWord;
  return RegisterWord{w[1], (w[2] - '0') & 7, w.size() > 4 ? w[4] : 'W'};
}

void DoDataRegister() {
  const RegisterWord r = ParseRegisterWord();
  const CommandArg& a = CommandArgs[1];
  uint32_t& d = CpuDReg[r.Number];
  switch (r.Size) {
    case 'B':
      if (!a.ByteOK) return AppendOutput(kByteBad);
      d = (d & 0xFFFFFF00u) | a.ByteValue;
      break;
    case 'L':
      if (!a.LongOK) return AppendOutput(kBad);
      d = static_cast<uint32_t>(a.LongValue);
      break;
    default:
      if (!a.WordOK) return AppendOutput(kWordBad);
      d = (d & 0xFFFF0000u) | static_cast<uint16_t>(a.WordValue);
      break;
  }
  RefreshRegsRequest = True;
}

void DoAddressRegister() {
  const RegisterWord r = ParseRegisterWord();
  const CommandArg& a = CommandArgs[1];
  if (r.Size == 'L') {
    if (!a.LongOK) return AppendOutput(kBad);
    CpuAReg[r.Number] = static_cast<uint32_t>(a.LongValue);
  } else {
    if (!a.WordOK) return AppendOutput(kWordBad);
    CpuAReg[r.Number] = static_cast<uint32_t>(static_cast<int32_t>(a.WordValue));  // sign-extended
  }
  // A watch may follow the register.
  RefreshRegsRequest = True;
  RefreshWatchRequest = True;
}

// The long-valued control registers.
void DoControlRegister() {
  const CommandArg& a = CommandArgs[1];
  if (!a.LongOK) return AppendOutput(kBad);
  const uint32_t v = static_cast<uint32_t>(a.LongValue);
  if (CommandWord == ".VBR") {
    CpuVBR = v;
  } else if (CommandWord == ".SSP") {
    CpuSSP = v;
    if (CpuS) CpuAReg[7] = v;
  } else if (CommandWord == ".USP") {
    CpuUSP = v;
    if (!CpuS) CpuAReg[7] = v;
  } else if (CommandWord == ".SFC") {
    CpuSFC = v & 7;
  } else {
    CpuDFC = v & 7;
  }
  RefreshRegsRequest = True;
}

void DoStatusRegister() {
  const CommandArg& a = CommandArgs[1];
  if (!a.WordOK) return AppendOutput(kBad);
  if (CommandWord == ".SR")
    Cpu.SR(static_cast<uint16_t>(a.WordValue));  // swaps the stack pointers when S changes
  else
    Cpu.CCR(static_cast<uint8_t>(a.WordValue & 0x1F));
  RefreshRegsRequest = True;
}

// The watch number: the digit that ends the command word.
int16_t WatchNumber() { return static_cast<int16_t>((CommandWord.back() - '0') & 1); }

void DoSetMemoryWatch() {
  const CommandArg& a = CommandArgs[1];
  const CommandArg& b = CommandArgs[2];
  if (!a.LongOK || !b.ByteOK) return AppendOutput("Error - SMWn <addr32>,<len8>\r\n");
  MemoryWatches[WatchNumber()] = MemoryWatch{1, static_cast<uint32_t>(a.LongValue), b.ByteValue};
  RefreshWatchRequest = True;
}

// The register argument "A3": two characters, an A of either case and a digit,
// and not a number of the current base (in base 16 "A3" is one).
void DoSetDynamicMemoryWatch() {
  const CommandArg& a = CommandArgs[1];
  const CommandArg& b = CommandArgs[2];
  const std::string& t = a.Text;
  const bool isRegister = a.Present && !a.Value && t.size() == 2 && (t[0] == 'A' || t[0] == 'a') && t[1] >= '0' &&
                          t[1] <= '9' && a.Size != 0;
  if (!isRegister || !b.ByteOK) return AppendOutput("Error - SDMWn A<0-7>,<len8>\r\n");
  MemoryWatches[WatchNumber()] = MemoryWatch{2, static_cast<uint32_t>((t[1] - '0') & 7), b.ByteValue};
  RefreshWatchRequest = True;
}

void DoDeleteMemoryWatch() {
  MemoryWatches[WatchNumber()] = MemoryWatch{};
  RefreshWatchRequest = True;
}

}  // namespace

const DebugCommand kRegisterCommands[] = {
    {".D0 .D1 .D2 .D3 .D4 .D5 .D6 .D7 .D0.W .D1.W .D2.W .D3.W .D4.W .D5.W .D6.W .D7.W "
     ".D0.B .D1.B .D2.B .D3.B .D4.B .D5.B .D6.B .D7.B .D0.L .D1.L .D2.L .D3.L .D4.L .D5.L .D6.L .D7.L",
     &DoDataRegister},
    {".A0 .A1 .A2 .A3 .A4 .A5 .A6 .A7 .A0.W .A1.W .A2.W .A3.W .A4.W .A5.W .A6.W .A7.W "
     ".A0.L .A1.L .A2.L .A3.L .A4.L .A5.L .A6.L .A7.L",
     &DoAddressRegister},
    {".VBR .SSP .USP .SFC .DFC", &DoControlRegister},
    {".SR .CCR", &DoStatusRegister},
    {"SMW0 SMW1", &DoSetMemoryWatch},
    {"SDMW0 SDMW1", &DoSetDynamicMemoryWatch},
    {"DMW0 DMW1", &DoDeleteMemoryWatch},
};
extern const CommandTable RegisterCommands{kRegisterCommands};

}  // namespace korva
