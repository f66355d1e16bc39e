#pragma once
// What the record players of both formats share: the metafile's own DC state (mapping, objects,
// colours, modes, clipping, SaveDC levels) and the drawing operations in its logical coordinates,
// carried out on the target DC in device pixels. Geometry is clipped to a little more than the
// target's clip box first, so coordinates from hostile files cannot make the GDI walk millions of
// rows or allocate for them.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "metafile/clip_geometry.h"
#include "metafile/path.h"
#include "metafile/transform.h"
#include "win32/metafile.h"

namespace metafile {

using SharedHandle = std::shared_ptr<void>;  // a GDI object deleted when its last user lets go

struct FontSpec {
  LOGFONTA font{};
  int stockIndex = -1;  // a stock font, unscaled
};

struct TableObject {
  enum Kind { Empty, Pen, Brush, Font, Palette, Region } kind = Empty;
  LOGPEN pen{};
  SharedHandle brush;
  FontSpec font;
  std::vector<RECT> region;  // logical rectangles
};

struct PlayState {
  PageMapping page;
  Matrix world;
  LOGPEN pen{PS_SOLID, {0, 0}, RGB(0, 0, 0)};
  SharedHandle brush;
  FontSpec font;
  COLORREF textColor = RGB(0, 0, 0), bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE, rop2 = R2_COPYPEN, polyFillMode = ALTERNATE, stretchMode = BLACKONWHITE;
  UINT textAlign = 0;
  DPoint position;  // logical
  SharedHandle clip;  // the metafile's clip region in device pixels; none = no clip of its own
};

enum class ArcKind { Arc, Chord, Pie };

class Player {
 public:
  // `fit` maps reference device pixels to the target's device pixels.
  Player(HDC dc, const Matrix& fit, std::size_t objectSlots);
  ~Player();
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // A record whose contents do not fit; the play goes on and reports FALSE at the end.
  void Malformed() { ok_ = false; }
  bool Ok() const { return ok_; }

  PlayState state;

  // ---- object table ----
  // The slot a Windows-format create record fills: the lowest free one; -1 when all are taken.
  int FreeSlot() const;
  // The slot, or null (and Malformed) when the index is out of range.
  TableObject* Slot(std::size_t index);
  void Select(const TableObject& object);
  void SelectStock(int stockIndex);
  static SharedHandle Own(HGDIOBJ object);

  // ---- state ----
  void Save();
  // Negative: relative to the current level.
  void Restore(int level);
  void IntersectClip(DPoint a, DPoint b);
  void ExcludeClip(DPoint a, DPoint b);
  // Rectangles in logical units, or in the reference device's pixels; none (with RGN_COPY)
  // removes the metafile's clip region.
  void SelectClip(const std::vector<RECT>* rects, bool referenceUnits, int mode);
  Matrix LogicalToDevice() const;

  // ---- path ----
  // While a path is recorded, the lines and shapes below go into it instead of onto the target.
  void BeginPath() { path_.Begin(); }
  void EndPath() { path_.End(); }
  void AbortPath() { path_.Clear(); }
  void CloseFigure() { path_.CloseFigure(); }
  void WidenPath();
  // Fills (brush, fill mode) and/or strokes (pen) the ended path and drops it; without an ended path
  // these do nothing, as the GDI's calls fail then.
  void DrawPath(bool fill, bool stroke);
  void SelectClipPath(int mode);

  // ---- drawing, logical coordinates ----
  void MoveTo(DPoint p);
  void LineTo(DPoint p);
  // Lines from the current position on; it ends at the last point.
  void PolylineTo(const std::vector<DPoint>& points);
  void Polyline(const std::vector<DPoint>& points);
  void Polygons(const std::vector<std::vector<DPoint>>& polygons);
  void Rectangle(DPoint a, DPoint b);
  void RoundRect(DPoint a, DPoint b, DPoint corner);
  void Ellipse(DPoint a, DPoint b);
  void ArcShape(ArcKind kind, DPoint a, DPoint b, DPoint start, DPoint end);
  // A line from the current position to the arc's start, then the arc; it ends at the arc's end.
  void ArcTo(DPoint a, DPoint b, DPoint start, DPoint end);
  void SetPixel(DPoint p, COLORREF color);
  void PatBlt(DPoint a, DPoint size, DWORD rop);
  void FillRegion(const std::vector<RECT>& logicalRects, HBRUSH brush);
  // UTF-8 text; `dx` (logical, one per byte) may be empty.
  void Text(DPoint at, UINT options, const RECT* logicalRect, const std::string& text, const std::vector<int>& dx);
  // A validated DIB (see dib_source.h) into the logical rectangle at `a` of extent `size`.
  void StretchDib(DPoint a, DPoint size, int xSrc, int ySrc, int srcWidth, int srcHeight, const BITMAPINFO* info,
                  const void* bits, DWORD rop);

 private:
  struct PolyPoints {
    std::vector<POINT> points;
    std::vector<INT> counts;
  };

  void Realize(bool withPen, bool withBrush);
  // The pen's width on the target, for pens that are not cosmetic.
  int PenPixels() const;
  int FillMode() const;
  int PathFillMode() const;
  std::vector<DPoint> ToDevice(const std::vector<DPoint>& logical) const;
  double PixelsPerUnit() const;
  DBox LimitBox() const;
  POINT Pixel(DPoint device) const;
  // Polygons clipped to the limit box, in the form PolyPolygon takes; none (and Malformed) when
  // they are too complex to scan.
  PolyPoints Clipped(const std::vector<std::vector<DPoint>>& polygons);
  void StrokeDevice(const std::vector<DPoint>& line);
  void FillDevice(const std::vector<std::vector<DPoint>>& polygons, bool outline, int fillMode);
  void AddToPath(bool fits);
  // Combines the metafile's clip region with `region` (device pixels), which it takes over.
  void CombineClip(HRGN region, int mode);
  void ApplyClip();
  POINT Device(DPoint logical) const;
  // Normalised, so that left <= right and top <= bottom.
  RECT DeviceRect(DPoint a, DPoint b) const;
  HRGN RegionOf(const std::vector<RECT>& rects, const Matrix& m) const;
  void SetClip(HRGN region);
  // Is the device box near enough to the drawable area to hand it to the GDI's shape fillers?
  bool Reasonable(const RECT& box) const;

  HDC dc_;
  Matrix fit_;
  int savedLevel_;
  SharedHandle initialClip_;  // the target's own clip region, or none
  RECT limit_{};  // device box beyond which geometry is clipped away
  std::vector<TableObject> objects_;
  std::vector<PlayState> saved_;
  Path path_;
  bool ok_ = true;

  // What is selected into the DC now.
  SharedHandle realizedPen_, realizedBrush_, realizedFont_;
  LOGPEN realizedPenSpec_{};
  LOGFONTA realizedFontSpec_{};
  int realizedFontStock_ = -2;
};

}  // namespace metafile
