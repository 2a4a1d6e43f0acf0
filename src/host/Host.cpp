#include "host/Host.h"

#include "host/DateTime.h"
#include "host/HostTimer.h"

namespace korva {

namespace {
// Answers everything without a desktop: used before the program installs its host.
class SilentHost final : public HostServices {
 public:
  void PumpEvents() override {}
  MsgAnswer MessageBox(const std::string&, const std::string&, MsgButtons buttons, MsgIcon) override {
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::OK;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void Beep() override {}
  std::string GetSetting(const std::string&, const std::string&, const std::string& defaultValue) override {
    return defaultValue;
  }
  void SaveSetting(const std::string&, const std::string&, const std::string&) override {}
};
SilentHost silentHost;
}  // namespace

HostServices* CurrentHost = &silentHost;
bool LoopAttention = false;

double HostServices::Now() { return SystemNow(); }

HostTimer& HostServices::PeriodicTimer() {
  static HostTimer quiet;
  return quiet;
}

void SetHost(HostServices* host) { CurrentHost = host ? host : &silentHost; }

}  // namespace korva
