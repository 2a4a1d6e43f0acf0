// The out-of-line half of the read and write dispatch: every device code other
// than plain RAM and ROM, the fault rules, and the building of the memory map.
#include "bus/Memory.h"
#include <array>
#include <cstring>
#include "board/FrontPanel.h"
#include "board/MC6845.h"
#include "board/Rtc1468hc18.h"
#include "board/SCM.h"
#include "board/ScreenCompositor.h"
#include "board/Uart2661.h"
#include "bus/MMU.h"
#include "bus/Plugging.h"
#include "bus/Rom.h"
#include "disk/CpmDiskController.h"
#include "disk/Dropzone.h"
#include "disk/LSNDIO.h"
#include "disk/RWIN.h"
#include "disk/SimpleDiskController.h"
#include "host/Host.h"
#include "serial/MC6821.h"
#include "serial/MVME400.h"
#include "shell/PlugFlags.h"

namespace korva {

MemoryCell RamArray[RamCellCount];
int32_t DisplayYieldInterval = 0;
int32_t DisplayYieldCount = 0;

namespace {

constexpr uint32_t DisplayRamFirstIndex = 0xF17000 >> 1;

inline uint16_t BusErrorRead() {
  SetBusError();
  return 0;
}

inline uint16_t ReadCell(const MemoryCell& cell, uint32_t address, VBool isByte) {
  if (!isByte) return cell.Data;
  return (address & 1) ? static_cast<uint16_t>(cell.Data & 0xFF) : static_cast<uint16_t>(cell.Data >> 8);
}

// The RAM rule: a word replaces Data, a byte its half of the word.
inline void StoreCell(MemoryCell& cell, uint32_t address, VBool isByte, uint16_t data) {
  if (!isByte)
    cell.Data = data;
  else if (address & 1)
    cell.Data = static_cast<uint16_t>((cell.Data & 0xFF00) | (data & 0xFF));
  else
    cell.Data = static_cast<uint16_t>((cell.Data & 0x00FF) | ((data & 0xFF) << 8));
}

// One byte register at an odd address of the I/O page (an even access is a bus
// error). Reads of status-like registers process window messages before the
// access (PumpRead), writes to control registers after it (PumpWrite).
struct ByteRegister {
  uint8_t (*Read)() = nullptr;  // none: a bus error
  void (*Write)(uint8_t) = nullptr;  // none: a bus error
  bool PumpRead = false;
  bool PumpWrite = false;
};

// The register table of the devices that give each register its own device code.
using CodeRegisters = std::array<ByteRegister, DcLastCode + 1>;

template <class Pia, Pia& device>
constexpr void AddPiaRegisters(CodeRegisters& t, uint8_t first) {
  t[first + 0] = {[] { return device.DDRxORA(); }, [](uint8_t v) { device.DDRxORA(v); }, true, true};
  t[first + 1] = {[] { return device.CRA(); }, [](uint8_t v) { device.CRA(v); }, true, true};
  t[first + 2] = {[] { return device.DDRxORB(); }, [](uint8_t v) { device.DDRxORB(v); }, true, true};
  t[first + 3] = {[] { return device.CRB(); }, [](uint8_t v) { device.CRB(v); }, true, true};
}

// A serial card: its PIA, then receive/transmit and status/control of channels A and B.
template <classMVME400& card>
constexpr void AddCardRegisters(CodeRegisters& t, uint8_t first) {
  AddPiaRegisters<classMVME400, card>(t, first);
  t[first + 4] = {[] { return card.RxDataA(); }, [](uint8_t v) { card.TxDataA(v); }, true, true};
  t[first + 5] = {[] { return card.RxDataB(); }, [](uint8_t v) { card.TxDataB(v); }, true, true};
  t[first + 6] = {[] { return card.StatusA(); }, [](uint8_t v) { card.ControlA(v); }, true, true};
  t[first + 7] = {[] { return card.StatusB(); }, [](uint8_t v) { card.ControlB(v); }, true, true};
}

constexpr CodeRegisters BuildCodeRegisters() {
  CodeRegisters t{};
  // System control module: CR0-CR6 and the graphics offset; the status register
  // ignores writes at its odd address.
  t[DcCR0] = {[] { return Scm.CR0(); }, [](uint8_t v) { Scm.CR0(v); }, true, true};
  t[DcCR1] = {[] { return Scm.CR1(); }, [](uint8_t v) { Scm.CR1(v); }, true, true};
  t[DcCR2] = {[] { return Scm.CR2(); }, [](uint8_t v) { Scm.CR2(v); }, true, true};
  t[DcCR3] = {[] { return Scm.CR3(); }, [](uint8_t v) { Scm.CR3(v); }, true, true};
  t[DcCR4] = {[] { return Scm.CR4(); }, [](uint8_t v) { Scm.CR4(v); }, true, true};
  t[DcCR5] = {[] { return Scm.CR5(); }, [](uint8_t v) { Scm.CR5(v); }, true, true};
  t[DcCR6] = {[] { return Scm.CR6(); }, [](uint8_t v) { Scm.CR6(v); }, true, true};
  t[DcGraphicsOffset] = {[] { return Scm.GraphicsOffset(); }, [](uint8_t v) { Scm.GraphicsOffset(v); }, true, true};
  t[DcScmSR] = {[] { return Scm.SR(); }, [](uint8_t) {}, true, false};
  AddCardRegisters<MVME400C0>(t, DcMvme400C0);
  AddCardRegisters<MVME400C1>(t, DcMvme400C1);
  AddPiaRegisters<classMC6821, MVME410PIA1>(t, DcPia1);
  AddPiaRegisters<classMC6821, MVME410PIA2>(t, DcPia2);
  // Winchester controller: the status register R1 is polled.
  t[DcRwinR0] = {[] { return Rwin.R0(); }, [](uint8_t v) { Rwin.R0(v); }};
  t[DcRwinR1] = {[] { return Rwin.R1(); }, [](uint8_t v) { Rwin.R1(v); }, true, false};
  t[DcRwinR2] = {[] { return Rwin.R2(); }, [](uint8_t v) { Rwin.R2(v); }};
  t[DcRwinR3] = {[] { return Rwin.R3(); }, [](uint8_t v) { Rwin.R3(v); }};
  t[DcRwinR4to7] = {[] { return Rwin.R4to7(); }, [](uint8_t v) { Rwin.R4to7(v); }};
  return t;
}
constexpr CodeRegisters kCodeRegisters = BuildCodeRegisters();

// The devices with several registers behind one code, at its odd offsets 1, 3, 5 and 7.
constexpr ByteRegister kCrtcRegisters[4] = {
    {[] { return Crtc.Addreg(); }, [](uint8_t v) { Crtc.Addreg(v); }},
    {[] { return Crtc.Datareg(); }, [](uint8_t v) { Crtc.Datareg(v); }},
};
constexpr ByteRegister kUartRegisters[4] = {
    {[] { return Uart2661.Data(); }, [](uint8_t v) { Uart2661.Data(v); }},
    {[] { return Uart2661.Status(); }, [](uint8_t v) { Uart2661.Status(v); }, true, false},
    {[] { return Uart2661.ModeControl(); }, [](uint8_t v) { Uart2661.ModeControl(v); }},
    {[] { return Uart2661.Command(); }, [](uint8_t v) { Uart2661.Command(v); }},
};
inline const ByteRegister& AtOddOffset(const ByteRegister (&regs)[4], uint32_t address) {
  return regs[(address & 7) >> 1];
}

// The access of one byte register, with its event pump: even addresses and
// missing registers are bus errors.
uint16_t ReadRegister(const ByteRegister& r, uint32_t odd) {
  if (!odd || !r.Read) return BusErrorRead();
  if (r.PumpRead) PumpEvents();
  return r.Read();
}

void WriteRegister(const ByteRegister& r, uint32_t odd, uint8_t v) {
  if (!odd || !r.Write) {
    SetBusError();
    return;
  }
  r.Write(v);
  if (r.PumpWrite) PumpEvents();
}

// A word of a 16-bit-register device read as a byte: its low byte at the odd
// address, its high byte at the even one.
inline uint16_t ByteOfWord(uint16_t v, uint32_t address) {
  return (address & 1) ? static_cast<uint16_t>(v & 0xFF) : static_cast<uint16_t>(v >> 8);
}

// A plane write is drawn: word offset within the plane for a word, byte offset for a byte.
void DrawPlane(int plane, VBool isByte, uint32_t wordOffset, uint32_t byteOffset, uint16_t data) {
  const uint8_t byte = static_cast<uint8_t>(data);
  switch (plane) {
    case 0: isByte ? Screen.SetGreenByte(byteOffset, byte) : Screen.SetGreenWord(wordOffset, data); break;
    case 1: isByte ? Screen.SetBlueByte(byteOffset, byte) : Screen.SetBlueWord(wordOffset, data); break;
    default: isByte ? Screen.SetRedByte(byteOffset, byte) : Screen.SetRedWord(wordOffset, data); break;
  }
}

}  // namespace

uint16_t ReadMemorySlow(uint32_t address, VBool isByte) {
  const uint32_t odd = address & 1;
  if (!isByte && odd) {
    SetAddressError();
    return 0;
  }
  const uint32_t index = (address >> 1) & RamIndexMask;
  const MemoryCell& cell = RamArray[index];
  const uint8_t code = cell.Device;
  switch (code) {
    case DcRam: case DcRom: case DcDisplayRam: case DcFrontPanel:
    case DcGreenPlane: case DcBluePlane: case DcRedPlane:
    case DcGreenPlane3: case DcBluePlane3: case DcRedPlane3:
      return ReadCell(cell, address, isByte);
    case DcFixedZero:
      return 0;
    case DcFixedOnes:
      return isByte ? 0xFF : 0xFFFF;
    case DcPixelRam: case DcPixelRamOff:
      return Scm.PixelRam(index & 0xFFFFF);
    case DcCharGenRam:
      return odd ? Scm.CharGenRam(index & 0x7FF) : BusErrorRead();
    case DcAttrGenRam:
      return odd ? Scm.AttrGenRam(index & 0x7FF) : BusErrorRead();
    case DcVGCursor:
      return odd ? BusErrorRead() : Scm.VGCursor();
    case DcHGCursor:
      return odd ? BusErrorRead() : Scm.HGCursor();
    case DcCrtc:
      return ReadRegister(AtOddOffset(kCrtcRegisters, address), odd);
    case DcUart2661:
      return ReadRegister(AtOddOffset(kUartRegisters, address), odd);
    case DcRtc:
      return odd ? Rtc.Reg(index & 63) : BusErrorRead();
    case DcMmu:
      if (isByte) return Mmu.AccessMMU(address & 63);
      {
        const uint16_t hi = Mmu.AccessMMU(address & 63);
        const uint16_t lo = Mmu.AccessMMU((address + 1) & 63);
        return static_cast<uint16_t>((hi << 8) | lo);
      }
    case DcSimpleDC:
      return isByte ? ByteOfWord(SimpleDC.Reg(address & 30), address) : SimpleDC.Reg(address & 31);
    case DcCpmDC:
      return isByte ? ByteOfWord(CpmDC.Reg(address & 30), address) : CpmDC.Reg(address & 31);
    case DcDropzone:
      return Dropzone.RegDZ(address & 15, isByte);
    case DcUloadDload:
      return Dropzone.RegUD(address & 15, isByte);
    case DcLsnDio:
      return isByte ? 0 : LsnDio.Reg(index & 3);
    default:  // the byte registers with a code of their own; a bus error for 0, 6, 7 and unused codes
      return code <= DcLastCode ? ReadRegister(kCodeRegisters[code], odd) : BusErrorRead();
  }
}

void WriteMemorySlow(uint32_t address, VBool isByte, uint16_t data, VBool force) {
  const uint32_t odd = address & 1;
  if (!isByte && odd) {
    SetAddressError();
    return;
  }
  if (isByte) data &= 0xFF;
  const uint8_t byte = static_cast<uint8_t>(data);
  const uint32_t index = (address >> 1) & RamIndexMask;
  MemoryCell& cell = RamArray[index];
  const uint8_t code = cell.Device;
  switch (code) {
    case DcRam:
      StoreCell(cell, address, isByte, data);
      return;
    case DcRom:
      if (force)
        StoreCell(cell, address, isByte, data);
      else
        SetBusError();
      return;
    case DcFixedZero: case DcFixedOnes:
      return;
    case DcPixelRam:
      Scm.PixelRam(index & 0xFFFFF, data);
      return;
    case DcPixelRamOff:
      Scm.UnusedPixelRam(index & 0xFFFFF, data);
      return;
    case DcCharGenRam: case DcAttrGenRam:
      if (!odd) {
        if (!force) SetBusError();  // the font loader's even bytes are dropped
        return;
      }
      StoreCell(cell, address, True, byte);
      if (code == DcCharGenRam)
        Scm.CharGenRam(index & 0x7FF, byte);
      else
        Scm.AttrGenRam(index & 0x7FF, byte);
      return;
    case DcDisplayRam: {
      StoreCell(cell, address, isByte, data);
      const uint16_t i = static_cast<uint16_t>((index - DisplayRamFirstIndex) & 0xFFF);
      ScmDisplayRam[i] = cell.Data;
      Screen.DisplayCharacterOnScreen(i);
      if (DisplayYieldInterval > 0 && --DisplayYieldCount < 0) {
        DisplayYieldCount = DisplayYieldInterval;
        PumpEvents();
      }
      return;
    }
    case DcVGCursor:
      if (odd) SetBusError(); else Scm.VGCursor(data);
      return;
    case DcHGCursor:
      if (odd) SetBusError(); else Scm.HGCursor(data);
      return;
    case DcCrtc:
      WriteRegister(AtOddOffset(kCrtcRegisters, address), odd, byte);
      return;
    case DcUart2661:
      WriteRegister(AtOddOffset(kUartRegisters, address), odd, byte);
      return;
    case DcRtc:
      if (odd) Rtc.Reg(index & 63, byte); else SetBusError();
      return;
    case DcMmu:
      if (isByte) {
        Mmu.AccessMMU(address & 63, byte);
      } else {
        Mmu.AccessMMU(address & 63, static_cast<uint8_t>(data >> 8));
        Mmu.AccessMMU((address + 1) & 63, static_cast<uint8_t>(data));
      }
      return;
    case DcSimpleDC:
      if (!isByte) SimpleDC.Reg(address & 31, data);
      return;
    case DcCpmDC:
      if (!isByte) CpmDC.Reg(address & 31, data);
      return;
    case DcDropzone:
      Dropzone.RegDZ(address & 15, isByte, data);
      return;
    case DcUloadDload:
      Dropzone.RegUD(address & 7, isByte, data);
      return;
    case DcLsnDio:
      if (!isByte) LsnDio.Reg(index & 3, data);
      return;
    case DcGreenPlane: case DcBluePlane: case DcRedPlane:
      StoreCell(cell, address, isByte, data);
      DrawPlane(code - DcGreenPlane, isByte, index & 0x7FFF, address & 0xFFFF, data);
      return;
    case DcGreenPlane3: case DcBluePlane3: case DcRedPlane3: {
      // Layout 3: planes based at 048000, 050000 and 058000.
      StoreCell(cell, address, isByte, data);
      const uint32_t base = 0x048000u + 0x8000u * static_cast<uint32_t>(code - DcGreenPlane3);
      DrawPlane(code - DcGreenPlane3, isByte, (index - (base >> 1)) & 0x7FFF, (address - base) & 0xFFFF, data);
      return;
    }
    case DcFrontPanel:
      if (!isByte) FrontPanel.Reg(index & 3, byte);
      StoreCell(cell, address, isByte, data);
      return;
    default:  // the byte registers with a code of their own; a bus error for 0, 6, 7 and unused codes
      if (code <= DcLastCode)
        WriteRegister(kCodeRegisters[code], odd, byte);
      else
        SetBusError();
      return;
  }
}

void SetMemMap(uint32_t lo, uint32_t hi, uint8_t code) {
  const uint32_t first = lo >> 1;
  const uint32_t last = hi >> 1;
  if (first > last) return;
  // Addresses wrap at 16 MB as they do for an access; a range of more than the
  // whole space codes every word once.
  const uint32_t span = last - first;
  const uint32_t count = span >= RamCellCount ? RamCellCount : span + 1;
  for (uint32_t k = 0; k < count; ++k) RamArray[(first + k) & RamIndexMask].Device = code;
}

void BuildMemoryMap() {
  std::memset(RamArray, 0, sizeof RamArray);
  ClearBusFaults();
  LoadRomFile();
  MapRomAtPowerOn();
  SetMemMap(0x010000, 0x05FFFF, DcRam);

  PlugRam(ReservedPlugged);
  PlugMem180to1BF(Mem180to1BF);
  PlugMem1C0to1FF(Mem1C0to1FF);
  PlugMem200to3FF(Mem200to3FF);
  PlugMem400to5FF(Mem400to5FF);
  PlugMem600to7FF(Mem600to7FF);
  PlugMem800to9FF(Mem800to9FF);
  PlugMemA00toBFF(MemA00toBFF);
  PlugMemC00toDFF(MemC00toDFF);

  // The on-board I/O page.
  SetMemMap(0xF10000, 0xF1BFFF, DcOnBoardIo);
  SetMemMap(0xF14000, 0xF14FFF, DcCharGenRam);
  SetMemMap(0xF15000, 0xF15FFF, DcAttrGenRam);
  SetMemMap(0xF17000, 0xF18FFF, DcDisplayRam);
  for (uint8_t code = DcVGCursor; code <= DcGraphicsOffset; ++code) {
    const uint32_t a = 0xF19F00u + 2u * static_cast<uint32_t>(code - DcVGCursor);
    SetMemMap(a, a, code);
  }
  SetMemMap(0xF19F84, 0xF19F85, DcScmSR);
  SetMemMap(0xF1A020, 0xF1A023, DcCrtc);
  SetMemMap(0xF1A030, 0xF1A037, DcUart2661);

  PlugUloadDload(UloadDloadPlugged);
  PlugDropzone(DropzonePlugged);

  SetMemMap(0xF1A080, 0xF1A0FF, DcRtc);
  SetMemMap(0xF1A800, 0xF1A83F, DcMmu);
  SetMemMap(0xF1C000, 0xF1DFFF, DcBoardIo);

  PlugRWIN(True);
  PlugMVME400C0(MVME400C0Plugged);
  PlugMVME400C1(MVME400C1Plugged);
  PlugMVME410C0(MVME410C0Plugged);
  PlugSimpleDC(SimpleDCPlugged);
  PlugCPMDC(CPMDCPlugged);
  PlugLSNDC(LSNDCPlugged);
  PlugMemF1EtoFFF(MemF1EtoFFF);

  LoadFontFile();  // last: the font is written through the map just built
}

}  // namespace korva
