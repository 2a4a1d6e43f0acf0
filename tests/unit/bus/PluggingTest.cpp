// Plugging and unplugging the optional RAM ranges, boards and devices.
#include <cstring>
#include <vector>
#include "MemoryFixture.h"
#include "bus/Plugging.h"

namespace korva::test {
namespace {

using PluggingTest = MemoryTest;

TEST_F(PluggingTest, OptionalRamFollowsItsFlags) {
  ReservedPlugged = True;
  MemF1EtoFFF = False;
  Mem800to9FF = False;
  BuildMemoryMap();
  EXPECT_EQ(Code(0x060000), DcRam);
  EXPECT_EQ(Code(0x800000), DcNothing);
  EXPECT_EQ(Code(0x9FFFFE), DcNothing);
  EXPECT_EQ(Code(0xA00000), DcRam);
  EXPECT_EQ(Code(0xF1E000), DcNothing);
}

// Every optional item: unplugging recodes exactly its window to the empty code,
// plugging restores the map exactly, and the data words survive both.
TEST_F(PluggingTest, PlugAndUnplugChangeOnlyTheirWindow) {
  const struct {
    const char* Name;
    void (*Plug)(VBool);
    uint32_t Lo, Hi;
    uint8_t Empty;
  } items[] = {
      {"Reserved", PlugRam, 0x060000, 0x17FFFF, DcNothing},
      {"180", PlugMem180to1BF, 0x180000, 0x1BFFFF, DcNothing},
      {"1C0", PlugMem1C0to1FF, 0x1C0000, 0x1FFFFF, DcNothing},
      {"200", PlugMem200to3FF, 0x200000, 0x3FFFFF, DcNothing},
      {"400", PlugMem400to5FF, 0x400000, 0x5FFFFF, DcNothing},
      {"600", PlugMem600to7FF, 0x600000, 0x7FFFFF, DcNothing},
      {"800", PlugMem800to9FF, 0x800000, 0x9FFFFF, DcNothing},
      {"A00", PlugMemA00toBFF, 0xA00000, 0xBFFFFF, DcNothing},
      {"C00", PlugMemC00toDFF, 0xC00000, 0xDFFFFF, DcNothing},
      {"F1E", PlugMemF1EtoFFF, 0xF1E000, 0xFFFFFF, DcNothing},
      {"SimpleDC", PlugSimpleDC, 0xF1A300, 0xF1A31F, DcOnBoardIo},
      {"CPMDC", PlugCPMDC, 0xF1A200, 0xF1A21F, DcOnBoardIo},
      {"LSNDC", PlugLSNDC, 0xF1A400, 0xF1A41F, DcOnBoardIo},
      {"Dropzone", PlugDropzone, 0xF1A060, 0xF1A06F, DcOnBoardIo},
      {"UloadDload", PlugUloadDload, 0xF1A070, 0xF1A07B, DcOnBoardIo},
      {"MVME400C0", PlugMVME400C0, 0xF1C1C0, 0xF1C1DF, DcBoardIo},
      {"MVME400C1", PlugMVME400C1, 0xF1C1A0, 0xF1C1BF, DcBoardIo},
      {"MVME410C0", PlugMVME410C0, 0xF1C1E0, 0xF1C1FF, DcBoardIo},
  };
  PlugRam(True);  // so that the reserved range has something to lose
  for (uint32_t i = 0; i < RamCellCount; ++i) RamArray[i].Data = static_cast<uint16_t>(i * 7 + 1);
  std::vector<MemoryCell> before(RamArray, RamArray + RamCellCount);

  for (const auto& item : items) {
    SCOPED_TRACE(item.Name);
    item.Plug(False);
    const uint32_t lo = item.Lo >> 1, hi = item.Hi >> 1;
    ASSERT_EQ(std::memcmp(RamArray, before.data(), lo * sizeof(MemoryCell)), 0);
    ASSERT_EQ(std::memcmp(RamArray + hi + 1, before.data() + hi + 1, (RamCellCount - hi - 1) * sizeof(MemoryCell)), 0);
    for (uint32_t i = lo; i <= hi; ++i) {
      ASSERT_EQ(RamArray[i].Device, item.Empty) << std::hex << 2 * i;
      ASSERT_EQ(RamArray[i].Data, before[i].Data) << std::hex << 2 * i;
    }
    ReadMemory(item.Lo + 1, True);
    EXPECT_TRUE(TookBusError());
    WriteMemory(item.Lo, False, 0xFFFF, False);  // refused: changes nothing
    EXPECT_TRUE(TookBusError());
    item.Plug(True);
    ASSERT_EQ(std::memcmp(RamArray, before.data(), RamCellCount * sizeof(MemoryCell)), 0);
  }
}

}  // namespace
}  // namespace korva::test
