#include "composer/logo_form.h"

#include <algorithm>
#include <memory>

#include "composer/preview_form.h"
#include "composer/startup_routines.h"
#include "host/display.h"
#include "logo_form_description.h"
#include "vcl/dialogs.h"
#include "vcl/formtext.h"
#include "vcl/sysutils.h"
#include "vcl/system.h"
#include "vcl/typinfo.h"
#include "win32/shellapi.h"

namespace {

// Where the window's messages stand: left + 100, top + 80.
constexpr int kMessageOffsetX = 100;
constexpr int kMessageOffsetY = 80;

// The building flag is cleared however the start-up steps end.
class TBuildingScope {
 public:
  explicit TBuildingScope(TLogoComposer& Composer) : composer_(Composer) { composer_.Building = true; }
  ~TBuildingScope() { composer_.Building = false; }
  TBuildingScope(const TBuildingScope&) = delete;
  TBuildingScope& operator=(const TBuildingScope&) = delete;

 private:
  TLogoComposer& composer_;
};

TTextStyle StyleOf(TZevFontComboBox* Font, TSpinEdit* Size, TCheckBox* Bold, TCheckBox* Italic, TTavColorButton* Color,
                   TRadioGroup* Effect, TTavColorButton* ShadowColor) {
  TTextStyle style;
  style.FontName = Font->FontName();
  style.Size = std::clamp(Size->Value(), kMinTextSize, kMaxTextSize);
  style.Bold = Bold->Checked();
  style.Italic = Italic->Checked();
  style.Color = Color->Value();
  style.Effect = static_cast<TTextEffect>(std::clamp(Effect->ItemIndex(), 0, static_cast<int>(te3D)));
  style.ShadowColor = ShadowColor->Value();
  return style;
}

}  // namespace

bool AutoRequested() { return ParamCount() >= 1 && UpperCase(ParamStr(1)) == "/AUTO"; }

TfmLogo::TfmLogo(TComponent* AOwner) : TForm(AOwner) {
  Composer.OnShowComposite = [this](TPixelGraphic* Composite) {
    if (Image) Image->AssignPixelGraphic(Composite);
  };
  ReadComponentText(kLogoFormDescription, this,
                    {FormField("Pages", Pages),
                     FormField("tsJoke", tsJoke),
                     FormField("laJokeFile", laJokeFile),
                     FormField("Lista", Lista),
                     FormField("btSelect", btSelect),
                     FormField("rgBackground", rgBackground),
                     FormField("cbSingleColor", cbSingleColor),
                     FormField("cbFromColor", cbFromColor),
                     FormField("cbToColor", cbToColor),
                     FormField("btBitmap", btBitmap),
                     FormField("cbTiled", cbTiled),
                     FormField("FirstFont", FirstFont),
                     FormField("seFirst", seFirst),
                     FormField("FirstFontColor", FirstFontColor),
                     FormField("cbFirstBold", cbFirstBold),
                     FormField("cbFirstItalic", cbFirstItalic),
                     FormField("rgFirstEffect", rgFirstEffect),
                     FormField("cbFirstShadowColor", cbFirstShadowColor),
                     FormField("edFirst", edFirst),
                     FormField("LastFont", LastFont),
                     FormField("seLast", seLast),
                     FormField("LastFontColor", LastFontColor),
                     FormField("cbLastBold", cbLastBold),
                     FormField("cbLastItalic", cbLastItalic),
                     FormField("rgLastEffect", rgLastEffect),
                     FormField("cbLastShadowColor", cbLastShadowColor),
                     FormField("edLast", edLast),
                     FormField("seAnimation", seAnimation),
                     FormField("seSections", seSections),
                     FormField("StartColor", StartColor),
                     FormField("EndColor", EndColor),
                     FormField("ZevLabel1", ZevLabel1),
                     FormField("ZevLabel2", ZevLabel2),
                     FormField("Label4", Label4),
                     FormField("laURL", laURL),
                     FormField("ZevPanel1", ZevPanel1),
                     FormField("Image", Image),
                     FormField("btLogo", btLogo),
                     FormField("btPreview", btPreview),
                     FormField("btAnimation", btAnimation),
                     FormField("btStartup", btStartup),
                     FormField("btSave", btSave),
                     FormField("btCancel", btCancel),
                     FormField("btHelp", btHelp),
                     FormField("dgOpen", dgOpen),
                     FormField("Timer", Timer),
                     FormField("PS", PS)});
}

void TfmLogo::ReadControls() {
  TLogoState& s = Composer.State;
  s.laJokeFile = laJokeFile->Caption();
  s.edFirst = edFirst->GetText();
  s.edLast = edLast->GetText();
  s.rgBackground = rgBackground->ItemIndex();
  s.cbSingleColor = cbSingleColor->Value();
  s.cbFromColor = cbFromColor->Value();
  s.cbToColor = cbToColor->Value();
  s.btBitmap = btBitmap->Caption();
  s.cbTiled = cbTiled->Checked();
  s.First = StyleOf(FirstFont, seFirst, cbFirstBold, cbFirstItalic, FirstFontColor, rgFirstEffect, cbFirstShadowColor);
  s.Last = StyleOf(LastFont, seLast, cbLastBold, cbLastItalic, LastFontColor, rgLastEffect, cbLastShadowColor);
  s.seAnimation = seAnimation->Value();
  s.seSections = seSections->Value();
  s.StartColor = StartColor->Value();
  s.EndColor = EndColor->Value();
}

void TfmLogo::FormCreate(TObject*) {
  // Where nobody could be asked, any failing start-up step ends "/AUTO" with status 1; with a
  // desktop the form's creation shows it and the window stays open.
  if (!AutoRequested() || !host::Unattended()) {
    StartUp();
    return;
  }
  try {
    StartUp();
  } catch (...) {
    Application->HandleException(this);
    autoSaveFailed_ = true;
    Application->Terminate();
  }
}

void TfmLogo::StartUp() {
  const std::string programFolder = ExtractFilePath(Application->ExeName());
  Lista->SetDirectory(programFolder);
  {
    TBuildingScope building(Composer);
    FirstFont->SetFontName("Arial");
    LastFont->SetFontName("Arial");
    PS->LoadSettings();
    BackupLogo(programFolder, Left() + kMessageOffsetX, Top() + kMessageOffsetY, host::Unattended());
  }
  Pages->SetActivePage(tsJoke);
  SelectStoredJokeFile();
  ReadControls();
  Composer.RefreshTexts();
  Composer.BuildAnimationPalette();
  Composer.BuildBackground();
  if (AutoRequested()) RunAuto();
  TSetorra* logoCheck = PS->SettingByName("LogoCheck");
  if (!logoCheck->AsBoolean()) {
    logoCheck->SetAsBoolean(true);
    CheckMsdosSys();
  }
}

// Writes the logo and ends the program. Where nobody could be asked, a failed save is told on
// standard error and ends the program with status 1; with a desktop it stays open, as any
// failing start-up step leaves the window.
void TfmLogo::RunAuto() {
  if (!host::Unattended()) {
    btLogoClick(this);
    Application->Terminate();
    return;
  }
  try {
    btLogoClick(this);
  } catch (...) {
    Application->HandleException(this);
    autoSaveFailed_ = true;
  }
  Application->Terminate();
}

void TfmLogo::SelectStoredJokeFile() {
  const std::string name = UpperCase(ExtractFileName(laJokeFile->Caption()));
  Lista->SetItemIndex(-1);
  if (name.empty()) return;
  for (int i = 0; i < Lista->Items()->Count(); ++i)
    if (UpperCase(Lista->Items()->Get(i)) == name) {
      Lista->SetItemIndex(i);
      return;
    }
}

void TfmLogo::btLogoClick(TObject*) {
  ReadControls();
  Composer.btLogoClick();
}

void TfmLogo::btSaveClick(TObject*) {
  PS->SaveSettings();
  Close();
}

void TfmLogo::btCancelClick(TObject*) { Close(); }

void TfmLogo::btStartupClick(TObject*) {
  ShortcutToStartup(Application->ExeName(), Left() + kMessageOffsetX, Top() + kMessageOffsetY);
}

void TfmLogo::rgBackgroundClick(TObject*) {
  const int kind = rgBackground->ItemIndex();
  cbSingleColor->SetVisible(kind == bkSingle);
  cbFromColor->SetVisible(kind == bkDegraded);
  cbToColor->SetVisible(kind == bkDegraded);
  btBitmap->SetVisible(kind == bkBitmap);
  cbTiled->SetVisible(kind == bkBitmap);
  ReadControls();
  Composer.BuildBackground();
}

void TfmLogo::btBitmapClick(TObject*) {
  if (!btBitmap->Caption().empty()) dgOpen->SetInitialDir(ExtractFilePath(btBitmap->Caption()));
  if (!dgOpen->Execute()) return;
  btBitmap->SetCaption(dgOpen->FileName());
  ReadControls();
  Composer.BuildBackground();
}

void TfmLogo::BackChange(TObject*) {
  ReadControls();
  Composer.BuildBackground();
}

void TfmLogo::rgFirstEffectClick(TObject*) {
  cbFirstShadowColor->SetVisible(rgFirstEffect->ItemIndex() == teShadow);
  ReadControls();
  Composer.ComposeLogo();
}

void TfmLogo::rgLastEffectClick(TObject*) {
  cbLastShadowColor->SetVisible(rgLastEffect->ItemIndex() == teShadow);
  ReadControls();
  Composer.ComposeLogo();
}

void TfmLogo::TextChange(TObject*) {
  ReadControls();
  Composer.ComposeLogo();
}

void TfmLogo::AnimationChange(TObject*) {
  ReadControls();
  Composer.BuildAnimationPalette();
  Composer.DrawAnimationBar();
}

void TfmLogo::btPreviewClick(TObject*) {
  std::unique_ptr<TfmPreview> preview = std::make_unique<TfmPreview>(this);
  preview->Image->AssignPixelGraphic(Composer.Composite());
  preview->ShowModal();
}

void TfmLogo::btSelectClick(TObject*) {
  ReadControls();
  Composer.RefreshTexts();
  Composer.ComposeLogo();
}

void TfmLogo::ListaClick(TObject*) {
  laJokeFile->SetCaption(Lista->ItemIndex() >= 0 ? Lista->FileName() : std::string());
  btSelectClick(this);
}

void TfmLogo::ListaMouseUp(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbRight) return;
  Lista->SetItemIndex(-1);
  laJokeFile->SetCaption("");
  ReadControls();
  Composer.RefreshTexts();
  Composer.ComposeLogo();
}

void TfmLogo::TimerTimer(TObject*) { Composer.TimerTimer(); }

void TfmLogo::btAnimationClick(TObject*) { Timer->SetEnabled(btAnimation->Value()); }

void TfmLogo::laURLClick(TObject*) {
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(Handle(), "Open", kTarnquillWebPage, nullptr, nullptr, 0));
  if (result <= 32)
    MessageDlg(std::string("The web page ") + kTarnquillWebPage + " could not be opened.", mtError,
               TMsgDlgButtons{mbOK}, 0);
}

void TfmLogo::btHelpClick(TObject*) { Application->HelpContext(0); }

const TClassInfo& TfmLogo::StaticClassInfo() {
  using C = TfmLogo;
  static const TClassInfo info("TfmLogo", &TForm::StaticClassInfo(), {},
                               {Handler<C>("FormCreate", &C::FormCreate),
                                Handler<C>("btLogoClick", &C::btLogoClick),
                                Handler<C>("btSaveClick", &C::btSaveClick),
                                Handler<C>("btCancelClick", &C::btCancelClick),
                                Handler<C>("btStartupClick", &C::btStartupClick),
                                Handler<C>("rgBackgroundClick", &C::rgBackgroundClick),
                                Handler<C>("btBitmapClick", &C::btBitmapClick),
                                Handler<C>("BackChange", &C::BackChange),
                                Handler<C>("rgFirstEffectClick", &C::rgFirstEffectClick),
                                Handler<C>("rgLastEffectClick", &C::rgLastEffectClick),
                                Handler<C>("TextChange", &C::TextChange),
                                Handler<C>("AnimationChange", &C::AnimationChange),
                                Handler<C>("btPreviewClick", &C::btPreviewClick),
                                Handler<C>("btSelectClick", &C::btSelectClick),
                                Handler<C>("ListaClick", &C::ListaClick),
                                Handler<C>("ListaMouseUp", &C::ListaMouseUp),
                                Handler<C>("TimerTimer", &C::TimerTimer),
                                Handler<C>("btAnimationClick", &C::btAnimationClick),
                                Handler<C>("laURLClick", &C::laURLClick),
                                Handler<C>("btHelpClick", &C::btHelpClick)});
  return info;
}
