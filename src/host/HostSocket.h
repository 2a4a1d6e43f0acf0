// A TCP socket of the host, in the shape the console windows and the main
// window's listener use: one object that either listens on a local port,
// connects out, or carries one accepted connection, and reports what happens
// through events.
//
// Make one with Host().CreateSocket() and keep it for as long as its owner
// lives (a console window keeps its socket until the program ends). Everything
// runs on the one thread: the events are raised from inside the host's event
// pump (PumpEvents, WaitEvents), never from inside a call of the owner, except
// where a call below says so.
//
// Life of a socket (State()):
//   Closed --Listen--> Listening --(peer)--> OnConnectionRequest(id)
//   Closed --Connect--> ResolvingHost -> HostResolved -> Connecting --> Connected + OnConnect
//                                                                  \-> Error + OnError
//   Closed or Listening --Accept(id)--> Connected (a listening socket stops listening)
//   Connected --(peer closes)--> Closing + OnClose;  --(failure)--> Error + OnError
//   any state --Close--> Closed (no event)
// A socket in Error or Closing keeps that state until the owner calls Close;
// Listen, Connect and Accept need a closed socket (Accept also takes a
// listening one).
//
// Connection requests: a peer that reaches a listening socket is announced by
// OnConnectionRequest with a request id. Any socket of the program may accept
// that id (the main listener hands its requests to the console windows), but
// only during that event: a request nobody accepted before the handler returns
// is refused (the peer sees its connection closed).
//
// Receiving: OnDataArrival(total) tells that new bytes came in and how many
// wait in all. GetData takes up to a given count; what it leaves waits in the
// socket (and, past the host's buffer, in the peer's TCP stream, which then
// stops sending) and is counted by BytesReceived; no new event comes for it
// until more bytes arrive, so an owner that leaves bytes behind reads them
// later on its own.
//
// Sending: SendData queues bytes and returns at once; OnSendComplete comes
// when every queued byte has gone to the network. BytesToSend counts those
// still queued, so an owner can bound what it queues for a peer that never reads.
//
// Handlers may call any member of the same or another socket, close it, or pump
// events (a nested pump may deliver further events of this socket). A socket
// must not be destroyed inside one of its own event handlers.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace korva {

// State() values; the numbers are the ones shown and compared by the windows.
enum class SocketState : int32_t {
  Closed = 0,
  Listening = 2,
  ResolvingHost = 4,
  HostResolved = 5,
  Connecting = 6,
  Connected = 7,
  Closing = 8,  // the peer closed the connection; the owner has not closed yet
  Error = 9,
};

// A failure: the number, a description, and a 32-bit code for display.
struct SocketFault {
  int32_t Number = 0;
  std::string Description;
  // The error as a 32-bit code (0x800A0000 + Number), as logs show it.
  uint32_t Code() const { return 0x800A0000u + static_cast<uint32_t>(Number); }
};

// The error numbers a socket reports (the customary Windows socket numbers, as
// users of such consoles know them).
namespace SocketErrors {
constexpr int32_t PermissionDenied = 10013;     // a port the user may not bind
constexpr int32_t InvalidArgument = 10022;      // a bad port, an unknown request id
constexpr int32_t AddressInUse = 10048;
constexpr int32_t AddressNotAvailable = 10049;
constexpr int32_t NetworkUnreachable = 10051;
constexpr int32_t ConnectionAborted = 10053;
constexpr int32_t ConnectionReset = 10054;
constexpr int32_t NoBufferSpace = 10055;
constexpr int32_t TimedOut = 10060;
constexpr int32_t ConnectionRefused = 10061;
constexpr int32_t HostUnreachable = 10065;
constexpr int32_t HostNotFound = 11001;
constexpr int32_t BadState = 40006;             // the call does not fit the socket's state
constexpr int32_t NotSupported = 40020;         // no network on this host, or another failure
}  // namespace SocketErrors

// The description that goes with an error number above ("Unknown socket error" else).
std::string SocketErrorText(int32_t number);
inline SocketFault MakeSocketFault(int32_t number) { return {number, SocketErrorText(number)}; }

class HostSocket {
 public:
  virtual ~HostSocket() = default;

  virtual SocketState State() const = 0;

  // The local port: set it before Listen (0 lets the host choose a free one);
  // once listening or connected it reads the port in use.
  virtual int32_t LocalPort() const = 0;
  virtual void LocalPort(int32_t port) = 0;
  // The host name or address and the port that Connect uses.
  virtual std::string RemoteHost() const = 0;
  virtual void RemoteHost(const std::string& host) = 0;
  virtual int32_t RemotePort() const = 0;
  virtual void RemotePort(int32_t port) = 0;

  // The peer's address and port ("" and 0 without a connection), this host's
  // address on the connection ("127.0.0.1" without one) and this host's name.
  // Addresses are numeric (an IPv4 peer of a listener reads as "a.b.c.d").
  virtual std::string RemoteHostIP() const = 0;
  virtual int32_t RemoteHostPort() const = 0;
  virtual std::string LocalIP() const = 0;
  virtual std::string LocalHostName() const = 0;

  // Starts listening on LocalPort on every local address. A closed socket only;
  // a port in use or not allowed fails at once with the error.
  virtual std::optional<SocketFault> Listen() = 0;
  // Connects to RemoteHost:RemotePort. A closed socket only (else BadState at
  // once); everything after that (the states, OnConnect, OnError) comes through
  // events.
  virtual std::optional<SocketFault> Connect() = 0;
  // Takes the connection of a request announced by OnConnectionRequest of any
  // socket, during that event. The socket must be closed or listening; a
  // listening socket stops listening. Connected at once: no OnConnect follows.
  virtual std::optional<SocketFault> Accept(int32_t requestId) = 0;
  // Queues bytes for the peer; Connected only (else BadState, nothing queued).
  // An empty text queues nothing and raises no OnSendComplete.
  virtual std::optional<SocketFault> SendData(const std::string& bytes) = 0;
  // Bytes queued and not yet given to the network.
  virtual int64_t BytesToSend() const = 0;
  // Bytes received and not yet taken.
  virtual int64_t BytesReceived() const = 0;
  // Takes up to maxBytes of the received bytes, in order.
  virtual std::string GetData(int64_t maxBytes) = 0;
  // Ends listening, a connection or an attempt and makes the socket closed.
  // Bytes already queued for the peer are still delivered where the host can
  // hand them to its network stack at once. Raises no event.
  virtual void Close() = 0;

  // Events (see the top of this file). Number and description of OnError as in SocketFault.
  std::function<void(int32_t requestId)> OnConnectionRequest;
  std::function<void()> OnConnect;
  std::function<void()> OnClose;
  std::function<void(int64_t bytesTotal)> OnDataArrival;
  std::function<void()> OnSendComplete;
  std::function<void(const SocketFault& error)> OnError;

 protected:
  // Raise an event through a copy of the handler: a handler may replace itself.
  template <typename F, typename... A>
  static void Raise(const F& handler, A&&... args) {
    if (!handler) return;
    F copy = handler;
    copy(std::forward<A>(args)...);
  }
};

// A name lookup that is under way (HostServices::LookupName); destroying it
// cancels the lookup.
class HostNameLookup {
 public:
  virtual ~HostNameLookup() = default;
};

}  // namespace korva
