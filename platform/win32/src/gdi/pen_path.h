#pragma once
// Drawing with the DC's pen: segments that leave out their end point (so a polyline draws every
// joint once), styled dashes at width 1 that run on across the segments of one call, and wide pens
// as the union of round dabs so each pixel is painted once whatever the ROP2.
#include <map>

#include "raster.h"

namespace gdi {

// Pixels of a shape, gathered before they are painted once.
class SpanSet {
 public:
  void Add(int y, int x0, int x1);  // [x0, x1)
  void Paint(SpanPainter& painter) const;

 private:
  std::map<int, std::vector<std::pair<int, int>>> rows_;
};

class PenPath {
 public:
  explicit PenPath(DeviceContext& dc);
  bool Null() const { return null_; }
  // Device coordinates; the end point is not drawn.
  void Segment(POINT from, POINT to);
  void Pixel(int x, int y);
  // Paints what wide pens gathered.
  void Finish();

 private:
  DeviceContext& dc_;
  bool null_ = true;
  int width_ = 1;
  std::vector<int> dashes_;  // on, off, on, off ... lengths; empty = solid
  int dashIndex_ = 0, dashLeft_ = 0;
  bool opaqueGaps_ = false;
  SpanPainter pen_, gap_;
  SpanSet wide_;
};

}  // namespace gdi
