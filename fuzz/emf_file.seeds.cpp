// Enhanced metafiles with each kind of record the player draws, in both point sizes, and paths.
#include "seeds.h"
#include "win32/testing/metafile_writer.h"

namespace fuzz_seeds {
namespace {

using metafile_test::EmfWriter;

std::string Drawing(bool mapped) {
  EmfWriter w;
  if (mapped) {
    w.Record(EMR_SETMAPMODE, {MM_ANISOTROPIC});
    w.Record(EMR_SETWINDOWEXTEX, {1000, 500});
    w.Record(EMR_SETVIEWPORTEXTEX, {96, 48});
    w.Record(EMR_MODIFYWORLDTRANSFORM, {EmfWriter::F(1), EmfWriter::F(0.5f), 0, EmfWriter::F(1), 0, 0, 2});
  }
  w.Record(EMR_CREATEPEN, {1, PS_SOLID, 3, 0, RGB(0, 0, 255)});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_CREATEBRUSHINDIRECT, {2, BS_SOLID, RGB(0, 255, 0), 0});
  w.Record(EMR_SELECTOBJECT, {2});
  w.Record(EMR_SAVEDC, {});
  w.Record(EMR_EXTSELECTCLIPRGN, {48, RGN_AND, 32, 3, 1, 16, 0, 0, 90, 90, 0, 0, 90, 90});
  w.Record(EMR_RECTANGLE, {10, 10, 60, 40});
  w.Record(EMR_ROUNDRECT, {5, 5, 90, 90, 20, 20});
  w.Record(EMR_ELLIPSE, {0, 0, 40, 40});
  w.Record(EMR_ARC, {0, 0, 40, 40, 40, 20, 20, 0});
  w.Record(EMR_CHORD, {0, 0, 40, 40, 40, 20, 20, 0});
  w.Record(EMR_RESTOREDC, {EmfWriter::I(-1)});
  w.Record(EMR_POLYGON16, {0, 0, 0, 0, 3, EmfWriter::Pt16(0, 0), EmfWriter::Pt16(50, 0), EmfWriter::Pt16(0, 50)});
  w.Record(EMR_POLYLINE, {0, 0, 0, 0, 2, 0, 0, 90, 90});
  w.Record(EMR_POLYBEZIER16, {0, 0, 0, 0, 4, EmfWriter::Pt16(0, 0), EmfWriter::Pt16(30, 90), EmfWriter::Pt16(60, -30),
                              EmfWriter::Pt16(90, 60)});
  w.Record(EMR_POLYPOLYGON, {0, 0, 0, 0, 2, 6, 3, 3, 0, 0, 9, 0, 0, 9, 20, 20, 29, 20, 20, 29});
  w.Record(EMR_MOVETOEX, {5, 80});
  w.Record(EMR_LINETO, {80, 5});
  std::vector<BYTE> face = metafile_test::Utf16(u"Arial");
  face.resize(64, 0);
  w.Record(EMR_EXTCREATEFONTINDIRECTW, {3, EmfWriter::I(-12), 0, 0, 0, 400, 0, 0}, face);
  w.Record(EMR_SELECTOBJECT, {3});
  w.Record(EMR_SETTEXTCOLOR, {RGB(255, 0, 0)});
  w.Record(EMR_SETTEXTALIGN, {TA_BASELINE | TA_CENTER});
  w.Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 40, 40, 2, 76, ETO_OPAQUE, 0, 0, 50, 50, 80},
           {'O', 0, 'K', 0, 7, 0, 0, 0, 7, 0, 0, 0});
  std::vector<BYTE> dib = metafile_test::Dib24({{RGB(1, 2, 3), RGB(200, 0, 0)}, {RGB(0, 200, 0), RGB(0, 0, 200)}});
  w.Record(EMR_STRETCHDIBITS,
           {0, 0, 0, 0, 50, 50, 0, 0, 2, 2, 80, 40, 120, static_cast<DWORD>(dib.size() - 40), DIB_RGB_COLORS, SRCCOPY,
            30, 30},
           dib);
  w.Record(EMR_DELETEOBJECT, {2});
  w.Record(EMR_SELECTOBJECT, {0x80000000u | GRAY_BRUSH});
  w.Record(EMR_FILLRGN, {0, 0, 0, 0, 48, 0x80000000u | BLACK_BRUSH, 32, 3, 1, 16, 0, 0, 9, 9, 0, 0, 9, 9});
  std::vector<BYTE> bytes = w.Finish({0, 0, 2540, 1270});
  return {bytes.begin(), bytes.end()};
}

// Every path record, with lines, curves and shapes recorded into paths.
std::string Paths() {
  EmfWriter w;
  w.Record(EMR_CREATEPEN, {1, PS_SOLID, 5, 0, RGB(0, 0, 255)});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_CREATEBRUSHINDIRECT, {2, BS_SOLID, RGB(0, 255, 0), 0});
  w.Record(EMR_SELECTOBJECT, {2});
  w.Record(EMR_SETPOLYFILLMODE, {WINDING});
  w.Record(EMR_BEGINPATH, {});
  w.Record(EMR_MOVETOEX, {40, 5});
  w.Record(EMR_POLYBEZIERTO16,
           {0, 0, 0, 0, 3, EmfWriter::Pt16(60, 5), EmfWriter::Pt16(75, 20), EmfWriter::Pt16(75, 40)});
  w.Record(EMR_POLYLINETO, {0, 0, 0, 0, 2, 40, 40, 5, 20});
  w.Record(EMR_LINETO, {40, 5});
  w.Record(EMR_CLOSEFIGURE, {});
  w.Record(EMR_RECTANGLE, {10, 10, 60, 40});
  w.Record(EMR_ELLIPSE, {0, 0, 40, 40});
  w.Record(EMR_ROUNDRECT, {5, 5, 90, 45, 20, 20});
  w.Record(EMR_ARCTO, {0, 0, 40, 40, 40, 20, 20, 0});
  w.Record(EMR_PIE, {50, 0, 90, 40, 90, 20, 70, 0});
  w.Record(EMR_POLYPOLYGON16,
           {0, 0, 0, 0, 2, 6, 3, 3, EmfWriter::Pt16(0, 0), EmfWriter::Pt16(9, 0), EmfWriter::Pt16(0, 9),
            EmfWriter::Pt16(20, 20), EmfWriter::Pt16(29, 20), EmfWriter::Pt16(20, 29)});
  w.Record(EMR_ENDPATH, {});
  w.Record(EMR_FLATTENPATH, {});
  w.Record(EMR_STROKEANDFILLPATH, {0, 0, 90, 45});
  w.Record(EMR_BEGINPATH, {});
  w.Record(EMR_POLYLINE16, {0, 0, 0, 0, 3, EmfWriter::Pt16(5, 40), EmfWriter::Pt16(45, 5), EmfWriter::Pt16(85, 40)});
  w.Record(EMR_ARC, {0, 0, 40, 40, 40, 20, 20, 0});
  w.Record(EMR_ENDPATH, {});
  w.Record(EMR_WIDENPATH, {});
  w.Record(EMR_FILLPATH, {0, 0, 90, 45});
  w.Record(EMR_BEGINPATH, {});
  w.Record(EMR_CHORD, {10, 0, 80, 45, 80, 20, 10, 20});
  w.Record(EMR_ENDPATH, {});
  w.Record(EMR_SELECTCLIPPATH, {RGN_AND});
  w.Record(EMR_BEGINPATH, {});
  w.Record(EMR_RECTANGLE, {0, 0, 20, 20});
  w.Record(EMR_ABORTPATH, {});
  w.Record(EMR_STROKEPATH, {0, 0, 90, 45});
  w.Record(EMR_RECTANGLE, {0, 0, 90, 45});
  std::vector<BYTE> bytes = w.Finish({0, 0, 2540, 1270});
  return {bytes.begin(), bytes.end()};
}

// A square over the frame, in the header of the frame and reference device given.
std::string Square(RECTL frame, const metafile_test::EmfReference& device) {
  EmfWriter w;
  w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(200, 0, 0), 0});
  w.Record(EMR_SELECTOBJECT, {1});
  w.Record(EMR_RECTANGLE, {0, 0, 100, 100});
  std::vector<BYTE> bytes = w.Finish(frame, device);
  return {bytes.begin(), bytes.end()};
}

}  // namespace

// Beside the drawings: the 108-byte header with the reference device in micrometres, and a frame
// that declares a picture millions of pixels wide.
std::vector<Seed> Seeds() {
  return {{"plain.emf", Drawing(false)},
          {"mapped.emf", Drawing(true)},
          {"paths.emf", Paths()},
          {"micrometres.emf", Square({0, 0, 4993, 2347}, {.bounds = {0, 0, 188, 88},
                                                          .pixels = {189, 89},
                                                          .millimetres = {49, 23},
                                                          .micrometres = {49940, 23480}})},
          {"far_left_frame.emf", Square({-117440512, 0, 2540, 1270}, {.millimetres = {0, 65278}})}};
}

}  // namespace fuzz_seeds
