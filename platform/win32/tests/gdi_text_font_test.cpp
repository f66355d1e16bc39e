// Faces found for logical fonts, and the metrics they report.
#include <gtest/gtest.h>

#include <cstring>

#include "gdi/font_face.h"
#include "gdi/font_match.h"

namespace {

LOGFONTA Font(const char* face, LONG height, LONG weight = FW_NORMAL, BYTE italic = 0) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

TEST(FontMatch, WindowsNamesFindTheirSubstitutes) {
  struct Case {
    const char* face;
    BYTE pitchAndFamily;
    std::string family;
  };
  const Case cases[] = {
      {"Arial", 0, "Liberation Sans"},
      {"arial", 0, "Liberation Sans"},
      {"Times New Roman", 0, "Liberation Serif"},
      {"Courier New", 0, "Liberation Mono"},
      {"MS Sans Serif", 0, "Liberation Sans"},
      {"System", 0, "Liberation Sans"},
      {"", 0, "Liberation Sans"},
      {"", FIXED_PITCH | FF_MODERN, "Liberation Mono"},
      {"", VARIABLE_PITCH | FF_ROMAN, "Liberation Serif"},
      {"DejaVu Serif", 0, "DejaVu Serif"},
  };
  std::lock_guard lock(fonts::EngineMutex());
  for (const Case& c : cases) {
    const fonts::MatchedFace face = fonts::MatchFace(c.face, c.pitchAndFamily, FW_NORMAL, false);
    EXPECT_EQ(face.family, c.family) << c.face;
    EXPECT_FALSE(face.file.empty()) << c.face;
  }
  // Names nothing stands for still draw with some installed face.
  for (const char* unknown : {"Wingdings", "No Such Face At All"})
    EXPECT_FALSE(fonts::MatchFace(unknown, 0, FW_NORMAL, false).file.empty()) << unknown;
}

TEST(FontMatch, StylesPickTheStyledFaces) {
  std::lock_guard lock(fonts::EngineMutex());
  const fonts::MatchedFace bold = fonts::MatchFace("Arial", 0, FW_BOLD, false);
  EXPECT_GE(bold.weight, FW_BOLD);
  EXPECT_FALSE(bold.italic);
  const fonts::MatchedFace italic = fonts::MatchFace("Times New Roman", 0, FW_NORMAL, true);
  EXPECT_TRUE(italic.italic);
  EXPECT_LT(italic.weight, FW_SEMIBOLD);
}

TEST(FontFace, MetricsAddUpForBothKindsOfHeight) {
  std::lock_guard lock(fonts::EngineMutex());
  for (const char* face : {"Arial", "Times New Roman", "Courier New", "MS Sans Serif", "DejaVu Sans"}) {
    for (LONG height : {-8, -11, -13, -16, -24, -72}) {
      const auto emFace = fonts::FontFace::For(Font(face, height));
      const TEXTMETRICA& em = emFace->Metrics();
      EXPECT_EQ(em.tmHeight, em.tmAscent + em.tmDescent) << face << height;
      EXPECT_EQ(em.tmHeight - em.tmInternalLeading, -height) << face << height;
      EXPECT_GT(em.tmAveCharWidth, 0) << face << height;
      EXPECT_GE(em.tmMaxCharWidth, em.tmAveCharWidth) << face << height;

      const auto cellFace = fonts::FontFace::For(Font(face, -height));
      const TEXTMETRICA& cell = cellFace->Metrics();
      EXPECT_EQ(cell.tmHeight, -height) << face << -height;
      EXPECT_EQ(cell.tmHeight, cell.tmAscent + cell.tmDescent) << face << -height;
      EXPECT_LE(cell.tmHeight, em.tmHeight) << face << height;
    }
  }
}

TEST(FontFace, ArialReportsTheMetricsOfWindows) {
  std::lock_guard lock(fonts::EngineMutex());
  // Arial at 8 points is 5 pixels wide on average (the weighted average of lower case), where a
  // plain mean over the substitute's glyphs would give 6.
  const auto face = fonts::FontFace::For(Font("Arial", -11));
  const TEXTMETRICA& m = face->Metrics();
  EXPECT_EQ(m.tmAveCharWidth, 5);
  EXPECT_EQ(m.tmWeight, FW_NORMAL);
  EXPECT_EQ(m.tmCharSet, ANSI_CHARSET);
}

TEST(FontFace, PitchAndFamilyBitsFollowWindows) {
  struct Case {
    const char* face;
    BYTE bits;
  };
  const Case cases[] = {
      {"Arial", TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_SWISS},
      {"Times New Roman", TMPF_FIXED_PITCH | TMPF_VECTOR | TMPF_TRUETYPE | FF_ROMAN},
      {"Courier New", TMPF_VECTOR | TMPF_TRUETYPE | FF_MODERN},  // fixed pitch: the bit is clear
      {"MS Sans Serif", TMPF_FIXED_PITCH | FF_SWISS},  // a raster font on Windows 95
      {"System", TMPF_FIXED_PITCH | FF_SWISS},
  };
  std::lock_guard lock(fonts::EngineMutex());
  for (const Case& c : cases) {
    auto face = fonts::FontFace::For(Font(c.face, -13));
    EXPECT_EQ(face->Metrics().tmPitchAndFamily, c.bits) << c.face;
    EXPECT_EQ(face->FaceName(), c.face);
  }
}

TEST(FontFace, GlyphsAreOneBitAndBoldIsWider) {
  std::lock_guard lock(fonts::EngineMutex());
  auto regular = fonts::FontFace::For(Font("Arial", -20));
  auto bold = fonts::FontFace::For(Font("Arial", -20, FW_BOLD));
  auto rasterBold = fonts::FontFace::For(Font("MS Sans Serif", -20, FW_BOLD));
  const fonts::Glyph& w = regular->GlyphOf(U'W');
  ASSERT_FALSE(w.ink.empty());
  for (std::uint8_t v : w.ink) ASSERT_LE(v, 1);
  auto width = [](fonts::FontFace& f) {
    int sum = 0;
    for (char32_t c : std::u32string_view(U"abcdefgh")) sum += f.Advance(c);
    return sum;
  };
  EXPECT_GT(width(*bold), width(*regular));
  EXPECT_GT(width(*rasterBold), width(*regular));
  EXPECT_EQ(rasterBold->Metrics().tmWeight, FW_BOLD);
  EXPECT_EQ(regular->Advance(U'\r'), 0);  // control characters take no room
  EXPECT_EQ(regular->Advance(U'\t'), 0);
}

TEST(FontFace, EscapementTurnsTheGlyphsButNotTheirAdvance) {
  std::lock_guard lock(fonts::EngineMutex());
  LOGFONTA lf = Font("Arial", -30);
  auto upright = fonts::FontFace::For(lf);
  lf.lfEscapement = 900;
  auto turned = fonts::FontFace::For(lf);
  const fonts::Glyph& a = upright->GlyphOf(U'l');
  const fonts::Glyph& b = turned->GlyphOf(U'l');
  EXPECT_EQ(turned->Advance(U'l'), upright->Advance(U'l'));
  EXPECT_GT(a.height, a.width);  // a tall stroke ...
  EXPECT_GT(b.width, b.height);  // ... lies on its side
  EXPECT_EQ(turned->Metrics().tmHeight, upright->Metrics().tmHeight);
}

TEST(FontFace, HostileSizesAreBounded) {
  std::lock_guard lock(fonts::EngineMutex());
  EXPECT_LE(fonts::FontFace::For(Font("Arial", -2000000000))->Metrics().tmHeight, 1200);
  EXPECT_GT(fonts::FontFace::For(Font("Arial", 0))->Metrics().tmHeight, 0);
}

}  // namespace
