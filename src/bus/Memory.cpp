// The out-of-line half of the read and write dispatch: every device code other
// than plain RAM and ROM, the fault rules, and the building of the memory map.
#include "bus/Memory.h"
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

uint8_t ScmRegister(uint8_t code) {
  switch (code) {
    case 13: return Scm.CR0();
    case 14: return Scm.CR1();
    case 15: return Scm.CR2();
    case 16: return Scm.CR3();
    case 17: return Scm.CR4();
    case 18: return Scm.CR5();
    case 19: return Scm.CR6();
    default: return Scm.GraphicsOffset();
  }
}

void ScmRegister(uint8_t code, uint8_t v) {
  switch (code) {
    case 13: Scm.CR0(v); break;
    case 14: Scm.CR1(v); break;
    case 15: Scm.CR2(v); break;
    case 16: Scm.CR3(v); break;
    case 17: Scm.CR4(v); break;
    case 18: Scm.CR5(v); break;
    case 19: Scm.CR6(v); break;
    default: Scm.GraphicsOffset(v); break;
  }
}

// Serial card register reg (0-7, in address order +1 ... +F).
uint8_t CardRead(classMVME400& card, int reg) {
  switch (reg) {
    case 0: return card.DDRxORA();
    case 1: return card.CRA();
    case 2: return card.DDRxORB();
    case 3: return card.CRB();
    case 4: return card.RxDataA();
    case 5: return card.RxDataB();
    case 6: return card.StatusA();
    default: return card.StatusB();
  }
}

void CardWrite(classMVME400& card, int reg, uint8_t v) {
  switch (reg) {
    case 0: card.DDRxORA(v); break;
    case 1: card.CRA(v); break;
    case 2: card.DDRxORB(v); break;
    case 3: card.CRB(v); break;
    case 4: card.TxDataA(v); break;
    case 5: card.TxDataB(v); break;
    case 6: card.ControlA(v); break;
    default: card.ControlB(v); break;
  }
}

uint8_t PiaRead(classMC6821& pia, int reg) {
  switch (reg) {
    case 0: return pia.DDRxORA();
    case 1: return pia.CRA();
    case 2: return pia.DDRxORB();
    default: return pia.CRB();
  }
}

void PiaWrite(classMC6821& pia, int reg, uint8_t v) {
  switch (reg) {
    case 0: pia.DDRxORA(v); break;
    case 1: pia.CRA(v); break;
    case 2: pia.DDRxORB(v); break;
    default: pia.CRB(v); break;
  }
}

uint8_t RwinRead(uint8_t code) {
  switch (code) {
    case 57: return Rwin.R0();
    case 58: return Rwin.R1();
    case 59: return Rwin.R2();
    case 60: return Rwin.R3();
    default: return Rwin.R4to7();
  }
}

void RwinWrite(uint8_t code, uint8_t v) {
  switch (code) {
    case 57: Rwin.R0(v); break;
    case 58: Rwin.R1(v); break;
    case 59: Rwin.R2(v); break;
    case 60: Rwin.R3(v); break;
    default: Rwin.R4to7(v); break;
  }
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
    case 50: case 51: case 52: case 54: case 55: case 56:
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
    case 13: case 14: case 15: case 16: case 17: case 18: case 19: case DcGraphicsOffset:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return ScmRegister(code);
    case DcScmSR:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return Scm.SR();
    case DcCrtc:
      switch (address & 7) {
        case 1: return Crtc.Addreg();
        case 3: return Crtc.Datareg();
        default: return BusErrorRead();
      }
    case DcUart2661:
      switch (address & 7) {
        case 1: return Uart2661.Data();
        case 3: PumpEvents(); return Uart2661.Status();
        case 5: return Uart2661.ModeControl();
        case 7: return Uart2661.Command();
        default: return BusErrorRead();
      }
    case DcRtc:
      return odd ? Rtc.Reg(index & 63) : BusErrorRead();
    case DcMmu:
      if (isByte) return Mmu.AccessMMU(address & 63);
      {
        const uint16_t hi = Mmu.AccessMMU(address & 63);
        const uint16_t lo = Mmu.AccessMMU((address + 1) & 63);
        return static_cast<uint16_t>((hi << 8) | lo);
      }
    case 26: case 27: case 28: case 29: case 30: case 31: case 32: case 33:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return CardRead(MVME400C0, code - 26);
    case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 41:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return CardRead(MVME400C1, code - 34);
    case 42: case 43: case 44: case 45:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return PiaRead(MVME410PIA1, code - 42);
    case 62: case 63: case 64: case 65:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return PiaRead(MVME410PIA2, code - 62);
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
    case 57: case 59: case 60: case DcRwinR4to7:
      return odd ? RwinRead(code) : BusErrorRead();
    case 58:
      if (!odd) return BusErrorRead();
      PumpEvents();
      return Rwin.R1();
    default:  // 0, 6, 7 and any code nothing answers
      return BusErrorRead();
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
    case 13: case 14: case 15: case 16: case 17: case 18: case 19: case DcGraphicsOffset:
      if (!odd) {
        SetBusError();
        return;
      }
      ScmRegister(code, byte);
      PumpEvents();
      return;
    case DcScmSR:
      if (!odd) SetBusError();  // the status register is read-only: odd writes are ignored
      return;
    case DcCrtc:
      switch (address & 7) {
        case 1: Crtc.Addreg(byte); break;
        case 3: Crtc.Datareg(byte); break;
        default: SetBusError(); break;
      }
      return;
    case DcUart2661:
      switch (address & 7) {
        case 1: Uart2661.Data(byte); break;
        case 3: Uart2661.Status(byte); break;
        case 5: Uart2661.ModeControl(byte); break;
        case 7: Uart2661.Command(byte); break;
        default: SetBusError(); break;
      }
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
    case 26: case 27: case 28: case 29: case 30: case 31: case 32: case 33:
      if (!odd) {
        SetBusError();
        return;
      }
      CardWrite(MVME400C0, code - 26, byte);
      PumpEvents();
      return;
    case 34: case 35: case 36: case 37: case 38: case 39: case 40: case 41:
      if (!odd) {
        SetBusError();
        return;
      }
      CardWrite(MVME400C1, code - 34, byte);
      PumpEvents();
      return;
    case 42: case 43: case 44: case 45:
      if (!odd) {
        SetBusError();
        return;
      }
      PiaWrite(MVME410PIA1, code - 42, byte);
      PumpEvents();
      return;
    case 62: case 63: case 64: case 65:
      if (!odd) {
        SetBusError();
        return;
      }
      PiaWrite(MVME410PIA2, code - 62, byte);
      PumpEvents();
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
    case 50: case 51: case 52:
      StoreCell(cell, address, isByte, data);
      DrawPlane(code - 50, isByte, index & 0x7FFF, address & 0xFFFF, data);
      return;
    case 54: case 55: case 56: {
      // Layout 3: planes based at 048000, 050000 and 058000.
      StoreCell(cell, address, isByte, data);
      const uint32_t base = 0x048000u + 0x8000u * static_cast<uint32_t>(code - 54);
      DrawPlane(code - 54, isByte, (index - (base >> 1)) & 0x7FFF, (address - base) & 0xFFFF, data);
      return;
    }
    case 57: case 58: case 59: case 60: case DcRwinR4to7:
      if (odd) RwinWrite(code, byte); else SetBusError();
      return;
    case DcFrontPanel:
      if (!isByte) FrontPanel.Reg(index & 3, byte);
      StoreCell(cell, address, isByte, data);
      return;
    default:  // 0, 6, 7 and any code nothing answers
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
