// BitBlt, StretchBlt, PatBlt, StretchDIBits and SetDIBitsToDevice: one core that maps each
// destination pixel to its source block, converts the source into the destination's pixel values
// and applies the ternary raster operation.
#include <algorithm>
#include <cstring>
#include <optional>

#include "dib.h"
#include "raster.h"

namespace gdi {
namespace {

bool SameFormat(const Surface& a, const Surface& b) {
  if (a.bitsPerPixel != b.bitsPerPixel || a.monochrome != b.monochrome || a.redMask != b.redMask ||
      a.greenMask != b.greenMask || a.blueMask != b.blueMask || a.colorTable.size() != b.colorTable.size())
    return false;
  for (std::size_t i = 0; i < a.colorTable.size(); ++i) {
    const RGBQUAD &p = a.colorTable[i], &q = b.colorTable[i];
    if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue) return false;
  }
  return true;
}

// Source pixel values as destination pixel values and as colours, with the monochrome rules.
class SourceConverter {
 public:
  SourceConverter(const Surface& src, const DeviceContext* srcDc, DeviceContext& dst)
      : src_(src), dst_(*dst.GetSurface()), nearest_(dst_) {
    if (src.monochrome && !dst_.monochrome) {
      mode_ = Mode::MonoToColor;
      colors_[0] = ResolveColor(dst, dst.state.textColor);
      colors_[1] = ResolveColor(dst, dst.state.bkColor);
      values_[0] = dst_.ValueOf(colors_[0]);
      values_[1] = dst_.ValueOf(colors_[1]);
    } else if (dst_.monochrome && !src.monochrome && srcDc) {
      mode_ = Mode::ColorToMono;
      background_ = src.ValueOf(ResolveColor(*srcDc, srcDc->state.bkColor));
    } else if (SameFormat(src, dst_) || (src.monochrome && dst_.monochrome)) {
      mode_ = Mode::Identity;
    }
  }
  DWORD Value(DWORD v) {
    switch (mode_) {
      case Mode::Identity: return v;
      case Mode::MonoToColor: return values_[v & 1];
      case Mode::ColorToMono: return v == background_ ? 1 : 0;
      default: return nearest_.ValueOf(src_.ColorOf(v));
    }
  }
  COLORREF Color(DWORD v) const { return mode_ == Mode::MonoToColor ? colors_[v & 1] : src_.ColorOf(v); }
  DWORD ValueOfColor(COLORREF c) { return nearest_.ValueOf(c); }
  bool Identity() const { return mode_ == Mode::Identity; }

 private:
  enum class Mode { Identity, MonoToColor, ColorToMono, Convert };
  const Surface& src_;
  const Surface& dst_;
  NearestCache nearest_;
  Mode mode_ = Mode::Convert;
  COLORREF colors_[2] = {};
  DWORD values_[2] = {};
  DWORD background_ = 0;
};

// Where destination pixel i of n falls in m source pixels: the block [first, last) and, for
// HALFTONE, the share of each source pixel in it.
struct Axis {
  std::vector<int> first, last;
  std::vector<std::vector<double>> weights;
};

Axis MapAxis(int n, int m, bool flip, bool weighted) {
  Axis a;
  a.first.resize(static_cast<std::size_t>(n));
  a.last.resize(static_cast<std::size_t>(n));
  if (weighted) a.weights.resize(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    int f, l;
    auto k = static_cast<std::size_t>(i);
    if (weighted) {
      double lo = static_cast<double>(i) * m / n, hi = static_cast<double>(i + 1) * m / n;
      f = static_cast<int>(lo);
      l = std::min(m, std::max(f + 1, static_cast<int>(hi + 0.999999)));
      for (int s = f; s < l; ++s) a.weights[k].push_back(std::min(hi, s + 1.0) - std::max(lo, static_cast<double>(s)));
    } else {
      f = static_cast<int>(static_cast<long long>(i) * m / n);
      l = std::max(f + 1, static_cast<int>(static_cast<long long>(i + 1) * m / n));
    }
    if (flip) {
      int nf = m - l, nl = m - f;
      f = nf;
      l = nl;
      if (weighted) std::reverse(a.weights[k].begin(), a.weights[k].end());
    }
    a.first[k] = f;
    a.last[k] = l;
  }
  return a;
}

struct Rect {
  int x, y, w, h;  // w, h > 0
};

// The pixels a signed extent covers: [x, x + w) for w > 0, [x + w + 1, x + 1) mirrored for w < 0.
void Normalise(int& x, int& w, bool& flip) {
  if (w < 0) {
    x = x + w + 1;
    w = -w;
    flip = !flip;
  }
}

// The destination's own pixels, when it is also the source, as a copy the blit can read while it
// writes; made in place, as the copy's bits point into its own storage.
const Surface* Snapshot(const Surface& out, std::optional<Surface>& snapshot) {
  snapshot.emplace(out);
  if (out.bits != out.storage.data())
    snapshot->storage.assign(out.bits, out.bits + static_cast<std::size_t>(out.stride) * out.height);
  snapshot->bits = snapshot->storage.data();
  return &*snapshot;
}

// A plain copy between equal formats moves whole rows.
void CopyRows(Surface& out, const Region& clipped, const Surface& src, Rect d, Rect s) {
  const int bytes = out.bitsPerPixel / 8;
  for (const RECT& r : clipped.Rects())
    for (int y = r.top; y < r.bottom; ++y) {
      const int sy = s.y + (y - d.y);
      if (sy < 0 || sy >= src.height) continue;
      const int x0 = std::max<int>(r.left, d.x - s.x), x1 = std::min<int>(r.right, d.x - s.x + src.width);
      if (x0 >= x1) continue;
      std::memcpy(out.Row(y) + x0 * bytes, src.Row(sy) + (s.x + x0 - d.x) * bytes,
                  static_cast<std::size_t>(x1 - x0) * static_cast<std::size_t>(bytes));
    }
}

// The source pixel value, in the destination's terms, for each destination pixel, by the
// stretch mode when the sizes differ.
class SourceSampler {
 public:
  SourceSampler(const Surface& src, const DeviceContext* srcDc, DeviceContext& dst, Rect d, Rect s, bool flipX,
                bool flipY)
      : src_(src),
        convert_(src, srcDc, dst),
        s_(s),
        flipX_(flipX),
        flipY_(flipY),
        stretch_(d.w != s.w || d.h != s.h),
        mode_(dst.state.stretchMode),
        halftone_(stretch_ && mode_ == HALFTONE),
        ax_(MapAxis(d.w, s.w, flipX, halftone_)),
        ay_(MapAxis(d.h, s.h, flipY, halftone_)) {}

  // False when the source block of destination pixel (i, j) lies outside the source surface.
  bool At(int i, int j, DWORD& value) {
    const auto ki = static_cast<std::size_t>(i), kj = static_cast<std::size_t>(j);
    const int x0 = s_.x + ax_.first[ki], x1 = s_.x + ax_.last[ki], y0 = s_.y + ay_.first[kj], y1 = s_.y + ay_.last[kj];
    if (!InSource(x0, y0) || !InSource(x1 - 1, y1 - 1)) return false;
    value = halftone_ ? Halftone(ki, kj, x0, x1, y0, y1) : Picked(x0, x1, y0, y1);
    return true;
  }

 private:
  bool InSource(int x, int y) const { return x >= 0 && y >= 0 && x < src_.width && y < src_.height; }

  // The block's colours weighed by their shares.
  DWORD Halftone(std::size_t ki, std::size_t kj, int x0, int x1, int y0, int y1) {
    double r = 0, g = 0, b = 0, total = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const double w =
            ax_.weights[ki][static_cast<std::size_t>(x - x0)] * ay_.weights[kj][static_cast<std::size_t>(y - y0)];
        const COLORREF c = convert_.Color(src_.Get(x, y));
        r += w * GetRValue(c);
        g += w * GetGValue(c);
        b += w * GetBValue(c);
        total += w;
      }
    auto channel = [&](double v) { return static_cast<BYTE>(std::clamp(v / total + 0.5, 0.0, 255.0)); };
    return convert_.ValueOfColor(RGB(channel(r), channel(g), channel(b)));
  }

  // One pixel of the block, or for BLACKONWHITE and WHITEONBLACK all of it ANDed or ORed.
  DWORD Picked(int x0, int x1, int y0, int y1) {
    DWORD v = src_.Get(flipX_ ? x1 - 1 : x0, flipY_ ? y1 - 1 : y0);
    if (stretch_ && (mode_ == BLACKONWHITE || mode_ == WHITEONBLACK) && (x1 - x0 > 1 || y1 - y0 > 1)) {
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) v = mode_ == BLACKONWHITE ? v & src_.Get(x, y) : v | src_.Get(x, y);
    }
    return convert_.Value(v);
  }

  const Surface& src_;
  SourceConverter convert_;
  const Rect s_;
  const bool flipX_, flipY_, stretch_;
  const int mode_;
  const bool halftone_;
  const Axis ax_, ay_;
};

bool Blit(DeviceContext& dst, Rect d, const Surface* srcSurface, const DeviceContext* srcDc, Rect s, bool flipX,
          bool flipY, DWORD rop) {
  Surface* out = dst.GetSurface();
  if (!out) return false;
  BYTE code = Rop3Code(rop);
  bool useSource = RopUsesSource(code);
  if (useSource && !srcSurface) return false;
  if (d.w <= 0 || d.h <= 0) return true;
  RECT target{d.x, d.y, d.x + d.w, d.y + d.h};
  Region clipped = Region::Combine(dst.Drawable(), Region(target), RGN_AND);
  if (clipped.Empty()) return true;

  // A source that overlaps the destination in the same surface is copied first.
  std::optional<Surface> snapshot;
  if (useSource && srcSurface == out) srcSurface = Snapshot(*out, snapshot);

  std::optional<BrushPattern> pattern;
  if (RopUsesPattern(code)) pattern.emplace(dst, dst.state.brush);
  DWORD mask = out->ValueMask();
  bool stretch = useSource && (d.w != s.w || d.h != s.h);
  if (code == 0xCC && !stretch && !flipX && !flipY && out->bitsPerPixel >= 8 && SameFormat(*srcSurface, *out)) {
    CopyRows(*out, clipped, *srcSurface, d, s);
    return true;
  }

  std::optional<SourceSampler> source;
  if (useSource) source.emplace(*srcSurface, srcDc, dst, d, s, flipX, flipY);
  for (const RECT& r : clipped.Rects())
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) {
        DWORD p = 0, sv = 0, dv = 0;
        if (pattern && !pattern->At(x, y, p)) continue;
        if (useSource && !source->At(x - d.x, y - d.y, sv)) continue;
        if (RopUsesDest(code)) dv = out->Get(x, y);
        out->Put(x, y, Rop3(code, p, sv, dv) & mask);
      }
  return true;
}

// A DIB in the caller's memory as a surface.
bool DibView(const BITMAPINFO* info, const void* bits, UINT usage, const DeviceContext& dc, Surface& view) {
  if (!bits || !ReadDibFormat(info, usage, &dc, view)) return false;
  view.bits = const_cast<BYTE*>(static_cast<const BYTE*>(bits));
  return true;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop) {
  DeviceContext* dc = FindDC(dest);
  DeviceContext* src = source ? FindDC(source) : nullptr;
  if (!dc || (source && !src)) return FALSE;
  bool flipX = false, flipY = false;
  Normalise(x, width, flipX);
  Normalise(y, height, flipY);
  Normalise(xSrc, widthSrc, flipX);
  Normalise(ySrc, heightSrc, flipY);
  if (src && RopUsesSource(Rop3Code(rop)) && (widthSrc == 0 || heightSrc == 0)) return FALSE;
  POINT d = dc->ToDevice(POINT{x, y});
  POINT s = src ? src->ToDevice(POINT{xSrc, ySrc}) : POINT{0, 0};
  return Blit(*dc, Rect{d.x, d.y, width, height}, src ? src->GetSurface() : nullptr, src,
              Rect{s.x, s.y, widthSrc, heightSrc}, flipX, flipY, rop)
             ? TRUE
             : FALSE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int xSrc, int ySrc, DWORD rop) {
  return StretchBlt(dest, x, y, width, height, source, xSrc, ySrc, width, height, rop);
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DeviceContext* dc = FindDC(handle);
  if (!dc || RopUsesSource(Rop3Code(rop))) return FALSE;
  if (width < 0) x += width, width = -width;
  if (height < 0) y += height, height = -height;
  POINT d = dc->ToDevice(POINT{x, y});
  return Blit(*dc, Rect{d.x, d.y, width, height}, nullptr, nullptr, Rect{0, 0, 0, 0}, false, false, rop) ? TRUE : FALSE;
}

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  DeviceContext* dc = FindDC(handle);
  Surface view;
  if (!dc || !DibView(info, bits, usage, *dc, view) || srcWidth == 0 || srcHeight == 0) return 0;
  bool flipX = false, flipY = false;
  Normalise(xDest, destWidth, flipX);
  Normalise(yDest, destHeight, flipY);
  Normalise(xSrc, srcWidth, flipX);
  Normalise(ySrc, srcHeight, flipY);
  // Source rows of a bottom-up DIB are counted from its last line.
  int top = view.topDown ? ySrc : view.height - ySrc - srcHeight;
  POINT d = dc->ToDevice(POINT{xDest, yDest});
  if (!Blit(*dc, Rect{d.x, d.y, destWidth, destHeight}, &view, nullptr, Rect{xSrc, top, srcWidth, srcHeight}, flipX,
            flipY, rop))
    return 0;
  return srcHeight;
}

int SetDIBitsToDevice(HDC handle, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  DeviceContext* dc = FindDC(handle);
  Surface view;
  if (!dc || !DibView(info, bits, usage, *dc, view) || lines == 0) return 0;
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF || startScan > 0x7FFFFFFF) return 0;
  int w = static_cast<int>(width), h = static_cast<int>(height), first = static_cast<int>(startScan);
  int n = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(view.height)));
  // The bits hold only scan lines [startScan, startScan + lines); the view covers just those.
  view.height = n;
  int top = view.topDown ? ySrc - first : first + n - ySrc - h;
  POINT d = dc->ToDevice(POINT{xDest, yDest});
  if (!Blit(*dc, Rect{d.x, d.y, w, h}, &view, nullptr, Rect{xSrc, top, w, h}, false, false, SRCCOPY)) return 0;
  return n;
}
