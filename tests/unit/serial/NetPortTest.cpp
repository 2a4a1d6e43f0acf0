// The raw TCP console over scripted sockets: its settings and log, the three
// roles, what a peer's bytes put into the port's queue, the guest's bytes
// with a peer that never reads, the client's time-out and errors, the input
// boxes, and the unload through the console assignment.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "host/DateTime.h"
#include "serial/Cable.h"
#include "serial/ConsoleAssignment.h"
#include "serial/Consoles.h"
#include "serial/NetPort.h"
#include "shell/ShellSettings.h"
#include "support/ScriptedHost.h"

namespace korva {
namespace {

class NetPortTest : public ::testing::Test {
 protected:
  NetPortTest() {
    ConsoleType = {};
    Cable = classCable();
    ConsoleFactories.Net = [](int16_t) { return std::make_unique<NetPortConsole>(); };
  }
  ~NetPortTest() override {
    DestroyConsoleWindows();
    ConsoleFactories = {};
    ConsoleType = {};
    Cable = classCable();
    BaseListenPort = 30000;
  }
  // Opens the NET window of port 0; its socket is made when it loads.
  void Open(int16_t port = 0) {
    ConsoleType[static_cast<size_t>(port)] = ConsoleNET;
    OpenConsoles();
    net = dynamic_cast<NetPortConsole*>(NetPortForms[static_cast<size_t>(port)]);
    ASSERT_NE(net, nullptr);
    ASSERT_EQ(host.Sockets.size(), 1u);
    sock = host.Sockets[0];
  }
  // Starts Standalone; its listening socket is made at the first start.
  void StartStandalone() {
    net->SwitchRole(NetStandalone);
    ASSERT_EQ(host.Sockets.size(), 2u);
    lis = host.Sockets[1];
    ASSERT_EQ(lis->State(), SocketState::Listening);
  }
  // A Standalone window of port 0 with a peer.
  void Standalone(bool issue = true) {
    Open();
    net->Issue = issue;
    StartStandalone();
    ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  }
  static std::string Queued(int16_t port = 0) {
    std::string out;
    while (Cable.RXavailable(port)) out += static_cast<char>(Cable.RX(port));
    return out;
  }
  bool LinesUp() const { return Cable.DCD(0) == True && Cable.CTS(0) == True && Cable.DSR(0) == True; }
  bool LogHas(const std::string& text) const { return net->LogText().find(text) != std::string::npos; }

  ScriptedHost host;
  NetPortConsole* net = nullptr;
  ScriptedSocket* sock = nullptr;  // the connection
  ScriptedSocket* lis = nullptr;   // Standalone's listener
};

TEST_F(NetPortTest, LoadReadsTheSectionWithItsRangesAndStartsAsAStoppedClient) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> stored;
    int32_t listen, remotePort, timeOut;
    std::string remoteHost;
  };
  const std::vector<Case> cases = {
      {{}, 30002, 23, 10, "127.0.0.1"},
      {{{"ListenPort", "4000"}, {"RemotePort", "2323"}, {"TimeOut", NumberText(60 / 86400.0)},
        {"RemoteHost", "korva.example"}},
       4000, 2323, 60, "korva.example"},
      {{{"ListenPort", "0"}, {"RemotePort", "65536"}, {"TimeOut", NumberText(61 / 86400.0)}, {"RemoteHost", ""}},
       30002, 23, 10, "127.0.0.1"},
      {{{"TimeOut", "abc"}, {"ListenPort", "x"}}, 30002, 23, 10, "127.0.0.1"},
  };
  for (const Case& c : cases) {
    host.ClearSettings();
    for (const auto& [key, value] : c.stored) host.PresetSetting("NET2", key, value);
    NetPortConsole console;
    console.PortNumber(2);
    console.Load();
    SCOPED_TRACE(c.listen);
    EXPECT_EQ(console.ListenPort, c.listen);
    EXPECT_EQ(console.RemotePort, c.remotePort);
    EXPECT_EQ(console.TimeOut, c.timeOut);
    EXPECT_EQ(console.RemoteHost, c.remoteHost);
    EXPECT_EQ(console.Role(), NetClient);
    EXPECT_EQ(console.LogText(), "- 2024-06-15 12:00:00 - Server is stopped\r\n+ Client\r\n");
    EXPECT_EQ(console.Caption(), "DEV2 - NET - Server is stopped");
    EXPECT_EQ(console.NetSocketState(), SocketState::Closed);
  }
  // A base port of the main window's settings moves the default.
  host.ClearSettings();
  BaseListenPort = 31000;
  NetPortConsole console;
  console.PortNumber(3);
  console.Load();
  EXPECT_EQ(console.ListenPort, 31003);
}

TEST_F(NetPortTest, TheLogDropsItsFirstThousandCharactersPastSixteenThousand) {
  Open();
  while (net->LogText().size() <= NetPortConsole::MaxLog) net->LogEntry("Status", std::string(100, 'x'));
  const std::string before = net->LogText();
  net->LogEntry("Last", "two\r\n+ lines");
  EXPECT_EQ(net->LogText(), before.substr(1000) + "- 2024-06-15 12:00:00 - Last\r\n+ two\r\n+ lines\r\n");
  EXPECT_EQ(net->Caption(), "DEV0 - NET - Last");
}

TEST_F(NetPortTest, StandaloneListensGreetsAndRaisesTheLinesWithTheConnection) {
  Open();
  StartStandalone();
  EXPECT_EQ(lis->Actions.back(), "Listen 30000");
  EXPECT_TRUE(LogHas("Started Server\r\n+ Port =30000\r\n+ Standalone\r\n"));
  EXPECT_FALSE(LinesUp());
  ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  EXPECT_EQ(sock->Sent, "Welcome to Korva Emulator Telnet as Console Device 0\r\n");
  EXPECT_TRUE(LinesUp());
  EXPECT_TRUE(LogHas("Connected \r\n+ From= 127.0.0.1 (127.0.0.1)\r\n+ To= 127.0.0.1 (korvahost)\r\n+ Port= 30000\r\n"));
  EXPECT_EQ(net->SendComplete(), true);

  // The peer leaves: the window listens on, on the same port.
  sock->PeerCloses();
  EXPECT_FALSE(LinesUp());
  EXPECT_EQ(sock->State(), SocketState::Closed);
  EXPECT_EQ(lis->State(), SocketState::Listening);
  EXPECT_EQ(std::count(lis->Actions.begin(), lis->Actions.end(), "Listen 30000"), 1);
  const size_t closed = net->LogText().find("Connection Closed\r\n+ Standalone");
  ASSERT_NE(closed, std::string::npos);
  EXPECT_NE(net->LogText().find("Started Server", closed), std::string::npos);

  // Without "Issue" nothing is sent; a port that cannot be bound is logged.
  sock->Sent.clear();
  net->Issue = false;
  ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  EXPECT_EQ(sock->Sent, "");
  net->StopRole();
  EXPECT_TRUE(LogHas("Stopped Server \r\n+ Port =30000\r\n+ Standalone\r\n"));
  EXPECT_EQ(lis->State(), SocketState::Closed);
  lis->ListenFails = MakeSocketFault(SocketErrors::AddressInUse);
  net->Restart();
  EXPECT_TRUE(LogHas("Error Starting Server\r\n+ Port =30000\r\n+ Error # = 10048 - Address in use\r\n"));
  EXPECT_EQ(net->Caption(), "DEV0 - NET - Error Starting Server");
}

TEST_F(NetPortTest, ANewPeerOnStandaloneTakesThePlaceOfTheOneItHas) {
  Standalone(false);
  sock->PeerSends("old");
  net->Issue = true;
  ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  EXPECT_EQ(sock->Actions[sock->Actions.size() - 3], "Close");
  EXPECT_EQ(sock->Sent, NetPortConsole::Greeting(0));
  EXPECT_EQ(Queued(), "");
  EXPECT_TRUE(LinesUp());
  EXPECT_EQ(lis->State(), SocketState::Listening);

  // Peers that keep coming while a greeting waits each take the place of the
  // last without piling up waits: the first wait ends as its peer is dropped.
  sock->HoldSends = true;
  int requests = 0;
  host.OnPumpEvents = [&] {
    host.AdvanceClock(1);
    if (requests < 100) {
      ++requests;
      lis->PeerRequests();
    }
  };
  lis->PeerRequests();
  EXPECT_EQ(requests, 1);
  EXPECT_TRUE(LinesUp());
  EXPECT_EQ(sock->State(), SocketState::Connected);
}

TEST_F(NetPortTest, BytesAPeerSentBeforeItClosedStillReachTheGuest) {
  Standalone(false);
  std::string big;
  for (int i = 0; i < 10000; ++i) big += static_cast<char>('A' + i % 26);
  sock->PeerSends(big);
  sock->PeerCloses();
  EXPECT_FALSE(LinesUp());
  EXPECT_EQ(Queued(), big);
  // "Reset Net I/O" drops them, the queue and what waits behind it alike.
  ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  sock->PeerSends(big);
  sock->PeerCloses();
  net->ResetNetIO();
  EXPECT_EQ(Queued(), "");
}

TEST_F(NetPortTest, TheAcceptLineNamesThePeerWhenTheLookupAnswers) {
  Open();
  StartStandalone();
  const auto accept = [this](const std::string& address) {
    sock->PeerAddress = address;
    ASSERT_TRUE(sock->Accepted(lis->PeerRequests()));
  };
  accept("10.0.0.7");
  accept("10.0.0.8");
  accept("10.0.0.9");
  ASSERT_EQ(host.Lookups.size(), 3u);
  EXPECT_EQ(host.Lookups[0]->Address, "10.0.0.7");
  EXPECT_TRUE(LogHas("From= 10.0.0.7 (10.0.0.7)\r\n+ To= 127.0.0.1 (korvahost)\r\n+ Port= 30000\r\n"));
  // A longer name moves the lines after it; each answer still finds its own line.
  EXPECT_TRUE(host.AnswerLookup(0, "a-much-longer-name.example"));
  EXPECT_TRUE(host.AnswerLookup(2, "pc9"));
  EXPECT_TRUE(LogHas("From= 10.0.0.7 (a-much-longer-name.example)\r\n+ To= "));
  EXPECT_TRUE(LogHas("From= 10.0.0.8 (10.0.0.8)\r\n"));
  EXPECT_TRUE(LogHas("From= 10.0.0.9 (pc9)\r\n+ To= "));
  // No name, or one that is no name, leaves the address.
  EXPECT_TRUE(host.AnswerLookup(1, "evil\r\n- forged line"));
  EXPECT_TRUE(LogHas("From= 10.0.0.8 (10.0.0.8)\r\n"));
  EXPECT_FALSE(LogHas("forged"));

  // A line cut from the log ends its lookup; so does the end of the window.
  accept("10.0.0.10");
  while (LogHas("10.0.0.10")) net->LogEntry("Status", std::string(100, 'x'));
  EXPECT_TRUE(host.Lookups[3]->Cancelled);
  EXPECT_FALSE(host.AnswerLookup(3, "gone"));
  accept("10.0.0.11");
  DestroyConsoleWindows();
  EXPECT_TRUE(host.Lookups[4]->Cancelled);
  EXPECT_FALSE(host.AnswerLookup(4, "gone"));
}

TEST_F(NetPortTest, PeerBytesGoToTheQueueChunkByChunk) {
  struct Case {
    bool crlfIsCr;
    std::string sent, queued;
  };
  const std::vector<Case> cases = {
      {true, "AB\r\n", "AB\r"}, {false, "AB\r\n", "AB\r\n"}, {true, "A\r\nB", "A\r\nB"},
      {true, "\r\n", "\r"},     {true, "\n", "\n"},          {true, std::string("\0\xFF\r\n", 4), std::string("\0\xFF\r", 3)},
  };
  Standalone(false);
  for (const Case& c : cases) {
    net->CRLFeqLF = c.crlfIsCr;
    sock->PeerSends(c.sent);
    EXPECT_EQ(Queued(), c.queued) << c.sent;
  }
  // What the queue cannot hold waits in the socket and follows as the guest reads.
  std::string big;
  for (int i = 0; i < 10000; ++i) big += static_cast<char>('A' + i % 26);
  sock->PeerSends(big);
  EXPECT_EQ(Cable.QueueRoom(0), 0);
  EXPECT_EQ(sock->BytesReceived(), 10000 - classCable::QueueSize);
  EXPECT_EQ(Queued(), big);
}

TEST_F(NetPortTest, GuestBytesGoOutOneByOneAndAPeerThatNeverReadsIsGivenUp) {
  Standalone(false);
  Cable.tX(0, 0xC1);
  net->Ascii = true;
  Cable.tX(0, 0xC1);
  EXPECT_EQ(sock->Sent, "\xC1\x41");

  // The peer takes nothing: the guest waits once 64 KiB are unsent, and ten
  // seconds later the connection ends as if the peer had closed it.
  sock->HoldSends = true;
  host.OnPumpEvents = [this] { host.AdvanceClock(1); };
  for (int i = 0; i < (1 << 20); ++i) Cable.tX(0, static_cast<uint8_t>(i));
  EXPECT_EQ(sock->Sent.size(), 2u + NetPortConsole::SendWindow - 2);
  EXPECT_LE(host.PumpCount, 12);
  EXPECT_TRUE(LogHas("Connection Closed\r\n+ Standalone"));
  EXPECT_FALSE(LinesUp());
  EXPECT_EQ(lis->State(), SocketState::Listening);
}

TEST_F(NetPortTest, ClientLogsItsStepsAndClosesAnAttemptThatTimesOut) {
  Open();
  host.OnPumpEvents = [this] {
    host.AdvanceClock(1);
    if (sock->State() == SocketState::ResolvingHost) sock->Step(SocketState::Connecting);
  };
  net->SwitchRole(NetClient);
  EXPECT_EQ(sock->Actions[sock->Actions.size() - 2], "Connect 127.0.0.1:23");
  EXPECT_EQ(sock->Actions.back(), "Close");
  EXPECT_TRUE(LogHas("Resolving Host\r\n+ 127.0.0.1:23\r\n+ Client\r\n"));
  EXPECT_TRUE(LogHas("Connecting\r\n+ 127.0.0.1:23\r\n+ Client\r\n"));
  EXPECT_TRUE(LogHas("Connect Timeout\r\n+ Local Timeout=10 seconds\r\n"));
  EXPECT_EQ(host.PumpCount, 10);
  sock->PeerAccepts();  // too late: nothing follows
  EXPECT_FALSE(LinesUp());
  EXPECT_FALSE(LogHas("- Connected"));

  // An attempt that connects raises the lines; an error drops them and closes.
  host.OnPumpEvents = [this] {
    if (sock->State() == SocketState::ResolvingHost) sock->PeerAccepts();
  };
  net->Restart();
  EXPECT_TRUE(LinesUp());
  EXPECT_TRUE(LogHas("Connected\r\n+ To - 127.0.0.1:23\r\n+ Client\r\n"));
  sock->PeerSends("hi\r\n");
  EXPECT_EQ(Queued(), "hi\r");
  sock->Fail(SocketErrors::ConnectionReset);
  EXPECT_TRUE(LogHas("Error - 10054\r\n+ Connection is reset by remote side\r\n+ 0x800A2746\r\n"));
  EXPECT_EQ(sock->State(), SocketState::Closed);
  EXPECT_FALSE(LinesUp());
}

TEST_F(NetPortTest, InputBoxesAskAgainUntilEmptyOrValidAndSaveWhatTheyTake) {
  Open();
  for (const char* a : {"0", "61", "abc", ""}) host.AnswerInput(a);
  net->AskTimeOut();
  EXPECT_EQ(net->TimeOut, 10);
  const std::vector<HostCall> asked = host.CallsOf(HostCall::Kind::InputBox);
  ASSERT_EQ(asked.size(), 4u);
  EXPECT_EQ(asked[0].Title, "Timeout");
  EXPECT_EQ(asked[0].Value, "10");
  EXPECT_EQ(asked[0].Text,
            "Input Remote Connect Timeout (1-60)\r\n\r\nThis is the number of seconds to timeout a connection "
            "request\r\n\r\nIt is used to shorten the normal Timeout(approx 40 sec)");
  EXPECT_FALSE(host.StoredSetting("NET0", "TimeOut"));
  host.AnswerInput(" 30 ");
  net->AskTimeOut();
  EXPECT_EQ(net->TimeOut, 30);
  EXPECT_EQ(*host.StoredSetting("NET0", "TimeOut"), NumberText(30 / 86400.0));

  for (const char* a : {"65536", "4001"}) host.AnswerInput(a);
  net->AskListenPort();
  host.AnswerInput("2300");
  net->AskRemotePort();
  host.AnswerInput("korva.example");
  net->AskRemoteHost();
  host.CancelInput();
  net->AskRemotePort();
  EXPECT_EQ(*host.StoredSetting("NET0", "ListenPort"), "4001");
  EXPECT_EQ(*host.StoredSetting("NET0", "RemotePort"), "2300");
  EXPECT_EQ(*host.StoredSetting("NET0", "RemoteHost"), "korva.example");
  EXPECT_EQ(net->RemotePort, 2300);
  const std::vector<HostCall> all = host.CallsOf(HostCall::Kind::InputBox);
  EXPECT_EQ(all[5].Text, "Input Standalone listening Port (1-65535)\r\n\r\nServer must be restarted as Standalone to take affect");
  EXPECT_EQ(all[5].Title, "Standalone Listening Port");
  EXPECT_EQ(all[7].Title, "Remote Port");
  EXPECT_EQ(all[8].Text, "Input Remote Host Name or IP Address\r\n\r\nww.xx.yy.zz or DomainName");
  EXPECT_EQ(all[8].Title, "Remote Host Name or IP Address");
  // The new listening port serves the next start.
  StartStandalone();
  EXPECT_EQ(lis->Actions.back(), "Listen 4001");
}

TEST_F(NetPortTest, ChildWaitsForTheMainListenerAndAFailedAcceptLeavesTheLines) {
  Open();
  net->SwitchRole(NetChild);
  EXPECT_EQ(net->Role(), NetChild);
  EXPECT_TRUE(LogHas("Server is stopped\r\n+ Waiting for Main at 23\r\n+ Child\r\n"));
  ScriptedSocket main(&host);
  main.LocalPort(23);
  ASSERT_FALSE(main.Listen());
  main.OnConnectionRequest = [this](int32_t id) { net->AcceptConnection(id); };
  sock->AcceptFails = MakeSocketFault(SocketErrors::InvalidArgument);
  main.PeerRequests();
  EXPECT_TRUE(LogHas("Error Connecting \r\n+ Error # = 10022 - Invalid argument\r\n"));
  EXPECT_FALSE(LinesUp());
  ASSERT_TRUE(sock->Accepted(main.PeerRequests()));
  EXPECT_TRUE(LinesUp());
  EXPECT_EQ(net->NetSocketState(), SocketState::Connected);
  sock->PeerCloses();
  EXPECT_TRUE(LogHas("Connection Closed\r\n+ Waiting for Main at 23\r\n+ Child\r\n"));
  EXPECT_EQ(net->NetSocketState(), SocketState::Closed);
  EXPECT_FALSE(LinesUp());
}

TEST_F(NetPortTest, PortSetToNoneClosesTheConnectionDropsTheLinesAndSavesTheOptions) {
  Standalone();
  Cable.RX(0, 'x');
  net->Ascii = true;
  net->NewlineIs = 1;
  ApplyConsoleTypes(ConsoleTicks{});  // every box of every port cleared
  EXPECT_EQ(sock->State(), SocketState::Closed);
  EXPECT_EQ(lis->State(), SocketState::Closed);
  EXPECT_FALSE(LinesUp());
  EXPECT_EQ(ConsoleType[0], ConsoleNone);
  EXPECT_EQ(NetPortForms[0], nullptr);
  EXPECT_FALSE(net->Loaded());
  EXPECT_EQ(*host.StoredSetting("NET0", "Ascii"), "True");
  EXPECT_EQ(*host.StoredSetting("NET0", "CRLFeqLF"), "True");
  EXPECT_EQ(*host.StoredSetting("NET0", "Issue"), "True");
  EXPECT_EQ(*host.StoredSetting("NET0", "Parity"), "0");
  EXPECT_FALSE(host.StoredSetting("NET0", "NewlineIs"));
  // Bytes of the guest go nowhere now.
  sock->Sent.clear();
  Cable.tX(0, 'A');
  EXPECT_EQ(sock->Sent, "");
}

}  // namespace
}  // namespace korva
