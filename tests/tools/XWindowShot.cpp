// x_window_shot WINDOW-ID OUT.png: the whole of an X window as the X server
// holds it, written as a PNG, so that an end-to-end test can compare what a
// person sees with a stored picture.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/PngImage.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: x_window_shot WINDOW-ID OUT.png\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_window_shot: cannot open the display\n");
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) {
    std::fprintf(stderr, "x_window_shot: no such window\n");
    XCloseDisplay(display);
    return 1;
  }
  const int w = attributes.width, h = attributes.height;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
  if (!image) {
    std::fprintf(stderr, "x_window_shot: the window cannot be read\n");
    XCloseDisplay(display);
    return 1;
  }
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned long p = XGetPixel(image, x, y);  // 0x00RRGGBB on a 24-bit visual
      pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
          static_cast<uint32_t>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
    }
  XDestroyImage(image);
  XCloseDisplay(display);
  if (!korva::test::WritePng(argv[2], pixels.data(), w, h)) {
    std::fprintf(stderr, "x_window_shot: %s cannot be written\n", argv[2]);
    return 1;
  }
  return 0;
}
