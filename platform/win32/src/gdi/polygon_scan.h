#pragma once
// Scan conversion of polygons, sampling at pixel centres (so [0, 10) covers ten pixels): the parts
// of each row inside them by the alternate (even-odd) or the winding rule. Polygon fills and
// polygon regions share it, so a region made from a polygon covers exactly the pixels it fills.
#include <functional>
#include <vector>

#include "win32/gdi.h"

namespace gdi {

// Calls span(y, x0, x1) for [x0, x1) of row y, rows in increasing order, spans of a row from left to
// right (a span may be empty or touch the next).
void ScanPolygons(const std::vector<std::vector<POINT>>& polygons, bool winding,
                  const std::function<void(int y, int x0, int x1)>& span);

}  // namespace gdi
