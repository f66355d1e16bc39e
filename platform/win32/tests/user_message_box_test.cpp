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
