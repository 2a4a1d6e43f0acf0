// A host for tests: it records every call, answers dialogs from a script and keeps
// the settings in memory, so that no test ever waits on a window.
//
//   ScriptedHost host;            // installs itself; the destructor uninstalls it
//   host.AnswerInput("133");      // the next input box returns "133"
//   host.AnswerMessage(MsgAnswer::No);
//   ... code under test ...
//   EXPECT_EQ(host.CallsOf(HostCall::Kind::MessageBox)[0].Title, "...");
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/HostSocket.h"
#include "host/HostTimer.h"
#include "support/ScriptedSocket.h"

namespace korva {

// A periodic timer that ticks only when the test says so.
class ScriptedTimer final : public HostTimer {
 public:
  // Delivers count ticks, none while the timer is not running; returns how many ran.
  int Fire(int count = 1);
  int32_t Changes = 0;  // writes of the interval or the enabled flag

 protected:
  void Apply() override { ++Changes; }
};

struct HostCall {
  enum class Kind {
    MessageBox, InputBox, BeginBusy, EndBusy, Beep, GetSetting, SaveSetting, SetApplicationName, FileDialog
  };
  Kind What = Kind::MessageBox;
  std::string Text;     // message or prompt; setting key; application name; file name shown
  std::string Title;    // dialog title; setting section
  std::string Value;    // input default; setting default or saved value
  MsgButtons Buttons = MsgButtons::OK;
  MsgIcon Icon = MsgIcon::None;
};

class ScriptedHost final : public HostServices {
 public:
  // install: make this the current host for the object's lifetime.
  explicit ScriptedHost(bool install = true);
  ~ScriptedHost() override;
  ScriptedHost(const ScriptedHost&) = delete;
  ScriptedHost& operator=(const ScriptedHost&) = delete;

  // ---- The script: answers are used in order. Without a scripted answer a
  // message box is answered with its first button and an input box is cancelled.
  void AnswerMessage(MsgAnswer answer) { messageAnswers_.push_back(answer); }
  void AnswerInput(const std::string& text) { inputAnswers_.push_back(text); }
  void CancelInput() { inputAnswers_.push_back(std::nullopt); }
  // File dialogs: choose path (the read-only box ticked or not), cancel, or fail.
  // Without a scripted answer a file dialog is cancelled.
  void AnswerFile(const std::string& path, bool readOnly = false);
  void CancelFile() { fileAnswers_.push_back({}); }
  void FailFile(int32_t number, const std::string& source, const std::string& description);
  // Runs inside every PumpEvents, e.g. to play a menu command in the middle of a bus cycle.
  std::function<void()> OnPumpEvents;

  // ---- What happened.
  std::vector<HostCall> Calls;  // every call but PumpEvents, in order
  std::vector<FileDialogRequest> FileDialogs;  // every file dialog's request, in order
  int64_t PumpCount = 0;
  int32_t BusyDepth = 0;  // BeginBusy minus EndBusy
  std::vector<HostCall> CallsOf(HostCall::Kind kind) const;
  void ClearCalls();
  std::string ApplicationName() const { return applicationName_; }

  // ---- Settings: one store per application name, names compared without regard to case.
  void PresetSetting(const std::string& section, const std::string& key, const std::string& value);
  std::optional<std::string> StoredSetting(const std::string& section, const std::string& key) const;
  void ClearSettings() { settings_.clear(); }
  // The writes a store held in one file would make: one per save outside a
  // hold, one per outermost hold that saved something.
  int64_t SettingsWrites = 0;
  int32_t SettingsHeld = 0;  // open holds

  // ---- The clock: Now() answers Clock, which only the test moves.
  double Clock;  // starts at 2024-06-15 12:00:00
  void AdvanceClock(int32_t seconds) { Clock += seconds / 86400.0; }
  ScriptedTimer Timer;  // the periodic timer

  // ---- Sockets: CreateSocket makes a ScriptedSocket (listed here while it
  // lives; each pump runs its Pump), or what SocketMaker makes when it is set
  // (a test of real sockets sets it to make Qt ones).
  std::vector<ScriptedSocket*> Sockets;
  std::function<std::unique_ptr<HostSocket>()> SocketMaker;

  // ---- Name lookups: each LookupName is listed here, in order, and answered
  // only when the test calls AnswerLookup; or LookupMaker makes it (a test of
  // real sockets sets it to the Qt lookup).
  struct Lookup {
    std::string Address;
    std::function<void(const std::string&)> Answer;
    bool Cancelled = false;  // its owner destroyed the lookup
    bool Answered = false;
  };
  std::vector<std::shared_ptr<Lookup>> Lookups;
  // Gives lookup `index` its answer; false (nothing called) when it was
  // cancelled or answered before.
  bool AnswerLookup(size_t index, const std::string& name);
  std::function<std::unique_ptr<HostNameLookup>(const std::string&, std::function<void(const std::string&)>)>
      LookupMaker;

  // HostServices
  double Now() override { return Clock; }
  HostTimer& PeriodicTimer() override { return Timer; }
  void PumpEvents() override;
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
  void SetApplicationName(const std::string& name) override;
  void HoldSettings() override { ++SettingsHeld; }
  void ReleaseSettings() override;
  FileDialogResult FileDialog(const FileDialogRequest& request) override;
  std::unique_ptr<HostSocket> CreateSocket() override;
  std::unique_ptr<HostNameLookup> LookupName(const std::string& address,
                                             std::function<void(const std::string& name)> answer) override;

 private:
  struct Stored {
    std::string Application, Section, Key, Value;
  };
  void Record(HostCall::Kind kind, const std::string& text = "", const std::string& title = "",
              const std::string& value = "", MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None);
  Stored* Find(const std::string& section, const std::string& key);
  const Stored* Find(const std::string& section, const std::string& key) const;

  bool installed_;
  std::deque<MsgAnswer> messageAnswers_;
  std::deque<std::optional<std::string>> inputAnswers_;
  std::deque<FileDialogResult> fileAnswers_;
  std::string applicationName_ = AppTitle;
  std::vector<Stored> settings_;
  bool heldSaves_ = false;  // a save was made under the open holds
};

}  // namespace korva
