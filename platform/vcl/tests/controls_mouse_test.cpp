#include <gtest/gtest.h>

#include "forms_fixture.h"
#include "win32/testing/windows.h"

namespace {

class ControlsMouseTest : public FormsTest {
 protected:
  ControlsMouseTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetBounds(100, 100, 200, 100);
    // B lies on top of A's right part; its left 10 pixels let the mouse through to A.
    a_->SetBounds(10, 10, 40, 40);
    a_->SetParent(&form_);
    b_->SetBounds(30, 10, 40, 40);
    b_->TransparentBelowX = 10;
    b_->SetParent(&form_);
    form_.Show();
    for (TLoggingControl* c : {a_, b_}) {
      c->OnClick = [this, c](TObject*) { log_.push_back("click " + c->Name()); };
      c->OnMouseUp = [this, c](TObject*, TMouseButton, TShiftState, int x, int y) {
        log_.push_back("up " + c->Name() + " " + std::to_string(x) + "," + std::to_string(y));
      };
    }
    a_->SetName("A");
    b_->SetName("B");
    log_.clear();
  }

  void Send(UINT msg, int x, int y, WPARAM keys = 0) { SendMessageA(form_.Handle(), msg, keys, MAKELPARAM(x, y)); }

  std::vector<std::string> log_;
  TForm form_{nullptr};
  TLoggingControl* a_ = new TLoggingControl(&form_, log_, "A");
  TLoggingControl* b_ = new TLoggingControl(&form_, log_, "B");
};

}  // namespace

TEST_F(ControlsMouseTest, WindowlessControlsHearTheMouseComeAndGo) {
  struct TMove {
    int X, Y;
    std::vector<std::string> Log;
  };
  const TMove moves[] = {
      {5, 5, {}},
      {15, 15, {"enter A"}},
      {20, 20, {}},
      {35, 15, {}},  // B's see-through strip: still over A
      {45, 15, {"leave A", "enter B"}},
      {5, 5, {"leave B"}},
      {65, 45, {"enter B"}},
  };
  for (const TMove& m : moves) {
    SCOPED_TRACE(std::to_string(m.X) + "," + std::to_string(m.Y));
    log_.clear();
    Send(WM_MOUSEMOVE, m.X, m.Y);
    EXPECT_EQ(log_, m.Log);
  }
  // The control under the mouse may go away.
  delete b_;
  EXPECT_EQ(Application->MouseControl(), nullptr);
  log_.clear();
  Send(WM_MOUSEMOVE, 15, 15);
  EXPECT_EQ(log_, (std::vector<std::string>{"enter A"}));
}

TEST_F(ControlsMouseTest, ClicksGoToTheControlThatTakesThePoint) {
  struct TClick {
    int X, Y;
    std::vector<std::string> Log;
  };
  const TClick clicks[] = {
      {15, 15, {"click A", "up A 5,5"}},
      {35, 15, {"click A", "up A 25,5"}},  // through B's see-through strip
      {45, 15, {"click B", "up B 15,5"}},
      {150, 80, {}},
  };
  for (const TClick& c : clicks) {
    SCOPED_TRACE(std::to_string(c.X) + "," + std::to_string(c.Y));
    log_.clear();
    Send(WM_LBUTTONDOWN, c.X, c.Y, MK_LBUTTON);
    Send(WM_LBUTTONUP, c.X, c.Y);
    EXPECT_EQ(log_, c.Log);
  }
}

TEST_F(ControlsMouseTest, PressedControlKeepsTheMouseUntilReleased) {
  Send(WM_LBUTTONDOWN, 15, 15, MK_LBUTTON);
  EXPECT_TRUE(a_->MouseCapture());
  EXPECT_TRUE(a_->ControlState().Contains(csLButtonDown));
  // Released over B: A still gets it, and without a click since the point left A.
  Send(WM_LBUTTONUP, 60, 30);
  EXPECT_EQ(log_, (std::vector<std::string>{"up A 50,20"}));
  EXPECT_FALSE(a_->MouseCapture());
  EXPECT_FALSE(a_->ControlState().Contains(csLButtonDown));
}

TEST_F(ControlsMouseTest, DoubleClickFiresDblClickAndDownWithDouble) {
  bool doubled = false;
  TShiftState shift;
  a_->OnDblClick = [&](TObject*) { doubled = true; };
  a_->OnMouseDown = [&](TObject*, TMouseButton, TShiftState s, int, int) { shift = s; };
  Send(WM_LBUTTONDBLCLK, 15, 15, MK_LBUTTON);
  Send(WM_LBUTTONUP, 15, 15);
  EXPECT_TRUE(doubled);
  EXPECT_TRUE(shift.Contains(ssDouble));
  // Without csDoubleClicks the second press is a plain press.
  doubled = false;
  a_->SetControlStyle(a_->ControlStyle() - TControlStyle{csDoubleClicks});
  Send(WM_LBUTTONDBLCLK, 15, 15, MK_LBUTTON);
  Send(WM_LBUTTONUP, 15, 15);
  EXPECT_FALSE(doubled);
  EXPECT_FALSE(shift.Contains(ssDouble));
}

TEST_F(ControlsMouseTest, PointsMapBetweenScreenAndClientAtEveryDepth) {
  // The form is borderless at (100, 100); a windowed child holds a window-less grandchild.
  auto* box = new TCustomControl(&form_);
  box->SetBounds(20, 30, 80, 50);
  box->SetParent(&form_);
  auto* inner = new TLoggingControl(&form_, log_, "inner");
  inner->SetBounds(5, 7, 10, 10);
  inner->SetParent(box);
  struct TCase {
    TControl* Control;
    TPoint Origin;
  };
  const TCase cases[] = {{&form_, {100, 100}}, {a_, {110, 110}}, {box, {120, 130}}, {inner, {125, 137}}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control->Name());
    const TPoint origin = c.Control->ClientOrigin();
    EXPECT_EQ(origin.x, c.Origin.x);
    EXPECT_EQ(origin.y, c.Origin.y);
    const TPoint screen = c.Control->ClientToScreen({3, 4});
    EXPECT_EQ(screen.x, c.Origin.x + 3);
    EXPECT_EQ(screen.y, c.Origin.y + 4);
    const TPoint back = c.Control->ScreenToClient(screen);
    EXPECT_EQ(back.x, 3);
    EXPECT_EQ(back.y, 4);
  }
  // Moving the form moves every origin with it.
  form_.SetBounds(40, 60, 200, 100);
  EXPECT_EQ(inner->ClientOrigin().x, 65);
  EXPECT_EQ(inner->ClientOrigin().y, 97);
  TLoggingControl orphan(nullptr, log_, "orphan");
  EXPECT_THROW(orphan.ClientOrigin(), EInvalidOperation);
}
