// Console windows for tests: each records the calls it gets as words in one
// shared log ("tty1.open(1,0) tty1.out(41) ..."), and FakeConsoleFactories
// registers makers of them for every kind, keeping a pointer to each window
// made. The destructor deletes the windows and empties the factories.
//
//   FakeConsoleFactories fakes;
//   ConsoleType[1] = ConsoleCRT;  OpenConsoles();
//   EXPECT_EQ(fakes.log, "crt1.open(1,0) ");
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "serial/Consoles.h"

namespace korva::test {

// The members every kind shares; Base is the kind's interface.
template <typename Base>
class FakeConsoleBase : public Base {
 public:
  FakeConsoleBase(std::string* log, std::string name) : log_(log), name_(std::move(name)) {}
  int16_t PortNumber() const override { return port_; }
  void PortNumber(int16_t port) override { port_ = port; }
  void Outchar(uint8_t byte) override {
    Note("out(" + Hex(byte) + ")");
    if (OnOutchar) OnOutchar(byte);
  }
  // Runs inside Outchar, after the call is logged.
  std::function<void(uint8_t)> OnOutchar;
  // Runs inside the close member, after the call is logged (a window's unload).
  std::function<void()> OnClose;
  bool shown = false;

 protected:
  void Note(const std::string& what) { *log_ += name_ + "." + what + " "; }
  void Opened(int16_t port, int16_t mode) {
    shown = true;
    Note("open(" + std::to_string(port) + "," + std::to_string(mode) + ")");
  }
  void Closed(const char* how = "close") {
    shown = false;
    Note(how);
    if (OnClose) OnClose();
  }
  static std::string Hex(uint8_t b) {
    const char* d = "0123456789ABCDEF";
    return {d[b >> 4], d[b & 15]};
  }

 private:
  std::string* log_;
  std::string name_;
  int16_t port_ = -1;
};

template <typename Base>
class FakeSerialConsole : public FakeConsoleBase<Base> {
 public:
  using FakeConsoleBase<Base>::FakeConsoleBase;
  void TXAvailableA() override { this->Note("txa"); }
  void DTRChanged(VBool s) override { this->Note("dtr(" + std::to_string(s) + ")"); }
  void RTSChanged(VBool s) override { this->Note("rts(" + std::to_string(s) + ")"); }
};

class FakeTerminal : public FakeSerialConsole<TerminalConsoleWindow> {
 public:
  using FakeSerialConsole::FakeSerialConsole;
  void OpenTerminal(int16_t port, int16_t mode) override { Opened(port, mode); }
  void CloseTerminal() override { Closed(); }
};

class FakeCRT : public FakeSerialConsole<CRTConsoleWindow> {
 public:
  using FakeSerialConsole::FakeSerialConsole;
  void OpenCRT(int16_t port, int16_t mode) override { Opened(port, mode); }
  void CloseCRT() override { Closed(); }
  void Unload() override { Closed("unload"); }
};

class FakePrinter : public FakeConsoleBase<PrinterConsoleWindow> {
 public:
  using FakeConsoleBase::FakeConsoleBase;
  void OpenPrinter(int16_t port, int16_t mode) override { Opened(port, mode); }
  void ClosePrinter() override { Closed(); }
  void Unload() override { Closed("unload"); }
  uint8_t GetStatus() override { return status; }
  void SetOnLine(VBool s) override {
    onLine = s;
    Note("online(" + std::to_string(s) + ")");
  }
  VBool IsOnLine() const override { return onLine; }
  uint8_t status = 0;
  VBool onLine = True;
};

class FakeNet : public FakeSerialConsole<NetConsoleWindow> {
 public:
  using FakeSerialConsole::FakeSerialConsole;
  void OpenNet(int16_t port, int16_t mode) override { Opened(port, mode); }
  void CloseNet() override { Closed(); }
  void Unload() override { Closed("unload"); }
  int16_t Role() const override { return role; }
  void Role(int16_t r) override { role = r; }
  SocketState NetSocketState() const override { return socketState; }
  void AcceptConnection(int32_t id) override { Note("accept(" + std::to_string(id) + ")"); }
  int16_t role = NetClient;
  SocketState socketState = SocketState::Closed;
};

// Registers the four fake makers; windows are named "tty", "crt", "lpt" and
// "net" followed by the port.
class FakeConsoleFactories {
 public:
  FakeConsoleFactories();
  ~FakeConsoleFactories();
  FakeConsoleFactories(const FakeConsoleFactories&) = delete;
  FakeConsoleFactories& operator=(const FakeConsoleFactories&) = delete;

  std::string log;
  // The windows made, per port (nullptr until made); owned by the openers.
  std::array<FakeTerminal*, DevicePorts> tty{};
  std::array<FakeCRT*, DevicePorts> crt{};
  std::array<FakePrinter*, DevicePorts> lpt{};
  std::array<FakeNet*, DevicePorts> net{};
  int made = 0;  // windows made so far
};

}  // namespace korva::test
