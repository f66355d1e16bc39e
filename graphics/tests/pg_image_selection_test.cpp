// The viewer's selection driven by injected mouse input: rubber band, moving, the eight handles,
// amNone, cursors, automatic scrolling and the striped frame.
#include <gtest/gtest.h>

#include "graphics/library.h"
#include "graphics/pg_image.h"
#include "viewer_fixture.h"

namespace {

class ViewerSelection : public ViewerTest {
 protected:
  ViewerSelection() {
    viewer_->SetParent(&form_);
    viewer_->SetBorderStyle(bsNone);
    viewer_->SetBounds(0, 0, 200, 150);
    viewer_->SetActionMode(amMoveResizeCreateSelection);
    viewer_->AssignPixelGraphic(Picture(100, 80).get());  // paint box at (0, 0), one pixel per pixel
    viewer_->OnSelectionMade = [this](TObject*) { ++made_; };
    ShowForm();
  }
  POINT OnScreen(int x, int y) { return viewer_->PicBox()->ClientToScreen({x, y}); }
  void Press(int x, int y) {
    const POINT p = OnScreen(x, y);
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
    PumpMessages();
  }
  void MoveTo(int x, int y) {
    const POINT p = OnScreen(x, y);
    InjectMouseMove(p.x, p.y);
    PumpMessages();
  }
  void Release(int x, int y) {
    const POINT p = OnScreen(x, y);
    InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
    PumpMessages();
  }
  void Drag(int x, int y, int toX, int toY) {
    Press(x, y);
    MoveTo(toX, toY);
    Release(toX, toY);
  }
  TRectValue Sel() {
    return {viewer_->SelectionLeft(), viewer_->SelectionTop(), viewer_->SelectionWidth(), viewer_->SelectionHeight()};
  }
  // The cursor the viewer sets with the mouse at (x, y) of the paint box.
  HCURSOR CursorAt(int x, int y) {
    MoveTo(x, y);
    SendMessageA(viewer_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(viewer_->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  }

  TPGImage* viewer_ = new TPGImage(&form_);
  int made_ = 0;
};

}  // namespace

TEST_F(ViewerSelection, RubberBandGivesTheSameRectangleBothWaysWithBothEndsIncluded) {
  Drag(10, 10, 30, 20);
  EXPECT_EQ(Sel(), TRectValue(10, 10, 21, 11));  // left, top, width, height
  EXPECT_TRUE(viewer_->Selection());
  EXPECT_EQ(made_, 1);
  // From right to left, starting outside the selection (inside would move it).
  Drag(70, 60, 50, 50);
  EXPECT_EQ(Sel(), TRectValue(50, 50, 21, 11));
  EXPECT_EQ(made_, 2);
  Drag(55, 55, 45, 50);  // inside: moved by (-10, -5)
  EXPECT_EQ(Sel(), TRectValue(40, 45, 21, 11));
  EXPECT_EQ(viewer_->DragState(), 0);
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(ViewerSelection, AMovedSelectionKeepsAtLeastOnePixelOnThePicture) {
  viewer_->SetActionMode(amMoveSelection);
  viewer_->SetSelection(true);
  viewer_->SetSelectionBounds(10, 10, 20, 20);
  Press(15, 15);
  EXPECT_EQ(viewer_->DragState(), 2);
  MoveTo(25, 17);
  EXPECT_EQ(Sel(), TRectValue(20, 12, 20, 20));
  MoveTo(-200, -200);
  EXPECT_EQ(Sel(), TRectValue(-19, -19, 20, 20));
  MoveTo(500, 500);
  EXPECT_EQ(Sel(), TRectValue(99, 79, 20, 20));
  Release(500, 500);
  EXPECT_EQ(made_, 1);
  // Outside the selection nothing starts in this mode.
  Press(5, 5);
  EXPECT_EQ(viewer_->DragState(), 0);
  Release(5, 5);
}

TEST_F(ViewerSelection, EachOfTheEightHandlesMovesItsEdges) {
  struct TCase {
    const char* Handle;
    int X, Y;  // the handle's middle
    TRectValue After;
  };
  // Selection (20, 20) 40 by 30: display rectangle (20, 20, 60, 50); each drag goes by (+5, +5).
  const TCase cases[] = {
      {"top-left", 14, 14, {25, 25, 35, 25}},      {"top-middle", 40, 14, {20, 25, 40, 25}},
      {"top-right", 65, 14, {20, 25, 45, 25}},     {"left-middle", 14, 35, {25, 20, 35, 30}},
      {"right-middle", 65, 35, {20, 20, 45, 30}},  {"bottom-left", 14, 55, {25, 20, 35, 35}},
      {"bottom-middle", 40, 55, {20, 20, 40, 35}}, {"bottom-right", 65, 55, {20, 20, 45, 35}},
  };
  viewer_->SetSelection(true);
  int state = 4;
  for (const TCase& c : cases) {
    viewer_->SetSelectionBounds(20, 20, 40, 30);
    Press(c.X, c.Y);
    EXPECT_EQ(viewer_->DragState(), state++) << c.Handle;
    MoveTo(c.X + 5, c.Y + 5);
    Release(c.X + 5, c.Y + 5);
    EXPECT_EQ(Sel(), c.After) << c.Handle;
  }
  // A left or top edge never passes the opposite one.
  viewer_->SetSelectionBounds(20, 20, 40, 30);
  Drag(14, 14, 90, 90);
  EXPECT_EQ(Sel(), TRectValue(59, 49, 1, 1));
}

TEST_F(ViewerSelection, WithoutActionModeAClickOnlyReachesTheUsersHandler) {
  viewer_->SetActionMode(amNone);
  int downs = 0;
  viewer_->SetPicBoxOnMouseDown([&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; });
  Press(10, 10);
  EXPECT_EQ(viewer_->DragState(), 0);
  MoveTo(40, 40);
  Release(40, 40);
  EXPECT_EQ(downs, 1);
  EXPECT_FALSE(viewer_->Selection());
  EXPECT_EQ(Sel(), TRectValue(0, 0, 1, 1));
  EXPECT_EQ(made_, 0);
}

TEST_F(ViewerSelection, OnlyTheLeftButtonsReleaseEndsADrag) {
  Press(10, 10);
  const POINT p = OnScreen(20, 20);
  InjectMouseButton(host::InputEvent::Right, true, p.x, p.y);
  InjectMouseButton(host::InputEvent::Right, false, p.x, p.y);
  PumpMessages();
  EXPECT_EQ(viewer_->DragState(), 3);
  Release(20, 20);
  EXPECT_EQ(viewer_->DragState(), 0);
}

TEST_F(ViewerSelection, TheCursorTellsWhatAClickWouldDo) {
  EXPECT_EQ(CursorAt(90, 70), PGCursorCross);
  viewer_->SetSelection(true);
  viewer_->SetSelectionBounds(20, 20, 40, 30);
  EXPECT_EQ(CursorAt(30, 30), PGCursorMove);
  EXPECT_EQ(CursorAt(40, 14), Screen->Cursors(crSizeNS));
  EXPECT_EQ(CursorAt(65, 35), Screen->Cursors(crSizeWE));
  EXPECT_EQ(CursorAt(14, 14), Screen->Cursors(crSizeNWSE));
  EXPECT_EQ(CursorAt(65, 14), Screen->Cursors(crSizeNESW));
  // A picture larger than the client area shows the open hand in amMoveImage; the user's handler
  // may replace the cursor.
  viewer_->SetActionMode(amMoveImage);
  EXPECT_EQ(CursorAt(30, 30), Screen->Cursors(crDefault));  // not scrollable yet
  viewer_->AssignPixelGraphic(Picture(400, 300).get());
  EXPECT_EQ(CursorAt(30, 30), PGCursorOpenHand);
  viewer_->PicBoxOnSetCursor = [](TObject*, int& cursor) {
    cursor = static_cast<int>(reinterpret_cast<std::intptr_t>(PGCursorCross));
  };
  EXPECT_EQ(CursorAt(30, 30), PGCursorCross);
  Screen->SetCursor(crHourGlass);
  viewer_->PicBoxOnSetCursor = nullptr;
  EXPECT_EQ(CursorAt(30, 30), Screen->Cursors(crHourGlass));
  Screen->SetCursor(crDefault);
}

TEST_F(ViewerSelection, DraggingThePictureScrollsItAndPastTheEdgeTheSelectionScrollsByItself) {
  viewer_->SetActionMode(amMoveImage);
  viewer_->AssignPixelGraphic(Picture(400, 300).get());
  Press(50, 50);
  EXPECT_EQ(viewer_->DragState(), 1);
  MoveTo(20, 30);  // the picture follows the mouse
  EXPECT_EQ(viewer_->HorzScrollBar()->Position(), 30);
  EXPECT_EQ(viewer_->VertScrollBar()->Position(), 20);
  Release(20, 30);
  // Drawing a selection with the mouse right of the client area scrolls 5 pixels per tick.
  viewer_->SetActionMode(amMoveResizeCreateSelection);
  viewer_->HorzScrollBar()->SetPosition(0);
  Press(100, 100);
  const POINT outside = viewer_->ClientToScreen({viewer_->ClientWidth() + 10, 100});
  InjectMouseMove(outside.x, outside.y);
  EXPECT_TRUE(PumpUntil([&] { return viewer_->HorzScrollBar()->Position() >= 10; }, 2000));
  Release(viewer_->ClientWidth() + 10 - viewer_->PicBox()->Left(), 100);
  const int stopped = viewer_->HorzScrollBar()->Position();
  std::this_thread::sleep_for(std::chrono::milliseconds(120));
  PumpMessages();
  EXPECT_EQ(viewer_->HorzScrollBar()->Position(), stopped);  // the timer is gone with the drag
}

TEST_F(ViewerSelection, TheFrameIsDrawnInDiagonalStripesThatMoveWithThePhase) {
  viewer_->SetActionMode(amMoveSelection);  // no handles
  viewer_->SetSelection(true);
  viewer_->SetSelectionBounds(10, 10, 40, 20);
  UpdateWindow(viewer_->Handle());
  auto row = [&] {
    const host::Image shot = CaptureClient(viewer_->Handle());
    std::vector<std::uint32_t> r;
    for (int x = 9; x <= 50; ++x) r.push_back(Pixel(shot, x, 9));
    return r;
  };
  const std::vector<std::uint32_t> before = row();
  // Runs of four of each colour along the top edge.
  int whites = 0, reds = 0;
  for (std::uint32_t p : before) {
    whites += p == 0xFFFFFF;
    reds += p == 0xFF0000;
  }
  EXPECT_EQ(whites + reds, static_cast<int>(before.size()));
  EXPECT_NEAR(whites, reds, 4);
  for (std::size_t x = 4; x < before.size(); ++x) EXPECT_NE(before[x], before[x - 4]) << x;
  viewer_->AnimateSelection(nullptr);
  const std::vector<std::uint32_t> after = row();
  for (std::size_t x = 1; x < before.size(); ++x) EXPECT_EQ(after[x], before[x - 1]) << x;
  EXPECT_EQ(viewer_->AnimationPhase(), 1);
}
