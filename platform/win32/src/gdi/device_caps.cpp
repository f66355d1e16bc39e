#include "dc.h"
#include "screen.h"

using namespace gdi;

int GetDeviceCaps(HDC handle, int index) {
  if (!FindDC(handle)) return 0;
  // Memory DCs answer for the device they are compatible with: the screen.
  const Surface& screen = *ScreenSurface();
  int bits = screen.bitsPerPixel;
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return screen.width;
    case VERTRES: return screen.height;
    case HORZSIZE: return screen.width * 254 / 960;  // millimetres at 96 dpi
    case VERTSIZE: return screen.height * 254 / 960;
    case BITSPIXEL: return bits;
    case PLANES: return 1;
    case NUMCOLORS: return bits == 8 ? 20 : bits <= 4 ? 1 << bits : -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB |
             (bits == 8 ? RC_PALETTE : 0);
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case SIZEPALETTE: return bits == 8 ? 256 : 0;
    case NUMRESERVED: return bits == 8 ? 20 : 0;
    case COLORRES: return bits == 8 ? 18 : 24;
    default: return 0;
  }
}
