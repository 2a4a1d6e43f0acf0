// The host layer: what the emulated machine asks of the desktop it runs on.
// The core calls only these functions; a Qt implementation and a scripted test
// implementation stand behind them.
#pragma once
#include <optional>
#include <string>

namespace korva {

class HostTimer;  // host/HostTimer.h

enum class MsgButtons { OK, OKCancel, YesNo };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { OK, Cancel, Yes, No };

// The program's title; the settings are kept under the application name formed by
// the title followed by the profile name.
inline constexpr char AppTitle[] = "Korva";

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
};

// The host in use. Never null: until a host is installed a silent one answers
// (no events, every message box answered with its first button, settings from defaults).
extern HostServices* CurrentHost;
inline HostServices& Host() { return *CurrentHost; }
void SetHost(HostServices* host);  // nullptr restores the silent host

inline void PumpEvents() { Host().PumpEvents(); }
inline void WaitEvents(int maxMs) { Host().WaitEvents(maxMs); }

}  // namespace korva
