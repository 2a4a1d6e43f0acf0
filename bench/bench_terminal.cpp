// The CRT terminal engine on a 67 x 133 screen with a window that only counts
// what it is asked to paint:
//   PutChar and a full-screen scroll, in nanoseconds per call;
//   Outchar with ANSI off: 1 MB of 80-column lines ended by CR LF, scrolling at the bottom;
//   Outchar with ANSI on: 1 MB of coloured 80-column lines (a colour sequence before every word);
//   the regions that ESC[999M and ESC[999L report.
#include <chrono>
#include <cstdio>
#include <string>

#include "BenchTiming.h"
#include "host/Host.h"
#include "terminal/CrtTerminal.h"

using namespace korva;

namespace {

struct CountingHost final : CrtHost {
  long Cells = 0, Regions = 0;
  void CellChanged(int16_t, int16_t) override { ++Cells; }
  void RegionChanged(int16_t, int16_t, int16_t, int16_t) override { ++Regions; }
  void Beep() override {}
};

using Clock = std::chrono::steady_clock;

void Setup(classCrtTerminal& t, bool ansi) {
  ResetCrtDefinitions();
  SetDefaultControlAbilities(0);
  SetDefaultEscapeAbilities(0);
  t.InitDefinitions();
  t.SetNoWrap(False);
  t.SetANSI(ToVBool(ansi));
  t.Def().TextColor = 7;
  t.BlankScreen();
  t.ResizeScreen(133, 67);
}

// About one megabyte of 80-column lines, each ended by CR LF.
std::string PlainText() {
  std::string line;
  for (int i = 0; line.size() < 78; ++i) line += "word" + std::to_string(i % 10) + " ";
  line.resize(78);
  line += "\r\n";
  std::string all;
  while (all.size() < (1u << 20)) all += line;
  return all;
}

// About one megabyte of 80-column lines whose words each carry a colour sequence.
std::string AnsiText() {
  std::string all;
  int k = 0;
  while (all.size() < (1u << 20)) {
    int visible = 0;
    while (visible < 72) {
      all += "\x1b[" + std::to_string(30 + k % 8) + ";" + std::to_string(40 + (k + 3) % 8) + "m";
      all += "word ";
      visible += 5;
      ++k;
    }
    all += "\x1b[0m\r\n";
  }
  return all;
}

double BytesPerSecond(classCrtTerminal& t, const std::string& text) {
  const auto start = Clock::now();
  for (char c : text) t.Outchar(static_cast<uint8_t>(c));
  return text.size() / SecondsSince(start);
}

}  // namespace

int main() {
  CountingHost win;
  classCrtTerminal t(0, &win);

  Setup(t, false);
  constexpr int kPuts = 2000000;
  auto start = Clock::now();
  for (int i = 0; i < kPuts; ++i) {
    if (t.CursorColumn >= t.MaxColumn) t.CursorColumn = 0;
    t.PutChar(static_cast<uint8_t>('A' + i % 26));
  }
  const double putNs = SecondsSince(start) * 1e9 / kPuts;
  constexpr int kScrolls = 200000;
  start = Clock::now();
  for (int i = 0; i < kScrolls; ++i) t.ScrollUp();
  const double scrollNs = SecondsSince(start) * 1e9 / kScrolls;
  std::printf("bench_terminal: PutChar %.1f ns, full-screen scroll %.1f ns (67 x 133)\n", putNs, scrollNs);

  Setup(t, false);
  const std::string plain = PlainText();
  BytesPerSecond(t, plain);  // warm
  const double plainRate = BytesPerSecond(t, plain);
  std::printf("bench_terminal: abilities Outchar %.2f MB/s (1 MB of 80-column lines, CR LF, scrolling)\n",
              plainRate / 1e6);

  Setup(t, true);
  const std::string coloured = AnsiText();
  BytesPerSecond(t, coloured);
  const double ansiRate = BytesPerSecond(t, coloured);
  std::printf("bench_terminal: ANSI Outchar %.2f MB/s (1 MB of coloured 80-column lines, scrolling)\n",
              ansiRate / 1e6);

  for (const char* seq : {"\x1b[999M", "\x1b[999L"}) {
    win.Regions = 0;
    t.CursorLine = 10;
    for (const char* p = seq; *p; ++p) t.Outchar(static_cast<uint8_t>(*p));
    std::printf("bench_terminal: ESC[%s reports %ld region(s)\n", seq + 2, win.Regions);
  }
  return 0;
}
