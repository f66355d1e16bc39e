#include "pen_path.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi {

void SpanSet::Add(int y, int x0, int x1) {
  if (x0 < x1) rows_[y].emplace_back(x0, x1);
}

void SpanSet::Paint(SpanPainter& painter) const {
  for (const auto& [y, spans] : rows_) {
    std::vector<std::pair<int, int>> s = spans;
    std::sort(s.begin(), s.end());
    int a = s[0].first, b = s[0].second;
    for (std::size_t i = 1; i < s.size(); ++i) {
      if (s[i].first <= b) {
        b = std::max(b, s[i].second);
      } else {
        painter.Span(y, a, b);
        a = s[i].first;
        b = s[i].second;
      }
    }
    painter.Span(y, a, b);
  }
}

namespace {

const PenObject& PenOf(const DeviceContext& dc) {
  PenObject* p = FindPen(dc.state.pen);
  return p ? *p : *FindPen(StockObject(BLACK_PEN));
}

}  // namespace

PenPath::PenPath(DeviceContext& dc)
    : dc_(dc),
      pen_(dc, PixelValue(dc, PenOf(dc).pen.lopnColor), dc.state.rop2),
      gap_(dc, PixelValue(dc, dc.state.bkColor), dc.state.rop2) {
  const PenObject& p = PenOf(dc);
  null_ = p.Style() == PS_NULL;
  width_ = p.Width();
  if (width_ == 1) {
    switch (p.Style()) {
      case PS_DASH: dashes_ = {18, 6}; break;
      case PS_DOT: dashes_ = {3, 3}; break;
      case PS_DASHDOT: dashes_ = {9, 6, 3, 6}; break;
      case PS_DASHDOTDOT: dashes_ = {9, 3, 3, 3, 3, 3}; break;
      default: break;
    }
  }
  if (!dashes_.empty()) dashLeft_ = dashes_[0];
  opaqueGaps_ = dc.state.bkMode == OPAQUE;
}

void PenPath::Pixel(int x, int y) {
  if (null_) return;
  if (width_ > 1) {
    // A round dab of the pen's width centred on the pixel.
    int lo = -(width_ - 1) / 2, hi = width_ / 2;
    double r = width_ / 2.0, c = (lo + hi) / 2.0;
    for (int dy = lo; dy <= hi; ++dy) {
      double yy = dy - c;
      int half = static_cast<int>(std::sqrt(std::max(0.0, r * r - yy * yy)) - 0.5 + 1e-9);
      int cx = x + static_cast<int>(c);
      wide_.Add(y + dy, std::max(x + lo, cx - half), std::min(x + hi, cx + half) + 1);
    }
    return;
  }
  bool on = true;
  if (!dashes_.empty()) {
    on = dashIndex_ % 2 == 0;
    if (--dashLeft_ == 0) {
      dashIndex_ = (dashIndex_ + 1) % static_cast<int>(dashes_.size());
      dashLeft_ = dashes_[static_cast<std::size_t>(dashIndex_)];
    }
  }
  if (on) pen_.Span(y, x, x + 1);
  else if (opaqueGaps_)
    gap_.Span(y, x, x + 1);
}

void PenPath::Segment(POINT a, POINT b) {
  if (null_) return;
  int dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  int sx = b.x > a.x ? 1 : -1, sy = b.y > a.y ? 1 : -1;
  int x = a.x, y = a.y;
  if (dx >= dy) {
    int err = dx / 2;
    for (int i = 0; i < dx; ++i) {
      Pixel(x, y);
      x += sx;
      err -= dy;
      if (err < 0) {
        y += sy;
        err += dx;
      }
    }
  } else {
    int err = dy / 2;
    for (int i = 0; i < dy; ++i) {
      Pixel(x, y);
      y += sy;
      err -= dx;
      if (err < 0) {
        x += sx;
        err += dy;
      }
    }
  }
}

void PenPath::Finish() {
  if (width_ > 1) wide_.Paint(pen_);
}

}  // namespace gdi
