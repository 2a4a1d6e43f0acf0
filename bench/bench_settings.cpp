// Start and exit with a large settings file: a profile file of 20,000 sections
// (each of five keys, as many console and window sections would leave behind)
// plus the program's own, read through the desktop host and saved the way the
// main window saves at exit (the clock's section, every exit key and the
// window's placement in one batch, then the end-of-run write).
//
//   bench_settings [sections]
//
// Ends with the line (medians of three runs):
//   bench: settings sections=N file_kb=K load_ms=L exit_ms=E unbatched_exit_ms=U
// load_ms is the start's read of every setting, exit_ms the time the program
// takes to end after its window closes, unbatched_exit_ms the same saves with
// the file written after every key.
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "board/Rtc1468hc18.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "host/qt/QtHost.h"
#include "shell/SettingsStore.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// Every run starts from the same file, without the clock's section, so the exit
// has something to write.
size_t WriteFile(const std::string& path, int sections) {
  std::string text = "[General]\nVdosVersion=1028\nThrottleCPU=3\n\n[Devices]\nConsoleType0=0\n\n";
  for (int s = 0; s < sections; ++s) {
    text += "[Window" + std::to_string(s) + "]\n";
    for (const char* key : {"Top", "Left", "Width", "Height", "WindowState"})
      text += std::string(key) + "=" + std::to_string(s % 997) + "\n";
    text += "\n";
  }
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  return text.size();
}

struct Run {
  double LoadMs = 0, ExitMs = 0;
};

Run RunOnce(const std::string& dir, int sections, bool batched, size_t& bytes) {
  bytes = WriteFile(dir + "/Korvan.ini", sections);
  Run r;
  QtHost host(dir);
  SetHost(&host);
  Clock::time_point t0 = Clock::now();
  InitializeSettings();
  Rtc.LoadSettings();
  r.LoadMs = Ms(t0);

  t0 = Clock::now();
  {
    std::optional<SettingsBatch> batch;
    if (batched) batch.emplace();
    Rtc.SaveSettings();
    SaveSettings();
    SaveSettingLong("Main", "WindowState", 0);
    SaveSettingLong("Main", "Top", 100);
    SaveSettingLong("Main", "Left", 100);
  }
  host.FinishSettings();
  r.ExitMs = Ms(t0);
  SetHost(nullptr);
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  const int sections = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
  QTemporaryDir dir;
  if (!dir.isValid()) {
    std::fprintf(stderr, "bench_settings: no temporary folder\n");
    return 1;
  }
  const std::string path = dir.path().toStdString();
  std::vector<double> load, exit, unbatched;
  size_t bytes = 0;
  for (int i = 0; i < 3; ++i) {
    const Run batchedRun = RunOnce(path, sections, true, bytes);
    load.push_back(batchedRun.LoadMs);
    exit.push_back(batchedRun.ExitMs);
    unbatched.push_back(RunOnce(path, sections, false, bytes).ExitMs);
  }
  // The saved file must hold what the exit wrote and every section it had.
  std::ifstream in(path + "/Korvan.ini", std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (saved.find("[MC1468HC18]\n") == std::string::npos ||
      saved.find("[Window" + std::to_string(sections - 1) + "]\n") == std::string::npos) {
    std::fprintf(stderr, "bench_settings: the saved file lacks what was saved\n");
    return 1;
  }
  std::printf("bench: settings sections=%d file_kb=%zu load_ms=%.1f exit_ms=%.1f unbatched_exit_ms=%.1f\n", sections,
              bytes / 1024, Median(load), Median(exit), Median(unbatched));
  return 0;
}
