#pragma once
// Clipping of device-space geometry to a box before it reaches the GDI. What lies inside the box
// is unchanged; a polygon gains edges along the box, which the caller keeps outside what is seen.
#include <vector>

#include "metafile/transform.h"

namespace metafile {

struct DBox {
  double left, top, right, bottom;
  bool Contains(DPoint p) const { return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom; }
};

std::vector<DPoint> ClipPolygon(const std::vector<DPoint>& polygon, const DBox& box);
// The parts of a polyline inside the box, each a polyline of its own.
std::vector<std::vector<DPoint>> ClipPolyline(const std::vector<DPoint>& polyline, const DBox& box);

}  // namespace metafile
