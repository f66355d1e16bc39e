#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win32/menus.h"
#include "win32/testing/windows.h"

namespace {

std::vector<std::string>* gLog = nullptr;

LRESULT OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gLog) {
    if (message == WM_INITMENUPOPUP) gLog->push_back("init");
    if (message == WM_MENUSELECT && HIWORD(wParam) != 0xFFFF)
      gLog->push_back("select " + std::to_string(LOWORD(wParam)));
    if (message == WM_MENUSELECT && HIWORD(wParam) == 0xFFFF) gLog->push_back("closed");
    if (message == WM_COMMAND) gLog->push_back("command " + std::to_string(LOWORD(wParam)));
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

class MenusTest : public ::testing::Test {
 protected:
  MenusTest() {
    static const bool registered = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = OwnerProcedure;
      wc.lpszClassName = "MenusTestOwner";
      return RegisterClassA(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    owner_ = CreateWindowExA(0, "MenusTestOwner", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                             nullptr, nullptr);
    SetActiveWindow(owner_);
    gLog = &log_;
    // Open(10), Save(11) grayed, separator, Quit(12) checked.
    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, 10, "&Open\tCtrl+O");
    AppendMenuA(menu_, MF_STRING | MF_GRAYED, 11, "&Save");
    AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu_, MF_STRING | MF_CHECKED, 12, "&Quit");
    PumpMessages();
    log_.clear();
  }
  ~MenusTest() override {
    gLog = nullptr;
    DestroyMenu(menu_);
    DestroyWindow(owner_);
  }

  static void Click(int x, int y) {
    InjectMouseMove(x, y);
    InjectMouseButton(host::InputEvent::Left, true, x, y);
    InjectMouseButton(host::InputEvent::Left, false, x, y);
  }
  static void Key(int key) {
    InjectKey(key, true);
    InjectKey(key, false);
  }

  HWND owner_;
  HMENU menu_;
  std::vector<std::string> log_;
};

// Items of the pop-up opened at (50, 50): 18 pixels each, separators 9, inside a 3-pixel frame.
constexpr int kLeft = 50, kTop = 50;
int ItemY(int index) { return kTop + 3 + 18 * index + 9; }

}  // namespace

TEST_F(MenusTest, ItemsKeepTheirStates) {
  EXPECT_EQ(GetMenuItemCount(menu_), 4);
  EXPECT_EQ(GetMenuItemID(menu_, 3), 12u);
  EXPECT_EQ(GetMenuState(menu_, 11, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
  EXPECT_EQ(GetMenuState(menu_, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
  EXPECT_EQ(CheckMenuItem(menu_, 12, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(menu_, 12, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EnableMenuItem(menu_, 11, MF_ENABLED);
  EXPECT_EQ(GetMenuState(menu_, 11, MF_BYCOMMAND) & MF_GRAYED, 0u);
  char text[32];
  EXPECT_EQ(GetMenuStringA(menu_, 10, text, sizeof text, MF_BYCOMMAND), 12);
  EXPECT_STREQ(text, "&Open\tCtrl+O");
  HMENU sub = CreatePopupMenu();
  AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More");
  EXPECT_EQ(GetSubMenu(menu_, 4), sub);
  EXPECT_EQ(GetMenuItemID(menu_, 4), static_cast<UINT>(-1));
  DestroyMenu(menu_);
  EXPECT_FALSE(IsMenu(sub)) << "a menu takes its pop-ups with it";
  menu_ = CreatePopupMenu();
}

TEST_F(MenusTest, AClickOnAnItemChoosesItAndTellsTheOwner) {
  Click(kLeft + 30, ItemY(0));
  EXPECT_TRUE(TrackPopupMenu(menu_, TPM_LEFTALIGN, kLeft, kTop, 0, owner_, nullptr));
  PumpMessages();
  EXPECT_EQ(log_, (std::vector<std::string>{"init", "select 10", "closed", "command 10"}));
}

TEST_F(MenusTest, GrayedItemsSeparatorsAndClicksOutsideChooseNothing) {
  Click(kLeft + 30, ItemY(1));  // grayed: the menu stays open
  Click(kLeft + 30, kTop + 3 + 36 + 4);  // the separator
  Click(kLeft + 250, kTop + 120);  // outside: dismissed
  EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, kLeft, kTop, 0, owner_, nullptr), 0);
  PumpMessages();
  EXPECT_EQ(log_.back(), "closed");
}

// The user turned to another program: the menu closes without a choice, and the keys that follow
// (had they reached us) choose nothing.
TEST_F(MenusTest, AnotherProgramTakingTheKeyboardClosesTheMenu) {
  Key(VK_DOWN);
  InjectFocusToOtherProgram(owner_);
  Key(VK_RETURN);
  EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, kLeft, kTop, 0, owner_, nullptr), 0);
  PumpMessages();
  EXPECT_EQ(log_.back(), "closed");
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MenusTest, KeysMoveTheHighlightAndChoose) {
  struct TCase {
    std::vector<int> Keys;
    int Expected;
  };
  const TCase cases[] = {
      {{VK_DOWN, VK_RETURN}, 10}, {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 12},  // over the separator
      {{VK_UP, VK_RETURN}, 12},   {{VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}, 0},  // grayed: Return does nothing
      {{VK_ESCAPE}, 0},
  };
  for (const TCase& c : cases) {
    for (int key : c.Keys) Key(key);
    EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, kLeft, kTop, 0, owner_, nullptr), c.Expected) << c.Keys.size();
    PumpMessages();
  }
  InjectKey('Q', true);
  InjectKey('Q', false);
  EXPECT_EQ(TrackPopupMenu(menu_, TPM_RETURNCMD, kLeft, kTop, 0, owner_, nullptr), 12) << "access key";
}

TEST_F(MenusTest, MenuBarTakesARowAboveTheClientAreaAndOpensItsTitles) {
  RECT before;
  GetClientRect(owner_, &before);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), "&File");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, 20, "&About");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  ASSERT_TRUE(SetMenu(owner_, bar));
  EXPECT_EQ(GetMenu(owner_), bar);
  RECT after;
  GetClientRect(owner_, &after);
  EXPECT_EQ(after.bottom, before.bottom - GetSystemMetrics(SM_CYMENU));
  RECT title;
  ASSERT_TRUE(GetMenuItemRect(owner_, bar, 1, &title));
  POINT origin{0, 0};
  ClientToScreen(owner_, &origin);
  EXPECT_EQ(title.bottom, origin.y);
  // A click on "Help", then on its first item.
  Click((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  Click(title.left + 20, title.bottom + 3 + 9);
  PumpMessages();
  PumpMessages();
  EXPECT_NE(std::find(log_.begin(), log_.end(), "command 20"), log_.end());
  menu_ = CreatePopupMenu();  // the old one went with the bar
  SetMenu(owner_, nullptr);
  DestroyMenu(bar);
}

// A title without a pop-up is a command: a click on it chooses it, and so does Return once the
// keyboard has lit it.
TEST_F(MenusTest, ABarTitleWithoutAPopUpIsChosenByAClickOrReturn) {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu_), "&File");
  AppendMenuA(bar, MF_STRING, 30, "&About");
  ASSERT_TRUE(SetMenu(owner_, bar));
  RECT title;
  ASSERT_TRUE(GetMenuItemRect(owner_, bar, 1, &title));
  Click((title.left + title.right) / 2, (title.top + title.bottom) / 2);
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "command 30"), 1);
  log_.clear();
  PostMessageA(owner_, WM_SYSCOMMAND, SC_KEYMENU, 0);  // F10: the bar opens at its first title
  Key(VK_RIGHT);
  Key(VK_RETURN);
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "command 30"), 1);
  menu_ = CreatePopupMenu();  // the old one went with the bar
  SetMenu(owner_, nullptr);
  DestroyMenu(bar);
}
