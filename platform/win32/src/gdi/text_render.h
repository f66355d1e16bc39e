#pragma once
// Puts a run of glyphs on a device context: background cell, ink, underline and strike-out, all
// along the font's escapement, clipped by the DC and optionally by one more device rectangle.
#include <optional>
#include <string>
#include <vector>

#include "gdi/dc.h"
#include "gdi/font_face.h"

namespace fonts {

struct GlyphRun {
  std::u32string chars;
  std::vector<int> positions;  // advance of each character from the start, plus the run's width
  int underlined = -1;  // a single character to underline ("&" prefixes)
};

// A run with the font's own advances.
GlyphRun MeasuredRun(FontFace& face, std::u32string chars);

// Draws `run` with its reference point at `reference` (device coordinates) placed after the
// TA_* bits of `align` (TA_UPDATECP ignored here). With `opaque` the text cell is first filled
// with the DC's background colour.
void DrawRun(gdi::DeviceContext& dc, FontFace& face, const GlyphRun& run, POINT reference, UINT align, bool opaque,
             const std::optional<RECT>& clip);

// The vector from the reference point to the run's end along the baseline, rounded.
POINT RunAdvance(const FontFace& face, int width);

}  // namespace fonts
