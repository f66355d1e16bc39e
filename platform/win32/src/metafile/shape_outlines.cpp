#include "metafile/shape_outlines.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace metafile {

namespace {

// About one point per two device pixels of the curve, and never more than the GDI's own arcs use.
int Steps(double sweep, double rx, double ry, double pixels) {
  double steps = sweep * std::max(rx, ry) * pixels / 2;
  if (!(steps < 2048)) return 2048;
  return std::max(static_cast<int>(steps), 8);
}

// Points of the ellipse of radii rx, ry around c from angle `from` over `sweep` (radians,
// counter-clockwise with y growing downwards), ends included.
void Sweep(std::vector<DPoint>& out, DPoint c, double rx, double ry, double from, double sweep, double pixels) {
  int steps = Steps(sweep, rx, ry, pixels);
  for (int i = 0; i <= steps; ++i) {
    double a = from + sweep * i / steps;
    out.push_back({c.x + rx * std::cos(a), c.y - ry * std::sin(a)});
  }
}

}  // namespace

DPoint Centre(DPoint a, DPoint b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }

std::vector<DPoint> RectangleOutline(DPoint a, DPoint b) {
  double l = std::min(a.x, b.x), r = std::max(a.x, b.x), t = std::min(a.y, b.y), bt = std::max(a.y, b.y);
  return {{r, t}, {l, t}, {l, bt}, {r, bt}};
}

std::vector<DPoint> RoundRectOutline(DPoint a, DPoint b, DPoint corner, double pixels) {
  double l = std::min(a.x, b.x), r = std::max(a.x, b.x), t = std::min(a.y, b.y), bt = std::max(a.y, b.y);
  double rx = std::min(std::fabs(corner.x) / 2, (r - l) / 2), ry = std::min(std::fabs(corner.y) / 2, (bt - t) / 2);
  if (!(rx > 0) || !(ry > 0)) return RectangleOutline(a, b);
  const double quarter = std::numbers::pi / 2;
  std::vector<DPoint> out;
  Sweep(out, {r - rx, t + ry}, rx, ry, 0, quarter, pixels);
  Sweep(out, {l + rx, t + ry}, rx, ry, quarter, quarter, pixels);
  Sweep(out, {l + rx, bt - ry}, rx, ry, 2 * quarter, quarter, pixels);
  Sweep(out, {r - rx, bt - ry}, rx, ry, 3 * quarter, quarter, pixels);
  return out;
}

std::vector<DPoint> ArcOutline(DPoint a, DPoint b, DPoint start, DPoint end, double pixels) {
  DPoint c = Centre(a, b);
  double rx = std::fabs(b.x - a.x) / 2, ry = std::fabs(b.y - a.y) / 2;
  // The angle of the ellipse's point on a radial, not the radial's own angle.
  auto angle = [&](DPoint p) { return std::atan2((c.y - p.y) * (rx > 0 ? rx : 1), (p.x - c.x) * (ry > 0 ? ry : 1)); };
  double from = angle(start), sweep = angle(end) - from;
  if (!std::isfinite(sweep)) return {};
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  std::vector<DPoint> out;
  Sweep(out, c, rx, ry, from, sweep, pixels);
  return out;
}

std::vector<DPoint> EllipseOutline(DPoint a, DPoint b, double pixels) {
  std::vector<DPoint> out;
  Sweep(out, Centre(a, b), std::fabs(b.x - a.x) / 2, std::fabs(b.y - a.y) / 2, 0, 2 * std::numbers::pi, pixels);
  out.pop_back();  // the closing point repeats the first
  return out;
}

}  // namespace metafile
