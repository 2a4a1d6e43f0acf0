// Shared by the terminal definition fuzz targets: every port's definition set to
// values of its own before each load, so that a refused file that changed
// anything at all shows; the shape of a whole file, told apart from the loaders'
// own reading; and whole files made of any input, so that loads that succeed are
// checked from the first second too (random inputs seldom hold a magic and
// hundreds of bytes after it). A broken promise aborts, which libFuzzer reports.
#pragma once
#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFile.h"
#include "support/ScriptedHost.h"
#include "terminal/CrtDefinition.h"

namespace korva::fuzz {

using AllDefinitions = std::array<CrtDefinition, DevicePorts>;

// No field is zero or empty, and no table entry is one a file's byte can give.
// Parity and the cursor type stay in their ranges: a short form of the abilities
// file applies the ones the definition already holds.
inline const AllDefinitions& MarkedDefinitions() {
  static const AllDefinitions marked = [] {
    AllDefinitions all;
    for (size_t p = 0; p < all.size(); ++p) {
      CrtDefinition& d = all[p];
      int16_t next = static_cast<int16_t>(100 * p + 1);
      d.Initialized = True;
      for (int16_t* v : {&d.GotoSize, &d.GotoSizeXY, &d.GotoOffsetX, &d.GotoOffsetY, &d.XYType, &d.GotoValueOffsetX,
                         &d.GotoValueOffsetY, &d.NoWrap, &d.ScrollLock, &d.Lines, &d.Columns, &d.Ascii, &d.Parity,
                         &d.ANSI, &d.Insert, &d.AutoLF, &d.AutoCR, &d.CursorType, &d.CursorFront})
        *v = next++;
      d.Parity = static_cast<int16_t>(3 - p % 3);
      d.CursorType = static_cast<int16_t>(5 - p % 5);
      d.TextColor = next++;
      d.BackColor = next++;
      d.TabFile = "t" + std::to_string(p);
      d.FkyFile = "f" + std::to_string(p);
      d.KbdFile = "k" + std::to_string(p);
      int n = 0;
      for (KeyRow& row : d.NavigationKeys)
        for (KeyString& s : row) s = "n" + std::to_string(p) + "." + std::to_string(n++);
      for (KeyRow& row : d.FunctionKeys)
        for (KeyString& s : row) s = "f" + std::to_string(p) + "." + std::to_string(n++);
      for (KeyRow& row : d.EditingKeys)
        for (KeyString& s : row) s = "e" + std::to_string(p) + "." + std::to_string(n++);
      for (size_t i = 0; i < 256; ++i) {
        d.SCC[i] = static_cast<int32_t>(1000 + i);
        d.ECC[i] = static_cast<int32_t>(2000 + i);
      }
    }
    return all;
  }();
  return marked;
}

// The host that records the loaders' message boxes, emptied for each input.
inline ScriptedHost& FreshHost() {
  static ScriptedHost host;
  host.ClearCalls();
  return host;
}

inline size_t Boxes(const ScriptedHost& host) { return host.CallsOf(HostCall::Kind::MessageBox).size(); }

// A refused file leaves every port as it was and says why in one box; a loaded
// one says nothing and changes port 0 only where expected (port 0 of marked with
// the loaded fields copied in by the target) holds.
inline void CheckLoad(bool loaded, const ScriptedHost& host, const CrtDefinition& expected) {
  const AllDefinitions& marked = MarkedDefinitions();
  if (!loaded) {
    if (CrtDefinitions != marked || Boxes(host) != 1) std::abort();
    return;
  }
  if (Boxes(host) != 0 || !(CrtDefinitions[0] == expected)) std::abort();
  for (size_t p = 1; p < CrtDefinitions.size(); ++p)
    if (!(CrtDefinitions[p] == marked[p])) std::abort();
}

inline uint32_t LE32(const uint8_t* b) {
  return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
         static_cast<uint32_t>(b[3]) << 24;
}

// The magic and then strings counted strings, each a 32-bit count and its bytes, all inside the data.
inline bool WholeKeyFile(const uint8_t* data, size_t size, uint32_t magic, int strings) {
  if (size < 4 || LE32(data) != magic) return false;
  size_t pos = 4;
  for (int i = 0; i < strings; ++i) {
    if (size - pos < 4) return false;
    const uint32_t count = LE32(data + pos);
    pos += 4;
    if (count > size - pos) return false;
    pos += count;
  }
  return true;
}

inline void PutLE32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A whole key file of any input: the magic, then each string as long as the
// next input byte says (at most 15) and made of the bytes after it, zeros once
// the input runs out.
inline std::vector<uint8_t> KeyFileFrom(const uint8_t* data, size_t size, uint32_t magic, int strings) {
  std::vector<uint8_t> file;
  PutLE32(file, magic);
  size_t pos = 0;
  const auto next = [&]() -> uint8_t { return pos < size ? data[pos++] : 0; };
  for (int i = 0; i < strings; ++i) {
    const uint8_t count = next() & 15;
    PutLE32(file, count);
    for (int k = 0; k < count; ++k) file.push_back(next());
  }
  return file;
}

// One input to a key-file target: loaded as it is, then as a whole file made
// of it. A load must take exactly the whole files; a loaded file may change
// only the fields keep copies into the expected definition, a refused one none.
template <typename Load, typename Keep>
int FuzzKeyFile(const uint8_t* data, size_t size, uint32_t magic, int strings, Load load, Keep keep) {
  const auto one = [&](const uint8_t* bytes, size_t n) {
    ScriptedHost& host = FreshHost();
    CrtDefinitions = MarkedDefinitions();
    const bool loaded = load(WriteNewScratch(bytes, n), 0);
    if (loaded != WholeKeyFile(bytes, n, magic, strings)) std::abort();
    CrtDefinition expected = MarkedDefinitions()[0];
    keep(expected, CrtDefinitions[0]);
    CheckLoad(loaded, host, expected);
  };
  one(data, size);
  const std::vector<uint8_t> whole = KeyFileFrom(data, size, magic, strings);
  one(whole.data(), whole.size());
  return 0;
}

}  // namespace korva::fuzz
