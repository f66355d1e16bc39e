// The 3D label: the angle's range, the fall-back to a TrueType font, fly-by colours, which copies
// each text style draws, and the rotated and curved kinds.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/zev_label.h"

namespace {

using ZevLabel::TTextStyle;

class LabelTest : public ComponentTest {
 protected:
  LabelTest() {
    label_->SetAutoSize(false);
    label_->SetBounds(10, 10, 120, 60);
    label_->SetTransparent(false);
    label_->SetColor(clWhite);
    label_->SetCaption("Hello");
    label_->Font()->SetName("Arial");
    label_->Font()->SetHeight(-24);
    label_->Font()->SetColor(clBlack);
    label_->SetHighlightColor(clRed);
    label_->SetShadowColor(clBlue);
  }
  struct TInk {
    int count = 0, left = 1000, top = 1000, right = -1, bottom = -1;
  };
  TInk InkOf(const host::Image& shot, TColor colour) {
    TInk ink;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        if (shot.At(x, y) == Rgb(colour)) {
          ++ink.count;
          ink.left = std::min(ink.left, x);
          ink.top = std::min(ink.top, y);
          ink.right = std::max(ink.right, x);
          ink.bottom = std::max(ink.bottom, y);
        }
    return ink;
  }
  TZevLabel* label_ = Make<TZevLabel>(10, 10, 120, 60);
};

TEST_F(LabelTest, NegativeAnglesGainOneTurnOthersAreTakenWithinATurn) {
  struct {
    int given, stored;
  } cases[] = {{-90, 270}, {-1, 359}, {-360, 0}, {-400, -40}, {450, 90}, {360, 0}, {765, 45}, {0, 0}, {359, 359}};
  for (const auto& c : cases) {
    label_->SetAngle(c.given);
    EXPECT_EQ(label_->Angle(), c.stored) << c.given;
  }
  label_->SetAutoSize(true);
  label_->SetAngle(30);
  EXPECT_FALSE(label_->AutoSize());
}

TEST_F(LabelTest, RotationOfARasterFontFallsBackToArial) {
  label_->Font()->SetName("MS Sans Serif");
  ASSERT_FALSE(label_->IsTrueType());
  label_->SetCenterPoint(cpLowerLeft);
  label_->SetRotation(roFlat);
  EXPECT_EQ(label_->Font()->Name(), "Arial");
  EXPECT_EQ(label_->CenterPoint(), cpCenter);
  EXPECT_TRUE(label_->IsTrueType());
  // A raster font chosen while the label is turned takes the angle back to 0.
  label_->SetAngle(90);
  label_->Font()->SetName("System");
  EXPECT_EQ(label_->Angle(), 0);
  label_->SetAngle(45);
  EXPECT_EQ(label_->Font()->Name(), "Arial");
  // Without a parent window too.
  TZevLabel alone(nullptr);
  alone.SetRotation(roCurve);
  EXPECT_EQ(alone.Font()->Name(), "Arial");
}

TEST_F(LabelTest, FlyByShowsItsColourWhileTheMouseIsOver) {
  label_->Font()->SetColor(clNavy);
  label_->SetFlyByColor(clRed);
  label_->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(label_->Font()->Color(), clNavy);  // off: nothing changes
  label_->Perform(CM_MOUSELEAVE, 0, 0);
  label_->SetFlyByEnabled(true);
  int entered = 0, left = 0;
  label_->OnMouseEnter = [&](TObject*) { ++entered; };
  label_->OnMouseLeave = [&](TObject*) { ++left; };
  label_->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(label_->Font()->Color(), clRed);
  label_->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(label_->Font()->Color(), clNavy);
  label_->Perform(CM_MOUSEENTER, 0, 0);
  label_->SetFlyByEnabled(false);  // turning it off gives the colour back at once
  EXPECT_EQ(label_->Font()->Color(), clNavy);
  EXPECT_EQ(entered, 2);
  EXPECT_EQ(left, 1);
}

TEST_F(LabelTest, EachTextStyleDrawsItsCopies) {
  ShowForm();
  struct Case {
    TTextStyle style;
    bool light;
    bool red, blue;
    int redDx;  // where the red copy lies against the text, when it is drawn
  } cases[] = {
      {TTextStyle::tsNormal, false, false, false, 0}, {TTextStyle::tsRaised, false, true, true, -1},
      {TTextStyle::tsRaised, true, true, false, -1},  {TTextStyle::tsRecessed, false, true, true, 1},
      {TTextStyle::tsRecessed, true, true, false, 1}, {TTextStyle::tsShadow, false, false, true, 0},
  };
  for (const Case& c : cases) {
    label_->SetTextStyle(c.style);
    label_->SetLightTextStyle(c.light);
    const host::Image shot = Shot(label_);
    const TInk red = InkOf(shot, clRed), blue = InkOf(shot, clBlue), black = InkOf(shot, clBlack);
    EXPECT_GT(black.count, 30);
    EXPECT_EQ(red.count > 0, c.red) << static_cast<int>(c.style) << c.light;
    EXPECT_EQ(blue.count > 0, c.blue) << static_cast<int>(c.style) << c.light;
    if (c.red) {
      EXPECT_EQ(red.left - black.left, c.redDx) << static_cast<int>(c.style) << c.light;
    }
    if (c.style == TTextStyle::tsShadow) {
      EXPECT_EQ(blue.top - black.top, label_->ShadowDepth());
    }
  }
  // Disabled: the same copies under grey text.
  label_->SetTextStyle(TTextStyle::tsRecessed);
  label_->SetLightTextStyle(false);
  label_->SetEnabled(false);
  const host::Image shot = Shot(label_);
  EXPECT_EQ(InkOf(shot, clBlack).count, 0);
  EXPECT_GT(InkOf(shot, clGrayText).count, 30);
  EXPECT_GT(InkOf(shot, clRed).count, 0);
}

TEST_F(LabelTest, RightAlignedTextLeavesRoomForItsShadowBelowIt) {
  ShowForm();
  label_->SetAlignment(taRightJustify);
  label_->SetTextStyle(TTextStyle::tsShadow);
  label_->SetShadowDepth(3);
  const host::Image shot = Shot(label_);
  const TInk blue = InkOf(shot, clBlue), black = InkOf(shot, clBlack);
  // The text hides part of its shadow: compare the edges the shadow cannot lose.
  EXPECT_EQ(blue.right, black.right);  // moved down only
  EXPECT_EQ(blue.bottom, black.bottom + 3);
  EXPECT_LE(black.right, label_->Width() - 1 - 3);  // the text itself moved left by the depth
}

TEST_F(LabelTest, TurnedTextRunsAlongItsAngle) {
  label_->SetBounds(10, 10, 100, 100);
  label_->SetTextStyle(TTextStyle::tsNormal);
  label_->SetCaption("HHHHHH");
  ShowForm();
  auto extent = [&] {
    const host::Image shot = Shot(label_);
    int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x)
        if (shot.At(x, y) == Rgb(clBlack)) {
          minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    return std::array<int, 4>{minX, minY, maxX - minX, maxY - minY};
  };
  label_->SetRotation(roFlat);
  const auto flat = extent();
  EXPECT_GT(flat[2], flat[3]);  // wider than high
  label_->SetAngle(90);
  const auto up = extent();
  EXPECT_GT(up[3], up[2]);  // higher than wide
  label_->SetAngle(45);
  const auto slanted = extent();
  EXPECT_NEAR(slanted[2], slanted[3], 8);
  label_->SetAngle(320);
  const auto turned = extent();
  label_->SetAngle(-400);
  EXPECT_EQ(extent(), turned) << "a negative angle below a turn draws as the same direction";
  label_->SetRotation(roCurve);
  EXPECT_GT(extent()[2], 0);
  // No horizontal radius: nothing to lay the characters along, and nothing drawn.
  label_->SetBounds(10, 10, 1, 100);
  EXPECT_EQ(InkOf(Shot(label_), clBlack).count, 0);
}

}  // namespace
