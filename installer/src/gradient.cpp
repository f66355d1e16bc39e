#include "installer/gradient.h"

#include <cmath>

namespace installer {

void PaintGradient(vb::Drawable& object, long red, long green, long blue, short direction) {
  const long height = object.HeightTwips();
  const long band = std::lrint(static_cast<double>(height) / 63.0);  // the FPU rounds halves to even
  long top = direction == 1 ? 0 : height - band;
  long bottom = top + band;
  const long left = 0, right = object.WidthTwips();
  for (int i = 1; i <= 63; ++i) {
    object.LineBoxFilled(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                         static_cast<int>(bottom), static_cast<TColor>(red + 256 * green + 65536 * blue));
    for (long* component : {&red, &green, &blue}) {
      *component -= 4;
      if (*component <= 0) *component = 1;
    }
    top = direction == 1 ? bottom : top - band;
    bottom = top + band;
  }
}

}  // namespace installer
