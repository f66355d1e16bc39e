#include "raster.h"

namespace gdi {
namespace {

// 8x8 hatches, one bit per pixel (bit 7 = x 0), set where the hatch line is.
constexpr BYTE kHatches[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF},  // HS_HORIZONTAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01},  // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // HS_FDIAGONAL
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // HS_BDIAGONAL
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF},  // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // HS_DIAGCROSS
};

int Wrap(int v, int n) {
  int m = v % n;
  return m < 0 ? m + n : m;
}

}  // namespace

BrushPattern::BrushPattern(DeviceContext& dc, HBRUSH handle) {
  BrushObject* b = FindBrush(handle);
  Surface* s = dc.GetSurface();
  if (!b || !s || b->brush.lbStyle == BS_NULL) return;
  null_ = false;
  style_ = b->brush.lbStyle;
  origin_ = dc.state.brushOrg;
  switch (style_) {
    case BS_SOLID: solid_ = PixelValue(dc, b->brush.lbColor); break;
    case BS_HATCHED:
      solid_ = PixelValue(dc, b->brush.lbColor);
      background_ = PixelValue(dc, dc.state.bkColor);
      transparentGaps_ = dc.state.bkMode == TRANSPARENT;
      hatch_ = static_cast<int>(b->brush.lbHatch);
      break;
    default: {
      pattern_ = b->pattern;
      const Surface& p = *pattern_;
      NearestCache nearest(*s);
      DWORD text = PixelValue(dc, dc.state.textColor), back = PixelValue(dc, dc.state.bkColor);
      patternValues_.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
      for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
          DWORD v = p.Get(x, y);
          DWORD out = p.monochrome && !s->monochrome  ? (v ? back : text)
                      : p.monochrome && s->monochrome ? v
                                                      : nearest.ValueOf(p.ColorOf(v));
          patternValues_[static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) +
                         static_cast<std::size_t>(x)] = out;
        }
    }
  }
}

bool BrushPattern::At(int x, int y, DWORD& value) const {
  switch (style_) {
    case BS_SOLID: value = solid_; return true;
    case BS_HATCHED: {
      int px = Wrap(x - origin_.x, 8), py = Wrap(y - origin_.y, 8);
      if ((kHatches[hatch_][py] >> (7 - px)) & 1) {
        value = solid_;
        return true;
      }
      value = background_;
      return !transparentGaps_;
    }
    case BS_PATTERN: {
      int px = Wrap(x - origin_.x, pattern_->width), py = Wrap(y - origin_.y, pattern_->height);
      value = patternValues_[static_cast<std::size_t>(py) * static_cast<std::size_t>(pattern_->width) +
                             static_cast<std::size_t>(px)];
      return true;
    }
    default: return false;
  }
}

SpanPainter::SpanPainter(DeviceContext& dc, DWORD value, int rop2)
    : dc_(dc), surface_(dc.GetSurface()), value_(value), rop2_(rop2), mask_(surface_ ? surface_->ValueMask() : 0) {}

SpanPainter::SpanPainter(DeviceContext& dc, const BrushPattern& brush, int rop2)
    : dc_(dc), surface_(dc.GetSurface()), brush_(&brush), rop2_(rop2), mask_(surface_ ? surface_->ValueMask() : 0) {}

void SpanPainter::Span(int y, int x0, int x1) {
  if (!surface_ || x0 >= x1 || rop2_ == R2_NOP || (brush_ && brush_->Null())) return;
  dc_.Drawable().ForSpan(y, x0, x1, [&](int a, int b) {
    for (int x = a; x < b; ++x) {
      DWORD p = value_;
      if (brush_ && !brush_->At(x, y, p)) continue;
      DWORD d = rop2_ == R2_COPYPEN ? 0 : surface_->Get(x, y);
      surface_->Put(x, y, Rop2(rop2_, p, d) & mask_);
    }
  });
}

}  // namespace gdi
