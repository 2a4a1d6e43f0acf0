// Any settings file loads: every value that indexes a table or names a choice
// ends up within its range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "disk/DiskSettings.h"
#include "host/CodePage.h"
#include "host/Host.h"
#include "host/IniFile.h"
#include "serial/Consoles.h"
#include "shell/BootDrive.h"
#include "shell/MainFormHooks.h"
#include "shell/SettingsStore.h"
#include "shell/ShellSettings.h"

namespace {

class FileHost final : public korva::HostServices {
 public:
  std::vector<korva::IniEntry> Entries;
  void PumpEvents() override {}
  korva::MsgAnswer MessageBox(const std::string&, const std::string&, korva::MsgButtons, korva::MsgIcon) override {
    return korva::MsgAnswer::OK;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void BeginBusy() override {}
  void EndBusy() override {}
  void Beep() override {}
  std::string GetSetting(const std::string& section, const std::string& key, const std::string& dflt) override {
    for (const korva::IniEntry& e : Entries)
      if (korva::EqualsNoCase(e.Section, section) && korva::EqualsNoCase(e.Key, key)) return e.Value;
    return dflt;
  }
  void SaveSetting(const std::string&, const std::string&, const std::string&) override {}
};

bool Within(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace korva;
  FileHost host;
  host.Entries = ParseIni(std::string_view(reinterpret_cast<const char*>(data), size));
  SetHost(&host);
  InitializeSettings();
  SetHost(nullptr);
  bool ok = Within(BootDrive, 0, 3) && Within(BootType, 0, 6) && Within(DropFormat, 0, 5) && Within(BugType, 0, 1);
  for (int b = 0; b < ThrottleBarCount; ++b)
    ok = ok && Within(MainForm->ThrottleBarPosition(static_cast<ThrottleBar>(b)), 0, 15);
  for (int32_t kind : ConsoleType) ok = ok && Within(kind, ConsoleNone, ConsoleKindLast);
  for (int16_t type : RwinDiskType) ok = ok && Within(type, 0, 4);
  if (!ok) std::abort();
  return 0;
}
