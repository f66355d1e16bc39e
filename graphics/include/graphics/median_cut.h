#pragma once
// Gives Target an optimised palette of at most ColorCount colours (clamped to 1..256 and to
// Target's capacity) for the colours of Source; Target's pixels are untouched. A 24-bit Source is
// reduced by median cut over a 5-6-5 histogram, a palette Source by a colour tree over its used
// entries. KeepSys16 reserves the last 16 entries for the system colours. Progress and abort go
// through Target's OnProgress.
#include "graphics/pixel_graphic.h"

void MedianCutQuantize(TPixelGraphic* Target, TPixelGraphic* Source, int ColorCount, bool KeepSys16);
