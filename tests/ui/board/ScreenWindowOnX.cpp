// The screen window on a real X display (Qt's xcb platform): the test ROM's
// picture is drawn, the window shown and the events pumped as the main loop
// does; then an X tool (xwd) takes a screenshot of the whole display, and the
// compositor's picture must be found in it, pixel for pixel, where the window
// shows its drawing area. Run by ScreenWindowOnX.sh, which starts the display.
// Exit status 0 when the picture is found.
#include <QApplication>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <iostream>
#include <iterator>
#include <thread>
#include <vector>

#include "board/ScreenCompositor.h"
#include "board/ui/ScreenView.h"
#include "board/ui/ScreenWindows.h"
#include "board/ui/formKeyboardDisplay.h"
#include "support/ScriptedHost.h"
#include "host/qt/QtHost.h"
#include "ui/board/TestRomScene.h"

using namespace korva;

namespace {

// An X window dump: a header of 25 big-endian 32-bit fields, the window name,
// the colour map, then the pixels.
struct XwdImage {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Pixels;  // 0x00RRGGBB
};

uint32_t Be32(const unsigned char* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | p[2] << 8 | p[3]; }

bool ReadXwd(const std::string& path, XwdImage& out, std::string& why) {
  std::ifstream f(path, std::ios::binary);
  const std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return why = "no dump", false;
  uint32_t h[25];
  for (int i = 0; i < 25; ++i) h[i] = Be32(&b[i * 4]);
  const uint32_t headerSize = h[0], width = h[4], height = h[5], byteOrder = h[7], bitsPerPixel = h[11],
                 bytesPerLine = h[12], redMask = h[14], greenMask = h[15], blueMask = h[16], colours = h[19];
  if ((bitsPerPixel != 24 && bitsPerPixel != 32) || redMask != 0xFF0000 || greenMask != 0xFF00 || blueMask != 0xFF)
    return why = "not a true-colour dump of 24 or 32 bits a pixel", false;
  const size_t start = size_t(headerSize) + size_t(colours) * 12;
  if (width > 10000 || height > 10000 || bytesPerLine < width * (bitsPerPixel / 8) ||
      start + size_t(bytesPerLine) * height > b.size())
    return why = "dump too short", false;
  out.Width = int(width);
  out.Height = int(height);
  out.Pixels.resize(size_t(width) * height);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const unsigned char* p = &b[start + size_t(y) * bytesPerLine + x * (bitsPerPixel / 8)];
      // The low three bytes of the pixel value, in the dump's byte order.
      const uint32_t v = byteOrder ? (bitsPerPixel == 32 ? Be32(p) : Be32(p) >> 8)
                                   : uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      out.Pixels[size_t(y) * width + x] = v & 0xFFFFFF;
    }
  return true;
}

// Pixels of the picture that differ from the dump at (left, top).
int Differences(const XwdImage& shot, int left, int top) {
  if (left < 0 || top < 0 || left + ScreenWidth > shot.Width || top + ScreenHeight > shot.Height)
    return ScreenPixels;
  int bad = 0;
  for (int y = 0; y < ScreenHeight; ++y)
    for (int x = 0; x < ScreenWidth; ++x)
      if (shot.Pixels[size_t(top + y) * shot.Width + left + x] !=
          (ui::ScreenView::ToQtColor(ScreenImage[y * ScreenWidth + x]) & 0xFFFFFF))
        ++bad;
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
  const std::string dump = dir.filePath(QStringLiteral("screen.xwd")).toStdString();
  int bad = ScreenPixels;
  // The window may take a moment to be mapped and painted: try for a while.
  for (int attempt = 0; attempt < 40 && bad != 0; ++attempt) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(250);
    while (std::chrono::steady_clock::now() < until) {
      host.PumpEvents();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!w.windowHandle() || !w.windowHandle()->isExposed()) continue;
    if (std::system(("xwd -root -silent -out '" + dump + "'").c_str()) != 0) {
      std::cerr << "xwd failed\n";
      return 1;
    }
    XwdImage shot;
    std::string error;
    if (!ReadXwd(dump, shot, error)) {
      std::cerr << error << "\n";
      return 1;
    }
    const QPoint at = w.picScreen->mapToGlobal(QPoint(0, 0));
    bad = Differences(shot, at.x(), at.y());
    if (bad) std::cerr << "attempt " << attempt << ": " << bad << " pixels differ at " << at.x() << ","
                       << at.y() << "\n";
  }
  ui::UnloadKeyboardDisplay();
  SetHost(nullptr);
  if (bad != 0) return 1;
  std::cout << "the screenshot shows the compositor's picture\n";
  return 0;
}
