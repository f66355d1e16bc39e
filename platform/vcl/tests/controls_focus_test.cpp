#include <gtest/gtest.h>

#include "forms_fixture.h"
#include "win32/testing/windows.h"

namespace {

class TFocusBox : public TCustomControl {
 public:
  TFocusBox(TComponent* owner, TWinControl* parent, const std::string& name, bool tabStop) : TCustomControl(owner) {
    SetName(name);
    SetTabStop(tabStop);
    SetBounds(0, 0, 10, 10);
    SetParent(parent);
  }
};

class ControlsFocusTest : public FormsTest {
 protected:
  ControlsFocusTest() {
    form_.SetBounds(10, 10, 300, 200);
    // Made out of order; the tab order is set below.
    e4_ = new TFocusBox(&form_, &form_, "e4", true);
    e1_ = new TFocusBox(&form_, &form_, "e1", true);
    e2_ = new TFocusBox(&form_, &form_, "e2", true);
    e3_ = new TFocusBox(&form_, &form_, "e3", false);
    panel_ = new TFocusBox(&form_, &form_, "panel", false);
    e5_ = new TFocusBox(&form_, panel_, "e5", true);
    e1_->SetTabOrder(0);
    e2_->SetTabOrder(1);
    e3_->SetTabOrder(2);
    e4_->SetTabOrder(3);
    e2_->SetEnabled(false);
    for (TFocusBox* c : {e1_, e4_, e5_}) {
      c->OnEnter = [this, c](TObject*) { log_.push_back("enter " + c->Name()); };
      c->OnExit = [this, c](TObject*) { log_.push_back("exit " + c->Name()); };
    }
  }

  static void Press(int key) {
    InjectKey(key, true);
    InjectKey(key, false);
    Application->ProcessMessages();
  }

  std::string FocusedName() {
    TWinControl* c = TWinControl::FindControl(GetFocus());
    return c ? c->Name() : "";
  }

  std::vector<std::string> log_;
  TForm form_{nullptr};
  TFocusBox *e1_, *e2_, *e3_, *e4_, *e5_, *panel_;
};

}  // namespace

TEST_F(ControlsFocusTest, TabAndShiftTabFollowTheTabOrder) {
  EXPECT_EQ(e1_->TabOrder(), 0);
  EXPECT_EQ(e4_->TabOrder(), 3);
  EXPECT_EQ(panel_->TabOrder(), 4);
  form_.Show();
  EXPECT_EQ(FocusedName(), "e1");
  EXPECT_EQ(form_.ActiveControl(), e1_);

  struct TStep {
    bool Shift;
    const char* Focused;
  };
  // e2 is disabled and e3 no tab stop; e5 sits in a panel.
  const TStep steps[] = {{false, "e4"}, {false, "e5"}, {false, "e1"}, {true, "e5"}, {true, "e4"}, {true, "e1"}};
  for (const TStep& s : steps) {
    if (s.Shift) InjectKey(VK_SHIFT, true);
    Press(VK_TAB);
    if (s.Shift) InjectKey(VK_SHIFT, false);
    Application->ProcessMessages();
    EXPECT_EQ(FocusedName(), s.Focused);
    EXPECT_EQ(Screen->ActiveControl(), TWinControl::FindControl(GetFocus()));
  }
  EXPECT_EQ(log_,
            (std::vector<std::string>{"enter e1", "exit e1", "enter e4", "exit e4", "enter e5", "exit e5", "enter e1",
                                      "exit e1", "enter e5", "exit e5", "enter e4", "exit e4", "enter e1"}));
}

TEST_F(ControlsFocusTest, OnlyShownEnabledControlsTakeTheFocus) {
  form_.Show();
  EXPECT_FALSE(e2_->CanFocus());
  EXPECT_THROW(e2_->SetFocus(), EInvalidOperation);
  panel_->SetVisible(false);
  EXPECT_FALSE(e5_->CanFocus());
  panel_->SetVisible(true);
  e5_->SetFocus();
  EXPECT_TRUE(e5_->Focused());
  // Focus given to the form goes on to its active control.
  ::SetFocus(form_.Handle());
  EXPECT_TRUE(e5_->Focused());
  // Taking the focused control away leaves no dangling active control.
  delete panel_;
  EXPECT_EQ(form_.ActiveControl(), nullptr);
}

TEST_F(ControlsFocusTest, KeysReachTheFocusedControlAfterThePreviewingForm) {
  std::vector<std::string> keys;
  e1_->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back("e1 " + std::to_string(key)); };
  e1_->OnKeyPress = [&](TObject*, char& key) { keys.push_back(std::string("e1 char ") + key); };
  form_.OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
    keys.push_back("form " + std::to_string(key));
    if (key == 'X') key = 0;  // eaten by the form
  };
  form_.Show();
  SendMessageA(e1_->Handle(), WM_KEYDOWN, 'A', 0);
  form_.SetKeyPreview(true);
  SendMessageA(e1_->Handle(), WM_KEYDOWN, 'B', 0);
  SendMessageA(e1_->Handle(), WM_KEYDOWN, 'X', 0);
  SendMessageA(e1_->Handle(), WM_CHAR, 'c', 0);
  EXPECT_EQ(keys, (std::vector<std::string>{"e1 65", "form 66", "e1 66", "form 88", "e1 char c"}));
}
