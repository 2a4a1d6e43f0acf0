// x_window_pixels WINDOW-ID X Y W H [RRGGBB]: counts the pixels of a rectangle
// of an X window that have the colour given in hexadecimal (white without it),
// read back from the X server (not from the program), so that the end-to-end
// test sees what a person sees.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 6 && argc != 7) {
    std::fprintf(stderr, "usage: x_window_pixels WINDOW-ID X Y W H [RRGGBB]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_window_pixels: cannot open the display\n");
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
  const unsigned w = static_cast<unsigned>(std::atoi(argv[4])), h = static_cast<unsigned>(std::atoi(argv[5]));
  XImage* image = XGetImage(display, window, x, y, w, h, AllPlanes, ZPixmap);
  if (!image) {
    std::fprintf(stderr, "x_window_pixels: the rectangle cannot be read\n");
    XCloseDisplay(display);
    return 1;
  }
  const unsigned long want = argc == 7 ? std::strtoul(argv[6], nullptr, 16) & 0xFFFFFF : 0xFFFFFF;
  long count = 0;
  for (unsigned j = 0; j < h; ++j)
    for (unsigned i = 0; i < w; ++i)
      if ((XGetPixel(image, static_cast<int>(i), static_cast<int>(j)) & 0xFFFFFF) == want) ++count;
  std::printf("%ld\n", count);
  XDestroyImage(image);
  XCloseDisplay(display);
  return 0;
}
