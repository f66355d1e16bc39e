#include <gtest/gtest.h>

#include "forms_fixture.h"
#include "win32/testing/windows.h"

namespace {

// Fills far beyond its own bounds: the parent's clipping must keep it in its place.
class TSpillingControl : public TGraphicControl {
 public:
  TSpillingControl(TComponent* owner, TColor color) : TGraphicControl(owner), color_(color) {}
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    Canvas()->Brush()->SetColor(color_);
    Canvas()->FillRect({-1000, -1000, 1000, 1000});
  }

 private:
  TColor color_;
};

class TBoxedControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clBlue);
    Canvas()->FillRect({0, 0, 5, 5});
  }
};

std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

}  // namespace

TEST_F(FormsTest, WindowlessChildrenPaintOnTheParentInOrderAndClipped) {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetColor(clWhite);
  form.SetBounds(0, 0, 100, 60);
  auto* lower = new TSpillingControl(&form, clRed);
  lower->SetBounds(10, 10, 30, 30);
  lower->SetParent(&form);
  auto* upper = new TSpillingControl(&form, clLime);
  upper->SetBounds(30, 20, 30, 30);
  upper->SetParent(&form);
  auto* boxed = new TBoxedControl(&form);
  boxed->SetBounds(80, 40, 10, 10);
  boxed->SetColor(clYellow);
  boxed->SetParent(&form);
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return upper->Paints > 0; }));

  host::Image image = CaptureWindow(form.Handle());
  struct TPixel {
    int X, Y;
    TColor Color;
  };
  const TPixel pixels[] = {
      {5, 5, clWhite},   {15, 15, clRed},   {35, 25, clLime}, {55, 45, clLime},   {35, 15, clRed},
      {65, 25, clWhite}, {15, 45, clWhite}, {81, 41, clBlue}, {88, 48, clYellow},
  };
  for (const TPixel& p : pixels) EXPECT_EQ(image.At(p.X, p.Y), Rgb(p.Color)) << p.X << "," << p.Y;

  // Invalidating one control repaints it on its parent.
  int before = lower->Paints;
  lower->Invalidate();
  ASSERT_TRUE(PumpUntil([&] { return lower->Paints > before; }));
}

TEST_F(FormsTest, ControlCanvasDrawsOutsidePaintingAndGivesItsContextBackWhenIdle) {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetColor(clWhite);
  form.SetBounds(0, 0, 60, 60);
  auto* box = new TSpillingControl(&form, clRed);
  box->SetBounds(20, 20, 10, 10);
  box->SetParent(&form);
  form.Show();
  ASSERT_TRUE(PumpUntil([&] { return box->Paints > 0; }));
  // Drawn at once on the form's window, at the box's place and clipped to it.
  box->Canvas()->Brush()->SetColor(clBlue);
  box->Canvas()->FillRect({-5, -5, 100, 100});
  EXPECT_TRUE(box->Canvas()->HandleAllocated());
  host::Image image = CaptureWindow(form.Handle());
  EXPECT_EQ(image.At(25, 25), Rgb(clBlue));
  EXPECT_EQ(image.At(15, 15), Rgb(clWhite));
  FreeDeviceContexts();
  EXPECT_FALSE(box->Canvas()->HandleAllocated());
}
