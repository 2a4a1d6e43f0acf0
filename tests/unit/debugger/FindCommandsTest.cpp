// The memory search: search terms, the DFC and FIND commands as text in and
// text out, searches over guest data, and what a search leaves untouched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bus/BusState.h"
#include "bus/Memory.h"
#include "bus/Plugging.h"
#include "debugger/DebuggerCore.h"
#include "debugger/PatternSearch.h"
#include "serial/Cable.h"
#include "support/TestMachine.h"
#include "unit/debugger/DebuggerFixture.h"

namespace korva {
namespace {

class FindCommands : public DebuggerCommandTest {};

TEST_F(FindCommands, SearchTerms) {
  struct Case {
    std::string term;
    int16_t kind;
    std::vector<uint8_t> values, masks;
  } cases[] = {
      {"ah", TermHex, {0x0A}, {0xFF}},
      {"ab", TermInvalid, {}, {}},
      {"0x4?", TermHex, {0x40}, {0xF0}},
      {"1?0b", TermBinary, {0x04}, {0xFD}},
      {"?h", TermHex, {0x00}, {0xF0}},
      {"0x??", TermHex, {0x00}, {0x00}},
      {"?", TermChars, {0x00}, {0x00}},
      {"0b1???????", TermBinary, {0x80}, {0x80}},
      {"0B1???????1", TermInvalid, {}, {}},
      {"41h", TermHex, {0x41}, {0xFF}},
      {"0X41", TermHex, {0x41}, {0xFF}},
      {"A", TermChars, {0x41}, {0xFF}},
      {"Te?t", TermChars, {0x54, 0x65, 0x00, 0x74}, {0xFF, 0xFF, 0x00, 0xFF}},
      {"0x", TermHex, {0x00}, {0x00}},
      {"b", TermBinary, {0x00}, {0xFF}},
      {"123h", TermInvalid, {}, {}},
  };
  for (const Case& c : cases) {
    FindCriterion f;
    EXPECT_EQ(ValidateSearchTerm(c.term), c.kind) << c.term;
    AppendTermBytes(f, c.term, ValidateSearchTerm(c.term));
    EXPECT_EQ(std::vector<uint8_t>(f.Values.begin(), f.Values.begin() + f.Count), c.values) << c.term;
    EXPECT_EQ(std::vector<uint8_t>(f.Masks.begin(), f.Masks.begin() + f.Count), c.masks) << c.term;
  }
  FindCriterion f;
  AppendTermBytes(f, std::string(300, 'x'), TermChars);
  EXPECT_EQ(f.Count, 255u);
}

TEST_F(FindCommands, CommandTexts) {
  const std::string nineteen = " 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19";
  const std::pair<std::string, std::string> cases[] = {
      {"F", "\r\nNo Previous Find\r\n"},
      {"DFC 2 0x4? ab", "FC#=2 Size=1   0x4? ab(Err)" + std::string(17, ' ') + "\r\n 40\r\n F0\r\n"},
      {"DFC 2", "FC#=2 Size=1   0x4? ab(Err)" + std::string(17, ' ') + "\r\n 40\r\n F0\r\n"},
      {"DFC 3" + nineteen, "FC#=3 Size=1D  " + nineteen + "\r\n"},
      {"DFC 16" + nineteen,
       "usage DefineFindCriteria[ FCnum][ AmbiguousSpec[ AmbiguousSpec]...] - Bad FCnum- (MAX specs=18)"},
      // Every term counts, also one after an empty argument.
      {"DFC 5 41h,,42h", "FC#=5 Size=2   41h  42h" + std::string(16, ' ') + "\r\n 41 42\r\n FF FF\r\n"},
      {"DFC 16", " usage DefineFindCriteria[ FCnum][ AmbiguousSpec[ AmbiguousSpec]...] - Bad FCnum"},
      {"DFC x 41h", "usage DefineFindCriteria[ FCnum][ AmbiguousSpec[ AmbiguousSpec]...] - Bad FCnum"},
      {"FIND $20000 $20100", " usage Find[ <startaddr> <endaddr>[ <criteria>] - Bad Criteria Number\r\n"},
      {"F.B x $20100 16",
       " usage Find[ <startaddr> <endaddr>[ <criteria>] - Bad Start Address - Bad Criteria Number\r\n"},
      {"F.L 0 y 1", " usage Find[ <startaddr> <endaddr>[ <criteria>] - Bad End Address\r\n"},
  };
  for (const auto& [line, text] : cases) {
    const std::string printed = Execute(line);
    if (line.rfind("DFC 3", 0) == 0)  // 29 pattern bytes after the terms line
      EXPECT_EQ(printed.substr(0, printed.find("\r\n", 2) + 2), "\r\n" + text) << line;
    else
      EXPECT_EQ(printed, "\r\n" + text) << line;
  }
  EXPECT_EQ(FindCriteria[16 - 1].Count, 0u);  // refused definitions touch nothing
}

TEST_F(FindCommands, GuestData) {
  // MOVE.B #'A',$20003 ; MOVE.B #'B',$20004 ; STOP #$2700
  m.Words(0x1000, {0x13FC, 0x0041, 0x0002, 0x0003, 0x13FC, 0x0042, 0x0002, 0x0004, 0x4E72, 0x2700});
  m.SetPC(0x1000);
  ASSERT_EQ(m.RunUntilStop(), test::Stop::StopInstr);
  Execute("DFC 1 0x41 42h");
  EXPECT_EQ(Execute("F.W $20000 $20100 1"), "\r\n\r\nNot Found $00020000-$00020100\r\n");
  EXPECT_EQ(Execute("F.B $20000 $20100 1"), "\r\n\r\nFound at $00020003\r\n");
  Execute("SM.W $20008 $4142");
  Execute("SM.W $2000C $4142");
  EXPECT_EQ(Execute("F"), "\r\nFound at $00020008\r\n");  // on from the hit with size 1
  EXPECT_EQ(Execute("F.L $20001 $20100 1"), "\r\n\r\nNot Found $00020001-$00020100\r\n");
  EXPECT_EQ(Execute("F.L $20000 $20100 1"), "\r\n\r\nFound at $00020008\r\n");
  EXPECT_EQ(Execute("FIND"), "\r\nFound at $0002000C\r\n");  // on from the hit + 4, size 4
  EXPECT_EQ(Execute("F"), "\r\n\r\nNot Found $0002000D-$00020100\r\n");
  EXPECT_EQ(Execute("F"), "\r\n\r\nNo Previous Find\r\n");
  // Start and end from 0x80000000 up are two's-complement longs.
  EXPECT_EQ(Execute("F.B $FFFFFFF0 $20004 1"), "\r\n\r\nFound at $00020003\r\n");

  // A pattern of no bytes is found at the start; 4 bytes need 4 addresses.
  Execute("DFC 4 ab");
  EXPECT_EQ(Execute("F.B $20010 $20020 4"), "\r\n\r\nFound at $00020010\r\n");
  FindCriterion anyFour;
  AppendTermBytes(anyFour, "????", TermChars);
  EXPECT_EQ(SearchMemory(0x20000, 0x20002, 1, anyFour), -1);
  EXPECT_EQ(SearchMemory(0x20000, 0x20003, 1, anyFour), 0x20000);
  EXPECT_EQ(SearchMemory(0x20000, 0x20003, 3, anyFour), -1);
}

// The search never reads a device register and leaves the fault flags alone.
TEST_F(FindCommands, DevicesAndFaultFlags) {
  m.SetDeviceCode(0xF1C000, 0xF1C1FF, DcBoardIo);
  PlugMVME400C0(True);
  Cable.RX(0, 0x41);
  Execute("DFC 1 ?");
  FaultFlags = FaultFlagSet{True, False, True, False};
  EXPECT_EQ(Execute("F.B $F1C1C1 $F1C1C1 1"), "\r\n\r\nNot Found $00F1C1C1-$00F1C1C1\r\n");
  EXPECT_EQ(Cable.RXavailable(0), True);
  EXPECT_EQ(FaultFlags.Fault, True);
  EXPECT_EQ(FaultFlags.AddressError, True);
  EXPECT_EQ(FaultFlags.Bus, False);
  EXPECT_EQ(FaultFlags.Mmu, False);

  // Unmapped memory reads 0 and leaves no bus error for the next bus-path command.
  ClearBusFaults();
  Execute("DFC 1 0x00 0x00 0x01");
  EXPECT_EQ(Execute("F.B $F1C000 $F1C0FF 1"), "\r\n\r\nNot Found $00F1C000-$00F1C0FF\r\n");
  Execute("DFC 2 0x00 0x00");
  EXPECT_EQ(Execute("F.W $F1C000 $F1C0FF 2"), "\r\n\r\nFound at $00F1C000\r\n");
  Execute("URA 0");
  EXPECT_EQ(Execute("DM.B $20000 4").find("Bus Error"), std::string::npos);
}

}  // namespace
}  // namespace korva
