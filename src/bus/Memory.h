// Physical memory: 16 MB held as one cell per 16-bit word, each cell carrying
// the code of what answers at that word, and the two dispatchers that perform
// every physical byte or word access.
//
// RAM and ROM are answered inline from the cell array; every other code goes
// to the out-of-line dispatcher, which calls the owning device's register.
// Faults are reported only through the fault flags of bus/BusState.h: a faulted
// read returns 0 and a faulted write changes nothing.
#pragma once
#include <cstdint>
#include "bus/BusState.h"
#include "tables/Types.h"

namespace korva {

// One word of physical memory.
struct MemoryCell {
  uint16_t Data;   // the even address is the high byte, the odd address the low byte
  uint8_t Device;  // DeviceCode of this word
  uint8_t Tag;     // debugger display tag; the bus never touches it
};
static_assert(sizeof(MemoryCell) == 4, "a memory cell is one 32-bit word");

// What answers at a word of memory.
enum DeviceCode : uint8_t {
  DcNothing = 0,           // bus error
  DcRam = 1,
  DcRom = 2,               // writable only by a forced write
  DcFixedZero = 3,         // reads 0, writes ignored (never mapped)
  DcFixedOnes = 4,         // reads all ones, writes ignored (never mapped)
  DcPixelRam = 5,          // Scm.PixelRam
  DcBoardIo = 6,           // empty board I/O area: bus error
  DcOnBoardIo = 7,         // empty on-board I/O area: bus error
  DcCharGenRam = 8,        // Scm.CharGenRam, odd byte
  DcAttrGenRam = 9,        // Scm.AttrGenRam, odd byte
  DcDisplayRam = 10,       // RAM mirrored to ScmDisplayRam and drawn
  DcVGCursor = 11,
  DcHGCursor = 12,
  DcCR0 = 13,              // CR0 ... CR6 are 13 ... 19
  DcCR1 = 14,
  DcCR2 = 15,
  DcCR3 = 16,
  DcCR4 = 17,
  DcCR5 = 18,
  DcCR6 = 19,
  DcGraphicsOffset = 20,
  DcScmSR = 21,
  DcCrtc = 22,             // MC6845: +1 Addreg, +3 Datareg
  DcUart2661 = 23,         // +1 Data, +3 Status, +5 ModeControl, +7 Command
  DcRtc = 24,
  DcMmu = 25,
  DcMvme400C0 = 26,        // 26 ... 33: the eight registers of serial card 0
  DcMvme400C1 = 34,        // 34 ... 41: serial card 1
  DcPia1 = 42,             // 42 ... 45: first PIA of the parallel card
  DcSimpleDC = 46,
  DcDropzone = 47,
  DcUloadDload = 48,
  DcCpmDC = 49,
  DcGreenPlane = 50,       // 50, 51, 52: green, blue, red plane (layouts 1 and 2)
  DcBluePlane = 51,
  DcRedPlane = 52,
  DcLsnDio = 53,
  DcGreenPlane3 = 54,      // 54, 55, 56: green, blue, red plane (layout 3)
  DcBluePlane3 = 55,
  DcRedPlane3 = 56,
  DcRwinR0 = 57,           // 57 ... 60: R0 ... R3
  DcRwinR1 = 58,
  DcRwinR2 = 59,
  DcRwinR3 = 60,
  DcRwinR4to7 = 61,
  DcPia2 = 62,             // 62 ... 65: second PIA of the parallel card
  DcPixelRamOff = 66,      // pixel port while graphics are off
  DcFrontPanel = 67,       // RAM; a word write also reaches the front panel
  DcLastCode = 67,
};
// Registers of the serial cards and the PIAs, one device code each.
constexpr uint8_t Mvme400RegisterCount = 8;
constexpr uint8_t PiaRegisterCount = 4;

constexpr uint32_t RamCellCount = 0x800000;  // 16 MB of 16-bit words
constexpr uint32_t RamIndexMask = 0x7FFFFF;

// The whole physical address space. All fields are zero until BuildMemoryMap.
extern MemoryCell RamArray[RamCellCount];

// The cell of a byte address; addresses wrap at 16 MB.
inline MemoryCell& CellOf(uint32_t address) { return RamArray[(address >> 1) & RamIndexMask]; }

// Code every word from lo / 2 to hi / 2 inclusive; data and tags are untouched.
// Nothing happens when lo / 2 > hi / 2.
void SetMemMap(uint32_t lo, uint32_t hi, uint8_t code);

// Build the start-up map from the plug flags: clears memory, loads and overlays
// the ROM, maps RAM, the I/O page and every plugged item, then loads the font.
void BuildMemoryMap();

// Display throttle: a display-RAM write pumps events once every
// DisplayYieldInterval + 1 writes; 0 (or less) never pumps.
extern int32_t DisplayYieldInterval;
extern int32_t DisplayYieldCount;

// Everything except the inline RAM/ROM cases.
uint16_t ReadMemorySlow(uint32_t address, VBool isByte);
void WriteMemorySlow(uint32_t address, VBool isByte, uint16_t data, VBool force);

// Words answered from the cell itself: RAM and ROM for a read, RAM for an
// unforced write. Every other code needs the dispatcher.
inline bool ReadsFromCell(const MemoryCell& cell) { return static_cast<uint8_t>(cell.Device - DcRam) < 2; }
inline bool WritesToCell(const MemoryCell& cell) { return cell.Device == DcRam; }

// One physical access. A byte read returns the byte in the low 8 bits (a 16-bit
// register answering a byte access may fill all 16). Returns 0 after a fault.
inline uint16_t ReadMemory(uint32_t address, VBool isByte) {
  const MemoryCell& cell = CellOf(address);
  if (ReadsFromCell(cell)) [[likely]] {
    if (isByte) return (address & 1) ? static_cast<uint16_t>(cell.Data & 0xFF) : static_cast<uint16_t>(cell.Data >> 8);
    if ((address & 1) == 0) return cell.Data;
  }
  return ReadMemorySlow(address, isByte);
}

// One physical write; for a byte only the low 8 bits of data count. force lets
// the write reach ROM and drops forced writes to the even half of a
// character-generator or attribute word.
inline void WriteMemory(uint32_t address, VBool isByte, uint16_t data, VBool force) {
  MemoryCell& cell = CellOf(address);
  if (WritesToCell(cell)) {
    if (isByte) {
      if (address & 1)
        cell.Data = static_cast<uint16_t>((cell.Data & 0xFF00) | (data & 0xFF));
      else
        cell.Data = static_cast<uint16_t>((cell.Data & 0x00FF) | ((data & 0xFF) << 8));
      return;
    }
    if ((address & 1) == 0) {
      cell.Data = data;
      return;
    }
  }
  WriteMemorySlow(address, isByte, data, force);
}

}  // namespace korva
