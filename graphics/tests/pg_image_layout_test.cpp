// The viewer's layout: the twelve stretch rules, centring, the border and auto-size.
#include <gtest/gtest.h>

#include "graphics/pg_image.h"
#include "viewer_fixture.h"

namespace {

class ViewerLayout : public ViewerTest {
 protected:
  ViewerLayout() {
    viewer_->SetParent(&form_);
    viewer_->SetBorderStyle(bsNone);
    viewer_->SetBounds(0, 0, 200, 150);
    ShowForm();
  }
  void Show(int w, int h) { viewer_->AssignPixelGraphic(Picture(w, h).get()); }

  TPGImage* viewer_ = new TPGImage(&form_);
};

}  // namespace

TEST_F(ViewerLayout, ScrollBarMetricsAreTheOnesTheTableAssumes) {
  ASSERT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
  ASSERT_EQ(GetSystemMetrics(SM_CYHSCROLL), 16);
}

// A 200 by 150 area without border: AvailW 200, AvailH 150, the bars 16 wide.
TEST_F(ViewerLayout, EachStretchRuleSizesThePaintBox) {
  struct TCase {
    TStretch Stretch;
    int ImageW, ImageH;
    int BoxW, BoxH;
    long double Zoom;
  };
  const TCase cases[] = {
      {sNeverKAR, 300, 100, 300, 100, 1.0L},
      {sAlways, 300, 100, 200, 150, -1.0L},
      {sAlwaysKAR, 100, 100, 150, 150, 1.5L},
      {sAlwaysKAR, 400, 100, 200, 50, 0.5L},
      {sShrink, 300, 100, 200, 100, -1.0L},
      {sShrink, 100, 100, 100, 100, 1.0L},
      {sShrinkKAR, 100, 100, 100, 100, 1.0L},
      {sShrinkKAR, 400, 200, 200, 100, 0.5L},
      {sEnlarge, 100, 50, 200, 150, -1.0L},
      {sEnlarge, 300, 50, 300, 134, -1.0L},  // the horizontal bar takes its height from the room
      {sEnlargeKAR, 100, 50, 200, 100, 2.0L},
      {sEnlargeKAR, 300, 50, 300, 50, 1.0L},
      {sAlwaysLongerEdgeKAR, 400, 100, 536, 134, 1.34L},  // the short edge fills, the long one scrolls
      {sAlwaysLongerEdgeKAR, 100, 100, 184, 184, 1.84L},
      {sShrinkLongerEdgeKAR, 100, 100, 100, 100, 1.0L},
      {sShrinkLongerEdgeKAR, 400, 100, 400, 100, 1.0L},  // fits one way with a bar: kept
      {sShrinkLongerEdgeKAR, 400, 400, 184, 184, 0.46L},
      {sEnlargeShrinkLongerEdgeKAR, 100, 50, 200, 100, 2.0L},
      {sEnlargeShrinkLongerEdgeKAR, 400, 400, 184, 184, 0.46L},
      {sEnlargeLongerEdgeKAR, 100, 100, 184, 184, 1.84L},
      {sEnlargeLongerEdgeKAR, 400, 400, 400, 400, 1.0L},
      {sZoomKAR, 640, 400, 640, 400, 1.0L},
  };
  for (const TCase& c : cases) {
    viewer_->SetStretch(c.Stretch);
    Show(c.ImageW, c.ImageH);
    SCOPED_TRACE(::testing::Message() << "stretch " << c.Stretch << " " << c.ImageW << "x" << c.ImageH);
    EXPECT_EQ(viewer_->PicBox()->Width(), c.BoxW);
    EXPECT_EQ(viewer_->PicBox()->Height(), c.BoxH);
    EXPECT_NEAR(static_cast<double>(viewer_->EffectiveZoom()), static_cast<double>(c.Zoom), 1e-9);
  }
}

TEST_F(ViewerLayout, ZoomFactorScalesAndNonPositiveFactorsShowTheOwnSize) {
  int changes = 0;
  viewer_->OnZoomFactorChange = [&](TObject*) { ++changes; };
  viewer_->SetStretch(sZoomKAR);
  Show(640, 400);
  struct TCase {
    long double Factor;
    int BoxW, BoxH;
  };
  const TCase cases[] = {{0.5L, 320, 200}, {0.0L, 640, 400}, {-2.0L, 640, 400}, {1.5L, 960, 600}};
  for (const TCase& c : cases) {
    viewer_->SetZoomFactor(c.Factor);
    EXPECT_EQ(viewer_->PicBox()->Width(), c.BoxW) << static_cast<double>(c.Factor);
    EXPECT_EQ(viewer_->PicBox()->Height(), c.BoxH) << static_cast<double>(c.Factor);
  }
  EXPECT_EQ(changes, 3);  // 0.5, back to 1 (0 and -2 both give 1), 1.5
  // Huge factors stop at the side GDI can address, and the conversions stay in range.
  Show(100, 100);
  viewer_->SetZoomFactor(1e6L);
  EXPECT_EQ(viewer_->PicBox()->Width(), 32767);
  EXPECT_EQ(viewer_->PicBox()->Height(), 32767);
  EXPECT_EQ(viewer_->ImageToPicBoxX(100), 32767);
  EXPECT_EQ(viewer_->PicBoxToImageX(32767), 100);
}

TEST_F(ViewerLayout, CentringPlacesTheBoxAndScrollsAnOversizedDirectionToItsMiddle) {
  viewer_->SetCenter(true);
  Show(100, 50);
  EXPECT_EQ(TRectValue(viewer_->PicBox()->BoundsRect()), TRectValue(50, 50, 150, 100));
  // Wider than the area: the horizontal bar takes 16 from the height, the box is centred in
  // what is left and the view scrolled to the middle of the picture.
  Show(300, 50);
  EXPECT_TRUE(viewer_->HorzScrollBar()->IsScrollBarVisible());
  EXPECT_EQ(viewer_->HorzScrollBar()->Position(), 50);
  EXPECT_EQ(TRectValue(viewer_->PicBox()->BoundsRect()), TRectValue(-50, 42, 250, 92));
}

TEST_F(ViewerLayout, TheBorderTakesTwoPixelsWithCtl3DAndOneWithout) {
  viewer_->SetStretch(sAlways);
  Show(10, 10);
  viewer_->SetBorderStyle(bsSingle);
  viewer_->SetBounds(0, 0, 200, 150);
  EXPECT_EQ(viewer_->PicBox()->Width(), 196);
  EXPECT_EQ(viewer_->PicBox()->Height(), 146);
  viewer_->SetCtl3D(false);
  viewer_->SetBounds(0, 0, 200, 151);
  EXPECT_EQ(viewer_->PicBox()->Width(), 198);
  EXPECT_EQ(viewer_->PicBox()->Height(), 149);
  EXPECT_EQ(viewer_->ClientWidth(), 198);
}

TEST_F(ViewerLayout, AutoSizeAddsTheBarBeforeTheOtherLimit) {
  int reportedW = 0, reportedH = 0;
  viewer_->OnNewAutoSize = [&](TObject*, int w, int h) { reportedW = w, reportedH = h; };
  viewer_->SetAutoSizeMaxWidth(250);
  viewer_->SetAutoSize(true);
  Show(300, 100);
  EXPECT_EQ(reportedW, 250);
  EXPECT_EQ(reportedH, 116);
  EXPECT_EQ(viewer_->Width(), 250);
  EXPECT_EQ(viewer_->Height(), 116);
  // With the height limited too, the vertical bar's width is added, still within the width limit.
  viewer_->SetAutoSizeMaxHeight(110);
  EXPECT_EQ(viewer_->Height(), 110);
  EXPECT_EQ(viewer_->Width(), 250);
  // Off, the size is still told but the control keeps its own.
  viewer_->SetAutoSize(false);
  viewer_->SetBounds(0, 0, 200, 150);
  Show(20, 10);
  EXPECT_EQ(reportedW, 20);
  EXPECT_EQ(reportedH, 10);
  EXPECT_EQ(viewer_->Width(), 200);
}

TEST_F(ViewerLayout, EmptyViewerAndTinyControlsSkipTheRules) {
  viewer_->SetStretch(sAlways);
  EXPECT_EQ(viewer_->PicBox()->Width(), 0);
  EXPECT_EQ(viewer_->ImageToPicBoxX(5), 0);
  EXPECT_EQ(viewer_->PicBoxToImageX(5), 0);
  Show(30, 20);
  viewer_->SetBounds(0, 0, 0, 0);
  EXPECT_EQ(viewer_->PicBox()->Width(), 30);  // the picture's own size
  EXPECT_EQ(viewer_->PicBox()->Height(), 20);
}

TEST_F(ViewerLayout, PublishedPropertiesAndDefaultsReachFormDescriptions) {
  const TClassInfo* info = GetClass("TPGImage");
  ASSERT_NE(info, nullptr);
  for (const char* name : {"ActionMode",        "Allow24BitStretch",
                           "AutoSize",          "KeepOldPaintPixelGraphic",
                           "PicBoxColor",       "PicBoxCursor",
                           "PicBoxDragCursor",  "PicBoxDragMode",
                           "PicBoxParentColor", "PicBoxParentShowHint",
                           "PicBoxShowHint",    "PicBoxTag",
                           "PicBoxHint",        "PicBoxOnClick",
                           "Progress5Clocks",   "ProgressClockVisible",
                           "ShowHourGlass",     "Stretch",
                           "StretchMode",       "ZoomFactor",
                           "DragMode",          "DragCursor",
                           "OnDragDrop",        "Ctl3D",
                           "UseThread",         "Tiling"})
    EXPECT_NE(GetPropInfo(*viewer_, name), nullptr) << name;
  SetEnumProp(*viewer_, *GetPropInfo(*viewer_, "Stretch"), "sAlways");
  EXPECT_EQ(viewer_->Stretch(), sAlways);
  SetEnumProp(*viewer_, *GetPropInfo(*viewer_, "StretchMode"), "smMedium");
  EXPECT_EQ(viewer_->StretchMode(), smMedium);
  SetEnumProp(*viewer_, *GetPropInfo(*viewer_, "PicBoxDragMode"), "dmAutomatic");
  EXPECT_EQ(viewer_->PicBox()->DragMode(), dmAutomatic);
  SetOrdProp(*viewer_, *GetPropInfo(*viewer_, "PicBoxCursor"), crDefault);
  EXPECT_EQ(viewer_->PicBox()->Cursor(), crDefault);
  EXPECT_EQ(GetPropInfo(*viewer_, "DitherErrorLimit")->Default, 32);
  EXPECT_EQ(GetPropInfo(*viewer_, "ActionMode")->Default, amMoveImage);
  EXPECT_FALSE(GetPropInfo(*viewer_, "ZoomFactor")->Default.has_value());  // always stored
  EXPECT_FALSE(GetPropInfo(*viewer_, "PicBoxColor")->Default.has_value());
}
