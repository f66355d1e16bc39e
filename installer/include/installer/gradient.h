#pragma once
// GradientMod: a vertical gradient of 63 bands, each a little darker than the one before.
#include "vbrun/forms.h"

namespace installer {

// Bands of Height / 63 (rounded, halves to even) from the top when direction is 1, else from
// the bottom; the first in red + 256 * green + 65536 * blue, each next one 4 darker per
// component (never below 1). Coordinates are 32-bit, so any window size paints.
void PaintGradient(vb::Drawable& object, long red, long green, long blue, short direction);

}  // namespace installer
