// A socket that a test drives: it records what the code under test asked of it
// and raises the events the test plays, so time-outs, errors and peers that
// misbehave need no network.
//
//   ScriptedHost host;                      // CreateSocket() gives ScriptedSockets
//   ... code under test makes a socket and calls Connect ...
//   ScriptedSocket& s = *host.Sockets[0];
//   s.Step(SocketState::Connecting);        // the state the code polls
//   s.PeerAccepts();                        // Connected + OnConnect
//   s.PeerSends("AB\r\n");                  // OnDataArrival(4)
//   EXPECT_EQ(s.Sent, "Welcome ...");
//
// Sends complete at the next pump of the scripted host (OnSendComplete),
// unless HoldSends is set; then CompleteSend plays it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/HostSocket.h"

namespace korva {

class ScriptedHost;

class ScriptedSocket final : public HostSocket {
 public:
  explicit ScriptedSocket(ScriptedHost* host = nullptr);
  ~ScriptedSocket() override;
  ScriptedSocket(const ScriptedSocket&) = delete;
  ScriptedSocket& operator=(const ScriptedSocket&) = delete;

  // ---- What the code under test did.
  // "Listen 30000", "Connect 127.0.0.1:23", "Accept 3", "Close", "Send 4" (byte counts).
  std::vector<std::string> Actions;
  std::string Sent;  // every byte given to SendData, in order

  // ---- The script.
  std::optional<SocketFault> ListenFails;  // the next Listen fails with this
  std::optional<SocketFault> AcceptFails;  // the next Accept fails with this
  bool HoldSends = false;                  // sends stay unsent until CompleteSend
  std::string PeerAddress = "127.0.0.1";
  int32_t PeerPort = 50000;
  std::string LocalAddress = "127.0.0.1";
  std::string HostName = "korvahost";

  // ---- Events the test plays. Each changes the state as a real socket would.
  // A peer reaches this listening socket: OnConnectionRequest with a new id, which
  // any scripted socket may Accept during the event. Returns the id, or 0 when
  // the socket is not listening. Accepted() tells whether it was taken.
  int32_t PeerRequests();
  bool Accepted(int32_t requestId) const;
  void Step(SocketState state);  // a state change without an event (resolving, connecting)
  void PeerAccepts();            // a connect attempt succeeds: Connected + OnConnect
  void Fail(int32_t number);     // Error + OnError with the number's description
  void PeerSends(const std::string& bytes);  // OnDataArrival with the total waiting
  void PeerCloses();                         // Closing + OnClose
  void CompleteSend();                       // every queued byte gone: OnSendComplete
  void Pump();                               // what the host's pump delivers (unheld sends)
  void ForgetHost() { host_ = nullptr; }     // the host ends before the socket

  // HostSocket
  SocketState State() const override { return state_; }
  int32_t LocalPort() const override { return localPort_; }
  void LocalPort(int32_t port) override { localPort_ = port; }
  std::string RemoteHost() const override { return remoteHost_; }
  void RemoteHost(const std::string& host) override { remoteHost_ = host; }
  int32_t RemotePort() const override { return remotePort_; }
  void RemotePort(int32_t port) override { remotePort_ = port; }
  std::string RemoteHostIP() const override { return Linked() ? PeerAddress : ""; }
  int32_t RemoteHostPort() const override { return Linked() ? PeerPort : 0; }
  std::string LocalIP() const override { return LocalAddress; }
  std::string LocalHostName() const override { return HostName; }
  std::optional<SocketFault> Listen() override;
  std::optional<SocketFault> Connect() override;
  std::optional<SocketFault> Accept(int32_t requestId) override;
  std::optional<SocketFault> SendData(const std::string& bytes) override;
  int64_t BytesToSend() const override { return unsent_; }
  int64_t BytesReceived() const override { return static_cast<int64_t>(received_.size()); }
  std::string GetData(int64_t maxBytes) override;
  void Close() override;

 private:
  bool Linked() const { return state_ == SocketState::Connected || state_ == SocketState::Closing; }

  ScriptedHost* host_;
  SocketState state_ = SocketState::Closed;
  int32_t localPort_ = 0, remotePort_ = 0;
  std::string remoteHost_;
  std::string received_;
  int64_t unsent_ = 0;
};

}  // namespace korva
