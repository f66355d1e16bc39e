#include <cstdlib>
#include <string>

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

// Without a desktop (headless, not forced by a test driver) nobody could answer.
TEST(UserMessageBoxDeathTest, UnattendedBoxesWriteTheirTextAndTakeTheDefaultButton) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (UINT type : {UINT(MB_YESNOCANCEL | MB_DEFBUTTON2), UINT(MB_OK | MB_ICONERROR)}) {
    EXPECT_EXIT(
        {
          unsetenv("STARTLOGO_DISPLAY");
          unsetenv("DISPLAY");
          unsetenv("WAYLAND_DISPLAY");
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

host::Image ShowBox(const char* text, UINT type) {
  gShown = {};
  SetTimer(nullptr, 0, 1, CaptureAndClose);
  EXPECT_EQ(MessageBoxA(nullptr, text, "Caption", type), IDOK);
  return gShown;
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
