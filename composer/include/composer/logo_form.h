#pragma once
// Tarnquill's window: the controls that choose the joke file, the background, the two texts and
// the animation bar, the composed logo in a viewer, and the buttons that save it, preview it full
// screen, install the StartUp shortcut and keep the settings. Built from its form description.
#include "components/graphic_button.h"
#include "components/tav_color_button.h"
#include "components/zev_combo.h"
#include "components/zev_file_list.h"
#include "components/zev_label.h"
#include "components/zev_panel.h"
#include "composer/logo_composer.h"
#include "graphics/pg_image.h"
#include "graphics/pg_open_dialog.h"
#include "settings/setorras.h"
#include "vcl/comctrls.h"
#include "vcl/extctrls.h"
#include "vcl/forms.h"
#include "vcl/spin.h"
#include "vcl/stdctrls.h"
#include "vcl/timers.h"

// The maker's page behind laURL.
inline constexpr const char* kTarnquillWebPage = "http://www.example.com/tarnquill";

class TfmLogo : public TForm {
 public:
  VCL_CLASS_INFO
  explicit TfmLogo(TComponent* AOwner);

  TPageControl* Pages = nullptr;
  TTabSheet* tsJoke = nullptr;
  TLabel* laJokeFile = nullptr;
  TZevFileListBox* Lista = nullptr;
  ToxButton* btSelect = nullptr;
  TRadioGroup* rgBackground = nullptr;
  TTavColorButton* cbSingleColor = nullptr;
  TTavColorButton* cbFromColor = nullptr;
  TTavColorButton* cbToColor = nullptr;
  ToxButton* btBitmap = nullptr;
  TCheckBox* cbTiled = nullptr;
  TZevFontComboBox* FirstFont = nullptr;
  TSpinEdit* seFirst = nullptr;
  TTavColorButton* FirstFontColor = nullptr;
  TCheckBox* cbFirstBold = nullptr;
  TCheckBox* cbFirstItalic = nullptr;
  TRadioGroup* rgFirstEffect = nullptr;
  TTavColorButton* cbFirstShadowColor = nullptr;
  TEdit* edFirst = nullptr;
  TZevFontComboBox* LastFont = nullptr;
  TSpinEdit* seLast = nullptr;
  TTavColorButton* LastFontColor = nullptr;
  TCheckBox* cbLastBold = nullptr;
  TCheckBox* cbLastItalic = nullptr;
  TRadioGroup* rgLastEffect = nullptr;
  TTavColorButton* cbLastShadowColor = nullptr;
  TEdit* edLast = nullptr;
  TSpinEdit* seAnimation = nullptr;
  TSpinEdit* seSections = nullptr;
  TTavColorButton* StartColor = nullptr;
  TTavColorButton* EndColor = nullptr;
  TZevLabel* ZevLabel1 = nullptr;
  TZevLabel* ZevLabel2 = nullptr;
  TLabel* Label4 = nullptr;
  TLabel* laURL = nullptr;
  TZevPanel* ZevPanel1 = nullptr;
  TPGImage* Image = nullptr;
  ToxButton* btLogo = nullptr;
  ToxButton* btPreview = nullptr;
  ToxButton* btAnimation = nullptr;
  ToxButton* btStartup = nullptr;
  ToxButton* btSave = nullptr;
  ToxButton* btCancel = nullptr;
  ToxButton* btHelp = nullptr;
  TPGOpenDialog* dgOpen = nullptr;
  TTimer* Timer = nullptr;
  TPFormSettings* PS = nullptr;

  // The composition behind the window; the window copies its controls into Composer.State
  // before each call (ReadControls).
  TLogoComposer Composer;
  // "/AUTO" could not save the logo where nobody could be asked: the program ends with status 1.
  bool AutoSaveFailed() const { return autoSaveFailed_; }

  // Published handlers.
  void FormCreate(TObject* Sender);
  void btLogoClick(TObject* Sender);
  void btSaveClick(TObject* Sender);
  void btCancelClick(TObject* Sender);
  void btStartupClick(TObject* Sender);
  void rgBackgroundClick(TObject* Sender);
  void btBitmapClick(TObject* Sender);
  void BackChange(TObject* Sender);
  void rgFirstEffectClick(TObject* Sender);
  void rgLastEffectClick(TObject* Sender);
  void TextChange(TObject* Sender);
  void AnimationChange(TObject* Sender);
  void btPreviewClick(TObject* Sender);
  void btSelectClick(TObject* Sender);
  void ListaClick(TObject* Sender);
  void ListaMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void TimerTimer(TObject* Sender);
  void btAnimationClick(TObject* Sender);
  void laURLClick(TObject* Sender);
  void btHelpClick(TObject* Sender);

  // Copies what the controls hold into Composer.State.
  void ReadControls();

 private:
  // FormCreate's steps.
  void StartUp();
  void SelectStoredJokeFile();
  void RunAuto();

  bool autoSaveFailed_ = false;
};

// True when the program was started with "/AUTO" (any case) as its first argument.
bool AutoRequested();
