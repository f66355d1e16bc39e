// The look of the graphic button: the gradient ramp and its bands, the dithered down look, the
// image cache, the caption and picture placement, and reviewed pictures of the faces in
// tests/golden/ (STARTLOGO_UPDATE_GOLDEN=1 writes them anew; review them before committing).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "button_fixture.h"
#include "host/testing/golden.h"

namespace {

using Face = ToxCustomGraphicButton;

std::filesystem::path Golden(const std::string& name) {
  return std::filesystem::path(__FILE__).parent_path() / "golden" / (name + ".ppm");
}

std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

// A 16 x 16 picture: a blue disc with a red centre on olive, the colour its bottom-left pixel
// leaves transparent.
void DiscPicture(TPicture* picture, TColor disc = clBlue) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetWidth(16);
  bitmap.SetHeight(16);
  TCanvas* c = bitmap.Canvas();
  c->Brush()->SetColor(clOlive);
  c->FillRect({0, 0, 16, 16});
  c->Brush()->SetColor(disc);
  c->Pen()->SetColor(disc);
  c->Ellipse(2, 2, 14, 14);
  c->Brush()->SetColor(clRed);
  c->Pen()->SetColor(clRed);
  c->Rectangle(6, 6, 10, 10);
  picture->SetBitmap(&bitmap);
}

// The look of the composer's buttons: inset bold-when-focused navy text on the ambrel style.
void ComposerLook(ToxButton* b) {
  b->SetStyle(ToxBtnStyle::bsAmbrel);
  b->SetFont3D(ToxFont3D::fsInset);
  b->SetFocusStyle({fsBoldFont});
  b->SetTextX(0);
  b->SetTextY(0);
  b->Font()->SetName("Arial");
  b->Font()->SetHeight(-11);
  b->Font()->SetColor(clNavy);
}

class FacePaintTest : public ButtonTest {
 protected:
  host::Image Shot() {
    PumpMessages();
    return CaptureWindow(form_.Handle());
  }
  host::Image ShotOf(TControl* c) {
    host::Image all = Shot();
    return CropImage(all, c->Left(), c->Top(), c->Width(), c->Height());
  }

  // Faces in a grid, each made by its function, captured together as one picture.
  void ExpectGrid(const std::string& name, int columns, int rows, int width, int height,
                  const std::function<void(ToxButton*, int column, int row)>& make) {
    form_.SetBounds(0, 0, columns * (width + 2) + 2, rows * (height + 2) + 2);
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column) {
        ToxButton* b = Make(2 + column * (width + 2), 2 + row * (height + 2), width, height, "Save");
        b->SetTabStop(false);
        make(b, column, row);
      }
    Show();
    ExpectMatchesGoldenFile(Shot(), Golden(name));
  }
};

}  // namespace

TEST(GradientTest, RampRunsFromTheStartColourToOneStepShortOfTheEnd) {
  TGradient g;
  EXPECT_EQ(g.Count(), 128);
  g.SetEndColor(clSilver);
  EXPECT_FALSE(g.HasTable());
  for (int i : {0, 1, 2}) EXPECT_EQ(g.GetColor(i), clWhite) << i;
  EXPECT_TRUE(g.HasTable());
  EXPECT_EQ(g.GetColor(3), static_cast<TColor>(RGB(254, 254, 254)));
  EXPECT_EQ(g.GetColor(127), static_cast<TColor>(RGB(193, 193, 193)));
  for (int i = 0; i < 128; ++i) EXPECT_EQ(GetRValue(g.GetColor(i)), 255 - static_cast<int>(std::trunc(0.4921875 * i)));

  for (int bad : {128, -1, 1000}) {
    try {
      g.GetColor(bad);
      ADD_FAILURE() << bad << " gave no error";
    } catch (const EInvalidIndex& e) {
      EXPECT_EQ(e.Message, "Index out of range") << bad;
    }
  }
  EXPECT_TRUE(g.HasTable()) << "the table stays";
  g.SetStartColor(clBlack);
  EXPECT_FALSE(g.HasTable()) << "a new colour drops the ramp";
  g.SetEndColor(clBlack);
  EXPECT_EQ(g.GetColor(127), clBlack) << "equal colours: the last entry is the end colour";
  // Channels run separately, system colours through ColorToRGB.
  g.SetStartColor(static_cast<TColor>(RGB(0, 128, 255)));
  g.SetEndColor(clBtnFace);
  const COLORREF face = ColorToRGB(clBtnFace);
  EXPECT_EQ(GetGValue(g.GetColor(64)), 128 - static_cast<int>(std::trunc((128.0L - GetGValue(face)) / 128 * 64)));
}

TEST_F(FacePaintTest, GradientBandsOfA75PixelFaceStartAtTruncOfIStep) {
  ToxButton* b = Make(10, 10, 75, 25);
  b->SetStyle(ToxBtnStyle::bsBorderless);
  b->SetColor(clBlack);
  b->Background()->SetStyle(oxbGradient);
  Show();
  const host::Image face = ShotOf(b);
  TGradient ramp;
  ramp.SetEndColor(clBlack);
  // Band i covers one pixel from trunc(i x 0.5859375); the last band over a pixel shows.
  std::vector<int> shown(75, -1);
  for (int i = 0; i < 128; ++i) shown[static_cast<size_t>(std::trunc(i * 0.5859375))] = i;
  for (int x = 0; x < 75; ++x) {
    ASSERT_GE(shown[x], 0);
    EXPECT_EQ(face.At(x, 12), Rgb(ramp.GetColor(shown[x]))) << "x " << x;
  }
  EXPECT_EQ(face.At(0, 0), Rgb(ramp.GetColor(1))) << "band 1 paints over band 0 at the left edge";

  const int paints = b->Face()->FullPaints();
  b->Background()->SetGradient(clWhite);
  PumpMessages();
  EXPECT_EQ(b->Face()->FullPaints(), paints) << "the same colour repaints nothing";
  b->Background()->SetGradient(clRed);
  PumpMessages();
  EXPECT_EQ(b->Face()->FullPaints(), paints + 1);
  EXPECT_EQ(ShotOf(b).At(0, 5), Rgb(static_cast<TColor>(RGB(254, 0, 0))));
}

TEST_F(FacePaintTest, DownToggleIsACheckerboardOfFaceAndWhiteExceptWhileHot) {
  ToxButton* b = Make(10, 10, 40, 20);
  b->SetStyle(ToxBtnStyle::bsBorderless);
  b->SetButtonType(oxbToggle);
  b->SetColor(clBtnFace);
  b->SetValue(true);
  Show();
  host::Image face = ShotOf(b);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(face.At(x, y), Rgb((x + y) % 2 ? clWhite : clBtnFace)) << x << "," << y;

  const int paints = b->Face()->FullPaints();
  b->Background()->SetDitherDown(false);
  PumpMessages();
  EXPECT_EQ(b->Face()->FullPaints(), paints) << "DitherDown does not repaint";
  b->Face()->InvalidateImages();
  face = ShotOf(b);
  EXPECT_EQ(face.At(3, 4), Rgb(clBtnFace));
  EXPECT_EQ(face.At(4, 4), Rgb(clBtnFace));

  b->Background()->SetDitherDown(true);
  b->Face()->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(b->Face()->Hot());
  b->Face()->InvalidateImages();
  face = ShotOf(b);
  EXPECT_EQ(face.At(3, 4), Rgb(clBtnFace)) << "not while hot";
  EXPECT_EQ(face.At(4, 4), Rgb(clBtnFace));
}

TEST_F(FacePaintTest, FocusAndPressChangesRepaintByOneCopyFromTheCache) {
  ToxButton* a = Make(10, 10, 75, 25, "First");
  ToxButton* other = Make(10, 50, 75, 25, "Other");
  Show();
  other->SetFocus();
  Face* f = a->Face();
  ASSERT_NE(f->ImageCache(), nullptr);
  EXPECT_EQ(f->ImageCache()->Width(), 6 * 75);
  EXPECT_EQ(f->ImageCache()->Height(), 25);
  f->InvalidateImages();
  const int before = f->FullPaints();
  const host::Image up = ShotOf(a);
  const int afterUp = f->FullPaints();
  EXPECT_EQ(afterUp, before + 1);
  EXPECT_EQ(f->ValidSlots(), 1u << Face::slUp);

  a->SetFocus();
  const host::Image focused = ShotOf(a);
  EXPECT_EQ(f->FullPaints(), afterUp + 1) << "a slot not painted yet";
  EXPECT_NE(focused.pixels, up.pixels);
  other->SetFocus();
  EXPECT_EQ(ShotOf(a).pixels, up.pixels);
  a->SetFocus();
  EXPECT_EQ(ShotOf(a).pixels, focused.pixels);
  EXPECT_EQ(f->FullPaints(), afterUp + 1) << "focus changes copy from the cache";

  Press(a, 10, 10);
  EXPECT_EQ(f->FullPaints(), afterUp + 2);
  Release(a, 10, 10);
  Press(a, 10, 10);
  Release(a, 10, 10);
  PumpMessages();
  EXPECT_EQ(f->FullPaints(), afterUp + 2) << "presses copy from the cache";

  a->SetCaption("Changed");
  PumpMessages();
  EXPECT_EQ(f->FullPaints(), afterUp + 3) << "a look change paints anew";
  a->SetWidth(90);
  PumpMessages();
  EXPECT_EQ(f->ImageCache()->Width(), 6 * 90);

  a->SetOptions({});
  EXPECT_EQ(f->ImageCache(), nullptr);
  const int uncached = f->FullPaints();
  other->SetFocus();
  PumpMessages();
  a->SetFocus();
  PumpMessages();
  EXPECT_GE(f->FullPaints(), uncached + 2) << "without the cache every change paints";
}

TEST_F(FacePaintTest, InitialPlacementKeepsCaptionFiveFromTheEdgesAndPictureOneIn) {
  ToxButton* b = Make(10, 10, 90, 40, "Go");
  DiscPicture(b->PictureUp());
  Show();
  Face* f = b->Face();
  EXPECT_EQ(f->CaptionRect().right, 85);
  EXPECT_EQ(f->CaptionRect().bottom, 35);
  EXPECT_EQ(TRectValue(f->PictureRect()), TRectValue(1, 1, 17, 17));
  b->SetTextX(0);
  b->SetTextY(0);
  b->SetPictureX(0);
  b->SetPictureY(0);
  PumpMessages();
  const TRect c = f->CaptionRect();
  EXPECT_LE(std::abs((c.left + c.right) - 90), 1) << "centred";
  EXPECT_LE(std::abs((c.top + c.bottom) - 40), 1);
  EXPECT_EQ(TRectValue(f->PictureRect()), TRectValue(37, 12, 53, 28));
  b->SetPictureX(-3);
  PumpMessages();
  EXPECT_EQ(f->PictureRect().right, 87) << "a negative offset is a margin from the right";
}

TEST_F(FacePaintTest, DisabledCaptionIsGreyInsetWhateverTheEffect) {
  ToxButton* b = Make(10, 10, 75, 25, "WWW");
  b->SetFont3D(ToxFont3D::fsNone);
  b->SetStyle(ToxBtnStyle::bsBorderless);
  b->Font()->SetColor(clBlack);
  Show();
  auto count = [&](TColor c) {
    host::Image face = ShotOf(b);
    int n = 0;
    for (std::uint32_t p : face.pixels) n += p == Rgb(c);
    return n;
  };
  EXPECT_EQ(count(clBlack), 0) << "fsNone draws no caption";
  b->SetEnabled(false);
  EXPECT_GT(count(clGray), 5);
  EXPECT_GT(count(clBtnHighlight), 5);
}

TEST_F(FacePaintTest, StylesInEveryState) {
  // Columns: up, emphasised, pressed, down dithered, down plain, hot, disabled.
  ExpectGrid("styles", 7, 9, 75, 25, [](ToxButton* b, int column, int row) {
    b->SetStyle(static_cast<ToxBtnStyle>(row));
    Face* f = b->Face();
    switch (column) {
      case 1: f->SetFocusedLook(true); break;
      case 2: f->SetDrawState(Face::dsPressed); break;
      case 3:
      case 4:
        b->SetButtonType(oxbToggle);
        b->SetGroup(row * 10 + column);
        b->SetValue(true);
        b->Background()->SetDitherDown(column == 3);
        break;
      case 5: f->Perform(CM_MOUSEENTER, 0, 0); break;
      case 6: b->SetEnabled(false); break;
      default: break;
    }
  });
}

TEST_F(FacePaintTest, CaptionEffectsAndRotation) {
  // Rows: the effects up, then pressed; the last column disabled.
  ExpectGrid("font3d", 8, 2, 75, 25, [](ToxButton* b, int column, int row) {
    b->SetStyle(ToxBtnStyle::bsWin95);
    b->Font()->SetName("Arial");
    b->Font()->SetHeight(-13);
    b->Font()->SetStyle({fsBold});
    b->SetFont3D(static_cast<ToxFont3D>(column < 7 ? column : 3));
    if (column == 7) b->SetEnabled(false);
    if (row == 1) b->Face()->SetDrawState(Face::dsPressed);
  });
}

TEST_F(FacePaintTest, RotatedCaptions) {
  ExpectGrid("rotated", 3, 1, 75, 75, [](ToxButton* b, int column, int) {
    b->SetCaption("Rotated");
    b->Font()->SetName("Arial");
    b->Font()->SetHeight(-13);
    b->SetTextX(0);
    b->SetTextY(0);
    b->SetTextAngle(static_cast<TAngleRange>(column == 0 ? 90 : column == 1 ? 45 : 270));
    if (column == 2) b->SetFont3D(ToxFont3D::fsShadow);
  });
}

TEST_F(FacePaintTest, PicturesWithShadowEmbossAndDisabledPicture) {
  // Up, pressed (the shadow moves out), ShadowColor = Color (the picture moves), disabled embossed,
  // disabled with its own picture, shaped and hot.
  ExpectGrid("pictures", 6, 1, 75, 25, [](ToxButton* b, int column, int) {
    DiscPicture(b->PictureUp());
    b->SetPictureX(4);
    b->SetPictureY(0);
    b->SetTextX(-4);
    b->SetTextY(0);
    switch (column) {
      case 1: b->Face()->SetDrawState(Face::dsPressed); break;
      case 2:
        b->SetShadowColor(clBtnFace);
        b->Face()->SetDrawState(Face::dsPressed);
        break;
      case 3: b->SetEnabled(false); break;
      case 4:
        DiscPicture(b->PictureDisabled(), clGray);
        b->SetEnabled(false);
        break;
      case 5:
        b->SetStyle(ToxBtnStyle::bsShaped);
        b->Face()->Perform(CM_MOUSEENTER, 0, 0);
        break;
      default: break;
    }
  });
}

TEST_F(FacePaintTest, ComposerButtonUnfocusedAndFocused) {
  ExpectGrid("composer", 3, 1, 129, 25, [](ToxButton* b, int column, int) {
    b->SetCaption(column == 2 ? "Show palette animation" : "Save logo now");
    ComposerLook(b);
    if (column == 1) b->Face()->SetFocusedLook(true);
    if (column == 2) {
      b->SetButtonType(oxbToggle);
      b->SetValue(true);
    }
  });
}

TEST_F(FacePaintTest, FocusedComposerButtonIsBoldWithoutADottedRectangle) {
  ToxButton* b = Make(10, 10, 129, 25, "Save logo now");
  ComposerLook(b);
  ToxButton* other = Make(10, 50);
  Show();
  other->SetFocus();
  auto navy = [&] {
    host::Image face = ShotOf(b);
    int n = 0;
    for (std::uint32_t p : face.pixels) n += p == Rgb(clNavy);
    return n;
  };
  const int plain = navy();
  b->SetFocus();
  const int bold = navy();
  EXPECT_GT(bold, plain + plain / 5) << "a bold caption";
  // Dotted rectangles invert every other pixel of the face colour.
  host::Image face = ShotOf(b);
  const TRect c = b->Face()->CaptionRect();
  EXPECT_EQ(face.At(c.left, c.top), Rgb(clBtnFace));
  EXPECT_EQ(face.At(c.left + 1, c.top), Rgb(clBtnFace));
  EXPECT_EQ(face.At(3, 3), Rgb(clBtnFace));
  EXPECT_EQ(face.At(4, 3), Rgb(clBtnFace));
}

namespace {

class TDesignedButton : public ToxButton {
 public:
  using ToxButton::ToxButton;
  void Design() { SetDesigning(true); }
};

}  // namespace

TEST_F(FacePaintTest, InDesignModeAClearButtonStaysInPlaceAndIsFilled) {
  auto* b = new TDesignedButton(&form_);
  b->SetBounds(10, 10, 75, 25);
  b->SetParent(&form_);
  b->Design();
  b->SetStyle(ToxBtnStyle::bsBorderless);
  b->SetColor(clYellow);
  b->Background()->SetStyle(oxbClear);
  Show();
  EXPECT_EQ(b->Face()->Parent(), b) << "no transparent move while designing";
  EXPECT_EQ(static_cast<TControl*>(b)->Width(), 75);
  const host::Image face = ShotOf(b);
  EXPECT_EQ(face.At(30, 12), Rgb(clYellow)) << "filled like a solid background";
  EXPECT_NE(face.At(0, 0), Rgb(clYellow)) << "a dotted rectangle around a borderless face";
  const int paints = b->Face()->FullPaints();
  b->Face()->Invalidate();
  PumpMessages();
  EXPECT_EQ(b->Face()->FullPaints(), paints + 1) << "no cache while designing";
}
