#include "debugger/ScmDisplays.h"

#include <span>

#include "board/SCM.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

constexpr char CrLf[] = "\r\n";

// A bit field: its label and its highest and lowest bit.
struct BitField {
  const char* Label;
  uint8_t High, Low;
};

constexpr BitField Cr0Fields[] = {{" :CDIS 3-1 = ", 7, 5}, {" :CURBK = ", 4, 4},    {" :DUTYCYCLE = ", 3, 3},
                                  {" :IVS = ", 2, 2},      {" :TIMIMSK* = ", 1, 1}, {" :DMAIMSK* = ", 0, 0}};
constexpr BitField Cr1Fields[] = {{" :IG = ", 7, 7},
                                  {" :S1-0 = ", 6, 5},
                                  {" :HighRes = ", 4, 4},
                                  {" :GRE3-1 = ", 3, 1},
                                  {" :Unswap* = ", 0, 0}};
constexpr BitField Cr2Fields[] = {{" :RXrdyMSK* = ", 7, 7}, {" :SYSFMSK*= ", 6, 6},   {" :WPTCT* = ", 5, 5},
                                  {" :KBDRST* = ", 4, 4},   {" :VMEAVMSK* = ", 3, 3}, {" :BCLRMSK* = ", 2, 2},
                                  {" :TXrdyMSK* = ", 1, 1}, {" :MMUIMSK* = ", 0, 0}};
constexpr BitField Cr3Fields[] = {{" :IRQ7MSK* = ", 7, 7}, {" :IRQ6MSK* = ", 6, 6}, {" :IRQ5MSK* = ", 5, 5},
                                  {" :IRQ4MSK* = ", 4, 4}, {" :IRQ3MSK* = ", 3, 3}, {" :IRQ2MSK* = ", 2, 2},
                                  {" :IRQ1MSK* = ", 1, 1}, {" :VBIAMSK* = ", 0, 0}};
constexpr BitField Cr5Fields[] = {{" :BRDFAIL* = ", 7, 7}, {" :AMA = ", 6, 6},       {" :VMETOEN = ", 5, 5},
                                  {" :LTOEN = ", 4, 4},    {" :BRC1-0* = ", 3, 2}, {" :BRL1-0* = ", 1, 0}};
constexpr BitField Cr6Fields[] = {{" :IMASK* = ", 7, 7},   {" :INT4MSK* = ", 6, 6}, {" :INT3MSK* = ", 5, 5},
                                  {" :INT2MSK* = ", 4, 4}, {" :INT1MSK* = ", 3, 3}, {" :IL2-0* = ", 2, 0}};
constexpr BitField SrFields[] = {{" :Switch2-0 = ", 7, 5}, {" :KEYBDLOCK* = ", 4, 4}, {" :IOCEN = ", 3, 3},
                                 {" :SYSFAIL = ", 2, 2},   {" :VBIACK* = ", 1, 1},    {" :VMEAV* = ", 0, 0}};

void AppendRegister(std::string& out, const char* label, uint8_t value, std::span<const BitField> fields) {
  out += label + HexByte(value) + CrLf;
  if (fields.empty()) return;
  for (const BitField& f : fields) {
    const uint32_t width = f.High - f.Low + 1u;
    out += f.Label + HexLongTrim((value >> f.Low) & ((1u << width) - 1));
  }
  out += CrLf;
}

std::string GeneratorDump(const uint8_t (&memory)[2048]) {
  std::string out;
  out.reserve(128 * 56);
  for (uint32_t i = 0; i < 2048; ++i) {
    if (i % 16 == 0) out += CrLf + HexWord(static_cast<uint16_t>(i)) + ":";
    out += " " + HexByte(memory[i]);
  }
  return out;
}

constexpr const char* AddressLines[] = {
    " SCM ",
    "  Char Gen Ram = $f14000-f14fff (odd only)",
    "  Attr Gen Ram = $f15000-f15fff (odd only)",
    "  Display  Ram = $f17000-f18fff (Attr/Character)",
    "  Vt Graph Cur = $f19000-f19001 (Word)",
    "  Ht Graph Cur = $f19002-f19003 (Word)",
    "  CR0 = $f19005 (CDIS3 CDIS2 CDIS1 CURBK DUTYCYCLE IVS TIMIMSK* DMAIMSK*)",
    "  CR1 = $f19007 (IG S1 S0 HIRES GRE3(G) GRE2(B) GRE1(R) UNSWAP)",
    "  CR2 = $f19009 (RXRDYMSK* SYSFMSK* WPTCT* KBDRST* VMEAVMSK* BCLRMSK* TXRDYMSK* MMUIMSK*)",
    "  CR3 = $f1900B (IRQ7MSK* IRQ6MSK* IRQ5MSK* IRQ4MSK* IRQ3MSK* IRQ2MSK* IRQ1MSK* VBIAMSK*)",
    "  CR4 = $f1900D (IDC7 IDC6 IDC5 IDC4 IDC3 IDC2 IDC1 IDC0)",
    "  CR5 = $f1900F (BRDFAIL* AMA VMETOEN LTOEN BRC1* BRC0* BRL1* BRL0*)",
    "  CR6 = $f19011 (IMASK* INT4MSK* INT3MSK* INT2MSK* INT1MSK* IL2 IL1 IL0)",
    "  GOFF= $f19013 (00/$32)",
    "  SR  = $f19085 (SWITCH2 SWITCH1 SWITCH0 KBDLOCK* IOCHEN SYSFAIL VNIACK* VMEAV*)",
    " MC6845 ",
    "  ADDRESS  = $f1A021",
    "  REGISTER = $f1A023",
    " MC2661 ",
    "  TX/RX DATA = $f1A031",
    "  STATUS     = $f1A033",
    "  MODE 1/2   = $f1A035",
    "  COMMAND    = $f1A037",
    " MC146818 ",
    "  SECONDS     = $f1A081",
    "  SECONDS ALM = $f1A083",
    "  MINUTES     = $f1A085",
    "  MINUTES ALM = $f1A087",
    "  HOURS       = $f1A089",
    "  HOURS   ALM = $f1A08B",
    "  DAY OF WEEK = $f1A08D",
    "  DAY OF MONTH= $f1A08F",
    "  MONTH       = $f1A091",
    "  YEAR        = $f1A093",
    "  REGISTER A  = $f1A095",
    "  REGISTER B  = $f1A097",
    "  REGISTER C  = $f1A099",
    "  REGISTER D  = $f1A09B",
    " MC146818 BATTERY BACKED CMOS",
    "   RAM= $f1A09C-f1A0FF (odd only)",
    " MMU",
    "   MMU0 = $f1A800-f1A8FF (WORD/BYTE)",
    "   MMU1 = $f1AA00-f1ABFF (NOT IMPLEMENTED)",
    "   MMU2 = $f1AC00-f1ADFF (NOT IMPLEMENTED)",
    "   MMU3 = $f1AE00-f1AFFF (NOT IMPLEMENTED)",
    " I/O CHANNEL  $F1C000-$F1DFFF",
    "   RWIN       = $f1C0D0-f1C0DF (ODD ONLY +68)",
    "   MVME400-C0 = $f1C1C0-f1C1DF (ODD ONLY +E0)",
    "   MVME400-C1 = $f1C1A0-f1C1BF (ODD ONLY +D0)",
    "   MVME410    = $f1C1E0-f1C1FF (ODD ONLY +F0)",
};
static_assert(std::size(AddressLines) == 50);

}  // namespace

std::string DisplaySCM() {
  std::string out;
  AppendRegister(out, "CR0 = ", ScmCR0, Cr0Fields);
  AppendRegister(out, "CR1 = ", ScmCR1, Cr1Fields);
  AppendRegister(out, "CR2 = ", ScmCR2, Cr2Fields);
  AppendRegister(out, "CR3 = ", ScmCR3, Cr3Fields);
  AppendRegister(out, "CR4 = ", ScmCR4, {});
  AppendRegister(out, "CR5 = ", ScmCR5, Cr5Fields);
  AppendRegister(out, "CR6 = ", ScmCR6, Cr6Fields);
  Scm.SR();  // rebuilds ScmSR from the status sources
  AppendRegister(out, "SR = ", ScmSR, SrFields);
  AppendRegister(out, "Graphic Offset = ", ScmGoffset, {});
  out += "VGC = " + HexWord(ScmVGCursor) + CrLf;
  out += "HGC = " + HexWord(ScmHGCursor) + CrLf;
  return out;
}

std::string DisplayCharGenRam() { return GeneratorDump(ScmCharGenRam); }
std::string DisplayCharAttrRam() { return GeneratorDump(ScmAttrGenRam); }

std::string DisplayCharDispRam(int16_t page) {
  const uint32_t first = page == 1 ? 2048 : 0;
  std::string out;
  std::string chars;
  for (uint32_t i = first; i < first + 2048; ++i) {
    if (i % 8 == 0) out += CrLf + HexWord(static_cast<uint16_t>(i)) + ":";
    const uint16_t cell = ScmDisplayRam[i];
    out += " " + HexByte(cell >> 8) + "-" + HexByte(cell);
    chars += ByteDisplayText(cell & 0xFF, True, True);
    if (i % 8 == 7) {
      out += " " + chars;
      chars.clear();
    }
  }
  return out;
}

std::string DisplayAddresses() {
  std::string out;
  for (const char* line : AddressLines) {
    out += line;
    out += CrLf;
  }
  return out;
}

}  // namespace korva
