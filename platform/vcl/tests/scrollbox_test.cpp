#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/extctrls.h"
#include "vcl/forms_scrolling.h"

namespace {

// A scroll box of 100x100 (96x96 inside its sunken edge) holding a panel that reaches 300 down
// and a button 10 from the left.
class ScrollBoxTest : public StdCtrlsTest {
 protected:
  ScrollBoxTest() {
    box_->SetParent(&form_);
    box_->SetBounds(10, 10, 100, 100);
    tall_->SetBounds(0, 250, 50, 50);
    tall_->SetParent(box_);
    button_->SetBounds(10, 10, 40, 20);
    button_->SetParent(box_);
    ShowForm();
  }
  int ClientH() { return box_->ClientHeight(); }

  TScrollBox* box_ = new TScrollBox(&form_);
  TPanel* tall_ = new TPanel(&form_);
  TButton* button_ = new TButton(&form_);
};

}  // namespace

TEST_F(ScrollBoxTest, RangesFollowTheChildrenAndOnlyTheNeededBarShows) {
  TControlScrollBar* v = box_->VertScrollBar();
  TControlScrollBar* h = box_->HorzScrollBar();
  EXPECT_EQ(v->Range(), 300);
  EXPECT_EQ(h->Range(), 50);
  EXPECT_TRUE(v->IsScrollBarVisible());
  EXPECT_FALSE(h->IsScrollBarVisible());
  const DWORD style = static_cast<DWORD>(GetWindowLongA(box_->Handle(), GWL_STYLE));
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_EQ(box_->ClientWidth(), 96 - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(ClientH(), 96);

  // A wide child brings the other bar, which takes height from the client area.
  tall_->SetWidth(200);
  EXPECT_TRUE(h->IsScrollBarVisible());
  EXPECT_EQ(ClientH(), 96 - GetSystemMetrics(SM_CYHSCROLL));
  // An invisible bar never shows and keeps its position at 0.
  h->SetVisible(false);
  EXPECT_FALSE(h->IsScrollBarVisible());
  h->SetPosition(30);
  EXPECT_EQ(h->Position(), 0);
  EXPECT_EQ(button_->Left(), 10);
}

TEST_F(ScrollBoxTest, PositionIsClampedAndMovesTheChildren) {
  TControlScrollBar* v = box_->VertScrollBar();
  const int last = 300 - ClientH();
  struct TCase {
    int Wanted, Position;
  };
  for (const TCase& c : {TCase{40, 40}, TCase{-5, 0}, TCase{1000, last}, TCase{last - 1, last - 1}}) {
    SCOPED_TRACE(c.Wanted);
    v->SetPosition(c.Wanted);
    EXPECT_EQ(v->Position(), c.Position);
    EXPECT_EQ(tall_->Top(), 250 - c.Position);
    EXPECT_EQ(button_->Top(), 10 - c.Position);
  }
  // Scrolling keeps the range: the children's extent is counted from the unscrolled origin.
  EXPECT_EQ(v->Range(), 300);
  // A smaller range brings the position back within it.
  box_->SetAutoScroll(false);
  v->SetRange(150);
  EXPECT_EQ(v->Position(), 150 - ClientH());
  EXPECT_EQ(button_->Top(), 10 - (150 - ClientH()));
}

TEST_F(ScrollBoxTest, ScrollMessagesStepByIncrementAndPage) {
  TControlScrollBar* v = box_->VertScrollBar();
  v->SetIncrement(5);
  struct TStep {
    WORD Code;
    int Pos, Expected;
  };
  const int page = ClientH(), last = 300 - ClientH();
  const TStep steps[] = {{SB_LINEDOWN, 0, 5},      {SB_LINEDOWN, 0, 10},   {SB_PAGEDOWN, 0, 10 + page},
                         {SB_LINEUP, 0, 5 + page}, {SB_PAGEUP, 0, 5},      {SB_BOTTOM, 0, last},
                         {SB_TOP, 0, 0},           {SB_THUMBTRACK, 70, 0}, {SB_THUMBPOSITION, 70, 70},
                         {SB_ENDSCROLL, 0, 70}};
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.Code);
    SendMessageA(box_->Handle(), WM_VSCROLL, MAKEWPARAM(s.Code, s.Pos), 0);
    EXPECT_EQ(v->Position(), s.Expected);
  }
  v->SetTracking(true);
  SendMessageA(box_->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 20), 0);
  EXPECT_EQ(v->Position(), 20);
}

TEST_F(ScrollBoxTest, TheMouseWorksTheFrameBar) {
  TControlScrollBar* v = box_->VertScrollBar();
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  const int x = box_->ClientWidth() + bar / 2;  // on the bar, in client coordinates
  // The lower arrow steps by the increment.
  Click(box_, x, ClientH() - 3);
  EXPECT_EQ(v->Position(), 8);
  EXPECT_EQ(button_->Top(), 2);
  // The track below the thumb pages.
  Click(box_, x, ClientH() - bar - 5);
  EXPECT_EQ(v->Position(), 8 + ClientH());
  // Dragging the thumb to the bottom without tracking moves nothing until release.
  v->SetPosition(0);
  POINT from = OnScreen(box_, x, bar + 3), to = OnScreen(box_, x, ClientH() + 40);
  InjectMouseMove(from.x, from.y);
  InjectMouseButton(host::InputEvent::Left, true, from.x, from.y);
  PumpMessages();
  InjectMouseMove(to.x, to.y);
  PumpMessages();
  EXPECT_EQ(v->Position(), 0);
  InjectMouseButton(host::InputEvent::Left, false, to.x, to.y);
  PumpMessages();
  EXPECT_EQ(v->Position(), 300 - ClientH());
  EXPECT_EQ(GetCapture(), nullptr);
  // The bar is painted in the frame: the dithered track under the upper arrow, the thumb's plain
  // face just above the lower arrow.
  PumpMessages();
  const host::Image shot = CaptureWindow(form_.Handle());
  const int edge = 2, barX = box_->Left() + edge + box_->ClientWidth() + bar / 2;
  const int trackY = box_->Top() + edge + bar + 1, thumbY = box_->Top() + edge + ClientH() - bar - 4;
  EXPECT_NE(shot.At(barX, trackY), shot.At(barX + 1, trackY));
  EXPECT_EQ(shot.At(barX, thumbY), shot.At(barX + 1, thumbY));
}
