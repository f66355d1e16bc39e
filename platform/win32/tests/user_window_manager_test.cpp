// Activation, positions and input through the desktop back end under a window manager, in a fresh
// process (the test binary has chosen the headless display already), with real X input.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/display.h"
#include "host/testing/outside_tools.h"
#include "host/testing/window_manager.h"
#include "host/testing/xvfb.h"
#include "win32/user.h"

namespace {

int gActivations = 0;

LRESULT CountActivations(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) ++gActivations;
  return DefWindowProcA(w, m, wp, lp);
}

// Runs the loop for `span`, or until `done` holds.
template <typename Done>
void Pump(std::chrono::milliseconds span, Done done) {
  for (auto end = std::chrono::steady_clock::now() + span; std::chrono::steady_clock::now() < end && !done();) {
    MSG m;
    if (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    else
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Presses of the left button, by window.
std::map<HWND, int> gPresses;
int gMoves = 0;

LRESULT CountPressesAndMoves(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_LBUTTONDOWN) ++gPresses[w];
  if (m == WM_MOVE) ++gMoves;
  return DefWindowProcA(w, m, wp, lp);
}

const char* PressCounterClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountPressesAndMoves;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = "PressCounter";
    RegisterClassA(&wc);
    return wc.lpszClassName;
  }();
  return name;
}

constexpr DWORD kFramed = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND Framed(const char* title, int x, int y, int width, int height, HWND owner = nullptr) {
  return CreateWindowExA(0, PressCounterClass(), title, kFramed | WS_VISIBLE, x, y, width, height, owner, nullptr,
                         nullptr, nullptr);
}

// The X window of each title, once the window manager has taken it; 0 for those it has not.
std::vector<xtest::XId> WaitManaged(const std::vector<std::string>& titles) {
  std::vector<xtest::XId> found(titles.size());
  auto managed = [](xtest::XId w) { return w && !xtest::Property(w, "_NET_WM_ALLOWED_ACTIONS").empty(); };
  Pump(std::chrono::seconds(10), [&] {
    for (std::size_t i = 0; i < titles.size(); ++i) found[i] = xtest::FindByTitle(titles[i]);
    return std::all_of(found.begin(), found.end(), managed);
  });
  for (xtest::XId& w : found)
    if (!managed(w)) w = 0;
  Pump(std::chrono::milliseconds(300), [] { return false; });
  return found;
}

bool RealInput(const std::string& xdotoolArguments) {
  return std::system(("xdotool " + xdotoolArguments).c_str()) == 0;
}

std::string Text(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

POINT OnScreen(xtest::XId window) {
  POINT p{-1, -1};
  int x = 0, y = 0;
  if (xtest::ScreenPosition(window, x, y)) p = POINT{x, y};
  return p;
}

POINT ClientOnScreen(HWND window, POINT p = {0, 0}) {
  ClientToScreen(window, &p);
  return p;
}

bool Same(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// A borderless pop-up opened at a control's bottom left corner, as drop-down lists and palettes
// open; "" when its X window came to that corner as the X server has it (the top-level window's
// X window `topShown` and the corner's place in it), else what went wrong.
std::string PopUpUnder(HWND control, xtest::XId topShown) {
  RECT r{};
  GetClientRect(control, &r);
  const POINT at = ClientOnScreen(control, POINT{0, r.bottom});
  const POINT top = ClientOnScreen(GetAncestor(control, GA_ROOT)), real = OnScreen(topShown);
  const POINT expectedOnScreen{real.x + at.x - top.x, real.y + at.y - top.y};
  HWND popUp = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, PressCounterClass(), "pop-up",
                               WS_POPUP | WS_BORDER | WS_VISIBLE, at.x, at.y, 80, 60, control, nullptr, nullptr,
                               nullptr);
  xtest::XId x = 0;
  Pump(std::chrono::seconds(5), [&] {
    if (!x) x = xtest::FindByTitle("pop-up");
    return x && Same(OnScreen(x), expectedOnScreen);
  });
  const POINT shown = x ? OnScreen(x) : POINT{-1, -1};
  DestroyWindow(popUp);
  if (!Same(shown, expectedOnScreen))
    return "the pop-up shows at " + Text(shown) + " instead of " + Text(expectedOnScreen) + "; ";
  return "";
}

// A window shows where it asked to be, not moved by the frame; when the user drags it by its
// title bar it follows (rectangles, client mapping, placement, WM_MOVE), and a pop-up under its
// control opens at the control's real bottom edge before and after.
std::string FollowAWindowTheUserMoves() {
  HWND window = Framed("moved", 40, 60, 240, 160);
  HWND control = CreateWindowExA(0, PressCounterClass(), "", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 30, 60, 20, window,
                                 nullptr, nullptr, nullptr);
  const xtest::XId x = WaitManaged({"moved"})[0];
  if (!x) return "the window manager did not take the window";
  std::string faults;
  RECT rect{};
  GetWindowRect(window, &rect);
  if (rect.left != 40 || rect.top != 60) faults += "the window is at " + Text({rect.left, rect.top}) + "; ";
  const POINT before = OnScreen(x);
  if (!Same(before, ClientOnScreen(window)))
    faults += "the client area shows at " + Text(before) + ", not at " + Text(ClientOnScreen(window)) + "; ";
  faults += PopUpUnder(control, x);

  constexpr int kDragX = 100, kDragY = 60;
  const int grabX = before.x + 120, grabY = before.y - 8;  // the title bar of the frame
  RealInput("mousemove " + std::to_string(grabX) + " " + std::to_string(grabY) + " mousedown 1 sleep 0.2 mousemove " +
            std::to_string(grabX + kDragX / 2) + " " + std::to_string(grabY + kDragY / 2) + " sleep 0.2 mousemove " +
            std::to_string(grabX + kDragX) + " " + std::to_string(grabY + kDragY) + " sleep 0.2 mouseup 1");
  POINT after{};
  Pump(std::chrono::seconds(5), [&] {
    after = OnScreen(x);
    return !Same(after, before) && Same(after, ClientOnScreen(window));
  });
  // Window managers may stop short of the pointer (fluxbox drops the last motion) or snap to an
  // edge: what counts is that USER follows wherever the window went.
  const POINT dragged{after.x - before.x, after.y - before.y};
  if (dragged.x <= 0 || dragged.x > kDragX || dragged.y <= 0 || dragged.y > kDragY)
    faults += "the drag moved the window from " + Text(before) + " to " + Text(after) + "; ";
  if (!Same(after, ClientOnScreen(window)))
    faults += "the client area is at " + Text(after) + " but maps to " + Text(ClientOnScreen(window)) + "; ";
  RECT moved{};
  GetWindowRect(window, &moved);
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  GetWindowPlacement(window, &placement);
  if (moved.left != rect.left + dragged.x || moved.top != rect.top + dragged.y ||
      placement.rcNormalPosition.left != moved.left || placement.rcNormalPosition.top != moved.top)
    faults += "the window's rectangle is " + Text({moved.left, moved.top}) + ", its placement " +
              Text({placement.rcNormalPosition.left, placement.rcNormalPosition.top}) + "; ";
  if (gMoves == 0) faults += "no WM_MOVE; ";
  faults += PopUpUnder(control, x);
  return faults;
}

// A modal window over its disabled owner: a click on the owner reaches no window, beeps, and the
// modal window stays in front and active; the desktop knows it as a dialog for its owner.
std::string ClickTheOwnerOfAModalWindow() {
  HWND owner = Framed("owner", 40, 60, 300, 200);
  EnableWindow(owner, FALSE);
  HWND modal = CreateWindowExA(WS_EX_DLGMODALFRAME, PressCounterClass(), "modal", WS_POPUP | kFramed | WS_VISIBLE, 120,
                               100, 200, 120, owner, nullptr, nullptr, nullptr);
  const std::vector<xtest::XId> x = WaitManaged({"owner", "modal"});
  if (!x[0] || !x[1]) return "the window manager did not take the windows";
  std::string faults;
  if (xtest::TransientFor(x[1]) != x[0]) faults += "the modal window is not transient for its owner; ";
  if (!xtest::HasAtom(xtest::Property(x[1], "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_DIALOG"))
    faults += "the modal window is no dialog; ";
  const int beeps = MessageBeepCount();
  const POINT onOwner = OnScreen(x[0]);
  RealInput("mousemove " + std::to_string(onOwner.x + 15) + " " + std::to_string(onOwner.y + 170) + " click 1");
  Pump(std::chrono::seconds(3), [&] { return MessageBeepCount() > beeps; });
  Pump(std::chrono::milliseconds(500), [] { return false; });
  if (gPresses[owner] || gPresses[modal]) faults += "the click reached a window; ";
  if (MessageBeepCount() != beeps + 1) faults += "no beep; ";
  if (GetActiveWindow() != modal) faults += "the modal window is no longer active; ";
  const std::vector<xtest::XId> stacking = xtest::RootProperty("_NET_CLIENT_LIST_STACKING");  // bottom first
  const auto ownerAt = std::find(stacking.begin(), stacking.end(), x[0]);
  const auto modalAt = std::find(stacking.begin(), stacking.end(), x[1]);
  if (modalAt == stacking.end() || modalAt < ownerAt) faults += "the owner went in front of the modal window; ";
  const std::vector<xtest::XId> active = xtest::RootProperty("_NET_ACTIVE_WINDOW");
  if (active.empty() || active[0] != x[1]) faults += "the desktop's active window is not the modal one; ";
  return faults;
}

// After a click on the desktop, the first click on an inactive window activates it and reaches it.
std::string ClickAnInactiveWindow() {
  HWND left = Framed("left", 20, 40, 200, 120);
  HWND right = Framed("right", 300, 40, 200, 120);
  const std::vector<xtest::XId> x = WaitManaged({"left", "right"});
  if (!x[0] || !x[1]) return "the window manager did not take the windows";
  SetActiveWindow(left);
  Pump(std::chrono::milliseconds(500), [] { return false; });
  RealInput("mousemove 600 450 click 1");
  Pump(std::chrono::milliseconds(500), [] { return false; });
  const POINT inRight = OnScreen(x[1]);
  RealInput("mousemove " + std::to_string(inRight.x + 50) + " " + std::to_string(inRight.y + 50) + " click 1");
  Pump(std::chrono::seconds(3), [&] { return gPresses[right] > 0 && GetActiveWindow() == right; });
  std::string faults;
  if (gPresses[right] != 1) faults += std::to_string(gPresses[right]) + " presses reached the window; ";
  if (GetActiveWindow() != right) faults += "the window was not activated; ";
  return faults;
}

// Two windows activated one after the other before the window manager answered the first: its
// late answer must not start another round, so the activation settles on the second window.
std::string ActivateTwoWindowsAtOnce() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountActivations;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = "ActivationCounter";
  RegisterClassA(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  HWND first =
      CreateWindowExA(0, wc.lpszClassName, "first", style, 20, 20, 200, 120, nullptr, nullptr, nullptr, nullptr);
  HWND second =
      CreateWindowExA(0, wc.lpszClassName, "second", style, 260, 20, 200, 120, nullptr, nullptr, nullptr, nullptr);
  xtest::XId firstX = 0, secondX = 0;
  auto managed = [](xtest::XId w) { return w && !xtest::Property(w, "_NET_WM_ALLOWED_ACTIONS").empty(); };
  Pump(std::chrono::seconds(10), [&] {
    firstX = xtest::FindByTitle("first");
    secondX = xtest::FindByTitle("second");
    return managed(firstX) && managed(secondX);
  });
  if (!managed(firstX) || !managed(secondX)) return "the window manager did not take the windows";
  Pump(std::chrono::milliseconds(500), [] { return false; });

  SetActiveWindow(first);
  SetActiveWindow(second);
  auto desktopActive = [] {
    const std::vector<xtest::XId> active = xtest::RootProperty("_NET_ACTIVE_WINDOW");
    return active.empty() ? 0 : active[0];
  };
  // Settled: the second window active for us and for the window manager, and no activation for
  // a while.
  auto lastChange = std::chrono::steady_clock::now();
  int seen = gActivations;
  Pump(std::chrono::seconds(20), [&] {
    const auto now = std::chrono::steady_clock::now();
    if (gActivations != seen) {
      seen = gActivations;
      lastChange = now;
    }
    return now - lastChange > std::chrono::seconds(1) && GetActiveWindow() == second && desktopActive() == secondX;
  });
  if (GetActiveWindow() != second || desktopActive() != secondX)
    return "the activation did not settle on the second window (" + std::to_string(gActivations) + " activations)";
  const int settled = gActivations;
  Pump(std::chrono::seconds(1), [] { return false; });
  if (gActivations != settled) return "the windows are still being activated";
  return "";
}

// Runs `scenario` in a fresh process on the desktop back end under the window manager; it returns
// what went wrong, empty when nothing did.
void ExpectOnDesktop(const std::function<std::string()>& scenario, bool needsRealInput) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  ScopedWindowManager manager;
  if (!manager.Running()) GTEST_SKIP() << "no window manager (" << manager.Name() << ")";
  if (needsRealInput && !HaveTool("xdotool")) GTEST_SKIP() << "no xdotool for real X input";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* forcedValue = std::getenv("STARTLOGO_DISPLAY");
  const std::string forced = forcedValue ? forcedValue : "";
  ::unsetenv("STARTLOGO_DISPLAY");
  EXPECT_EXIT(
      {
        const std::string faults =
            std::string(host::TheDisplay().Name()) == "headless" ? "the SDL2 back end did not start" : scenario();
        std::fputs(faults.c_str(), stderr);
        std::_Exit(faults.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (!forced.empty()) ::setenv("STARTLOGO_DISPLAY", forced.c_str(), 1);
}

TEST(UserWindowManager, ActivationSettlesWhenTheWindowManagerAnswersLate) {
  ExpectOnDesktop(ActivateTwoWindowsAtOnce, false);
}

TEST(UserWindowManager, AWindowIsWhereItAskedAndFollowsTheUsersMoveAndItsPopUpsFollowIt) {
  ExpectOnDesktop(FollowAWindowTheUserMoves, true);
}

TEST(UserWindowManager, AClickOnTheOwnerOfAModalWindowReachesNothingAndLeavesTheModalWindowInFront) {
  ExpectOnDesktop(ClickTheOwnerOfAModalWindow, true);
}

TEST(UserWindowManager, TheFirstClickOnAnInactiveWindowActs) { ExpectOnDesktop(ClickAnInactiveWindow, true); }

}  // namespace
