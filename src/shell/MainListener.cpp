#include "shell/MainListener.h"

#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Consoles.h"
#include "shell/NumberInput.h"
#include "shell/ShellSettings.h"

namespace korva {

MainListener::~MainListener() {
  for (auto& s : refused_) {
    s->OnSendComplete = nullptr;
    s->OnClose = nullptr;
    s->OnError = nullptr;
    s->OnDataArrival = nullptr;
    s->Close();
  }
  if (socket_) {
    socket_->OnConnectionRequest = nullptr;
    socket_->OnError = nullptr;
    socket_->Close();
  }
}

HostSocket& MainListener::Socket() {
  if (!socket_) {
    socket_ = Host().CreateSocket();
    socket_->OnConnectionRequest = [this](int32_t id) { ConnectionRequested(id); };
    socket_->OnError = [this](const SocketFault& f) { Failed(f); };
  }
  return *socket_;
}

void MainListener::SetWinsockStatus(const std::string& first, const std::string& second) {
  status_ = first + " - " + second;
  toolTip_ = !Fits || Fits(status_) ? "" : status_;
  if (ShowStatus) ShowStatus(status_, toolTip_);
}

void MainListener::StartMainServer() {
  HostSocket& s = Socket();
  const int32_t port = MainListenPort;
  s.Close();
  s.LocalPort(port);
  if (const std::optional<SocketFault> err = s.Listen()) {
    s.Close();
    SetWinsockStatus("Port=" + std::to_string(port),
                     "Error # = " + std::to_string(err->Number) + " - " + err->Description);
    return;
  }
  SetWinsockStatus("Main Started Server", "Port =" + std::to_string(port));
}

void MainListener::StopMainServer() {
  HostSocket& s = Socket();
  const int32_t port = s.LocalPort();
  s.Close();
  SetWinsockStatus("Stopped Main Server ", "Port =" + std::to_string(port));
}

void MainListener::Restart() {
  StopMainServer();
  StartMainServer();
}

void MainListener::ConnectionRequested(int32_t requestId) {
  // Closed sockets of earlier refusals go; none of them is inside an event now.
  std::erase_if(refused_, [](const std::unique_ptr<HostSocket>& s) { return s->State() == SocketState::Closed; });
  for (int16_t port = 0; port < DevicePorts; ++port) {
    const auto p = static_cast<size_t>(port);
    NetConsoleWindow* w = NetPortForms[p];
    // A NET port without a window to serve it is passed over.
    if (ConsoleType[p] != ConsoleNET || !w) continue;
    if (w->Role() == NetChild && w->NetSocketState() == SocketState::Closed) {
      w->AcceptConnection(requestId);
      return;
    }
  }
  Refuse(requestId);
}

void MainListener::Refuse(int32_t requestId) {
  std::unique_ptr<HostSocket> s = Host().CreateSocket();
  if (const std::optional<SocketFault> err = s->Accept(requestId)) {
    // Not taken (the peer may have gone already): said in the status; listening goes on.
    SetWinsockStatus("Error Connecting ", "Error # = " + std::to_string(err->Number) + " - " + err->Description);
    return;
  }
  HostSocket* const raw = s.get();
  const auto close = [raw] { raw->Close(); };
  raw->OnSendComplete = close;
  raw->OnClose = close;
  raw->OnError = [raw](const SocketFault&) { raw->Close(); };
  // What the peer sends is read and dropped, so the close is an orderly one.
  raw->OnDataArrival = [raw](int64_t) { raw->GetData(raw->BytesReceived()); };
  raw->SendData(NoDeviceText);
  refused_.push_back(std::move(s));
}

void MainListener::Failed(const SocketFault& fault) {
  SetWinsockStatus("Error - " + std::to_string(fault.Number), fault.Description);
  socket_->Close();
}

void MainListener::AskMainListenPort() {
  const std::optional<int32_t> v = InputNumberUntilEmptyOrValid(
      PromptLines({"Input Main Server Listening Port (1-65535)", "", "OK will restart Main server.",
                   "Does NOT affect existing Child connections."}),
      "Main Listening Port", MainListenPort, 1, 65535);
  if (!v) return;
  MainListenPort = *v;
  SaveSettingLong("Devices", "MainListenPort", MainListenPort);
  StopMainServer();
  StartMainServer();
}

void MainListener::AskBaseListenPort() {
  const std::optional<int32_t> v = InputNumberUntilEmptyOrValid(
      PromptLines({"Input Standalone Server base Listening Port (1-65519)", "",
                   "Does NOT affect existing Standalone connections."}),
      "Standalone Base Listening Port", BaseListenPort, 1, 65519);
  if (!v) return;
  BaseListenPort = *v;
  SaveSettingLong("Devices", "BaseListenPort", BaseListenPort);
}

}  // namespace korva
