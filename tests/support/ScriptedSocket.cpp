#include "support/ScriptedSocket.h"

#include <algorithm>
#include <map>
#include <set>

#include "support/ScriptedHost.h"

namespace korva {

namespace {
int32_t nextRequestId = 1;
// Announced and not yet taken, with the port of the listener they came to.
std::map<int32_t, int32_t>& OpenRequests() {
  static std::map<int32_t, int32_t> open;
  return open;
}
std::set<int32_t>& TakenRequests() {
  static std::set<int32_t> taken;
  return taken;
}
}  // namespace

ScriptedSocket::ScriptedSocket(ScriptedHost* host) : host_(host) {
  if (host_) host_->Sockets.push_back(this);
}

ScriptedSocket::~ScriptedSocket() {
  if (!host_) return;
  auto& list = host_->Sockets;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

std::optional<SocketFault> ScriptedSocket::Listen() {
  Actions.push_back("Listen " + std::to_string(localPort_));
  if (state_ != SocketState::Closed) return MakeSocketFault(SocketErrors::BadState);
  if (ListenFails) {
    const SocketFault err = *ListenFails;
    ListenFails.reset();
    return err;
  }
  state_ = SocketState::Listening;
  return std::nullopt;
}

std::optional<SocketFault> ScriptedSocket::Connect() {
  Actions.push_back("Connect " + remoteHost_ + ":" + std::to_string(remotePort_));
  if (state_ != SocketState::Closed) return MakeSocketFault(SocketErrors::BadState);
  state_ = SocketState::ResolvingHost;
  return std::nullopt;
}

std::optional<SocketFault> ScriptedSocket::Accept(int32_t requestId) {
  Actions.push_back("Accept " + std::to_string(requestId));
  if (state_ != SocketState::Closed && state_ != SocketState::Listening)
    return MakeSocketFault(SocketErrors::BadState);
  if (AcceptFails) {
    const SocketFault err = *AcceptFails;
    AcceptFails.reset();
    return err;
  }
  const auto request = OpenRequests().find(requestId);
  if (request == OpenRequests().end()) return MakeSocketFault(SocketErrors::InvalidArgument);
  localPort_ = request->second;  // a connection's local port is the listener's
  OpenRequests().erase(request);
  TakenRequests().insert(requestId);
  state_ = SocketState::Connected;
  received_.clear();
  unsent_ = 0;
  return std::nullopt;
}

std::optional<SocketFault> ScriptedSocket::SendData(const std::string& bytes) {
  Actions.push_back("Send " + std::to_string(bytes.size()));
  if (state_ != SocketState::Connected) return MakeSocketFault(SocketErrors::BadState);
  Sent += bytes;
  unsent_ += static_cast<int64_t>(bytes.size());
  return std::nullopt;
}

std::string ScriptedSocket::GetData(int64_t maxBytes) {
  if (maxBytes <= 0) return "";
  const size_t n = std::min(received_.size(), static_cast<size_t>(maxBytes));
  std::string out = received_.substr(0, n);
  received_.erase(0, n);
  return out;
}

void ScriptedSocket::Close() {
  Actions.push_back("Close");
  state_ = SocketState::Closed;
  received_.clear();
  unsent_ = 0;
}

int32_t ScriptedSocket::PeerRequests() {
  if (state_ != SocketState::Listening) return 0;
  const int32_t id = nextRequestId++;
  OpenRequests()[id] = localPort_;
  Raise(OnConnectionRequest, id);
  OpenRequests().erase(id);  // not taken during the event: refused
  return id;
}

bool ScriptedSocket::Accepted(int32_t requestId) const { return TakenRequests().count(requestId) != 0; }

void ScriptedSocket::Step(SocketState state) { state_ = state; }

void ScriptedSocket::PeerAccepts() {
  state_ = SocketState::Connected;
  Raise(OnConnect);
}

void ScriptedSocket::Fail(int32_t number) {
  state_ = SocketState::Error;
  Raise(OnError, MakeSocketFault(number));
}

void ScriptedSocket::PeerSends(const std::string& bytes) {
  if (!Linked()) return;
  received_ += bytes;
  Raise(OnDataArrival, static_cast<int64_t>(received_.size()));
}

void ScriptedSocket::PeerCloses() {
  if (state_ != SocketState::Connected) return;
  state_ = SocketState::Closing;
  Raise(OnClose);
}

void ScriptedSocket::CompleteSend() {
  if (unsent_ == 0) return;
  unsent_ = 0;
  Raise(OnSendComplete);
}

void ScriptedSocket::Pump() {
  if (!HoldSends) CompleteSend();
}

}  // namespace korva
