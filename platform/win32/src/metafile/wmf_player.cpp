// The records of Windows-format metafiles (16-bit coordinates, parameters mostly in reverse order).
// The window that the picture shows is fitted to its frame, so the viewport records, which only
// make sense on the writer's device, are left alone.

#include "metafile/metafile_object.h"
#include "metafile/object_records.h"
#include "metafile/record_reader.h"

namespace metafile {

namespace {

constexpr std::size_t kParams = 6;  // after the size (DWORD) and the function (WORD)

class WindowsFormatPlayer {
 public:
  WindowsFormatPlayer(Player& p, RecordReader& r) : p_(p), r_(r) {}
  void Play(WORD function);

 private:
  WORD W(int i) { return r_.U16(kParams + 2 * static_cast<std::size_t>(i)); }
  double S(int i) { return r_.S16(kParams + 2 * static_cast<std::size_t>(i)); }
  DWORD D(int i) { return r_.U32(kParams + 2 * static_cast<std::size_t>(i)); }
  // A point stored y first, then x, from word i.
  DPoint YX(int i) { return {S(i + 1), S(i)}; }
  std::size_t Words() const { return r_.Size() / 2; }

  std::vector<DPoint> Points(std::size_t at, std::size_t count) {
    std::vector<DPoint> points;
    if (!r_.HasArray(at, count, 4)) return r_.MarkBad(), points;
    for (std::size_t i = 0; i < count; ++i)
      points.push_back({double(r_.S16(at + 4 * i)), double(r_.S16(at + 4 * i + 2))});
    return points;
  }
  // Box from left, top, right, bottom stored as bottom, right, top, left at word i.
  void Box(int i, DPoint& a, DPoint& b) {
    b = {S(i + 1), S(i)};
    a = {S(i + 3), S(i + 2)};
  }

  TableObject* NewObject() {
    int slot = p_.FreeSlot();
    if (slot < 0) return p_.Malformed(), nullptr;
    return p_.Slot(static_cast<std::size_t>(slot));
  }
  void OffsetWindowOrg();
  void ScaleWindowExt();
  void ArcShape(ArcKind kind);
  void Polygon();
  void Polyline();
  void PolyPolygon();
  void Text(bool extended);
  void Blit(WORD function);
  void CreatePen();
  void CreateBrush();
  void CreateDibPatternBrush();
  void CreatePatternBrush();
  void CreateFont();
  void CreatePalette();
  void CreateRegion();
  void SelectObject();
  void DeleteObject();
  void SelectClipRegion();
  void FillRegion();

  Player& p_;
  RecordReader& r_;
};

void WindowsFormatPlayer::CreateFont() {
  LOGFONTA f{};
  f.lfHeight = static_cast<LONG>(S(0));
  f.lfWidth = static_cast<LONG>(S(1));
  f.lfEscapement = static_cast<LONG>(S(2));
  f.lfOrientation = static_cast<LONG>(S(3));
  f.lfWeight = static_cast<LONG>(S(4));
  const std::size_t b = kParams + 10;
  f.lfItalic = r_.U8(b), f.lfUnderline = r_.U8(b + 1), f.lfStrikeOut = r_.U8(b + 2), f.lfCharSet = r_.U8(b + 3);
  f.lfOutPrecision = r_.U8(b + 4), f.lfClipPrecision = r_.U8(b + 5), f.lfQuality = r_.U8(b + 6);
  f.lfPitchAndFamily = r_.U8(b + 7);
  for (std::size_t i = 0; i + 1 < LF_FACESIZE && r_.Has(b + 8 + i, 1) && r_.U8(b + 8 + i) != 0; ++i)
    f.lfFaceName[i] = static_cast<char>(r_.U8(b + 8 + i));
  if (r_.Bad()) return;
  if (TableObject* o = NewObject()) {
    o->kind = TableObject::Font;
    o->font = FontSpec{f, -1};
  }
}

// A region object: a header, then scans of a top, a bottom and pairs of left and right.
void WindowsFormatPlayer::CreateRegion() {
  std::size_t scans = W(5);
  std::size_t at = kParams + 22;
  std::vector<RECT> rects;
  for (std::size_t s = 0; s < scans && !r_.Bad(); ++s) {
    std::size_t count = r_.U16(at);
    LONG top = r_.S16(at + 2), bottom = r_.S16(at + 4);
    if (count % 2 != 0 || !r_.HasArray(at + 6, count + 1, 2)) return r_.MarkBad();
    for (std::size_t i = 0; i < count / 2; ++i) {
      LONG left = r_.S16(at + 6 + 4 * i), right = r_.S16(at + 8 + 4 * i);
      if (left < right && top < bottom) rects.push_back({left, top, right, bottom});
    }
    at += 6 + 2 * count + 2;
  }
  if (r_.Bad()) return;
  if (TableObject* o = NewObject()) {
    o->kind = TableObject::Region;
    o->region = std::move(rects);
  }
}

void WindowsFormatPlayer::PolyPolygon() {
  std::size_t polygons = W(0);
  std::size_t countsAt = kParams + 2;
  if (!r_.HasArray(countsAt, polygons, 2)) return r_.MarkBad();
  std::size_t at = countsAt + 2 * polygons;
  std::vector<std::vector<DPoint>> all;
  for (std::size_t i = 0; i < polygons && !r_.Bad(); ++i) {
    std::size_t n = r_.U16(countsAt + 2 * i);
    all.push_back(Points(at, n));
    at += 4 * n;
  }
  if (!r_.Bad()) p_.Polygons(all);
}

void WindowsFormatPlayer::Text(bool extended) {
  DPoint at;
  std::size_t count, textAt;
  UINT options = 0;
  RECT rect{};
  if (extended) {
    at = YX(0);
    count = W(2);
    options = W(3);
    textAt = kParams + 8;
    if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
      rect = {static_cast<LONG>(S(4)), static_cast<LONG>(S(5)), static_cast<LONG>(S(6)), static_cast<LONG>(S(7))};
      textAt += 8;
    }
  } else {
    count = W(0);
    textAt = kParams + 2;
    std::size_t after = textAt + ((count + 1) & ~std::size_t{1});
    at = {double(r_.S16(after + 2)), double(r_.S16(after))};
  }
  if (r_.Bad() || !r_.Has(textAt, count)) return r_.MarkBad();
  std::string text(reinterpret_cast<const char*>(r_.At(textAt)), count);
  std::vector<int> dx;
  std::size_t dxAt = textAt + ((count + 1) & ~std::size_t{1});
  if (extended && r_.HasArray(dxAt, count, 2))
    for (std::size_t i = 0; i < count; ++i) dx.push_back(r_.S16(dxAt + 2 * i));
  p_.Text(at, options, options & (ETO_OPAQUE | ETO_CLIPPED) ? &rect : nullptr, text, dx);
}

void WindowsFormatPlayer::Blit(WORD function) {
  DWORD rop = D(0);
  // The forms without a bitmap have one word more than the function's parameter count says.
  bool noBitmap = Words() == 3u + (function >> 8);
  DPoint src, srcSize, dest, destSize;
  std::size_t dibAt = 0;
  switch (function) {
    case META_DIBBITBLT:
      if (noBitmap) return p_.PatBlt(YX(7), YX(5), rop);
      src = YX(2), destSize = YX(4), dest = YX(6), srcSize = destSize;
      dibAt = kParams + 16;
      break;
    case META_DIBSTRETCHBLT:
      if (noBitmap) return p_.PatBlt(YX(9), YX(7), rop);
      srcSize = YX(2), src = YX(4), destSize = YX(6), dest = YX(8);
      dibAt = kParams + 20;
      break;
    default:  // META_STRETCHDIB
      if (W(2) != DIB_RGB_COLORS) return;
      srcSize = YX(3), src = YX(5), destSize = YX(7), dest = YX(9);
      dibAt = kParams + 22;
      break;
  }
  if (r_.Bad()) return;
  std::optional<DibSource> dib = ReadPackedDib(r_, dibAt);
  if (!dib) return r_.MarkBad();
  p_.StretchDib(dest, destSize, int(src.x), int(src.y), int(srcSize.x), int(srcSize.y), dib->Info(), dib->bits, rop);
}

void WindowsFormatPlayer::OffsetWindowOrg() {
  DPoint d = YX(0);
  DPoint& org = p_.state.page.windowOrg;
  org.x += d.x, org.y += d.y;
}

void WindowsFormatPlayer::ScaleWindowExt() {
  double yDenom = S(0), yNum = S(1), xDenom = S(2), xNum = S(3);
  if (xDenom == 0 || yDenom == 0) return p_.Malformed();
  DPoint& ext = p_.state.page.windowExt;
  ext.x = ext.x * xNum / xDenom;
  ext.y = ext.y * yNum / yDenom;
}

void WindowsFormatPlayer::ArcShape(ArcKind kind) {
  DPoint a, b;
  Box(4, a, b);
  p_.ArcShape(kind, a, b, YX(2), YX(0));
}

void WindowsFormatPlayer::Polygon() {
  auto points = Points(kParams + 2, W(0));
  if (!r_.Bad()) p_.Polygons({points});
}

void WindowsFormatPlayer::Polyline() {
  auto points = Points(kParams + 2, W(0));
  if (!r_.Bad()) p_.Polyline(points);
}

void WindowsFormatPlayer::CreatePen() {
  LOGPEN pen{W(0), {static_cast<LONG>(S(1)), static_cast<LONG>(S(2))}, D(3)};
  if (r_.Bad()) return;
  if (TableObject* o = NewObject()) o->kind = TableObject::Pen, o->pen = pen;
}

void WindowsFormatPlayer::CreateBrush() {
  UINT style = W(0);
  COLORREF color = D(1);
  WORD hatch = W(3);
  if (r_.Bad()) return;
  if (TableObject* o = NewObject()) o->kind = TableObject::Brush, o->brush = MakeBrush(style, color, hatch);
}

void WindowsFormatPlayer::CreateDibPatternBrush() {
  std::optional<DibSource> dib = ReadPackedDib(r_, kParams + 4);
  if (!dib) return r_.MarkBad();
  if (TableObject* o = NewObject()) o->kind = TableObject::Brush, o->brush = MakePatternBrush(*dib);
}

// A device-dependent pattern: kept as a hollow brush in its slot.
void WindowsFormatPlayer::CreatePatternBrush() {
  if (TableObject* o = NewObject()) o->kind = TableObject::Brush, o->brush = MakeBrush(BS_NULL, 0, 0);
}

void WindowsFormatPlayer::CreatePalette() {
  if (TableObject* o = NewObject()) o->kind = TableObject::Palette;
}

void WindowsFormatPlayer::SelectObject() {
  if (TableObject* o = p_.Slot(W(0)); o && !r_.Bad()) p_.Select(*o);
}

void WindowsFormatPlayer::DeleteObject() {
  if (TableObject* o = p_.Slot(W(0)); o && !r_.Bad()) *o = TableObject{};
}

void WindowsFormatPlayer::SelectClipRegion() {
  if (TableObject* o = p_.Slot(W(0)); o && !r_.Bad())
    p_.SelectClip(o->kind == TableObject::Region ? &o->region : nullptr, false, RGN_COPY);
}

void WindowsFormatPlayer::FillRegion() {
  TableObject* region = p_.Slot(W(0));
  TableObject* brush = p_.Slot(W(1));
  if (!region || !brush || r_.Bad()) return;
  if (region->kind != TableObject::Region || brush->kind != TableObject::Brush) return p_.Malformed();
  p_.FillRegion(region->region, static_cast<HBRUSH>(brush->brush.get()));
}

void WindowsFormatPlayer::Play(WORD function) {
  PlayState& s = p_.state;
  DPoint a, b;
  switch (function) {
    case META_SETBKCOLOR: s.bkColor = D(0); break;
    case META_SETTEXTCOLOR: s.textColor = D(0); break;
    case META_SETBKMODE: s.bkMode = W(0); break;
    case META_SETROP2: s.rop2 = W(0); break;
    case META_SETPOLYFILLMODE: s.polyFillMode = W(0); break;
    case META_SETSTRETCHBLTMODE: s.stretchMode = W(0); break;
    case META_SETTEXTALIGN: s.textAlign = W(0); break;
    case META_SETMAPMODE: s.page.SetMode(W(0) == MM_ISOTROPIC ? MM_ISOTROPIC : MM_ANISOTROPIC); break;
    case META_SETWINDOWORG: s.page.windowOrg = YX(0); break;
    case META_SETWINDOWEXT: s.page.windowExt = YX(0); break;
    case META_OFFSETWINDOWORG: OffsetWindowOrg(); break;
    case META_SCALEWINDOWEXT: ScaleWindowExt(); break;
    case META_SAVEDC: p_.Save(); break;
    case META_RESTOREDC: p_.Restore(static_cast<int>(S(0))); break;
    case META_MOVETO: p_.MoveTo(YX(0)); break;
    case META_LINETO: p_.LineTo(YX(0)); break;
    case META_RECTANGLE: Box(0, a, b), p_.Rectangle(a, b); break;
    case META_ELLIPSE: Box(0, a, b), p_.Ellipse(a, b); break;
    case META_ROUNDRECT: Box(2, a, b), p_.RoundRect(a, b, YX(0)); break;
    case META_ARC: ArcShape(ArcKind::Arc); break;
    case META_CHORD: ArcShape(ArcKind::Chord); break;
    case META_PIE: ArcShape(ArcKind::Pie); break;
    case META_POLYGON: Polygon(); break;
    case META_POLYLINE: Polyline(); break;
    case META_POLYPOLYGON: PolyPolygon(); break;
    case META_SETPIXEL: p_.SetPixel(YX(2), D(0)); break;
    case META_PATBLT: p_.PatBlt(YX(4), YX(2), D(0)); break;
    case META_TEXTOUT: Text(false); break;
    case META_EXTTEXTOUT: Text(true); break;
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB: Blit(function); break;
    case META_INTERSECTCLIPRECT: Box(0, a, b), p_.IntersectClip(a, b); break;
    case META_EXCLUDECLIPRECT: Box(0, a, b), p_.ExcludeClip(a, b); break;
    case META_CREATEPENINDIRECT: CreatePen(); break;
    case META_CREATEBRUSHINDIRECT: CreateBrush(); break;
    case META_DIBCREATEPATTERNBRUSH: CreateDibPatternBrush(); break;
    case META_CREATEPATTERNBRUSH: CreatePatternBrush(); break;
    case META_CREATEFONTINDIRECT: CreateFont(); break;
    case META_CREATEPALETTE: CreatePalette(); break;
    case META_CREATEREGION: CreateRegion(); break;
    case META_SELECTOBJECT: SelectObject(); break;
    case META_DELETEOBJECT: DeleteObject(); break;
    case META_SELECTCLIPREGION: SelectClipRegion(); break;
    case META_FILLREGION: FillRegion(); break;
    default: break;  // records without a picture of their own (palettes, escapes) or not known
  }
}

}  // namespace

bool PlayWindowsFormat(HDC dc, const MetafileObject& m, const Matrix& fit) {
  Player player(dc, fit, m.objectSlots);
  const ENHMETAHEADER& h = m.header;
  // The picture's window in its frame, measured in reference pixels.
  PageMapping& page = player.state.page;
  page.mode = MM_ANISOTROPIC;
  const double pxPerMmX = m.pixelsPerMm.x, pxPerMmY = m.pixelsPerMm.y;
  page.viewportExt = {h.rclFrame.right * pxPerMmX / 100, h.rclFrame.bottom * pxPerMmY / 100};
  page.windowOrg = m.windowOrg;
  page.windowExt = m.windowExt.x != 0 && m.windowExt.y != 0 ? m.windowExt : page.viewportExt;

  std::size_t at = sizeof(METAHEADER);
  while (at < m.bytes.size()) {
    RecordReader r(m.bytes.data() + at, m.bytes.size() - at);
    std::size_t bytes = std::size_t{r.U32(0)} * 2;
    WORD function = r.U16(4);
    if (function == META_EOF) break;
    RecordReader record(m.bytes.data() + at, bytes);
    WindowsFormatPlayer(player, record).Play(function);
    if (record.Bad()) player.Malformed();
    at += bytes;
  }
  return player.Ok();
}

}  // namespace metafile
