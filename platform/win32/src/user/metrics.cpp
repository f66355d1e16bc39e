// System metrics and parameters: the classic Windows 95 values on the GDI's screen.
#include <atomic>

#include "gdi/screen.h"
#include "host/display.h"
#include "win32/messages.h"
#include "win32/user.h"

namespace {
constexpr UINT kWheelScrollLines = 3;  // Windows' own setting until the user changes it
}  // namespace

int GetSystemMetrics(int index) {
  auto screen = gdi::ScreenSurface();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN: return screen->width;
    case SM_CYSCREEN: return screen->height;
    case SM_CYFULLSCREEN: return screen->height - 18;
    case SM_CXVSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYHSCROLL: return 16;
    case SM_CYVTHUMB:
    case SM_CXHTHUMB: return 16;
    case SM_CYCAPTION:
    case SM_CYMENU: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CYSMCAPTION: return 16;
    case SM_CXSIZE:
    case SM_CYSIZE:
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 15;
    case SM_CXMIN:
    case SM_CXMINTRACK: return 112;
    case SM_CYMIN:
    case SM_CYMINTRACK: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXICONSPACING:
    case SM_CYICONSPACING: return 75;
    case SM_CXMAXIMIZED: return screen->width + 8;
    case SM_CYMAXIMIZED: return screen->height + 8;
    case SM_CXDRAG:
    case SM_CYDRAG: return 2;
    case SM_MOUSEPRESENT: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    default: return 0;
  }
}

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID paramData, UINT) {
  if (!paramData) return FALSE;
  switch (action) {
    case SPI_GETWORKAREA:
      *static_cast<RECT*>(paramData) = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      return TRUE;
    case SPI_GETWHEELSCROLLLINES: *static_cast<UINT*>(paramData) = kWheelScrollLines; return TRUE;
    default: return FALSE;
  }
}

int WheelNotches(WPARAM wheelWParam) { return static_cast<SHORT>(HIWORD(wheelWParam)) / WHEEL_DELTA; }

int WheelScrollLines(WPARAM wheelWParam) {
  return -static_cast<SHORT>(HIWORD(wheelWParam)) * static_cast<int>(kWheelScrollLines) / WHEEL_DELTA;
}

namespace {
std::atomic<int> beepCount{0};
}  // namespace

BOOL MessageBeep(UINT) {
  ++beepCount;
  host::TheDisplay().Beep();
  return TRUE;
}

int MessageBeepCount() { return beepCount.load(); }
