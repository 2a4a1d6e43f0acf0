// Cost of the CRT window: 1,000 guest lines (78 characters with a colour change
// now and then, CR LF, so the screen scrolls at each) given to Outchar between
// two pumps of an 80 x 24 window, then the one paint of the next pump; each the
// median of five runs. Guest bytes per second count the Outchar calls and the
// paint together.
//
// Qt's platform comes from QT_QPA_PLATFORM, or is "offscreen" without a display.
// Ends with the line:
//   bench: crt guest_bytes_per_s=N outchar_bytes_per_s=N paint_ms=M paints_per_burst=P
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "serial/Consoles.h"
#include "terminal/ui/formCRT.h"

using namespace korva;

namespace {
using Clock = std::chrono::steady_clock;
}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  CrtDefaultFolder = "/nonexistent";  // the built-in definitions only
  ui::InstallCRTWindows();
  ConsoleType[1] = ConsoleCRT;
  OpenCRTConsole(1);
  auto* crt = dynamic_cast<ui::formCRT*>(CRTForms[1]);
  if (!crt) return 1;
  QCoreApplication::processEvents();

  std::string burst;
  for (int line = 0; line < 1000; ++line) {
    if (line % 8 == 0) burst += "\x1b[3" + std::to_string(line % 7 + 1) + "m";
    for (int i = 0; i < 78; ++i) burst += static_cast<char>('!' + (line + i) % 90);
    if (line % 8 == 7) burst += "\x1b[0m";
    burst += "\r\n";
  }

  std::vector<double> outchar, paint, total;
  int64_t paints = 0;
  for (int run = 0; run < 5; ++run) {
    const int64_t before = crt->Paints();
    const Clock::time_point t0 = Clock::now();
    for (const char c : burst) crt->Outchar(static_cast<uint8_t>(c));
    const Clock::time_point t1 = Clock::now();
    QCoreApplication::processEvents();
    const Clock::time_point t2 = Clock::now();
    paints = crt->Paints() - before;
    outchar.push_back(std::chrono::duration<double>(t1 - t0).count());
    paint.push_back(std::chrono::duration<double>(t2 - t1).count());
    total.push_back(std::chrono::duration<double>(t2 - t0).count());
  }
  const double bytes = static_cast<double>(burst.size());
  std::printf("bench: crt guest_bytes_per_s=%.0f outchar_bytes_per_s=%.0f paint_ms=%.2f paints_per_burst=%lld\n",
              bytes / Median(total), bytes / Median(outchar), Median(paint) * 1000.0,
              static_cast<long long>(paints));
  DestroyConsoleWindows();
  return 0;
}
