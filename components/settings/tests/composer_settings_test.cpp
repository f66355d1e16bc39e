#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "settings_fixture.h"

namespace {

class ComposerSettingsTest : public SettingsTest {
 protected:
  // The sub-keys of the form key, by name.
  std::vector<std::string> SubKeys() const {
    std::vector<std::string> keys;
    const std::string prefix = std::string("[HKEY_LOCAL_MACHINE\\") + kComposerKey + "\\";
    std::istringstream in(Hive());
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.compare(0, prefix.size(), prefix) == 0)
        keys.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
    }
    return keys;
  }
  std::vector<std::string> FormKeyLines() const {
    std::vector<std::string> lines = KeyLines(kComposerKey);
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  // The composer's first start: "LogoCheck" reads false and is set.
  static void CheckLogo(TComposerForm& form) {
    TSetorra* logoCheck = form.PS->SettingByName("LogoCheck");
    if (!logoCheck->AsBoolean()) logoCheck->SetAsBoolean(true);
  }
  // Every control away from its design value.
  static void ChangeEverything(TComposerForm& f) {
    f.laJokeFile->SetCaption("c:\\jokes\\classic.txt");
    f.rgBackground->SetItemIndex(2);
    f.cbSingleColor->SetValue(clRed);
    f.cbFromColor->SetValue(clLime);
    f.cbToColor->SetValue(clWhite);
    f.btBitmap->SetCaption("c:\\pictures\\sky.bmp");
    f.cbTiled->SetCheckedValue(true);
    f.edFirst->SetText("Why?");
    f.edLast->SetText("Because.");
    f.FirstFont->SetFontName("Courier New");
    f.FirstFontColor->SetValue(clAqua);
    f.seFirst->SetValue(30);
    f.seLast->SetValue(40);
    f.rgFirstEffect->SetItemIndex(1);
    f.rgLastEffect->SetItemIndex(2);
    f.cbFirstShadowColor->SetValue(clGray);
    f.cbLastShadowColor->SetValue(clSilver);
    f.cbFirstBold->SetCheckedValue(true);
    f.cbFirstItalic->SetCheckedValue(true);
    f.cbLastBold->SetCheckedValue(true);
    f.cbLastItalic->SetCheckedValue(true);
    f.LastFont->SetFontName("Times New Roman");
    f.LastFontColor->SetValue(clMaroon);
    f.seAnimation->SetValue(12);
    f.seSections->SetValue(20);
    f.StartColor->SetValue(clPurple);
    f.EndColor->SetValue(clTeal);
  }
  static void ExpectEverythingChanged(TComposerForm& f) {
    EXPECT_EQ(f.laJokeFile->Caption(), "c:\\jokes\\classic.txt");
    EXPECT_EQ(f.rgBackground->ItemIndex(), 2);
    EXPECT_EQ(f.cbSingleColor->Value(), clRed);
    EXPECT_EQ(f.cbFromColor->Value(), clLime);
    EXPECT_EQ(f.cbToColor->Value(), clWhite);
    EXPECT_EQ(f.btBitmap->Caption(), "c:\\pictures\\sky.bmp");
    EXPECT_TRUE(f.cbTiled->Checked());
    EXPECT_EQ(f.edFirst->GetText(), "Why?");
    EXPECT_EQ(f.edLast->GetText(), "Because.");
    EXPECT_EQ(f.FirstFont->FontName(), "Courier New");
    EXPECT_EQ(f.FirstFontColor->Value(), clAqua);
    EXPECT_EQ(f.seFirst->Value(), 30);
    EXPECT_EQ(f.seLast->Value(), 40);
    EXPECT_EQ(f.rgFirstEffect->ItemIndex(), 1);
    EXPECT_EQ(f.rgLastEffect->ItemIndex(), 2);
    EXPECT_EQ(f.cbFirstShadowColor->Value(), clGray);
    EXPECT_EQ(f.cbLastShadowColor->Value(), clSilver);
    EXPECT_TRUE(f.cbFirstBold->Checked());
    EXPECT_TRUE(f.cbFirstItalic->Checked());
    EXPECT_TRUE(f.cbLastBold->Checked());
    EXPECT_TRUE(f.cbLastItalic->Checked());
    EXPECT_EQ(f.LastFont->FontName(), "Times New Roman");
    EXPECT_EQ(f.LastFontColor->Value(), clMaroon);
    EXPECT_EQ(f.seAnimation->Value(), 12);
    EXPECT_EQ(f.seSections->Value(), 20);
    EXPECT_EQ(f.StartColor->Value(), clPurple);
    EXPECT_EQ(f.EndColor->Value(), clTeal);
  }
  static std::string ScreenText() {
    return Format("%dx%d", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  }
};

TEST_F(ComposerSettingsTest, TheDescriptionListsTheTwentyEightSettingsInStoredOrder) {
  TComposerForm form(nullptr);
  ASSERT_EQ(form.PS->Count(), 28);
  for (int i = 0; i < 27; ++i) {
    EXPECT_EQ(form.PS->Settings(i)->BoundProperty(), kComposerPaths[static_cast<std::size_t>(i)]);
    EXPECT_EQ(form.PS->Settings(i)->Name(), "");
    EXPECT_EQ(form.PS->Settings(i)->Owner(), &form);
  }
  EXPECT_EQ(form.PS->Settings(27)->Name(), "LogoCheck");
  EXPECT_EQ(form.PS->GetKeyName(), kComposerKey);
  EXPECT_EQ(form.PS->FormSaveOpt(), (TPFormSaveOpts{pfsLeft, pfsTop}));
  EXPECT_EQ(form.PS->SaveLocation(), pslUser);
  EXPECT_EQ(form.PS->RegistryRootKey(), prkLocalMachine);
  EXPECT_EQ(form.PS->SettingByName("LogoCheck"), form.PS->Settings(27));
}

TEST_F(ComposerSettingsTest, SavingUntouchedWritesOnlyTheFormKeysValues) {
  {
    TComposerForm form(nullptr);
    form.PS->LoadSettings();  // an empty registry changes nothing
    EXPECT_EQ(form.seFirst->Value(), 24);
    EXPECT_EQ(form.edFirst->GetText(), "This is the default question");
    EXPECT_EQ(form.Left(), 186);
    EXPECT_FALSE(form.PS->SettingByName("LogoCheck")->AsBoolean());
    CheckLogo(form);
    form.PS->SaveSettings();
  }
  EXPECT_EQ(FormKeyLines(),
            (std::vector<std::string>{"\"Left\"=dword:000000ba", "\"LogoCheck\"=hex:04,00,00,00,01",
                                      "\"ScreenRes\"=\"" + ScreenText() + "\"", "\"Top\"=dword:0000006c"}));
  EXPECT_EQ(SubKeys(), std::vector<std::string>{});

  // One spin edit changed: its sub-key comes, nothing else.
  TComposerForm form(nullptr);
  form.PS->LoadSettings();
  EXPECT_TRUE(form.PS->SettingByName("LogoCheck")->AsBoolean());
  form.seFirst->SetValue(30);
  form.PS->SaveSettings();
  EXPECT_EQ(SubKeys(), std::vector<std::string>{"seFirst"});
  EXPECT_EQ(KeyLines(std::string(kComposerKey) + "\\seFirst"), std::vector<std::string>{"\"Value\"=dword:0000001e"});
  EXPECT_EQ(FormKeyLines().size(), 4u);
}

TEST_F(ComposerSettingsTest, AFreshFormReadsEveryValueBackAndADesignValueGoesAgain) {
  {
    TComposerForm form(nullptr);
    form.PS->LoadSettings();
    ChangeEverything(form);
    form.SetBounds(300, 200, form.Width(), form.Height());
    CheckLogo(form);
    form.PS->SaveSettings();
  }
  EXPECT_EQ(SubKeys().size(), 27u);
  EXPECT_EQ(KeyLines(std::string(kComposerKey) + "\\cbTiled"), std::vector<std::string>{"\"Checked\"=\"True\""});
  EXPECT_EQ(KeyLines(std::string(kComposerKey) + "\\cbSingleColor"),
            std::vector<std::string>{"\"Value\"=dword:000000ff"});
  {
    TComposerForm form(nullptr);
    form.PS->LoadSettings();
    ExpectEverythingChanged(form);
    EXPECT_EQ(form.Left(), 300);
    EXPECT_EQ(form.Top(), 200);
    EXPECT_TRUE(form.PS->SettingByName("LogoCheck")->AsBoolean());

    // Back to its design value: the value goes, and its emptied sub-key with it.
    form.seFirst->SetValue(24);
    form.cbTiled->SetCheckedValue(false);
    form.PS->SaveSettings();
  }
  const std::vector<std::string> keys = SubKeys();
  EXPECT_EQ(keys.size(), 25u);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "seFirst"), 0);
  EXPECT_EQ(std::count(keys.begin(), keys.end(), "cbTiled"), 0);
}

TEST_F(ComposerSettingsTest, ClosingTheFormKeepsEveryStoredValue) {
  {
    TComposerForm form(nullptr);
    ChangeEverything(form);
    CheckLogo(form);
    form.PS->SaveSettings();
  }
  const std::string stored = Hive();
  // The composer's own form (saving only on request) and one that saves as its window goes.
  for (const char* location : {"pslUser", "pslRegistry"}) {
    SCOPED_TRACE(location);
    auto* form = new TComposerForm(nullptr, location);
    if (form->PS->SaveLocation() == pslUser) form->PS->LoadSettings();  // pslRegistry loads by itself
    ExpectEverythingChanged(*form);
    form->HandleNeeded();
    form->Show();
    delete form;  // WM_DESTROY reaches the settings while the controls are still there
    EXPECT_EQ(Hive(), stored);
  }
  // A change made before the window goes is saved then.
  auto* form = new TComposerForm(nullptr, "pslRegistry");
  form->HandleNeeded();
  form->seLast->SetValue(99);
  delete form;
  EXPECT_EQ(KeyLines(std::string(kComposerKey) + "\\seLast"), std::vector<std::string>{"\"Value\"=dword:00000063"});
  EXPECT_EQ(SubKeys().size(), 27u);
}

}  // namespace
