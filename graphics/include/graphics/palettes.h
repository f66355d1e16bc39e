#pragma once
// The standard palettes and the brightness measure of colour lookup.
#include <vector>

#include "graphics/pixel_graphic.h"

// R + G + B, or with Weighted (897 R + 1761 G + 342 B) div 1000; both 0..765.
int Brightness(TColor Color, bool Weighted);

// The entries of a standard kind in index order; empty for the kinds without fixed entries.
std::vector<TColor> StandardPaletteEntries(TPaletteIdent Ident);

// Entry i of the fixed 252-entry palette; entries 0..15 are the 16 system colours.
TColor Special252Entry(int Index);

inline TColor RGBToColor(int R, int G, int B) { return R | G << 8 | B << 16; }
inline int RedOf(TColor Color) { return Color & 0xFF; }
inline int GreenOf(TColor Color) { return (Color >> 8) & 0xFF; }
inline int BlueOf(TColor Color) { return (Color >> 16) & 0xFF; }
