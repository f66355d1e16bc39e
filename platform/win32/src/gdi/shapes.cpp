// Lines, polylines, polygons, rectangles, round rectangles and ellipses.
#include <algorithm>
#include <cmath>

#include "pen_path.h"
#include "polygon_scan.h"

using namespace gdi;

namespace {

// Rows [x0, x1] (inclusive) of a rectangle with round corners of an ew x eh ellipse, over the
// pixel box [l, r) x [t, b); ew = r - l and eh = b - t give an ellipse, 0 a plain rectangle.
std::vector<std::pair<int, int>> ShapeRows(int l, int t, int r, int b, int ew, int eh) {
  std::vector<std::pair<int, int>> rows;
  if (r <= l || b <= t) return rows;
  ew = std::clamp(ew, 0, r - l);
  eh = std::clamp(eh, 0, b - t);
  // Left edge of row ry of an ellipse inscribed in a ew x eh box (pixel centres 0 .. ew-1).
  auto inset = [&](int ry) {
    if (ew < 2 || eh < 2) return 0;
    double a = (ew - 1) / 2.0, c = (eh - 1) / 2.0, dy = ry - c;
    double half = a * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (c * c)));
    return static_cast<int>(std::lround(a - half));
  };
  for (int y = t; y < b; ++y) {
    int in = 0;
    if (y - t < eh / 2) in = inset(y - t);
    else if (b - 1 - y < eh / 2)
      in = inset(eh - 1 - (b - 1 - y));
    rows.emplace_back(l + in, r - 1 - in);
  }
  return rows;
}

constexpr int kEllipse = 1 << 28;  // corner size that ShapeRows clamps to the whole box

// Interior with the brush, then the frame with the pen, both through the ROP2. The frame lies inside
// the box; with a null pen the interior is one pixel smaller at the right and bottom.
void DrawShape(DeviceContext& dc, RECT box, int ew, int eh) {
  if (box.left > box.right) std::swap(box.left, box.right);
  if (box.top > box.bottom) std::swap(box.top, box.bottom);
  PenPath pen(dc);
  BrushPattern brush(dc, dc.state.brush);
  SpanPainter interior(dc, brush, dc.state.rop2);
  auto fill = [&](int l, int t, int r, int b, int cw, int ch) {
    auto rows = ShapeRows(l, t, r, b, cw, ch);
    for (std::size_t i = 0; i < rows.size(); ++i)
      interior.Span(t + static_cast<int>(i), rows[i].first, rows[i].second + 1);
    return rows;
  };
  if (pen.Null()) {
    fill(box.left, box.top, box.right - 1, box.bottom - 1, ew, eh);
    return;
  }
  PenObject* p = FindPen(dc.state.pen);
  int w = p ? p->Width() : 1;
  auto inner = fill(box.left + w, box.top + w, box.right - w, box.bottom - w, ew - 2 * w, eh - 2 * w);
  if (ew == 0 && eh == 0 && w == 1 && box.right - box.left > 1 && box.bottom - box.top > 1) {
    // Plain rectangles trace their frame so that pen styles run around it.
    POINT c[5] = {{box.left, box.top},
                  {box.right - 1, box.top},
                  {box.right - 1, box.bottom - 1},
                  {box.left, box.bottom - 1},
                  {box.left, box.top}};
    for (int i = 0; i < 4; ++i) pen.Segment(c[i], c[i + 1]);
    return;
  }
  auto outer = ShapeRows(box.left, box.top, box.right, box.bottom, ew, eh);
  SpanSet ring;
  for (std::size_t i = 0; i < outer.size(); ++i) {
    int y = box.top + static_cast<int>(i);
    int j = y - (box.top + w);
    if (j < 0 || j >= static_cast<int>(inner.size())) {
      ring.Add(y, outer[i].first, outer[i].second + 1);
      continue;
    }
    const auto& in = inner[static_cast<std::size_t>(j)];
    ring.Add(y, outer[i].first, in.first);
    ring.Add(y, in.second + 1, outer[i].second + 1);
  }
  SpanPainter frame(dc, PixelValue(dc, p ? p->pen.lopnColor : 0), dc.state.rop2);
  ring.Paint(frame);
}

void FillPolygons(DeviceContext& dc, const std::vector<std::vector<POINT>>& polygons) {
  BrushPattern brush(dc, dc.state.brush);
  if (brush.Null()) return;
  SpanPainter painter(dc, brush, dc.state.rop2);
  ScanPolygons(polygons, dc.state.polyFillMode == WINDING, [&](int y, int x0, int x1) { painter.Span(y, x0, x1); });
}

std::vector<POINT> ToDevice(const DeviceContext& dc, const POINT* points, int count) {
  std::vector<POINT> out;
  for (int i = 0; i < count; ++i) out.push_back(dc.ToDevice(points[i]));
  return out;
}

void Outline(DeviceContext& dc, const std::vector<POINT>& pts, bool closed) {
  PenPath pen(dc);
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) pen.Segment(pts[i], pts[i + 1]);
  if (closed && pts.size() > 1) pen.Segment(pts.back(), pts.front());
  pen.Finish();
}

}  // namespace

BOOL MoveToEx(HDC handle, int x, int y, POINT* previous) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.penPos;
  dc->state.penPos = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  Outline(*dc, {dc->ToDevice(dc->state.penPos), dc->ToDevice(POINT{x, y})}, false);
  dc->state.penPos = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !points || count < 2) return FALSE;
  Outline(*dc, ToDevice(*dc, points, count), false);
  return TRUE;
}

BOOL PolyPolygon(HDC handle, const POINT* points, const INT* counts, int polygons) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || !points || !counts || polygons < 1) return FALSE;
  std::vector<std::vector<POINT>> all;
  for (int i = 0; i < polygons; ++i) {
    if (counts[i] < 2) return FALSE;
    all.push_back(ToDevice(*dc, points, counts[i]));
    points += counts[i];
  }
  FillPolygons(*dc, all);
  for (const auto& poly : all) Outline(*dc, poly, true);
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) { return PolyPolygon(dc, points, &count, 1); }

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  DrawShape(*dc, dc->ToDevice(RECT{left, top, right, bottom}), 0, 0);
  return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int ew, int eh) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  DrawShape(*dc, dc->ToDevice(RECT{left, top, right, bottom}), std::abs(ew), std::abs(eh));
  return TRUE;
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  DeviceContext* dc = FindDC(handle);
  if (!dc) return FALSE;
  DrawShape(*dc, dc->ToDevice(RECT{left, top, right, bottom}), kEllipse, kEllipse);
  return TRUE;
}
