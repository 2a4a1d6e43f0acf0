// The CRT window's three dialogs on a real X display (Qt's xcb platform): each
// tab of "Key Definitions", the "Definitions" tab of "CRT Abilities" and
// "Colors" with the ANSI scheme, read back from the X server and written as
// PNG files into the folder given, for CrtDialogsOnX.sh to compare with the
// reviewed pictures.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "support/PngImage.h"
#include "support/ScriptedHost.h"
#include "terminal/CrtTerminal.h"
#include "terminal/ui/DialogCRTAbilities.h"
#include "terminal/ui/DialogCRTOptions.h"
#include "terminal/ui/DialogColors.h"
// Last: Xlib's macros (True, False, None) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace korva;

namespace {

void Settle() {
  for (int i = 0; i < 30; ++i) {
    QApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  QApplication::sync();
  QApplication::processEvents();
}

// The widget's window as the X server shows it, into folder/name.png.
bool Shoot(QWidget& w, const std::string& folder, const std::string& name) {
  Settle();
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const Window window = static_cast<Window>(w.winId());
  XWindowAttributes a;
  bool ok = false;
  if (XGetWindowAttributes(display, window, &a)) {
    if (XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(a.width),
                                  static_cast<unsigned>(a.height), AllPlanes, ZPixmap)) {
      std::vector<uint32_t> pixels(static_cast<size_t>(a.width) * static_cast<size_t>(a.height));
      for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
          const unsigned long p = XGetPixel(image, x, y);
          pixels[static_cast<size_t>(y) * static_cast<size_t>(a.width) + static_cast<size_t>(x)] =
              static_cast<uint32_t>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
        }
      XDestroyImage(image);
      ok = test::WritePng(folder + "/" + name + ".png", pixels.data(), a.width, a.height);
    }
  }
  XCloseDisplay(display);
  if (!ok) std::cerr << "no picture of " << name << "\n";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: CrtDialogsOnX FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  QApplication app(argc, argv);
  ScriptedHost host;
  ResetCrtDefinitions();
  classCrtTerminal t(1);
  SetDefaultControlAbilities(1);
  SetDefaultEscapeAbilities(1);
  t.InitDefinitions();
  t.ResizeScreen(80, 24);
  SetDefaultNavigationKeys(1);
  SetDefaultEditingKeys(1);
  SetDefaultFunctionKeys(1);
  CrtDefinition& d = CrtDefinitions[1];
  d.GotoSize = 6, d.GotoOffsetX = 2, d.GotoOffsetY = 4, d.GotoValueOffsetX = 32, d.GotoValueOffsetY = 32;
  bool ok = true;

  {
    ui::DialogCRTOptions keys(1);
    keys.move(0, 0);
    keys.show();
    for (int tab = 0; tab < 4; ++tab) {
      keys.Tabs()->setCurrentIndex(tab);
      ok &= Shoot(keys, folder, "keys_tab" + std::to_string(tab + 1));
    }
  }
  {
    ui::DialogCRTAbilities abilities(1, &t);
    abilities.move(0, 0);
    abilities.show();
    abilities.Tabs()->setCurrentIndex(2);
    ok &= Shoot(abilities, folder, "abilities_definitions");
  }
  {
    ui::DialogColors colors;
    colors.ColorsCode = 2;
    QTimer::singleShot(0, [&] {
      colors.move(0, 0);
      ok &= Shoot(colors, folder, "colors_ansi");
      colors.findChild<QPushButton*>("OKButton")->click();
    });
    colors.ShowColorConfig();
    ok &= colors.Accepted == 1;
  }
  return ok ? 0 : 1;
}
