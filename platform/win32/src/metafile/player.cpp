// The shared player state and its drawing operations on the target DC.
#include "metafile/player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "metafile/clip_geometry.h"
#include "metafile/shape_outlines.h"

namespace metafile {

namespace {

constexpr double kCoordinateLimit = 1 << 24;
constexpr int kMaxPenWidth = 64;
constexpr int kMaxFontHeight = 1024;
constexpr int kMargin = kMaxPenWidth + 8;  // geometry clipped this far outside stays unseen
constexpr int kReach = 2048;  // shapes and text further out than this are dropped
constexpr int kMaxBlitExtent = 1 << 15;
// Edges times rows they cross: what scanning polygons costs, and bounds the spans of a clip path.
constexpr std::size_t kMaxCrossings = 1 << 23;

int ToInt(double v) {
  if (!(v > -kCoordinateLimit)) v = -kCoordinateLimit;
  if (!(v < kCoordinateLimit)) v = kCoordinateLimit;
  return static_cast<int>(std::lround(v));
}

RECT Intersect(const RECT& a, const RECT& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

SharedHandle Stock(int index) {
  return SharedHandle(GetStockObject(index), [](void*) {});
}

}  // namespace

SharedHandle Player::Own(HGDIOBJ object) {
  if (!object) return nullptr;
  return SharedHandle(object, [](void* h) { DeleteObject(h); });
}

Player::Player(HDC dc, const Matrix& fit, std::size_t objectSlots) : dc_(dc), fit_(fit), objects_(objectSlots) {
  savedLevel_ = SaveDC(dc_);
  SetViewportOrgEx(dc_, 0, 0, nullptr);
  SetWindowOrgEx(dc_, 0, 0, nullptr);
  HRGN clip = CreateRectRgn(0, 0, 0, 0);
  if (GetClipRgn(dc_, clip) == 1) initialClip_ = Own(clip);
  else
    DeleteObject(clip);
  RECT box{};
  GetClipBox(dc_, &box);
  limit_ = {box.left - kMargin, box.top - kMargin, box.right + kMargin, box.bottom + kMargin};
  state.brush = Stock(WHITE_BRUSH);
  state.font.stockIndex = SYSTEM_FONT;
}

Player::~Player() {
  SelectObject(dc_, GetStockObject(BLACK_PEN));
  SelectObject(dc_, GetStockObject(WHITE_BRUSH));
  SelectObject(dc_, GetStockObject(SYSTEM_FONT));
  RestoreDC(dc_, savedLevel_);
}

// ---- object table ----

int Player::FreeSlot() const {
  for (std::size_t i = 0; i < objects_.size(); ++i)
    if (objects_[i].kind == TableObject::Empty) return static_cast<int>(i);
  return -1;
}

TableObject* Player::Slot(std::size_t index) {
  if (index >= objects_.size()) {
    Malformed();
    return nullptr;
  }
  return &objects_[index];
}

void Player::Select(const TableObject& object) {
  switch (object.kind) {
    case TableObject::Pen: state.pen = object.pen; break;
    case TableObject::Brush: state.brush = object.brush; break;
    case TableObject::Font: state.font = object.font; break;
    case TableObject::Palette: break;
    case TableObject::Region: SelectClip(&object.region, false, RGN_COPY); break;
    case TableObject::Empty: Malformed(); break;
  }
}

void Player::SelectStock(int index) {
  if (index >= WHITE_BRUSH && index <= NULL_BRUSH) state.brush = Stock(index);
  else if (index == WHITE_PEN)
    state.pen = {PS_SOLID, {0, 0}, RGB(255, 255, 255)};
  else if (index == BLACK_PEN)
    state.pen = {PS_SOLID, {0, 0}, RGB(0, 0, 0)};
  else if (index == NULL_PEN)
    state.pen = {PS_NULL, {0, 0}, RGB(0, 0, 0)};
  else if (index == DEFAULT_PALETTE)
    return;
  else if (index >= OEM_FIXED_FONT && index <= DEFAULT_GUI_FONT)
    state.font = FontSpec{{}, index};
  else
    Malformed();
}

// ---- state ----

void Player::Save() { saved_.push_back(state); }

void Player::Restore(int level) {
  std::size_t keep;
  if (level < 0) {
    if (static_cast<std::size_t>(-static_cast<long long>(level)) > saved_.size()) return;
    keep = saved_.size() - static_cast<std::size_t>(-static_cast<long long>(level));
  } else {
    if (level == 0 || static_cast<std::size_t>(level) > saved_.size()) return;
    keep = static_cast<std::size_t>(level) - 1;
  }
  state = saved_[keep];
  saved_.resize(keep);
  ApplyClip();
}

Matrix Player::LogicalToDevice() const { return state.world.Then(state.page.ToDevice()).Then(fit_); }

POINT Player::Device(DPoint logical) const {
  DPoint d = LogicalToDevice().Apply(logical);
  return {ToInt(d.x), ToInt(d.y)};
}

RECT Player::DeviceRect(DPoint a, DPoint b) const {
  POINT p = Device(a), q = Device(b);
  return {std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

bool Player::Reasonable(const RECT& box) const {
  return box.left >= limit_.left - kReach && box.top >= limit_.top - kReach && box.right <= limit_.right + kReach &&
         box.bottom <= limit_.bottom + kReach;
}

HRGN Player::RegionOf(const std::vector<RECT>& rects, const Matrix& m) const {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const RECT& r : rects) {
    DPoint a = m.Apply({static_cast<double>(r.left), static_cast<double>(r.top)});
    DPoint b = m.Apply({static_cast<double>(r.right), static_cast<double>(r.bottom)});
    RECT d = Intersect({std::min(ToInt(a.x), ToInt(b.x)), std::min(ToInt(a.y), ToInt(b.y)),
                        std::max(ToInt(a.x), ToInt(b.x)), std::max(ToInt(a.y), ToInt(b.y))},
                       limit_);
    if (Empty(d)) continue;
    HRGN part = CreateRectRgnIndirect(&d);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  return region;
}

void Player::SetClip(HRGN region) {
  state.clip = Own(region);
  ApplyClip();
}

void Player::ApplyClip() {
  if (!state.clip) {
    SelectClipRgn(dc_, static_cast<HRGN>(initialClip_.get()));
    return;
  }
  if (!initialClip_) {
    SelectClipRgn(dc_, static_cast<HRGN>(state.clip.get()));
    return;
  }
  HRGN both = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(both, static_cast<HRGN>(initialClip_.get()), static_cast<HRGN>(state.clip.get()), RGN_AND);
  SelectClipRgn(dc_, both);
  DeleteObject(both);
}

void Player::IntersectClip(DPoint a, DPoint b) {
  RECT r = Intersect(DeviceRect(a, b), limit_);
  HRGN region = CreateRectRgnIndirect(&r);
  if (state.clip) CombineRgn(region, region, static_cast<HRGN>(state.clip.get()), RGN_AND);
  SetClip(region);
}

void Player::ExcludeClip(DPoint a, DPoint b) {
  RECT r = Intersect(DeviceRect(a, b), limit_);
  HRGN region = CreateRectRgnIndirect(&limit_);
  if (state.clip) CombineRgn(region, static_cast<HRGN>(state.clip.get()), nullptr, RGN_COPY);
  HRGN hole = CreateRectRgnIndirect(&r);
  CombineRgn(region, region, hole, RGN_DIFF);
  DeleteObject(hole);
  SetClip(region);
}

void Player::SelectClip(const std::vector<RECT>* rects, bool referenceUnits, int mode) {
  if (!rects) {
    if (mode != RGN_COPY) return Malformed();
    state.clip = nullptr;
    return ApplyClip();
  }
  if (mode < RGN_AND || mode > RGN_COPY) return Malformed();
  CombineClip(RegionOf(*rects, referenceUnits ? fit_ : LogicalToDevice()), mode);
}

void Player::CombineClip(HRGN region, int mode) {
  if (mode == RGN_COPY) return SetClip(region);
  HRGN current = CreateRectRgnIndirect(&limit_);
  if (state.clip) CombineRgn(current, static_cast<HRGN>(state.clip.get()), nullptr, RGN_COPY);
  CombineRgn(current, current, region, mode);
  DeleteObject(region);
  SetClip(current);
}

// ---- drawing ----

int Player::PenPixels() const {
  double width = std::fabs(static_cast<double>(state.pen.lopnWidth.x)) * LogicalToDevice().ScaleX();
  return std::clamp(ToInt(width), 1, kMaxPenWidth);
}

void Player::Realize(bool withPen, bool withBrush) {
  if (withPen) {
    LOGPEN wanted = state.pen;
    wanted.lopnStyle &= PS_STYLE_MASK;
    wanted.lopnWidth = {wanted.lopnWidth.x == 0 ? 0 : PenPixels(), 0};
    if (!realizedPen_ || std::memcmp(&wanted, &realizedPenSpec_, sizeof wanted) != 0) {
      SharedHandle pen = Own(CreatePenIndirect(&wanted));
      SelectObject(dc_, pen.get());
      realizedPen_ = pen;
      realizedPenSpec_ = wanted;
    }
  }
  if (withBrush && realizedBrush_ != state.brush) {
    SelectObject(dc_, state.brush.get());
    realizedBrush_ = state.brush;
  }
  SetTextColor(dc_, state.textColor);
  SetBkColor(dc_, state.bkColor);
  SetBkMode(dc_, state.bkMode);
  SetROP2(dc_, state.rop2);
  SetPolyFillMode(dc_, state.polyFillMode);
  SetStretchBltMode(dc_, state.stretchMode);
}

std::vector<DPoint> Player::ToDevice(const std::vector<DPoint>& logical) const {
  Matrix m = LogicalToDevice();
  std::vector<DPoint> device;
  device.reserve(logical.size());
  for (DPoint p : logical) device.push_back(m.Apply(p));
  return device;
}

double Player::PixelsPerUnit() const {
  Matrix m = LogicalToDevice();
  return std::max(m.ScaleX(), m.ScaleY());
}

DBox Player::LimitBox() const {
  return {double(limit_.left), double(limit_.top), double(limit_.right), double(limit_.bottom)};
}

// Clipped points are inside the limit box; what is not finite is put on its edge.
POINT Player::Pixel(DPoint p) const {
  return {std::clamp(ToInt(p.x), limit_.left, limit_.right), std::clamp(ToInt(p.y), limit_.top, limit_.bottom)};
}

void Player::AddToPath(bool fits) {
  if (!fits) Malformed();  // the path grew beyond its bound and was dropped
}

void Player::MoveTo(DPoint p) {
  state.position = p;
  if (path_.Recording()) path_.MoveTo();
}

void Player::LineTo(DPoint p) { PolylineTo({p}); }

void Player::PolylineTo(const std::vector<DPoint>& points) {
  if (points.empty()) return;
  if (path_.Recording()) {
    AddToPath(path_.LinesFrom(LogicalToDevice().Apply(state.position), ToDevice(points)));
  } else {
    std::vector<DPoint> line{state.position};
    line.insert(line.end(), points.begin(), points.end());
    StrokeDevice(ToDevice(line));
  }
  state.position = points.back();
}

void Player::Polyline(const std::vector<DPoint>& points) {
  if (points.size() < 2) return;
  if (path_.Recording()) return AddToPath(path_.AddFigure(ToDevice(points), false));
  StrokeDevice(ToDevice(points));
}

void Player::Polygons(const std::vector<std::vector<DPoint>>& polygons) {
  std::vector<std::vector<DPoint>> device;
  for (const auto& polygon : polygons) device.push_back(ToDevice(polygon));
  if (!path_.Recording()) return FillDevice(device, true, FillMode());
  for (auto& polygon : device)
    if (polygon.size() >= 2) AddToPath(path_.AddFigure(std::move(polygon), true));
}

void Player::StrokeDevice(const std::vector<DPoint>& line) {
  if (line.size() < 2) return;
  Realize(true, false);
  for (const auto& run : ClipPolyline(line, LimitBox())) {
    std::vector<POINT> pts;
    for (DPoint p : run) pts.push_back(Pixel(p));
    ::Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
  }
}

Player::PolyPoints Player::Clipped(const std::vector<std::vector<DPoint>>& polygons) {
  PolyPoints out;
  std::size_t crossings = 0;
  for (const auto& polygon : polygons) {
    std::vector<DPoint> clipped = ClipPolygon(polygon, LimitBox());
    if (clipped.size() < 2) continue;
    POINT previous = Pixel(clipped.back());
    for (DPoint p : clipped) {
      POINT q = Pixel(p);
      crossings += static_cast<std::size_t>(std::abs(q.y - previous.y));
      out.points.push_back(previous = q);
    }
    out.counts.push_back(static_cast<INT>(clipped.size()));
  }
  if (crossings > kMaxCrossings) {
    Malformed();
    return {};
  }
  return out;
}

void Player::FillDevice(const std::vector<std::vector<DPoint>>& polygons, bool outline, int fillMode) {
  PolyPoints poly = Clipped(polygons);
  if (poly.counts.empty()) return;
  Realize(outline, true);
  SetPolyFillMode(dc_, fillMode);
  if (!outline) {
    SelectObject(dc_, GetStockObject(NULL_PEN));
    realizedPen_ = nullptr;
  }
  ::PolyPolygon(dc_, poly.points.data(), poly.counts.data(), static_cast<int>(poly.counts.size()));
}

void Player::Rectangle(DPoint a, DPoint b) {
  if (path_.Recording()) return AddToPath(path_.AddFigure(ToDevice(RectangleOutline(a, b)), true));
  RECT r = DeviceRect(a, b);
  if (!Reasonable(r)) r = Intersect(r, limit_);
  if (Empty(r)) return;
  Realize(true, true);
  ::Rectangle(dc_, r.left, r.top, r.right, r.bottom);
}

void Player::RoundRect(DPoint a, DPoint b, DPoint corner) {
  if (path_.Recording())
    return AddToPath(path_.AddFigure(ToDevice(RoundRectOutline(a, b, corner, PixelsPerUnit())), true));
  RECT r = DeviceRect(a, b);
  if (!Reasonable(r)) return;
  Matrix m = LogicalToDevice();
  Realize(true, true);
  ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, ToInt(std::fabs(corner.x) * m.ScaleX()),
              ToInt(std::fabs(corner.y) * m.ScaleY()));
}

void Player::Ellipse(DPoint a, DPoint b) {
  if (path_.Recording()) return AddToPath(path_.AddFigure(ToDevice(EllipseOutline(a, b, PixelsPerUnit())), true));
  RECT r = DeviceRect(a, b);
  if (!Reasonable(r)) return;
  Realize(true, true);
  ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void Player::ArcShape(ArcKind kind, DPoint a, DPoint b, DPoint start, DPoint end) {
  if (path_.Recording()) {
    std::vector<DPoint> arc = ArcOutline(a, b, start, end, PixelsPerUnit());
    if (kind == ArcKind::Pie) arc.insert(arc.begin(), Centre(a, b));
    return AddToPath(path_.AddFigure(ToDevice(arc), kind != ArcKind::Arc));
  }
  RECT r = DeviceRect(a, b);
  if (!Reasonable(r)) return;
  POINT s = Device(start), e = Device(end);
  Matrix m = LogicalToDevice();
  // Arcs run counter-clockwise in logical space: a flipped axis turns that round on the device.
  if (m.m11 * m.m22 - m.m12 * m.m21 < 0) std::swap(s, e);
  Realize(true, kind != ArcKind::Arc);
  switch (kind) {
    case ArcKind::Arc: ::Arc(dc_, r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y); break;
    case ArcKind::Chord: ::Chord(dc_, r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y); break;
    case ArcKind::Pie: ::Pie(dc_, r.left, r.top, r.right, r.bottom, s.x, s.y, e.x, e.y); break;
  }
}

void Player::ArcTo(DPoint a, DPoint b, DPoint start, DPoint end) {
  std::vector<DPoint> arc = ArcOutline(a, b, start, end, PixelsPerUnit());
  PolylineTo(arc);
}

// ---- path ----

int Player::FillMode() const { return state.polyFillMode == WINDING ? WINDING : ALTERNATE; }

int Player::PathFillMode() const { return path_.UnionFill() ? WINDING : FillMode(); }

void Player::DrawPath(bool fill, bool stroke) {
  if (!path_.Ready()) return;  // nothing ended to draw: the GDI fails the call and draws nothing
  if (fill) FillDevice(path_.Polygons(), false, PathFillMode());
  if (stroke)
    for (const Figure& f : path_.Figures()) {
      std::vector<DPoint> line = f.points;
      if (f.closed) line.push_back(f.points.front());
      StrokeDevice(line);
    }
  path_.Clear();
}

void Player::WidenPath() {
  if (state.pen.lopnWidth.x == 0) return;  // cosmetic pens widen nothing; the path stays as it is
  if (!path_.Widen(PenPixels())) Malformed();
}

void Player::SelectClipPath(int mode) {
  if (!path_.Ready()) return;
  if (mode < RGN_AND || mode > RGN_COPY) return Malformed();
  PolyPoints poly = Clipped(path_.Polygons());
  HRGN region = poly.counts.empty() ? nullptr
                                    : CreatePolyPolygonRgn(poly.points.data(), poly.counts.data(),
                                                           static_cast<int>(poly.counts.size()), PathFillMode());
  path_.Clear();
  CombineClip(region ? region : CreateRectRgn(0, 0, 0, 0), mode);
}

void Player::SetPixel(DPoint p, COLORREF color) {
  POINT d = Device(p);
  Realize(false, false);
  SetPixelV(dc_, d.x, d.y, color);
}

void Player::PatBlt(DPoint a, DPoint size, DWORD rop) {
  RECT r = Intersect(DeviceRect(a, {a.x + size.x, a.y + size.y}), limit_);
  if (Empty(r)) return;
  Realize(false, true);
  ::PatBlt(dc_, r.left, r.top, r.right - r.left, r.bottom - r.top, rop);
}

void Player::FillRegion(const std::vector<RECT>& logicalRects, HBRUSH brush) {
  HRGN region = RegionOf(logicalRects, LogicalToDevice());
  Realize(false, false);
  FillRgn(dc_, region, brush);
  DeleteObject(region);
}

void Player::Text(DPoint at, UINT options, const RECT* logicalRect, const std::string& text,
                  const std::vector<int>& dx) {
  Matrix m = LogicalToDevice();
  if (state.textAlign & TA_UPDATECP) at = state.position;
  POINT p = Device(at);
  if (!Reasonable(RECT{p.x, p.y, p.x, p.y})) return;
  FontSpec wanted = state.font;
  if (wanted.stockIndex < 0) {
    LOGFONTA& f = wanted.font;
    auto scale = [](LONG v, double s, int limit) {
      if (v == 0) return LONG{0};
      int scaled = std::clamp(ToInt(std::fabs(static_cast<double>(v)) * s), 1, limit);
      return static_cast<LONG>(v < 0 ? -scaled : scaled);
    };
    f.lfHeight = scale(f.lfHeight, m.ScaleY(), kMaxFontHeight);
    f.lfWidth = scale(f.lfWidth, m.ScaleX(), kMaxFontHeight);
  }
  if (!realizedFont_ || wanted.stockIndex != realizedFontStock_ ||
      (wanted.stockIndex < 0 && std::memcmp(&wanted.font, &realizedFontSpec_, sizeof wanted.font) != 0)) {
    SharedHandle font = wanted.stockIndex >= 0 ? Stock(wanted.stockIndex) : Own(CreateFontIndirectA(&wanted.font));
    SelectObject(dc_, font.get());
    realizedFont_ = font;
    realizedFontSpec_ = wanted.font;
    realizedFontStock_ = wanted.stockIndex;
  }
  Realize(false, false);
  SetTextAlign(dc_, state.textAlign & ~TA_UPDATECP);
  RECT rect{};
  if (logicalRect)
    rect = Intersect(DeviceRect({double(logicalRect->left), double(logicalRect->top)},
                                {double(logicalRect->right), double(logicalRect->bottom)}),
                     limit_);
  std::vector<INT> spacing;
  for (int d : dx) spacing.push_back(ToInt(d * m.ScaleX()));
  ExtTextOutA(dc_, p.x, p.y, options & (ETO_OPAQUE | ETO_CLIPPED), logicalRect ? &rect : nullptr, text.data(),
              static_cast<UINT>(text.size()),
              spacing.size() == text.size() && !spacing.empty() ? spacing.data() : nullptr);
}

void Player::StretchDib(DPoint a, DPoint size, int xSrc, int ySrc, int srcWidth, int srcHeight, const BITMAPINFO* info,
                        const void* bits, DWORD rop) {
  POINT p = Device(a), q = Device({a.x + size.x, a.y + size.y});
  long long w = static_cast<long long>(q.x) - p.x, h = static_cast<long long>(q.y) - p.y;
  if (w == 0 || h == 0 || std::llabs(w) > kMaxBlitExtent || std::llabs(h) > kMaxBlitExtent) return;
  for (int v : {xSrc, ySrc, srcWidth, srcHeight})
    if (v < -kMaxBlitExtent * 4 || v > kMaxBlitExtent * 4) return;
  if (!Reasonable(DeviceRect(a, {a.x + size.x, a.y + size.y}))) return;
  Realize(false, true);
  StretchDIBits(dc_, p.x, p.y, static_cast<int>(w), static_cast<int>(h), xSrc, ySrc, srcWidth, srcHeight, bits, info,
                DIB_RGB_COLORS, rop);
}

}  // namespace metafile
