#pragma once
// Drawing of frames, bevels and borders on chosen sides of a rectangle, and the text height the
// list controls size their items by.
#include <string>

#include "vcl/graphics.h"
#include "vcl/sets.h"
#include "vcl/typinfo.h"

enum TSide { sdLeft, sdTop, sdRight, sdBottom };
using TSides = TSet<TSide>;
extern const TTypeInfo TypeInfo_TSides;
inline const TSides kAllSides{sdLeft, sdTop, sdRight, sdBottom};

// Scoped: the push buttons' caption effects use some of the same names.
enum class TFrameStyle {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup
};
extern const TTypeInfo TypeInfo_TFrameStyle;

// One line on each side: left and top in TopLeft, right and bottom in BottomRight. Returns the
// rectangle moved in by 1 on each of the sides.
TRect DrawSides(TCanvas* Canvas, const TRect& Rect, TColor TopLeft, TSides Sides, TColor BottomRight);
// Count rings of DrawSides, each inside the one before.
TRect DrawBevel(TCanvas* Canvas, const TRect& Rect, TColor TopLeft, TSides Sides, int Count, TColor BottomRight);
// The style's lines on the sides; returns the rectangle inside them.
TRect DrawBorder(TCanvas* Canvas, const TRect& Rect, TFrameStyle Style, TSides Sides);
// The pixels a style's border takes on a side (fsStatus and fsPopup: 1).
int FrameWidth(TFrameStyle Style);

// The font's character height plus a quarter of the smaller of it and the screen font's.
int LineHeight(TFont* Font);
// The string's last character, or '\0' for an empty one.
char LastChar(const std::string& S);
