#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/buttons.h"
#include "vcl/extctrls.h"

namespace {

// The picture of a canvas drawing on a small white bitmap, one letter per pixel:
// H highlight, S shadow, K black, . anything else.
std::vector<std::string> Sketch(int width, int height, const std::function<void(TCanvas*)>& draw) {
  TBitmap bitmap;
  bitmap.SetWidth(width);
  bitmap.SetHeight(height);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect({0, 0, width, height});
  draw(bitmap.Canvas());
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      COLORREF c = static_cast<COLORREF>(bitmap.Canvas()->Pixels(x, y));
      row += c == ColorToRGB(clBtnShadow) ? 'S'
             : c == ColorToRGB(clBtnFace) ? 'F'
             : c == 0u                    ? 'K'
             : c == 0xFFFFFFu             ? 'W'
                                          : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

TEST(Frame3DTest, DrawsRingsAndShrinksTheRectangle) {
  TRect inner;
  auto rows = Sketch(6, 5, [&](TCanvas* c) {
    TRect r{0, 0, 6, 5};
    Frame3D(c, r, clBtnShadow, clBlack, 2);
    inner = r;
  });
  EXPECT_EQ(rows, (std::vector<std::string>{"SSSSSK", "SSSSKK", "SSWWKK", "SKKKKK", "KKKKKK"}));
  EXPECT_EQ(TRectValue(inner), TRectValue(2, 2, 4, 3));
}

TEST(DrawButtonFaceTest, RaisedAndSunkenFacesReturnTheInside) {
  struct TCase {
    bool Down;
    std::vector<std::string> Rows;
  } cases[] = {{false, {"WWWWK", "WFFSK", "WFFSK", "WSSSK", "KKKKK"}},
               {true, {"KKKKW", "KSSFW", "KSFFW", "KFFFW", "WWWWW"}}};
  for (const TCase& c : cases) {
    TRect inside;
    auto rows = Sketch(5, 5, [&](TCanvas* canvas) {
      inside = DrawButtonFace(canvas, {0, 0, 5, 5}, 1, bsAutoDetect, false, c.Down, false);
    });
    EXPECT_EQ(rows, c.Rows);
    EXPECT_EQ(TRectValue(inside), TRectValue(2, 2, 3, 3));
  }
}

TEST(BevelTest, ShapesDrawTheirLines) {
  struct TCase {
    TBevelShape Shape;
    TBevelStyle Style;
    std::vector<std::string> Rows;
  } cases[] = {
      {bsBox, bsLowered, {"SSSW", "SWWW", "SWWW", "SWWW"}},
      {bsBox, bsRaised, {"WWWS", "WWWS", "WWWS", "WSSS"}},
      {bsTopLine, bsLowered, {"SSSS", "WWWW", "WWWW", "WWWW"}},
      {bsRightLine, bsLowered, {"WWSW", "WWSW", "WWSW", "WWSW"}},
      {bsSpacer, bsLowered, {"WWWW", "WWWW", "WWWW", "WWWW"}},
  };
  // Paint is protected: a descendant opens it for the test.
  struct TProbe : TBevel {
    using TBevel::Paint;
    using TBevel::TBevel;
  };
  for (const TCase& c : cases) {
    TForm form(nullptr);
    TProbe* bevel = new TProbe(&form);
    bevel->SetShape(c.Shape);
    bevel->SetStyle(c.Style);
    bevel->SetBounds(0, 0, 4, 4);
    // Paint the bevel's Paint onto a bitmap through a paint box's canvas hook.
    auto rows = Sketch(4, 4, [&](TCanvas* canvas) {
      TCanvas* own = bevel->Canvas();
      own->SetHandle(canvas->Handle());
      bevel->Paint();
      own->SetHandle(nullptr);
    });
    EXPECT_EQ(rows, c.Rows) << c.Shape << " " << c.Style;
  }
}

TEST_F(StdCtrlsTest, PanelAlignsChildrenInsideItsBevelsAndBorder) {
  struct TCase {
    TPanelBevel Outer, Inner;
    int BevelWidth, BorderWidth, Inset;
  } cases[] = {{bvRaised, bvNone, 1, 0, 1}, {bvNone, bvNone, 1, 0, 0}, {bvLowered, bvRaised, 2, 3, 7}};
  for (const TCase& c : cases) {
    TPanel* panel = Make<TPanel>(0, 0, 100, 50);
    TPanel* child = Make<TPanel>(0, 0, 10, 10, panel);
    child->SetAlign(alClient);
    panel->SetBevelOuter(c.Outer);
    panel->SetBevelInner(c.Inner);
    panel->SetBevelWidth(c.BevelWidth);
    panel->SetBorderWidth(c.BorderWidth);
    EXPECT_EQ(TRectValue(child->BoundsRect()), TRectValue(c.Inset, c.Inset, 100 - c.Inset, 50 - c.Inset));
    delete panel;
  }
}

TEST_F(StdCtrlsTest, RadioGroupClicksWhenItsItemIndexChangesButNotWhileLoading) {
  TRadioGroup* group = Make<TRadioGroup>(10, 10, 200, 100);
  int clicks = 0;
  group->OnClick = [&](TObject*) { ++clicks; };
  group->Items()->SetCommaText("Single,Degraded,Bitmap");
  ASSERT_EQ(group->ButtonCount(), 3);
  EXPECT_EQ(clicks, 0);
  struct TCase {
    int Set, Expected, Clicks;
  } cases[] = {{1, 1, 1}, {1, 1, 0}, {7, 2, 1}, {-5, -1, 0}, {0, 0, 1}};
  for (const TCase& c : cases) {
    clicks = 0;
    group->SetItemIndex(c.Set);
    EXPECT_EQ(group->ItemIndex(), c.Expected) << c.Set;
    EXPECT_EQ(clicks, c.Clicks) << c.Set;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(group->Buttons(i)->Checked(), i == c.Expected);
  }
  ShowForm();
  clicks = 0;
  Click(group->Buttons(2), 5, 5);
  EXPECT_EQ(group->ItemIndex(), 2);
  EXPECT_EQ(clicks, 1);
}

TEST_F(StdCtrlsTest, RadioGroupLaysItsButtonsOutInColumns) {
  TRadioGroup* group = Make<TRadioGroup>(10, 10, 210, 100);
  group->Items()->SetCommaText("a,b,c,d,e");
  group->SetColumns(2);
  // Three rows in the first column, two in the second.
  EXPECT_EQ(group->Buttons(0)->Left(), 8);
  EXPECT_EQ(group->Buttons(3)->Left(), 8 + 100);
  EXPECT_EQ(group->Buttons(3)->Top(), group->Buttons(0)->Top());
  EXPECT_GT(group->Buttons(2)->Top(), group->Buttons(1)->Top());
  EXPECT_EQ(group->Buttons(0)->Width(), 100);
}

TEST_F(StdCtrlsTest, ImagePlacesItsPictureAndPaintBoxPaints) {
  TBitmap bitmap;
  bitmap.SetWidth(10);
  bitmap.SetHeight(6);
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  bitmap.Canvas()->FillRect({0, 0, 10, 6});
  form_.SetColor(clWhite);
  struct TCase {
    bool Stretch, Center, AutoSize;
    TRectValue Blue;  // where the picture lands in the control
    TRectValue Bounds;
  } cases[] = {
      {false, false, false, {0, 0, 10, 6}, {0, 0, 40, 30}},
      {false, true, false, {15, 12, 25, 18}, {0, 0, 40, 30}},
      {true, false, false, {0, 0, 40, 30}, {0, 0, 40, 30}},
      {false, false, true, {0, 0, 10, 6}, {0, 0, 10, 6}},
  };
  TImage* image = Make<TImage>(0, 0, 40, 30);
  ShowForm();
  for (const TCase& c : cases) {
    image->SetBounds(0, 0, 40, 30);
    image->SetStretch(c.Stretch);
    image->SetCenter(c.Center);
    image->SetAutoSize(c.AutoSize);
    image->Picture()->SetBitmap(&bitmap);
    EXPECT_EQ(TRectValue(image->BoundsRect()), c.Bounds);
    form_.Repaint();
    host::Image shot = CaptureWindow(form_.Handle());
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x) {
        bool inside = x >= c.Blue.Left && x < c.Blue.Right && y >= c.Blue.Top && y < c.Blue.Bottom;
        ASSERT_EQ(shot.At(x, y) == 0x0000FFu, inside) << x << "," << y;
      }
    image->Picture()->SetGraphic(nullptr);
  }

  TPaintBox* box = Make<TPaintBox>(100, 100, 20, 20);
  box->OnPaint = [box](TObject*) {
    box->Canvas()->Brush()->SetColor(clLime);
    box->Canvas()->FillRect({0, 0, 20, 20});
  };
  form_.Repaint();
  EXPECT_EQ(CaptureWindow(form_.Handle()).At(110, 110), 0x00FF00u);
}
