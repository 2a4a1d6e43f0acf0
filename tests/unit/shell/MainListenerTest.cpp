// The main window's TCP console listener over scripted sockets and fake NET
// windows: its statuses, the hand-off to the first free Child, the refusal of
// a peer nobody takes, socket errors and the two port boxes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/Consoles.h"
#include "shell/MainListener.h"
#include "shell/ShellSettings.h"
#include "support/FakeConsoles.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

class MainListenerTest : public ::testing::Test {
 protected:
  MainListenerTest() {
    ConsoleType = {};
    MainListenPort = 23;
    BaseListenPort = 30000;
  }
  ~MainListenerTest() override {
    ConsoleType = {};
    MainListenPort = 23;
    BaseListenPort = 30000;
  }
  ScriptedSocket& Main() { return *host.Sockets.at(0); }

  ScriptedHost host;
  test::FakeConsoleFactories fakes;
  MainListener listener;
};

TEST_F(MainListenerTest, StartStopAndErrorsShowTheirStatus) {
  EXPECT_EQ(listener.Status(), "Main Network Server is Stopped");
  std::vector<std::string> shown;
  listener.ShowStatus = [&](const std::string& text, const std::string&) { shown.push_back(text); };
  listener.Restart();
  EXPECT_EQ(Main().State(), SocketState::Listening);
  EXPECT_EQ(Main().Actions.back(), "Listen 23");
  EXPECT_EQ(shown, (std::vector<std::string>{"Stopped Main Server  - Port =0", "Main Started Server - Port =23"}));
  listener.StopMainServer();
  EXPECT_EQ(listener.Status(), "Stopped Main Server  - Port =23");
  EXPECT_EQ(Main().State(), SocketState::Closed);

  // A port that cannot be bound: nothing listens.
  Main().ListenFails = MakeSocketFault(SocketErrors::AddressInUse);
  listener.StartMainServer();
  EXPECT_EQ(listener.Status(), "Port=23 - Error # = 10048 - Address in use");
  EXPECT_EQ(Main().State(), SocketState::Closed);
  // An error event closes the listener.
  listener.StartMainServer();
  Main().Fail(SocketErrors::NetworkUnreachable);
  EXPECT_EQ(listener.Status(), "Error - 10051 - Network is unreachable");
  EXPECT_EQ(Main().State(), SocketState::Closed);
  // A peer gone before nobody's refusal could accept it: said so; listening goes on.
  listener.StartMainServer();
  Main().OnConnectionRequest(999);
  EXPECT_EQ(listener.Status(), "Error Connecting  - Error # = 10022 - Invalid argument");
  EXPECT_EQ(Main().State(), SocketState::Listening);
}

TEST_F(MainListenerTest, ALongStatusIsTheToolTip) {
  listener.Fits = [](const std::string& text) { return text.size() <= 40; };
  listener.StartMainServer();
  EXPECT_EQ(listener.ToolTip(), "");
  Main().ListenFails = SocketFault{SocketErrors::AddressInUse, std::string(80, 'd')};
  listener.Restart();
  EXPECT_EQ(listener.Status(), "Port=23 - Error # = 10048 - " + std::string(80, 'd'));
  EXPECT_EQ(listener.ToolTip(), listener.Status());
}

TEST_F(MainListenerTest, PeersGoToTheFirstFreeChildAndTheRestAreToldSo) {
  for (int p : {0, 1, 2}) ConsoleType[static_cast<size_t>(p)] = ConsoleNET;
  OpenConsoles();
  ConsoleType[3] = ConsoleNET;  // no window serves port 3
  fakes.net[0]->role = fakes.net[1]->role = NetChild;
  fakes.net[2]->role = NetStandalone;
  listener.StartMainServer();
  fakes.log.clear();

  const int32_t first = Main().PeerRequests();
  fakes.net[0]->socketState = SocketState::Connected;
  const int32_t second = Main().PeerRequests();
  fakes.net[1]->socketState = SocketState::Connected;
  EXPECT_EQ(fakes.log, "net0.accept(" + std::to_string(first) + ") net1.accept(" + std::to_string(second) + ") ");

  // Nobody is free: the peer is told so and closed once that is sent; listening goes on.
  const int32_t third = Main().PeerRequests();
  EXPECT_TRUE(Main().Accepted(third));
  ASSERT_EQ(host.Sockets.size(), 2u);
  ScriptedSocket& refused = *host.Sockets[1];
  EXPECT_EQ(refused.Sent, "No NET devices availible");
  EXPECT_EQ(refused.State(), SocketState::Connected);
  host.PumpEvents();
  EXPECT_EQ(refused.State(), SocketState::Closed);
  EXPECT_EQ(Main().State(), SocketState::Listening);

  // Port 0's peer left: the next one is port 0's again; the closed refusal goes.
  fakes.net[0]->socketState = SocketState::Closed;
  fakes.log.clear();
  const int32_t fourth = Main().PeerRequests();
  EXPECT_EQ(fakes.log, "net0.accept(" + std::to_string(fourth) + ") ");
  EXPECT_EQ(host.Sockets.size(), 1u);
}

TEST_F(MainListenerTest, PortBoxesAskUntilEmptyOrValid) {
  listener.StartMainServer();
  for (const char* a : {"0", "65536", "abc", "65535"}) host.AnswerInput(a);
  listener.AskMainListenPort();
  EXPECT_EQ(MainListenPort, 65535);
  EXPECT_EQ(*host.StoredSetting("Devices", "MainListenPort"), "65535");
  EXPECT_EQ(Main().Actions.back(), "Listen 65535");
  EXPECT_EQ(listener.Status(), "Main Started Server - Port =65535");
  const std::vector<HostCall> asked = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[0].Title, "Main Listening Port");
  EXPECT_EQ(asked[0].Value, "23");
  EXPECT_EQ(asked[0].Text,
            "Input Main Server Listening Port (1-65535)\r\n\r\nOK will restart Main server.\r\nDoes NOT affect "
            "existing Child connections.");

  host.ClearCalls();
  for (const char* a : {"65520", "65519"}) host.AnswerInput(a);
  listener.AskBaseListenPort();
  EXPECT_EQ(BaseListenPort, 65519);
  EXPECT_EQ(*host.StoredSetting("Devices", "BaseListenPort"), "65519");
  const std::vector<HostCall> base = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(base.size(), 2u);
  EXPECT_EQ(base[0].Title, "Standalone Base Listening Port");
  EXPECT_EQ(base[0].Text,
            "Input Standalone Server base Listening Port (1-65519)\r\n\r\nDoes NOT affect existing Standalone "
            "connections.");
  EXPECT_EQ(Main().Actions.back(), "Listen 65535");  // the base restarts nothing

  // An empty answer changes nothing.
  const size_t actions = Main().Actions.size();
  host.AnswerInput("");
  listener.AskMainListenPort();
  host.CancelInput();
  listener.AskBaseListenPort();
  EXPECT_EQ(MainListenPort, 65535);
  EXPECT_EQ(BaseListenPort, 65519);
  EXPECT_EQ(Main().Actions.size(), actions);
}

}  // namespace
}  // namespace korva
