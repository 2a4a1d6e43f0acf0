// The main window's TCP console listener: one listening socket on
// MainListenPort that hands each peer to the first NET console of the device
// ports that waits as a Child, its status text and the two listening-port
// boxes. It runs without widgets; the main window shows the status in its
// label (lblWinsockStatus) and measures whether the text fits there.
//
// Not started at start-up. A peer that no Child takes is told
// "No NET devices availible" and closed, and the listener goes on listening.
// Connections handed to the NET windows are theirs: Stop and a new port leave
// them alone.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/HostSocket.h"

namespace korva {

class MainListener {
 public:
  static constexpr char StoppedText[] = "Main Network Server is Stopped";
  static constexpr char NoDeviceText[] = "No NET devices availible";

  MainListener() = default;
  ~MainListener();
  MainListener(const MainListener&) = delete;
  MainListener& operator=(const MainListener&) = delete;

  // The status changed: the label's text and tool tip.
  std::function<void(const std::string& text, const std::string& toolTip)> ShowStatus;
  // True when the text fits the label's width; unset, every text fits.
  std::function<bool(const std::string& text)> Fits;

  // Listens on MainListenPort: "Main Started Server - Port =<p>", or the error
  // ("Port=<p> - Error # = <n> - <description>") with nothing listening.
  void StartMainServer();
  // Closes the listener: "Stopped Main Server  - Port =<p>".
  void StopMainServer();
  // "Start/Restart": stop, then start.
  void Restart();
  // The status: first + " - " + second; the tool tip is the text when it does
  // not fit the label, else empty.
  void SetWinsockStatus(const std::string& first, const std::string& second);

  // "Set Main Listen Port ...": a new port is saved at once and the listener
  // restarted on it. "Set Base Stanalone Port ...": a new base is saved;
  // nothing restarts (the NET windows take it when they load).
  void AskMainListenPort();
  void AskBaseListenPort();

  const std::string& Status() const { return status_; }
  const std::string& ToolTip() const { return toolTip_; }
  HostSocket& Socket();

 private:
  void ConnectionRequested(int32_t requestId);
  void Failed(const SocketFault& fault);
  // Tells an unserved peer so and closes its connection once that is sent; a
  // request that cannot be accepted shows "Error Connecting  - Error # = ...".
  void Refuse(int32_t requestId);

  std::unique_ptr<HostSocket> socket_;
  std::vector<std::unique_ptr<HostSocket>> refused_;
  std::string status_ = StoppedText;
  std::string toolTip_;
};

}  // namespace korva
