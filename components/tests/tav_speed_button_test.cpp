// The speed button: glyph counts and the shared glyph cache, the Down and group rules, the mouse,
// the etched disabled glyph and the layout of glyph and caption.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/tav_speed_button.h"
#include "pixel_rows.h"

namespace {

// A strip of `count` square images of side h on olive, each with a black pixel at (1, 1).
std::unique_ptr<TBitmap> Strip(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetWidth(w);
  b->SetHeight(h);
  b->Canvas()->Brush()->SetColor(clOlive);
  b->Canvas()->FillRect({0, 0, w, h});
  for (int x = 1; x < w; x += h) b->Canvas()->SetPixels(x, 1, clBlack);
  return b;
}

class SpeedButtonTest : public ComponentTest {
 protected:
  TTavSpeedButton* button_ = Make<TTavSpeedButton>(10, 10, 40, 30);
};

TEST_F(SpeedButtonTest, GlyphWidthDecidesTheImageCount) {
  auto four = Strip(64, 16), five = Strip(80, 16), odd = Strip(20, 16);
  button_->SetGlyph(four.get());
  EXPECT_EQ(button_->NumGlyphs(), 4);
  button_->SetGlyph(five.get());  // 5 would exceed 4
  EXPECT_EQ(button_->NumGlyphs(), 1);
  button_->SetNumGlyphs(2);
  button_->SetGlyph(odd.get());  // not a whole multiple: the count stays
  EXPECT_EQ(button_->NumGlyphs(), 2);
  button_->SetNumGlyphs(7);
  EXPECT_EQ(button_->NumGlyphs(), 4);
}

TEST_F(SpeedButtonTest, PropertyWritersKeepTheirRules) {
  button_->SetMargin(-2);
  EXPECT_EQ(button_->Margin(), -1);
  button_->SetMargin(3);
  EXPECT_EQ(button_->Margin(), 3);
  button_->SetDown(true);  // an ungrouped button never stays down
  EXPECT_FALSE(button_->Down());
  button_->SetGroupIndex(1);
  button_->SetDown(true);
  EXPECT_TRUE(button_->Down());
  EXPECT_EQ(button_->State(), bsExclusive);
  button_->SetDown(false);  // not without AllowAllUp
  EXPECT_TRUE(button_->Down());
  button_->SetAllowAllUp(true);
  button_->SetDown(false);
  EXPECT_FALSE(button_->Down());
  EXPECT_EQ(button_->State(), bsUp);
}

TEST_F(SpeedButtonTest, GroupedButtonsExcludeEachOtherAndShareAllowAllUp) {
  auto* other = Make<TTavSpeedButton>(60, 10, 40, 30);
  button_->SetGroupIndex(3);
  other->SetGroupIndex(3);
  button_->SetDown(true);
  other->SetAllowAllUp(true);  // announced to the group
  EXPECT_TRUE(button_->AllowAllUp());
  other->SetDown(true);
  EXPECT_TRUE(other->Down());
  EXPECT_FALSE(button_->Down());
  EXPECT_EQ(button_->State(), bsUp);
}

TEST_F(SpeedButtonTest, ClicksOnlyForAReleaseInsideAndGroupedDownStaysExclusiveOutside) {
  ShowForm();
  int clicks = 0;
  button_->OnClick = [&](TObject*) { ++clicks; };
  Press(button_, 5, 5, true);
  EXPECT_EQ(button_->State(), bsDown);
  Move(button_, 60, 5);
  EXPECT_EQ(button_->State(), bsUp);
  Press(button_, 60, 5, false);
  EXPECT_EQ(clicks, 0);
  Click(button_, 5, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(button_->Down());

  button_->SetGroupIndex(2);
  Click(button_, 5, 5);
  EXPECT_TRUE(button_->Down());
  EXPECT_EQ(button_->State(), bsExclusive);
  Press(button_, 5, 5, true);
  Move(button_, 100, 100);
  Press(button_, 100, 100, false);
  EXPECT_TRUE(button_->Down());
  EXPECT_EQ(button_->State(), bsExclusive);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SpeedButtonTest, DisabledButtonsRefuseTheirHint) {
  EXPECT_EQ(button_->Perform(CM_HINTSHOW, 0, 0), 0);
  button_->SetEnabled(false);
  EXPECT_EQ(button_->Perform(CM_HINTSHOW, 0, 0), 1);
}

TEST_F(SpeedButtonTest, GlyphImagesShareOneListPerSizeAndReuseFreedSlots) {
  auto glyph = Strip(16, 16);
  auto* second = Make<TTavSpeedButton>(60, 10, 40, 30);
  button_->SetGlyph(glyph.get());
  second->SetGlyph(glyph.get());
  const int a = button_->ButtonGlyph()->ImageIndex(bsUp);
  const int b = second->ButtonGlyph()->ImageIndex(bsUp);
  ASSERT_NE(GlyphCache(), nullptr);
  EXPECT_EQ(button_->ButtonGlyph()->GlyphList(), second->ButtonGlyph()->GlyphList());
  EXPECT_NE(a, b);
  EXPECT_EQ(GlyphCache()->ListCount(), 1);
  // The down image is the up image while there are fewer than 3.
  EXPECT_EQ(button_->ButtonGlyph()->ImageIndex(bsDown), a);
  TGlyphList* list = button_->ButtonGlyph()->GlyphList();
  EXPECT_EQ(list->UsedCount(), 2);
  button_->ButtonGlyph()->Invalidate();
  EXPECT_EQ(list->UsedCount(), 1);
  // The freed slot is taken again, and the list keeps its length.
  EXPECT_EQ(button_->ButtonGlyph()->ImageIndex(bsUp), a);
  EXPECT_EQ(list->Count(), 2);
  // Another size gets a list of its own; the last user of a list frees it.
  auto big = Strip(20, 20);
  second->SetGlyph(big.get());
  second->ButtonGlyph()->ImageIndex(bsUp);
  EXPECT_EQ(GlyphCache()->ListCount(), 2);
  button_->SetGlyph(nullptr);
  EXPECT_EQ(GlyphCache()->ListCount(), 1);
}

TEST_F(SpeedButtonTest, TheCacheGoesWithTheLastGlyph) {
  auto glyph = Strip(16, 16);
  {
    TTavSpeedButton alone(nullptr);
    alone.SetGlyph(glyph.get());
    alone.ButtonGlyph()->ImageIndex(bsUp);
    EXPECT_NE(GlyphCache(), nullptr);
  }
  delete button_;
  EXPECT_EQ(GlyphCache(), nullptr);
  button_ = nullptr;
}

TEST_F(SpeedButtonTest, OneImageDisabledGlyphIsEtched) {
  auto glyph = Background(6, 4);
  glyph->Canvas()->Brush()->SetColor(clOlive);
  glyph->Canvas()->FillRect({0, 0, 6, 4});
  glyph->Canvas()->SetPixels(1, 1, clRed);
  glyph->Canvas()->SetPixels(2, 1, clRed);
  button_->SetGlyph(glyph.get());
  TButtonGlyph* g = button_->ButtonGlyph();
  const int index = g->ImageIndex(bsDisabled);
  auto out = Background(6, 4);
  g->GlyphList()->Draw(out->Canvas(), 0, 0, index);
  // Grey where the glyph is, white one pixel down and right of it, the face elsewhere.
  EXPECT_EQ(Rows(out->Canvas(), 0, 0, 6, 4), (std::vector<std::string>{"ffffff", "fssfff", "ffhhff", "ffffff"}));
  // Two or more images: the second part is the disabled one.
  auto two = Strip(8, 4);
  two->Canvas()->SetPixels(5, 2, clBlue);
  button_->SetGlyph(two.get());
  EXPECT_EQ(button_->NumGlyphs(), 2);
  auto out2 = Background(4, 4);
  const int second = button_->ButtonGlyph()->ImageIndex(bsDisabled);
  button_->ButtonGlyph()->GlyphList()->Draw(out2->Canvas(), 0, 0, second);
  EXPECT_EQ(Rows(out2->Canvas(), 0, 0, 4, 4), (std::vector<std::string>{"ffff", "fkff", "fbff", "ffff"}));
}

struct LayoutCase {
  TButtonLayout layout;
  int margin, spacing;
  int glyphX, glyphY, textX;
};

TEST_F(SpeedButtonTest, LayoutTakesMarginAndSpacingAsGiven) {
  auto glyph = Strip(10, 10);
  button_->SetGlyph(glyph.get());
  TBitmap canvasOwner;
  canvasOwner.SetWidth(1);
  canvasOwner.SetHeight(1);
  TCanvas* c = canvasOwner.Canvas();
  RECT probe{0, 0, 100, 0};
  DrawTextA(c->Handle(), "Ab", 2, &probe, DT_CALCRECT);
  const int tw = probe.right;
  const int L = 100;
  const std::vector<LayoutCase> cases = {
      {blGlyphLeft, -1, -1, (L - (10 + tw)) / 3, 20, 2 * ((L - (10 + tw)) / 3) + 10},
      {blGlyphLeft, -1, 4, L / 2 - (10 + 4 + tw) / 2, 20, L / 2 - (10 + 4 + tw) / 2 + 14},
      {blGlyphLeft, 5, -1, 5, 20, 5 + 10 + ((L - 5 - 10) / 2 - tw / 2)},
      {blGlyphLeft, 5, 7, 5, 20, 22},
      {blGlyphRight, 5, 7, L - 15, 20, L - 15 - 7 - tw},
  };
  for (const LayoutCase& k : cases) {
    TPoint g{};
    TRect t{};
    button_->ButtonGlyph()->CalcLayout(c, {0, 0, L, 50}, "Ab", k.layout, k.margin, k.spacing, g, t);
    EXPECT_EQ(g.x, k.glyphX) << k.margin << " " << k.spacing;
    EXPECT_EQ(g.y, k.glyphY);
    EXPECT_EQ(t.left, k.textX) << k.margin << " " << k.spacing;
  }
}

TEST_F(SpeedButtonTest, FacesOfEachLook) {
  button_->SetBounds(10, 10, 10, 8);
  ShowForm();
  auto rows = [&] {
    const host::Image shot = Shot(button_);
    TBitmap b;
    b.SetWidth(shot.width);
    b.SetHeight(shot.height);
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) {
        const std::uint32_t p = shot.At(x, y);
        b.Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF)));
      }
    return Rows(b.Canvas(), 0, 0, shot.width, shot.height);
  };
  using Rows = std::vector<std::string>;
  // Raised: highlight and the bevel colour, then face and shadow.
  EXPECT_EQ(rows(), (Rows{"hhhhhhhhhk", "hfffffffsk", "hfffffffsk", "hfffffffsk", "hfffffffsk", "hfffffffsk",
                          "hssssssssk", "kkkkkkkkkk"}));
  button_->SetBevelStyle(bsLowered);
  EXPECT_EQ(rows(), (Rows{"kkkkkkkkkh", "khhhhhhhkh", "khffffffkh", "khffffffkh", "khffffffkh", "khffffffkh",
                          "khkkkkkkkh", "fhhhhhhhhh"}));
  // Held down: the bevel colour and highlight, then shadow and face.
  Press(button_, 3, 3, true);
  EXPECT_EQ(rows(), (Rows{"kkkkkkkkkh", "ksssssssfh", "ksfffffffh", "ksfffffffh", "ksfffffffh", "ksfffffffh",
                          "kffffffffh", "hhhhhhhhhh"}));
  Press(button_, 3, 3, false);
}

}  // namespace

namespace {

TEST_F(SpeedButtonTest, AcceleratorClicksAndDoubleClicksCountOnlyWhileDown) {
  ShowForm();
  int clicks = 0, doubles = 0;
  button_->OnClick = [&](TObject*) { ++clicks; };
  button_->OnDblClick = [&](TObject*) { ++doubles; };
  button_->SetCaption("&Go");
  EXPECT_EQ(button_->Perform(CM_DIALOGCHAR, 'g', 0), 1);
  EXPECT_EQ(button_->Perform(CM_DIALOGCHAR, 'x', 0), 0);
  EXPECT_EQ(clicks, 1);
  button_->SetEnabled(false);
  EXPECT_EQ(button_->Perform(CM_DIALOGCHAR, 'g', 0), 0);
  button_->SetEnabled(true);
  const LPARAM at = MAKELPARAM(5, 5);
  button_->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  button_->Perform(WM_LBUTTONUP, 0, at);
  EXPECT_EQ(doubles, 0);
  button_->SetGroupIndex(1);
  button_->SetDown(true);
  button_->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  EXPECT_EQ(doubles, 1);
}

}  // namespace
