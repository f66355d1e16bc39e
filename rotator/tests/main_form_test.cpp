#include "rotator/main_form.h"
#include "rotator_fixture.h"
#include "vbrun/errors.h"
#include "vcl/testing/hints.h"
#include "win32/testing/windows.h"

namespace {

class MainForm : public RotatorTest {
 protected:
  void Libraries() {
    Put("logos/start/a.sys", "start a");
    Put("logos/wait/w.sys", "wait w");
    Put("logos/down/d.sys", "down d");
    Put("logo.sys", "old start");
    Put("windows/logow.sys", "old wait");
    Put("windows/logos.sys", "old down");
  }
  rotator::TForm1* Loaded() {
    auto* form = new rotator::TForm1(Application);
    form->Load();
    return form;
  }
};

TEST_F(MainForm, TimeAndShutArmTheSelfCloseTimer) {
  const struct {
    const char* time;
    const char* shut;
    bool armed;
    unsigned interval;
  } cases[] = {
      {"", "", false, 6000},      {"", "Yes", true, 6000},     {"65", "Yes", true, 65000}, {"66", "Yes", true, 6000},
      {"99", "Yes", true, 6000},  {"0", "Yes", true, 6000},    {"-3", "Yes", true, 6000},  {"abc", "Yes", true, 6000},
      {"7.5", "Yes", true, 8000}, {"12", "yes", false, 12000}, {"12", "No", false, 12000}, {"", "", false, 6000},
  };
  for (const auto& c : cases) {
    rotator::WriteSetting("Time", c.time);
    rotator::WriteSetting("Shut", c.shut);
    auto* form = Loaded();
    EXPECT_EQ(form->Timer1->Enabled(), c.armed) << c.time << "/" << c.shut;
    EXPECT_EQ(form->Timer1->Interval(), c.interval) << c.time << "/" << c.shut;
    delete form;
  }
}

TEST_F(MainForm, AnOrdinaryStartRotatesOnlyWhenAsked) {
  Libraries();
  delete Loaded();
  EXPECT_EQ(Content("logo.sys"), "old start");  // no settings: nothing rotates
  EXPECT_EQ(Setting("Random"), "");  // and nothing is written

  Put("logos/start/none.sys", "none");
  std::filesystem::remove(Host("logos/start/a.sys"));
  rotator::WriteSetting("Random", "Yes");
  delete Loaded();
  EXPECT_EQ(Content("logo.sys"), "none");  // no "none.sys" rule at an ordinary start
  EXPECT_EQ(Content("windows/logow.sys"), "wait w");
  EXPECT_EQ(Content("windows/logos.sys"), "down d");
}

TEST_F(MainForm, AnyButtonDisarmsTheTimer) {
  Libraries();
  rotator::WriteSetting("Shut", "Yes");
  auto* form = Loaded();
  void (rotator::TForm1::*handlers[])() = {&rotator::TForm1::Command2_Click, &rotator::TForm1::Command3_Click,
                                           &rotator::TForm1::Command4_Click, &rotator::TForm1::Command6_Click};
  for (auto handler : handlers) {
    form->Timer1->SetEnabled(true);
    (form->*handler)();
    EXPECT_FALSE(form->Timer1->Enabled());
  }
  form->Timer1->SetEnabled(true);
  EXPECT_THROW(form->Command1_Click(), vb::EndProgram);
  EXPECT_FALSE(form->Timer1->Enabled());
  EXPECT_THROW(form->Timer1_Timer(), vb::EndProgram);
}

TEST_F(MainForm, RandomLogoFillsEachSlotOnItsOwn) {
  Libraries();
  std::filesystem::remove(Host("logos/wait/w.sys"));  // an empty wait library
  auto* form = Loaded();
  form->Command2_Click();
  EXPECT_EQ(Content("logo.sys"), "start a");
  EXPECT_EQ(Content("windows/logow.sys"), "old wait");
  EXPECT_EQ(Content("windows/logos.sys"), "down d");
  delete form;
}

TEST_F(MainForm, AMissingLibraryLeavesItsSlotAlone) {
  Libraries();
  std::filesystem::remove_all(Host("logos/start"));
  Put("stray.sys", "stray");  // a folder the list could otherwise still show
  rotator::WriteSetting("Random", "Yes");
  auto* form = Loaded();
  EXPECT_EQ(Content("logo.sys"), "old start");
  EXPECT_EQ(Content("windows/logow.sys"), "wait w");
  form->Command2_Click();
  EXPECT_EQ(Content("logo.sys"), "old start");
  delete form;
}

TEST_F(MainForm, ButtonTooltipsShowUnderTheMouse) {
  auto* form = Loaded();
  form->Show();
  Application->SetHintPause(10);
  const struct {
    vb::CommandButton* button;
    const char* tip;
  } cases[] = {
      {form->Command2, "Picks random logos"},       {form->Command3, "Allows you to choose your own logos"},
      {form->Command6, "Configures Options"},       {form->Command4, "Tells you about the program"},
      {form->Command1, "What do you think it is?"},
  };
  for (const auto& c : cases) {
    const TPoint p = c.button->ClientToScreen({10, 10});
    InjectMouseMove(p.x, p.y);
    PumpUntil([&] { return ShownHintText() == c.tip; });
    EXPECT_EQ(ShownHintText(), c.tip);
  }
  delete form;
}

}  // namespace
