#include "host/qt/QtSocket.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <map>
#include <utility>

namespace korva {

namespace {

// Connections that a listener announced and nobody has taken yet, by request id.
// An entry lives only while its connection-request event runs.
std::map<int32_t, QTcpSocket*>& Requests() {
  static std::map<int32_t, QTcpSocket*> requests;
  return requests;
}
int32_t nextRequestId = 1;

SocketFault FromQt(QAbstractSocket::SocketError e, const QString& qtText) {
  int32_t n = SocketErrors::NotSupported;
  switch (e) {
    case QAbstractSocket::ConnectionRefusedError: n = SocketErrors::ConnectionRefused; break;
    case QAbstractSocket::RemoteHostClosedError: n = SocketErrors::ConnectionReset; break;
    case QAbstractSocket::HostNotFoundError: n = SocketErrors::HostNotFound; break;
    case QAbstractSocket::SocketAccessError: n = SocketErrors::PermissionDenied; break;
    case QAbstractSocket::SocketResourceError: n = SocketErrors::NoBufferSpace; break;
    case QAbstractSocket::SocketTimeoutError: n = SocketErrors::TimedOut; break;
    case QAbstractSocket::NetworkError: n = SocketErrors::NetworkUnreachable; break;
    case QAbstractSocket::AddressInUseError: n = SocketErrors::AddressInUse; break;
    case QAbstractSocket::SocketAddressNotAvailableError: n = SocketErrors::AddressNotAvailable; break;
    default: break;
  }
  SocketFault err = MakeSocketFault(n);
  if (n == SocketErrors::NotSupported && !qtText.isEmpty()) err.Description = qtText.toStdString();
  return err;
}

// An IPv4 peer of a listener on every address shows as "::ffff:a.b.c.d": shown as a.b.c.d.
std::string AddressText(const QHostAddress& address) {
  if (address.isNull()) return "";
  bool v4 = false;
  const quint32 ip4 = address.toIPv4Address(&v4);
  return (v4 ? QHostAddress(ip4) : address).toString().toStdString();
}

bool ValidPort(int32_t port, bool zeroAllowed) { return port >= (zeroAllowed ? 0 : 1) && port <= 65535; }

}  // namespace

QtSocket::QtSocket() = default;

QtSocket::~QtSocket() {
  Close();
  retired_.clear();
}

template <typename F>
void QtSocket::Handle(F&& work) {
  ++depth_;
  work();
  // The Qt object whose signal brought this event is still inside its emission
  // (and touches itself after it): what the handlers retired goes from the next
  // pump on, once that emission has returned.
  if (--depth_ == 0 && !retired_.empty())
    QTimer::singleShot(0, &context_, [this] {
      if (depth_ == 0) retired_.clear();
    });
}

void QtSocket::Retire(QObject* object) {
  QObject::disconnect(object, nullptr, &context_, nullptr);
  if (auto* server = qobject_cast<QTcpServer*>(object)) {
    server->close();
  } else if (auto* socket = qobject_cast<QTcpSocket*>(object)) {
    socket->flush();  // what the network stack takes now still reaches the peer
    socket->abort();
  }
  if (depth_ == 0)
    delete object;
  else
    retired_.emplace_back(object);
}

void QtSocket::Close() {
  ++generation_;
  if (server_) Retire(server_);
  if (socket_) Retire(socket_);
  server_ = nullptr;
  socket_ = nullptr;
  state_ = SocketState::Closed;
}

int32_t QtSocket::LocalPort() const {
  if (server_) return server_->serverPort();
  if (socket_ && socket_->localPort() != 0) return socket_->localPort();
  return localPort_;
}

std::string QtSocket::RemoteHostIP() const { return socket_ ? AddressText(socket_->peerAddress()) : ""; }
int32_t QtSocket::RemoteHostPort() const { return socket_ ? socket_->peerPort() : 0; }

std::string QtSocket::LocalIP() const {
  const std::string local = socket_ ? AddressText(socket_->localAddress()) : "";
  return local.empty() ? "127.0.0.1" : local;
}

std::string QtSocket::LocalHostName() const { return QHostInfo::localHostName().toStdString(); }

std::optional<SocketFault> QtSocket::Listen() {
  if (state_ != SocketState::Closed) return MakeSocketFault(SocketErrors::BadState);
  if (!ValidPort(localPort_, true)) return MakeSocketFault(SocketErrors::InvalidArgument);
  auto* server = new QTcpServer;
  if (!server->listen(QHostAddress::Any, static_cast<quint16>(localPort_))) {
    const SocketFault err = FromQt(server->serverError(), server->errorString());
    delete server;
    return err;
  }
  QObject::connect(server, &QTcpServer::newConnection, &context_, [this] { Handle([this] { ServeRequests(); }); });
  server_ = server;
  state_ = SocketState::Listening;
  return std::nullopt;
}

void QtSocket::ServeRequests() {
  QTcpServer* const server = server_;
  if (!server) return;
  std::vector<QTcpSocket*> arrived;
  while (server->hasPendingConnections()) {
    QTcpSocket* c = server->nextPendingConnection();
    c->setParent(nullptr);  // it outlives the listener when it is accepted
    arrived.push_back(c);
  }
  for (QTcpSocket* c : arrived) {
    // A handler may have stopped the listening: later peers are refused.
    if (server_ == server && state_ == SocketState::Listening) {
      const int32_t id = nextRequestId++;
      if (nextRequestId <= 0) nextRequestId = 1;
      Requests()[id] = c;
      Raise(OnConnectionRequest, id);
      const auto left = Requests().find(id);
      if (left == Requests().end()) continue;  // accepted
      Requests().erase(left);
    }
    c->abort();
    delete c;
  }
}

std::optional<SocketFault> QtSocket::Accept(int32_t requestId) {
  if (state_ != SocketState::Closed && state_ != SocketState::Listening)
    return MakeSocketFault(SocketErrors::BadState);
  const auto it = Requests().find(requestId);
  if (it == Requests().end()) return MakeSocketFault(SocketErrors::InvalidArgument);
  QTcpSocket* c = it->second;
  Requests().erase(it);
  if (server_) Retire(server_);
  server_ = nullptr;
  ++generation_;
  socket_ = c;
  Wire(c);
  state_ = SocketState::Connected;
  // Bytes or a close that came before the accept raised no event of ours: they
  // are announced from the next pump.
  const uint64_t gen = generation_;
  QTimer::singleShot(0, &context_, [this, c, gen] {
    if (gen != generation_ || socket_ != c) return;
    Handle([this, c] {
      if (c->bytesAvailable() > 0) Raise(OnDataArrival, static_cast<int64_t>(c->bytesAvailable()));
      if (socket_ == c && state_ == SocketState::Connected && c->state() != QAbstractSocket::ConnectedState) {
        state_ = SocketState::Closing;
        Raise(OnClose);
      }
    });
  });
  return std::nullopt;
}

std::optional<SocketFault> QtSocket::Connect() {
  if (state_ != SocketState::Closed) return MakeSocketFault(SocketErrors::BadState);
  if (!ValidPort(remotePort_, false) || remoteHost_.empty()) return MakeSocketFault(SocketErrors::InvalidArgument);
  auto* c = new QTcpSocket;
  ++generation_;
  socket_ = c;
  state_ = SocketState::ResolvingHost;
  Wire(c);
  connecting_ = true;  // an error Qt reports inside the call comes from the next pump
  c->connectToHost(QString::fromStdString(remoteHost_), static_cast<quint16>(remotePort_));
  connecting_ = false;
  return std::nullopt;
}

void QtSocket::Wire(QTcpSocket* c) {
  c->setReadBufferSize(ReadBufferBytes);
  QObject::connect(c, &QAbstractSocket::stateChanged, &context_, [this, c](QAbstractSocket::SocketState s) {
    if (c != socket_) return;
    if (s == QAbstractSocket::HostLookupState) state_ = SocketState::ResolvingHost;
    if (s == QAbstractSocket::ConnectingState) state_ = SocketState::Connecting;
  });
  QObject::connect(c, &QAbstractSocket::hostFound, &context_, [this, c] {
    if (c == socket_ && state_ == SocketState::ResolvingHost) state_ = SocketState::HostResolved;
  });
  QObject::connect(c, &QAbstractSocket::connected, &context_, [this, c] {
    if (c != socket_) return;
    state_ = SocketState::Connected;
    Handle([this] { Raise(OnConnect); });
  });
  QObject::connect(c, &QAbstractSocket::disconnected, &context_, [this, c] {
    if (c != socket_ || state_ != SocketState::Connected) return;
    state_ = SocketState::Closing;
    Handle([this] { Raise(OnClose); });
  });
  QObject::connect(c, &QIODevice::readyRead, &context_, [this, c] {
    if (c != socket_) return;
    Handle([this, c] { Raise(OnDataArrival, static_cast<int64_t>(c->bytesAvailable())); });
  });
  QObject::connect(c, &QIODevice::bytesWritten, &context_, [this, c](qint64) {
    if (c != socket_ || c->bytesToWrite() > 0) return;
    Handle([this] { Raise(OnSendComplete); });
  });
  QObject::connect(c, &QAbstractSocket::errorOccurred, &context_, [this, c](QAbstractSocket::SocketError e) {
    if (c != socket_) return;
    // A peer's close, orderly or not, is reported by the disconnected signal that follows.
    if (e == QAbstractSocket::RemoteHostClosedError && state_ == SocketState::Connected) return;
    const SocketFault err = FromQt(e, c->errorString());
    state_ = SocketState::Error;
    if (connecting_) {
      const uint64_t gen = generation_;
      QTimer::singleShot(0, &context_, [this, err, gen] {
        if (gen == generation_) Handle([this, &err] { Raise(OnError, err); });
      });
      return;
    }
    Handle([this, &err] { Raise(OnError, err); });
  });
}

std::optional<SocketFault> QtSocket::SendData(const std::string& bytes) {
  if (state_ != SocketState::Connected || !socket_) return MakeSocketFault(SocketErrors::BadState);
  if (!bytes.empty()) socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
  return std::nullopt;
}

int64_t QtSocket::BytesToSend() const { return socket_ ? socket_->bytesToWrite() : 0; }
int64_t QtSocket::BytesReceived() const { return socket_ ? socket_->bytesAvailable() : 0; }

std::string QtSocket::GetData(int64_t maxBytes) {
  if (!socket_ || maxBytes <= 0) return "";
  const QByteArray got = socket_->read(maxBytes);
  return std::string(got.constData(), static_cast<size_t>(got.size()));
}

namespace {

using NameAnswer = std::function<void(const std::string&)>;

// The answer is held by the lookup alone; the result that QHostInfo delivers
// later reaches it only while the lookup lives.
class QtNameLookup final : public HostNameLookup {
 public:
  QtNameLookup(const std::string& address, NameAnswer answer) : state_(std::make_shared<State>()) {
    state_->Answer = std::move(answer);
    std::weak_ptr<State> weak = state_;
    id_ = QHostInfo::lookupHost(QString::fromStdString(address), QCoreApplication::instance(),
                                [weak, address](const QHostInfo& info) {
                                  const std::shared_ptr<State> live = weak.lock();
                                  if (!live) return;
                                  live->Done = true;
                                  std::string name = info.hostName().toStdString();
                                  if (info.error() != QHostInfo::NoError || name == address) name.clear();
                                  // A copy: the answer may end the lookup that holds it.
                                  const NameAnswer call = live->Answer;
                                  call(name);
                                });
  }
  // Only a lookup still under way is aborted: Qt keeps the id of an abort
  // that comes after the answer for good.
  ~QtNameLookup() override {
    if (!state_->Done) QHostInfo::abortHostLookup(id_);
  }
  QtNameLookup(const QtNameLookup&) = delete;
  QtNameLookup& operator=(const QtNameLookup&) = delete;

 private:
  struct State {
    NameAnswer Answer;
    bool Done = false;
  };
  std::shared_ptr<State> state_;
  int id_ = -1;
};

}  // namespace

std::unique_ptr<HostNameLookup> LookupNameQt(const std::string& address, NameAnswer answer) {
  if (address.empty() || !QCoreApplication::instance()) return nullptr;
  return std::make_unique<QtNameLookup>(address, std::move(answer));
}

}  // namespace korva
