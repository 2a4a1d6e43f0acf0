#include "support/FakeConsoles.h"

#include <memory>

namespace korva::test {

FakeConsoleFactories::FakeConsoleFactories() {
  DestroyConsoleWindows();
  const auto name = [](const char* kind, int16_t port) { return kind + std::to_string(port); };
  ConsoleFactories.Terminal = [this, name](int16_t port) {
    auto w = std::make_unique<FakeTerminal>(&log, name("tty", port));
    tty[static_cast<size_t>(port)] = w.get();
    ++made;
    return w;
  };
  ConsoleFactories.CRT = [this, name](int16_t port) {
    auto w = std::make_unique<FakeCRT>(&log, name("crt", port));
    crt[static_cast<size_t>(port)] = w.get();
    ++made;
    return w;
  };
  ConsoleFactories.Printer = [this, name](int16_t port) {
    auto w = std::make_unique<FakePrinter>(&log, name("lpt", port));
    lpt[static_cast<size_t>(port)] = w.get();
    ++made;
    return w;
  };
  ConsoleFactories.Net = [this, name](int16_t port) {
    auto w = std::make_unique<FakeNet>(&log, name("net", port));
    net[static_cast<size_t>(port)] = w.get();
    ++made;
    return w;
  };
}

FakeConsoleFactories::~FakeConsoleFactories() {
  DestroyConsoleWindows();
  ConsoleFactories = {};
}

}  // namespace korva::test
