#pragma once
// The outlines that rectangles, ellipses and arcs add to a path, in logical coordinates, running
// counter-clockwise as the player draws arcs. `pixels` is how many device pixels a logical unit
// spans, for how finely curves are cut.
#include <vector>

#include "metafile/transform.h"

namespace metafile {

std::vector<DPoint> RectangleOutline(DPoint a, DPoint b);
std::vector<DPoint> RoundRectOutline(DPoint a, DPoint b, DPoint corner, double pixels);
// The arc of the ellipse in the box a-b from the radial through `start` to the radial through
// `end`; equal radials give the whole ellipse.
std::vector<DPoint> ArcOutline(DPoint a, DPoint b, DPoint start, DPoint end, double pixels);
std::vector<DPoint> EllipseOutline(DPoint a, DPoint b, double pixels);
DPoint Centre(DPoint a, DPoint b);

}  // namespace metafile
