// Cost of the printer window: one megabyte of mixed text and escapes (bold,
// underline, colours with and without high intensity, jobs with pitch and
// superscripts, CR LF line ends) through RenderPrinterChar into the page
// model, with the page's memory; then one refresh of the window's view
// showing that whole page. Each the median of three runs.
//
// Before those, a shown window as it is while a guest prints without pause
// (the window's events served every 256 bytes): the process's resident memory
// with the empty window (rss_MB), the resident memory it gains per character
// of the page over the first megabyte, and the resident memory after 100
// megabytes with their speed (the page keeps its newest characters only).
//
// Qt's platform comes from QT_QPA_PLATFORM, or is "offscreen" without a display.
// Ends with the line:
//   bench: printer render_MB_per_s=N page_MB=M runs=R view_refresh_ms=V
//          shown_rss_per_page_byte=B shown_MB_per_s=S rss_MB=R0 rss_after_100MB_MB=R100
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextEdit>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

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

// The process's resident memory in bytes.
double ResidentBytes() {
  long pages = 0, resident = 0;
  if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

constexpr int kShownMegabytes = 100;

// Prints bytes to a shown window as the main loop's pumps see a guest printing
// without pause: the window's events are served every 256 bytes.
void PrintShown(ui::formPrinter& window, const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    window.Outchar(static_cast<uint8_t>(bytes[i]));
    if ((i & 255) == 255) QCoreApplication::processEvents();
  }
}

// The view shows the whole page and has laid out all of it.
void ShowAll(ui::formPrinter& window) {
  QCoreApplication::processEvents();
  window.Refresh();
  window.View()->document()->documentLayout()->documentSize();
  QCoreApplication::processEvents();
}

// The view holds as many characters as the page, a line break for a CR LF.
bool ViewHoldsPage(const ui::formPrinter& window) {
  const std::string& text = window.Page().Text();
  const auto breaks = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  if (static_cast<size_t>(window.View()->document()->characterCount()) == text.size() - breaks + 1) return true;
  std::fprintf(stderr, "bench_printer: the view does not hold the page\n");
  return false;
}
}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  const std::string mb = MixedMegabyte();

  // A shown window first, while the heap holds nothing of the other runs:
  // resident memory per page character after one megabyte, then after 100.
  ui::formPrinter shown;
  shown.OpenPrinter(8, 0);
  QCoreApplication::processEvents();
  const double before = ResidentBytes();
  PrintShown(shown, mb);
  ShowAll(shown);
  const double perByte = (ResidentBytes() - before) / static_cast<double>(shown.Page().Length());
  const BenchClock::time_point t2 = BenchClock::now();
  for (int i = 1; i < kShownMegabytes; ++i) PrintShown(shown, mb);
  ShowAll(shown);
  const double shownSeconds = SecondsSince(t2);
  const double after = ResidentBytes();
  if (!ViewHoldsPage(shown)) return 1;

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
    if (!ViewHoldsPage(window)) return 1;
  }

  std::printf("bench: printer render_MB_per_s=%.1f page_MB=%.1f runs=%zu view_refresh_ms=%.0f"
              " shown_rss_per_page_byte=%.1f shown_MB_per_s=%.1f rss_MB=%.0f rss_after_100MB_MB=%.0f\n",
              1.0 / Median(render), static_cast<double>(pageBytes) / (1 << 20), runs, Median(refresh) * 1000.0,
              perByte, (kShownMegabytes - 1) / shownSeconds, before / (1 << 20), after / (1 << 20));
  return 0;
}
