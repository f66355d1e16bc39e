#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/spin.h"

namespace {

class SpinEditTest : public StdCtrlsTest {
 protected:
  SpinEditTest() {
    spin_->SetMinValue(8);
    spin_->SetMaxValue(124);
    spin_->SetValue(24);
    spin_->OnChange = [this](TObject*) { ++changes_; };
    ShowForm();
    spin_->SetFocus();
  }
  TSpinEdit* spin_ = Make<TSpinEdit>(10, 10, 80, 22);
  TButton* other_ = Make<TButton>(10, 50, 75, 25);
  int changes_ = 0;
};

}  // namespace

TEST_F(SpinEditTest, ValueReadsTheTextAndBadTextFallsBackToTheMinimum) {
  struct TCase {
    const char* Text;
    int Value;
  } cases[] = {{"24", 24}, {"  30", 30}, {"", 8}, {"abc", 8}, {"-", 8}, {"500", 500}, {"$10", 16}};
  for (const TCase& c : cases) {
    spin_->SetText(c.Text);
    EXPECT_EQ(spin_->Value(), c.Value) << c.Text;
  }
}

TEST_F(SpinEditTest, WritingAndLeavingClampToTheRangeUnlessMinEqualsMax) {
  struct TCase {
    int Min, Max, Set, Stored;
  } cases[] = {{8, 124, 200, 124}, {8, 124, 3, 8}, {8, 124, 50, 50}, {0, 0, -7, -7}};
  for (const TCase& c : cases) {
    spin_->SetMinValue(c.Min);
    spin_->SetMaxValue(c.Max);
    spin_->SetValue(c.Set);
    EXPECT_EQ(spin_->GetText(), IntToStr(c.Stored));
  }
  spin_->SetMinValue(8);
  spin_->SetMaxValue(124);
  spin_->SetText("999");
  other_->SetFocus();
  EXPECT_EQ(spin_->GetText(), "124");
}

TEST_F(SpinEditTest, ArrowKeysAndButtonsStepTheValueAndOnlyDigitsAreTyped) {
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(spin_->Value(), 26);
  Key(VK_DOWN);
  EXPECT_EQ(spin_->Value(), 25);
  const int w = spin_->ClientWidth(), h = spin_->ClientHeight();
  Click(spin_, w - 5, 3);
  EXPECT_EQ(spin_->Value(), 26);
  Click(spin_, w - 5, h - 3);
  EXPECT_EQ(spin_->Value(), 25);
  EXPECT_EQ(changes_, 5);
  spin_->SetValue(123);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(spin_->Value(), 124);

  spin_->SelectAll();
  Type("1x2");
  EXPECT_EQ(spin_->GetText(), "12");
}
