// The raw TCP console of one device port (formNetPort): the port's side of the
// cable joined to one TCP connection, bytes unconverted both ways, with a log
// of connection events. This is the window's logic; the Qt window
// (serial/ui/formNetPort.h) shows the log and the menus and gives the few
// things only a window has through NetPortView.
//
// The window plays one role at a time (NetRole): Standalone listens on its own
// port for as long as it plays the role and serves one peer at a time there:
// a new peer takes the place of the one it has, so a peer that vanished
// without closing keeps nobody out; Client connects out; Child waits for the
// main window's listener to hand it a peer (AcceptConnection). The port's
// lines are up exactly while a connection exists: they go up as soon as it
// does, before the greeting or any byte of the peer is read, and drop with it.
//
// The peer's bytes go to the port's queue as it has room; the rest waits in
// the socket (and in TCP). When the peer closes, none of them is lost: what
// waits in the queue stays there as the lines drop, and what the socket still
// held follows, in order, as the guest reads. A new connection starts with an
// empty queue.
//
// The accept log names the peer: its address at first, in parentheses where
// the name goes, replaced by the name once the host's lookup answers.
//
// Waits (the client's connect, the greeting, a guest that outruns its peer)
// pump window events; each checks afterwards that the window is still loaded
// and still carries the same connection, and gives up otherwise.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/HostSocket.h"
#include "serial/Cable.h"
#include "serial/ConsoleWindow.h"

namespace korva {

// What the console asks of its window. Without a view (tests) nothing is shown.
class NetPortView {
 public:
  virtual ~NetPortView() = default;
  virtual void ShowWindow() = 0;  // modeless, in front
  virtual void HideWindow() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  // The log changed; the window shows it from the next pump on.
  virtual void LogChanged() = 0;
  // "Top", "Left", "Width", "Height" and "WindowState" of the section.
  virtual void LoadPlacement(const std::string& section) = 0;
  virtual void SavePlacement(const std::string& section) = 0;
};

class NetPortConsole : public NetConsoleWindow, private CableFeeder {
 public:
  static constexpr size_t MaxLog = 16000;   // past this many characters ...
  static constexpr size_t LogCut = 1000;    // ... the oldest ones go
  // Bytes the guest may have queued for a peer before its writes wait.
  static constexpr int64_t SendWindow = 64 * 1024;
  static constexpr int32_t DefaultTimeOut = 10;  // seconds
  static constexpr int32_t DefaultRemotePort = 23;
  // Name lookups of accept lines under way at most; a newer one cancels the
  // oldest, whose line keeps the address.
  static constexpr size_t MaxNameLookups = 16;

  explicit NetPortConsole(NetPortView* view = nullptr);
  ~NetPortConsole() override;
  NetPortConsole(const NetPortConsole&) = delete;
  NetPortConsole& operator=(const NetPortConsole&) = delete;
  void SetView(NetPortView* view) { view_ = view; }

  // ---- ConsoleWindow / NetConsoleWindow
  int16_t PortNumber() const override { return PortNumber_; }
  void PortNumber(int16_t port) override { PortNumber_ = port; }
  // Passes one guest byte to the peer (masked to 7 bits when "7 bits" is on);
  // dropped without a connection. Waits only while SendWindow bytes are unsent.
  void Outchar(uint8_t byte) override;
  void OpenNet(int16_t port, int16_t showMode) override;
  void CloseNet() override;
  void Unload() override;
  int16_t Role() const override { return Role_; }
  void Role(int16_t role) override { Role_ = role; }
  enum SocketState NetSocketState() const override;
  void AcceptConnection(int32_t requestId) override;

  // ---- Load (OpenNet loads a window that is not loaded).
  void Load();
  bool Loaded() const { return loaded_; }

  // ---- Roles: Start and Stop as the menus use them.
  void Start(int16_t role);
  void Stop(int16_t role);
  // "Start Standalone", "Connect", "Start Child": stop the current role, start role.
  void SwitchRole(int16_t role);
  void Restart();  // "Restart"
  void StopRole();  // "Stop" and "Close"

  // ---- The four input boxes ("Listening Port ...", "Remote Host ...",
  // "Remote Port ...", "Timeout ...").
  void AskListenPort();
  void AskRemoteHost();
  void AskRemotePort();
  void AskTimeOut();
  // "Reset Net I/O": no send outstanding, the port's queue flushed.
  void ResetNetIO();

  // ---- The log.
  void LogEntry(const std::string& status, const std::string& detail);
  const std::string& LogText() const { return log_; }
  // Counts the changes of the log that were not appends (a cut at the front,
  // a fresh load).
  uint64_t LogRewrites() const { return logRewrites_; }
  std::string CaptionBase() const;
  const std::string& Caption() const { return caption_; }
  std::string SectionName() const { return "NET" + std::to_string(PortNumber_); }
  static std::string Greeting(int16_t port);

  // ---- State.
  // The connection (and a client's attempt).
  HostSocket* Socket() const { return socket_.get(); }
  // Standalone's listening socket (nullptr before the first Standalone start).
  HostSocket* Listener() const { return listener_.get(); }
  bool SendComplete() const { return sendComplete_; }

  // Settings (section NET<port>).
  bool Ascii = false;     // "7 bits"
  int16_t Parity = 0;     // 0 Zero, 1 One, 2 Even, 3 Odd: kept, no effect on the data
  int16_t NewlineIs = 0;  // 0 CR, 1 LF: kept, no effect on the data
  bool CRLFeqLF = true;   // "CRLF=CR": a chunk from the peer ending in CR LF loses its LF
  bool Issue = true;      // greet an accepted peer
  int32_t ListenPort = 0;
  std::string RemoteHost = "127.0.0.1";
  int32_t RemotePort = DefaultRemotePort;
  int32_t TimeOut = DefaultTimeOut;  // seconds of a client's connect
  // Seconds a wait for the peer to take bytes may pass without any progress
  // before the connection is given up as if the peer had closed it.
  int32_t StallSeconds = 10;

 private:
  // Socket events.
  void ConnectionRequested(int32_t requestId);  // on the Standalone listener
  void ListenerFailed(const SocketFault& fault);
  void Connected();
  void PeerClosed();
  void DataArrived();
  void SocketFailed(const SocketFault& fault);
  // CableFeeder: the port's queue has room again.
  void QueueEmptied(int16_t port) override;

  HostSocket& Sock();
  HostSocket& ListenerSocket();
  void CloseSocket();
  void CloseListener();
  bool Linked() const;  // the socket carries a connection
  // Queues what the port's queue has room for: the bytes left by a peer that
  // closed first, else what waits in the socket.
  void TakeArrived();
  // Empties the port's queue into the returned bytes, in order.
  std::string TakeQueue();
  // The accept line's peer name: looked up, shown when the answer comes.
  void LookUpName(const std::string& address);
  void NameFound(uint64_t serial, const std::string& name);
  // Pumps while the connection `link` lasts and more than `limit` bytes are
  // unsent; gives the connection up after StallSeconds without progress.
  // True when it ended with the connection still there.
  bool WaitForSend(uint64_t link, int64_t limit);
  void LinesUp();
  void LinesDown();
  std::string ChildDetail() const;
  std::string Now() const;

  NetPortView* view_;
  int16_t PortNumber_ = 0;
  int16_t Role_ = NetClient;
  bool loaded_ = false;
  bool sendComplete_ = true;
  bool taking_ = false;
  bool linesUp_ = false;  // this window raised the port's lines
  bool attempting_ = false;  // a client's connect attempt is running
  bool greeting_ = false;    // a wait for a greeting to go is running
  std::unique_ptr<HostSocket> socket_;
  std::unique_ptr<HostSocket> listener_;
  // The bytes a peer sent before its close that the queue had no room for yet
  // (no more than the socket held unread).
  std::string tail_;
  // Changes whenever the socket is closed or gets a connection or an attempt,
  // so a wait knows whether the connection it waits on is still there.
  uint64_t link_ = 0;
  std::string log_;
  uint64_t logRewrites_ = 0;
  uint64_t logCut_ = 0;  // characters cut from the front of the log since it was loaded
  // An accept line whose peer name is being looked up: where its "(address)"
  // stands, counted from the start of the log as loaded (logCut_ included).
  struct PendingName {
    uint64_t Serial = 0;
    uint64_t At = 0;
    std::string Address;
    std::unique_ptr<HostNameLookup> Lookup;
  };
  std::vector<PendingName> names_;
  uint64_t nameSerial_ = 0;
  std::string caption_;
};

}  // namespace korva
