#pragma once
#include <vector>

#include "graphics/pixel_graphic.h"

// Palette of the colours of a 24-bit source by median cut; at most Wanted entries.
std::vector<TColor> MedianCutColors(TPixelGraphic& Target, TPixelGraphic& Source, int Wanted);
// Palette of the used entries of a palette source by a colour tree; 1 to Wanted entries.
std::vector<TColor> ColorTreeColors(TPixelGraphic& Target, TPixelGraphic& Source, int Wanted);
// Target.OnProgress after row y of Source; True when the handler asks to stop.
bool CountingAborted(TPixelGraphic& Target, TPixelGraphic& Source, int y);
