#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "settings/hidden_props.h"
#include "settings_fixture.h"
#include "vcl/menus.h"
#include "vcl/system.h"

namespace {

// A form description with one settings component; Body goes inside PS, Extra beside it.
std::string Describe(const std::string& formProps, const std::string& psProps, const std::string& extra = "") {
  return "object fmTest: TDescribedForm\n  Left = 100\n  Top = 50\n  Width = 300\n  Height = 200\n" + formProps +
         "  object cbColor: TTestColorButton\n    Value = clBlue\n  end\n" + extra +
         "  object PS: TPFormSettings\n    CompanyName = 'Halvetra'\n    SoftwareName = 'Tests'\n" +
         "    RegistryRootKey = prkLocalMachine\n" + psProps +
         "    Settings = ('' 'cbColor.Value' '' False)\n  end\nend\n";
}

constexpr char kTestKey[] = "Software\\Halvetra\\Tests\\fmTest";

class FormSettingsTest : public SettingsTest {
 protected:
  std::vector<std::string> FormKeyNames() const {
    std::vector<std::string> names;
    for (const std::string& line : KeyLines(kTestKey))
      if (line[0] == '"') names.push_back(line.substr(0, line.find('=')));  // not the hex continuations
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FormSettingsTest, KeysNameTheNonEmptyParts) {
  struct Case {
    std::string props;
    std::string key;
  };
  const std::vector<Case> cases = {
      {"    CompanyName = ''\n", "Software\\Tests\\fmTest"},
      {"    CompanyName = ''\n    SoftwareName = ''\n", "Software\\fmTest"},
      {"    SoftwareVersion = '1.0'\n", "Software\\Halvetra\\Tests\\1.0\\fmTest"},
  };
  for (const Case& c : cases) {
    TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n" + c.props));
    EXPECT_EQ(form.PS()->GetKeyName(), c.key);
  }
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n"));
  form.PS()->OnSetFormKeyName = [](TObject*, std::string& name) { name += "2"; };
  EXPECT_EQ(form.PS()->GetKeyName(), "Software\\Halvetra\\Tests\\fmTest2");

  // The company name starts as the registered organisation.
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", true));
  registry.WriteString("RegisteredOrganization", "Owner Ltd");
  registry.CloseKey();
  TDescribedForm owned(nullptr, "object fmOwned: TDescribedForm\n  object PS: TPFormSettings\n  end\nend\n");
  EXPECT_EQ(owned.PS()->CompanyName(), "Owner Ltd");
}

TEST_F(FormSettingsTest, DefaultsFollowTheFormsBorder) {
  struct Case {
    std::string form;
    TPFormSaveOpts options;
    int mruLength;
  };
  const std::vector<Case> cases = {
      {"  BorderStyle = bsDialog\n", {pfsLeft, pfsTop}, 0},
      {"  BorderStyle = bsSingle\n", {pfsLeft, pfsTop}, 0},
      {"  BorderStyle = bsNone\n", {}, 0},
      {"  BorderStyle = bsSizeable\n  BorderIcons = [biSystemMenu]\n", {pfsLeft, pfsTop, pfsWidth, pfsHeight}, 4},
      {"  BorderStyle = bsSizeable\n", {pfsLeft, pfsTop, pfsWidth, pfsHeight, pfsState}, 4},
  };
  for (const Case& c : cases) {
    TDescribedForm form(nullptr, Describe(c.form, "    SaveLocation = pslUser\n"));
    EXPECT_EQ(form.PS()->FormSaveOpt(), c.options) << c.form;
    EXPECT_EQ(form.PS()->MRULength(), c.mruLength) << c.form;
  }
  // A dialog stores Left, Top and ScreenRes only.
  TDescribedForm dialog(nullptr, Describe("  BorderStyle = bsDialog\n", "    SaveLocation = pslUser\n"));
  dialog.PS()->SaveSettings();
  EXPECT_EQ(FormKeyNames(), (std::vector<std::string>{"\"Left\"", "\"ScreenRes\"", "\"Top\""}));
}

TEST_F(FormSettingsTest, EverythingKeptByASizeableFormComesBack) {
  {
    TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n    MRUValidate = False\n"));
    form.SetBounds(120, 80, 400, 250);
    form.PS()->MRUList()->Add("c:\\a.txt");
    form.PS()->MRUList()->Add("c:\\b.txt");
    form.PS()->SaveSettings();
  }
  EXPECT_EQ(FormKeyNames(), (std::vector<std::string>{"\"Height\"", "\"Left\"", "\"MRUList\"", "\"MainForm\"",
                                                      "\"ScreenRes\"", "\"State\"", "\"Top\"", "\"Width\""}));
  const std::vector<std::string> lines = KeyLines(kTestKey);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"MainForm\"=hex:04,00,00,00,00"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"State\"=dword:00000000"), lines.end());
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n    MRUValidate = False\n"));
  form.PS()->LoadSettings();
  EXPECT_EQ(std::vector<int>({form.Left(), form.Top(), form.Width(), form.Height()}),
            std::vector<int>({120, 80, 400, 250}));
  EXPECT_EQ(form.PS()->MRUList()->Text(), "c:\\a.txt\r\nc:\\b.txt\r\n");
}

TEST_F(FormSettingsTest, AMaximisedWindowKeepsItsNormalRectangle) {
  {
    TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n"));
    form.Show();
    form.SetBounds(60, 40, 320, 240);
    ShowWindow(form.Handle(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(IsZoomed(form.Handle()));
    form.PS()->SaveSettings();
  }
  const std::vector<std::string> lines = KeyLines(kTestKey);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"State\"=dword:00000002"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"Width\"=dword:00000140"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"Left\"=dword:0000003c"), lines.end());
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n"));
  form.PS()->LoadSettings();
  EXPECT_EQ(form.WindowState(), wsMaximized);
}

// A main form: what the application's CreateForm makes.
class TMainTestForm : public TDescribedForm {
 public:
  explicit TMainTestForm(TComponent* owner) : TDescribedForm(owner, Describe("", "    SaveLocation = pslUser\n")) {}
};

TEST_F(FormSettingsTest, TheMainFormStoresItsStateAndMinimisedComesBack) {
  {
    TMainTestForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    main->SetBounds(70, 60, 300, 200);
    ShowWindow(main->Handle(), SW_MINIMIZE);
    main->PS()->SaveSettings();
    delete main;
  }
  const std::vector<std::string> lines = KeyLines(kTestKey);
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"State\"=dword:00000001"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"MainForm\"=hex:04,00,00,00,01"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "\"Left\"=dword:00000046"), lines.end());
  TMainTestForm* main = nullptr;
  Application->CreateForm(main);
  main->PS()->LoadSettings();
  EXPECT_EQ(main->WindowState(), wsMinimized);
  EXPECT_EQ(main->Left(), 70);
  delete main;
}

TEST(PlaceStoredWindow, PullsBackClampsAndCentres) {
  struct Case {
    const char* what;
    TPPlacement stored;
    std::string screen;
    bool centred;
    TPPlacement expected;
  };
  const TPPlacement form{100, 50, 300, 200};
  const std::vector<Case> cases = {
      {"same screen: right edge at the screen's edge", {900, 50, 300, 200}, "800x600", false, {500, 50, 300, 200}},
      {"same screen: bottom edge too", {10, 550, 300, 200}, "800x600", false, {10, 400, 300, 200}},
      {"other resolution: at most 20 short of the edge", {900, 700, 300, 200}, "1024x768", false, {780, 580, 300, 200}},
      {"negative positions become 0", {-40, -5, 300, 200}, "800x600", false, {0, 0, 300, 200}},
      {"only left and top: the form's own size", {700, 500, -1, -1}, "800x600", false, {500, 400, -1, -1}},
      {"only left and top on another screen", {900, 50, -1, -1}, "640x480", false, {780, 50, -1, -1}},
      {"nothing stored: held on the screen", {-1, -1, -1, -1}, "", false, {100, 50, -1, -1}},
      {"nothing stored, centred", {-1, -1, -1, -1}, "", true, {250, 200, -1, -1}},
  };
  for (const Case& c : cases) {
    const TPPlacement p = PlaceStoredWindow(c.stored, c.screen, 800, 600, c.centred, form);
    EXPECT_EQ(std::vector<int>({p.Left, p.Top, p.Width, p.Height}),
              std::vector<int>({c.expected.Left, c.expected.Top, c.expected.Width, c.expected.Height}))
        << c.what;
  }
  const TPPlacement off = PlaceStoredWindow({-1, -1, -1, -1}, "", 800, 600, false, {700, 550, 300, 200});
  EXPECT_EQ(std::vector<int>({off.Left, off.Top}), std::vector<int>({500, 400}));
}

TEST_F(FormSettingsTest, StoredPlacementMeetsTheRealScreen) {
  const int sw = GetSystemMetrics(SM_CXSCREEN);
  const int sh = GetSystemMetrics(SM_CYSCREEN);
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kTestKey, true));
  registry.WriteInteger("Left", sw + 100);
  registry.WriteInteger("Top", 20);
  registry.WriteString("ScreenRes", Format("%dx%d", {sw, sh}));
  registry.CloseKey();
  // A dialog keeps only Left and Top: its own width pulls it back (never off the screen).
  TDescribedForm form(nullptr, Describe("  BorderStyle = bsDialog\n", "    SaveLocation = pslUser\n"));
  form.PS()->LoadSettings();
  EXPECT_EQ(form.Left(), sw - form.Width());
  EXPECT_EQ(form.Top(), 20);

  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kTestKey, true));
  registry.WriteString("ScreenRes", "1x1");
  registry.CloseKey();
  form.PS()->LoadSettings();
  EXPECT_EQ(form.Left(), sw - 20);

  // A centred form with nothing stored is centred by the settings.
  TDescribedForm centred(nullptr,
                         "object fmCentred: TDescribedForm\n  Width = 200\n  Height = 100\n"
                         "  Position = poScreenCenter\n  object PS: TPFormSettings\n  end\nend\n");
  EXPECT_EQ(centred.Position(), poDefaultPosOnly);
  EXPECT_EQ(centred.Left(), (sw - 200) / 2);
  EXPECT_EQ(centred.Top(), (sh - 100) / 2);
}

TEST_F(FormSettingsTest, SettingByNameComparesExactlyAndRaisesEveryTime) {
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n"));
  auto* named = new TSetorra(&form);
  named->SetName("LogoCheck");
  form.PS()->AddSetting(named);
  EXPECT_EQ(form.PS()->SettingByName("LogoCheck"), named);
  for (int i = 0; i < 2; ++i) {
    try {
      form.PS()->SettingByName("logocheck");
      ADD_FAILURE() << "no exception";
    } catch (const ESetorrasException& e) {
      EXPECT_EQ(e.Message, "No such setting: \"logocheck\"");
    }
  }
}

TEST_F(FormSettingsTest, GuardsRefuseChangesAtRunTime) {
  auto message = [](const std::function<void()>& f) {
    try {
      f();
    } catch (const EPFormSettingsException& e) {
      return e.Message;
    } catch (const EPAppSettingsException& e) {
      return "app: " + e.Message;
    }
    return std::string("no exception");
  };
  TDescribedForm form(nullptr, Describe("", ""));
  TPFormSettings* ps = form.PS();
  EXPECT_EQ(message([&] { ps->SetSaveLocation(pslUser); }), "Cannot change SaveLocation property at run time");
  EXPECT_EQ(message([&] { ps->SetCompanyName("x"); }), "Cannot change CompanyName property at run time");
  EXPECT_EQ(message([&] { ps->SetSoftwareName("x"); }), "Cannot change SoftwareName property at run time");
  EXPECT_EQ(message([&] { ps->SetSoftwareVersion("x"); }), "Cannot change SoftwareVersion property at run time");
  EXPECT_EQ(message([&] { ps->SetRegistryRootKey(prkCurrentUser); }),
            "Cannot change RegistryRootKey property at run time");
  EXPECT_EQ(message([&] { ps->SetCompanyName("Halvetra"); }), "no exception");  // unchanged

  TDescribedForm user(nullptr, Describe("", "    SaveLocation = pslUser\n"));
  EXPECT_EQ(message([&] { user.PS()->SetCompanyName("Other"); }), "no exception");
  EXPECT_EQ(user.PS()->GetKeyName(), "Software\\Other\\Tests\\fmTest");
  EXPECT_EQ(message([&] { user.PS()->SetSaveLocation(pslRegistry); }),
            "Cannot change SaveLocation property at run time");

  TComponent owner(nullptr);
  EXPECT_EQ(message([&] { new TPFormSettings(&owner); }), "Parent must be a TCustomForm descendent");
  EXPECT_EQ(owner.ComponentCount(), 0);

  TPAppSettings app(nullptr);
  EXPECT_EQ(message([&] { app.SetSoftwareName("x"); }), "app: Cannot change SoftwareName property at run time");
  EXPECT_EQ(message([&] { app.SetSaveLocation(pslUser); }), "app: Cannot change SaveLocation property at run time");
}

TEST_F(FormSettingsTest, TheWindowHookSavesOnceEachTimeTheFormGoes) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + kTestKey + "\\cbColor", true));
  registry.WriteInteger("Value", clRed);
  registry.CloseKey();
  auto* form = new TDescribedForm(nullptr, Describe("  BorderStyle = bsDialog\n", ""));
  EXPECT_EQ(form->Find<TTestColorButton>("cbColor")->Value(), clRed);  // restored in Loaded
  int saves = 0;
  bool veto = false;
  form->PS()->OnPreSave = [&](TObject*) { ++saves; };
  form->PS()->OnAutoSave = [&](TObject*, bool& proceed) { proceed = !veto; };
  form->Show();
  form->Hide();
  EXPECT_EQ(saves, 1);
  form->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(saves, 1);  // saved already, not shown since
  form->Show();
  form->Find<TTestColorButton>("cbColor")->SetValue(clLime);
  veto = true;
  form->Hide();
  EXPECT_EQ(saves, 2);
  EXPECT_EQ(KeyLines(std::string(kTestKey) + "\\cbColor"), std::vector<std::string>{"\"Value\"=dword:000000ff"});
  form->Show();
  veto = false;
  delete form;
  EXPECT_EQ(saves, 3);
  EXPECT_EQ(KeyLines(std::string(kTestKey) + "\\cbColor"), std::vector<std::string>{"\"Value\"=dword:0000ff00"});
}

TEST_F(FormSettingsTest, TheEndOfTheSessionAsksToStartTheProgramAgain) {
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n    AutoRestartApp = True\n"));
  form.Perform(WM_ENDSESSION, FALSE, 0);
  TRegistry registry;
  EXPECT_FALSE(registry.KeyExists("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"));
  form.Perform(WM_ENDSESSION, TRUE, 0);
  ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false));
  // "RV", then the letters of SoftwareName and CompanyName upper-cased, at most 20 characters.
  EXPECT_EQ(registry.ReadString("RVTESTSHALVETRA"), "\"" + ParamStr(0) + "\"");
  registry.CloseKey();
}

TEST_F(FormSettingsTest, FreeingTheSettingsFirstGivesTheWindowProcedureBack) {
  TDescribedForm form(nullptr, Describe("", "    SaveLocation = pslUser\n"));
  form.HandleNeeded();
  delete form.PS();
  form.Perform(WM_SHOWWINDOW, TRUE, 0);
  form.Show();
  form.Hide();
  EXPECT_EQ(form.PS(), nullptr);
}

TEST_F(FormSettingsTest, UserSaveAndRestoreCallTheHandlerPerSettingAndPlacement) {
  TDescribedForm form(nullptr, Describe("  BorderStyle = bsDialog\n", "    SaveLocation = pslUser\n"));
  std::vector<std::string> saved;
  form.PS()->OnUserSave = [&](TObject*, TSetorra* s) {
    saved.push_back(s->Name() + s->BoundProperty() + "=" + s->AsString());
  };
  form.PS()->UserSave();
  const std::string screen = Format("%dx%d", {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  EXPECT_EQ(saved, (std::vector<std::string>{"cbColor.Value=16711680", "Left=100", "Top=50", "ScreenRes=" + screen}));
  form.PS()->OnUserRestore = [&](TObject*, TSetorra* s) {
    if (s->Name() == "Left") s->SetAsInteger(33);
    if (s->BoundProperty() == "cbColor.Value") s->SetAsInteger(clRed);
  };
  form.PS()->UserRestore();
  EXPECT_EQ(form.Left(), 33);
  EXPECT_EQ(form.Find<TTestColorButton>("cbColor")->Value(), clRed);
}

TEST_F(FormSettingsTest, ApplicationSettingsFeedTheFormsRelatedSettings) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey("\\Software\\Halvetra\\Tests\\AppSettings", true));
  registry.WriteInteger("Shared", clRed);
  registry.CloseKey();
  const std::string description =
      "object fmApp: TDescribedForm\n"
      "  object cbColor: TTestColorButton\n    Value = clBlue\n  end\n"
      "  object AS: TPAppSettings\n    CompanyName = 'Halvetra'\n    SoftwareName = 'Tests'\n"
      "    RegistryRootKey = prkLocalMachine\n    Settings = ('Shared' False)\n  end\n"
      "  object PS: TPFormSettings\n    SaveLocation = pslUser\n    AppSettingsCtrl = AS\n"
      "    Settings = ('' 'cbColor.Value' 'Shared' False)\n  end\nend\n";
  {
    TDescribedForm form(nullptr, description);
    auto* app = form.Find<TPAppSettings>("AS");
    EXPECT_EQ(app->GetKeyName(), "Software\\Halvetra\\Tests\\AppSettings");
    EXPECT_EQ(app->LinkedCount(), 1);
    EXPECT_EQ(form.PS()->CompanyName(), "Halvetra");
    EXPECT_EQ(form.Find<TTestColorButton>("cbColor")->Value(), clRed);
    // The form's store leaves the related setting to the application's.
    form.PS()->SaveSettings();
    EXPECT_FALSE(KeyExists("Software\\Halvetra\\Tests\\fmApp\\cbColor"));
    app->SettingByName("Shared")->SetAsInteger(clLime);  // follows at once
    EXPECT_EQ(form.Find<TTestColorButton>("cbColor")->Value(), clLime);
  }
  // Saved as it went.
  EXPECT_EQ(KeyLines("Software\\Halvetra\\Tests\\AppSettings"), std::vector<std::string>{"\"Shared\"=dword:0000ff00"});
}

TEST_F(FormSettingsTest, TheHiddenPropertiesFilerWritesAndReadsOneProperty) {
  TTestKeeper keeper(nullptr);
  keeper.Notes = {"a", "b"};
  TPHiddenPropsUse filer(&keeper);
  EXPECT_TRUE(filer.Has("notes"));
  EXPECT_FALSE(filer.Has("Panels"));
  TMemoryStream stream;
  EXPECT_TRUE(filer.WriteProp("Notes", &stream));
  EXPECT_FALSE(filer.WriteProp("Other", &stream));
  keeper.Notes.clear();
  stream.SetPosition(0);
  EXPECT_TRUE(filer.ReadProp("Notes", &stream));
  EXPECT_EQ(keeper.Notes, (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(filer.ReadProp("Other", &stream));
}

// ---- Recently used files ----------------------------------------------------------------------

class MRUTest : public FormSettingsTest {
 protected:
  static std::string Menu(const std::string& psProps) {
    return Describe("", "    SaveLocation = pslUser\n    MRUMenuItem = miRecent\n" + psProps,
                    "  object MainMenu1: TMainMenu\n    object miFile: TMenuItem\n      Caption = '&File'\n"
                    "      object miOpen: TMenuItem\n        Caption = '&Open'\n      end\n"
                    "      object miRecent: TMenuItem\n        Caption = 'Recent'\n      end\n"
                    "      object miExit: TMenuItem\n        Caption = 'E&xit'\n      end\n    end\n  end\n");
  }
  static std::vector<std::string> Captions(TMenuItem* item) {
    std::vector<std::string> captions;
    for (int i = 0; i < item->Count(); ++i) captions.push_back(item->Items(i)->Caption());
    return captions;
  }
  static void Fill(TPFormSettings* ps, std::initializer_list<const char*> files) {
    ps->MRUList()->Clear();
    for (const char* f : files) ps->MRUList()->Add(f);
    ps->RebuildMRU();
  }
};

TEST_F(MRUTest, EntriesAreNumberedUnderTheirMenu) {
  TDescribedForm form(nullptr, Menu("    MRUValidate = False\n"));
  TPFormSettings* ps = form.PS();
  TMenuItem* recent = form.Find<TMenuItem>("miRecent");
  Fill(ps, {"c:\\docs\\one.txt", "d:\\two.txt", "c:\\three.txt"});
  EXPECT_EQ(Captions(recent), (std::vector<std::string>{"&1 c:\\docs\\one.txt", "&2 d:\\two.txt", "&3 c:\\three.txt"}));
  EXPECT_EQ(recent->Items(0)->Tag(), 46371);
  ps->SetMRUDisplay(pmdFileOnly);
  EXPECT_EQ(Captions(recent), (std::vector<std::string>{"&1 one.txt", "&2 two.txt", "&3 three.txt"}));

  std::vector<std::string> clicks;
  ps->OnMRUClick = [&](TObject*, TMenuItem* item, const std::string& file, int index) {
    clicks.push_back(Format("%d %s %s", {index, file, item->Caption()}));
  };
  recent->Items(1)->Click();
  EXPECT_EQ(clicks, std::vector<std::string>{"2 d:\\two.txt &2 two.txt"});

  // Lengths outside 0..9 are ignored; a shorter one drops the oldest entries.
  ps->SetMRULength(10);
  ps->SetMRULength(-1);
  EXPECT_EQ(ps->MRULength(), 4);
  ps->SetMRULength(2);
  EXPECT_EQ(Captions(recent), (std::vector<std::string>{"&1 one.txt", "&2 two.txt"}));
  EXPECT_EQ(ps->MRUList()->Count(), 2);
  ps->SetMRUMaxItemWidth(99);
  ps->SetMRUMaxItemWidth(301);
  EXPECT_EQ(ps->MRUMaxItemWidth(), 200);

  // Before the menu item, in its parent, framed by separators.
  ps->SetMRUPlacement(pmpBefore);
  EXPECT_EQ(recent->Count(), 0);
  TMenuItem* file = form.Find<TMenuItem>("miFile");
  EXPECT_EQ(Captions(file),
            (std::vector<std::string>{"&Open", "-", "&1 one.txt", "&2 two.txt", "-", "Recent", "E&xit"}));
  EXPECT_EQ(file->Items(1)->Tag(), 46358);
  ps->ClearMRUItems();
  EXPECT_EQ(Captions(file), (std::vector<std::string>{"&Open", "Recent", "E&xit"}));
}

TEST_F(MRUTest, ValidationDropsFilesThatAreGoneAndLongPathsAreShortened) {
  TDescribedForm form(nullptr, Menu("    MRUDisplay = pmdAbbPath\n    MRUMaxItemWidth = 100\n"));
  std::ofstream(root_.DriveC() / "kept.txt") << "x";
  const std::string longPath = "c:\\a very long folder name\\another long folder name\\kept.txt";
  std::filesystem::create_directories(root_.DriveC() / "a very long folder name" / "another long folder name");
  std::ofstream(root_.DriveC() / "a very long folder name" / "another long folder name" / "kept.txt") << "x";
  Fill(form.PS(), {"c:\\kept.txt", "c:\\gone.txt", longPath.c_str()});
  TMenuItem* recent = form.Find<TMenuItem>("miRecent");
  ASSERT_EQ(recent->Count(), 2);
  EXPECT_EQ(recent->Items(0)->Caption(), "&1 c:\\kept.txt");
  const std::string shortened = recent->Items(1)->Caption();
  EXPECT_NE(shortened.find("..."), std::string::npos) << shortened;
  EXPECT_LT(shortened.size(), longPath.size());
  EXPECT_EQ(shortened.substr(shortened.size() - 9), "\\kept.txt");
  EXPECT_EQ(form.PS()->MRUList()->Count(), 2);
}

}  // namespace

namespace {

TEST_F(MRUTest, AMenuItemThatGoesIsForgotten) {
  TDescribedForm form(nullptr, Menu("    MRUValidate = False\n"));
  Fill(form.PS(), {"c:\\one.txt"});
  delete form.Find<TMenuItem>("miRecent");
  EXPECT_EQ(form.PS()->MRUMenuItem(), nullptr);
  form.PS()->RebuildMRU();
  form.PS()->SetMRULength(3);
  EXPECT_EQ(form.PS()->MRULength(), 3);
}

}  // namespace
