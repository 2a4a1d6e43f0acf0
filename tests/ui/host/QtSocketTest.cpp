// The Qt host socket on real TCP connections over 127.0.0.1, ports chosen by the
// system: listening and handing a request to another socket, connecting out,
// bytes both ways with the peer's stream held back, closes and errors; and
// name lookups.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/qt/QtSocket.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using uitest::PumpUntil;

std::string Take(QTcpSocket& peer) {
  const QByteArray b = peer.readAll();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

class QtSocketTest : public ::testing::Test {
 protected:
  void SetUp() override { uitest::App(); }

  // A listener on a free port; its requests go to take's Accept when set.
  void StartListener(QtSocket* take) {
    listener_.LocalPort(0);
    ASSERT_FALSE(listener_.Listen());
    ASSERT_EQ(listener_.State(), SocketState::Listening);
    port_ = listener_.LocalPort();
    ASSERT_GT(port_, 0);
    listener_.OnConnectionRequest = [this, take](int32_t id) {
      ++requests_;
      if (take) accepted_ = !take->Accept(id);
    };
  }

  QtSocket listener_;
  int32_t port_ = 0;
  int requests_ = 0;
  bool accepted_ = false;
};

TEST_F(QtSocketTest, HandedRequestCarriesBytesBothWaysUntilThePeerCloses) {
  QtSocket server, client;
  StartListener(&server);
  std::string got;
  int sendsDone = 0, closes = 0, connects = 0;
  server.OnDataArrival = [&](int64_t total) {
    EXPECT_EQ(total, server.BytesReceived());
    got += server.GetData(total);
  };
  server.OnSendComplete = [&] { ++sendsDone; };
  server.OnClose = [&] { ++closes; };
  client.OnConnect = [&] { ++connects; };

  client.RemoteHost("127.0.0.1");
  client.RemotePort(port_);
  ASSERT_FALSE(client.Connect());
  EXPECT_NE(client.State(), SocketState::Closed);
  ASSERT_TRUE(PumpUntil([&] { return connects == 1 && accepted_; }));
  EXPECT_EQ(client.State(), SocketState::Connected);
  EXPECT_EQ(server.State(), SocketState::Connected);
  EXPECT_EQ(listener_.State(), SocketState::Listening);  // the listener listens on
  EXPECT_EQ(server.RemoteHostIP(), "127.0.0.1");
  EXPECT_EQ(server.LocalIP(), "127.0.0.1");
  EXPECT_EQ(server.LocalPort(), port_);
  EXPECT_EQ(server.RemoteHostPort(), client.LocalPort());
  EXPECT_FALSE(server.LocalHostName().empty());

  ASSERT_FALSE(client.SendData(std::string("A\0\xFF\r\n", 5)));
  ASSERT_TRUE(PumpUntil([&] { return got.size() == 5; }));
  EXPECT_EQ(got, std::string("A\0\xFF\r\n", 5));

  std::string back;
  client.OnDataArrival = [&](int64_t) { back += client.GetData(1 << 20); };
  ASSERT_FALSE(server.SendData("Welcome\r\n"));
  ASSERT_TRUE(PumpUntil([&] { return sendsDone == 1 && back == "Welcome\r\n"; }));
  EXPECT_EQ(server.BytesToSend(), 0);

  client.Close();
  EXPECT_EQ(client.State(), SocketState::Closed);
  ASSERT_TRUE(PumpUntil([&] { return closes == 1; }));
  EXPECT_EQ(server.State(), SocketState::Closing);
  EXPECT_EQ(server.SendData("x")->Number, SocketErrors::BadState);
  server.Close();
  EXPECT_EQ(server.State(), SocketState::Closed);
}

TEST_F(QtSocketTest, AcceptingOnTheListenerStopsListeningAndUntakenRequestsAreRefused) {
  // Nobody takes the request: the peer's connection is closed.
  StartListener(nullptr);
  QTcpSocket peer;
  peer.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(PumpUntil([&] { return requests_ == 1 && peer.state() == QAbstractSocket::UnconnectedState; }));

  // The listener takes its own request: it stops listening, a second peer gets no answer.
  listener_.OnConnectionRequest = [this](int32_t id) { accepted_ = !listener_.Accept(id); };
  QTcpSocket first, second;
  first.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(PumpUntil([&] { return accepted_; }));
  EXPECT_EQ(listener_.State(), SocketState::Connected);
  second.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(PumpUntil([&] { return second.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(second.error(), QAbstractSocket::ConnectionRefusedError);

  // Closed, it can listen on the same port again.
  listener_.Close();
  listener_.LocalPort(port_);
  EXPECT_FALSE(listener_.Listen());
  EXPECT_EQ(listener_.LocalPort(), port_);
}

TEST_F(QtSocketTest, FailuresGiveTheirNumbers) {
  StartListener(nullptr);
  QtSocket other;
  other.LocalPort(port_);
  EXPECT_EQ(other.Listen()->Number, SocketErrors::AddressInUse);
  EXPECT_EQ(other.State(), SocketState::Closed);
  other.LocalPort(70000);
  EXPECT_EQ(other.Listen()->Number, SocketErrors::InvalidArgument);
  EXPECT_EQ(listener_.Listen()->Number, SocketErrors::BadState);
  EXPECT_EQ(other.Accept(12345)->Number, SocketErrors::InvalidArgument);
  EXPECT_EQ(other.SendData("x")->Number, SocketErrors::BadState);
  other.RemoteHost("127.0.0.1");
  other.RemotePort(0);
  EXPECT_EQ(other.Connect()->Number, SocketErrors::InvalidArgument);

  // A port with no listener: the error comes as an event and the state stays 9.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const quint16 closedPort = probe.serverPort();
  probe.close();
  SocketFault seen;
  other.OnError = [&](const SocketFault& e) { seen = e; };
  other.RemotePort(closedPort);
  ASSERT_FALSE(other.Connect());
  ASSERT_TRUE(PumpUntil([&] { return seen.Number != 0; }));
  EXPECT_EQ(seen.Number, SocketErrors::ConnectionRefused);
  EXPECT_EQ(seen.Code(), 0x800A0000u + 10061u);
  EXPECT_EQ(other.State(), SocketState::Error);
  EXPECT_EQ(other.Connect()->Number, SocketErrors::BadState);
  other.Close();
  EXPECT_EQ(other.State(), SocketState::Closed);
}

TEST_F(QtSocketTest, BytesLeftBehindWaitInOrderAndAHandlerMayCloseItsOwnSocket) {
  QtSocket server;
  StartListener(&server);
  QTcpSocket peer;
  peer.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port_));
  ASSERT_TRUE(PumpUntil([&] { return accepted_ && peer.state() == QAbstractSocket::ConnectedState; }));

  // 1 MB sent at once, taken 4,096 bytes per event or pump: every byte in order.
  std::string sent(1 << 20, '\0');
  for (size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<char>(i * 7 + i / 4096);
  peer.write(sent.data(), static_cast<qint64>(sent.size()));
  std::string got;
  server.OnDataArrival = [&](int64_t) { got += server.GetData(4096); };
  EXPECT_TRUE(PumpUntil([&] {
    got += server.GetData(4096);
    return got.size() == sent.size();
  }));
  EXPECT_TRUE(got == sent);
  EXPECT_LE(server.BytesReceived(), QtSocket::ReadBufferBytes);

  // The handler closes the socket under its own event and pumps on.
  int arrivals = 0;
  server.OnDataArrival = [&](int64_t) {
    ++arrivals;
    server.Close();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
  };
  peer.write("bye");
  ASSERT_TRUE(PumpUntil([&] { return peer.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(arrivals, 1);
  EXPECT_EQ(server.State(), SocketState::Closed);
  EXPECT_EQ(Take(peer), "");
}

TEST(QtNameLookupTest, AnswersLaterAndNeverOnceCancelled) {
  uitest::App();
  std::vector<std::string> got;
  std::unique_ptr<HostNameLookup> cancelled =
      LookupNameQt("127.0.0.1", [&](const std::string&) { got.push_back("cancelled"); });
  std::unique_ptr<HostNameLookup> kept =
      LookupNameQt("127.0.0.1", [&](const std::string& name) { got.push_back(name); });
  ASSERT_TRUE(cancelled && kept);
  cancelled.reset();
  EXPECT_TRUE(got.empty());  // nothing within the call
  ASSERT_TRUE(PumpUntil([&] { return !got.empty(); }));
  for (int i = 0; i < 10; ++i) uitest::Pump(5);
  // The host's own answer, or "" where the address has no name.
  std::string name = QHostInfo::fromName(QStringLiteral("127.0.0.1")).hostName().toStdString();
  if (name == "127.0.0.1") name.clear();
  EXPECT_EQ(got, std::vector<std::string>{name});
}

}  // namespace
}  // namespace korva
