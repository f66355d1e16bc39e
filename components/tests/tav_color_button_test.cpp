// The colour button and its pop-up, driven with the mouse and the keyboard: which cell opens
// highlighted, moving and picking, every way of closing (each gives the other windows back), the
// extra button through the colour dialog, and how the button and the pop-up look.
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/tav_color_button.h"
#include "win32/comdlg.h"
#include "win32/controls.h"

namespace {

class ColorButtonTest : public ComponentTest {
 protected:
  ColorButtonTest() {
    button_->OnChange = [this](TObject*) { ++changes_; };
    other_->SetCaption("Other");
  }
  ~ColorButtonTest() override { SetCommonDialogScript(nullptr); }

  TTavColorPopUp* Open() {
    ShowForm();
    Click(button_, 5, 5);
    return button_->PopUp();
  }
  // A point of the pop-up's client area, in the button's client coordinates (for the injectors).
  void AtPopUp(int x, int y, bool down) {
    const TPoint screen = button_->PopUp()->ClientToScreen({x, y});
    InjectMouseMove(screen.x, screen.y);
    InjectMouseButton(host::InputEvent::Left, down, screen.x, screen.y);
    PumpMessages();
  }
  bool FormEnabled() { return IsWindowEnabled(form_.Handle()) != FALSE; }

  TTavColorButton* button_ = Make<TTavColorButton>(20, 20, 43, 21);
  TButton* other_ = Make<TButton>(100, 20, 60, 25);
  int changes_ = 0;
};

TEST_F(ColorButtonTest, StartsBlackAtItsSizeWithTheArrowGlyph) {
  EXPECT_EQ(button_->Value(), clBlack);
  EXPECT_EQ(button_->Width(), 43);
  EXPECT_EQ(button_->Height(), 21);
  EXPECT_EQ(button_->Face()->Width(), 43);
  EXPECT_TRUE(button_->TabStop());
  ASSERT_NE(button_->Glyph(), nullptr);
  EXPECT_EQ(button_->Glyph()->Width(), 5);
  EXPECT_EQ(button_->Glyph()->Height(), 5);
  EXPECT_EQ(button_->ButtonCaption(), "&Other...");
  EXPECT_EQ(button_->PopUp(), nullptr);  // made at the first drop-down
  button_->SetButtonCaption("");
  EXPECT_EQ(button_->ButtonCaption(), "&Other...");
  button_->SetValue(clBlack);
  EXPECT_EQ(changes_, 0);
  button_->SetValue(clRed);
  EXPECT_EQ(changes_, 1);
  button_->SetBounds(20, 20, 60, 30);
  EXPECT_EQ(button_->Face()->Width(), 60);
  EXPECT_EQ(button_->Face()->Height(), 30);
}

TEST_F(ColorButtonTest, OpensBelowWithTheMatchingCellHighlighted) {
  button_->SetValue(clBlue);
  TTavColorPopUp* p = Open();
  ASSERT_NE(p, nullptr);
  ASSERT_TRUE(p->Shown());
  EXPECT_EQ(p->ClientWidth(), TTavColorPopUp::kClientWidth);
  EXPECT_EQ(p->ClientHeight(), TTavColorPopUp::kClientHeight);
  EXPECT_EQ(p->SelectedIndex(), 12);
  EXPECT_FALSE(p->ShowCurrent());
  EXPECT_EQ(p->ExtraButton()->Caption(), "&Other...");
  const TPoint below = button_->ClientToScreen({0, button_->Height()});
  EXPECT_EQ(p->Left(), below.x);
  EXPECT_EQ(p->Top(), below.y);
  EXPECT_FALSE(FormEnabled());
  EXPECT_EQ(GetFocus(), p->Handle());
  button_->SetButtonCaption("&More...");  // reaches the shown pop-up at once
  EXPECT_EQ(p->ExtraButton()->Caption(), "&More...");
  Key(VK_ESCAPE);
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  EXPECT_EQ(button_->Value(), clBlue);
}

TEST_F(ColorButtonTest, AColourOutsideThePaletteOpensOnTheCurrentBox) {
  button_->SetValue(0x123456);
  TTavColorPopUp* p = Open();
  EXPECT_EQ(p->SelectedIndex(), -1);
  EXPECT_TRUE(p->ShowCurrent());
  Key(VK_ESCAPE);
  // A system colour is matched by its RGB value: the face is silver, cell 2.
  button_->SetValue(clBtnFace);
  Click(button_, 5, 5);
  EXPECT_EQ(p->SelectedIndex(), 2);
  EXPECT_FALSE(p->ShowCurrent());
  Key(VK_ESCAPE);
  button_->SetShowCurrent(true);
  Click(button_, 5, 5);
  EXPECT_TRUE(p->ShowCurrent());
  Key(VK_ESCAPE);
}

TEST_F(ColorButtonTest, KeysMoveOnTheGridAndEnterPicks) {
  button_->SetValue(clWhite);
  TTavColorPopUp* p = Open();
  struct Step {
    int key, selected;
  } steps[] = {{VK_LEFT, 0}, {VK_RIGHT, 1},  {VK_DOWN, 5}, {VK_END, 19}, {VK_DOWN, 19},
               {VK_UP, 15},  {VK_RIGHT, 15}, {VK_HOME, 0}, {VK_UP, 0}};
  for (const Step& s : steps) {
    Key(s.key);
    EXPECT_EQ(p->SelectedIndex(), s.selected) << s.key;
  }
  Key(VK_RIGHT);
  Key(VK_RETURN);
  EXPECT_FALSE(p->Shown());
  EXPECT_EQ(button_->Value(), clBlack);
  EXPECT_EQ(changes_, 2);  // white, then black
  EXPECT_TRUE(FormEnabled());
  EXPECT_EQ(GetFocus(), button_->Handle());
}

TEST_F(ColorButtonTest, DownFromTheLastCellReachesTheBoxWhichKeepsTheValue) {
  button_->SetValue(0x123456);
  TTavColorPopUp* p = Open();
  Key(VK_HOME);
  Key(VK_END);  // with the box shown, End goes to it
  EXPECT_EQ(p->SelectedIndex(), -1);
  Key(VK_UP);
  EXPECT_EQ(p->SelectedIndex(), 19);
  Key(VK_DOWN);
  EXPECT_EQ(p->SelectedIndex(), -1);
  Key(VK_RETURN);
  EXPECT_FALSE(p->Shown());
  EXPECT_EQ(button_->Value(), 0x123456);
}

TEST_F(ColorButtonTest, WithoutASelectionArrowKeysDoNothing) {
  button_->SetValue(0x123456);
  TTavColorPopUp* p = Open();
  Key(VK_ESCAPE);
  button_->SetValue(clBlack);
  button_->SetShowCurrent(false);
  Click(button_, 5, 5);
  EXPECT_EQ(p->SelectedIndex(), 1);
  Key(VK_ESCAPE);
}

TEST_F(ColorButtonTest, TheMousePicksOnReleaseAndOnlyInsideTheCells) {
  TTavColorPopUp* p = Open();
  // Hits of the grid and the box; points left of or above the grid hit nothing.
  EXPECT_EQ(p->HitTest(0, 0), 0);
  EXPECT_EQ(p->HitTest(71, 89), 19);
  EXPECT_EQ(p->HitTest(-5, 3), TTavColorPopUp::kNoHit);
  EXPECT_EQ(p->HitTest(3, -5), TTavColorPopUp::kNoHit);
  EXPECT_EQ(p->HitTest(60, 100), TTavColorPopUp::kNoHit);  // the box is not shown
  AtPopUp(30, 40, true);  // a press inside picks nothing yet
  EXPECT_TRUE(p->Shown());
  EXPECT_EQ(p->SelectedIndex(), 9);  // the move selected it
  AtPopUp(45, 75, false);
  EXPECT_FALSE(p->Shown());
  EXPECT_EQ(button_->Value(), TTavColorPopUp::kColors[18]);
  EXPECT_TRUE(FormEnabled());
}

TEST_F(ColorButtonTest, AReleaseJustAboveThePaletteKeepsTheValue) {
  TTavColorPopUp* p = Open();
  // The pop-up holds the mouse, so a release outside reaches it with negative coordinates.
  SendMessageA(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(5), static_cast<WORD>(-3)));
  SendMessageA(p->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-3), static_cast<WORD>(5)));
  EXPECT_TRUE(p->Shown());
  EXPECT_EQ(button_->Value(), clBlack);
  Key(VK_ESCAPE);
}

TEST_F(ColorButtonTest, EveryWayOfClosingGivesTheWindowsBack) {
  TTavColorPopUp* p = Open();
  // A click anywhere outside.
  Press(&form_, 200, 200, true);
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  Press(&form_, 200, 200, false);
  // Losing the focus to another window.
  Click(button_, 5, 5);
  ASSERT_TRUE(p->Shown());
  SetFocus(nullptr);
  PumpMessages();
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  // Tab to the extra button, then Escape on it.
  Click(button_, 5, 5);
  ASSERT_TRUE(p->Shown());
  Key(VK_TAB);
  EXPECT_EQ(GetFocus(), p->ExtraButton()->Handle());
  Key(VK_ESCAPE);
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  // The extra button losing the focus.
  Click(button_, 5, 5);
  Key(VK_TAB);
  ASSERT_EQ(GetFocus(), p->ExtraButton()->Handle());
  SetFocus(nullptr);
  PumpMessages();
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  EXPECT_EQ(button_->Value(), clBlack);
  EXPECT_EQ(changes_, 0);
}

// The keys typed after the user turned to another program reach the button, not a hidden pop-up.
TEST_F(ColorButtonTest, AnotherProgramTakingTheKeyboardClosesThePopUpAsACancel) {
  TTavColorPopUp* p = Open();
  ASSERT_TRUE(p->Shown());
  Key(VK_DOWN);
  InjectFocusToOtherProgram(form_.Handle());
  PumpMessages();
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  EXPECT_NE(GetCapture(), p->Handle());
  for (int key : {VK_END, VK_HOME, VK_RETURN}) Key(key);
  EXPECT_FALSE(p->Shown());
  EXPECT_EQ(button_->Value(), clBlack);
  EXPECT_EQ(changes_, 0);
}

TEST_F(ColorButtonTest, TheExtraButtonOpensTheColourDialogOnTheValue) {
  button_->SetValue(clYellow);
  button_->SetButtonCaption("&More...");
  COLORREF shown = 0;
  SetCommonDialogScript([&](HWND dialog) {
    shown = static_cast<COLORREF>(SendMessageA(dialog, WM_USER, 0, 0));
    SendMessageA(GetDlgItem(dialog, COLOR_SWATCH1), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
  });
  TTavColorPopUp* p = Open();
  EXPECT_EQ(p->ExtraButton()->Caption(), "&More...");
  // The extra button lies at (3, 95) of the pop-up, 51 x 18.
  AtPopUp(10, 100, true);
  AtPopUp(10, 100, false);
  EXPECT_TRUE(PumpUntil([&] { return button_->Value() != clYellow; }));
  EXPECT_FALSE(p->Shown());
  EXPECT_TRUE(FormEnabled());
  EXPECT_EQ(changes_, 2);
  EXPECT_TRUE(button_->ColorDialog()->Options().Contains(cdFullOpen));
  // Cancelled, the value stays.
  const TColor picked = button_->Value();
  SetCommonDialogScript([](HWND dialog) { SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); });
  PostMessageA(button_->Handle(), TTavCustomColorButton::kOpenDialogMessage, 0, 0);
  PumpMessages();
  EXPECT_EQ(button_->Value(), picked);
  (void)shown;
}

TEST_F(ColorButtonTest, TheSpaceBarOpensAndTheFaceTakesTheFocusForTheButton) {
  ShowForm();
  other_->SetFocus();
  Press(button_, 5, 5, true);
  EXPECT_EQ(GetFocus(), button_->Handle());
  Press(button_, 5, 5, false);
  ASSERT_TRUE(button_->PopUp()->Shown());
  Key(VK_ESCAPE);
  EXPECT_EQ(GetFocus(), button_->Handle());
  Key(VK_SPACE);
  EXPECT_TRUE(button_->PopUp()->Shown());
  Key(VK_ESCAPE);
}

TEST_F(ColorButtonTest, NearTheBottomOfTheScreenThePopUpOpensAbove) {
  const int screen = GetSystemMetrics(SM_CYSCREEN);
  form_.SetBounds(50, screen - 80, 200, 60);
  TTavColorPopUp* p = Open();
  const TPoint below = button_->ClientToScreen({0, button_->Height()});
  EXPECT_EQ(p->Top(), below.y - p->Height() - button_->Height());
  Key(VK_ESCAPE);
}

}  // namespace
