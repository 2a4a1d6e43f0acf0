// The screen window on a real X display (Qt's xcb platform): the test ROM's
// picture is drawn, the window shown and the events pumped as the main loop
// does; then the window's drawing area is read back from the X server and must
// equal the compositor's picture, pixel for pixel, colours converted. Run by
// ScreenWindowOnX.sh, which starts the display. Exit status 0 when equal.
#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <iostream>
#include <thread>

#include "board/ScreenCompositor.h"
#include "board/ui/ScreenView.h"
#include "board/ui/ScreenWindows.h"
#include "board/ui/formKeyboardDisplay.h"
#include "host/qt/QtHost.h"
#include "ui/board/TestRomScene.h"
// Last: Xlib's macros (True, False, None) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace korva;

namespace {

// Pixels of the compositor's picture that differ from the root window at (left, top).
int Differences(int left, int top) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return ScreenPixels;
  int bad = ScreenPixels;
  const Window root = DefaultRootWindow(display);
  XWindowAttributes a;
  XGetWindowAttributes(display, root, &a);
  XImage* shot = left < 0 || top < 0 || left + ScreenWidth > a.width || top + ScreenHeight > a.height
                     ? nullptr
                     : XGetImage(display, root, left, top, ScreenWidth, ScreenHeight, AllPlanes, ZPixmap);
  if (shot) {
    bad = 0;
    for (int y = 0; y < ScreenHeight; ++y)
      for (int x = 0; x < ScreenWidth; ++x)
        bad += (XGetPixel(shot, x, y) & 0xFFFFFF) !=
               (ui::ScreenView::ToQtColor(ScreenImage[y * ScreenWidth + x]) & 0xFFFFFF);
    XDestroyImage(shot);
  }
  XCloseDisplay(display);
  return bad;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ScriptedHost script;
  const std::string why = ui::test::DrawTestRomScene(script);
  if (!why.empty()) {
    std::cerr << "the test ROM failed: " << why << "\n";
    return 1;
  }
  QTemporaryDir dir;
  QtHost host(dir.path().toStdString());
  SetHost(&host);
  ui::KeyboardDisplayShow(0);
  ui::formKeyboardDisplay& w = *ui::KeyboardDisplayWindow();
  int bad = ScreenPixels;
  // The window may take a moment to be mapped and painted: try for a while.
  for (int attempt = 0; attempt < 40 && bad != 0; ++attempt) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    while (std::chrono::steady_clock::now() < until) {
      host.PumpEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!w.windowHandle() || !w.windowHandle()->isExposed()) continue;
    const QPoint at = w.picScreen->mapToGlobal(QPoint(0, 0));
    bad = Differences(at.x(), at.y());
    if (bad) std::cerr << "attempt " << attempt << ": " << bad << " pixels differ at " << at.x() << "," << at.y() << "\n";
  }
  ui::UnloadKeyboardDisplay();
  SetHost(nullptr);
  if (bad != 0) return 1;
  std::cout << "the X server shows the compositor's picture\n";
  return 0;
}
