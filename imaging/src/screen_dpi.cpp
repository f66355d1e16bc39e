#include "imaging/screen_dpi.h"

#include "win32/gdi.h"

namespace {
struct ScreenDpi {
  int x, y;
};
const ScreenDpi& Dpi() {
  static const ScreenDpi dpi = [] {
    HDC screen = GetDC(nullptr);
    ScreenDpi d{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
    return d;
  }();
  return dpi;
}
}  // namespace

int ScreenDpiX() { return Dpi().x; }
int ScreenDpiY() { return Dpi().y; }
