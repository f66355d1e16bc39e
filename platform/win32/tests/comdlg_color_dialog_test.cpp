#include <gtest/gtest.h>

#include <vector>

#include "user_test_support.h"
#include "win32/comdlg.h"
#include "win32/controls.h"

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
