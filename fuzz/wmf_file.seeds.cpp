// Placeable and plain Windows-format metafiles with each kind of record the player draws.
#include "seeds.h"
#include "win32/testing/metafile_writer.h"

namespace fuzz_seeds {
namespace {

using metafile_test::WmfWriter;

WmfWriter Drawing() {
  WmfWriter w;
  auto red = WmfWriter::Dword(RGB(255, 0, 0));
  auto rop = WmfWriter::Dword(SRCCOPY);
  w.Record(META_SETMAPMODE, {MM_ANISOTROPIC});
  w.Record(META_SETWINDOWORG, {0, 0});
  w.Record(META_SETWINDOWEXT, {100, 200});
  w.Record(META_CREATEPENINDIRECT, {PS_DASH, 1, 0, red[0], red[1]});
  w.Record(META_CREATEBRUSHINDIRECT, {BS_HATCHED, red[0], red[1], HS_CROSS});
  w.Record(META_SELECTOBJECT, {0});
  w.Record(META_SELECTOBJECT, {1});
  w.Record(META_SAVEDC, {});
  w.Record(META_INTERSECTCLIPRECT, {90, 190, 5, 5});
  w.Record(META_RECTANGLE, {50, 100, 10, 10});
  w.Record(META_ROUNDRECT, {10, 10, 90, 190, 60, 110});
  w.Record(META_ELLIPSE, {40, 40, 0, 0});
  w.Record(META_PIE, {0, 20, 20, 40, 40, 40, 0, 0});
  w.Record(META_POLYGON, {3, 0, 0, 50, 0, 0, 50});
  w.Record(META_POLYPOLYGON, {2, 3, 3, 0, 0, 9, 0, 0, 9, 20, 20, 29, 20, 20, 29});
  w.Record(META_RESTOREDC, {0xFFFF});
  w.Record(META_MOVETO, {5, 5});
  w.Record(META_LINETO, {80, 150});
  w.Record(META_DELETEOBJECT, {1});
  w.Record(META_CREATEFONTINDIRECT, {0xFFEC, 0, 0, 0, 700, 0, 0, 'A' | 'r' << 8, 'i' | 'a' << 8, 'l'});
  w.Record(META_SELECTOBJECT, {1});
  w.Record(META_SETTEXTCOLOR, {red[0], red[1]});
  w.Record(META_SETBKMODE, {TRANSPARENT});
  w.Record(META_TEXTOUT, {2, 'O' | 'K' << 8, 30, 30});
  w.Record(META_EXTTEXTOUT, {60, 60, 2, ETO_OPAQUE, 0, 0, 100, 100, 'h' | 'i' << 8, 8, 8});
  w.Record(META_STRETCHDIB, {rop[0], rop[1], DIB_RGB_COLORS, 2, 2, 0, 0, 30, 30, 60, 60},
           metafile_test::Dib24({{RGB(1, 2, 3), RGB(200, 0, 0)}, {RGB(0, 200, 0), RGB(0, 0, 200)}}));
  w.Record(META_CREATEREGION, {0, 6, 0, 0, 0, 1, 0, 0, 0, 20, 20, 2, 0, 20, 0, 20, 2});
  w.Record(META_SELECTCLIPREGION, {2});
  w.Record(META_FILLREGION, {2, 0});
  return w;
}

std::string Text(const std::vector<BYTE>& b) { return {b.begin(), b.end()}; }

}  // namespace

std::vector<Seed> Seeds() {
  return {{"placeable.wmf", Text(Drawing().FinishPlaceable({0, 0, 200, 100}, 1440))},
          {"plain.wmf", Text(Drawing().Finish())}};
}

}  // namespace fuzz_seeds
