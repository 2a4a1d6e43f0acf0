// The NET window on real TCP connections over 127.0.0.1 (ports chosen by the
// system): a Standalone window with real clients, a client that fails, a peer
// that never reads, one that floods and one that closes at once, the peer's
// name in the log, the close box, the menus, and a guest that echoes through
// the window. The host is scripted (its clock moves only when a test says so)
// and makes Qt sockets.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>

#include <functional>
#include <string>
#include <vector>

#include "bus/Memory.h"
#include "host/qt/QtSocket.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MVME400.h"
#include "serial/ui/formNetPort.h"
#include "support/TestMachine.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

using ui::formNetPort;
using uitest::Pump;
using uitest::PumpUntil;

class FormNetPortTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    host_.SocketMaker = [] { return std::make_unique<QtSocket>(); };
    host_.OnPumpEvents = [] { Pump(5); };
    Cable = classCable();
    ConsoleType = {};
    ui::InstallNetWindows();
    ConsoleType[0] = ConsoleNET;
    OpenConsoles();
    net_ = dynamic_cast<formNetPort*>(NetPortForms[0]);
    ASSERT_NE(net_, nullptr);
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    Cable = classCable();
  }
  // Starts the window as Standalone on a port the system chooses; returns it.
  int32_t StartStandalone() {
    QTcpServer probe;  // a port that is free now
    EXPECT_TRUE(probe.listen(QHostAddress::Any, 0));
    net_->ListenPort = probe.serverPort();
    probe.close();
    Trigger("mnuStartStandalone");
    EXPECT_EQ(net_->Listener()->State(), SocketState::Listening);
    return net_->Listener()->LocalPort();
  }
  void Trigger(const char* name) {
    QAction* a = net_->findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
  }
  static void Connect(QTcpSocket& peer, int32_t port) {
    peer.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
  }
  static std::string Take(QTcpSocket& peer) {
    const QByteArray b = peer.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
  }
  // Reads what arrives at the peer until it holds n bytes.
  static std::string Receive(QTcpSocket& peer, size_t n) {
    std::string got;
    PumpUntil([&] {
      got += Take(peer);
      return got.size() >= n;
    });
    return got;
  }
  static std::string Queued() {
    std::string out;
    while (Cable.RXavailable(0)) out += static_cast<char>(Cable.RX(0));
    return out;
  }
  static std::string QueuedAtLeast(size_t n) {
    std::string got;
    PumpUntil([&] {
      got += Queued();
      return got.size() >= n;
    });
    return got;
  }
  bool LogHas(const std::string& text) const { return net_->LogText().find(text) != std::string::npos; }
  static uint8_t RR0() {
    MVME400C0.ControlA(0);
    return MVME400C0.StatusA();
  }

  ScriptedHost host_;
  formNetPort* net_ = nullptr;
};

const std::string kGreeting = "Welcome to Korva Emulator Telnet as Console Device 0\r\n";

TEST_F(FormNetPortTest, MenusAndCaptionsOfTheWindow) {
  EXPECT_TRUE(net_->isVisible());
  EXPECT_EQ(net_->windowTitle(), "DEV0 - NET - Server is stopped");
  EXPECT_TRUE(net_->Log()->isReadOnly());
  const std::vector<std::pair<const char*, std::vector<std::string>>> menus = {
      {"mnuServer", {"Start Child", "Start Standalone", "", "Restart", "Stop", "", "Listening Port ..."}},
      {"mnuClient", {"Connect", "Close", "", "Remote Host ...", "Remote Port ...", "", "Timeout ..."}},
      {"mnuSettings", {"Newline", "Byte Size", "Parity", "", "CRLF=CR", "Issue", "Reset Net I/O"}},
  };
  for (const auto& [name, captions] : menus) {
    QMenu* m = net_->findChild<QMenu*>(QString::fromLatin1(name));
    ASSERT_NE(m, nullptr) << name;
    std::vector<std::string> got;
    for (QAction* a : m->actions()) got.push_back(a->isSeparator() ? "" : a->text().toStdString());
    EXPECT_EQ(got, captions) << name;
  }
  // The switches move their checks.
  const auto checked = [this](const char* name) {
    return net_->findChild<QAction*>(QString::fromLatin1(name))->isChecked();
  };
  EXPECT_TRUE(checked("mnuCRLFeqLF"));
  EXPECT_TRUE(checked("mnu8bits"));
  Trigger("mnuCRLFeqLF");
  Trigger("mnu7bits");
  Trigger("mnuOdd");
  EXPECT_FALSE(net_->CRLFeqLF);
  EXPECT_TRUE(net_->Ascii);
  EXPECT_EQ(net_->Parity, 3);
  EXPECT_FALSE(checked("mnuCRLFeqLF"));
  EXPECT_TRUE(checked("mnu7bits"));
  EXPECT_FALSE(checked("mnu8bits"));
  EXPECT_TRUE(checked("mnuOdd"));
  net_->Refresh();
  EXPECT_TRUE(net_->Log()->toPlainText().contains(QStringLiteral("Server is stopped\n+ Client")));
}

TEST_F(FormNetPortTest, StandaloneServesOneRealClientAtATimeOnItsPort) {
  const int32_t port = StartStandalone();
  QTcpSocket client;
  Connect(client, port);
  EXPECT_EQ(Receive(client, kGreeting.size()), kGreeting);
  EXPECT_EQ(RR0() & 0x28, 0x28);  // DCD and CTS

  // One write arrives as one chunk; CRLF=CR takes the LF off its end only.
  client.write("AB\r\n");
  EXPECT_EQ(QueuedAtLeast(3), "AB\r");
  client.write("A\r\nB");
  EXPECT_EQ(QueuedAtLeast(4), "A\r\nB");
  net_->CRLFeqLF = false;
  client.write("AB\r\n");
  EXPECT_EQ(QueuedAtLeast(4), "AB\r\n");

  // Guest bytes reach the peer at once; "7 bits" masks them.
  Cable.tX(0, 'Z');
  EXPECT_EQ(Receive(client, 1), "Z");
  net_->Ascii = true;
  Cable.tX(0, 0xC1);
  EXPECT_EQ(Receive(client, 1), "\x41");

  // A second client takes the place of the first.
  QTcpSocket second;
  Connect(second, port);
  EXPECT_EQ(Receive(second, kGreeting.size()), kGreeting);
  ASSERT_TRUE(PumpUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }));

  // The client leaves: the lines drop and a new client gets in on the same port.
  second.disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return LogHas("Connection Closed"); }));
  EXPECT_EQ(RR0() & 0x28, 0);
  EXPECT_NE(net_->LogText().find("Started Server", net_->LogText().find("Connection Closed")), std::string::npos);
  EXPECT_EQ(net_->Listener()->LocalPort(), port);
  QTcpSocket third;
  Connect(third, port);
  EXPECT_EQ(Receive(third, kGreeting.size()), kGreeting);
  EXPECT_EQ(RR0() & 0x28, 0x28);
}

TEST_F(FormNetPortTest, AClientToAClosedPortLogsTheErrorWithTheLinesDown) {
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const int32_t closed = probe.serverPort();
  probe.close();
  net_->RemotePort = closed;
  Trigger("mnuConnect");
  ASSERT_TRUE(PumpUntil([&] { return LogHas("Error - 10061\r\n+ Connection is refused\r\n+ 0x800A274D\r\n"); })) << net_->LogText();
  EXPECT_FALSE(LogHas("Connect Timeout"));
  EXPECT_EQ(net_->NetSocketState(), SocketState::Closed);
  EXPECT_EQ(Cable.DCD(0), False);

  // And one to a listening port connects and raises the lines.
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  net_->RemotePort = server.serverPort();
  Trigger("mnuConnect");
  EXPECT_EQ(net_->NetSocketState(), SocketState::Connected);
  EXPECT_EQ(Cable.DCD(0), True);
  Trigger("mnuClose");
  EXPECT_EQ(Cable.DCD(0), False);
  EXPECT_TRUE(LogHas("Server is stopped\r\n+ Client\r\n"));
}

TEST_F(FormNetPortTest, APeerThatNeverReadsIsGivenUpAndAFloodIsReadInOrder) {
  const int32_t port = StartStandalone();
  net_->Issue = false;
  QTcpSocket sink;
  sink.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
  sink.setReadBufferSize(4096);
  Connect(sink, port);
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == True; }));
  // Each pump is a second of the host's clock: the bound comes after ten pumps without progress.
  host_.OnPumpEvents = [this] {
    host_.AdvanceClock(1);
    Pump(5);
  };
  // A megabyte does not hang the guest; the host's network stack takes a few
  // megabytes more before the peer's silence shows, then the bound drops the link.
  size_t sent = 0;
  for (; sent < (1u << 20); ++sent) Cable.tX(0, static_cast<uint8_t>(sent));
  for (; sent < (64u << 20) && Cable.DCD(0) == True; ++sent) Cable.tX(0, static_cast<uint8_t>(sent));
  EXPECT_LT(sent, 64u << 20);
  EXPECT_TRUE(LogHas("Connection Closed\r\n+ Standalone"));
  EXPECT_EQ(net_->Listener()->State(), SocketState::Listening);
  for (size_t i = 0; i < 1000; ++i) Cable.tX(0, 1);  // no connection: dropped at once
  host_.OnPumpEvents = [] { Pump(5); };

  // A peer that sends 64 KiB at once: the guest reads every byte, in order.
  QTcpSocket flood;
  Connect(flood, port);
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == True; }));
  std::string bytes;
  for (int i = 0; i < 64 * 1024; ++i) bytes += static_cast<char>('a' + i % 23);
  flood.write(bytes.data(), static_cast<qint64>(bytes.size()));
  const std::string read = QueuedAtLeast(bytes.size());
  EXPECT_EQ(read.size(), bytes.size());
  EXPECT_TRUE(read == bytes);
}

TEST_F(FormNetPortTest, WhatAPeerSentBeforeItClosedReachesTheGuestInOrder) {
  const int32_t port = StartStandalone();
  net_->Issue = false;
  QTcpSocket client;
  Connect(client, port);
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == True; }));
  // 20,000 bytes and the close at once, while nothing reads the port: most of them are still in the socket.
  std::string sent;
  for (int i = 0; i < 20000; ++i) sent += static_cast<char>(i * 7);  // no CR LF in it
  client.write(sent.data(), static_cast<qint64>(sent.size()));
  client.disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return LogHas("Connection Closed"); }));
  EXPECT_EQ(Cable.DCD(0), False);
  // The card reads them all, in order, as a guest would.
  std::string got;
  while (Cable.RXavailable(0)) got += static_cast<char>(MVME400C0.RxDataA());
  EXPECT_EQ(got.size(), sent.size());
  EXPECT_TRUE(got == sent);

  // What a peer left unread is dropped when the next one comes: it starts with an empty queue.
  QTcpSocket next;
  Connect(next, port);
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == True; }));
  next.write(sent.data(), static_cast<qint64>(sent.size()));
  next.disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == False; }));
  QTcpSocket last;
  Connect(last, port);
  ASSERT_TRUE(PumpUntil([&] { return Cable.DCD(0) == True; }));
  last.write("new");
  EXPECT_EQ(QueuedAtLeast(3), "new");
}

TEST_F(FormNetPortTest, TheAcceptLogNamesThePeerOnceTheLookupAnswers) {
  int answers = 0;
  host_.LookupMaker = [&answers](const std::string& address, std::function<void(const std::string&)> answer) {
    return LookupNameQt(address, [&answers, answer](const std::string& name) {
      ++answers;
      answer(name);
    });
  };
  const int32_t port = StartStandalone();
  net_->Issue = false;
  // 127.0.0.1 has a name in most hosts' files; 127.0.0.2 mostly none, and then its address stays.
  for (const char* from : {"127.0.0.1", "127.0.0.2"}) {
    SCOPED_TRACE(from);
    const std::string address = from;
    const int before = answers;
    QTcpSocket client;
    ASSERT_TRUE(client.bind(QHostAddress(QString::fromLatin1(from)), 0));
    Connect(client, port);
    ASSERT_TRUE(PumpUntil([&] { return LogHas("From= " + address + " ("); }));
    EXPECT_TRUE(answers > before || LogHas("From= " + address + " (" + address + ")"));
    ASSERT_TRUE(PumpUntil([&] { return answers > before; }));
    std::string name = QHostInfo::fromName(QString::fromLatin1(from)).hostName().toStdString();
    if (name.empty()) name = address;
    EXPECT_TRUE(LogHas("From= " + address + " (" + name + ")\r\n+ To= ")) << net_->LogText();
  }
}

TEST_F(FormNetPortTest, TheCloseBoxEndsTheConnectionAndSetsThePortToNone) {
  const int32_t port = StartStandalone();
  QTcpSocket client;
  Connect(client, port);
  Receive(client, kGreeting.size());
  net_->close();
  EXPECT_FALSE(net_->isVisible());
  ASSERT_TRUE(PumpUntil([&] { return client.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(RR0() & 0x28, 0);
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(NetPortForms[0], nullptr);
  EXPECT_EQ(*host_.StoredSetting("NET0", "Issue"), "True");
  EXPECT_TRUE(host_.StoredSetting("NET0", "WindowState"));
}

// The guest echoes polled bytes of port 0 through a Standalone window.
class NetPortGuestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    host_.SocketMaker = [] { return std::make_unique<QtSocket>(); };
    host_.OnPumpEvents = [] { Pump(1); };
    ConsoleType = {};
    for (uint32_t r = 0; r < 8; ++r)
      m_.SetDeviceCode(0xF1C1C0 + 2 * r, 0xF1C1C1 + 2 * r, static_cast<uint8_t>(DcMvme400C0 + r));
    ui::InstallNetWindows();
    ConsoleType[0] = ConsoleNET;
    OpenConsoles();
    net_ = dynamic_cast<formNetPort*>(NetPortForms[0]);
    ASSERT_NE(net_, nullptr);
    net_->ListenPort = 0;
    net_->SwitchRole(NetStandalone);
    ASSERT_TRUE(m_.LoadSrec("serial_echo_rom.s19"));
    m_.ResetCpu();
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
  }
  void Connect(QTcpSocket& client) {
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(net_->Listener()->LocalPort()));
  }
  // Runs the guest until the client has the greeting, then sends "hello" CR LF;
  // returns what the client got, the echo included.
  std::string Talk(QTcpSocket& client) {
    std::string got;
    bool sent = false;
    QElapsedTimer t;
    t.start();
    while (got.size() < kGreeting.size() + 6 && t.elapsed() < 5000) {
      m_.RunUntilStop(20000);
      Pump(1);
      const QByteArray b = client.readAll();
      got.append(b.constData(), static_cast<size_t>(b.size()));
      if (!sent && got.size() >= kGreeting.size()) {
        client.write("hello\r\n");
        sent = true;
      }
    }
    return got;
  }

  test::TestMachine m_;  // fresh machine, cable and cards
  ScriptedHost host_;
  formNetPort* net_ = nullptr;
};

TEST_F(NetPortGuestTest, PolledEchoBehindAStandaloneWindow) {
  QTcpSocket client;
  Connect(client);
  EXPECT_EQ(Talk(client), kGreeting + "hello\r");
}

TEST_F(NetPortGuestTest, ASecondClientTakesThePlaceOfTheFirst) {
  // The first client stays silent and never closes, as one that vanished would.
  QTcpSocket first, second;
  Connect(first);
  std::string greeted;
  ASSERT_TRUE(PumpUntil([&] {
    m_.RunUntilStop(20000);
    greeted += first.readAll().toStdString();
    return greeted.size() >= kGreeting.size();
  }));
  EXPECT_EQ(greeted, kGreeting);
  Connect(second);
  EXPECT_EQ(Talk(second), kGreeting + "hello\r");
  ASSERT_TRUE(PumpUntil([&] { return first.state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(first.readAll().toStdString(), "");
}

}  // namespace
}  // namespace korva
