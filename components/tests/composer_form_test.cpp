// A composer-style form read from its description with every component of the family: its
// values survive the first showing, a colour is picked and a font typed by the user's input, and
// under an X server the desktop back end shows it (the screenshot is kept).
#include <gtest/gtest.h>

#include "component_fixture.h"
#include "components/tav_color_button.h"
#include "components/zev_combo.h"
#include "components/zev_file_list.h"
#include "components/zev_label.h"
#include "components/zev_panel.h"
#include "host/testing/window_screenshot.h"
#include "vcl/formtext.h"
#include "win32/testing/machine_root.h"

namespace {

constexpr const char* kShotFile = "composer_form_screenshot.ppm";

class TComposeForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TComposeForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(kDescription, this,
                      {FormField("ZevPanel1", ZevPanel1), FormField("cbSingleColor", cbSingleColor),
                       FormField("FirstFontColor", FirstFontColor), FormField("FirstFont", FirstFont),
                       FormField("LastFont", LastFont), FormField("Lista", Lista), FormField("ZevLabel1", ZevLabel1),
                       FormField("ZevLabel2", ZevLabel2), FormField("lbTurned", lbTurned)});
    AfterConstruction();
  }

  TZevPanel* ZevPanel1 = nullptr;
  TTavColorButton* cbSingleColor = nullptr;
  TTavColorButton* FirstFontColor = nullptr;
  TZevFontComboBox* FirstFont = nullptr;
  TZevFontComboBox* LastFont = nullptr;
  TZevFileListBox* Lista = nullptr;
  TZevLabel* ZevLabel1 = nullptr;
  TZevLabel* ZevLabel2 = nullptr;
  TZevLabel* lbTurned = nullptr;
  std::vector<std::string> Log;

  void FormCreate(TObject*) {
    Lista->SetDirectory("c:\\jokes");
    FirstFont->SetFontName("Arial");
    LastFont->SetFontName("Arial");
    Log.push_back("create");
  }
  void BackChange(TObject*) { Log.push_back("back"); }
  void TextChange(TObject* Sender) { Log.push_back("text " + static_cast<TComponent*>(Sender)->Name()); }
  void ListaClick(TObject*) { Log.push_back("lista"); }

 private:
  static constexpr const char* kDescription = R"(
object fmCompose: TComposeForm
  Left = 20
  Top = 20
  BorderStyle = bsNone
  ClientWidth = 460
  ClientHeight = 260
  Color = clBtnFace
  OnCreate = FormCreate
  object ZevPanel1: TZevPanel
    Left = 8
    Top = 8
    Width = 200
    Height = 150
    BevelWidth = 2
    BorderInner = fsLowered
    BorderWidth = 2
    FrameSides = []
    Caption = ''
    Color = clTeal
  end
  object cbSingleColor: TTavColorButton
    Left = 220
    Top = 8
    Width = 43
    Height = 21
    Value = clBlue
    ButtonCaption = '&Other...'
    OnChange = BackChange
  end
  object FirstFontColor: TTavColorButton
    Left = 272
    Top = 8
    Width = 43
    Height = 21
    Value = clYellow
    OnChange = TextChange
  end
  object FirstFont: TZevFontComboBox
    Left = 220
    Top = 40
    Width = 180
    Height = 22
    OnChange = TextChange
  end
  object LastFont: TZevFontComboBox
    Left = 220
    Top = 68
    Width = 180
    Height = 22
    OnChange = TextChange
  end
  object Lista: TZevFileListBox
    Left = 220
    Top = 100
    Width = 220
    Height = 100
    Mask = '*.txt'
    ItemHeight = 18
    OnClick = ListaClick
  end
  object ZevLabel1: TZevLabel
    Left = 8
    Top = 166
    Width = 200
    Height = 34
    Alignment = taCenter
    AutoSize = False
    Caption = 'Tarnquill'
    ParentFont = False
    Font.Color = clNavy
    Font.Height = -24
    Font.Name = 'Arial'
    Font.Style = [fsBold]
  end
  object ZevLabel2: TZevLabel
    Left = 8
    Top = 204
    Width = 200
    Height = 26
    Alignment = taCenter
    AutoSize = False
    Caption = 'Version 1.0.1'
    ParentFont = False
    Font.Color = clWindowText
    Font.Height = -19
    Font.Name = 'Arial'
  end
  object lbTurned: TZevLabel
    Left = 410
    Top = 30
    Width = 44
    Height = 60
    AutoSize = False
    Caption = 'Up'
    Angle = 90
  end
end
)";
};

const TClassInfo& TComposeForm::StaticClassInfo() {
  static const TClassInfo info(
      "TComposeForm", &TForm::StaticClassInfo(), {},
      {Handler("FormCreate", &TComposeForm::FormCreate), Handler("BackChange", &TComposeForm::BackChange),
       Handler("TextChange", &TComposeForm::TextChange), Handler("ListaClick", &TComposeForm::ListaClick)});
  return info;
}

void MakeJokes(ScopedMachineRoot& root) {
  for (const char* name : {"one-liners.txt", "questions.txt", "stories.txt", "notes.doc"}) {
    std::filesystem::create_directories(root.DriveC() / "jokes");
    std::ofstream(root.DriveC() / "jokes" / name) << "x";
  }
}

// Picks red from the background button's pop-up and types "cou" into the first font box, all
// by input given to the display as the user's. Returns what went wrong.
std::string PickAndType(TComposeForm& form, const std::function<void()>& pump) {
  auto at = [&](TControl* c, int x, int y, bool down) {
    const TPoint p = c->ClientToScreen({x, y});
    InjectMouseMove(p.x, p.y);
    InjectMouseButton(host::InputEvent::Left, down, p.x, p.y);
    pump();
  };
  at(form.cbSingleColor, 8, 8, true);
  at(form.cbSingleColor, 8, 8, false);
  TTavColorPopUp* popUp = form.cbSingleColor->PopUp();
  if (!popUp || !popUp->Shown()) return "the colour pop-up did not open\n";
  at(popUp, 4 + 0 * 18, 4 + 1 * 18, true);  // cell 4: red
  at(popUp, 4 + 0 * 18, 4 + 1 * 18, false);
  if (form.cbSingleColor->Value() != clRed) return "the pick did not reach Value\n";
  form.FirstFont->SetFocus();
  pump();
  for (int key : {'C', 'O', 'U'}) {
    InjectKey(key, true);
    InjectKey(key, false);
    pump();
  }
  if (form.FirstFont->FontName() != "Courier New") return "typing gave '" + form.FirstFont->FontName() + "'\n";
  return "";
}

TEST_F(ComponentTest, ComposerStyleFormKeepsItsValuesAndTakesTheUsersPicks) {
  ScopedMachineRoot root;
  MakeJokes(root);
  auto* form = new TComposeForm(nullptr);
  form->Show();
  PumpMessages();
  EXPECT_EQ(form->Log, (std::vector<std::string>{"create"}));
  EXPECT_EQ(form->FirstFont->FontName(), "Arial");
  EXPECT_EQ(form->LastFont->FontName(), "Arial");
  ASSERT_EQ(form->Lista->Items()->Count(), 3);
  EXPECT_EQ(form->Lista->Items()->Get(0), "one-liners.txt");
  EXPECT_EQ(form->Lista->ItemHeight(), 18);
  EXPECT_EQ(form->cbSingleColor->Value(), clBlue);  // no OnChange while the form loads
  EXPECT_EQ(form->FirstFontColor->Value(), clYellow);
  EXPECT_EQ(form->ZevPanel1->BorderInner(), TFrameStyle::fsLowered);
  EXPECT_EQ(form->ZevPanel1->FrameSides(), TSides{});
  EXPECT_EQ(form->ZevLabel1->Font()->Name(), "Arial");
  // An angle without a rotation turns the label flat once loaded, and its raster font gives way.
  EXPECT_EQ(form->lbTurned->Rotation(), roFlat);
  EXPECT_TRUE(form->lbTurned->IsTrueType());

  EXPECT_EQ(PickAndType(*form, [] { PumpMessages(); }), "");
  EXPECT_EQ(form->Log,
            (std::vector<std::string>{"create", "back", "text FirstFont", "text FirstFont", "text FirstFont"}));
  delete form;
}

std::string ShowComposerFormAndCheck() {
  ScopedMachineRoot root;
  MakeJokes(root);
  TComposeForm form(nullptr);
  form.Show();
  auto pump = [&] {
    for (int i = 0; i < 5; ++i) Application->ProcessMessages();
  };
  pump();
  std::string faults = PickAndType(form, pump);
  RECT frame;
  GetWindowRect(form.Handle(), &frame);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  auto at = [&](TControl* c, int x, int y) { return form.ScreenToClient(c->ClientToScreen({x, y})); };
  const TPoint swatch = at(form.cbSingleColor, 10, 10), panel = at(form.ZevPanel1, 100, 75);
  const TPoint panelEdge = at(form.ZevPanel1, 0, 0);
  auto shown = [&](const host::Image& s) {
    return s.At(swatch.x, swatch.y) == Rgb(clRed) && s.At(panel.x, panel.y) == Rgb(clTeal);
  };
  SetTimer(form.Handle(), 1, 30, nullptr);
  const host::Image shot = ShootWhenShown(
      {frame.left, frame.top, width, height}, [] { Application->HandleMessage(); }, shown, kShotFile);
  KillTimer(form.Handle(), 1);
  if (shot.width != width) return faults + "the X server gave no picture\n";
  if (!shown(shot)) faults += "the picked red or the panel's teal is not on the screen\n";
  if (shot.At(panelEdge.x, panelEdge.y) != Rgb(clBtnFace)) faults += "the panel's raised outer border is missing\n";
  int navy = 0;
  for (int y = 166; y < 200; ++y)
    for (int x = 8; x < 208; ++x) navy += shot.At(x, y) == Rgb(clNavy);
  if (navy < 50) faults += "the label's navy caption shows " + std::to_string(navy) + " pixels\n";
  return faults;
}

TEST_F(ComponentTest, ComposerStyleFormShowsThroughTheDesktopBackEnd) {
  ExpectShownUnderX(kShotFile, ShowComposerFormAndCheck);
}

}  // namespace
