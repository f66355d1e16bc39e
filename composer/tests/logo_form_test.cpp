#include <gtest/gtest.h>

#include <algorithm>

#include "composer/startup_logo.h"
#include "composer_test_support.h"
#include "logo_form_fixture.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"

namespace {

TEST_F(LogoFormTest, TheWindowComesFromItsDescription) {
  TfmLogo* form = MakeForm();
  EXPECT_EQ(form->Caption(), "Tarnquill");
  EXPECT_EQ(form->ClientWidth(), 592);
  EXPECT_EQ(form->ClientHeight(), 294);
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->Font()->Name(), "Arial");
  EXPECT_EQ(form->Font()->Size(), 8);

  struct TControlCase {
    const char* Name;
    const char* Class;
  };
  const TControlCase classes[] = {
      {"Pages", "TPageControl"},
      {"laJokeFile", "TLabel"},
      {"Lista", "TZevFileListBox"},
      {"btSelect", "ToxButton"},
      {"rgBackground", "TRadioGroup"},
      {"cbSingleColor", "TTavColorButton"},
      {"cbFromColor", "TTavColorButton"},
      {"cbToColor", "TTavColorButton"},
      {"btBitmap", "ToxButton"},
      {"cbTiled", "TCheckBox"},
      {"FirstFont", "TZevFontComboBox"},
      {"seFirst", "TSpinEdit"},
      {"rgFirstEffect", "TRadioGroup"},
      {"edFirst", "TEdit"},
      {"LastFont", "TZevFontComboBox"},
      {"seAnimation", "TSpinEdit"},
      {"StartColor", "TTavColorButton"},
      {"ZevLabel1", "TZevLabel"},
      {"laURL", "TLabel"},
      {"ZevPanel1", "TZevPanel"},
      {"Image", "TPGImage"},
      {"btAnimation", "ToxButton"},
      {"dgOpen", "TPGOpenDialog"},
      {"Timer", "TTimer"},
      {"PS", "TPFormSettings"},
  };
  for (const TControlCase& c : classes) {
    TComponent* component = form->FindComponent(c.Name);
    ASSERT_NE(component, nullptr) << c.Name;
    EXPECT_EQ(component->ClassInfo().Name(), c.Class) << c.Name;
  }
  FreeForm(form);
}

TEST_F(LogoFormTest, TheButtonsAndSpinEditsComeFromTheDescription) {
  TfmLogo* form = MakeForm();
  const std::pair<ToxButton*, const char*> buttons[] = {
      {form->btSelect, "Select"},
      {form->btLogo, "Save logo now"},
      {form->btPreview, "Full Screen Preview"},
      {form->btAnimation, "Show palette animation"},
      {form->btStartup, "Install in Startup Group"},
      {form->btSave, "Save changes and exit"},
      {form->btCancel, "Cancel"},
      {form->btHelp, "Help"},
  };
  for (auto [button, caption] : buttons) {
    EXPECT_EQ(button->Caption(), caption);
    EXPECT_EQ(button->Style(), ToxBtnStyle::bsAmbrel) << caption;
    EXPECT_EQ(button->Font3D(), ToxFont3D::fsInset) << caption;
    EXPECT_EQ(button->FocusStyle(), TFocusStyle{fsBoldFont}) << caption;
    EXPECT_TRUE(button->OnClick) << caption;
  }
  EXPECT_EQ(form->btAnimation->ButtonType(), oxbToggle);
  EXPECT_TRUE(form->btAnimation->GroupAllowNoSel());

  const std::tuple<TSpinEdit*, int, int, int> spins[] = {{form->seFirst, 8, 124, 24},
                                                         {form->seLast, 8, 124, 16},
                                                         {form->seAnimation, 4, 32, 4},
                                                         {form->seSections, 4, 64, 4}};
  for (auto [spin, low, high, value] : spins) {
    EXPECT_EQ(spin->MinValue(), low);
    EXPECT_EQ(spin->MaxValue(), high);
    EXPECT_EQ(spin->Value(), value);
    EXPECT_TRUE(spin->OnChange);
  }
  FreeForm(form);
}

TEST_F(LogoFormTest, TheColoursTextsViewerAndSettingsComeFromTheDescription) {
  TfmLogo* form = MakeForm();
  const std::pair<TTavColorButton*, TColor> colours[] = {
      {form->cbSingleColor, clBlue},      {form->cbFromColor, clBlue},         {form->cbToColor, clBlack},
      {form->FirstFontColor, clYellow},   {form->cbFirstShadowColor, clBlack}, {form->LastFontColor, clRed},
      {form->cbLastShadowColor, clBlack}, {form->StartColor, clBlue},          {form->EndColor, clNavy},
  };
  for (auto [button, colour] : colours) {
    EXPECT_EQ(button->Value(), colour) << button->Name();
    EXPECT_TRUE(button->OnChange) << button->Name();
  }
  EXPECT_EQ(form->edFirst->GetText(), "This is the default question");
  EXPECT_EQ(form->edLast->GetText(), "This is the default answer");
  EXPECT_EQ(form->FirstFont->FontName(), "Arial");
  EXPECT_EQ(form->Lista->Mask(), "*.txt");
  EXPECT_EQ(form->Lista->ItemHeight(), 18);
  EXPECT_EQ(form->Image->Stretch(), sAlways);
  EXPECT_EQ(form->Image->StretchMode(), smMedium);
  EXPECT_FALSE(form->Image->ShowHourGlass());
  EXPECT_FALSE(form->Image->ProgressClockVisible());
  EXPECT_EQ(form->Image->ClientWidth(), 320);  // an 8:5 inner area
  EXPECT_EQ(form->Image->ClientHeight(), 200);
  EXPECT_EQ(form->dgOpen->Title(), "Select a bitmap to use as background");
  EXPECT_EQ(form->Timer->Interval(), 500u);
  EXPECT_FALSE(form->Timer->Enabled());
  EXPECT_EQ(form->PS->Count(), 28);
  EXPECT_EQ(form->PS->SettingByName("LogoCheck"), form->PS->Settings(27));
  FreeForm(form);
}

TEST_F(LogoFormTest, TheAboutPageLabelsAreCentredArialWithTheDefaultRecessedStyle) {
  TfmLogo* form = MakeForm();
  struct {
    TZevLabel* label;
    int height;
    bool bold;
    TColor colour;
  } cases[] = {{form->ZevLabel1, -24, true, clNavy}, {form->ZevLabel2, -19, false, clWindowText}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.label->Alignment(), taCenter) << c.label->Name();
    EXPECT_FALSE(c.label->AutoSize()) << c.label->Name();
    EXPECT_EQ(c.label->Font()->Name(), "Arial") << c.label->Name();
    EXPECT_EQ(c.label->Font()->Height(), c.height) << c.label->Name();
    EXPECT_EQ(c.label->Font()->Style().Contains(fsBold), c.bold) << c.label->Name();
    EXPECT_EQ(c.label->Font()->Color(), c.colour) << c.label->Name();
    EXPECT_EQ(c.label->TextStyle(), ZevLabel::TTextStyle::tsRecessed) << c.label->Name();
  }
  FreeForm(form);
}

TEST_F(LogoFormTest, StartingComposesOnceAndShowsTheJokeTab) {
  TfmLogo* form = MakeForm();
  EXPECT_FALSE(form->Composer.Building);
  EXPECT_EQ(form->Pages->ActivePage(), form->tsJoke);
  ASSERT_NE(form->Image->PixelGraphic(), nullptr);  // the composite reached the viewer
  EXPECT_EQ(const_cast<TPixelGraphic*>(form->Image->PixelGraphic())->Width(), 640);
  EXPECT_EQ(form->Lista->Directory() + "\\", ExtractFilePath(Application->ExeName()));
  EXPECT_EQ(form->Lista->ItemIndex(), -1);
  EXPECT_EQ(form->Composer.QuestionText(), "This is the default question");
  FreeForm(form);
}

TEST_F(LogoFormTest, TheStoredBackgroundKindShowsItsOwnControls) {
  TfmLogo* form = MakeForm();
  for (int kind : {1, 2, 0}) {
    form->rgBackground->SetItemIndex(kind);
    form->rgBackgroundClick(form->rgBackground);
    EXPECT_EQ(form->cbSingleColor->Visible(), kind == 0);
    EXPECT_EQ(form->cbFromColor->Visible(), kind == 1);
    EXPECT_EQ(form->cbToColor->Visible(), kind == 1);
    EXPECT_EQ(form->btBitmap->Visible(), kind == 2);
    EXPECT_EQ(form->cbTiled->Visible(), kind == 2);
  }
  form->rgBackground->SetItemIndex(1);
  form->PS->SaveSettings();
  FreeForm(form);
  form = MakeForm();  // the settings load shows the stored kind's controls
  EXPECT_EQ(form->rgBackground->ItemIndex(), 1);
  EXPECT_FALSE(form->cbSingleColor->Visible());
  EXPECT_TRUE(form->cbFromColor->Visible());
  FreeForm(form);
}

TEST_F(LogoFormTest, CancelLeavesTheRegistryAsItWas) {
  TfmLogo* form = MakeForm();
  form->seFirst->SetValue(40);
  form->PS->SaveSettings();
  const std::string before = HiveText();
  form->seFirst->SetValue(60);
  form->cbFirstBold->SetCheckedValue(true);
  form->btCancelClick(form->btCancel);
  FreeForm(form);
  EXPECT_EQ(HiveText(), before);
}

TEST_F(LogoFormTest, SavingAfterChangingTheQuestionSizeStoresOnlyThat) {
  TfmLogo* form = MakeForm();
  form->seFirst->SetValue(30);
  form->btSaveClick(form->btSave);
  FreeForm(form);
  const std::string screen = Format("%dx%d", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  std::vector<std::string> formValues = KeyLines(kFormKey);
  std::sort(formValues.begin(), formValues.end());
  EXPECT_EQ(formValues, (std::vector<std::string>{"\"Left\"=dword:000000ba", "\"LogoCheck\"=hex:04,00,00,00,01",
                                                  "\"ScreenRes\"=\"" + screen + "\"", "\"Top\"=dword:0000006c"}));
  EXPECT_EQ(KeyLines(std::string(kFormKey) + "\\seFirst"), std::vector<std::string>{"\"Value\"=dword:0000001e"});
  const std::string hive = HiveText();
  EXPECT_EQ(hive.find("fmLogo\\seLast"), std::string::npos);
  EXPECT_EQ(hive.find("fmLogo\\edFirst"), std::string::npos);
}

TEST_F(LogoFormTest, EveryBoundSettingComesBackInANewWindow) {
  TfmLogo* form = MakeForm();
  form->laJokeFile->SetCaption("c:\\jokes\\old.txt");
  form->rgBackground->SetItemIndex(2);
  form->cbSingleColor->SetValue(clRed);
  form->cbFromColor->SetValue(clLime);
  form->cbToColor->SetValue(clWhite);
  form->btBitmap->SetCaption("c:\\pictures\\sky.bmp");
  form->cbTiled->SetCheckedValue(true);
  form->edFirst->SetText("Why?");
  form->edLast->SetText("Because.");
  form->FirstFont->SetFontName("Courier New");
  form->FirstFontColor->SetValue(clAqua);
  form->seFirst->SetValue(30);
  form->seLast->SetValue(40);
  form->rgFirstEffect->SetItemIndex(1);
  form->rgLastEffect->SetItemIndex(2);
  form->cbFirstShadowColor->SetValue(clGray);
  form->cbLastShadowColor->SetValue(clSilver);
  form->cbFirstBold->SetCheckedValue(true);
  form->cbFirstItalic->SetCheckedValue(true);
  form->cbLastBold->SetCheckedValue(true);
  form->cbLastItalic->SetCheckedValue(true);
  form->LastFont->SetFontName("Times New Roman");
  form->LastFontColor->SetValue(clMaroon);
  form->seAnimation->SetValue(12);
  form->seSections->SetValue(20);
  form->StartColor->SetValue(clPurple);
  form->EndColor->SetValue(clTeal);
  form->btSaveClick(form->btSave);
  FreeForm(form);

  form = MakeForm();
  EXPECT_EQ(form->laJokeFile->Caption(), "c:\\jokes\\old.txt");
  EXPECT_EQ(form->rgBackground->ItemIndex(), 2);
  EXPECT_EQ(form->cbSingleColor->Value(), clRed);
  EXPECT_EQ(form->cbFromColor->Value(), clLime);
  EXPECT_EQ(form->cbToColor->Value(), clWhite);
  EXPECT_EQ(form->btBitmap->Caption(), "c:\\pictures\\sky.bmp");
  EXPECT_TRUE(form->cbTiled->Checked());
  EXPECT_EQ(form->edFirst->GetText(), "Why?");
  EXPECT_EQ(form->edLast->GetText(), "Because.");
  EXPECT_EQ(form->FirstFont->FontName(), "Courier New");
  EXPECT_EQ(form->FirstFontColor->Value(), clAqua);
  EXPECT_EQ(form->seFirst->Value(), 30);
  EXPECT_EQ(form->seLast->Value(), 40);
  EXPECT_EQ(form->rgFirstEffect->ItemIndex(), 1);
  EXPECT_EQ(form->rgLastEffect->ItemIndex(), 2);
  EXPECT_EQ(form->cbFirstShadowColor->Value(), clGray);
  EXPECT_EQ(form->cbLastShadowColor->Value(), clSilver);
  EXPECT_TRUE(form->cbFirstBold->Checked());
  EXPECT_TRUE(form->cbFirstItalic->Checked());
  EXPECT_TRUE(form->cbLastBold->Checked());
  EXPECT_TRUE(form->cbLastItalic->Checked());
  EXPECT_EQ(form->LastFont->FontName(), "Times New Roman");
  EXPECT_EQ(form->LastFontColor->Value(), clMaroon);
  EXPECT_EQ(form->seAnimation->Value(), 12);
  EXPECT_EQ(form->seSections->Value(), 20);
  EXPECT_EQ(form->StartColor->Value(), clPurple);
  EXPECT_EQ(form->EndColor->Value(), clTeal);
  // The missing picture gives a black background and one message, not a failed start.
  EXPECT_EQ(form->cbFirstShadowColor->Visible(), true);
  FreeForm(form);
}

TEST_F(LogoFormTest, TheMsdosCheckRunsUntilTheSettingsAreSaved) {
  WriteLines(root.DriveC() / "msdos.sys", {"[Options]", "LOGO=0"});
  const std::string warning =
      "It seems as if your MSDOS.SYS file is preventing startup logos to appear. You should "
      "edit this file in order to correct the problem. Click on the Help button for an "
      "explanation of this problem";
  TfmLogo* form = MakeForm();
  FreeForm(form);
  form = MakeForm();  // not saved: it runs again
  EXPECT_EQ(Texts(), (std::vector<std::string>{warning, warning}));
  EXPECT_EQ(dialogs.Calls()[0].HelpCtx, 5000);
  form->btSaveClick(form->btSave);
  FreeForm(form);
  form = MakeForm();
  EXPECT_EQ(Texts().size(), 2u);
  FreeForm(form);
}

TEST_F(LogoFormTest, TheFirstStartBacksUpTheLogoOnceBesideTheProgram) {
  const std::filesystem::path copy = machine::HostPath(ExtractFilePath(Application->ExeName()) + "logo.sys");
  std::filesystem::remove(copy);
  WriteLines(root.DriveC() / "logo.sys", {"the user's logo"});
  TfmLogo* form = MakeForm();
  const int left = form->Left(), top = form->Top();
  FreeForm(form);
  form = MakeForm();
  FreeForm(form);
  const bool copied = std::filesystem::exists(copy);
  std::filesystem::remove(copy);
  EXPECT_TRUE(copied);
  ASSERT_EQ(Texts(), std::vector<std::string>{"A Backup of your existing startup logo has been done"});
  EXPECT_EQ(dialogs.Calls()[0].X, left + 100);
  EXPECT_EQ(dialogs.Calls()[0].Y, top + 80);
}

TEST_F(LogoFormTest, AutoWritesTheLogoAndEndsTheProgram) {
  for (const char* argument : {"/AUTO", "/auto"}) {
    std::filesystem::remove(root.DriveC() / "logo.sys");
    TfmLogo* form = MakeForm({argument});
    EXPECT_TRUE(Application->Terminated()) << argument;
    EXPECT_EQ(ReadBytes(root.DriveC() / "logo.sys").size(), 129078u) << argument;
    FreeForm(form);
  }
  std::filesystem::remove(root.DriveC() / "logo.sys");
  TfmLogo* form = MakeForm({"x", "/AUTO"});  // only as the first argument
  EXPECT_FALSE(std::filesystem::exists(root.DriveC() / "logo.sys"));
  FreeForm(form);
}

TEST_F(LogoFormTest, TheToggleRunsTheAnimationTimer) {
  TfmLogo* form = MakeForm();
  form->btAnimation->SetValue(true);
  form->btAnimationClick(form->btAnimation);
  EXPECT_TRUE(form->Timer->Enabled());
  const TAnimationColors before = form->Composer.ShownColors();
  form->TimerTimer(form->Timer);
  EXPECT_NE(form->Composer.ShownColors(), before);
  form->btAnimation->SetValue(false);
  form->btAnimationClick(form->btAnimation);
  EXPECT_FALSE(form->Timer->Enabled());
  FreeForm(form);
}

TEST_F(LogoFormTest, ARightClickInTheJokeListBringsTheDefaultTextsBack) {
  TfmLogo* form = MakeForm();
  ASSERT_GT(form->Lista->Items()->Count(), 0);
  form->Lista->SetItemIndex(0);
  form->ListaClick(form->Lista);
  EXPECT_EQ(form->laJokeFile->Caption(), form->Lista->FileName());
  EXPECT_NE(form->Composer.QuestionText(), "This is the default question");
  form->ListaMouseUp(form->Lista, mbLeft, {}, 5, 5);  // only the right button
  EXPECT_EQ(form->Lista->ItemIndex(), 0);
  form->ListaMouseUp(form->Lista, mbRight, {}, 5, 5);
  EXPECT_EQ(form->Lista->ItemIndex(), -1);
  EXPECT_EQ(form->laJokeFile->Caption(), "");
  EXPECT_EQ(form->Composer.QuestionText(), "This is the default question");
  EXPECT_EQ(form->Composer.AnswerText(), "This is the default answer");
  FreeForm(form);
}

TEST_F(LogoFormTest, TheStoredJokeFileIsSelectedWithoutRegardToCase) {
  TfmLogo* form = MakeForm();
  ASSERT_GT(form->Lista->Items()->Count(), 1);
  const std::string second = form->Lista->Items()->Get(1);
  form->laJokeFile->SetCaption("c:\\elsewhere\\" + UpperCase(second));
  form->PS->SaveSettings();
  FreeForm(form);
  form = MakeForm();
  EXPECT_EQ(form->Lista->ItemIndex(), 1);
  FreeForm(form);
}

}  // namespace
