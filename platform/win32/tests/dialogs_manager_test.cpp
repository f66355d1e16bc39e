#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "dialog_template_builder.h"
#include "user_test_support.h"
#include "win32/controls.h"
#include "win32/dialogs.h"

namespace {

// A focusable control: WM_GETDLGCODE answers what the test sets in its window text's first letter.
constexpr const char* kField = "DialogsTestField";

LRESULT FieldProcedure(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_GETDLGCODE) {
    char text[8] = {};
    GetWindowTextA(w, text, sizeof text);
    return text[0] == 'A' ? DLGC_WANTALLKEYS : 0;
  }
  if (m == WM_LBUTTONDOWN) SetFocus(w);
  return DefWindowProcA(w, m, wp, lp);
}

struct Seen {
  std::vector<std::string> log;
  LPARAM initParam = 0;
  BOOL ownerEnabledInside = TRUE;
  HWND owner = nullptr;
};
Seen* gSeen = nullptr;

INT_PTR DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      gSeen->initParam = lParam;
      gSeen->log.push_back("init");
      return TRUE;
    case WM_COMMAND:
      gSeen->log.push_back("command " + std::to_string(LOWORD(wParam)));
      if (gSeen->owner) gSeen->ownerEnabledInside = IsWindowEnabled(gSeen->owner);
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam) + 100);
      return TRUE;
    case WM_CTLCOLORDLG: return 77;
    case WM_USER + 9: SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1234); return TRUE;
    default: return FALSE;
  }
}

class DialogsTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = FieldProcedure;
    wc.lpszClassName = kField;
    RegisterClassA(&wc);
    gSeen = &seen_;
  }
  void TearDown() override {
    gSeen = nullptr;
    UserTest::TearDown();
  }
  static void Key(int key) {
    InjectKey(key, true);
    InjectKey(key, false);
  }
  // Fields 10 (tab stop, group), 11 (no tab stop), 12 (tab stop, "A": wants all keys), 13 (tab stop, group).
  static TemplateBuilder FourFields(DWORD style) {
    TemplateBuilder b(style | DS_SETFONT, 10, 10, 200, 100, "Dialog");
    b.Item(kField, 10, WS_VISIBLE | WS_TABSTOP | WS_GROUP, 4, 4, 50, 12)
        .Item(kField, 11, WS_VISIBLE, 4, 20, 50, 12)
        .Item(kField, 12, WS_VISIBLE | WS_TABSTOP, 4, 36, 50, 12, "A")
        .Item(kField, 13, WS_VISIBLE | WS_TABSTOP | WS_GROUP, 4, 52, 50, 12);
    return b;
  }
  Seen seen_;
};

}  // namespace

TEST_F(DialogsTest, TemplateMakesTheDialogAndItsControlsInDialogUnits) {
  TemplateBuilder b = FourFields(WS_POPUP | WS_CAPTION);
  HWND dialog = CreateDialogIndirectParamA(nullptr, b.Get(), nullptr, DialogProcedure, 42);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(seen_.initParam, 42);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "no WS_VISIBLE in the template";
  char className[16] = {};
  GetClassNameA(dialog, className, sizeof className);
  EXPECT_STREQ(className, "#32770");

  RECT units{4, 36, 54, 48};
  ASSERT_TRUE(MapDialogRect(dialog, &units));
  RECT probe{0, 0, 4, 8};
  MapDialogRect(dialog, &probe);
  EXPECT_GT(probe.right, 3) << "a character is wider than 3 pixels";
  EXPECT_GT(probe.bottom, 9);
  HWND field = GetDlgItem(dialog, 12);
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(GetDlgCtrlID(field), 12);
  RECT r;
  GetWindowRect(field, &r);
  POINT origin{0, 0};
  ClientToScreen(dialog, &origin);
  EXPECT_EQ(r.left - origin.x, units.left);
  EXPECT_EQ(r.top - origin.y, units.top);
  EXPECT_EQ(r.bottom - r.top, units.bottom - units.top);
  RECT client;
  GetClientRect(dialog, &client);
  RECT size{0, 0, 200, 100};
  MapDialogRect(dialog, &size);
  EXPECT_EQ(client.right, size.right);
  EXPECT_EQ(client.bottom, size.bottom);

  EXPECT_TRUE(SetDlgItemTextA(dialog, 11, "logo.sys"));
  char text[16];
  EXPECT_EQ(GetDlgItemTextA(dialog, 11, text, sizeof text), 8u);
  EXPECT_STREQ(text, "logo.sys");
  EXPECT_EQ(GetDlgItemTextA(dialog, 99, text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(SendDlgItemMessageA(dialog, 12, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  EXPECT_NE(SendMessageA(dialog, WM_GETFONT, 0, 0), 0);

  // The procedure's answers: the direct value for colour messages, else DWLP_MSGRESULT.
  EXPECT_EQ(SendMessageA(dialog, WM_CTLCOLORDLG, 0, 0), 77);
  EXPECT_EQ(SendMessageA(dialog, WM_USER + 9, 0, 0), 1234);
  DestroyWindow(dialog);
  EXPECT_FALSE(MapDialogRect(dialog, &probe)) << "the dialog's state goes with it";
}

TEST_F(DialogsTest, TabArrowsReturnAndEscapeInAModalDialog) {
  HWND owner = Top(0, 0, 400, 300);
  SetActiveWindow(owner);
  seen_.owner = owner;
  TemplateBuilder b = FourFields(WS_POPUP | WS_CAPTION | WS_VISIBLE);
  // From 10, Shift+Tab goes round to 13, which leaves Return to the dialog: OK.
  InjectKey(VK_SHIFT, true);
  Key(VK_TAB);
  InjectKey(VK_SHIFT, false);
  Key(VK_RETURN);
  INT_PTR result = DialogBoxIndirectParamA(nullptr, b.Get(), owner, DialogProcedure, 0);
  EXPECT_EQ(result, IDOK + 100);
  EXPECT_EQ(seen_.log, (std::vector<std::string>{"init", "command 1"}));
  EXPECT_FALSE(seen_.ownerEnabledInside) << "a modal dialog disables its owner";
  EXPECT_TRUE(IsWindowEnabled(owner));

  Key(VK_ESCAPE);
  seen_.log.clear();
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, b.Get(), owner, DialogProcedure, 0), IDCANCEL + 100);
  EXPECT_EQ(seen_.log, (std::vector<std::string>{"init", "command 2"}));
}

TEST_F(DialogsTest, FocusMovesByTabStopsAndGroupsIntoChildDialogs) {
  TemplateBuilder b = FourFields(WS_POPUP | WS_CAPTION | WS_VISIBLE);
  HWND dialog = CreateDialogIndirectParamA(nullptr, b.Get(), nullptr, DialogProcedure, 0);
  ASSERT_NE(dialog, nullptr);
  HWND f10 = GetDlgItem(dialog, 10), f11 = GetDlgItem(dialog, 11), f12 = GetDlgItem(dialog, 12),
       f13 = GetDlgItem(dialog, 13);
  EXPECT_EQ(GetFocus(), f10) << "WM_INITDIALOG answered TRUE: the first tab stop";
  EXPECT_EQ(GetNextDlgTabItem(dialog, f10, FALSE), f12);
  EXPECT_EQ(GetNextDlgTabItem(dialog, f13, FALSE), f10) << "round";
  EXPECT_EQ(GetNextDlgTabItem(dialog, f10, TRUE), f13);
  EXPECT_EQ(GetNextDlgGroupItem(dialog, f10, FALSE), f11);
  EXPECT_EQ(GetNextDlgGroupItem(dialog, f12, FALSE), f10) << "the group ends before 13";
  EXPECT_EQ(GetNextDlgGroupItem(dialog, f10, TRUE), f12);
  EXPECT_EQ(GetNextDlgGroupItem(dialog, f13, FALSE), f13) << "alone in its group";
  EnableWindow(f12, FALSE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, f10, FALSE), f13) << "disabled controls are skipped";
  EnableWindow(f12, TRUE);

  // A child dialog's controls join the tab order at its place.
  TemplateBuilder inner(WS_CHILD | WS_VISIBLE | DS_SETFONT | DS_CONTROL, 100, 0, 80, 40, "", WS_EX_CONTROLPARENT);
  inner.Item(kField, 20, WS_VISIBLE | WS_TABSTOP, 2, 2, 40, 12);
  HWND child = CreateDialogIndirectParamA(nullptr, inner.Get(), dialog, DialogProcedure, 0);
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(GetParent(child), dialog);
  SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, f13, FALSE), GetDlgItem(child, 20));

  // Keys through IsDialogMessage: Tab from 12 stays (it wants all keys); Down moves in the group.
  SetFocus(f12);
  MSG tab{f12, WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &tab));
  EXPECT_EQ(GetFocus(), f12);
  SetFocus(f10);
  MSG down{f10, WM_KEYDOWN, static_cast<WPARAM>(VK_DOWN), 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(dialog, &down));
  EXPECT_EQ(GetFocus(), f11);
  HWND stranger = Top(300, 300, 20, 20);
  MSG elsewhere{stranger, WM_KEYDOWN, static_cast<WPARAM>(VK_TAB), 0, 0, {0, 0}};
  EXPECT_FALSE(IsDialogMessageA(dialog, &elsewhere));
  DestroyWindow(dialog);
  EXPECT_FALSE(IsWindow(child));
}

TEST_F(DialogsTest, TemplatesThatCannotBeMadeFail) {
  TemplateBuilder unknown(WS_POPUP, 0, 0, 50, 50, "");
  unknown.Item("NoSuchClass", 1, WS_VISIBLE, 0, 0, 10, 10);
  EXPECT_EQ(CreateDialogIndirectParamA(nullptr, unknown.Get(), nullptr, DialogProcedure, 0), nullptr);
  EXPECT_EQ(DialogBoxIndirectParamA(nullptr, unknown.Get(), nullptr, DialogProcedure, 0), -1);
  TemplateBuilder tolerant(WS_POPUP | DS_NOFAILCREATE, 0, 0, 50, 50, "");
  tolerant.Item("NoSuchClass", 1, WS_VISIBLE, 0, 0, 10, 10).Item(kField, 2, WS_VISIBLE, 0, 20, 10, 10);
  HWND dialog = CreateDialogIndirectParamA(nullptr, tolerant.Get(), nullptr, DialogProcedure, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetDlgItem(dialog, 1), nullptr);
  EXPECT_NE(GetDlgItem(dialog, 2), nullptr);
  DestroyWindow(dialog);
  const WORD extended[] = {1, 0xFFFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(
      CreateDialogIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(extended), nullptr, DialogProcedure, 0),
      nullptr);
}

namespace {

// Keys typed one at a time, as a user types: each goes to the focus its predecessor left.
std::deque<std::pair<int, bool>> gTyped;

void TypeNext(HWND, UINT, UINT_PTR id, DWORD) {
  if (gTyped.empty()) {
    KillTimer(nullptr, id);
    return;
  }
  InjectKey(gTyped.front().first, gTyped.front().second);
  gTyped.pop_front();
}

// VK_SHIFT or VK_MENU holds down for the key after it.
void Type(const std::vector<int>& keys) {
  int held = 0;
  for (int key : keys) {
    if (key == VK_SHIFT || key == VK_MENU) {
      gTyped.emplace_back(held = key, true);
      continue;
    }
    gTyped.emplace_back(key, true);
    gTyped.emplace_back(key, false);
    if (held) gTyped.emplace_back(held, false);
    held = 0;
  }
  SetTimer(nullptr, 0, 1, TypeNext);
}

constexpr WORD kName = 22, kCheck = 30;
std::string gNameTyped;
bool gChecked = false;

// Ends on a push button's click, keeping what the edit holds.
INT_PTR EndOnCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) == kCheck) return TRUE;
  char text[16] = {};
  GetDlgItemTextA(dialog, kName, text, sizeof text);
  gNameTyped = text;
  gChecked = SendDlgItemMessageA(dialog, kCheck, BM_GETCHECK, 0, 0) == BST_CHECKED;
  EndDialog(dialog, LOWORD(wParam));
  return TRUE;
}

}  // namespace

TEST_F(DialogsTest, ReturnPressesTheFocusedPushButtonAndAccessKeysTheirControl) {
  constexpr WORD kOpen = IDOK, kHelp = 21;
  TemplateBuilder b(WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT, 10, 10, 200, 100, "Dialog");
  b.Item("Button", kOpen, WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 4, 4, 50, 14, "&Open")
      .Item("Button", kHelp, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 4, 20, 50, 14, "&Help")
      .Item("Button", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 4, 36, 50, 14, "Cancel")
      .Item("Static", 0, WS_VISIBLE, 60, 4, 40, 10, "&Name:")
      .Item("Edit", kName, WS_VISIBLE | WS_TABSTOP, 60, 16, 60, 12)
      .Item("Button", kCheck, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 60, 36, 60, 12, "&Tiled");
  struct Case {
    const char* name;
    std::vector<int> keys;
    int expected;
    const char* nameTyped = "";
    bool checked = false;
  };
  const Case cases[] = {
      {"Return with the default focused", {VK_RETURN}, kOpen},
      {"Return on the focused push button", {VK_TAB, VK_RETURN}, kHelp},
      {"Space on the focused push button", {VK_TAB, VK_SPACE}, kHelp},
      {"Escape", {VK_TAB, VK_ESCAPE}, IDCANCEL},
      {"a button's letter", {'H'}, kHelp},
      {"Alt and a button's letter", {VK_MENU, 'H'}, kHelp},
      // The label's letter gives the edit the focus; there a letter is text, Alt+letter a key.
      {"Alt and a button's letter in an edit", {'N', 'H', VK_MENU, 'O'}, kOpen, "h"},
      {"a check box's letter checks it", {'T', VK_RETURN}, kOpen, "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Type(c.keys);
    EXPECT_EQ(DialogBoxIndirectParamA(nullptr, b.Get(), nullptr, EndOnCommand, 0), c.expected);
    EXPECT_EQ(gNameTyped, c.nameTyped);
    EXPECT_EQ(gChecked, c.checked);
    while (!gTyped.empty()) TypeNext(nullptr, 0, 0, 0);  // the keys still held go up
    PumpMessages();
  }
}
