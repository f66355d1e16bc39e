#include <gtest/gtest.h>

#include "stdctrls_fixture.h"
#include "vcl/stdctrls.h"

namespace {

class ListsTest : public StdCtrlsTest {
 protected:
  ListsTest() {
    list_->Items()->SetCommaText("Arial,Courier,Times,Tahoma,Verdana,Wingdings,Symbol,System,Terminal,Fixedsys");
    list_->OnClick = [this](TObject*) { log_.push_back("click " + std::to_string(list_->ItemIndex())); };
    combo_->Items()->SetCommaText("Arial,Courier,Times,Tahoma");
    combo_->OnClick = [this](TObject*) { log_.push_back("click " + std::to_string(combo_->ItemIndex())); };
    combo_->OnChange = [this](TObject*) { log_.push_back("change " + combo_->GetText()); };
  }
  TListBox* list_ = Make<TListBox>(10, 10, 120, 80);
  TComboBox* combo_ = Make<TComboBox>(150, 10, 120, 21);
  std::vector<std::string> log_;
};

}  // namespace

TEST_F(ListsTest, SortedItemsFindTheirPlaceAndTheProgramsItemIndexFiresNothing) {
  list_->SetSorted(true);
  EXPECT_EQ(list_->Items()->Get(0), "Arial");
  EXPECT_EQ(list_->Items()->Get(9), "Wingdings");
  list_->Items()->Add("courier new");
  EXPECT_EQ(list_->Items()->IndexOf("courier new"), 2);
  list_->SetItemIndex(3);
  list_->SetItemIndex(99);
  EXPECT_EQ(list_->ItemIndex(), -1);
  EXPECT_TRUE(log_.empty());
}

TEST_F(ListsTest, MouseArrowsAndTypeAheadSelectAndClick) {
  ShowForm();
  const int h = list_->ItemHeight();
  Click(list_, 10, h * 2 + 1);
  EXPECT_TRUE(list_->Focused());
  EXPECT_EQ(list_->ItemIndex(), 2);
  struct TCase {
    int Key;
    int Index;
  } keys[] = {{VK_DOWN, 3}, {VK_UP, 2}, {VK_END, 9}, {VK_HOME, 0}, {VK_NEXT, 0 + list_->ClientHeight() / h - 1}};
  for (const TCase& k : keys) {
    Key(k.Key);
    EXPECT_EQ(list_->ItemIndex(), k.Index) << k.Key;
  }
  Type("t");
  EXPECT_EQ(list_->Items()->Get(list_->ItemIndex()), "Terminal");
  Type("t");
  EXPECT_EQ(list_->Items()->Get(list_->ItemIndex()), "Times") << "the same letter goes on to the next match";
  EXPECT_EQ(log_.size(), 8u);
  EXPECT_GE(list_->ItemIndex(), list_->TopIndex());
  EXPECT_LT(list_->ItemIndex(), list_->TopIndex() + list_->ClientHeight() / h) << "the selection is kept in view";
}

TEST_F(ListsTest, OwnerDrawnItemsArePaintedByOnDrawItemWithTheirState) {
  list_->SetStyle(lbOwnerDrawFixed);
  list_->SetItemHeight(18);
  std::vector<std::pair<int, bool>> drawn;
  list_->OnDrawItem = [&](TWinControl*, int index, TRect rect, TOwnerDrawState state) {
    drawn.push_back({index, state.Contains(odSelected)});
    EXPECT_EQ(rect.bottom - rect.top, 18);
    list_->Canvas()->FillRect(rect);
  };
  list_->SetItemIndex(1);
  ShowForm();
  list_->Repaint();
  ASSERT_GE(drawn.size(), 4u);
  EXPECT_EQ(drawn[0], (std::pair<int, bool>{0, false}));
  EXPECT_EQ(drawn[1], (std::pair<int, bool>{1, true}));
  host::Image shot = CaptureWindow(form_.Handle());
  EXPECT_EQ(shot.At(12 + 20, 12 + 18 + 9), 0x000080u) << "the selected item on the highlight";
}

TEST_F(ListsTest, ScrollBarOfTheListScrollsWithoutChangingTheSelection) {
  ShowForm();
  list_->SetItemIndex(0);
  const int w = list_->ClientWidth(), hgt = list_->ClientHeight();
  Click(list_, w - 5, hgt - 5);
  EXPECT_EQ(list_->TopIndex(), 1);
  Click(list_, w - 5, hgt / 2 + 10);
  EXPECT_GT(list_->TopIndex(), 1);
  EXPECT_EQ(list_->ItemIndex(), 0);
  EXPECT_TRUE(log_.empty());
}

TEST_F(ListsTest, DropDownListPicksWithTheMouseAndTellsClickThenChange) {
  combo_->SetStyle(csDropDownList);
  ShowForm();
  // Picking from the popup list never takes the activation from the form.
  form_.OnActivate = [this](TObject*) { log_.push_back("activate"); };
  form_.OnDeactivate = [this](TObject*) { log_.push_back("deactivate"); };
  Click(combo_, 5, 5);
  ASSERT_TRUE(combo_->DroppedDown());
  EXPECT_TRUE(IsWindowVisible(GetCapture())) << "the list shows the first time it drops down";
  const int h = combo_->ItemHeight();
  // Items lie in the popup just below the combo box.
  Click(combo_, 10, combo_->Height() + h * 2 + h / 2);
  EXPECT_FALSE(combo_->DroppedDown());
  EXPECT_EQ(combo_->ItemIndex(), 2);
  EXPECT_EQ(log_, (std::vector<std::string>{"click 2", "change Times"}));

  log_.clear();
  Click(combo_, 5, 5);
  Click(combo_, 300, 200);
  EXPECT_FALSE(combo_->DroppedDown()) << "a click elsewhere closes the list";
  EXPECT_EQ(combo_->ItemIndex(), 2);
  EXPECT_TRUE(log_.empty());
}

TEST_F(ListsTest, DropDownListOpensAboveNearTheBottomOfTheScreen) {
  combo_->SetStyle(csDropDownList);
  form_.SetTop(GetSystemMetrics(SM_CYSCREEN) - 40);
  ShowForm();
  Click(combo_, 5, 5);
  ASSERT_TRUE(combo_->DroppedDown());
  RECT field{}, list{};
  GetWindowRect(combo_->Handle(), &field);
  GetWindowRect(GetCapture(), &list);
  EXPECT_EQ(list.bottom, field.top);
  EXPECT_EQ(list.bottom - list.top, 4 * combo_->ItemHeight() + 2);
  Key(VK_ESCAPE);
  EXPECT_FALSE(combo_->DroppedDown());
}

TEST_F(ListsTest, DropDownListKeysAndTypeAhead) {
  combo_->SetStyle(csDropDownList);
  ShowForm();
  combo_->SetFocus();
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(combo_->ItemIndex(), 1);
  Type("t");
  EXPECT_EQ(combo_->GetText(), "Times");
  Type("t");
  EXPECT_EQ(combo_->GetText(), "Tahoma");
  Key(VK_F4);
  EXPECT_TRUE(combo_->DroppedDown());
  Key(VK_UP);
  Key(VK_RETURN);
  EXPECT_FALSE(combo_->DroppedDown());
  EXPECT_EQ(combo_->GetText(), "Times");
  EXPECT_EQ(log_.size(), 10u);
  combo_->SetText("Courier");
  EXPECT_EQ(combo_->ItemIndex(), 1);
}

TEST_F(ListsTest, DropDownHasAnEditWhoseTypingFiresOnChange) {
  ShowForm();
  combo_->SetItemIndex(0);
  EXPECT_EQ(combo_->GetText(), "Arial");
  EXPECT_TRUE(log_.empty()) << "the program's choice fires nothing";
  combo_->SetFocus();
  ASSERT_NE(combo_->EditControl(), nullptr);
  EXPECT_TRUE(combo_->EditControl()->Focused());
  Type("x");
  EXPECT_EQ(combo_->GetText(), "x");
  EXPECT_EQ(log_, std::vector<std::string>{"change x"});
  Key(VK_DOWN);
  EXPECT_EQ(combo_->GetText(), "Courier");
}

TEST_F(StdCtrlsTest, ScrollBarStepsWithMouseAndKeysAndReportsEachScroll) {
  TScrollBar* bar = Make<TScrollBar>(10, 10, 200, 16);
  bar->SetParams(50, 0, 100);
  bar->SetSmallChange(2);
  bar->SetLargeChange(10);
  std::vector<TScrollCode> codes;
  int changes = 0;
  bar->OnScroll = [&](TObject*, TScrollCode code, int&) { codes.push_back(code); };
  bar->OnChange = [&](TObject*) { ++changes; };
  ShowForm();
  struct TCase {
    int X;
    int Position;
  } clicks[] = {{5, 48}, {195, 50}, {30, 40}, {180, 50}};
  for (const TCase& c : clicks) {
    Click(bar, c.X, 8);
    EXPECT_EQ(bar->Position(), c.Position) << c.X;
  }
  bar->SetFocus();
  Key(VK_END);
  EXPECT_EQ(bar->Position(), 100);
  Key(VK_RIGHT);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(codes.front(), scLineUp);
  bar->SetPosition(500);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
}
