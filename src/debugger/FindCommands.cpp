// Commands of the memory search: DFC defines and shows the find criteria,
// F / FIND (with .B, .W, .L) search memory or go on from the last hit.
#include <string>

#include "debugger/DebuggerCore.h"
#include "debugger/PatternSearch.h"
#include "tables/Helpers.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

constexpr char CrLf[] = "\r\n";
constexpr char DfcUsage[] = "usage DefineFindCriteria[ FCnum][ AmbiguousSpec[ AmbiguousSpec]...]";

bool IsCriteriaNumber(const CommandArg& a) { return a.ByteOK && a.ByteValue < FindCriteriaCount; }

void ShowCriterion(int fc) {
  const FindCriterion& c = FindCriteria[fc];
  std::string t = "FC#=" + HexLongTrim(static_cast<uint32_t>(fc)) + " Size=" + HexLongTrim(c.Count);
  for (const std::string& term : c.Terms) t += " " + term;
  t += CrLf;
  for (uint32_t i = 0; i < c.Count; ++i) t += " " + HexByte(c.Values[i]);
  if (c.Count > 0) t += CrLf;
  for (uint32_t i = 0; i < c.Count; ++i) t += " " + HexByte(c.Masks[i]);
  if (c.Count > 0) t += CrLf;
  AppendOutput(t);
}

void DoDefineFindCriteria() {
  const CommandArg& fcArg = CommandArgs[1];
  if (ArgCount == 0) {
    for (int fc = 0; fc < FindCriteriaCount; ++fc) ShowCriterion(fc);
    return;
  }
  if (ArgCount == 1) {
    if (IsCriteriaNumber(fcArg)) {
      ShowCriterion(fcArg.ByteValue);
    } else {
      AppendOutput(" ");
      AppendOutput(DfcUsage);
      AppendOutput(" - Bad FCnum");
    }
    return;
  }
  if (!IsCriteriaNumber(fcArg)) {
    AppendOutput(DfcUsage);
    AppendOutput(" - Bad FCnum");
    if (ArgCount >= 20) AppendOutput("- (MAX specs=18)");
    return;
  }
  const int fc = fcArg.ByteValue;
  FindCriterion c;
  // Every term typed, in order (an empty argument between two commas is no term).
  for (int k = 2; k < CommandArgSlots; ++k) {
    const std::string& term = CommandArgs[k].Text;
    if (term.empty()) continue;
    const int16_t kind = ValidateSearchTerm(term);
    c.Terms[static_cast<size_t>(k)] = kind == TermInvalid ? term + "(Err)" : term;
    AppendTermBytes(c, term, kind);
  }
  FindCriteria[fc] = c;
  ShowCriterion(fc);
}

void PrintResult(int32_t found, int32_t from, int32_t end) {
  if (found == -1)
    AppendOutput(std::string(CrLf) + "Not Found $" + HexLong(static_cast<uint32_t>(from)) + "-$" +
                 HexLong(static_cast<uint32_t>(end)) + CrLf);
  else
    AppendOutput(std::string(CrLf) + "Found at $" + HexLong(static_cast<uint32_t>(found)) + CrLf);
}

// size: 1, 2 or 4 for the sized spellings, 0 for F and FIND (the last find's size).
void Find(int16_t size) {
  if (size == 0) size = LastFindAddress != -1 ? LastFindSize : 2;
  if (ArgCount == 0) {
    if (LastFindAddress == -1) {
      AppendOutput(std::string(CrLf) + "No Previous Find" + CrLf);
      return;
    }
    const int32_t found =
        SearchMemory(AddLongWrap(LastFindAddress, size), LastFindEnd, size, FindCriteria[LastFindCriteria]);
    if (found == -1) {
      PrintResult(found, AddLongWrap(LastFindAddress, 1), LastFindEnd);
    } else {
      AppendOutput("Found at $" + HexLong(static_cast<uint32_t>(found)) + CrLf);
    }
    LastFindAddress = found;
    return;
  }
  const CommandArg &a = CommandArgs[1], &b = CommandArgs[2], &c = CommandArgs[3];
  if (!a.LongOK || !b.LongOK || !IsCriteriaNumber(c) || ArgCount > 3) {
    std::string t = " usage Find[ <startaddr> <endaddr>[ <criteria>]";
    if (!a.LongOK) t += " - Bad Start Address";
    if (!b.LongOK) t += " - Bad End Address";
    if (!IsCriteriaNumber(c)) t += " - Bad Criteria Number";
    AppendOutput(t + CrLf);
    return;
  }
  const int32_t found = SearchMemory(a.LongValue, b.LongValue, size, FindCriteria[c.ByteValue]);
  PrintResult(found, a.LongValue, b.LongValue);
  LastFindAddress = found;
  LastFindStart = a.LongValue;
  LastFindEnd = b.LongValue;
  LastFindCriteria = c.ByteValue;
  LastFindSize = size;
}

void DoFind() { Find(0); }
void DoFindBytes() { Find(1); }
void DoFindWords() { Find(2); }
void DoFindLongs() { Find(4); }

const DebugCommand kFindCommands[] = {
    {"DFC", &DoDefineFindCriteria},
    {"F FIND", &DoFind},
    {"F.B FIND.B", &DoFindBytes},
    {"F.W FIND.W", &DoFindWords},
    {"F.L FIND.L", &DoFindLongs},
};

}  // namespace

extern const CommandTable FindCommands{kFindCommands};

}  // namespace korva
