// Sutherland-Hodgman for polygons, Liang-Barsky for the segments of polylines.
#include "metafile/clip_geometry.h"

#include <functional>

namespace metafile {

namespace {

// Keeps the part of the polygon where inside(p) holds; cross(a, b) is where edge a-b meets the line.
std::vector<DPoint> ClipEdge(const std::vector<DPoint>& in, const std::function<bool(DPoint)>& inside,
                             const std::function<DPoint(DPoint, DPoint)>& cross) {
  std::vector<DPoint> out;
  for (std::size_t i = 0; i < in.size(); ++i) {
    DPoint a = in[i], b = in[(i + 1) % in.size()];
    bool ia = inside(a), ib = inside(b);
    if (ia) out.push_back(a);
    if (ia != ib) out.push_back(cross(a, b));
  }
  return out;
}

DPoint AtX(DPoint a, DPoint b, double x) { return {x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)}; }
DPoint AtY(DPoint a, DPoint b, double y) { return {a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y}; }

// The part t0..t1 of segment a-b inside the box; false when none.
bool ClipSegment(DPoint a, DPoint b, const DBox& box, double& t0, double& t1) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double p[4] = {-dx, dx, -dy, dy};
  double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
  t0 = 0, t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  return true;
}

}  // namespace

std::vector<DPoint> ClipPolygon(const std::vector<DPoint>& polygon, const DBox& box) {
  bool all = true;
  for (DPoint p : polygon) all = all && box.Contains(p);
  if (all) return polygon;
  std::vector<DPoint> out = polygon;
  out = ClipEdge(
      out, [&](DPoint p) { return p.x >= box.left; }, [&](DPoint a, DPoint b) { return AtX(a, b, box.left); });
  out = ClipEdge(
      out, [&](DPoint p) { return p.x <= box.right; }, [&](DPoint a, DPoint b) { return AtX(a, b, box.right); });
  out = ClipEdge(
      out, [&](DPoint p) { return p.y >= box.top; }, [&](DPoint a, DPoint b) { return AtY(a, b, box.top); });
  out = ClipEdge(
      out, [&](DPoint p) { return p.y <= box.bottom; }, [&](DPoint a, DPoint b) { return AtY(a, b, box.bottom); });
  return out;
}

std::vector<std::vector<DPoint>> ClipPolyline(const std::vector<DPoint>& polyline, const DBox& box) {
  std::vector<std::vector<DPoint>> runs;
  bool open = false;  // the last run ends at the current segment's start
  for (std::size_t i = 0; i + 1 < polyline.size(); ++i) {
    DPoint a = polyline[i], b = polyline[i + 1];
    double t0, t1;
    if (!ClipSegment(a, b, box, t0, t1)) {
      open = false;
      continue;
    }
    DPoint from{a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0};
    DPoint to{a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1};
    if (!open || t0 > 0) runs.push_back({from});
    runs.back().push_back(to);
    open = t1 >= 1;
  }
  return runs;
}

}  // namespace metafile
