// Commands of the breakpoints and of the trace table of instruction addresses.
#include <algorithm>

#include "cpu/FetchDecode.h"
#include "debugger/DebuggerCore.h"
#include "tables/Queues.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

// The breakpoint number: the digit that ends the command word ("SBR2", "DBR0").
int BreakPointNumber() { return (CommandWord.back() - '0') & 3; }

void DoSetBreakPoint() {
  const CommandArg& a = CommandArgs[1];
  if (!a.LongOK) {
    AppendOutput("Error - SBRn <op32> where n = 0-3\r\n");
    return;
  }
  BreakPoint& b = BreakPoints[BreakPointNumber()];
  b.Address = static_cast<uint32_t>(a.LongValue);
  b.Enabled = True;
  b.Skip = False;
  EnableBreakPoints();
}

void DoDeleteBreakPoint() {
  BreakPoint& b = BreakPoints[BreakPointNumber()];
  b.Enabled = False;
  b.Skip = False;
  EnableBreakPoints();
}

void DoListBreakPoints() {
  for (int i = 0; i < 4; ++i)
    if (BreakPoints[i].Enabled) AppendOutput(" BR" + std::to_string(i) + " at " + HexLong(BreakPoints[i].Address) + "\r\n");
}

void DoTraceTableSwitch() {
  FlagCommand(TraceTableEnabled, "Invalid value - ITR n where n is 0 to Disable Trace or 1 to Enable",
              "Must be 0 to Disable Trace Table, or 1 to Enable");
}

// The newest address first, eight to a line.
void DoDisplayTraceTable() {
  const CommandArg& a = CommandArgs[1];
  if (!a.WordOK || a.WordValue < 0) return;
  const int32_t k = std::min<int32_t>(TraceTable.Count(), a.WordValue);
  std::string text;
  for (int32_t i = 1; i <= k; ++i) {
    text += HexLong(static_cast<uint32_t>(TraceTable.ReadData(i - 1)));
    text += i % 8 == 0 ? "\r\n" : " : ";
  }
  AppendOutput(text);
}

}  // namespace

const DebugCommand kBreakCommands[] = {
    {"SBR0 SBR1 SBR2 SBR3", &DoSetBreakPoint},
    {"DBR0 DBR1 DBR2 DBR3", &DoDeleteBreakPoint},
    {"BR", &DoListBreakPoints},
    {"ITRACE ITR", &DoTraceTableSwitch},
    {"DTT DISPLAYTRACETABLE", &DoDisplayTraceTable},
};
extern const CommandTable BreakCommands{kBreakCommands};

}  // namespace korva
