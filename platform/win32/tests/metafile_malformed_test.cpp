// Hostile metafiles: broken record structure is refused when the handle is made; records whose
// contents do not fit (counts, object indexes, bitmaps) are skipped and the play reports FALSE.
#include <gtest/gtest.h>

#include <functional>

#include "gdi_test_helpers.h"
#include "win32/metafile.h"
#include "win32/testing/metafile_writer.h"

using namespace metafile_test;

namespace {

const RECTL kFrame{0, 0, 2540, 2540};

HENHMETAFILE LoadEmf(const std::vector<BYTE>& b) { return SetEnhMetaFileBits(static_cast<UINT>(b.size()), b.data()); }
HENHMETAFILE LoadWmf(const std::vector<BYTE>& b) {
  METAFILEPICT pict{MM_ANISOTROPIC, 2540, 2540, nullptr};
  return SetWinMetaFileBits(static_cast<UINT>(b.size()), b.data(), nullptr, &pict);
}

struct Case {
  const char* name;
  std::function<HENHMETAFILE()> load;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

std::string Name(const char* text) {
  std::string name;
  for (const char* c = text; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

std::vector<BYTE> EmfWith(const std::function<void(EmfWriter&)>& records) {
  EmfWriter w;
  records(w);
  return w.Finish(kFrame);
}
std::vector<BYTE> WmfWith(const std::function<void(WmfWriter&)>& records) {
  WmfWriter w;
  records(w);
  return w.Finish();
}

const Case kRefused[] = {
    {"emf shorter than its header",
     [] {
       auto b = EmfWith([](EmfWriter&) {});
       b.resize(60);
       return LoadEmf(b);
     }},
    {"emf without the signature",
     [] {
       auto b = EmfWith([](EmfWriter&) {});
       b[40] = 'X';
       return LoadEmf(b);
     }},
    {"emf record of size zero",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) {
            w.Raw({43, 0, 0, 0, 0, 0, 0, 0});
          })); }},
    {"emf record of a size not a multiple of four",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) {
            w.Raw({43, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0});
          })); }},
    {"emf record running past the end",
     [] {
       auto b = EmfWith([](EmfWriter& w) { w.Record(EMR_RECTANGLE, {0, 0, 10, 10}); });
       b.resize(88 + 12);  // cut inside the rectangle
       return LoadEmf(b);
     }},
    {"wmf record of size zero", [] { return LoadWmf(WmfWith([](WmfWriter& w) {
                                       w.Raw({0, 0, 0, 0, 0x1B, 0x04});
                                     })); }},
    {"wmf record running past the end",
     [] {
       auto b = WmfWith([](WmfWriter& w) { w.Record(META_RECTANGLE, {10, 10, 0, 0}); });
       b.resize(18 + 8);
       return LoadWmf(b);
     }},
    {"wmf with a wrong header size",
     [] {
       auto b = WmfWith([](WmfWriter&) {});
       b[2] = 8;
       return LoadWmf(b);
     }},
    {"wmf without a picture size nor window",
     [] {
       auto b = WmfWith([](WmfWriter&) {});
       return SetWinMetaFileBits(static_cast<UINT>(b.size()), b.data(), nullptr, nullptr);
     }},
};

class MetafileRefused : public testing::TestWithParam<Case> {};
TEST_P(MetafileRefused, GivesNoHandle) { EXPECT_EQ(GetParam().load(), nullptr); }
INSTANTIATE_TEST_SUITE_P(Structure, MetafileRefused, testing::ValuesIn(kRefused),
                         [](const auto& test) { return Name(test.param.name); });

std::vector<BYTE> DibWithShortBits() {
  std::vector<BYTE> dib = Dib24({{RGB(1, 2, 3), RGB(4, 5, 6)}, {RGB(7, 8, 9), RGB(1, 1, 1)}});
  dib.resize(dib.size() - 4);
  return dib;
}

const Case kMalformed[] = {
    {"emf object index beyond the table",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_SELECTOBJECT, {99}); })); }},
    {"emf object made at index zero",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) {
            w.Record(EMR_CREATEBRUSHINDIRECT, {0, BS_SOLID, 0, 0});
          })); }},
    {"emf selecting an empty slot",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_SELECTOBJECT, {3}); })); }},
    {"emf unknown stock object",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_SELECTOBJECT, {0x80000000u | 40}); })); }},
    {"emf deleting beyond the table",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_DELETEOBJECT, {0xFFFF}); })); }},
    {"emf polygon with a huge count",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_POLYGON, {0, 0, 0, 0, 0xFFFFFFFF, 1, 2, 3, 4, 5, 6}); }));
     }},
    {"emf poly-polygon counts beyond the points",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_POLYPOLYGON16, {0, 0, 0, 0, 2, 3, 2, 0x7FFFFFFF, 1, 2, 3});
       }));
     }},
    {"emf text longer than its record",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 1, 1, 0x40000000, 76, 0, 0, 0, 0, 0, 0});
       }));
     }},
    {"emf text spacing outside the record",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_EXTTEXTOUTA, {0, 0, 0, 0, 1, 0, 0, 1, 1, 1, 76, 0, 0, 0, 0, 0, 0xFFFFFFF0}, {'A'});
       }));
     }},
    {"emf dib with too few scan lines",
     [] {
       std::vector<BYTE> dib = DibWithShortBits();
       return LoadEmf(EmfWith([&](EmfWriter& w) {
         w.Record(EMR_STRETCHDIBITS, {0, 0, 4, 4, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, DIB_RGB_COLORS, SRCCOPY, 4, 4},
                  dib);
       }));
     }},
    {"emf dib header beyond the record",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_STRETCHDIBITS,
                  {0, 0, 4, 4, 0, 0, 0, 0, 2, 2, 0xFFFFFFF0, 40, 80, 16, DIB_RGB_COLORS, SRCCOPY, 4, 4});
       }));
     }},
    {"emf clip region with more rectangles than data",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_EXTSELECTCLIPRGN, {48, RGN_COPY, 32, 3, 0x10000000, 0, 0, 0, 0, 0});
       }));
     }},
    {"emf world transform not finite",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_SETWORLDTRANSFORM, {0x7F800000, 0, 0, 0x7FC00000, 0, 0});
       }));
     }},
    {"emf record shorter than its fields",
     [] { return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_RECTANGLE, {1}); })); }},
    {"emf path beyond its point bound",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_BEGINPATH, {});
         for (int i = 0; i < 130; ++i) w.Record(EMR_ELLIPSE, {0, 0, 10000000, 10000000});  // 2048 points each
         w.Record(EMR_ENDPATH, {});
         w.Record(EMR_FILLPATH, {0, 0, 0, 0});
       }));
     }},
    {"emf polygon zigzagging across every row too often",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         std::vector<DWORD> v{0, 0, 0, 0, 60000};
         for (int i = 0; i < 60000; ++i) v.push_back(EmfWriter::Pt16(i % 96, i % 2 ? 2000 : -2000));
         w.Record(EMR_POLYGON16, v);
       }));
     }},
    {"emf clip path with an unknown mode",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_BEGINPATH, {});
         w.Record(EMR_RECTANGLE, {0, 0, 5, 5});
         w.Record(EMR_ENDPATH, {});
         w.Record(EMR_SELECTCLIPPATH, {9});
       }));
     }},
    {"emf clip path record without its mode",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) {
         w.Record(EMR_BEGINPATH, {});
         w.Record(EMR_RECTANGLE, {0, 0, 5, 5});
         w.Record(EMR_ENDPATH, {});
         w.Record(EMR_SELECTCLIPPATH, {});
       }));
     }},
    {"emf bezier-to with more points than data",
     [] {
       return LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_POLYBEZIERTO16, {0, 0, 0, 0, 0x40000000, 1, 2, 3}); }));
     }},
    {"wmf object index beyond the table",
     [] { return LoadWmf(WmfWith([](WmfWriter& w) { w.Record(META_SELECTOBJECT, {50}); })); }},
    {"wmf more objects than slots",
     [] {
       return LoadWmf(WmfWith([](WmfWriter& w) {
         for (int i = 0; i < 9; ++i) w.Record(META_CREATEBRUSHINDIRECT, {BS_SOLID, 0, 0, 0});
       }));
     }},
    {"wmf polygon with more points than data",
     [] { return LoadWmf(WmfWith([](WmfWriter& w) {
            w.Record(META_POLYGON, {30000, 1, 2, 3, 4});
          })); }},
    {"wmf poly-polygon counts beyond the data",
     [] { return LoadWmf(WmfWith([](WmfWriter& w) {
            w.Record(META_POLYPOLYGON, {0xFFFF, 3});
          })); }},
    {"wmf text longer than its record",
     [] { return LoadWmf(WmfWith([](WmfWriter& w) {
            w.Record(META_TEXTOUT, {500, 0x4141});
          })); }},
    {"wmf dib with too few scan lines",
     [] {
       return LoadWmf(WmfWith([](WmfWriter& w) {
         auto rop = WmfWriter::Dword(SRCCOPY);
         w.Record(META_STRETCHDIB, {rop[0], rop[1], DIB_RGB_COLORS, 2, 2, 0, 0, 4, 4, 0, 0}, DibWithShortBits());
       }));
     }},
    {"wmf window scaled by zero",
     [] { return LoadWmf(WmfWith([](WmfWriter& w) {
            w.Record(META_SCALEWINDOWEXT, {0, 1, 1, 1});
          })); }},
    {"wmf region with scans beyond the data",
     [] {
       return LoadWmf(WmfWith([](WmfWriter& w) {
         w.Record(META_CREATEREGION, {0, 6, 0, 0, 0, 0x7FFF, 0, 0, 0, 10, 10, 2, 0, 10});
       }));
     }},
};

class MetafileMalformed : public testing::TestWithParam<Case> {};
TEST_P(MetafileMalformed, PlaysTheRestAndReportsFalse) {
  HENHMETAFILE mf = GetParam().load();
  ASSERT_NE(mf, nullptr);
  gdi_test::Canvas canvas(16, 16, 32);
  RECT r{0, 0, 16, 16};
  EXPECT_FALSE(PlayEnhMetaFile(canvas.dc, mf, &r));
  DeleteEnhMetaFile(mf);
}
INSTANTIATE_TEST_SUITE_P(Records, MetafileMalformed, testing::ValuesIn(kMalformed),
                         [](const auto& test) { return Name(test.param.name); });

TEST(MetafileMalformed, WellFormedPlaysTrue) {
  HENHMETAFILE mf = LoadEmf(EmfWith([](EmfWriter& w) { w.Record(EMR_RECTANGLE, {0, 0, 5, 5}); }));
  gdi_test::Canvas canvas(16, 16, 32);
  RECT r{0, 0, 16, 16};
  EXPECT_TRUE(PlayEnhMetaFile(canvas.dc, mf, &r));
  DeleteEnhMetaFile(mf);
}

TEST(MetafileHeader, EnhancedKeepsItsFrameAndWindowsFormatGetsOne) {
  HENHMETAFILE emf = LoadEmf(EmfWith([](EmfWriter&) {}));
  ENHMETAHEADER h{};
  EXPECT_EQ(GetEnhMetaFileHeader(emf, 0, nullptr), sizeof h);
  ASSERT_EQ(GetEnhMetaFileHeader(emf, sizeof h, &h), sizeof h);
  EXPECT_EQ(h.rclFrame.right, 2540);
  DeleteEnhMetaFile(emf);

  // Without a picture size, the window extent is the size in screen pixels.
  WmfWriter w;
  w.Record(META_SETWINDOWEXT, {48, 192});
  auto b = w.Finish();
  HENHMETAFILE wmf = SetWinMetaFileBits(static_cast<UINT>(b.size()), b.data(), nullptr, nullptr);
  ASSERT_EQ(GetEnhMetaFileHeader(wmf, sizeof h, &h), sizeof h);
  EXPECT_EQ(h.rclFrame.right, 5080);
  EXPECT_EQ(h.rclFrame.bottom, 1270);
  EXPECT_EQ(GetObjectType(wmf), OBJ_ENHMETAFILE);
  EXPECT_TRUE(DeleteEnhMetaFile(wmf));
  EXPECT_FALSE(DeleteEnhMetaFile(wmf));
}

}  // namespace
