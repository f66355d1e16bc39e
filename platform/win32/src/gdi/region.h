#pragma once
// A region: non-overlapping rectangles in y-x bands (sorted by top, then left; rectangles of one
// band share top and bottom; touching bands with equal spans are merged), so two equal regions
// have equal rectangle lists.
#include <functional>
#include <vector>

#include "gdi_object.h"

namespace gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);

  const std::vector<RECT>& Rects() const { return rects_; }
  bool Empty() const { return rects_.empty(); }
  RECT Box() const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Kind() const;
  bool Contains(int x, int y) const;
  void Offset(int dx, int dy);
  // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF.
  static Region Combine(const Region& a, const Region& b, int mode);
  // Built row by row: `add` is called with a function that takes the spans [x0, x1) of one row,
  // rows in increasing y and spans of a row from left to right (empty or touching spans allowed).
  static Region FromRows(const std::function<void(const std::function<void(int y, int x0, int x1)>&)>& add);
  bool operator==(const Region& other) const;

  // Calls f(x0, x1) for the parts of the span [x0, x1) of row y that lie in the region.
  template <class F>
  void ForSpan(int y, int x0, int x1, F&& f) const {
    for (const RECT& r : rects_) {
      if (r.top > y) break;
      if (r.bottom <= y) continue;
      int a = r.left > x0 ? r.left : x0;
      int b = r.right < x1 ? r.right : x1;
      if (a < b) f(a, b);
    }
  }

 private:
  std::vector<RECT> rects_;
};

struct RegionObject : GdiObject {
  RegionObject() : GdiObject(ObjectKind::Region) {}
  Region region;
};

RegionObject* FindRegion(HRGN handle);

}  // namespace gdi
