#include "support/FakeConsoles.h"

#include <array>
#include <memory>
#include <string>

namespace korva::test {

namespace {

// A maker of fake windows of one kind, named kind + port: each one made is
// kept in its port's slot and counted.
template <typename W>
auto Maker(std::array<W*, DevicePorts>& slots, std::string* log, int* made, const char* kind) {
  return [&slots, log, made, kind](int16_t port) {
    auto w = std::make_unique<W>(log, kind + std::to_string(port));
    slots[static_cast<size_t>(port)] = w.get();
    ++*made;
    return w;
  };
}

}  // namespace

FakeConsoleFactories::FakeConsoleFactories() {
  DestroyConsoleWindows();
  ConsoleFactories.Terminal = Maker(tty, &log, &made, "tty");
  ConsoleFactories.CRT = Maker(crt, &log, &made, "crt");
  ConsoleFactories.Printer = Maker(lpt, &log, &made, "lpt");
  ConsoleFactories.Net = Maker(net, &log, &made, "net");
}

FakeConsoleFactories::~FakeConsoleFactories() {
  DestroyConsoleWindows();
  ConsoleFactories = {};
}

}  // namespace korva::test
