// Guest bytes per second through a Standalone NET window: a guest loop polls
// the transmitter of serial card 0, channel A and writes 4 MB, one byte at a
// time, through the cable to the window, whose socket sends them to a client
// on 127.0.0.1 that reads everything. The host pumps Qt's events at most every
// 250 microseconds, as the program's host does. The figure is the median of
// three runs, timed from the first byte until the client has the last.
//
// Ends with:
//   bench: net_guest_bytes_per_s=N
#include <QApplication>
#include <QTcpSocket>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "BenchGuest.h"
#include "BenchHost.h"
#include "BenchTiming.h"
#include "bus/MMU.h"
#include "bus/Memory.h"
#include "cpu/ControlStore.h"
#include "cpu/CpuState.h"
#include "cpu/FetchDecode.h"
#include "cpu/MainLoop.h"
#include "cpu/Startup.h"
#include "cpu/classCPU.h"
#include "host/Host.h"
#include "host/qt/QtSocket.h"
#include "serial/Cable.h"
#include "serial/Consoles.h"
#include "serial/MVME400.h"
#include "serial/ui/formNetPort.h"

using namespace korva;

namespace {

using Clock = std::chrono::steady_clock;
constexpr uint32_t kBytes = 4u << 20;

class NetHost final : public QuietHost {
 public:
  void PumpEvents() override {
    const Clock::time_point now = Clock::now();
    if (now - last_ < std::chrono::microseconds(250)) return;
    last_ = now;
    QCoreApplication::processEvents();
    if (CallsAt(mcPC, Mcr::mcrStopWait)) QuitRequested = True;
  }
  void WaitEvents(int maxMs) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, maxMs);
  }
  std::unique_ptr<HostSocket> CreateSocket() override { return std::make_unique<QtSocket>(); }

 private:
  Clock::time_point last_{};
};

}  // namespace

int main(int argc, char** argv) {
  OffscreenWithoutDisplay();
  QApplication app(argc, argv);
  NetHost host;
  SetHost(&host);
  std::vector<double> rates;
  for (int run = 0; run < 3; ++run) {
    SerialCard0Machine();
    MVME400C0.ControlA(5);
    MVME400C0.ControlA(0x8A);  // transmitter on
    ui::InstallNetWindows();
    ConsoleType = {};
    ConsoleType[0] = ConsoleNET;
    OpenConsoles();
    auto* net = dynamic_cast<ui::formNetPort*>(NetPortForms[0]);
    net->ListenPort = 0;
    net->Issue = false;
    net->SwitchRole(NetStandalone);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(net->Listener()->LocalPort()));
    while (Cable.DCD(0) != True) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    uint64_t received = 0;
    QObject::connect(&client, &QIODevice::readyRead, [&] { received += static_cast<uint64_t>(client.readAll().size()); });

    // MOVE.L #n,D7; loop: BTST #2,CTRLA; BEQ loop; MOVE.B D7,DATAA; SUBQ.L #1,D7; BNE loop; STOP #$2700.
    StartGuestLoop({uint16_t{0x2E3C}, static_cast<uint16_t>(kBytes >> 16), static_cast<uint16_t>(kBytes),
                    uint16_t{0x0839}, uint16_t{0x0002}, uint16_t{0x00F1}, uint16_t{0xC1CD}, uint16_t{0x67F6},
                    uint16_t{0x13C7}, uint16_t{0x00F1}, uint16_t{0xC1C9}, uint16_t{0x5387}, uint16_t{0x66EC},
                    uint16_t{0x4E72}, uint16_t{0x2700}});
    const Clock::time_point t0 = Clock::now();
    RunMachine();
    while (received < kBytes && Clock::now() - t0 < std::chrono::seconds(60))
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    const double s = SecondsSince(t0);
    if (received != kBytes) std::fprintf(stderr, "bench_net: the client got %llu of %u bytes\n",
                                         static_cast<unsigned long long>(received), kBytes);
    rates.push_back(static_cast<double>(received) / s);
    DestroyConsoleWindows();
  }
  std::printf("bench_net: %u guest bytes through a Standalone window: %.0f bytes/s\n", kBytes, Median(rates));
  std::printf("bench: net_guest_bytes_per_s=%.0f\n", Median(rates));
  SetHost(nullptr);
  return 0;
}
