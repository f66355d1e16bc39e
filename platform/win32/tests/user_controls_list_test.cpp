// The list box and drop-down list classes.
#include <gtest/gtest.h>

#include "user_test_support.h"
#include "win32/controls.h"

namespace {

class ListControlTest : public UserTest {
 protected:
  int Notifications(HWND parent, WORD code) {
    int n = 0;
    for (const Logged& l : log) n += l.window == parent && l.message == WM_COMMAND && HIWORD(l.wParam) == code;
    return n;
  }
};

TEST_F(ListControlTest, SortedListSelectsByClickAndKeysAndNotifies) {
  HWND form = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE, kDoubleClicks);
  HWND list = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT, 0, 0, 150, 100, form,
                              nullptr, nullptr, nullptr);
  for (const char* s : {"pear", "Apple", "fig"}) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  char text[16] = {};
  SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Apple");
  EXPECT_EQ(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("PEAR")), 2);

  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.left + 3, item.top + 2));
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(list, WM_KEYDOWN, VK_DOWN, 0);  // already last
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
  SendMessageA(list, LB_SETCURSEL, 0, 0);  // the program's own choice does not notify
  EXPECT_EQ(Notifications(form, LBN_SELCHANGE), 2);
  SendMessageA(list, WM_LBUTTONDBLCLK, 0, MAKELPARAM(item.left + 3, item.top + 2));
  EXPECT_EQ(Notifications(form, LBN_DBLCLK), 1);
  EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 5, 0), LB_ERR);
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ListControlTest, KeepsTheSelectionInView) {
  HWND form = Top(0, 0, 200, 200);
  HWND list = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE, 0, 0, 150, 60, form, nullptr, nullptr, nullptr);
  for (int i = 0; i < 30; ++i) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(std::to_string(i).c_str()));
  SendMessageA(list, LB_SETCURSEL, 29, 0);
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  const LRESULT rows = 56 / SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
  EXPECT_EQ(top, 30 - rows);
  SendMessageA(list, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ListControlTest, DropDownListChoosesWithTheArrowsWithinItsItems) {
  HWND form = Top(0, 0, 200, 200);
  HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 0, 0, 150, 22, form,
                               nullptr, nullptr, nullptr);
  for (const char* s : {"C:", "Z:"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
  char text[8] = {};
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(SendMessageA(combo, CB_GETCURSEL, 0, 0)),
               reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "Z:");
  EXPECT_EQ(Notifications(form, CBN_SELCHANGE), 1);
}

}  // namespace
