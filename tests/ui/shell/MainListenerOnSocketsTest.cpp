// The main listener on real TCP connections over 127.0.0.1 with real NET
// windows: Children on ports 0 and 1 take the first peers, a Standalone window
// is never chosen, the third peer is told there is no device, a port in use
// and Stop; and the main window's label and "Main Server" menu.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>
#include <string>

#include "cpu/MainLoop.h"
#include "host/qt/QtSocket.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/ui/formNetPort.h"
#include "shell/MainListener.h"
#include "shell/ShellSettings.h"
#include "shell/ui/DeviceMenus.h"
#include "shell/ui/formKorvan.h"
#include "ui/UiTest.h"

namespace korva {
namespace {

void Pump() { uitest::Pump(5); }
using uitest::PumpUntil;

int32_t FreePort() {
  QTcpServer probe;
  probe.listen(QHostAddress::Any, 0);
  return probe.serverPort();
}

// A client of the main port that keeps what it receives.
struct Client {
  QTcpSocket socket;
  std::string got;
  explicit Client(int32_t port) { socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port)); }
  bool Has(const std::string& text) {
    return PumpUntil([&] {
      const QByteArray b = socket.readAll();
      got.append(b.constData(), static_cast<size_t>(b.size()));
      return got.size() >= text.size();
    }) && got == text;
  }
  bool Closed() {
    return PumpUntil([&] {
      const QByteArray b = socket.readAll();
      got.append(b.constData(), static_cast<size_t>(b.size()));
      return socket.state() == QAbstractSocket::UnconnectedState;
    });
  }
};

std::string Greeting(int port) {
  return "Welcome to Korva Emulator Telnet as Console Device " + std::to_string(port) + "\r\n";
}

class MainListenerOnSocketsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    uitest::App();
    host_.SocketMaker = [] { return std::make_unique<QtSocket>(); };
    host_.OnPumpEvents = [] { Pump(); };
    Cable = classCable();
    ConsoleType = {};
    ui::InstallNetWindows();
    for (size_t p : {0u, 1u, 2u}) ConsoleType[p] = ConsoleNET;
    OpenConsoles();
    for (size_t p : {0u, 1u, 2u}) {
      net_[p] = dynamic_cast<ui::formNetPort*>(NetPortForms[p]);
      ASSERT_NE(net_[p], nullptr);
    }
    MainListenPort = FreePort();
  }
  void TearDown() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    Cable = classCable();
    MainListenPort = 23;
  }
  ScriptedHost host_;
  std::array<ui::formNetPort*, 3> net_{};
  MainListener listener_;
};

TEST_F(MainListenerOnSocketsTest, ChildrenTakeTheFirstPeersAndTheRestAreToldThereIsNoDevice) {
  net_[0]->SwitchRole(NetChild);
  net_[1]->SwitchRole(NetChild);
  net_[2]->ListenPort = FreePort();
  net_[2]->SwitchRole(NetStandalone);
  listener_.StartMainServer();
  const int32_t port = MainListenPort;
  EXPECT_EQ(listener_.Status(), "Main Started Server - Port =" + std::to_string(port));

  Client first(port);
  EXPECT_TRUE(first.Has(Greeting(0)));
  Client second(port);
  EXPECT_TRUE(second.Has(Greeting(1)));
  EXPECT_EQ(Cable.DCD(0) & Cable.DCD(1), True);
  Client third(port);
  EXPECT_TRUE(third.Closed());
  EXPECT_EQ(third.got, "No NET devices availible");
  EXPECT_EQ(Cable.DCD(2), False);  // the Standalone window was never chosen

  // Port 0's peer leaves: the next peer is port 0's.
  first.socket.disconnectFromHost();
  ASSERT_TRUE(PumpUntil([&] { return net_[0]->NetSocketState() == SocketState::Closed; }));
  Client fourth(port);
  EXPECT_TRUE(fourth.Has(Greeting(0)));

  // Stop leaves the handed connections; a new client is refused.
  listener_.StopMainServer();
  EXPECT_EQ(listener_.Status(), "Stopped Main Server  - Port =" + std::to_string(port));
  Client late(port);
  EXPECT_TRUE(late.Closed());
  EXPECT_EQ(late.socket.error(), QAbstractSocket::ConnectionRefusedError);
  fourth.socket.write("x");
  ASSERT_TRUE(PumpUntil([] { return Cable.RXavailable(0) == True; }));
  EXPECT_EQ(Cable.RX(0), 'x');
}

TEST_F(MainListenerOnSocketsTest, APortInUseListensNowhere) {
  QTcpServer occupant;
  ASSERT_TRUE(occupant.listen(QHostAddress::Any, 0));
  MainListenPort = occupant.serverPort();
  listener_.Restart();
  EXPECT_EQ(listener_.Status(),
            "Port=" + std::to_string(MainListenPort) + " - Error # = 10048 - Address in use");
  EXPECT_EQ(listener_.Socket().State(), SocketState::Closed);
}

TEST(MainWindowListener, TheLabelShowsTheStatusWithALongOneAsToolTipAndTheMenuRunsIt) {
  uitest::App();
  ScriptedHost host;
  QuitRequested = False;
  auto* window = new formKorvan;
  DeviceMenus& menus = *window->menus;
  ASSERT_NE(menus.mnuMainServer, nullptr);
  // The submenu follows "New Keyboard".
  const QList<QAction*> items = menus.mnuDevices->actions();
  EXPECT_EQ(items.indexOf(menus.mnuMainServer->menuAction()), items.indexOf(menus.mnuNewKeyboard) + 1);
  std::vector<std::string> captions;
  for (QAction* a : menus.mnuMainServer->actions()) captions.push_back(a->text().toStdString());
  EXPECT_EQ(captions, (std::vector<std::string>{"Start/Restart", "Stop", "Set Main Listen Port ...",
                                                "Set Base Stanalone Port ..."}));
  EXPECT_EQ(window->lblWinsockStatus->text(), "Main Network Server is Stopped");

  menus.mnuReStartTelNetServer->trigger();
  EXPECT_EQ(window->lblWinsockStatus->text(), "Main Started Server - Port =23");
  EXPECT_EQ(window->lblWinsockStatus->toolTip(), "");
  host.Sockets.at(0)->ListenFails = SocketFault{SocketErrors::AddressInUse, std::string(200, 'e')};
  menus.mnuReStartTelNetServer->trigger();
  const QString status = QString::fromStdString("Port=23 - Error # = 10048 - " + std::string(200, 'e'));
  EXPECT_EQ(window->lblWinsockStatus->text(), status);
  EXPECT_EQ(window->lblWinsockStatus->toolTip(), status);
  menus.mnuStopTelNetServer->trigger();
  EXPECT_EQ(window->lblWinsockStatus->toolTip(), "");
  delete window;
}

}  // namespace
}  // namespace korva
