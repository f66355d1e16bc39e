// The graphic button's behaviour: toggle groups, auto-repeat, tracking, Kind, Lines, the hit test,
// the keyboard, transparent buttons and the drop-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button_fixture.h"

namespace {

using Face = ToxCustomGraphicButton;

ToxButton* Toggle(ToxButton* b) {
  b->SetButtonType(oxbToggle);
  return b;
}

// A picture of one colour.
void FillPicture(TPicture* picture, TColor color, int size = 8) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetWidth(size);
  bitmap.SetHeight(size);
  bitmap.Canvas()->Brush()->SetColor(color);
  bitmap.Canvas()->FillRect({0, 0, size, size});
  picture->SetBitmap(&bitmap);
}

TColor PictureColor(TPicture* picture) { return picture->Bitmap()->Canvas()->Pixels(1, 1); }

}  // namespace

TEST_F(ButtonTest, ToggleButtonsOfAGroupExcludeEachOtherGroupZeroIncluded) {
  ToxButton* a = Toggle(Make(10, 10, 75, 25, "A"));
  ToxButton* b = Toggle(Make(10, 40, 75, 25, "B"));
  ToxButton* other = Toggle(Make(10, 70, 75, 25, "C"));
  other->SetGroup(1);
  other->SetValue(true);
  Show();

  Click(a);
  EXPECT_TRUE(a->Value());
  Click(b);
  EXPECT_TRUE(b->Value());
  EXPECT_FALSE(a->Value()) << "group 0 is a group like any other";
  EXPECT_TRUE(other->Value()) << "another group is not touched";

  Click(b);
  EXPECT_TRUE(b->Value()) << "without GroupAllowNoSel only another button releases it";
  b->SetGroupAllowNoSel(true);
  EXPECT_TRUE(a->GroupAllowNoSel()) << "the group takes the announced GroupAllowNoSel";
  Click(b);
  EXPECT_FALSE(b->Value());
  EXPECT_EQ(b->Face()->DrawState(), Face::dsUp);
}

TEST_F(ButtonTest, ToggleChangesValueAndFiresOnChangeBeforeOnClick) {
  ToxButton* t = Toggle(Make(10, 10, 75, 25, "Show"));
  t->OnChange = [&](TObject* sender) { log_.push_back(std::string("change ") + (sender == t ? "button" : "?")); };
  t->OnClick = [&](TObject*) { log_.push_back(t->Value() ? "click down" : "click up"); };
  Show();
  Click(t);
  EXPECT_EQ(log_, (std::vector<std::string>{"change button", "click down"}));
  EXPECT_EQ(t->Face()->DrawState(), Face::dsDown);

  ToxButton* command = Make(10, 40);
  command->SetValue(true);
  EXPECT_FALSE(command->Value()) << "only a toggle button goes down";
}

TEST_F(ButtonTest, AutoRepeatClicksOnTheTimerNotOnReleaseAndPutsThePicturesBack) {
  ToxButton* r = Make(10, 10, 75, 25, "More");
  r->SetButtonType(oxbRepeat);
  FillPicture(r->PictureUp(), clRed);
  FillPicture(r->PictureDown(), clBlue);
  int clicks = 0;
  std::vector<TColor> upAtClick;
  r->OnClick = [&](TObject*) {
    ++clicks;
    upAtClick.push_back(PictureColor(r->PictureUp()));
  };
  Show();

  // A 1.1 s hold: the timer fires at 400, 600, 800 and 1000 ms.
  Press(r, 10, 10);
  TTimer* timer = r->Face()->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), 400u);
  EXPECT_EQ(clicks, 0) << "the first click waits InitDelay";
  for (int tick = 0; tick < 4; ++tick) {
    timer->OnTimer()(timer);
    EXPECT_EQ(timer->Interval(), 200u);
  }
  Release(r, 10, 10);
  EXPECT_EQ(clicks, 4) << "none on release";
  EXPECT_EQ(upAtClick, (std::vector<TColor>{clBlue, clRed, clBlue, clRed})) << "the pictures alternate";
  EXPECT_EQ(PictureColor(r->PictureUp()), clRed);
  EXPECT_EQ(r->Face()->RepeatTimer(), nullptr);

  // An odd number of swaps is undone by the release.
  Press(r, 10, 10);
  timer = r->Face()->RepeatTimer();
  for (int tick = 0; tick < 3; ++tick) timer->OnTimer()(timer);
  Release(r, 10, 10);
  EXPECT_EQ(clicks, 7);
  EXPECT_EQ(PictureColor(r->PictureUp()), clRed);
  EXPECT_EQ(PictureColor(r->PictureDown()), clBlue);
}

TEST_F(ButtonTest, AFailingRepeatClickStopsTheRepetition) {
  ToxButton* r = Make(10, 10, 75, 25, "More");
  r->SetButtonType(oxbRepeat);
  int clicks = 0;
  r->OnClick = [&](TObject*) {
    ++clicks;
    throw Exception("full");
  };
  Show();
  Press(r, 10, 10);
  TTimer* timer = r->Face()->RepeatTimer();
  EXPECT_THROW(timer->OnTimer()(timer), Exception);
  EXPECT_EQ(r->Face()->RepeatTimer(), nullptr);
  EXPECT_FALSE(timer->Enabled()) << "stopped at once, freed at the release";
  Release(r, 10, 10);
  EXPECT_EQ(clicks, 1);

  // The release of a failed press may go to the error's message box: a second failing press
  // must not lose the first one's stopped timer (the leak checker watches).
  for (int press = 0; press < 2; ++press) {
    Press(r, 10, 10);
    timer = r->Face()->RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_THROW(timer->OnTimer()(timer), Exception);
  }
  Release(r, 10, 10);
  EXPECT_EQ(clicks, 3);
}

TEST_F(ButtonTest, ReleasingOutsideFiresNoClickAndComingBackShowsItPressed) {
  ToxButton* b = Make(10, 10, 75, 25, "Go");
  int clicks = 0;
  b->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, b);
    ++clicks;
  };
  Show();
  Press(b, 10, 10);
  EXPECT_EQ(b->Face()->DrawState(), Face::dsPressed);
  MoveTo(b, 100, 10);
  EXPECT_EQ(b->Face()->DrawState(), Face::dsUp);
  MoveTo(b, 74, 24);
  EXPECT_EQ(b->Face()->DrawState(), Face::dsPressed) << "back in on the last pixel";
  Release(b, 100, 40);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(b->Face()->DrawState(), Face::dsUp);
  Click(b);
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, KindHoldsOnlyWhileCaptionDefaultCancelAndResultMatchItsTable) {
  ToxButton* b = Make(10, 10);
  b->SetKind(bkOK);
  EXPECT_EQ(b->Caption(), "OK");
  EXPECT_TRUE(b->Default());
  EXPECT_EQ(b->ModalResult(), mrOk);
  EXPECT_EQ(b->Kind(), bkOK);
  b->SetCaption("Ok");
  EXPECT_EQ(b->Kind(), bkCustom) << "a caption differing only in case";
  b->SetCaption("OK");
  EXPECT_EQ(b->Kind(), bkCustom) << "stored as custom once it read so";

  struct TCase {
    ToxBtnKind Kind;
    std::function<void(ToxButton*)> Break;
  };
  const TCase cases[] = {{bkOK, [](ToxButton* x) { x->SetDefault(false); }},
                         {bkCancel, [](ToxButton* x) { x->SetCancel(false); }},
                         {bkYes, [](ToxButton* x) { x->SetModalResult(mrNo); }},
                         {bkNo, [](ToxButton* x) { x->SetCaption("No"); }}};
  for (const TCase& c : cases) {
    ToxButton* k = Make(100, 10);
    k->SetKind(c.Kind);
    EXPECT_EQ(k->Kind(), c.Kind);
    c.Break(k);
    EXPECT_EQ(k->Kind(), bkCustom) << c.Kind;
  }
}

TEST_F(ButtonTest, HelpKindAsksForTheNearestHelpContextAndCloseKindClosesTheForm) {
  auto* panel = new TPanel(&form_);
  panel->SetBounds(0, 0, 200, 100);
  panel->SetParent(&form_);
  auto* help = new ToxButton(&form_);
  help->SetParent(panel);
  help->SetKind(bkHelp);
  int clicks = 0;
  help->OnClick = [&](TObject*) { ++clicks; };
  Show();
  help->Click();
  EXPECT_EQ(clicks, 1) << "no help context anywhere: a plain click";
  EXPECT_TRUE(dialogs_.Calls().empty());
  form_.SetHelpContext(5000);
  help->Click();
  EXPECT_EQ(clicks, 1) << "help instead of OnClick";
  EXPECT_EQ(dialogs_.Calls().size(), 1u) << "no help file: the user is told";

  ToxButton* close = Make(10, 150);
  close->SetKind(bkClose);
  close->OnClick = [&](TObject*) { ++clicks; };
  close->Click();
  EXPECT_FALSE(form_.Visible());
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, LinesViewSplitsTheCaptionAtDoubleBars) {
  ToxButton* b = Make(10, 10);
  EXPECT_EQ(b->Lines()->Count(), 0);
  TStringList two;
  two.Add("Save");
  two.Add("logo");
  b->SetLines(&two);
  EXPECT_EQ(b->Caption(), "Save||logo");
  EXPECT_EQ(b->Face()->Caption(), "Save||logo") << "the face shows the caption";
  b->SetCaption("one||two");
  ASSERT_EQ(b->Lines()->Count(), 2);
  EXPECT_EQ(b->Lines()->Get(1), "two");
  b->Lines()->Put(0, "first");
  b->Lines()->Delete(1);
  b->Lines()->Insert(0, "zero");
  EXPECT_EQ(b->Caption(), "zero||first");
  EXPECT_THROW(b->Lines()->Get(5), EStringListError);
  b->Lines()->Clear();
  EXPECT_EQ(b->Caption(), "");

  // Editing a line keeps a long caption's tail.
  const std::string tail(300, 'x');
  b->SetCaption("head||" + tail);
  b->Lines()->Put(0, "HEAD");
  EXPECT_EQ(b->Caption(), "HEAD||" + tail);
  EXPECT_EQ(b->Lines()->Get(1), tail);
}

TEST_F(ButtonTest, HitTestTakesTheLastRowAndShapedStylesOnlyTheirPictureAndCaption) {
  ToxButton* b = Make(10, 10, 75, 25, "Go");
  Show();
  Face* f = b->Face();
  EXPECT_TRUE(f->HitTest(0, 24));
  EXPECT_TRUE(f->HitTest(74, 24));
  EXPECT_FALSE(f->HitTest(0, 25));
  EXPECT_FALSE(f->HitTest(75, 0));
  EXPECT_FALSE(f->HitTest(-1, 3));

  b->SetStyle(ToxBtnStyle::bsBorderless);
  f->Repaint();
  const TRect caption = f->CaptionRect();
  ASSERT_LT(caption.left, caption.right);
  EXPECT_TRUE(f->HitTest(caption.left, caption.top));
  EXPECT_FALSE(f->HitTest(0, 0)) << "outside picture and caption";
  b->SetFont3D(ToxFont3D::fsNone);
  f->Repaint();
  EXPECT_FALSE(f->HitTest(caption.left, caption.top)) << "no caption drawn, none to click";
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Click(b, caption.left, caption.top);
  EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonTest, KeyboardSpaceEnterEscapeAndTheAccelerator) {
  ToxButton* save = Make(10, 10, 75, 25, "&Save");
  ToxButton* cancel = Make(10, 40, 75, 25, "Cancel");
  ToxButton* ok = Make(10, 70, 75, 25, "OK");
  cancel->SetCancel(true);
  ok->SetDefault(true);
  auto count = [&](ToxButton* b, const std::string& name) {
    b->OnClick = [this, name](TObject*) { log_.push_back(name); };
  };
  count(save, "save");
  count(cancel, "cancel");
  count(ok, "ok");
  Show();
  save->SetFocus();
  PumpMessages();
  EXPECT_TRUE(save->Face()->FocusedLook());

  InjectKey(VK_SPACE, true);
  PumpMessages();
  EXPECT_EQ(save->Face()->DrawState(), Face::dsPressed);
  InjectKey(VK_SPACE, false);
  PumpMessages();
  EXPECT_EQ(log_, (std::vector<std::string>{"save"})) << "one click for one press of the space bar";

  Key(VK_ESCAPE);
  EXPECT_EQ(log_.back(), "cancel");
  Key(VK_RETURN);
  EXPECT_EQ(log_.back(), "save") << "Return presses the focused button";
  ok->SetFocus();
  PumpMessages();
  EXPECT_TRUE(ok->Face()->ActiveLook());
  EXPECT_FALSE(save->Face()->ActiveLook());
  Key(VK_RETURN);
  EXPECT_EQ(log_.back(), "ok");

  log_.clear();
  EXPECT_EQ(form_.Perform(CM_DIALOGCHAR, 's', 0), 1);
  EXPECT_EQ(log_, (std::vector<std::string>{"save"}));
  EXPECT_EQ(form_.Perform(CM_DIALOGCHAR, 'x', 0), 0);
}

TEST_F(ButtonTest, AcceleratorTogglesAToggleButtonFirst) {
  ToxButton* t = Toggle(Make(10, 10, 75, 25, "&Animate"));
  t->OnClick = [&](TObject*) { log_.push_back(t->Value() ? "down" : "up"); };
  Show();
  form_.Perform(CM_DIALOGCHAR, 'a', 0);
  EXPECT_EQ(log_, (std::vector<std::string>{"down"}));

  // A face on its own answers its accelerator too.
  auto* alone = new Face(&form_);
  alone->SetParent(&form_);
  alone->SetBounds(100, 10, 75, 25);
  alone->SetCaption("&Zoom");
  alone->OnClick = [&](TObject*) { log_.push_back("zoom"); };
  form_.Perform(CM_DIALOGCHAR, 'z', 0);
  EXPECT_EQ(log_.back(), "zoom");
  alone->SetEnabled(false);
  log_.clear();
  form_.Perform(CM_DIALOGCHAR, 'z', 0);
  EXPECT_TRUE(log_.empty());
}

TEST_F(ButtonTest, TransparentButtonLeavesAZeroSizedWindowAndAnswersTheFaceSize) {
  ToxButton* b = Make(20, 30, 80, 26, "See through");
  Show();
  b->Background()->SetStyle(oxbClear);
  TControl* plain = b;
  EXPECT_EQ(plain->Width(), 0);
  EXPECT_EQ(plain->Height(), 0);
  EXPECT_EQ(b->Width(), 80);
  EXPECT_EQ(b->Height(), 26);
  EXPECT_EQ(b->Face()->Parent(), &form_);
  EXPECT_EQ(TRectValue(b->Face()->BoundsRect()), TRectValue(20, 30, 100, 56));
  EXPECT_FALSE(b->Face()->ControlStyle().Contains(csOpaque));

  b->SetBounds(40, 50, 0, 0);
  EXPECT_EQ(TRectValue(b->Face()->BoundsRect()), TRectValue(40, 50, 120, 76)) << "a zero size keeps the face's";
  EXPECT_EQ(plain->Width(), 0);

  // A press on the face focuses the window part.
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Click(b->Face(), 10, 10);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(b->Focused());

  b->Background()->SetStyle(oxbSolid);
  EXPECT_EQ(b->Face()->Parent(), b);
  EXPECT_EQ(plain->Width(), 80);
  EXPECT_EQ(TRectValue(b->BoundsRect()), TRectValue(40, 50, 120, 76));
}

TEST_F(ButtonTest, DropDownShowsTheMenuBelowAndTheChosenItemClicks) {
  ToxButton* b = Make(10, 10, 75, 25, "Menu");
  b->SetButtonType(oxbMenu);
  auto* menu = new TPopupMenu(&form_);
  auto* first = new TMenuItem(&form_);
  first->SetCaption("First");
  first->SetHint("The first one");
  auto* second = new TMenuItem(&form_);
  second->SetCaption("Second");
  first->OnClick = [&](TObject*) { log_.push_back("first"); };
  second->OnClick = [&](TObject*) { log_.push_back("second"); };
  menu->Items()->Add(first);
  menu->Items()->Add(second);
  b->SetPopupMenu(menu);
  int clicks = 0;
  b->OnClick = [&](TObject*) { ++clicks; };
  Show();

  // Items are 18 pixels high inside a 3-pixel frame, from the face's bottom-left corner.
  for (int round = 0; round < 2; ++round) {
    const POINT below = OnScreen(b, 0, 25);
    const POINT item{below.x + 20, below.y + 3 + 18 + 9};
    const POINT at = OnScreen(b, 10, 10);
    InjectMouseMove(at.x, at.y);
    InjectMouseButton(host::InputEvent::Left, true, at.x, at.y);
    InjectMouseMove(item.x, item.y);
    InjectMouseButton(host::InputEvent::Left, true, item.x, item.y);
    InjectMouseButton(host::InputEvent::Left, false, item.x, item.y);
    PumpMessages();
    PumpMessages();
  }
  EXPECT_EQ(log_, (std::vector<std::string>{"second", "second"})) << "the spent list is made anew";
  EXPECT_EQ(clicks, 0) << "a drop-down does not click";
  EXPECT_EQ(b->Face()->DrawState(), Face::dsUp);
}

TEST_F(ButtonTest, PopupListWindowGivesHintsAndHelpOfTheTrackedMenu) {
  auto* menu = new TPopupMenu(&form_);
  auto* item = new TMenuItem(&form_);
  item->SetCaption("Swap");
  item->SetHint("Swap the logo");
  item->SetHelpContext(42);
  menu->Items()->Add(item);
  TPopupList* list = SharedPopupList();
  list->Add(menu);
  HWND w = list->Window();
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(item->Command(), 0), reinterpret_cast<LPARAM>(menu->Handle()));
  EXPECT_EQ(Application->Hint(), "Swap the logo");
  SendMessageA(w, WM_MENUSELECT, MAKEWPARAM(0xFFF0, 0), reinterpret_cast<LPARAM>(menu->Handle()));
  EXPECT_EQ(Application->Hint(), "");

  HELPINFO info{};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_MENUITEM;
  info.iCtrlId = item->Command();
  info.hItemHandle = menu->Handle();
  SendMessageA(w, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_TRUE(dialogs_.Calls().empty()) << "no active form: nothing";
  Show();
  form_.SetFocus();
  PumpMessages();
  ASSERT_EQ(Screen->ActiveForm(), &form_);
  SendMessageA(w, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(dialogs_.Calls().size(), 1u) << "help on the item";

  SendMessageA(w, WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_TRUE(list->Spent());
  EXPECT_EQ(list->Count(), 0);
  EXPECT_NE(SharedPopupList(), nullptr);
  EXPECT_FALSE(SharedPopupList()->Spent());
}

// The chosen item's click lets the last button go and drops down another: the list whose window
// still runs that click must outlive the new drop-down.
TEST_F(ButtonTest, AListRetiredDuringItsCommandSurvivesTheNextDropDownFromThatCommand) {
  auto* menu = new TPopupMenu(&form_);
  auto* item = new TMenuItem(&form_);
  TPopupList* list = SharedPopupList();
  TPopupList* next = nullptr;
  item->OnClick = [&](TObject*) {
    FreeSharedPopupList();
    next = SharedPopupList();
  };
  menu->Items()->Add(item);
  list->Add(menu);
  SendMessageA(list->Window(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  ASSERT_NE(next, nullptr);
  EXPECT_NE(next, list);
  EXPECT_FALSE(list->Dispatching()) << "retired, still alive, done with the command";
  EXPECT_EQ(SharedPopupList(), next);
}

TEST_F(ButtonTest, FormDescriptionSetsEveryPublishedPropertyAndDropsOldOnes) {
  // Read in the test for the screenshot; here the properties by name.
  ToxButton* b = Make(10, 10);
  ASSERT_NE(GetPropInfo(*b, "Background"), nullptr);
  SetEnumProp(*b, *GetPropInfo(*b, "Style"), "bsAmbrel");
  SetEnumProp(*b, *GetPropInfo(*b, "Font3D"), "fsInset");
  SetSetProp(*b, *GetPropInfo(*b, "FocusStyle"), "[fsBoldFont]");
  EXPECT_EQ(b->Style(), ToxBtnStyle::bsAmbrel);
  EXPECT_EQ(b->Font3D(), ToxFont3D::fsInset);
  EXPECT_EQ(b->FocusStyle(), TFocusStyle{fsBoldFont});
  EXPECT_EQ(GetSetProp(*b, *GetPropInfo(*b, "Options")), "oxbCacheImages");
  TPropPath path = FindPropPath(*b, "Background.Style");
  ASSERT_NE(path.Prop, nullptr);
  SetEnumProp(*path.Instance, *path.Prop, "oxbGradient");
  EXPECT_EQ(b->Background()->Style(), oxbGradient);
}

TEST_F(ButtonTest, HotStylesLightUpUnderTheMouseAndTheButtonRefiresEnterAndLeave) {
  ToxButton* flat = Make(10, 10, 75, 25, "Flat");
  flat->SetStyle(ToxBtnStyle::bsWin97);
  ToxButton* plain = Make(10, 50, 75, 25, "Plain");
  auto log = [this](ToxButton* b, const std::string& name) {
    b->OnMouseEnter = [this, b, name](TObject* sender) { log_.push_back((sender == b ? "enter " : "? ") + name); };
    b->OnMouseLeave = [this, b, name](TObject* sender) { log_.push_back((sender == b ? "leave " : "? ") + name); };
  };
  log(flat, "flat");
  log(plain, "plain");
  Show();
  MoveTo(flat, 10, 10);
  EXPECT_TRUE(flat->Face()->Hot());
  MoveTo(plain, 10, 10);
  EXPECT_FALSE(flat->Face()->Hot());
  EXPECT_FALSE(plain->Face()->Hot()) << "only the flat styles light up";
  MoveTo(plain, 200, 10);
  EXPECT_EQ(log_, (std::vector<std::string>{"enter flat", "leave flat", "enter plain", "leave plain"}));

  // Borderless: hot follows the hit test of picture and caption while moving over the face.
  ToxButton* bare = Make(10, 90, 120, 25, "Bare");
  bare->SetStyle(ToxBtnStyle::bsBorderless);
  PumpMessages();
  const TRect caption = bare->Face()->CaptionRect();
  MoveTo(bare, caption.left + 1, caption.top + 1);
  EXPECT_TRUE(bare->Face()->Hot());
  MoveTo(bare, 1, 1);
  EXPECT_FALSE(bare->Face()->Hot()) << "off the caption";
}

TEST_F(ButtonTest, HeldSpaceBarRepeatsAnAutoRepeatButtonAtTheKeyboardRate) {
  ToxButton* r = Make(10, 10, 75, 25, "More");
  r->SetButtonType(oxbRepeat);
  int clicks = 0;
  r->OnClick = [&](TObject*) { ++clicks; };
  Show();
  r->SetFocus();
  PumpMessages();
  for (int repeat = 0; repeat < 3; ++repeat) InjectKey(VK_SPACE, true);
  PumpMessages();
  EXPECT_EQ(clicks, 3) << "one per typed space while held";
  EXPECT_EQ(r->Face()->DrawState(), ToxCustomGraphicButton::dsPressed);
  InjectKey(VK_SPACE, false);
  PumpMessages();
  EXPECT_EQ(clicks, 4) << "and the release";
  EXPECT_EQ(r->Face()->DrawState(), ToxCustomGraphicButton::dsUp);
}

TEST_F(ButtonTest, TheLastButtonFreedByAMenuItemLeavesTheListWhileItsWindowHandlesTheCommand) {
  auto* menu = new TPopupMenu(&form_);
  auto* item = new TMenuItem(&form_);
  item->SetCaption("Close");
  menu->Items()->Add(item);
  auto* b = Make(10, 10);
  b->SetButtonType(oxbMenu);
  b->SetPopupMenu(menu);
  TPopupList* list = SharedPopupList();
  list->Add(menu);
  item->OnClick = [&](TObject*) { delete b; };
  SendMessageA(list->Window(), WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_TRUE(list->Spent());
  EXPECT_FALSE(list->Dispatching());
  // The next drop-down's list is a fresh one; the old one is freed then.
  auto* again = Make(10, 40);
  EXPECT_NE(SharedPopupList(), nullptr);
  delete again;
}
