#include "serial/NetPort.h"

#include <algorithm>
#include <cmath>

#include "cpu/MainLoop.h"
#include "host/DateTime.h"
#include "host/Host.h"
#include "host/Settings.h"
#include "serial/Consoles.h"
#include "shell/NumberInput.h"
#include "shell/ShellSettings.h"
#include "tables/TextFormat.h"

namespace korva {

namespace {

constexpr int kWaitMs = 10;  // longest single wait for an event while a wait pumps

std::string FaultText(const SocketFault& f) {
  return "Error # = " + std::to_string(f.Number) + " - " + f.Description;
}

bool ValidPort(int32_t port) { return port >= 1 && port <= 65535; }

// A host name fit for the log: printable characters without blanks, as names
// are. Anything else a name service gives (line breaks from a hostile
// resolver, say) leaves the address in its place.
bool ShowableName(const std::string& name) {
  if (name.empty() || name.size() > 255) return false;
  return std::all_of(name.begin(), name.end(), [](char c) { return c > ' ' && c < 0x7F; });
}

void Unhook(HostSocket& s) {
  s.OnConnectionRequest = nullptr;
  s.OnConnect = nullptr;
  s.OnClose = nullptr;
  s.OnDataArrival = nullptr;
  s.OnSendComplete = nullptr;
  s.OnError = nullptr;
  s.Close();
}

// Seconds between two dates of the host's clock.
double SecondsBetween(double from, double to) { return (to - from) * 86400.0; }

}  // namespace

NetPortConsole::NetPortConsole(NetPortView* view) : view_(view) {}

NetPortConsole::~NetPortConsole() {
  names_.clear();  // no answer comes after this
  if (Cable.Feeder(PortNumber_) == this) Cable.SetFeeder(PortNumber_, nullptr);
  if (socket_) Unhook(*socket_);
  if (listener_) Unhook(*listener_);
}

HostSocket& NetPortConsole::Sock() {
  if (!socket_) {
    socket_ = Host().CreateSocket();
    socket_->OnConnect = [this] { Connected(); };
    socket_->OnClose = [this] { PeerClosed(); };
    socket_->OnDataArrival = [this](int64_t) { DataArrived(); };
    socket_->OnSendComplete = [this] { sendComplete_ = true; };
    socket_->OnError = [this](const SocketFault& f) { SocketFailed(f); };
  }
  return *socket_;
}

HostSocket& NetPortConsole::ListenerSocket() {
  if (!listener_) {
    listener_ = Host().CreateSocket();
    listener_->OnConnectionRequest = [this](int32_t id) { ConnectionRequested(id); };
    listener_->OnError = [this](const SocketFault& f) { ListenerFailed(f); };
  }
  return *listener_;
}

void NetPortConsole::CloseSocket() {
  ++link_;
  attempting_ = false;
  if (socket_) socket_->Close();
}

void NetPortConsole::CloseListener() {
  if (listener_) listener_->Close();
}

bool NetPortConsole::Linked() const { return socket_ && socket_->State() == SocketState::Connected; }

enum SocketState NetPortConsole::NetSocketState() const {
  return socket_ ? socket_->State() : SocketState::Closed;
}

void NetPortConsole::LinesUp() {
  tail_.clear();
  linesUp_ = true;
  Cable.Connect(PortNumber_, True);
}

void NetPortConsole::LinesDown() {
  linesUp_ = false;
  Cable.Connect(PortNumber_, False);
}

// ---- The log.

std::string NetPortConsole::CaptionBase() const {
  std::string caption = "DEV" + std::to_string(PortNumber_) + " - NET";
  if (!ProfileName.empty()) caption += " - " + ProfileName;
  return caption;
}

std::string NetPortConsole::Now() const { return DateText(Host().Now()); }

std::string NetPortConsole::Greeting(int16_t port) {
  return "Welcome to Korva Emulator Telnet as Console Device " + std::to_string(port) + "\r\n";
}

void NetPortConsole::LogEntry(const std::string& status, const std::string& detail) {
  caption_ = CaptionBase() + " - " + status;
  if (view_) view_->SetCaption(caption_);
  if (log_.size() > MaxLog) {
    log_.erase(0, LogCut);
    logCut_ += LogCut;
    ++logRewrites_;
    // Lookups of lines that are gone are of no more use.
    std::erase_if(names_, [this](const PendingName& n) { return n.At < logCut_; });
  }
  log_ += "- " + Now() + " - " + status + "\r\n";
  if (!detail.empty()) log_ += "+ " + detail + "\r\n";
  if (view_) view_->LogChanged();
}

std::string NetPortConsole::ChildDetail() const {
  return "Waiting for Main at " + std::to_string(MainListenPort) + "\r\n+ Child";
}

// ---- Roles.

void NetPortConsole::Start(int16_t role) {
  HostSocket& s = Sock();
  Role_ = role;
  sendComplete_ = true;
  if (role != NetStandalone) CloseListener();
  if (role == NetStandalone) {
    const std::string where = "Port =" + std::to_string(ListenPort);
    CloseSocket();
    HostSocket& l = ListenerSocket();
    // A listener still on the port (its peer left) listens on: a peer that
    // comes meanwhile is not turned away.
    std::optional<SocketFault> err;
    if (l.State() != SocketState::Listening || (ListenPort != 0 && l.LocalPort() != ListenPort)) {
      l.Close();
      l.LocalPort(ListenPort);
      err = l.Listen();
    }
    if (err)
      LogEntry("Error Starting Server", where + "\r\n+ " + FaultText(*err));
    else
      LogEntry("Started Server", where + "\r\n+ Standalone");
  } else if (role == NetClient) {
    const std::string detail = RemoteHost + ":" + std::to_string(RemotePort) + "\r\n+ Client";
    const double start = Host().Now();
    CloseSocket();
    s.RemoteHost(RemoteHost);
    s.RemotePort(RemotePort);
    const uint64_t link = ++link_;
    if (const std::optional<SocketFault> err = s.Connect()) {
      SocketFailed(*err);
    } else {
      attempting_ = true;
      // Wait for the attempt to end, logging its steps, while it is still this
      // attempt (an event or a menu may have closed it or started another role).
      enum SocketState logged = SocketState::Closed;
      bool timedOut = false;
      for (;;) {
        if (!loaded_ || link != link_) break;
        const enum SocketState now = s.State();
        if (now == SocketState::Connected || now == SocketState::Error || now == SocketState::Closed) break;
        if (now != logged) {
          logged = now;
          if (now == SocketState::ResolvingHost) LogEntry("Resolving Host", detail);
          if (now == SocketState::HostResolved) LogEntry("Resolved", detail);
          if (now == SocketState::Connecting) LogEntry("Connecting", detail);
        }
        if (SecondsBetween(start, Host().Now()) >= TimeOut) {
          timedOut = true;
          break;
        }
        WaitEvents(kWaitMs);
      }
      if (timedOut) {
        // A late connection must not raise the lines of a console that gave up.
        CloseSocket();
        LogEntry("Connect Timeout", "Local Timeout=" + std::to_string(TimeOut) + " seconds");
      }
    }
  } else if (role == NetChild) {
    LogEntry("Server is stopped", ChildDetail());
  }
  // A connection raised the lines when it came; without one they are down.
  if (!Linked()) LinesDown();
}

void NetPortConsole::Stop(int16_t role) {
  HostSocket& s = Sock();
  const bool listening = listener_ && listener_->State() != SocketState::Closed;
  if (s.State() != SocketState::Closed || listening) {
    const int32_t port = listening ? listener_->LocalPort() : s.LocalPort();
    CloseSocket();
    CloseListener();
    if (role == NetStandalone) LogEntry("Stopped Server ", "Port =" + std::to_string(port) + "\r\n+ Standalone");
    if (role == NetClient) LogEntry("Server is stopped", "Client");
    if (role == NetChild) LogEntry("Closed Server", ChildDetail());
  }
  if (role == NetStandalone) LogEntry("Server is stopped", "Client");
  tail_.clear();
  LinesDown();
}

void NetPortConsole::SwitchRole(int16_t role) {
  Stop(Role_);
  Start(role);
}

void NetPortConsole::Restart() { SwitchRole(Role_); }

void NetPortConsole::StopRole() { Stop(Role_); }

void NetPortConsole::AcceptConnection(int32_t requestId) {
  HostSocket& s = Sock();
  if (const std::optional<SocketFault> err = s.Accept(requestId)) {
    LogEntry("Error Connecting ", FaultText(*err));
    return;
  }
  const uint64_t link = ++link_;
  // The peer's name is not known yet: its address stands in its place until the lookup answers.
  const std::string peer = s.RemoteHostIP();
  const std::string detail = "From= " + peer + " (" + peer + ")\r\n+ To= " + s.LocalIP() + " (" +
                             s.LocalHostName() + ")\r\n+ Port= " + std::to_string(s.LocalPort());
  if (!Linked()) {
    LogEntry("Connection Error", detail);
    LookUpName(peer);
    LinesDown();
    return;
  }
  // The lines first: a flush later would lose the peer's first bytes.
  sendComplete_ = true;
  LinesUp();
  LogEntry("Connected ", detail);
  LookUpName(peer);
  if (Issue) {
    sendComplete_ = false;
    s.SendData(Greeting(PortNumber_));
    // A peer that comes while a greeting waits has its own greeting queued
    // without a wait of its own, so that peers coming on and on cannot pile
    // up waits; the outer wait ends as its connection has gone.
    if (!greeting_) {
      greeting_ = true;
      WaitForSend(link, 0);
      greeting_ = false;
    }
  }
}

void NetPortConsole::LookUpName(const std::string& address) {
  if (address.empty()) return;
  const std::string shown = "From= " + address + " (" + address + ")";
  const size_t at = log_.rfind(shown);
  if (at == std::string::npos) return;
  if (names_.size() >= MaxNameLookups) names_.erase(names_.begin());
  const uint64_t serial = ++nameSerial_;
  PendingName pending;
  pending.Serial = serial;
  pending.At = logCut_ + at + shown.size() - address.size() - 2;  // the "(" before the second address
  pending.Address = address;
  names_.push_back(std::move(pending));
  std::unique_ptr<HostNameLookup> lookup =
      Host().LookupName(address, [this, serial](const std::string& name) { NameFound(serial, name); });
  // An answer given at once has taken the entry already; the lookup then simply ends here.
  for (PendingName& n : names_)
    if (n.Serial == serial) n.Lookup = std::move(lookup);
}

void NetPortConsole::NameFound(uint64_t serial, const std::string& name) {
  const auto it =
      std::find_if(names_.begin(), names_.end(), [serial](const PendingName& n) { return n.Serial == serial; });
  if (it == names_.end()) return;
  const uint64_t at = it->At;
  const std::string was = "(" + it->Address + ")";
  names_.erase(it);
  if (!ShowableName(name) || at < logCut_) return;
  // The line must still be there as written: the log may have been cut or loaded anew since.
  const uint64_t i = at - logCut_;
  if (i > log_.size() || log_.compare(static_cast<size_t>(i), was.size(), was) != 0) return;
  const std::string now = "(" + name + ")";
  log_.replace(static_cast<size_t>(i), was.size(), now);
  // Lines after this one moved with it.
  for (PendingName& n : names_)
    if (n.At > at) n.At = n.At + now.size() - was.size();
  ++logRewrites_;
  if (view_) view_->LogChanged();
}

// ---- Socket events.

void NetPortConsole::ConnectionRequested(int32_t requestId) {
  // A new peer on the Standalone listener takes the place of the one the
  // window has: a peer that vanished without a close keeps nobody out.
  const bool dropped = Sock().State() != SocketState::Closed;
  if (dropped) CloseSocket();
  AcceptConnection(requestId);
  if (dropped && linesUp_ && !Linked()) LinesDown();
}

void NetPortConsole::ListenerFailed(const SocketFault& fault) {
  LogEntry("Error - " + std::to_string(fault.Number), fault.Description + "\r\n+ 0x" + HexLong(fault.Code()));
  CloseListener();
}

void NetPortConsole::Connected() {
  // Only the attempt still running may connect: one that timed out was closed.
  if (!attempting_) return;
  attempting_ = false;
  ++link_;
  LinesUp();
  LogEntry("Connected", "To - " + RemoteHost + ":" + std::to_string(RemotePort) + "\r\n+ Client");
}

void NetPortConsole::PeerClosed() {
  // What the peer sent before its close still reaches the guest: what the
  // queue holds is put back after the lines' drop has flushed it, and what
  // the socket still holds follows as the guest reads.
  const std::string queued = linesUp_ ? TakeQueue() : std::string();
  std::string unread = socket_->GetData(socket_->BytesReceived());
  CloseSocket();
  if (Role_ == NetStandalone) {
    LogEntry("Connection Closed", "Standalone");
    Start(NetStandalone);
  } else if (Role_ == NetClient) {
    LogEntry("Connection Closed", "Client");
  } else {
    LogEntry("Connection Closed", ChildDetail());
  }
  LinesDown();
  for (const char c : queued) Cable.RX(PortNumber_, static_cast<uint8_t>(c));
  tail_ = std::move(unread);
  TakeArrived();
}

void NetPortConsole::SocketFailed(const SocketFault& fault) {
  LogEntry("Error - " + std::to_string(fault.Number), fault.Description + "\r\n+ 0x" + HexLong(fault.Code()));
  CloseSocket();
  LinesDown();
}

void NetPortConsole::DataArrived() { TakeArrived(); }

void NetPortConsole::QueueEmptied(int16_t port) {
  if (port == PortNumber_) TakeArrived();
}

void NetPortConsole::TakeArrived() {
  if (taking_) return;
  const int32_t room = Cable.QueueRoom(PortNumber_);
  if (room <= 0) return;
  std::string chunk;
  if (!tail_.empty()) {
    const size_t n = std::min(tail_.size(), static_cast<size_t>(room));
    chunk = tail_.substr(0, n);
    tail_.erase(0, n);
  } else {
    if (!socket_ || !linesUp_) return;
    const enum SocketState st = socket_->State();
    if (st != SocketState::Connected && st != SocketState::Closing) return;
    if (socket_->BytesReceived() <= 0) return;
    chunk = socket_->GetData(room);
  }
  taking_ = true;
  if (CRLFeqLF && chunk.size() >= 2 && chunk.compare(chunk.size() - 2, 2, "\r\n") == 0) chunk.pop_back();
  for (const char c : chunk) Cable.RX(PortNumber_, static_cast<uint8_t>(c));
  taking_ = false;
}

std::string NetPortConsole::TakeQueue() {
  std::string bytes;
  taking_ = true;  // the reads must not refill the queue
  while (Cable.RXavailable(PortNumber_)) bytes += static_cast<char>(Cable.RX(PortNumber_));
  taking_ = false;
  return bytes;
}

// ---- Guest output.

bool NetPortConsole::WaitForSend(uint64_t link, int64_t limit) {
  const auto ours = [this, link] { return loaded_ && link == link_ && Linked(); };
  int64_t left = socket_->BytesToSend();
  double since = Host().Now();
  while (ours() && socket_->BytesToSend() > limit) {
    WaitEvents(kWaitMs);
    if (!ours()) return false;
    const int64_t now = socket_->BytesToSend();
    if (now < left) {
      left = now;
      since = Host().Now();
    } else if (SecondsBetween(since, Host().Now()) >= StallSeconds) {
      PeerClosed();
      return false;
    }
  }
  return ours();
}

void NetPortConsole::Outchar(uint8_t byte) {
  if (!Linked()) return;
  const uint8_t b = Ascii ? static_cast<uint8_t>(byte & 0x7F) : byte;
  sendComplete_ = false;
  socket_->SendData(std::string(1, static_cast<char>(b)));
  if (socket_->BytesToSend() >= SendWindow) WaitForSend(link_, SendWindow - 1);
}

// ---- Input boxes.

void NetPortConsole::AskListenPort() {
  const std::optional<int32_t> v = InputNumberUntilEmptyOrValid(
      PromptLines({"Input Standalone listening Port (1-65535)", "",
                   "Server must be restarted as Standalone to take affect"}),
      "Standalone Listening Port", ListenPort, 1, 65535);
  if (!v) return;
  ListenPort = *v;
  SaveSettingLong(SectionName(), "ListenPort", ListenPort);
}

void NetPortConsole::AskRemoteHost() {
  const std::optional<std::string> v =
      InputUntilEmptyOrValid(PromptLines({"Input Remote Host Name or IP Address", "", "ww.xx.yy.zz or DomainName"}),
                             "Remote Host Name or IP Address", RemoteHost, [](const std::string&) { return true; });
  if (!v) return;
  RemoteHost = *v;
  Host().SaveSetting(SectionName(), "RemoteHost", RemoteHost);
}

void NetPortConsole::AskRemotePort() {
  const std::optional<int32_t> v =
      InputNumberUntilEmptyOrValid("Input Remote Port (1-65535)", "Remote Port", RemotePort, 1, 65535);
  if (!v) return;
  RemotePort = *v;
  SaveSettingLong(SectionName(), "RemotePort", RemotePort);
}

void NetPortConsole::AskTimeOut() {
  const std::optional<int32_t> v = InputNumberUntilEmptyOrValid(
      PromptLines({"Input Remote Connect Timeout (1-60)", "",
                   "This is the number of seconds to timeout a connection request", "",
                   "It is used to shorten the normal Timeout(approx 40 sec)"}),
      "Timeout", TimeOut, 1, 60);
  if (!v) return;
  TimeOut = *v;
  Host().SaveSetting(SectionName(), "TimeOut", NumberText(TimeOut / 86400.0));
}

void NetPortConsole::ResetNetIO() {
  sendComplete_ = true;
  tail_.clear();
  Cable.FlushQueue(PortNumber_);
}

// ---- Load and unload.

void NetPortConsole::Load() {
  Sock();
  const std::string section = SectionName();
  if (view_) view_->LoadPlacement(section);
  Ascii = GetSettingBool(section, "Ascii", False) != False;
  Parity = static_cast<int16_t>(GetSettingLong(section, "Parity", 0, 0, 3));
  NewlineIs = static_cast<int16_t>(GetSettingLong(section, "NewlineIs", 0, 0, 1));
  CRLFeqLF = GetSettingBool(section, "CRLFeqLF", True) != False;
  Issue = GetSettingBool(section, "Issue", True) != False;
  const int32_t base = BaseListenPort + PortNumber_;
  ListenPort = GetSettingLong(section, "ListenPort", ValidPort(base) ? base : 30000 + PortNumber_, 1, 65535);
  RemoteHost = Host().GetSetting(section, "RemoteHost", "127.0.0.1");
  if (RemoteHost.empty()) RemoteHost = "127.0.0.1";
  RemotePort = GetSettingLong(section, "RemotePort", DefaultRemotePort, 1, 65535);
  TimeOut = DefaultTimeOut;
  if (const std::optional<double> days = ParseNumberText(Host().GetSetting(section, "TimeOut", ""))) {
    const double seconds = std::round(*days * 86400.0);
    if (seconds >= 1 && seconds <= 60) TimeOut = static_cast<int32_t>(seconds);
  }
  log_.clear();
  names_.clear();
  logCut_ = 0;
  ++logRewrites_;
  Role_ = NetClient;
  loaded_ = true;
  Cable.SetFeeder(PortNumber_, this);
  LogEntry("Server is stopped", "Client");
  sendComplete_ = true;
}

void NetPortConsole::Unload() {
  if (!loaded_) return;
  const auto p = static_cast<size_t>(PortNumber_);
  const bool ours = IsDevicePort(PortNumber_) && ConsoleType[p] == ConsoleNET;
  // The connection ends with the window: the peer sees a close, the guest the carrier drop.
  CloseSocket();
  CloseListener();
  names_.clear();
  tail_.clear();
  if (ours || linesUp_) LinesDown();
  if (ours) {
    ConsoleType[p] = ConsoleNone;
    if (NetPortForms[p] == this) NetPortForms[p] = nullptr;
  }
  if (Cable.Feeder(PortNumber_) == this) Cable.SetFeeder(PortNumber_, nullptr);
  const std::string section = SectionName();
  SaveSettingBool(section, "Ascii", ToVBool(Ascii));
  SaveSettingLong(section, "Parity", Parity);
  SaveSettingBool(section, "CRLFeqLF", ToVBool(CRLFeqLF));
  SaveSettingBool(section, "Issue", ToVBool(Issue));
  loaded_ = false;
  if (view_) {
    view_->SavePlacement(section);
    view_->HideWindow();
  }
}

void NetPortConsole::OpenNet(int16_t port, int16_t showMode) {
  (void)showMode;  // always modeless
  if (loaded_ && port != PortNumber_) Unload();
  PortNumber_ = port;
  if (!loaded_) Load();
  if (view_) view_->ShowWindow();
  // Down until a connection exists; a window that already carries one keeps them.
  if (!Linked()) LinesDown();
}

void NetPortConsole::CloseNet() {
  LinesDown();
  Unload();
}

}  // namespace korva
