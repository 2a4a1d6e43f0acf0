// The Korva emulator program: the Qt application and its host, then Main, whose
// main loop (RunMachine) is the program's event loop.
#include <QApplication>

#include <string>

#include "board/ui/ScreenWindows.h"
#include "cpu/MainLoop.h"
#include "debugger/ui/DebuggerWindow.h"
#include "disk/ui/dialogBoot.h"
#include "disk/ui/formGetPutBoot.h"
#include "host/qt/QtHost.h"
#include "serial/Consoles.h"
#include "serial/ui/formNetPort.h"
#include "serial/ui/formPrinter.h"
#include "serial/ui/formTerminal.h"
#include "shell/MainFormHooks.h"
#include "shell/ui/formKorvan.h"
#include "terminal/ui/CrtDialogs.h"
#include "terminal/ui/formCRT.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The main loop ends the program when the main window unloads, not Qt.
  QApplication::setQuitOnLastWindowClosed(false);
  // The command line as one text: the first word may name the settings profile.
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  korva::ProgramCommandLine = line;
  korva::QtHost host;
  korva::SetHost(&host);
  korva::InstallBootStringDialog();  // the volume boot asks its boot string in a window
  korva::MainFormFactory = &korva::CreateFormKorvan;
  korva::ui::InstallBoardWindows();
  korva::ui::InstallDebuggerWindow();
  // The console windows of the device ports: one maker per kind goes into
  // korva::ConsoleFactories here (Terminal, CRT, Printer, Net).
  korva::ui::InstallTerminalWindows();
  korva::ui::InstallCRTWindows();
  korva::ui::InstallCrtDialogs();
  korva::ui::InstallPrinterWindows();
  korva::ui::InstallNetWindows();
  const int code = korva::Main();
  korva::UnloadGetPutBoot();  // keeps its placement
  korva::DestroyConsoleWindows();  // closed by the main window's unload already
  host.FinishSettings();  // says once when the settings could not be saved
  // Teardown after the main loop has returned, outside every event handler.
  korva::MainFormHooks* window = korva::MainForm;
  korva::SetMainForm(nullptr);
  if (window != korva::MainForm) delete window;  // never the silent stand-in
  korva::SetHost(nullptr);
  return code;
}
