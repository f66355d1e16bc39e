#include <gtest/gtest.h>

#include <vector>

#include "forms_fixture.h"
#include "vcl/commdlg.h"
#include "win32/controls.h"

namespace {

class TColorDialogTest : public FormsTest {
 protected:
  ~TColorDialogTest() override { SetCommonDialogScript(nullptr); }
  void Play(std::vector<int> presses) {
    SetCommonDialogScript([presses](HWND dialog) {
      for (int id : presses) SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    });
  }
  TComponent owner_{nullptr};
  TColorDialog* dialog_ = new TColorDialog(&owner_);
};

TEST_F(TColorDialogTest, CustomColoursGoInAndComeBackAsLines) {
  dialog_->CustomColors()->Add("ColorB=zz");
  dialog_->CustomColors()->Add("ColorC=123456");
  Play({COLOR_CUSTOM_SWATCH1 + 1, COLOR_CUSTOM_SWATCH1 + 2, IDOK});
  ASSERT_TRUE(dialog_->Execute());
  EXPECT_EQ(dialog_->Color(), 0x123456);
  TStrings* lines = dialog_->CustomColors();
  ASSERT_EQ(lines->Count(), 16);
  EXPECT_EQ(lines->Get(0), "ColorA=FFFFFF");
  EXPECT_EQ(lines->Get(1), "ColorB=FFFFFF");
  EXPECT_EQ(lines->Get(2), "ColorC=123456");
  EXPECT_EQ(lines->Get(15), "ColorP=FFFFFF");
}

TEST_F(TColorDialogTest, StartsOnItsColourAndCancelKeepsIt) {
  std::vector<std::string> events;
  dialog_->OnShow = [&](TObject*) { events.push_back("show"); };
  dialog_->OnClose = [&](TObject*) { events.push_back("close"); };
  dialog_->SetColor(clBtnFace);
  Play({IDOK});
  ASSERT_TRUE(dialog_->Execute());
  EXPECT_EQ(dialog_->Color(), static_cast<TColor>(ColorToRGB(clBtnFace)));
  Play({COLOR_SWATCH1, IDCANCEL});
  EXPECT_FALSE(dialog_->Execute());
  EXPECT_EQ(dialog_->Color(), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(events, (std::vector<std::string>{"show", "close", "show", "close"}));
}

TEST_F(TColorDialogTest, FormDescriptionsCreateIt) {
  const TClassInfo* info = GetClass("TColorDialog");
  ASSERT_NE(info, nullptr);
  auto* made = dynamic_cast<TColorDialog*>(info->Create()(&owner_));
  ASSERT_NE(made, nullptr);
  SetOrdProp(*made, *GetPropInfo(*made, "Color"), clRed);
  EXPECT_EQ(made->Color(), clRed);
  EXPECT_NE(GetPropInfo(*made, "CustomColors"), nullptr);
  SetSetProp(*made, *GetPropInfo(*made, "Options"), "cdFullOpen, cdSolidColor");
  EXPECT_EQ(made->Options(), (TColorDialogOptions{cdFullOpen, cdSolidColor}));
}

TEST_F(TColorDialogTest, OptionsOpenOrLockTheCustomPanel) {
  struct Case {
    TColorDialogOptions options;
    bool shown, mixEnabled;
  };
  for (const Case& c :
       {Case{{}, false, true}, Case{{cdFullOpen}, true, false}, Case{{cdPreventFullOpen}, false, false}}) {
    dialog_->SetOptions(c.options);
    bool shown = !c.shown, mixEnabled = !c.mixEnabled;
    SetCommonDialogScript([&](HWND dialog) {
      shown = IsWindowVisible(GetDlgItem(dialog, COLOR_RED));
      mixEnabled = IsWindowEnabled(GetDlgItem(dialog, COLOR_MIX));
    });
    EXPECT_FALSE(dialog_->Execute());
    EXPECT_EQ(shown, c.shown) << c.options.Bits();
    EXPECT_EQ(mixEnabled, c.mixEnabled) << c.options.Bits();
  }
}

}  // namespace
