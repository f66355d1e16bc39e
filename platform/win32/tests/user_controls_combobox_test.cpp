// The drop-down list of the "ComboBox" class, driven by injected mouse and keys.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dialog_template_builder.h"
#include "host/testing/golden.h"
#include "user_test_support.h"
#include "win32/controls.h"
#include "win32/syscolor.h"

namespace {

// What a dialog holding a drop-down list heard: its commands ("20/7" is control 20's code 7) and, at
// the list's close, which window was active and what was chosen.
struct DialogSeen {
  std::vector<std::string> commands;
  HWND dialog = nullptr;
  HWND activeAtCloseUp = nullptr;
  LRESULT chosenAtCloseUp = -2;
  // Called with the dialog at WM_INITDIALOG (0) or a notification of the combo box.
  std::function<void(HWND, WORD)> step;
};
DialogSeen* gDialog = nullptr;

INT_PTR ComboDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    for (const char* s : {"red", "green", "blue"})
      SendDlgItemMessageA(dialog, 20, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendDlgItemMessageA(dialog, 20, CB_SETCURSEL, 0, 0);
    gDialog->dialog = dialog;
    if (gDialog->step) gDialog->step(dialog, 0);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  gDialog->commands.push_back(std::to_string(LOWORD(wParam)) + "/" + std::to_string(HIWORD(wParam)));
  if (LOWORD(wParam) == 20 && HIWORD(wParam) == CBN_CLOSEUP) {
    gDialog->activeAtCloseUp = GetActiveWindow();
    gDialog->chosenAtCloseUp = SendDlgItemMessageA(dialog, 20, CB_GETCURSEL, 0, 0);
  }
  if (LOWORD(wParam) == 20 && gDialog->step) gDialog->step(dialog, HIWORD(wParam));
  if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
  return TRUE;
}

class ComboBoxTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    form_ = Top(100, 100, 300, 200, WS_POPUP | WS_VISIBLE, kDoubleClicks);
    SetActiveWindow(form_);
  }

  HWND Combo(DWORD style, int items, int x = 10, int y = 10, int height = 22, HWND parent = nullptr) {
    HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | style, x, y, 150, height,
                                 parent ? parent : form_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr,
                                 nullptr);
    for (int i = 0; i < items; ++i)
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    PumpMessages();
    log.clear();
    return combo;
  }

  static void Click(POINT at) {
    InjectMouseButton(host::InputEvent::Left, true, at.x, at.y);
    InjectMouseButton(host::InputEvent::Left, false, at.x, at.y);
    PumpMessages();
  }
  static void Key(int key, bool alt = false) {
    if (alt) InjectKey(VK_MENU, true);
    InjectKey(key, true);
    InjectKey(key, false);
    if (alt) InjectKey(VK_MENU, false);
    PumpMessages();
  }
  // Types a character: its key, with Shift for a capital.
  static void Type(char c) {
    const bool capital = std::isupper(static_cast<unsigned char>(c)) != 0;
    if (capital) InjectKey(VK_SHIFT, true);
    Key(std::toupper(static_cast<unsigned char>(c)));
    if (capital) InjectKey(VK_SHIFT, false);
    PumpMessages();
  }
  // Handles messages, timers among them, for `ms` milliseconds.
  static void PumpFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      PumpMessages();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    PumpMessages();
  }
  static void Button(bool down, POINT at) {
    InjectMouseButton(host::InputEvent::Left, down, at.x, at.y);
    PumpMessages();
  }
  static void MoveTo(POINT at) {
    InjectMouseMove(at.x, at.y);
    PumpMessages();
  }
  static RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  static POINT Center(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  static RECT DroppedRect(HWND combo) {
    RECT r{};
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // The middle of item `row` of the open list, counted from the first row shown.
  static POINT Row(HWND combo, int row) {
    const RECT r = DroppedRect(combo);
    const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    return POINT{r.left + 20, r.top + 1 + row * h + h / 2};
  }
  static bool Dropped(HWND combo) { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }
  static LRESULT Selected(HWND combo) { return SendMessageA(combo, CB_GETCURSEL, 0, 0); }

  // The combo box notifications its parent heard, in order.
  std::vector<WORD> Notes(HWND combo) const {
    std::vector<WORD> out;
    for (const Logged& l : log)
      if (l.message == WM_COMMAND && reinterpret_cast<HWND>(l.lParam) == combo) out.push_back(HIWORD(l.wParam));
    return out;
  }
  int ActivationsOfForm() const {
    int n = 0;
    for (const Logged& l : log) n += l.window == form_ && (l.message == WM_ACTIVATE || l.message == WM_NCACTIVATE);
    return n;
  }

  HWND form_ = nullptr;
};

using Codes = std::vector<WORD>;

TEST_F(ComboBoxTest, OpensByClickF4AndAltArrowsAndEscapeClosesUnchanged) {
  struct Case {
    const char* how;
    DWORD style;
    std::function<void(HWND)> open;
  };
  const Case cases[] = {
      {"click on the field", CBS_DROPDOWNLIST, [](HWND c) { Click(Center(ScreenRect(c))); }},
      {"click on the button", CBS_DROPDOWN,
       [](HWND c) {
         Click(POINT{ScreenRect(c).right - 8, Center(ScreenRect(c)).y});
       }},
      {"F4", CBS_DROPDOWNLIST, [](HWND) { Key(VK_F4); }},
      {"Alt+Down", CBS_DROPDOWNLIST, [](HWND) { Key(VK_DOWN, true); }},
      {"Alt+Up", CBS_DROPDOWN, [](HWND) { Key(VK_UP, true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    HWND combo = Combo(c.style, 3);
    SetFocus(combo);
    log.clear();
    c.open(combo);
    ASSERT_TRUE(Dropped(combo));
    EXPECT_EQ(Notes(combo), Codes{CBN_DROPDOWN});
    HWND list = GetCapture();
    ASSERT_NE(list, nullptr) << "the open list holds the mouse";
    EXPECT_NE(list, combo);
    EXPECT_TRUE(IsWindowVisible(list));
    const RECT at = ScreenRect(list), field = ScreenRect(combo);
    EXPECT_EQ(at.top, field.bottom) << "below the combo box";
    EXPECT_EQ(at.left, field.left);
    EXPECT_EQ(at.right - at.left, 150);
    EXPECT_EQ(at.bottom - at.top, 3 * SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0) + 2);
    Key(VK_DOWN);  // moves the lit item only
    Key(VK_ESCAPE);
    EXPECT_FALSE(Dropped(combo));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Selected(combo), 0);
    EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(GetActiveWindow(), form_);
    EXPECT_EQ(ActivationsOfForm(), 0);
    DestroyWindow(combo);
  }
  // The field of a drop-down (not a drop-down list) does not open it.
  HWND combo = Combo(CBS_DROPDOWN, 3);
  Click(POINT{ScreenRect(combo).left + 10, Center(ScreenRect(combo)).y});
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(GetFocus(), combo);
}

// The list belongs to the window the combo box was in when it first opened; moved to another
// window, the combo box outlives that one and its list.
TEST_F(ComboBoxTest, MovedToAnotherWindowItStillOpensOnceTheFirstIsGone) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 3);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  HWND other = Top(100, 300, 300, 200);
  SetParent(combo, other);
  DestroyWindow(form_);
  SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
  const HWND list = GetCapture();
  ASSERT_NE(list, nullptr) << "the open list holds the mouse";
  EXPECT_TRUE(IsWindowVisible(list));
  SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_FALSE(Dropped(combo));
}

TEST_F(ComboBoxTest, ListFollowsThePointerAndAClickTakesTheItem) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 4);
  Click(Center(ScreenRect(combo)));
  HWND list = GetCapture();
  ASSERT_TRUE(Dropped(combo));
  const POINT third = Row(combo, 2);
  InjectMouseMove(third.x, third.y);
  PumpMessages();
  // The lit row follows the pointer.
  const host::Image shot = CaptureWindow(list);
  const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  const std::uint32_t highlight = GetSysColor(COLOR_HIGHLIGHT);
  const auto rgb = [](COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); };
  EXPECT_EQ(shot.At(shot.width - 4, 1 + 2 * h + 1), rgb(highlight));
  EXPECT_NE(shot.At(shot.width - 4, 1 + 0 * h + 1), rgb(highlight)) << "the chosen item is no longer lit";
  EXPECT_EQ(shot.At(0, 0), 0u) << "a black frame";
  Click(third);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 2);
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  EXPECT_EQ(GetFocus(), combo);
  EXPECT_EQ(GetActiveWindow(), form_) << "the list never takes the activation";
  EXPECT_EQ(ActivationsOfForm(), 0);

  // The item already chosen: no change to tell. A click outside: closed, nothing taken.
  log.clear();
  Click(Center(ScreenRect(combo)));
  Click(Row(combo, 2));
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}));
  log.clear();
  Click(Center(ScreenRect(combo)));
  const POINT first = Row(combo, 0);
  InjectMouseMove(first.x, first.y);
  Click(POINT{ScreenRect(form_).right - 5, ScreenRect(form_).top + 5});
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 2);
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
  EXPECT_EQ(ActivationsOfForm(), 0);
}

TEST_F(ComboBoxTest, KeysChooseWhileClosedAndMoveTheLitItemWhileOpen) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 5);
  SetFocus(combo);
  log.clear();
  Key(VK_DOWN);
  Key(VK_END);
  EXPECT_EQ(Selected(combo), 4);
  EXPECT_EQ(Notes(combo), (Codes{CBN_SELCHANGE, CBN_SELCHANGE}));
  log.clear();
  Key(VK_F4);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(Selected(combo), 4) << "only Return takes the lit item";
  Key(VK_RETURN);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 2);
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));
  // F4 closes as it opens, taking the lit item; losing the focus closes without taking it.
  log.clear();
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_F4);
  EXPECT_EQ(Selected(combo), 3);
  Key(VK_F4);
  Key(VK_DOWN);
  SetFocus(form_);
  EXPECT_FALSE(Dropped(combo));
  EXPECT_EQ(Selected(combo), 3);
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP, CBN_DROPDOWN, CBN_SELENDCANCEL,
                                 CBN_CLOSEUP}));
}

// A typed letter goes to the next item starting with it, without regard to case and round the end:
// chosen while closed, lit (taken by Return) while open.
TEST_F(ComboBoxTest, TypedLetterGoesToTheNextItemStartingWithIt) {
  struct Case {
    const char* what;
    DWORD style;
    int start;
    bool open;
    const char* typed;
    LRESULT chosen;
    Codes notes;
  };
  const Case cases[] = {
      {"a capital item for a small letter", CBS_DROPDOWNLIST, 0, false, "b", 1, {CBN_SELCHANGE}},
      {"a small item for a capital letter", CBS_DROPDOWNLIST, 1, false, "A", 2, {CBN_SELCHANGE}},
      {"round the end", CBS_DROPDOWNLIST, 5, false, "a", 0, {CBN_SELCHANGE}},
      {"the same letter again steps on", CBS_DROPDOWNLIST, 0, false, "bb", 4, {CBN_SELCHANGE, CBN_SELCHANGE}},
      {"nothing chosen: from the first", CBS_DROPDOWNLIST, -1, false, "c", 3, {CBN_SELCHANGE}},
      {"no match", CBS_DROPDOWNLIST, 3, false, "z", 3, {}},
      {"the only match is the chosen one", CBS_DROPDOWNLIST, 3, false, "c", 3, {}},
      {"not a letter", CBS_DROPDOWNLIST, 0, false, "\t", 0, {}},
      {"a drop-down (not a list) ignores it", CBS_DROPDOWN, 0, false, "b", 0, {}},
      {"open: lit, taken by Return",
       CBS_DROPDOWNLIST,
       0,
       true,
       "b",
       1,
       {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}},
      {"open: round the end from the lit item",
       CBS_DROPDOWNLIST,
       4,
       true,
       "bA",
       2,
       {CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}},
      {"open: no match", CBS_DROPDOWNLIST, 2, true, "z", 2, {CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND combo = Combo(c.style, 0);
    for (const char* s : {"apple", "Banana", "avocado", "cherry", "blueberry", "Apricot"})
      SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(c.start), 0);
    SetFocus(combo);
    PumpMessages();
    log.clear();
    if (c.open) Key(VK_F4);
    for (const char* k = c.typed; *k; ++k) Type(*k);
    if (c.open) {
      EXPECT_EQ(Selected(combo), c.start) << "only lit while open";
      EXPECT_EQ(Notes(combo), Codes{CBN_DROPDOWN});
      Key(VK_RETURN);
    }
    EXPECT_EQ(Selected(combo), c.chosen);
    EXPECT_EQ(Notes(combo), c.notes);
    DestroyWindow(combo);
  }
  // The lit item is brought into view.
  HWND combo = Combo(CBS_DROPDOWNLIST, 20);
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("zebra"));
  SetFocus(combo);
  Key(VK_F4);
  Type('z');
  Click(Row(combo, 7));
  EXPECT_EQ(Selected(combo), 20);
}

TEST_F(ComboBoxTest, ItemDataAndStringSearch) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 0);
  for (const char* s : {"red", "Green", "blue", "greenish"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  for (WPARAM i = 0; i < 4; ++i) EXPECT_EQ(SendMessageA(combo, CB_SETITEMDATA, i, static_cast<LPARAM>(1000 + i)), TRUE);
  for (WPARAM i = 0; i < 4; ++i) EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, i, 0), static_cast<LRESULT>(1000 + i));
  for (WPARAM bad : {static_cast<WPARAM>(-1), WPARAM{4}, WPARAM{99}}) {
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, bad, 0), CB_ERR);
    EXPECT_EQ(SendMessageA(combo, CB_SETITEMDATA, bad, 5), CB_ERR);
  }

  struct Search {
    UINT message;
    int after;
    const char* text;
    LRESULT found;
  };
  const Search searches[] = {
      {CB_FINDSTRING, -1, "gr", 1},
      {CB_FINDSTRING, 1, "GR", 3},
      {CB_FINDSTRING, 3, "gr", 1},
      {CB_FINDSTRING, -1, "x", CB_ERR},
      {CB_FINDSTRING, 99, "red", 0},
      {CB_FINDSTRING, -1, "redder", CB_ERR},
      {CB_FINDSTRINGEXACT, -1, "green", 1},
      {CB_FINDSTRINGEXACT, 1, "GREEN", 1},
      {CB_FINDSTRINGEXACT, -1, "gre", CB_ERR},
  };
  for (const Search& f : searches) {
    SCOPED_TRACE(std::string(f.text) + " after " + std::to_string(f.after));
    EXPECT_EQ(SendMessageA(combo, f.message, static_cast<WPARAM>(f.after), reinterpret_cast<LPARAM>(f.text)), f.found);
  }
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("BL")), 2);
  EXPECT_EQ(Selected(combo), 2);
  EXPECT_EQ(SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("x")), CB_ERR);
  EXPECT_EQ(Selected(combo), 2) << "no match keeps the selection";
  EXPECT_EQ(Notes(combo), Codes{}) << "a program's choice is not told";

  // Owner-drawn items without strings are their data: found by it, and replaced with it.
  HWND drawn = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 10, 40,
                               150, 28, form_, nullptr, nullptr, nullptr);
  for (LPARAM data : {111, 222, 333}) SendMessageA(drawn, CB_ADDSTRING, 0, data);
  EXPECT_EQ(SendMessageA(drawn, CB_GETITEMDATA, 1, 0), 222);
  EXPECT_EQ(SendMessageA(drawn, CB_FINDSTRING, static_cast<WPARAM>(-1), 333), 2);
  EXPECT_EQ(SendMessageA(drawn, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), 444), CB_ERR);
  SendMessageA(drawn, CB_SETITEMDATA, 0, 444);
  EXPECT_EQ(SendMessageA(drawn, CB_SELECTSTRING, static_cast<WPARAM>(-1), 444), 0);
}

// With the button held, the pointer past the open list's bottom or top scrolls it an item a tick,
// lighting the item that comes in; a held scroll-bar arrow repeats after a pause while the pointer
// stays on it.
TEST_F(ComboBoxTest, HeldButtonScrollsPastTheEdgesAndRepeatsTheArrows) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 10);  // eight rows show: two more to scroll
  SetFocus(combo);
  const POINT field = Center(ScreenRect(combo));
  Button(true, field);
  ASSERT_TRUE(Dropped(combo));
  MoveTo(Row(combo, 3));
  const POINT below{Row(combo, 0).x, DroppedRect(combo).bottom + 5};
  MoveTo(below);
  PumpFor(400);
  Button(false, below);
  EXPECT_TRUE(Dropped(combo)) << "let go outside the items, it stays open";
  Key(VK_RETURN);
  EXPECT_EQ(Selected(combo), 9) << "scrolled to the end, the last item lit";

  // From the field into the list and back above it: scrolls up; let go on the first row takes it.
  log.clear();
  Button(true, field);
  MoveTo(Row(combo, 6));
  MoveTo(field);
  PumpFor(400);
  MoveTo(Row(combo, 0));
  Button(false, Row(combo, 0));
  EXPECT_EQ(Selected(combo), 0);
  EXPECT_EQ(Notes(combo), (Codes{CBN_DROPDOWN, CBN_SELCHANGE, CBN_SELENDOK, CBN_CLOSEUP}));

  // Without the button, the pointer past the edge scrolls nothing.
  Click(field);
  MoveTo(below);
  PumpFor(200);
  Click(Row(combo, 0));
  EXPECT_EQ(Selected(combo), 0);

  // The down arrow held: one step at once, the repeat after a pause, then to the end.
  HWND longer = Combo(CBS_DROPDOWNLIST, 12, 10, 40);  // four more than shown
  SetFocus(longer);
  Click(Center(ScreenRect(longer)));
  RECT at = ScreenRect(GetCapture());
  const POINT downArrow{at.right - 1 - 8, at.bottom - 1 - 8}, upArrow{at.right - 1 - 8, at.top + 1 + 8};
  Button(true, downArrow);
  PumpFor(100);
  Button(false, downArrow);
  Click(Row(longer, 0));
  EXPECT_EQ(Selected(longer), 1) << "no repeat before the pause";
  Click(Center(ScreenRect(longer)));
  at = ScreenRect(GetCapture());
  Button(true, downArrow);
  PumpFor(1000);
  Button(false, downArrow);
  Click(Row(longer, 0));
  EXPECT_EQ(Selected(longer), 4);
  // Held on the up arrow with the pointer moved off it: the one step only.
  SendMessageA(longer, CB_SETCURSEL, 11, 0);
  Click(Center(ScreenRect(longer)));
  Button(true, upArrow);
  MoveTo(Row(longer, 2));
  PumpFor(700);
  Button(false, Row(longer, 2));
  EXPECT_TRUE(Dropped(longer)) << "a press on the scroll bar takes nothing when let go";
  Click(Row(longer, 0));
  EXPECT_EQ(Selected(longer), 3);
}

TEST_F(ComboBoxTest, OpensAboveWhenTheScreenHasNoRoomBelow) {
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  SetWindowPos(form_, nullptr, 100, screenHeight - 60, 300, 60, SWP_NOZORDER | SWP_NOACTIVATE);
  HWND combo = Combo(CBS_DROPDOWNLIST, 6);
  const RECT field = ScreenRect(combo);
  Click(Center(field));
  ASSERT_TRUE(Dropped(combo));
  const RECT at = ScreenRect(GetCapture());
  EXPECT_EQ(at.bottom, field.top);
  EXPECT_EQ(at.bottom - at.top, 6 * SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0) + 2);
  EXPECT_EQ(DroppedRect(combo).top, at.top);
  Click(Row(combo, 5));
  EXPECT_EQ(Selected(combo), 5);
}

TEST_F(ComboBoxTest, ALongListScrolls) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 20);
  const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
  Click(Center(ScreenRect(combo)));
  HWND list = GetCapture();
  RECT at = ScreenRect(list);
  EXPECT_EQ(at.bottom - at.top, 8 * h + 2) << "eight rows at most";
  // Three presses on the scroll bar's down arrow, then the first row shown is item 3.
  const POINT downArrow{at.right - 1 - 8, at.bottom - 1 - 8};
  for (int i = 0; i < 3; ++i) Click(downArrow);
  EXPECT_TRUE(Dropped(combo)) << "the scroll bar is part of the list";
  Click(Row(combo, 0));
  EXPECT_EQ(Selected(combo), 3);

  // The thumb dragged to the bottom of its track shows the last eight items.
  Click(Center(ScreenRect(combo)));
  at = ScreenRect(GetCapture());
  const int thumbX = at.right - 1 - 8, arrow = GetSystemMetrics(SM_CYVSCROLL);
  InjectMouseButton(host::InputEvent::Left, true, thumbX, at.top + 1 + arrow + 3);
  InjectMouseMove(thumbX, at.bottom - 1 - arrow - 1);
  InjectMouseButton(host::InputEvent::Left, false, thumbX, at.bottom - 1 - arrow - 1);
  PumpMessages();
  Click(Row(combo, 0));
  EXPECT_EQ(Selected(combo), 12);

  // The keys bring the lit item into view; the last row is the last item.
  Click(Center(ScreenRect(combo)));
  Key(VK_END);
  Click(Row(combo, 7));
  EXPECT_EQ(Selected(combo), 19);

  // A window made taller than its field gives its list that height.
  HWND tall = Combo(CBS_DROPDOWNLIST, 20, 10, 40, 22 + 4 * h + 2);
  EXPECT_EQ(ScreenRect(tall).bottom - ScreenRect(tall).top,
            SendMessageA(tall, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  at = DroppedRect(tall);
  EXPECT_EQ(at.bottom - at.top, (22 + 4 * h + 2 - (h + 8) - 2) / h * h + 2);
}

// Owner-drawn items: the parent measures them once and draws the field and the open list's rows.
TEST_F(ComboBoxTest, OwnerDrawnItemsAreDrawnByTheParent) {
  std::vector<DRAWITEMSTRUCT> drawn;
  answer = [&](HWND, UINT m, WPARAM, LPARAM lp, LRESULT& r) {
    if (m == WM_MEASUREITEM) reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 20;
    if (m == WM_DRAWITEM) drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    r = TRUE;
    return m == WM_MEASUREITEM || m == WM_DRAWITEM;
  };
  HWND combo = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 10, 10,
                               150, 28, form_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(7)), nullptr, nullptr);
  for (LPARAM data : {111, 222, 333}) SendMessageA(combo, CB_ADDSTRING, 0, data);
  EXPECT_EQ(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0), 20);
  SendMessageA(combo, CB_SETCURSEL, 1, 0);
  SetFocus(combo);
  PumpMessages();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().itemID, 1u);
  EXPECT_EQ(drawn.back().itemData, 222u);
  EXPECT_EQ(drawn.back().itemState & (ODS_COMBOBOXEDIT | ODS_SELECTED), ODS_COMBOBOXEDIT | ODS_SELECTED);
  drawn.clear();
  Key(VK_F4);
  std::vector<DRAWITEMSTRUCT> rows;
  for (const DRAWITEMSTRUCT& d : drawn)
    if (!(d.itemState & ODS_COMBOBOXEDIT)) rows.push_back(d);
  ASSERT_EQ(rows.size(), 3u);
  for (UINT i = 0; i < 3; ++i) {
    const DRAWITEMSTRUCT& d = rows[i];
    EXPECT_EQ(d.CtlType, ODT_COMBOBOX);
    EXPECT_EQ(d.CtlID, 7u);
    EXPECT_EQ(d.hwndItem, combo);
    EXPECT_EQ(d.itemID, i);
    EXPECT_EQ(d.itemData, 111u * (i + 1));
    EXPECT_EQ(d.itemState, i == 1 ? ODS_SELECTED : 0u);
    EXPECT_EQ(d.rcItem.top, static_cast<LONG>(i) * 20);
  }
  char text[8] = "x";
  EXPECT_EQ(SendMessageA(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text)), 0) << "no strings kept";
}

// The open list under its field, the third item lit, against a reviewed picture.
TEST_F(ComboBoxTest, ClassicLookOfAnOpenDropDown) {
  HWND combo = Combo(CBS_DROPDOWNLIST, 0);
  for (const char* s : {"Bitmaps", "Icons", "Cursors", "Metafiles", "JPEG pictures", "PCX pictures", "Targa", "TIFF",
                        "Portable maps", "All files"})
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  SendMessageA(combo, CB_SETCURSEL, 0, 0);
  SetFocus(combo);
  Key(VK_F4);
  Key(VK_DOWN);
  Key(VK_DOWN);
  ASSERT_TRUE(Dropped(combo));
  const RECT field = ScreenRect(combo), form = ScreenRect(form_);
  const host::Image top = CropImage(CaptureWindow(form_), field.left - form.left, field.top - form.top,
                                    field.right - field.left, field.bottom - field.top);
  const host::Image list = CaptureWindow(GetCapture());
  ASSERT_EQ(list.width, top.width);
  host::Image both = top;
  both.height += list.height;
  both.pixels.insert(both.pixels.end(), list.pixels.begin(), list.pixels.end());
  ExpectMatchesGoldenFile(both, std::filesystem::path(__FILE__).parent_path() / "golden" / "combobox_dropped.ppm");
}

// In a modal dialog made from a template: Return and Escape close the open list, not the dialog, and
// the dialog stays active while the mouse uses the list.
TEST_F(ComboBoxTest, DropDownInADialogFromATemplate) {
  TemplateBuilder b(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 20, 20, 160, 80, "Colours");
  b.Item("", 20, WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 8, 8, 100, 60, "", 0x0085)
      .Item("", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 8, 50, 50, 14, "OK", 0x0080);
  DialogSeen seen;
  gDialog = &seen;
  // Alt+Down opens, Down lights "green", Return takes it, Escape then cancels the dialog.
  InjectKey(VK_MENU, true);
  InjectKey(VK_DOWN, true);
  InjectKey(VK_DOWN, false);
  InjectKey(VK_MENU, false);
  for (int key : {VK_DOWN, VK_RETURN, VK_ESCAPE}) {
    InjectKey(key, true);
    InjectKey(key, false);
  }
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, b.Get(), form_, ComboDialog, 0), IDCANCEL);
  EXPECT_EQ(seen.commands, (std::vector<std::string>{"20/7", "20/1", "20/9", "20/8", "2/0"}));
  EXPECT_EQ(seen.chosenAtCloseUp, 1);

  seen = DialogSeen{};
  // The mouse: a click on the field opens, a click on "blue" takes it, then Escape.
  seen.step = [](HWND dialog, WORD code) {
    HWND combo = GetDlgItem(dialog, 20);
    const int h = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    const RECT list = DroppedRect(combo);
    POINT at{};
    if (code == 0) {
      EXPECT_LT(ScreenRect(combo).bottom - ScreenRect(combo).top, 60) << "the template's height is the list's";
      EXPECT_EQ(list.bottom - list.top, 3 * h + 2);
      at = Center(ScreenRect(combo));
    } else if (code == CBN_DROPDOWN) {
      at = POINT{list.left + 10, list.top + 1 + 2 * h + h / 2};
    } else if (code == CBN_CLOSEUP) {
      InjectKey(VK_ESCAPE, true);
      InjectKey(VK_ESCAPE, false);
      return;
    } else {
      return;
    }
    InjectMouseButton(host::InputEvent::Left, true, at.x, at.y);
    InjectMouseButton(host::InputEvent::Left, false, at.x, at.y);
  };
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, b.Get(), form_, ComboDialog, 0), IDCANCEL);
  EXPECT_EQ(seen.commands, (std::vector<std::string>{"20/7", "20/1", "20/9", "20/8", "2/0"}));
  EXPECT_EQ(seen.chosenAtCloseUp, 2);
  EXPECT_EQ(seen.activeAtCloseUp, seen.dialog) << "the dialog keeps the activation";
  gDialog = nullptr;
}

}  // namespace
