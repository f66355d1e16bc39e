#include <gtest/gtest.h>

#include "comctrls_golden.h"
#include "forms_fixture.h"
#include "vcl/comctrls.h"
#include "vcl/imglist.h"
#include "win32/testing/windows.h"

namespace {

std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

class ComCtrlsTest : public FormsTest {
 protected:
  ComCtrlsTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetColor(clBtnFace);
    form_.SetBounds(0, 0, 200, 120);
  }

  TPageControl* MakePages(std::vector<std::string> captions) {
    auto* pages = new TPageControl(&form_);
    pages->SetBounds(4, 4, 160, 80);
    pages->SetParent(&form_);
    for (const std::string& caption : captions) {
      auto* sheet = new TTabSheet(&form_);
      sheet->SetCaption(caption);
      sheet->SetPageControl(pages);
    }
    return pages;
  }

  void ShowForm() {
    form_.Show();
    PumpMessages();
  }

  static POINT OnScreen(TWinControl* control, int x, int y) {
    POINT p{x, y};
    ::ClientToScreen(control->Handle(), &p);
    return p;
  }

  void Click(TWinControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
    PumpMessages();
  }

  void Key(int key, bool ctrl, bool shift) {
    if (ctrl) InjectKey(VK_CONTROL, true);
    if (shift) InjectKey(VK_SHIFT, true);
    InjectKey(key, true);
    InjectKey(key, false);
    if (shift) InjectKey(VK_SHIFT, false);
    if (ctrl) InjectKey(VK_CONTROL, false);
    PumpMessages();
  }

  TForm form_{nullptr};
};

TRect CentreOf(const TRect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2, 0, 0}; }

}  // namespace

TEST_F(ComCtrlsTest, PageControlTakesItsSheetsAndShowsOnlyTheActiveOne) {
  TPageControl* pages = MakePages({"One", "Two", "Three"});
  ASSERT_EQ(pages->PageCount(), 3);
  EXPECT_EQ(pages->ActivePage(), pages->Pages(0));
  pages->SetActivePageIndex(2);
  EXPECT_TRUE(pages->Pages(2)->Visible());
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_EQ(TRectValue(pages->Pages(2)->BoundsRect()), TRectValue(pages->DisplayRect()));
  // Freeing the active sheet shows its neighbour.
  delete pages->Pages(2);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), pages->Pages(1));
  pages->Pages(1)->SetPageIndex(0);
  EXPECT_EQ(pages->Pages(0)->Caption(), "Two");
}

TEST_F(ComCtrlsTest, ClickingATabAsksOnChangingThenChangesPages) {
  TPageControl* pages = MakePages({"One", "Two"});
  std::vector<std::string> log;
  bool allow = true;
  pages->OnChanging = [&](TObject*, bool& AllowChange) {
    log.push_back("changing");
    AllowChange = allow;
  };
  pages->OnChange = [&](TObject*) { log.push_back("change"); };
  ShowForm();
  TRect second = CentreOf(pages->TabRect(1));
  allow = false;
  Click(pages, second.left, second.top);
  EXPECT_EQ(pages->ActivePageIndex(), 0);
  allow = true;
  Click(pages, second.left, second.top);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"changing", "changing", "change"}));
  // A click beside the tabs changes nothing.
  Click(pages, 150, 5);
  EXPECT_EQ(pages->ActivePageIndex(), 1);
  EXPECT_TRUE(pages->Focused());
}

TEST_F(ComCtrlsTest, KeysTurnThePages) {
  TPageControl* pages = MakePages({"One", "Two", "Three"});
  ShowForm();
  pages->SetFocus();
  struct TCase {
    int Key;
    bool Ctrl, Shift;
    int Expected;
  };
  const TCase cases[] = {
      {VK_RIGHT, false, false, 1}, {VK_RIGHT, false, false, 2}, {VK_RIGHT, false, false, 0},
      {VK_LEFT, false, false, 2},  {VK_TAB, true, false, 0},    {VK_TAB, true, true, 2},
  };
  for (const TCase& c : cases) {
    Key(c.Key, c.Ctrl, c.Shift);
    EXPECT_EQ(pages->ActivePageIndex(), c.Expected) << c.Key << (c.Ctrl ? " ctrl" : "") << (c.Shift ? " shift" : "");
  }
}

TEST_F(ComCtrlsTest, HotTrackingFollowsTheMouseOverTheTabs) {
  TPageControl* pages = MakePages({"One", "Two"});
  ShowForm();
  TRect second = CentreOf(pages->TabRect(1));
  POINT p = OnScreen(pages, second.left, second.top);
  InjectMouseMove(p.x, p.y);
  PumpMessages();
  EXPECT_EQ(pages->HotTab(), -1) << "without HotTrack";
  pages->SetHotTrack(true);
  InjectMouseMove(p.x + 1, p.y);
  PumpMessages();
  EXPECT_EQ(pages->HotTab(), 1);
  p = OnScreen(pages, 80, 60);
  InjectMouseMove(p.x, p.y);
  PumpMessages();
  EXPECT_EQ(pages->HotTab(), -1);
}

TEST_F(ComCtrlsTest, TabsOnTopOrBottomMatchTheirGoldenPictures) {
  TPageControl* pages = MakePages({"First", "Second"});
  auto* images = new TImageList(&form_);
  images->SetWidth(8);
  images->SetHeight(8);
  TBitmap glyph;
  glyph.SetWidth(8);
  glyph.SetHeight(8);
  glyph.Canvas()->Brush()->SetColor(clFuchsia);
  glyph.Canvas()->FillRect({0, 0, 8, 8});
  glyph.Canvas()->Brush()->SetColor(clRed);
  glyph.Canvas()->FillRect({2, 2, 6, 6});
  images->AddMasked(&glyph, clFuchsia);
  pages->SetImages(images);
  pages->Pages(1)->SetImageIndex(0);
  ShowForm();
  for (TTabPosition position : {tpTop, tpBottom}) {
    pages->SetTabPosition(position);
    PumpMessages();
    const TRect tab = pages->TabRect(0);
    EXPECT_EQ(position == tpTop, tab.top < pages->DisplayRect().top);
    ExpectMatchesGolden(CropImage(CaptureWindow(form_.Handle()), 4, 4, 160, 80),
                        position == tpTop ? "pages_top" : "pages_bottom");
  }
}

TEST_F(ComCtrlsTest, StatusBarShowsSimpleTextAtOnceAndPanelsSideBySide) {
  form_.SetBorderStyle(bsSizeable);
  auto* bar = new TStatusBar(&form_);
  bar->SetParent(&form_);
  bar->SetSimplePanel(true);
  ShowForm();
  EXPECT_EQ(bar->Align(), alBottom);
  EXPECT_EQ(bar->Top() + bar->Height(), form_.ClientHeight());
  const TRect text = bar->PanelRects()[0];
  auto inkIn = [&](const TRect& r) {
    host::Image image = CaptureWindow(form_.Handle());
    POINT o = OnScreen(bar, 0, 0);
    RECT frame;
    GetWindowRect(form_.Handle(), &frame);
    int ink = 0;
    for (int y = r.top + 3; y < r.bottom - 2; ++y)
      for (int x = r.left + 3; x < r.left + 40; ++x)
        if (image.At(o.x - frame.left + x, o.y - frame.top + y) == Rgb(clBlack)) ++ink;
    return ink;
  };
  EXPECT_EQ(inkIn(text), 0);
  bar->SetSimpleText("Busy");  // no messages handled before looking
  EXPECT_GT(inkIn(text), 0);

  bar->SetSimplePanel(false);
  bar->AddPanel().Width = 60;
  bar->AddPanel();
  std::vector<TRect> rects = bar->PanelRects();
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0].right - rects[0].left, 60);
  EXPECT_GT(rects[1].left, rects[0].right);
  EXPECT_LT(rects[1].right, bar->ClientWidth()) << "the size grip keeps its corner";
  bar->SetSizeGrip(false);
  EXPECT_EQ(bar->PanelRects()[1].right, bar->ClientWidth());
}

TEST_F(ComCtrlsTest, StatusBarMatchesItsGoldenPicture) {
  form_.SetBorderStyle(bsSizeable);
  form_.SetClientWidth(160);
  form_.SetClientHeight(40);
  auto* bar = new TStatusBar(&form_);
  bar->SetParent(&form_);
  bar->AddPanel().Width = 50;
  bar->AddPanel();
  bar->SetPanelText(0, "Ready");
  bar->SetPanelText(1, "C:\\");
  ShowForm();
  RECT frame;
  GetWindowRect(form_.Handle(), &frame);
  POINT o = OnScreen(bar, 0, 0);
  ExpectMatchesGolden(
      CropImage(CaptureWindow(form_.Handle()), o.x - frame.left, o.y - frame.top, bar->Width(), bar->Height()),
      "statusbar_panels");
}

TEST_F(ComCtrlsTest, ProgressBarPositionIsClampedAndStepItWraps) {
  TProgressBar bar(nullptr);
  struct TCase {
    int Set;
    int Expected;
  };
  for (const TCase& c : {TCase{50, 50}, TCase{-5, 0}, TCase{150, 100}, TCase{100, 100}}) {
    bar.SetPosition(c.Set);
    EXPECT_EQ(bar.Position(), c.Expected) << c.Set;
  }
  bar.SetPosition(95);
  bar.StepIt();
  EXPECT_EQ(bar.Position(), 5);
  bar.SetMin(20);
  EXPECT_EQ(bar.Position(), 20);
  bar.SetMax(10);
  EXPECT_EQ(bar.Min(), 10);
  EXPECT_EQ(bar.Position(), 10);
}

TEST_F(ComCtrlsTest, ProgressBarPaintsWhileWorkRunsWithoutMessages) {
  auto* bar = new TProgressBar(&form_);
  bar->SetBounds(10, 10, 102, 12);
  bar->SetParent(&form_);
  ShowForm();
  auto filledUpTo = [&] {
    host::Image image = CaptureWindow(form_.Handle());
    int last = -1;
    for (int x = 0; x < 102; ++x)
      if (image.At(10 + x, 16) == Rgb(clHighlight)) last = x;
    return last;
  };
  EXPECT_EQ(filledUpTo(), -1);
  int previous = -1;
  for (int percent : {10, 40, 100}) {
    bar->SetPosition(percent);  // no message is handled in between
    const int now = filledUpTo();
    EXPECT_GT(now, previous) << percent;
    EXPECT_NEAR(now, percent, 4) << percent;
    previous = now;
  }
}

TEST_F(ComCtrlsTest, ImageListCutsWideBitmapsAndDrawsOnlyCoveredPixels) {
  TImageList images(nullptr);
  images.SetWidth(4);
  images.SetHeight(4);
  TBitmap strip;
  strip.SetWidth(8);
  strip.SetHeight(4);
  strip.Canvas()->Brush()->SetColor(clFuchsia);
  strip.Canvas()->FillRect({0, 0, 8, 4});
  strip.Canvas()->SetPixels(1, 1, clRed);
  strip.Canvas()->SetPixels(6, 2, clBlue);
  EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(images.Count(), 2);
  EXPECT_TRUE(images.Covers(0, 1, 1));
  EXPECT_FALSE(images.Covers(0, 0, 0));
  EXPECT_EQ(images.PixelOf(1, 2, 2), ColorToRGB(clBlue));

  TBitmap mask;
  mask.SetMonochrome(true);
  mask.SetWidth(4);
  mask.SetHeight(4);
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect({0, 0, 4, 4});
  mask.Canvas()->SetPixels(3, 3, clBlack);
  EXPECT_EQ(images.Add(&strip, &mask), 2);
  EXPECT_TRUE(images.Covers(2, 3, 3));
  EXPECT_FALSE(images.Covers(2, 1, 1));

  TBitmap target;
  target.SetWidth(6);
  target.SetHeight(6);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect({0, 0, 6, 6});
  images.Draw(target.Canvas(), 1, 1, 1);
  images.Draw(target.Canvas(), 0, 0, 7);  // out of range: nothing
  EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(3, 3)), ColorToRGB(clBlue));
  EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(1, 1)), ColorToRGB(clWhite));
  images.SetWidth(8);
  EXPECT_EQ(images.Count(), 0) << "a new size drops the images";
}
