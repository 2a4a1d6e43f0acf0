#include "debugger/MemoryAccess.h"

#include "bus/BusState.h"
#include "bus/Memory.h"
#include "debugger/DebugPump.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

constexpr char CrLf[] = "\r\n";

MemoryCell& CellAtIndex(uint32_t wordIndex) { return RamArray[wordIndex & RamIndexMask]; }

// Builds the lines of one dump: the line's address at its first element, the
// elements, the characters at its end; hands every finished line on at once.
class DumpLines {
 public:
  DumpLines(const DumpSink& out, uint32_t perLine) : out_(out), perLine_(perLine) {}

  // Before element n (counted from 0) whose line would start at lineAddress.
  void Element(uint64_t n, uint32_t lineAddress) {
    if (n % perLine_ != 0) return;
    if (n != 0) text_ += CrLf;
    text_ += HexLong(lineAddress);
    text_ += ':';
  }
  void Text(std::string_view s) { text_ += s; }
  void Char(uint32_t byte) { chars_ += ByteDisplayText(static_cast<int32_t>(byte & 0xFF), Ascii7Bit, True); }
  // After element n: ends a full line; true when the dump must stop (Abort).
  bool Done(uint64_t n) {
    if (n % perLine_ == perLine_ - 1) {
      text_ += " : ";
      text_ += chars_;
      chars_.clear();
      Flush();
    }
    if (!pump_.Poll()) return false;
    Flush();
    return true;
  }
  // The partial last line's characters and the closing CR LF.
  void Finish() {
    if (!chars_.empty()) {
      text_ += " : ";
      text_ += chars_;
    }
    text_ += CrLf;
    Flush();
  }

 private:
  void Flush() {
    if (text_.empty()) return;
    out_(text_);
    text_.clear();
  }
  const DumpSink& out_;
  const uint32_t perLine_;
  DebugPump pump_;
  std::string text_;
  std::string chars_;
};

template <typename WriteOne>
void Fill(uint32_t address, int32_t length, uint32_t step, WriteOne write) {
  DebugPump pump;
  for (int32_t i = 0; i < length; ++i) {
    write(address);
    address += step;
    if (pump.Poll()) return;
  }
}

// The byte dumps, sixteen bytes a line: through the bus from address on, or
// from the cell array from address on within its 16 MB.
void DumpByteLines(uint32_t address, int32_t count, bool fromArray, const DumpSink& out) {
  DumpLines lines(out, 16);
  for (int64_t n = 0; n < count; ++n) {
    uint32_t a = address + static_cast<uint32_t>(n);
    uint8_t b;
    if (fromArray) {
      a &= 0xFFFFFF;
      uint32_t at = a;
      b = ReadArrayByte(at);
    } else {
      b = static_cast<uint8_t>(ReadMemory(a, True));
    }
    lines.Element(n, a);
    lines.Text(fromArray ? ":" : " ");
    lines.Text(HexByte(b));
    lines.Char(b);
    if (lines.Done(n)) return;
  }
  lines.Finish();
}

// The word and long dumps, eight words a line: through the bus from the even
// address at or below address, or from the cell array from the cell of address
// on (cell indexes wrap). A long is its two words, the low one's digits right
// after the high one's.
void DumpWordLines(uint32_t address, int64_t words, bool fromArray, bool longs, const DumpSink& out) {
  DumpLines lines(out, 8);
  const uint32_t start = address & ~1u;
  for (int64_t n = 0; n < words; ++n) {
    uint32_t a = start + 2 * static_cast<uint32_t>(n);
    uint16_t w;
    if (fromArray) {
      const uint32_t index = (a >> 1) & RamIndexMask;
      a = index * 2;
      w = RamArray[index].Data;
    } else {
      w = ReadMemory(a, False);
    }
    lines.Element(n, a);
    const bool lowWord = longs && n % 2 == 1;
    if (!longs) lines.Text(fromArray ? ":" : " ");
    if (longs && !lowWord) lines.Text(fromArray ? ": " : " ");
    lines.Text(HexWord(w));
    if (lowWord && fromArray) lines.Text(" ");
    lines.Char(w >> 8);
    lines.Char(w);
    if (lines.Done(n)) return;
  }
  lines.Finish();
}

}  // namespace

// ---- Elements ----

void WriteByteBus(uint32_t address, uint8_t value) { WriteMemory(address, True, value, False); }
void WriteWordBus(uint32_t address, uint16_t value) { WriteMemory(address, False, value, False); }
void WriteLongBus(uint32_t address, uint32_t value) {
  WriteMemory(address, False, static_cast<uint16_t>(value >> 16), False);
  WriteMemory(address + 2, False, static_cast<uint16_t>(value), False);
}

void WriteByteArray(uint32_t address, uint8_t value) {
  uint16_t& data = CellOf(address).Data;
  if (address & 1)
    data = static_cast<uint16_t>((data & 0xFF00) | value);
  else
    data = static_cast<uint16_t>((data & 0x00FF) | (value << 8));
}
void WriteWordArray(uint32_t address, uint16_t value) { CellOf(address).Data = value; }
void WriteLongArray(uint32_t address, uint32_t value) {
  const uint32_t index = address >> 1;
  CellAtIndex(index).Data = static_cast<uint16_t>(value >> 16);
  CellAtIndex(index + 1).Data = static_cast<uint16_t>(value);
}

uint8_t ReadArrayByte(uint32_t& address) {
  const uint16_t data = CellOf(address).Data;
  const uint8_t b = static_cast<uint8_t>((address & 1) ? data : data >> 8);
  address += 1;
  return b;
}
uint16_t ReadArrayWord(uint32_t& address) {
  const uint16_t w = CellOf(address).Data;
  address += 2;
  return w;
}
uint32_t ReadArrayLong(uint32_t& address) {
  const uint32_t index = address >> 1;
  const uint32_t l = (static_cast<uint32_t>(CellAtIndex(index).Data) << 16) | CellAtIndex(index + 1).Data;
  address += 4;
  return l;
}

// ---- Fills ----

void FillBytesArray(uint32_t address, uint8_t value, int32_t length) {
  Fill(address, length, 1, [value](uint32_t a) { WriteByteArray(a, value); });
}
void FillBytesBus(uint32_t address, uint8_t value, int32_t length) {
  Fill(address, length, 1, [value](uint32_t a) { WriteByteBus(a, value); });
}
void FillWordsArray(uint32_t address, uint16_t value, int32_t length) {
  Fill(address, length, 2, [value](uint32_t a) { WriteWordArray(a, value); });
}
void FillWordsBus(uint32_t address, uint16_t value, int32_t length) {
  Fill(address, length, 2, [value](uint32_t a) { WriteWordBus(a, value); });
}
void FillLongsArray(uint32_t address, uint32_t value, int32_t length) {
  Fill(address, length, 4, [value](uint32_t a) { WriteLongArray(a, value); });
}
void FillLongsBus(uint32_t address, uint32_t value, int32_t length) {
  Fill(address, length, 4, [value](uint32_t a) { WriteLongBus(a, value); });
}

// ---- Dumps ----

void DumpBytesBus(uint32_t address, int32_t count, const DumpSink& out) {
  DumpByteLines(address, count, false, out);
}

void DumpWordsBus(uint32_t address, int32_t count, const DumpSink& out) {
  DumpWordLines(address, count, false, false, out);
}

void DumpLongsBus(uint32_t address, int32_t count, const DumpSink& out) {
  DumpWordLines(address, 2 * static_cast<int64_t>(count), false, true, out);
}

void DumpBytesArray(uint32_t address, int32_t count, const DumpSink& out) {
  DumpByteLines(address, count, true, out);
}

void DumpWordsArray(uint32_t address, int32_t count, const DumpSink& out) {
  DumpWordLines(address, count, true, false, out);
}

void DumpLongsArray(uint32_t address, int32_t count, const DumpSink& out) {
  DumpWordLines(address, 2 * static_cast<int64_t>(count), true, true, out);
}

std::string BusFaultReport() {
  std::string report;
  if (BusErrorFlag) {
    report += "Bus Error\r\n";
    ClearBusError();
  }
  if (AddressErrorFlag) {
    report += "Address Error\r\n";
    ClearAddressError();
  }
  return report;
}

}  // namespace korva
