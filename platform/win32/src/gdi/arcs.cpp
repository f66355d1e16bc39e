// Elliptic arcs, chords and pies: the arc is traced as a polyline of points on the ellipse and the
// closed shapes are polygons, so they share the pen, brush, ROP2 and fill rules of Polygon.
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "win32/gdi.h"

namespace {

// Points of the ellipse inscribed in [left, right) x [top, bottom) (pixel centres, as Ellipse
// draws), counter-clockwise on the screen from the radial through the start point to the radial
// through the end point; equal radials make the whole ellipse.
std::vector<POINT> ArcPoints(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  double rx = std::max(0.0, (right - left - 1) / 2.0), ry = std::max(0.0, (bottom - top - 1) / 2.0);
  double cx = left + rx, cy = top + ry;
  double from = std::atan2(cy - yStart, xStart - cx), to = std::atan2(cy - yEnd, xEnd - cx);
  double sweep = to - from;
  if (sweep <= 0) sweep += 2 * std::numbers::pi;
  // About one point per two pixels of the curve.
  double length = sweep * std::max(rx, ry);
  int steps = std::clamp(static_cast<int>(length / 2), 8, 2048);
  std::vector<POINT> points;
  for (int i = 0; i <= steps; ++i) {
    double a = from + sweep * i / steps;
    POINT p{static_cast<LONG>(std::lround(cx + rx * std::cos(a))),
            static_cast<LONG>(std::lround(cy - ry * std::sin(a)))};
    if (points.empty() || p.x != points.back().x || p.y != points.back().y) points.push_back(p);
  }
  return points;
}

}  // namespace

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  std::vector<POINT> points = ArcPoints(left, top, right, bottom, xStart, yStart, xEnd, yEnd);
  if (points.size() < 2) return TRUE;  // an ellipse of one pixel leaves nothing to trace
  return Polyline(dc, points.data(), static_cast<int>(points.size()));
}

BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  std::vector<POINT> points = ArcPoints(left, top, right, bottom, xStart, yStart, xEnd, yEnd);
  return points.size() >= 2 && Polygon(dc, points.data(), static_cast<int>(points.size()));
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
  std::vector<POINT> points = ArcPoints(left, top, right, bottom, xStart, yStart, xEnd, yEnd);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  points.insert(points.begin(), POINT{static_cast<LONG>(std::lround(left + (right - left - 1) / 2.0)),
                                      static_cast<LONG>(std::lround(top + (bottom - top - 1) / 2.0))});
  return Polygon(dc, points.data(), static_cast<int>(points.size()));
}
