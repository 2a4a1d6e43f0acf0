// The host layer: what the emulated machine asks of the desktop it runs on.
// The core calls only these functions; a Qt implementation and a scripted test
// implementation stand behind them.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace korva {

class HostTimer;   // host/HostTimer.h
class HostSocket;  // host/HostSocket.h
class HostNameLookup;  // host/HostSocket.h

enum class MsgButtons { OK, OKCancel, YesNo };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { OK, Cancel, Yes, No };

// An open or save file dialog, as the caller fills it.
struct FileDialogRequest {
  bool Save = false;             // the save dialog, else the open dialog
  std::string Title;
  std::string InitialDirectory;  // a folder, ending in "/" or not
  // Description and patterns alternating, separated by "|":
  // "Text File (*.txt)|*.txt|All Files (*.*)|*.*". Patterns are separated by ";".
  std::string Filter;
  int32_t FilterIndex = 1;        // the filter shown first, counted from 1
  std::string DefaultExtension;   // added to a typed name without one
  std::string FileName;           // the name shown at the start
  int32_t Flags = 0;              // FileDialogFlags
};

// The dialog flags of a request, and of a result (ReadOnly).
namespace FileDialogFlags {
constexpr int32_t ReadOnly = 0x1;          // result: the read-only box was ticked
constexpr int32_t OverwritePrompt = 0x2;   // saving: ask before replacing a file
constexpr int32_t HideReadOnly = 0x4;      // no read-only box
constexpr int32_t PathMustExist = 0x800;
constexpr int32_t FileMustExist = 0x1000;
constexpr int32_t NoReadOnlyReturn = 0x8000;
constexpr int32_t LongNames = 0x200000;
}  // namespace FileDialogFlags

struct FileDialogResult {
  enum class Outcome { Chosen, Cancelled, Failed };
  Outcome What = Outcome::Cancelled;
  std::string Path;       // the chosen file's full path
  std::string FileTitle;  // its name without the folder
  bool ReadOnly = false;  // the read-only box was ticked
  // A failure: what raised it, its number and its description.
  std::string ErrorSource;
  int32_t ErrorNumber = 0;
  std::string ErrorDescription;
};

// The program's title; the settings are kept under the application name formed by
// the title followed by the profile name.
inline constexpr char AppTitle[] = "Korvan";

class HostServices {
 public:
  virtual ~HostServices() = default;
  // Process pending window messages once. Must be cheap when nothing is pending.
  virtual void PumpEvents() = 0;
  // Process pending window messages, waiting up to maxMs for one to arrive when
  // none is pending (used while the processor is stopped or halted, so that the
  // program does not spin a host core). The default processes them once.
  virtual void WaitEvents(int maxMs) {
    (void)maxMs;
    PumpEvents();
  }
  // Text is in the machine's code page (Windows-1252); the host converts.
  virtual MsgAnswer MessageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                               MsgIcon icon) = 0;
  // Returns the entered text, or nothing when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  virtual void BeginBusy() = 0;  // hourglass pointer
  virtual void EndBusy() = 0;
  virtual void Beep() = 0;
  // Settings under the current application name (title followed by the profile name).
  virtual std::string GetSetting(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) = 0;
  virtual void SaveSetting(const std::string& section, const std::string& key, const std::string& value) = 0;
  // Saves made while held are written together when the outermost hold ends:
  // the exit saves about a hundred keys into one file, written once. Use
  // SettingsBatch (host/Settings.h) rather than calling these directly.
  virtual void HoldSettings() {}
  virtual void ReleaseSettings() {}
  // Called once as the program ends, after its last save: writes what is still
  // pending and, when the settings could not be saved, says so and why in one box.
  virtual void FinishSettings() {}
  // Chooses the settings store: AppTitle followed by the profile name. Start-up
  // calls it once the profile is known, before the first setting is read; until
  // then the store of AppTitle alone is used.
  virtual void SetApplicationName(const std::string& name) { (void)name; }
  // The present local date and time as a date of host/DateTime.h. The default
  // reads the system clock.
  virtual double Now();
  // The timer that paces the real-time clock's periodic interrupt. The default
  // keeps its interval and enabled flag and never ticks.
  virtual HostTimer& PeriodicTimer();
  // Shows a modal open or save dialog. Paths are host paths (UTF-8). The default
  // has no desktop and answers as a cancel.
  virtual FileDialogResult FileDialog(const FileDialogRequest& request) {
    (void)request;
    return {};
  }
  // A new TCP socket, closed (host/HostSocket.h). The default has no network:
  // its Listen, Connect and Accept fail with SocketErrors::NotSupported.
  virtual std::unique_ptr<HostSocket> CreateSocket();
  // Looks up the host name of a numeric address without waiting: answer gets
  // the name from a later pump, or "" when the address has none. Destroying
  // the returned object cancels the lookup: answer is not called after that.
  // The default has no name service and never answers.
  virtual std::unique_ptr<HostNameLookup> LookupName(const std::string& address,
                                                     std::function<void(const std::string& name)> answer);
};

// The host in use. Never null: until a host is installed a silent one answers
// (no events, every message box answered with its first button, settings from defaults).
extern HostServices* CurrentHost;
// Set by every call of a host service (window messages, message boxes, settings,
// ...) and by every change of run control: anything that may have stopped the
// processor, asked to quit, latched a control change or moved the throttle. The
// main loop runs words without looking at those between two pumps until it is set.
extern bool LoopAttention;
inline HostServices& Host() {
  LoopAttention = true;
  return *CurrentHost;
}
void SetHost(HostServices* host);  // nullptr restores the silent host

inline void PumpEvents() { Host().PumpEvents(); }
inline void WaitEvents(int maxMs) { Host().WaitEvents(maxMs); }

}  // namespace korva
