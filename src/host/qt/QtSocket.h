// A host socket on Qt Network: a QTcpServer while listening, a QTcpSocket for a
// connection or a connect attempt (see host/HostSocket.h for the behaviour).
//
// Qt objects are never deleted while one of their own signals may be on the
// stack: a connection or listener that a handler ends is closed at once (the
// port is free again) and deleted from the first pump after the handlers of
// this socket have returned. (A deleteLater would not do: the program pumps events from inside
// handlers, and a nested pump may run the deferred delete.)
#pragma once
#include <QObject>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/HostSocket.h"

class QTcpServer;
class QTcpSocket;

namespace korva {

class QtSocket final : public HostSocket {
 public:
  QtSocket();
  ~QtSocket() override;
  QtSocket(const QtSocket&) = delete;
  QtSocket& operator=(const QtSocket&) = delete;

  // Bytes a connection holds in the host before the peer's stream is held back.
  static constexpr int64_t ReadBufferBytes = 64 * 1024;

  SocketState State() const override { return state_; }
  int32_t LocalPort() const override;
  void LocalPort(int32_t port) override { localPort_ = port; }
  std::string RemoteHost() const override { return remoteHost_; }
  void RemoteHost(const std::string& host) override { remoteHost_ = host; }
  int32_t RemotePort() const override { return remotePort_; }
  void RemotePort(int32_t port) override { remotePort_ = port; }
  std::string RemoteHostIP() const override;
  int32_t RemoteHostPort() const override;
  std::string LocalIP() const override;
  std::string LocalHostName() const override;
  std::optional<SocketFault> Listen() override;
  std::optional<SocketFault> Connect() override;
  std::optional<SocketFault> Accept(int32_t requestId) override;
  std::optional<SocketFault> SendData(const std::string& bytes) override;
  int64_t BytesToSend() const override;
  int64_t BytesReceived() const override;
  std::string GetData(int64_t maxBytes) override;
  void Close() override;

 private:
  // Runs one event's work with this socket's handler depth counted.
  template <typename F>
  void Handle(F&& work);
  void Retire(QObject* object);
  void Wire(QTcpSocket* socket);
  void ServeRequests();

  SocketState state_ = SocketState::Closed;
  int32_t localPort_ = 0, remotePort_ = 0;
  std::string remoteHost_;
  QObject context_;  // receiver of every signal connection, so Retire cuts them all
  QTcpServer* server_ = nullptr;
  QTcpSocket* socket_ = nullptr;
  uint64_t generation_ = 0;  // changes with every Close: late posted work sees it
  int depth_ = 0;            // handlers of this socket on the stack
  bool connecting_ = false;  // inside Qt's connect call
  std::vector<std::unique_ptr<QObject>> retired_;
};

// Looks up the name of a numeric address with QHostInfo, off the program's
// thread (see HostServices::LookupName): the answer comes from a later pump,
// "" when the address has no name or the lookup fails.
std::unique_ptr<HostNameLookup> LookupNameQt(const std::string& address,
                                             std::function<void(const std::string& name)> answer);

}  // namespace korva
