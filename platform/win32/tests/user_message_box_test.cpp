#include <cstring>
#include <cstdlib>
#include <string>

#include "host/testing/nobody_at_display.h"
#include "user_test_support.h"

namespace {

class UserMessageBox : public UserTest {};

struct Asked {
  HWND owner = nullptr;
  std::string text, caption;
  UINT type = 0;
};

TEST_F(UserMessageBox, TheHookAnswersWithoutAScreen) {
  Asked asked;
  SetMessageBoxAnswer(
      [](HWND owner, LPCSTR text, LPCSTR caption, UINT type, void* context) {
        *static_cast<Asked*>(context) = Asked{owner, text, caption, type};
        return IDNO;
      },
      &asked);
  HWND owner = Top(0, 0, 10, 10);
  EXPECT_EQ(MessageBoxA(owner, "Save changes?", "Editor", MB_YESNO | MB_ICONWARNING), IDNO);
  SetMessageBoxAnswer(nullptr, nullptr);
  EXPECT_EQ(asked.owner, owner);
  EXPECT_EQ(asked.text, "Save changes?");
  EXPECT_EQ(asked.caption, "Editor");
  EXPECT_EQ(asked.type, MB_YESNO | MB_ICONWARNING);
}

// Without a desktop, or headless forced with no test driving it, nobody could answer.
TEST(UserMessageBoxDeathTest, UnattendedBoxesWriteTheirTextAndTakeTheDefaultButton) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (bool forced : {false, true})
    for (UINT type : {UINT(MB_YESNOCANCEL | MB_DEFBUTTON2), UINT(MB_OK | MB_ICONERROR)}) {
      SCOPED_TRACE(forced ? "forced headless" : "no desktop");
      EXPECT_EXIT(
          {
            NobodyAtTheDisplay(forced);
            std::exit(MessageBoxA(nullptr, "Disk full", "Saving", type));
          },
          ::testing::ExitedWithCode(type & MB_DEFBUTTON2 ? IDNO : IDOK), "Saving: Disk full");
    }
}

TEST_F(UserMessageBox, TheRealBoxAnswersReturnAndEscapeAndFreesItsOwner) {
  struct Case {
    UINT type;
    int key;
    int expected;
  };
  const Case cases[] = {
      {MB_OKCANCEL, VK_RETURN, IDOK},
      {MB_OKCANCEL, VK_ESCAPE, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},
      {MB_OK, VK_ESCAPE, IDOK},
  };
  HWND owner = Top(0, 0, 10, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    InjectKey(c.key, true);  // read by the box's own loop once it has the focus
    InjectKey(c.key, false);
    EXPECT_EQ(MessageBoxA(owner, "Text", "Caption", c.type), c.expected);
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
}

// Keys pressed and released in turn; a modifier (Shift, Alt) is held around the key after it.
void Press(std::initializer_list<int> keys) {
  int held = 0;
  for (int key : keys) {
    if (key == VK_SHIFT || key == VK_MENU) {
      held = key;
      InjectKey(held, true);
      continue;
    }
    InjectKey(key, true);
    InjectKey(key, false);
    if (held) InjectKey(held, false);
    held = 0;
  }
}

TEST_F(UserMessageBox, TheKeyboardMovesTheFocusAmongTheButtonsAndPressesThem) {
  struct Case {
    const char* name;
    UINT type;
    std::initializer_list<int> keys;
    int expected;
  };
  const Case cases[] = {
      {"Tab then Space presses the second button", MB_YESNOCANCEL, {VK_TAB, VK_SPACE}, IDNO},
      {"Space presses the focused default", MB_YESNO | MB_DEFBUTTON2, {VK_SPACE}, IDNO},
      {"Return answers the focused button", MB_YESNOCANCEL, {VK_TAB, VK_TAB, VK_RETURN}, IDCANCEL},
      {"Tab goes round", MB_YESNO, {VK_TAB, VK_TAB, VK_SPACE}, IDYES},
      {"Shift+Tab goes back round", MB_YESNOCANCEL, {VK_SHIFT, VK_TAB, VK_RETURN}, IDCANCEL},
      {"Shift+Tab from the second", MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_SHIFT, VK_TAB, VK_SPACE}, IDYES},
      {"Escape cancels wherever the focus is", MB_OKCANCEL, {VK_TAB, VK_TAB, VK_ESCAPE}, IDCANCEL},
      {"a letter presses its button", MB_YESNOCANCEL, {'N'}, IDNO},
      {"Alt with a letter presses its button", MB_YESNOCANCEL, {VK_MENU, 'N'}, IDNO},
      {"a letter of the third button", MB_ABORTRETRYIGNORE, {'I'}, IDIGNORE},
      {"a letter no button has does nothing", MB_YESNO | MB_DEFBUTTON2, {'Q', VK_RETURN}, IDNO},
  };
  HWND owner = Top(0, 0, 10, 10);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Press(c.keys);  // read by the box's own loop once it has the focus
    EXPECT_EQ(MessageBoxA(owner, "Text", "Caption", c.type), c.expected);
    PumpMessages();  // a key the box left for later must not reach the next one
  }
}

}  // namespace

namespace {

// The client area of the box showing now, captured once it has painted; then Return closes it.
host::Image gShown;

void CaptureAndClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND box = GetFocus();
  UpdateWindow(box);
  gShown = CaptureClient(box);
  PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
}

host::Image ShowBox(const char* text, UINT type, const char* caption = "Caption") {
  gShown = {};
  SetTimer(nullptr, 0, 1, CaptureAndClose);
  EXPECT_EQ(MessageBoxA(nullptr, text, caption, type), IDOK);
  return gShown;
}

// The width of a caption's text in the bold caption font.
int CaptionTextWidth(const char* caption) {
  HFONT bold = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, bold);
  SIZE size{};
  GetTextExtentPoint32A(screen, caption, static_cast<int>(std::strlen(caption)), &size);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  DeleteObject(bold);
  return size.cx;
}

// The leftmost column from `from` on holding a pixel of the text's colour above the buttons, or -1.
int FirstTextColumn(const host::Image& image, int from) {
  for (int x = from; x < image.width; ++x)
    for (int y = 0; y < image.height / 2; ++y)
      if (image.At(x, y) == 0x000000u) return x;
  return -1;
}

}  // namespace

TEST_F(UserMessageBox, EachIconStyleDrawsItsIconAtTheMarginWithTheTextBeside) {
  struct Case {
    UINT style;
    LPCSTR icon;
  };
  const Case cases[] = {{MB_ICONHAND, IDI_HAND},
                        {MB_ICONQUESTION, IDI_QUESTION},
                        {MB_ICONEXCLAMATION, IDI_EXCLAMATION},
                        {MB_ICONASTERISK, IDI_ASTERISK},
                        {0, nullptr}};
  const int margin = 12;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style);
    const host::Image shown = ShowBox("Text", MB_OK | c.style);
    ASSERT_GT(shown.width, 0);
    if (!c.icon) {
      EXPECT_EQ(FirstTextColumn(shown, 0), margin);
      continue;
    }
    const host::Image icon = IconOverButtonFace(LoadIconA(nullptr, c.icon));
    int differing = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) differing += shown.At(margin + x, margin + y) != icon.At(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_GE(FirstTextColumn(shown, margin + 32), margin + 32 + margin);
  }
}

TEST_F(UserMessageBox, ABoxIsWideEnoughForItsCaptionWithTheIconAndTheCloseBox) {
  const int buttons = 2 * GetSystemMetrics(SM_CXSIZE);
  for (const char* caption : {"Install", "Setting up the startup logos of this machine"}) {
    SCOPED_TRACE(caption);
    const host::Image shown = ShowBox("Thank you!", MB_OK, caption);
    EXPECT_GE(shown.width, CaptionTextWidth(caption) + buttons);
  }
  EXPECT_GT(ShowBox("Thank you!", MB_OK, "Setting up the startup logos of this machine").width,
            ShowBox("Thank you!", MB_OK, "Install").width);
}
