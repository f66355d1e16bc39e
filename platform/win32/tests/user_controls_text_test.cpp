// The static and edit classes.
#include <gtest/gtest.h>

#include "user_test_support.h"
#include "win32/controls.h"
#include "win32/gdi.h"

namespace {

class TextControlTest : public UserTest {};

std::string Text(HWND w) {
  char buffer[64] = {};
  GetWindowTextA(w, buffer, sizeof buffer);
  return buffer;
}

TEST_F(TextControlTest, StaticKeepsItsTextAndIsTransparentToTheMouseUnlessItNotifies) {
  HWND form = Top(0, 0, 200, 100);
  HWND label = CreateWindowExA(0, "Static", "-placeholder-", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, form, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(label);
  EXPECT_EQ(Text(label), "-placeholder-");
  SetWindowTextA(label, "Look in:");
  EXPECT_EQ(Text(label), "Look in:");
  EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  EXPECT_EQ(SendMessageA(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
}

TEST_F(TextControlTest, StaticPaintsItsTextOnTheButtonFace) {
  HWND form = Top(0, 0, 120, 40);
  HWND label =
      CreateWindowExA(0, "Static", "WWWW", WS_CHILD | WS_VISIBLE, 0, 0, 120, 40, form, nullptr, nullptr, nullptr);
  UpdateWindow(form);
  UpdateWindow(label);
  HDC dc = GetDC(label);
  int dark = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 20; ++y) dark += GetPixel(dc, x, y) == GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_GT(dark, 10);
  EXPECT_EQ(GetPixel(dc, 110, 35), GetSysColor(COLOR_BTNFACE));
  ReleaseDC(label, dc);
}

TEST_F(TextControlTest, EditTypesReplacesTheSelectionAndTellsTheParent) {
  HWND form = Top(0, 0, 200, 100);
  HWND edit = CreateWindowExA(0, "Edit", "logo.sys", WS_CHILD | WS_VISIBLE, 0, 0, 150, 22, form,
                              reinterpret_cast<HMENU>(0x480), nullptr, nullptr);
  SendMessageA(edit, EM_SETSEL, 0, 4);
  SendMessageA(edit, WM_CHAR, 'w', 0);
  SendMessageA(edit, WM_CHAR, 'a', 0);
  EXPECT_EQ(Text(edit), "wa.sys");
  SendMessageA(edit, WM_CHAR, '\b', 0);
  SendMessageA(edit, WM_KEYDOWN, VK_END, 0);
  SendMessageA(edit, WM_CHAR, '!', 0);
  EXPECT_EQ(Text(edit), "w.sys!");
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("x"));
  EXPECT_EQ(Text(edit), "x");
  SendMessageA(edit, EM_LIMITTEXT, 3, 0);
  for (char c : std::string("yzq")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 0);
  EXPECT_EQ(Text(edit), "xyz");
  int changes = 0;
  for (const Logged& l : log) changes += l.window == form && l.message == WM_COMMAND && HIWORD(l.wParam) == EN_CHANGE;
  EXPECT_EQ(changes, 7);  // w, a, backspace, !, replace, y, z
}

// A click puts the caret at the character boundary nearest to it; Shift+click selects to there.
TEST_F(TextControlTest, AClickInAnEditPlacesTheCaretWhereItWas) {
  HWND form = Top(0, 0, 200, 100);
  HWND edit =
      CreateWindowExA(0, "Edit", "logo.sys", WS_CHILD | WS_VISIBLE, 0, 0, 150, 22, form, nullptr, nullptr, nullptr);
  HDC dc = GetDC(edit);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SIZE four{}, five{};
  GetTextExtentPoint32A(dc, "logo", 4, &four);
  GetTextExtentPoint32A(dc, "logo.", 5, &five);
  ReleaseDC(edit, dc);
  const int textLeft = 4;  // the sunken edge and the gap before the text
  const int justBeforeTheDot = textLeft + four.cx + (five.cx - four.cx) / 3;
  DWORD start = 0, end = 0;
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(justBeforeTheDot, 10));
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(GetFocus(), edit);
  EXPECT_EQ(start, 4u);
  EXPECT_EQ(end, 4u);
  SendMessageA(edit, WM_CHAR, '2', 0);
  EXPECT_EQ(Text(edit), "logo2.sys");
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 10));  // beyond the text: its end
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 9u);
  SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 10));  // before it: its start
  SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(end, 0u);
}

}  // namespace
