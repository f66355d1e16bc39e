#include "corvane/main_form.h"

#include "corvane/about_form.h"
#include "corvane/swap_form.h"
#include "corvane/view_form.h"
#include "corvane_form_data.h"
#include "slots/slot_settings.h"
#include "vcl/formtext.h"
#include "vcl/typinfo.h"
#include "vcl/sysutils.h"
#include "win32/kernel.h"

TFMain* FMain = nullptr;

namespace {

constexpr const char* kFormHead = R"(object FMain: TFMain
  Left = 120
  Top = 90
  BorderIcons = [biSystemMenu, biMinimize]
  BorderStyle = bsSingle
  Caption = 'Corvane'
  ClientHeight = 290
  ClientWidth = 500
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Menu = MainMenu1
  OnClose = FormClose
  OnCreate = FormCreate
  object PageControl1: TPageControl
    Left = 0
    Top = 0
    Width = 500
    Height = 271
    ActivePage = TabSheet1
    Align = alClient
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    HotTrack = True
    ParentFont = False
    TabOrder = 0
    TabPosition = tpBottom
)";

// One tab; @N@ is the slot's number, the other @..@ its names and pictures.
constexpr const char* kTab = R"(    object TabSheet@N@: TTabSheet
      Caption = '@CAPTION@'
      object Panel@N@: TPanel
        Left = 4
        Top = 4
        Width = 172
        Height = 210
        BevelOuter = bvLowered
        Caption = 'No Logo Found ...'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = []
        ParentFont = False
        TabOrder = 0
        object @IMAGE@: TVelmora
          Left = 1
          Top = 1
          Width = 170
          Height = 208
          Align = alClient
          Background = clBtnFace
          Cursor = crVSplit
          NColors = nc8bit
          ScrollBars = @BARS@
          Hint = '@IMAGEHINT@'
          OnClick = @IMAGE@Click
        end
      end
      object @HEADER@: TAnimGIF
        Left = 186
        Top = 4
        Width = 300
        Height = 36
        Animate = False
        Data = {@HEADERDATA@}
      end
      object btSwap@N@: TButton
        Left = 186
        Top = 52
        Width = 80
        Height = 25
        Caption = 'Swap !'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Hint = 'Click to install another picture as @LOGO@'
        TabOrder = 1
        OnClick = btSwap@N@Click
      end
      object btBack@N@: TButton
        Left = 186
        Top = 86
        Width = 80
        Height = 25
        Caption = 'Backup'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Hint = 'Click to make a backup of the @LOGO@'
        TabOrder = 2
        OnClick = Backup
      end
      object btRest@N@: TBitBtn
        Left = 186
        Top = 120
        Width = 80
        Height = 25
        Caption = 'Restore'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = [fsBold]
        ParentFont = False
        Hint = 'Click to restore the backup of the @LOGO@'
        TabOrder = 3
        OnClick = btRest@N@Click
        Glyph.Data = {@RESTOREGLYPH@}
        NumGlyphs = 2
      end
      object lbSwap@N@: TLabel
        Left = 274
        Top = 58
        Width = 214
        Height = 13
        Caption = 'Replaces current logo with another picture.'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = []
        ParentFont = False
      end
      object lbBack@N@: TLabel
        Left = 274
        Top = 92
        Width = 214
        Height = 13
        Caption = 'Makes a backup of the current logo.'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = []
        ParentFont = False
      end
      object lbRest@N@: TLabel
        Left = 274
        Top = 126
        Width = 214
        Height = 13
        Caption = 'Restores your backup.'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = []
        ParentFont = False
      end
      object gbSelect@N@: TGroupBox
        Left = 186
        Top = 156
        Width = 200
        Height = 58
        Caption = 'Select Image'
        Font.Charset = DEFAULT_CHARSET
        Font.Color = clWindowText
        Font.Height = -11
        Font.Name = 'MS Sans Serif'
        Font.Style = []
        ParentFont = False
        TabOrder = 4
        object rbPres@N@: TRadioButton
          Left = 12
          Top = 24
          Width = 80
          Height = 17
          Caption = 'Current'
          Checked = True
          TabOrder = 0
          TabStop = True
          OnClick = rbPres@N@Click
        end
        object rbBack@N@: TRadioButton
          Left = 104
          Top = 24
          Width = 80
          Height = 17
          Caption = 'Backup'
          TabOrder = 1
          OnClick = rbBack@N@Click
        end
      end
      object imBack@N@: TAnimGIF
        Left = 404
        Top = 176
        Width = 76
        Height = 21
        Animate = False
        Visible = False
        Data = {@BADGEDATA@}
      end
    end
)";

constexpr const char* kFormTail = R"(  end
  object sbLogo: TStatusBar
    Left = 0
    Top = 271
    Width = 500
    Height = 19
    SimplePanel = True
  end
  object MainMenu1: TMainMenu
    object Main1: TMenuItem
      Caption = 'Main'
      object RestoreOriginals1: TMenuItem
        Caption = 'Restore &Originals'
        ShortCut = 16463
        OnClick = RestoreOriginals1Click
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Quit1: TMenuItem
        Caption = '&Quit'
        ShortCut = 16465
        OnClick = btExitClick
      end
    end
    object About1: TMenuItem
      Caption = 'About'
      OnClick = About1Click
    end
  end
end
)";

std::string Description() {
  struct TTabNames {
    const char *Caption, *Image, *Header, *Logo, *HeaderData, *BadgeData;
    bool Bars;
  };
  const TTabNames tabs[kSlotCount] = {
      {"  Startup  ", "imLogo", "AnimGIF1", "Startup Logo", kData_header_startup_gif, kData_badge_startup_gif, false},
      {"    Wait     ", "imLogow", "AnimGIF2", "Wait Logo", kData_header_wait_gif, kData_badge_wait_gif, true},
      {"  Turnoff   ", "imLogos", "AnimGIF4", "Shutdown Logo", kData_header_turnoff_gif, kData_badge_turnoff_gif, true},
  };
  std::string text = kFormHead;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const TTabNames& t = tabs[slot];
    text += StringReplaceEach(kTab, {{"@N@", std::to_string(slot + 1)},
                                     {"@CAPTION@", t.Caption},
                                     {"@IMAGE@", t.Image},
                                     {"@HEADER@", t.Header},
                                     {"@LOGO@", t.Logo},
                                     {"@BARS@", t.Bars ? "True" : "False"},
                                     {"@IMAGEHINT@", t.Bars ? "Click to view full size..." : ""},
                                     {"@HEADERDATA@", t.HeaderData},
                                     {"@BADGEDATA@", t.BadgeData},
                                     {"@RESTOREGLYPH@", kData_glyph_restore_bmp}});
  }
  return text + kFormTail;
}

const char* const kViewCaptions[kSlotCount] = {"Startup Logo", "Wait Logo", "Turnoff Logo"};
const char* const kSwapCaptions[kSlotCount] = {"Swapping Startup Logo", "Swapping Wait Logo", "Swapping Turnoff Logo"};

std::string CurrentFolder() {
  char buffer[MAX_PATH * 4] = {};
  const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::string WindowsFolder() {
  char buffer[MAX_PATH * 4] = {};
  const UINT length = GetWindowsDirectoryA(buffer, sizeof buffer);
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

}  // namespace

TFMain::TFMain(TComponent* AOwner) : TForm(AOwner) {
  ReadComponentText(Description(), this,
                    {FormField("PageControl1", PageControl1),
                     FormField("TabSheet1", TabSheet1),
                     FormField("TabSheet2", TabSheet2),
                     FormField("TabSheet3", TabSheet3),
                     FormField("Panel1", Panel1),
                     FormField("Panel2", Panel2),
                     FormField("Panel3", Panel3),
                     FormField("imLogo", imLogo),
                     FormField("imLogow", imLogow),
                     FormField("imLogos", imLogos),
                     FormField("AnimGIF1", AnimGIF1),
                     FormField("AnimGIF2", AnimGIF2),
                     FormField("AnimGIF4", AnimGIF4),
                     FormField("imBack1", imBack1),
                     FormField("imBack2", imBack2),
                     FormField("imBack3", imBack3),
                     FormField("btSwap1", btSwap1),
                     FormField("btSwap2", btSwap2),
                     FormField("btSwap3", btSwap3),
                     FormField("btBack1", btBack1),
                     FormField("btBack2", btBack2),
                     FormField("btBack3", btBack3),
                     FormField("btRest1", btRest1),
                     FormField("btRest2", btRest2),
                     FormField("btRest3", btRest3),
                     FormField("rbPres1", rbPres1),
                     FormField("rbPres2", rbPres2),
                     FormField("rbPres3", rbPres3),
                     FormField("rbBack1", rbBack1),
                     FormField("rbBack2", rbBack2),
                     FormField("rbBack3", rbBack3),
                     FormField("sbLogo", sbLogo),
                     FormField("MainMenu1", MainMenu1),
                     FormField("Main1", Main1),
                     FormField("RestoreOriginals1", RestoreOriginals1),
                     FormField("Quit1", Quit1),
                     FormField("About1", About1)});
  images_ = {imLogo, imLogow, imLogos};
  badges_ = {imBack1, imBack2, imBack3};
  backups_ = {btBack1, btBack2, btBack3};
  restores_ = {btRest1, btRest2, btRest3};
  currents_ = {rbPres1, rbPres2, rbPres3};
  backupRadios_ = {rbBack1, rbBack2, rbBack3};
}

TFMain::~TFMain() {
  if (FMain == this) FMain = nullptr;
  if (Application) Application->OnHint = nullptr;  // it reaches this window
}

void TFMain::FormCreate(TObject*) {
  Application->OnHint = [this](TObject* Sender) { ShowHint(Sender); };
  StartDir = CurrentFolder();
  const TSlotSettings settings = ReadSlotSettings(StartDir, Left(), Top());
  LastUsedDir = settings.LastUsedDir;
  LastUsedIndex = settings.LastUsedIndex;
  SetLeft(settings.Left);
  SetTop(settings.Top);
  WinDir = WindowsFolder();
  Files = std::make_unique<TSlotFiles>(WinDir, StartDir);
  Files->Owner = Handle();
  Status("Welcome to Corvane v2.0 !");
  // "No Logo Found ..." shows until a logo is loaded into the slot.
  for (TVelmora* image : images_) image->SetVisible(false);
  const std::string status = Files->Start([this](int, const std::string& Path) { LoadLogo(Path, 1); });
  if (!status.empty()) Status(status);
  ShowFlags();
  // The application's handler shows what could not be read, once the start is whole.
  if (!Files->Unreadable.empty()) throw Exception(StringReplaceAll(Files->Unreadable, "\n", ".\n"));
}

void TFMain::FormClose(TObject*, TCloseAction&) { WriteSlotSettings({LastUsedDir, LastUsedIndex, Left(), Top()}); }

void TFMain::LoadLogo(const std::string& Path, int) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (Path != LogoPath(slot) && Path != BackupPath(slot)) continue;
    TVelmora* image = Image(slot);
    image->LoadBMPFile(Path);
    image->ZoomToFit();
    image->SetVisible(true);
  }
}

void TFMain::ShowFlags() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const bool logoMissing = Files->LogoMissing[static_cast<std::size_t>(slot)];
    const bool backupMissing = Files->BackupMissing[static_cast<std::size_t>(slot)];
    BackupButton(slot)->SetEnabled(!logoMissing);
    BackupRadio(slot)->SetEnabled(!backupMissing);
    RestoreButton(slot)->SetEnabled(!backupMissing);
    if (CurrentButton(slot)->Checked() && logoMissing) Image(slot)->SetVisible(false);
  }
}

void TFMain::Backup(TObject* Sender) {
  int slot = 0;
  while (slot < kSlotCount && BackupButton(slot) != Sender) ++slot;
  if (slot == kSlotCount) return;
  const TSlotOutcome outcome = Files->Backup(slot);
  Status(outcome.Status);
  if (!outcome.Changed) return;
  if (BackupRadio(slot)->Checked()) LoadLogo(BackupPath(slot), 1);
  BackupRadio(slot)->SetEnabled(true);
  RestoreButton(slot)->SetEnabled(true);
}

void TFMain::RestoreClick(int Slot) {
  const TSlotOutcome outcome = Files->Restore(Slot);
  Status(outcome.Status);
  ShowFlags();
  if (!outcome.Changed) return;
  if (BackupRadio(Slot)->Checked()) {
    if (!Files->BackupMissing[static_cast<std::size_t>(Slot)]) LoadLogo(BackupPath(Slot), 1);
  } else if (!Files->LogoMissing[static_cast<std::size_t>(Slot)]) {
    LoadLogo(LogoPath(Slot), 1);
  }
}

void TFMain::CurrentClick(int Slot) {
  Badge(Slot)->SetVisible(false);
  if (Files->LogoMissing[static_cast<std::size_t>(Slot)]) Image(Slot)->SetVisible(false);
  else
    LoadLogo(LogoPath(Slot), 1);
}

void TFMain::BackupClick(int Slot) {
  Badge(Slot)->SetVisible(true);
  if (!Files->BackupMissing[static_cast<std::size_t>(Slot)]) LoadLogo(BackupPath(Slot), 1);
}

void TFMain::ViewClick(int Slot) {
  std::string path, caption;
  if (CurrentButton(Slot)->Checked() && !Files->LogoMissing[static_cast<std::size_t>(Slot)]) {
    path = LogoPath(Slot);
    caption = kViewCaptions[Slot];
  } else if (BackupRadio(Slot)->Checked() && !Files->BackupMissing[static_cast<std::size_t>(Slot)]) {
    path = BackupPath(Slot);
    caption = std::string("Backup file of ") + kViewCaptions[Slot];
  } else {
    return;
  }
  FView->imView->LoadBMPFile(path);
  FView->imView->ZoomToFit();
  FView->SetCaption(caption);
  FView->SetLeft(Left() + 150);
  FView->SetTop(Top() - 20);
  FView->ShowModal();
}

void TFMain::SwapClick(int Slot) {
  CurrentClick(Slot);
  CurrentButton(Slot)->SetCheckedValue(true);
  FSwap->LogoKind = Slot;
  FSwap->SetCaption(kSwapCaptions[Slot]);
  FSwap->SetLeft(Left() + 11);
  FSwap->SetTop(Top() + 24);
  FSwap->ShowModal();
}

void TFMain::Swapped(int Slot) {
  Status(Files->Swapped(Slot));
  BackupButton(Slot)->SetEnabled(true);
}

void TFMain::RestoreOriginals1Click(TObject*) {
  const TSlotOutcome outcome = Files->RestoreOriginals([this](int, const std::string& Path) { LoadLogo(Path, 1); });
  if (!outcome.Status.empty()) Status(outcome.Status);
  ShowFlags();
}

void TFMain::About1Click(TObject*) {
  FAbout->SetTop(Top() - 20);
  FAbout->SetLeft(Left() + 32);
  FAbout->ShowModal();
}

void TFMain::btExitClick(TObject*) { Close(); }

void TFMain::ShowHint(TObject*) { Status(Application->Hint()); }

const TClassInfo& TFMain::StaticClassInfo() {
  using C = TFMain;
  static const TClassInfo info("TFMain", &TForm::StaticClassInfo(), {},
                               {Handler<C>("FormCreate", &C::FormCreate),
                                Handler<C>("FormClose", &C::FormClose),
                                Handler<C>("Backup", &C::Backup),
                                Handler<C>("btRest1Click", &C::btRest1Click),
                                Handler<C>("btRest2Click", &C::btRest2Click),
                                Handler<C>("btRest3Click", &C::btRest3Click),
                                Handler<C>("rbPres1Click", &C::rbPres1Click),
                                Handler<C>("rbPres2Click", &C::rbPres2Click),
                                Handler<C>("rbPres3Click", &C::rbPres3Click),
                                Handler<C>("rbBack1Click", &C::rbBack1Click),
                                Handler<C>("rbBack2Click", &C::rbBack2Click),
                                Handler<C>("rbBack3Click", &C::rbBack3Click),
                                Handler<C>("imLogoClick", &C::imLogoClick),
                                Handler<C>("imLogowClick", &C::imLogowClick),
                                Handler<C>("imLogosClick", &C::imLogosClick),
                                Handler<C>("btSwap1Click", &C::btSwap1Click),
                                Handler<C>("btSwap2Click", &C::btSwap2Click),
                                Handler<C>("btSwap3Click", &C::btSwap3Click),
                                Handler<C>("RestoreOriginals1Click", &C::RestoreOriginals1Click),
                                Handler<C>("About1Click", &C::About1Click),
                                Handler<C>("btExitClick", &C::btExitClick),
                                Handler<C>("ShowHint", &C::ShowHint)});
  return info;
}
