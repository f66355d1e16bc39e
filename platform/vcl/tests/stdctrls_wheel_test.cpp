// The mouse wheel in the class library's lists: a focused list box scrolls three lines a notch, a
// closed combo box steps through its items and an open one scrolls its list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "stdctrls_fixture.h"
#include "vcl/stdctrls.h"

namespace {

class WheelListsTest : public StdCtrlsTest {
 protected:
  WheelListsTest() {
    for (int i = 0; i < 20; ++i) {
      list_->Items()->Add("item " + std::to_string(i));
      combo_->Items()->Add("item " + std::to_string(i));
    }
    list_->OnClick = [this](TObject*) { log_.push_back("click " + std::to_string(list_->ItemIndex())); };
    combo_->OnChange = [this](TObject*) { log_.push_back("change " + combo_->GetText()); };
  }

  void Wheel(int notches, TControl* over) {
    const POINT at = OnScreen(over, over->Width() / 2, over->Height() / 2);
    InjectWheel(notches, at.x, at.y);
    PumpMessages();
  }

  TListBox* list_ = Make<TListBox>(10, 10, 120, 80);
  TComboBox* combo_ = Make<TComboBox>(150, 10, 120, 21);
  std::vector<std::string> log_;
};

TEST_F(WheelListsTest, AFocusedListScrollsThreeLinesANotchAndChoosesNothing) {
  ShowForm();
  list_->SetItemIndex(1);
  list_->SetFocus();
  const int rows = list_->ClientHeight() / list_->ItemHeight();
  struct Turn {
    int notches;
    int top;
  };
  for (const Turn turn : {Turn{-2, 6}, Turn{1, 3}, Turn{5, 0}, Turn{-20, 20 - rows}}) {
    Wheel(turn.notches, list_);
    EXPECT_EQ(list_->TopIndex(), turn.top) << turn.notches << " notches";
  }
  EXPECT_EQ(list_->ItemIndex(), 1);
  EXPECT_TRUE(log_.empty());
}

TEST_F(WheelListsTest, AClosedComboBoxStepsThroughItsItemsAndTellsEachChange) {
  for (TComboBoxStyle style : {csDropDownList, csDropDown}) {
    combo_->SetStyle(style);
    combo_->SetItemIndex(-1);
    ShowForm();
    combo_->SetFocus();
    PumpMessages();
    log_.clear();
    Wheel(-1, combo_);
    EXPECT_EQ(combo_->ItemIndex(), 0) << "from no choice to the first item";
    Wheel(-2, combo_);
    EXPECT_EQ(combo_->ItemIndex(), 2);
    Wheel(1, combo_);
    EXPECT_EQ(combo_->ItemIndex(), 1);
    Wheel(5, combo_);
    EXPECT_EQ(combo_->ItemIndex(), 0);
    EXPECT_EQ(log_, (std::vector<std::string>{"change item 0", "change item 2", "change item 1", "change item 0"}))
        << "style " << static_cast<int>(style);
  }
}

TEST_F(WheelListsTest, AnOpenComboBoxScrollsItsListWithoutChoosing) {
  combo_->SetStyle(csDropDownList);
  combo_->SetItemIndex(1);
  ShowForm();
  Click(combo_, 5, 5);
  ASSERT_TRUE(combo_->DroppedDown());
  log_.clear();
  Wheel(-2, combo_);
  EXPECT_TRUE(combo_->DroppedDown());
  EXPECT_EQ(combo_->ItemIndex(), 1);
  EXPECT_TRUE(log_.empty());
  // The first row shown is item 6 now: a click there chooses it.
  const int h = combo_->ItemHeight();
  Click(combo_, 10, combo_->Height() + h / 2);
  EXPECT_FALSE(combo_->DroppedDown());
  EXPECT_EQ(combo_->ItemIndex(), 6);
}

}  // namespace
