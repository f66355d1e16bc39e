#include <gtest/gtest.h>

#include "forms_fixture.h"

namespace {

// Answers Enter when it is the default button and Escape when it is the cancel button, as the
// standard push button does.
class TDialogButton : public TCustomControl {
 public:
  TDialogButton(TComponent* owner, TModalResult result, bool isDefault, bool isCancel)
      : TCustomControl(owner), result_(result), default_(isDefault), cancel_(isCancel) {
    SetTabStop(true);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_DIALOGKEY) {
      TCMDialogKey key(Message);
      if ((key.CharCode == VK_RETURN && default_) || (key.CharCode == VK_ESCAPE && cancel_)) {
        GetParentForm(this)->SetModalResult(result_);
        Message.Result = 1;
        return;
      }
    }
    TCustomControl::WndProc(Message);
  }

 private:
  TModalResult result_;
  bool default_, cancel_;
};

LONG_PTR Style(TCustomForm& form) { return GetWindowLongA(form.Handle(), GWL_STYLE); }
LONG_PTR ExStyle(TCustomForm& form) { return GetWindowLongA(form.Handle(), GWL_EXSTYLE); }

}  // namespace

TEST_F(FormsTest, BorderStyleIconsAndFormStyleMakeTheWindowStyles) {
  struct TCase {
    TFormBorderStyle Border;
    TBorderIcons Icons;
    TFormStyle FormStyle;
    DWORD With, Without, ExWith, ExWithout;
  };
  const TCase cases[] = {
      {bsNone, {biSystemMenu}, fsNormal, WS_POPUP, WS_CAPTION | WS_SYSMENU, 0, WS_EX_TOPMOST},
      {bsSingle,
       {biSystemMenu, biMinimize},
       fsNormal,
       WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
       WS_THICKFRAME | WS_MAXIMIZEBOX,
       0,
       0},
      {bsSizeable, {}, fsStayOnTop, WS_CAPTION | WS_THICKFRAME, WS_SYSMENU, WS_EX_TOPMOST, 0},
      {bsDialog,
       {biSystemMenu, biMinimize, biMaximize},
       fsNormal,
       WS_CAPTION | WS_SYSMENU,
       WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
       WS_EX_DLGMODALFRAME,
       0},
      {bsToolWindow, {biSystemMenu}, fsNormal, WS_CAPTION, 0, WS_EX_TOOLWINDOW, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Border));
    TForm form(nullptr);
    form.SetBorderStyle(c.Border);
    form.SetBorderIcons(c.Icons);
    form.SetFormStyle(c.FormStyle);
    EXPECT_EQ(Style(form) & c.With, static_cast<LONG_PTR>(c.With));
    EXPECT_EQ(Style(form) & c.Without, 0);
    EXPECT_EQ(ExStyle(form) & c.ExWith, static_cast<LONG_PTR>(c.ExWith));
    EXPECT_EQ(ExStyle(form) & c.ExWithout, 0);
  }
  // Changing the border style of an existing window makes it anew.
  TForm form(nullptr);
  form.SetBorderStyle(bsSingle);
  HWND before = form.Handle();
  form.SetBorderStyle(bsNone);
  EXPECT_NE(Style(form) & WS_POPUP, 0);
  EXPECT_FALSE(IsWindow(before));
}

TEST_F(FormsTest, ClientSizeAndScreenCentrePlaceTheWindow) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSingle);
  form.SetClientWidth(300);
  form.SetClientHeight(150);
  form.SetPosition(poScreenCenter);
  // Before and after the window exists, the client area is what was asked.
  EXPECT_EQ(form.ClientWidth(), 300);
  form.Show();
  RECT client;
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 150);
  EXPECT_GT(form.Width(), 300);
  RECT window;
  GetWindowRect(form.Handle(), &window);
  EXPECT_EQ(window.left, (Screen->Width() - form.Width()) / 2);
  EXPECT_EQ(window.top, (Screen->Height() - form.Height()) / 2);
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(FormsTest, CloseHidesFreesOrEndsTheProgram) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  TForm* other = nullptr;
  Application->CreateForm(other);
  ASSERT_EQ(Application->MainForm(), main);

  other->Show();
  other->Close();
  EXPECT_FALSE(other->Visible());
  EXPECT_FALSE(Application->Terminated());

  bool destroyed = false;
  other->OnDestroy = [&](TObject*) { destroyed = true; };
  other->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  other->Show();
  other->Close();
  EXPECT_FALSE(destroyed);  // freed once the messages waiting are handled
  Application->ProcessMessages();
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Screen->FormCount(), 1);

  main->Show();
  main->Close();
  EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormsTest, EnterAndEscapePressTheDefaultAndCancelButtons) {
  struct TCase {
    int Key;
    TModalResult Expected;
  };
  for (const TCase& c : {TCase{VK_RETURN, mrOk}, TCase{VK_ESCAPE, mrCancel}}) {
    SCOPED_TRACE(c.Key);
    TScriptedForm form(nullptr);
    auto* edit = new TDialogButton(&form, mrNone, false, false);
    edit->SetParent(&form);
    auto* ok = new TDialogButton(&form, mrOk, true, false);
    ok->SetParent(&form);
    auto* cancel = new TDialogButton(&form, mrCancel, false, true);
    cancel->SetParent(&form);
    // The key goes to the focused control, which does not want it; the form asks its buttons.
    form.OnUser = [&] { PostMessageA(GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(c.Key), 0); };
    form.OnShow = [&](TObject*) { form.Post(); };
    EXPECT_EQ(form.ShowModal(), c.Expected);
    EXPECT_EQ(form.ActiveControl(), edit);
  }
}

TEST_F(FormsTest, ScreenCursorOverridesTheControlsCursor) {
  TForm form(nullptr);
  form.SetBorderStyle(bsNone);
  form.SetBounds(0, 0, 100, 100);
  auto* box = new TGraphicControl(&form);
  box->SetBounds(10, 10, 20, 20);
  box->SetCursor(crHandPoint);
  box->SetParent(&form);
  form.Show();
  HCURSOR custom =
      CreateCursor(nullptr, 0, 0, 16, 16, std::vector<BYTE>(32, 0xFF).data(), std::vector<BYTE>(32, 0).data());
  Screen->SetCursors(5, custom);
  EXPECT_EQ(Screen->Cursors(5), custom);
  EXPECT_EQ(Screen->Cursors(crHourGlass), LoadCursorA(nullptr, IDC_WAIT));

  struct TCase {
    TCursor ScreenCursor;
    int X, Y;
    HCURSOR Expected;
  };
  const TCase cases[] = {
      {crDefault, 15, 15, LoadCursorA(nullptr, IDC_HAND)},
      {crHourGlass, 15, 15, LoadCursorA(nullptr, IDC_WAIT)},
      {5, 50, 50, custom},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.ScreenCursor);
    Screen->SetCursor(c.ScreenCursor);
    SetCursorPos(c.X, c.Y);
    SendMessageA(form.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), c.Expected);
  }
  Screen->SetCursor(crDefault);
  DestroyCursor(custom);
}

TEST_F(FormsTest, ShowingHidingAndActivatingRaiseTheirEvents) {
  std::vector<std::string> log;
  TForm first(nullptr);
  TForm second(nullptr);
  for (TForm* f : {&first, &second}) {
    std::string name = f == &first ? "first" : "second";
    f->OnShow = [&log, name](TObject*) { log.push_back("show " + name); };
    f->OnHide = [&log, name](TObject*) { log.push_back("hide " + name); };
    f->OnActivate = [&log, name](TObject*) { log.push_back("activate " + name); };
    f->OnDeactivate = [&log, name](TObject*) { log.push_back("deactivate " + name); };
  }
  first.Show();
  second.SetWindowState(wsMaximized);
  second.Show();
  EXPECT_TRUE(IsZoomed(second.Handle()));
  EXPECT_EQ(Screen->ActiveForm(), &second);
  second.Hide();
  // OnShow comes before the window shows; hiding the active form activates the other one.
  EXPECT_EQ(log, (std::vector<std::string>{"show first", "activate first", "show second", "deactivate first",
                                           "activate second", "deactivate second", "activate first", "hide second"}));
  EXPECT_EQ(Screen->ActiveForm(), &first);
}

// Whatever handles the form's WM_DESTROY (a settings component saving its controls) still finds
// the child controls and their texts.
TEST_F(FormsTest, TheWindowIsDestroyedBeforeTheChildControls) {
  auto* form = new TForm(nullptr);
  auto* panel = new TCustomControl(form);
  panel->SetParent(form);
  auto* inner = new TCustomControl(form);
  inner->SetParent(panel);
  inner->SetText("kept");
  form->HandleNeeded();
  ASSERT_TRUE(inner->HandleAllocated());
  int childrenAtDestroy = -1;
  std::string textAtDestroy;
  const auto previous = form->WindowProc;
  form->WindowProc = [&, previous](TMessage& m) {
    if (m.Msg == WM_DESTROY && childrenAtDestroy < 0) {
      childrenAtDestroy = form->ControlCount();
      textAtDestroy = inner->GetText();
    }
    previous(m);
  };
  delete form;
  EXPECT_EQ(childrenAtDestroy, 1);
  EXPECT_EQ(textAtDestroy, "kept");
}
