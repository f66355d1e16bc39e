// The transparent controls over a picture: what shows through, how often each invalidates, and
// switching transparency off.
#include <gtest/gtest.h>

#include "graphics/pg_image.h"
#include "graphics/transparent_controls.h"
#include "viewer_fixture.h"

namespace {

constexpr std::uint32_t kRed = 0xFF0000;

class TCountingGroupBox : public TPGGroupBox {
 public:
  using TPGGroupBox::TPGGroupBox;
  void Invalidate() override {
    ++invalidations;
    TPGGroupBox::Invalidate();
  }
  int invalidations = 0;
};

class TransparentControls : public ViewerTest {
 protected:
  TransparentControls() {
    viewer_->SetParent(&form_);
    viewer_->SetBorderStyle(bsNone);
    viewer_->SetBounds(0, 0, 300, 200);
    viewer_->SetStretch(sAlways);
    viewer_->AssignPixelGraphic(Picture(30, 20, 0x0000FF).get());  // red all over
    group_->SetParent(viewer_);
    group_->SetBounds(20, 20, 200, 120);
    group_->SetCaption("Group");
    check_->SetParent(group_);
    check_->SetBounds(20, 30, 120, 24);
    check_->SetCaption("Check");
    ShowForm();
  }
  int RedIn(HWND window) {
    const host::Image shot = CaptureClient(window);
    int n = 0;
    for (std::uint32_t p : shot.pixels) n += (p & 0xFFFFFF) == kRed;
    return n;
  }

  TPGImage* viewer_ = new TPGImage(&form_);
  TCountingGroupBox* group_ = new TCountingGroupBox(&form_);
  TPGCheckBox* check_ = new TPGCheckBox(&form_);
};

}  // namespace

TEST_F(TransparentControls, ACheckBoxInATransparentGroupBoxShowsThePictureAroundItsText) {
  EXPECT_TRUE(IsTransparentPGControl(check_));
  EXPECT_TRUE(IsTransparentPGControl(group_));
  const int red = RedIn(check_->Handle());
  EXPECT_GT(red, 120 * 24 / 2);  // most of it is the picture
  EXPECT_LT(red, 120 * 24);  // the box and the caption are drawn on it
  EXPECT_GT(RedIn(group_->Handle()), 200 * 120 / 2);
}

TEST_F(TransparentControls, InvalidatingTheCheckBoxInvalidatesTheGroupBoxOnce) {
  group_->invalidations = 0;
  check_->Invalidate();
  EXPECT_EQ(group_->invalidations, 1);
  // The group box in turn invalidates its transparent children; the re-entry flag ends it there.
  group_->invalidations = 0;
  group_->Invalidate();
  EXPECT_EQ(group_->invalidations, 1);
}

TEST_F(TransparentControls, SwitchedOffTheCheckBoxIsOpaqueAtOnce) {
  check_->SetTransparent(false);
  EXPECT_FALSE(IsTransparentPGControl(check_));
  EXPECT_FALSE(GetWindowLongA(check_->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_TRUE(check_->ControlStyle().Contains(csOpaque));
  PumpMessages();
  EXPECT_EQ(RedIn(check_->Handle()), 0);
  check_->SetTransparent(true);
  PumpMessages();
  EXPECT_GT(RedIn(check_->Handle()), 120 * 24 / 2);
  // Before the window exists only the value is stored; the window still gets the style.
  auto* later = new TPGCheckBox(&form_);
  later->SetTransparent(false);
  later->SetParent(group_);
  EXPECT_TRUE(GetWindowLongA(later->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
  EXPECT_EQ(GetPropInfo(*later, "Transparent")->Default, 1);
}

TEST_F(TransparentControls, AMovedLabelRepaintsTheAreaItLeavesAndTheOneItEnters) {
  auto* label = new TPGLabel(&form_);
  label->SetParent(viewer_);
  label->SetCaption("Label");
  label->SetBounds(230, 10, 40, 15);
  EXPECT_TRUE(label->Transparent());
  PumpMessages();
  ValidateRect(viewer_->Handle(), nullptr);
  label->SetBounds(230, 150, 40, 15);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(viewer_->Handle(), &update, FALSE));
  EXPECT_LE(update.top, 10);
  EXPECT_GE(update.bottom, 165);
  EXPECT_TRUE(IsTransparentPGControl(new TPGBevel(&form_)));
  EXPECT_FALSE(IsTransparentPGControl(viewer_));
}
