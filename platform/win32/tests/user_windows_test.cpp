#include <vector>

#include "user_test_support.h"

namespace {

class UserWindows : public UserTest {};

TEST_F(UserWindows, ClientAreaFollowsTheFrameStyles) {
  struct Case {
    const char* name;
    DWORD style, exStyle;
    RECT client;  // in window coordinates of a 200x100 window
  };
  const Case cases[] = {
      {"popup", WS_POPUP, 0, {0, 0, 200, 100}},
      {"border", WS_POPUP | WS_BORDER, 0, {1, 1, 199, 99}},
      {"fixed caption", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, {3, 21, 197, 97}},
      {"sizeable", WS_OVERLAPPEDWINDOW, 0, {4, 22, 196, 96}},
      {"modal frame", WS_POPUP, WS_EX_DLGMODALFRAME, {3, 3, 197, 97}},
      {"client edge and scroll bars", WS_POPUP | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE, {2, 2, 182, 82}},
      {"tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, {3, 19, 197, 97}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = Top(100, 50, 200, 100, c.style, kPlain, c.exStyle);
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, c.client.right - c.client.left);
    EXPECT_EQ(r.bottom, c.client.bottom - c.client.top);
    POINT p{0, 0};
    ClientToScreen(w, &p);
    EXPECT_EQ(p.x, 100 + c.client.left);
    EXPECT_EQ(p.y, 50 + c.client.top);
    RECT adjusted{0, 0, r.right, r.bottom};
    AdjustWindowRectEx(&adjusted, c.style, FALSE, c.exStyle);
    EXPECT_EQ(adjusted.right - adjusted.left, 200);
    EXPECT_EQ(adjusted.bottom - adjusted.top, 100);
    DestroyWindow(w);
  }
}

TEST_F(UserWindows, CreationSendsNcCreateCreateSizeMoveWithTheCreateStruct) {
  static int param = 5;
  answer = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_CREATE) {
      EXPECT_EQ(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams, &param);
    }
    return false;
  };
  HWND w = CreateWindowExA(0, kPlain, "made", WS_POPUP, 1, 2, 30, 40, nullptr, nullptr, nullptr, &param);
  ASSERT_TRUE(w);
  EXPECT_EQ(Messages(w, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
            (std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}));
  char text[8];
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "made");
  DestroyWindow(w);

  answer = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& r) {
    r = -1;
    return m == WM_CREATE;
  };
  EXPECT_EQ(CreateWindowExA(0, kPlain, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(UserWindows, DestroyOrderOwnedFirstThenDestroyDownwardsAndNcDestroyUpwards) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 0, 0, 10, 10);
  HWND grandChild = Child(child, 0, 0, 5, 5);
  HWND owned = CreateWindowExA(0, kPlain, "", WS_POPUP, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(owned), parent);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), parent);
  log.clear();
  EXPECT_TRUE(DestroyWindow(parent));
  using P = std::pair<HWND, UINT>;
  EXPECT_EQ(Trace({WM_DESTROY, WM_NCDESTROY}), (std::vector<P>{{owned, WM_DESTROY},
                                                               {owned, WM_NCDESTROY},
                                                               {parent, WM_DESTROY},
                                                               {child, WM_DESTROY},
                                                               {grandChild, WM_DESTROY},
                                                               {grandChild, WM_NCDESTROY},
                                                               {child, WM_NCDESTROY},
                                                               {parent, WM_NCDESTROY}}));
  for (HWND w : {parent, child, grandChild, owned}) EXPECT_FALSE(IsWindow(w));
}

TEST_F(UserWindows, SetWindowPosReportsChangesAndTopmostStaysAbove) {
  HWND a = Top(0, 0, 50, 50);
  HWND b = Top(0, 0, 50, 50);
  log.clear();
  SetWindowPos(a, HWND_TOPMOST, 5, 6, 70, 80, SWP_NOACTIVATE);
  EXPECT_EQ(Messages(a, {WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  RECT r;
  GetWindowRect(a, &r);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom, 86);
  EXPECT_TRUE(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
  BringWindowToTop(b);  // an ordinary window stays below the topmost one
  EXPECT_EQ(GetTopWindow(nullptr), a);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), a);
  log.clear();
  MoveWindow(b, 0, 0, 50, 50, TRUE);  // no change: neither WM_MOVE nor WM_SIZE
  EXPECT_TRUE(Messages(b, {WM_MOVE, WM_SIZE}).empty());
  // Hiding is seen in WM_WINDOWPOSCHANGED's flags.
  UINT flags = 0;
  answer = [&](HWND w, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (w == b && m == WM_WINDOWPOSCHANGED) flags = reinterpret_cast<WINDOWPOS*>(lp)->flags;
    return false;
  };
  ShowWindow(b, SW_HIDE);
  EXPECT_TRUE(flags & SWP_HIDEWINDOW);
  EXPECT_FALSE(IsWindowVisible(b));
}

TEST_F(UserWindows, RelationsMappingLongsAndProperties) {
  HWND top = Top(100, 100, 200, 200);
  HWND child = Child(top, 10, 20, 50, 50, WS_CHILD | WS_VISIBLE | WS_BORDER);
  SetWindowLongA(child, GWL_ID, 17);
  EXPECT_EQ(GetWindowLongA(child, GWL_ID), 17);
  EXPECT_EQ(GetParent(child), top);
  EXPECT_TRUE(IsChild(top, child));
  EXPECT_EQ(GetWindow(top, GW_CHILD), child);
  EXPECT_EQ(GetAncestor(child, GA_ROOT), top);
  POINT p{0, 0};
  MapWindowPoints(child, top, &p, 1);
  EXPECT_EQ(p.x, 11);  // inside the border
  EXPECT_EQ(p.y, 21);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{15, 25}), child);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{150, 150}), top);

  int data = 0;
  EXPECT_TRUE(SetPropA(child, "Owner", &data));
  EXPECT_EQ(GetPropA(child, "OWNER"), &data);
  EXPECT_EQ(RemovePropA(child, "owner"), &data);
  EXPECT_EQ(GetPropA(child, "Owner"), nullptr);

  EXPECT_EQ(SetParent(child, nullptr), top);
  EXPECT_FALSE(IsChild(top, child));
}

TEST_F(UserWindows, DisablingTakesTheFocusAndCloseDestroysByDefault) {
  HWND top = Top(0, 0, 100, 100);
  HWND child = Child(top, 0, 0, 10, 10);
  SetFocus(child);
  EXPECT_EQ(GetFocus(), child);
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_EQ(GetFocus(), nullptr);
  PostMessageA(top, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_EQ(Messages(top, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}),
            (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(UserWindows, DefaultPositionsCascadeAndStartAgainWhenTheNextWouldNotFit) {
  auto placed = [](HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    return std::pair<int, int>{r.left, r.top};
  };
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
  // A window nearly the screen's size fits only at the corner, so the cascade starts there again.
  HWND big = Top(CW_USEDEFAULT, 0, 1010, 750, WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(placed(big), (std::pair{0, 0}));
  EXPECT_EQ(placed(Top(CW_USEDEFAULT, 0, 1010, 750, WS_OVERLAPPEDWINDOW)), (std::pair{0, 0}));
  EXPECT_EQ(placed(Top(CW_USEDEFAULT, 0, 100, 80, WS_OVERLAPPEDWINDOW)), (std::pair{step, step}));
  HWND sized = Top(CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(placed(sized), (std::pair{2 * step, 2 * step}));
  RECT r;
  GetWindowRect(sized, &r);
  EXPECT_EQ(r.right - r.left, 768);
  // An explicit position takes no step; children are not cascaded.
  EXPECT_EQ(placed(Top(5, 6, 100, 80, WS_OVERLAPPEDWINDOW)), (std::pair{5, 6}));
  EXPECT_EQ(placed(Top(CW_USEDEFAULT, 0, 100, 80, WS_OVERLAPPEDWINDOW)), (std::pair{3 * step, 3 * step}));
  HWND child = Child(big, CW_USEDEFAULT, 0, 10, 10);
  POINT origin{0, 0};
  MapWindowPoints(child, big, &origin, 1);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

TEST_F(UserWindows, CancelModeReleasesTheWindowsCapture) {
  HWND a = Top(0, 0, 50, 50), b = Top(60, 0, 50, 50);
  SetCapture(a);
  SendMessageA(b, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), a) << "another window's capture stays";
  SendMessageA(a, WM_CANCELMODE, 0, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(UserWindows, MetricsAreTheClassicOnes) {
  const std::pair<int, int> metrics[] = {
      {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16},  {SM_CYCAPTION, 18}, {SM_CXBORDER, 1},  {SM_CXFRAME, 4},
      {SM_CXDLGFRAME, 3}, {SM_CXEDGE, 2},      {SM_CXICON, 32},    {SM_CXSMICON, 16}, {SM_CXCURSOR, 32},
      {SM_CYMENU, 18},    {SM_CXSCREEN, 1024}, {SM_CYSCREEN, 768},
  };
  for (auto [index, value] : metrics) EXPECT_EQ(GetSystemMetrics(index), value) << index;
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(work.right, 1024);
}

}  // namespace

TEST_F(UserWindows, PlacementKeepsTheNormalRectangleWhileMinimisedOrMaximised) {
  HWND w = Top(30, 40, 200, 100, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  ASSERT_TRUE(GetWindowPlacement(w, &p));
  EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
  auto normal = [&] {
    GetWindowPlacement(w, &p);
    const RECT r = p.rcNormalPosition;
    return std::vector<LONG>{r.left, r.top, r.right, r.bottom};
  };
  EXPECT_EQ(normal(), (std::vector<LONG>{30, 40, 230, 140}));

  ShowWindow(w, SW_SHOWMAXIMIZED);
  RECT now{};
  GetWindowRect(w, &now);
  EXPECT_EQ(now.right - now.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(normal(), (std::vector<LONG>{30, 40, 230, 140}));
  EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED));
  ShowWindow(w, SW_MINIMIZE);
  EXPECT_EQ(normal(), (std::vector<LONG>{30, 40, 230, 140}));
  EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
  ShowWindow(w, SW_RESTORE);
  GetWindowRect(w, &now);
  EXPECT_EQ(std::vector<LONG>({now.left, now.top, now.right, now.bottom}), (std::vector<LONG>{30, 40, 230, 140}));

  ShowWindow(w, SW_MINIMIZE);
  MoveWindow(w, 50, 60, 200, 100, FALSE);
  EXPECT_EQ(normal(), (std::vector<LONG>{50, 60, 250, 160}));
  EXPECT_FALSE(GetWindowPlacement(nullptr, &p));
}
