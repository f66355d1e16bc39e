#include "components/color_shade.h"

#include <cstdlib>

TColor ShadeColor(TColor Color, int Percent) {
  const COLORREF rgb = ColorToRGB(Color);
  const int target = Percent > 0 ? 255 : 0;
  const int p = std::abs(Percent);
  auto shade = [&](int channel) { return channel + (target - channel) * p / 100; };
  const int r = shade(GetRValue(rgb)), g = shade(GetGValue(rgb)), b = shade(GetBValue(rgb));
  // Channels beyond 0..255 (Percent over 100) keep their bits as the byte arithmetic would.
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
