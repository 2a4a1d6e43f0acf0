// Cost of the screen window while the guest draws: bench/screen_loop.s, a boot
// ROM that rewrites the whole text screen over and over (every cell changes on
// every pass), runs from a power-on reset through RunMachine at the default
// throttle, once with no window and once with the screen window shown. The
// event pump is timed in both runs; with the window it includes copying the
// changed rectangle of the picture and the repaint.
//
//   bench_screenwin [screen_loop.s19]
//
// Qt's platform comes from QT_QPA_PLATFORM, or is "offscreen" without a display.
// Ends with the line (medians of three runs each way):
//   bench: screen_window pump_share=P% no_window_pump_share=Q% slowdown=S%
// pump_share is the share of the run spent in the event pump with the window
// shown; slowdown is how much longer the run took than without a window.
#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "board/ui/ScreenWindows.h"
#include "BenchHost.h"
#include "BenchTiming.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/SystemReset.h"
#include "host/Host.h"
#include "host/qt/QtHost.h"
#include "shell/PlugFlags.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

struct Run {
  bool Ok = false;
  double Seconds = 0, PumpShare = 0;
};

Run RunRom(QtHost& qt, const std::string& rom, bool window) {
  Run r;
  BenchHost host("bench_screenwin", &qt);
  host.RomPath = rom;
  SetHost(&host);
  BuildMemoryMap();
  MovePhysEn = False;
  BuildCpuTables(Cpu68010);
  CpuThrottleMask = 1023;
  QuitRequested = False;
  if (window) ui::KeyboardDisplayShow(0);
  SystemReset(True);
  InstructionCount = 0;

  const Clock::time_point t0 = Clock::now();
  RunMachine();
  r.Seconds = SecondsSince(t0);
  if (window) ui::UnloadKeyboardDisplay();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  SetHost(nullptr);
  r.PumpShare = 100.0 * host.PumpSeconds / r.Seconds;
  r.Ok = CpuDReg[7] == 0x600DC0DEu;
  std::printf("%s: %u instructions in %.3f s, %llu pumps taking %.4f s (%.2f%%)%s\n",
              window ? "window shown" : "no window", static_cast<uint32_t>(InstructionCount), r.Seconds,
              static_cast<unsigned long long>(host.Pumps), host.PumpSeconds, r.PumpShare,
              r.Ok ? "" : ", the ROM did not end well");
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  const std::string rom = argc > 1 ? argv[1] : std::string(KORVA_BENCH_DIR) + "/screen_loop.s19";
  QTemporaryDir dir;
  QtHost qt(dir.path().toStdString());
  std::printf("bench_screenwin on Qt platform %s\n", QGuiApplication::platformName().toUtf8().constData());
  // A first run warms the caches; then three pairs, of which the medians count.
  bool ok = RunRom(qt, rom, false).Ok;
  std::vector<double> shownShare, bareShare, slowdown;
  for (int i = 0; i < 3; ++i) {
    const Run bare = RunRom(qt, rom, false);
    const Run shown = RunRom(qt, rom, true);
    ok = ok && bare.Ok && shown.Ok;
    bareShare.push_back(bare.PumpShare);
    shownShare.push_back(shown.PumpShare);
    slowdown.push_back(100.0 * (shown.Seconds - bare.Seconds) / bare.Seconds);
  }
  std::printf("bench: screen_window pump_share=%.2f%% no_window_pump_share=%.2f%% slowdown=%.2f%%\n",
              Median(shownShare), Median(bareShare), Median(slowdown));
  return ok ? 0 : 1;
}
