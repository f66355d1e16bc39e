// Hint windows: when they show, what they show, where, and what puts them away; driven by input
// given to the display as the user's and by the application's own timers.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "comctrls_golden.h"
#include "stdctrls_fixture.h"
#include "vcl/extctrls.h"
#include "vcl/hintwindow.h"
#include "vcl/testing/hints.h"

namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

class HintsTest : public StdCtrlsTest {
 protected:
  HintsTest() {
    Application->SetHintPause(30);
    Application->SetHintShortPause(10);
    Application->SetHintHidePause(2000);
    left_ = Make<TPanel>(10, 10, 100, 60);
    left_->SetHint("Left|The panel on the left");
    left_->SetShowHint(true);
    right_ = Make<TPanel>(150, 10, 100, 60);
    right_->SetHint("Right|The panel on the right");
    right_->SetShowHint(true);
    ShowForm();
  }

  // The mouse to (x, y) of the control; the application reads the move.
  void MoveTo(TControl* control, int x, int y) {
    POINT p = OnScreen(control, x, y);
    InjectMouseMove(p.x, p.y);
    Application->ProcessMessages();
  }
  // A window-less control at (10, 10, 60, 40) of the parent.
  TLabel* MakeLabel(TWinControl* parent) {
    auto* label = new TLabel(&form_);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 40);
    label->SetParent(parent);
    return label;
  }
  static bool ShowsWithin(int ms) {
    return PumpUntil([] { return ShownHintWindow() != nullptr; }, ms);
  }
  // Waits well past the pause, then tells whether a hint shows.
  static bool ShowsAfterAWhile() {
    PumpUntil([] { return false; }, 150);
    return ShownHintWindow() != nullptr;
  }
  // Waits as long as the expected answer needs: until a hint shows, or well past the pause.
  static bool Shows(bool Expected) { return Expected ? ShowsWithin(2000) : ShowsAfterAWhile(); }

  TPanel* left_;
  TPanel* right_;
};

}  // namespace

// The hint's window and timer are the application's own, not components a caller may free.
TEST_F(HintsTest, FreeingTheApplicationsComponentsLeavesItsHintWindowAndTimer) {
  MoveTo(left_, 20, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  Application->DestroyComponents();
  EXPECT_EQ(ShownHintText(), "Left");
  MoveTo(right_, 20, 30);
  EXPECT_TRUE(PumpUntil([] { return ShownHintText() == "Right"; }, 2000));
}

TEST_F(HintsTest, TheShortHintShowsBelowTheCursorAfterThePause) {
  Application->SetHintPause(120);
  Application->SetHintHidePause(300);
  const Clock::time_point moved = Clock::now();
  MoveTo(left_, 20, 30);
  EXPECT_EQ(ShownHintWindow(), nullptr);
  ASSERT_TRUE(ShowsWithin(2000));
  EXPECT_GE(MsSince(moved), 120);

  HWND hint = ShownHintWindow();
  EXPECT_EQ(ShownHintText(), "Left");
  POINT cursor = OnScreen(left_, 20, 30);
  RECT r;
  GetWindowRect(hint, &r);
  EXPECT_EQ(r.left, cursor.x);
  EXPECT_EQ(r.top, cursor.y + GetSystemMetrics(SM_CYCURSOR));
  THintWindow measure(nullptr);
  const TRect size = measure.CalcHintRect(Screen->Width(), "Left");
  EXPECT_EQ(r.right - r.left, size.right);
  EXPECT_EQ(r.bottom - r.top, size.bottom);
  // It stands above everything and took neither activation nor focus.
  EXPECT_TRUE(GetWindowLongA(hint, GWL_EXSTYLE) & static_cast<LONG_PTR>(WS_EX_TOPMOST));
  EXPECT_EQ(GetActiveWindow(), form_.Handle());
  EXPECT_NE(GetFocus(), hint);
  // The mouse goes through it to the form beneath.
  EXPECT_EQ(WindowFromPoint(POINT{r.left + 2, r.top + 2}), form_.Handle());

  // It goes after the hide pause and does not come back while the mouse stays.
  ASSERT_TRUE(PumpUntil([] { return ShownHintWindow() == nullptr; }));
  EXPECT_GE(MsSince(moved), 120 + 300);
  MoveTo(left_, 25, 32);
  EXPECT_FALSE(ShowsAfterAWhile());
}

TEST_F(HintsTest, LeavingClickingAndTypingPutTheHintAway) {
  struct TCase {
    const char* Name;
    std::function<void()> Act;
  };
  const TCase cases[] = {
      {"to the form", [&] { MoveTo(&form_, 120, 150); }},
      {"to nowhere", [&] { Application->SetMouseControl(nullptr); }},
      {"click",
       [&] {
         POINT p = OnScreen(left_, 20, 30);
         InjectMouseButton(host::InputEvent::Left, true, p.x, p.y);
         InjectMouseButton(host::InputEvent::Left, false, p.x, p.y);
       }},
      {"right click",
       [&] {
         POINT p = OnScreen(left_, 20, 30);
         InjectMouseButton(host::InputEvent::Right, true, p.x, p.y);
         InjectMouseButton(host::InputEvent::Right, false, p.x, p.y);
       }},
      {"key",
       [&] {
         InjectKey('A', true);
         InjectKey('A', false);
       }},
  };
  for (bool shown : {true, false}) {
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.Name) + (shown ? " while shown" : " while waiting"));
      MoveTo(&form_, 120, 150);
      Application->SetHintPause(shown ? 10 : 80);
      MoveTo(left_, 20, 30);
      if (shown) {
        ASSERT_TRUE(ShowsWithin(2000));
      }
      c.Act();
      Application->ProcessMessages();
      EXPECT_EQ(ShownHintWindow(), nullptr);
      EXPECT_FALSE(ShowsAfterAWhile());
    }
  }
}

TEST_F(HintsTest, MovingOnWhileAHintShowsTakesTheShortPause) {
  MoveTo(left_, 20, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  // Past the time the test waits: only the short pause can show the next one.
  Application->SetHintPause(60000);
  MoveTo(right_, 20, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  EXPECT_EQ(ShownHintText(), "Right");
  // Once it is gone, the next control waits the whole pause again.
  MoveTo(&form_, 120, 150);
  MoveTo(left_, 20, 30);
  EXPECT_FALSE(ShowsAfterAWhile());
}

TEST_F(HintsTest, ShowHintFollowsTheParentChain) {
  // form -> outer panel -> inner panel -> label with the hint.
  struct TCase {
    bool FormShows;
    bool OuterParentShowHint, OuterShows;
    bool LabelParentShowHint, LabelShows;
    bool Expected;
  };
  const TCase cases[] = {
      {true, true, false, true, false, true},  // inherited all the way down
      {false, true, false, true, false, false},  // nobody shows
      {false, false, true, true, false, true},  // from the outer panel's own setting
      {true, false, false, true, false, false},  // the outer panel stops the form's
      {false, true, false, false, true, true},  // the label's own setting
      {true, true, false, false, false, false},  // the label's own setting against the form's
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.FormShows << c.OuterParentShowHint << c.OuterShows << c.LabelParentShowHint
                                      << c.LabelShows);
    MoveTo(&form_, 120, 150);
    form_.SetShowHint(!c.FormShows);
    auto* outer = Make<TPanel>(10, 100, 120, 100);
    auto* inner = Make<TPanel>(10, 10, 100, 80, outer);
    auto* label = MakeLabel(inner);
    label->SetHint("Label|The label");
    if (!c.LabelParentShowHint) label->SetShowHint(c.LabelShows);
    if (!c.OuterParentShowHint) outer->SetShowHint(c.OuterShows);
    // Changed last, so the change has to travel down.
    form_.SetShowHint(c.FormShows);
    MoveTo(label, 20, 20);
    EXPECT_EQ(Shows(c.Expected), c.Expected);
    if (c.Expected) {
      EXPECT_EQ(ShownHintText(), "Label");
    }
    MoveTo(&form_, 120, 150);
    delete outer;
  }
}

TEST_F(HintsTest, TheShortPartOfTheNearestHintShows) {
  struct TCase {
    const char* PanelHint;
    const char* LabelHint;
    const char* Shown;  // none when null
  };
  const TCase cases[] = {
      {"", "Short|Long", "Short"},
      {"", "Plain", "Plain"},
      {"", "|Only a long part", nullptr},
      {"Panel|Its long part", "", "Panel"},  // a control without a hint shows its parent's
      {"", "", nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.PanelHint) + " / " + c.LabelHint);
    MoveTo(&form_, 120, 150);
    auto* panel = Make<TPanel>(10, 100, 120, 100);
    auto* label = MakeLabel(panel);
    panel->SetHint(c.PanelHint);
    label->SetHint(c.LabelHint);
    label->SetShowHint(true);
    MoveTo(label, 20, 20);
    ASSERT_EQ(Shows(c.Shown != nullptr), c.Shown != nullptr);
    if (c.Shown) {
      EXPECT_EQ(ShownHintText(), c.Shown);
    }
    MoveTo(&form_, 120, 150);
    delete panel;
  }
}

TEST_F(HintsTest, NoHintsWhenTheApplicationOrTheWindowSaysNo) {
  std::vector<std::string> hints;
  Application->OnHint = [&](TObject*) { hints.push_back(Application->Hint()); };
  Application->SetShowHint(false);
  MoveTo(left_, 20, 30);
  EXPECT_FALSE(ShowsAfterAWhile());
  // The long hint still reaches OnHint, as it does for controls whose ShowHint is off.
  right_->SetShowHint(false);
  MoveTo(right_, 20, 30);
  EXPECT_FALSE(ShowsAfterAWhile());
  MoveTo(&form_, 120, 150);
  EXPECT_EQ(hints, (std::vector<std::string>{"The panel on the left", "The panel on the right", ""}));

  // Turning hints off puts a shown one away.
  Application->SetShowHint(true);
  MoveTo(left_, 20, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  Application->SetShowHint(false);
  EXPECT_EQ(ShownHintWindow(), nullptr);

  // A window disabled under a modal one shows none.
  Application->SetShowHint(true);
  MoveTo(&form_, 120, 150);
  EnableWindow(form_.Handle(), FALSE);
  Application->SetMouseControl(left_);
  EXPECT_FALSE(ShowsAfterAWhile());
  EnableWindow(form_.Handle(), TRUE);
}

TEST_F(HintsTest, AControlThatGoesAwayTakesItsHintAlong) {
  MoveTo(left_, 20, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  delete left_;
  EXPECT_EQ(ShownHintWindow(), nullptr);
  EXPECT_FALSE(ShowsAfterAWhile());
}

TEST_F(HintsTest, TheHintWindowHasABlackBorderTheHintColourAndText) {
  struct TCase {
    TColor HintColor;
    std::uint32_t Background;  // 0xRRGGBB
  };
  const TCase cases[] = {{clInfoBk, 0xFFFFE1}, {static_cast<TColor>(0x80FFFF), 0xFFFF80}};
  left_->SetHint("Picks random logos");  // descenders, which must not be cut off
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Background);
    MoveTo(&form_, 120, 150);
    Application->SetHintColor(c.HintColor);
    MoveTo(left_, 20, 30);
    ASSERT_TRUE(ShowsWithin(2000));
    HWND hint = ShownHintWindow();
    PumpMessages();
    host::Image image = CaptureWindow(hint);
    ASSERT_GT(image.width, 6);
    ASSERT_GT(image.height, 6);
    int border = 0, background = 0, text = 0;
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x) {
        const std::uint32_t p = image.At(x, y) & 0xFFFFFF;
        const bool edge = x == 0 || y == 0 || x == image.width - 1 || y == image.height - 1;
        if (edge) border += p == 0;
        else if (p == c.Background)
          ++background;
        else if (p == 0)
          ++text;
      }
    EXPECT_EQ(border, 2 * (image.width + image.height) - 4);
    EXPECT_EQ(image.At(1, 1) & 0xFFFFFF, c.Background);
    EXPECT_GT(text, 10);
    EXPECT_EQ(background + text, (image.width - 2) * (image.height - 2));  // nothing but the two colours
    if (c.HintColor == clInfoBk) ExpectMatchesGolden(image, "hint_window");
  }
}

namespace {
// A panel that refuses its hint while Refuse is set.
class TRefusingPanel : public TPanel {
 public:
  using TPanel::TPanel;
  bool Refuse = true;
  int Asked = 0;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_HINTSHOW) {
      ++Asked;
      Message.Result = Refuse ? 1 : 0;
      return;
    }
    TPanel::WndProc(Message);
  }
};
}  // namespace

TEST_F(HintsTest, AControlAnsweringHintShowWithNonZeroShowsNoHint) {
  auto* panel = Make<TRefusingPanel>(10, 100, 100, 60);
  panel->SetHint("Refused");
  panel->SetShowHint(true);
  MoveTo(panel, 20, 30);
  EXPECT_FALSE(ShowsAfterAWhile());
  EXPECT_GE(panel->Asked, 1);
  panel->Refuse = false;
  MoveTo(&form_, 200, 200);
  MoveTo(panel, 30, 30);
  ASSERT_TRUE(ShowsWithin(2000));
  EXPECT_EQ(ShownHintText(), "Refused");
}
