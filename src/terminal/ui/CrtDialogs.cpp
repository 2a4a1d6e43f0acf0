#include "terminal/ui/CrtDialogs.h"

#include <QWidget>

#include "serial/Consoles.h"
#include "terminal/CrtConsole.h"
#include "terminal/ui/DialogCRTAbilities.h"
#include "terminal/ui/DialogCRTOptions.h"
#include "terminal/ui/DialogColors.h"

namespace korva::ui {

namespace {

CrtConsole* Console(int16_t port) {
  if (port < 0 || port >= DevicePorts) return nullptr;
  return dynamic_cast<CrtConsole*>(CRTForms[static_cast<size_t>(port)]);
}

QWidget* Window(int16_t port) { return dynamic_cast<QWidget*>(Console(port)); }

}  // namespace

void InstallCrtDialogs() {
  CrtDialogs.EditKeyDefinitions = [](int16_t port) { EditKeyDefinitions(port, Window(port)); };
  CrtDialogs.EditAbilities = [](int16_t port) {
    CrtConsole* console = Console(port);
    EditAbilities(port, console ? &console->Terminal() : nullptr, Window(port));
  };
  CrtDialogs.SelectColors = [](int16_t port, CrtColorScheme& scheme) { return SelectColors(scheme, Window(port)); };
}

}  // namespace korva::ui
