#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "user_test_support.h"
#include "win32/comdlg.h"
#include "win32/controls.h"
#include "win32/testing/dialogs.h"

namespace {

class ColorDialogTest : public UserTest {
 protected:
  ColorDialogTest() {
    for (int i = 0; i < 16; ++i) custom_[i] = RGB(static_cast<BYTE>(i), 10, 20);
    cc_.lStructSize = sizeof cc_;
    cc_.lpCustColors = custom_;
    cc_.rgbResult = RGB(1, 2, 3);
  }
  void TearDown() override {
    SetCommonDialogScript(nullptr);
    UserTest::TearDown();
  }
  static void Press(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

  COLORREF custom_[16] = {};
  CHOOSECOLORA cc_{};
};

TEST_F(ColorDialogTest, OkAnswersTheClickedSwatch) {
  struct Case {
    std::vector<int> clicks;
    DWORD flags;
    COLORREF expected;
  };
  const Case cases[] = {
      {{COLOR_SWATCH1 + 8}, 0, RGB(255, 0, 0)},
      {{COLOR_SWATCH1 + 47, COLOR_CUSTOM_SWATCH1 + 5}, 0, RGB(5, 10, 20)},
      {{}, CC_RGBINIT, RGB(1, 2, 3)},
      {{}, 0, RGB(0, 0, 0)},
  };
  for (const Case& c : cases) {
    cc_.Flags = c.flags;
    cc_.rgbResult = RGB(1, 2, 3);
    int swatches = 0;
    SetCommonDialogScript([&](HWND dialog) {
      for (int id = COLOR_SWATCH1; id < COLOR_CUSTOM_SWATCH1 + 16; ++id) swatches += GetDlgItem(dialog, id) != nullptr;
      for (int id : c.clicks) Press(dialog, id);
      Press(dialog, IDOK);
    });
    ASSERT_TRUE(ChooseColorA(&cc_));
    EXPECT_EQ(swatches, 64);
    EXPECT_EQ(cc_.rgbResult, c.expected);
  }
}

TEST_F(ColorDialogTest, CancelAndBadRecordsLeaveTheColour) {
  SetCommonDialogScript([](HWND dialog) {
    Press(dialog, COLOR_SWATCH1);
    Press(dialog, IDCANCEL);
  });
  EXPECT_FALSE(ChooseColorA(&cc_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(cc_.rgbResult, RGB(1, 2, 3));
  cc_.lStructSize = 0;
  EXPECT_FALSE(ChooseColorA(&cc_));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
  cc_.lStructSize = sizeof cc_;
  cc_.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColorA(&cc_));
  EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
}

}  // namespace

namespace {

class ColorPanelTest : public ColorDialogTest {
 protected:
  static std::string EditText(HWND dialog, int id) {
    char text[16] = {};
    GetWindowTextA(GetDlgItem(dialog, id), text, sizeof text);
    return text;
  }
  TMessageBoxRecorder boxes_;
  static void Type(HWND dialog, int id, const char* text) {
    HWND edit = GetDlgItem(dialog, id);
    SetWindowTextA(edit, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(edit));
  }
};

TEST_F(ColorPanelTest, TypedColourIsChosenAndAddedToTheClickedCustomSwatch) {
  bool panelShown = false, mixEnabled = true;
  RECT shut{}, open{};
  SetCommonDialogScript([&](HWND dialog) {
    Press(dialog, COLOR_CUSTOM_SWATCH1 + 3);
    GetWindowRect(dialog, &shut);
    Press(dialog, COLOR_MIX);
    GetWindowRect(dialog, &open);
    panelShown = IsWindowVisible(GetDlgItem(dialog, COLOR_RED));
    mixEnabled = IsWindowEnabled(GetDlgItem(dialog, COLOR_MIX));
    Type(dialog, COLOR_RED, "200");
    boxes_.answers = {IDOK, IDOK};
    Type(dialog, COLOR_GREEN, "300");  // the swatch takes the nearest value
    Type(dialog, COLOR_BLUE, "x");
    Press(dialog, COLOR_ADD);
    for (int refused = 0; refused < 3; ++refused) Press(dialog, IDOK);
  });
  ASSERT_TRUE(ChooseColorA(&cc_));
  EXPECT_TRUE(panelShown);
  EXPECT_FALSE(mixEnabled);
  // The shut window ends before the panel's edits; the open one holds them.
  EXPECT_GT(open.right - open.left, shut.right - shut.left);
  EXPECT_EQ(open.bottom - open.top, shut.bottom - shut.top);
  EXPECT_EQ(cc_.rgbResult, RGB(200, 255, 0));
  EXPECT_EQ(custom_[3], RGB(200, 255, 0));
  EXPECT_EQ(custom_[0], RGB(0, 10, 20));
}

TEST_F(ColorPanelTest, OkRefusesAPartOutOfRangeAndOffersTheNearestValue) {
  const char* const kRefusal = "Color: Enter a value between 0 and 255.";
  struct Case {
    const char* typed;
    const char* offered;
  };
  for (const Case& c :
       {Case{"18255", "255"}, Case{"-1", "0"}, Case{"", "0"}, Case{"2x", "0"}, Case{"99999999999999", "255"}}) {
    boxes_.asked.clear();
    boxes_.answers = {IDOK};
    cc_.Flags = CC_FULLOPEN;
    bool openAfterRefusal = false;
    std::string offered;
    HWND focus = nullptr, red = nullptr;
    SetCommonDialogScript([&](HWND dialog) {
      Type(dialog, COLOR_GREEN, "7");
      Type(dialog, COLOR_RED, c.typed);
      Press(dialog, IDOK);
      openAfterRefusal = IsWindowVisible(dialog);
      offered = EditText(dialog, COLOR_RED);
      focus = GetFocus();
      red = GetDlgItem(dialog, COLOR_RED);
      Press(dialog, IDOK);
    });
    ASSERT_TRUE(ChooseColorA(&cc_)) << c.typed;
    EXPECT_EQ(boxes_.asked, std::vector<std::string>{kRefusal}) << c.typed;
    EXPECT_TRUE(openAfterRefusal) << c.typed;
    EXPECT_EQ(offered, c.offered) << c.typed;
    EXPECT_EQ(focus, red) << c.typed;
    EXPECT_EQ(cc_.rgbResult, RGB(std::stoi(c.offered), 7, 0)) << c.typed;
  }
}

TEST_F(ColorPanelTest, FlagsOpenOrLockThePanel) {
  struct Case {
    DWORD flags;
    bool shown, mixEnabled;
  };
  for (const Case& c : {Case{0, false, true}, Case{CC_FULLOPEN, true, false}, Case{CC_PREVENTFULLOPEN, false, false}}) {
    cc_.Flags = c.flags | CC_RGBINIT;
    bool shown = !c.shown, mixEnabled = !c.mixEnabled;
    std::string red;
    SetCommonDialogScript([&](HWND dialog) {
      shown = IsWindowVisible(GetDlgItem(dialog, COLOR_RED));
      mixEnabled = IsWindowEnabled(GetDlgItem(dialog, COLOR_MIX));
      char text[8] = {};
      GetWindowTextA(GetDlgItem(dialog, COLOR_RED), text, sizeof text);
      red = text;
      Press(dialog, IDCANCEL);
    });
    EXPECT_FALSE(ChooseColorA(&cc_));
    EXPECT_EQ(shown, c.shown) << c.flags;
    EXPECT_EQ(mixEnabled, c.mixEnabled) << c.flags;
    EXPECT_EQ(red, "1") << "the panel shows the starting colour";
  }
}

}  // namespace
