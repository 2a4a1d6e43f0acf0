// The memory commands: display (DM), change (SM), zero (ZM) and fill (BF) in
// bytes, words and longs, through the cell array or, after URA 0, the bus.
#include "bus/BusState.h"
#include "cpu/MainLoop.h"
#include "debugger/DebuggerCore.h"
#include "debugger/MemoryAccess.h"

namespace korva {

namespace {

const CommandArg& Arg(int k) { return CommandArgs[k]; }
uint32_t Address(int k) { return static_cast<uint32_t>(CommandArgs[k].LongValue); }

void Say(std::string_view text) {
  AppendOutput(text);
  AppendOutput("\r\n");
}

// A bus-path operation reports only its own faults: it starts with the flags
// clear, reports and clears what its accesses set, and the flags of the access
// the processor may have in progress are put back afterwards.
template <typename Op>
void OnBus(Op op) {
  KeepFaultFlags keep;
  ClearBusFaults();
  op();
  AppendOutput(BusFaultReport());
}

// One memory command: the array or the bus form of the same operation.
template <typename ArrayOp, typename BusOp>
void Either(ArrayOp arrayOp, BusOp busOp) {
  if (UseRamArray)
    arrayOp();
  else
    OnBus(busOp);
}

const DumpSink& ToOutput() {
  static const DumpSink sink = [](std::string_view text) { AppendOutput(text); };
  return sink;
}

// ---- Display ----

void DoDumpBytes() {
  if (!CheckArguments({{ArgLong}, {ArgLong, 16}})) return Say("Error - DM.B <addr32>,<len32>");
  const uint32_t a = Address(1);
  const int32_t n = Arg(2).LongValue;
  Either([&] { DumpBytesArray(a, n, ToOutput()); }, [&] { DumpBytesBus(a, n, ToOutput()); });
}

void DoDumpWords() {
  if (!CheckArguments({{ArgLong}, {ArgLong, 8}})) return Say("Error - DM.W <addr32>,<len32>");
  const uint32_t a = Address(1);
  if (a & 1) return Say("Address is Odd");
  const int32_t n = Arg(2).LongValue;
  Either([&] { DumpWordsArray(a, n, ToOutput()); }, [&] { DumpWordsBus(a, n, ToOutput()); });
}

void DoDumpLongs() {
  if (!CheckArguments({{ArgLong}, {ArgLong, 4}})) return Say("Error - DM.L <address32>,<len32>");
  const uint32_t a = Address(1);
  if (a & 1) return Say("Address is Odd");
  const int32_t n = Arg(2).LongValue;
  Either([&] { DumpLongsArray(a, n, ToOutput()); }, [&] { DumpLongsBus(a, n, ToOutput()); });
}

// ---- Change ----

void DoSetByte() {
  if (!CheckArguments({{ArgLong}, {ArgByte}})) return Say("Error- SM.B <addr32>,<data8>");
  const uint32_t a = Address(1);
  const uint8_t v = Arg(2).ByteValue;
  Either([&] { WriteByteArray(a, v); }, [&] { WriteByteBus(a, v); });
  RefreshWatchRequest = True;
}

void DoSetWord() {
  if (!CheckArguments({{ArgLong}, {ArgWord}})) return Say("Error- SM.W <addr32>,<data16>");
  const uint32_t a = Address(1);
  if (a & 1) return Say(" Address is Odd");
  const uint16_t v = static_cast<uint16_t>(Arg(2).WordValue);
  Either([&] { WriteWordArray(a, v); }, [&] { WriteWordBus(a, v); });
  RefreshWatchRequest = True;
}

void DoSetLong() {
  if (!CheckArguments({{ArgLong}, {ArgLong}})) return Say("Error- SM.L <addr32>,<data32>");
  const uint32_t a = Address(1);
  if (a & 1) return Say(" Address is Odd");
  const uint32_t v = static_cast<uint32_t>(Arg(2).LongValue);
  Either([&] { WriteLongArray(a, v); }, [&] { WriteLongBus(a, v); });
  RefreshWatchRequest = True;
}

// ---- Zero and fill ----

void DoZeroBytes() {
  if (!CheckArguments({{ArgLong}, {ArgLong, 1}})) return Say("Error - ZM.B <addr32>,<len32>");
  const uint32_t a = Address(1);
  const int32_t n = Arg(2).LongValue;
  Either([&] { FillBytesArray(a, 0, n); }, [&] { FillBytesBus(a, 0, n); });
}

void DoFillBytes() {
  if (!CheckArguments({{ArgLong}, {ArgByte}, {ArgLong, 1}})) return Say("Error - BF.B <addr32>,<byte>,<len32>");
  const uint32_t a = Address(1);
  const uint8_t v = Arg(2).ByteValue;
  const int32_t n = Arg(3).LongValue;
  Either([&] { FillBytesArray(a, v, n); }, [&] { FillBytesBus(a, v, n); });
}

void DoFillWords() {
  if (!CheckArguments({{ArgLong}, {ArgWord}, {ArgLong, 1}})) return Say("Error - BF.W <addr32>,<word>,<len32>");
  const uint32_t a = Address(1);
  if (a & 1) return Say("Address is Odd");
  const uint16_t v = static_cast<uint16_t>(Arg(2).WordValue);
  const int32_t n = Arg(3).LongValue;
  Either([&] { FillWordsArray(a, v, n); }, [&] { FillWordsBus(a, v, n); });
}

void DoFillLongs() {
  if (!CheckArguments({{ArgLong}, {ArgLong}, {ArgLong, 1}})) return Say("Error - BF.L <addr32>,<long>,<len32>");
  const uint32_t a = Address(1);
  if (a & 1) return Say("Address is Odd");
  const uint32_t v = static_cast<uint32_t>(Arg(2).LongValue);
  const int32_t n = Arg(3).LongValue;
  Either([&] { FillLongsArray(a, v, n); }, [&] { FillLongsBus(a, v, n); });
}

void DoUseRamArray() {
  FlagCommand(UseRamArray, "Invalid value - URA n where n is 0 or 1", "Must be 0 for MEMORY, or 1 for RAM ARRAY");
}

const DebugCommand kMemoryCommands[] = {
    {"DM.B MD.B", &DoDumpBytes},
    {"DM DM.W MD MD.W", &DoDumpWords},
    {"DM.L MD.L", &DoDumpLongs},
    {"SM.B", &DoSetByte},
    {"SM SM.W", &DoSetWord},
    {"SM.L", &DoSetLong},
    {"ZM.B", &DoZeroBytes},
    {"BF.B", &DoFillBytes},
    {"BF BF.W", &DoFillWords},
    {"BF.L", &DoFillLongs},
    {"URA USERAMARRAY", &DoUseRamArray},
};

}  // namespace

extern const CommandTable MemoryCommands{kMemoryCommands};

}  // namespace korva
