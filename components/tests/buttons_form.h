#pragma once
// A form read from its description with buttons set up as the composer's: bsAmbrel, an inset
// caption, a bold font when focused, Arial -11 in navy and a solid background; one of them a
// toggle. Older properties on the buttons themselves are read and dropped.
#include <string>
#include <vector>

#include "components/graphic_button.h"
#include "vcl/formtext.h"
#include "vcl/forms.h"

class TButtonsForm : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TButtonsForm(TComponent* owner) : TForm(owner) {
    ReadComponentText(
        kDescription, this,
        {FormField("btLogo", btLogo), FormField("btAnimation", btAnimation), FormField("btHelp", btHelp)});
    AfterConstruction();
  }

  ToxButton* btLogo = nullptr;
  ToxButton* btAnimation = nullptr;
  ToxButton* btHelp = nullptr;
  std::vector<std::string> Log;

  void btLogoClick(TObject*) { Log.push_back("logo"); }
  void btAnimationClick(TObject*) { Log.push_back(btAnimation->Value() ? "animation on" : "animation off"); }
  void btHelpClick(TObject*) { Log.push_back("help"); }

  static const TClassInfo& Info() {
    using C = TButtonsForm;
    static const TClassInfo info(
        "TButtonsForm", &TForm::StaticClassInfo(), {},
        {Handler<C>("btLogoClick", &C::btLogoClick), Handler<C>("btAnimationClick", &C::btAnimationClick),
         Handler<C>("btHelpClick", &C::btHelpClick)});
    return info;
  }

 private:
  static constexpr const char* kDescription = R"(
object fmButtons: TButtonsForm
  Left = 60
  Top = 60
  BorderStyle = bsNone
  Caption = 'Tarnquill'
  ClientWidth = 300
  ClientHeight = 110
  Color = clBtnFace
  Visible = True
  object btLogo: ToxButton
    Left = 8
    Top = 8
    Width = 129
    Height = 25
    Caption = 'Save logo now'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = []
    ParentFont = False
    TabOrder = 0
    OnClick = btLogoClick
    ButtonType = oxbCommand
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    MultiLine = False
    TextAngle = 0
    TextX = 0
    TextY = 0
    Background.DitherDown = True
    Background.Style = oxbSolid
    Background.Gradient = clWhite
    Value = False
    Group = 0
    GroupAllowNoSel = False
    TransparentColor = clWhite
    DitherDown = True
  end
  object btAnimation: ToxButton
    Left = 8
    Top = 40
    Width = 129
    Height = 25
    Caption = 'Show palette animation'
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
    ParentFont = False
    TabOrder = 1
    OnClick = btAnimationClick
    ButtonType = oxbToggle
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    TextX = 0
    TextY = 0
    Background.Style = oxbSolid
    Background.Gradient = clWhite
    GroupAllowNoSel = True
    TransparentColor = 8421504
  end
  object btHelp: ToxButton
    Left = 150
    Top = 8
    Width = 129
    Height = 57
    Font.Color = clNavy
    Font.Height = -11
    Font.Name = 'Arial'
    ParentFont = False
    TabOrder = 2
    OnClick = btHelpClick
    Style = bsAmbrel
    Font3D = fsInset
    FocusStyle = [fsBoldFont]
    MultiLine = True
    TextX = 0
    TextY = 0
    Lines.Strings = (
      'Help on'
      'the composer')
    Background.Style = oxbSolid
    DitherDown = False
  end
end
)";
};

inline const TClassInfo& TButtonsForm::StaticClassInfo() { return Info(); }
