#include "host/HostSocket.h"

#include "host/Host.h"

namespace korva {

std::string SocketErrorText(int32_t number) {
  switch (number) {
    case SocketErrors::PermissionDenied: return "Permission denied";
    case SocketErrors::InvalidArgument: return "Invalid argument";
    case SocketErrors::AddressInUse: return "Address in use";
    case SocketErrors::AddressNotAvailable: return "Address not available";
    case SocketErrors::NetworkUnreachable: return "Network is unreachable";
    case SocketErrors::ConnectionAborted: return "Connection is aborted";
    case SocketErrors::ConnectionReset: return "Connection is reset by remote side";
    case SocketErrors::NoBufferSpace: return "No buffer space is available";
    case SocketErrors::TimedOut: return "Connection timed out";
    case SocketErrors::ConnectionRefused: return "Connection is refused";
    case SocketErrors::HostUnreachable: return "Host is unreachable";
    case SocketErrors::HostNotFound: return "Host not found";
    case SocketErrors::BadState: return "Wrong protocol or connection state for the requested transaction or request";
    case SocketErrors::NotSupported: return "The operation is not supported";
    default: return "Unknown socket error";
  }
}

namespace {
// The socket of a host without a network: it stays closed and keeps its settings.
class NoNetworkSocket final : public HostSocket {
 public:
  SocketState State() const override { return SocketState::Closed; }
  int32_t LocalPort() const override { return localPort_; }
  void LocalPort(int32_t port) override { localPort_ = port; }
  std::string RemoteHost() const override { return remoteHost_; }
  void RemoteHost(const std::string& host) override { remoteHost_ = host; }
  int32_t RemotePort() const override { return remotePort_; }
  void RemotePort(int32_t port) override { remotePort_ = port; }
  std::string RemoteHostIP() const override { return ""; }
  int32_t RemoteHostPort() const override { return 0; }
  std::string LocalIP() const override { return "127.0.0.1"; }
  std::string LocalHostName() const override { return "localhost"; }
  std::optional<SocketFault> Listen() override { return MakeSocketFault(SocketErrors::NotSupported); }
  std::optional<SocketFault> Connect() override { return MakeSocketFault(SocketErrors::NotSupported); }
  std::optional<SocketFault> Accept(int32_t) override { return MakeSocketFault(SocketErrors::NotSupported); }
  std::optional<SocketFault> SendData(const std::string&) override { return MakeSocketFault(SocketErrors::BadState); }
  int64_t BytesToSend() const override { return 0; }
  int64_t BytesReceived() const override { return 0; }
  std::string GetData(int64_t) override { return ""; }
  void Close() override {}

 private:
  int32_t localPort_ = 0, remotePort_ = 0;
  std::string remoteHost_;
};
}  // namespace

std::unique_ptr<HostSocket> HostServices::CreateSocket() { return std::make_unique<NoNetworkSocket>(); }

std::unique_ptr<HostNameLookup> HostServices::LookupName(const std::string&, std::function<void(const std::string&)>) {
  return nullptr;
}

}  // namespace korva
