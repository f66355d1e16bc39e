// The image view: layout and zoom, painting, scroll messages and bars, selection, Assign, and the
// image component built on it.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/velmora.h"
#include "imaging/velmora_view.h"
#include "test_pictures.h"
#include "vcl/formreader.h"
#include "win32/stdcontrols.h"
#include "window_fixture.h"

namespace {

COLORREF Asymmetric(int x, int y) { return RGB(x % 256, y % 256, 40 + (x / 256) * 50 + (y / 256) * 100); }

constexpr COLORREF kBackground = RGB(10, 200, 30);

class VelmoraViewTest : public WindowTest {
 protected:
  TVelmoraView* MakeView(int width, int height, int pictureW, int pictureH) {
    auto* view = new TVelmoraView(form_.get());
    view->SetBounds(0, 0, width, height);
    view->SetParent(form_.get());
    view->SetBackground(kBackground);
    Paint(view->Bitmap(), pictureW, pictureH, Asymmetric);
    view->Update();
    form_->Show();
    return view;
  }
  // What the view shows now.
  static host::Image Shown(TVelmoraView* view) {
    view->Invalidate();
    UpdateWindow(view->Handle());
    return CaptureClient(view->Handle());
  }
  static void Click(TVelmoraView* view, bool left, int x, int y) {
    view->Perform(left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(x, y));
    view->Perform(left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, MAKELPARAM(x, y));
  }
  static void Scroll(TVelmoraView* view, UINT message, WORD code, int pos = 0) {
    view->Perform(message, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
  }
};

TEST_F(VelmoraViewTest, ZoomToFitTakesTheSmallerWholePercentage) {
  TVelmoraView* view = MakeView(215, 269, 320, 400);
  std::vector<int> changes;
  view->OnViewChange = [&](TObject*, int change) { changes.push_back(change); };
  view->ZoomToFit();
  EXPECT_EQ(view->Zoom(), 67);
  EXPECT_EQ(view->ZoomedWidth(), 214);  // 320 / 100 x 67, rounded
  EXPECT_EQ(view->ZoomedHeight(), 268);
  EXPECT_EQ(changes.back(), 1);
  for (int bad : {0, -5, 67}) {
    changes.clear();
    view->SetZoom(bad);
    EXPECT_EQ(view->Zoom(), 67);
    EXPECT_TRUE(changes.empty()) << bad;
  }
}

TEST_F(VelmoraViewTest, ClicksStepTheZoomThroughTheTable) {
  TVelmoraView* view = MakeView(100, 100, 50, 50);
  view->SetMouseInteract({miZoom});
  struct Step {
    int from;
    bool left;
    std::vector<int> want;
  };
  const Step steps[] = {{100, true, {200, 300, 400}},
                        {40, true, {50, 75, 100, 200}},
                        {1, true, {2, 5, 10}},
                        {150, false, {100, 75, 50, 33, 25, 10, 5, 2, 2}}};
  for (const Step& s : steps) {
    view->SetZoom(s.from);
    for (int want : s.want) {
      Click(view, s.left, 10, 10);
      EXPECT_EQ(view->Zoom(), want) << "from " << s.from;
    }
  }
  // A press and release at different points is no click.
  view->SetZoom(100);
  view->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  view->Perform(WM_LBUTTONUP, 0, MAKELPARAM(30, 10));
  EXPECT_EQ(view->Zoom(), 100);
}

TEST_F(VelmoraViewTest, ZoomAtBringsTheClickedPointToTheMiddle) {
  TVelmoraView* view = MakeView(100, 80, 200, 300);
  view->SetMouseInteract({miZoom});
  Click(view, true, 60, 30);  // picture point 60, 30 at 200 %: 120, 60 to the middle
  EXPECT_EQ(view->Zoom(), 200);
  EXPECT_EQ(view->ScrollX(), 120 - 50);
  EXPECT_EQ(view->ScrollY(), 60 - 40);
}

TEST_F(VelmoraViewTest, PaintsThePictureWithBackgroundBesideIt) {
  TVelmoraView* view = MakeView(100, 80, 40, 30);
  host::Image shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), Rgb(Asymmetric(0, 0)));
  EXPECT_EQ(shown.At(39, 29), Rgb(Asymmetric(39, 29)));
  EXPECT_EQ(shown.At(40, 10), Rgb(kBackground));
  EXPECT_EQ(shown.At(10, 30), Rgb(kBackground));
  EXPECT_EQ(shown.At(99, 79), Rgb(kBackground));

  view->SetCenter(true);
  shown = Shown(view);
  EXPECT_EQ(view->DrawnRect().left, 30);
  EXPECT_EQ(view->DrawnRect().top, 25);
  EXPECT_EQ(shown.At(30, 25), Rgb(Asymmetric(0, 0)));
  EXPECT_EQ(shown.At(69, 54), Rgb(Asymmetric(39, 29)));
  for (auto [x, y] : {std::pair{29, 25}, {30, 24}, {70, 54}, {69, 55}, {0, 0}, {99, 79}})
    EXPECT_EQ(shown.At(x, y), Rgb(kBackground)) << x << "," << y;
}

TEST_F(VelmoraViewTest, ScrolledPaintingCountsRowsFromTheTop) {
  TVelmoraView* view = MakeView(100, 80, 200, 300);
  view->SetScroll(30, 50);
  host::Image shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), Rgb(Asymmetric(30, 50)));
  EXPECT_EQ(shown.At(5, 7), Rgb(Asymmetric(35, 57)));
  EXPECT_EQ(shown.At(99, 79), Rgb(Asymmetric(129, 129)));
  view->SetZoom(200);
  view->SetScroll(0, 398);
  shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), Rgb(Asymmetric(0, 199)));
  EXPECT_EQ(shown.At(3, 1), Rgb(Asymmetric(1, 199)));
  EXPECT_EQ(shown.At(3, 2), Rgb(Asymmetric(1, 200)));
}

TEST_F(VelmoraViewTest, PaintsOneBitAndPalettedBitmapsInTheirOwnColours) {
  TVelmoraView* view = MakeView(60, 60, 32, 32);
  TBitmap& bitmap = view->Bitmap();
  Reshape(bitmap, pf1bit, 32, 32);
  for (int y = 0; y < 32; ++y) RowOf(bitmap, y)[0] = y < 16 ? 0xF0 : 0x0F;  // first 8 pixels of each row
  view->Update();
  host::Image shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(shown.At(5, 0), 0u);
  EXPECT_EQ(shown.At(0, 20), 0u);
  EXPECT_EQ(shown.At(5, 20), 0xFFFFFFu);

  Reshape(bitmap, pf8bit, 32, 32);
  for (int y = 0; y < 32; ++y) std::fill_n(RowOf(bitmap, y), 32, static_cast<std::uint8_t>(y < 16 ? 9 : 12));
  view->Update();
  shown = Shown(view);
  const std::vector<RGBQUAD>& table = bitmap.Colors();
  ASSERT_GT(table.size(), 12u);
  EXPECT_EQ(shown.At(3, 3), Rgb(RGB(table[9].rgbRed, table[9].rgbGreen, table[9].rgbBlue)));
  EXPECT_EQ(shown.At(3, 20), Rgb(RGB(table[12].rgbRed, table[12].rgbGreen, table[12].rgbBlue)));
}

TEST_F(VelmoraViewTest, APictureZoomedToNothingPaintsBackgroundOnly) {
  TVelmoraView* view = MakeView(50, 50, 10, 10);
  view->SetZoom(2);  // 10 x 2 % rounds to 0
  EXPECT_EQ(view->ZoomedWidth(), 0);
  host::Image shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), Rgb(kBackground));
  EXPECT_EQ(shown.At(25, 25), Rgb(kBackground));
  Reshape(view->Bitmap(), pf24bit, 0, 10);
  view->SetZoom(100);
  shown = Shown(view);
  EXPECT_EQ(shown.At(0, 0), Rgb(kBackground));
}

TEST_F(VelmoraViewTest, ScrollMessagesMoveByLinesPagesAndToTheEnds) {
  TVelmoraView* view = MakeView(100, 100, 300, 250);
  ASSERT_EQ(view->MaxScrollY(), 150);
  struct Step {
    WORD code;
    int pos, want;
  };
  const Step steps[] = {{SB_LINEDOWN, 0, 1},   {SB_PAGEDOWN, 0, 11},    {SB_LINEUP, 0, 10},
                        {SB_PAGEUP, 0, 0},     {SB_PAGEUP, 0, 0},       {SB_BOTTOM, 0, 150},
                        {SB_LINEDOWN, 0, 150}, {SB_THUMBTRACK, 77, 77}, {SB_THUMBPOSITION, 500, 150},
                        {SB_TOP, 0, 0},        {SB_ENDSCROLL, 0, 0}};
  for (const Step& s : steps) {
    Scroll(view, WM_VSCROLL, s.code, s.pos);
    EXPECT_EQ(view->ScrollY(), s.want) << "code " << s.code;
  }
  Scroll(view, WM_HSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(view->ScrollX(), 10);
  EXPECT_EQ(view->ScrollY(), 0);
}

TEST_F(VelmoraViewTest, ScrollBarsFollowTheLayout) {
  TVelmoraView* view = MakeView(100, 100, 300, 200);
  view->SetScrollBars(true);
  const auto style = [&] { return static_cast<DWORD>(GetWindowLongA(view->Handle(), GWL_STYLE)); };
  EXPECT_TRUE(style() & WS_HSCROLL);
  EXPECT_TRUE(style() & WS_VSCROLL);
  const int cw = 100 - GetSystemMetrics(SM_CXVSCROLL), ch = 100 - GetSystemMetrics(SM_CYHSCROLL);
  EXPECT_EQ(view->ClientWidth(), cw);
  EXPECT_EQ(view->ClientHeight(), ch);
  EXPECT_EQ(view->MaxScrollX(), 300 - cw);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(view->Handle(), SB_HORZ, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, 299);
  EXPECT_EQ(static_cast<int>(info.nPage), cw);
  view->SetScroll(40, 25);
  EXPECT_EQ(GetScrollPos(view->Handle(), SB_HORZ), 40);
  EXPECT_EQ(GetScrollPos(view->Handle(), SB_VERT), 25);

  // Zoomed out to fit, no bar is needed.
  view->SetZoom(30);
  EXPECT_FALSE(style() & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(view->ClientWidth(), 100);
  view->SetZoom(100);
  view->SetScrollBars(false);
  EXPECT_FALSE(style() & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(VelmoraViewTest, TheMouseOnABarScrollsTheView) {
  TVelmoraView* view = MakeView(100, 100, 300, 250);
  view->SetScrollBars(true);
  PumpFor(20);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  const int ch = view->ClientHeight();
  // The down arrow of the vertical bar.
  InjectMouseButton(host::InputEvent::Left, true, 100 - bar / 2, ch - bar / 2);
  InjectMouseButton(host::InputEvent::Left, false, 100 - bar / 2, ch - bar / 2);
  PumpFor(20);
  EXPECT_EQ(view->ScrollY(), 1);
  // The track below the thumb pages.
  InjectMouseButton(host::InputEvent::Left, true, 100 - bar / 2, ch - bar - 4);
  InjectMouseButton(host::InputEvent::Left, false, 100 - bar / 2, ch - bar - 4);
  PumpFor(20);
  EXPECT_EQ(view->ScrollY(), 11);
}

TEST_F(VelmoraViewTest, DraggingTheThumbReachesPositionsBeyondSixteenBits) {
  TVelmoraView* view = MakeView(100, 100, 100000, 20);
  view->SetScrollBars(true);
  PumpFor(20);
  ASSERT_GT(view->MaxScrollX(), 65535);
  const int bar = GetSystemMetrics(SM_CYHSCROLL);
  const int y = view->ClientHeight() + bar / 2;
  std::vector<int> tracked;
  InjectMouseButton(host::InputEvent::Left, true, bar + 3, y);  // the thumb, at the start
  InjectMouseMove(60, y);
  InjectMouseMove(99 - bar, y);
  InjectMouseButton(host::InputEvent::Left, false, 99 - bar, y);
  PumpFor(30);
  EXPECT_EQ(view->ScrollX(), view->MaxScrollX());
  EXPECT_EQ(GetScrollPos(view->Handle(), SB_HORZ), view->MaxScrollX());
}

TEST_F(VelmoraViewTest, SelectionIsOrderedClampedAndGoesWithAZoomChange) {
  TVelmoraView* view = MakeView(100, 80, 40, 30);
  view->Select(50, 40, -5, -5);
  ASSERT_TRUE(view->Selected());
  EXPECT_EQ(view->SelectionRect().left, 0);
  EXPECT_EQ(view->SelectionRect().top, 0);
  EXPECT_EQ(view->SelectionRect().right, 39);  // the picture's last column
  EXPECT_EQ(view->SelectionRect().bottom, 29);
  EXPECT_EQ(view->SelectionPhase(), 1);  // the first step is immediate
  view->Select(5, 5, 5, 20);
  EXPECT_FALSE(view->Selected());
  view->Select(2, 3, 20, 25);
  EXPECT_TRUE(PumpUntil([&] { return view->SelectionPhase() >= 2; }, 1000)) << "the ants march every 300 ms";
  view->SetZoom(200);
  EXPECT_FALSE(view->Selected());
}

TEST_F(VelmoraViewTest, SelectZoomFitsTheSelectionAndScrollsToIt) {
  TVelmoraView* view = MakeView(100, 80, 200, 300);
  view->SetMouseInteract({miSelectZoom, miScroll});
  EXPECT_EQ(view->MouseInteract(), TVelmoraMouseInteract{miScroll});  // the later addition wins
  view->SetMouseInteract({miZoom, miSelectZoom});
  EXPECT_EQ(view->MouseInteract(), (TVelmoraMouseInteract{miZoom, miSelectZoom}));
  view->SetMouseInteract({miSelectZoom});
  view->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
  view->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(59, 59));
  view->Perform(WM_LBUTTONUP, 0, MAKELPARAM(59, 59));
  EXPECT_EQ(view->Zoom(), 200);  // min(100 / 0.5, 80 / 0.4)
  EXPECT_EQ(view->ScrollX(), 20);
  EXPECT_EQ(view->ScrollY(), 40);
}

TEST_F(VelmoraViewTest, DragScrollMovesAgainstTheMouse) {
  TVelmoraView* view = MakeView(100, 80, 200, 300);
  view->SetMouseInteract({miScroll});
  view->SetScroll(50, 50);
  view->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 40));
  view->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 45));
  EXPECT_EQ(view->ScrollX(), 60);
  EXPECT_EQ(view->ScrollY(), 45);
  view->Perform(WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  EXPECT_EQ(view->ScrollX(), 0);
  EXPECT_EQ(view->ScrollY(), 0);
}

TEST_F(VelmoraViewTest, AssignCopiesPicturesOfViewsAndBitmaps) {
  TVelmoraView* view = MakeView(100, 80, 40, 30);
  int changes = 0;
  view->OnImageChange = [&](TObject*) { ++changes; };
  TBitmap eight;
  Reshape(eight, pf8bit, 17, 9);
  for (int y = 0; y < 9; ++y) std::fill_n(RowOf(eight, y), 17, static_cast<std::uint8_t>(12));
  view->Assign(&eight);
  EXPECT_EQ(view->Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(view->Bitmap().Width(), 17);
  EXPECT_EQ(view->Bitmap().Height(), 9);
  const RGBQUAD c = eight.Colors()[12];
  EXPECT_EQ(PixelAt(view->Bitmap(), 16, 8), RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
  EXPECT_EQ(changes, 1);

  auto* other = new TVelmoraView(form_.get());
  other->SetDpi(300, 150);
  Paint(other->Bitmap(), 5, 6, Asymmetric);
  other->SetBackground(RGB(1, 2, 3));
  view->Assign(other);
  EXPECT_EQ(view->Bitmap().Width(), 5);
  EXPECT_EQ(PixelAt(view->Bitmap(), 4, 5), Asymmetric(4, 5));
  EXPECT_EQ(view->Background(), RGB(1, 2, 3));
  EXPECT_EQ(view->DpiX(), 300);
  EXPECT_EQ(view->DpcmY(), 59);
  EXPECT_EQ(changes, 2);

  view->Assign(nullptr);
  EXPECT_EQ(PixelAt(view->Bitmap(), 2, 2), RGB(1, 2, 3));
}

TEST_F(VelmoraViewTest, RegistersItsCursorsAndUsesTheLast) {
  TVelmoraView* view = MakeView(10, 10, 1, 1);
  EXPECT_EQ(view->Cursor(), 1785);
  for (int number = 1778; number <= 1785; ++number) {
    EXPECT_NE(Screen->Cursors(number), nullptr) << number;
    EXPECT_NE(Screen->Cursors(number), Screen->Cursors(crArrow)) << number;
  }
  EXPECT_NE(Screen->Cursors(1778), Screen->Cursors(1779));
}

// ---- The image component --------------------------------------------------------------------

TEST_F(VelmoraViewTest, ImageComponentForwardsToItsParts) {
  auto* image = new TVelmora(form_.get());
  image->SetParent(form_.get());
  EXPECT_EQ(image->NColors(), nc8bit);
  image->SetNColors(nc8bit);
  EXPECT_EQ(image->NColors(), nc24bit);
  EXPECT_EQ(image->Bitmap().PixelFormat(), pf24bit);
  EXPECT_TRUE(image->AutoUndo());
  Paint(image->Bitmap(), 30, 20, Asymmetric);
  image->Resample(15, 10, 0);
  EXPECT_EQ(image->Bitmap().Width(), 15);
  image->Undo();
  EXPECT_EQ(image->Bitmap().Width(), 30);
  EXPECT_EQ(PixelAt(image->Bitmap(), 29, 19), Asymmetric(29, 19));

  std::vector<TObject*> senders;
  image->SetOnProgress([&](TObject* sender, int) { senders.push_back(sender); });
  image->Resample(60, 40, 5);
  ASSERT_FALSE(senders.empty());
  EXPECT_EQ(senders.front(), image->Proc());

  image->IOParams().BitsPerSample = 3;
  auto* copy = new TVelmora(form_.get());
  copy->Assign(image);
  EXPECT_EQ(copy->IOParams().BitsPerSample, 3);
  EXPECT_EQ(copy->Bitmap().Width(), 60);
  TBitmap plain;
  Paint(plain, 4, 4, Asymmetric);
  copy->IOParams().BitsPerSample = 5;
  copy->Assign(&plain);
  EXPECT_EQ(copy->IOParams().BitsPerSample, 5);
  EXPECT_EQ(copy->Bitmap().Width(), 4);
}

// The slot manager's forms set these by name.
TEST_F(VelmoraViewTest, FormDescriptionsSetTheComponentsProperties) {
  auto* image = new TVelmora(form_.get());
  const auto set = [&](const char* name, std::int64_t value) {
    const TPropInfo* prop = GetPropInfo(*image, name);
    ASSERT_NE(prop, nullptr) << name;
    SetOrdProp(*image, *prop, value);
  };
  set("NColors", nc8bit);
  set("Background", clBtnFace);
  set("ScrollBars", 1);
  set("Cursor", crVSplit);
  EXPECT_EQ(image->NColors(), nc24bit);
  EXPECT_EQ(image->Background(), static_cast<COLORREF>(clBtnFace));
  EXPECT_TRUE(image->ScrollBars());
  EXPECT_EQ(image->Cursor(), crVSplit);
  SetStrProp(*image, *GetPropInfo(*image, "Hint"), "Click to view full size...");
  EXPECT_EQ(image->Hint(), "Click to view full size...");
  ASSERT_NE(GetPropInfo(*image, "OnClick"), nullptr);
  const TPropInfo* progress = GetPropInfo(*image, "OnProgress");
  ASSERT_NE(progress, nullptr);
  int reports = 0;
  progress->SetMethod(*image, std::any(TProgressEvent([&](TObject*, int) { ++reports; })));
  Paint(image->Bitmap(), 30, 20, Asymmetric);
  image->Resample(60, 40, 5);
  EXPECT_GT(reports, 0);
  EXPECT_NE(GetClass("TVelmora"), nullptr);
}

}  // namespace
