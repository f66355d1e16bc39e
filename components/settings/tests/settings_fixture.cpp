// The stand-in controls and the composer-shaped form of the settings tests.
#include "settings_fixture.h"

#include "vcl/formreader.h"
#include "vcl/formwriter.h"

namespace {

constexpr char kComposerDescription[] = R"(
object fmLogo: TComposerForm
  Left = 186
  Top = 108
  BorderStyle = bsDialog
  Caption = 'Tarnquill'
  ClientWidth = 592
  ClientHeight = 294
  Font.Name = 'Arial'
  object laJokeFile: TLabel
    Left = 148
    Top = 8
    Width = 120
    Height = 24
    Caption = ''
  end
  object rgBackground: TRadioGroup
    Left = 288
    Top = 8
    Width = 120
    Height = 24
    Items.Strings = ('Single' 'Degraded' 'Bitmap')
    ItemIndex = 0
  end
  object cbSingleColor: TTestColorButton
    Left = 428
    Top = 8
    Width = 120
    Height = 24
    Value = clBlue
  end
  object cbFromColor: TTestColorButton
    Left = 8
    Top = 38
    Width = 120
    Height = 24
    Value = clBlue
  end
  object cbToColor: TTestColorButton
    Left = 148
    Top = 38
    Width = 120
    Height = 24
    Value = clBlack
  end
  object btBitmap: TButton
    Left = 288
    Top = 38
    Width = 120
    Height = 24
    Caption = ''
  end
  object cbTiled: TCheckBox
    Left = 428
    Top = 38
    Width = 120
    Height = 24
    Caption = 'Tiled'
  end
  object FirstFont: TTestFontCombo
    Left = 8
    Top = 68
    Width = 120
    Height = 24
    FontName = 'Arial'
  end
  object seFirst: TSpinEdit
    Left = 148
    Top = 68
    Width = 120
    Height = 24
    MinValue = 8
    MaxValue = 124
    Value = 24
  end
  object FirstFontColor: TTestColorButton
    Left = 288
    Top = 68
    Width = 120
    Height = 24
    Value = clYellow
  end
  object cbFirstBold: TCheckBox
    Left = 428
    Top = 68
    Width = 120
    Height = 24
    Caption = 'Bold'
  end
  object cbFirstItalic: TCheckBox
    Left = 8
    Top = 98
    Width = 120
    Height = 24
    Caption = 'Italic'
  end
  object rgFirstEffect: TRadioGroup
    Left = 148
    Top = 98
    Width = 120
    Height = 24
    Items.Strings = ('Nothing' 'Shadow' '3D')
    ItemIndex = 0
  end
  object cbFirstShadowColor: TTestColorButton
    Left = 288
    Top = 98
    Width = 120
    Height = 24
    Value = clBlack
  end
  object edFirst: TEdit
    Left = 428
    Top = 98
    Width = 120
    Height = 24
    Text = 'This is the default question'
  end
  object LastFont: TTestFontCombo
    Left = 8
    Top = 128
    Width = 120
    Height = 24
    FontName = 'Arial'
  end
  object seLast: TSpinEdit
    Left = 148
    Top = 128
    Width = 120
    Height = 24
    MinValue = 8
    MaxValue = 124
    Value = 16
  end
  object LastFontColor: TTestColorButton
    Left = 288
    Top = 128
    Width = 120
    Height = 24
    Value = clRed
  end
  object cbLastBold: TCheckBox
    Left = 428
    Top = 128
    Width = 120
    Height = 24
    Caption = 'Bold'
  end
  object cbLastItalic: TCheckBox
    Left = 8
    Top = 158
    Width = 120
    Height = 24
    Caption = 'Italic'
  end
  object rgLastEffect: TRadioGroup
    Left = 148
    Top = 158
    Width = 120
    Height = 24
    Items.Strings = ('Nothing' 'Shadow' '3D')
    ItemIndex = 0
  end
  object cbLastShadowColor: TTestColorButton
    Left = 288
    Top = 158
    Width = 120
    Height = 24
    Value = clBlack
  end
  object edLast: TEdit
    Left = 428
    Top = 158
    Width = 120
    Height = 24
    Text = 'This is the default answer'
  end
  object seAnimation: TSpinEdit
    Left = 8
    Top = 188
    Width = 120
    Height = 24
    MinValue = 4
    MaxValue = 32
    Value = 4
  end
  object seSections: TSpinEdit
    Left = 148
    Top = 188
    Width = 120
    Height = 24
    MinValue = 4
    MaxValue = 64
    Value = 4
  end
  object StartColor: TTestColorButton
    Left = 288
    Top = 188
    Width = 120
    Height = 24
    Value = clBlue
  end
  object EndColor: TTestColorButton
    Left = 428
    Top = 188
    Width = 120
    Height = 24
    Value = clNavy
  end
  object PS: TPFormSettings
    CompanyName = 'Halvetra'
    SoftwareName = 'Tarnquill'
    SoftwareVersion = ''
    RegistryRootKey = prkLocalMachine
    FormSaveOpt = [pfsLeft, pfsTop]
    SaveLocation = @SAVE@
    MRULength = 0
    Settings = (
      '' 'laJokeFile.Caption' '' False
      '' 'rgBackground.ItemIndex' '' False
      '' 'cbSingleColor.Value' '' False
      '' 'cbFromColor.Value' '' False
      '' 'cbToColor.Value' '' False
      '' 'btBitmap.Caption' '' False
      '' 'cbTiled.Checked' '' False
      '' 'edFirst.Text' '' False
      '' 'edLast.Text' '' False
      '' 'FirstFont.FontName' '' False
      '' 'FirstFontColor.Value' '' False
      '' 'seFirst.Value' '' False
      '' 'seLast.Value' '' False
      '' 'rgFirstEffect.ItemIndex' '' False
      '' 'rgLastEffect.ItemIndex' '' False
      '' 'cbFirstShadowColor.Value' '' False
      '' 'cbLastShadowColor.Value' '' False
      '' 'cbFirstBold.Checked' '' False
      '' 'cbFirstItalic.Checked' '' False
      '' 'cbLastBold.Checked' '' False
      '' 'cbLastItalic.Checked' '' False
      '' 'LastFont.FontName' '' False
      '' 'LastFontColor.Value' '' False
      '' 'seAnimation.Value' '' False
      '' 'seSections.Value' '' False
      '' 'StartColor.Value' '' False
      '' 'EndColor.Value' '' False
      'LogoCheck' '' '' False)
  end
end
)";

}  // namespace

const std::vector<std::string> kComposerPaths = {
    "laJokeFile.Caption",
    "rgBackground.ItemIndex",
    "cbSingleColor.Value",
    "cbFromColor.Value",
    "cbToColor.Value",
    "btBitmap.Caption",
    "cbTiled.Checked",
    "edFirst.Text",
    "edLast.Text",
    "FirstFont.FontName",
    "FirstFontColor.Value",
    "seFirst.Value",
    "seLast.Value",
    "rgFirstEffect.ItemIndex",
    "rgLastEffect.ItemIndex",
    "cbFirstShadowColor.Value",
    "cbLastShadowColor.Value",
    "cbFirstBold.Checked",
    "cbFirstItalic.Checked",
    "cbLastBold.Checked",
    "cbLastItalic.Checked",
    "LastFont.FontName",
    "LastFontColor.Value",
    "seAnimation.Value",
    "seSections.Value",
    "StartColor.Value",
    "EndColor.Value"};

TComposerForm::TComposerForm(TComponent* owner, const std::string& saveLocation) : TForm(owner) {
  std::string text = kComposerDescription;
  text.replace(text.find("@SAVE@"), 6, saveLocation);
  ReadComponentText(text, this,
                     {FormField("laJokeFile", laJokeFile),
                      FormField("rgBackground", rgBackground),
                      FormField("cbSingleColor", cbSingleColor),
                      FormField("cbFromColor", cbFromColor),
                      FormField("cbToColor", cbToColor),
                      FormField("btBitmap", btBitmap),
                      FormField("cbTiled", cbTiled),
                      FormField("edFirst", edFirst),
                      FormField("edLast", edLast),
                      FormField("FirstFont", FirstFont),
                      FormField("LastFont", LastFont),
                      FormField("FirstFontColor", FirstFontColor),
                      FormField("LastFontColor", LastFontColor),
                      FormField("seFirst", seFirst),
                      FormField("seLast", seLast),
                      FormField("seAnimation", seAnimation),
                      FormField("seSections", seSections),
                      FormField("rgFirstEffect", rgFirstEffect),
                      FormField("rgLastEffect", rgLastEffect),
                      FormField("cbFirstShadowColor", cbFirstShadowColor),
                      FormField("cbLastShadowColor", cbLastShadowColor),
                      FormField("cbFirstBold", cbFirstBold),
                      FormField("cbFirstItalic", cbFirstItalic),
                      FormField("cbLastBold", cbLastBold),
                      FormField("cbLastItalic", cbLastItalic),
                      FormField("StartColor", StartColor),
                      FormField("EndColor", EndColor),
                      FormField("PS", PS)});
  AfterConstruction();
}

const TClassInfo& TComposerForm::StaticClassInfo() {
  static const TClassInfo info("TComposerForm", &TForm::StaticClassInfo());
  return info;
}

TDescribedForm::TDescribedForm(TComponent* owner, const std::string& description) : TForm(owner) {
  ReadComponentText(description, this);
  AfterConstruction();
}

const TClassInfo& TDescribedForm::StaticClassInfo() {
  static const TClassInfo info("TDescribedForm", &TForm::StaticClassInfo());
  return info;
}

const TClassInfo& TTestColorButton::StaticClassInfo() {
  using C = TTestColorButton;
  static const TClassInfo info("TTestColorButton", &TGraphicControl::StaticClassInfo(),
                               {OrdProperty<C>("Value", TypeInfo_TColor, &C::Value, &C::SetValue)}, {},
                               CreateComponent<C>);
  return info;
}

const TClassInfo& TTestFontCombo::StaticClassInfo() {
  using C = TTestFontCombo;
  static const TClassInfo info("TTestFontCombo", &TGraphicControl::StaticClassInfo(),
                               {StrProperty<C>("FontName", &C::FontName, &C::SetFontName)}, {}, CreateComponent<C>);
  return info;
}

const TClassInfo& TTestPanelItem::StaticClassInfo() {
  using C = TTestPanelItem;
  static const TClassInfo info("TTestPanelItem", &TCollectionItem::StaticClassInfo(),
                               {OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::Width, 50),
                                StrProperty<C>("Text", &C::Text, &C::Text)});
  return info;
}

void TTestKeeper::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "Notes",
      [this](TReader* Reader) {
        std::vector<std::string> notes;
        Reader->ReadListBegin();
        while (!Reader->EndOfList()) notes.push_back(Reader->ReadString());
        Reader->ReadListEnd();
        Notes = notes;
      },
      [this](TWriter* Writer) {
        Writer->WriteListBegin();
        for (const std::string& note : Notes) Writer->WriteString(note);
        Writer->WriteListEnd();
      },
      !Notes.empty());
}

const TClassInfo& TTestKeeper::StaticClassInfo() {
  using C = TTestKeeper;
  static const TClassInfo info("TTestKeeper", &TComponent::StaticClassInfo(),
                               {ObjectProperty<C, TCollection>("Panels", &C::Panels, &C::SetPanels),
                                ObjectProperty<C, TComponent>("Partner", &C::Partner, &C::SetPartner),
                                ObjectProperty<C, TFont>("Font", &C::Font, nullptr),
                                ObjectProperty<C, TFont>("Missing", &C::Missing, &C::SetMissing)},
                               {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] static const bool testClassesRegistered =
    (RegisterClass(TTestColorButton::StaticClassInfo()), RegisterClass(TTestFontCombo::StaticClassInfo()),
     RegisterClass(TTestKeeper::StaticClassInfo()), true);
