// Commands of the disassembler: the listing, the memory tags that show ranges
// as constants or as code, the opcode frequencies and the display options.
#include <string>

#include "cpu/CpuState.h"
#include "debugger/DebugPump.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Disassembler.h"
#include "tables/OpMap.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

void DoList() {
  if (!CommandArgs[1].LongOK || !CommandArgs[2].ByteOK) {
    AppendOutput("Usage - List <address> <Count>");
    return;
  }
  DebugAddress = static_cast<uint32_t>(CommandArgs[1].LongValue);
  DebugSpace = CpuS;
  DebugPump pump;
  for (int n = CommandArgs[2].ByteValue; n > 0 && !pump.Poll(); --n) {
    std::string line = HexLong(DebugAddress) + " : ";
    line += DisassembleCurrent();
    line += "\r\n";
    AppendOutput(line);
  }
}

// SDC.B, SDC.W, SDC.L and SCODE: start and end, start below end.
void TagRange(uint8_t tag, const char* error) {
  const CommandArg &a = CommandArgs[1], &b = CommandArgs[2];
  if (!a.LongOK || !b.LongOK || a.LongValue >= b.LongValue) {
    AppendOutput(error);
    AppendOutput("\r\n");
    return;
  }
  SetMemoryTag(static_cast<uint32_t>(a.LongValue), static_cast<uint32_t>(b.LongValue), tag);
}
void DoConstantBytes() { TagRange(TagBytes, "Error - SDC.B <Start>,<End>"); }
void DoConstantWords() { TagRange(TagWords, "Error - SDC.W <Start>,<End>"); }
void DoConstantLongs() { TagRange(TagLongs, "Error - SDC.L <Start>,<End>"); }
void DoCode() { TagRange(TagCode, "Error - SCODE <Start>,<End>"); }

// Counts the opcodes from start to end. The walk ends when its address wraps
// past the top of memory (an end at or above the last word is never passed)
// and when Abort is clicked.
void DoFrequency() {
  if (!CommandArgs[1].LongOK || !CommandArgs[2].LongOK) {
    AppendOutput("Usage - FreQuency <start address> <end address>");
    return;
  }
  const int32_t end = CommandArgs[2].LongValue;
  DebugAddress = static_cast<uint32_t>(CommandArgs[1].LongValue);
  DebugSpace = CpuS;
  DebugPump pump;
  while (static_cast<int32_t>(DebugAddress) <= end && !pump.Poll()) {
    const uint32_t before = DebugAddress & 0xFFFFFF;
    DisassembleCurrent();
    if (DebugAddress <= before) break;
  }
  AppendOutput("Max=" + std::to_string(MaxOpcodeCount()) + " Min=" + std::to_string(MinOpcodeCount()) + "\r\n");
}

void DoFindFrequency() {
  if (!CommandArgs[1].LongOK) {
    AppendOutput("Usage - FindFreQuency <Count>");
    return;
  }
  const int32_t count = CommandArgs[1].LongValue;
  DebugPump pump;
  for (uint32_t op = 0; op <= 0xFFFF && !pump.Poll(); ++op)
    if (static_cast<int32_t>(OpText[op].Value) == count) AppendOutput(HexLong(op) + " " + OpText[op].Text + "\r\n");
}

void DoClearFrequency() {
  for (OpTextEntry& t : OpText) t.Value = 0;
}

void DoHexDisplacements() {
  FlagCommand(DisplacementsHex, "Invalid value - DIH n where n is 0 or 1", "Must be 0 for Decimal, or 1 for Hex");
}
void DoSevenBit() {
  FlagCommand(Ascii7Bit, "Invalid value - 7BIT n where n is 0 or 1", "Must be 0 for 8 bit, or 1 for 7 bit");
}
void DoUseMmu() {
  FlagCommand(UseMmuForDisasm, "Invalid value - UMMU n where n is 0 or 1", "Must be 0 for NoMMU, or 1 for Use MMU");
}

const DebugCommand kDisasmCommands[] = {
    {"L LIST", &DoList},
    {"SDC.B", &DoConstantBytes},
    {"SDC SDC.W", &DoConstantWords},
    {"SDC.L", &DoConstantLongs},
    {"SCODE", &DoCode},
    {"FQ FREQUENCY", &DoFrequency},
    {"FFQ FINDFREQUENCY", &DoFindFrequency},
    {"CFQ RFQ", &DoClearFrequency},
    {"DIH", &DoHexDisplacements},
    {"7BIT 7B", &DoSevenBit},
    {"UMMU USEMMU", &DoUseMmu},
};

}  // namespace

extern const CommandTable DisasmCommands{kDisasmCommands};

}  // namespace korva
