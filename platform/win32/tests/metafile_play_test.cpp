// Metafiles built record by record, played into a 96x96 true-colour DIB section and read back.
#include <gtest/gtest.h>

#include <functional>

#include "gdi_test_helpers.h"
#include "win32/metafile.h"
#include "win32/testing/metafile_writer.h"

using namespace metafile_test;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0),
                   kBlue = RGB(0, 0, 255), kYellow = RGB(255, 255, 0);
constexpr int kSize = 96;
const RECTL kFrame{0, 0, 2540, 2540};  // one inch: 96 pixels

struct Rendered {
  Rendered() : canvas(kSize, kSize, 32) { canvas.Fill(kWhite); }
  gdi_test::Canvas canvas;
  BOOL played = FALSE;
  COLORREF At(int x, int y) { return GetPixel(canvas.dc, x, y); }
};

void Play(Rendered& out, HENHMETAFILE mf) {
  ASSERT_NE(mf, nullptr);
  RECT r{0, 0, kSize, kSize};
  out.played = PlayEnhMetaFile(out.canvas.dc, mf, &r);
  DeleteEnhMetaFile(mf);
}

void PlayEmf(Rendered& out, const EmfWriter& w) {
  std::vector<BYTE> bytes = w.Finish(kFrame);
  Play(out, SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
}

void PlayWmf(Rendered& out, const WmfWriter& w) {
  std::vector<BYTE> bytes = w.Finish();
  METAFILEPICT pict{MM_ANISOTROPIC, 2540, 2540, nullptr};
  Play(out, SetWinMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data(), nullptr, &pict));
}

// ---- records ----
void EmfBrush(EmfWriter& w, DWORD slot, COLORREF c) {
  w.Record(EMR_CREATEBRUSHINDIRECT, {slot, BS_SOLID, c, 0});
  w.Record(EMR_SELECTOBJECT, {slot});
}
void EmfNullPen(EmfWriter& w) { w.Record(EMR_SELECTOBJECT, {0x80000000u | NULL_PEN}); }
void EmfRect(EmfWriter& w, int l, int t, int r, int b) {
  w.Record(EMR_RECTANGLE, {EmfWriter::I(l), EmfWriter::I(t), EmfWriter::I(r), EmfWriter::I(b)});
}
void EmfPen(EmfWriter& w, DWORD slot, int width, COLORREF c) {
  w.Record(EMR_CREATEPEN, {slot, PS_SOLID, EmfWriter::I(width), 0, c});
  w.Record(EMR_SELECTOBJECT, {slot});
}
void EmfMoveTo(EmfWriter& w, int x, int y) { w.Record(EMR_MOVETOEX, {EmfWriter::I(x), EmfWriter::I(y)}); }
void EmfLineTo(EmfWriter& w, int x, int y) { w.Record(EMR_LINETO, {EmfWriter::I(x), EmfWriter::I(y)}); }
// Records that take only bounds, which the player does not need.
void EmfBounded(EmfWriter& w, DWORD type) { w.Record(type, {0, 0, 0, 0}); }
void WmfWindow(WmfWriter& w, int ext) {
  w.Record(META_SETWINDOWORG, {0, 0});
  w.Record(META_SETWINDOWEXT, {ext, ext});
}
void WmfBrush(WmfWriter& w, COLORREF c) {
  auto d = WmfWriter::Dword(c);
  w.Record(META_CREATEBRUSHINDIRECT, {BS_SOLID, d[0], d[1], 0});
}
void WmfRect(WmfWriter& w, int l, int t, int r, int b) { w.Record(META_RECTANGLE, {b, r, t, l}); }

std::vector<BYTE> TwoByTwo() { return Dib24({{kRed, kGreen}, {kBlue, kYellow}}); }

struct Probe {
  int x, y;
  COLORREF color;
};

// Two overlapping squares wound the same way, one a rectangle and one drawn with lines.
void TwoSquaresPath(Rendered& out, int fillMode) {
  EmfWriter w;
  EmfBrush(w, 1, kGreen);
  EmfNullPen(w);
  w.Record(EMR_SETPOLYFILLMODE, {EmfWriter::I(fillMode)});
  w.Record(EMR_BEGINPATH, {});
  EmfRect(w, 10, 10, 60, 60);
  EmfMoveTo(w, 85, 35);
  EmfLineTo(w, 35, 35);
  EmfLineTo(w, 35, 85);
  EmfLineTo(w, 85, 85);
  w.Record(EMR_CLOSEFIGURE, {});
  w.Record(EMR_ENDPATH, {});
  EmfBounded(w, EMR_FILLPATH);
  PlayEmf(out, w);
}

// A square path with a red brush and a blue pen, used by `type`.
void SquarePath(Rendered& out, DWORD type) {
  EmfWriter w;
  EmfBrush(w, 1, kRed);
  EmfPen(w, 2, 1, kBlue);
  w.Record(EMR_BEGINPATH, {});
  EmfRect(w, 20, 20, 70, 70);
  w.Record(EMR_ENDPATH, {});
  EmfBounded(w, type);
  PlayEmf(out, w);
}

struct Scene {
  const char* name;
  std::function<void(Rendered&)> draw;
  std::vector<Probe> probes;
};
void PrintTo(const Scene& s, std::ostream* os) { *os << s.name; }

const Scene kScenes[] = {
    {"wmf rectangle with frame and interior",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, kSize);
       WmfBrush(w, kRed);
       w.Record(META_SELECTOBJECT, {0});
       WmfRect(w, 10, 10, 50, 30);
       PlayWmf(out, w);
     },
     {{30, 20, kRed}, {10, 20, kBlack}, {49, 20, kBlack}, {50, 20, kWhite}, {30, 9, kWhite}}},
    {"wmf window twice the frame halves everything",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, 2 * kSize);
       WmfBrush(w, kBlue);
       w.Record(META_SELECTOBJECT, {0});
       WmfRect(w, 0, 0, 96, 96);
       PlayWmf(out, w);
     },
     {{24, 24, kBlue}, {60, 24, kWhite}, {24, 60, kWhite}}},
    {"emf anisotropic extents",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_SETMAPMODE, {MM_ANISOTROPIC});
       w.Record(EMR_SETWINDOWEXTEX, {1000, 1000});
       w.Record(EMR_SETVIEWPORTEXTEX, {96, 48});
       EmfBrush(w, 1, kGreen);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 500, 500);
       PlayEmf(out, w);
     },
     {{24, 12, kGreen}, {24, 30, kWhite}, {60, 12, kWhite}}},
    {"emf metric mode with y upwards",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_SETMAPMODE, {MM_HIMETRIC});
       w.Record(EMR_SETVIEWPORTORGEX, {0, 96});
       EmfBrush(w, 1, kRed);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 1270, 1270);  // 12.7 mm: half an inch
       PlayEmf(out, w);
     },
     {{24, 72, kRed}, {24, 24, kWhite}, {72, 72, kWhite}}},
    {"emf world transform scales and moves",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_SETWORLDTRANSFORM, {EmfWriter::F(2), 0, 0, EmfWriter::F(2), EmfWriter::F(10), EmfWriter::F(10)});
       EmfBrush(w, 1, kBlue);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 20, 20);
       PlayEmf(out, w);
     },
     {{12, 12, kBlue}, {48, 48, kBlue}, {8, 8, kWhite}, {52, 52, kWhite}}},
    {"emf 16-bit polygon",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kGreen);
       w.Record(EMR_POLYGON16,
                {0, 0, 0, 0, 3, EmfWriter::Pt16(10, 10), EmfWriter::Pt16(80, 10), EmfWriter::Pt16(10, 80)});
       PlayEmf(out, w);
     },
     {{20, 20, kGreen}, {70, 70, kWhite}}},
    {"emf poly-polygon leaves the hole open",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       EmfNullPen(w);
       std::vector<DWORD> v{0, 0, 0, 0, 2, 8, 4, 4};
       for (auto [x, y] : {std::pair{10, 10}, {80, 10}, {80, 80}, {10, 80}, {30, 30}, {60, 30}, {60, 60}, {30, 60}})
         v.push_back(EmfWriter::Pt16(x, y));
       w.Record(EMR_POLYPOLYGON16, v);
       PlayEmf(out, w);
     },
     {{20, 20, kRed}, {45, 45, kWhite}, {70, 45, kRed}}},
    {"emf ellipse",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kBlue);
       w.Record(EMR_ELLIPSE, {10, 10, 90, 90});
       PlayEmf(out, w);
     },
     {{50, 50, kBlue}, {12, 12, kWhite}, {88, 88, kWhite}}},
    {"emf pie from east to north",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       w.Record(EMR_PIE, {10, 10, 90, 90, 90, 50, 50, 10});
       PlayEmf(out, w);
     },
     {{65, 35, kRed}, {35, 65, kWhite}, {35, 35, kWhite}, {65, 65, kWhite}}},
    {"emf chord across the bottom half",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kGreen);
       w.Record(EMR_CHORD, {10, 10, 90, 90, 10, 50, 90, 50});
       PlayEmf(out, w);
     },
     {{50, 70, kGreen}, {50, 30, kWhite}}},
    {"emf arc traces only the curve",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_CREATEPEN, {1, PS_SOLID, 1, 0, kBlue});
       w.Record(EMR_SELECTOBJECT, {1});
       w.Record(EMR_ARC, {10, 10, 91, 91, 90, 50, 50, 10});
       PlayEmf(out, w);
     },
     {{90, 50, kBlue}, {90, 46, kBlue}, {50, 50, kWhite}, {10, 50, kWhite}, {50, 90, kWhite}}},
    {"emf path of bezier quarters fills a circle without its outline",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kBlue);
       EmfPen(w, 2, 1, kRed);
       w.Record(EMR_BEGINPATH, {});
       EmfMoveTo(w, 90, 50);
       std::vector<DWORD> v{0, 0, 0, 0, 12};
       for (auto [x, y] : {std::pair{90, 28},
                           {72, 10},
                           {50, 10},
                           {28, 10},
                           {10, 28},
                           {10, 50},
                           {10, 72},
                           {28, 90},
                           {50, 90},
                           {72, 90},
                           {90, 72},
                           {90, 50}})
         v.push_back(EmfWriter::Pt16(x, y));
       w.Record(EMR_POLYBEZIERTO16, v);
       w.Record(EMR_CLOSEFIGURE, {});
       w.Record(EMR_ENDPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       PlayEmf(out, w);
     },
     {{50, 50, kBlue},
      {50, 11, kBlue},
      {11, 50, kBlue},
      {88, 50, kBlue},
      {50, 88, kBlue},
      {16, 16, kWhite},
      {84, 84, kWhite},
      {90, 50, kWhite},
      {50, 5, kWhite}}},
    {"emf path of two figures under alternate leaves the overlap",
     [](Rendered& out) { TwoSquaresPath(out, ALTERNATE); },
     {{20, 20, kGreen}, {75, 75, kGreen}, {47, 47, kWhite}, {75, 20, kWhite}}},
    {"emf path of two figures under winding fills the overlap",
     [](Rendered& out) { TwoSquaresPath(out, WINDING); },
     {{20, 20, kGreen}, {75, 75, kGreen}, {47, 47, kGreen}, {75, 20, kWhite}}},
    {"emf stroke path draws only the outline",
     [](Rendered& out) { SquarePath(out, EMR_STROKEPATH); },
     {{20, 45, kBlue}, {70, 45, kBlue}, {45, 70, kBlue}, {45, 45, kWhite}}},
    {"emf fill path draws only the interior",
     [](Rendered& out) { SquarePath(out, EMR_FILLPATH); },
     {{20, 45, kRed}, {45, 45, kRed}, {69, 69, kRed}, {70, 45, kWhite}, {45, 70, kWhite}}},
    {"emf stroke and fill path draws both",
     [](Rendered& out) { SquarePath(out, EMR_STROKEANDFILLPATH); },
     {{20, 45, kBlue}, {70, 45, kBlue}, {45, 45, kRed}}},
    {"emf shapes and an arc-to go into the path",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       w.Record(EMR_BEGINPATH, {});
       w.Record(EMR_ELLIPSE, {4, 4, 44, 44});
       w.Record(EMR_ROUNDRECT, {50, 4, 92, 44, 30, 30});
       EmfMoveTo(w, 50, 90);  // a pie from the centre of the box 10,50-90,130: east to north
       w.Record(EMR_ARCTO, {10, 50, 90, 130, 90, 90, 50, 50});
       w.Record(EMR_CLOSEFIGURE, {});
       w.Record(EMR_ENDPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       PlayEmf(out, w);
     },
     {{24, 24, kRed},
      {6, 6, kWhite},
      {71, 24, kRed},
      {52, 6, kWhite},
      {52, 24, kRed},
      {70, 70, kRed},
      {30, 85, kWhite},
      {30, 60, kWhite},
      {70, 93, kWhite}}},
    {"emf widened line fills the pen's band",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kGreen);
       EmfPen(w, 2, 9, kRed);
       w.Record(EMR_BEGINPATH, {});
       EmfMoveTo(w, 10, 50);
       EmfLineTo(w, 86, 50);
       w.Record(EMR_ENDPATH, {});
       w.Record(EMR_WIDENPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       PlayEmf(out, w);
     },
     {{50, 50, kGreen},
      {50, 46, kGreen},
      {50, 53, kGreen},
      {10, 50, kGreen},
      {7, 50, kGreen},
      {50, 40, kWhite},
      {50, 60, kWhite},
      {2, 50, kWhite},
      {94, 50, kWhite}}},
    {"emf widening with a cosmetic pen keeps the path",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kGreen);
       EmfPen(w, 2, 0, kRed);
       w.Record(EMR_BEGINPATH, {});
       w.Record(EMR_POLYGON16,
                {0, 0, 0, 0, 3, EmfWriter::Pt16(10, 80), EmfWriter::Pt16(50, 10), EmfWriter::Pt16(90, 80)});
       w.Record(EMR_ENDPATH, {});
       w.Record(EMR_WIDENPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       PlayEmf(out, w);
     },
     {{50, 57, kGreen}, {50, 84, kWhite}}},
    {"emf clip path replaces the clip",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_INTERSECTCLIPRECT, {0, 0, 10, 10});
       w.Record(EMR_BEGINPATH, {});
       w.Record(EMR_POLYGON16,
                {0, 0, 0, 0, 3, EmfWriter::Pt16(10, 10), EmfWriter::Pt16(80, 10), EmfWriter::Pt16(10, 80)});
       w.Record(EMR_ENDPATH, {});
       w.Record(EMR_SELECTCLIPPATH, {RGN_COPY});
       EmfBrush(w, 1, kGreen);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 97, 97);
       PlayEmf(out, w);
     },
     {{20, 20, kGreen}, {40, 40, kGreen}, {70, 70, kWhite}, {5, 5, kWhite}}},
    {"emf clip path cut out of the clip",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_INTERSECTCLIPRECT, {0, 0, 60, 96});
       w.Record(EMR_BEGINPATH, {});
       EmfRect(w, 20, 20, 40, 40);
       w.Record(EMR_ENDPATH, {});
       w.Record(EMR_SELECTCLIPPATH, {RGN_DIFF});
       EmfBrush(w, 1, kGreen);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 97, 97);
       PlayEmf(out, w);
     },
     {{10, 10, kGreen}, {30, 50, kGreen}, {30, 30, kWhite}, {70, 10, kWhite}}},
    {"emf aborted path is neither drawn nor filled",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       w.Record(EMR_BEGINPATH, {});
       EmfRect(w, 10, 10, 50, 50);
       w.Record(EMR_ABORTPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       EmfRect(w, 60, 60, 90, 90);
       PlayEmf(out, w);
     },
     {{30, 30, kWhite}, {10, 30, kWhite}, {75, 75, kRed}}},
    {"emf path records without a path to act on draw nothing",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       for (DWORD type : {EMR_ENDPATH, EMR_CLOSEFIGURE, EMR_WIDENPATH, EMR_FLATTENPATH, EMR_ABORTPATH})
         w.Record(type, {});
       for (DWORD type : {EMR_FILLPATH, EMR_STROKEPATH, EMR_STROKEANDFILLPATH}) EmfBounded(w, type);
       w.Record(EMR_SELECTCLIPPATH, {RGN_COPY});
       EmfRect(w, 4, 4, 20, 20);  // drawn directly
       // A path is used up by its fill.
       w.Record(EMR_BEGINPATH, {});
       EmfRect(w, 30, 30, 60, 60);
       w.Record(EMR_ENDPATH, {});
       EmfBounded(w, EMR_FILLPATH);
       EmfBrush(w, 2, kGreen);
       EmfBounded(w, EMR_FILLPATH);
       // A path still being recorded is not filled, and takes what is drawn after.
       w.Record(EMR_BEGINPATH, {});
       EmfRect(w, 70, 70, 90, 90);
       EmfBounded(w, EMR_FILLPATH);
       EmfRect(w, 70, 4, 90, 20);
       PlayEmf(out, w);
     },
     {{12, 12, kRed}, {45, 45, kRed}, {80, 80, kWhite}, {80, 12, kWhite}, {25, 25, kWhite}}},
    {"emf intersect clip keeps the left half",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_INTERSECTCLIPRECT, {0, 0, 48, 96});
       EmfBrush(w, 1, kRed);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 97, 97);
       PlayEmf(out, w);
     },
     {{20, 50, kRed}, {47, 50, kRed}, {48, 50, kWhite}, {70, 50, kWhite}}},
    {"wmf exclude clip punches a hole",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, kSize);
       w.Record(META_EXCLUDECLIPRECT, {40, 40, 20, 20});
       WmfBrush(w, kRed);
       w.Record(META_SELECTOBJECT, {0});
       WmfRect(w, 0, 0, 97, 97);
       PlayWmf(out, w);
     },
     {{30, 30, kWhite}, {10, 10, kRed}, {45, 45, kRed}}},
    {"emf clip region from rectangles",
     [](Rendered& out) {
       EmfWriter w;
       // RGNDATA: header (32 bytes) and two rectangles.
       w.Record(EMR_EXTSELECTCLIPRGN, {64, RGN_COPY, 32, 3, 2, 32, 0, 0, 96, 96, 0, 0, 20, 20, 60, 60, 96, 96});
       EmfBrush(w, 1, kGreen);
       EmfNullPen(w);
       EmfRect(w, 0, 0, 97, 97);
       PlayEmf(out, w);
     },
     {{10, 10, kGreen}, {70, 70, kGreen}, {40, 40, kWhite}, {10, 70, kWhite}}},
    {"emf stretched dib",
     [](Rendered& out) {
       EmfWriter w;
       std::vector<BYTE> dib = TwoByTwo();
       w.Record(EMR_STRETCHDIBITS,
                {0, 0, 40, 40, 0, 0, 0, 0, 2, 2, 80, 40, 120, static_cast<DWORD>(dib.size() - 40), DIB_RGB_COLORS,
                 SRCCOPY, 40, 40},
                dib);
       PlayEmf(out, w);
     },
     {{10, 10, kRed}, {30, 10, kGreen}, {10, 30, kBlue}, {30, 30, kYellow}, {50, 10, kWhite}}},
    {"emf bitblt counts source rows from the top",
     [](Rendered& out) {
       EmfWriter w;
       std::vector<BYTE> dib = TwoByTwo();
       std::vector<DWORD> v{0, 0, 0, 0, 20, 20, 1, 1, SRCCOPY, 0, 1};  // bottom-left source pixel
       for (int i = 0; i < 6; ++i) v.push_back(0);  // source transform, unused
       for (DWORD d :
            {DWORD{0}, DWORD{DIB_RGB_COLORS}, DWORD{100}, DWORD{40}, DWORD{140}, static_cast<DWORD>(dib.size() - 40)})
         v.push_back(d);
       w.Record(EMR_BITBLT, v, dib);
       PlayEmf(out, w);
     },
     {{20, 20, kBlue}, {21, 20, kWhite}}},
    {"wmf stretched dib",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, kSize);
       auto rop = WmfWriter::Dword(SRCCOPY);
       w.Record(META_STRETCHDIB, {rop[0], rop[1], DIB_RGB_COLORS, 2, 2, 0, 0, 40, 40, 0, 0}, TwoByTwo());
       PlayWmf(out, w);
     },
     {{10, 10, kRed}, {30, 10, kGreen}, {10, 30, kBlue}, {30, 30, kYellow}}},
    {"emf unknown record is skipped by its size",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kBlue);
       w.Record(0x7777, {EMR_RECTANGLE, 0, 0, 0xFFFFFFFF});
       EmfRect(w, 10, 10, 50, 50);
       PlayEmf(out, w);
     },
     {{30, 30, kBlue}}},
    {"wmf unknown record is skipped by its size",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, kSize);
       w.Record(0x0999, {META_RECTANGLE, 0, 0, 0xFFFF});
       WmfBrush(w, kBlue);
       w.Record(META_SELECTOBJECT, {0});
       WmfRect(w, 10, 10, 50, 50);
       PlayWmf(out, w);
     },
     {{30, 30, kBlue}}},
    {"wmf create fills the lowest free slot",
     [](Rendered& out) {
       WmfWriter w;
       WmfWindow(w, kSize);
       WmfBrush(w, kRed);  // slot 0
       WmfBrush(w, kGreen);  // slot 1
       w.Record(META_DELETEOBJECT, {0});
       WmfBrush(w, kBlue);  // slot 0 again
       w.Record(META_SELECTOBJECT, {0});
       WmfRect(w, 10, 10, 50, 50);
       w.Record(META_SELECTOBJECT, {1});
       WmfRect(w, 50, 50, 90, 90);
       PlayWmf(out, w);
     },
     {{30, 30, kBlue}, {70, 70, kGreen}}},
    {"emf restore brings back brush and clip",
     [](Rendered& out) {
       EmfWriter w;
       EmfBrush(w, 1, kRed);
       EmfNullPen(w);
       w.Record(EMR_SAVEDC, {});
       EmfBrush(w, 2, kGreen);
       w.Record(EMR_INTERSECTCLIPRECT, {0, 0, 10, 10});
       w.Record(EMR_RESTOREDC, {EmfWriter::I(-1)});
       EmfRect(w, 0, 0, 97, 97);
       PlayEmf(out, w);
     },
     {{5, 5, kRed}, {50, 50, kRed}}},
    {"emf stock objects and rop2",
     [](Rendered& out) {
       EmfWriter w;
       w.Record(EMR_SELECTOBJECT, {0x80000000u | BLACK_BRUSH});
       EmfNullPen(w);
       w.Record(EMR_SETROP2, {R2_NOT});
       EmfRect(w, 0, 0, 49, 97);
       PlayEmf(out, w);
     },
     {{20, 20, kBlack}, {60, 20, kWhite}}},
};

class MetafileScene : public testing::TestWithParam<Scene> {};

TEST_P(MetafileScene, DrawsItsPixels) {
  Rendered out;
  GetParam().draw(out);
  EXPECT_TRUE(out.played);
  for (const Probe& p : GetParam().probes) EXPECT_EQ(out.At(p.x, p.y), p.color) << "at " << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(Records, MetafileScene, testing::ValuesIn(kScenes), [](const auto& test) {
  std::string name;
  for (const char* c = test.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

// Text: a font made in the metafile, its colour, transparent background, UTF-16 text.
TEST(MetafileText, WideTextDrawsInItsColourAndFontHeight) {
  auto render = [](int height) {
    EmfWriter w;
    std::vector<BYTE> face = Utf16(u"Arial");
    face.resize(64, 0);
    w.Record(EMR_EXTCREATEFONTINDIRECTW, {1, EmfWriter::I(-height), 0, 0, 0, FW_NORMAL, 0, 0}, face);
    w.Record(EMR_SELECTOBJECT, {1});
    w.Record(EMR_SETTEXTCOLOR, {kBlue});
    w.Record(EMR_SETBKMODE, {TRANSPARENT});
    std::vector<BYTE> text = Utf16(u"H\u00c9");
    w.Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, 0, 0, 0}, text);
    auto out = std::make_unique<Rendered>();
    PlayEmf(*out, w);
    EXPECT_TRUE(out->played);
    int top = kSize, bottom = -1, other = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        COLORREF c = out->At(x, y);
        if (c == kBlue) top = std::min(top, y), bottom = std::max(bottom, y);
        else if (c != kWhite)
          ++other;
      }
    EXPECT_EQ(other, 0) << "no anti-aliasing, no background";
    return bottom - top + 1;
  };
  int small = render(16), large = render(40);
  EXPECT_GT(small, 8);
  EXPECT_GT(large, 2 * small);
}

TEST(MetafileText, WindowsFormatTextOutAtItsPoint) {
  WmfWriter w;
  WmfWindow(w, kSize);
  auto blue = WmfWriter::Dword(kRed);
  w.Record(META_SETTEXTCOLOR, {blue[0], blue[1]});
  w.Record(META_SETBKMODE, {TRANSPARENT});
  w.Record(META_TEXTOUT, {2, 'I' | 'I' << 8, 50, 60});  // "II" at x 60, y 50
  Rendered out;
  PlayWmf(out, w);
  int inside = 0, outside = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (out.At(x, y) == kRed) (x >= 60 && y >= 50 ? inside : outside)++;
  EXPECT_GT(inside, 10);
  EXPECT_EQ(outside, 0);
}

// The fit: the frame is stretched to the rectangle, and the DC's own state survives the play.
TEST(MetafilePlay, FrameIsFittedToTheRectangleAndTheDcIsKept) {
  EmfWriter w;
  EmfBrush(w, 1, kRed);
  EmfNullPen(w);
  EmfRect(w, 0, 0, 48, 48);
  std::vector<BYTE> bytes = w.Finish(kFrame);
  HENHMETAFILE mf = SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data());
  Rendered out;
  HBRUSH own = CreateSolidBrush(kGreen);
  HGDIOBJ before = SelectObject(out.canvas.dc, own);
  SetViewportOrgEx(out.canvas.dc, 10, 10, nullptr);
  RECT r{0, 0, 48, 48};  // half size, moved by the viewport origin
  EXPECT_TRUE(PlayEnhMetaFile(out.canvas.dc, mf, &r));
  POINT org{};
  GetViewportOrgEx(out.canvas.dc, &org);
  EXPECT_EQ(org.x, 10);
  EXPECT_EQ(GetCurrentObject(out.canvas.dc, OBJ_BRUSH), own);
  SetViewportOrgEx(out.canvas.dc, 0, 0, nullptr);
  EXPECT_EQ(out.At(20, 20), kRed);
  EXPECT_EQ(out.At(32, 32), kRed);  // a shape without a frame ends a pixel early
  EXPECT_EQ(out.At(35, 35), kWhite);
  EXPECT_EQ(out.At(8, 8), kWhite);
  SelectObject(out.canvas.dc, before);
  DeleteObject(own);
  DeleteEnhMetaFile(mf);
}

}  // namespace
