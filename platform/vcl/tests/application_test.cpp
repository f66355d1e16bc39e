#include <gtest/gtest.h>

#include <stdexcept>

#include "forms_fixture.h"
#include "vcl/system.h"
#include "vcl/timers.h"

namespace {

class ApplicationTest : public FormsTest {
 protected:
  ApplicationTest() {
    form_.SetBorderStyle(bsNone);
    form_.SetBounds(0, 0, 100, 100);
    box_->SetBounds(10, 10, 20, 20);
    box_->SetParent(&form_);
    form_.Show();
  }
  void Click() {
    PostMessageA(form_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    PostMessageA(form_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    Application->ProcessMessages();
  }

  TForm form_{nullptr};
  TGraphicControl* box_ = new TGraphicControl(&form_);
};

}  // namespace

TEST_F(ApplicationTest, UncaughtExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  Application->SetTitle("Logo Tool");
  struct TCase {
    std::function<void()> Raise;
    std::string Shown;
  };
  const TCase cases[] = {
      {[] { throw Exception("Cannot open file"); }, "Cannot open file."},
      {[] { throw EConvertError("'x' is not a valid integer value"); }, "'x' is not a valid integer value."},
      {[] { throw Exception("Done."); }, "Done."},
      {[] { throw std::runtime_error("host failure"); }, "host failure."},
  };
  int clicks = 0;
  for (const TCase& c : cases) {
    box_->OnClick = [&](TObject*) {
      ++clicks;
      c.Raise();
    };
    Click();
    std::vector<TDialogRequest> shown = TakeDialogs();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Text, c.Shown);
    EXPECT_EQ(shown[0].Caption, "Logo Tool");
    EXPECT_EQ(shown[0].Flags, MB_OK | MB_ICONSTOP);
  }
  EXPECT_EQ(clicks, 4);
  // The form still answers.
  box_->OnClick = [&](TObject*) { ++clicks; };
  Click();
  EXPECT_EQ(clicks, 5);
}

TEST_F(ApplicationTest, OnExceptionTakesTheExceptionInsteadOfTheBox) {
  std::string seen;
  TObject* sender = nullptr;
  Application->OnException = [&](TObject* s, Exception& e) {
    seen = e.Message;
    sender = s;
  };
  box_->OnClick = [](TObject*) { throw Exception("handled elsewhere"); };
  Click();
  EXPECT_EQ(seen, "handled elsewhere");
  EXPECT_EQ(sender, &form_);  // the window whose message was being handled
  EXPECT_TRUE(TakeDialogs().empty());

  // A handler that fails itself: its exception is shown.
  Application->OnException = [](TObject*, Exception&) { throw Exception("handler broke"); };
  Click();
  std::vector<TDialogRequest> shown = TakeDialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Text, "handler broke.");
}

TEST_F(ApplicationTest, ExceptionInATimerEventIsShownAndTheTimerGoesOn) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(5);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 1) throw Exception("tick failed");
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  std::vector<TDialogRequest> shown = TakeDialogs();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Text, "tick failed.");
}

TEST_F(ApplicationTest, HelpTellsTheUserThatThereIsNone) {
  Application->SetHelpFile("LOGO.HLP");
  EXPECT_FALSE(Application->HelpContext(5000));
  EXPECT_FALSE(Application->HelpCommand(8, 0));
  std::vector<TDialogRequest> shown = TakeDialogs();
  ASSERT_EQ(shown.size(), 2u);
  for (const TDialogRequest& r : shown) {
    EXPECT_EQ(r.Text, "Help is not available.");
    EXPECT_EQ(r.Caption, Application->Title());
  }
}

TEST_F(ApplicationTest, HintFollowsTheControlUnderTheMouse) {
  form_.SetHint("Main window|The logo composer");
  box_->SetHint("Logo|Click to pick a logo");
  int hints = 0;
  Application->OnHint = [&](TObject*) { ++hints; };
  SendMessageA(form_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(Application->Hint(), "Click to pick a logo");
  SendMessageA(form_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  EXPECT_EQ(Application->Hint(), "The logo composer");
  box_->SetHint("");
  SendMessageA(form_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(15, 15));
  EXPECT_EQ(Application->Hint(), "The logo composer");  // a control without a hint shows its parent's
  EXPECT_EQ(hints, 2);
  EXPECT_EQ(GetShortHint("Logo|Click"), "Logo");
  EXPECT_EQ(GetLongHint("Logo"), "Logo");
}

TEST_F(ApplicationTest, TitleDefaultsToTheProgramName) {
  EXPECT_EQ(Application->ExeName(), ParamStr(0));
  EXPECT_EQ(Application->Title(), ChangeFileExt(ExtractFileName(ParamStr(0)), ""));
  Application->SetTitle("Corvane");
  EXPECT_EQ(Application->Title(), "Corvane");
  EXPECT_EQ(ApplicationTitle(), "Corvane");
}

TEST_F(FormsTest, RunShowsTheMainFormAndReturnsOnTerminate) {
  TScriptedForm* main = nullptr;
  Application->CreateForm(main);
  bool shownInRun = false;
  main->OnShow = [&](TObject*) {
    shownInRun = true;
    main->Post();
  };
  main->OnUser = [] { Application->Terminate(); };
  Application->Run();
  EXPECT_TRUE(shownInRun);
  EXPECT_TRUE(Application->Terminated());
}

namespace {

// A form whose OnCreate fails, as one whose settings cannot be read.
class TFailingCreateForm : public TForm {
 public:
  explicit TFailingCreateForm(TComponent* AOwner) : TForm(AOwner) {
    OnCreate = [](TObject*) { throw Exception("no settings"); };
  }
};

}  // namespace

TEST_F(FormsTest, AnOnCreateExceptionGoesToTheApplicationAndTheFormIsMade) {
  std::string seen;
  Application->OnException = [&](TObject*, Exception& e) { seen = e.Message; };
  TFailingCreateForm* form = nullptr;
  Application->CreateForm(form);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(seen, "no settings");
  EXPECT_EQ(Application->MainForm(), form);
  Application->OnException = nullptr;
}

TEST_F(FormsTest, SplitCursorsAreTheLibrarysOwn) {
  const HCURSOR vsplit = Screen->Cursors(crVSplit), hsplit = Screen->Cursors(crHSplit);
  ASSERT_NE(vsplit, nullptr);
  ASSERT_NE(hsplit, nullptr);
  EXPECT_NE(vsplit, hsplit);
  EXPECT_NE(vsplit, Screen->Cursors(crArrow));
  EXPECT_EQ(Screen->Cursors(crVSplit), vsplit);  // made once
}
