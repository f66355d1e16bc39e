#include <gtest/gtest.h>

#include <vector>

#include "vcl/utilwindow.h"
#include "win32/user.h"

namespace {

TEST(UtilWindow, MessagesGoToTheMethodUntilDeallocated) {
  std::vector<UINT> seen;
  HWND window = AllocateHWnd([&](TMessage& m) {
    seen.push_back(m.Msg);
    m.Result = m.Msg == WM_USER ? static_cast<LRESULT>(m.WParam + m.LParam) : 0;
  });
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(SendMessageA(window, WM_USER, 2, 3), 5);
  PostMessageA(window, WM_USER + 1, 0, 0);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT{WM_USER + 1}), seen.end());
  DeallocateHWnd(window);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
