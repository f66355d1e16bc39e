#include "rotator/options_form.h"
#include "rotator_fixture.h"
#include "vbrun/forms.h"
#include "win32/kernel.h"

namespace {

class Options : public RotatorTest {
 protected:
  rotator::TForm5* Opened() {
    auto* form = new rotator::TForm5(Application);
    form->Load();
    return form;
  }
  void Installed() {
    Put("logos/readme.txt", "read me");
    Put("logos/logo.exe", "program");
    Put("logos/start/originalstart.sys", "original start");
    Put("logos/start/vorrelstart.sys", "sample");
    Put("logos/wait/originalwait.sys", "original wait");
    Put("logos/down/originaldown.sys", "original down");
    Put("logo.sys", "sample");  // rotated there from the library
    Put("windows/logow.sys", "rotated wait");
    Put("windows/logos.sys", "rotated down");
  }
};

TEST_F(Options, OpeningShowsTheStoredValues) {
  auto* form = Opened();
  EXPECT_EQ(form->Text1->GetText(), "6");
  EXPECT_EQ(form->Check1->Value(), 0);
  EXPECT_EQ(form->Check2->Value(), 0);
  EXPECT_TRUE(form->Text1->Enabled());
  EXPECT_EQ(Setting("Random"), "");  // opening writes nothing
  delete form;

  rotator::WriteSetting("Time", "12");
  rotator::WriteSetting("Shut", "Yes");
  rotator::WriteSetting("Random", "Yes");
  form = Opened();
  EXPECT_EQ(form->Text1->GetText(), "12");
  EXPECT_EQ(form->Check1->Value(), 1);
  EXPECT_EQ(form->Check2->Value(), 1);
  delete form;

  // A stored time that is no number counts as none.
  rotator::WriteSetting("Time", "soon");
  rotator::WriteSetting("Shut", "No");
  form = Opened();
  EXPECT_EQ(form->Text1->GetText(), "6");
  EXPECT_TRUE(form->Text1->Enabled());  // "No" changes nothing, so no click ran
  delete form;
}

TEST_F(Options, OkSavesTimeOnlyForAWholeNumberOfAtLeastOne) {
  rotator::WriteSetting("Time", "20");
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"0", "20"}, {"", "20"}, {"7.", "7."}, {"45", "45"}};
  for (const auto& c : cases) {
    auto* form = Opened();
    form->Check1->SetValue(1);
    form->Check2->SetValue(1);
    form->Text1->SetText(c.typed);
    form->Command2_Click();
    EXPECT_EQ(Setting("Time"), c.stored) << c.typed;
    EXPECT_EQ(Setting("Shut"), "Yes");
    EXPECT_EQ(Setting("Random"), "Yes");  // the box's value, read before the dialog went
    Application->ProcessMessages();
  }
}

TEST_F(Options, ImmediateSavesAndCancel) {
  auto* form = Opened();
  form->Check2->SetValue(1);
  EXPECT_EQ(Setting("Random"), "Yes");
  form->Check2->SetValue(0);
  form->Command3_Click();
  EXPECT_EQ(Setting("Random"), "No");
  Application->ProcessMessages();

  form = Opened();
  form->Command1_Click();  // "Default" with "Shutdown" unchecked
  EXPECT_EQ(Setting("Time"), "6");
  EXPECT_EQ(Setting("Shut"), "");
  form->Check1->SetValue(1);
  form->Check1->SetValue(0);
  EXPECT_FALSE(form->Text1->Enabled());
  EXPECT_FALSE(form->Command1->Enabled());
  delete form;
}

TEST_F(Options, LeavingTheBoxWithNoNumberIsTold) {
  auto* form = Opened();
  form->ShowForm();
  form->Text1->SetText("");
  form->Text1_LostFocus();
  ASSERT_EQ(dialogs_.Calls().size(), 1u);
  EXPECT_EQ(dialogs_.Calls()[0].Text, "Please enter an integer from 1 to 99");
  EXPECT_TRUE(form->Text1->Focused());
  form->Text1->SetText("1e2");
  form->Text1_LostFocus();
  EXPECT_EQ(dialogs_.Calls().size(), 1u);
  delete form;
}

TEST_F(Options, UninstallWithEachOldone) {
  const struct {
    const char* oldone;
    const char* start;
  } cases[] = {{"Yes", "original start"}, {"No", "<missing>"}, {"", "sample"}};
  for (const auto& c : cases) {
    Installed();
    rotator::WriteSetting("Oldone", c.oldone);
    auto* form = Opened();
    dialogs_.Answer(IDYES);
    form->Command4_Click();
    EXPECT_EQ(Content("logo.sys"), c.start) << c.oldone;
    // The other originals go back too, as the button promises.
    EXPECT_EQ(Content("windows/logow.sys"), "original wait");
    EXPECT_EQ(Content("windows/logos.sys"), "original down");
    for (const char* gone : {"logos/start", "logos/wait", "logos/down", "logos/readme.txt"})
      EXPECT_FALSE(std::filesystem::exists(Host(gone))) << gone;
    EXPECT_TRUE(std::filesystem::exists(Host("logos/logo.exe")));
    const auto calls = dialogs_.Calls();
    EXPECT_EQ(calls.back().Text, "Logo was removed! You will have to delete c:\\logos\\logo.exe");
    delete form;
  }
}

TEST_F(Options, UninstallWithNoKeepsAStartupLogoThatIsNotTheLibrarys) {
  // The user's own logo, put there after the install; and one equal to the saved original only.
  for (const char* start : {"the user's own logo", "original start"}) {
    Installed();
    Put("logo.sys", start);
    rotator::WriteSetting("Oldone", "No");
    auto* form = Opened();
    dialogs_.Answer(IDYES);
    form->Command4_Click();
    EXPECT_EQ(Content("logo.sys"), start);
    EXPECT_FALSE(std::filesystem::exists(Host("logos/start")));
    EXPECT_EQ(dialogs_.Calls().back().Text, "Logo was removed! You will have to delete c:\\logos\\logo.exe");
    delete form;
  }
}

TEST_F(Options, UninstallNamesWhatItCouldNotRemove) {
  Installed();
  Put("logos/wait/locked.sys", "read-only");
  ASSERT_TRUE(SetFileAttributesA("c:\\logos\\wait\\locked.sys", FILE_ATTRIBUTE_READONLY));
  std::filesystem::remove(Host("logos/start/originalstart.sys"));
  rotator::WriteSetting("Oldone", "Yes");
  auto* form = Opened();
  dialogs_.Answer(IDYES);
  form->Command4_Click();
  EXPECT_EQ(Content("logo.sys"), "sample");
  EXPECT_TRUE(std::filesystem::exists(Host("logos/wait/locked.sys")));
  EXPECT_FALSE(std::filesystem::exists(Host("logos/down")));
  const std::string text = dialogs_.Calls().back().Text;
  EXPECT_TRUE(
      text.starts_with("Logo was removed! You will have to delete c:\\logos\\logo.exe\n\nThese steps failed:\n"))
      << text;
  EXPECT_NE(text.find("\n- putting back c:\\logo.sys"), std::string::npos) << text;
  EXPECT_NE(text.find("\n- deleting c:\\logos\\wait\\locked.sys"), std::string::npos) << text;
  EXPECT_NE(text.find("\n- removing c:\\logos\\wait"), std::string::npos) << text;
  EXPECT_EQ(text.find("down"), std::string::npos) << text;
  delete form;
}

TEST_F(Options, UninstallAnsweredNoChangesNothing) {
  Installed();
  rotator::WriteSetting("Oldone", "No");
  auto* form = Opened();
  dialogs_.Answer(IDNO);
  form->Command4_Click();
  EXPECT_EQ(Content("logo.sys"), "sample");
  EXPECT_TRUE(std::filesystem::exists(Host("logos/start/originalstart.sys")));
  EXPECT_EQ(dialogs_.Calls().size(), 1u);
  delete form;
}

}  // namespace
