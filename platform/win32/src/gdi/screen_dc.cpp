// The screen's device context. Window DCs belong to the USER layer.
#include "dc.h"
#include "screen.h"

using namespace gdi;

HDC GetDC(HWND window) { return window ? nullptr : CreateDeviceDC(ScreenSurface()); }

int ReleaseDC(HWND, HDC dc) {
  DeviceContext* d = FindDC(dc);
  if (!d || d->IsMemory()) return 0;
  return DeleteDC(dc);
}
