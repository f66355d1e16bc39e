// The records of enhanced metafiles (32-bit records, object indexes given by the writer).
#include <cmath>

#include "metafile/metafile_object.h"
#include "metafile/object_records.h"
#include "metafile/record_reader.h"
#include "metafile/text_encoding.h"

namespace metafile {

namespace {

constexpr DWORD kStockFlag = 0x80000000;
constexpr DWORD MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3, MWT_SET = 4;
constexpr DWORD PS_TYPE_MASK = 0x000F0000;
constexpr int kBezierSteps = 16;

class EnhancedPlayer {
 public:
  EnhancedPlayer(Player& p, RecordReader& r) : p_(p), r_(r) {}
  void Play(DWORD type);

 private:
  bool Draw(DWORD type);
  void Set(DWORD type);

  double L(std::size_t at) { return r_.S32(at); }
  DPoint Point(std::size_t at) { return {L(at), L(at + 4)}; }
  std::vector<DPoint> Points(std::size_t at, std::size_t count, bool small) {
    std::vector<DPoint> points;
    std::size_t size = small ? 4 : 8;
    if (!r_.HasArray(at, count, size)) return r_.MarkBad(), points;
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t q = at + i * size;
      points.push_back(small ? DPoint{double(r_.S16(q)), double(r_.S16(q + 2))} : Point(q));
    }
    return points;
  }
  // The new object's slot: index 0 stands for the metafile itself.
  TableObject* NewObject(DWORD index) {
    if (index == 0) return p_.Malformed(), nullptr;
    TableObject* o = p_.Slot(index);
    if (o) *o = TableObject{};
    return o;
  }
  Matrix Xform(std::size_t at) {
    return {r_.F32(at), r_.F32(at + 4), r_.F32(at + 8), r_.F32(at + 12), r_.F32(at + 16), r_.F32(at + 20)};
  }
  std::vector<DPoint> Bezier(const std::vector<DPoint>& from);
  void Poly(DWORD type);
  void PolyPoly(bool small, bool polygon);
  void Text(bool wide);
  void Blit(DWORD type);
  void FillRegion();
  void ScaleExtent(DPoint& ext);
  void WorldTransform(DWORD mode);
  void SelectClipPath();
  void SelectClipRegion();
  void CreatePen();
  void ExtCreatePen();
  void CreateBrush();
  void CreatePatternBrush();
  void CreateFont();
  void CreatePalette();
  void SelectObject();
  void DeleteObject();

  Player& p_;
  RecordReader& r_;
};

// Cubic pieces after the first point, flattened.
std::vector<DPoint> EnhancedPlayer::Bezier(const std::vector<DPoint>& in) {
  std::vector<DPoint> out{in.front()};
  for (std::size_t i = 1; i + 2 < in.size(); i += 3) {
    DPoint a = out.back(), b = in[i], c = in[i + 1], d = in[i + 2];
    for (int s = 1; s <= kBezierSteps; ++s) {
      double t = double(s) / kBezierSteps, u = 1 - t;
      out.push_back({u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
                     u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y});
    }
  }
  return out;
}

void EnhancedPlayer::Poly(DWORD type) {
  bool small = type >= EMR_POLYBEZIER16;
  DWORD base = small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type;
  std::vector<DPoint> points = Points(28, r_.U32(24), small);
  if (r_.Bad()) return;
  if (base == EMR_POLYLINETO) return p_.PolylineTo(points);
  if (base == EMR_POLYBEZIERTO) {
    points.insert(points.begin(), p_.state.position);
    points = Bezier(points);
    points.erase(points.begin());
    return p_.PolylineTo(points);
  }
  if (points.empty()) return;
  if (base == EMR_POLYBEZIER) points = Bezier(points);
  if (base == EMR_POLYGON) p_.Polygons({points});
  else
    p_.Polyline(points);
}

void EnhancedPlayer::PolyPoly(bool small, bool polygon) {
  std::size_t polys = r_.U32(24), total = r_.U32(28);
  if (!r_.HasArray(32, polys, 4)) return r_.MarkBad();
  std::size_t at = 32 + 4 * polys;
  std::vector<DPoint> points = Points(at, total, small);
  std::vector<std::vector<DPoint>> all;
  std::size_t used = 0;
  for (std::size_t i = 0; i < polys && !r_.Bad(); ++i) {
    std::size_t n = r_.U32(32 + 4 * i);
    if (n > total - used) return r_.MarkBad();
    all.emplace_back(points.begin() + static_cast<std::ptrdiff_t>(used),
                     points.begin() + static_cast<std::ptrdiff_t>(used + n));
    used += n;
  }
  if (r_.Bad()) return;
  if (polygon) return p_.Polygons(all);
  for (const auto& line : all) p_.Polyline(line);
}

void EnhancedPlayer::Text(bool wide) {
  DPoint at = Point(36);
  std::size_t count = r_.U32(44), offString = r_.U32(48), offDx = r_.U32(72);
  UINT options = r_.U32(52);
  RECT rect{r_.S32(56), r_.S32(60), r_.S32(64), r_.S32(68)};
  if (r_.Bad() || !r_.HasArray(offString, count, wide ? 2 : 1)) return r_.MarkBad();
  std::vector<int> dx;
  if (offDx != 0) {
    if (!r_.HasArray(offDx, count, 4)) return r_.MarkBad();
    for (std::size_t i = 0; i < count; ++i) dx.push_back(r_.S32(offDx + 4 * i));
  }
  std::string text;
  std::vector<int> byteDx = dx;
  if (wide) {
    std::u16string units;
    for (std::size_t i = 0; i < count; ++i) units += static_cast<char16_t>(r_.U16(offString + 2 * i));
    text = Utf16ToUtf8(units, dx, byteDx);
  } else {
    text.assign(reinterpret_cast<const char*>(r_.At(offString)), count);
  }
  bool withRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  p_.Text(at, options, withRect ? &rect : nullptr, text, byteDx);
}

void EnhancedPlayer::Blit(DWORD type) {
  DPoint dest, destSize, src, srcSize;
  DWORD rop;
  std::size_t offBmi, cbBmi, offBits, cbBits;
  UINT usage;
  bool topCounted = true;  // the source's y counted from its top (the blits) or as StretchDIBits does
  if (type == EMR_STRETCHDIBITS) {
    dest = Point(24), src = Point(32), srcSize = Point(40);
    offBmi = r_.U32(48), cbBmi = r_.U32(52), offBits = r_.U32(56), cbBits = r_.U32(60);
    usage = r_.U32(64), rop = r_.U32(68), destSize = Point(72);
    topCounted = false;
  } else {
    dest = Point(24), destSize = Point(32), rop = r_.U32(40), src = Point(44);
    usage = r_.U32(80), offBmi = r_.U32(84), cbBmi = r_.U32(88), offBits = r_.U32(92), cbBits = r_.U32(96);
    srcSize = type == EMR_STRETCHBLT ? Point(100) : destSize;
  }
  if (r_.Bad()) return;
  if (type != EMR_STRETCHDIBITS && cbBmi == 0) return p_.PatBlt(dest, destSize, rop);
  if (usage != DIB_RGB_COLORS) return;
  std::optional<DibSource> dib = ReadDib(r_, offBmi, cbBmi, offBits, cbBits);
  if (!dib) return r_.MarkBad();
  int ySrc = int(src.y), height = int(srcSize.y);
  if (topCounted && dib->Info()->bmiHeader.biHeight > 0) ySrc = dib->height - ySrc - height;
  p_.StretchDib(dest, destSize, int(src.x), ySrc, int(srcSize.x), height, dib->Info(), dib->bits, rop);
}

void EnhancedPlayer::CreateFont() {
  LOGFONTA f{};
  f.lfHeight = r_.S32(12), f.lfWidth = r_.S32(16), f.lfEscapement = r_.S32(20), f.lfOrientation = r_.S32(24);
  f.lfWeight = r_.S32(28);
  f.lfItalic = r_.U8(32), f.lfUnderline = r_.U8(33), f.lfStrikeOut = r_.U8(34), f.lfCharSet = r_.U8(35);
  f.lfOutPrecision = r_.U8(36), f.lfClipPrecision = r_.U8(37), f.lfQuality = r_.U8(38), f.lfPitchAndFamily = r_.U8(39);
  std::u16string face;
  for (std::size_t i = 0; i < LF_FACESIZE && r_.Has(40 + 2 * i, 2) && r_.U16(40 + 2 * i) != 0; ++i)
    face += static_cast<char16_t>(r_.U16(40 + 2 * i));
  std::vector<int> unused;
  std::string name = Utf16ToUtf8(face, {}, unused);
  name.copy(f.lfFaceName, LF_FACESIZE - 1);
  DWORD index = r_.U32(8);
  if (r_.Bad()) return;
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Font, o->font = FontSpec{f, -1};
}

void EnhancedPlayer::CreatePen() {
  DWORD index = r_.U32(8);
  LOGPEN pen{r_.U32(12), {r_.S32(16), 0}, r_.U32(24)};
  if (r_.Bad()) return;
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Pen, o->pen = pen;
}

void EnhancedPlayer::ExtCreatePen() {
  DWORD index = r_.U32(8);
  DWORD style = r_.U32(28), width = r_.U32(32), brushStyle = r_.U32(36);
  COLORREF color = r_.U32(40);
  if (r_.Bad()) return;
  // Cosmetic pens are one pixel wide whatever the mapping.
  LONG w = (style & PS_TYPE_MASK) == 0 ? 0 : static_cast<LONG>(std::min<DWORD>(width, 0x7FFFFFFF));
  LOGPEN pen{brushStyle == BS_NULL ? UINT(PS_NULL) : UINT(style & PS_STYLE_MASK), {w, 0}, color};
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Pen, o->pen = pen;
}

void EnhancedPlayer::SelectObject() {
  DWORD index = r_.U32(8);
  if (r_.Bad()) return;
  if (index & kStockFlag) return p_.SelectStock(static_cast<int>(index & ~kStockFlag));
  if (index == 0) return p_.Malformed();
  if (TableObject* o = p_.Slot(index)) {
    if (o->kind == TableObject::Region) return p_.Malformed();  // regions are no selectable objects here
    p_.Select(*o);
  }
}

void EnhancedPlayer::FillRegion() {
  DWORD index = r_.U32(28);
  std::vector<RECT> rects;
  if (r_.Bad() || !ReadRegionRects(r_, 64, r_.U32(40), rects)) return r_.MarkBad();
  if (index & kStockFlag) {
    HGDIOBJ stock = GetStockObject(static_cast<int>(index & ~kStockFlag));
    if (GetObjectType(stock) != OBJ_BRUSH) return p_.Malformed();
    return p_.FillRegion(rects, static_cast<HBRUSH>(stock));
  }
  TableObject* brush = index == 0 ? nullptr : p_.Slot(index);
  if (!brush || brush->kind != TableObject::Brush) return p_.Malformed();
  // Region data of enhanced metafiles is in the reference device's pixels.
  p_.FillRegion(rects, static_cast<HBRUSH>(brush->brush.get()));
}

void EnhancedPlayer::ScaleExtent(DPoint& ext) {
  double xNum = L(8), xDenom = L(12), yNum = L(16), yDenom = L(20);
  if (xDenom == 0 || yDenom == 0) return p_.Malformed();
  ext = {ext.x * xNum / xDenom, ext.y * yNum / yDenom};
}

void EnhancedPlayer::WorldTransform(DWORD mode) {
  PlayState& s = p_.state;
  Matrix x = Xform(8);
  if (r_.Bad()) return;
  if (!x.Finite()) return p_.Malformed();
  if (mode == MWT_IDENTITY) s.world = Matrix{};
  else if (mode == MWT_LEFTMULTIPLY)
    s.world = x.Then(s.world);
  else if (mode == MWT_RIGHTMULTIPLY)
    s.world = s.world.Then(x);
  else if (mode == MWT_SET)
    s.world = x;
  else
    p_.Malformed();
}

void EnhancedPlayer::SelectClipPath() {
  int mode = r_.S32(8);
  if (!r_.Bad()) p_.SelectClipPath(mode);
}

void EnhancedPlayer::SelectClipRegion() {
  DWORD size = r_.U32(8);
  int mode = r_.S32(12);
  if (r_.Bad()) return;
  if (size == 0) return p_.SelectClip(nullptr, true, mode);
  std::vector<RECT> rects;
  if (!ReadRegionRects(r_, 48, r_.U32(24), rects)) return r_.MarkBad();
  p_.SelectClip(&rects, true, mode);
}

void EnhancedPlayer::CreateBrush() {
  DWORD index = r_.U32(8), style = r_.U32(12), hatch = r_.U32(20);
  COLORREF color = r_.U32(16);
  if (r_.Bad()) return;
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Brush, o->brush = MakeBrush(style, color, hatch);
}

void EnhancedPlayer::CreatePatternBrush() {
  DWORD index = r_.U32(8);
  std::optional<DibSource> dib = ReadDib(r_, r_.U32(16), r_.U32(20), r_.U32(24), r_.U32(28));
  if (!dib) return r_.MarkBad();
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Brush, o->brush = MakePatternBrush(*dib);
}

void EnhancedPlayer::CreatePalette() {
  DWORD index = r_.U32(8);
  if (r_.Bad()) return;
  if (TableObject* o = NewObject(index)) o->kind = TableObject::Palette;
}

void EnhancedPlayer::DeleteObject() {
  DWORD index = r_.U32(8);
  if (r_.Bad()) return;
  if (index == 0 || (index & kStockFlag)) return p_.Malformed();
  if (TableObject* o = p_.Slot(index)) *o = TableObject{};
}

// Records that draw, or build the path, with the current objects.
bool EnhancedPlayer::Draw(DWORD type) {
  switch (type) {
    case EMR_POLYBEZIER:
    case EMR_POLYGON:
    case EMR_POLYLINE:
    case EMR_POLYBEZIERTO:
    case EMR_POLYLINETO:
    case EMR_POLYBEZIER16:
    case EMR_POLYGON16:
    case EMR_POLYLINE16:
    case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16: Poly(type); break;
    case EMR_POLYPOLYLINE: PolyPoly(false, false); break;
    case EMR_POLYPOLYGON: PolyPoly(false, true); break;
    case EMR_POLYPOLYLINE16: PolyPoly(true, false); break;
    case EMR_POLYPOLYGON16: PolyPoly(true, true); break;
    case EMR_SETPIXELV: p_.SetPixel(Point(8), r_.U32(16)); break;
    case EMR_MOVETOEX: p_.MoveTo(Point(8)); break;
    case EMR_LINETO: p_.LineTo(Point(8)); break;
    case EMR_ELLIPSE: p_.Ellipse(Point(8), Point(16)); break;
    case EMR_RECTANGLE: p_.Rectangle(Point(8), Point(16)); break;
    case EMR_ROUNDRECT: p_.RoundRect(Point(8), Point(16), Point(24)); break;
    case EMR_ARC: p_.ArcShape(ArcKind::Arc, Point(8), Point(16), Point(24), Point(32)); break;
    case EMR_CHORD: p_.ArcShape(ArcKind::Chord, Point(8), Point(16), Point(24), Point(32)); break;
    case EMR_PIE: p_.ArcShape(ArcKind::Pie, Point(8), Point(16), Point(24), Point(32)); break;
    case EMR_ARCTO: p_.ArcTo(Point(8), Point(16), Point(24), Point(32)); break;
    case EMR_BEGINPATH: p_.BeginPath(); break;
    case EMR_ENDPATH: p_.EndPath(); break;
    case EMR_ABORTPATH: p_.AbortPath(); break;
    case EMR_CLOSEFIGURE: p_.CloseFigure(); break;
    case EMR_FILLPATH: p_.DrawPath(true, false); break;
    case EMR_STROKEPATH: p_.DrawPath(false, true); break;
    case EMR_STROKEANDFILLPATH: p_.DrawPath(true, true); break;
    case EMR_FLATTENPATH: break;  // curves enter the path as lines already
    case EMR_WIDENPATH: p_.WidenPath(); break;
    case EMR_FILLRGN: FillRegion(); break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS: Blit(type); break;
    case EMR_EXTTEXTOUTA: Text(false); break;
    case EMR_EXTTEXTOUTW: Text(true); break;
    default: return false;
  }
  return true;
}

// Records that change the mapping, the modes, the clipping or the object table.
void EnhancedPlayer::Set(DWORD type) {
  PlayState& s = p_.state;
  switch (type) {
    case EMR_SETWINDOWEXTEX: s.page.windowExt = Point(8); break;
    case EMR_SETWINDOWORGEX: s.page.windowOrg = Point(8); break;
    case EMR_SETVIEWPORTEXTEX: s.page.viewportExt = Point(8); break;
    case EMR_SETVIEWPORTORGEX: s.page.viewportOrg = Point(8); break;
    case EMR_SCALEVIEWPORTEXTEX: ScaleExtent(s.page.viewportExt); break;
    case EMR_SCALEWINDOWEXTEX: ScaleExtent(s.page.windowExt); break;
    case EMR_SETMAPMODE: s.page.SetMode(r_.S32(8)); break;
    case EMR_SETBKMODE: s.bkMode = r_.S32(8); break;
    case EMR_SETPOLYFILLMODE: s.polyFillMode = r_.S32(8); break;
    case EMR_SETROP2: s.rop2 = r_.S32(8); break;
    case EMR_SETSTRETCHBLTMODE: s.stretchMode = r_.S32(8); break;
    case EMR_SETTEXTALIGN: s.textAlign = r_.U32(8); break;
    case EMR_SETTEXTCOLOR: s.textColor = r_.U32(8); break;
    case EMR_SETBKCOLOR: s.bkColor = r_.U32(8); break;
    case EMR_EXCLUDECLIPRECT: p_.ExcludeClip(Point(8), Point(16)); break;
    case EMR_INTERSECTCLIPRECT: p_.IntersectClip(Point(8), Point(16)); break;
    case EMR_SELECTCLIPPATH: SelectClipPath(); break;
    case EMR_EXTSELECTCLIPRGN: SelectClipRegion(); break;
    case EMR_SAVEDC: p_.Save(); break;
    case EMR_RESTOREDC: p_.Restore(r_.S32(8)); break;
    case EMR_SETWORLDTRANSFORM: WorldTransform(MWT_SET); break;
    case EMR_MODIFYWORLDTRANSFORM: WorldTransform(r_.U32(32)); break;
    case EMR_SELECTOBJECT: SelectObject(); break;
    case EMR_CREATEPEN: CreatePen(); break;
    case EMR_EXTCREATEPEN: ExtCreatePen(); break;
    case EMR_CREATEBRUSHINDIRECT: CreateBrush(); break;
    case EMR_CREATEDIBPATTERNBRUSHPT: CreatePatternBrush(); break;
    case EMR_EXTCREATEFONTINDIRECTW: CreateFont(); break;
    case EMR_CREATEPALETTE: CreatePalette(); break;
    case EMR_DELETEOBJECT: DeleteObject(); break;
    default: break;  // palettes, comments and records not known: nothing to draw
  }
}

void EnhancedPlayer::Play(DWORD type) {
  if (!Draw(type)) Set(type);
}

}  // namespace

bool PlayEnhanced(HDC dc, const MetafileObject& m, const Matrix& fit) {
  Player player(dc, fit, m.header.nHandles);
  player.state.page.pixelsPerMmX = m.pixelsPerMm.x;
  player.state.page.pixelsPerMmY = m.pixelsPerMm.y;
  std::size_t at = 0;
  while (at < m.bytes.size()) {
    RecordReader r(m.bytes.data() + at, m.bytes.size() - at);
    DWORD type = r.U32(0);
    std::size_t size = r.U32(4);
    if (type == EMR_EOF) break;
    RecordReader record(m.bytes.data() + at, size);
    if (type != EMR_HEADER) EnhancedPlayer(player, record).Play(type);
    if (record.Bad()) player.Malformed();
    at += size;
  }
  return player.Ok();
}

}  // namespace metafile
