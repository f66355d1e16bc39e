#include <chrono>
#include <thread>

#include "user_test_support.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

class UserPaint : public UserTest {
 protected:
  // Paints the whole client area of `painter` in `color`, however small the update region.
  void PaintWith(HWND painter, COLORREF color) {
    answer = [painter, color](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
      if (w != painter || m != WM_PAINT) return false;
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      HBRUSH b = CreateSolidBrush(color);
      RECT all{0, 0, 1000, 1000};
      FillRect(dc, &all, b);
      DeleteObject(b);
      EndPaint(w, &ps);
      return true;
    };
  }
};

TEST_F(UserPaint, PaintingReachesOnlyTheUpdateRegion) {
  HWND w = Top(0, 0, 40, 30);
  PumpMessages();  // first paint: the white class brush
  EXPECT_EQ(CaptureWindow(w).At(20, 20), kWhite);
  PaintWith(w, RGB(255, 0, 0));
  RECT part{10, 5, 20, 15};
  InvalidateRect(w, &part, FALSE);
  PumpMessages();
  host::Image shot = CaptureWindow(w);
  EXPECT_EQ(shot.At(10, 5), kRed);
  EXPECT_EQ(shot.At(19, 14), kRed);
  EXPECT_EQ(shot.At(20, 14), kWhite);
  EXPECT_EQ(shot.At(9, 5), kWhite);
  EXPECT_EQ(shot.At(10, 15), kWhite);
  // Validated: nothing more to paint.
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, w, WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

// What a window drew reaches the display though its thread never waits: its loop only peeks, or
// a timer is due again whenever the loop comes back, as when the work takes longer than the
// timer's interval.
TEST_F(UserPaint, DrawingReachesTheDisplayWhileTheLoopNeverWaits) {
  for (bool byTimer : {false, true}) {
    SCOPED_TRACE(byTimer ? "a timer always due" : "only peeking");
    HWND w = Top(0, 0, 40, 30);
    PaintWith(w, byTimer ? RGB(0, 0, 255) : RGB(255, 0, 0));
    if (byTimer) SetTimer(w, 1, 10, nullptr);
    for (int turn = 0; turn < 10; ++turn) {
      MSG m;
      if (byTimer ? GetMessageA(&m, nullptr, 0, 0) : PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
      std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
    if (byTimer) KillTimer(w, 1);
    const host::Image shown = host::TheDisplay().Capture(DisplaySurfaceOf(w));
    ASSERT_EQ(shown.width, 40);
    EXPECT_EQ(shown.At(20, 20), byTimer ? kBlue : kRed);
    DestroyWindow(w);
  }
}

TEST_F(UserPaint, ChildrenDrawAtTheirOffsetAndClipChildrenKeepsThemOut) {
  for (bool clipChildren : {false, true}) {
    SCOPED_TRACE(clipChildren ? "WS_CLIPCHILDREN" : "no clipping");
    HWND parent = Top(0, 0, 60, 60, WS_POPUP | WS_VISIBLE | (clipChildren ? WS_CLIPCHILDREN : 0));
    HWND child = Child(parent, 10, 10, 20, 20);
    PumpMessages();
    PaintWith(parent, RGB(255, 0, 0));
    InvalidateRect(parent, nullptr, FALSE);
    // Paint the parent only: without WS_CLIPCHILDREN it paints over the child.
    SendMessageA(parent, WM_PAINT, 0, 0);
    host::Image shot = CaptureWindow(parent);
    EXPECT_EQ(shot.At(5, 5), kRed);
    EXPECT_EQ(shot.At(15, 15), clipChildren ? kWhite : kRed);
    // The child was invalidated with its parent unless the parent clips it out.
    MSG m;
    EXPECT_EQ(PeekMessageA(&m, child, WM_PAINT, WM_PAINT, PM_NOREMOVE) != FALSE, !clipChildren);
    PaintWith(child, RGB(0, 0, 255));
    InvalidateRect(child, nullptr, FALSE);
    PumpMessages();
    shot = CaptureWindow(parent);
    EXPECT_EQ(shot.At(10, 10), kBlue);
    EXPECT_EQ(shot.At(29, 29), kBlue);
    EXPECT_EQ(shot.At(30, 30), kRed);
    answer = nullptr;
    DestroyWindow(parent);
  }
}

TEST_F(UserPaint, ClientCaptureOfAChildHoldsTheChildsPixels) {
  HWND parent = Top(30, 20, 60, 60, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(parent, 10, 10, 20, 20, WS_CHILD | WS_VISIBLE | WS_BORDER);
  PumpMessages();
  PaintWith(parent, RGB(255, 0, 0));
  InvalidateRect(parent, nullptr, FALSE);
  PumpMessages();
  PaintWith(child, RGB(0, 0, 255));
  InvalidateRect(child, nullptr, FALSE);
  PumpMessages();
  const host::Image shot = CaptureClient(child);
  ASSERT_EQ(shot.width, 18);
  ASSERT_EQ(shot.height, 18);
  EXPECT_EQ(shot.At(0, 0), kBlue);
  EXPECT_EQ(shot.At(17, 17), kBlue);
  // Partly past the parent's edge: what lies outside its window reads black.
  MoveWindow(child, 50, 50, 20, 20, TRUE);
  PumpMessages();
  const host::Image hanging = CaptureClient(child);
  ASSERT_EQ(hanging.width, 18);
  EXPECT_EQ(hanging.At(0, 0), kBlue);
  EXPECT_EQ(hanging.At(17, 17), 0u);
  answer = nullptr;
}

TEST_F(UserPaint, ClipSiblingsKeepsALowerSiblingFromDrawingOverAHigherOne) {
  HWND parent = Top(0, 0, 60, 60, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND lower = Child(parent, 0, 0, 40, 40, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  Child(parent, 20, 20, 30, 30);  // created later: above `lower`
  PumpMessages();
  HDC dc = GetDCEx(lower, nullptr, 0);
  RECT all{0, 0, 40, 40};
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &all, red);
  DeleteObject(red);
  ReleaseDC(lower, dc);
  host::Image shot = CaptureWindow(parent);
  EXPECT_EQ(shot.At(10, 10), kRed);
  EXPECT_EQ(shot.At(25, 25), kWhite);
}

TEST_F(UserPaint, EraseBackgroundUsesTheClassBrushAndCanBeSwallowed) {
  HWND w = Top(0, 0, 20, 20);
  PumpMessages();
  // Swallowed erase: BeginPaint reports it as not done, and the pixels stay as they were.
  HDC dc = GetDCEx(w, nullptr, 0);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT all{0, 0, 20, 20};
  FillRect(dc, &all, blue);
  DeleteObject(blue);
  ReleaseDC(w, dc);
  answer = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    r = 0;
    return m == WM_ERASEBKGND;
  };
  InvalidateRect(w, nullptr, TRUE);
  PAINTSTRUCT ps;
  BeginPaint(w, &ps);
  EXPECT_TRUE(ps.fErase);
  EndPaint(w, &ps);
  EXPECT_EQ(CaptureWindow(w).At(5, 5), kBlue);
  answer = nullptr;
  InvalidateRect(w, nullptr, TRUE);
  PumpMessages();
  EXPECT_EQ(CaptureWindow(w).At(5, 5), kWhite);
}

TEST_F(UserPaint, ScrollWindowMovesPixelsAndInvalidatesTheUncoveredBand) {
  HWND w = Top(0, 0, 30, 30);
  PumpMessages();
  HDC dc = GetDCEx(w, nullptr, 0);
  SetPixel(dc, 5, 5, RGB(255, 0, 0));
  ReleaseDC(w, dc);
  ScrollWindow(w, 3, 4, nullptr, nullptr);
  EXPECT_EQ(CaptureWindow(w).At(8, 9), kRed);
  RECT update;
  ASSERT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.left, 0);
  EXPECT_EQ(update.top, 0);
  EXPECT_EQ(update.right, 30);  // the band on the left and the one at the top
  EXPECT_EQ(update.bottom, 30);
}

}  // namespace

namespace {

TEST_F(UserPaint, ATransparentChildShowsWhatLiesBeneathAndIsPaintedAfterIt) {
  HWND parent = Top(0, 0, 60, 60, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  Child(parent, 40, 40, 10, 10);  // an opaque child
  HWND clear = CreateWindowExA(WS_EX_TRANSPARENT, kPlain, "clear", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10, 10, 30,
                               30, parent, nullptr, nullptr, nullptr);
  PumpMessages();
  std::vector<HWND> order;
  // The parent paints red everywhere it may; the transparent child draws only a blue dot.
  answer = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m != WM_PAINT || (w != parent && w != clear)) return false;
    order.push_back(w);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(w, &ps);
    HBRUSH b = CreateSolidBrush(w == parent ? RGB(255, 0, 0) : RGB(0, 0, 255));
    RECT r = w == parent ? RECT{0, 0, 60, 60} : RECT{0, 0, 2, 2};
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(w, &ps);
    return true;
  };
  // Invalidated beneath it (only the parent asked), the child is invalidated too and painted
  // after the parent, whatever order the queue holds them in.
  InvalidateRect(clear, nullptr, FALSE);
  RECT beneath{15, 15, 25, 25};
  InvalidateRect(parent, &beneath, FALSE);
  PumpMessages();
  EXPECT_EQ(order, (std::vector<HWND>{parent, clear}));
  host::Image shot = CaptureWindow(parent);
  EXPECT_EQ(shot.At(20, 20), kRed);  // the parent was not clipped out under the child
  EXPECT_EQ(shot.At(10, 10), kBlue);  // the child's own drawing on top
  EXPECT_EQ(shot.At(45, 45), kWhite);  // an opaque child is still clipped out
  // Only the parent invalidated beneath it: the child follows.
  order.clear();
  InvalidateRect(parent, &beneath, FALSE);
  PumpMessages();
  EXPECT_EQ(order, (std::vector<HWND>{parent, clear}));
  // Away from it, the child is left alone.
  order.clear();
  RECT away{0, 45, 5, 50};
  InvalidateRect(parent, &away, FALSE);
  PumpMessages();
  EXPECT_EQ(order, (std::vector<HWND>{parent}));
  answer = nullptr;
}

}  // namespace
