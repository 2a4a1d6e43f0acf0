// The desktop host: Qt event pump, dialogs, busy pointer, beep, and the settings
// store as one INI file per profile (AppTitle + profile name) in the user's
// configuration folder (host/SettingsFile.h). A settings file that cannot be
// read is named in one box when it is first needed; saves that fail are named
// in one box when the program ends (FinishSettings).
#pragma once
#include <chrono>
#include <memory>
#include <string>

#include "host/Host.h"
#include "host/SettingsFile.h"

class QTimer;

namespace korva {

class QtTimer;

class QtHost final : public HostServices {
 public:
  // configDir: the folder that holds the settings files; empty means
  // <the user's configuration folder>/Korva.
  explicit QtHost(const std::string& configDir = "");
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // Processes pending window messages at most once per PumpInterval: the main
  // loop and the polled device registers call it far more often than events can
  // arrive, and one pass of the Qt event loop costs far more than the clock read.
  void PumpEvents() override;
  void WaitEvents(int maxMs) override;
  static constexpr std::chrono::microseconds PumpInterval{250};
  // Run by every pump just before the pending events are processed, so that
  // what the machine drew since the last pump is on screen before the next
  // event is handled (the screen window copies its changed rectangle).
  static inline void (*BeforePump)() = nullptr;
  // The clock the pump measures its interval with; nullptr restores the steady clock.
  using PumpClock = std::chrono::steady_clock::time_point (*)();
  void SetPumpClock(PumpClock clock) { clock_ = clock ? clock : &std::chrono::steady_clock::now; }
  MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                       MsgIcon icon) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  void BeginBusy() override;
  void EndBusy() override;
  void Beep() override;
  std::string GetSetting(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
  void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;
  void HoldSettings() override;
  void ReleaseSettings() override;
  void FinishSettings() override;
  void SetApplicationName(const std::string& name) override;
  HostTimer& PeriodicTimer() override;
  // Qt's own file dialog (not the desktop's), with a "read-only" check box
  // (object name "readOnly") when opening without FileDialogFlags::HideReadOnly.
  // Filter patterns are offered in both letter cases, "*.*" as every file.
  FileDialogResult FileDialog(const FileDialogRequest& request) override;
  // A socket on Qt Network (host/qt/QtSocket.h).
  std::unique_ptr<HostSocket> CreateSocket() override;
  std::unique_ptr<HostNameLookup> LookupName(const std::string& address,
                                             std::function<void(const std::string& name)> answer) override;

  // The file that holds the current application's settings.
  std::string SettingsFilePath() const;

 private:
  // The current application's store, read when first needed.
  SettingsFile& Store();
  // Writes the store unless a hold is open; a failure is kept for FinishSettings.
  void WriteStore();

  std::string configDir_;
  std::string appName_ = AppTitle;
  std::unique_ptr<SettingsFile> store_;
  int holdDepth_ = 0;
  std::string saveFailure_;  // the last failed write: the file and why
  bool failureShown_ = false;
  int busyDepth_ = 0;
  PumpClock clock_ = &std::chrono::steady_clock::now;
  std::chrono::steady_clock::time_point lastPump_{};
  QTimer* waitTimer_ = nullptr;  // wakes WaitEvents when no event comes
  std::unique_ptr<QtTimer> periodic_;
};

}  // namespace korva
