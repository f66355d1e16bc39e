#include "region.h"

#include <algorithm>

namespace gdi {
namespace {

using Spans = std::vector<std::pair<int, int>>;

// The x spans of the band [y0, y1) of a banded rectangle list (every rectangle either covers the
// band or misses it, because the bands were cut at every edge of both operands).
Spans SpansAt(const std::vector<RECT>& rects, int y) {
  Spans s;
  for (const RECT& r : rects) {
    if (r.top > y) break;
    if (r.bottom > y) s.emplace_back(r.left, r.right);
  }
  return s;
}

bool Inside(const Spans& s, int x) {
  for (auto [a, b] : s)
    if (x >= a && x < b) return true;
  return false;
}

bool Apply(int mode, bool a, bool b) {
  switch (mode) {
    case RGN_AND: return a && b;
    case RGN_OR: return a || b;
    case RGN_XOR: return a != b;
    default: return a && !b;  // RGN_DIFF
  }
}

}  // namespace

Region::Region(const RECT& r) {
  if (r.left < r.right && r.top < r.bottom) rects_.push_back(r);
}

RECT Region::Box() const {
  if (rects_.empty()) return RECT{0, 0, 0, 0};
  RECT box = rects_.front();
  for (const RECT& r : rects_) {
    box.left = std::min(box.left, r.left);
    box.right = std::max(box.right, r.right);
    box.bottom = std::max(box.bottom, r.bottom);
  }
  return box;
}

int Region::Kind() const { return rects_.empty() ? NULLREGION : rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION; }

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects_)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

void Region::Offset(int dx, int dy) {
  for (RECT& r : rects_) {
    r.left += dx;
    r.right += dx;
    r.top += dy;
    r.bottom += dy;
  }
}

bool Region::operator==(const Region& other) const {
  if (rects_.size() != other.rects_.size()) return false;
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    const RECT &a = rects_[i], &b = other.rects_[i];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom) return false;
  }
  return true;
}

Region Region::Combine(const Region& a, const Region& b, int mode) {
  std::vector<int> ys;
  for (const Region* g : {&a, &b})
    for (const RECT& r : g->rects_) {
      ys.push_back(r.top);
      ys.push_back(r.bottom);
    }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

  Region out;
  Spans previous;
  std::size_t previousStart = 0;  // first rectangle of the last band written
  int previousBottom = 0;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    int y0 = ys[i], y1 = ys[i + 1];
    Spans sa = SpansAt(a.rects_, y0), sb = SpansAt(b.rects_, y0);
    std::vector<int> xs;
    for (const Spans* s : {&sa, &sb})
      for (auto [l, r] : *s) {
        xs.push_back(l);
        xs.push_back(r);
      }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    Spans band;
    for (std::size_t j = 0; j + 1 < xs.size(); ++j) {
      if (!Apply(mode, Inside(sa, xs[j]), Inside(sb, xs[j]))) continue;
      if (!band.empty() && band.back().second == xs[j]) band.back().second = xs[j + 1];
      else
        band.emplace_back(xs[j], xs[j + 1]);
    }
    if (band.empty()) continue;
    if (band == previous && previousBottom == y0 && !out.rects_.empty()) {
      for (std::size_t k = previousStart; k < out.rects_.size(); ++k) out.rects_[k].bottom = y1;
    } else {
      previousStart = out.rects_.size();
      for (auto [l, r] : band) out.rects_.push_back(RECT{l, y0, r, y1});
      previous = band;
    }
    previousBottom = y1;
  }
  return out;
}

Region Region::FromRows(const std::function<void(const std::function<void(int y, int x0, int x1)>&)>& add) {
  Region out;
  std::vector<std::pair<int, int>> band, previous;
  int bandY = 0, previousBottom = 0;
  std::size_t previousStart = 0;  // first rectangle of the last band written
  auto flush = [&] {
    if (band.empty()) return;
    if (band == previous && previousBottom == bandY && !out.rects_.empty()) {
      for (std::size_t k = previousStart; k < out.rects_.size(); ++k) out.rects_[k].bottom = bandY + 1;
    } else {
      previousStart = out.rects_.size();
      for (auto [l, r] : band) out.rects_.push_back(RECT{l, bandY, r, bandY + 1});
      previous = band;
    }
    previousBottom = bandY + 1;
    band.clear();
  };
  add([&](int y, int x0, int x1) {
    if (y != bandY) flush();
    bandY = y;
    if (x0 >= x1) return;
    if (!band.empty() && band.back().second >= x0) band.back().second = std::max(band.back().second, x1);
    else
      band.emplace_back(x0, x1);
  });
  flush();
  return out;
}

RegionObject* FindRegion(HRGN handle) { return Find<RegionObject>(handle, ObjectKind::Region); }

}  // namespace gdi
