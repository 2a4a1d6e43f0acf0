// Terminal tests' helpers: the visible grid as text and as attributes, and a
// window stand-in that records what the terminal asks of it.
#pragma once
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "terminal/CrtTerminal.h"

namespace korva::test {

// The visible lines, each ended by "\n"; trailing blanks kept.
inline std::string ScreenText(const classCrtTerminal& t) {
  std::string s;
  for (int l = 0; l <= t.MaxLine; ++l) {
    for (int c = 0; c <= t.MaxColumn; ++c) s.push_back(static_cast<char>(t.Cell(c, l).Char));
    s.push_back('\n');
  }
  return s;
}

// One visible line without its trailing blanks.
inline std::string LineText(const classCrtTerminal& t, int line) {
  std::string s;
  for (int c = 0; c <= t.MaxColumn; ++c) s.push_back(static_cast<char>(t.Cell(c, line).Char));
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

// The visible attributes, four hexadecimal digits per cell without the cursor
// mark, cells separated by blanks and lines by "\n".
inline std::string ScreenAttrs(const classCrtTerminal& t) {
  std::string s;
  char buf[8];
  for (int l = 0; l <= t.MaxLine; ++l) {
    for (int c = 0; c <= t.MaxColumn; ++c) {
      std::snprintf(buf, sizeof buf, c ? " %04X" : "%04X", t.Cell(c, l).Attr & ~CellAttr::CursorMark & 0xFFFF);
      s += buf;
    }
    s.push_back('\n');
  }
  return s;
}

// The cursor as (line, column).
using Pos = std::pair<int, int>;
inline Pos CursorOf(const classCrtTerminal& t) { return {t.CursorLine, t.CursorColumn}; }

inline void Feed(classCrtTerminal& t, const std::string& bytes) {
  for (char c : bytes) t.Outchar(static_cast<uint8_t>(c));
}

struct RecordingCrtHost final : CrtHost {
  struct Region {
    int16_t Line1, Line2, Column1, Column2;
  };
  std::vector<std::pair<int16_t, int16_t>> Cells;  // (column, line)
  std::vector<Region> Regions;
  std::vector<uint8_t> Sent;  // only when ToCable is off
  bool ToCable = false;        // send, flush and break reach the cable
  int Beeps = 0, Flushes = 0, ModeChanges = 0;
  std::vector<VBool> Breaks;
  std::vector<std::pair<int16_t, int16_t>> Resizes;  // (columns, lines)
  void CellChanged(int16_t column, int16_t line) override { Cells.emplace_back(column, line); }
  void RegionChanged(int16_t l1, int16_t l2, int16_t c1, int16_t c2) override { Regions.push_back({l1, l2, c1, c2}); }
  void Beep() override { ++Beeps; }
  void SendToPort(int16_t port, const uint8_t* b, size_t n) override {
    if (ToCable) return CrtHost::SendToPort(port, b, n);
    Sent.insert(Sent.end(), b, b + n);
  }
  void FlushPortQueue(int16_t port) override {
    ++Flushes;
    if (ToCable) CrtHost::FlushPortQueue(port);
  }
  void SetPortBreak(int16_t port, VBool on) override {
    Breaks.push_back(on);
    if (ToCable) CrtHost::SetPortBreak(port, on);
  }
  void ScreenResized(int16_t c, int16_t l) override { Resizes.emplace_back(c, l); }
  void ModesChanged() override { ++ModeChanges; }
  void Clear() {
    const bool toCable = ToCable;
    *this = RecordingCrtHost{};
    ToCable = toCable;
  }
};

}  // namespace korva::test
