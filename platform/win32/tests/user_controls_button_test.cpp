#include <gtest/gtest.h>

#include "user_test_support.h"
#include "win32/controls.h"

namespace {

class ButtonControlTest : public UserTest {
 protected:
  HWND MakeButton(HWND parent, DWORD type, int id, int y = 0) {
    return CreateWindowExA(0, "Button", "Press", WS_CHILD | WS_VISIBLE | type, 0, y, 80, 24, parent,
                           reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), nullptr, nullptr);
  }
  std::vector<WPARAM> Clicks(HWND parent) {
    std::vector<WPARAM> out;
    for (const Logged& l : log)
      if (l.window == parent && l.message == WM_COMMAND && HIWORD(l.wParam) == BN_CLICKED)
        out.push_back(LOWORD(l.wParam));
    return out;
  }
};

TEST_F(ButtonControlTest, PressAndReleaseOverTheButtonClicksOnceAndReleaseOutsideDoesNot) {
  HWND form = Top(0, 0, 200, 200);
  HWND button = MakeButton(form, BS_PUSHBUTTON, 7);
  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Clicks(form), std::vector<WPARAM>{7});

  SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(150, 5));
  EXPECT_FALSE(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
  EXPECT_EQ(Clicks(form).size(), 1u);

  SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(button, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(Clicks(form).size(), 2u);
}

TEST_F(ButtonControlTest, AutomaticCheckBoxTogglesAndPlainOneLeavesItToTheParent) {
  HWND form = Top(0, 0, 200, 200);
  HWND automatic = MakeButton(form, BS_AUTOCHECKBOX, 1);
  HWND plain = MakeButton(form, BS_CHECKBOX, 2, 30);
  SendMessageA(automatic, BM_CLICK, 0, 0);
  SendMessageA(plain, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(automatic, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
  EXPECT_EQ(SendMessageA(plain, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  SendMessageA(automatic, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(automatic, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(Clicks(form), (std::vector<WPARAM>{1, 2, 1}));
}

TEST_F(ButtonControlTest, AutomaticRadioButtonClearsTheOthersOfItsParent) {
  HWND form = Top(0, 0, 200, 200);
  HWND a = MakeButton(form, BS_AUTORADIOBUTTON, 1);
  HWND b = MakeButton(form, BS_AUTORADIOBUTTON, 2, 30);
  SendMessageA(a, BM_CLICK, 0, 0);
  SendMessageA(b, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageA(a, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_UNCHECKED));
  EXPECT_EQ(SendMessageA(b, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
}

TEST_F(ButtonControlTest, OwnerDrawnButtonAsksItsParentToDrawIt) {
  HWND form = Top(0, 0, 200, 200);
  DRAWITEMSTRUCT seen{};
  answer = [&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
    if (m != WM_DRAWITEM) return false;
    seen = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    r = TRUE;
    return true;
  };
  HWND button = MakeButton(form, BS_OWNERDRAW | WS_DISABLED, 9);
  UpdateWindow(form);
  UpdateWindow(button);
  EXPECT_EQ(seen.CtlType, ODT_BUTTON);
  EXPECT_EQ(seen.CtlID, 9u);
  EXPECT_EQ(seen.hwndItem, button);
  EXPECT_TRUE(seen.itemState & ODS_DISABLED);
  EXPECT_EQ(seen.rcItem.right, 80);
}

}  // namespace
