#pragma once
// Forms for testing and measuring the settings store: stand-ins for the composer's own controls
// (colour buttons with a Value, font combo boxes with a FontName), a component with a collection
// and a property it stores itself, a form shaped like the composer's main window with its 28
// settings in stored order, and a form built from any description.
#include <string>
#include <vector>

#include "settings/setorras.h"
#include "vcl/collections.h"
#include "vcl/extctrls.h"
#include "vcl/formreader.h"
#include "vcl/formtext.h"
#include "vcl/formwriter.h"
#include "vcl/forms.h"
#include "vcl/spin.h"
#include "vcl/stdctrls.h"

// The colour button's stand-in: a control with an integer Value of colour type.
class TTestColorButton : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  using TGraphicControl::TGraphicControl;
  TColor Value() const { return value_; }
  void SetValue(TColor v) { value_ = v; }

 private:
  TColor value_ = clBlack;
};

// The font combo box's stand-in: a control with a FontName.
class TTestFontCombo : public TGraphicControl {
 public:
  VCL_CLASS_INFO
  using TGraphicControl::TGraphicControl;
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& v) { fontName_ = v; }

 private:
  std::string fontName_;
};

// A component with a property it stores itself ("Notes", a list of strings) and a collection.
class TTestPanelItem : public TCollectionItem {
 public:
  VCL_CLASS_INFO
  using TCollectionItem::TCollectionItem;
  int Width = 50;
  std::string Text;
};

class TTestKeeper : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTestKeeper(TComponent* owner) : TComponent(owner) {}
  ~TTestKeeper() override {
    delete panels_;
    delete font_;
  }
  TCollection* Panels() const { return panels_; }
  void SetPanels(TCollection* v) { panels_->Assign(v); }
  std::vector<std::string> Notes;
  TComponent* Partner = nullptr;
  void SetPartner(TComponent* v) { Partner = v; }
  TFont* Font() const { return font_; }
  TFont* Missing() const { return nullptr; }
  void SetMissing(TFont*) {}

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  TCollection* panels_ = new TCollection(TCollectionItemClass::Of<TTestPanelItem>(), this);
  TFont* font_ = new TFont;
};

inline constexpr char kComposerKey[] = "Software\\Halvetra\\Tarnquill\\fmLogo";

// The composer's window as the settings store sees it: its 28 settings in stored order, with
// standard controls and the stand-ins above for the composer's own ones.
class TComposerForm : public TForm {
 public:
  VCL_CLASS_INFO
  // SaveLocation: pslUser as the composer keeps it, or pslRegistry to save on closing.
  explicit TComposerForm(TComponent* owner, const std::string& saveLocation = "pslUser");

  TLabel* laJokeFile = nullptr;
  TRadioGroup* rgBackground = nullptr;
  TTestColorButton *cbSingleColor = nullptr, *cbFromColor = nullptr, *cbToColor = nullptr;
  TButton* btBitmap = nullptr;
  TCheckBox* cbTiled = nullptr;
  TEdit *edFirst = nullptr, *edLast = nullptr;
  TTestFontCombo *FirstFont = nullptr, *LastFont = nullptr;
  TTestColorButton *FirstFontColor = nullptr, *LastFontColor = nullptr;
  TSpinEdit *seFirst = nullptr, *seLast = nullptr, *seAnimation = nullptr, *seSections = nullptr;
  TRadioGroup *rgFirstEffect = nullptr, *rgLastEffect = nullptr;
  TTestColorButton *cbFirstShadowColor = nullptr, *cbLastShadowColor = nullptr;
  TCheckBox *cbFirstBold = nullptr, *cbFirstItalic = nullptr, *cbLastBold = nullptr, *cbLastItalic = nullptr;
  TTestColorButton *StartColor = nullptr, *EndColor = nullptr;
  TPFormSettings* PS = nullptr;
};

// Any form from a description given in the test; its components are found by name.
class TDescribedForm : public TForm {
 public:
  VCL_CLASS_INFO
  TDescribedForm(TComponent* owner, const std::string& description);
  template <class T>
  T* Find(const std::string& name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }
  TPFormSettings* PS() const { return Find<TPFormSettings>("PS"); }
};

// The bound paths of the composer's settings, in stored order (the 28th is "LogoCheck").
namespace settings_testing {

inline constexpr char kComposerDescription[] = R"(
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

}  // namespace settings_testing

inline const std::vector<std::string> kComposerPaths = {"laJokeFile.Caption",
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

inline TComposerForm::TComposerForm(TComponent* owner, const std::string& saveLocation) : TForm(owner) {
  std::string text = settings_testing::kComposerDescription;
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

inline const TClassInfo& TComposerForm::StaticClassInfo() {
  static const TClassInfo info("TComposerForm", &TForm::StaticClassInfo());
  return info;
}

inline TDescribedForm::TDescribedForm(TComponent* owner, const std::string& description) : TForm(owner) {
  ReadComponentText(description, this);
  AfterConstruction();
}

inline const TClassInfo& TDescribedForm::StaticClassInfo() {
  static const TClassInfo info("TDescribedForm", &TForm::StaticClassInfo());
  return info;
}

inline const TClassInfo& TTestColorButton::StaticClassInfo() {
  using C = TTestColorButton;
  static const TClassInfo info("TTestColorButton", &TGraphicControl::StaticClassInfo(),
                               {OrdProperty<C>("Value", TypeInfo_TColor, &C::Value, &C::SetValue)}, {},
                               CreateComponent<C>);
  return info;
}

inline const TClassInfo& TTestFontCombo::StaticClassInfo() {
  using C = TTestFontCombo;
  static const TClassInfo info("TTestFontCombo", &TGraphicControl::StaticClassInfo(),
                               {StrProperty<C>("FontName", &C::FontName, &C::SetFontName)}, {}, CreateComponent<C>);
  return info;
}

inline const TClassInfo& TTestPanelItem::StaticClassInfo() {
  using C = TTestPanelItem;
  static const TClassInfo info("TTestPanelItem", &TCollectionItem::StaticClassInfo(),
                               {OrdProperty<C>("Width", TypeInfo_Integer, &C::Width, &C::Width, 50),
                                StrProperty<C>("Text", &C::Text, &C::Text)});
  return info;
}

inline void TTestKeeper::DefineProperties(TFiler* Filer) {
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

inline const TClassInfo& TTestKeeper::StaticClassInfo() {
  using C = TTestKeeper;
  static const TClassInfo info("TTestKeeper", &TComponent::StaticClassInfo(),
                               {ObjectProperty<C, TCollection>("Panels", &C::Panels, &C::SetPanels),
                                ObjectProperty<C, TComponent>("Partner", &C::Partner, &C::SetPartner),
                                ObjectProperty<C, TFont>("Font", &C::Font, nullptr),
                                ObjectProperty<C, TFont>("Missing", &C::Missing, &C::SetMissing)},
                               {}, CreateComponent<C>);
  return info;
}

[[maybe_unused]] inline const bool testClassesRegistered = (RegisterClass(TTestColorButton::StaticClassInfo()),
                                                            RegisterClass(TTestFontCombo::StaticClassInfo()),
                                                            RegisterClass(TTestKeeper::StaticClassInfo()), true);
