#pragma once
// A fixture for USER layer tests: window classes whose procedure records every message and lets
// the test answer some, and the windows a test made, destroyed after it.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "win32/testing/windows.h"
#include "win32/user.h"

struct Logged {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class UserTest : public ::testing::Test {
 protected:
  static constexpr const char* kPlain = "UserTestPlain";
  static constexpr const char* kDoubleClicks = "UserTestDoubleClicks";

  static inline std::vector<Logged> log;
  // Return true with the result set to answer a message instead of DefWindowProc.
  static inline std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;

  static LRESULT Procedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    log.push_back({w, m, wp, lp});
    LRESULT r = 0;
    if (answer && answer(w, m, wp, lp, r)) return r;
    return DefWindowProcA(w, m, wp, lp);
  }

  void SetUp() override {
    for (auto [name, style] : {std::pair{kPlain, 0u}, std::pair{kDoubleClicks, static_cast<UINT>(CS_DBLCLKS)}}) {
      WNDCLASSA wc{};
      wc.style = style;
      wc.lpfnWndProc = Procedure;
      wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      wc.lpszClassName = name;
      RegisterClassA(&wc);  // once per process; later calls fail harmlessly
    }
    log.clear();
    answer = nullptr;
  }

  void TearDown() override {
    answer = nullptr;
    for (HWND w : made_)
      if (IsWindow(w)) DestroyWindow(w);
    ReleaseCapture();
    PumpMessages();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE, const char* cls = kPlain, DWORD ex = 0) {
    HWND hwnd = CreateWindowExA(ex, cls, "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
    made_.push_back(hwnd);
    return hwnd;
  }
  // Kept too: a test may give a child to another parent or to none, and it must not outlive the test.
  HWND Child(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE, const char* cls = kPlain) {
    HWND hwnd = CreateWindowExA(0, cls, "child", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
    made_.push_back(hwnd);
    return hwnd;
  }

  // The messages of `window` (or of all windows) among `wanted`, in order.
  static std::vector<UINT> Messages(HWND window, std::initializer_list<UINT> wanted) {
    std::vector<UINT> out;
    for (const Logged& l : log)
      if ((!window || l.window == window) && std::find(wanted.begin(), wanted.end(), l.message) != wanted.end())
        out.push_back(l.message);
    return out;
  }
  static std::vector<std::pair<HWND, UINT>> Trace(std::initializer_list<UINT> wanted) {
    std::vector<std::pair<HWND, UINT>> out;
    for (const Logged& l : log)
      if (std::find(wanted.begin(), wanted.end(), l.message) != wanted.end()) out.emplace_back(l.window, l.message);
    return out;
  }

 private:
  std::vector<HWND> made_;
};
