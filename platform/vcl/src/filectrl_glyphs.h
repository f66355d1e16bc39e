#pragma once
// The small pictures the file controls draw before their items.
#include <memory>

#include "vcl/graphics.h"
#include "vcl/graphics_images.h"

namespace filectrl {

constexpr int kGlyphSize = 16;

enum class TGlyph { Program, ClosedFolder, OpenedFolder, Page, FixedDrive };

// A kGlyphSize square picture on Background (which the list controls draw transparent).
std::unique_ptr<TBitmap> MakeGlyph(TGlyph Kind, TColor Background);

// Draws Glyph centred in the height of Rect at Left, its bottom-left colour left transparent.
void DrawGlyph(TCanvas* Canvas, TBitmap* Glyph, int Left, const TRect& Rect);

}  // namespace filectrl
