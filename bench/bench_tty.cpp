// Cost of the TTY console: one megabyte of guest text through Outchar (lines of
// 78 characters, a TAB now and then, CR LF), and one refresh of the window's
// view holding a full text (24,000 characters shown anew), each the median of
// five runs; and the megabyte again with the window's events served every 256
// bytes (the view shown as a guest writing without pause sees it).
//
// Qt's platform comes from QT_QPA_PLATFORM, or is "offscreen" without a display.
// Ends with the line:
//   bench: tty outchar_MB_per_s=N full_refresh_ms=M shown_MB_per_s=S
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "serial/ui/formTerminal.h"

using namespace korva;

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  ui::formTerminal tty;
  tty.OpenTerminal(0, 0);  // loaded and shown, as the user sees it
  QCoreApplication::processEvents();

  std::string megabyte;
  for (int line = 0; megabyte.size() < (1u << 20); ++line) {
    for (int i = 0; i < 78; ++i) megabyte += static_cast<char>('!' + (line + i) % 90);
    if (line % 4 == 0) megabyte += '\t';
    megabyte += "\r\n";
  }
  megabyte.resize(1u << 20);

  std::vector<double> outchar, refresh, shown;
  for (int run = 0; run < 5; ++run) {
    const Clock::time_point t0 = Clock::now();
    for (const char c : megabyte) tty.Outchar(static_cast<uint8_t>(c));
    outchar.push_back(SecondsSince(t0));
    QCoreApplication::processEvents();

    tty.Clear();  // a rewrite: the next refresh sets the whole text
    for (size_t i = 0; i < 24000 - 2; ++i) tty.Outchar(static_cast<uint8_t>(megabyte[i]));
    const Clock::time_point t1 = Clock::now();
    tty.Refresh();
    QCoreApplication::processEvents();  // the repaint that follows
    refresh.push_back(SecondsSince(t1));

    // The same megabyte with the window's events served every 256 bytes, as
    // the main loop's pumps serve them while a guest writes without pause.
    const Clock::time_point t2 = Clock::now();
    for (size_t i = 0; i < megabyte.size(); ++i) {
      tty.Outchar(static_cast<uint8_t>(megabyte[i]));
      if ((i & 255) == 255) QCoreApplication::processEvents();
    }
    shown.push_back(SecondsSince(t2));
  }
  std::printf("bench: tty outchar_MB_per_s=%.1f full_refresh_ms=%.2f shown_MB_per_s=%.1f\n",
              1.0 / Median(outchar), Median(refresh) * 1000.0, 1.0 / Median(shown));
  return 0;
}
