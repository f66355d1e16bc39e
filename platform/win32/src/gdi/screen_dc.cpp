// The screen's device context; a window's comes from the USER layer, which knows its surface.
#include "dc.h"
#include "screen.h"
#include "win32/user.h"

using namespace gdi;

HDC GetDC(HWND window) { return window ? GetDCEx(window, nullptr, 0) : CreateDeviceDC(ScreenSurface()); }

int ReleaseDC(HWND, HDC dc) {
  DeviceContext* d = FindDC(dc);
  if (!d || d->IsMemory()) return 0;
  return DeleteDC(dc);
}
