// The disassembler's commands as text in, text out: the golden listing of
// every operand format and mode, memory tags, opcode frequencies, options.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "bus/MMU.h"
#include "debugger/DebugPump.h"
#include "debugger/DebuggerCore.h"
#include "debugger/Disassembler.h"
#include "support/ScriptedHost.h"
#include "support/TestMachine.h"
#include "unit/debugger/DebuggerFixture.h"
#include "tables/CpuModel.h"
#include "tables/OpMap.h"

namespace korva {
namespace {

class DisasmCommands : public DebuggerCommandTest {};

// The lines run one after the other, their texts joined.
std::string Lines(std::initializer_list<const char*> lines) {
  std::string printed;
  for (const char* line : lines) printed += Execute(line);
  return printed;
}

std::string WithoutCr(std::string s) {
  std::erase(s, '\r');
  return s;
}

// Every format code and operand mode (tests/guest/disasm_listing.cpu32.s),
// displacements in decimal and then in hex.
TEST_F(DisasmCommands, GoldenListing) {
  m.UseModel(Cpu32);
  ASSERT_TRUE(m.LoadSrec("disasm_listing.cpu32.s19"));
  std::string listing = Execute("DIH 0");
  listing += Execute("LIST $1000 110") + "\r\n";
  listing += Execute("DIH 1");
  listing += Execute("LIST $1000 110");
  std::ifstream golden(std::string(KORVA_SOURCE_DIR) + "/tests/data/debugger/disasm_listing.txt");
  std::stringstream expected;
  expected << golden.rdbuf();
  listing = WithoutCr(listing);
  EXPECT_EQ(listing.substr(listing.find_first_not_of('\n')), expected.str());
}

// A JSR at the last word of memory takes its address from the first words.
TEST_F(DisasmCommands, AddressWrapsInTheMiddleOfAnInstruction) {
  m.WriteWord(0xFFFFFE, 0x4EB9);
  m.Words(0, {0x0001, 0x2345});
  EXPECT_EQ(Execute("LIST $FFFFFE 1"), "\r\n00FFFFFE : JSR      $00012345.L\r\n");
  EXPECT_EQ(DebugAddress, 4u);
  // The first address is shown as typed, the next ones in 24 bits.
  EXPECT_EQ(Execute("L $1FFFFFE 2"), "\r\n01FFFFFE : JSR      $00012345.L\r\n00000004 : ORI.B    #$00,D0\r\n");
}

TEST_F(DisasmCommands, TagsAndCounters) {
  m.Words(0x20000, {0x4E71, 0x4E75, 0xC141});
  EXPECT_EQ(Execute("L $20000 1"), "\r\n00020000 : NOP\r\n");
  EXPECT_EQ(DebugAddress, 0x20002u);
  struct Case {
    const char* tagging;
    const char* line;  // the line listed at 0x20000
    uint32_t next;
  } cases[] = {
      {"SDC.W $20000 $20001", "DC.W     $4E71         * ( Nq )", 0x20002},
      {"SDC.B $20000 $20001", "DC.B     $4E,$71       * ( Nq )", 0x20002},
      // The second word of a long is taken whatever its tag.
      {"SDC.L $20000 $20001", "DC.L     $4E714E75     * ( NqNu )", 0x20004},
  };
  Execute("SDC.B $20002 $20003");
  for (const Case& c : cases) {
    EXPECT_EQ(Execute(c.tagging), "\r\n") << c.tagging;
    EXPECT_EQ(Execute("LIST $20000 1"), std::string("\r\n00020000 : ") + c.line + "\r\n") << c.tagging;
    EXPECT_EQ(DebugAddress, c.next) << c.tagging;
  }
  EXPECT_EQ(OpText[0x4E71].Value, 1u);  // constants are not counted
  EXPECT_EQ(Execute("SDC.W $20002 $20000"), "\r\nError - SDC.W <Start>,<End>\r\n");
  EXPECT_EQ(Execute("SCODE $20000 $20001"), "\r\n");
  EXPECT_EQ(Execute("LIST $20000 1"), "\r\n00020000 : NOP\r\n");
  EXPECT_EQ(Lines({"SDC.B $20004 $20005", "7BIT 1", "L $20004 1"}),
            "\r\n\r\n\r\n00020004 : DC.B     $C1,$41       * ( AA )\r\n");

  EXPECT_EQ(Execute("FFQ 2"), "\r\n00004E71 NOP\r\n");
  EXPECT_EQ(Execute("FQ $20000 $20003"), "\r\nMax=3 Min=3\r\n");  // the NOP; the RTS is tagged as bytes
  Execute("CFQ");
  EXPECT_EQ(Execute("FQ $20000 $10000"), "\r\nMax=0 Min=200000000\r\n");
  // A walk up to the top of memory ends where the address wraps: 4 words of ORI.B #0,D0.
  EXPECT_EQ(Lines({"RFQ", "FQ $FFFFF0 $7FFFFFFF"}), "\r\n\r\nMax=4 Min=4\r\n");

  // A range of the whole memory or more tags every word once.
  Execute("SDC.W 0 $7FFFFFFF");
  EXPECT_EQ(RamArray[0].Tag, TagWords);
  EXPECT_EQ(RamArray[RamIndexMask].Tag, TagWords);
}

TEST_F(DisasmCommands, ThroughTheMmu) {
  m.WriteWord(0x1000, 0x4E75);   // RTS at the logical address
  m.WriteWord(0x20000, 0x4E71);  // NOP where the MMU maps it
  Mmu.AccessMMU(2 * 6, 1);       // supervisor program space: address space 1
  Mmu.AccessMMU(0x29, 1);        // descriptor 1: 0x001000-0x001FFF to 0x020000
  const uint8_t fields[] = {0x00, 0x10, 0xFF, 0xF0, 0x02, 0x00, 0x01, 0x01, 0xFF};
  for (uint32_t i = 0; i < sizeof fields; ++i) Mmu.AccessMMU(0x20 + i, fields[i]);
  ASSERT_EQ(Mmu.AccessMMU(0x3F), 0);
  EXPECT_EQ(Execute("L $1000 1"), "\r\n00001000 : RTS\r\n");
  EXPECT_EQ(Lines({"UMMU 1", "L $1000 1"}), "\r\n\r\n00001000 : NOP\r\n");
  EXPECT_EQ(Lines({"UMMU 0", "L $1000 1"}), "\r\n\r\n00001000 : RTS\r\n");
}

TEST_F(DisasmCommands, UsageTexts) {
  const std::pair<const char*, const char*> cases[] = {
      {"L $1000", "Usage - List <address> <Count>"},
      {"FQ 0", "Usage - FreQuency <start address> <end address>"},
      {"FFQ", "Usage - FindFreQuency <Count>"},
      {"SDC 5", "Error - SDC.W <Start>,<End>\r\n"},
      {"SCODE 6 5", "Error - SCODE <Start>,<End>\r\n"},
      {"DIH 2", "Must be 0 for Decimal, or 1 for Hex\r\n"},
      {"7B x", "Invalid value - 7BIT n where n is 0 or 1\r\n"},
      {"USEMMU -1", "Must be 0 for NoMMU, or 1 for Use MMU\r\n"},
  };
  for (const auto& [line, text] : cases) EXPECT_EQ(Execute(line), std::string("\r\n") + text) << line;
}

// Operands no builder writes: impossible modes and sizes, empty format codes.
TEST_F(DisasmCommands, OddOperandsAndFormats) {
  DisasmAddress = 0x3000;
  EXPECT_EQ(EffectiveAddressText(12, 0, SizeWord), "InvalidEA");
  EXPECT_EQ(EffectiveAddressText(19, 0, SizeWord), "InvalidEA");
  EXPECT_EQ(EffectiveAddressText(EaImmediate, 4, 3), "");
  EXPECT_EQ(DisasmAddress, 0x3000u);  // nothing fetched
  for (uint16_t code : {1, 6, 7, 8, 9, 32}) {
    OpText[0x4E71].FormatCode = code;
    m.Words(0x3000, {0x4E71, 0x4E71});
    EXPECT_EQ(Disassemble(0x3000, True), "") << code;
    EXPECT_EQ(DebugAddress, 0x3002u) << code;
  }
}

// The long loops pump events every 2 ms (here one per 256 elements) and stop on Abort.
TEST_F(DisasmCommands, AbortEndsTheWalks) {
  ScriptedHost host;
  static int64_t clock = 0;
  clock = 0;
  DebugPumpClock = [] { return clock += DebugPump::IntervalMs; };
  host.OnPumpEvents = [&host] {
    if (host.PumpCount == 3) DebugAbort = True;
  };
  // ORI.B #0,D0 everywhere: the third pump comes before the 768th instruction.
  EXPECT_EQ(Execute("FQ 0 $FFFFFE"), "\r\nMax=767 Min=767\r\n");
  EXPECT_EQ(host.PumpCount, 3);
}

}  // namespace
}  // namespace korva
