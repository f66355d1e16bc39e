#pragma once
// Lightening and darkening a colour, as the 3D text effect draws its edges.
#include "vcl/graphics.h"

// Resolves Color to RGB, then moves each channel Percent percent of the way towards white
// (Percent > 0) or black (Percent <= 0), truncated; beyond 100 is not limited.
TColor ShadeColor(TColor Color, int Percent);
