#include <chrono>
#include <cstdint>
#include <utility>

#include "host/display.h"

#include "user_test_support.h"
#include "win32/testing/driven_clock.h"

namespace {

class UserInput : public UserTest {
 protected:
  void Click(int x, int y) {
    InjectMouseButton(host::InputEvent::Left, true, x, y);
    InjectMouseButton(host::InputEvent::Left, false, x, y);
    PumpMessages();
  }
};

TEST_F(UserInput, MouseMessagesCarryClientCoordinatesAndKeyState) {
  HWND w = Top(100, 100, 50, 50, WS_POPUP | WS_VISIBLE | WS_BORDER);
  log.clear();
  InjectMouseButton(host::InputEvent::Left, true, 111, 121);
  InjectMouseMove(112, 122);
  PumpMessages();
  std::vector<Logged> mouse;
  for (const Logged& l : log)
    if (l.window == w && (l.message == WM_LBUTTONDOWN || l.message == WM_MOUSEMOVE)) mouse.push_back(l);
  ASSERT_EQ(mouse.size(), 2u);
  EXPECT_EQ(GET_X_LPARAM(mouse[0].lParam), 10);  // inside the one-pixel border
  EXPECT_EQ(GET_Y_LPARAM(mouse[0].lParam), 20);
  EXPECT_EQ(mouse[1].wParam & MK_LBUTTON, MK_LBUTTON);
  EXPECT_TRUE(GetKeyState(VK_LBUTTON) & 0x8000);
  InjectMouseButton(host::InputEvent::Left, false, 112, 122);
  PumpMessages();
  EXPECT_FALSE(GetKeyState(VK_LBUTTON) & 0x8000);
  // WM_SETCURSOR came before the mouse message with the hit test and the message.
  EXPECT_EQ(Messages(w, {WM_NCHITTEST, WM_SETCURSOR, WM_LBUTTONDOWN})[0], WM_NCHITTEST);
}

TEST_F(UserInput, CaptureGetsTheMouseEverywhereUntilReleased) {
  HWND a = Top(0, 0, 50, 50);
  HWND b = Top(100, 0, 50, 50);
  SetCapture(a);
  EXPECT_EQ(GetCapture(), a);
  log.clear();
  InjectMouseMove(120, 10);
  PumpMessages();
  ASSERT_EQ(Messages(a, {WM_MOUSEMOVE}).size(), 1u);
  EXPECT_TRUE(Messages(b, {WM_MOUSEMOVE, WM_SETCURSOR}).empty());
  for (const Logged& l : log) {
    if (l.message == WM_MOUSEMOVE) {
      EXPECT_EQ(GET_X_LPARAM(l.lParam), 120);
    }
  }
  SetCapture(b);
  EXPECT_EQ(Messages(a, {WM_CAPTURECHANGED}).size(), 1u);
  ReleaseCapture();
  EXPECT_EQ(Messages(b, {WM_CAPTURECHANGED}).size(), 1u);
  log.clear();
  InjectMouseMove(10, 10);
  PumpMessages();
  EXPECT_TRUE(Messages(b, {WM_MOUSEMOVE}).empty());
  EXPECT_EQ(Messages(a, {WM_MOUSEMOVE}).size(), 1u);
}

TEST_F(UserInput, TransparentHitTestPassesToTheWindowBeneath) {
  HWND top = Top(0, 0, 100, 100);
  HWND beneath = Child(top, 10, 10, 50, 50);
  HWND above = Child(top, 10, 10, 50, 50);
  SetWindowPos(above, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  for (bool transparent : {false, true}) {
    SCOPED_TRACE(transparent ? "HTTRANSPARENT" : "HTCLIENT");
    answer = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT& r) {
      r = HTTRANSPARENT;
      return transparent && w == above && m == WM_NCHITTEST;
    };
    log.clear();
    Click(20, 20);
    HWND expected = transparent ? beneath : above;
    EXPECT_EQ(WindowFromPoint(POINT{20, 20}), expected);
    EXPECT_EQ(Messages(expected, {WM_LBUTTONDOWN}).size(), 1u);
    EXPECT_TRUE(Messages(expected == above ? beneath : above, {WM_LBUTTONDOWN}).empty());
  }
}

TEST_F(UserInput, DoubleClicksOnlyForClassesThatAskForThem) {
  struct Case {
    const char* name;
    const char* cls;
    int secondX;
    int pauseMs;
    bool doubleClick;
  };
  const Case cases[] = {
      {"CS_DBLCLKS", kDoubleClicks, 20, 0, true},     {"no CS_DBLCLKS", kPlain, 20, 0, false},
      {"too far apart", kDoubleClicks, 26, 0, false}, {"just in time", kDoubleClicks, 20, 50, true},
      {"too slow", kDoubleClicks, 20, 51, false},
  };
  DrivenClock clock;
  SetDoubleClickTime(50);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE, c.cls);
    log.clear();
    Click(20, 20);
    clock.Advance(c.pauseMs);
    Click(c.secondX, 20);
    std::vector<UINT> expected = c.doubleClick ? std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}
                                               : std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDOWN};
    EXPECT_EQ(Messages(w, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}), expected);
    DestroyWindow(w);
  }
  SetDoubleClickTime(500);
  EXPECT_EQ(GetDoubleClickTime(), 500u);
}

TEST_F(UserInput, FocusMovesWithKillAndSetFocusAndKeysGoToIt) {
  HWND top = Top(0, 0, 100, 100);
  HWND one = Child(top, 0, 0, 10, 10);
  HWND two = Child(top, 20, 0, 10, 10);
  SetFocus(one);
  log.clear();
  EXPECT_EQ(SetFocus(two), one);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].window, one);
  EXPECT_EQ(log[0].message, WM_KILLFOCUS);
  EXPECT_EQ(reinterpret_cast<HWND>(log[0].wParam), two);
  EXPECT_EQ(log[1].window, two);
  EXPECT_EQ(log[1].message, WM_SETFOCUS);
  EXPECT_EQ(reinterpret_cast<HWND>(log[1].wParam), one);
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(GetForegroundWindow(), top);

  log.clear();
  InjectKey(VK_SHIFT, true);
  InjectKey('Q', true);
  InjectKey('Q', false);
  InjectKey(VK_SHIFT, false);
  PumpMessages();
  std::vector<Logged> keys;
  for (const Logged& l : log)
    if (l.window == two && (l.message == WM_KEYDOWN || l.message == WM_CHAR || l.message == WM_KEYUP))
      keys.push_back(l);
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[1].message, WM_KEYDOWN);
  EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>('Q'));
  EXPECT_EQ(keys[2].message, WM_CHAR);  // right after its key
  EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>('Q'));
  EXPECT_EQ(keys[3].message, WM_KEYUP);

  DestroyWindow(two);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(UserInput, ActivationMovesBetweenTopLevelWindows) {
  HWND a = Top(0, 0, 50, 50);
  HWND b = Top(100, 0, 50, 50);
  EXPECT_EQ(GetActiveWindow(), b);  // shown last
  log.clear();
  Click(10, 10);
  EXPECT_EQ(GetActiveWindow(), a);
  ASSERT_EQ(Messages(b, {WM_ACTIVATE}).size(), 1u);
  EXPECT_EQ(Messages(a, {WM_ACTIVATE}).size(), 1u);
  EXPECT_EQ(GetFocus(), a);
  DestroyWindow(a);
  EXPECT_EQ(GetActiveWindow(), b);
}

TEST_F(UserInput, MouseActivateDecidesActivationAndWhetherThePressIsEaten) {
  struct TCase {
    LRESULT Answer;
    bool Activates, Delivered;
  };
  const TCase cases[] = {{MA_ACTIVATE, true, true},
                         {MA_ACTIVATEANDEAT, true, false},
                         {MA_NOACTIVATE, false, true},
                         {MA_NOACTIVATEANDEAT, false, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Answer);
    HWND a = Top(0, 0, 50, 50);
    HWND child = Child(a, 10, 10, 20, 20);
    HWND b = Top(100, 0, 50, 50);
    ASSERT_EQ(GetActiveWindow(), b);
    // The top-level parent answers for its child through the default procedure.
    answer = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT& r) {
      if (w != a || m != WM_MOUSEACTIVATE) return false;
      r = c.Answer;
      return true;
    };
    log.clear();
    Click(15, 15);
    answer = nullptr;
    EXPECT_EQ(GetActiveWindow(), c.Activates ? a : b);
    EXPECT_EQ(Messages(child, {WM_LBUTTONDOWN}).size(), c.Delivered ? 1u : 0u);
    EXPECT_EQ(Messages(child, {WM_LBUTTONUP}).size(), 1u);
    const auto asked = Trace({WM_MOUSEACTIVATE});
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].first, child);
    EXPECT_EQ(asked[1].first, a);
    for (const Logged& l : log)
      if (l.message == WM_MOUSEACTIVATE) {
        EXPECT_EQ(reinterpret_cast<HWND>(l.wParam), a);
        EXPECT_EQ(HIWORD(l.lParam), WM_LBUTTONDOWN);
      }
    DestroyWindow(b);
    DestroyWindow(a);
  }
  // An active window is not asked again.
  HWND a = Top(0, 0, 50, 50);
  log.clear();
  Click(10, 10);
  EXPECT_TRUE(Messages(a, {WM_MOUSEACTIVATE}).empty());
}

TEST_F(UserInput, ClosingFromTheDisplayGoesThroughSysCommand) {
  HWND w = Top(0, 0, 50, 50);
  InjectClose(w);
  PumpMessages();
  EXPECT_EQ(Messages(w, {WM_SYSCOMMAND, WM_CLOSE}), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
  EXPECT_FALSE(IsWindow(w));
}

// The display draws a stock cursor by its id: the two numberings must be one.
TEST(StockCursors, AreTheDisplaysPointerShapes) {
  namespace p = host::pointer;
  const std::pair<LPCSTR, int> pairs[] = {
      {IDC_ARROW, p::kArrow},   {IDC_IBEAM, p::kIBeam},       {IDC_WAIT, p::kWait},
      {IDC_CROSS, p::kCross},   {IDC_SIZENWSE, p::kSizeNWSE}, {IDC_SIZENESW, p::kSizeNESW},
      {IDC_SIZEWE, p::kSizeWE}, {IDC_SIZENS, p::kSizeNS},     {IDC_SIZEALL, p::kSizeAll},
      {IDC_NO, p::kNo},         {IDC_HAND, p::kHand},         {IDC_APPSTARTING, p::kAppStarting},
  };
  for (const auto& [id, shape] : pairs)
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(id), static_cast<std::uintptr_t>(shape));
}

TEST_F(UserInput, CursorsStockAndMadeFromMasks) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_TRUE(arrow);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1)), nullptr);
  std::vector<BYTE> andMask(32 * 4, 0xFF), xorMask(32 * 4, 0);
  HCURSOR made = CreateCursor(nullptr, 3, 4, 32, 32, andMask.data(), xorMask.data());
  ASSERT_TRUE(made);
  SetCursor(arrow);
  EXPECT_EQ(SetCursor(made), arrow);
  EXPECT_EQ(GetCursor(), made);
  EXPECT_TRUE(DestroyCursor(made));
  EXPECT_FALSE(DestroyCursor(arrow));
  EXPECT_EQ(ShowCursor(FALSE), -1);
  EXPECT_EQ(ShowCursor(TRUE), 0);
  SetCursorPos(33, 44);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 33);
  EXPECT_EQ(p.y, 44);
}

// Stock shapes go to the display by their number; the up arrow, which the desktop lacks, as a
// picture: a white arrow pointing up, rimmed in black, its hot spot at the tip.
TEST_F(UserInput, TheUpArrowCursorShowsAnArrowPointingUpFromItsHotSpot) {
  SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  host::PointerShape shown = host::TheDisplay().Pointer();
  EXPECT_EQ(shown.stock, host::pointer::kWait);
  EXPECT_TRUE(shown.image.pixels.empty());
  SetCursor(LoadCursorA(nullptr, IDC_UPARROW));
  shown = host::TheDisplay().Pointer();
  ASSERT_EQ(shown.image.width, 32);
  ASSERT_EQ(shown.image.height, 32);
  const auto widthAt = [&](int y) {
    int n = 0;
    for (int x = 0; x < 32; ++x) n += (shown.image.At(x, y) >> 24) != 0;
    return n;
  };
  EXPECT_EQ(shown.hotY, 0);
  EXPECT_EQ(shown.image.At(shown.hotX, 0), 0xFFFFFFFFu);  // the tip
  EXPECT_LE(widthAt(0), 5);
  EXPECT_GT(widthAt(6), widthAt(2));  // the head widens downwards
  EXPECT_LT(widthAt(16), widthAt(6));  // to a narrower shaft
  EXPECT_EQ(shown.image.At(shown.hotX, 10), 0xFFFFFFFFu);
  int rim = 0;
  for (std::uint32_t p : shown.image.pixels) rim += p == 0xFF000000u;
  EXPECT_GT(rim, 0);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
