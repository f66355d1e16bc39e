#include <gtest/gtest.h>

#include <algorithm>

#include "stdctrls_fixture.h"
#include "vcl/extctrls.h"

namespace {

class ButtonsTest : public StdCtrlsTest {
 protected:
  ButtonsTest() {
    ok_->SetCaption("&Go");
    ok_->SetDefault(true);
    ok_->SetModalResult(mrOk);
    cancel_->SetCaption("Cancel");
    cancel_->SetCancel(true);
    check_->SetCaption("&Tiled");
    for (TControl* c : std::initializer_list<TControl*>{ok_, cancel_, check_})
      c->OnClick = [this](TObject* sender) { clicks_.push_back(static_cast<TControl*>(sender)->Caption()); };
    ShowForm();
  }

  TButton* ok_ = Make<TButton>(10, 10, 75, 25);
  TButton* cancel_ = Make<TButton>(90, 10, 75, 25);
  TCheckBox* check_ = Make<TCheckBox>(10, 50, 100, 17);
  std::vector<std::string> clicks_;
};

}  // namespace

TEST_F(ButtonsTest, AMouseClickCountsOnlyWhenReleasedOverTheButton) {
  struct TCase {
    const char* What;
    int ToX, ToY;
    size_t Clicks;
  } cases[] = {{"released inside", 20, 12, 1}, {"dragged off", 200, 120, 0}, {"off and back", 30, 5, 1}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    clicks_.clear();
    Drag(cancel_, 10, 10, c.ToX, c.ToY);
    EXPECT_EQ(clicks_.size(), c.Clicks);
    EXPECT_TRUE(cancel_->Focused()) << "a press takes the focus";
  }
}

TEST_F(ButtonsTest, SpaceClicksTheFocusedButtonAndSetsTheModalResult) {
  ok_->SetFocus();
  Key(VK_SPACE);
  EXPECT_EQ(clicks_, std::vector<std::string>{"&Go"});
  EXPECT_EQ(form_.ModalResult(), mrOk);
}

TEST_F(ButtonsTest, ReturnPressesTheDefaultOrTheFocusedButtonAndEscapeTheCancelButton) {
  struct TCase {
    TWinControl* Focus;
    int Key;
    const char* Pressed;
  } cases[] = {{check_, VK_RETURN, "&Go"},
               {cancel_, VK_RETURN, "Cancel"},
               {ok_, VK_RETURN, "&Go"},
               {check_, VK_ESCAPE, "Cancel"},
               {ok_, VK_ESCAPE, "Cancel"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Focus->Caption()) + " " + std::to_string(c.Key));
    c.Focus->SetFocus();
    clicks_.clear();
    Key(c.Key);
    EXPECT_EQ(clicks_, std::vector<std::string>{c.Pressed});
  }
  cancel_->SetFocus();
  EXPECT_FALSE(ok_->Active()) << "the focused button takes the default role";
  check_->SetFocus();
  EXPECT_TRUE(ok_->Active());
}

TEST_F(ButtonsTest, AcceleratorCharactersClickButtonsAndToggleCheckBoxes) {
  cancel_->SetFocus();
  Type("g");
  EXPECT_EQ(clicks_, std::vector<std::string>{"&Go"});
  EXPECT_TRUE(ok_->Focused());
  clicks_.clear();
  Type("t");
  EXPECT_EQ(clicks_, std::vector<std::string>{"&Tiled"});
  EXPECT_TRUE(check_->Checked());
  clicks_.clear();
  Type("x");
  EXPECT_TRUE(clicks_.empty());
}

TEST_F(ButtonsTest, CheckBoxCyclesItsStatesAndFiresOnClickForEveryChange) {
  struct TCase {
    bool AllowGrayed;
    std::vector<TCheckBoxState> States;
  } cases[] = {{false, {cbChecked, cbUnchecked, cbChecked}}, {true, {cbGrayed, cbChecked, cbUnchecked}}};
  for (const TCase& c : cases) {
    check_->SetState(cbUnchecked);
    check_->SetAllowGrayed(c.AllowGrayed);
    clicks_.clear();
    for (TCheckBoxState expected : c.States) {
      Click(check_, 5, 8);
      EXPECT_EQ(check_->State(), expected);
    }
    EXPECT_EQ(clicks_.size(), c.States.size());
  }
  clicks_.clear();
  check_->SetCheckedValue(true);
  check_->SetCheckedValue(true);
  EXPECT_EQ(clicks_.size(), 1u) << "setting Checked clicks once, and only on a change";
}

TEST_F(StdCtrlsTest, RadioButtonsOfOneParentExcludeEachOtherAndArrowsCheckTheNextOne) {
  std::vector<TRadioButton*> radios;
  std::vector<int> clicked;
  for (int i = 0; i < 3; ++i) {
    radios.push_back(Make<TRadioButton>(10, 10 + 20 * i, 100, 17));
    radios.back()->OnClick = [&clicked, i](TObject*) { clicked.push_back(i); };
  }
  TRadioButton* elsewhere = Make<TRadioButton>(10, 10, 100, 17, Make<TPanel>(150, 10, 120, 60));
  elsewhere->SetCheckedValue(true);
  ShowForm();

  radios[0]->SetCheckedValue(true);
  Click(radios[2], 5, 8);
  EXPECT_EQ(clicked, (std::vector<int>{0, 2}));
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_TRUE(radios[2]->Checked());
  EXPECT_TRUE(elsewhere->Checked()) << "another parent's group stays";
  EXPECT_TRUE(radios[2]->TabStop());
  EXPECT_FALSE(radios[0]->TabStop());

  Key(VK_UP);
  EXPECT_TRUE(radios[1]->Focused());
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_FALSE(radios[2]->Checked());
}

namespace {

// A push button that leaves its input to itself and a window-less child filling it.
class TSelfHandledButton : public TButton {
 public:
  explicit TSelfHandledButton(TComponent* owner) : TButton(owner) { SetStandardInput(false); }
  bool PressedLook() { return Pressed(); }
  using TButton::SetStandardInput;
  std::vector<std::string> Keys;

 protected:
  void KeyUp(WORD& Key, TShiftState Shift) override {
    TButton::KeyUp(Key, Shift);
    if (Key == VK_SPACE) Keys.push_back("space up");
  }
};

}  // namespace

TEST_F(StdCtrlsTest, AButtonWithoutStandardInputLeavesPressesSpaceAndAcceleratorsToItsOwnCode) {
  auto* button = Make<TSelfHandledButton>(10, 10, 75, 25);
  button->SetCaption("&Go");
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  std::vector<std::string> log;
  auto* face = new TLoggingControl(&form_, log, "face");
  face->SetParent(button);
  face->SetAlign(alClient);
  face->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("face down"); };
  face->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("face up"); };
  ShowForm();

  Click(button, 10, 10);
  EXPECT_EQ(clicks, 0);
  EXPECT_NE(std::find(log.begin(), log.end(), "face down"), log.end()) << "the child gets the press";
  EXPECT_NE(std::find(log.begin(), log.end(), "face up"), log.end());

  button->SetFocus();
  PumpMessages();
  InjectKey(VK_SPACE, true);
  PumpMessages();
  EXPECT_FALSE(button->PressedLook());
  InjectKey(VK_SPACE, false);
  PumpMessages();
  EXPECT_EQ(clicks, 0) << "no click of its own for the space bar";
  EXPECT_EQ(button->Keys, (std::vector<std::string>{"space up"})) << "the key events still come";
  EXPECT_EQ(form_.Perform(CM_DIALOGCHAR, 'g', 0), 0) << "the accelerator is left alone";
  EXPECT_EQ(clicks, 0);

  button->SetStandardInput(true);
  Click(button, 10, 10);
  EXPECT_EQ(clicks, 1) << "the standard handling again";
}
