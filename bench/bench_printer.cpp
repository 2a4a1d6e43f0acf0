// Cost of the printer window: one megabyte of mixed text and escapes (bold,
// underline, colours with and without high intensity, jobs with pitch and
// superscripts, CR LF line ends) through RenderPrinterChar into the page
// model, with the page's memory; then one refresh of the window's view
// showing that whole page. Each the median of three runs.
//
// Qt's platform comes from QT_QPA_PLATFORM, or is "offscreen" without a display.
// Ends with the line:
//   bench: printer render_MB_per_s=N page_MB=M runs=R view_refresh_ms=V
#include <QApplication>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "serial/ui/formPrinter.h"

using namespace korva;

namespace {

std::string MixedMegabyte() {
  const std::string esc = "\x1B";
  std::string mb;
  for (int line = 0; mb.size() < (1u << 20); ++line) {
    if (line % 40 == 0) mb += esc + "\x19";  // begin job
    mb += esc + static_cast<char>('0' + line % 8);
    if (line % 3 == 0) mb += esc + "H";
    for (int word = 0; word < 10; ++word) {
      if (word == 3) mb += esc + "\x02";  // bold on
      if (word == 5) mb += esc + "\x03" + esc + "\x05";  // bold off, underline on
      if (word == 7) mb += esc + "\x06" + esc + "\x0E";  // underline off, superscript on
      if (word == 8) mb += esc + "\x0F";
      for (int i = 0; i < 6; ++i) mb += static_cast<char>('a' + (line + word + i) % 26);
      mb += ' ';
    }
    mb += esc + "L";
    if (line % 40 == 20) mb += esc + "\x14";  // 12 cpi
    if (line % 40 == 39) mb += esc + "\x1C";  // end job
    mb += "\r\n";
  }
  mb.resize(1u << 20);
  return mb;
}
}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  const std::string mb = MixedMegabyte();

  std::vector<double> render, refresh;
  size_t pageBytes = 0, runs = 0;
  for (int run = 0; run < 3; ++run) {
    PrinterConsole core;
    core.PortNumber(8);
    core.Load();
    const BenchClock::time_point t0 = BenchClock::now();
    for (const char c : mb) core.RenderPrinterChar(static_cast<uint8_t>(c));
    render.push_back(SecondsSince(t0));
    pageBytes = core.Page().MemoryBytes();
    runs = core.Page().Runs().size();

    ui::formPrinter window;
    window.PortNumber(8);
    window.Load();
    for (const char c : mb) window.RenderPrinterChar(static_cast<uint8_t>(c));
    const BenchClock::time_point t1 = BenchClock::now();
    window.Refresh();
    refresh.push_back(SecondsSince(t1));
    const std::string& text = window.Page().Text();
    const auto breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (static_cast<size_t>(window.View()->document()->characterCount()) != text.size() - breaks + 1) {
      std::fprintf(stderr, "bench_printer: the view does not hold the page\n");
      return 1;
    }
  }
  std::printf("bench: printer render_MB_per_s=%.1f page_MB=%.1f runs=%zu view_refresh_ms=%.0f\n",
              1.0 / Median(render), static_cast<double>(pageBytes) / (1 << 20), runs, Median(refresh) * 1000.0);
  return 0;
}
