// Writers of real memory-image files for the loader and ROM tests: a temporary
// folder, S-record lines with computed checksums, CP/M-68K command files and
// VersaDOS load modules.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "bus/Memory.h"

namespace korva::test {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korva-loader-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return Path(name);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    return Write(name, Bytes(text.begin(), text.end()));
  }

 private:
  std::filesystem::path path_;
};

inline std::string Hex2(uint32_t v) {
  char s[3];
  std::snprintf(s, sizeof s, "%02X", v & 0xFF);
  return s;
}

// One S-record (without its line end): type digit 0-9, the address in the
// type's width (S1/S5/S9 2 bytes, S2/S8 3, S3/S7 4), the data, and the right
// checksum unless one is given.
inline std::string Srec(int type, uint32_t address, const Bytes& data = {}, int checksum = -1) {
  const int addressBytes = (type == 2 || type == 8) ? 3 : (type == 3 || type == 7) ? 4 : 2;
  const uint32_t count = static_cast<uint32_t>(addressBytes + data.size() + 1);
  std::string line = "S" + std::to_string(type) + Hex2(count);
  uint32_t sum = count;
  for (int k = addressBytes - 1; k >= 0; --k) {
    line += Hex2(address >> (8 * k));
    sum += (address >> (8 * k)) & 0xFF;
  }
  for (uint8_t b : data) {
    line += Hex2(b);
    sum += b;
  }
  return line + Hex2(checksum >= 0 ? static_cast<uint32_t>(checksum) : ~sum);
}

inline Bytes Sequence(size_t n, uint8_t first = 1) {
  Bytes b(n);
  for (size_t k = 0; k < n; ++k) b[k] = static_cast<uint8_t>(first + k);
  return b;
}

inline void PutBE(Bytes& out, uint32_t v, int bytes) {
  for (int k = bytes - 1; k >= 0; --k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// A CP/M-68K command file: the header (data and bss starts only for 0x601B),
// then text and data.
struct CpmHeader {
  uint16_t Magic = 0x601A;
  uint32_t TextSize = 0, DataSize = 0, BssSize = 0, TextStart = 0, DataStart = 0, BssStart = 0;
};
inline Bytes CpmFile(const CpmHeader& h, const Bytes& text, const Bytes& data) {
  Bytes out;
  PutBE(out, h.Magic, 2);
  for (uint32_t v : {h.TextSize, h.DataSize, h.BssSize, 0x11111111u /* symbols */, 0x22222222u /* reserved */,
                     h.TextStart})
    PutBE(out, v, 4);
  PutBE(out, 0xFFFF, 2);  // relocation word
  if (h.Magic == 0x601B) {
    PutBE(out, h.DataStart, 4);
    PutBE(out, h.BssStart, 4);
  }
  out.insert(out.end(), text.begin(), text.end());
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// A VersaDOS load module: 256-byte header with the entry point, the LIB format
// and the load table ({start page, last page offset} words for format 0,
// {start address, last byte offset} longs for format 1), then the data.
struct VdosEntry {
  uint32_t Start, LastOffset;
};
inline Bytes VdosFile(uint8_t format, uint32_t entryPoint, const std::vector<VdosEntry>& table, const Bytes& data,
                      uint8_t reservedByte = 0) {
  Bytes out(256, 0);
  std::fill(out.begin(), out.begin() + 22, 0xA5);  // unused leading fields
  for (int k = 0; k < 4; ++k) out[22 + k] = static_cast<uint8_t>(entryPoint >> (24 - 8 * k));
  out[32] = format;
  out[40] = reservedByte;
  std::fill(out.begin() + 48, out.begin() + 176, 0x5A);  // segment descriptors, not used
  Bytes t;
  for (const auto& e : table) {
    PutBE(t, e.Start, format == 1 ? 4 : 2);
    PutBE(t, e.LastOffset, format == 1 ? 4 : 2);
  }
  std::copy(t.begin(), t.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(t.size(), 80)), out.begin() + 176);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// The whole address space plain RAM, zero, tags clear.
inline void AllRamMap() {
  for (auto& c : RamArray) c = MemoryCell{0, DcRam, 0};
}

inline uint8_t MemByte(uint32_t a) {
  const uint16_t w = CellOf(a).Data;
  return (a & 1) ? static_cast<uint8_t>(w & 0xFF) : static_cast<uint8_t>(w >> 8);
}

}  // namespace korva::test
