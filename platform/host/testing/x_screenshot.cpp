// Kept apart from the tests: Xlib's macros clash with GoogleTest's names.
#include "host/testing/x_screenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

host::Image XScreenShot(int x, int y, int width, int height) {
  host::Image shot;
  ::Display* x11 = XOpenDisplay(nullptr);
  if (!x11) return shot;
  XImage* image = XGetImage(x11, DefaultRootWindow(x11), x, y, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (image) {
    shot.width = width;
    shot.height = height;
    for (int j = 0; j < height; ++j)
      for (int i = 0; i < width; ++i)
        shot.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, i, j)) & 0xFFFFFF);
    XDestroyImage(image);
  }
  XCloseDisplay(x11);
  return shot;
}
