#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms_fixture.h"
#include "vcl/formtext.h"
#include "vcl/menus.h"
#include "win32/testing/windows.h"

namespace {

std::string EntryText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
  return text;
}

void Click(int button, POINT at) {
  InjectMouseMove(at.x, at.y);
  InjectMouseButton(button, true, at.x, at.y);
  InjectMouseButton(button, false, at.x, at.y);
}

// Items of a pop-up opened at a point: 18 pixels each inside a 3-pixel frame.
POINT PopupItem(POINT opened, int index) { return {opened.x + 20, opened.y + 3 + 18 * index + 9}; }

class TMenuForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TMenuForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(kDescription, this,
                      {FormField("mmMain", mmMain), FormField("miFile", miFile), FormField("miOpen", miOpen),
                       FormField("pmLogo", pmLogo), FormField("miSwap", miSwap)});
    AfterConstruction();
  }

  TMainMenu* mmMain = nullptr;
  TMenuItem* miFile = nullptr;
  TMenuItem* miOpen = nullptr;
  TPopupMenu* pmLogo = nullptr;
  TMenuItem* miSwap = nullptr;
  std::vector<std::string> Log;

  void miFileClick(TObject*) { Log.push_back("file opens"); }
  void miOpenClick(TObject*) { Log.push_back("open"); }
  void miSwapClick(TObject*) { Log.push_back("swap"); }
  void pmLogoPopup(TObject*) { Log.push_back("popup"); }

 private:
  static constexpr const char* kDescription = R"(
object fmMenu: TMenuForm
  Left = 40
  Top = 30
  BorderStyle = bsSingle
  ClientWidth = 240
  ClientHeight = 120
  Menu = mmMain
  PopupMenu = pmLogo
  Visible = True
  object mmMain: TMainMenu
    object miFile: TMenuItem
      Caption = '&File'
      OnClick = miFileClick
      object miOpen: TMenuItem
        Caption = '&Open...'
        ShortCut = 16463
        OnClick = miOpenClick
      end
      object miLine: TMenuItem
        Caption = '-'
      end
      object miExit: TMenuItem
        Caption = 'E&xit'
      end
    end
  end
  object pmLogo: TPopupMenu
    OnPopup = pmLogoPopup
    object miSwap: TMenuItem
      Caption = '&Swap'
      Hint = 'Swap the logo|Puts a new picture into the slot'
      HelpContext = 120
      OnClick = miSwapClick
    end
  end
end
)";
};

const TClassInfo& TMenuForm::StaticClassInfo() {
  using C = TMenuForm;
  static const TClassInfo info(
      "TMenuForm", &TForm::StaticClassInfo(), {},
      {Handler<C>("miFileClick", &C::miFileClick), Handler<C>("miOpenClick", &C::miOpenClick),
       Handler<C>("miSwapClick", &C::miSwapClick), Handler<C>("pmLogoPopup", &C::pmLogoPopup)});
  return info;
}

using MenusTest = FormsTest;

}  // namespace

TEST(ShortCutTest, TextAndWordsMatch) {
  struct TCase {
    TShortCut Value;
    const char* Text;
  };
  const TCase cases[] = {{scCtrl | 'O', "Ctrl+O"},
                         {scShift | scCtrl | 'S', "Shift+Ctrl+S"},
                         {VK_F5, "F5"},
                         {VK_F12, "F12"},
                         {scShift | VK_DELETE, "Shift+Del"},
                         {scAlt | VK_BACK, "Alt+BkSp"},
                         {'7', "7"},
                         {VK_RETURN, "Enter"}};
  for (const TCase& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Value), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Value) << c.Text;
  }
  EXPECT_EQ(TextToShortCut("ctrl+o"), scCtrl | 'O') << "without regard to case";
  EXPECT_EQ(TextToShortCut("Ctrl+Foo"), scNone);
  EXPECT_EQ(TextToShortCut(""), scNone);
  EXPECT_EQ(ShortCutToText(scCtrl | 0xE9), "") << "a key without a name";
  EXPECT_EQ(ShortCut('O', TShiftState{ssCtrl}), scCtrl | 'O');
  WORD key;
  TShiftState shift;
  ShortCutToKey(scAlt | scShift | VK_F1, key, shift);
  EXPECT_EQ(key, VK_F1);
  EXPECT_EQ(shift, (TShiftState{ssAlt, ssShift}));
}

TEST_F(MenusTest, ItemsShowInTheirHandleAsTheyChange) {
  TPopupMenu menu(nullptr);
  auto* open = new TMenuItem(&menu);
  open->SetCaption("&Open");
  open->SetShortCut(scCtrl | 'O');
  auto* line = new TMenuItem(&menu);
  line->SetCaption("-");
  auto* quit = new TMenuItem(&menu);
  quit->SetCaption("&Quit");
  menu.Items()->Add(open);
  menu.Items()->Add(quit);
  menu.Items()->Insert(1, line);
  HMENU h = menu.Handle();
  ASSERT_EQ(GetMenuItemCount(h), 3);
  EXPECT_EQ(EntryText(h, 0), "&Open\tCtrl+O");
  EXPECT_NE(GetMenuState(h, 1, MF_BYPOSITION) & MF_SEPARATOR, 0u);
  EXPECT_EQ(GetMenuItemID(h, 2), quit->Command());

  quit->SetChecked(true);
  open->SetEnabled(false);
  EXPECT_NE(GetMenuState(h, 2, MF_BYPOSITION) & MF_CHECKED, 0u);
  EXPECT_NE(GetMenuState(h, 0, MF_BYPOSITION) & MF_GRAYED, 0u);
  line->SetVisible(false);
  EXPECT_EQ(GetMenuItemCount(h), 2) << "a hidden item has no entry";

  // An item that gets a child becomes a pop-up of the same handle.
  auto* recent = new TMenuItem(&menu);
  recent->SetCaption("logo.sys");
  quit->Add(recent);
  EXPECT_EQ(menu.Handle(), h);
  EXPECT_EQ(GetSubMenu(h, 1), quit->Handle());
  EXPECT_EQ(EntryText(quit->Handle(), 0), "logo.sys");
  delete recent;
  EXPECT_EQ(quit->Count(), 0);
  EXPECT_EQ(GetMenuItemID(h, 1), quit->Command()) << "no children: a plain item again";

  menu.Items()->Remove(line);
  EXPECT_EQ(line->Parent(), nullptr);
  EXPECT_THROW(menu.Items()->Insert(0, open), EMenuError) << "already in the menu";
  EXPECT_THROW(menu.Items()->Insert(5, line), EMenuError);
  delete line;
}

TEST_F(MenusTest, RadioItemsOfAGroupCheckOneAtATime) {
  TPopupMenu menu(nullptr);
  TMenuItem* items[4];
  for (int i = 0; i < 4; ++i) {
    items[i] = new TMenuItem(&menu);
    items[i]->SetCaption("Item" + std::to_string(i));
    items[i]->SetRadioItem(i < 3);
    items[i]->SetGroupIndex(i < 2 ? 1 : 2);
    menu.Items()->Add(items[i]);
  }
  items[3]->SetChecked(true);  // not a radio item
  items[2]->SetChecked(true);  // group 2
  items[0]->SetChecked(true);
  items[1]->SetChecked(true);  // unchecks item 0 only
  EXPECT_FALSE(items[0]->Checked());
  EXPECT_TRUE(items[1]->Checked());
  EXPECT_TRUE(items[2]->Checked());
  EXPECT_TRUE(items[3]->Checked());
  EXPECT_EQ(GetMenuState(menu.Handle(), 0, MF_BYPOSITION) & MF_CHECKED, 0u);
}

TEST_F(MenusTest, FormDescriptionBuildsTheMenusAndTheBarTakesARow) {
  auto* form = new TMenuForm(Application);
  ASSERT_EQ(form->Menu(), form->mmMain);
  EXPECT_EQ(form->PopupMenu(), form->pmLogo);
  ASSERT_EQ(form->mmMain->Items()->Count(), 1);
  EXPECT_EQ(form->miFile->Count(), 3);
  EXPECT_EQ(form->miOpen->GetShortCut(), scCtrl | 'O');
  EXPECT_EQ(form->ClientHeight(), 120) << "the stored client height is below the bar";
  RECT client, frame;
  GetClientRect(form->Handle(), &client);
  GetWindowRect(form->Handle(), &frame);
  EXPECT_EQ(client.bottom, 120);
  EXPECT_EQ(GetMenu(form->Handle()), form->mmMain->Handle());
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_GE(origin.y - frame.top, GetSystemMetrics(SM_CYMENU));
  delete form;
}

TEST_F(MenusTest, ShortcutsAndTheBarReachTheItems) {
  auto* form = new TMenuForm(Application);
  PumpMessages();
  InjectKey(VK_CONTROL, true);
  InjectKey('O', true);
  InjectKey('O', false);
  InjectKey(VK_CONTROL, false);
  PumpMessages();
  EXPECT_EQ(form->Log, (std::vector<std::string>{"open"}));

  form->miOpen->SetEnabled(false);
  InjectKey(VK_CONTROL, true);
  InjectKey('O', true);
  InjectKey('O', false);
  InjectKey(VK_CONTROL, false);
  PumpMessages();
  EXPECT_EQ(form->Log.size(), 1u) << "a disabled item takes no shortcut";
  form->miOpen->SetEnabled(true);

  // The title "File", then its first item: the title's OnClick runs as its pop-up opens.
  form->Log.clear();
  RECT title;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), form->mmMain->Handle(), 0, &title));
  Click(host::InputEvent::Left, {(title.left + title.right) / 2, (title.top + title.bottom) / 2});
  Click(host::InputEvent::Left, {title.left + 20, title.bottom + 3 + 9});
  PumpMessages();
  PumpMessages();
  EXPECT_EQ(form->Log, (std::vector<std::string>{"file opens", "open"}));
  delete form;
}

TEST_F(MenusTest, RightClickPopsUpTheMenuOfTheControlOrItsParent) {
  auto* form = new TMenuForm(Application);
  std::vector<std::string> log;
  auto* box = new TLoggingControl(form, log, "box");
  box->SetBounds(10, 10, 50, 50);
  box->SetParent(form);
  PumpMessages();
  TPoint at = form->ClientToScreen(TPoint{20, 20});
  Click(host::InputEvent::Right, at);
  Click(host::InputEvent::Left, PopupItem(at, 0));
  PumpMessages();
  EXPECT_EQ(form->Log, (std::vector<std::string>{"popup", "swap"}));
  EXPECT_EQ(form->pmLogo->PopupComponent(), form);

  form->Log.clear();
  form->pmLogo->SetAutoPopup(false);
  Click(host::InputEvent::Right, at);
  PumpMessages();
  EXPECT_TRUE(form->Log.empty());

  delete form->pmLogo;
  EXPECT_EQ(form->PopupMenu(), nullptr) << "the form forgets a freed pop-up menu";
  delete form->mmMain;
  EXPECT_EQ(form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  delete form;
}

TEST_F(MenusTest, AMenuFindsItsItemsByCommandHandleAndShortcut) {
  auto* form = new TMenuForm(Application);
  EXPECT_EQ(form->miSwap->Hint(), "Swap the logo|Puts a new picture into the slot");
  EXPECT_EQ(form->miSwap->HelpContext(), 120);
  TMenu* bar = form->mmMain;
  EXPECT_EQ(bar->FindItem(form->miOpen->Command(), fkCommand), form->miOpen) << "at any depth";
  EXPECT_EQ(bar->FindItem(reinterpret_cast<UINT_PTR>(form->miFile->Handle()), fkHandle), form->miFile);
  EXPECT_EQ(bar->FindItem(scCtrl | 'O', fkShortCut), form->miOpen);
  EXPECT_EQ(bar->FindItem(form->miSwap->Command(), fkCommand), nullptr) << "another menu's item";
  EXPECT_EQ(form->pmLogo->FindItem(form->miSwap->Command(), fkCommand), form->miSwap);
  EXPECT_EQ(bar->FindItem(0, fkHandle), nullptr);
  EXPECT_EQ(bar->FindItem(scNone, fkShortCut), nullptr);
  EXPECT_EQ(bar->FindItem(0x10000, fkCommand), nullptr);
  delete form;
}
