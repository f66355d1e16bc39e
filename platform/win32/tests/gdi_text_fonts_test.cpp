// Font handles through the DC: GetObject, the face name, metrics, stock fonts, enumeration.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "gdi/font_object.h"
#include "gdi_text_canvas.h"

namespace {

TEST(FontHandles, GetObjectGivesBackTheLogicalFont) {
  HFONT font = CreateFontA(-13, 0, 900, 0, FW_BOLD, 1, 0, 1, ANSI_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                           PROOF_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  EXPECT_EQ(GetObject(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
  EXPECT_EQ(GetObject(font, 0, nullptr), static_cast<int>(sizeof lf));
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfEscapement, 900);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(lf.lfStrikeOut, 1);
  EXPECT_EQ(lf.lfOutPrecision, OUT_TT_ONLY_PRECIS);
  EXPECT_EQ(lf.lfPitchAndFamily, VARIABLE_PITCH | FF_SWISS);
  EXPECT_STREQ(lf.lfFaceName, "Arial");
  EXPECT_EQ(GetObjectType(font), OBJ_FONT);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);

  LOGFONTA stock{};
  EXPECT_EQ(fonts::CreateStockFont(DEFAULT_GUI_FONT)->Describe(sizeof stock, &stock), static_cast<int>(sizeof stock));
  EXPECT_STREQ(stock.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(stock.lfHeight, -11);
}

TEST(FontHandles, TheDcReportsTheSelectedFont) {
  TextCanvas canvas(10, 10);
  struct Case {
    const char* requested;
    LONG height;
    std::string face;
  };
  const Case cases[] = {
      {"Arial", -11, "Arial"}, {"courier new", 12, "Courier New"}, {"DejaVu Serif", -20, "DejaVu Serif"}};
  for (const Case& c : cases) {
    SelectedFont font(canvas.dc(), c.requested, c.height);
    char face[LF_FACESIZE] = {};
    EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof face, face), static_cast<int>(c.face.size()) + 1);
    EXPECT_EQ(face, c.face);
    TEXTMETRICA tm{};
    ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &tm));
    EXPECT_EQ(c.height < 0 ? tm.tmHeight - tm.tmInternalLeading : tm.tmHeight, c.height < 0 ? -c.height : c.height);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "", 0, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, tm.tmHeight);
  }
  char cut[4] = {};
  SelectedFont font(canvas.dc(), "Arial", -11);
  EXPECT_EQ(GetTextFaceA(canvas.dc(), sizeof cut, cut), 4);
  EXPECT_STREQ(cut, "Ari");
  // A new DC has the System font.
  TextCanvas fresh(10, 10);
  char face[LF_FACESIZE] = {};
  GetTextFaceA(fresh.dc(), sizeof face, face);
  EXPECT_STREQ(face, "System");
}

struct Seen {
  std::map<std::string, std::pair<DWORD, BYTE>> families;  // name: FontType, tmPitchAndFamily
  std::vector<std::string> styles;
  int stopAfter = -1;
};

int Record(const LOGFONTA* lf, const TEXTMETRICA* tm, DWORD type, LPARAM param) {
  auto* seen = reinterpret_cast<Seen*>(param);
  const auto* elf = reinterpret_cast<const ENUMLOGFONTA*>(lf);
  seen->families[lf->lfFaceName] = {type, tm->tmPitchAndFamily};
  seen->styles.push_back(reinterpret_cast<const char*>(elf->elfStyle));
  return seen->stopAfter < 0 || static_cast<int>(seen->styles.size()) < seen->stopAfter;
}

TEST(FontEnumeration, ListsTheInstalledAndTheWindowsFamilies) {
  TextCanvas canvas(10, 10);
  Seen seen;
  EXPECT_EQ(EnumFontFamiliesA(canvas.dc(), nullptr, Record, reinterpret_cast<LPARAM>(&seen)), 1);
  struct Case {
    const char* family;
    DWORD type;
    BYTE bits;
  };
  const Case cases[] = {
      {"Liberation Sans", TRUETYPE_FONTTYPE, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS},
      {"Liberation Serif", TRUETYPE_FONTTYPE, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_ROMAN},
      {"Liberation Mono", TRUETYPE_FONTTYPE, TMPF_VECTOR | TMPF_TRUETYPE | FF_MODERN},
      {"DejaVu Sans", TRUETYPE_FONTTYPE, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS},
      {"Arial", TRUETYPE_FONTTYPE, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS},
      {"Times New Roman", TRUETYPE_FONTTYPE, TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_ROMAN},
      {"Courier New", TRUETYPE_FONTTYPE, TMPF_VECTOR | TMPF_TRUETYPE | FF_MODERN},
      {"MS Sans Serif", RASTER_FONTTYPE, TMPF_FIXED_PITCH | FF_SWISS},
  };
  for (const Case& c : cases) {
    auto it = seen.families.find(c.family);
    ASSERT_NE(it, seen.families.end()) << c.family;
    EXPECT_EQ(it->second.first, c.type) << c.family;
    EXPECT_EQ(it->second.second, c.bits) << c.family;
  }
  EXPECT_EQ(seen.styles.size(), seen.families.size());  // one call per family

  Seen styles;
  EnumFontFamiliesA(canvas.dc(), "Liberation Sans", Record, reinterpret_cast<LPARAM>(&styles));
  EXPECT_EQ(styles.styles, (std::vector<std::string>{"Regular", "Italic", "Bold", "Bold Italic"}));

  Seen stopped;
  stopped.stopAfter = 2;
  EXPECT_EQ(EnumFontFamiliesA(canvas.dc(), nullptr, Record, reinterpret_cast<LPARAM>(&stopped)), 0);
  EXPECT_EQ(stopped.styles.size(), 2u);

  Seen ex;
  LOGFONTA all{};
  all.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(canvas.dc(), &all, Record, reinterpret_cast<LPARAM>(&ex), 0);
  EXPECT_EQ(ex.families, seen.families);
}

}  // namespace
