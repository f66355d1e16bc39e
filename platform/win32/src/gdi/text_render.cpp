#include "gdi/text_render.h"

#include <algorithm>
#include <cmath>

namespace fonts {
namespace {

struct Direction {
  double ux, uy;  // along the baseline, device axes (y down)
  double vx, vy;  // towards the descenders
};

Direction DirectionOf(const FontFace& face) {
  const double a = face.EscapementRadians();
  double c = std::cos(a), s = std::sin(a);
  // Exact quarter turns, so 90-degree text stays on whole pixels.
  if (std::abs(c) < 1e-12) c = 0;
  if (std::abs(s) < 1e-12) s = 0;
  return {c, -s, s, c};
}

class Painter {
 public:
  Painter(gdi::DeviceContext& dc, const std::optional<RECT>& clip) : dc_(dc), clip_(clip) {}

  void Span(int y, int x0, int x1, DWORD value) {
    if (clip_) {
      if (y < clip_->top || y >= clip_->bottom) return;
      x0 = std::max<int>(x0, clip_->left);
      x1 = std::min<int>(x1, clip_->right);
    }
    if (x0 < x1) gdi::FillDeviceSpan(dc_, y, x0, x1, value);
  }

  // The pixels whose centres lie in [u0, u1) x [v0, v1) of the baseline frame at `origin`. Only
  // the drawable part is visited: a wide run or a far reference point can reach far past it.
  void Box(const Direction& d, double ox, double oy, double u0, double u1, double v0, double v1, DWORD value) {
    if (u0 >= u1 || v0 >= v1) return;
    const RECT area = dc_.Drawable().Box();
    auto within = [](double v, LONG low, LONG high) {
      return static_cast<int>(std::clamp(v, static_cast<double>(low), static_cast<double>(high)));
    };
    if (d.uy == 0 && d.vx == 0) {  // upright or upside down: whole rows
      const double xa = ox + d.ux * u0, xb = ox + d.ux * u1, ya = oy + d.vy * v0, yb = oy + d.vy * v1;
      const int x0 = within(std::round(std::min(xa, xb)), area.left, area.right);
      const int x1 = within(std::round(std::max(xa, xb)), area.left, area.right);
      const int y0 = within(std::round(std::min(ya, yb)), area.top, area.bottom);
      const int y1 = within(std::round(std::max(ya, yb)), area.top, area.bottom);
      for (int y = y0; y < y1; ++y) Span(y, x0, x1, value);
      return;
    }
    double minX = 1e18, maxX = -1e18, minY = 1e18, maxY = -1e18;
    for (double u : {u0, u1})
      for (double v : {v0, v1}) {
        const double x = ox + d.ux * u + d.vx * v, y = oy + d.uy * u + d.vy * v;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
    const int y0 = within(std::floor(minY), area.top, area.bottom);
    const int y1 = within(std::ceil(maxY) + 1, area.top, area.bottom);
    const int x0 = within(std::floor(minX), area.left, area.right);
    const int x1 = within(std::ceil(maxX) + 1, area.left, area.right);
    for (int y = y0; y < y1; ++y) {
      int start = 0;
      bool inside = false;
      for (int x = x0; x < x1; ++x) {
        const double px = x + 0.5 - ox, py = y + 0.5 - oy;
        const double u = px * d.ux + py * d.uy, v = px * d.vx + py * d.vy;
        const bool in = u >= u0 && u < u1 && v >= v0 && v < v1;
        if (in && !inside) start = x;
        if (!in && inside) Span(y, start, x, value);
        inside = in;
      }
      if (inside) Span(y, start, x1, value);
    }
  }

  void Ink(const Glyph& g, int penX, int penY, DWORD value) {
    for (int y = 0; y < g.height; ++y) {
      const std::uint8_t* row = g.ink.data() + static_cast<std::size_t>(y) * g.width;
      for (int x = 0; x < g.width;) {
        if (!row[x]) {
          ++x;
          continue;
        }
        const int start = x;
        while (x < g.width && row[x]) ++x;
        Span(penY + g.top + y, penX + g.left + start, penX + g.left + x, value);
      }
    }
  }

 private:
  gdi::DeviceContext& dc_;
  const std::optional<RECT>& clip_;
};

}  // namespace

GlyphRun MeasuredRun(FontFace& face, std::u32string chars) {
  GlyphRun run;
  run.positions.assign(chars.size() + 1, 0);
  for (std::size_t i = 0; i < chars.size(); ++i) run.positions[i + 1] = run.positions[i] + face.Advance(chars[i]);
  run.chars = std::move(chars);
  return run;
}

POINT RunAdvance(const FontFace& face, int width) {
  const Direction d = DirectionOf(face);
  return {static_cast<LONG>(std::lround(d.ux * width)), static_cast<LONG>(std::lround(d.uy * width))};
}

void DrawRun(gdi::DeviceContext& dc, FontFace& face, const GlyphRun& run, POINT reference, UINT align, bool opaque,
             const std::optional<RECT>& clip) {
  const TEXTMETRICA& m = face.Metrics();
  const Direction d = DirectionOf(face);
  const int width = run.positions.empty() ? 0 : run.positions.back();
  int along = 0, across = 0;
  if ((align & TA_CENTER) == TA_CENTER) along = -(width / 2);
  else if (align & TA_RIGHT)
    along = -width;
  if ((align & TA_BASELINE) == TA_BASELINE) across = 0;
  else if (align & TA_BOTTOM)
    across = -m.tmDescent;
  else
    across = m.tmAscent;
  // The start of the baseline.
  const double ox = reference.x + d.ux * along + d.vx * across;
  const double oy = reference.y + d.uy * along + d.vy * across;

  Painter paint(dc, clip);
  if (opaque) paint.Box(d, ox, oy, 0, width, -m.tmAscent, m.tmDescent, gdi::PixelValue(dc, dc.state.bkColor));
  const DWORD ink = gdi::PixelValue(dc, dc.state.textColor);
  for (std::size_t i = 0; i < run.chars.size(); ++i) {
    const Glyph& g = face.GlyphOf(run.chars[i]);
    if (g.ink.empty()) continue;
    const double at = run.positions[i];
    paint.Ink(g, static_cast<int>(std::lround(ox + d.ux * at)), static_cast<int>(std::lround(oy + d.uy * at)), ink);
  }
  const LineMetrics under = face.Underline(), strike = face.StrikeOut();
  if (face.Underlined()) paint.Box(d, ox, oy, 0, width, under.offset, under.offset + under.thickness, ink);
  if (face.StruckOut()) paint.Box(d, ox, oy, 0, width, strike.offset, strike.offset + strike.thickness, ink);
  if (run.underlined >= 0 && static_cast<std::size_t>(run.underlined) < run.chars.size()) {
    const auto u = static_cast<std::size_t>(run.underlined);
    paint.Box(d, ox, oy, run.positions[u], run.positions[u + 1], under.offset, under.offset + under.thickness, ink);
  }
}

}  // namespace fonts
