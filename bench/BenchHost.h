// The hosts the benchmarks run on. QuietHost answers every dialog at once and
// keeps no settings; a benchmark gives it the event pump it needs. BenchHost,
// the guest benchmarks' host, serves the boot ROM's path from its settings,
// times every event pump and ends the main loop once the guest waits in its
// final STOP. It may pass the pumps on to another host (the Qt host of the
// window benchmark).
#pragma once
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "cpu/ControlStore.h"
#include "cpu/MainLoop.h"
#include "host/Host.h"

namespace korva {

class QuietHost : public HostServices {
 public:
  MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override { return MsgAnswer::OK; }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void Beep() override {}
  std::string GetSetting(const std::string&, const std::string&, const std::string& d) override { return d; }
  void SaveSetting(const std::string&, const std::string&, const std::string&) override {}
};

class BenchHost final : public QuietHost {
 public:
  using Clock = std::chrono::steady_clock;
  // name prefixes the reports of unexpected boxes; pumps go on to passOn when given.
  explicit BenchHost(const char* name, HostServices* passOn = nullptr) : name_(name), passOn_(passOn) {}

  std::string RomPath;
  double PumpSeconds = 0;
  uint64_t Pumps = 0;
  bool InternalError = false;

  void PumpEvents() override {
    const Clock::time_point t0 = Clock::now();
    ++Pumps;
    if (passOn_) passOn_->PumpEvents();
    if (CallsAt(mcPC, Mcr::mcrStopWait)) QuitRequested = True;
    PumpSeconds += std::chrono::duration<double>(Clock::now() - t0).count();
  }
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons, MsgIcon) override {
    if (title == "NO Font") return MsgAnswer::OK;  // the benchmarks have no character font
    std::fprintf(stderr, "%s: %s: %s\n", name_, title.c_str(), text.c_str());
    if (title == "Internal Error") {
      InternalError = true;
      QuitRequested = True;
    }
    return MsgAnswer::OK;
  }
  std::string GetSetting(const std::string& section, const std::string& key, const std::string& d) override {
    return section == "General" && key == "RomFilename" && !RomPath.empty() ? RomPath : d;
  }

 private:
  const char* name_;
  HostServices* passOn_;
};

}  // namespace korva
