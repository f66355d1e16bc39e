// The mouse wheel as the user turns it: to the focus window whatever lies under the pointer, on to
// the parents of a window that has no use for it, and through the lines of the list classes.
#include <gtest/gtest.h>

#include <string>

#include "user_test_support.h"
#include "win32/controls.h"

namespace {

class WheelTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    form_ = Top(100, 100, 400, 300, WS_POPUP | WS_VISIBLE);
    SetActiveWindow(form_);
  }

  HWND List(int x, int items) {
    HWND list = Child(form_, x, 10, 150, 100, WS_CHILD | WS_VISIBLE | LBS_NOTIFY, "ListBox");
    for (int i = 0; i < items; ++i)
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    return list;
  }
  HWND Combo(int items) {
    HWND combo = Child(form_, 10, 150, 150, 22, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, "ComboBox");
    for (int i = 0; i < items; ++i)
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    return combo;
  }

  static POINT Middle(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void Wheel(int notches, POINT at) {
    InjectWheel(notches, at.x, at.y);
    PumpMessages();
  }
  static LRESULT TopIndex(HWND list) { return SendMessageA(list, LB_GETTOPINDEX, 0, 0); }

  HWND form_ = nullptr;
};

TEST_F(WheelTest, AListScrollsThreeLinesANotchAndKeepsItsSelection) {
  UINT lines = 0;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
  EXPECT_EQ(lines, 3u);
  HWND list = List(10, 30);
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  SetFocus(list);
  const int rows = 96 / static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  struct Turn {
    int notches;
    LRESULT top;
  };
  for (const Turn turn : {Turn{-2, 6}, Turn{1, 3}, Turn{5, 0}, Turn{-20, 30 - rows}}) {
    Wheel(turn.notches, Middle(list));
    EXPECT_EQ(TopIndex(list), turn.top) << turn.notches << " notches";
  }
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_TRUE(Messages(form_, {WM_COMMAND}).empty()) << "scrolling chooses nothing";
}

TEST_F(WheelTest, TheFocusWindowScrollsNotTheOneUnderThePointer) {
  HWND focused = List(10, 30), other = List(200, 30);
  SetFocus(focused);
  Wheel(-1, Middle(other));
  EXPECT_EQ(TopIndex(focused), 3);
  EXPECT_EQ(TopIndex(other), 0);
}

TEST_F(WheelTest, AWindowWithoutUseForTheWheelPassesItToItsParent) {
  HWND inner = Child(form_, 10, 10, 100, 100);
  HWND innermost = Child(inner, 10, 10, 50, 50);
  SetFocus(innermost);
  log.clear();
  Wheel(-2, Middle(innermost));
  ASSERT_EQ(Messages(nullptr, {WM_MOUSEWHEEL}), (std::vector<UINT>{WM_MOUSEWHEEL, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));
  std::vector<HWND> heard;
  for (const Logged& l : log)
    if (l.message == WM_MOUSEWHEEL) {
      heard.push_back(l.window);
      EXPECT_EQ(static_cast<SHORT>(HIWORD(l.wParam)), -2 * WHEEL_DELTA);
    }
  EXPECT_EQ(heard, (std::vector<HWND>{innermost, inner, form_}));
}

TEST_F(WheelTest, AClosedDropDownListChoosesAnItemANotchAnOpenOneScrolls) {
  HWND combo = Combo(20);
  SetFocus(combo);
  Wheel(-1, Middle(combo));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 0) << "from no choice to the first item";
  Wheel(-2, Middle(combo));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 2);
  Wheel(1, Middle(combo));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
  int changes = 0;
  for (const Logged& l : log) changes += l.message == WM_COMMAND && HIWORD(l.wParam) == CBN_SELCHANGE;
  EXPECT_EQ(changes, 3);

  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Wheel(-2, Middle(combo));
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1) << "the open list only scrolls";
  // The first row shown now is item 6: a click there chooses it.
  RECT shown{};
  SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&shown));
  const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const POINT firstRow{shown.left + 20, shown.top + 1 + h / 2};
  InjectMouseMove(firstRow.x, firstRow.y);
  InjectMouseButton(host::InputEvent::Left, true, firstRow.x, firstRow.y);
  InjectMouseButton(host::InputEvent::Left, false, firstRow.x, firstRow.y);
  PumpMessages();
  EXPECT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), FALSE);
  EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 6);
}

}  // namespace
