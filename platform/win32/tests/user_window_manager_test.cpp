// Activation through the desktop back end under a window manager, in a fresh process (the test
// binary has chosen the headless display already).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/display.h"
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

TEST(UserWindowManager, ActivationSettlesWhenTheWindowManagerAnswersLate) {
  ScopedXServer server;
  if (!server.Available()) GTEST_SKIP() << "no X display and no Xvfb";
  ScopedWindowManager manager;
  if (!manager.Running()) GTEST_SKIP() << "no window manager (openbox)";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const char* forcedValue = std::getenv("STARTLOGO_DISPLAY");
  const std::string forced = forcedValue ? forcedValue : "";
  ::unsetenv("STARTLOGO_DISPLAY");
  EXPECT_EXIT(
      {
        const std::string faults = std::string(host::TheDisplay().Name()) == "headless"
                                       ? "the SDL2 back end did not start"
                                       : ActivateTwoWindowsAtOnce();
        std::fputs(faults.c_str(), stderr);
        std::_Exit(faults.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  if (!forced.empty()) ::setenv("STARTLOGO_DISPLAY", forced.c_str(), 1);
}

}  // namespace
