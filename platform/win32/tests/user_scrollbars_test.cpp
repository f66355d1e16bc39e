// A window's own scroll bars: their state, the frame they take, the default drawing and the
// default procedure's tracking with the mouse.
#include <gtest/gtest.h>

#include "user_test_support.h"
#include "win32/stdcontrols.h"
#include "win32/syscolor.h"

namespace {

class ScrollBarsTest : public UserTest {
 protected:
  std::vector<Logged> ScrollMessages() const {
    std::vector<Logged> out;
    for (const Logged& l : log)
      if (l.message == WM_VSCROLL || l.message == WM_HSCROLL) out.push_back(l);
    return out;
  }
};

TEST_F(ScrollBarsTest, InfoKeepsPageAndPositionWithinTheRange) {
  HWND w = Top(0, 0, 120, 100);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(w, SB_VERT, &info));
  EXPECT_EQ(info.nMax, 100);  // the range a window's bar starts with
  SCROLLINFO set{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 10, 59, 20, 99, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &set, TRUE), 40);  // 59 - (20 - 1)
  set = {sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 500, 0, 0};
  SetScrollInfo(w, SB_VERT, &set, TRUE);
  info = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(w, SB_VERT, &info);
  EXPECT_EQ(info.nPage, 50u);
  EXPECT_EQ(info.nPos, 10);
  EXPECT_EQ(SetScrollPos(w, SB_VERT, 5, FALSE), 10);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 10);  // below the range
  ASSERT_TRUE(SetScrollRange(w, SB_HORZ, 0, 100000, FALSE));
  EXPECT_EQ(SetScrollPos(w, SB_HORZ, 70000, FALSE), 0);
  EXPECT_EQ(GetScrollPos(w, SB_HORZ), 70000);
  int low = -1, high = -1;
  ASSERT_TRUE(GetScrollRange(w, SB_HORZ, &low, &high));
  EXPECT_EQ(high, 100000);
  EXPECT_EQ(SetScrollInfo(w, SB_CTL, &set, TRUE), 0);
}

TEST_F(ScrollBarsTest, ShowingABarTakesItsRowFromTheClientAndDrawsIt) {
  HWND w = Top(0, 0, 120, 100);
  ASSERT_TRUE(ShowScrollBar(w, SB_BOTH, TRUE));
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
  RECT client;
  GetClientRect(w, &client);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  EXPECT_EQ(client.right, 120 - bar);
  EXPECT_EQ(client.bottom, 100 - GetSystemMetrics(SM_CYHSCROLL));
  PumpMessages();
  const host::Image shown = CaptureWindow(w);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  const std::uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
  EXPECT_EQ(shown.At(120 - bar / 2, 100 - 2), faceRgb);  // the corner
  EXPECT_EQ(shown.At(120 - bar + 3, 3), faceRgb);  // the up arrow, inside its raised edge
  EXPECT_NE(shown.At(120 - bar + 3, 40), shown.At(120 - bar + 4, 40));  // the dithered track
  ShowScrollBar(w, SB_VERT, FALSE);
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 120);
}

TEST_F(ScrollBarsTest, TheMouseSendsScrollRequestsWithTheFullTrackPosition) {
  HWND w = Top(0, 0, 120, 100);
  ShowScrollBar(w, SB_VERT, TRUE);
  SetScrollRange(w, SB_VERT, 0, 200000, TRUE);
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  const int x = 120 - bar / 2;
  InjectMouseButton(host::InputEvent::Left, true, x, 100 - bar / 2);  // the down arrow
  InjectMouseButton(host::InputEvent::Left, false, x, 100 - bar / 2);
  PumpMessages();
  std::vector<Logged> got = ScrollMessages();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(LOWORD(got[0].wParam), SB_LINEDOWN);
  EXPECT_EQ(LOWORD(got[1].wParam), SB_ENDSCROLL);

  log.clear();
  int tracked = -1;
  answer = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_VSCROLL && LOWORD(wp) == SB_THUMBTRACK) {
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(h, SB_VERT, &info);
      tracked = info.nTrackPos;
    }
    return false;
  };
  InjectMouseButton(host::InputEvent::Left, true, x, bar + 2);  // the thumb, at the top
  InjectMouseMove(x, 100 - bar - 1);
  InjectMouseButton(host::InputEvent::Left, false, x, 100 - bar - 1);
  PumpMessages();
  got = ScrollMessages();
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(LOWORD(got.front().wParam), SB_THUMBTRACK);
  EXPECT_EQ(tracked, 200000);
  EXPECT_EQ(HIWORD(got.front().wParam), 200000 & 0xFFFF);
  EXPECT_EQ(LOWORD(got[got.size() - 2].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(LOWORD(got.back().wParam), SB_ENDSCROLL);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetScrollPos(w, SB_VERT), 0);  // the window moves the thumb itself
}

// A window that goes while its bar is held, or loses the capture, must not keep every other
// window's bars from being tracked.
TEST_F(ScrollBarsTest, AWindowGoneOrCaptureLostWhileItsBarIsHeldEndsTheTracking) {
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  const int x = 120 - bar / 2, downArrow = 100 - bar / 2;
  for (bool destroy : {true, false}) {
    SCOPED_TRACE(destroy ? "destroyed" : "capture lost");
    HWND gone = Top(0, 0, 120, 100);
    ShowScrollBar(gone, SB_VERT, TRUE);
    answer = [&](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT&) {
      if (h == gone && m == WM_VSCROLL && LOWORD(wp) == SB_LINEDOWN) {
        if (destroy) DestroyWindow(h);
        else
          ReleaseCapture();
      }
      return false;
    };
    InjectMouseButton(host::InputEvent::Left, true, x, downArrow);
    PumpMessages();
    answer = nullptr;
    InjectMouseButton(host::InputEvent::Left, false, 400, 300);  // over neither window
    PumpMessages();

    HWND next = Top(200, 0, 120, 100);
    ShowScrollBar(next, SB_VERT, TRUE);
    log.clear();
    InjectMouseButton(host::InputEvent::Left, true, 200 + x, downArrow);
    InjectMouseButton(host::InputEvent::Left, false, 200 + x, downArrow);
    PumpMessages();
    std::vector<WPARAM> codes;
    for (const Logged& l : ScrollMessages())
      if (l.window == next) codes.push_back(LOWORD(l.wParam));
    EXPECT_EQ(codes, (std::vector<WPARAM>{SB_LINEDOWN, SB_ENDSCROLL}));
    EXPECT_EQ(GetCapture(), nullptr);
    if (!destroy) DestroyWindow(gone);
    DestroyWindow(next);
  }
}

}  // namespace
