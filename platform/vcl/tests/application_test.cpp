#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "forms_fixture.h"
#include "vcl/forms_scrolling.h"
#include "vcl/help.h"
#include "vcl/stdctrls.h"
#include "vcl/system.h"
#include "vcl/timers.h"
#include "win32/machine.h"
#include "win32/testing/windows.h"

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

TEST_F(ApplicationTest, HelpShowsTheContextsTopicInTheHelpWindow) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "startlogo-help-test.hlp";
  std::ofstream(file) << "; help of the test\n[0] The window\nWhat it does.\n\n[5000] LOGO=0\r\n"
                         "A line ;LOGO=0 keeps logos.\r\nSecond line.\r\n\r\n";
  Application->SetHelpFile(machine::WindowsPath(file));
  ASSERT_TRUE(Application->HelpContext(5000));
  auto* window = static_cast<TForm*>(Application->FindComponent("HelpWindow"));
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->Caption(), Application->Title() + " Help");
  EXPECT_EQ(static_cast<TLabel*>(window->FindComponent("TopicTitle"))->Caption(), "LOGO=0");
  EXPECT_EQ(static_cast<TLabel*>(window->FindComponent("TopicText"))->Caption(),
            "A line ;LOGO=0 keeps logos.\nSecond line.");
  // The same window shows the next topic; HELP_QUIT puts it away.
  ASSERT_TRUE(Application->HelpCommand(HELP_CONTENTS, 0));
  EXPECT_EQ(Application->FindComponent("HelpWindow"), window);
  EXPECT_EQ(static_cast<TLabel*>(window->FindComponent("TopicText"))->Caption(), "What it does.");
  EXPECT_TRUE(TakeDialogs().empty());
  EXPECT_FALSE(Application->HelpContext(7));  // no such topic
  ASSERT_EQ(TakeDialogs().size(), 1u);
  EXPECT_TRUE(Application->HelpCommand(HELP_QUIT, 0));
  EXPECT_FALSE(window->Visible());
  delete window;
  Application->SetHelpFile("");
  std::filesystem::remove(file);
}

// A topic taller than the screen: the window fits the screen, and the text scrolls in its pane with
// the bar, the wheel and the arrow and page keys.
TEST_F(ApplicationTest, ALongTopicScrollsInAWindowTheScreenHolds) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "startlogo-long-help-test.hlp";
  {
    std::ofstream out(file);
    out << "[0] A long topic\n";
    for (int i = 0; i < 150; ++i)
      out << "Line " << i << " of a topic that wraps once it is long enough, and this one is long enough to wrap.\n";
  }
  Application->SetHelpFile(machine::WindowsPath(file));
  ASSERT_TRUE(Application->HelpContext(0));
  auto* window = static_cast<TForm*>(Application->FindComponent("HelpWindow"));
  ASSERT_NE(window, nullptr);
  auto* pane = static_cast<TScrollBox*>(window->FindComponent("TopicPane"));
  auto* text = static_cast<TLabel*>(window->FindComponent("TopicText"));
  EXPECT_LE(window->Top() + window->Height(), Screen->Height());
  EXPECT_GT(text->Height(), Screen->Height()) << "the topic is taller than the screen";
  EXPECT_GT(text->Width(), pane->ClientWidth() * 3 / 4) << "wrapped at the pane's width";
  TControlScrollBar* bar = pane->VertScrollBar();
  ASSERT_TRUE(bar->IsScrollBarVisible());
  EXPECT_GE(bar->Range(), text->Top() + text->Height());

  const int textTop = text->Top();
  const TPoint middle = pane->ClientToScreen({pane->ClientWidth() / 2, pane->ClientHeight() / 2});
  const auto scrolled = [&] { return textTop - text->Top(); };
  window->SetFocus();
  PumpMessages();
  host::InputEvent wheel{.kind = host::InputEvent::Kind::Wheel, .x = middle.x, .y = middle.y, .wheel = -2};
  host::TheDisplay().Inject(wheel);
  PumpMessages();
  const int line = text->Canvas()->TextHeight("Ag");
  EXPECT_EQ(scrolled(), 2 * 3 * line) << "two notches down, three lines each";
  EXPECT_EQ(bar->Position(), scrolled());
  const auto press = [](int key) {
    InjectKey(key, true);
    InjectKey(key, false);
    PumpMessages();
  };
  press(VK_DOWN);
  EXPECT_EQ(scrolled(), 7 * line);
  press(VK_NEXT);
  EXPECT_EQ(scrolled(), 7 * line + pane->ClientHeight() - line) << "a page less a line";
  press(VK_END);
  EXPECT_EQ(bar->Position(), bar->MaxPosition());
  EXPECT_EQ(pane->ClientHeight() + scrolled(), bar->Range()) << "the end of the text at the pane's bottom";
  press(VK_UP);
  EXPECT_EQ(bar->Position(), bar->MaxPosition() - line);
  press(VK_HOME);
  EXPECT_EQ(scrolled(), 0);
  delete window;
  Application->SetHelpFile("");
  std::filesystem::remove(file);
}

// A press and release on the pane's scroll bar leaves nothing held: the next click is the button's.
TEST_F(ApplicationTest, AfterTheScrollBarOneClickOnCloseClosesTheHelpWindow) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "startlogo-help-click-test.hlp";
  {
    std::ofstream out(file);
    out << "[0] A long topic\n";
    for (int i = 0; i < 150; ++i) out << "Line " << i << " of a long topic.\n";
  }
  Application->SetHelpFile(machine::WindowsPath(file));
  const int arrow = GetSystemMetrics(SM_CYVSCROLL), edge = GetSystemMetrics(SM_CXEDGE);
  struct Spot {
    const char* part;
    int fromBottom;  // above the bar's bottom end
  };
  for (const Spot& spot : {Spot{"down arrow", arrow / 2}, Spot{"track", 3 * arrow}}) {
    SCOPED_TRACE(spot.part);
    ASSERT_TRUE(Application->HelpContext(0));
    auto* window = static_cast<TForm*>(Application->FindComponent("HelpWindow"));
    ASSERT_NE(window, nullptr);
    PumpMessages();
    auto* pane = static_cast<TScrollBox*>(window->FindComponent("TopicPane"));
    RECT r{};
    GetWindowRect(pane->Handle(), &r);
    const int x = r.right - edge - GetSystemMetrics(SM_CXVSCROLL) / 2, y = r.bottom - edge - spot.fromBottom;
    InjectMouseMove(x, y);
    InjectMouseButton(host::InputEvent::Left, true, x, y);
    InjectMouseButton(host::InputEvent::Left, false, x, y);
    PumpMessages();
    EXPECT_GT(pane->VertScrollBar()->Position(), 0) << "the press scrolled";
    EXPECT_EQ(GetCapture(), nullptr);
    auto* close = static_cast<TButton*>(window->FindComponent("Close"));
    const TPoint c = close->ClientToScreen({close->Width() / 2, close->Height() / 2});
    InjectMouseMove(c.x, c.y);
    InjectMouseButton(host::InputEvent::Left, true, c.x, c.y);
    InjectMouseButton(host::InputEvent::Left, false, c.x, c.y);
    PumpMessages();
    EXPECT_FALSE(window->Visible()) << "one click on Close";
  }
  delete Application->FindComponent("HelpWindow");
  Application->SetHelpFile("");
  std::filesystem::remove(file);
}

TEST(HelpFile, TopicsAreFoundByTheirNumber) {
  const std::string text = "; comment\n[1] One\nfirst\n[20]Two\n\nsecond\n\n[x] not a topic\n[3 broken\n";
  struct TCase {
    int Context;
    bool Found;
    std::string Title, Text;
  };
  const TCase cases[] = {
      {1, true, "One", "first"},
      {20, true, "Two", "second\n\n[x] not a topic\n[3 broken"},
      {0, false, "", ""},
      {3, false, "", ""},
  };
  for (const TCase& c : cases) {
    std::optional<THelpTopic> topic = FindHelpTopic(text, c.Context);
    ASSERT_EQ(topic.has_value(), c.Found) << c.Context;
    if (!topic) continue;
    EXPECT_EQ(topic->Title, c.Title);
    EXPECT_EQ(topic->Text, c.Text);
  }
  EXPECT_FALSE(ReadHelpTopic("c:\\no such folder\\none.hlp", 0));
}

TEST_F(ApplicationTest, RunShowsNoMainFormWhenTerminateCameFirst) {
  TForm* main = nullptr;
  Application->CreateForm(main);
  Application->Terminate();
  Application->Run();
  EXPECT_FALSE(main->Visible());
  delete main;
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
