#include "debugger/VdosDisplays.h"

#include <span>

#include "bus/Memory.h"
#include "debugger/MemoryAccess.h"
#include "debugger/DebuggerCore.h"
#include "tables/TextFormat.h"

namespace korva {

int32_t SysparAddress = -1;

namespace {

constexpr char CrLf[] = "\r\n";

// How a field is read and shown.
enum class Shape {
  Byte,       // HexByte
  Word,       // HexWord
  Long,       // HexLong
  LongChars,  // HexLong, " - ", its four bytes as characters
  TwoLongs,   // two HexLong, " - ", two groups of four characters
  ThreeWords, // three HexWord separated by blanks
  Semaphore,  // a heading line, then three HexWord each followed by a blank
  Status,     // HexWord, then a line of the channel status texts
};

struct Field {
  uint32_t Offset;
  Shape Form;
  const char* Label;
  const char* Heading = nullptr;  // Semaphore only
};

uint8_t ByteAt(uint32_t address) { return ReadArrayByte(address); }
uint16_t WordAt(uint32_t address) { return ReadArrayWord(address); }
uint32_t LongAt(uint32_t address) { return ReadArrayLong(address); }

std::string Chars(uint32_t value) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) s += ByteDisplayText(static_cast<int32_t>((value >> shift) & 0xFF), True, True);
  return s;
}

std::string ChannelStatusTexts(uint16_t status) {
  std::string s = (status & 0x8000) ? " ATTACHED " : " Not ATTACHED ";
  s += (status & 0x0002) ? " CHANNEL IS OFF-LINE " : " CHANNEL IS ON-LINE ";
  if (status & 0x0100) s += " EXCLUSIVE VECTORING ";
  if (status & 0x0004) s += " SUPERVISOR CHANNEL ";
  if (status & 0x0001) s += " ONLY SYSTEM TASKS ";
  return s;
}

// One field's lines; offsets are added to base with 32-bit wrap.
void AppendField(std::string& out, uint32_t base, const Field& f) {
  const uint32_t a = base + f.Offset;
  if (f.Form == Shape::Semaphore) {
    out += f.Heading;
    out += CrLf;
  }
  out += f.Label;
  switch (f.Form) {
    case Shape::Byte: out += HexByte(ByteAt(a)); break;
    case Shape::Word: out += HexWord(WordAt(a)); break;
    case Shape::Long: out += HexLong(LongAt(a)); break;
    case Shape::LongChars: {
      const uint32_t v = LongAt(a);
      out += HexLong(v) + " - " + Chars(v);
      break;
    }
    case Shape::TwoLongs: {
      const uint32_t v1 = LongAt(a), v2 = LongAt(a + 4);
      out += HexLong(v1) + " " + HexLong(v2) + " - " + Chars(v1) + " " + Chars(v2);
      break;
    }
    case Shape::ThreeWords:
      out += HexWord(WordAt(a)) + " " + HexWord(WordAt(a + 2)) + " " + HexWord(WordAt(a + 4));
      break;
    case Shape::Semaphore:
      for (uint32_t k = 0; k < 3; ++k) out += HexWord(WordAt(a + 2 * k)) + " ";
      break;
    case Shape::Status: {
      const uint16_t status = WordAt(a);
      out += HexWord(status);
      out += CrLf;
      out += ChannelStatusTexts(status);
      break;
    }
  }
  out += CrLf;
}

void AppendFields(std::string& out, uint32_t base, std::span<const Field> fields) {
  for (const Field& f : fields) AppendField(out, base, f);
}

// ---- SYSPAR ----

constexpr Field SysparHead[] = {
    {0, Shape::Long, " MAPBEG        = "},   {4, Shape::Word, " PERTURB_FLAG  = "},
    {6, Shape::Word, " reserved      = "},   {8, Shape::Long, " EXCSTACK      = "},
    {12, Shape::Long, " RUNNER        = "},  {16, Shape::Long, " TCBHD         = "},
    {20, Shape::Long, " READYHD       = "},  {24, Shape::Long, " CCBHD         = "},
    {28, Shape::Long, " MMUHERE       = "},  {32, Shape::Long, " GSTBEG        = "},
    {36, Shape::Long, " USTBEG        = "},  {40, Shape::Long, " UDRBEG        = "},
    {44, Shape::Long, " PATBEG        = "},  {48, Shape::Long, " TRACEBEG      = "},
    {52, Shape::Word, " TRACFLAG      = "},  {54, Shape::Long, " MACSTRC       = "},
    {58, Shape::Long, " PANEL         = "},
};

constexpr Field SysparTime43[] = {
    {62, Shape::Long, " DATE      = "},   {66, Shape::Long, " TIMEOD    = "},
    {70, Shape::Long, " TIMBASE  = "},    {74, Shape::Long, " DATBASE   = "},
    {78, Shape::Long, " PTMADDR   = "},   {82, Shape::Word, " TIMEOUT   = "},
    {84, Shape::Word, " TIMESLIC  = "},   {86, Shape::Word, " TIMINTV   = "},
    {88, Shape::Word, " TIMINTV4  = "},
};

constexpr Field SysparTime44[] = {
    {62, Shape::Long, " DATE      = "},   {66, Shape::Long, " PTMADDR   = "},
    {70, Shape::Word, " TIMEOUT   = "},   {72, Shape::Word, " TIMESLIC  = "},
    {74, Shape::Long, " NSE       = "},   {78, Shape::Long, " TIME_LEFT = "},
    {82, Shape::Long, " MIDNIGHT  = "},   {86, Shape::Word, " TIMINTV   = "},
    {88, Shape::Word, " TIMINTV4  = "},   {90, Shape::Word, " TIMINTR   = "},
};

// Offsets from T, the end of the version's time block.
constexpr Field SysparFlags[] = {
    {0, Shape::Byte, " TINTFLAG  = "},
    {1, Shape::Byte, " TMSGFLAG  = "},
};
constexpr Field SysparTail[] = {
    {2, Shape::Word, " SPURCNT   = "},   {4, Shape::Long, " SPURTIME  = "},
    {8, Shape::Long, " MMULOAD   = "},   {12, Shape::Long, " VCTUBGN   = "},
    {16, Shape::Long, " IOVCTBGN  = "},  {20, Shape::Byte, " ADEFTYP   = "},
    {21, Shape::Byte, " TDEFTYP   = "},  {22, Shape::Word, " SDEFTYP   = "},
    {24, Shape::Word, " UDEFTYP   = "},  {26, Shape::Long, " SLFTSTA7  = "},
    {30, Shape::Semaphore, " SEMTCB   = ", "Semaphore for ALL TCB LIST"},
    {36, Shape::Semaphore, " SEMGST   = ", "Semaphore for GLOBAL SEGMENT TABLE"},
    {42, Shape::Semaphore, " SEMUST   = ", "Semaphore for USER SEMAPHORE TABLE"},
    {48, Shape::Semaphore, " SEMCCB   = ", "Semaphore for CCB SEMAPHORE"},
    {54, Shape::Semaphore, " SEMTIOT  = ", "Semaphore for TRAP INSTR ALLOCATION TABLE"},
};

// ---- CCB ----

constexpr Field CcbFields[] = {
    {0, Shape::LongChars, " CCB Tag = "},  {4, Shape::Long, " CCBALL  = "},
    {8, Shape::Long, " CCBPOLL = "},       {12, Shape::Long, " CCBTLNK = "},
    {16, Shape::Long, " CCBSUB  = "},      {20, Shape::LongChars, " CCBMNEM = "},
    {24, Shape::Byte, " CCBTYPE = "},      {25, Shape::Byte, " CCBCMCT = "},
    {26, Shape::Long, " CCBUSER = "},      {30, Shape::Long, " CCBRTNI = "},
    {34, Shape::Long, " CCBCHB  = "},      {38, Shape::Word, " CCBMME  = "},
    {40, Shape::Byte, " CCBVECT = "},      {41, Shape::Byte, " CCBPPRIO= "},
    {42, Shape::Byte, " CCBSPRIO= "},      {43, Shape::Byte, " CCBPECT = "},
    {44, Shape::TwoLongs, " CCBRQST = "},  {52, Shape::Long, " CCBRQSTA= "},
    {56, Shape::Byte, " CCBKEY  = "},      {57, Shape::Byte, " CCBRTN  = "},
    {58, Shape::Byte, " CCBASQL = "},      {59, Shape::Byte, " reserved= "},
    {60, Shape::Long, " CCBSVVC = "},      {64, Shape::Word, " CCBSR   = "},
    {66, Shape::Word, " CCBISR  = "},      {68, Shape::Long, " CCBVADR = "},
    {72, Shape::Status, " CCBSTR  = "},    {74, Shape::ThreeWords, " CCBJSR  = "},
    {80, Shape::Long, " CCBTASKA= "},      {84, Shape::TwoLongs, " CCBTASK = "},
    {92, Shape::Long, " CCBRESV1= "},      {96, Shape::Long, " CCBRESV2= "},
    {100, Shape::Long, " CCBRESV3= "},     {104, Shape::Long, " CCBRESV4= "},
    {108, Shape::Long, " CCBRESV5= "},
};

// One poll entry of 8 bytes; labels get the entry's number before "= ".
struct PollField {
  uint32_t Offset;
  Shape Form;
  const char* Name;
};
constexpr PollField CcbPollEntry[] = {
    {0, Shape::Word, " CCBPOFF"}, {2, Shape::Byte, " CCBMASK"}, {3, Shape::Byte, " CCBPTST"},
    {4, Shape::Word, " CCBRESO"}, {6, Shape::Byte, " CCBRESV"}, {7, Shape::Byte, " CCBRESP"},
};
constexpr uint32_t CcbPollBase = 112;

// ---- Crash save ----

// Word k of the block at address; the index wraps at 16 MB.
uint16_t CrashWord(uint32_t address, uint32_t k) { return RamArray[((address >> 1) + k) & RamIndexMask].Data; }
std::string CrashWords(uint32_t address, uint32_t first, uint32_t count) {
  std::string s;
  for (uint32_t k = 0; k < count; ++k) s += HexWord(CrashWord(address, first + k));
  return s;
}

// Eight longs from word `first` on as " <letter>n=value", four to a line.
void AppendRegisterLines(std::string& out, uint32_t address, uint32_t first, char letter) {
  for (uint32_t n = 0; n < 8; ++n) {
    out += ' ';
    out += letter;
    out += static_cast<char>('0' + n);
    out += '=';
    out += CrashWords(address, first + 2 * n, 2);
    if (n % 4 == 3) out += CrLf;
  }
}

std::string CrashHeader(uint32_t address) { return "Crashsave at " + HexLong(address) + CrLf + CrLf; }

// A line of the format-coded layout: the label and words first .. first+count-1.
struct CrashLine {
  const char* Label;
  uint8_t First;
  uint8_t Count;
};
struct CrashFormat {
  const char* Title;
  CrashLine Lines[6];
};
constexpr CrashFormat CrashFormats[] = {
    {"Format 0000 System did not Crash, it is Hung", {}},
    {"Format 0001 Executive Crashed Sytem",
     {{" Module/Error code = ", 1, 1}, {" Status Register = ", 3, 1}, {" PC=", 4, 2}}},
    {"Format 0002 System Task Aborted",
     {{" Module/Error code = ", 1, 1},
      {" Task Name =", 2, 2},
      {" PC=", 4, 2},
      {" Task Session =", 6, 2},
      {" Task Defined =", 8, 2}}},
    {"Format 0003 Exception Vectored to KILLER",
     {{" Status Register = ", 2, 1}, {" PC=", 4, 2}, {" Vector = ", 6, 1}}},
    {"Format 0004 Exception in Supervisor mode",
     {{" Status Register = ", 3, 1}, {" PC=", 4, 2}, {" Vector = ", 6, 1}}},
    {"Format 0005 Bus Error or Address Error in Supervisor mode",
     {{" Special Status Word = ", 1, 1},
      {" Instruction Register = ", 2, 1},
      {" Status Register = ", 3, 1},
      {" PC=", 4, 2},
      {" Access Address=", 6, 2},
      {" AE/BE = ", 8, 1}}},
    {"Format 0006 Driver Called DRVKILL",
     {{" Driver/Error code = ", 1, 1},
      {" Status Register = ", 3, 1},
      {" PC=", 4, 2},
      {" CCB Address=", 6, 2},
      {" DCB Address=", 8, 2}}},
};

}  // namespace

void FindVdosSYSPAR() {
  SysparAddress = -1;
  for (uint32_t candidate = 0x500; candidate <= 0x2400; candidate += 0x100) {
    if (LongAt(candidate + 8) == candidate) {
      SysparAddress = static_cast<int32_t>(candidate);
      return;
    }
  }
}

std::string DisplaySYSPAR(uint32_t address) {
  std::string out;
  AppendFields(out, address, SysparHead);
  uint32_t t = 60;  // no version block: SPURCNT at 62
  if (VersionNumber == 43) {
    AppendFields(out, address, SysparTime43);
    t = 90;
  } else if (VersionNumber == 44 || VersionNumber == 45) {
    AppendFields(out, address, SysparTime44);
    t = 92;
  }
  if (t != 60) AppendFields(out, address + t, SysparFlags);
  AppendFields(out, address + t, SysparTail);
  return out;
}

std::string DisplayCCB(uint32_t address) {
  std::string out;
  AppendFields(out, address, CcbFields);
  for (uint32_t n = 0; n < 4; ++n) {
    for (const PollField& p : CcbPollEntry) {
      const std::string label = std::string(p.Name) + static_cast<char>('0' + n) + "= ";
      AppendField(out, address + CcbPollBase + 8 * n, Field{p.Offset, p.Form, label.c_str()});
    }
  }
  return out;
}

std::string DisplayCrashSave(uint32_t address) {
  if (VersionNumber == 43 || VersionNumber == 44) return DisplayCrashSave3(address);
  if (VersionNumber == 45) return DisplayCrashSave5(address);
  return {};
}

std::string DisplayCrashSave3(uint32_t address) {
  std::string out = CrashHeader(address);
  out += " PC=" + CrashWords(address, 0, 2) + " SR=" + CrashWords(address, 3, 1) + CrLf + CrLf;
  AppendRegisterLines(out, address, 4, 'D');
  AppendRegisterLines(out, address, 20, 'A');
  out += CrLf;
  out += " USP = " + CrashWords(address, 36, 2) + CrLf;
  out += " Bus Error Vector = " + CrashWords(address, 38, 2) + CrLf;
  out += CrLf;
  return out;
}

std::string DisplayCrashSave5(uint32_t address) {
  std::string out = CrashHeader(address);
  const uint16_t format = CrashWord(address, 0);
  if (format >= std::size(CrashFormats)) {
    out += " Format(" + HexWord(format) + ") is not Valid" + CrLf;
    return out;
  }
  const CrashFormat& f = CrashFormats[format];
  out += f.Title;
  out += CrLf;
  for (const CrashLine& line : f.Lines) {
    if (line.Label == nullptr) break;
    out += line.Label + CrashWords(address, line.First, line.Count) + CrLf;
  }
  out += CrLf;
  if (format != 0) {
    AppendRegisterLines(out, address, 10, 'D');
    AppendRegisterLines(out, address, 26, 'A');
  }
  return out;
}

}  // namespace korva
