#include <gtest/gtest.h>

#include "forms_fixture.h"
#include "vcl/formtext.h"
#include "vcl/stdctrls.h"
#include "win32/testing/windows.h"

namespace {

class TDescPanel : public TCustomControl {
 public:
  VCL_CLASS_INFO
  using TCustomControl::TCustomControl;
};

class TDescBox : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  using TGraphicControl::TGraphicControl;
};

class TDescForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TDescForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(kDescription, this, {FormField("pnTools", pnTools), FormField("bxLogo", bxLogo)});
    AfterConstruction();
  }

  TDescPanel* pnTools = nullptr;
  TDescBox* bxLogo = nullptr;
  std::vector<std::string> Log;

  void FormCreate(TObject*) { Log.push_back("create"); }
  void bxLogoClick(TObject* sender) { Log.push_back("click " + static_cast<TComponent*>(sender)->Name()); }

 private:
  static constexpr const char* kDescription = R"(
object fmDesc: TDescForm
  Left = 40
  Top = 30
  BorderStyle = bsNone
  ClientWidth = 200
  ClientHeight = 120
  Caption = 'Description'
  Color = clWhite
  Font.Name = 'Arial'
  Font.Height = -11
  Visible = True
  OnCreate = FormCreate
  object pnTools: TDescPanel
    Left = 0
    Top = 0
    Width = 50
    Height = 40
    Align = alTop
    ParentColor = True
    object bxLogo: TDescBox
      Left = 20
      Top = 10
      Width = 30
      Height = 20
      Cursor = crHandPoint
      OnClick = bxLogoClick
    end
  end
end
)";
};

const TClassInfo& TDescPanel::StaticClassInfo() {
  static const TClassInfo info("TDescPanel", &TCustomControl::StaticClassInfo(), {}, {}, CreateComponent<TDescPanel>);
  return info;
}
const TClassInfo& TDescBox::StaticClassInfo() {
  static const TClassInfo info("TDescBox", &TGraphicControl::StaticClassInfo(), {}, {}, CreateComponent<TDescBox>);
  return info;
}
const TClassInfo& TDescForm::StaticClassInfo() {
  static const TClassInfo info(
      "TDescForm", &TForm::StaticClassInfo(), {},
      {Handler("FormCreate", &TDescForm::FormCreate), Handler("bxLogoClick", &TDescForm::bxLogoClick)});
  return info;
}

}  // namespace

TEST_F(FormsTest, FormFromADescriptionShowsAndItsNestedControlTakesAClick) {
  RegisterClass(TDescPanel::StaticClassInfo());
  RegisterClass(TDescBox::StaticClassInfo());
  TDescForm* form = nullptr;
  Application->CreateForm(form);
  EXPECT_EQ(Application->MainForm(), form);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"create"}));

  // Read, loaded and aligned: shown at its place with the panel across the top.
  ASSERT_NE(form->bxLogo, nullptr);
  EXPECT_EQ(form->bxLogo->Parent(), form->pnTools);
  EXPECT_EQ(form->pnTools->Parent(), form);
  EXPECT_TRUE(form->Visible());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(TRectValue(form->pnTools->BoundsRect()), (TRectValue{0, 0, 200, 40}));
  EXPECT_EQ(form->ClientWidth(), 200);
  EXPECT_EQ(form->bxLogo->Cursor(), crHandPoint);
  EXPECT_EQ(form->Caption(), "Description");
  // Colour and font reach the nested controls that take their parent's.
  EXPECT_EQ(form->pnTools->Color(), clWhite);
  EXPECT_EQ(form->bxLogo->Font()->Name(), "Arial");
  EXPECT_EQ(form->bxLogo->Font()->Height(), -11);
  EXPECT_NE(form->bxLogo->Color(), clWhite);

  // A real click at the box's place on the screen: 40 + 20 + 5, 30 + 10 + 5.
  InjectMouseMove(65, 45);
  InjectMouseButton(host::InputEvent::Left, true, 65, 45);
  InjectMouseButton(host::InputEvent::Left, false, 65, 45);
  ASSERT_TRUE(PumpUntil([&] { return form->Log.size() > 1; }));
  EXPECT_EQ(form->Log, (std::vector<std::string>{"create", "click bxLogo"}));
  delete form;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(FormsTest, TheDescriptionsActiveControlTakesTheFocusWhenTheFormShows) {
  TForm form(nullptr);
  ReadComponentText(R"(
object fmFocus: TForm
  BorderStyle = bsNone
  ClientWidth = 100
  ClientHeight = 60
  ActiveControl = edSecond
  object edFirst: TEdit
    Top = 0
  end
  object edSecond: TEdit
    Top = 30
  end
end
)",
                    &form);
  auto* second = dynamic_cast<TWinControl*>(form.FindComponent("edSecond"));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(form.ActiveControl(), second);
  form.Show();
  EXPECT_EQ(GetFocus(), second->Handle());
}
